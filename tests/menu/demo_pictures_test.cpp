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
  std::string side;  // the side the preview camera sees; "" through the host's camera
  std::string transcript;
};

int Width(const Rect& r) { return r.x1 - r.x0; }
int Height(const Rect& r) { return r.y1 - r.y0; }
int Area(const Rect& r) { return Width(r) * Height(r); }

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
    // The demo is some 300 frames, each traced native by native: in the emulated guest
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
      screen.side = figure["side"].Str();
      screen.transcript = (*event)["transcript"].Str();
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

// The "View" row in the demo: the same look (a jacket with bands, a hat) from the
// front, the right, the back, the left, near the head and near the feet. Seen from
// behind, the face is gone: where the front picture shows the face, the back one shows
// the hair, and where it shows the shirt, the jacket's back. From the side the figure
// is narrower; from Head the hat is larger, from Feet the shoes.
TEST_F(DemoPictures, ViewsShowTheOtherSidesAndCloserParts) {
  const Screen& front = At("18-view-front.png");
  const Screen& right = At("19-view-right.png");
  const Screen& back = At("20-view-back.png");
  const Screen& left = At("21-view-left.png");
  const Screen& head = At("22-view-head.png");
  const Screen& feet = At("23-view-feet.png");
  EXPECT_EQ(front.side, "front");
  EXPECT_EQ(right.side, "right");
  EXPECT_EQ(back.side, "back");
  EXPECT_EQ(left.side, "left");
  EXPECT_EQ(head.side, "front");
  EXPECT_EQ(feet.side, "front");
  EXPECT_NE(back.transcript.find("figure seen from: back\n"), std::string::npos) << back.transcript;
  EXPECT_NE(back.transcript.find("> View | Back   "), std::string::npos) << back.transcript;
  EXPECT_NE(head.transcript.find("> View | Head   "), std::string::npos) << head.transcript;
  for (const char* part : {"head", "hair", "jacket", "torso", "hat", "feet"}) {
    ASSERT_EQ(front.parts.count(part), 1u) << part;
    ASSERT_EQ(back.parts.count(part), 1u) << part;
  }

  // The face: the middle of the head's rectangle, most of it another colour.
  const Rect skull = front.parts.at("head");
  const Rect face{skull.x0 + Width(skull) / 4, skull.y0 + Height(skull) / 4, skull.x1 - Width(skull) / 4,
                  skull.y1 - Height(skull) / 4};
  ASSERT_GT(Area(face), 0);
  EXPECT_GT(Differing(front, back, face), Area(face) * 3 / 4);
  // The shirt's middle: the jacket's back covers it.
  const Rect shirt = front.parts.at("torso");
  const Rect middle{shirt.x0 + Width(shirt) / 4, shirt.y0 + Height(shirt) / 4, shirt.x1 - Width(shirt) / 4,
                    shirt.y1 - Height(shirt) / 4};
  EXPECT_GT(Differing(front, back, middle), Area(middle) * 3 / 4);
  // Legs and feet are the same boxes from behind: the same size.
  EXPECT_NEAR(Width(back.parts.at("legs")), Width(front.parts.at("legs")), 1);

  // From either side the jacket is narrower.
  for (const Screen* side : {&right, &left}) {
    ASSERT_EQ(side->parts.count("jacket"), 1u);
    EXPECT_LT(Width(side->parts.at("jacket")), Width(front.parts.at("jacket")) * 2 / 3);
  }

  // Head: the hat at least twice as large each way, whole in the picture, and the head
  // with it; the feet below the picture's edge.
  ASSERT_EQ(head.parts.count("hat"), 1u);
  const Rect& hat = head.parts.at("hat");
  EXPECT_GT(Width(hat), 2 * Width(front.parts.at("hat")));
  EXPECT_GT(Height(hat), 2 * Height(front.parts.at("hat")));
  for (const char* part : {"hat", "head"}) {
    const Rect& r = head.parts.at(part);
    EXPECT_TRUE(r.x0 >= 0 && r.y0 >= 0 && r.x1 <= head.width && r.y1 <= head.height) << part;
  }
  EXPECT_GT(Differing(front, head, hat), Area(hat) / 2);
  EXPECT_GE(head.parts.at("feet").y0, head.height) << "cut off by the bottom edge";
  // Feet: the shoes larger and whole in the picture.
  const Rect& shoes = feet.parts.at("feet");
  EXPECT_GT(Width(shoes), 2 * Width(front.parts.at("feet")));
  EXPECT_TRUE(shoes.x0 >= 0 && shoes.y0 >= 0 && shoes.x1 <= feet.width && shoes.y1 <= feet.height);
}

// Accept from the back view closes the menu with the player facing the site again
// (site 2: 270 degrees), and the host's camera shows the figure as it always did.
TEST_F(DemoPictures, AcceptFromTheBackFacesTheSiteAgain) {
  const Screen& closed = At("24-closed-from-back.png");
  EXPECT_EQ(closed.side, "");
  EXPECT_EQ(closed.transcript.find("figure seen from"), std::string::npos) << closed.transcript;
  const JsonValue* state = run->LastEvent("state");
  ASSERT_NE(state, nullptr);
  EXPECT_EQ((*state)["heading"].Num(), 270.0);
  EXPECT_TRUE((*state)["control"].Bool());
  EXPECT_EQ((*state)["props"][0].Int(), 0) << "the hat stays";
}

}  // namespace
