#include "core/menu_keys.h"

#include <windows.h>

#include <cstdio>

#include "core/input_state.h"
#include "host/host_locations.h"
#include "host/natives.h"
#include "host/plugin_log.h"

namespace {

MenuKeysRecord DefaultMenuKeys() {
  MenuKeysRecord keys{};
  keys.repeatDelay = DefaultRepeatDelay;
  keys.repeatInterval = DefaultRepeatInterval;
  // Until the layout is known: the US layout's keys.
  const uint8_t usKeys[MenuActionCount] = {'W', 'S', 'A', 'D', 'E'};
  for (int action = 0; action < MenuActionCount; ++action) keys.positionKeys[action] = usKeys[action];
  return keys;
}

}  // namespace

MenuKeysRecord MenuKeys = DefaultMenuKeys();

namespace {

constexpr int32_t actionControls[MenuActionCount] = {65, 64, 66, 67, 77};
constexpr const char* actionNames[MenuActionCount] = {"up", "down", "left", "right", "accept"};
// A frame time of 1/30 s added up in single precision lands a hair either side of
// 0.4 s; the steps must not depend on which.
constexpr double timeTolerance = 1e-4;

// The layout of the game's window, whose thread reads the keyboard; 0 while another
// program's window is in front (the keys count as up then anyway).
uintptr_t GameWindowLayout() {
  HWND window = GetForegroundWindow();
  if (window == nullptr) return 0;
  DWORD processId = 0;
  const DWORD thread = GetWindowThreadProcessId(window, &processId);
  if (thread == 0 || processId != GetCurrentProcessId()) return 0;
  return reinterpret_cast<uintptr_t>(GetKeyboardLayout(thread));
}

void LogPositionKeys() {
  char names[MenuActionCount][8];
  for (int action = 0; action < MenuActionCount; ++action) {
    const uint8_t key = MenuKeys.positionKeys[action];
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
      std::snprintf(names[action], sizeof names[action], "%c", key);
    } else {
      std::snprintf(names[action], sizeof names[action], "0x%02X", key);
    }
  }
  LogLine("Keyboard layout %08X: the keys at the places of W, S, A, D, E are %s, %s, %s, %s, %s",
          static_cast<unsigned>(MenuKeys.layout), names[0], names[1], names[2], names[3], names[4]);
}

// Looks the key positions up on the layout now in force, once per layout.
void FollowKeyboardLayout() {
  bool positional = false;
  for (int action = 0; action < MenuActionCount; ++action) positional = positional || !HasOwnKeys(action);
  if (!positional) return;
  const uintptr_t layout = GameWindowLayout();
  if (layout == 0 || layout == MenuKeys.layout) return;
  MenuKeys.layout = layout;
  for (int action = 0; action < MenuActionCount; ++action) {
    const UINT key = MapVirtualKeyExW(DefaultKeyPositions[action], MAPVK_VSC_TO_VK, reinterpret_cast<HKL>(layout));
    MenuKeys.positionKeys[action] = key < 255 ? static_cast<uint8_t>(key) : 0;
  }
  LogPositionKeys();
}

// Whether any key of the action was down at the latest sampling (now) or the one
// before.
bool ActionKeyDown(int action, const uint8_t (&keyState)[255]) {
  if (!HasOwnKeys(action)) {
    const uint8_t key = MenuKeys.positionKeys[action];
    return key != 0 && keyState[key];
  }
  for (uint8_t key : MenuKeys.ownKeys[action]) {
    if (key == 0) break;
    if (keyState[key]) return true;
  }
  return false;
}

bool ActionKeyJustPressed(int action) {
  return ActionKeyDown(action, InputState.keyNow) && !ActionKeyDown(action, InputState.keyBefore);
}

void StepRepeat(RepeatTimer& timer, bool downNow, bool downBefore, double seconds) {
  timer.due = false;
  if (!downNow || !downBefore) {
    // Released, or just pressed (that press acts by itself): the wait starts afresh.
    timer.elapsed = 0.0;
    timer.threshold = MenuKeys.repeatDelay;
    return;
  }
  if (MenuKeys.repeatDelay <= 0.0) return;
  timer.elapsed += seconds;
  if (timer.elapsed + timeTolerance < timer.threshold) return;
  timer.due = true;
  // One step per frame at most: a frame longer than the interval does not pile up steps.
  timer.elapsed -= timer.threshold;
  timer.threshold = MenuKeys.repeatInterval;
  if (timer.elapsed > timer.threshold) timer.elapsed = timer.threshold;
  if (timer.elapsed < 0.0) timer.elapsed = 0.0;
}

bool MenuActionPressed(int action) {
  const bool repeats = action < RepeatingActionCount;
  if (IsUsingPad()) {
    return IsControlJustPressed(actionControls[action]) || (repeats && MenuKeys.padRepeat[action].due);
  }
  return ActionKeyJustPressed(action) || (repeats && MenuKeys.keyRepeat[action].due);
}

}  // namespace

void ResetMenuKeys() { MenuKeys = DefaultMenuKeys(); }

bool HasOwnKeys(int action) { return MenuKeys.ownKeys[action][0] != 0; }

int32_t MenuActionControl(int action) { return actionControls[action]; }

const char* MenuActionName(int action) { return actionNames[action]; }

void SampleMenuKeys() {
  if (!InputState.keysElsewhere) FollowKeyboardLayout();
  const double seconds = static_cast<double>(FrameTimeStep());
  for (int action = 0; action < RepeatingActionCount; ++action) {
    const int32_t control = actionControls[action];
    StepRepeat(MenuKeys.padRepeat[action], InputState.controlNow[control] != 0, InputState.controlBefore[control] != 0,
               seconds);
    StepRepeat(MenuKeys.keyRepeat[action], ActionKeyDown(action, InputState.keyNow),
               ActionKeyDown(action, InputState.keyBefore), seconds);
  }
}

bool IsMenuUpPressed() { return MenuActionPressed(MenuUp); }
bool IsMenuDownPressed() { return MenuActionPressed(MenuDown); }
bool IsMenuLeftPressed() { return MenuActionPressed(MenuLeft); }
bool IsMenuRightPressed() { return MenuActionPressed(MenuRight); }
bool IsMenuAcceptPressed() { return MenuActionPressed(MenuAccept); }
