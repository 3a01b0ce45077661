// The host's data locations and the objects behind them.
#include <windows.h>

#include <cmath>
#include <cstring>

#include "planting.h"
#include "sim/host_image.h"
#include "sim/host_layout.h"
#include "sim/host_state.h"
#include "sim/imports.h"
#include "sim/keyboard_layout.h"
#include "sim/ped_model.h"
#include "sim/world_model.h"

namespace sim {

namespace {

bool keyHeld[256];
bool gameInFront = true;
uint32_t keyStateQueries = 0;

uint32_t& U32At(uint32_t offset) { return *HostAt<uint32_t>(offset); }

uint32_t AddressOf(uint32_t offset) { return static_cast<uint32_t>(HostBase() + offset); }

// Colours of the host's interface, 0xAARRGGBB.
uint32_t DefaultColour(int entry) {
  switch (entry) {
    case 60: return 0xFFF0F0F0;  // normal text: white-ish
    case 62: return 0xFFF2C84B;  // highlighted: gold
    case 63: return 0xFF9C8A52;  // disabled and highlighted: dim gold
    case 66: return 0xFF8C8C8C;  // disabled: grey
    default: {
      uint32_t k = static_cast<uint32_t>(entry);
      return 0xFF000000u | ((k * 37u) & 0xFF) << 16 | ((k * 91u) & 0xFF) << 8 | ((k * 151u) & 0xFF);
    }
  }
}

}  // namespace

void PlantHostData() {
  const HostLayout& layout = Layout();
  U32At(layout.localPlayerIndex) = 0;
  U32At(layout.pedPoolPointer) = AddressOf(PedPoolOffset);
  U32At(layout.episodeNumber) = 0;
  U32At(PlayerInfoOffset + PlayerInfoPedObject) = AddressOf(PedObjectOffset);
  U32At(PedObjectOffset + PedObjectMatrix) = AddressOf(PedMatrixOffset);
  U32At(layout.cameraPointer) = AddressOf(CameraObjectOffset);
  U32At(layout.currentScriptThread) = AddressOf(HostScriptThreadOffset);
  // The host's own script thread: an id and a name, so that it is recognisable.
  U32At(HostScriptThreadOffset) = 1;
  std::memcpy(HostAt(HostScriptThreadOffset + 0x10), "main", 5);
  for (int i = 0; i < ColourTableEntries; ++i) U32At(layout.hostColourTable + 4 * i) = DefaultColour(i);
  // The prop query's code byte: 4 (report the prop index).
  *HostAt(layout.propQueryPatchByte) = 4;
}

void ResetHostData() {
  const HostLayout& layout = Layout();
  U32At(layout.localPlayerIndex) = 0;
  U32At(layout.episodeNumber) = 0;
  U32At(layout.cameraPointer) = AddressOf(CameraObjectOffset);
  U32At(layout.currentScriptThread) = AddressOf(HostScriptThreadOffset);
  for (int i = 0; i < ColourTableEntries; ++i) U32At(layout.hostColourTable + 4 * i) = DefaultColour(i);
  if (*HostAt(layout.propQueryPatchByte) != 4) {
    uint8_t four = 4;
    WriteHostCode(layout.propQueryPatchByte, &four, 1);
  }
  std::memset(HostAt(layout.padArray), 0, PadRecordSize);
  std::memset(keyHeld, 0, sizeof keyHeld);
  gameInFront = true;
  SetKeyboardLayout(KeyboardLayout::Us);
  SetPendingDeadKey(0);
  SetWriteFileError(0);
  SetFrameTime(1.0f / 30.0f);
  ResetHostCamera();
}

void SetPad(int control, bool down) {
  if (control < 0 || control >= PadControlCount) return;
  *HostAt(Layout().padArray + PadControlState + PadControlStride * control) = down ? 1 : 0;
}

bool PadHeld(int control) {
  if (control < 0 || control >= PadControlCount) return false;
  return *HostAt(Layout().padArray + PadControlState + PadControlStride * control) != 0;
}

void SetKey(int virtualKey, bool down) {
  if (virtualKey >= 0 && virtualKey < 256) keyHeld[virtualKey] = down;
}

bool KeyHeld(int virtualKey) { return virtualKey >= 0 && virtualKey < 256 && keyHeld[virtualKey]; }

// Like GetAsyncKeyState, which reports the keyboard whatever window is in front.
bool QueryKeyState(int virtualKey) {
  ++keyStateQueries;
  return KeyHeld(virtualKey);
}

uint32_t KeyStateQueries() { return keyStateQueries; }

void SetGameInFront(bool inFront) { gameInFront = inFront; }
bool GameInFront() { return gameInFront; }

void ReleaseAllInput() {
  std::memset(HostAt(Layout().padArray), 0, PadRecordSize);
  std::memset(keyHeld, 0, sizeof keyHeld);
}

void SetUsingPad(bool usingPad) { World().usingPad = usingPad; }
void SetSuspended(bool suspended) { World().suspended = suspended; }

void SetEpisode(uint32_t episode) { U32At(Layout().episodeNumber) = episode; }
uint32_t Episode() { return U32At(Layout().episodeNumber); }

void SetFrameTime(float seconds) { std::memcpy(HostAt(Layout().frameTimeStep), &seconds, 4); }
float FrameTime() {
  float seconds;
  std::memcpy(&seconds, HostAt(Layout().frameTimeStep), 4);
  return seconds;
}

void SetLocalPlayerIndex(uint32_t index) { U32At(Layout().localPlayerIndex) = index; }
uint32_t LocalPlayerIndexValue() { return U32At(Layout().localPlayerIndex); }

void SetResolution(int32_t width, int32_t height) {
  World().screenWidth = width;
  World().screenHeight = height;
}

uintptr_t CameraObjectAddress() { return AddressOf(CameraObjectOffset); }

void SetCameraPresent(bool present) { U32At(Layout().cameraPointer) = present ? AddressOf(CameraObjectOffset) : 0; }

bool CameraPresent() { return U32At(Layout().cameraPointer) != 0; }

const float* CameraObjectMatrix() { return HostAt<float>(CameraObjectOffset + CameraMatrix); }

float CameraObjectFieldOfView() { return *HostAt<float>(CameraObjectOffset + CameraFieldOfView); }

namespace {
float hostCamera[17];  // the matrix and field of view the host wrote last
}  // namespace

void ResetHostCamera() {
  // Behind and above the player, looking the way the player looks.
  const float* ped = PlayerMatrix();
  float* camera = HostAt<float>(CameraObjectOffset + CameraMatrix);
  std::memcpy(camera, ped, 64);
  for (int k = 0; k < 3; ++k) camera[12 + k] = ped[12 + k] - 3.5f * ped[4 + k] + 1.2f * ped[8 + k];
  *HostAt<float>(CameraObjectOffset + CameraFieldOfView) = 45.0f;
  std::memcpy(hostCamera, camera, 64);
  hostCamera[16] = 45.0f;
}

bool CameraObjectHoldsHostCamera() {
  return std::memcmp(hostCamera, CameraObjectMatrix(), 64) == 0 &&
         std::memcmp(&hostCamera[16], HostAt<float>(CameraObjectOffset + CameraFieldOfView), 4) == 0;
}

uint32_t CurrentScriptThreadValue() { return U32At(Layout().currentScriptThread); }
uintptr_t HostScriptThreadRecord() { return AddressOf(HostScriptThreadOffset); }
uint8_t PropQueryPatchByteValue() { return *HostAt(Layout().propQueryPatchByte); }
uint32_t PropQueryPatchByteProtection() {
  MEMORY_BASIC_INFORMATION info{};
  if (VirtualQuery(HostAt(Layout().propQueryPatchByte), &info, sizeof info) != sizeof info) return 0;
  return info.Protect;
}

uint32_t HostColourEntry(int entry) {
  if (entry < 0 || entry >= ColourTableEntries) return 0;
  return U32At(Layout().hostColourTable + 4 * entry);
}

void SetHostColourEntry(int entry, uint32_t colour) {
  if (entry >= 0 && entry < ColourTableEntries) U32At(Layout().hostColourTable + 4 * entry) = colour;
}

uintptr_t PlayerInfoRecordAddress() { return AddressOf(PlayerInfoOffset); }
uintptr_t PedPoolAddress() { return AddressOf(PedPoolOffset); }
uintptr_t PedObjectAddress() { return AddressOf(PedObjectOffset); }

float* PlayerMatrix() { return HostAt<float>(PedMatrixOffset); }

}  // namespace sim
