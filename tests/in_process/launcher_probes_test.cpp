// The launcher's real probes, run in this process under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>

#include "probes.h"
#include "unique_netapi_buffer.h"

// The other launcher tests start the host directly; this is why, in numbers.
TEST(LauncherProbes, AnswersUnderThisSystemLeadToTheDirectStart) {
    int matches = adminNameMatches();
    bool elevated = tokenIsElevated();
    bool modern = isModernWindows();
    std::printf("group scan: %d match(es); token check: %s; Windows generation: %s\n", matches,
                elevated ? "elevated" : "not elevated", modern ? "modern (Vista or later)" : "older than Vista");
    RecordProperty("adminNameMatches", matches);
    RecordProperty("elevated", elevated);
    RecordProperty("modern", modern);
    EXPECT_FALSE(matches == 1 && !elevated) << "this system would take the elevated relaunch";
    EXPECT_TRUE(modern);
    EXPECT_EQ(isModernWindows(), modern) << "a second look gives the same answer";

    // The group by the name this system gives it: the name alone, with which the scan succeeds,
    // and the group's, not its domain's ("BUILTIN"): Wine's scan takes any name.
    wchar_t group[kAccountNameUnits];
    administratorsGroupName(group);
    EXPECT_NE(group[0], L'\0');
    EXPECT_EQ(std::wcschr(group, L'\\'), nullptr) << "a domain before the name";
    BYTE named[SECURITY_MAX_SID_SIZE];
    wchar_t domain[kAccountNameUnits];
    DWORD namedSize = sizeof named, domainUnits = kAccountNameUnits;
    SID_NAME_USE use;
    ASSERT_TRUE(LookupAccountNameW(nullptr, group, named, &namedSize, domain, &domainUnits, &use));
    EXPECT_TRUE(IsWellKnownSid(named, WinBuiltinAdministratorsSid)) << "not S-1-5-32-544";
    UniqueNetApiBuffer members;
    DWORD read = 0, total = 0;
    EXPECT_EQ(NetLocalGroupGetMembers(nullptr, group, 1, members.put(), MAX_PREFERRED_LENGTH, &read, &total, nullptr),
              static_cast<NET_API_STATUS>(NERR_Success));
}
