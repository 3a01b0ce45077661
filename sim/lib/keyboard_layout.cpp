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
    {0x4A, VK_SUBTRACT, VK_SUBTRACT},
    {0x4E, VK_ADD, VK_ADD},
    {0x37, VK_MULTIPLY, VK_MULTIPLY},
};

// What the keys that are not letters type, by position: unshifted and with Shift, on
// each layout; 0: nothing. The French layout's dead keys are marked apart.
struct KeyCharacters {
  uint8_t scanCode;
  wchar_t us, usShift, french, frenchShift;
};
constexpr KeyCharacters characters[] = {
    {0x02, L'1', L'!', L'&', L'1'},
    {0x03, L'2', L'@', L'\u00E9', L'2'},
    {0x04, L'3', L'#', L'"', L'3'},
    {0x05, L'4', L'$', L'\'', L'4'},
    {0x06, L'5', L'%', L'(', L'5'},
    {0x07, L'6', L'^', L'-', L'6'},
    {0x08, L'7', L'&', L'\u00E8', L'7'},
    {0x09, L'8', L'*', L'_', L'8'},
    {0x0A, L'9', L'(', L'\u00E7', L'9'},
    {0x0B, L'0', L')', L'\u00E0', L'0'},
    {0x0C, L'-', L'_', L')', L'\u00B0'},
    {0x0D, L'=', L'+', L'=', L'+'},
    {0x1A, L'[', L'{', L'^', L'\u00A8'},
    {0x1B, L']', L'}', L'$', L'\u00A3'},
    {0x27, L';', L':', 0, 0},
    {0x28, L'\'', L'"', L'\u00F9', L'%'},
    {0x29, L'`', L'~', L'\u00B2', 0},
    {0x2B, L'\\', L'|', L'*', L'\u00B5'},
    {0x32, 0, 0, L',', L'?'},
    {0x33, L',', L'<', L';', L'.'},
    {0x34, L'.', L'>', L':', L'/'},
    {0x35, L'/', L'?', L'!', L'\u00A7'},
    {0x56, L'\\', L'|', L'<', L'>'},
    {0x39, L' ', L' ', L' ', L' '},
    {0x1C, L'\r', L'\r', L'\r', L'\r'},
    {0x0E, L'\b', L'\b', L'\b', L'\b'},
    {0x0F, L'\t', L'\t', L'\t', L'\t'},
    {0x01, 0x1B, 0x1B, 0x1B, 0x1B},
    {0x4A, L'-', L'-', L'-', L'-'},
    {0x4E, L'+', L'+', L'+', L'+'},
    {0x37, L'*', L'*', L'*', L'*'},
    {0x53, L'.', L'.', L'.', L'.'},
};
// The French layout's ^ key: a dead key, circumflex, with Shift diaeresis.
constexpr uint8_t frenchDeadKeyScanCode = 0x1A;

// A dead key joined with a vowel: the accented letter; 0 when they do not join.
wchar_t Joined(wchar_t deadKey, wchar_t c) {
  constexpr const wchar_t* plain = L"aeiouAEIOU";
  constexpr const wchar_t* circumflex = L"\u00E2\u00EA\u00EE\u00F4\u00FB\u00C2\u00CA\u00CE\u00D4\u00DB";
  constexpr const wchar_t* diaeresis = L"\u00E4\u00EB\u00EF\u00F6\u00FC\u00C4\u00CB\u00CF\u00D6\u00DC";
  for (int i = 0; plain[i] != 0; ++i) {
    if (plain[i] != c) continue;
    if (deadKey == L'^') return circumflex[i];
    if (deadKey == L'\u00A8') return diaeresis[i];
  }
  return 0;
}

wchar_t pendingDeadKey = 0;

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

int TranslateKey(KeyboardLayout layout, uint32_t virtualKey, const BYTE* keyState, wchar_t* buffer, int size,
                 uint32_t flags) {
  const bool shift = keyState != nullptr && (keyState[VK_SHIFT] & 0x80) != 0;
  const bool capsLock = keyState != nullptr && (keyState[VK_CAPITAL] & 0x01) != 0;
  const bool keepState = (flags & 0x4) != 0;
  wchar_t c = 0;
  bool dead = false;
  if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
    c = static_cast<wchar_t>(L'0' + virtualKey - VK_NUMPAD0);
  } else if (virtualKey >= 'A' && virtualKey <= 'Z') {
    c = static_cast<wchar_t>((shift != capsLock ? 'A' : 'a') + virtualKey - 'A');
  } else {
    const uint32_t scanCode = ScanCodeOfVirtualKey(layout, virtualKey);
    for (const KeyCharacters& key : characters) {
      if (key.scanCode != scanCode || scanCode == 0) continue;
      const bool french = layout == KeyboardLayout::French;
      c = french ? (shift ? key.frenchShift : key.french) : (shift ? key.usShift : key.us);
      dead = french && scanCode == frenchDeadKeyScanCode;
    }
  }
  if (c == 0 || size <= 0) return 0;
  if (dead) {
    buffer[0] = c;
    if (!keepState) pendingDeadKey = c;
    return -1;
  }
  const wchar_t deadKey = pendingDeadKey;
  if (!keepState) pendingDeadKey = 0;
  if (deadKey == 0) {
    buffer[0] = c;
    return 1;
  }
  const wchar_t joined = c == L' ' ? deadKey : Joined(deadKey, c);
  if (joined != 0) {
    buffer[0] = joined;
    return 1;
  }
  buffer[0] = deadKey;
  if (size < 2) return 1;
  buffer[1] = c;
  return 2;
}

wchar_t PendingDeadKey() { return pendingDeadKey; }
void SetPendingDeadKey(wchar_t deadKey) { pendingDeadKey = deadKey; }

}  // namespace sim
