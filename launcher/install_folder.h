#pragma once
// The launcher's install folder: the folder of its own executable.
#include <cstddef>

// Drive and directory of modulePath, split the way _wsplitpath_s splits with a 3-unit drive and a
// 256-unit directory buffer, joined, with one trailing backslash removed. A directory longer than
// 255 units does not fit its buffer: the split then yields nothing and the folder is empty.
void installFolderOf(const wchar_t* modulePath, wchar_t* folder, size_t cap);

// The text to make current for a folder stored without its trailing backslash. A bare drive
// ("C:") would name that drive's current folder rather than its root, so it gets "\" back.
void currentFolderFor(const wchar_t* folder, wchar_t* out, size_t cap);
