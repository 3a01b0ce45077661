// Host memory the plug-in reads and writes, and the player's input devices.
#pragma once
#include <cstdint>

namespace sim {

// Puts the host back as Boot() left it, except for the plug-in's changes to the host
// code: default ped and world, all input released, episode 0, frame time 1/30 s,
// player index 0, the game's window in front, US keyboard layout, camera present, the host's own script thread current,
// patch byte 4, default colours, lookup fault off, probe call back to its own routine, native log and message boxes
// cleared. The frame counter goes on.
void ResetModel();

// Pad record 0 in host memory: control i held or not.
void SetPad(int control, bool down);
bool PadHeld(int control);
// Virtual-key states answered by the intercepted GetAsyncKeyState (0x8000 when down).
void SetKey(int virtualKey, bool down);
bool KeyHeld(int virtualKey);
// What the intercepted GetAsyncKeyState asks: the key's state, counted.
bool QueryKeyState(int virtualKey);
// GetAsyncKeyState calls answered so far.
uint32_t KeyStateQueries();
// Which window is in front: the game's own (the default) or another program's. The
// intercepted GetForegroundWindow and GetWindowThreadProcessId answer accordingly; the
// key states themselves do not change, as on Windows.
void SetGameInFront(bool inFront);
bool GameInFront();
// Releases every pad control and key.
void ReleaseAllInput();
void SetUsingPad(bool usingPad);
void SetSuspended(bool suspended);

void SetEpisode(uint32_t episode);
uint32_t Episode();
void SetFrameTime(float seconds);
float FrameTime();
// LocalPlayerIndex; GetPlayerInfo knows only this index.
void SetLocalPlayerIndex(uint32_t index);
uint32_t LocalPlayerIndexValue();
void SetResolution(int32_t width, int32_t height);

// The camera object CameraPointer points at (its address, also while CameraPointer is
// null), its matrix (16 floats at +0x10) and field of view (+0x60).
uintptr_t CameraObjectAddress();
void SetCameraPresent(bool present);
bool CameraPresent();
const float* CameraObjectMatrix();
float CameraObjectFieldOfView();
// The host's own camera: what the host writes into the camera object at the start of
// every frame (behind the player, field of view 45).
void ResetHostCamera();
// Whether the camera object holds, unchanged, what ResetHostCamera last wrote there:
// the host's own camera rather than one a plug-in wrote over it.
bool CameraObjectHoldsHostCamera();

// CurrentScriptThread: its value now, and the host's own script-thread record.
uint32_t CurrentScriptThreadValue();
uintptr_t HostScriptThreadRecord();
// PropQueryPatchByte: the code byte's value now, and its page's protection now
// (PAGE_EXECUTE_READ as the host runs).
uint8_t PropQueryPatchByteValue();
uint32_t PropQueryPatchByteProtection();
// HostColourTable entry (0xAARRGGBB).
uint32_t HostColourEntry(int entry);
void SetHostColourEntry(int entry, uint32_t colour);

// Addresses of the ped-related host objects.
uintptr_t PlayerInfoRecordAddress();
uintptr_t PedPoolAddress();
uintptr_t PedObjectAddress();

}  // namespace sim
