// The real Wardrobe.asi in the simulated host executables: start-up on supported and
// unsupported builds, the prompt and opening at every site, and the companion check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/wardrobe_frame.h"
#include "sim/sim.h"
#include "support/host_run.h"

namespace {

std::string Float(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", value);
  return text;
}

TEST(CoreScenarios, UnsupportedBuildStaysIdleAndLeavesTheHostUntouched) {
  if (ThisBuild() != 1070) GTEST_SKIP() << "one run is enough";
  const HostRun run = RunHost(1071, LoadPlugin() + "at-site 0\npad 23 down\nframes 5\n", FreshWorkDir("unsupported"));
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  EXPECT_EQ(0u, run.exitCode);
  ASSERT_NE(nullptr, run.LastEvent("load-plugin"));
  EXPECT_TRUE((*run.LastEvent("load-plugin"))["ok"].Bool()) << "DllMain returned TRUE";
  EXPECT_EQ(1, (*run.LastEvent("load-plugin"))["threadsStarted"].Int()) << "the keep-alive thread";
  EXPECT_TRUE(run.NativeNames().empty()) << "no native called";
  EXPECT_TRUE(run.Events("code-write").empty()) << "no byte of host code changed";
  EXPECT_TRUE(run.Events("register-mismatch").empty());
}

TEST(CoreScenarios, SupportedBuildPatchesTheEightSitesAndKeepsTheHostsRegisters) {
  // Thread attach and detach between load and frames must change nothing: a second
  // installation would make every thunk its own previous callee.
  const HostRun run =
      RunHost(ThisBuild(), LoadPlugin() + "spawn-thread\nspawn-thread\nframes 3\n", FreshWorkDir("patched"));
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  EXPECT_EQ(8u, run.Events("code-write").size());
  for (const JsonValue* write : run.Events("code-write")) {
    EXPECT_EQ(11u, (*write)["bytes"].Str().size()) << "one displacement of four bytes: " << write->Dump();
  }
  EXPECT_TRUE(run.Events("register-mismatch").empty()) << run.traceText;
  EXPECT_EQ(3, run.CountNative("IsGameplaySuspended")) << "the driver runs once per frame";
  EXPECT_EQ(1, (*run.LastEvent("load-plugin"))["threadsStarted"].Int()) << "the keep-alive thread";
  // Loaded away from its preferred base, as Windows does: the relocations were applied.
  const std::string image = ReadTextFile(PluginPath());
  ASSERT_GT(image.size(), 0x200u);
  uint32_t peOffset = 0, imageBase = 0;
  std::memcpy(&peOffset, image.data() + 0x3C, 4);
  std::memcpy(&imageBase, image.data() + peOffset + 24 + 28, 4);  // OptionalHeader.ImageBase
  char preferred[16];
  std::snprintf(preferred, sizeof preferred, "0x%08X", imageBase);
  EXPECT_EQ((*run.LastEvent("load-plugin"))["preferredBase"].Str(), preferred);
  EXPECT_NE((*run.LastEvent("load-plugin"))["base"].Str(), preferred);
}

// An exception the plug-in cannot resume (flagged non-continuable, inside the host's
// native lookup) is passed on to the host's own handler, and the host goes on: once the
// lookup answers again the prompt shows.
TEST(CoreScenarios, NonContinuableExceptionInTheLookupIsLeftToTheHost) {
  const HostRun run =
      RunHost(ThisBuild(), LoadPlugin() + "at-site 0\nlookup-raise 1\nframes 2\nlookup-raise 0\nframes 2\n",
              FreshWorkDir("lookup-raise"));
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  const std::vector<const JsonValue*> exceptions = run.Events("host-exception");
  ASSERT_EQ(exceptions.size(), 2u) << run.traceText;
  for (const JsonValue* exception : exceptions) {
    EXPECT_EQ((*exception)["site"].Int(), 0) << "the frame site";
    EXPECT_EQ((*exception)["code"].Str(), "0xE0570017");
  }
  EXPECT_EQ(run.CountNative("ShowHelpMessage"), 2);
  EXPECT_FALSE(run.HasEvent("register-mismatch")) << run.traceText;
}

// Exceptions raised inside the frame and taken by the host's own handler further out:
// inside the prop-texture query of a capture (the code byte at 8, its page writable),
// and with the menu open after the frame switched the preview camera off. Each time the
// host's script thread, the code byte and its page's protection are the host's again,
// the camera thread gets the frame's camera (here the game's, not the menu's of the
// frame before), and prompt, menu and camera work on.
TEST(CoreScenarios, AnExceptionTheHostTakesLeavesNothingOfTheFrameBehind) {
  const std::string scenario = LoadPlugin() + "state\nusing-pad 1\nat-site 1\nprop 0 1 2\nframes 1\n" +
                               "lookup-raise-on GetPedPropIndex 2\nframes 1\nstate\n" +        // frame 2
                               Press(23) + "frames 1\n" +                                      // opens on 4
                               "lookup-raise-on TerminateScriptsNamed 1\nframes 1\nstate\n" +  // frame 6
                               "frames 2\n";
  const HostRun run = RunHost(ThisBuild(), scenario, FreshWorkDir("exception-unwind"));
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;

  const std::vector<const JsonValue*> exceptions = run.Events("host-exception");
  ASSERT_EQ(exceptions.size(), 2u) << run.traceText;
  EXPECT_EQ((*exceptions[0])["frame"].Int(), 2);
  EXPECT_EQ((*exceptions[1])["frame"].Int(), 6);
  for (const JsonValue* exception : exceptions) EXPECT_EQ((*exception)["site"].Int(), 0) << "the frame site";

  const std::vector<const JsonValue*> states = run.Events("state");
  ASSERT_EQ(states.size(), 3u);
  const std::string hostThread = (*states[0])["scriptThread"].Str();
  for (const JsonValue* state : states) {
    EXPECT_EQ((*state)["scriptThread"].Str(), hostThread) << state->Dump();
    EXPECT_EQ((*state)["patchByte"].Int(), 4) << state->Dump();
    EXPECT_EQ((*state)["patchByteProtection"].Str(), "0x00000020") << "PAGE_EXECUTE_READ: " << state->Dump();
  }

  // The prompt after the exception in the capture, the menu opened and running before
  // and after the one in the menu's frame, its camera on every menu frame but that one.
  const std::vector<std::string> afterCapture = run.NativeNames(3);
  EXPECT_EQ(1, std::count(afterCapture.begin(), afterCapture.end(), "ShowHelpMessage"));
  EXPECT_EQ(1, run.CountNative("SetPedPosition"));
  std::vector<long long> cameraFrames;
  for (const JsonValue* camera : run.Events("camera")) cameraFrames.push_back((*camera)["frame"].Int());
  EXPECT_EQ(cameraFrames, (std::vector<long long>{5, 7, 8}));
  for (long long frame : {5, 7, 8}) {
    const std::vector<std::string> names = run.NativeNames(frame);
    EXPECT_EQ(1, std::count(names.begin(), names.end(), "PreparePedForMenuFrame")) << "frame " << frame;
  }
  EXPECT_FALSE(run.HasEvent("register-mismatch")) << run.traceText;
}

// The menu open, the host's native lookup faulting for some frames while the game
// moves the player away: the menu's camera stays and control stays with the menu until
// the lookup answers again; on that frame the menu closes as Cancel does.
TEST(CoreScenarios, ControlComesBackOnceTheHostServesAgainAfterLookupFaults) {
  const std::string scenario = LoadPlugin() + "at-site 2\nframes 1\n" + Press(23) + "frames 2\n" +  // menu on 4, 5
                               "lookup-fault 1\nframes 2\nat 0 0 0\nframes 3\nstate\n" +            // 6 to 10
                               "lookup-fault 0\nframes 2\nstate\n";                                 // 11, 12
  const HostRun run = RunHost(ThisBuild(), scenario, FreshWorkDir("lookup-fault-away"));
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  const std::vector<const JsonValue*> states = run.Events("state");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_FALSE((*states[0])["control"].Bool()) << "held by the open menu";
  EXPECT_TRUE((*states[1])["control"].Bool()) << "given back once the host serves again";
  for (long long frame = 6; frame <= 10; ++frame) EXPECT_TRUE(run.NativeNames(frame).empty()) << frame;
  std::vector<long long> cameraFrames;
  for (const JsonValue* camera : run.Events("camera")) cameraFrames.push_back((*camera)["frame"].Int());
  EXPECT_EQ(cameraFrames, (std::vector<long long>{4, 5, 6, 7, 8, 9, 10})) << "the menu's camera until it closes";
  const auto control = run.Natives("SetPlayerControl");
  ASSERT_FALSE(control.empty());
  EXPECT_EQ((*control.back())["frame"].Int(), 11);
  EXPECT_TRUE((*control.back())["args"][1].Bool());
  EXPECT_FALSE(run.HasEvent("register-mismatch")) << run.traceText;
}

// The host stops serving in the middle of the frame on which Cancel is pressed, right
// after the row's sound: the closing cannot reach the host (control, the look), so the
// menu stays open and closes whole on the first frame served again.
TEST(CoreScenarios, AClosingTheHostStopsServingPartWayIsMadeWholeOnceItServes) {
  const std::string scenario = LoadPlugin() + "using-pad 1\nat-site 2\nframes 1\n" + Press(23) + "frames 1\n" +
                               Press(67) +  // Head: drawable 2 of 2, previewed
                               Press(65) +  // up from the first row: Cancel
                               "lookup-fault-after PlayFrontendSound 1\n" + Press(77) + "frames 2\nstate\n" +
                               "lookup-fault 0\nframes 2\nstate\n";
  const HostRun run = RunHost(ThisBuild(), scenario, FreshWorkDir("lookup-fault-closing"));
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  const std::vector<const JsonValue*> states = run.Events("state");
  ASSERT_EQ(states.size(), 2u);
  EXPECT_FALSE((*states[0])["control"].Bool());
  EXPECT_EQ((*states[0])["drawables"][0].Int(), 1) << "the preview, until the closing reaches the host";
  EXPECT_TRUE((*states[1])["control"].Bool());
  EXPECT_EQ((*states[1])["drawables"][0].Int(), 0) << "the look from before the menu";
  EXPECT_EQ(run.CountNative("SetPedPosition"), 1) << "opened once";
}

// At site n: two frames with the prompt, the wardrobe control pressed, the menu opened
// on the next frame and run from the one after, then the player walks away.
TEST(CoreScenarios, EverySiteShowsThePromptAndOpensTheWardrobe) {
  for (int site = 0; site < 8; ++site) {
    SCOPED_TRACE("site " + std::to_string(site));
    const WardrobeSite& s = WardrobeSites[site];
    const float ownHeight = s.z - 0.75f;
    const std::string scenario = LoadPlugin() + "at " + Float(s.x + 0.5f) + " " + Float(s.y - 0.5f) + " " +
                                 Float(ownHeight) +
                                 "\nframes 2\npad 23 down\nframes 1\npad 23 up\nframes 2\nat 0 0 0\nframes 2\n";
    const HostRun run = RunHost(ThisBuild(), scenario, FreshWorkDir("site" + std::to_string(site)));
    ASSERT_TRUE(run.RanToEnd()) << run.traceText;

    for (long long frame = 1; frame <= 7; ++frame) {
      const std::vector<std::string> names = run.NativeNames(frame);
      EXPECT_EQ(1, std::count(names.begin(), names.end(), "TerminateScriptsNamed")) << "frame " << frame;
      const bool prompt = frame <= 4;
      EXPECT_EQ(prompt ? 1 : 0, std::count(names.begin(), names.end(), "ShowHelpMessage")) << "frame " << frame;
      const bool cleared = frame == 4 || frame == 6;
      EXPECT_EQ(cleared ? 1 : 0, std::count(names.begin(), names.end(), "ClearHelpMessage")) << "frame " << frame;
      const bool menuRuns = frame == 5;
      EXPECT_EQ(menuRuns ? 1 : 0, std::count(names.begin(), names.end(), "PreparePedForMenuFrame"))
          << "frame " << frame;
    }
    for (const auto& args : run.ArgsOf("TerminateScriptsNamed")) EXPECT_EQ("ambwardrobe", args.at(0));
    for (const auto& args : run.ArgsOf("ShowHelpMessage")) EXPECT_EQ("WD_USE", args.at(0));

    const auto placed = run.Natives("SetPedPosition");
    ASSERT_EQ(1u, placed.size());
    EXPECT_EQ(4, (*placed[0])["frame"].Int());
    // Floats travel through the trace as nine significant digits: exact as float32.
    EXPECT_EQ(s.x, static_cast<float>((*placed[0])["args"][1].Num()));
    EXPECT_EQ(s.y, static_cast<float>((*placed[0])["args"][2].Num()));
    EXPECT_EQ(ownHeight, static_cast<float>((*placed[0])["args"][3].Num())) << "the player keeps their height";
    const std::vector<std::string> opening = run.NativeNames(4);
    const auto at = [&](const char* name) { return std::find(opening.begin(), opening.end(), name) - opening.begin(); };
    EXPECT_LT(at("ShowHelpMessage"), at("SetPedPosition"));
    EXPECT_LT(at("SetPedPosition"), at("StopPedActivity"));
    EXPECT_LT(at("StopPedActivity"), at("ClearHelpMessage"));
  }
}

struct CompanionCase {
  const char* name;
  const char* module;       // fixture directory, or nullptr for no companion module
  const char* version;      // what the fixture's export stores ("unset": nothing)
  const char* probeTarget;  // destination of the probed host call, or nullptr to leave it
  bool exits;
};

TEST(CoreScenarios, CompanionCheckEndsTheGameOnlyForAnOutdatedOrHiddenCompanion) {
  const CompanionCase cases[] = {
      {"accepted version", "companion_fixture", "220625", nullptr, false},
      {"newer version", "companion_fixture", "230101", nullptr, false},
      {"one below", "companion_fixture", "220624", nullptr, true},
      {"version never stored", "companion_fixture", "unset", nullptr, true},
      {"accepted version, probe ignored", "companion_fixture", "220625", "0x70000001", false},
      {"no export, probe unchanged", "companion_without_export", nullptr, nullptr, false},
      {"no export, probe redirected high", "companion_without_export", nullptr, "0x70000001", true},
      {"absent, probe at the limit", nullptr, nullptr, "0x70000000", false},
      {"absent, probe above the limit", nullptr, nullptr, "0x70000001", true},
  };
  for (const CompanionCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::string scenario;
    if (c.version != nullptr) scenario += std::string("env KORVANE_FIXTURE_VERSION ") + c.version + "\n";
    if (c.module != nullptr)
      scenario += "load-module " + BuildPath(std::string("fixtures/") + c.module + "/KorvaneIV.asi") + "\n";
    if (c.probeTarget != nullptr) scenario += std::string("probe-target ") + c.probeTarget + "\n";
    // The check waits for the first frame that gets past the gate.
    scenario += LoadPlugin() + "suspended 1\nframes 2\nnote gate open\nsuspended 0\nframes 2\n";
    const HostRun run = RunHost(ThisBuild(), scenario, FreshWorkDir(std::string("companion-") + c.name));
    if (c.exits) {
      ASSERT_TRUE(run.EndedByPlugin()) << run.traceText;
      EXPECT_EQ(0u, run.exitCode);
      const auto boxes = run.Events("message-box");
      ASSERT_EQ(1u, boxes.size());
      EXPECT_EQ("Incompatible/outdated version of Korvane detected! The game will now exit.",
                (*boxes[0])["text"].Str());
      EXPECT_EQ("", (*boxes[0])["caption"].Str());
      EXPECT_EQ(0x10 | 0x40000 | 0x10000, (*boxes[0])["style"].Int()) << "error icon, on top, in front";
      EXPECT_EQ(3, run.CountNative("IsGameplaySuspended")) << "ended on the first active frame";
    } else {
      EXPECT_TRUE(run.RanToEnd()) << run.traceText;
      EXPECT_FALSE(run.HasEvent("message-box"));
    }
  }
}

TEST(CoreScenarios, CompanionLoadedAfterTheFirstActiveFrameIsNeverExamined) {
  const std::string scenario = LoadPlugin() + "frames 1\nenv KORVANE_FIXTURE_VERSION 1\nload-module " +
                               BuildPath("fixtures/companion_fixture/KorvaneIV.asi") + "\nframes 3\n";
  const HostRun run = RunHost(ThisBuild(), scenario, FreshWorkDir("companion-late"));
  EXPECT_TRUE(run.RanToEnd()) << run.traceText;
  EXPECT_FALSE(run.HasEvent("message-box"));
}

}  // namespace
