// The menu's five controls on the pad and the keyboard: which keys stand for each
// action, the default keys found by their position on the player's keyboard layout,
// and a held direction stepping again and again.
#pragma once
#include <cstdint>

enum MenuAction : int { MenuUp, MenuDown, MenuLeft, MenuRight, MenuAccept, MenuActionCount };

// The directions repeat while held; Accept never does.
constexpr int RepeatingActionCount = 4;
constexpr int MaxKeysPerAction = 4;

// Without settings of the player's own, each action is the key at one position of the
// keyboard: where a US layout has W, S, A, D and E (scan codes below), whatever the
// layout says that key is (Z, S, Q, D, E on a French one).
constexpr uint8_t DefaultKeyPositions[MenuActionCount] = {0x11, 0x1F, 0x1E, 0x20, 0x12};
constexpr double DefaultRepeatDelay = 0.4;     // seconds of game time
constexpr double DefaultRepeatInterval = 0.1;  // seconds of game time

// A held direction on one device: how long since its last step, and when the next.
struct RepeatTimer {
  double elapsed;
  double threshold;
  bool due;  // the latest sampling found a step due: the next frame acts on it
};

struct MenuKeysRecord {
  // Keys the player named for an action (virtual keys, 0 ends the list); an action
  // without any uses its key position.
  uint8_t ownKeys[MenuActionCount][MaxKeysPerAction];
  // The virtual keys at DefaultKeyPositions on `layout`, the layout they were looked
  // up for (0: not yet).
  uint8_t positionKeys[MenuActionCount];
  uintptr_t layout;
  // Held this long, a direction steps again, then every interval; a delay of 0: never.
  double repeatDelay;
  double repeatInterval;
  RepeatTimer padRepeat[RepeatingActionCount];
  RepeatTimer keyRepeat[RepeatingActionCount];
};
extern MenuKeysRecord MenuKeys;

// Back to the defaults: every action at its key position, the default repeat times.
void ResetMenuKeys();
bool HasOwnKeys(int action);
// Pad control of each action, whatever the settings say.
int32_t MenuActionControl(int action);
// "up", "down", "left", "right", "accept".
const char* MenuActionName(int action);

// Part of SampleInput, after the keys were read: the key positions looked up again
// when the layout of the game's window changed, and the repeat timers moved on by the
// frame's game time.
void SampleMenuKeys();

// An action pressed on the device in use (IsUsingPad): any of its keys, or its pad
// control, went down at the latest sampling, or a held direction is due to step again.
bool IsMenuUpPressed();
bool IsMenuDownPressed();
bool IsMenuLeftPressed();
bool IsMenuRightPressed();
bool IsMenuAcceptPressed();
