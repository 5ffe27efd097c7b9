#pragma once
// Owner for buffers that the network management calls allocate (NetLocalGroupGetMembers and
// friends). Kept apart from unique_handle.h so only its users pull in <lm.h> and netapi32.
#include <windows.h>
#include <lm.h>

#include "unique_handle.h"

struct NetApiBufferTraits {
    static BYTE* invalid() { return nullptr; }
    static bool empty(BYTE* p) { return p == nullptr; }
    static void close(BYTE* p) { NetApiBufferFree(p); }
};

using UniqueNetApiBuffer = UniqueResource<BYTE*, NetApiBufferTraits>;
