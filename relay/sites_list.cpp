// Stands in for the supported-sites sort until it lands.
#include "sites_list.h"

int sortSupportedSites(const std::wstring&, const std::wstring&) { return 0; }
