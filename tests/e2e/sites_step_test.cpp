// The supported-sites step on real files in a test folder, with the real shell and Notepad.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "contract.h"
#include "notepad_check.h"
#include "paths.h"
#include "process_run.h"
#include "recording.h"
#include "sites_expect.h"
#include "sites_step.h"
#include "temp_dir.h"
#include "unique_handle.h"

namespace {

// The step in a process of its own that ends through ExitProcess right after, as the relay does.
RunResult runStep(const std::wstring& folder, const std::wstring& listPath) {
    RunOptions options;
    options.separateErrorOutput = true;
    return runProgram(builtProgram(L"sites_step_run.exe"), quoteArg(folder) + L" " + quoteArg(listPath), options);
}

class SitesStep : public ::testing::Test {
protected:
    TempDir dir{L"sites"};
    std::wstring listPath = dir.file(contract::kSitesListName);
    std::wstring sortedPath = dir.file(L"Out.txt");

    void TearDown() override { endNotepadsOf(dir.path()); }
};

TEST_F(SitesStep, FiftyEntriesAreSortedIntoOutTxtOnly) {
    // One line kept its CR from the output, one holds a lone CR and one a Ctrl-Z, which is data here.
    std::vector<std::string> lines = siteLines(47);
    lines.insert(lines.end(), {"rai\r", "tv\r5", "a\x1A" "b"});
    const std::string list = crlfText(lines);
    ASSERT_TRUE(writeFileBytes(listPath, list));

    EXPECT_EQ(sortSupportedSites(dir.path(), listPath), 0);

    expectNoNotepad(dir.path());
    EXPECT_EQ(readFileBytes(listPath), list);
    ASSERT_TRUE(fileExists(sortedPath));
    const std::string sorted = readFileBytes(sortedPath);
    EXPECT_EQ(sorted, sortedCrlf(list));
    EXPECT_NE(sorted.find("rai\r\r\n"), std::string::npos);
    EXPECT_NE(sorted, list);
}

TEST_F(SitesStep, FiftyOneEntriesReplaceTheListAndOpenNotepad) {
    // 50 lines and a 150-character one, which makes two entries.
    std::vector<std::string> lines = siteLines(49);
    lines.push_back(std::string(99, 'w') + std::string(51, 'E'));
    const std::string list = crlfText(lines);
    ASSERT_TRUE(writeFileBytes(listPath, list));

    EXPECT_EQ(sortSupportedSites(dir.path(), listPath), 0);

    std::vector<std::string> entries = siteLines(49);
    entries.push_back(std::string(99, 'w'));
    entries.push_back(std::string(51, 'E'));
    EXPECT_EQ(readFileBytes(listPath), sortedCrlf(crlfText(entries)));
    EXPECT_FALSE(fileExists(sortedPath));
    expectNotepadShowingList(dir.path(), listPath);
}

TEST_F(SitesStep, FiftyOneEntriesStayInOutTxtWhenTheListCannotBeReplaced) {
    const std::string list = crlfText(siteLines(51));
    ASSERT_TRUE(writeFileBytes(listPath, list));
    // Held open for reading by another program that shares no writing: the copy over it fails.
    UniqueHandle held(CreateFileW(listPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(sortSupportedSites(dir.path(), listPath), 0);
    held.reset();
    EXPECT_EQ(readFileBytes(listPath), list);
    ASSERT_TRUE(fileExists(sortedPath)) << "the sorted list is gone";
    EXPECT_EQ(readFileBytes(sortedPath), sortedCrlf(list));
    expectNotepadShowingList(dir.path(), listPath);
}

TEST_F(SitesStep, RealListAsAWindowsDownloaderPrintsIt) {
    const std::string list = windowsPrinted(readFileBytes(hostPath(VELVOX_FIXTURES_DIR "/supported-sites.txt")));
    ASSERT_FALSE(list.empty());
    const size_t letter = list.find("southpark.cc.com:espa");
    ASSERT_NE(letter, std::string::npos);
    ASSERT_EQ(list.compare(letter + 21, 4, "\xF1ol\r"), 0) << "the letter as one ANSI byte";
    ASSERT_TRUE(writeFileBytes(listPath, list));

    EXPECT_EQ(sortSupportedSites(dir.path(), listPath), 0);

    const std::string sorted = readFileBytes(listPath);
    EXPECT_EQ(sorted.size(), list.size());
    EXPECT_TRUE(sorted == sortedCrlf(list)) << "the list is not in sorted order byte for byte";
    EXPECT_LT(sorted.find("\r\nZype\r\n"), sorted.find("\r\ngeneric\r\n"));
    EXPECT_FALSE(fileExists(sortedPath));
    expectNotepadShowingList(dir.path(), listPath);
}

TEST_F(SitesStep, EmptyListGivesAnEmptyOutTxtAndNothingMore) {
    ASSERT_TRUE(writeFileBytes(listPath, ""));
    EXPECT_EQ(sortSupportedSites(dir.path(), listPath), 0);
    ASSERT_TRUE(fileExists(sortedPath));
    EXPECT_EQ(readFileBytes(sortedPath), "");
    ASSERT_TRUE(fileExists(listPath));
    EXPECT_EQ(readFileBytes(listPath), "");
    expectNoNotepad(dir.path());
}

TEST_F(SitesStep, OutTxtIsEmptiedBeforeItIsWritten) {
    ASSERT_TRUE(writeFileBytes(sortedPath, std::string(5000, 'x')));
    ASSERT_TRUE(writeFileBytes(listPath, "b\r\na\r\n"));
    EXPECT_EQ(sortSupportedSites(dir.path(), listPath), 0);
    EXPECT_EQ(readFileBytes(sortedPath), "a\r\nb\r\n");
}

// The message must reach a redirected standard error although the process ends at once.
TEST_F(SitesStep, MissingListIsReportedOnStandardError) {
    // A user folder may hold letters outside ASCII; the path is printed in the ANSI code page.
    const std::wstring folder = dir.file(L"Descargas \x00F1");
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::wstring missing = folder + L"\\" + contract::kSitesListName;
    ASSERT_NE(toAnsi(missing).find('\xF1'), std::string::npos);
    RunResult run = runStep(folder, missing);
    ASSERT_TRUE(run.started) << run.startError;
    EXPECT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.errorOutput, "Error: Could not open " + toAnsi(missing) + "\r\n");
    EXPECT_EQ(run.output, "");
    EXPECT_FALSE(fileExists(folder + L"\\Out.txt"));
}

TEST_F(SitesStep, OutTxtThatCannotBeCreatedIsReported) {
    ASSERT_TRUE(CreateDirectoryW(sortedPath.c_str(), nullptr));  // a folder where the file should go
    const std::string list = crlfText(siteLines(60));
    ASSERT_TRUE(writeFileBytes(listPath, list));
    RunResult run = runStep(dir.path(), listPath);
    ASSERT_TRUE(run.started) << run.startError;
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.errorOutput, "Error: Could not open " + toAnsi(sortedPath) + "\r\n");
    EXPECT_EQ(readFileBytes(listPath), list);
    expectNoNotepad(dir.path());
}

}  // namespace
