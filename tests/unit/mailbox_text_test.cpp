#include "mailbox_text.h"

#include "contract.h"

#include <gtest/gtest.h>

#include <vector>

TEST(MailboxText, ReadsUpToTheNul) {
    const wchar_t units[] = {L'a', L' ', L'b', L'\0', L'z', L'z'};
    EXPECT_EQ(mailboxText(units, 6), L"a b");
    const wchar_t empty[] = {L'\0', L'x'};
    EXPECT_EQ(mailboxText(empty, 2), L"");
}

TEST(MailboxText, AFullMailboxWithoutNulIsReadToItsEndAndNoFurther) {
    // Exactly the view's units on the heap, so a read past them shows up under AddressSanitizer.
    std::vector<wchar_t> view(kMailboxUnits, L'x');
    view[0] = L' ';
    view[1] = L'-';
    view[2] = L'o';
    const std::wstring text = mailboxText(view.data(), view.size());
    ASSERT_EQ(text.size(), kMailboxUnits);
    EXPECT_EQ(takeCommand(text), text);
}

TEST(MailboxText, FindsTheStopMarkerAnywhere) {
    const std::wstring marker = contract::kStopMarker;
    EXPECT_TRUE(hasStopMarker(marker));
    EXPECT_TRUE(hasStopMarker(L"youtube-dl -o a " + marker + L" b"));
    EXPECT_TRUE(hasStopMarker(L"x" + marker + L"_"));
    EXPECT_FALSE(hasStopMarker(L"_STOP_"));
    EXPECT_FALSE(hasStopMarker(L"_stop__"));
    EXPECT_FALSE(hasStopMarker(L""));
}

TEST(MailboxText, TakesTheTextFromTheFirstDashOWithItsBlank) {
    EXPECT_EQ(takeCommand(L"youtube-dl -o %(title)s.%(ext)s http://x/v"), L" -o %(title)s.%(ext)s http://x/v");
    EXPECT_EQ(takeCommand(L"a -o b -o c"), L" -o b -o c");
    EXPECT_EQ(takeCommand(L" -o"), L" -o");
    EXPECT_EQ(takeCommand(L"word -output x"), L" -output x");  // a substring match, as the host expects
}

TEST(MailboxText, LeavesTextsThatAreNotCommands) {
    EXPECT_FALSE(takeCommand(L""));
    EXPECT_FALSE(takeCommand(L"no-blank-at-all"));
    EXPECT_FALSE(takeCommand(L"-o"));
    // A blank but no " -o": outside the contract, left alone rather than read through.
    EXPECT_FALSE(takeCommand(L"hello world"));
    EXPECT_FALSE(takeCommand(L"x\t-o y"));
    EXPECT_FALSE(takeCommand(L"a -O b"));
}

TEST(MailboxText, TakesALongCommandWhole) {
    std::wstring arguments = L" -o out.mp4 ";
    while (arguments.size() < 1500) arguments += L"http://example.invalid/clip ";
    const auto taken = takeCommand(L"youtube-dl" + arguments);
    ASSERT_TRUE(taken);
    EXPECT_EQ(*taken, arguments);
    EXPECT_GT(taken->size(), 999u);
}
