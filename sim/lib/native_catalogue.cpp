// The natives the host offers: name, hash, argument signature, result kind.
#include "sim/natives.h"

namespace sim {

const std::vector<NativeInfo>& NativeCatalogue() {
  static const std::vector<NativeInfo> catalogue = {
      {"IsGameplaySuspended", 0x1CF773D4, "", true},
      {"TerminateScriptsNamed", 0x72452672, "s", false},
      {"IsPedInBoxAroundPoint", 0x3D003090, "iffffffb", true},
      {"ShowHelpMessage", 0x43F7517D, "s", false},
      {"ClearHelpMessage", 0x07244253, "", false},
      {"SetPedPosition", 0x57C758F0, "ifff", false},
      {"StopPedActivity", 0x3C116620, "i", false},
      {"SetPlayerControl", 0x1A6203EA, "ib", false},
      {"PreparePedForMenuFrame", 0x4AB470F3, "i", false},
      {"SetPedHeading", 0x46B5523B, "if", false},
      {"IsUsingPad", 0x669D053F, "", true},
      {"GetNumberOfDrawables", 0x3C293296, "ii", false},
      {"GetPedDrawable", 0x1A1A6D83, "ii", false},
      {"GetNumberOfTextures", 0x06C4113E, "iii", false},
      {"GetPedTexture", 0x3A7B78C5, "ii", false},
      {"SetPedComponent", 0x71A52973, "iiii", false},
      {"GetPedPropIndex", 0x3AC85DB1, "iip", false},
      {"ClearPedProp", 0x51546112, "ii", false},
      {"SetPedProp", 0x5FE95249, "iii", false},
      {"SetPedPropWithTexture", 0x57390041, "iiii", false},
      {"PlayFrontendSound", 0x4DAF2C87, "is", false},
      {"ClearPrintedMessages", 0x1D8C324A, "", false},
      {"PrintLiteralMessage", 0x0CA539D6, "ssib", false},
      {"GetScreenResolution", 0x0D8A1BCF, "pp", false},
      {"IsTextFontLoaded", 0x69B53ADA, "i", true},
      {"IsTextFontAvailable", 0x1E2A5820, "i", true},
      {"LoadTextFont", 0x2D371601, "i", false},
      {"SetTextFont", 0x75363BB5, "i", false},
      {"SetTextColour", 0x19C967B5, "iiii", false},
      {"SetTextScale", 0x02C069E5, "ff", false},
      {"SetTextEffectA", 0x2D7A725D, "biiii", false},
      {"SetTextEffectB", 0x58F5023F, "biiii", false},
      {"SetTextFlagA", 0x768F5140, "b", false},
      {"SetTextFlagB", 0x204A6AA4, "b", false},
      {"SetTextFlagC", 0x15585A65, "b", false},
      {"SetTextFlagD", 0x0AD54D75, "b", false},
      {"SetTextRightJustify", 0x748B78B6, "b", false},
      {"SetTextWrap", 0x19D006EB, "ff", false},
      {"DisplayLiteralText", 0x661B239A, "ffss", false},
      {"HasAnimSetLoaded", 0x1D3F681D, "s", true},
      {"RequestAnimSet", 0x65F874DE, "s", false},
      {"LoadRequestsNow", 0x4BF36A32, "", false},
      {"PlayPedAnim", 0x52202E76, "issfiiiii", false},
  };
  return catalogue;
}

uint32_t NativeHashOf(const std::string& name) {
  for (const NativeInfo& info : NativeCatalogue()) {
    if (name == info.name) return info.hash;
  }
  return 0;
}

const NativeInfo* NativeInfoOf(uint32_t hash) {
  for (const NativeInfo& info : NativeCatalogue()) {
    if (info.hash == hash) return &info;
  }
  return nullptr;
}

}  // namespace sim
