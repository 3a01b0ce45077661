// Capture from and apply to the player's ped inside the simulated host, and the count
// of saved outfits the menu lists.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "outfit_test_support.h"
#include "outfits/outfit.h"
#include "sim/host_layout.h"
#include "sim/natives.h"
#include "sim/ped_model.h"

namespace {

class OutfitRecord : public OutfitHostTest {};

// A look with a different drawable and texture on every component and props on some
// anchors, the rest empty.
void DressThePlayer() {
  for (int c = 0; c < sim::ComponentCount; ++c) {
    // drawable c % 3 with c % 2 + 1 textures to spare
    sim::SetComponentModel(c, {4, 4, 4});
    ASSERT_TRUE(sim::Wear(c, static_cast<uint32_t>(c % 3), static_cast<uint32_t>((c + 1) % 4)));
  }
  sim::PutProp(0, 5, 2);
  sim::PutProp(1, 0, 0);
  sim::PutProp(7, 3, 1);
}

TEST_F(OutfitRecord, CaptureReadsEveryComponentAndAnchorInOrderWithThePatchByteAroundEachTextureQuery) {
  DressThePlayer();
  sim::ClearNativeLog();
  Outfit outfit;
  outfit.inUse = true;
  outfit.Capture();

  EXPECT_TRUE(outfit.inUse) << "capture leaves inUse alone";
  for (int i = 0; i < ComponentCount; ++i) {
    EXPECT_EQ(outfit.drawable[i], static_cast<uint32_t>(i % 3)) << i;
    EXPECT_EQ(outfit.texture[i], static_cast<uint32_t>((i + 1) % 4)) << i;
    EXPECT_EQ(outfit.prop[i], sim::Ped().props[i].index) << i;
    EXPECT_EQ(outfit.propTexture[i], sim::Ped().props[i].texture) << i;
  }
  EXPECT_EQ(outfit.prop[0], 5);
  EXPECT_EQ(outfit.propTexture[0], 2);
  EXPECT_EQ(outfit.prop[2], -1);

  // Per index: drawable, texture, prop index (patch byte 4), prop texture (patch 8).
  const std::vector<sim::NativeCall>& log = sim::NativeLog();
  ASSERT_EQ(log.size(), 44u);
  for (int i = 0; i < ComponentCount; ++i) {
    const sim::NativeCall* calls = &log[static_cast<size_t>(i) * 4];
    EXPECT_EQ(calls[0].name, "GetPedDrawable");
    EXPECT_EQ(calls[1].name, "GetPedTexture");
    EXPECT_EQ(calls[2].name, "GetPedPropIndex");
    EXPECT_EQ(calls[2].patchByte, 4) << i;
    EXPECT_EQ(calls[3].name, "GetPedPropIndex");
    EXPECT_EQ(calls[3].patchByte, 8) << i;
    for (int k = 0; k < 4; ++k) {
      EXPECT_EQ(calls[k].IntArg(0), sim::PlayerPedHandle);
      EXPECT_EQ(calls[k].IntArg(1), i);
    }
  }
  EXPECT_EQ(sim::CountNativeCalls("GetPedPropIndex"), 22);
  EXPECT_EQ(sim::PropQueryPatchByteValue(), 4);
  // The byte lies in host code: its page is execute-read again afterwards.
  MEMORY_BASIC_INFORMATION page{};
  VirtualQuery(sim::HostAt(sim::Layout().propQueryPatchByte), &page, sizeof page);
  EXPECT_EQ(page.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
}

struct ApplyCase {
  const char* what;
  int32_t prop0;
  int32_t propTexture0;
  bool expectCleared;
};

class OutfitApply : public OutfitRecord, public ::testing::WithParamInterface<ApplyCase> {};

TEST_P(OutfitApply, SetsEveryComponentThenAnchorInIndexOrder) {
  const ApplyCase& c = GetParam();
  sim::PutProp(0, 9, 9);
  Outfit outfit;  // never set: every other field 0
  outfit.prop[0] = c.prop0;
  outfit.propTexture[0] = c.propTexture0;
  sim::ClearNativeLog();
  outfit.Apply();

  const std::vector<sim::NativeCall>& log = sim::NativeLog();
  ASSERT_EQ(log.size(), 22u) << c.what;
  for (int i = 0; i < ComponentCount; ++i) {
    const sim::NativeCall& component = log[static_cast<size_t>(i) * 2];
    const sim::NativeCall& prop = log[static_cast<size_t>(i) * 2 + 1];
    EXPECT_EQ(component.name, "SetPedComponent");
    EXPECT_EQ(component.IntArg(0), sim::PlayerPedHandle);
    EXPECT_EQ(component.IntArg(1), i);
    EXPECT_EQ(component.IntArg(2), 0);
    EXPECT_EQ(component.IntArg(3), 0);
    EXPECT_EQ(prop.IntArg(0), sim::PlayerPedHandle);
    EXPECT_EQ(prop.IntArg(1), i);
    if (i == 0 && c.expectCleared) {
      EXPECT_EQ(prop.name, "ClearPedProp") << c.what;
      EXPECT_EQ(sim::Ped().props[0].index, -1);
    } else {
      const int32_t index = i == 0 ? c.prop0 : 0;
      const int32_t texture = i == 0 ? c.propTexture0 : 0;
      EXPECT_EQ(prop.name, "SetPedPropWithTexture") << c.what << " anchor " << i;
      EXPECT_EQ(prop.IntArg(2), index);
      EXPECT_EQ(prop.IntArg(3), texture);
      EXPECT_EQ(sim::Ped().props[i].index, index);
      EXPECT_EQ(sim::Ped().props[i].texture, texture);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Anchor0, OutfitApply,
                         ::testing::Values(ApplyCase{"no prop", -1, -1, true},
                                           ApplyCase{"far below zero is no prop", -77, 3, true},
                                           ApplyCase{"prop 0 texture 0 is a prop", 0, 0, false},
                                           ApplyCase{"prop 2 texture 1", 2, 1, false}));

TEST_F(OutfitRecord, ApplyPutsACapturedLookBack) {
  DressThePlayer();
  Outfit captured;
  captured.Capture();
  const sim::PedModel before = sim::Ped();

  Outfit plain;  // drawable 0 texture 0 everywhere, prop 0 texture 0 on every anchor
  plain.Apply();
  ASSERT_EQ(sim::Ped().components[1].drawable, 0u);
  ASSERT_EQ(sim::Ped().props[2].index, 0);

  captured.Apply();
  for (int i = 0; i < ComponentCount; ++i) {
    EXPECT_EQ(sim::Ped().components[i].drawable, before.components[i].drawable) << i;
    EXPECT_EQ(sim::Ped().components[i].texture, before.components[i].texture) << i;
    EXPECT_EQ(sim::Ped().props[i].index, before.props[i].index) << i;
    if (before.props[i].index >= 0) {
      EXPECT_EQ(sim::Ped().props[i].texture, before.props[i].texture) << i;
    }
  }
}

TEST_F(OutfitRecord, CountSavedOutfitsStopsAtTheFirstFreeEntry) {
  EXPECT_EQ(CountSavedOutfits(), 0);
  OutfitTable[0].inUse = OutfitTable[1].inUse = OutfitTable[3].inUse = true;
  EXPECT_EQ(CountSavedOutfits(), 2);
  for (Outfit& entry : OutfitTable) entry.inUse = true;
  EXPECT_EQ(CountSavedOutfits(), OutfitTableSize);
  OutfitTable[OutfitTableSize - 1].inUse = false;
  EXPECT_EQ(CountSavedOutfits(), OutfitTableSize - 1);
  OutfitTable[0].inUse = false;
  EXPECT_EQ(CountSavedOutfits(), 0);
}

TEST_F(OutfitRecord, CaptureIntoATableEntryDoesNotPutItInUse) {
  OutfitTable[0].Capture();
  EXPECT_FALSE(OutfitTable[0].inUse);
  EXPECT_EQ(CountSavedOutfits(), 0);
}

}  // namespace
