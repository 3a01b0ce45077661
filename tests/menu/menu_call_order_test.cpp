// The order of the host calls within one menu frame: what a row reads, prints, plays
// and changes, and in which order, with the drawing calls set aside.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "menu/wardrobe_menu.h"
#include "menu_test_support.h"
#include "outfits/outfit.h"

namespace menu_test {
namespace {

// This frame's native calls without the text drawing and the device queries.
std::vector<std::string> RowCalls() {
  static const std::set<std::string> drawing = {
      "SetTextFlagA",   "SetTextFlagB",       "SetTextFlagC",        "SetTextFlagD",     "SetTextFont",
      "SetTextEffectA", "SetTextEffectB",     "SetTextRightJustify", "SetTextColour",    "SetTextScale",
      "SetTextWrap",    "DisplayLiteralText", "GetScreenResolution", "IsTextFontLoaded", "IsTextFontAvailable",
      "LoadTextFont",   "IsUsingPad"};
  std::vector<std::string> calls;
  for (const std::string& name : sim::NativeCallNames()) {
    if (drawing.count(name) == 0) calls.push_back(name);
  }
  return calls;
}

class MenuCallOrder : public MenuHostTest {
 protected:
  void SetUp() override {
    MenuHostTest::SetUp();
    SetAllComponents({1});
    sim::SetComponentModel(0, {1, 1});  // Head: two drawables of one texture each
  }
};

TEST_F(MenuCallOrder, DrawableRowReadsTwicePrintsItsHelpThenChangesTheDrawable) {
  WardrobeMenu.selectedRow = 0;  // Head
  MenuFrame({PadRight});
  const std::vector<std::string> calls = RowCalls();
  const std::vector<std::string> head = {
      "GetNumberOfDrawables", "GetPedDrawable",      "GetNumberOfTextures",  // what the row is
      "GetPedDrawable",       "GetPedTexture",                               // read again to draw it
      "ClearPrintedMessages", "PrintLiteralMessage",                         // its help line
      "PlayFrontendSound",    "SetPedComponent",                             // Right
      "GetNumberOfDrawables", "GetNumberOfTextures", "GetNumberOfTextures",  // any variants? none
      "GetNumberOfDrawables", "GetPedDrawable",      "GetNumberOfTextures",  // Torso: one drawable, no row
  };
  ASSERT_GE(calls.size(), head.size());
  EXPECT_EQ(head, std::vector<std::string>(calls.begin(), calls.begin() + head.size()));
}

TEST_F(MenuCallOrder, OutfitRowActsOnItsControlsBeforeItPrintsItsHelp) {
  for (int n = 0; n < 2; ++n) OutfitTable[n].inUse = true;
  WardrobeMenu.selectedRow = 3;  // Head, Hats, Glasses, Outfit
  MenuFrame({PadRight, PadAccept});
  std::vector<std::string> calls = RowCalls();
  // From the sound of the value change on: the apply sound, the outfit put on (11
  // components, each checked against the model first, and 11 anchors), then the help
  // line.
  const auto first = std::find(calls.begin(), calls.end(), "PlayFrontendSound");
  ASSERT_NE(first, calls.end());
  std::vector<std::string> rest(first, calls.end());
  ASSERT_EQ(rest.size(), 2u + 44u + 2u);
  EXPECT_EQ(rest[0], "PlayFrontendSound");
  EXPECT_EQ(rest[1], "PlayFrontendSound");
  for (size_t i = 2; i < 46; i += 4) {
    EXPECT_EQ(rest[i], "GetNumberOfDrawables") << i;
    EXPECT_EQ(rest[i + 1], "GetNumberOfTextures") << i;
    EXPECT_EQ(rest[i + 2], "SetPedComponent") << i;
    EXPECT_EQ(rest[i + 3], "SetPedPropWithTexture") << i;  // entries of zeros: prop 0 everywhere
  }
  EXPECT_EQ(rest[46], "ClearPrintedMessages");
  EXPECT_EQ(rest[47], "PrintLiteralMessage");
  EXPECT_EQ(WardrobeMenu.selectedOutfit, 1);
}

TEST_F(MenuCallOrder, SaveRowPrintsNothingOfItsOwnWhileTheNoticeRuns) {
  WardrobeMenu.selectedRow = 4;  // Save Outfit
  WardrobeMenu.saveNoticeSeconds = 1.0;
  WardrobeMenu.saveStored = true;
  MenuFrame({PadAccept});
  EXPECT_EQ(PrintedTexts(), std::vector<std::string>{"Outfit Saved"});
  EXPECT_EQ(sim::CountNativeCalls("PlayFrontendSound"), 0);
}

}  // namespace
}  // namespace menu_test
