// The menu's rows and controls against the simulated host's player: which rows a model
// gets, how every value wraps, how the highlight moves, and what the Outfit, Save,
// Accept and Cancel rows do.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "menu/wardrobe_menu.h"
#include "menu_test_support.h"
#include "outfits/outfit.h"
#include "outfits/outfit_files.h"

namespace menu_test {
namespace {

class MenuRows : public MenuHostTest {};

struct ExpectedRow {
  std::string label;
  const char* value;  // nullptr: no value column
  bool disabled;
};

struct RowSetCase {
  const char* name;
  std::vector<std::vector<uint32_t>> components;  // texture counts per drawable, components 0 to 10
  std::vector<std::pair<int, uint32_t>> worn;     // component, drawable (texture 0)
  std::vector<ExpectedRow> rows;
};

std::vector<std::vector<uint32_t>> Components(std::vector<std::pair<int, std::vector<uint32_t>>> varied) {
  std::vector<std::vector<uint32_t>> all(11, std::vector<uint32_t>{1});
  for (auto& entry : varied) all[entry.first] = entry.second;
  return all;
}

const std::vector<ExpectedRow> fixedRows = {
    {"Hats", "None", false},         {"Glasses", "None", false}, {"Outfit", "1/0", true},
    {"Save Outfit", nullptr, false}, {"Name Outfit", "-", true}, {"Delete Outfit", "1/0", true},
    {"View", "Front", false},        {"Accept", nullptr, false}, {"Cancel", nullptr, false},
};

std::vector<ExpectedRow> WithFixedRows(std::vector<ExpectedRow> rows) {
  rows.insert(rows.end(), fixedRows.begin(), fixedRows.end());
  return rows;
}

std::vector<ExpectedRow> EveryComponentVaried() {
  std::vector<ExpectedRow> rows;
  for (int c = 0; c < 11; ++c) {
    rows.push_back({SlotNames[c], "1/2", false});
    rows.push_back({std::string(SlotNames[c]) + " Variant", "1/3", false});
  }
  return WithFixedRows(rows);
}

std::vector<RowSetCase> RowSetCases() {
  return {
      {"only components 0, 2 and 3 varied, only the legs' drawable with textures",
       Components({{0, {1, 1}}, {2, {2, 1}}, {3, {1, 1}}}),
       {},
       WithFixedRows({{"Head", "1/2", false},
                      {"Legs", "1/2", false},
                      {"Legs Variant", "1/2", false},
                      {"Special", "1/2", false}})},
      {"several drawables, none with textures: no variant rows",
       Components({{1, {1, 1, 1}}, {5, {1, 1}}, {10, {1, 1, 1, 1}}}),
       {{1, 2}, {10, 3}},
       WithFixedRows({{"Torso", "3/3", false}, {"Feet", "1/2", false}, {"Face", "4/4", false}})},
      {"single drawables with textures give no rows at all", Components({{0, {4}}, {6, {2}}}), {}, fixedRows},
      {"textures only on another drawable: a disabled placeholder",
       Components({{7, {1, 2}}}),
       {},
       WithFixedRows({{"Hair", "1/2", false}, {"Hair Variant", "1/1", true}})},
      {"wearing the drawable with textures: a working variant row",
       Components({{7, {1, 2}}}),
       {{7, 1}},
       WithFixedRows({{"Hair", "2/2", false}, {"Hair Variant", "1/2", false}})},
      {"every component varied: 30 rows",
       std::vector<std::vector<uint32_t>>(11, std::vector<uint32_t>{3, 1}),
       {},
       EveryComponentVaried()},
  };
}

TEST_F(MenuRows, RowSetFollowsThePlayerModel) {
  for (const RowSetCase& testCase : RowSetCases()) {
    SCOPED_TRACE(testCase.name);
    sim::ResetModel();
    sim::SetUsingPad(true);
    WardrobeMenu = WardrobeMenuRecord();
    for (int c = 0; c < 11; ++c) sim::SetComponentModel(c, testCase.components[c]);
    for (auto& worn : testCase.worn) ASSERT_TRUE(sim::Wear(worn.first, worn.second, 0));

    std::vector<DrawnRow> rows = MenuFrame();
    // 23 rows fit on the screen; the others are counted but not drawn.
    ASSERT_EQ(rows.size(), std::min<size_t>(testCase.rows.size(), 23)) << ::testing::PrintToString(Labels(rows));
    EXPECT_EQ(WardrobeMenu.rowCount, static_cast<int32_t>(testCase.rows.size()));
    for (size_t i = 0; i < rows.size(); ++i) {
      const ExpectedRow& expected = testCase.rows[i];
      SCOPED_TRACE(expected.label.c_str());
      EXPECT_EQ(rows[i].label, expected.label);
      EXPECT_EQ(rows[i].hasValue, expected.value != nullptr);
      if (expected.value != nullptr) {
        EXPECT_EQ(rows[i].value, expected.value);
      }
      int entry = i == 0 ? (expected.disabled ? DisabledHighlightedEntry : HighlightedEntry)
                         : (expected.disabled ? DisabledEntry : NormalEntry);
      EXPECT_EQ(rows[i].colour, sim::HostColourEntry(entry));
    }
  }
}

// Left and Right on a drawable row: one step per press, wrapping both ways, texture
// back to 0 on every change.
TEST_F(MenuRows, DrawableRowWrapsAndStartsAtTextureZero) {
  struct Case {
    std::vector<uint32_t> textureCounts;
    uint32_t drawable, texture;
    std::initializer_list<int> controls;
    uint32_t expectedDrawable, expectedTexture;
    int sounds;
  };
  const Case cases[] = {
      {{1, 1, 2}, 2, 1, {PadRight}, 0, 0, 1},                                                   // last -> first
      {{1, 1, 2}, 0, 0, {PadLeft}, 2, 0, 1},                                                    // first -> last
      {{2, 3, 2}, 1, 2, {PadRight}, 2, 0, 1},                                                   // texture back to 0
      {{2, 3, 2}, 1, 2, {PadLeft}, 0, 0, 1},  {{1, 1, 1}, 1, 0, {PadLeft, PadRight}, 1, 0, 0},  // both at once: no step
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(::testing::PrintToString(testCase.textureCounts) + " worn " + std::to_string(testCase.drawable));
    SetAllComponents({1});
    sim::SetComponentModel(1, testCase.textureCounts);
    ASSERT_TRUE(sim::Wear(1, testCase.drawable, testCase.texture));
    WardrobeMenu.selectedRow = 0;  // "Torso"

    MenuFrame(testCase.controls);
    EXPECT_EQ(sim::Ped().components[1].drawable, testCase.expectedDrawable);
    EXPECT_EQ(sim::Ped().components[1].texture, testCase.expectedTexture);
    EXPECT_EQ(CountSounds(HighlightSound), testCase.sounds);

    std::vector<DrawnRow> rows = MenuFrame();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows[0].value,
              std::to_string(testCase.expectedDrawable + 1) + "/" + std::to_string(testCase.textureCounts.size()));
  }
}

TEST_F(MenuRows, VariantRowWrapsWithinTheCurrentDrawable) {
  struct Case {
    uint32_t drawable, texture;
    int control;
    uint32_t expectedTexture;
  };
  const Case cases[] = {{0, 2, PadRight, 0}, {0, 0, PadLeft, 2}, {1, 1, PadRight, 2}, {1, 3, PadRight, 0}};
  for (const Case& testCase : cases) {
    SCOPED_TRACE(std::to_string(testCase.drawable) + "/" + std::to_string(testCase.texture));
    SetAllComponents({1});
    sim::SetComponentModel(1, {3, 4});
    ASSERT_TRUE(sim::Wear(1, testCase.drawable, testCase.texture));
    WardrobeMenu.selectedRow = 1;  // "Torso Variant"

    MenuFrame({testCase.control});
    EXPECT_EQ(sim::Ped().components[1].drawable, testCase.drawable);
    EXPECT_EQ(sim::Ped().components[1].texture, testCase.expectedTexture);
    EXPECT_EQ(CountSounds(HighlightSound), 1);
    std::vector<DrawnRow> rows = MenuFrame();
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1].label, "Torso Variant");
    EXPECT_EQ(rows[1].value, std::to_string(testCase.expectedTexture + 1) + "/" + (testCase.drawable == 0 ? "3" : "4"));
  }
}

