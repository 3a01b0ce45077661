#include "host/host_locations.h"

#include "host/game_version.h"
#include "host/host_memory.h"

namespace {
// Resolved while the plug-in's globals are constructed, which runs build detection
// before DllMain; null on an unsupported build.
const HostAddress localPlayerIndex(0xB1CC68, 0xB2E0B4);
const HostAddress pedPoolPointer(0x14A82AC, 0x14CB03C);
const HostAddress episodeNumber(0xCF8078, 0xD2D788);
const HostAddress padArray(0xCFB818, 0xDD8EA8);
const HostAddress frameTimeStep(0xDDDE7C, 0xCFCB74);
const HostAddress cameraPointer(0xB21A70, 0xB488EC);
const HostAddress hostColourTable(0xDE4D40, 0xDE8038);
const HostAddress currentScriptThread(0x1449AE0, 0x1394FB4);
}  // namespace

uint32_t LocalPlayerIndex() { return *localPlayerIndex.As<const uint32_t>(); }
uint32_t EpisodeNumber() { return *episodeNumber.As<const uint32_t>(); }
float FrameTimeStep() { return *frameTimeStep.As<const float>(); }
uintptr_t CameraObject() { return *cameraPointer.As<const uint32_t>(); }
uint32_t HostColour(int entry) { return hostColourTable.As<const uint32_t>()[entry]; }
const uint8_t* PadRecord() { return padArray.As<const uint8_t>(); }
uintptr_t CurrentScriptThreadLocation() { return currentScriptThread.address; }

uintptr_t PropQueryPatchByteAddress() {
  // A byte of the host's code: resolved on first use and kept.
  static const HostAddress propQueryPatchByte(0x5E29DC, 0x6D929C);
  return propQueryPatchByte.address;
}

void WritePropQueryPatchByte(uint8_t value, bool liftProtection) {
  WriteHostMemory<uint8_t>(PropQueryPatchByteAddress(), value, liftProtection);
}

int32_t GetPlayerPedHandle() {
  uintptr_t record = GetPlayerInfo(LocalPlayerIndex());
  uintptr_t pedObject = record != 0 ? *reinterpret_cast<const uint32_t*>(record + 0x58C) : 0;
  return GetPoolHandle(*pedPoolPointer.As<const uint32_t>(), pedObject);
}

const float* PlayerPedMatrix() {
  uintptr_t pedObject = GetPlayerPedObject();
  if (pedObject == 0) return nullptr;
  return reinterpret_cast<const float*>(static_cast<uintptr_t>(*reinterpret_cast<const uint32_t*>(pedObject + 0x20)));
}

uintptr_t CompanionProbeSite() { return ResolveHostAddress(0x215ED, 0x9512D); }
