#include "standin_record.h"

#include <windows.h>

#include "paths.h"
#include "temp_dir.h"
#include "unique_handle.h"

bool installStandin(const std::wstring& folder, const std::string& script, const std::wstring& program) {
    return copyFileTo(program.empty() ? builtProgram(L"youtube-dl.exe") : program, folder + L"\\youtube-dl.exe") &&
           writeFileBytes(folder + L"\\" + kStandinScript, script);
}

bool appendStandinFields(const std::wstring& recordPath, const StandinRecord& fields) {
    UniqueHandle file(CreateFileW(recordPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, 0, nullptr));
    if (!file) return false;
    std::wstring units;
    for (const auto& field : fields) units += field.first + L'\0' + field.second + L'\0';
    DWORD put = 0;
    const DWORD bytes = static_cast<DWORD>(units.size() * sizeof(wchar_t));
    return WriteFile(file.get(), units.data(), bytes, &put, nullptr) && put == bytes;
}

StandinRecord readStandinRecord(const std::wstring& recordPath) {
    const std::string bytes = readFileBytes(recordPath);
    std::wstring units(bytes.size() / sizeof(wchar_t), L'\0');
    if (!units.empty()) memcpy(&units[0], bytes.data(), units.size() * sizeof(wchar_t));
    StandinRecord record;
    size_t pos = 0;
    while (pos < units.size()) {
        const size_t keyEnd = units.find(L'\0', pos);
        if (keyEnd == std::wstring::npos) break;
        const size_t valueEnd = units.find(L'\0', keyEnd + 1);
        if (valueEnd == std::wstring::npos) break;
        record.emplace_back(units.substr(pos, keyEnd - pos), units.substr(keyEnd + 1, valueEnd - keyEnd - 1));
        pos = valueEnd + 1;
    }
    return record;
}

std::vector<std::wstring> standinValues(const StandinRecord& record, const std::wstring& key) {
    std::vector<std::wstring> values;
    for (const auto& field : record) {
        if (field.first == key) values.push_back(field.second);
    }
    return values;
}
