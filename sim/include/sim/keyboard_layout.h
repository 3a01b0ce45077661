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

// What ToUnicodeEx answers on a layout: the characters of a virtual key with the Shift
// state of keyState (VK_SHIFT's high bit; Caps Lock's low bit for letters), into buffer
// (up to size). The letters, the digit row and the punctuation keys, Space, Enter, Tab,
// Backspace, Escape, the keypad's digits and - . * +. The French layout's ^ key (and
// Shift: its diaeresis) is a dead key: -1, its own character in buffer. As on Windows,
// a dead key is kept in the host's keyboard state unless flags has bit 2 (0x4) set; a
// dead key kept there joins the next key translated (e -> the e with it, a key it does
// not join: both characters, 2) and, without bit 2, is used up by it. 0 for any other
// key.
int TranslateKey(KeyboardLayout layout, uint32_t virtualKey, const BYTE* keyState, wchar_t* buffer, int size,
                 uint32_t flags);
// The dead key kept in the host's keyboard state (0: none); ResetModel clears it.
wchar_t PendingDeadKey();
void SetPendingDeadKey(wchar_t deadKey);

}  // namespace sim
