#include "core/input_state.h"

#include <windows.h>

#include "host/host_locations.h"
#include "host/natives.h"

InputRecord InputState;

void SampleInput() {
  for (int i = 0; i < PadControlCount; ++i) {
    InputState.controlBefore[i] = InputState.controlNow[i];
    InputState.controlNow[i] = PadControlDown(i);
  }
  for (int k = 0; k < 255; ++k) {
    InputState.keyBefore[k] = InputState.keyNow[k];
    InputState.keyNow[k] = (static_cast<uint16_t>(GetAsyncKeyState(k)) & 0x8000) != 0;
  }
}

bool IsKeyJustPressed(int32_t key) {
  if (key < 1 || key > 254) return false;
  return InputState.keyNow[key] && !InputState.keyBefore[key];
}

bool IsControlJustPressed(int32_t control) {
  return InputState.controlNow[control] && !InputState.controlBefore[control];
}

namespace {
bool MenuInput(int32_t padControl, int32_t key) {
  return IsUsingPad() ? IsControlJustPressed(padControl) : IsKeyJustPressed(key);
}
}  // namespace

bool IsMenuUpPressed() { return MenuInput(65, 'W'); }
bool IsMenuDownPressed() { return MenuInput(64, 'S'); }
bool IsMenuLeftPressed() { return MenuInput(66, 'A'); }
bool IsMenuRightPressed() { return MenuInput(67, 'D'); }
bool IsMenuAcceptPressed() { return MenuInput(77, 'E'); }
