// The menu's keys by their place on the keyboard, whatever the player's layout, and a
// held direction stepping again in game time.
#include <gtest/gtest.h>

#include <windows.h>

#include "core/input_state.h"
#include "core/menu_keys.h"
#include "core/wardrobe_frame.h"
#include "sim/sim.h"

namespace {

class MenuKeysTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    sim::InterceptImports(GetModuleHandleW(nullptr));
    sim::ResetModel();
    ResetMenuKeys();
    // A held direction repeats only for the open menu.
    WardrobeDriverState.menuOpen = true;
    SampleInput();
    SampleInput();
  }
  void TearDown() override {
    WardrobeDriverState.menuOpen = false;
    sim::ResetModel();
    ResetMenuKeys();
  }
};

struct Query {
  const char* name;
  bool (*pressed)();
};
const Query queries[MenuActionCount] = {
    {"up", IsMenuUpPressed},       {"down", IsMenuDownPressed},     {"left", IsMenuLeftPressed},
    {"right", IsMenuRightPressed}, {"accept", IsMenuAcceptPressed},
};

// Presses one virtual key for one sampling and reports which menu actions it drove.
std::string ActionsOfKey(int key) {
  sim::ReleaseAllInput();
  SampleInput();
  sim::SetKey(key, true);
  SampleInput();
  std::string acted;
  for (const Query& q : queries) {
    if (q.pressed()) acted += std::string(acted.empty() ? "" : " ") + q.name;
  }
  sim::SetKey(key, false);
  SampleInput();
  return acted;
}

// The keys at the places of W, S, A, D and E: on a French keyboard Z, S, Q, D and E.
// The key labelled W there (bottom row) and the one labelled A (where US has Q) do
// nothing; switching the layout back while the game runs brings the US keys back.
TEST_F(MenuKeysTest, KeysFollowTheirPlaceOnTheLayoutInForce) {
  struct Case {
    sim::KeyboardLayout layout;
    int key;
    const char* actions;
  };
  const Case cases[] = {
      {sim::KeyboardLayout::Us, 'W', "up"},        {sim::KeyboardLayout::Us, 'S', "down"},
      {sim::KeyboardLayout::Us, 'A', "left"},      {sim::KeyboardLayout::Us, 'D', "right"},
      {sim::KeyboardLayout::Us, 'E', "accept"},    {sim::KeyboardLayout::Us, 'Z', ""},
      {sim::KeyboardLayout::Us, 'Q', ""},          {sim::KeyboardLayout::French, 'Z', "up"},
      {sim::KeyboardLayout::French, 'S', "down"},  {sim::KeyboardLayout::French, 'Q', "left"},
      {sim::KeyboardLayout::French, 'D', "right"}, {sim::KeyboardLayout::French, 'E', "accept"},
      {sim::KeyboardLayout::French, 'W', ""},      {sim::KeyboardLayout::French, 'A', ""},
      {sim::KeyboardLayout::Us, 'W', "up"},        {sim::KeyboardLayout::Us, 'Z', ""},
  };
  sim::SetUsingPad(false);
  for (const Case& c : cases) {
    sim::SetKeyboardLayout(c.layout);
    EXPECT_EQ(ActionsOfKey(c.key), c.actions)
        << static_cast<char>(c.key) << (c.layout == sim::KeyboardLayout::French ? " on French" : " on US");
  }
}

