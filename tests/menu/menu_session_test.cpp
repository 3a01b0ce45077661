// Whole wardrobe sessions in the simulated host with the plug-in's hooks installed: the
// host's frames run the wardrobe, the pad drives it, the camera hook shows the preview,
// and the save notice runs on menu time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/frame_callbacks.h"
#include "core/start_up.h"
#include "host/code_hooks.h"
#include "menu/preview_view.h"
#include "menu_test_support.h"
#include "outfits/outfit_files.h"

namespace menu_test {
namespace {

struct Look {
  uint32_t drawable[11];
  uint32_t texture[11];
  int32_t prop[2];
  bool operator==(const Look& other) const {
    for (int c = 0; c < 11; ++c) {
      if (drawable[c] != other.drawable[c] || texture[c] != other.texture[c]) return false;
    }
    return prop[0] == other.prop[0] && prop[1] == other.prop[1];
  }
  bool operator!=(const Look& other) const { return !(*this == other); }
};

Look CurrentLook() {
  Look look{};
  for (int c = 0; c < 11; ++c) {
    look.drawable[c] = sim::Ped().components[c].drawable;
    look.texture[c] = sim::Ped().components[c].texture;
  }
  for (int a = 0; a < 2; ++a) look.prop[a] = sim::Ped().props[a].index;
  return look;
}

// The plug-in is started once per process, as the host's loader does it; every test
// then drives it through the host's frames.
class MenuSession : public MenuHostTest {
 protected:
  static void SetUpTestSuite() {
    sim::Boot();
    static bool started = false;
    if (!started) {
      InstallHooks(frameCallbacks, cameraCallbacks);
      InitPlugin();
      started = true;
    }
  }

  void SetUp() override {
    MenuHostTest::SetUp();
    sim::PutPlayerAtSite(2);
  }

  // Holds a control for one frame and lets it go on the next; the wardrobe sees the
  // press on that second frame.
  static void Tap(int control) {
    sim::SetPad(control, true);
    sim::RunFrame();
    sim::SetPad(control, false);
    sim::RunFrame();
  }

  static void OpenWardrobe() {
    Tap(PadWardrobe);
    ASSERT_TRUE(WardrobeDriverState.menuOpen);
    sim::RunFrame();
  }

