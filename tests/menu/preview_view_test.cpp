// The "View" row: the player turned so that the camera, which stays in front of the
// site's heading, sees another side, or the camera nearer to the head or the feet.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "menu/preview_view.h"
#include "menu/wardrobe_menu_frame.h"
#include "menu_test_support.h"
#include "sim/figure.h"

namespace menu_test {
namespace {

class PreviewViews : public MenuHostTest {
 protected:
  // One menu frame at the site with the view chosen; the heading asked for reaches the
  // character's matrix when the host turns it (turnNow) or on the next host frame.
  static void ViewFrame(int site, bool turnNow = true) {
    sim::ClearNativeLog();
    UpdateWardrobeMenu(WardrobeSites[site].heading, PlayerMenuControls);
    if (turnNow) sim::ApplyPendingHeading();
  }

  // The camera of a menu that was never turned: Front, the character at the site's
  // heading.
  static std::vector<float> FrontCamera(int site) {
    const PreviewView view = WardrobeMenu.view;
    const float turn = WardrobeMenu.headingTurn;
    sim::SetPlayerHeadingNow(WardrobeSites[site].heading);
    WardrobeMenu.view = PreviewView::Front;
    WardrobeMenu.headingTurn = 0.0f;
    UpdateWardrobeMenu(WardrobeSites[site].heading, PlayerMenuControls);
    WardrobeMenu.view = view;
    WardrobeMenu.headingTurn = turn;
    return std::vector<float>(PreviewCamera.matrix, PreviewCamera.matrix + 16);
  }

