// start_baseline <mailbox name>
// The least a program can do before its first mailbox poll: open the host's mailbox and empty it
// at once. The benchmark times it as it times the relay's start-up, which shows what starting any
// program costs here.
#include <windows.h>

#include "unique_handle.h"

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    UniqueHandle mapping(OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, argv[1]));
    if (!mapping) return 3;
    UniqueView view(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, 4096));
    if (!view) return 4;
    *static_cast<volatile wchar_t*>(view.get()) = L'\0';
    return 0;
}
