// The per-frame wardrobe driver, run in-process against the simulated host: the gate,
// episode changes, the prompt at each site, opening and closing the menu.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "core/input_state.h"
#include "core/wardrobe_frame.h"
#include "menu/idle_animation.h"
#include "menu/preview_camera.h"
#include "menu/preview_view.h"
#include "menu/wardrobe_menu.h"
#include "outfits/outfit.h"
#include "outfits/outfit_files.h"
#include "sim/sim.h"
#include "support/plugin_state.h"
#include "support/test_directory.h"

namespace {

// Writes an outfit file holding sections Outfit0 .. Outfit<count - 1>.
void WriteOutfitFile(const char* name, int count, int drawable0) {
  std::ofstream file(name, std::ios::binary | std::ios::trunc);
  for (int n = 0; n < count; ++n) file << "[Outfit" << n << "]\r\nDrawable0=" << drawable0 << "\r\n";
}

class WardrobeFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    // Key states come from the simulator (idempotent across fixtures).
    sim::InterceptImports(GetModuleHandleW(nullptr));
    sim::ResetModel();
    directory = std::make_unique<TestWorkingDirectory>("core");
    ASSERT_TRUE(directory->Entered());
    ResetPluginState();
    LoadOutfits();
  }

  // One frame of the driver, with the native calls it made.
  std::vector<std::string> Frame() {
    sim::ClearNativeLog();
    WardrobeFrame();
    return sim::NativeCallNames();
  }

  static int Count(const std::vector<std::string>& names, const std::string& name) {
    return static_cast<int>(std::count(names.begin(), names.end(), name));
  }

  std::unique_ptr<TestWorkingDirectory> directory;
};

TEST_F(WardrobeFrameTest, WhileGameplayIsSuspendedOnlyTheGateIsAsked) {
  WriteOutfitFile("WardrobeOutfitsTLAD.ini", 2, 2);
  sim::PutPlayerAtSite(0);
  sim::SetSuspended(true);
  sim::SetEpisode(1);
  sim::SetKey('W', true);
  sim::SetPad(23, true);
  const InputRecord before = InputState;
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(std::vector<std::string>{"IsGameplaySuspended"}, Frame());
  }
  EXPECT_EQ(0, std::memcmp(&before, &InputState, sizeof before)) << "no input sampled";
  EXPECT_FALSE(WardrobeDriverState.wasAtSite);
  EXPECT_EQ(0, CountSavedOutfits()) << "no episode check behind the gate";

  // The press held across the gate is seen on the run after the first sampling.
  sim::SetSuspended(false);
  Frame();
  EXPECT_EQ(2, CountSavedOutfits()) << "the episode change is seen on the first active frame";
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_TRUE(IsControlJustPressed(23));
  Frame();
  EXPECT_TRUE(WardrobeDriverState.menuOpen);
}

TEST_F(WardrobeFrameTest, EpisodeChangesReloadThatEpisodesOutfits) {
  WriteOutfitFile("WardrobeOutfits.ini", 1, 1);
  WriteOutfitFile("WardrobeOutfitsTLAD.ini", 2, 2);
  LoadOutfits();  // start-up, in episode 0
  ASSERT_EQ(1, CountSavedOutfits());
  WriteOutfitFile("WardrobeOutfits.ini", 3, 3);  // changed behind the plug-in's back

  Frame();
  EXPECT_EQ(1, CountSavedOutfits()) << "the first frame in episode 0 does not reload";
  sim::SetEpisode(1);
  Frame();
  EXPECT_EQ(2, CountSavedOutfits());
  EXPECT_EQ(2u, OutfitTable[0].drawable[0]);
  Frame();
  EXPECT_EQ(2, CountSavedOutfits());
  sim::SetEpisode(0);
  Frame();
  EXPECT_EQ(3, CountSavedOutfits()) << "back in episode 0: its file again";
  EXPECT_EQ(3u, OutfitTable[0].drawable[0]);
}

DWORD WINAPI CloseAfter100Ms(void* handle) {
  Sleep(100);
  CloseHandle(static_cast<HANDLE>(handle));
  return 0;
}

