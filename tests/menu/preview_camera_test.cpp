// The preview camera placed in front of the player and written into the host's camera
// object, the menu frame's pose of the player, and the idle clothing animations.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "menu/idle_animation.h"
#include "menu/preview_camera.h"
#include "menu/wardrobe_menu_frame.h"
#include "menu_test_support.h"

namespace menu_test {
namespace {

class PreviewCameraTest : public MenuHostTest {};

void SetPlayerMatrix(const float (&matrix)[16]) { std::memcpy(sim::PlayerMatrix(), matrix, sizeof matrix); }

const float identityAtOrigin[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

TEST_F(PreviewCameraTest, HalfTurnAboutZReversesTheAxesInFloat32) {
  float m[16] = {1, 0, 0, 7, 0, 1, 0, 8, 0, 0, 1, 9, 4, 5, 6, 1};
  RotateMatrixEuler(m, 0.0f, 0.0f, 3.1415927f);
  const float sz = static_cast<float>(std::sin(static_cast<double>(3.1415927f)));
  EXPECT_FLOAT_EQ(sz, -8.742278e-08f);
  const float expected[16] = {-1, sz, 0, 7, -sz, -1, 0, 8, 0, 0, 1, 9, 4, 5, 6, 1};
  for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], expected[i]) << i;
}

// Against the rotation worked out in double: x, y and z turns alone and together.
TEST_F(PreviewCameraTest, RotationMatchesTheRowVectorProduct) {
  struct Case {
    float ax, ay, az;
  };
  const Case cases[] = {{0.7f, 0, 0}, {0, -1.2f, 0}, {0, 0, 2.5f}, {0.3f, -0.4f, 1.9f}};
  const float start[16] = {0.6f, 0.8f, 0, 11, -0.8f, 0.6f, 0, 12, 0, 0, 1, 13, 100, -200, 15, 1};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.ax) + " " + std::to_string(c.ay) + " " + std::to_string(c.az));
    const double ax = c.ax, ay = c.ay, az = c.az;
    const double cx = std::cos(ax), sx = std::sin(ax), cy = std::cos(ay), sy = std::sin(ay), cz = std::cos(az),
                 sz = std::sin(az);
    // The product of the three turns: about y, then about x, then about z, as row vectors.
    double r[3][3] = {{cz * cy - sz * sx * sy, cz * sx * sy + sz * cy, -cx * sy},
                      {-sz * cx, cz * cx, sx},
                      {sz * sx * cy + cz * sy, sz * sy - cz * sx * cy, cx * cy}};
    // Each turn keeps lengths: the rows of r are orthonormal.
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(r[i][0] * r[i][0] + r[i][1] * r[i][1] + r[i][2] * r[i][2], 1.0, 1e-12);
    }
    float m[16];
    std::memcpy(m, start, sizeof m);
    RotateMatrixEuler(m, c.ax, c.ay, c.az);
    for (int row = 0; row < 3; ++row) {
      for (int k = 0; k < 3; ++k) {
        double expected = start[4 * row] * r[0][k] + start[4 * row + 1] * r[1][k] + start[4 * row + 2] * r[2][k];
        EXPECT_NEAR(m[4 * row + k], expected, 2e-6) << row << "," << k;
      }
      EXPECT_EQ(m[4 * row + 3], start[4 * row + 3]);
    }
    for (int i = 12; i < 16; ++i) EXPECT_EQ(m[i], start[i]);
  }
}

TEST_F(PreviewCameraTest, MenuFramePosesThePlayerAndPlacesTheCamera) {
  SetPlayerMatrix(identityAtOrigin);
  sim::ClearNativeLog();
  UpdateWardrobeMenu(WardrobeSites[1].heading, PlayerMenuControls);

  std::vector<std::string> names = sim::NativeCallNames();
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 3),
            (std::vector<std::string>{"PreparePedForMenuFrame", "SetPedHeading", "SetPlayerControl"}));
  const std::vector<sim::NativeCall>& log = sim::NativeLog();
  EXPECT_EQ(log[0].IntArg(0), sim::PlayerPedHandle);
  EXPECT_EQ(log[1].IntArg(0), sim::PlayerPedHandle);
  EXPECT_EQ(log[1].FloatArg(1), 215.0f);
  EXPECT_EQ(log[2].args, (std::vector<std::string>{std::to_string(sim::LocalPlayerIndexValue()), "false"}));
  EXPECT_FALSE(sim::Ped().playerControl);
  EXPECT_GT(sim::CountNativeCalls("DisplayLiteralText"), 0);  // the rows ran

  const float* m = PreviewCamera.matrix;
  EXPECT_TRUE(PreviewCamera.active);
  EXPECT_EQ(PreviewCamera.fieldOfView, 55.0f);
  EXPECT_EQ(m[12], 0.0f);
  EXPECT_EQ(m[13], 2.1f);
  EXPECT_EQ(m[14], -0.1f);
  EXPECT_EQ(m[0], -1.0f);
  EXPECT_NEAR(m[1], 0.0f, 1e-7);
  EXPECT_EQ(m[2], 0.0f);
  EXPECT_NEAR(m[4], 0.0f, 1e-7);
  EXPECT_EQ(m[5], -1.0f);
  EXPECT_EQ(m[6], 0.0f);
  EXPECT_EQ(m[8], 0.0f);
  EXPECT_EQ(m[9], 0.0f);
  EXPECT_EQ(m[10], 1.0f);
}

