// Calling host natives in-process against the simulated host: the context record, the
// lookup by hash in ESI under the fault guard, and every native of the catalogue.
#include <gtest/gtest.h>
#include <intrin.h>

#include <cstring>
#include <functional>

#include "host/native_call.h"
#include "host/native_lookup.h"
#include "host/natives.h"
#include "sim/sim.h"

namespace {

uint32_t Bits(float value) {
  uint32_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}
uint32_t Address(const void* pointer) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(pointer)); }

class NativesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    sim::ResetModel();
  }
};

TEST_F(NativesTest, BoolArgumentOverwritesTheWholeSlot) {
  NativeCallContext context;
  context.slots[0] = 0xFFFFFFFF;
  context.slots[1] = 0xFFFFFFFF;
  context.PushArgument(true);
  context.PushArgument(false);
  const uint8_t expected[8] = {1, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(0, std::memcmp(context.slots, expected, sizeof expected));
  EXPECT_EQ(2u, context.argumentCount);
}

TEST_F(NativesTest, ContextPointsAtItsSlotsAndDropsPushesBeyondSixteen) {
  NativeCallContext context;
  EXPECT_EQ(Address(context.slots), context.resultPointer);
  EXPECT_EQ(Address(context.slots), context.argumentPointer);
  EXPECT_EQ(0u, context.vectorFixupCount);
  for (uint32_t i = 0; i < 17; ++i) context.PushArgument(100 + i);
  EXPECT_EQ(16u, context.argumentCount);
  for (uint32_t i = 0; i < 16; ++i) EXPECT_EQ(100 + i, context.slots[i]);
  context.PushArgument(1.5f);
  context.PushArgument(true);
  EXPECT_EQ(16u, context.argumentCount);
  EXPECT_EQ(115u, context.slots[15]);
}

TEST_F(NativesTest, VectorResultsAreCopiedLastFirst) {
  NativeCallContext context;
  float shared[3] = {};
  float own[4] = {0, 0, 0, 99.0f};
  context.vectorFixupCount = 3;
  context.vectorFixupTargets[0] = Address(shared);
  context.vectorFixupTargets[1] = Address(shared);
  context.vectorFixupTargets[2] = Address(own);
  context.vectorTemporaries[0] = {1.0f, 2.0f, 3.0f, 0xAAAAAAAA};
  context.vectorTemporaries[1] = {4.0f, 5.0f, 6.0f, 0xBBBBBBBB};
  context.vectorTemporaries[2] = {7.0f, 8.0f, 9.0f, 0xCCCCCCCC};
  CopyVectorResults(context);
  // Entry 1 went to `shared` before entry 0, so entry 0's values are left there.
  EXPECT_EQ(1.0f, shared[0]);
  EXPECT_EQ(2.0f, shared[1]);
  EXPECT_EQ(3.0f, shared[2]);
  EXPECT_EQ(7.0f, own[0]);
  EXPECT_EQ(9.0f, own[2]);
  EXPECT_EQ(99.0f, own[3]) << "three values per vector, never the padding";
  EXPECT_EQ(0u, context.vectorFixupCount);
}

TEST_F(NativesTest, LookupFindsEveryCatalogueHandlerThroughTheHostRoutine) {
  for (const sim::NativeInfo& info : sim::NativeCatalogue()) {
    EXPECT_EQ(sim::NativeHandlerFor(info.hash), LookupNative(info.hash)) << info.name;
    EXPECT_NE(0u, LookupNative(info.hash)) << info.name;
  }
}

TEST_F(NativesTest, UnknownHashCallsNoHandlerAndReadsZero) {
  const uint32_t before = static_cast<uint32_t>(sim::NativeLog().size());
  EXPECT_EQ(0u, LookupNative(0x12345678));
  NativeCallContext context;
  EXPECT_FALSE(InvokeNative(0x12345678, context));
  // The first argument would be left in slot 0: the call still reads as 0 / false.
  EXPECT_EQ(0, CallNative(0x12345678, 77));
  EXPECT_FALSE(CallNativeBool(0x12345678, true));
  EXPECT_EQ(before, sim::NativeLog().size());
}

TEST_F(NativesTest, FaultInsideTheLookupYieldsZeroAndTheProcessGoesOn) {
  const uint32_t faultsBefore = NativeLookupFaultCount();
  sim::SetLookupFault(true);
  EXPECT_EQ(0u, LookupNative(NativeHash::IsUsingPad));
  EXPECT_EQ(0u, LookupNative(NativeHash::ClearHelpMessage)) << "the guard works more than once";
  EXPECT_FALSE(IsGameplaySuspended());
  EXPECT_EQ(0, TerminateScriptsNamed("ambwardrobe"));
  sim::SetLookupFault(false);
  EXPECT_EQ(0u, sim::NativeLog().size());
  EXPECT_EQ(faultsBefore + 4, NativeLookupFaultCount()) << "each caught fault is counted";

  // The exception registration chain is intact afterwards: natives work again.
  sim::World().suspended = true;
  EXPECT_TRUE(IsGameplaySuspended());
  EXPECT_EQ(1, sim::CountNativeCalls("IsGameplaySuspended"));
  // Served lookups and a hash the host does not know are no faults.
  EXPECT_EQ(0u, LookupNative(0x12345678));
  EXPECT_EQ(faultsBefore + 4, NativeLookupFaultCount());
}

void LookUpIsUsingPad(void* answer) { *static_cast<uintptr_t*>(answer) = LookupNative(NativeHash::IsUsingPad); }

// No handler may resume an exception flagged non-continuable: the guard passes it on,
// sees the unwind, and the host's own handler takes it; the guard works on afterwards.
TEST_F(NativesTest, NonContinuableExceptionInsideTheLookupGoesOnToTheHost) {
  const uint32_t chainBefore = __readfsdword(0);
  sim::SetLookupRaise(true);
  uintptr_t answer = 0x5A5A5A5A;
  EXPECT_EQ(sim::RunCatchingHostExceptions(LookUpIsUsingPad, &answer), sim::LookupExceptionCode);
  EXPECT_EQ(answer, 0x5A5A5A5Au) << "the lookup never returned";
  EXPECT_EQ(__readfsdword(0), chainBefore) << "the guard's frame left the chain in the unwind";
  sim::SetLookupRaise(false);

  sim::SetLookupFault(true);
  const uint32_t faultsBefore = NativeLookupFaultCount();
  EXPECT_EQ(0u, LookupNative(NativeHash::IsUsingPad)) << "the guard still takes a fault";
  EXPECT_EQ(faultsBefore + 1, NativeLookupFaultCount());
  sim::SetLookupFault(false);
  sim::World().suspended = true;
  EXPECT_TRUE(IsGameplaySuspended());
  EXPECT_EQ(__readfsdword(0), chainBefore);
}

TEST_F(NativesTest, BoolResultReadsOnlyTheLowestByte) {
  struct Case {
    uint32_t slot;
    bool expected;
  };
  for (const Case c : {Case{0x00000100, false}, Case{0x00000101, true}, Case{0xFFFFFF00, false}, Case{0x00000001, true},
                       Case{0x00000000, false}}) {
    sim::SetRawNativeResult(NativeHash::IsUsingPad, c.slot);
    EXPECT_EQ(c.expected, IsUsingPad()) << std::hex << c.slot;
    sim::SetRawNativeResult(NativeHash::IsPedInBoxAroundPoint, c.slot);
    EXPECT_EQ(c.expected, IsPedInBoxAroundPoint(sim::PlayerPedHandle, 0, 0, 0, 1, 1, 1, true)) << std::hex << c.slot;
  }
  // Integer results are the whole slot.
  sim::SetRawNativeResult(NativeHash::GetPedDrawable, 0x00000100);
  EXPECT_EQ(0x100u, GetPedDrawable(sim::PlayerPedHandle, 0));
}

// One row per native: the wrapper's call and the slots the host must receive.
struct NativeCase {
  const char* name;
  uint32_t hash;
  std::function<void()> call;
  std::vector<uint32_t> slots;
};

TEST_F(NativesTest, EveryNativeReachesTheHostWithItsHashAndSlots) {
  static const char label[] = "STRING";
  static const char text[] = "text";
  static const char set[] = "clothing";
  int32_t out1 = 0, out2 = 0;
  const int32_t ped = sim::PlayerPedHandle;
  namespace H = NativeHash;
  const std::vector<NativeCase> cases = {
      {"IsGameplaySuspended", H::IsGameplaySuspended, [] { IsGameplaySuspended(); }, {}},
      {"TerminateScriptsNamed", H::TerminateScriptsNamed, [] { TerminateScriptsNamed(text); }, {Address(text)}},
      {"IsPedInBoxAroundPoint",
       H::IsPedInBoxAroundPoint,
       [=] { IsPedInBoxAroundPoint(ped, 1.5f, -2.5f, 3.25f, 1.0f, 1.0f, 1.6f, true); },
       {uint32_t(ped), Bits(1.5f), Bits(-2.5f), Bits(3.25f), Bits(1.0f), Bits(1.0f), Bits(1.6f), 1}},
      {"ShowHelpMessage", H::ShowHelpMessage, [] { ShowHelpMessage(label); }, {Address(label)}},
      {"ClearHelpMessage", H::ClearHelpMessage, [] { ClearHelpMessage(); }, {}},
      {"SetPedPosition",
       H::SetPedPosition,
       [=] { SetPedPosition(ped, 10.0f, 20.0f, 30.0f); },
       {uint32_t(ped), Bits(10.0f), Bits(20.0f), Bits(30.0f)}},
      {"StopPedActivity", H::StopPedActivity, [=] { StopPedActivity(ped); }, {uint32_t(ped)}},
      {"SetPlayerControl", H::SetPlayerControl, [] { SetPlayerControl(3, true); }, {3, 1}},
      {"PreparePedForMenuFrame", H::PreparePedForMenuFrame, [=] { PreparePedForMenuFrame(ped); }, {uint32_t(ped)}},
      {"SetPedHeading", H::SetPedHeading, [=] { SetPedHeading(ped, 215.0f); }, {uint32_t(ped), Bits(215.0f)}},
      {"IsUsingPad", H::IsUsingPad, [] { IsUsingPad(); }, {}},
      {"GetNumberOfDrawables", H::GetNumberOfDrawables, [=] { GetNumberOfDrawables(ped, 4); }, {uint32_t(ped), 4}},
      {"GetPedDrawable", H::GetPedDrawable, [=] { GetPedDrawable(ped, 5); }, {uint32_t(ped), 5}},
      {"GetNumberOfTextures", H::GetNumberOfTextures, [=] { GetNumberOfTextures(ped, 1, 2); }, {uint32_t(ped), 1, 2}},
      {"GetPedTexture", H::GetPedTexture, [=] { GetPedTexture(ped, 6); }, {uint32_t(ped), 6}},
      {"SetPedComponent", H::SetPedComponent, [=] { SetPedComponent(ped, 1, 2, 1); }, {uint32_t(ped), 1, 2, 1}},
      {"GetPedPropIndex",
       H::GetPedPropIndex,
       [&] { GetPedPropIndex(ped, 1, &out1); },
       {uint32_t(ped), 1, Address(&out1)}},
      {"ClearPedProp", H::ClearPedProp, [=] { ClearPedProp(ped, 1); }, {uint32_t(ped), 1}},
      {"SetPedProp", H::SetPedProp, [=] { SetPedProp(ped, 0, 2); }, {uint32_t(ped), 0, 2}},
      {"SetPedPropWithTexture",
       H::SetPedPropWithTexture,
       [=] { SetPedPropWithTexture(ped, 0, 1, 2); },
       {uint32_t(ped), 0, 1, 2}},
      {"PlayFrontendSound", H::PlayFrontendSound, [] { PlayFrontendSound(-1, text); }, {0xFFFFFFFF, Address(text)}},
      {"ClearPrintedMessages", H::ClearPrintedMessages, [] { ClearPrintedMessages(); }, {}},
      {"PrintLiteralMessage",
       H::PrintLiteralMessage,
       [] { PrintLiteralMessage(label, text, 2500, true); },
       {Address(label), Address(text), 2500, 1}},
      {"GetScreenResolution",
       H::GetScreenResolution,
       [&] { GetScreenResolution(&out1, &out2); },
       {Address(&out1), Address(&out2)}},
      {"IsTextFontLoaded", H::IsTextFontLoaded, [] { IsTextFontLoaded(7); }, {7}},
      {"IsTextFontAvailable", H::IsTextFontAvailable, [] { IsTextFontAvailable(7); }, {7}},
      {"LoadTextFont", H::LoadTextFont, [] { LoadTextFont(7); }, {7}},
      {"SetTextFont", H::SetTextFont, [] { SetTextFont(7); }, {7}},
      {"SetTextColour", H::SetTextColour, [] { SetTextColour(10, 20, 30, 40); }, {10, 20, 30, 40}},
      {"SetTextScale", H::SetTextScale, [] { SetTextScale(0.25f, 0.5f); }, {Bits(0.25f), Bits(0.5f)}},
      {"SetTextEffectA", H::SetTextEffectA, [] { SetTextEffectA(true, 0, 0, 0, 255); }, {1, 0, 0, 0, 255}},
      {"SetTextEffectB", H::SetTextEffectB, [] { SetTextEffectB(false, 1, 2, 3, 4); }, {0, 1, 2, 3, 4}},
      {"SetTextFlagA", H::SetTextFlagA, [] { SetTextFlagA(false); }, {0}},
      {"SetTextFlagB", H::SetTextFlagB, [] { SetTextFlagB(true); }, {1}},
      {"SetTextFlagC", H::SetTextFlagC, [] { SetTextFlagC(true); }, {1}},
      {"SetTextFlagD", H::SetTextFlagD, [] { SetTextFlagD(true); }, {1}},
      {"SetTextRightJustify", H::SetTextRightJustify, [] { SetTextRightJustify(true); }, {1}},
      {"SetTextWrap", H::SetTextWrap, [] { SetTextWrap(0.0f, 0.75f); }, {Bits(0.0f), Bits(0.75f)}},
      {"DisplayLiteralText",
       H::DisplayLiteralText,
       [] { DisplayLiteralText(0.125f, 0.05f, label, text); },
       {Bits(0.125f), Bits(0.05f), Address(label), Address(text)}},
      {"HasAnimSetLoaded", H::HasAnimSetLoaded, [] { HasAnimSetLoaded(set); }, {Address(set)}},
      {"RequestAnimSet", H::RequestAnimSet, [] { RequestAnimSet(set); }, {Address(set)}},
      {"LoadRequestsNow", H::LoadRequestsNow, [] { LoadRequestsNow(); }, {}},
      {"PlayPedAnim",
       H::PlayPedAnim,
       [=] { PlayPedAnim(ped, text, set, 1.0f, 0, 0, 0, 0, -2); },
       {uint32_t(ped), Address(text), Address(set), Bits(1.0f), 0, 0, 0, 0, 0xFFFFFFFE}},
  };
  ASSERT_EQ(43u, cases.size());
  ASSERT_EQ(43u, sim::NativeCatalogue().size());

  for (const NativeCase& c : cases) {
    sim::ClearNativeLog();
    c.call();
    ASSERT_EQ(1u, sim::NativeLog().size()) << c.name;
    const sim::NativeCall& call = sim::NativeLog().back();
    EXPECT_EQ(c.name, call.name);
    EXPECT_EQ(c.hash, call.hash) << c.name;
    EXPECT_EQ(sim::NativeHashOf(c.name), c.hash) << c.name << ": the host knows it by this hash";
    EXPECT_EQ(c.slots.size(), call.argumentCount) << c.name;
    for (size_t i = 0; i < c.slots.size() && i < 16; ++i) {
      EXPECT_EQ(c.slots[i], call.slots[i]) << c.name << " slot " << i;
    }
  }
}

TEST_F(NativesTest, ResultsComeBackFromSlotZeroAndThroughPointers) {
  sim::SetComponentModel(1, {2, 3, 1, 4});
  sim::Wear(1, 3, 2);
  const int32_t ped = sim::PlayerPedHandle;
  EXPECT_EQ(4u, GetNumberOfDrawables(ped, 1));
  EXPECT_EQ(3u, GetPedDrawable(ped, 1));
  EXPECT_EQ(2u, GetPedTexture(ped, 1));
  EXPECT_EQ(3u, GetNumberOfTextures(ped, 1, 1));
  sim::SetResolution(1024, 768);
  int32_t width = 0, height = 0;
  GetScreenResolution(&width, &height);
  EXPECT_EQ(1024, width);
  EXPECT_EQ(768, height);
}

}  // namespace
