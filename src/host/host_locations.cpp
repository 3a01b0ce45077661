#include "host/host_locations.h"

#include "host/game_version.h"
#include "host/host_memory.h"
#include "host/host_routines.h"

namespace {
// Resolved while the plug-in's globals are constructed, which runs build detection
// before DllMain; null on an unsupported build.
const HostAddress localPlayerIndex(HostOffsets::localPlayerIndex);
const HostAddress pedPoolPointer(HostOffsets::pedPoolPointer);
const HostAddress episodeNumber(HostOffsets::episodeNumber);
const HostAddress padArray(HostOffsets::padArray);
const HostAddress frameTimeStep(HostOffsets::frameTimeStep);
const HostAddress cameraPointer(HostOffsets::cameraPointer);
const HostAddress hostColourTable(HostOffsets::hostColourTable);
const HostAddress currentScriptThread(HostOffsets::currentScriptThread);

// A 32-bit field at an address inside one of the host's records.
uint32_t ReadU32(uintptr_t address) { return *reinterpret_cast<const uint32_t*>(address); }
}  // namespace

uint32_t LocalPlayerIndex() { return *localPlayerIndex.As<const uint32_t>(); }
uint32_t EpisodeNumber() { return *episodeNumber.As<const uint32_t>(); }
float FrameTimeStep() { return *frameTimeStep.As<const float>(); }
uint32_t HostColour(int entry) { return hostColourTable.As<const uint32_t>()[entry]; }

bool PadControlDown(int control) {
  const uintptr_t offset =
      HostOffsets::padControlState + HostOffsets::padControlStride * static_cast<uint32_t>(control);
  return padArray.As<const uint8_t>()[offset] != 0;
}

uint32_t SwapCurrentScriptThread(uint32_t thread) {
  // Each swap lifts the protection only around its own write: the frame walk between
  // two swaps may block (a message box) or take a while (an outfit save), and the
  // host's page is not left open meanwhile.
  const uint32_t replaced = *currentScriptThread.As<const uint32_t>();
  WriteHostMemory<uint32_t>(currentScriptThread.address, thread);
  return replaced;
}

bool WriteCameraView(const float* matrix, float fieldOfView) {
  const uintptr_t camera = *cameraPointer.As<const uint32_t>();
  if (camera == 0) return false;
  // One lifted span over everything written: the matrix and, past it, the field of view.
  const uintptr_t first = camera + HostOffsets::cameraMatrix;
  const ProtectionScope span(first, HostOffsets::cameraFieldOfView + sizeof(float) - HostOffsets::cameraMatrix);
  WriteHostBytes(span, first, matrix, 16 * sizeof(float));
  WriteHostBytes(span, camera + HostOffsets::cameraFieldOfView, &fieldOfView, sizeof(float));
  return true;
}

int32_t GetPlayerPedHandle() {
  const uintptr_t record = GetPlayerInfo(LocalPlayerIndex());
  const uintptr_t pedObject = record != 0 ? ReadU32(record + HostOffsets::playerInfoPedObject) : 0;
  return GetPoolHandle(*pedPoolPointer.As<const uint32_t>(), pedObject);
}

const float* PlayerPedMatrix() {
  const uintptr_t pedObject = GetPlayerPedObject();
  if (pedObject == 0) return nullptr;
  return reinterpret_cast<const float*>(static_cast<uintptr_t>(ReadU32(pedObject + HostOffsets::pedObjectMatrix)));
}

uintptr_t CompanionProbeTarget() {
  const uintptr_t site = ResolveHostAddress(HostOffsets::companionProbeSite);
  if (site == 0 || ReadHostMemory<uint8_t>(site) != 0xE8) return 0;
  return ReadRelativeTarget(site + 1, 4);
}
