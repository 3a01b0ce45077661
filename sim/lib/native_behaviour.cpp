// The natives' effects on the model. Natives given another ped than the player's do
// nothing and answer 0: the host has no other peds worth simulating.
#include "native_behaviour.h"

#include <windows.h>

#include <cmath>
#include <cstring>

#include "sim/frame.h"
#include "sim/host_layout.h"
#include "sim/host_state.h"
#include "sim/ped_model.h"
#include "sim/trace.h"
#include "sim/world_model.h"

namespace sim {

namespace {

bool Readable(uint32_t address, uint32_t size) {
  if (address < 0x10000) return false;
  MEMORY_BASIC_INFORMATION info;
  if (VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info) == 0) return false;
  if (info.State != MEM_COMMIT || (info.Protect & (PAGE_NOACCESS | PAGE_GUARD))) return false;
  uintptr_t end = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
  return address + size <= end;
}

bool Writable(uint32_t address) {
  if (!Readable(address, 4)) return false;
  MEMORY_BASIC_INFORMATION info;
  VirtualQuery(reinterpret_cast<const void*>(address), &info, sizeof info);
  return (info.Protect & (PAGE_READWRITE | PAGE_EXECUTE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_WRITECOPY)) != 0;
}

float F(uint32_t slot) {
  float value;
  std::memcpy(&value, &slot, 4);
  return value;
}

bool B(uint32_t slot) { return (slot & 0xFF) != 0; }
int32_t I(uint32_t slot) { return static_cast<int32_t>(slot); }
std::string S(uint32_t slot) { return ReadGuestString(slot); }
bool IsPlayer(uint32_t slot) { return I(slot) == PlayerPedHandle; }

void WriteInt(uint32_t address, int32_t value) {
  if (Writable(address)) std::memcpy(reinterpret_cast<void*>(address), &value, 4);
}

ComponentState* ComponentOf(uint32_t pedSlot, uint32_t componentSlot) {
  if (!IsPlayer(pedSlot) || componentSlot >= static_cast<uint32_t>(ComponentCount)) return nullptr;
  return &Ped().components[componentSlot];
}

bool ValidAnchor(uint32_t pedSlot, uint32_t anchorSlot) {
  return IsPlayer(pedSlot) && anchorSlot < static_cast<uint32_t>(PropAnchorCount);
}

uint8_t Byte(uint32_t slot) { return static_cast<uint8_t>(slot > 255 ? 255 : slot); }

// A request for a part the player's model lacks: the simulator keeps what the ped wears,
// a real host may draw nothing there or fault. Kept and traced so that tests see it.
void RecordMissingPart(const char* native, const char* slotName, uint32_t slot, int32_t value, int32_t texture) {
  World().missingParts.push_back(std::string(native) + " " + std::to_string(slot) + " " + std::to_string(value) + " " +
                                 std::to_string(texture));
  WriteTraceLine(JsonObject()
                     .Field("event", "missing-part")
                     .Field("frame", CurrentFrame())
                     .Field("native", native)
                     .Field(slotName, slot)
                     .Field("value", static_cast<long long>(value))
                     .Field("texture", static_cast<long long>(texture))
                     .Text());
}

// A prop request on the player's ped: recorded when the model lacks that prop, put on
// either way (the simulator shows what it was asked to).
void PutPropAsked(const char* native, uint32_t anchor, int32_t prop, int32_t texture) {
  if (prop >= 0 && !HasProp(static_cast<int>(anchor), prop)) RecordMissingPart(native, "anchor", anchor, prop, texture);
  PutProp(static_cast<int>(anchor), prop, texture);
}

}  // namespace

std::string ReadGuestString(uint32_t address, bool* ok) {
  if (ok) *ok = false;
  if (!Readable(address, 1)) return std::string();
  std::string text;
  const char* p = reinterpret_cast<const char*>(address);
  for (uint32_t i = 0; i < 1024; ++i) {
    if (((address + i) & 0xFFF) == 0 && !Readable(address + i, 1)) return text;
    if (p[i] == '\0') break;
    text += p[i];
  }
  if (ok) *ok = true;
  return text;
}