// The variant row is laid out from the texture count read before the drawable row
// acted: it follows a changed drawable from the next frame on.
TEST_F(MenuRows, VariantRowFollowsANewDrawableOneFrameLater) {
  SetAllComponents({1});
  sim::SetComponentModel(1, {1, 3});
  WardrobeMenu.selectedRow = 0;

  std::vector<DrawnRow> changing = MenuFrame({PadRight});
  EXPECT_EQ(sim::Ped().components[1].drawable, 1u);
  const DrawnRow* variant = FindRow(changing, "Torso Variant");
  ASSERT_NE(variant, nullptr);
  EXPECT_EQ(variant->value, "1/1");
  EXPECT_EQ(variant->colour, sim::HostColourEntry(DisabledEntry));

  std::vector<DrawnRow> next = MenuFrame();
  variant = FindRow(next, "Torso Variant");
  ASSERT_NE(variant, nullptr);
  EXPECT_EQ(variant->value, "1/3");
  EXPECT_EQ(variant->colour, sim::HostColourEntry(NormalEntry));
}

TEST_F(MenuRows, PlaceholderRowCanBeHighlightedAndDoesNothing) {
  SetAllComponents({1});
  sim::SetComponentModel(7, {1, 2});
  WardrobeMenu.selectedRow = 1;  // "Hair Variant", the placeholder

  for (int control : {PadLeft, PadRight, PadAccept}) {
    std::vector<DrawnRow> rows = MenuFrame({control});
    ASSERT_GE(rows.size(), 2u);
    EXPECT_EQ(rows[1].label, "Hair Variant");
    EXPECT_EQ(rows[1].colour, sim::HostColourEntry(DisabledHighlightedEntry));
    EXPECT_EQ(sim::CountNativeCalls("SetPedComponent"), 0);
    EXPECT_EQ(sim::CountNativeCalls("PrintLiteralMessage"), 0);
    EXPECT_EQ(CountSounds(HighlightSound), 0);
    EXPECT_EQ(WardrobeMenu.selectedRow, 1);
    EXPECT_FALSE(WardrobeMenu.acceptRequested || WardrobeMenu.cancelRequested);
  }
  EXPECT_EQ(sim::Ped().components[7].drawable, 0u);
}