  // Moves the highlight down to the row with that label.
  static void GoToRow(const std::string& label) {
    for (int step = 0; step < 40; ++step) {
      sim::RunFrame();
      int index = IndexOfRow(DrawnRows(), label);
      ASSERT_GE(index, 0) << label << " not drawn";
      if (WardrobeMenu.selectedRow == index) return;
      Tap(PadDown);
    }
    FAIL() << "could not reach " << label;
  }
};

TEST_F(MenuSession, BrowseSaveApplyCancelThenAccept) {
  sim::RunFrame();
  EXPECT_EQ(sim::World().helpLabel, "WD_USE");
  const Look original = CurrentLook();

  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
  EXPECT_EQ(sim::World().helpLabel, "");
  EXPECT_FALSE(sim::Ped().playerControl);
  EXPECT_EQ(sim::Ped().heading, WardrobeSites[2].heading);
  EXPECT_FALSE(DrawnRows().empty());
  // The camera hook put the preview into the host's camera.
  EXPECT_EQ(sim::CameraObjectFieldOfView(), 55.0f);
  EXPECT_EQ(std::memcmp(sim::CameraObjectMatrix(), PreviewCamera.matrix, 64), 0);

  // Browse: another head, another torso texture, a hat.
  ASSERT_NO_FATAL_FAILURE(GoToRow("Head"));
  Tap(PadRight);
  EXPECT_EQ(sim::Ped().components[0].drawable, 1u);
  ASSERT_NO_FATAL_FAILURE(GoToRow("Torso Variant"));
  Tap(PadRight);
  EXPECT_EQ(sim::Ped().components[1].texture, 1u);
  ASSERT_NO_FATAL_FAILURE(GoToRow("Hats"));
  Tap(PadRight);
  EXPECT_EQ(sim::Ped().props[0].index, 0);
  const Look previewed = CurrentLook();
  EXPECT_NE(previewed, original);

  // Save: the episode's file appears with one outfit of 44 keys.
  ASSERT_NO_FATAL_FAILURE(GoToRow("Save Outfit"));
  sim::ClearNativeLog();
  Tap(PadAccept);
  std::string file = ReadTextFile("WardrobeOutfits.ini");
  EXPECT_EQ(CountLines(file), 45) << file;
  EXPECT_EQ(file.rfind("[Outfit0]", 0), 0u) << file;
  EXPECT_EQ(CountSavedOutfits(), 1);
  EXPECT_EQ(sim::PrintedMessage(), "Outfit Saved");

  // Change the look again, then apply the saved outfit.
  ASSERT_NO_FATAL_FAILURE(GoToRow("Head"));
  Tap(PadRight);
  EXPECT_NE(CurrentLook(), previewed);
  ASSERT_NO_FATAL_FAILURE(GoToRow("Outfit"));
  EXPECT_EQ(FindRow(DrawnRows(), "Outfit")->value, "1/1");
  Tap(PadAccept);
  EXPECT_EQ(CurrentLook(), previewed);

  // Cancel: the look from before the menu opened, control back, the host's camera back.
  ASSERT_NO_FATAL_FAILURE(GoToRow("Cancel"));
  const int cancelRow = WardrobeMenu.selectedRow;
  Tap(PadAccept);
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_TRUE(sim::Ped().playerControl);
  EXPECT_EQ(CurrentLook(), original);
  sim::RunFrame();
  EXPECT_FALSE(PreviewCamera.active);
  EXPECT_EQ(sim::CameraObjectFieldOfView(), 45.0f);
  EXPECT_EQ(sim::World().helpLabel, "WD_USE");
  EXPECT_TRUE(DrawnRows().empty());

  // Reopen: the highlight is where it was; Accept keeps the previewed look.
  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
  EXPECT_EQ(WardrobeMenu.selectedRow, cancelRow);
  ASSERT_NO_FATAL_FAILURE(GoToRow("Glasses"));
  Tap(PadRight);
  const Look accepted = CurrentLook();
  EXPECT_EQ(accepted.prop[1], 0);
  ASSERT_NO_FATAL_FAILURE(GoToRow("Accept"));
  Tap(PadAccept);
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_TRUE(sim::Ped().playerControl);
  EXPECT_EQ(CurrentLook(), accepted);
  sim::RunFrame();
  EXPECT_EQ(sim::CameraObjectFieldOfView(), 45.0f);
}

// Runs menu frames from the one in which Accept on "Save Outfit" is seen; returns how
// many frames printed the notice. Accept is pressed again while the notice runs.
int NoticeFrames(const std::string& notice) {
  int frames = 0;
  for (int frame = 0; frame < 20; ++frame) {
    sim::SetPad(PadAccept, frame == 0 || frame == 2);
    sim::ClearNativeLog();
    sim::RunFrame();
    if (frame == 0) continue;  // the press goes down; the save comes on the next frame
    std::vector<std::string> printed = PrintedTexts();
    bool printedNotice = !printed.empty() && printed.back() == notice;
    const DrawnRow* save = FindRow(DrawnRows(), "Save Outfit");
    if (save == nullptr) {
      ADD_FAILURE() << "no Save Outfit row";
      return -1;
    }
    if (printedNotice) {
      ++frames;
      EXPECT_EQ(sim::NativeCallsNamed("PrintLiteralMessage").back().IntArg(2), 2500);
      // Disabled for the notice; a save frame's row is drawn before the save.
      if (frames > 1) {
        EXPECT_EQ(save->colour, sim::HostColourEntry(DisabledHighlightedEntry)) << frame;
      }
    } else {
      EXPECT_EQ(save->colour, sim::HostColourEntry(HighlightedEntry)) << frame;
      break;
    }
  }
  return frames;
}

TEST_F(MenuSession, SaveNoticeRunsTwoSecondsOfGameTime) {
  struct Case {
    float frameTime;
    int frames;
  };
  const Case cases[] = {{0.5f, 4}, {0.25f, 8}, {0.3f, 7}};
  for (const Case& testCase : cases) {
    SCOPED_TRACE(testCase.frameTime);
    std::remove("WardrobeOutfits.ini");
    LoadOutfits();
    sim::SetFrameTime(testCase.frameTime);
    if (!WardrobeDriverState.menuOpen) {
      ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
    }
    ASSERT_NO_FATAL_FAILURE(GoToRow("Save Outfit"));
    EXPECT_EQ(NoticeFrames("Outfit Saved"), testCase.frames);
    // One save only: the Accept during the notice stored nothing.
    EXPECT_EQ(CountSavedOutfits(), 1);
    EXPECT_EQ(CountLines(ReadTextFile("WardrobeOutfits.ini")), 45);
  }
}

// A notice runs only while its menu does: closing the menu during it ends it and its
// lock on the outfit rows, so the next opening neither prints it nor keeps "Save
// Outfit" disabled.
TEST_F(MenuSession, ClosingTheMenuEndsTheNoticeAndItsLock) {
  sim::SetFrameTime(0.5f);
  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
  ASSERT_NO_FATAL_FAILURE(GoToRow("Save Outfit"));
  const int saveRow = WardrobeMenu.selectedRow;
  const int cancelRow = saveRow + 5;  // past Name Outfit, Delete Outfit, View and Accept
  Tap(PadAccept);
  ASSERT_EQ(CountSavedOutfits(), 1);
  WardrobeMenu.selectedRow = cancelRow;
  Tap(PadAccept);
  ASSERT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_EQ(WardrobeMenu.saveNoticeSeconds, 0.0);

  sim::ClearNativeLog();
  sim::RunFrames(10);
  for (const std::string& text : PrintedTexts()) EXPECT_NE(text, "Outfit Saved");

  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());  // its last frame is the first menu frame
  for (const std::string& text : PrintedTexts()) EXPECT_NE(text, "Outfit Saved");
  WardrobeMenu.selectedRow = saveRow;
  sim::RunFrame();
  const DrawnRow* save = FindRow(DrawnRows(), "Save Outfit");
  ASSERT_NE(save, nullptr);
  EXPECT_EQ(save->colour, sim::HostColourEntry(HighlightedEntry)) << "enabled";
  Tap(PadAccept);
  EXPECT_EQ(CountSavedOutfits(), 2);
}

// The base game's outfit file in the test's working directory, holding exactly text.
void WriteBaseOutfitFile(const std::string& text) {
  std::FILE* out = std::fopen("WardrobeOutfits.ini", "wb");
  ASSERT_NE(out, nullptr);
  std::fwrite(text.data(), 1, text.size(), out);
  std::fclose(out);
}

// A full outfit file stores nothing: the notice says so, for the same time, and the file
// is left as it was.
TEST_F(MenuSession, FullTableShowsOutfitNotSaved) {
  std::string full;
  for (int n = 0; n < 512; ++n) full += "[Outfit" + std::to_string(n) + "]\r\nDrawable0=0\r\n";
  ASSERT_NO_FATAL_FAILURE(WriteBaseOutfitFile(full));
  LoadOutfits();
  ASSERT_EQ(CountSavedOutfits(), 512);
  sim::SetFrameTime(0.5f);
  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
  EXPECT_EQ(FindRow(DrawnRows(), "Outfit")->value, "1/512");
  ASSERT_NO_FATAL_FAILURE(GoToRow("Save Outfit"));
  EXPECT_EQ(NoticeFrames("Outfit Not Saved"), 4);
  EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), full);
}

