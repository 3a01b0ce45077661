// The host's data locations and routines the plug-in uses directly.
#pragma once
#include <cstdint>

// Where control i's state byte lies in pad record 0 (the only record read).
constexpr uint32_t PadControlStateOffset = 0x269E;
constexpr uint32_t PadControlStride = 16;
constexpr int PadControlCount = 187;

uint32_t LocalPlayerIndex();
uint32_t EpisodeNumber();
// Duration of the current host frame, in seconds.
float FrameTimeStep();
// The host's active camera object, 0 when there is none.
uintptr_t CameraObject();
// Entry of the host's colour table, packed 0xAARRGGBB.
uint32_t HostColour(int entry);
// Pad record 0 (the start of the host's pad array).
const uint8_t* PadRecord();
// The current-script-thread location the frame hook switches.
uintptr_t CurrentScriptThreadLocation();
// The code byte that makes GetPedPropIndex report a prop's texture (8) or index (4).
// A caller writing it many times in a row may lift its protection once around them all
// (ProtectionScope over PropQueryPatchByteAddress(), 1 byte) and write unlifted.
uintptr_t PropQueryPatchByteAddress();
void WritePropQueryPatchByte(uint8_t value, bool liftProtection = true);

// Host routines.
uintptr_t GetPlayerInfo(uint32_t playerIndex);
int32_t GetPoolHandle(uintptr_t pool, uintptr_t object);
uintptr_t GetPlayerPedObject();

// The player's ped handle, recomputed at every use.
int32_t GetPlayerPedHandle();
// The player's world matrix (16 floats, row 3 the position), read through the ped
// object returned by GetPlayerPedObject.
const float* PlayerPedMatrix();

// The host call 20 bytes before the frame hook's site that the companion check probes.
uintptr_t CompanionProbeSite();
