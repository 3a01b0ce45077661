// The names a player writes for keys in the settings file, and back.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The virtual key of a name, whatever its case: A-Z, 0-9, F1-F12, Up, Down, Left,
// Right, Enter, Space, Tab, Insert, Delete, Home, End, PageUp, PageDown,
// Numpad0-Numpad9; or a virtual-key number written in hexadecimal, 0x01 to 0xFE. 0
// for anything else.
uint8_t VirtualKeyOfName(std::string_view name);
// The name of a virtual key as VirtualKeyOfName reads it ("Up", "E", "Numpad4"), or
// its number ("0xC0") when it has no name.
std::string NameOfVirtualKey(uint8_t key);