// A player protected the outfit file by marking it read-only: the save is refused on
// every platform, the notice says so, and the file keeps its content and its mark.
TEST_F(MenuSession, ReadOnlyFileShowsOutfitNotSaved) {
  const std::string one = "[Outfit0]\r\nDrawable0=1\r\n";
  ASSERT_NO_FATAL_FAILURE(WriteBaseOutfitFile(one));
  ASSERT_TRUE(SetFileAttributesA("WardrobeOutfits.ini", FILE_ATTRIBUTE_READONLY));
  const DWORD attributes = GetFileAttributesA("WardrobeOutfits.ini");
  ASSERT_NE(attributes & FILE_ATTRIBUTE_READONLY, 0u);
  LoadOutfits();
  sim::SetFrameTime(0.5f);
  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
  ASSERT_NO_FATAL_FAILURE(GoToRow("Save Outfit"));
  EXPECT_EQ(NoticeFrames("Outfit Not Saved"), 4);
  EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), one);
  EXPECT_EQ(GetFileAttributesA("WardrobeOutfits.ini"), attributes);
  EXPECT_EQ(GetFileAttributesA("WardrobeOutfits.ini.tmp"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(CountSavedOutfits(), 1);
  SetFileAttributesA("WardrobeOutfits.ini", FILE_ATTRIBUTE_NORMAL);
}

// Another program holds the outfit file for good, sharing it with nobody: the save
// waits a quarter of a second for it, then stores nothing and says so; the file is as
// it was.
TEST_F(MenuSession, FileHeldForGoodShowsOutfitNotSaved) {
  const std::string one = "[Outfit0]\r\nDrawable0=1\r\n";
  ASSERT_NO_FATAL_FAILURE(WriteBaseOutfitFile(one));
  LoadOutfits();
  HANDLE held =
      CreateFileA("WardrobeOutfits.ini", GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  sim::SetFrameTime(0.5f);
  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
  ASSERT_NO_FATAL_FAILURE(GoToRow("Save Outfit"));
  EXPECT_EQ(NoticeFrames("Outfit Not Saved"), 4);
  CloseHandle(held);
  EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), one);
  EXPECT_EQ(GetFileAttributesA("WardrobeOutfits.ini.tmp"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(CountSavedOutfits(), 1);
}

// An outfit file made for another character: hands drawable 9 where the player's model
// has three, a legs texture 7 where the worn drawable has two. The outfit goes on
// without those two parts, the notice says so, the file keeps its values, and Cancel
// still brings back the look from before the menu.
TEST_F(MenuSession, AnOutfitForAnotherModelGoesOnWithoutWhatTheModelLacks) {
  sim::SetComponentModel(4, {1, 1, 1});
  sim::SetComponentModel(2, {2, 1, 3});
  ASSERT_TRUE(sim::Wear(4, 1, 0));
  ASSERT_TRUE(sim::Wear(2, 0, 1));
  const std::string file =
      "[Outfit0]\r\nDrawable1=2\r\nDrawable2=0\r\nTexture2=7\r\nDrawable4=9\r\nProp0=1\r\nProp1=-1\r\n";
  ASSERT_NO_FATAL_FAILURE(WriteBaseOutfitFile(file));
  LoadOutfits();
  ASSERT_EQ(CountSavedOutfits(), 1);
  sim::SetFrameTime(0.5f);
  sim::RunFrame();
  const Look original = CurrentLook();

  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
  ASSERT_NO_FATAL_FAILURE(GoToRow("Outfit"));
  sim::ClearNativeLog();
  Tap(PadAccept);
  EXPECT_EQ(sim::Ped().components[1].drawable, 2u) << "the torso goes on";
  EXPECT_EQ(sim::Ped().props[0].index, 1) << "and the hat";
  EXPECT_EQ(sim::Ped().components[4].drawable, 1u) << "the hands the model lacks stay as they were";
  EXPECT_EQ(sim::Ped().components[2].texture, 1u) << "and so does the legs' texture";
  EXPECT_EQ(sim::PrintedMessage(), "Outfit Partly Applied");
  EXPECT_EQ(sim::NativeCallsNamed("PrintLiteralMessage").back().IntArg(2), 2500);
  EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), file);

  // A notice like the others: it runs two seconds of menu time.
  int frames = 0;
  for (int frame = 0; frame < 10; ++frame) {
    sim::ClearNativeLog();
    sim::RunFrame();
    if (PrintedTexts().empty() || PrintedTexts().back() != "Outfit Partly Applied") break;
    ++frames;
  }
  EXPECT_EQ(frames, 3);

  ASSERT_NO_FATAL_FAILURE(GoToRow("Cancel"));
  Tap(PadAccept);
  EXPECT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_EQ(CurrentLook(), original);
  EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), file);
}

