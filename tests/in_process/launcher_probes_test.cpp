// The launcher's real probes, run in this process under Wine.
#include <gtest/gtest.h>

#include <cstdio>

#include "probes.h"

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
}
