// Shared by the menu tests: a fresh simulated host, menu, input state and outfit table
// per test, a working directory of the test's own for the outfit files, and helpers to
// press controls and read back the rows the menu drew.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "core/input_state.h"
#include "core/wardrobe_frame.h"
#include "menu/idle_animation.h"
#include "menu/preview_camera.h"
#include "menu/wardrobe_menu.h"
#include "outfits/outfit.h"
#include "sim/sim.h"
#include "support/host_run.h"
#include "support/plugin_state.h"
#include "support/test_directory.h"

namespace menu_test {

// Pad controls of the menu and of the wardrobe.
constexpr int PadDown = 64;
constexpr int PadUp = 65;
constexpr int PadLeft = 66;
constexpr int PadRight = 67;
constexpr int PadAccept = 77;
constexpr int PadWardrobe = 23;

// Colour table entries of the row states.
constexpr int NormalEntry = 60;
constexpr int HighlightedEntry = 62;
constexpr int DisabledHighlightedEntry = 63;
constexpr int DisabledEntry = 66;

constexpr const char* HighlightSound = "FRONTEND_MENU_HIGHLIGHT";
constexpr const char* ToggleSound = "FRONTEND_MENU_TOGGLE_ON";

// One row as drawn: its label text, its value text (when it has one), its colour.
struct DrawnRow {
  std::string label;
  std::string value;
  bool hasValue = false;
  uint32_t colour = 0;  // 0xAARRGGBB
  float labelX = 0, valueX = 0, y = 0;
};

inline uint32_t PackedColour(const sim::TextState& state) {
  return (uint32_t(state.alpha) << 24) | (uint32_t(state.red) << 16) | (uint32_t(state.green) << 8) | state.blue;
}

// The mark drawn at the edge of the rows on screen when more rows lie beyond it.
constexpr const char* MoreRowsMark = "...";

// The rows drawn since the texts were last cleared: a text at the same y as the one
// before it is that row's value. Marks of more rows are not rows.
inline std::vector<DrawnRow> DrawnRows() {
  std::vector<DrawnRow> rows;
  for (const sim::DrawnText& text : sim::World().drawnThisFrame) {
    if (text.text == MoreRowsMark) continue;
    if (!rows.empty() && !rows.back().hasValue && rows.back().y == text.y) {
      rows.back().value = text.text;
      rows.back().hasValue = true;
      rows.back().valueX = text.x;
      continue;
    }
    DrawnRow row;
    row.label = text.text;
    row.colour = PackedColour(text.state);
    row.labelX = text.x;
    row.y = text.y;
    rows.push_back(row);
  }
  return rows;
}

inline std::vector<std::string> Labels(const std::vector<DrawnRow>& rows) {
  std::vector<std::string> labels;
  for (const DrawnRow& row : rows) labels.push_back(row.label);
  return labels;
}

inline const DrawnRow* FindRow(const std::vector<DrawnRow>& rows, const std::string& label) {
  for (const DrawnRow& row : rows) {
    if (row.label == label) return &row;
  }
  return nullptr;
}

inline int IndexOfRow(const std::vector<DrawnRow>& rows, const std::string& label) {
  for (size_t i = 0; i < rows.size(); ++i) {
    if (rows[i].label == label) return static_cast<int>(i);
  }
  return -1;
}

inline int CountSounds(const std::string& name) {
  int count = 0;
  for (const sim::SoundPlayed& sound : sim::World().sounds) {
    if (sound.name == name && sound.id == -1) ++count;
  }
  return count;
}

// The texts printed with PrintLiteralMessage since the native log was cleared.
inline std::vector<std::string> PrintedTexts() {
  std::vector<std::string> texts;
  for (const sim::NativeCall& call : sim::NativeCallsNamed("PrintLiteralMessage")) texts.push_back(call.args[1]);
  return texts;
}

inline int CountLines(const std::string& text) {
  int lines = 0;
  for (char c : text) lines += c == '\n';
  return lines;
}

// A model where every component wears drawable 0 of the given texture counts.
inline void SetAllComponents(const std::vector<uint32_t>& textureCounts) {
  for (int c = 0; c < sim::ComponentCount; ++c) {
    sim::SetComponentModel(c, textureCounts);
    sim::Wear(c, 0, 0);
  }
}

// Every test starts from the simulated host as booted, the menu and the driver as at
// load, no input, no saved outfits, and an empty working directory of its own.
class MenuHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    static bool intercepted = false;
    if (!intercepted) {
      sim::InterceptImports(GetModuleHandle(nullptr));
      intercepted = true;
    }
    sim::ResetModel();
    ResetPluginState();
    sim::SetUsingPad(true);

    directory = std::make_unique<TestWorkingDirectory>("menu");
    ASSERT_TRUE(directory->Entered());
  }

  void TearDown() override {
    // Nothing the plug-in did may have asked the host for a part the model lacks.
    EXPECT_EQ(sim::World().missingParts, std::vector<std::string>{});
    directory.reset();
    ResetPluginState();
  }

  // Makes the given pad controls "just pressed" for the next menu frame (and nothing
  // else): one sampling with everything up, one with them down.
  static void Press(std::initializer_list<int> controls) {
    sim::ReleaseAllInput();
    SampleInput();
    for (int control : controls) sim::SetPad(control, true);
    SampleInput();
  }

  // One menu frame with only the given controls just pressed; the texts, sounds and
  // native calls seen afterwards are this frame's.
  static std::vector<DrawnRow> MenuFrame(std::initializer_list<int> controls = {}) {
    Press(controls);
    sim::World().drawnThisFrame.clear();
    sim::World().sounds.clear();
    sim::ClearNativeLog();
    BuildWardrobeMenu(PlayerMenuControls);
    return DrawnRows();
  }

  // Highlights the row with that label on the next frame; fails when it is not drawn.
  static void HighlightRow(const std::string& label) {
    std::vector<DrawnRow> rows = MenuFrame();
    int index = IndexOfRow(rows, label);
    ASSERT_GE(index, 0) << label;
    WardrobeMenu.selectedRow = index;
  }

  std::unique_ptr<TestWorkingDirectory> directory;
};

}  // namespace menu_test
