// Sites mode: the whole of the downloader's output goes into the list file, which is sorted at
// the end of the run.
#include <gtest/gtest.h>

#include "notepad_check.h"
#include "relay_case.h"
#include "sites_expect.h"
#include "temp_dir.h"

namespace {

// A sites-mode run of the relay. Any Notepad it opened is closed at the end of the test.
class RelaySites : public ::testing::Test {
protected:
    RelayCase c{L"sites"};

    void TearDown() override { endNotepadsOf(c.dir.path()); }

    // With a downloader that prints `output` in writes of at most `piece` bytes.
    void runWith(const std::string& output, size_t piece = 1000) {
        c.installDownloader(writesInPieces(output, piece));
        EXPECT_TRUE(c.runSites());
        EXPECT_TRUE(c.noticesWere(Notices::Both));
    }
};

}  // namespace

TEST_F(RelaySites, EveryChunkGoesWholeIntoTheListFile) {
    const std::vector<std::string> writes = {"Youtube\nVimeo\n", "\narte.tv\n", std::string("abc\0ignored\n", 12), "zdf"};
    c.installDownloader(c.lockstepWrites(writes));
    ASSERT_TRUE(c.runSites());
    HostSim& host = c.host();
    // Every line of a chunk is listed and relayed; a NUL byte ends a chunk.
    EXPECT_EQ(readFileBytes(c.listPath()), "Youtube\r\nVimeo\r\n\r\narte.tv\r\nabczdf");
    EXPECT_EQ(relayedLines(host), (std::vector<std::wstring>{L"Youtube", L"Vimeo", L"", L"arte.tv", L"abc", L"zdf"}));
    EXPECT_EQ(host.console(), "Youtube\r\nVimeo\r\n\r\narte.tv\r\nabczdf" + contract::kExitNoData);
    EXPECT_TRUE(c.noticesWere(Notices::Both));
    EXPECT_EQ(standinValues(c.standin(), L"commandline"), std::vector<std::wstring>{L" -o x --list-extractors"});
}

TEST_F(RelaySites, FiftyLinesAreSortedIntoOutTxtOnly) {
    // A Windows downloader ends its lines in CR LF, which the list file holds as CR CR LF.
    const std::string output = crlfText(siteLines(50));
    runWith(output);
    const std::string list = readFileBytes(c.listPath());
    EXPECT_EQ(list, withCrLf(output));
    EXPECT_EQ(readFileBytes(c.sortedPath()), sortedCrlf(list));
    expectNoNotepad(c.dir.path());
}

TEST_F(RelaySites, FiftyOneLinesReplaceTheListAndOpenNotepad) {
    // A notepad.exe planted where downloads land, the relay's current folder, is not the one
    // started: the stand-in host, which records each start of its own beside itself.
    ASSERT_TRUE(copyFileTo(builtProgram(L"velvoxapp.exe"), c.workDir + L"\\notepad.exe"));
    const std::string output = crlfText(siteLines(51));
    runWith(output);
    EXPECT_EQ(readFileBytes(c.listPath()), sortedCrlf(withCrLf(output)));
    EXPECT_FALSE(fileExists(c.sortedPath()));
    // Notepad is the user's: it outlives the host's kill-on-close job, which allows breakaway.
    c.endHost();
    expectNotepadShowingList(c.dir.path(), c.listPath());
    EXPECT_FALSE(fileExists(c.workDir + L"\\velvoxapp-starts.bin")) << "the planted notepad.exe was started";
}

TEST_F(RelaySites, RealListAsAWindowsDownloaderPrintsIt) {
    // A host job that refuses breakaway still gets its Notepad, inside the job.
    c.options.jobAllowsBreakaway = false;
    const std::string output = windowsPrinted(readFileBytes(fixturePath(L"supported-sites.txt")));
    ASSERT_GT(output.size(), 4096u);
    runWith(output, 4096);
    // The list file got every byte (each CR LF as CR CR LF), sorted by byte.
    const std::string listed = withCrLf(output);
    const std::string sorted = readFileBytes(c.listPath());
    EXPECT_EQ(sorted.size(), listed.size());
    EXPECT_TRUE(sorted == sortedCrlf(listed)) << "the list is not the sorted output byte for byte";
    EXPECT_NE(sorted.find("southpark.cc.com:espa\xF1ol\r\r\n"), std::string::npos);
    EXPECT_FALSE(fileExists(c.sortedPath()));
    expectNotepadShowingList(c.dir.path(), c.listPath());
}
