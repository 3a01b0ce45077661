// Finding a native's handler through the host's own lookup routine.
#pragma once
#include <cstdint>

// The handler the host's FindNativeHandler returns for hash, 0 when there is none or
// the lookup faulted.
uintptr_t LookupNative(uint32_t hash);
// How many faults the lookup's guard has caught since the module was loaded. A native
// whose lookup faulted did nothing and answered 0, so a caller that reads this before
// and after its calls learns whether the host served them all.
uint32_t NativeLookupFaultCount();
