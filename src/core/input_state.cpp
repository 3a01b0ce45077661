#include "core/input_state.h"

#include <windows.h>

#include "core/menu_keys.h"

#include "host/host_locations.h"
#include "host/natives.h"

InputRecord InputState;

namespace {

// The thread of the window in front when it is one of the game's own, that is, belongs
// to this process; 0 otherwise (also with no window in front, as while switching).
DWORD GameWindowThread() {
  HWND window = GetForegroundWindow();
  if (window == nullptr) return 0;
  DWORD processId = 0;
  const DWORD thread = GetWindowThreadProcessId(window, &processId);
  return processId == GetCurrentProcessId() ? thread : 0;
}

// GetAsyncKeyState reports the keyboard whatever window has the focus: keys typed into
// a chat window or a browser would drive the menu. They count only while the window in
// front is one of the game's own.
bool GameWindowInFront() { return GameWindowThread() != 0; }

}  // namespace

void SampleInput() {
  // Pad controls come from the host's own memory, which the game fills only for itself.
  for (int i = 0; i < PadControlCount; ++i) {
    InputState.controlBefore[i] = InputState.controlNow[i];
    InputState.controlNow[i] = PadControlDown(i);
  }
  const bool gameInFront = GameWindowInFront();
  // A key already down when the game comes back to the front went down in another
  // program: it counts as down before as well, so it acts only once released and
  // pressed again.
  const bool cameBack = gameInFront && InputState.keysElsewhere;
  for (int k = 0; k < 255; ++k) {
    InputState.keyBefore[k] = InputState.keyNow[k];
    InputState.keyNow[k] = gameInFront && (static_cast<uint16_t>(GetAsyncKeyState(k)) & 0x8000) != 0;
    if (cameBack) InputState.keyBefore[k] = InputState.keyNow[k];
  }
  InputState.keysElsewhere = !gameInFront;
  SampleMenuKeys();
}

void NoteInputWhilePaused() {
  if (!GameWindowInFront()) InputState.keysElsewhere = true;
  DisarmMenuRepeats();
}

uintptr_t GameWindowLayout() {
  const DWORD thread = GameWindowThread();
  return thread != 0 ? reinterpret_cast<uintptr_t>(GetKeyboardLayout(thread)) : 0;
}

bool IsKeyJustPressed(int32_t key) {
  if (key < 1 || key > 254) return false;
  return InputState.keyNow[key] && !InputState.keyBefore[key];
}

bool IsKeyDown(int32_t key) {
  if (key < 1 || key > 254) return false;
  return InputState.keyNow[key] != 0;
}

bool IsControlJustPressed(int32_t control) {
  return InputState.controlNow[control] && !InputState.controlBefore[control];
}
