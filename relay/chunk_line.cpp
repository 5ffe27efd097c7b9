#include "chunk_line.h"

size_t chunkTextLength(const char* bytes, size_t count) {
    size_t length = 0;
    while (length < count && bytes[length] != '\0') ++length;
    return length;
}

size_t firstLineLength(const wchar_t* text, size_t count) {
    size_t length = 0;
    while (length < count && text[length] != L'\n') ++length;
    return length;
}
