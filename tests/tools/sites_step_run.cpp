// sites_step_run <downloader folder> <list path>
// Runs the supported-sites step and ends the way the relay does, through ExitProcess, so a test
// sees whether what the step printed survives that.
#include <windows.h>

#include "sites_step.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return 2;
    ExitProcess(UINT(sortSupportedSites(argv[1], argv[2])));
}
