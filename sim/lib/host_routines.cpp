// Three of the host's routines the plug-in calls, each planted at its offset as a stub
// that calls its body here with the host's calling convention. (The fourth,
// FindNativeHandler, lives with the natives.) They are ordinary compiled routines of
// the host, cdecl and thiscall: EBX, ESI, EDI and EBP come back as they went in, EAX
// holds the result, and ECX and EDX are not kept. The stubs put junk into those two
// before returning, so a caller that counts on them fails here too.
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

// stackArguments 4-byte arguments are passed on to body; the caller pops them (cdecl)
// unless calleePops (thiscall, whose ECX reaches the body untouched).
void PlantRoutine(uint32_t offset, uintptr_t body, int stackArguments, bool calleePops) {
  X86Emitter code(HostBase() + offset);
  // Each push moves the next argument up to the same displacement.
  for (int i = 0; i < stackArguments; ++i) code.PushEspRelative(static_cast<uint8_t>(4 * stackArguments));
  code.CallRel32(body);
  if (!calleePops && stackArguments > 0) code.AddEsp(static_cast<uint8_t>(4 * stackArguments));
  code.MovRegImm(ECX, 0xBAD0C0C1u);
  code.MovRegImm(EDX, 0xBAD0C0C2u);
  if (calleePops) {
    code.RetPop(static_cast<uint16_t>(4 * stackArguments));
  } else {
    code.Ret();
  }
}

}  // namespace

void PlantHostRoutines() {
  const HostLayout& layout = Layout();
  PlantRoutine(layout.getPlayerInfo, reinterpret_cast<uintptr_t>(&SimGetPlayerInfo), 1, false);
  PlantRoutine(layout.getPoolHandle, reinterpret_cast<uintptr_t>(&SimGetPoolHandle), 1, true);
  PlantRoutine(layout.getPlayerPedObject, reinterpret_cast<uintptr_t>(&SimGetPlayerPedObject), 0, false);
}

}  // namespace sim
