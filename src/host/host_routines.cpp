// Calls of the host's own routines with their calling conventions. Compiler-specific:
// GCC's thiscall attribute for the pool's member routine.
//
// Registers: these three are ordinary compiled functions of the host, cdecl and
// thiscall, so the compiler's calls assume what those conventions promise and no more:
// EBX, ESI, EDI, EBP and ESP kept, EAX the result, ECX and EDX lost. (The native
// lookup promises less; see native_lookup.cpp.)
#include "host/host_routines.h"

#include "host/game_version.h"

uintptr_t GetPlayerInfo(uint32_t playerIndex) {
  using Routine = uint32_t(__cdecl*)(uint32_t);
  auto routine = reinterpret_cast<Routine>(ResolveHostAddress(HostOffsets::getPlayerInfo));
  return routine(playerIndex);
}

int32_t GetPoolHandle(uintptr_t pool, uintptr_t object) {
  using Routine = int32_t(__attribute__((thiscall))*)(uint32_t, uint32_t);
  auto routine = reinterpret_cast<Routine>(ResolveHostAddress(HostOffsets::getPoolHandle));
  return routine(static_cast<uint32_t>(pool), static_cast<uint32_t>(object));
}

uintptr_t GetPlayerPedObject() {
  using Routine = uint32_t(__cdecl*)();
  auto routine = reinterpret_cast<Routine>(ResolveHostAddress(HostOffsets::getPlayerPedObject));
  return routine();
}