// a * b + c rounded to float32 after the product and after the sum.
float ProductSum(float a, float b, float c) {
  volatile float product = a * b;
  volatile float sum = product + c;
  return sum;
}

// The camera stands 2.1 along the player's forward axis and 0.1 below, and its axes are
// the player's turned half about z; every product and sum is rounded to float32, as in
// the host's own vector code, whatever the player's heading.
TEST_F(PreviewCameraTest, CameraMatrixIsExactInFloat32ForATurnedPlayer) {
  const float cz = static_cast<float>(std::cos(static_cast<double>(3.1415927f)));
  const float sz = static_cast<float>(std::sin(static_cast<double>(3.1415927f)));
  for (int heading = 0; heading < 360; heading += 7) {
    const int site = heading % 8;
    SCOPED_TRACE("heading " + std::to_string(heading));
    sim::PutPlayerAtSite(site);
    sim::SetPlayerHeadingNow(static_cast<float>(heading));
    const float* p = sim::PlayerMatrix();
    float expected[16];
    for (int k = 0; k < 3; ++k) {
      expected[12 + k] = ProductSum(-0.1f, p[8 + k], ProductSum(2.1f, p[4 + k], p[12 + k]));
    }
    expected[15] = p[15];
    // With no turn about x and y the half turn's matrix is (cz, sz, -0 / -sz, cz, 0 / 0, 0, 1).
    for (int row = 0; row < 3; ++row) {
      const float* v = p + 4 * row;
      volatile float x = v[0] * cz;
      expected[4 * row] = ProductSum(v[2], 0.0f, ProductSum(v[1], -sz, x));
      volatile float y = v[0] * sz;
      expected[4 * row + 1] = ProductSum(v[2], 0.0f, ProductSum(v[1], cz, y));
      volatile float z = v[0] * -0.0f;
      expected[4 * row + 2] = ProductSum(v[2], 1.0f, ProductSum(v[1], 0.0f, z));
      expected[4 * row + 3] = v[3];
    }
    UpdateWardrobeMenu(WardrobeSites[site].heading, PlayerMenuControls);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(PreviewCamera.matrix[i], expected[i]) << i;
  }
}

TEST_F(PreviewCameraTest, CameraObjectIsWrittenOnlyWhileActiveAndPresent) {
  struct Case {
    const char* name;
    bool active;
    bool cameraPresent;
    bool written;
  };
  const Case cases[] = {
      {"active with a camera", true, true, true},
      {"inactive", false, true, false},
      {"no camera object", true, false, false},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    sim::SetCameraPresent(true);
    sim::ResetHostCamera();
    uint8_t* object = reinterpret_cast<uint8_t*>(sim::CameraObjectAddress());
    uint8_t before[0x80];
    std::memcpy(before, object, sizeof before);
    sim::SetCameraPresent(testCase.cameraPresent);

    PreviewCameraRecord record;
    record.active = testCase.active;
    for (int i = 0; i < 16; ++i) record.matrix[i] = 0.5f * float(i) - 3.0f;
    record.fieldOfView = 55.0f;
    ApplyPreviewCamera(record);

    if (testCase.written) {
      EXPECT_EQ(std::memcmp(object + 0x10, record.matrix, 64), 0);
      EXPECT_EQ(sim::CameraObjectFieldOfView(), 55.0f);
      // Nothing else of the object changes.
      EXPECT_EQ(std::memcmp(object, before, 0x10), 0);
      EXPECT_EQ(std::memcmp(object + 0x50, before + 0x50, 0x10), 0);
      EXPECT_EQ(std::memcmp(object + 0x64, before + 0x64, 0x1C), 0);
    } else {
      EXPECT_EQ(std::memcmp(object, before, sizeof before), 0);
    }
  }
  sim::SetCameraPresent(true);
}

