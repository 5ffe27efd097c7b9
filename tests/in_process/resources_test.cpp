// The resources of the built deliverables, read back from the files as Windows reads them.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "paths.h"

namespace {

BOOL CALLBACK countName(HMODULE, LPCWSTR, LPWSTR, LONG_PTR param) {
    ++*reinterpret_cast<int*>(param);
    return TRUE;
}

struct Library {
    HMODULE module;
    explicit Library(const std::wstring& path) : module(LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~Library() {
        if (module != nullptr) FreeLibrary(module);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // The resource's bytes; empty when there is none.
    std::string resource(LPCWSTR name, LPCWSTR type) const {
        HRSRC found = FindResourceW(module, name, type);
        if (found == nullptr) return {};
        HGLOBAL loaded = LoadResource(module, found);
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (data == nullptr) return {};
        return std::string(static_cast<const char*>(data), SizeofResource(module, found));
    }

    int count(LPCWSTR type) const {
        int n = 0;
        EnumResourceNamesW(module, type, countName, reinterpret_cast<LONG_PTR>(&n));
        return n;
    }
};

std::wstring versionString(const std::vector<char>& block, const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    std::wstring path = std::wstring(L"\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueW(block.data(), path.c_str(), &value, &length) || value == nullptr) return L"(missing)";
    return static_cast<const wchar_t*>(value);
}

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colors, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved, type, count;
};
#pragma pack(pop)

}  // namespace

TEST(Resources, LauncherVersionBlockCarriesTheProductValues) {
    std::wstring path = builtProgram(L"launcher.exe");
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00040003u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00040003u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(fixed->dwFileType, DWORD(VFT_APP));

    WORD* translation = nullptr;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                               &length));
    ASSERT_GE(length, 4u);
    EXPECT_EQ(translation[0], 0x0409);
    EXPECT_EQ(translation[1], 0x04b0);

    EXPECT_EQ(versionString(block, L"FileVersion"), L"4, 3, 0, 0");
    EXPECT_EQ(versionString(block, L"ProductVersion"), L"4, 3, 0, 0");
    EXPECT_EQ(versionString(block, L"FileDescription"), L"Velvox video/audio stream and screen recorder");
    EXPECT_EQ(versionString(block, L"InternalName"), L"launcher");
    EXPECT_EQ(versionString(block, L"OriginalFilename"), L"Velvox");
    EXPECT_EQ(versionString(block, L"ProductName"), L"Velvox");
    EXPECT_NE(versionString(block, L"CompanyName").find(L"Velvox"), std::wstring::npos);
    EXPECT_NE(versionString(block, L"LegalCopyright").find(L"Velvox"), std::wstring::npos);
}

TEST(Resources, LauncherManifestNamesOrlaRunsAsInvokerAndListsVistaToTen) {
    Library launcher(builtProgram(L"launcher.exe"));
    ASSERT_NE(launcher.module, nullptr);
    std::string manifest = launcher.resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    ASSERT_FALSE(manifest.empty());
    for (const char* expected : {
             R"(name="Orla.exe")", R"(version="1.0.0.0")", "<description>Screen Capture Recorder</description>",
             R"(level="asInvoker")", R"(uiAccess="false")", R"(name="Microsoft.Windows.Common-Controls")",
             R"(version="6.0.0.0")", R"(publicKeyToken="6595b64144ccf1df")",
             "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
             "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
             "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
             "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10
         }) {
        EXPECT_NE(manifest.find(expected), std::string::npos) << expected;
    }
    // Orla's identity comes first, before the dependency's.
    EXPECT_LT(manifest.find(R"(name="Orla.exe")"), manifest.find("<dependency>"));
}

TEST(Resources, LauncherIconIsOne128PixelImageOf32Bits) {
    Library launcher(builtProgram(L"launcher.exe"));
    ASSERT_NE(launcher.module, nullptr);
    std::string group = launcher.resource(MAKEINTRESOURCEW(111), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), sizeof(GroupIconHeader) + sizeof(GroupIconEntry));
    const auto* header = reinterpret_cast<const GroupIconHeader*>(group.data());
    EXPECT_EQ(header->type, 1);
    ASSERT_EQ(header->count, 1);
    const auto* entry = reinterpret_cast<const GroupIconEntry*>(group.data() + sizeof(GroupIconHeader));
    EXPECT_EQ(entry->width, 128);
    EXPECT_EQ(entry->height, 128);
    EXPECT_EQ(entry->bitCount, 32);

    std::string image = launcher.resource(MAKEINTRESOURCEW(entry->id), MAKEINTRESOURCEW(3));  // RT_ICON
    ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
    const auto* bitmap = reinterpret_cast<const BITMAPINFOHEADER*>(image.data());
    EXPECT_EQ(bitmap->biWidth, 128);
    EXPECT_EQ(bitmap->biHeight, 256);  // colour rows and mask rows
    EXPECT_EQ(bitmap->biBitCount, 32);

    // And the system can make an icon of it at that size.
    HICON icon = CreateIconFromResourceEx(reinterpret_cast<BYTE*>(&image[0]), DWORD(image.size()), TRUE, 0x00030000,
                                          128, 128, LR_DEFAULTCOLOR);
    ASSERT_NE(icon, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour = {};
    GetObjectW(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 128);
    EXPECT_EQ(colour.bmHeight, 128);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}

TEST(Resources, RelayHasOnlyAnEmptyManifest) {
    Library relay(builtProgram(L"relay.exe"));
    ASSERT_NE(relay.module, nullptr);
    std::string manifest = relay.resource(MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest.find("<assembly"), std::string::npos);
    EXPECT_EQ(manifest.find("assemblyIdentity"), std::string::npos);
    EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
    EXPECT_EQ(manifest.find("dependency"), std::string::npos);
    EXPECT_EQ(relay.count(MAKEINTRESOURCEW(14)), 0) << "no icon";
    EXPECT_EQ(relay.count(MAKEINTRESOURCEW(16)), 0) << "no version block";
}
