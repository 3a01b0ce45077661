// The real Wardrobe.asi, copied into a folder of the test's own so that its settings
// and its log lie beside it: a French keyboard, keys and repeat times from
// Wardrobe.ini, a held key browsing, and what the log says in each start-up case.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "sim/sim.h"
#include "support/host_run.h"

namespace {

// The plug-in as WORK/Wardrobe.asi (and WORK/<name>.asi for a second copy).
std::string PluginIn(const std::string& workDir, const std::string& name = "Wardrobe") {
  const std::string copy = workDir + "/" + name + ".asi";
  EXPECT_TRUE(CopyFileA(WindowsPath(PluginPath()).c_str(), WindowsPath(copy).c_str(), FALSE));
  return copy;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

int CountSound(const HostRun& run, const std::string& sound) {
  int count = 0;
  for (const auto& args : run.ArgsOf("PlayFrontendSound")) count += args.at(1) == sound ? 1 : 0;
  return count;
}

// The menu opened at site 0 with the keyboard (the wardrobe control is a pad control
// whatever the device), then the given scenario lines.
std::string KeyboardSession(const std::string& lines) {
  return "using-pad 0\nat-site 0\nframes 1\npress-pad 23\nframes 2\n" + lines;
}

// A French player's keys at the places of W and A are Z and Q: Z moves up, Q steps the
// highlighted "Head" row back; the keys labelled W and A do nothing.
TEST(PluginLog, FrenchLayoutDrivesTheMenuWithTheKeysAtTheSamePlaces) {
  const std::string workDir = FreshWorkDir("french");
  const std::string scenario = "layout fr\nload-plugin " + PluginIn(workDir) + "\n" +
                               KeyboardSession(
                                   "note W and A\npress-key 0x57\nframes 1\npress-key 0x41\nframes 1\n"
                                   "note Q\npress-key 0x51\nframes 1\nnote Z\npress-key 0x5A\nframes 1\n");
  const HostRun run = RunHost(ThisBuild(), scenario, workDir);
  ASSERT_TRUE(run.RanToEnd()) << run.traceText;
  EXPECT_EQ(CountSound(run, "FRONTEND_MENU_TOGGLE_ON"), 1) << "Z moved, W did not";
  EXPECT_EQ(run.CountNative("SetPedComponent"), 1) << "Q stepped the head, A did not";
  EXPECT_TRUE(Contains(ReadTextFile(workDir + "/Wardrobe.log"),
                       "Keyboard layout 040C040C: the keys at the places of "
                       "W, S, A, D, E are Z, S, Q, D, E"));
}

// Right held for one second of game time on the Head row (40 heads): one step at
// once, one after 0.4 s, then every 0.1 s; with RepeatDelay = 0 one step. The arrow
// keys and Enter from the settings drive the menu and the help names them.
TEST(PluginLog, SettingsKeysAndAHeldKeyBrowse) {
  for (const bool repeat : {true, false}) {
    SCOPED_TRACE(repeat ? "defaults" : "RepeatDelay = 0");
    const std::string workDir = FreshWorkDir(repeat ? "held" : "held-no-repeat");
    const std::string plugin = PluginIn(workDir);
    ASSERT_TRUE(WriteTextFile(workDir + "/Wardrobe.ini", std::string("[Keys]\nUp=Up\nDown=Down\nLeft=Left\n") +
                                                             "Right=Right\nAccept=Enter\n" +
                                                             (repeat ? "" : "[Menu]\nRepeatDelay=0\n")));
    // The key goes down before frame F and is seen by the sampling at F's end; it is
    // held for 31 samplings (one second apart from first to last).
    const std::string scenario = "component 0 40\nload-plugin " + plugin + "\n" +
                                 KeyboardSession(
                                     "press-key 0x44\nframes 1\nkey 0x27 down\nframes 31\nkey 0x27 up\n"
                                     "frames 2\n");
    const HostRun run = RunHost(ThisBuild(), scenario, workDir);
    ASSERT_TRUE(run.RanToEnd()) << run.traceText;
    EXPECT_EQ(run.CountNative("SetPedComponent"), repeat ? 8 : 1) << "D is no key of the menu's now";
    bool named = false;
    for (const auto& args : run.ArgsOf("PrintLiteralMessage")) {
      named = named || args.at(1) == "[Up]/[Down] Move~n~[Left]/[Right] Adjust";
    }
    EXPECT_TRUE(named) << "the help box names the player's keys";
    const std::string log = ReadTextFile(workDir + "/Wardrobe.log");
    EXPECT_TRUE(Contains(log, "Keys: Up = Up; Down = Down; Left = Left; Right = Right; Accept = Enter")) << log;
    // Nothing is written on a plain frame: the last line is the companion check's, on
    // the first frame.
    const size_t last = log.rfind('\n', log.size() - 2);
    EXPECT_TRUE(Contains(log.substr(last), "Companion check: the game's call")) << log;
  }
}

struct StartCase {
  const char* name;
  int build;              // 0: this test's own
  const char* before;     // scenario lines before the plug-in loads
  bool secondCopy;        // a second copy loads after the first; its own log is read
  const char* after;      // scenario lines after
  const char* logged[3];  // what the log must say
};

TEST(PluginLog, StartUpCasesSayWhatHappened) {
  char jumpSite[64];
  std::snprintf(jumpSite, sizeof jumpSite, "tamper-site 3 jmp\n");
  const StartCase cases[] = {
      {"unsupported build",
       1071,
       "",
       false,
       "frames 2\n",
       {"file version 1.0.7.1: not supported", "the wardrobe stays off", nullptr}},
      {"tampered site",
       0,
       jumpSite,
       false,
       "frames 2\n",
       {"Call site 4 of 8", "refused: found E9 ", "The wardrobe stays off"}},
      {"second copy",
       0,
       "",
       true,
       "frames 2\n",
       {"Another copy of the wardrobe already runs in this game: this copy (", "Second.asi) stays off", nullptr}},
      {"outdated companion",
       0,
       "env KORVANE_FIXTURE_VERSION 220624\n",
       false,
       "frames 2\n",
       {"Companion check: ", "version 220624: older than 220625", nullptr}},
      {"unreadable outfit file",
       0,
       "",
       false,
       "frames 2\n",
       {"WardrobeOutfits.ini could not be read: Windows error ", nullptr, nullptr}},
      {"log in a folder's place", 0, "", false, "at-site 0\nframes 2\n", {nullptr, nullptr, nullptr}},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(c.name);
    const int build = c.build != 0 ? c.build : ThisBuild();
    std::string folder = std::string("start-") + c.name;  // a path in a scenario is one word
    for (char& ch : folder) ch = ch == ' ' || ch == '\'' ? '-' : ch;
    const std::string workDir = FreshWorkDir(folder);
    std::string scenario = c.before;
    if (std::string(c.name) == "outdated companion") {
      scenario += "load-module " + BuildPath("fixtures/companion_fixture/KorvaneIV.asi") + "\n";
    }
    if (std::string(c.name) == "unreadable outfit file") {
      ASSERT_TRUE(CreateDirectoryA(WindowsPath(workDir + "/WardrobeOutfits.ini").c_str(), nullptr));
    }
    const bool noLog = std::string(c.name) == "log in a folder's place";
    if (noLog) ASSERT_TRUE(CreateDirectoryA(WindowsPath(workDir + "/Wardrobe.log").c_str(), nullptr));
    scenario += "load-plugin " + PluginIn(workDir) + "\n";
    if (c.secondCopy) scenario += "load-plugin " + PluginIn(workDir, "Second") + "\n";
    scenario += c.after;
    const HostRun run = RunHost(build, scenario, workDir);
    ASSERT_TRUE(run.RanToEnd() || run.EndedByPlugin()) << run.traceText;
    if (noLog) {
      EXPECT_EQ(run.CountNative("ShowHelpMessage"), 2) << "a log that cannot be written changes nothing else";
      EXPECT_EQ(GetFileAttributesA(WindowsPath(workDir + "/Wardrobe.log").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
                static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
      continue;
    }
    const std::string log = ReadTextFile(workDir + (c.secondCopy ? "/Second.log" : "/Wardrobe.log"));
    EXPECT_TRUE(Contains(log, "Wardrobe " WARDROBE_VERSION ", ")) << log;
    EXPECT_TRUE(Contains(log, "Wardrobe.asi") || c.secondCopy) << log;
    for (const char* part : c.logged) {
      if (part != nullptr) EXPECT_TRUE(Contains(log, part)) << part << "\n" << log;
    }
    if (std::string(c.name) == "tampered site") {
      // The jump leads into the game's own image here (the simulator's trampoline): the
      // log names the module, as it would name another plug-in's file.
      EXPECT_TRUE(Contains(log, "hostsim-") || Contains(log, "test_core_")) << log;
    }
  }
}

}  // namespace
