#include "contract.h"
#include "host_contract.h"
#include "settings.h"

#include <gtest/gtest.h>

TEST(RunNames, HostObjectsAndConsoleTitleCarryBothNumbers) {
    EXPECT_EQ(hostWindowTitle(7), contract::windowTitle(7));
    EXPECT_EQ(hostWindowTitle(-2147483647 - 1), contract::windowTitle(-2147483647 - 1));
    EXPECT_EQ(hostWindowTitle(2147483647), contract::windowTitle(2147483647));
    EXPECT_EQ(mailboxName(7, 12), contract::mailboxName(7, 12));
    EXPECT_EQ(mailboxName(-3, 0), contract::mailboxName(-3, 0));
    EXPECT_EQ(consoleTitle(7, 12), contract::consoleTitle(7, 12));
}

TEST(RunNames, OneTrailingBackslashIsDropped) {
    EXPECT_EQ(downloaderFolderFrom(L"C:\\dl\\"), L"C:\\dl");
    EXPECT_EQ(downloaderFolderFrom(L"C:\\dl\\\\"), L"C:\\dl\\");
    EXPECT_EQ(downloaderFolderFrom(L"C:\\dl"), L"C:\\dl");
    EXPECT_EQ(downloaderFolderFrom(L"\\"), L"");
    EXPECT_EQ(downloaderFolderFrom(L""), L"");
}

TEST(RunNames, PathsKeepAFolderOfAnyLength) {
    EXPECT_EQ(downloaderPathIn(L"D:\\My Tools"), L"D:\\My Tools\\youtube-dl.exe");
    EXPECT_EQ(sitesListPathIn(L"D:\\My Tools"), L"D:\\My Tools\\" + std::wstring(contract::kSitesListName));
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd');
    EXPECT_EQ(downloaderPathIn(deep), deep + L"\\youtube-dl.exe");
    EXPECT_EQ(sitesListPathIn(deep), deep + L"\\" + contract::kSitesListName);
}
