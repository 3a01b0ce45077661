// The menu's five controls on the pad and the keyboard: which keys stand for each
// action, the default keys found by their position on the player's keyboard layout,
// and a held direction stepping again and again.
#pragma once
#include <cstdint>
#include <string>

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
  // The menu saw this hold begin: it went down while the menu was open and the game in
  // front. A key already down when the menu opened, held through another program or a
  // pause, or made a menu key by a layout switch never steps until pressed again.
  bool armed;
};

// A key of the player's own that another action keeps by its position (it has no key
// of its own in the file): the line giving it is refused on the layout in force.
struct KeyRefusal {
  int action;
  int holder;
  uint8_t key;
  uint32_t line;
};

struct MenuKeysRecord {
  // Keys Wardrobe.ini names for an action (virtual keys, 0 ends the list) and its line
  // (0: none); ownKeys, those in force on the layout: an action without any uses its
  // key position.
  uint8_t fileKeys[MenuActionCount][MaxKeysPerAction];
  uint32_t fileKeyLines[MenuActionCount];
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
  // Backspace while a name is typed repeats as a held direction does.
  RepeatTimer eraseRepeat;
};
extern MenuKeysRecord MenuKeys;

// Back to the defaults: every action at its key position, the default repeat times.
void ResetMenuKeys();
bool HasOwnKeys(int action);
// Pad control of each action, whatever the settings say.
int32_t MenuActionControl(int action);
// "up", "down", "left", "right", "accept".
const char* MenuActionName(int action);

// Puts the file's keys in force on the layout, refusing each one another action keeps
// by its position there (until none is left); an action so refused keeps its position.
// Fills refusals (up to MenuActionCount) and returns their count.
int ResolveOwnKeys(KeyRefusal* refusals);
// Why a refusal, for the log: "Up: the key S is Down's by its place on the keyboard
// ...".
std::string KeyRefusalText(const KeyRefusal& refusal);
// The keys in force, for the log ("Up = Up; Down = the key at the place of S; ...").
std::string KeysInForceText();
// The help texts name the keys in force, the first of each action.
void NameKeysInHelp();

// A paused frame: no hold seen before it steps again after it.
void DisarmMenuRepeats();

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
// Backspace pressed, or held while a name is typed and due to erase again.
bool IsNameErasePressed();
