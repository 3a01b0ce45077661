// The player's keyboard layout, as Windows' layout functions report it to the plug-in:
// which virtual key each key position (scan code) gives. A French (AZERTY) keyboard
// gives Z at the position a US keyboard gives W.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>

namespace sim {

enum class KeyboardLayout { Us, French };

// The layout in force for every thread of the host (US after ResetModel).
void SetKeyboardLayout(KeyboardLayout layout);
KeyboardLayout CurrentKeyboardLayout();
// The layout's handle, as GetKeyboardLayout returns it: 0x04090409 (US), 0x040C040C
// (French).
HKL KeyboardLayoutHandle(KeyboardLayout layout);
// Scan code (set 1, without the 0xE0 prefix) to virtual key and back, on that layout;
// 0 where the layout has no such key. The letters, the digit row, the punctuation
// around them, Space, Enter, Tab, Backspace, Escape and the arrows and editing keys.
uint32_t VirtualKeyOfScanCode(KeyboardLayout layout, uint32_t scanCode);
uint32_t ScanCodeOfVirtualKey(KeyboardLayout layout, uint32_t virtualKey);
// What MapVirtualKeyExW answers on a layout: MAPVK_VSC_TO_VK (and _EX), MAPVK_VK_TO_VSC
// and MAPVK_VK_TO_CHAR (letters and digits); 0 for any other type. Counted.
uint32_t MapVirtualKeyOn(KeyboardLayout layout, uint32_t code, uint32_t type);
// The layout of a handle GetKeyboardLayout returned; null stands for the layout in
// force. False for a handle of no layout the simulator knows.
bool LayoutOfHandle(HKL handle, KeyboardLayout* layout);
// How often the plug-in asked MapVirtualKeyW/MapVirtualKeyExW so far.
uint32_t KeyMappingQueries();

}  // namespace sim
