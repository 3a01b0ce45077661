// What the keys pressed at the latest sampling type, as the player's keyboard means
// them: Windows' own translation on the layout of the game's window.
#pragma once
#include <cstdint>

// The characters key (a virtual key just pressed) types on the game window's layout
// with Shift as held at the latest sampling (UTF-16, up to capacity); 0 for a key that
// types nothing there, a dead key included.
int CharactersOfKey(int32_t key, wchar_t* characters, int capacity);
