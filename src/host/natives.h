// The host script natives the plug-in calls, each a thin named wrapper over its hash.
// "ped" is the player's ped handle (GetPlayerPedHandle); results are read only where a
// wrapper returns one.
#pragma once
#include <cstdint>

namespace NativeHash {
enum : uint32_t {
  IsGameplaySuspended = 0x1CF773D4,
  TerminateScriptsNamed = 0x72452672,
  IsPedInBoxAroundPoint = 0x3D003090,
  ShowHelpMessage = 0x43F7517D,
  ClearHelpMessage = 0x07244253,
  SetPedPosition = 0x57C758F0,
  StopPedActivity = 0x3C116620,
  SetPlayerControl = 0x1A6203EA,
  PreparePedForMenuFrame = 0x4AB470F3,
  SetPedHeading = 0x46B5523B,
  IsUsingPad = 0x669D053F,
  GetNumberOfDrawables = 0x3C293296,
  GetPedDrawable = 0x1A1A6D83,
  GetNumberOfTextures = 0x06C4113E,
  GetPedTexture = 0x3A7B78C5,
  SetPedComponent = 0x71A52973,
  GetPedPropIndex = 0x3AC85DB1,
  ClearPedProp = 0x51546112,
  SetPedProp = 0x5FE95249,
  SetPedPropWithTexture = 0x57390041,
  PlayFrontendSound = 0x4DAF2C87,
  ClearPrintedMessages = 0x1D8C324A,
  PrintLiteralMessage = 0x0CA539D6,
  GetScreenResolution = 0x0D8A1BCF,
  IsTextFontLoaded = 0x69B53ADA,
  IsTextFontAvailable = 0x1E2A5820,
  LoadTextFont = 0x2D371601,
  SetTextFont = 0x75363BB5,
  SetTextColour = 0x19C967B5,
  SetTextScale = 0x02C069E5,
  SetTextEffectA = 0x2D7A725D,
  SetTextEffectB = 0x58F5023F,
  SetTextFlagA = 0x768F5140,
  SetTextFlagB = 0x204A6AA4,
  SetTextFlagC = 0x15585A65,
  SetTextFlagD = 0x0AD54D75,
  SetTextRightJustify = 0x748B78B6,
  SetTextWrap = 0x19D006EB,
  DisplayLiteralText = 0x661B239A,
  HasAnimSetLoaded = 0x1D3F681D,
  RequestAnimSet = 0x65F874DE,
  LoadRequestsNow = 0x4BF36A32,
  PlayPedAnim = 0x52202E76,
};
}  // namespace NativeHash

bool IsGameplaySuspended();
int32_t TerminateScriptsNamed(const char* name);
bool IsPedInBoxAroundPoint(int32_t ped, float x, float y, float z, float extentX, float extentY, float extentZ,
                           bool flag);
int32_t ShowHelpMessage(const char* label);
int32_t ClearHelpMessage();
int32_t SetPedPosition(int32_t ped, float x, float y, float z);
int32_t StopPedActivity(int32_t ped);
int32_t SetPlayerControl(uint32_t playerIndex, bool enabled);
int32_t PreparePedForMenuFrame(int32_t ped);
int32_t SetPedHeading(int32_t ped, float heading);
bool IsUsingPad();
uint32_t GetNumberOfDrawables(int32_t ped, uint32_t component);
uint32_t GetPedDrawable(int32_t ped, uint32_t component);
uint32_t GetNumberOfTextures(int32_t ped, uint32_t component, uint32_t drawable);
uint32_t GetPedTexture(int32_t ped, uint32_t component);
int32_t SetPedComponent(int32_t ped, uint32_t component, uint32_t drawable, uint32_t texture);
int32_t GetPedPropIndex(int32_t ped, uint32_t anchor, int32_t* prop);
int32_t ClearPedProp(int32_t ped, uint32_t anchor);
int32_t SetPedProp(int32_t ped, uint32_t anchor, int32_t prop);
int32_t SetPedPropWithTexture(int32_t ped, uint32_t anchor, int32_t prop, int32_t texture);
int32_t PlayFrontendSound(int32_t soundId, const char* name);
int32_t ClearPrintedMessages();
int32_t PrintLiteralMessage(const char* label, const char* text, int32_t milliseconds, bool flag);
int32_t GetScreenResolution(int32_t* width, int32_t* height);
bool IsTextFontLoaded(int32_t font);
bool IsTextFontAvailable(int32_t font);
int32_t LoadTextFont(int32_t font);
int32_t SetTextFont(int32_t font);
int32_t SetTextColour(uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);
int32_t SetTextScale(float x, float y);
int32_t SetTextEffectA(bool flag, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);
int32_t SetTextEffectB(bool flag, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha);
int32_t SetTextFlagA(bool flag);
int32_t SetTextFlagB(bool flag);
int32_t SetTextFlagC(bool flag);
int32_t SetTextFlagD(bool flag);
int32_t SetTextRightJustify(bool flag);
int32_t SetTextWrap(float start, float end);
int32_t DisplayLiteralText(float x, float y, const char* label, const char* text);
bool HasAnimSetLoaded(const char* set);
int32_t RequestAnimSet(const char* set);
int32_t LoadRequestsNow();
int32_t PlayPedAnim(int32_t ped, const char* anim, const char* set, float speed, int32_t a, int32_t b, int32_t c,
                    int32_t d, int32_t time);
