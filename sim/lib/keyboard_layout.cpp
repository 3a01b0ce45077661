#include "sim/keyboard_layout.h"

namespace sim {

namespace {

KeyboardLayout layoutInForce = KeyboardLayout::Us;
uint32_t keyMappingQueries = 0;

struct KeyPosition {
  uint8_t scanCode;
  uint8_t us;      // virtual key on a US layout
  uint8_t french;  // virtual key on a French (AZERTY) layout
};

// Keys whose virtual key differs by layout, and the ones every layout shares. The
// French layout swaps A/Q and Z/W, puts M beside L and turns the punctuation around.
constexpr KeyPosition positions[] = {
    // Digit row: the French layout gives the same digit keys (the characters differ).
    {0x02, '1', '1'},
    {0x03, '2', '2'},
    {0x04, '3', '3'},
    {0x05, '4', '4'},
    {0x06, '5', '5'},
    {0x07, '6', '6'},
    {0x08, '7', '7'},
    {0x09, '8', '8'},
    {0x0A, '9', '9'},
    {0x0B, '0', '0'},
    {0x0C, VK_OEM_MINUS, VK_OEM_4},
    {0x0D, VK_OEM_PLUS, VK_OEM_PLUS},
    // Top letter row.
    {0x10, 'Q', 'A'},
    {0x11, 'W', 'Z'},
    {0x12, 'E', 'E'},
    {0x13, 'R', 'R'},
    {0x14, 'T', 'T'},
    {0x15, 'Y', 'Y'},
    {0x16, 'U', 'U'},
    {0x17, 'I', 'I'},
    {0x18, 'O', 'O'},
    {0x19, 'P', 'P'},
    {0x1A, VK_OEM_4, VK_OEM_6},
    {0x1B, VK_OEM_6, VK_OEM_1},
    // Middle letter row.
    {0x1E, 'A', 'Q'},
    {0x1F, 'S', 'S'},
    {0x20, 'D', 'D'},
    {0x21, 'F', 'F'},
    {0x22, 'G', 'G'},
    {0x23, 'H', 'H'},
    {0x24, 'J', 'J'},
    {0x25, 'K', 'K'},
    {0x26, 'L', 'L'},
    {0x27, VK_OEM_1, 'M'},
    {0x28, VK_OEM_7, VK_OEM_3},
    {0x29, VK_OEM_3, VK_OEM_7},
    {0x2B, VK_OEM_5, VK_OEM_5},
    // Bottom letter row.
    {0x2C, 'Z', 'W'},
    {0x2D, 'X', 'X'},
    {0x2E, 'C', 'C'},
    {0x2F, 'V', 'V'},
    {0x30, 'B', 'B'},
    {0x31, 'N', 'N'},
    {0x32, 'M', VK_OEM_COMMA},
    {0x33, VK_OEM_COMMA, VK_OEM_PERIOD},
    {0x34, VK_OEM_PERIOD, VK_OEM_2},
    {0x35, VK_OEM_2, VK_OEM_8},
    {0x56, VK_OEM_102, VK_OEM_102},
    // Keys every layout shares.
    {0x01, VK_ESCAPE, VK_ESCAPE},
    {0x0E, VK_BACK, VK_BACK},
    {0x0F, VK_TAB, VK_TAB},
    {0x1C, VK_RETURN, VK_RETURN},
    {0x2A, VK_LSHIFT, VK_LSHIFT},
    {0x36, VK_RSHIFT, VK_RSHIFT},
    {0x1D, VK_LCONTROL, VK_LCONTROL},
    {0x39, VK_SPACE, VK_SPACE},
    {0x3B, VK_F1, VK_F1},
    {0x3C, VK_F2, VK_F2},
    {0x3D, VK_F3, VK_F3},
    {0x3E, VK_F4, VK_F4},
    {0x3F, VK_F5, VK_F5},
    {0x40, VK_F6, VK_F6},
    {0x41, VK_F7, VK_F7},
    {0x42, VK_F8, VK_F8},
    {0x43, VK_F9, VK_F9},
    {0x44, VK_F10, VK_F10},
    {0x57, VK_F11, VK_F11},
    {0x58, VK_F12, VK_F12},
    // The arrow and editing keys share their scan codes with the keypad: without the
    // 0xE0 prefix they read as the keypad's keys, as Windows' scan-code mapping gives.
    {0x47, VK_NUMPAD7, VK_NUMPAD7},
    {0x48, VK_NUMPAD8, VK_NUMPAD8},
    {0x49, VK_NUMPAD9, VK_NUMPAD9},
    {0x4B, VK_NUMPAD4, VK_NUMPAD4},
    {0x4C, VK_NUMPAD5, VK_NUMPAD5},
    {0x4D, VK_NUMPAD6, VK_NUMPAD6},
    {0x4F, VK_NUMPAD1, VK_NUMPAD1},
    {0x50, VK_NUMPAD2, VK_NUMPAD2},
    {0x51, VK_NUMPAD3, VK_NUMPAD3},
    {0x52, VK_NUMPAD0, VK_NUMPAD0},
    {0x53, VK_DECIMAL, VK_DECIMAL},
};

// Virtual keys of the editing block and arrows, which map back to the keypad's scan
// codes (MAPVK_VK_TO_VSC gives no 0xE0 prefix).
struct SharedScanCode {
  uint8_t virtualKey;
  uint8_t scanCode;
};
constexpr SharedScanCode sharedScanCodes[] = {
    {VK_HOME, 0x47}, {VK_UP, 0x48},   {VK_PRIOR, 0x49}, {VK_LEFT, 0x4B},   {VK_RIGHT, 0x4D},
    {VK_END, 0x4F},  {VK_DOWN, 0x50}, {VK_NEXT, 0x51},  {VK_INSERT, 0x52}, {VK_DELETE, 0x53},
};

uint8_t KeyOf(const KeyPosition& position, KeyboardLayout layout) {
  return layout == KeyboardLayout::French ? position.french : position.us;
}

}  // namespace

void SetKeyboardLayout(KeyboardLayout layout) { layoutInForce = layout; }
KeyboardLayout CurrentKeyboardLayout() { return layoutInForce; }

HKL KeyboardLayoutHandle(KeyboardLayout layout) {
  return reinterpret_cast<HKL>(static_cast<uintptr_t>(layout == KeyboardLayout::French ? 0x040C040Cu : 0x04090409u));
}

uint32_t VirtualKeyOfScanCode(KeyboardLayout layout, uint32_t scanCode) {
  for (const KeyPosition& position : positions) {
    if (position.scanCode == scanCode) return KeyOf(position, layout);
  }
  return 0;
}

uint32_t ScanCodeOfVirtualKey(KeyboardLayout layout, uint32_t virtualKey) {
  for (const KeyPosition& position : positions) {
    if (KeyOf(position, layout) == virtualKey) return position.scanCode;
  }
  for (const SharedScanCode& shared : sharedScanCodes) {
    if (shared.virtualKey == virtualKey) return shared.scanCode;
  }
  return 0;
}

uint32_t KeyMappingQueries() { return keyMappingQueries; }

bool LayoutOfHandle(HKL handle, KeyboardLayout* layout) {
  // A null handle stands for the calling thread's layout, as for MapVirtualKeyW.
  if (handle == nullptr) {
    *layout = layoutInForce;
    return true;
  }
  for (KeyboardLayout candidate : {KeyboardLayout::Us, KeyboardLayout::French}) {
    if (handle == KeyboardLayoutHandle(candidate)) {
      *layout = candidate;
      return true;
    }
  }
  return false;
}

uint32_t MapVirtualKeyOn(KeyboardLayout layout, uint32_t code, uint32_t type) {
  ++keyMappingQueries;
  switch (type) {
    case MAPVK_VK_TO_VSC: return ScanCodeOfVirtualKey(layout, code);
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX: return VirtualKeyOfScanCode(layout, code);
    case MAPVK_VK_TO_CHAR: return (code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9') ? code : 0;
    default: return 0;
  }
}

}  // namespace sim
