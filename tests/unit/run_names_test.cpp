#include "host_contract.h"
#include "settings.h"

#include <gtest/gtest.h>

TEST(RunNames, HostObjectsAndConsoleTitleCarryBothNumbers) {
    EXPECT_EQ(hostWindowTitle(7), L"Velvox YT (7)");
    EXPECT_EQ(hostWindowTitle(-2147483647 - 1), L"Velvox YT (-2147483648)");
    EXPECT_EQ(hostWindowTitle(2147483647), L"Velvox YT (2147483647)");
    EXPECT_EQ(mailboxName(7, 12), L"velvox_7_12");
    EXPECT_EQ(mailboxName(-3, 0), L"velvox_-3_0");
    EXPECT_EQ(consoleTitle(7, 12), L"VelvoxDownload (7) 12");
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
    EXPECT_EQ(sitesListPathIn(L"D:\\My Tools"), L"D:\\My Tools\\YOUTUBE-DL Supported sites.txt");
    const std::wstring deep = L"C:\\" + std::wstring(300, L'd');
    EXPECT_EQ(downloaderPathIn(deep), deep + L"\\youtube-dl.exe");
    EXPECT_EQ(sitesListPathIn(deep), deep + L"\\YOUTUBE-DL Supported sites.txt");
}
