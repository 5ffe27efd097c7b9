// Run by sites_step_short_write.sh, which writes the list first and then limits the size of the files
// this process may write: "Out.txt" is cut short as on a full disk. A sorted copy that is short
// of the list must not replace it; the user keeps the whole list and still gets to see it.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "contract.h"
#include "notepad_check.h"
#include "paths.h"
#include "sites_step.h"
#include "temp_dir.h"

TEST(SitesStepShortWrite, ListIsLeftWholeWhenOutTxtCannotBeWritten) {
    const char* folderText = std::getenv("VELVOX_SHORT_WRITE_DIR");
    ASSERT_NE(folderText, nullptr) << "run through sites_step_short_write.sh";
    const std::wstring folder = hostPath(folderText);
    const std::wstring listPath = folder + L"\\" + std::wstring(contract::kSitesListName);
    const std::wstring sortedPath = folder + L"\\Out.txt";
    // A rename writes no data, so the size limit does not touch it.
    ASSERT_TRUE(MoveFileW((folder + L"\\sites.txt").c_str(), listPath.c_str())) << GetLastError();
    const std::string list = readFileBytes(listPath);
    ASSERT_FALSE(list.empty()) << toUtf8(listPath);

    EXPECT_EQ(sortSupportedSites(folder, listPath), 0);

    const std::string after = readFileBytes(listPath);
    EXPECT_EQ(after.size(), list.size());
    EXPECT_TRUE(after == list) << "the list was replaced";
    ASSERT_TRUE(fileExists(sortedPath));
    const std::string sorted = readFileBytes(sortedPath);
    EXPECT_LT(sorted.size(), list.size()) << "the size limit did not cut the write short";
    EXPECT_EQ(sorted.compare(0, 14, "site1.example\r"), 0) << "sorted as far as it got";
    expectNotepadShowingList(folder, listPath);
    endNotepadsOf(folder);
}