// An outfit that fits after one that did not: it goes on whole and ends the notice
// about the one before.
TEST_F(MenuSession, AnOutfitThatFitsEndsTheNoticeOfOneThatDidNot) {
  ASSERT_NO_FATAL_FAILURE(
      WriteBaseOutfitFile("[Outfit0]\r\nDrawable4=9\r\n[Outfit1]\r\nDrawable0=1\r\nProp0=-1\r\nProp1=-1\r\n"));
  LoadOutfits();
  sim::SetFrameTime(0.1f);
  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
  ASSERT_NO_FATAL_FAILURE(GoToRow("Outfit"));
  Tap(PadAccept);
  EXPECT_EQ(sim::PrintedMessage(), "Outfit Partly Applied");
  Tap(PadRight);
  // The press is seen on the frame after it is held: from that frame on, no notice.
  sim::SetPad(PadAccept, true);
  sim::RunFrame();
  sim::SetPad(PadAccept, false);
  sim::ClearNativeLog();
  sim::RunFrame();
  ASSERT_TRUE(WardrobeDriverState.menuOpen);
  EXPECT_EQ(WardrobeMenu.selectedOutfit, 1);
  EXPECT_EQ(sim::Ped().components[0].drawable, 1u);
  sim::RunFrame();
  EXPECT_NE(sim::PrintedMessage(), "Outfit Partly Applied");
  for (const std::string& text : PrintedTexts()) EXPECT_NE(text, "Outfit Partly Applied");
}

