#include "paths.h"

#include <windows.h>

std::wstring exeDir() {
    wchar_t path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(sizeof path / sizeof path[0]));
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L'\\'));
}

std::wstring builtProgram(const std::wstring& name) { return exeDir() + L"\\" + name; }

std::string toUtf8(const std::wstring& text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring fromUtf8(const std::string& text) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), &out[0], n);
    return out;
}

std::wstring hostPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        std::wstring dos = fromUtf8(path);
        for (wchar_t& c : dos) {
            if (c == L'/') c = L'\\';
        }
        return dos;
    }
    using ToDos = wchar_t*(__cdecl*)(const char*);
    const auto toDos = reinterpret_cast<ToDos>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
    if (!toDos) return {};
    wchar_t* dos = toDos(path.c_str());  // from the process heap
    if (!dos) return {};
    std::wstring result = dos;
    HeapFree(GetProcessHeap(), 0, dos);
    return result;
}

std::string unixPath(const std::wstring& path) {
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!toUnix) return {};
    char* unix = toUnix(path.c_str());  // from the process heap
    if (!unix) return {};
    std::string result = unix;
    HeapFree(GetProcessHeap(), 0, unix);
    return result;
}
