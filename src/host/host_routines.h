// The host's own compiled routines the plug-in calls.
#pragma once
#include <cstdint>

// The player-info record of a player index; null for an index that has none.
uintptr_t GetPlayerInfo(uint32_t playerIndex);
// The script handle of an object of a pool.
int32_t GetPoolHandle(uintptr_t pool, uintptr_t object);
// The local player's ped object.
uintptr_t GetPlayerPedObject();
