// How the menu's rows reach the host's screen: columns and row positions for the screen's
// aspect, the text state issued before every text, the colours of the row states, and
// the menu font that may not be ready yet.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "menu/menu_drawing.h"
#include "menu/wardrobe_menu.h"
#include "menu_test_support.h"

namespace menu_test {
namespace {

class MenuDrawing : public MenuHostTest {};

TEST_F(MenuDrawing, ColumnsFollowTheScreenAspectAndRowsStepDown) {
  struct Case {
    int32_t width, height;
    float labelX, valueX;
  };
  const Case cases[] = {{1280, 720, 0.084375f, 0.225f},
                        {1024, 768, 0.1125f, 0.3f},
                        {1920, 1080, 0.084375f, 0.225f},
                        {1280, 1024, 0.12f, 0.32f}};
  for (const Case& testCase : cases) {
    SCOPED_TRACE(std::to_string(testCase.width) + "x" + std::to_string(testCase.height));
    sim::SetResolution(testCase.width, testCase.height);
    const double aspect = double(testCase.height) / double(testCase.width);
    std::vector<DrawnRow> rows = MenuFrame();
    ASSERT_GE(rows.size(), 6u);
    // To the bit: the layout constants are float32, the products with the aspect are
    // taken in double and stored as float, the row step is single precision.
    const float labelX = float(double(0.15f) * aspect);
    const float valueX = labelX + float(double(0.25f) * aspect);
    for (size_t n = 0; n < rows.size(); ++n) {
      SCOPED_TRACE(rows[n].label);
      EXPECT_FLOAT_EQ(rows[n].labelX, testCase.labelX);
      EXPECT_EQ(rows[n].labelX, labelX);
      const float rowStep = 0.04f * float(n);
      EXPECT_EQ(rows[n].y, 0.05f + rowStep);
      if (rows[n].hasValue) {
        EXPECT_FLOAT_EQ(rows[n].valueX, testCase.valueX);
        EXPECT_EQ(rows[n].valueX, valueX);
      }
    }
    for (const sim::DrawnText& text : sim::World().drawnThisFrame) {
      EXPECT_EQ(text.state.scaleX, float(double(0.7625f) * (50 * 0.01 * aspect)));
      EXPECT_EQ(text.state.scaleY, 0.5f);
    }
  }
}

TEST_F(MenuDrawing, EveryTextGetsTheMenuTextStateBeforeItIsDrawn) {
  MenuFrame();
  ASSERT_FALSE(sim::World().drawnThisFrame.empty());
  for (const sim::DrawnText& text : sim::World().drawnThisFrame) {
    SCOPED_TRACE(text.text);
    EXPECT_EQ(text.label, "STRING");
    EXPECT_EQ(text.state.font, 7);
    EXPECT_FALSE(text.state.flagA);
    EXPECT_FALSE(text.state.flagB);
    EXPECT_TRUE(text.state.flagC);
    EXPECT_TRUE(text.state.flagD);
    EXPECT_FALSE(text.state.rightJustify);
    EXPECT_TRUE(text.state.effectA);
    EXPECT_EQ(text.state.effectAColour[3], 255);
    EXPECT_EQ(text.state.effectAColour[0] | text.state.effectAColour[1] | text.state.effectAColour[2], 0);
    EXPECT_FALSE(text.state.effectB);
  }
}

// The host relies on the order of its text natives: the calls that set one text's
// style, then the text. The resolution they scale by is the frame's.
TEST_F(MenuDrawing, OneTextIsItsStyleCallsThenTheTextInOrder) {
  sim::World().fontsLoaded.insert(7);
  sim::SetHostColourEntry(60, 0x80C0A040);
  BeginMenuFrameText();
  sim::ClearNativeLog();
  DrawMenuText(0.25f, 0.5f, "Head", 0x80C0A040, 50, false, false, true, 7, 0.7625f);
  const std::vector<std::string> expected = {
      "SetTextFlagA", "SetTextFont",   "SetTextEffectA", "SetTextFlagB",   "SetTextRightJustify", "SetTextEffectB",
      "SetTextFlagC", "SetTextColour", "SetTextScale",   "SetTextEffectA", "SetTextFlagD",        "DisplayLiteralText"};
  EXPECT_EQ(sim::NativeCallNames(), expected);
  const std::vector<sim::NativeCall>& log = sim::NativeLog();
  ASSERT_EQ(log.size(), expected.size());
  EXPECT_EQ(log[2].args, (std::vector<std::string>{"true", "0", "0", "0", "255"}));
  EXPECT_EQ(log[5].args, (std::vector<std::string>{"false", "0", "0", "0", "0"}));
  EXPECT_EQ(log[7].args, (std::vector<std::string>{"192", "160", "64", "128"}));  // red, green, blue, alpha
  EXPECT_EQ(log[8].FloatArg(0), float(double(0.7625f) * (0.5 * 720.0 / 1280.0)));
  EXPECT_EQ(log[11].args, (std::vector<std::string>{"0.25", "0.5", "STRING", "Head"}));

  // Right-aligned: the x becomes the wrap's end and the text starts at 0.
  sim::ClearNativeLog();
  DrawMenuText(0.25f, 0.5f, "Head", 0x80C0A040, 50, true, true, false, 7, 0.7625f);
  std::vector<std::string> names = sim::NativeCallNames();
  ASSERT_EQ(names.size(), 13u);
  EXPECT_EQ(names[10], "SetTextWrap");
  EXPECT_EQ(sim::NativeLog()[10].args, (std::vector<std::string>{"0", "0.25"}));
  EXPECT_EQ(sim::NativeLog()[12].args[0], "0");
  EXPECT_EQ(sim::NativeLog()[3].args[0], "true");   // flag B
  EXPECT_EQ(sim::NativeLog()[2].args[0], "false");  // effect off
}

// A menu frame asks the host for the resolution and the font once, whatever the number
// of texts, and every text still gets all of its style calls.
TEST_F(MenuDrawing, ResolutionAndFontAreAskedOncePerFrame) {
  struct Case {
    const char* what;
    bool available, loaded;
    int loadedAsks, availableAsks, loads;
  };
  const Case cases[] = {
      {"font in", true, true, 1, 0, 0},
      {"font available", true, false, 2, 1, 1},
      {"font missing", false, false, 1, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.available)
      sim::World().fontsAvailable.insert(7);
    else
      sim::World().fontsAvailable.erase(7);
    if (c.loaded)
      sim::World().fontsLoaded.insert(7);
    else
      sim::World().fontsLoaded.erase(7);
    const std::vector<DrawnRow> rows = MenuFrame();
    EXPECT_EQ(sim::CountNativeCalls("GetScreenResolution"), 1);
    EXPECT_EQ(sim::CountNativeCalls("IsTextFontLoaded"), c.loadedAsks);
    EXPECT_EQ(sim::CountNativeCalls("IsTextFontAvailable"), c.availableAsks);
    EXPECT_EQ(sim::CountNativeCalls("LoadTextFont"), c.loads);
    const int texts = sim::CountNativeCalls("DisplayLiteralText");
    EXPECT_EQ(texts, c.available ? 41 : 0) << "the default model's 22 rows";
    for (const char* style : {"SetTextFlagA", "SetTextFont", "SetTextFlagB", "SetTextRightJustify", "SetTextEffectB",
                              "SetTextFlagC", "SetTextColour", "SetTextScale", "SetTextFlagD"}) {
      EXPECT_EQ(sim::CountNativeCalls(style), texts) << style;
    }
    EXPECT_EQ(sim::CountNativeCalls("SetTextEffectA"), 2 * texts);
  }
}

TEST_F(MenuDrawing, RowColoursComeFromTheHostTableAtEveryRow) {
  const uint32_t colours[4] = {0xFF102030, 0xEE405060, 0xDD708090, 0xCCA0B0C0};
  const int entries[4] = {NormalEntry, HighlightedEntry, DisabledHighlightedEntry, DisabledEntry};
  for (int i = 0; i < 4; ++i) sim::SetHostColourEntry(entries[i], colours[i]);

  struct Case {
    int32_t selected;
    int row;
    bool disabled;
    uint32_t colour;
  };
  // Rows: Hats, Glasses, Outfit, Name Outfit and Delete Outfit (disabled: nothing saved), Save Outfit, View,
  // Accept, Cancel.
  SetAllComponents({1});
  const Case cases[] = {
      {0, 0, false, colours[1]}, {0, 1, false, colours[0]}, {0, 2, true, colours[3]},
      {2, 2, true, colours[2]},  {2, 0, false, colours[0]}, {8, 8, false, colours[1]},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(std::to_string(testCase.selected) + "/" + std::to_string(testCase.row));
    WardrobeMenu.selectedRow = testCase.selected;
    std::vector<DrawnRow> rows = MenuFrame();
    ASSERT_EQ(rows.size(), 9u);
    EXPECT_EQ(rows[testCase.row].colour, testCase.colour);
  }

  // The value text of a row has the row's colour; a new colour in the table shows on
  // the next frame.
  sim::SetHostColourEntry(HighlightedEntry, 0xFF00FF00);
  WardrobeMenu.selectedRow = 0;
  MenuFrame();
  const std::vector<sim::DrawnText>& texts = sim::World().drawnThisFrame;
  ASSERT_GE(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "Hats");
  EXPECT_EQ(texts[1].text, "None");
  EXPECT_EQ(PackedColour(texts[0].state), 0xFF00FF00u);
  EXPECT_EQ(PackedColour(texts[1].state), 0xFF00FF00u);
}

TEST_F(MenuDrawing, MenuRowCountsEveryRowAndReportsTheHighlightedOne) {
  sim::World().fontsLoaded.insert(7);
  BeginMenuFrameText();
  WardrobeMenu.rowCount = 0;
  WardrobeMenu.selectedRow = 1;
  sim::World().drawnThisFrame.clear();
  EXPECT_FALSE(MenuRow("Accept", nullptr, false));
  EXPECT_TRUE(MenuRow("Hair Variant", "1/1", true));  // disabled, and still the highlighted one
  EXPECT_FALSE(MenuRow("Cancel", nullptr, true));
  EXPECT_EQ(WardrobeMenu.rowCount, 3);
  std::vector<DrawnRow> rows = DrawnRows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_FALSE(rows[0].hasValue);
  EXPECT_TRUE(rows[1].hasValue);
  EXPECT_EQ(sim::World().drawnThisFrame.size(), 4u);
  EXPECT_EQ(sim::World().drawnThisFrame[1].y, sim::World().drawnThisFrame[2].y);
}

// Until font 7 is in, nothing is drawn, yet rows are counted and the controls act.
TEST_F(MenuDrawing, RowsWorkWhileTheFontIsNotReady) {
  sim::World().fontsAvailable.erase(7);
  sim::World().fontsLoaded.erase(7);
  SetAllComponents({1});
  // Torso, Hats, Glasses, Outfit, Save Outfit, Name Outfit, Delete Outfit, View, Accept, Cancel
  sim::SetComponentModel(1, {1, 1, 1});

  std::vector<DrawnRow> rows = MenuFrame({PadRight, PadDown});
  EXPECT_TRUE(rows.empty());
  EXPECT_EQ(sim::CountNativeCalls("DisplayLiteralText"), 0);
  EXPECT_EQ(sim::CountNativeCalls("LoadTextFont"), 0);
  EXPECT_EQ(WardrobeMenu.rowCount, 10);
  EXPECT_EQ(sim::Ped().components[1].drawable, 1u);
  EXPECT_EQ(WardrobeMenu.selectedRow, 1);
  EXPECT_EQ(PrintedTexts().size(), 1u);  // the help line still shows
  MenuFrame({PadUp});
  EXPECT_EQ(WardrobeMenu.selectedRow, 0);

  // Available but not loaded: the menu asks for it and draws as soon as it is in.
  sim::World().fontsAvailable.insert(7);
  rows = MenuFrame();
  EXPECT_EQ(sim::CountNativeCalls("LoadTextFont"), 1);
  EXPECT_EQ(sim::NativeCallsNamed("LoadTextFont")[0].IntArg(0), 7);
  EXPECT_EQ(rows.size(), 10u);
  MenuFrame();
  EXPECT_EQ(sim::CountNativeCalls("LoadTextFont"), 0);
}

TEST_F(MenuDrawing, HelpTextClearsThenPrints) {
  sim::ClearNativeLog();
  ShowHelpText("Outfit Saved", 2500);
  EXPECT_EQ(sim::NativeCallNames(), (std::vector<std::string>{"ClearPrintedMessages", "PrintLiteralMessage"}));
  EXPECT_EQ(sim::NativeLog()[1].args, (std::vector<std::string>{"STRING", "Outfit Saved", "2500", "true"}));
}

}  // namespace
}  // namespace menu_test
