// Finding a native's handler through the host's own lookup routine.
#pragma once
#include <cstdint>

// The handler the host's FindNativeHandler returns for hash, 0 when there is none or
// the lookup faulted.
uintptr_t LookupNative(uint32_t hash);
