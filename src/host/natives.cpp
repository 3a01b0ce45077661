#include "host/natives.h"

#include "host/native_call.h"

namespace H = NativeHash;

bool IsGameplaySuspended() { return CallNativeBool(H::IsGameplaySuspended); }
int32_t TerminateScriptsNamed(const char* name) { return CallNative(H::TerminateScriptsNamed, name); }
bool IsPedInBoxAroundPoint(int32_t ped, float x, float y, float z, float extentX, float extentY, float extentZ,
                           bool flag) {
  return CallNativeBool(H::IsPedInBoxAroundPoint, ped, x, y, z, extentX, extentY, extentZ, flag);
}
int32_t ShowHelpMessage(const char* label) { return CallNative(H::ShowHelpMessage, label); }
int32_t ClearHelpMessage() { return CallNative(H::ClearHelpMessage); }
int32_t SetPedPosition(int32_t ped, float x, float y, float z) { return CallNative(H::SetPedPosition, ped, x, y, z); }
int32_t StopPedActivity(int32_t ped) { return CallNative(H::StopPedActivity, ped); }
int32_t SetPlayerControl(uint32_t playerIndex, bool enabled) {
  return CallNative(H::SetPlayerControl, playerIndex, enabled);
}
int32_t PreparePedForMenuFrame(int32_t ped) { return CallNative(H::PreparePedForMenuFrame, ped); }
int32_t SetPedHeading(int32_t ped, float heading) { return CallNative(H::SetPedHeading, ped, heading); }
bool IsUsingPad() { return CallNativeBool(H::IsUsingPad); }
uint32_t GetNumberOfDrawables(int32_t ped, uint32_t component) {
  return static_cast<uint32_t>(CallNative(H::GetNumberOfDrawables, ped, component));
}
uint32_t GetPedDrawable(int32_t ped, uint32_t component) {
  return static_cast<uint32_t>(CallNative(H::GetPedDrawable, ped, component));
}
uint32_t GetNumberOfTextures(int32_t ped, uint32_t component, uint32_t drawable) {
  return static_cast<uint32_t>(CallNative(H::GetNumberOfTextures, ped, component, drawable));
}
uint32_t GetPedTexture(int32_t ped, uint32_t component) {
  return static_cast<uint32_t>(CallNative(H::GetPedTexture, ped, component));
}
int32_t SetPedComponent(int32_t ped, uint32_t component, uint32_t drawable, uint32_t texture) {
  return CallNative(H::SetPedComponent, ped, component, drawable, texture);
}
int32_t GetPedPropIndex(int32_t ped, uint32_t anchor, int32_t* prop) {
  return CallNative(H::GetPedPropIndex, ped, anchor, static_cast<const void*>(prop));
}
int32_t ClearPedProp(int32_t ped, uint32_t anchor) { return CallNative(H::ClearPedProp, ped, anchor); }
int32_t SetPedProp(int32_t ped, uint32_t anchor, int32_t prop) { return CallNative(H::SetPedProp, ped, anchor, prop); }
int32_t SetPedPropWithTexture(int32_t ped, uint32_t anchor, int32_t prop, int32_t texture) {
  return CallNative(H::SetPedPropWithTexture, ped, anchor, prop, texture);
}
int32_t PlayFrontendSound(int32_t soundId, const char* name) { return CallNative(H::PlayFrontendSound, soundId, name); }
int32_t ClearPrintedMessages() { return CallNative(H::ClearPrintedMessages); }
int32_t PrintLiteralMessage(const char* label, const char* text, int32_t milliseconds, bool flag) {
  return CallNative(H::PrintLiteralMessage, label, text, milliseconds, flag);
}
int32_t GetScreenResolution(int32_t* width, int32_t* height) {
  return CallNative(H::GetScreenResolution, static_cast<const void*>(width), static_cast<const void*>(height));
}
bool IsTextFontLoaded(int32_t font) { return CallNativeBool(H::IsTextFontLoaded, font); }
bool IsTextFontAvailable(int32_t font) { return CallNativeBool(H::IsTextFontAvailable, font); }
int32_t LoadTextFont(int32_t font) { return CallNative(H::LoadTextFont, font); }
int32_t SetTextFont(int32_t font) { return CallNative(H::SetTextFont, font); }
int32_t SetTextColour(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
  return CallNative(H::SetTextColour, red, green, blue, alpha);
}
int32_t SetTextScale(float x, float y) { return CallNative(H::SetTextScale, x, y); }
int32_t SetTextEffectA(bool flag, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
  return CallNative(H::SetTextEffectA, flag, red, green, blue, alpha);
}
int32_t SetTextEffectB(bool flag, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha) {
  return CallNative(H::SetTextEffectB, flag, red, green, blue, alpha);
}
int32_t SetTextFlagA(bool flag) { return CallNative(H::SetTextFlagA, flag); }
int32_t SetTextFlagB(bool flag) { return CallNative(H::SetTextFlagB, flag); }
int32_t SetTextFlagC(bool flag) { return CallNative(H::SetTextFlagC, flag); }
int32_t SetTextFlagD(bool flag) { return CallNative(H::SetTextFlagD, flag); }
int32_t SetTextRightJustify(bool flag) { return CallNative(H::SetTextRightJustify, flag); }
int32_t SetTextWrap(float start, float end) { return CallNative(H::SetTextWrap, start, end); }
int32_t DisplayLiteralText(float x, float y, const char* label, const char* text) {
  return CallNative(H::DisplayLiteralText, x, y, label, text);
}
bool HasAnimSetLoaded(const char* set) { return CallNativeBool(H::HasAnimSetLoaded, set); }
int32_t RequestAnimSet(const char* set) { return CallNative(H::RequestAnimSet, set); }
int32_t LoadRequestsNow() { return CallNative(H::LoadRequestsNow); }
int32_t PlayPedAnim(int32_t ped, const char* anim, const char* set, float speed, int32_t a, int32_t b, int32_t c,
                    int32_t d, int32_t time) {
  return CallNative(H::PlayPedAnim, ped, anim, set, speed, a, b, c, d, time);
}
