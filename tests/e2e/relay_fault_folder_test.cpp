// Downloader folders that are hard on paths: blanks and letters the ANSI code page cannot hold,
// and one far past what the relay's record is meant for. (A folder of 244 characters, within
// what the system starts programs from, is in relay_limits_test.cpp.)
#include <gtest/gtest.h>

#include "notepad_check.h"
#include "paths.h"
#include "relay_case.h"
#include "sites_expect.h"

namespace {

bool outsideAnsiCodePage(const std::wstring& text) {
    BOOL usedDefault = FALSE;
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), int(text.size()), nullptr, 0, nullptr,
                        &usedDefault);
    return usedDefault != FALSE;
}

class RelayFaultFolder : public ::testing::Test {
protected:
    RelayCase c{L"folders"};
    void TearDown() override { endNotepadsOf(c.dir.path()); }
};

}  // namespace

TEST_F(RelayFaultFolder, FolderWithBlanksAndLettersOutsideTheCodePage) {
    // Greek and Chinese letters, which the relay can only reach through wide paths.
    const std::wstring letters = L"\u03A9\u03BC\u03AD\u03B3\u03B1 \u4E2D\u6587";
    if (!outsideAnsiCodePage(letters)) GTEST_SKIP() << "the ANSI code page holds these letters";
    const std::wstring folder = c.dir.path() + L"\\dl " + letters + L" x";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    // 51 lines: the list is sorted in that folder, put back and opened in Notepad.
    const std::string output = crlfText(siteLines(51));
    c.installDownloader(writesInPieces(output, 1000), folder);
    c.options.downloaderFolder = folder;
    ASSERT_TRUE(c.runSites());

    EXPECT_TRUE(c.boxesWere({}));
    EXPECT_EQ(standinValues(c.standin(folder), L"module"), std::vector<std::wstring>{folder + L"\\youtube-dl.exe"});
    EXPECT_EQ(c.host().console(), withCrLf(output) + contract::kExitNoData);
    EXPECT_TRUE(c.noticesWere(Notices::Both));

    const std::wstring listPath = c.listPath(folder);
    EXPECT_EQ(readFileBytes(listPath), sortedCrlf(withCrLf(output)));
    EXPECT_FALSE(fileExists(c.sortedPath(folder)));
    EXPECT_FALSE(fileExists(c.listPath())) << "nothing goes to a folder of a similar name";
    expectNotepadShowingList(c.dir.path(), listPath);
}

TEST_F(RelayFaultFolder, FolderPastTheRecordsFieldEndsTheJobInGoodOrder) {
    // 1100 characters, more than the record's 1000-unit field and than any path the system
    // takes: no downloader can start from there and no list file can be made.
    std::wstring folder = c.dir.path();
    while (folder.size() < 1100) folder += L"\\" + std::wstring(99, L'f');
    folder.resize(1100);
    c.options.downloaderFolder = folder;
    ASSERT_TRUE(c.runSites());
    EXPECT_TRUE(c.boxesWere({{L"velvoxdl message", L"Error CreateChildProcess"}}));
    EXPECT_TRUE(c.noticesWere(Notices::EndOfData));
    EXPECT_EQ(c.host().console(), "Error: Could not open " + toUtf8(folder) + "\\" + toUtf8(contract::kSitesListName) +
                                      "\r\n" + contract::kExitNoData);
}
