// The demo's pictures show what the wardrobe does to the player's character: between
// two screens of sim/demo.scenario, the figure changes where a slot changed and nowhere
// else. The demo runs as sim/run-demo.sh runs it, with the built plug-in.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "sim/sim.h"
#include "support/host_run.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
#pragma GCC diagnostic pop

namespace {

struct Rect {
  int x0, y0, x1, y1;
  bool Overlaps(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
};

struct Screen {
  int width = 0, height = 0;
  std::vector<unsigned char> rgb;
  std::map<std::string, Rect> parts;  // the figure's parts as the trace gives them
  std::string pose;
};

// Pixels that differ between two screens inside a rectangle.
int Differing(const Screen& a, const Screen& b, const Rect& r) {
  int count = 0;
  for (int y = std::max(0, r.y0); y < std::min(a.height, r.y1); ++y) {
    for (int x = std::max(0, r.x0); x < std::min(a.width, r.x1); ++x) {
      const size_t at = 3 * (static_cast<size_t>(y) * a.width + x);
      count += a.rgb[at] != b.rgb[at] || a.rgb[at + 1] != b.rgb[at + 1] || a.rgb[at + 2] != b.rgb[at + 2];
    }
  }
  return count;
}

class DemoPictures : public ::testing::Test {
 protected:
  // One demo run for all the tests of this executable.
  static void SetUpTestSuite() {
    sim::Boot();
    if (sim::FileVersion() != 1070) return;  // the demo is of build 1.0.7.0
    std::string scenario = ReadTextFile(SourcePath("sim/demo.scenario"));
    const std::string load = "load-plugin ../Wardrobe.asi";
    scenario.replace(scenario.find(load), load.size(), "load-plugin " + PluginPath());
    const std::string workDir = FreshWorkDir("demo");
    // The demo is some 200 frames, each traced native by native: in the emulated guest
    // on a busy machine that takes minutes, more than a test scenario's usual limit.
    run = std::make_unique<HostRun>(RunHost(1070, scenario, workDir, 600000));
    for (const JsonValue* event : run->Events("screen")) {
      Screen screen;
      int channels = 0;
      const std::string path = event->Find("path")->Str();
      unsigned char* pixels =
          stbi_load(WindowsPath(workDir + "/" + path).c_str(), &screen.width, &screen.height, &channels, 3);
      if (pixels == nullptr) continue;
      screen.rgb.assign(pixels, pixels + static_cast<size_t>(screen.width) * screen.height * 3);
      stbi_image_free(pixels);
      const JsonValue& figure = (*event)["figure"];
      for (const auto& [name, box] : figure["parts"].fields) {
        screen.parts[name] = {static_cast<int>(box[0].Int()), static_cast<int>(box[1].Int()),
                              static_cast<int>(box[2].Int()), static_cast<int>(box[3].Int())};
      }
      screen.pose = figure["pose"].Str();
      screens[path] = screen;
    }
  }
  static void TearDownTestSuite() { run.reset(); }

  void SetUp() override {
    if (sim::FileVersion() != 1070) GTEST_SKIP() << "the demo is of build 1.0.7.0";
    ASSERT_TRUE(run->RanToEnd()) << run->traceText;
  }

  static const Screen& At(const std::string& path) {
    static const Screen none;
    auto found = screens.find(path);
    EXPECT_NE(found, screens.end()) << "no picture " << path;
    return found == screens.end() ? none : found->second;
  }

  // From screen a to screen b, the parts named changed differ and every other part of
  // the figure that does not overlap them is the same, pixel for pixel.
  static void ExpectChange(const std::string& a, const std::string& b, const std::vector<std::string>& changed) {
    const Screen& before = At(a);
    const Screen& after = At(b);
    ASSERT_FALSE(before.parts.empty()) << a << ": no figure";
    ASSERT_EQ(before.width, after.width);
    ASSERT_EQ(before.height, after.height);
    for (const std::string& name : changed) {
      const auto part = after.parts.find(name);
      ASSERT_NE(part, after.parts.end()) << b << ": no " << name;
      EXPECT_GT(Differing(before, after, part->second), 0) << name << " should change from " << a << " to " << b;
    }
    for (const auto& [name, rect] : before.parts) {
      bool nearChange = false;
      for (const std::string& other : changed) {
        const auto part = after.parts.find(other);
        nearChange = nearChange || name == other || (part != after.parts.end() && rect.Overlaps(part->second));
      }
      if (!nearChange) {
        EXPECT_EQ(Differing(before, after, rect), 0) << name << " should stay from " << a << " to " << b;
      }
    }
  }

  static inline std::unique_ptr<HostRun> run;
  static inline std::map<std::string, Screen> screens;
};

TEST_F(DemoPictures, EachStepShowsItsChangeOnTheFigure) {
  ExpectChange("02-menu-open.png", "03-head-changed.png", {"head"});
  ExpectChange("03-head-changed.png", "04-torso-variant.png", {"torso"});
  ExpectChange("04-torso-variant.png", "05-hat.png", {"hat"});
  ExpectChange("05-hat.png", "07-second-hat.png", {"hat"});
}

TEST_F(DemoPictures, CancelPutsTheOldLookBackAndTheCameraFollowsTheMenu) {
  const Screen& prompt = At("01-prompt.png");
  const Screen& open = At("02-menu-open.png");
  const Screen& cancelled = At("12-cancelled.png");
  ASSERT_FALSE(prompt.parts.empty());
  ASSERT_FALSE(open.parts.empty());
  // Before the menu the host's camera is behind the player; the preview camera in front
  // shows the figure larger.
  const Rect& smallHead = prompt.parts.at("head");
  const Rect& bigHead = open.parts.at("head");
  EXPECT_GT(bigHead.y1 - bigHead.y0, smallHead.y1 - smallHead.y0);
  // After Cancel the host's camera and the old clothes are back: the figure is the one
  // of the prompt, without the hat.
  EXPECT_EQ(cancelled.parts.count("hat"), 0u);
  for (const auto& [name, rect] : prompt.parts) {
    ASSERT_EQ(cancelled.parts.count(name), 1u) << name;
    EXPECT_EQ(Differing(prompt, cancelled, rect), 0) << name;
  }
}

// Deleting in the demo: the first Accept only asks, naming the outfit; the second
// deletes it, and the character's look is the same in both pictures.
TEST_F(DemoPictures, DeleteAsksFirstThenDeletesAndTheLookStays) {
  ExpectChange("16-delete-armed.png", "17-outfit-deleted.png", {});
  std::map<std::string, std::string> transcripts;
  for (const JsonValue* event : run->Events("screen")) {
    transcripts[event->Find("path")->Str()] = (*event)["transcript"].Str();
  }
  const std::string& armed = transcripts["16-delete-armed.png"];
  EXPECT_NE(armed.find("> Delete Outfit | 1/1   "), std::string::npos) << armed;
  EXPECT_NE(armed.find("message: Delete outfit 1/1 Beach Day?"), std::string::npos) << armed;
  const std::string& deleted = transcripts["17-outfit-deleted.png"];
  EXPECT_NE(deleted.find("  Outfit | 1/0  (disabled)"), std::string::npos) << deleted;
  EXPECT_NE(deleted.find("> Delete Outfit | 1/0  (disabled)"), std::string::npos) << deleted;
  EXPECT_NE(deleted.find("message: Outfit Deleted"), std::string::npos) << deleted;
}

}  // namespace