// Every way the menu closes ends what its session armed, and the next opening starts
// afresh: an armed "Delete Outfit" asks again, a notice is gone with its lock, the name
// is not being edited, and the View is at Front with the player facing the site's
// heading (after a session that ended at "Back").
TEST_F(MenuSession, EveryClosingEndsWhatTheSessionArmedAndTheViewOpensAtFront) {
  enum class Armed { Delete, Naming, Notice, Nothing };
  enum class Closing { Accept, Cancel, MovedAway };
  struct Case {
    const char* name;
    Armed armed;
    Closing closing;
  };
  const Case cases[] = {
      {"Delete armed, moved away", Armed::Delete, Closing::MovedAway},
      {"naming, moved away", Armed::Naming, Closing::MovedAway},
      {"notice running, moved away", Armed::Notice, Closing::MovedAway},
      {"notice running, Accept", Armed::Notice, Closing::Accept},
      {"notice running, Cancel", Armed::Notice, Closing::Cancel},
      {"at Back, Accept", Armed::Nothing, Closing::Accept},
  };
  const std::string file = "[Outfit0]\r\nDrawable1=1\r\nName=Beach\r\n[Outfit1]\r\nDrawable1=2\r\n";
  const float siteHeading = WardrobeSites[2].heading;
  sim::SetFrameTime(0.05f);  // the notice outlasts the way to Accept or Cancel
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteTextFile("WardrobeOutfits.ini", file));
    LoadOutfits();
    sim::PutPlayerAtSite(2);
    ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
    ASSERT_NO_FATAL_FAILURE(GoToRow("View"));
    Tap(PadRight);
    Tap(PadRight);
    ASSERT_EQ(WardrobeMenu.view, PreviewView::Back);
    switch (c.armed) {
      case Armed::Delete:
        ASSERT_NO_FATAL_FAILURE(GoToRow("Delete Outfit"));
        Tap(PadAccept);
        ASSERT_TRUE(WardrobeMenu.deleteArmed);
        break;
      case Armed::Naming:
        ASSERT_NO_FATAL_FAILURE(GoToRow("Name Outfit"));
        Tap(PadAccept);
        Tap(PadUp);
        ASSERT_TRUE(WardrobeMenu.naming);
        break;
      case Armed::Notice:
        ASSERT_NO_FATAL_FAILURE(GoToRow("Save Outfit"));
        Tap(PadAccept);
        ASSERT_GT(WardrobeMenu.saveNoticeSeconds, 0.0);
        break;
      case Armed::Nothing: break;
    }
    const std::string before = ReadTextFile("WardrobeOutfits.ini");
    switch (c.closing) {
      case Closing::Accept:
      case Closing::Cancel:
        ASSERT_NO_FATAL_FAILURE(GoToRow(c.closing == Closing::Accept ? "Accept" : "Cancel"));
        if (c.armed == Armed::Notice) {
          ASSERT_GT(WardrobeMenu.saveNoticeSeconds, 0.0) << "still running";
        }
        Tap(PadAccept);
        break;
      case Closing::MovedAway:
        ASSERT_EQ(sim::Ped().heading, std::fmod(siteHeading + 180.0f, 360.0f)) << "turned round";
        sim::SetPlayerPosition({0.0f, 0.0f, 0.0f});
        sim::RunFrame();
        break;
    }
    ASSERT_FALSE(WardrobeDriverState.menuOpen);
    EXPECT_FALSE(WardrobeMenu.deleteArmed);
    EXPECT_FALSE(WardrobeMenu.naming);
    EXPECT_LE(WardrobeMenu.saveNoticeSeconds, 0.0);
    EXPECT_EQ(WardrobeMenu.view, PreviewView::Front);
    EXPECT_EQ(sim::Ped().heading, siteHeading) << "the turn taken back";

    // Opened again at the same wardrobe, with the highlight where it was.
    sim::PutPlayerAtSite(2);
    sim::ClearNativeLog();
    ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
    const std::vector<DrawnRow> rows = DrawnRows();
    ASSERT_NE(FindRow(rows, "View"), nullptr);
    EXPECT_EQ(FindRow(rows, "View")->value, "Front");
    EXPECT_EQ(sim::Ped().heading, siteHeading);
    EXPECT_NE(FindRow(rows, "Save Outfit")->colour, sim::HostColourEntry(DisabledEntry)) << "no lock";
    for (const std::string& text : PrintedTexts()) EXPECT_EQ(text.find("Outfit Saved"), std::string::npos);
    EXPECT_EQ(FindRow(rows, "Name Outfit")->value, "Beach") << "not being edited";
    if (c.armed == Armed::Delete) {
      Tap(PadAccept);  // one Accept on "Delete Outfit" only asks
      EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), before);
      EXPECT_EQ(CountSavedOutfits(), 2);
      EXPECT_TRUE(WardrobeMenu.deleteArmed);
    }
    ASSERT_NO_FATAL_FAILURE(GoToRow("Cancel"));
    Tap(PadAccept);
    ASSERT_FALSE(WardrobeDriverState.menuOpen);
  }
}

