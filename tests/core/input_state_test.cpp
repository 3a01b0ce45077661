// Pad controls and keys sampled once per frame: a press is an edge between the two
// latest samplings, and the menu queries follow the input device in use.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/input_state.h"
#include "core/menu_keys.h"
#include "sim/sim.h"

namespace {

class InputStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    // Key states come from the simulator (idempotent across fixtures).
    sim::InterceptImports(GetModuleHandleW(nullptr));
    sim::ResetModel();
    SampleInput();
    SampleInput();  // nothing held at either sampling: no edge left over
  }
};

TEST_F(InputStateTest, APressIsSeenOnExactlyOneFrame) {
  sim::SetKey('W', true);
  sim::SetPad(23, true);
  EXPECT_FALSE(IsKeyJustPressed('W')) << "not before a sampling saw it";
  SampleInput();
  EXPECT_TRUE(IsKeyJustPressed('W'));
  EXPECT_TRUE(IsKeyJustPressed('W')) << "asking does not consume the edge";
  EXPECT_TRUE(IsControlJustPressed(23));
  SampleInput();  // still held
  EXPECT_FALSE(IsKeyJustPressed('W'));
  EXPECT_FALSE(IsControlJustPressed(23));
  sim::SetKey('W', false);
  sim::SetPad(23, false);
  SampleInput();
  sim::SetKey('W', true);
  sim::SetPad(23, true);
  SampleInput();
  EXPECT_TRUE(IsKeyJustPressed('W')) << "released and pressed again";
  EXPECT_TRUE(IsControlJustPressed(23));
}

TEST_F(InputStateTest, DownAndUpBetweenTwoSamplingsIsNeverSeen) {
  sim::SetKey('E', true);
  sim::SetKey('E', false);
  sim::SetPad(77, true);
  sim::SetPad(77, false);
  SampleInput();
  EXPECT_FALSE(IsKeyJustPressed('E'));
  EXPECT_FALSE(IsControlJustPressed(77));
}

TEST_F(InputStateTest, KeysOutsideOneTo254AreNeverPressed) {
  sim::SetKey(0, true);
  SampleInput();
  for (int32_t key : {0, 255, 256, 1000, -1, INT32_MIN}) EXPECT_FALSE(IsKeyJustPressed(key)) << key;
  sim::SetKey(254, true);
  sim::SetKey(1, true);
  SampleInput();
  EXPECT_TRUE(IsKeyJustPressed(254));
  EXPECT_TRUE(IsKeyJustPressed(1));
}

TEST_F(InputStateTest, MenuQueriesListenOnlyToTheDeviceInUse) {
  struct Query {
    const char* name;
    bool (*pressed)();
    int padControl;
    int key;
  };
  const Query queries[] = {
      {"up", IsMenuUpPressed, 65, 'W'},         {"down", IsMenuDownPressed, 64, 'S'},
      {"left", IsMenuLeftPressed, 66, 'A'},     {"right", IsMenuRightPressed, 67, 'D'},
      {"accept", IsMenuAcceptPressed, 77, 'E'},
  };
  for (const Query& q : queries) {
    for (bool usingPad : {true, false}) {
      sim::ReleaseAllInput();
      SampleInput();
      sim::SetUsingPad(usingPad);
      // Only the other device's input is pressed: nothing.
      if (usingPad)
        sim::SetKey(q.key, true);
      else
        sim::SetPad(q.padControl, true);
      SampleInput();
      EXPECT_FALSE(q.pressed()) << q.name << (usingPad ? " with a pad" : " on the keyboard");
      // Now this device's input as well.
      if (usingPad)
        sim::SetPad(q.padControl, true);
      else
        sim::SetKey(q.key, true);
      SampleInput();
      EXPECT_TRUE(q.pressed()) << q.name << (usingPad ? " with a pad" : " on the keyboard");
    }
  }
}

// GetAsyncKeyState reports keys typed into any program: they count only while the
// game's own window is in front. Pad controls come from the game and always count.
TEST_F(InputStateTest, KeysCountOnlyWhileTheGameIsInFront) {
  const uint32_t queriesBefore = sim::KeyStateQueries();
  sim::SetKey('W', true);
  SampleInput();
  EXPECT_TRUE(IsKeyJustPressed('W')) << "the game in front: keys as ever";
  EXPECT_EQ(sim::KeyStateQueries(), queriesBefore + 255);
  sim::SetKey('W', false);
  SampleInput();

  sim::SetGameInFront(false);
  sim::SetKey('E', true);
  sim::SetPad(77, true);
  const uint32_t queriesAway = sim::KeyStateQueries();
  SampleInput();
  EXPECT_FALSE(IsKeyJustPressed('E')) << "typed into another program";
  EXPECT_FALSE(IsMenuAcceptPressed());
  EXPECT_TRUE(IsControlJustPressed(77)) << "the pad is the game's own";
  EXPECT_EQ(sim::KeyStateQueries(), queriesAway) << "no key asked while another program is in front";
  sim::SetKey('S', true);  // held down across the switch back, as well as E
  SampleInput();
  EXPECT_FALSE(IsKeyJustPressed('S'));

  // Back in the game with E and S still down: they went down elsewhere, so they count
  // only once released and pressed again; a key pressed now counts at once.
  sim::SetGameInFront(true);
  SampleInput();
  EXPECT_FALSE(IsKeyJustPressed('E'));
  EXPECT_FALSE(IsKeyJustPressed('S'));
  sim::SetKey('D', true);
  SampleInput();
  EXPECT_FALSE(IsKeyJustPressed('E'));
  EXPECT_TRUE(IsKeyJustPressed('D'));
  sim::SetKey('E', false);
  SampleInput();
  sim::SetKey('E', true);
  SampleInput();
  EXPECT_TRUE(IsKeyJustPressed('E')) << "released and pressed again in the game";
  EXPECT_FALSE(IsKeyJustPressed('S'));
}

}  // namespace
