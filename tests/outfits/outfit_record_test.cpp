// Capture from and apply to the player's ped inside the simulated host, and the count
// of saved outfits the menu lists.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
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
  sim::SetPropCount(0, 6);
  sim::PutProp(0, 5, 2);
  sim::PutProp(1, 0, 0);
  sim::SetPropCount(7, 4);
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

  // Per index: the drawable count, the texture count of the outfit's drawable, the
  // component, the anchor.
  const std::vector<sim::NativeCall>& log = sim::NativeLog();
  ASSERT_EQ(log.size(), 44u) << c.what;
  for (int i = 0; i < ComponentCount; ++i) {
    const sim::NativeCall& drawables = log[static_cast<size_t>(i) * 4];
    const sim::NativeCall& textures = log[static_cast<size_t>(i) * 4 + 1];
    const sim::NativeCall& component = log[static_cast<size_t>(i) * 4 + 2];
    const sim::NativeCall& prop = log[static_cast<size_t>(i) * 4 + 3];
    EXPECT_EQ(drawables.name, "GetNumberOfDrawables");
    EXPECT_EQ(drawables.IntArg(1), i);
    EXPECT_EQ(textures.name, "GetNumberOfTextures");
    EXPECT_EQ(textures.IntArg(1), i);
    EXPECT_EQ(textures.IntArg(2), 0);
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

// An outfit made for another model (a friend's file, a clothing mod since removed, a
// hand edit): each component the player's model cannot wear keeps what the player
// wears, everything else goes on, and the host is never asked for the missing part.
TEST_F(OutfitRecord, ApplyLeavesAComponentTheModelLacksAsItIs) {
  struct Case {
    const char* what;
    int component;
    uint32_t drawable, texture;
    bool fits;
  };
  // Component 4: three drawables; component 2: drawable 1 has two textures.
  const Case cases[] = {
      {"drawable beyond the count", 4, 9, 0, false},
      {"drawable at the count", 4, 3, 0, false},
      {"last drawable", 4, 2, 0, true},
      {"texture beyond the count", 2, 1, 7, false},
      {"texture at the count", 2, 1, 2, false},
      {"last texture", 2, 1, 1, true},
      {"huge drawable", 4, 0xFFFFFFFFu, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::ResetModel();
    sim::SetComponentModel(4, {1, 1, 1});
    sim::SetComponentModel(2, {1, 2});
    ASSERT_TRUE(sim::Wear(4, 1, 0));
    ASSERT_TRUE(sim::Wear(2, 0, 0));
    ASSERT_TRUE(sim::Wear(1, 3, 2));
    Outfit outfit;  // drawable 0 texture 0 elsewhere
    outfit.drawable[c.component] = c.drawable;
    outfit.texture[c.component] = c.texture;
    outfit.prop[0] = 2;
    outfit.prop[1] = -1;
    const Outfit before = outfit;
    sim::ClearNativeLog();

    EXPECT_EQ(outfit.Apply(), c.fits);
    const sim::ComponentState& worn = sim::Ped().components[c.component];
    if (c.fits) {
      EXPECT_EQ(worn.drawable, c.drawable);
      EXPECT_EQ(worn.texture, c.texture);
    } else {
      EXPECT_EQ(worn.drawable, c.component == 4 ? 1u : 0u) << "kept what the player wore";
      EXPECT_EQ(worn.texture, 0u);
    }
    EXPECT_EQ(sim::CountNativeCalls("SetPedComponent"), c.fits ? 11 : 10);
    for (const sim::NativeCall& set : sim::NativeCallsNamed("SetPedComponent")) {
      EXPECT_TRUE(c.fits || set.IntArg(1) != c.component) << "component " << set.IntArg(1);
    }
    // A drawable the model lacks is never asked about.
    for (const sim::NativeCall& asked : sim::NativeCallsNamed("GetNumberOfTextures")) {
      EXPECT_LT(static_cast<size_t>(asked.slots[2]), sim::Ped().components[asked.IntArg(1)].textureCounts.size());
    }
    EXPECT_EQ(sim::Ped().components[1].drawable, 0u) << "every other component goes on";
    EXPECT_EQ(sim::Ped().props[0].index, 2) << "and every prop";
    EXPECT_EQ(sim::Ped().props[1].index, -1);
    EXPECT_EQ(sim::CountNativeCalls("SetPedPropWithTexture") + sim::CountNativeCalls("ClearPedProp"), 11);
    EXPECT_EQ(std::memcmp(outfit.drawable, before.drawable, sizeof outfit.drawable), 0) << "the record is unchanged";
    EXPECT_EQ(std::memcmp(outfit.texture, before.texture, sizeof outfit.texture), 0);
  }
}

// A prop index past the three an anchor offers is not asked of the host: that anchor
// keeps what the player wears, and Apply says the outfit went on only in part. Every
// other anchor and every component goes on.
TEST_F(OutfitRecord, ApplyLeavesAnAnchorWhosePropIsNotOfferedAsItIs) {
  struct Case {
    const char* what;
    int anchor;
    int32_t prop;
    bool fits;
  };
  const Case cases[] = {
      {"the last prop offered", 0, 2, true},
      {"the first past them", 0, 3, false},
      {"a hand edit's 7", 1, 7, false},
      {"the largest index", 10, INT32_MAX, false},
      {"below -1: no prop, as -1 is", 1, -5, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    sim::ResetModel();
    sim::PutProp(c.anchor, 1, 1);
    Outfit outfit;  // prop 0 texture 0 elsewhere
    outfit.drawable[1] = 1;
    outfit.prop[c.anchor] = c.prop;
    outfit.propTexture[c.anchor] = 0;
    sim::ClearNativeLog();

    EXPECT_EQ(outfit.Apply(), c.fits);
    const int32_t expected = c.fits ? (c.prop < 0 ? -1 : c.prop) : 1;
    EXPECT_EQ(sim::Ped().props[c.anchor].index, expected);
    EXPECT_EQ(sim::CountNativeCalls("SetPedPropWithTexture") + sim::CountNativeCalls("ClearPedProp"), c.fits ? 11 : 10);
    for (const sim::NativeCall& set : sim::NativeCallsNamed("SetPedPropWithTexture")) {
      EXPECT_TRUE(c.fits || set.IntArg(1) != c.anchor) << "anchor " << set.IntArg(1);
    }
    EXPECT_EQ(sim::Ped().components[1].drawable, 1u) << "every component goes on";
    EXPECT_EQ(sim::Ped().props[c.anchor == 0 ? 1 : 0].index, 0) << "and every other anchor";
    EXPECT_EQ(outfit.prop[c.anchor], c.prop) << "the record is unchanged";
  }
}

TEST_F(OutfitRecord, ApplyPutsACapturedLookBack) {
  DressThePlayer();
  Outfit captured;
  captured.Capture();
  const sim::PedModel before = sim::Ped();

  Outfit plain;  // drawable 0 texture 0 everywhere, prop 0 texture 0 on every anchor
  plain.Apply();
  ASSERT_EQ(sim::Ped().components[1].drawable, 0u);
  ASSERT_EQ(sim::Ped().props[2].index, 0);

  // Props 5 and 3 lie past the three the menu offers: as a file's values they are not
  // asked for, as the host's own report they are.
  EXPECT_FALSE(captured.Apply());
  EXPECT_EQ(sim::Ped().props[0].index, 0);
  EXPECT_EQ(sim::Ped().props[7].index, 0);
  plain.Apply();
  EXPECT_TRUE(captured.Apply(PropSource::Host));
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