  static float LastHeadingAsked() {
    const std::vector<sim::NativeCall> calls = sim::NativeCallsNamed("SetPedHeading");
    return calls.empty() ? -1.0f : calls.back().FloatArg(1);
  }
};

// The camera's position in the character's own frame: along its right, forward and up
// axes from its position.
struct Offset {
  float right, forward, up;
};

Offset CameraOffset(const float* camera, const float* character) {
  float d[3];
  for (int k = 0; k < 3; ++k) d[k] = camera[12 + k] - character[12 + k];
  auto along = [&](int row) {
    return d[0] * character[4 * row] + d[1] * character[4 * row + 1] + d[2] * character[4 * row + 2];
  };
  return {along(0), along(1), along(2)};
}

// Each view at every site, once the host has turned the character: the heading asked
// for, the side of the character facing the camera, and the camera itself, which for
// the turns is Front's and for Head and Feet Front's moved along its line of sight and
// its up axis.
TEST_F(PreviewViews, EachViewTurnsThePlayerAndKeepsTheCameraInFront) {
  struct Case {
    PreviewView view;
    float turn;
    Offset seenFrom;  // the camera in the turned character's frame
    float closer, rise;
  };
  const Case cases[] = {
      {PreviewView::Front, 0.0f, {0.0f, 2.1f, -0.1f}, 0.0f, 0.0f},
      {PreviewView::Right, 90.0f, {2.1f, 0.0f, -0.1f}, 0.0f, 0.0f},
      {PreviewView::Back, 180.0f, {0.0f, -2.1f, -0.1f}, 0.0f, 0.0f},
      {PreviewView::Left, 270.0f, {-2.1f, 0.0f, -0.1f}, 0.0f, 0.0f},
      {PreviewView::Head, 0.0f, {0.0f, 0.75f, 0.65f}, 1.35f, 0.75f},
      {PreviewView::Feet, 0.0f, {0.0f, 0.7f, -0.85f}, 1.4f, -0.75f},
  };
  for (const Case& testCase : cases) {
    for (int site = 0; site < 8; ++site) {
      SCOPED_TRACE(std::string(PreviewViewName(testCase.view)) + " at site " + std::to_string(site));
      sim::PutPlayerAtSite(site);
      const std::vector<float> front = FrontCamera(site);
      WardrobeMenu.view = testCase.view;
      ViewFrame(site);
      ViewFrame(site);

      float heading = WardrobeSites[site].heading + testCase.turn;
      if (heading >= 360.0f) heading -= 360.0f;
      EXPECT_EQ(LastHeadingAsked(), heading);
      EXPECT_EQ(sim::Ped().heading, heading);
      EXPECT_EQ(PreviewCamera.fieldOfView, 55.0f);
      EXPECT_TRUE(PreviewCamera.active);

      const float* camera = PreviewCamera.matrix;
      const Offset offset = CameraOffset(camera, sim::PlayerMatrix());
      EXPECT_NEAR(offset.right, testCase.seenFrom.right, 1e-4);
      EXPECT_NEAR(offset.forward, testCase.seenFrom.forward, 1e-4);
      EXPECT_NEAR(offset.up, testCase.seenFrom.up, 1e-4);

      if (testCase.view == PreviewView::Front) {
        EXPECT_EQ(std::memcmp(camera, front.data(), 64), 0) << "Front is the camera of a menu never turned";
      }
      for (int i = 0; i < 12; ++i) EXPECT_NEAR(camera[i], front[i], 1e-6) << i;
      // Front's camera moved along its line of sight (row 1) and its up axis (row 2).
      for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(camera[12 + k], front[12 + k] + testCase.closer * front[4 + k] + testCase.rise * front[8 + k], 1e-4)
            << k;
      }
    }
  }
}

// The host turns the character a frame after it is asked to, or at once: either way
// the camera stays in front of the site's heading on every frame, and back at Front it
// is again bit for bit the camera of a menu never turned.
TEST_F(PreviewViews, CameraStaysInFrontWhileTheHostTurnsTheCharacter) {
  const int site = 5;
  sim::PutPlayerAtSite(site);
  const std::vector<float> front = FrontCamera(site);
  auto expectFront = [&](const char* when) {
    SCOPED_TRACE(when);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(PreviewCamera.matrix[i], front[i], 1e-4) << i;
  };
  ViewFrame(site);
  const PreviewView steps[] = {PreviewView::Right, PreviewView::Back, PreviewView::Head, PreviewView::Left,
                               PreviewView::Front};
  for (const PreviewView view : steps) {
    SCOPED_TRACE(PreviewViewName(view));
    WardrobeMenu.view = view;
    ViewFrame(site, false);  // the character still carries the turn of the view before
    if (view != PreviewView::Head) expectFront("the host turns a frame later");
    sim::ApplyPendingHeading();
    ViewFrame(site, false);
    if (view != PreviewView::Head) expectFront("once it has turned");
  }
  EXPECT_EQ(std::memcmp(PreviewCamera.matrix, front.data(), 64), 0);

  // A host that turns the character as soon as it is asked.
  WardrobeMenu.view = PreviewView::Back;
  sim::SetPlayerHeadingNow(WardrobeSites[site].heading + 180.0f - 360.0f * (WardrobeSites[site].heading >= 180.0f));
  ViewFrame(site, false);
  expectFront("turned at once");
}

// Left and Right step through the six views, wrapping both ways, with the value sound
// and the adjust help; the row is never disabled and lies right before "Accept".
TEST_F(PreviewViews, ViewRowStepsThroughTheViewsAndWraps) {
  SetAllComponents({1});
  std::vector<DrawnRow> rows = MenuFrame();
  const int viewRow = IndexOfRow(rows, "View");
  ASSERT_GE(viewRow, 0);
  EXPECT_EQ(rows[viewRow - 1].label, "Delete Outfit");
  EXPECT_EQ(rows[viewRow + 1].label, "Accept");
  EXPECT_EQ(rows[viewRow + 2].label, "Cancel");
  EXPECT_EQ(rows[viewRow].value, "Front");
  EXPECT_EQ(rows[viewRow].colour, sim::HostColourEntry(NormalEntry));

  WardrobeMenu.selectedRow = viewRow;
  const std::vector<std::string> rightwards = {"Right", "Back", "Left", "Head", "Feet", "Front"};
  for (const std::string& next : rightwards) {
    MenuFrame({PadRight});
    EXPECT_EQ(CountSounds(HighlightSound), 1);
    EXPECT_EQ(PrintedTexts(), std::vector<std::string>{"~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust"});
    rows = MenuFrame();
    EXPECT_EQ(rows[viewRow].value, next);
    EXPECT_EQ(rows[viewRow].colour, sim::HostColourEntry(HighlightedEntry));
  }
  const std::vector<std::string> leftwards = {"Feet", "Head", "Left", "Back", "Right", "Front"};
  for (const std::string& next : leftwards) {
    MenuFrame({PadLeft});
    EXPECT_EQ(MenuFrame()[viewRow].value, next);
  }
  // Both at once: no step, no sound.
  MenuFrame({PadLeft, PadRight});
  EXPECT_EQ(CountSounds(HighlightSound), 0);
  EXPECT_EQ(WardrobeMenu.view, PreviewView::Front);

  sim::SetUsingPad(false);
  MenuFrame();
  EXPECT_EQ(PrintedTexts(), std::vector<std::string>{"[W]/[S] Move~n~[A]/[D] Adjust"});
}

// The clothing animations go on in every view, on the same menu time.
TEST_F(PreviewViews, IdleAnimationsPlayInEveryView) {
  for (uint32_t view = 0; view < PreviewViewCount; ++view) {
    SCOPED_TRACE(PreviewViewName(static_cast<PreviewView>(view)));
    WardrobeMenu.view = static_cast<PreviewView>(view);
    sim::Ped().animation.clear();
    idleSeconds = 19.99;
    sim::SetFrameTime(1.0f / 30.0f);
    ViewFrame(3);
    EXPECT_EQ(sim::CountNativeCalls("PlayPedAnim"), 1);
    EXPECT_FALSE(sim::Ped().animation.empty());
    EXPECT_EQ(idleSeconds, 0.0);
  }
}

// Accept or Cancel in a turned view: the closing the driver makes on the same frame
// turns the player back to the site's heading; at Front nothing more is asked.
TEST_F(PreviewViews, ClosingTurnsThePlayerBackToTheSite) {
  struct Case {
    PreviewView view;
    bool cancel;
    int headingCalls;
  };
  const Case cases[] = {{PreviewView::Back, true, 2},
                        {PreviewView::Right, false, 2},
                        {PreviewView::Front, true, 1},
                        {PreviewView::Feet, false, 1},
                        {PreviewView::Left, true, 2}};
  SetAllComponents({1});
  const int site = 1;
  sim::PutPlayerAtSite(site);
  for (const Case& testCase : cases) {
    SCOPED_TRACE(PreviewViewName(testCase.view));
    WardrobeMenu = WardrobeMenuRecord();
    WardrobeMenu.view = testCase.view;
    ViewFrame(site);
    WardrobeMenu.selectedRow = IndexOfRow(MenuFrame(), testCase.cancel ? "Cancel" : "Accept");
    Press({PadAccept});
    ViewFrame(site);
    EXPECT_TRUE(testCase.cancel ? WardrobeMenu.cancelRequested : WardrobeMenu.acceptRequested);
    EndWardrobeMenuSession(WardrobeSites[site].heading);
    EXPECT_EQ(WardrobeMenu.view, PreviewView::Front);
    EXPECT_EQ(sim::CountNativeCalls("SetPedHeading"), testCase.headingCalls);
    EXPECT_EQ(LastHeadingAsked(), WardrobeSites[site].heading);
    EXPECT_EQ(sim::Ped().heading, WardrobeSites[site].heading);
  }
}

// Head and Feet on the simulated screen, at 16:9 and at 4:3: the part is whole in the
// picture and much larger than at Front; the hat and glasses from Head, the shoes from
// Feet.
TEST_F(PreviewViews, HeadAndFeetShowTheirPartWholeAndLarge) {
  struct Case {
    PreviewView view;
    std::vector<std::string> whole;  // parts entirely in the picture
    std::string larger;              // at least twice as wide and as high as at Front
  };
  const Case cases[] = {{PreviewView::Head, {"hat", "glasses", "head"}, "hat"}, {PreviewView::Feet, {"feet"}, "feet"}};
  sim::PutProp(0, 1, 0);
  sim::PutProp(1, 0, 0);
  const int site = 2;
  sim::PutPlayerAtSite(site);
  for (const int height : {720, 960}) {
    sim::SetResolution(1280, height);
    auto parts = [&](PreviewView view) {
      WardrobeMenu.view = view;
      ViewFrame(site);
      ViewFrame(site);
      ApplyPreviewCamera(PreviewCamera);
      std::vector<sim::FigurePart> found = sim::FigureOnScreen(1280, height).parts;
      return found;
    };
    auto find = [](const std::vector<sim::FigurePart>& parts, const std::string& name) {
      for (const sim::FigurePart& part : parts) {
        if (part.name == name) return part;
      }
      ADD_FAILURE() << "no " << name;
      return sim::FigurePart{};
    };
    const std::vector<sim::FigurePart> front = parts(PreviewView::Front);
    for (const Case& testCase : cases) {
      SCOPED_TRACE(std::string(PreviewViewName(testCase.view)) + " at 1280x" + std::to_string(height));
      const std::vector<sim::FigurePart> viewed = parts(testCase.view);
      for (const std::string& name : testCase.whole) {
        const sim::FigurePart part = find(viewed, name);
        EXPECT_TRUE(part.x0 >= 0 && part.y0 >= 0 && part.x1 <= 1280 && part.y1 <= height)
            << name << " " << part.x0 << "," << part.y0 << " " << part.x1 << "," << part.y1;
      }
      const sim::FigurePart big = find(viewed, testCase.larger);
      const sim::FigurePart small = find(front, testCase.larger);
      EXPECT_GT(big.x1 - big.x0, 2 * (small.x1 - small.x0));
      EXPECT_GT(big.y1 - big.y0, 2 * (small.y1 - small.y0));
    }
  }
}

}  // namespace
}  // namespace menu_test