// The host may report a prop the menu does not offer, up to the top of the 32-bit
// range: a step from above the three goes to None either way.
TEST_F(MenuRows, PropRowStepsFromAPropAboveItsChoices) {
  SetAllComponents({1});
  struct Case {
    int32_t worn;
    int control;
  };
  const Case cases[] = {{3, PadRight}, {7, PadLeft}, {INT32_MAX, PadRight}, {INT32_MAX, PadLeft}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.worn) + (c.control == PadRight ? " Right" : " Left"));
    sim::PutProp(0, c.worn, 0);
    WardrobeMenu.selectedRow = 0;  // "Hats"
    MenuFrame({c.control});
    EXPECT_EQ(sim::Ped().props[0].index, -1);
  }
}

// None -> 1/3 -> 2/3 -> 3/3 -> None with Right, the reverse with Left; the host is not
// asked how many props an anchor has.
TEST_F(MenuRows, PropRowCyclesThroughNoneAndThreeProps) {
  SetAllComponents({1});
  struct Step {
    int control;
    int32_t index;
    const char* shown;
  };
  const Step right[] = {{PadRight, 0, "1/3"}, {PadRight, 1, "2/3"}, {PadRight, 2, "3/3"}, {PadRight, -1, "None"}};
  const Step left[] = {{PadLeft, 2, "3/3"}, {PadLeft, 1, "2/3"}, {PadLeft, 0, "1/3"}, {PadLeft, -1, "None"}};
  for (const Step* steps : {right, left}) {
    for (int anchor = 0; anchor < 2; ++anchor) {
      SCOPED_TRACE(std::string(steps == right ? "Right" : "Left") + " on anchor " + std::to_string(anchor));
      WardrobeMenu.selectedRow = anchor;  // "Hats", "Glasses"
      for (int i = 0; i < 4; ++i) {
        MenuFrame({steps[i].control});
        EXPECT_EQ(sim::Ped().props[anchor].index, steps[i].index);
        if (steps[i].index < 0) {
          ASSERT_EQ(sim::CountNativeCalls("ClearPedProp"), 1);
          EXPECT_EQ(sim::NativeCallsNamed("ClearPedProp")[0].IntArg(1), anchor);
        } else {
          ASSERT_EQ(sim::CountNativeCalls("SetPedProp"), 1);
          EXPECT_EQ(sim::NativeCallsNamed("SetPedProp")[0].IntArg(1), anchor);
          EXPECT_EQ(sim::NativeCallsNamed("SetPedProp")[0].IntArg(2), steps[i].index);
        }
        std::vector<DrawnRow> rows = MenuFrame();
        ASSERT_GE(rows.size(), 2u);
        EXPECT_EQ(rows[anchor].value, steps[i].shown);
      }
    }
  }
}

TEST_F(MenuRows, HighlightWrapsAndMovesAfterTheRowsAreHandled) {
  SetAllComponents({1});
  sim::SetComponentModel(1,
                         {1, 1, 1});  // 10 rows: Torso, Hats, Glasses, Outfit, Save, Name, Delete, View, Accept, Cancel

  MenuFrame({PadUp});
  EXPECT_EQ(WardrobeMenu.selectedRow, 9);
  EXPECT_EQ(CountSounds(ToggleSound), 1);
  MenuFrame({PadDown});
  EXPECT_EQ(WardrobeMenu.selectedRow, 0);
  EXPECT_EQ(CountSounds(ToggleSound), 1);

  // Both at once: two sounds, no movement.
  WardrobeMenu.selectedRow = 3;
  MenuFrame({PadUp, PadDown});
  EXPECT_EQ(WardrobeMenu.selectedRow, 3);
  EXPECT_EQ(CountSounds(ToggleSound), 2);

  // Down with Right changes the row highlighted when the frame began.
  WardrobeMenu.selectedRow = 0;
  MenuFrame({PadDown, PadRight});
  EXPECT_EQ(sim::Ped().components[1].drawable, 1u);
  EXPECT_EQ(WardrobeMenu.selectedRow, 1);
  EXPECT_EQ(sim::Ped().props[0].index, -1);

  // A kept index beyond this frame's rows starts over at the first row before the
  // frame draws it: that row is highlighted and prints its help on this frame.
  WardrobeMenu.selectedRow = 20;
  std::vector<DrawnRow> rows = MenuFrame();
  ASSERT_EQ(rows.size(), 10u);
  EXPECT_EQ(rows[0].colour, sim::HostColourEntry(HighlightedEntry));
  EXPECT_EQ(PrintedTexts(), std::vector<std::string>{"~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust"});
  EXPECT_EQ(WardrobeMenu.selectedRow, 0);
}

