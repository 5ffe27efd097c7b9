#pragma once
// Cutting one read of the downloader's output down to what is relayed.
#include <cstddef>

// A chunk counts as narrow text ended after its bytes, so a NUL byte ends it early.
size_t chunkTextLength(const char* bytes, size_t count);

// Units before the first line feed (all of them when there is none). Carriage returns stay in.
size_t firstLineLength(const wchar_t* text, size_t count);
