#pragma once
// The system probes behind the launch decision, and the elevated relaunch.
// Every probe fails quietly toward: no administrator by name, not elevated, not modern.
#include "wide_text.h"

// Counts the entries whose name equals user exactly: case-sensitive, code unit by code unit,
// no domain prefix. Entries without a name count nothing. The group scan's rule, Windows-free.
template <typename Entry, typename NameOf>
int countNameMatches(const wchar_t* user, const Entry* entries, unsigned long count, NameOf nameOf) {
    int matches = 0;
    if (entries == nullptr) return 0;
    for (unsigned long i = 0; i < count; ++i) {
        if (sameText(nameOf(entries[i]), user)) ++matches;
    }
    return matches;
}

// Account names fit 256 units and the terminator.
const unsigned long kAccountNameUnits = 257;

// The local name of the built-in Administrators group (S-1-5-32-544), e.g. "Administratoren" on a
// German Windows, without its domain; "Administrators" when the lookup fails.
void administratorsGroupName(wchar_t (&name)[kAccountNameUnits]);

// How often the current user's name appears among the members of the local Administrators group,
// by the group's local name, compared exactly. 0 when the name or the group cannot be read.
int adminNameMatches();

// Whether the process token is a member of the built-in Administrators group (S-1-5-32-544),
// that is, whether it is elevated.
bool tokenIsElevated();

// Vista or later: a major version of 6 or more, or, looked up once per process, a kernel32 that
// has GetProductInfo (a modern system reporting an older version in a compatibility mode).
bool isModernWindows();

// Starts this executable again through the "runas" verb with the given parameters (may be null).
// A failure, including a declined elevation prompt, is dropped.
void relaunchElevated(const wchar_t* parameters);

// The relaunch's record and call, for any program: ShellExecuteExW with "runas", no folder (so the
// program starts in the current one), SW_SHOWNORMAL. False when the call fails.
bool startElevated(const wchar_t* program, const wchar_t* parameters);