// The menu opened again on a model with fewer rows than the highlight's index (another
// character, a clothing mod removed): its very first frame draws the rows from the top
// with the first one highlighted and its help line, as every later frame does. An index
// within the rows stays where it is, at the last row too.
TEST_F(MenuRows, TheFirstFrameOfAMenuWithFewerRowsHighlightsItsFirstRow) {
  struct Case {
    int32_t kept;
    int32_t highlighted;
  };
  // Every component single: 9 rows, "Cancel" at 8.
  const Case cases[] = {{30, 0}, {9, 0}, {8, 8}, {2, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kept);
    // A session on a model of 31 rows, closed with the highlight far down: scrolled.
    SetAllComponents({3, 1});
    WardrobeMenu.selectedRow = c.kept;
    MenuFrame();
    ASSERT_EQ(WardrobeMenu.selectedRow, c.kept);
    SetAllComponents({1});
    const std::vector<DrawnRow> rows = MenuFrame();
    ASSERT_EQ(Labels(rows), Labels(MenuFrame())) << "every row drawn, from the top";
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[0].label, "Hats");
    EXPECT_FLOAT_EQ(rows[0].y, 0.05f);
    for (int32_t i = 0; i < 9; ++i) {
      const bool highlighted = rows[i].colour == sim::HostColourEntry(HighlightedEntry) ||
                               rows[i].colour == sim::HostColourEntry(DisabledHighlightedEntry);
      EXPECT_EQ(highlighted, i == c.highlighted) << rows[i].label;
    }
    EXPECT_EQ(WardrobeMenu.selectedRow, c.highlighted);
  }
  // Its help line on that first frame, from the top row.
  WardrobeMenu.selectedRow = 30;
  MenuFrame();
  EXPECT_EQ(PrintedTexts(), std::vector<std::string>{"~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust"});
}

TEST_F(MenuRows, HelpTextOfTheHighlightedRowForPadAndKeyboard) {
  SetAllComponents({1});
  // Torso, Torso Variant, Hats, Glasses, Outfit, Save, Name, Delete, View, Accept, Cancel
  sim::SetComponentModel(1, {3, 1});
  struct Case {
    int row;
    bool pad;
    const char* text;
  };
  const Case cases[] = {
      {0, true, "~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust"},
      {1, true, "~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust"},
      {2, true, "~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust"},
      {4, true, "~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust~n~~INPUT_FRONTEND_ACCEPT~ Apply"},
      {5, true, "~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Save"},
      {8, true, "~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust"},
      {9, true, "~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Select"},
      {10, true, "~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Select"},
      {0, false, "[W]/[S] Move~n~[A]/[D] Adjust"},
      {3, false, "[W]/[S] Move~n~[A]/[D] Adjust"},
      {4, false, "[W]/[S] Move~n~[A]/[D] Adjust~n~[E] Apply"},
      {5, false, "[W]/[S] Move~n~[E] Save"},
      {8, false, "[W]/[S] Move~n~[A]/[D] Adjust"},
      {10, false, "[W]/[S] Move~n~[E] Select"},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(std::to_string(testCase.row) + (testCase.pad ? " pad" : " keyboard"));
    sim::SetUsingPad(testCase.pad);
    WardrobeMenu.selectedRow = testCase.row;
    MenuFrame();
    std::vector<std::string> printed = PrintedTexts();
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_EQ(printed[0], testCase.text);
    std::vector<sim::NativeCall> prints = sim::NativeCallsNamed("PrintLiteralMessage");
    EXPECT_EQ(prints[0].args[0], "STRING");
    EXPECT_EQ(prints[0].IntArg(2), 100);
    EXPECT_TRUE(prints[0].BoolArg(3));
  }
}

// The keyboard's keys move the menu only while no pad is in use.
TEST_F(MenuRows, KeyboardKeysDriveTheMenuWithoutAPad) {
  SetAllComponents({1});
  sim::SetComponentModel(1, {1, 1, 1});
  sim::SetUsingPad(false);
  auto keyFrame = [](int key) {
    sim::ReleaseAllInput();
    SampleInput();
    sim::SetKey(key, true);
    SampleInput();
    sim::ClearNativeLog();
    BuildWardrobeMenu(PlayerMenuControls);
  };
  keyFrame('D');
  EXPECT_EQ(sim::Ped().components[1].drawable, 1u);
  keyFrame('S');
  EXPECT_EQ(WardrobeMenu.selectedRow, 1);
  keyFrame('W');
  EXPECT_EQ(WardrobeMenu.selectedRow, 0);
  keyFrame('A');
  EXPECT_EQ(sim::Ped().components[1].drawable, 0u);
  // A pad control is ignored while the keyboard is in use.
  MenuFrame({PadRight});
  EXPECT_EQ(sim::Ped().components[1].drawable, 0u);
}

