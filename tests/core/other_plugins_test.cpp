// The real Wardrobe.asi in a modded game: a neighbouring plug-in hooking the same
// calls, host code another program changed at one of the sites, and two copies of the
// plug-in in one process.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "sim/sim.h"
#include "support/host_run.h"

namespace {

// At site 2 with the pad: open the wardrobe (on frame 3), the next head (a preview),
// then "Save Outfit" (six rows up from Head, past Cancel, Accept, View, Delete Outfit
// and Name Outfit) and the accept control (frame 19).
std::string OpenAndPreview() { return "using-pad 1\nat-site 2\nframes 1\n" + Press(23) + Press(67); }
std::string WardrobeSession() { return OpenAndPreview() + Press(65, 6) + Press(77); }

constexpr long long previewFrames = 5;
constexpr long long sessionFrames = 19;

std::string NeighbourLoad() {
  char sites[64];
  std::snprintf(sites, sizeof sites, "env NEIGHBOUR_SITES %X %X\n", sim::Layout().sites[sim::FrameSite],
                sim::Layout().sites[sim::CameraSite]);
  return sites + ("load-module " + BuildPath("fixtures/neighbour_plugin/Neighbour.asi") + "\n");
}

// Where in the trace a frame's first record of each side lies.
struct FrameOrder {
  size_t neighbourFrame = 0, wardrobeFrame = 0;
  int neighbourFrames = 0, neighbourCameras = 0, wardrobeFrames = 0;
};

FrameOrder OrderOf(const HostRun& run, long long frame) {
  FrameOrder order;
  for (size_t i = 0; i < run.records.size(); ++i) {
    const JsonValue& record = run.records[i];
    if (record["frame"].Int() != frame) continue;
    if (record["event"].Str() == "debug-output" && record["text"].Str() == "neighbour frame") {
      if (order.neighbourFrames++ == 0) order.neighbourFrame = i;
    } else if (record["event"].Str() == "debug-output" && record["text"].Str() == "neighbour camera") {
      ++order.neighbourCameras;
    } else if (record["native"].Str() == "IsGameplaySuspended") {
      if (order.wardrobeFrames++ == 0) order.wardrobeFrame = i;
    }
  }
  return order;
}

// Loaded before Wardrobe, the neighbour is chained behind it through a whole session:
// opening, a preview and a save. Loaded after, it chains to Wardrobe's thunks; the
// menu opening and a preview show the wardrobe still works (the save's path through
// the hooks is the same, and each frame in the guest is dear).
TEST(OtherPlugins, NeighbourHookingTheSameCallsChainsEitherWayRound) {
  for (const bool neighbourFirst : {true, false}) {
    SCOPED_TRACE(neighbourFirst ? "neighbour loaded before Wardrobe" : "neighbour loaded after Wardrobe");
    const std::string loads = neighbourFirst ? NeighbourLoad() + LoadPlugin() : LoadPlugin() + NeighbourLoad();
    const std::string workDir = FreshWorkDir(neighbourFirst ? "neighbour-first" : "neighbour-last");
    const std::string session = neighbourFirst ? WardrobeSession() : OpenAndPreview();
    const HostRun run = RunHost(ThisBuild(), loads + session, workDir);
    ASSERT_TRUE(run.RanToEnd()) << run.traceText;
    EXPECT_TRUE(run.Events("register-mismatch").empty()) << run.traceText;

    const long long frames = neighbourFirst ? sessionFrames : previewFrames;
    for (long long frame = 1; frame <= frames; ++frame) {
      const FrameOrder order = OrderOf(run, frame);
      ASSERT_EQ(1, order.neighbourFrames) << "frame " << frame;
      ASSERT_EQ(1, order.neighbourCameras) << "frame " << frame;
      ASSERT_EQ(1, order.wardrobeFrames) << "frame " << frame;
      // The one loaded last hooked last: its thunk is the one the host calls first.
      EXPECT_EQ(neighbourFirst, order.wardrobeFrame < order.neighbourFrame) << "frame " << frame;
    }
    // The wardrobe opened, previewed the next head and moved the camera.
    EXPECT_EQ(1, run.CountNative("SetPedPosition"));
    EXPECT_FALSE(run.Natives("SetPedComponent").empty());
    EXPECT_FALSE(run.Events("camera").empty());
    if (neighbourFirst) {
      EXPECT_NE(std::string::npos, ReadTextFile(workDir + "/WardrobeOutfits.ini").find("[Outfit0]")) << "and saved";
    }
  }
}

struct TamperCase {
  const char* kind;
  int site;
};

// Each kind of change once through the real plug-in, two kinds on each build (the
// in-process host tests take every site with every kind on both): the plug-in stays
// idle and the host runs on.
TEST(OtherPlugins, SiteChangedByAnotherProgramLeavesThePluginIdle) {
  const TamperCase build1Cases[] = {{"nops", 6}, {"unmapped", 4}};
  const TamperCase build2Cases[] = {{"jmp", 0}, {"data", 7}};
  for (const TamperCase& c : ThisBuild() == 1070 ? build1Cases : build2Cases) {
    SCOPED_TRACE(std::string(c.kind) + " at site " + std::to_string(c.site));
    const std::string scenario = "tamper-site " + std::to_string(c.site) + " " + c.kind + "\n" + LoadPlugin() +
                                 "at-site 2\nframes 2\npad 23 down\nframes 3\n";
    const HostRun run = RunHost(ThisBuild(), scenario, FreshWorkDir(std::string("tamper-") + c.kind));
    ASSERT_TRUE(run.RanToEnd()) << run.traceText;
    EXPECT_EQ(0u, run.exitCode);
    ASSERT_NE(nullptr, run.LastEvent("load-plugin"));
    EXPECT_TRUE((*run.LastEvent("load-plugin"))["ok"].Bool());
    EXPECT_TRUE(run.Events("code-write").empty()) << "no byte of host code written";
    EXPECT_TRUE(run.NativeNames().empty()) << "no native called: no prompt, no menu, no outfits";
    EXPECT_FALSE(run.HasEvent("message-box"));
  }
}

TEST(OtherPlugins, SecondCopyInTheProcessStaysIdle) {
  const std::string workDir = FreshWorkDir("two-copies");
  const std::string copy = workDir + "/Wardrobe-copy.asi";
  ASSERT_TRUE(CopyFileA(WindowsPath(PluginPath()).c_str(), WindowsPath(copy).c_str(), FALSE));
  const HostRun run = RunHost(ThisBuild(), LoadPlugin() + "load-plugin " + copy + "\n" + WardrobeSession(), workDir);
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  const auto loads = run.Events("load-plugin");
  ASSERT_EQ(2u, loads.size());
  for (const JsonValue* load : loads) EXPECT_TRUE((*load)["ok"].Bool()) << load->Dump();

  EXPECT_EQ(8u, run.Events("code-write").size()) << "only the first copy patched the host";

  for (long long frame = 1; frame <= sessionFrames; ++frame) {
    const std::vector<std::string> names = run.NativeNames(frame);
    EXPECT_EQ(1, std::count(names.begin(), names.end(), "TerminateScriptsNamed")) << "frame " << frame;
    EXPECT_GE(1, std::count(names.begin(), names.end(), "ShowHelpMessage")) << "frame " << frame;
    EXPECT_GE(1, std::count(names.begin(), names.end(), "PreparePedForMenuFrame")) << "frame " << frame;
  }
  EXPECT_EQ(1, run.CountNative("SetPedPosition")) << "one menu opened";
  const std::string saved = ReadTextFile(workDir + "/WardrobeOutfits.ini");
  EXPECT_NE(std::string::npos, saved.find("[Outfit0]"));
  EXPECT_EQ(std::string::npos, saved.find("[Outfit1]")) << "one save per accept";
}

// Copies from before the one-per-process claim (1.0.0, rebuilt from its sources by
// tests/fixtures/older_copy/rebuild.sh) do not claim the process. Loaded first, 1.0.0
// hooks the host, and a newer copy finds the calls leading into a module whose version
// resource names the plug-in: it stays idle and one wardrobe runs. Loaded second,
// nothing stops 1.0.0: it hooks the calls behind ours, and two wardrobes run side by
// side (two prompts, two menus); the player's cure is to remove the old copy.
TEST(OtherPlugins, OlderCopyFirstLeavesOneWardrobeAndOlderCopySecondCannotBeStopped) {
  const std::string olderCopy = "load-plugin " + SourcePath("tests/fixtures/older_copy/Wardrobe-1.0.0.asi") + "\n";
  for (const bool olderFirst : {true, false}) {
    SCOPED_TRACE(olderFirst ? "1.0.0 loaded first" : "1.0.0 loaded second");
    const std::string loads = olderFirst ? olderCopy + LoadPlugin() : LoadPlugin() + olderCopy;
    const HostRun run =
        RunHost(ThisBuild(), loads + OpenAndPreview(), FreshWorkDir(olderFirst ? "older-first" : "older-second"));
    ASSERT_TRUE(run.RanToEnd()) << run.traceText;
    const auto loaded = run.Events("load-plugin");
    ASSERT_EQ(2u, loaded.size());
    for (const JsonValue* load : loaded) EXPECT_TRUE((*load)["ok"].Bool()) << load->Dump();
    EXPECT_TRUE(run.Events("register-mismatch").empty()) << run.traceText;

    const int wardrobes = olderFirst ? 1 : 2;
    EXPECT_EQ(8u * wardrobes, run.Events("code-write").size());
    for (long long frame = 1; frame <= previewFrames; ++frame) {
      const std::vector<std::string> names = run.NativeNames(frame);
      EXPECT_EQ(wardrobes, std::count(names.begin(), names.end(), "TerminateScriptsNamed")) << "frame " << frame;
      EXPECT_GE(wardrobes, std::count(names.begin(), names.end(), "ShowHelpMessage")) << "frame " << frame;
    }
    EXPECT_EQ(wardrobes, run.CountNative("SetPedPosition")) << "menus opened";
    EXPECT_FALSE(run.Events("camera").empty());
  }
}

}  // namespace