// The positions are looked up once per layout, not on every frame.
TEST_F(MenuKeysTest, PositionsAreLookedUpAgainOnlyWhenTheLayoutChanges) {
  const uint32_t before = sim::KeyMappingQueries();
  for (int i = 0; i < 10; ++i) SampleInput();
  EXPECT_EQ(sim::KeyMappingQueries(), before) << "the US layout was looked up in SetUp";
  sim::SetKeyboardLayout(sim::KeyboardLayout::French);
  for (int i = 0; i < 10; ++i) SampleInput();
  EXPECT_EQ(sim::KeyMappingQueries(), before + MenuActionCount) << "one look-up per key, once";
  EXPECT_EQ(MenuKeys.positionKeys[MenuUp], 'Z');
  EXPECT_EQ(MenuKeys.positionKeys[MenuLeft], 'Q');
  // Away from the game no layout is asked for: its keys do not count there.
  sim::SetGameInFront(false);
  sim::SetKeyboardLayout(sim::KeyboardLayout::Us);
  SampleInput();
  EXPECT_EQ(MenuKeys.positionKeys[MenuUp], 'Z');
  sim::SetGameInFront(true);
  SampleInput();
  EXPECT_EQ(MenuKeys.positionKeys[MenuUp], 'W');
}

// Player's own keys, several per action: each of them acts, the position key no
// longer does.
TEST_F(MenuKeysTest, OwnKeysReplaceThePositionKey) {
  MenuKeys.ownKeys[MenuUp][0] = VK_UP;
  MenuKeys.ownKeys[MenuUp][1] = 'I';
  MenuKeys.ownKeys[MenuAccept][0] = VK_RETURN;
  sim::SetUsingPad(false);
  EXPECT_EQ(ActionsOfKey(VK_UP), "up");
  EXPECT_EQ(ActionsOfKey('I'), "up");
  EXPECT_EQ(ActionsOfKey('W'), "");
  EXPECT_EQ(ActionsOfKey(VK_RETURN), "accept");
  EXPECT_EQ(ActionsOfKey('E'), "");
  EXPECT_EQ(ActionsOfKey('S'), "down") << "actions without own keys keep their place";
  // Two keys of one action held one after the other: one press, not two.
  SampleInput();
  sim::SetKey(VK_UP, true);
  SampleInput();
  EXPECT_TRUE(IsMenuUpPressed());
  sim::SetKey('I', true);
  SampleInput();
  EXPECT_FALSE(IsMenuUpPressed());
}

// Holds one input for the given number of samplings at 30 frames a second and counts
// the samplings after which the action acted.
int StepsWhileHeld(bool pad, int samplings, bool (*pressed)(), int control, int key) {
  sim::SetUsingPad(pad);
  sim::SetFrameTime(1.0f / 30.0f);
  sim::ReleaseAllInput();
  SampleInput();
  SampleInput();
  if (pad)
    sim::SetPad(control, true);
  else
    sim::SetKey(key, true);
  int steps = 0;
  for (int i = 0; i < samplings; ++i) {
    SampleInput();
    if (pressed()) ++steps;
  }
  sim::ReleaseAllInput();
  SampleInput();
  return steps;
}

// Held for one second of game time (31 samplings, 1/30 s apart: the first and last
// one second apart), a direction steps at once, again after the delay (0.4 s), then
// every interval (0.1 s) up to 1.0 s: 1 + 1 + 6 = 8 steps, on the pad and the keyboard.
// Accept never repeats; a delay of 0 turns repeating off.
TEST_F(MenuKeysTest, HeldDirectionStepsAgainInGameTime) {
  const int expected = 1 + 1 + static_cast<int>((1.0 - DefaultRepeatDelay) / DefaultRepeatInterval + 0.5);
  ASSERT_EQ(expected, 8);
  for (bool pad : {true, false}) {
    SCOPED_TRACE(pad ? "pad" : "keyboard");
    EXPECT_EQ(StepsWhileHeld(pad, 31, IsMenuRightPressed, 67, 'D'), expected);
    EXPECT_EQ(StepsWhileHeld(pad, 31, IsMenuUpPressed, 65, 'W'), expected);
    EXPECT_EQ(StepsWhileHeld(pad, 12, IsMenuDownPressed, 64, 'S'), 1) << "released before the delay";
    EXPECT_EQ(StepsWhileHeld(pad, 31, IsMenuAcceptPressed, 77, 'E'), 1) << "Accept never repeats";
  }
  // Half the frame rate: the same game time gives the same steps.
  sim::SetUsingPad(false);
  sim::ReleaseAllInput();
  SampleInput();
  sim::SetKey('A', true);
  sim::SetFrameTime(1.0f / 15.0f);
  int steps = 0;
  for (int i = 0; i < 16; ++i) {
    SampleInput();
    if (IsMenuLeftPressed()) ++steps;
  }
  EXPECT_EQ(steps, expected) << "15 frames a second";

  MenuKeys.repeatDelay = 0.0;
  EXPECT_EQ(StepsWhileHeld(true, 31, IsMenuRightPressed, 67, 'D'), 1);
  EXPECT_EQ(StepsWhileHeld(false, 31, IsMenuRightPressed, 67, 'D'), 1);
}

