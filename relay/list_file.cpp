#include "list_file.h"

#include <algorithm>

UniqueHandle openListForReading(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

UniqueHandle openListForWriting(const std::wstring& path) {
    return UniqueHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool readAllBytes(HANDLE file, std::string& bytes) {
    bytes.clear();
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) bytes.reserve(size_t(size.QuadPart));
    char buffer[1 << 16];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) return false;
        if (got == 0) return true;
        bytes.append(buffer, got);
    }
}

bool writeAllBytes(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        // WriteFile takes a 32-bit count; large texts go in slices.
        const DWORD slice = DWORD(std::min<size_t>(bytes.size() - done, 1u << 24));
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + done, slice, &put, nullptr) || put == 0) return false;
        done += put;
    }
    return true;
}