// A scanner holds the new episode's file, sharing it with nobody, for 100 ms from the
// frame that sees the episode change: the load waits for it and the outfits are there.
TEST_F(WardrobeFrameTest, AnEpisodesFileHeldForAMomentStillLoads) {
  WriteOutfitFile("WardrobeOutfitsTLAD.ini", 2, 2);
  Frame();
  HANDLE held =
      CreateFileA("WardrobeOutfitsTLAD.ini", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  HANDLE releaser = CreateThread(nullptr, 0, CloseAfter100Ms, held, 0, nullptr);
  ASSERT_NE(releaser, nullptr);
  sim::SetEpisode(1);
  Frame();
  WaitForSingleObject(releaser, INFINITE);
  CloseHandle(releaser);
  EXPECT_EQ(2, CountSavedOutfits());
  EXPECT_EQ(2u, OutfitTable[1].drawable[0]);
}

TEST_F(WardrobeFrameTest, EverySiteOffersTheWardrobeAndOpensIt) {
  for (int site = 0; site < 8; ++site) {
    SCOPED_TRACE("site " + std::to_string(site));
    WardrobeDriverState = WardrobeDriverRecord{};
    sim::ResetModel();
    const float ownHeight = WardrobeSites[site].z - 0.5f;  // inside the box, not at its centre
    sim::SetPlayerPosition({WardrobeSites[site].x + 0.25f, WardrobeSites[site].y - 0.25f, ownHeight});

    std::vector<std::string> names = Frame();
    EXPECT_EQ(1, Count(names, "TerminateScriptsNamed"));
    EXPECT_EQ(1, Count(names, "ShowHelpMessage"));
    EXPECT_EQ("WD_USE", sim::NativeCallsNamed("ShowHelpMessage")[0].args[0]);
    EXPECT_EQ(WardrobeSites + site, WardrobeDriverState.currentSite);

    sim::SetPad(23, true);
    Frame();          // sampled
    names = Frame();  // just pressed
    EXPECT_TRUE(WardrobeDriverState.menuOpen);
    const auto placed = sim::NativeCallsNamed("SetPedPosition");
    ASSERT_EQ(1u, placed.size());
    EXPECT_EQ(WardrobeSites[site].x, placed[0].FloatArg(1));
    EXPECT_EQ(WardrobeSites[site].y, placed[0].FloatArg(2));
    EXPECT_EQ(ownHeight, placed[0].FloatArg(3)) << "the player keeps their own height";
    // Prompt shown, then the player placed, stopped and the prompt cleared; the look
    // captured after that.
    const auto order = [&](const std::string& name) {
      return std::find(names.begin(), names.end(), name) - names.begin();
    };
    EXPECT_LT(order("ShowHelpMessage"), order("SetPedPosition"));
    EXPECT_LT(order("SetPedPosition"), order("StopPedActivity"));
    EXPECT_LT(order("StopPedActivity"), order("ClearHelpMessage"));
    EXPECT_LT(order("ClearHelpMessage"), order("GetPedDrawable"));
    EXPECT_EQ(0, Count(names, "PreparePedForMenuFrame")) << "the menu runs from the next frame";

    names = Frame();
    EXPECT_EQ(1, Count(names, "PreparePedForMenuFrame"));
    EXPECT_EQ(0, Count(names, "ShowHelpMessage"));
    EXPECT_EQ(1, Count(names, "TerminateScriptsNamed"));
    sim::SetPad(23, false);
  }
}

TEST_F(WardrobeFrameTest, WhereAreasOverlapTheLaterSiteWins) {
  // Sites 4 and 7 lie 64 units apart; widened areas both reach the point between them.
  sim::World().boxSlack = 40.0f;
  const WardrobeSite& four = WardrobeSites[4];
  const WardrobeSite& seven = WardrobeSites[7];
  sim::SetPlayerPosition({(four.x + seven.x) / 2, (four.y + seven.y) / 2, (four.z + seven.z) / 2});
  sim::SetPad(23, true);
  Frame();
  EXPECT_EQ(&seven, WardrobeDriverState.currentSite);
  Frame();
  const auto placed = sim::NativeCallsNamed("SetPedPosition");
  ASSERT_EQ(1u, placed.size());
  EXPECT_EQ(seven.x, placed[0].FloatArg(1));
  EXPECT_EQ(seven.y, placed[0].FloatArg(2));
  Frame();
  const auto heading = sim::NativeCallsNamed("SetPedHeading");
  ASSERT_EQ(1u, heading.size());
  EXPECT_EQ(seven.heading, heading[0].FloatArg(1));
}

TEST_F(WardrobeFrameTest, LeavingASiteClearsThePromptOnce) {
  sim::PutPlayerAtSite(3);
  Frame();
  sim::SetPlayerPosition({0.0f, 0.0f, 0.0f});
  EXPECT_EQ(1, Count(Frame(), "ClearHelpMessage"));
  EXPECT_EQ(0, Count(Frame(), "ClearHelpMessage"));
  EXPECT_EQ(WardrobeSites + 3, WardrobeDriverState.currentSite) << "kept after leaving";
}

TEST_F(WardrobeFrameTest, ControlAwayFromEverySiteDoesNothing) {
  sim::SetPlayerPosition({0.0f, 0.0f, 0.0f});
  sim::SetPad(23, true);
  Frame();
  const std::vector<std::string> names = Frame();
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_EQ(0, Count(names, "SetPedPosition"));
  EXPECT_EQ(0, Count(names, "ShowHelpMessage"));
}

// The game takes the player away from every wardrobe with the menu open (a mission
// start, an arrest, a script's teleport): on the first frame away the menu closes as
// Cancel closes it, so the player is never left without control, and the next
// wardrobe starts afresh with its prompt.
TEST_F(WardrobeFrameTest, LeavingEveryWardrobeWithTheMenuOpenClosesItAsCancelDoes) {
  sim::PutPlayerAtSite(2);
  sim::Wear(1, 1, 2);
  sim::SetPad(23, true);
  Frame();
  Frame();  // opens; the look at this moment is captured
  ASSERT_TRUE(WardrobeDriverState.menuOpen);
  EXPECT_EQ(1, Count(Frame(), "PreparePedForMenuFrame"));
  EXPECT_FALSE(sim::Ped().playerControl);
  sim::Wear(1, 3, 0);  // previewed

  sim::SetPlayerPosition({0.0f, 0.0f, 0.0f});
  idleSeconds = 5.0;
  const std::vector<std::string> away = Frame();
  EXPECT_EQ(0, Count(away, "PreparePedForMenuFrame")) << "the menu does not run away from a site";
  EXPECT_EQ(1, Count(away, "SetPlayerControl"));
  EXPECT_EQ(1, Count(away, "StopPedActivity"));
  EXPECT_EQ(11, Count(away, "SetPedComponent")) << "the look from before the menu";
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_TRUE(sim::Ped().playerControl);
  EXPECT_EQ(1u, sim::Ped().components[1].drawable);
  EXPECT_EQ(2u, sim::Ped().components[1].texture);
  EXPECT_FALSE(PreviewCamera.active) << "the game's camera";
  EXPECT_FALSE(LatestPreviewCamera().active);
  EXPECT_EQ(5.0, idleSeconds) << "no menu time away";
  EXPECT_EQ(0, Count(Frame(), "SetPlayerControl")) << "closed once";

  // At the next wardrobe the prompt shows and the menu waits for the control.
  sim::SetPad(23, false);
  sim::PutPlayerAtSite(5);
  const std::vector<std::string> next = Frame();
  EXPECT_EQ(1, Count(next, "ShowHelpMessage"));
  EXPECT_EQ(0, Count(next, "PreparePedForMenuFrame"));
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
}

// Moving straight from one wardrobe's area into another's, with no frame away, keeps
// the menu open: it runs on at the new site, facing its heading. A paused game is not
// away either: behind the gate nothing changes, and the menu runs on once it opens.
TEST_F(WardrobeFrameTest, AnOpenMenuStaysOpenFromSiteToSiteAndThroughAPause) {
  sim::PutPlayerAtSite(3);
  sim::SetPad(23, true);
  Frame();
  Frame();  // opens
  ASSERT_TRUE(WardrobeDriverState.menuOpen);

  sim::PutPlayerAtSite(4);
  sim::ClearNativeLog();
  WardrobeFrame();
  EXPECT_TRUE(WardrobeDriverState.menuOpen);
  const auto heading = sim::NativeCallsNamed("SetPedHeading");
  ASSERT_EQ(1u, heading.size());
  EXPECT_EQ(WardrobeSites[4].heading, static_cast<float>(std::stod(heading[0].args[1])));

  sim::SetSuspended(true);
  sim::SetPlayerPosition({0.0f, 0.0f, 0.0f});
  EXPECT_EQ(std::vector<std::string>{"IsGameplaySuspended"}, Frame());
  EXPECT_TRUE(WardrobeDriverState.menuOpen);
  sim::PutPlayerAtSite(4);
  sim::SetSuspended(false);
  EXPECT_EQ(1, Count(Frame(), "PreparePedForMenuFrame"));
  EXPECT_TRUE(WardrobeDriverState.menuOpen);
}

// A key held in another program while the game was paused (the gate holds, nothing is
// sampled) waits for a new press once the game is in front and running again, as it
// does when the game runs on meanwhile.
TEST_F(WardrobeFrameTest, AKeyHeldElsewhereThroughAPauseActsOnlyOncePressedAgain) {
  sim::SetUsingPad(false);
  sim::PutPlayerAtSite(2);
  sim::SetPad(23, true);
  Frame();
  Frame();  // opens
  Frame();
  ASSERT_TRUE(WardrobeDriverState.menuOpen);
  const int32_t row = WardrobeMenu.selectedRow;

  sim::SetSuspended(true);
  sim::SetGameInFront(false);
  Frame();
  sim::SetKey('S', true);
  Frame();
  sim::SetGameInFront(true);
  Frame();
  sim::SetSuspended(false);
  for (int i = 0; i < 3; ++i) Frame();
  EXPECT_EQ(row, WardrobeMenu.selectedRow) << "S went down in another program";

  sim::SetKey('S', false);
  Frame();
  sim::SetKey('S', true);
  Frame();
  Frame();
  EXPECT_EQ(row + 1, WardrobeMenu.selectedRow) << "pressed again in the game";
}

// While the host's native lookup faults, no native answers and no site test matches:
// that is not the player leaving. Those frames change nothing of the open menu, of the
// control it holds, of the look from before it or of its camera, whether the game
// moves the player meanwhile or not; the first frame served again settles it: away
// from every wardrobe the menu closes as Cancel does, still at the site it runs on.
TEST_F(WardrobeFrameTest, FramesTheHostCannotServeChangeNothingUntilItServesAgain) {
  for (const bool movedAway : {true, false}) {
    SCOPED_TRACE(movedAway ? "moved away meanwhile" : "still at the site");
    ResetPluginState();
    sim::ResetModel();
    sim::PutPlayerAtSite(2);
    sim::Wear(1, 1, 2);
    sim::SetPad(23, true);
    Frame();
    Frame();  // opens; the look at this moment is captured
    sim::SetPad(23, false);
    WardrobeMenu.view = PreviewView::Back;
    Frame();
    ASSERT_TRUE(WardrobeDriverState.menuOpen);
    ASSERT_FALSE(sim::Ped().playerControl);
    ASSERT_TRUE(LatestPreviewCamera().active);
    sim::Wear(1, 3, 0);  // previewed
    WardrobeMenu.deleteArmed = true;
    WardrobeMenu.saveNoticeSeconds = 1.0;
    const WardrobeMenuRecord menu = WardrobeMenu;
    const Outfit saved = WardrobeDriverState.savedOutfit;
    const float heading = sim::Ped().heading;

    sim::SetLookupFault(true);
    for (int frame = 0; frame < 4; ++frame) {
      if (frame == 2 && movedAway) sim::SetPlayerPosition({0.0f, 0.0f, 0.0f});
      EXPECT_TRUE(Frame().empty()) << "no native answered";
      EXPECT_TRUE(WardrobeDriverState.menuOpen) << frame;
      EXPECT_FALSE(sim::Ped().playerControl) << "held as the menu holds it";
      EXPECT_TRUE(PreviewCamera.active) << "the menu's camera";
      EXPECT_TRUE(LatestPreviewCamera().active);
    }
    EXPECT_EQ(WardrobeMenu.view, menu.view);
    EXPECT_EQ(WardrobeMenu.headingTurn, menu.headingTurn);
    EXPECT_EQ(WardrobeMenu.selectedRow, menu.selectedRow);
    EXPECT_TRUE(WardrobeMenu.deleteArmed);
    EXPECT_EQ(WardrobeMenu.saveNoticeSeconds, menu.saveNoticeSeconds);
    const Outfit& kept = WardrobeDriverState.savedOutfit;
    EXPECT_EQ(0, std::memcmp(saved.drawable, kept.drawable, sizeof saved.drawable)) << "the look from before";
    EXPECT_EQ(0, std::memcmp(saved.texture, kept.texture, sizeof saved.texture));
    EXPECT_EQ(0, std::memcmp(saved.prop, kept.prop, sizeof saved.prop));
    EXPECT_EQ(3u, sim::Ped().components[1].drawable);
    EXPECT_EQ(heading, sim::Ped().heading);

    sim::SetLookupFault(false);
    const std::vector<std::string> served = Frame();
    EXPECT_EQ(!movedAway, WardrobeDriverState.menuOpen);
    EXPECT_EQ(movedAway, sim::Ped().playerControl);
    EXPECT_EQ(movedAway ? 1u : 3u, sim::Ped().components[1].drawable);
    EXPECT_EQ(!movedAway, PreviewCamera.active);
    EXPECT_EQ(movedAway ? 1 : 0, Count(served, "SetPlayerControl") - Count(served, "PreparePedForMenuFrame"));
    sim::SetLookupFault(false);
  }
}

// Walking up with W and D held and opening the menu: the held keys step nothing for two
// seconds (no row moves, no value changes) until pressed again.
TEST_F(WardrobeFrameTest, KeysHeldWhileWalkingInNeverStepTheMenu) {
  sim::SetUsingPad(false);
  sim::SetKey('W', true);
  sim::SetKey('D', true);
  sim::PutPlayerAtSite(1);
  Frame();
  Frame();
  sim::SetPad(23, true);
  Frame();
  Frame();  // opens
  ASSERT_TRUE(WardrobeDriverState.menuOpen);
  const int32_t row = WardrobeMenu.selectedRow;
  int changes = 0;
  for (int i = 0; i < 60; ++i) {
    const std::vector<std::string> names = Frame();
    changes += Count(names, "SetPedComponent") + Count(names, "SetPedProp") + Count(names, "ClearPedProp");
  }
  EXPECT_EQ(row, WardrobeMenu.selectedRow);
  EXPECT_EQ(changes, 0);

  sim::SetKey('S', true);  // a press the menu sees steps and repeats
  for (int i = 0; i < 16; ++i) Frame();
  EXPECT_GT(WardrobeMenu.selectedRow, row + 1);
}

TEST_F(WardrobeFrameTest, CancelPutsTheOpeningLookBackAndAcceptKeepsThePreview) {
  sim::PutPlayerAtSite(1);
  sim::Wear(1, 1, 2);
  sim::SetPad(23, true);
  Frame();
  Frame();  // opens; the look at this moment is captured
  ASSERT_TRUE(WardrobeDriverState.menuOpen);
  sim::Wear(1, 3, 0);  // previewed

  // After the menu's frame: control back, activity stopped, then the opening look.
  const auto closing = [](const std::vector<std::string>& names) {
    const auto back = std::find(names.rbegin(), names.rend(), "SetPlayerControl");
    return std::vector<std::string>(back.base() - 1, names.end());
  };
  WardrobeMenu.cancelRequested = true;
  std::vector<std::string> names = closing(Frame());
  ASSERT_GE(names.size(), 5u);
  EXPECT_EQ("StopPedActivity", names[1]);
  // Each component is checked against the model before it is put on.
  EXPECT_EQ("GetNumberOfDrawables", names[2]);
  EXPECT_EQ("GetNumberOfTextures", names[3]);
  EXPECT_EQ("SetPedComponent", names[4]);
  EXPECT_EQ(11, Count(names, "SetPedComponent"));
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_FALSE(WardrobeMenu.cancelRequested);
  EXPECT_EQ(1u, sim::Ped().components[1].drawable);
  EXPECT_EQ(2u, sim::Ped().components[1].texture);
  EXPECT_TRUE(sim::Ped().playerControl);
  const auto control = sim::NativeCallsNamed("SetPlayerControl");
  ASSERT_FALSE(control.empty());
  EXPECT_EQ("true", control.back().args[1]);

  sim::SetPad(23, false);
  Frame();
  sim::SetPad(23, true);
  Frame();
  Frame();  // opens again
  ASSERT_TRUE(WardrobeDriverState.menuOpen);
  sim::Wear(1, 3, 0);
  WardrobeMenu.acceptRequested = true;
  names = closing(Frame());
  EXPECT_EQ((std::vector<std::string>{"SetPlayerControl", "StopPedActivity"}), names);
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_FALSE(WardrobeMenu.acceptRequested);
  EXPECT_EQ(3u, sim::Ped().components[1].drawable) << "the previewed look stays";
  EXPECT_TRUE(sim::Ped().playerControl);
}

// The look Cancel puts back is the one of the moment the menu opened, also when it
// changed while the player stood at the site with the menu closed.
TEST_F(WardrobeFrameTest, CancelPutsBackALookChangedWhileStandingAtTheSite) {
  sim::PutPlayerAtSite(1);
  Frame();
  Frame();             // arrived and standing there, the menu closed
  sim::Wear(1, 2, 0);  // the look changes (another script, a cut-scene) before the menu
  Frame();
  sim::SetPad(23, true);
  Frame();
  Frame();  // opens
  ASSERT_TRUE(WardrobeDriverState.menuOpen);
  sim::Wear(1, 3, 0);  // previewed
  WardrobeMenu.cancelRequested = true;
  Frame();
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_EQ(2u, sim::Ped().components[1].drawable);
  EXPECT_EQ(0u, sim::Ped().components[1].texture);
}

}  // namespace