void HoldDown(bool pad, int key) {
  if (pad)
    sim::SetPad(64, true);
  else
    sim::SetKey(key, true);
}

// A held direction repeats only once the open menu saw it go down with the game in
// front. Held when the menu opens, through another program, through a pause, or made a
// menu key by a layout switch, it never steps until released and pressed again; then it
// repeats as ever. On the pad and the keyboard.
TEST_F(MenuKeysTest, OnlyAPressTheOpenMenuSawRepeats) {
  struct Case {
    const char* name;
    bool keyboardOnly;
    // Starts holding Down (pad control 64, or the key at the place of S; Z for the
    // layout case) in its own way; the menu is open and the game in front after it.
    void (*hold)(bool pad);
  };
  const Case cases[] = {
      {"held when the menu opens", false,
       [](bool pad) {
         WardrobeDriverState.menuOpen = false;
         HoldDown(pad, 'S');
         SampleInput();
         SampleInput();
         WardrobeDriverState.menuOpen = true;
       }},
      {"pressed in another program", false,
       [](bool pad) {
         sim::SetGameInFront(false);
         HoldDown(pad, 'S');
         SampleInput();
         SampleInput();
         sim::SetGameInFront(true);
       }},
      {"pressed in the menu, then another program in front", false,
       [](bool pad) {
         HoldDown(pad, 'S');
         SampleInput();
         sim::SetGameInFront(false);
         SampleInput();
         sim::SetGameInFront(true);
       }},
      {"pressed in the menu, then a pause", false,
       [](bool pad) {
         HoldDown(pad, 'S');
         SampleInput();
         NoteInputWhilePaused();
       }},
      {"Z held, then the French layout makes it Up", true,
       [](bool) {
         sim::SetKeyboardLayout(sim::KeyboardLayout::Us);
         sim::SetKey('Z', true);
         SampleInput();
         sim::SetKeyboardLayout(sim::KeyboardLayout::French);
       }},
  };
  sim::SetFrameTime(1.0f / 30.0f);
  for (const Case& c : cases) {
    for (bool pad : {true, false}) {
      if (pad && c.keyboardOnly) continue;
      SCOPED_TRACE(std::string(c.name) + (pad ? " (pad)" : " (keyboard)"));
      sim::SetUsingPad(pad);
      sim::ReleaseAllInput();
      sim::SetKeyboardLayout(sim::KeyboardLayout::Us);
      SampleInput();
      SampleInput();
      c.hold(pad);
      bool (*pressed)() = c.keyboardOnly ? IsMenuUpPressed : IsMenuDownPressed;
      int steps = 0;
      for (int i = 0; i < 31; ++i) {
        SampleInput();
        if (pressed()) ++steps;
      }
      EXPECT_EQ(steps, 0) << "a second of holding";
      // Released and pressed again in the open menu: it steps and repeats.
      const int key = c.keyboardOnly ? 'Z' : 'S';
      sim::ReleaseAllInput();
      SampleInput();
      HoldDown(pad, key);
      steps = 0;
      for (int i = 0; i < 31; ++i) {
        SampleInput();
        if (pressed()) ++steps;
      }
      EXPECT_EQ(steps, 8) << "pressed again";
    }
  }
  sim::SetKeyboardLayout(sim::KeyboardLayout::Us);
}

}  // namespace
