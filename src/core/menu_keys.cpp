#include "core/menu_keys.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

#include "core/input_state.h"
#include "core/key_names.h"
#include "core/wardrobe_frame.h"
#include "host/host_locations.h"
#include "host/natives.h"
#include "host/plugin_log.h"
#include "menu/own_key_names.h"

namespace {

// The US keys at the places of the actions' keys, as the log and the settings name
// those places.
constexpr char usPositionKeys[MenuActionCount + 1] = "WSADE";

MenuKeysRecord DefaultMenuKeys() {
  MenuKeysRecord keys{};
  keys.repeatDelay = DefaultRepeatDelay;
  keys.repeatInterval = DefaultRepeatInterval;
  // Until the layout is known: the US layout's keys.
  for (int action = 0; action < MenuActionCount; ++action)
    keys.positionKeys[action] = static_cast<uint8_t>(usPositionKeys[action]);
  return keys;
}

}  // namespace

MenuKeysRecord MenuKeys = DefaultMenuKeys();

namespace {

constexpr int32_t actionControls[MenuActionCount] = {65, 64, 66, 67, 77};
constexpr const char* actionNames[MenuActionCount] = {"up", "down", "left", "right", "accept"};
// As Wardrobe.ini names the actions.
constexpr const char* actionSettings[MenuActionCount] = {"Up", "Down", "Left", "Right", "Accept"};
constexpr uint8_t keyBackspace = 0x08;
// A frame time of 1/30 s added up in single precision lands a hair either side of
// 0.4 s; the steps must not depend on which.
constexpr double timeTolerance = 1e-4;

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

void DisarmKeyRepeats() {
  for (RepeatTimer& timer : MenuKeys.keyRepeat) timer.armed = false;
  MenuKeys.eraseRepeat.armed = false;
}

// Looks the key positions up on the layout now in force, once per layout, and checks
// the file's keys against them again: a key is the same position on every layout only
// for the defaults.
void FollowKeyboardLayout() {
  bool positional = false;
  for (int action = 0; action < MenuActionCount; ++action)
    positional = positional || MenuKeys.fileKeyLines[action] == 0;
  if (!positional) return;
  const uintptr_t layout = GameWindowLayout();
  if (layout == 0 || layout == MenuKeys.layout) return;
  MenuKeys.layout = layout;
  for (int action = 0; action < MenuActionCount; ++action) {
    const UINT key = MapVirtualKeyExW(DefaultKeyPositions[action], MAPVK_VSC_TO_VK, reinterpret_cast<HKL>(layout));
    // A layout without a key at that place: the US key, so that no action is left
    // without one.
    MenuKeys.positionKeys[action] =
        key != 0 && key < 255 ? static_cast<uint8_t>(key) : static_cast<uint8_t>(usPositionKeys[action]);
  }
  LogPositionKeys();
  // Keys held now meant something else a moment ago: they step only once pressed again.
  DisarmKeyRepeats();
  uint8_t before[MenuActionCount][MaxKeysPerAction];
  std::memcpy(before, MenuKeys.ownKeys, sizeof before);
  KeyRefusal refusals[MenuActionCount];
  const int count = ResolveOwnKeys(refusals);
  // The same keys in force: the same refusals as logged before.
  if (std::memcmp(before, MenuKeys.ownKeys, sizeof before) != 0) {
    for (int i = 0; i < count; ++i) {
      LogLine("Wardrobe.ini line %lu refused on keyboard layout %08X: %s", static_cast<unsigned long>(refusals[i].line),
              static_cast<unsigned>(layout), KeyRefusalText(refusals[i]).c_str());
    }
    LogLine("Keys on keyboard layout %08X: %s", static_cast<unsigned>(layout), KeysInForceText().c_str());
  }
  NameKeysInHelp();
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

// listening: the menu acts on this press on the next frame (it is open, the game in
// front, for Backspace a name is being typed).
void StepRepeat(RepeatTimer& timer, bool downNow, bool downBefore, double seconds, bool listening) {
  timer.due = false;
  if (!listening) timer.armed = false;
  if (!downNow || !downBefore) {
    // Released, or just pressed (that press acts by itself): the wait starts afresh.
    timer.elapsed = 0.0;
    timer.threshold = MenuKeys.repeatDelay;
    timer.armed = downNow && listening;
    return;
  }
  if (!timer.armed || MenuKeys.repeatDelay <= 0.0) return;
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

int ResolveOwnKeys(KeyRefusal* refusals) {
  std::memcpy(MenuKeys.ownKeys, MenuKeys.fileKeys, sizeof MenuKeys.ownKeys);
  int count = 0;
  // Each refusal takes one action back to its position, whose key may in turn be
  // another action's own: at most one round per action.
  bool refused = true;
  while (refused) {
    refused = false;
    for (int action = 0; action < MenuActionCount && !refused; ++action) {
      for (int holder = 0; holder < MenuActionCount && !refused; ++holder) {
        if (holder == action || HasOwnKeys(holder)) continue;
        for (uint8_t key : MenuKeys.ownKeys[action]) {
          if (key == 0 || key != MenuKeys.positionKeys[holder]) continue;
          refusals[count++] = KeyRefusal{action, holder, key, MenuKeys.fileKeyLines[action]};
          std::memset(MenuKeys.ownKeys[action], 0, sizeof MenuKeys.ownKeys[action]);
          refused = true;
          break;
        }
      }
    }
  }
  return count;
}

std::string KeyRefusalText(const KeyRefusal& refusal) {
  return std::string(actionSettings[refusal.action]) + ": the key " + NameOfVirtualKey(refusal.key) + " is " +
         actionSettings[refusal.holder] + "'s by its place on the keyboard (the key at the place of " +
         usPositionKeys[refusal.holder] + "), and the file gives " + actionSettings[refusal.holder] +
         " no key of its own; " + actionSettings[refusal.action] + " is at the key at the place of " +
         usPositionKeys[refusal.action];
}

std::string KeysInForceText() {
  std::string text;
  for (int action = 0; action < MenuActionCount; ++action) {
    text += std::string(action == 0 ? "" : "; ") + actionSettings[action] + " = ";
    if (!HasOwnKeys(action)) {
      text += std::string("the key at the place of ") + usPositionKeys[action];
      continue;
    }
    bool first = true;
    for (uint8_t key : MenuKeys.ownKeys[action]) {
      if (key == 0) break;
      text += (first ? "" : ", ") + NameOfVirtualKey(key);
      first = false;
    }
  }
  return text;
}

void NameKeysInHelp() {
  std::string names[MenuActionCount];
  const char* shown[MenuActionCount];
  for (int action = 0; action < MenuActionCount; ++action) {
    names[action] = NameOfVirtualKey(HasOwnKeys(action) ? MenuKeys.ownKeys[action][0] : MenuKeys.positionKeys[action]);
    shown[action] = names[action].c_str();
  }
  NameOwnKeys(shown);
}

void DisarmMenuRepeats() {
  for (RepeatTimer& timer : MenuKeys.padRepeat) timer.armed = false;
  DisarmKeyRepeats();
}

bool HasOwnKeys(int action) { return MenuKeys.ownKeys[action][0] != 0; }

int32_t MenuActionControl(int action) { return actionControls[action]; }

const char* MenuActionName(int action) { return actionNames[action]; }

void SampleMenuKeys() {
  if (!InputState.keysElsewhere) FollowKeyboardLayout();
  const double seconds = static_cast<double>(FrameTimeStep());
  // What this sampling finds pressed, the menu acts on in the driver's next run.
  const bool listening = WardrobeDriverState.menuOpen && !InputState.keysElsewhere;
  for (int action = 0; action < RepeatingActionCount; ++action) {
    const int32_t control = actionControls[action];
    StepRepeat(MenuKeys.padRepeat[action], InputState.controlNow[control] != 0, InputState.controlBefore[control] != 0,
               seconds, listening);
    StepRepeat(MenuKeys.keyRepeat[action], ActionKeyDown(action, InputState.keyNow),
               ActionKeyDown(action, InputState.keyBefore), seconds, listening);
  }
  StepRepeat(MenuKeys.eraseRepeat, InputState.keyNow[keyBackspace] != 0, InputState.keyBefore[keyBackspace] != 0,
             seconds, listening && WardrobeMenu.naming);
}

bool IsMenuUpPressed() { return MenuActionPressed(MenuUp); }
bool IsMenuDownPressed() { return MenuActionPressed(MenuDown); }
bool IsMenuLeftPressed() { return MenuActionPressed(MenuLeft); }
bool IsMenuRightPressed() { return MenuActionPressed(MenuRight); }
bool IsMenuAcceptPressed() { return MenuActionPressed(MenuAccept); }
bool IsNameErasePressed() { return IsKeyJustPressed(keyBackspace) || MenuKeys.eraseRepeat.due; }