// An outfit whose prop index is not one of the three an anchor offers (a hand edit,
// another tool) never asks the host for it: that anchor keeps what the player wears,
// the rest goes on, and the notice says so. The three it offers, and no prop, fit.
TEST_F(MenuSession, APropTheAnchorDoesNotOfferKeepsWhatIsWorn) {
  struct Case {
    const char* props;  // the outfit's prop keys
    int32_t hat, glasses;
    bool whole;
  };
  const Case cases[] = {
      {"Prop0=7\r\nProp1=2\r\n", 1, 2, false},
      {"Prop0=3\r\nProp1=-1\r\n", 1, -1, false},
      {"Prop0=2\r\nProp1=2147483647\r\n", 2, 0, false},
      {"Prop0=2\r\nProp1=-1\r\n", 2, -1, true},
  };
  sim::SetFrameTime(0.1f);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.props);
    sim::PutProp(0, 1, 0);
    sim::PutProp(1, 0, 0);
    const std::string file = std::string("[Outfit0]\r\nDrawable1=1\r\n") + c.props;
    ASSERT_TRUE(WriteTextFile("WardrobeOutfits.ini", file));
    LoadOutfits();
    ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
    ASSERT_NO_FATAL_FAILURE(GoToRow("Outfit"));
    sim::ClearNativeLog();
    Tap(PadAccept);
    EXPECT_EQ(sim::Ped().components[1].drawable, 1u) << "the rest goes on";
    EXPECT_EQ(sim::Ped().props[0].index, c.hat);
    EXPECT_EQ(sim::Ped().props[1].index, c.glasses);
    for (const sim::NativeCall& set : sim::NativeCallsNamed("SetPedPropWithTexture")) {
      EXPECT_LT(set.IntArg(2), 3) << "anchor " << set.IntArg(1);
    }
    EXPECT_EQ(sim::PrintedMessage() == "Outfit Partly Applied", !c.whole) << sim::PrintedMessage();
    EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), file);
    ASSERT_NO_FATAL_FAILURE(GoToRow("Accept"));
    Tap(PadAccept);
    ASSERT_FALSE(WardrobeDriverState.menuOpen);
  }
}

// The game itself may put a prop past the menu's three on the player (an anchor of the
// model that has more). It was the host's own report when the menu opened, so Cancel
// puts it back.
TEST_F(MenuSession, CancelPutsBackAPropTheGameGaveBeyondTheMenusThree) {
  sim::SetPropCount(0, 6);
  sim::PutProp(0, 5, 1);
  sim::RunFrame();
  ASSERT_NO_FATAL_FAILURE(OpenWardrobe());
  ASSERT_NO_FATAL_FAILURE(GoToRow("Hats"));
  Tap(PadRight);
  ASSERT_EQ(sim::Ped().props[0].index, -1);
  ASSERT_NO_FATAL_FAILURE(GoToRow("Cancel"));
  Tap(PadAccept);
  ASSERT_FALSE(WardrobeDriverState.menuOpen);
  EXPECT_EQ(sim::Ped().props[0].index, 5);
  EXPECT_EQ(sim::Ped().props[0].texture, 1);
}

}  // namespace
}  // namespace menu_test