// Saved outfit k wears torso drawable k % 4 (the default model has four).
void SaveOutfits(int count) {
  for (int k = 0; k < count; ++k) {
    Outfit& outfit = OutfitTable[k];
    outfit = Outfit();
    outfit.inUse = true;
    outfit.drawable[1] = static_cast<uint32_t>(k % 4);
    for (int a = 0; a < PropAnchorCount; ++a) outfit.prop[a] = outfit.propTexture[a] = -1;
  }
}

TEST_F(MenuRows, OutfitRowWrapsAndAppliesTheChosenOutfit) {
  struct Case {
    int count;
    int start;
    std::initializer_list<int> controls;
    int expectedIndex;
    int appliedTorso;  // -1: nothing applied
    int sounds;
  };
  const Case cases[] = {
      {3, 2, {PadRight}, 0, -1, 1},
      {3, 0, {PadLeft}, 2, -1, 1},
      {1, 0, {PadRight}, 0, -1, 1},  // one outfit: a sound, the index stays
      {3, 1, {PadAccept}, 1, 1, 1},
      {3, 2, {PadRight, PadAccept}, 0, 0, 2},   // the newly chosen one is applied
      {0, 0, {PadRight, PadAccept}, 0, -1, 0},  // nothing saved: nothing happens
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(std::to_string(testCase.count) + " outfits from " + std::to_string(testCase.start));
    sim::ResetModel();
    sim::SetUsingPad(true);
    sim::Wear(1, 3, 0);
    for (Outfit& entry : OutfitTable) entry = Outfit();
    SaveOutfits(testCase.count);
    std::vector<DrawnRow> rows = MenuFrame();
    const int outfitRow = IndexOfRow(rows, "Outfit");
    ASSERT_GE(outfitRow, 0);
    WardrobeMenu.selectedRow = outfitRow;
    WardrobeMenu.selectedOutfit = testCase.start;

    MenuFrame(testCase.controls);
    EXPECT_EQ(WardrobeMenu.selectedOutfit, testCase.expectedIndex);
    EXPECT_EQ(CountSounds(HighlightSound), testCase.sounds);
    if (testCase.appliedTorso < 0) {
      EXPECT_EQ(sim::CountNativeCalls("SetPedComponent"), 0);
      EXPECT_EQ(sim::Ped().components[1].drawable, 3u);
    } else {
      EXPECT_EQ(sim::Ped().components[1].drawable, static_cast<uint32_t>(testCase.appliedTorso));
    }
    // The Apply help line is printed with or without outfits.
    ASSERT_EQ(PrintedTexts().size(), 1u);
    EXPECT_NE(PrintedTexts()[0].find(" Apply"), std::string::npos);

    rows = MenuFrame();
    EXPECT_EQ(rows[outfitRow].value, std::to_string(testCase.expectedIndex + 1) + "/" + std::to_string(testCase.count));
    EXPECT_EQ(rows[outfitRow].colour,
              sim::HostColourEntry(testCase.count > 0 ? HighlightedEntry : DisabledHighlightedEntry));
  }
}

// Fewer outfits than the kept index (another episode's file was loaded): the index
// starts over at the first outfit before it is shown, and Accept applies that one, never
// the stale entry behind the count.
TEST_F(MenuRows, OutfitIndexBeyondTheSavedOutfitsStartsOver) {
  SaveOutfits(2);
  Outfit& stale = OutfitTable[5];
  stale = Outfit();
  stale.drawable[1] = 3;
  stale.drawable[0] = 1;
  sim::Wear(1, 2, 0);
  WardrobeMenu.selectedOutfit = 5;
  std::vector<DrawnRow> rows = MenuFrame();
  int outfitRow = IndexOfRow(rows, "Outfit");
  ASSERT_GE(outfitRow, 0);
  EXPECT_EQ(rows[outfitRow].value, "1/2");
  EXPECT_EQ(WardrobeMenu.selectedOutfit, 0);

  WardrobeMenu.selectedOutfit = 5;
  WardrobeMenu.selectedRow = outfitRow;
  MenuFrame({PadAccept});
  EXPECT_EQ(WardrobeMenu.selectedOutfit, 0);
  EXPECT_EQ(sim::Ped().components[1].drawable, 0u);
  EXPECT_EQ(sim::Ped().components[0].drawable, 0u);

  // With no outfits at all the row shows 1/0.
  for (Outfit& entry : OutfitTable) entry = Outfit();
  WardrobeMenu.selectedOutfit = 4;
  rows = MenuFrame();
  EXPECT_EQ(rows[outfitRow].value, "1/0");
}

