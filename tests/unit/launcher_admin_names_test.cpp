// Counting the current user among the Administrators group's members.
#include <gtest/gtest.h>

#include "probes.h"

namespace {

struct Member {
    const wchar_t* name;
};

int count(const wchar_t* user, const Member* members, unsigned long n) {
    return countNameMatches(user, members, n, [](const Member& m) { return m.name; });
}

}  // namespace

TEST(LauncherAdminNames, ComparesNamesExactly) {
    const Member members[] = {{L"Administrator"}, {L"alice"}, {L"Alice"}, {L"ALICE"}, {L"DOMAIN\\alice"}, {L"alice "}};
    EXPECT_EQ(count(L"alice", members, 6), 1);
    EXPECT_EQ(count(L"Alice", members, 6), 1);
    EXPECT_EQ(count(L"bob", members, 6), 0);
}

TEST(LauncherAdminNames, CountsEveryEqualEntry) {
    const Member members[] = {{L"alice"}, {L"Administrator"}, {L"alice"}};
    EXPECT_EQ(count(L"alice", members, 3), 2);
}

TEST(LauncherAdminNames, NoBufferOrNoNamesCountNothing) {
    EXPECT_EQ(count(L"alice", nullptr, 5), 0);
    const Member members[] = {{nullptr}, {L"alice"}};
    EXPECT_EQ(count(L"alice", members, 0), 0);
    EXPECT_EQ(count(L"alice", members, 2), 1);
    EXPECT_EQ(count(nullptr, members, 2), 0);
}
