#pragma once
// Counting the current user among the members of the Administrators group.
#include "wide_text.h"

// Counts the entries whose name equals user exactly: case-sensitive, code unit by code unit,
// no domain prefix. Entries without a name count nothing.
template <typename Entry, typename NameOf>
int countNameMatches(const wchar_t* user, const Entry* entries, unsigned long count, NameOf nameOf) {
    int matches = 0;
    if (entries == nullptr) return 0;
    for (unsigned long i = 0; i < count; ++i) {
        if (sameText(nameOf(entries[i]), user)) ++matches;
    }
    return matches;
}