TEST_F(MenuRows, AcceptAndCancelRaiseTheirRequestOnly) {
  SetAllComponents({1});
  // Hats, Glasses, Outfit, Save Outfit, Name Outfit, Delete Outfit, View, Accept, Cancel
  const int acceptRow = 7, cancelRow = 8;
  WardrobeMenu.selectedRow = acceptRow;
  MenuFrame({PadAccept});
  EXPECT_TRUE(WardrobeMenu.acceptRequested);
  EXPECT_FALSE(WardrobeMenu.cancelRequested);
  EXPECT_EQ(CountSounds(HighlightSound), 1);
  // Closing, control and the look are the driver's: the row only raises the request.
  EXPECT_EQ(sim::CountNativeCalls("SetPlayerControl"), 0);
  EXPECT_EQ(sim::CountNativeCalls("SetPedComponent"), 0);

  WardrobeMenu = WardrobeMenuRecord();
  WardrobeMenu.selectedRow = cancelRow;
  MenuFrame();
  EXPECT_FALSE(WardrobeMenu.cancelRequested);  // highlighting alone does nothing
  MenuFrame({PadAccept});
  EXPECT_TRUE(WardrobeMenu.cancelRequested);
  EXPECT_FALSE(WardrobeMenu.acceptRequested);
}

// The base game's outfit file with outfits 0 .. count - 1, outfit n wearing torso
// drawable n, loaded into the table.
std::string WriteOutfits(int count) {
  std::string file;
  for (int n = 0; n < count; ++n)
    file += "[Outfit" + std::to_string(n) + "]\r\nDrawable1=" + std::to_string(n) + "\r\n";
  WriteTextFile("WardrobeOutfits.ini", file);
  LoadOutfits();
  return file;
}

constexpr const char* deleteArmedPadHelp =
    "Delete outfit %s?~n~~INPUT_FRONTEND_ACCEPT~ again: delete it~n~~PAD_UP~~PAD_DOWN~~PAD_LEFT~~PAD_RIGHT~ Keep it";

std::string Formatted(const char* format, int a, int b) {
  char text[192];
  std::snprintf(text, sizeof text, format, (std::to_string(a) + "/" + std::to_string(b)).c_str());
  return text;
}

// The first Accept on "Delete Outfit" only asks, naming the outfit; the second deletes
// it. The player's look stays, and the Outfit row then shows an outfit in use: the one
// that took the deleted one's place, or the new last.
TEST_F(MenuRows, TwoAcceptsDeleteTheOutfitShownOnTheOutfitRow) {
  struct Case {
    int count, selected, selectedAfter;
    int torsoShownAfter;  // torso drawable of the outfit shown afterwards; -1: none left
  };
  const Case cases[] = {{3, 0, 0, 1}, {3, 1, 1, 2}, {3, 2, 1, 1}, {1, 0, 0, -1}};
  for (const Case& testCase : cases) {
    SCOPED_TRACE(std::to_string(testCase.selected) + " of " + std::to_string(testCase.count));
    WardrobeMenu = WardrobeMenuRecord();
    sim::Wear(1, 3, 1);
    const std::string file = WriteOutfits(testCase.count);
    std::vector<DrawnRow> rows = MenuFrame();
    const int deleteRow = IndexOfRow(rows, "Delete Outfit");
    ASSERT_EQ(deleteRow, IndexOfRow(rows, "Save Outfit") + 2);
    ASSERT_EQ(rows[deleteRow + 1].label, "View");
    const std::string shown = std::to_string(testCase.selected + 1) + "/" + std::to_string(testCase.count);
    WardrobeMenu.selectedOutfit = testCase.selected;
    WardrobeMenu.selectedRow = deleteRow;
    rows = MenuFrame();
    EXPECT_EQ(rows[deleteRow].value, shown);
    EXPECT_EQ(rows[deleteRow].colour, sim::HostColourEntry(HighlightedEntry));
    EXPECT_EQ(PrintedTexts(), std::vector<std::string>{"~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Delete"});

    MenuFrame({PadAccept});
    EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), file) << "the first Accept only asks";
    EXPECT_EQ(CountSounds(HighlightSound), 1);
    EXPECT_EQ(PrintedTexts(),
              std::vector<std::string>{Formatted(deleteArmedPadHelp, testCase.selected + 1, testCase.count)});

    MenuFrame({PadAccept});
    EXPECT_EQ(CountSounds(HighlightSound), 1);
    EXPECT_EQ(PrintedTexts().back(), "Outfit Deleted");
    EXPECT_EQ(sim::NativeCallsNamed("PrintLiteralMessage").back().IntArg(2), 2500);
    EXPECT_EQ(CountSavedOutfits(), testCase.count - 1);
    EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini").find("[Outfit" + std::to_string(testCase.count - 1) + "]"),
              std::string::npos);
    EXPECT_EQ(WardrobeMenu.selectedOutfit, testCase.selectedAfter);
    if (testCase.torsoShownAfter >= 0) {
      EXPECT_EQ(OutfitTable[WardrobeMenu.selectedOutfit].drawable[1], static_cast<uint32_t>(testCase.torsoShownAfter));
    }
    EXPECT_EQ(sim::Ped().components[1].drawable, 3u);
    EXPECT_EQ(sim::Ped().components[1].texture, 1u);

    // While the notice runs both file rows are disabled.
    rows = MenuFrame();
    const std::string after = std::to_string(testCase.selectedAfter + 1) + "/" + std::to_string(testCase.count - 1);
    EXPECT_EQ(rows[deleteRow - 3].value, after);
    EXPECT_EQ(rows[deleteRow].value, after);
    EXPECT_EQ(rows[deleteRow].colour, sim::HostColourEntry(DisabledHighlightedEntry));
    EXPECT_EQ(rows[deleteRow - 1].colour, sim::HostColourEntry(DisabledEntry));
    EXPECT_EQ(rows[deleteRow - 2].colour, sim::HostColourEntry(DisabledEntry));
  }

  // The keyboard's words for the same question.
  sim::SetUsingPad(false);
  WriteOutfits(2);
  WardrobeMenu = WardrobeMenuRecord();
  WardrobeMenu.selectedRow = IndexOfRow(MenuFrame(), "Delete Outfit");
  WardrobeMenu.selectedOutfit = 1;
  sim::ReleaseAllInput();
  SampleInput();
  sim::SetKey('E', true);
  SampleInput();
  sim::ClearNativeLog();
  BuildWardrobeMenu(PlayerMenuControls);
  EXPECT_EQ(PrintedTexts(),
            std::vector<std::string>{"Delete outfit 2/2?~n~[E] again: delete it~n~[W]/[S]/[A]/[D] Keep it"});
}

