// Three of the host's routines the plug-in calls, each planted at its offset as a jump
// into its body here, with the host's calling convention. (The fourth,
// FindNativeHandler, lives with the natives.)
#include "planting.h"
#include "sim/host_image.h"
#include "sim/host_layout.h"
#include "sim/host_state.h"
#include "x86_emitter.h"

namespace sim {

namespace {

// Plain call, one argument: the player-info record of the player, null for an index
// that is not the local player's.
extern "C" uintptr_t __cdecl SimGetPlayerInfo(uint32_t playerIndex) {
  return playerIndex == LocalPlayerIndexValue() ? PlayerInfoRecordAddress() : 0;
}

// Member call on the ped pool (ECX), one stack argument, callee pops: the script
// handle of a ped object of the pool; 0 for anything else.
__attribute__((thiscall)) int32_t SimGetPoolHandle(uintptr_t pool, uintptr_t object) {
  return pool == PedPoolAddress() && object == PedObjectAddress() ? PlayerPedHandle : 0;
}

// Plain call, no arguments: the player's ped object.
extern "C" uintptr_t __cdecl SimGetPlayerPedObject() { return PedObjectAddress(); }

void PlantJump(uint32_t offset, uintptr_t target) {
  X86Emitter code(HostBase() + offset);
  code.JumpRel32(target);
}

}  // namespace

void PlantHostRoutines() {
  const HostLayout& layout = Layout();
  PlantJump(layout.getPlayerInfo, reinterpret_cast<uintptr_t>(&SimGetPlayerInfo));
  PlantJump(layout.getPoolHandle, reinterpret_cast<uintptr_t>(&SimGetPoolHandle));
  PlantJump(layout.getPlayerPedObject, reinterpret_cast<uintptr_t>(&SimGetPlayerPedObject));
}

}  // namespace sim
