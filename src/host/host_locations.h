// The host's data locations and routines the plug-in uses directly, and every access
// to them: nothing outside this layer reads or writes host memory.
#pragma once
#include <cstdint>

// Pad controls in a pad record.
constexpr int PadControlCount = 187;

uint32_t LocalPlayerIndex();
uint32_t EpisodeNumber();
// Duration of the current host frame, in seconds.
float FrameTimeStep();
// Entry of the host's colour table, packed 0xAARRGGBB.
uint32_t HostColour(int entry);
// Whether pad control (0 to PadControlCount - 1) is down in pad record 0, the only
// record the plug-in reads.
bool PadControlDown(int control);
// Makes thread the host's current script thread; returns the one it replaces.
uint32_t SwapCurrentScriptThread(uint32_t thread);
// Writes a world matrix (16 floats) and a field of view into the host's active camera
// object; false, and nothing written, when the host has no camera object.
bool WriteCameraView(const float* matrix, float fieldOfView);

// The player's ped handle, recomputed at every use.
int32_t GetPlayerPedHandle();
// The player's world matrix (16 floats, row 3 the position), read through the ped
// object returned by GetPlayerPedObject.
const float* PlayerPedMatrix();

// Where the host call 20 bytes before the frame hook's site leads; 0 when that is not
// a call instruction (or the build is not supported).
uintptr_t CompanionProbeTarget();