// After the first Accept, moving off the row, Left, Right or 3 seconds of menu time
// take the question back: the next Accept asks again and deletes nothing.
TEST_F(MenuRows, EachWayOfDisarmingKeepsTheOutfit) {
  struct Case {
    const char* name;
    std::vector<std::vector<int>> frames;  // controls of each frame between the two Accepts
    bool moveBack;                         // the highlight is put back on the row before the Accept
    bool deletes;
  };
  const std::vector<std::vector<int>> fourIdle(4), fiveIdle(5);
  const Case cases[] = {
      {"moving off the row", {{PadDown}, {}}, true, false},
      {"Left", {{PadLeft}}, false, false},
      {"Right", {{PadRight}}, false, false},
      {"3 seconds of menu time", fiveIdle, false, false},
      {"2.5 seconds: still asking", fourIdle, false, true},
  };
  sim::SetFrameTime(0.5f);
  for (const Case& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    WardrobeMenu = WardrobeMenuRecord();
    const std::string file = WriteOutfits(2);
    const int deleteRow = IndexOfRow(MenuFrame(), "Delete Outfit");
    WardrobeMenu.selectedRow = deleteRow;
    MenuFrame({PadAccept});
    for (const std::vector<int>& controls : testCase.frames) {
      Press({});
      for (int control : controls) sim::SetPad(control, true);
      SampleInput();
      BuildWardrobeMenu(PlayerMenuControls);
    }
    if (testCase.moveBack) WardrobeMenu.selectedRow = deleteRow;
    MenuFrame({PadAccept});
    if (testCase.deletes) {
      EXPECT_EQ(CountSavedOutfits(), 1);
      EXPECT_EQ(PrintedTexts().back(), "Outfit Deleted");
    } else {
      EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), file);
      EXPECT_EQ(CountSavedOutfits(), 2);
      EXPECT_EQ(PrintedTexts(), std::vector<std::string>{Formatted(deleteArmedPadHelp, 1, 2)}) << "asks again";
    }
  }
}

// A player protected the outfit file by marking it read-only: the deletion is refused,
// the notice says so, and the file, its mark and the table stay as they were.
TEST_F(MenuRows, ReadOnlyFileShowsOutfitNotDeleted) {
  const std::string file = WriteOutfits(2);
  ASSERT_TRUE(SetFileAttributesA("WardrobeOutfits.ini", FILE_ATTRIBUTE_READONLY));
  WardrobeMenu.selectedRow = IndexOfRow(MenuFrame(), "Delete Outfit");
  WardrobeMenu.selectedOutfit = 1;
  MenuFrame({PadAccept});
  MenuFrame({PadAccept});
  EXPECT_EQ(PrintedTexts().back(), "Outfit Not Deleted");
  EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), file);
  EXPECT_NE(GetFileAttributesA("WardrobeOutfits.ini") & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_EQ(CountSavedOutfits(), 2);
  EXPECT_EQ(WardrobeMenu.selectedOutfit, 1);
  SetFileAttributesA("WardrobeOutfits.ini", FILE_ATTRIBUTE_NORMAL);
}

// The rows of the menu with every component varied (SetAllComponents({3, 1})).
constexpr int variedRowCount = 31;