// The menu time gathers by the host's frame time and plays an animation each time it
// passes 20 seconds; exactly 20 is not enough.
TEST_F(PreviewCameraTest, IdleAnimationPlaysWhenMenuTimePassesTwentySeconds) {
  struct Case {
    double start;
    float frameTime;
    bool plays;
    double after;
  };
  const Case cases[] = {
      {20.0, 1.0f / 30.0f, true, 0.0},  // the first menu frame after load
      {20.0, 0.0f, false, 20.0},       {10.0, 10.0f, false, 20.0}, {19.5, 0.75f, true, 0.0}, {0.0, 0.25f, false, 0.25},
  };
  for (const Case& testCase : cases) {
    SCOPED_TRACE(std::to_string(testCase.start) + " + " + std::to_string(testCase.frameTime));
    sim::Ped().animation.clear();
    idleSeconds = testCase.start;
    sim::SetFrameTime(testCase.frameTime);
    sim::ClearNativeLog();
    UpdateWardrobeMenu(WardrobeSites[0].heading, PlayerMenuControls);
    EXPECT_EQ(idleSeconds, testCase.after);
    EXPECT_EQ(sim::CountNativeCalls("PlayPedAnim"), testCase.plays ? 1 : 0);
    EXPECT_EQ(!sim::Ped().animation.empty(), testCase.plays);
  }
}

TEST_F(PreviewCameraTest, IdleAnimationLoadsTheClothingSetFirst) {
  const std::vector<std::string> animations = {"examine shirt", "examine legs", "examine shoes", "brushoff_suit_stand",
                                               "tie_adjust_stand"};
  sim::ClearNativeLog();
  PlayIdleAnimation();
  EXPECT_EQ(sim::NativeCallNames(), (std::vector<std::string>{"HasAnimSetLoaded", "RequestAnimSet", "LoadRequestsNow",
                                                              "HasAnimSetLoaded", "PlayPedAnim"}));
  ASSERT_EQ(sim::CountNativeCalls("PlayPedAnim"), 1);
  sim::NativeCall play = sim::NativeCallsNamed("PlayPedAnim")[0];
  EXPECT_EQ(play.IntArg(0), sim::PlayerPedHandle);
  EXPECT_NE(std::find(animations.begin(), animations.end(), play.args[1]), animations.end()) << play.args[1];
  EXPECT_EQ(std::vector<std::string>(play.args.begin() + 2, play.args.end()),
            (std::vector<std::string>{"clothing", "1", "0", "0", "0", "0", "-2"}));
  EXPECT_EQ(sim::NativeCallsNamed("RequestAnimSet")[0].args[0], "clothing");

  // Loaded already: played at once.
  sim::ClearNativeLog();
  PlayIdleAnimation();
  EXPECT_EQ(sim::NativeCallNames(), (std::vector<std::string>{"HasAnimSetLoaded", "HasAnimSetLoaded", "PlayPedAnim"}));

  // A set the host cannot load skips this turn; the menu frame still starts a new interval.
  sim::World().animSetsLoaded.clear();
  sim::World().animSetsLoad = false;
  sim::Ped().animation.clear();
  idleSeconds = 20.0;
  sim::ClearNativeLog();
  UpdateWardrobeMenu(WardrobeSites[0].heading, PlayerMenuControls);
  EXPECT_EQ(sim::CountNativeCalls("RequestAnimSet"), 1);
  EXPECT_EQ(sim::CountNativeCalls("PlayPedAnim"), 0);
  EXPECT_EQ(idleSeconds, 0.0);
}

// The generator's formula, whatever its state now: three outputs pin the state down,
// and the animation played next is the one the formula predicts.
TEST_F(PreviewCameraTest, IdleAnimationPicksFollowTheGeneratorFormula) {
  const char* const animations[] = {"examine shirt", "examine legs", "examine shoes", "brushoff_suit_stand",
                                    "tie_adjust_stand"};
  auto next = [](uint32_t& state) {
    state = state * 214013u + 2531011u;
    return (state >> 16) & 0x7FFFu;
  };
  uint32_t r1 = NextIdleRandom(), r2 = NextIdleRandom(), r3 = NextIdleRandom();
  std::vector<uint32_t> predictions;
  for (uint32_t high = 0; high < 2; ++high) {
    for (uint32_t low = 0; low < 0x10000; ++low) {
      uint32_t state = (high << 31) | (r1 << 16) | low;
      if (next(state) != r2 || next(state) != r3) continue;
      predictions.push_back(next(state));
    }
  }
  ASSERT_FALSE(predictions.empty()) << "no state of the formula gives " << r1 << ", " << r2 << ", " << r3;
  for (uint32_t prediction : predictions) EXPECT_EQ(prediction, predictions[0]);

  sim::World().animSetsLoaded.insert("clothing");
  sim::ClearNativeLog();
  PlayIdleAnimation();
  ASSERT_EQ(sim::CountNativeCalls("PlayPedAnim"), 1);
  EXPECT_EQ(sim::NativeCallsNamed("PlayPedAnim")[0].args[1], animations[predictions[0] % 5]);
}

}  // namespace
}  // namespace menu_test
