#include "core/typed_text.h"

#include <windows.h>

#include "core/input_state.h"

namespace {

constexpr BYTE keyDown = 0x80;
// ToUnicodeEx keeps a dead key (^ on a French keyboard) in the keyboard state of the
// thread, where it would change the next character the game itself reads. With this
// flag (Windows 10, version 1607 and newer) the translation leaves that state alone.
constexpr UINT keepKeyboardState = 0x4;

}  // namespace

int CharactersOfKey(int32_t key, wchar_t* characters, int capacity) {
  if (key < 1 || key > 254 || capacity <= 0) return 0;
  const uintptr_t layout = GameWindowLayout();
  if (layout == 0) return 0;  // another program's window: its keys are not the game's
  const HKL handle = reinterpret_cast<HKL>(layout);
  // Only Shift changes what a key types in a name: Ctrl or Alt held with it (AltGr is
  // both) would make control characters or the layout's third level.
  BYTE keyState[256] = {};
  if (IsKeyDown(VK_SHIFT) || IsKeyDown(VK_LSHIFT) || IsKeyDown(VK_RSHIFT)) keyState[VK_SHIFT] = keyDown;
  keyState[key] = keyDown;
  const UINT scanCode = MapVirtualKeyExW(static_cast<UINT>(key), MAPVK_VK_TO_VSC, handle);
  wchar_t buffer[8];
  const int count = ToUnicodeEx(static_cast<UINT>(key), scanCode, keyState, buffer, 8, keepKeyboardState, handle);
  if (count <= 0) return 0;  // nothing, or a dead key (negative)
  int written = 0;
  for (int i = 0; i < count && i < 8 && written < capacity; ++i) characters[written++] = buffer[i];
  return written;
}
