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
bool IsKeyJustPressed(int32_t key);
bool IsControlJustPressed(int32_t control);
// The menu's controls: core/menu_keys.h.
