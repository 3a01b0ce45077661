// Pad controls and keys, sampled once per wardrobe frame; "just pressed" is the edge
// between the two latest samplings. Keys count as up while another program's window is
// in front.
#pragma once
#include <cstdint>

struct InputRecord {
  uint8_t controlNow[187];
  uint8_t controlBefore[187];
  uint8_t keyNow[255];
  uint8_t keyBefore[255];
  // Another program's window was in front at the latest sampling (keys read as up).
  bool keysElsewhere;
};
extern InputRecord InputState;

void SampleInput();
// On a frame the driver's gate skips: nothing is sampled, but a key held while another
// program was in front must still wait for a new press once the game resumes, and
// nothing held through the pause steps again after it.
void NoteInputWhilePaused();
bool IsKeyJustPressed(int32_t key);
// Down at the latest sampling (held keys such as Shift); false outside 1 to 254.
bool IsKeyDown(int32_t key);
bool IsControlJustPressed(int32_t control);
// The keyboard layout of the game's window (GetKeyboardLayout of its thread), whose
// thread reads the keyboard; 0 while another program's window is in front.
uintptr_t GameWindowLayout();
// The menu's controls: core/menu_keys.h.
