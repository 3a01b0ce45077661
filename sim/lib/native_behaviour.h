// What each native does to the host's model.
#pragma once
#include <cstdint>
#include <string>

namespace sim {

// Runs the native of the given hash on its argument slots; returns what goes into
// slot 0 (0 for natives without a result).
uint32_t RunNativeBehaviour(uint32_t hash, const uint32_t* slots);

// A zero-terminated string at a host-process address; "" (and ok false) when the
// address is not readable.
std::string ReadGuestString(uint32_t address, bool* ok = nullptr);

}  // namespace sim
