#include "host/host_locations.h"

#include <cstring>

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
  // The location is host data, writable as the host runs: whether it may be written
  // as it stands is asked once (its place is fixed for the build), and then every swap,
  // two per frame, is a plain store. Were it not writable, each swap would lift the
  // protection only around its own write: the frame walk between two swaps may block
  // (a message box) or take a while (an outfit save), and the page is not left open
  // meanwhile.
  static const bool writable = IsWritableMemory(currentScriptThread.address, sizeof(uint32_t));
  uint32_t* location = currentScriptThread.As<uint32_t>();
  const uint32_t replaced = *location;
  if (writable) {
    *location = thread;
  } else {
    WriteHostMemory<uint32_t>(currentScriptThread.address, thread);
  }
  return replaced;
}

bool WriteCameraView(const float* matrix, float fieldOfView) {
  const uintptr_t camera = *cameraPointer.As<const uint32_t>();
  if (camera == 0) return false;
  // Everything written: the matrix and, past it, the field of view. The camera object is
  // the host's data, asked once whether it may be written as it stands, and again only
  // when the host's camera is another object. This runs on the camera thread only.
  const uintptr_t first = camera + HostOffsets::cameraMatrix;
  const size_t span = HostOffsets::cameraFieldOfView + sizeof(float) - HostOffsets::cameraMatrix;
  static uintptr_t askedCamera = 0;
  static bool cameraWritable = false;
  if (camera != askedCamera) {
    cameraWritable = IsWritableMemory(first, span);
    askedCamera = camera;
  }
  if (cameraWritable) {
    std::memcpy(reinterpret_cast<void*>(first), matrix, 16 * sizeof(float));
    std::memcpy(reinterpret_cast<void*>(camera + HostOffsets::cameraFieldOfView), &fieldOfView, sizeof(float));
    return true;
  }
  // One lifted span over both writes.
  const ProtectionScope lifted(first, span);
  WriteHostBytes(lifted, first, matrix, 16 * sizeof(float));
  WriteHostBytes(lifted, camera + HostOffsets::cameraFieldOfView, &fieldOfView, sizeof(float));
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
