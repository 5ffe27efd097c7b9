#pragma once
#include <string>

// A fresh folder under the system's temporary folder, removed with its contents on destruction.
class TempDir {
public:
    explicit TempDir(const std::wstring& tag);
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::wstring& path() const { return path_; }
    std::wstring file(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Whole-file helpers; read returns an empty string for a missing file, check exists() when it matters.
bool fileExists(const std::wstring& path);
std::string readFileBytes(const std::wstring& path);
bool writeFileBytes(const std::wstring& path, const std::string& bytes);
bool copyFileTo(const std::wstring& from, const std::wstring& to);