uint32_t RunNativeBehaviour(uint32_t hash, const uint32_t* s) {
  PedModel& ped = Ped();
  WorldModel& world = World();
  TextState& text = world.text;
  switch (hash) {
    case 0x1CF773D4:  // IsGameplaySuspended
      return world.suspended;
    case 0x72452672:  // TerminateScriptsNamed
      world.terminatedScripts.push_back(S(s[0]));
      return 0;
    case 0x3D003090: {  // IsPedInBoxAroundPoint
      if (!IsPlayer(s[0])) return 0;
      Vec3 p = PlayerPosition();
      const float slack = world.boxSlack;
      return std::fabs(p.x - F(s[1])) <= F(s[4]) + slack && std::fabs(p.y - F(s[2])) <= F(s[5]) + slack &&
             std::fabs(p.z - F(s[3])) <= F(s[6]) + slack;
    }
    case 0x43F7517D:  // ShowHelpMessage
      world.helpLabel = S(s[0]);
      return 0;
    case 0x07244253:  // ClearHelpMessage
      world.helpLabel.clear();
      return 0;
    case 0x57C758F0:  // SetPedPosition
      if (IsPlayer(s[0])) SetPlayerPosition({F(s[1]), F(s[2]), F(s[3])});
      return 0;
    case 0x3C116620:  // StopPedActivity
      if (IsPlayer(s[0])) {
        ped.animation.clear();
        ped.animationSet.clear();
        ++ped.activityStops;
      }
      return 0;
    case 0x1A6203EA:  // SetPlayerControl
      if (s[0] == LocalPlayerIndexValue()) ped.playerControl = B(s[1]);
      return 0;
    case 0x4AB470F3:  // PreparePedForMenuFrame
      if (IsPlayer(s[0])) ++ped.menuFramePreparations;
      return 0;
    case 0x46B5523B:  // SetPedHeading
      if (IsPlayer(s[0])) {
        ped.heading = F(s[1]);
        ped.headingPending = true;
      }
      return 0;
    case 0x669D053F:  // IsUsingPad
      return world.usingPad;
    case 0x3C293296: {  // GetNumberOfDrawables
      ComponentState* c = ComponentOf(s[0], s[1]);
      return c ? static_cast<uint32_t>(c->textureCounts.size()) : 0;
    }
    case 0x1A1A6D83: {  // GetPedDrawable
      ComponentState* c = ComponentOf(s[0], s[1]);
      return c ? c->drawable : 0;
    }
    case 0x06C4113E: {  // GetNumberOfTextures
      ComponentState* c = ComponentOf(s[0], s[1]);
      return c && s[2] < c->textureCounts.size() ? c->textureCounts[s[2]] : 0;
    }
    case 0x3A7B78C5: {  // GetPedTexture
      ComponentState* c = ComponentOf(s[0], s[1]);
      return c ? c->texture : 0;
    }
    case 0x71A52973:  // SetPedComponent
      if (IsPlayer(s[0]) && !Wear(I(s[1]), s[2], s[3])) {
        RecordMissingPart("SetPedComponent", "component", s[1], I(s[2]), I(s[3]));
      }
      return 0;
    case 0x3AC85DB1:  // GetPedPropIndex
      if (ValidAnchor(s[0], s[1])) {
        const PropState& prop = ped.props[s[1]];
        WriteInt(s[2], PropQueryPatchByteValue() == 8 ? prop.texture : prop.index);
      }
      return 0;
    case 0x51546112:  // ClearPedProp
      if (ValidAnchor(s[0], s[1])) RemoveProp(I(s[1]));
      return 0;
    case 0x5FE95249:  // SetPedProp
      if (ValidAnchor(s[0], s[1])) PutPropAsked("SetPedProp", s[1], I(s[2]), 0);
      return 0;
    case 0x57390041:  // SetPedPropWithTexture
      if (ValidAnchor(s[0], s[1])) PutPropAsked("SetPedPropWithTexture", s[1], I(s[2]), I(s[3]));
      return 0;
    case 0x4DAF2C87:  // PlayFrontendSound
      world.sounds.push_back({CurrentFrame(), I(s[0]), S(s[1])});
      return 0;
    case 0x1D8C324A:  // ClearPrintedMessages
      world.printedText.clear();
      world.printedLabel.clear();
      return 0;
    case 0x0CA539D6:  // PrintLiteralMessage
      world.printedLabel = S(s[0]);
      world.printedText = S(s[1]);
      world.printedUntilMs = world.gameTimeMs + static_cast<uint32_t>(I(s[2]) > 0 ? I(s[2]) : 0);
      return 0;
    case 0x0D8A1BCF:  // GetScreenResolution
      WriteInt(s[0], world.screenWidth);
      WriteInt(s[1], world.screenHeight);
      return 0;
    case 0x69B53ADA:  // IsTextFontLoaded
      return world.fontsLoaded.count(I(s[0])) != 0;
    case 0x1E2A5820:  // IsTextFontAvailable
      return world.fontsAvailable.count(I(s[0])) != 0;
    case 0x2D371601:  // LoadTextFont
      if (world.fontsAvailable.count(I(s[0]))) world.fontsLoaded.insert(I(s[0]));
      return 0;
    case 0x75363BB5:  // SetTextFont
      text.font = I(s[0]);
      return 0;
    case 0x19C967B5:  // SetTextColour
      text.red = Byte(s[0]);
      text.green = Byte(s[1]);
      text.blue = Byte(s[2]);
      text.alpha = Byte(s[3]);
      return 0;
    case 0x02C069E5:  // SetTextScale
      text.scaleX = F(s[0]);
      text.scaleY = F(s[1]);
      return 0;
    case 0x2D7A725D:  // SetTextEffectA
      text.effectA = B(s[0]);
      for (int k = 0; k < 4; ++k) text.effectAColour[k] = Byte(s[1 + k]);
      return 0;
    case 0x58F5023F:  // SetTextEffectB
      text.effectB = B(s[0]);
      for (int k = 0; k < 4; ++k) text.effectBColour[k] = Byte(s[1 + k]);
      return 0;
    case 0x768F5140:  // SetTextFlagA
      text.flagA = B(s[0]);
      return 0;
    case 0x204A6AA4:  // SetTextFlagB
      text.flagB = B(s[0]);
      return 0;
    case 0x15585A65:  // SetTextFlagC
      text.flagC = B(s[0]);
      return 0;
    case 0x0AD54D75:  // SetTextFlagD
      text.flagD = B(s[0]);
      return 0;
    case 0x748B78B6:  // SetTextRightJustify
      text.rightJustify = B(s[0]);
      return 0;
    case 0x19D006EB:  // SetTextWrap
      text.wrapStart = F(s[0]);
      text.wrapEnd = F(s[1]);
      return 0;
    case 0x661B239A:  // DisplayLiteralText
      world.drawnThisFrame.push_back({F(s[0]), F(s[1]), S(s[2]), S(s[3]), text});
      text = TextState();
      return 0;
    case 0x1D3F681D:  // HasAnimSetLoaded
      return world.animSetsLoaded.count(S(s[0])) != 0;
    case 0x65F874DE:  // RequestAnimSet
      world.animSetsRequested.insert(S(s[0]));
      return 0;
    case 0x4BF36A32:  // LoadRequestsNow
      if (world.animSetsLoad)
        world.animSetsLoaded.insert(world.animSetsRequested.begin(), world.animSetsRequested.end());
      world.animSetsRequested.clear();
      return 0;
    case 0x52202E76:  // PlayPedAnim
      if (IsPlayer(s[0]) && world.animSetsLoaded.count(S(s[2]))) {
        ped.animation = S(s[1]);
        ped.animationSet = S(s[2]);
      }
      return 0;
    default: return 0;
  }
}

}  // namespace sim