// With every component varied the menu has more rows than fit. Up to row 22 every row is where it
// always was; past it, the rows move up so that the highlighted row is the last one
// drawn, at y = 0.93, and no row is drawn below it.
TEST_F(MenuRows, RowsScrollSoTheHighlightedRowIsOnScreen) {
  SetAllComponents({3, 1});
  constexpr int rowCount = variedRowCount;
  std::vector<DrawnRow> all;
  for (int highlighted : {0, rowCount - 1}) {  // the rows of the top window, then those of the bottom one
    WardrobeMenu.selectedRow = highlighted;
    const std::vector<DrawnRow> window = MenuFrame();
    ASSERT_EQ(window.size(), 23u);
    all.insert(all.end(), window.begin() + (highlighted == 0 ? 0 : 23 - (rowCount - 23)), window.end());
  }
  ASSERT_EQ(all.size(), static_cast<size_t>(rowCount));
  EXPECT_EQ(all.back().label, "Cancel");
  for (size_t n = 0; n < 23; ++n) EXPECT_FLOAT_EQ(all[n].y, 0.05f + 0.04f * static_cast<float>(n)) << n;
  const float lastY = 0.05f + 0.04f * 22.0f;

  for (int highlighted = 22; highlighted < rowCount; ++highlighted) {
    SCOPED_TRACE(highlighted);
    WardrobeMenu.selectedRow = highlighted;
    const std::vector<DrawnRow> rows = MenuFrame();
    const int offset = highlighted - 22;
    ASSERT_EQ(rows.size(), 23u);
    for (size_t i = 0; i < rows.size(); ++i) {
      EXPECT_EQ(rows[i].label, all[i + offset].label);
      EXPECT_FLOAT_EQ(rows[i].y, 0.05f + 0.04f * static_cast<float>(i));
    }
    EXPECT_EQ(rows[22].label, all[highlighted].label);
    EXPECT_FLOAT_EQ(rows[22].y, lastY);
    EXPECT_TRUE(rows[22].colour == sim::HostColourEntry(HighlightedEntry) ||
                rows[22].colour == sim::HostColourEntry(DisabledHighlightedEntry))
        << "drawn highlighted";
    EXPECT_LE(rows.back().y, lastY);
  }
  // The rows above the window still work: Down from the last row highlights row 0.
  WardrobeMenu.selectedRow = rowCount - 1;
  MenuFrame({PadDown});
  EXPECT_EQ(WardrobeMenu.selectedRow, 0);
}

// Whatever the highlight, only the 23 rows of the window are drawn, none below the
// screen; a mark left of the window's first row says rows lie above, one left of its
// last row says rows lie below. When every row fits there is no mark.
TEST_F(MenuRows, OnlyRowsOnScreenAreDrawnAndMarksSayWhereMoreLie) {
  SetAllComponents({3, 1});
  const float lastY = 0.05f + 0.04f * 22.0f;
  struct Case {
    int highlighted;
    bool above, below;
  };
  for (const Case& c :
       {Case{0, false, true}, Case{12, false, true}, Case{22, false, true}, Case{23, true, true}, Case{25, true, true},
        Case{variedRowCount - 2, true, true}, Case{variedRowCount - 1, true, false}}) {
    SCOPED_TRACE(c.highlighted);
    WardrobeMenu.selectedRow = c.highlighted;
    const std::vector<DrawnRow> rows = MenuFrame();
    ASSERT_EQ(rows.size(), 23u);
    for (const DrawnRow& row : rows) EXPECT_LE(row.y, lastY) << row.label;
    std::vector<const sim::DrawnText*> marks;
    for (const sim::DrawnText& text : sim::World().drawnThisFrame) {
      if (text.text == MoreRowsMark) marks.push_back(&text);
    }
    ASSERT_EQ(marks.size(), static_cast<size_t>(c.above) + static_cast<size_t>(c.below));
    if (c.above) {
      EXPECT_FLOAT_EQ(marks.front()->y, rows.front().y);
      EXPECT_LT(marks.front()->x, rows.front().labelX);
    }
    if (c.below) {
      EXPECT_FLOAT_EQ(marks.back()->y, lastY);
      EXPECT_LT(marks.back()->x, rows.back().labelX);
    }
    for (const sim::DrawnText* mark : marks) {
      EXPECT_GT(mark->x, 0.0f) << "on the screen";
      EXPECT_EQ(PackedColour(mark->state), sim::HostColourEntry(NormalEntry));
    }
  }

  sim::ResetModel();  // the default model: every row fits
  WardrobeMenu = WardrobeMenuRecord();
  const std::vector<DrawnRow> rows = MenuFrame();
  ASSERT_LT(rows.size(), 23u);
  EXPECT_EQ(static_cast<int32_t>(rows.size()), WardrobeMenu.rowCount);
  EXPECT_FLOAT_EQ(rows.front().y, 0.05f);
  for (const sim::DrawnText& text : sim::World().drawnThisFrame) EXPECT_NE(text.text, MoreRowsMark);
}

}  // namespace
}  // namespace menu_test
