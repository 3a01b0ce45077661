// The host's own handling of exceptions that leave the code it runs: as a compiled
// __except does, it unwinds what was registered inside and goes on after the call.
#pragma once
#include <cstdint>

namespace sim {

// Calls body(argument) with a structured-exception frame of the host's around it.
// Returns 0 when body returned, or the code of the exception that reached the frame
// (handlers registered inside have seen it first, and see the unwind).
uint32_t RunCatchingHostExceptions(void (*body)(void*), void* argument);

}  // namespace sim
