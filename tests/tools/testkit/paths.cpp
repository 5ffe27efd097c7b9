#include "paths.h"

#include <windows.h>

std::wstring builtProgram(const std::wstring& name) {
    wchar_t path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, path, static_cast<DWORD>(sizeof path / sizeof path[0]));
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L'\\') + 1) + name;
}

namespace {

std::string narrowed(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), int(text.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring widened(const std::string& text, UINT codePage) {
    if (text.empty()) return {};
    int n = MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring out(size_t(n), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), int(text.size()), &out[0], n);
    return out;
}

}  // namespace

std::string toUtf8(const std::wstring& text) { return narrowed(text, CP_UTF8); }
std::wstring fromUtf8(const std::string& text) { return widened(text, CP_UTF8); }
std::string toAnsi(const std::wstring& text) { return narrowed(text, CP_ACP); }
std::wstring fromAnsi(const std::string& bytes) { return widened(bytes, CP_ACP); }

namespace {

// One of Wine's path conversions in kernel32, which hand back text from the process heap; empty
// where there is no such export (not under Wine) or the conversion fails.
template <typename Out, typename In>
std::basic_string<Out> wineConversion(const char* name, const In* path) {
    using Convert = Out*(__cdecl*)(const In*);
    const auto convert = reinterpret_cast<Convert>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
    Out* converted = convert ? convert(path) : nullptr;
    if (!converted) return {};
    std::basic_string<Out> result = converted;
    HeapFree(GetProcessHeap(), 0, converted);
    return result;
}

}  // namespace

std::wstring hostPath(const std::string& path) {
    if (path.empty() || path[0] != '/') {
        std::wstring dos = fromUtf8(path);
        for (wchar_t& c : dos) {
            if (c == L'/') c = L'\\';
        }
        return dos;
    }
    return wineConversion<wchar_t>("wine_get_dos_file_name", path.c_str());
}

std::string unixPath(const std::wstring& path) { return wineConversion<char>("wine_get_unix_file_name", path.c_str()); }
