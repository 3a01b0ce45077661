// Wardrobe.ini: keys of the player's own, the repeat times, and every line that cannot
// be used refused in the log with its number while the rest holds; the log itself.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "core/input_state.h"
#include "core/key_names.h"
#include "core/menu_keys.h"
#include "core/plugin_settings.h"
#include "host/plugin_log.h"
#include "menu/own_key_names.h"
#include "sim/sim.h"
#include "support/host_run.h"

namespace {

class Settings : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    sim::InterceptImports(GetModuleHandleW(nullptr));
    sim::ResetModel();
    directory = FreshWorkDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
    ASSERT_TRUE(StartPluginLog(Wide(directory + "/Wardrobe.log")));
  }
  void TearDown() override {
    StopPluginLog();
    LoadSettings(L"");  // back to the defaults, help texts included
    sim::ResetModel();
  }
  static std::wstring Wide(const std::string& path) {
    const std::string windows = WindowsPath(path);
    return std::wstring(windows.begin(), windows.end());
  }
  // Writes the settings, reads them, and gives back the log.
  std::string Load(const std::string& text) {
    EXPECT_TRUE(WriteTextFile(directory + "/Wardrobe.ini", text));
    LoadSettings(Wide(directory + "/Wardrobe.ini"));
    return ReadTextFile(directory + "/Wardrobe.log");
  }
  std::string directory;
};

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(KeyNames, NamesAndNumbersReadBothWays) {
  struct Case {
    const char* name;
    int key;
  };
  const Case cases[] = {
      {"a", 'A'},      {"Z", 'Z'},       {"0", '0'},         {"9", '9'},        {"F1", 0x70},      {"f12", 0x7B},
      {"F13", 0},      {"F0", 0},        {"Up", 0x26},       {"DOWN", 0x28},    {"left", 0x25},    {"Right", 0x27},
      {"Enter", 0x0D}, {"Space", 0x20},  {"Tab", 0x09},      {"Insert", 0x2D},  {"Delete", 0x2E},  {"Home", 0x24},
      {"End", 0x23},   {"PageUp", 0x21}, {"pagedown", 0x22}, {"Numpad0", 0x60}, {"numpad9", 0x69}, {"Numpad10", 0},
      {"0x26", 0x26},  {"0XfE", 0xFE},   {"0xFF", 0},        {"0x00", 0},       {"0x", 0},         {"0x123", 0},
      {"", 0},         {"Jump", 0},      {"AB", 0},          {"-", 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyOfName(c.name), c.key) << c.name;
    if (c.key != 0) EXPECT_EQ(VirtualKeyOfName(NameOfVirtualKey(static_cast<uint8_t>(c.key))), c.key) << c.name;
  }
  EXPECT_EQ(NameOfVirtualKey(0x26), "Up");
  EXPECT_EQ(NameOfVirtualKey(0xC0), "0xC0");
}

// The arrow keys and Enter from the file: they drive the menu, the keys at the places
// of W and E no longer do, and the help texts name them.
TEST_F(Settings, OwnKeysDriveTheMenuAndTheHelpTextsNameThem) {
  const std::string log =
      Load("# arrows\r\n[Keys]\r\nUp = Up\r\nDown = Down, S\r\nLeft=Left\r\nright = RIGHT\r\nAccept = Enter\r\n");
  EXPECT_TRUE(Contains(log, "Keys: Up = Up; Down = Down, S; Left = Left; Right = Right; Accept = Enter")) << log;
  EXPECT_FALSE(Contains(log, "refused")) << log;
  sim::SetUsingPad(false);
  const struct {
    int key;
    bool (*pressed)();
    bool acts;
  } cases[] = {{VK_UP, IsMenuUpPressed, true},
               {'W', IsMenuUpPressed, false},
               {'S', IsMenuDownPressed, true},
               {VK_RETURN, IsMenuAcceptPressed, true},
               {'E', IsMenuAcceptPressed, false}};
  for (const auto& c : cases) {
    sim::ReleaseAllInput();
    SampleInput();
    sim::SetKey(c.key, true);
    SampleInput();
    EXPECT_EQ(c.pressed(), c.acts) << NameOfVirtualKey(static_cast<uint8_t>(c.key));
  }
  char buffer[256];
  EXPECT_STREQ(WithOwnKeyNames("~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_MOVE_LEFT~~INPUT_MOVE_RIGHT~ "
                               "Adjust~n~~INPUT_PICKUP~ Apply",
                               buffer, sizeof buffer),
               "[Up]/[Down] Move~n~[Left]/[Right] Adjust~n~[Enter] Apply");
  EXPECT_STREQ(WithOwnKeyNames("~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Save", buffer, sizeof buffer),
               "~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Save")
      << "pad texts stay";

  // Only Accept of the player's own: the other codes stay the host's.
  Load("[Keys]\nAccept=Space\n");
  EXPECT_STREQ(WithOwnKeyNames("~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_PICKUP~ Save", buffer, sizeof buffer),
               "~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~[Space] Save");
  // No settings: the texts are the host's, unchanged (the same pointer).
  LoadSettings(Wide(directory + "/missing.ini"));
  const char* text = "~INPUT_MOVE_UP~ Move";
  EXPECT_EQ(WithOwnKeyNames(text, buffer, sizeof buffer), text);
  EXPECT_TRUE(Contains(ReadTextFile(directory + "/Wardrobe.log"), "the defaults are in force"));
}

// Each kind of line that cannot be used is logged with its number and why; that
// setting keeps its default (or what an earlier line set), everything else holds.
TEST_F(Settings, BadLinesKeepTheDefaultAndAreLoggedWithTheirNumber) {
  const std::string log = Load(
      "# Wardrobe settings\n"    // 1
      "[Keys]\n"                 // 2
      "Up = Jump\n"              // 3 unknown key name
      "Down = Enter\n"           // 4
      "Accept = Enter\n"         // 5 a key given to two actions
      "Left = 0x25, Nope\n"      // 6 one unknown name spoils the line
      "Right = A,B,C,D,F\n"      // 7 too many keys
      "Fly = Space\n"            // 8 unknown setting
      "[Menu]\n"                 // 9
      "RepeatDelay = 9\n"        // 10 out of range
      "RepeatInterval = 0.25\n"  // 11
      "RepeatInterval = -1\n"    // 12 not a number of seconds (kept: 0.25, set before)
      "Colour = red\n"           // 13 unknown setting
      "RepeatDelay\n"            // 14 not a setting at all
      "[Other]\n"                // 15
      "Up = W\n");               // 16 unknown section
  const std::vector<std::pair<int, const char*>> refused = {
      {3, "unknown key name \"Jump\""},
      {5, "the key Enter is Down's already (line 4)"},
      {6, "unknown key name \"Nope\""},
      {7, "more than 4 keys"},
      {8, "unknown setting \"Fly\""},
      {10, "\"9\" is not a number of seconds from 0 to 5"},
      {12, "\"-1\" is not a number"},
      {13, "unknown setting \"Colour\""},
      {14, "not a setting"},
      {16, "unknown setting \"Up\" in [Other]"},
  };
  for (const auto& [line, why] : refused) {
    const std::string head = "Wardrobe.ini line " + std::to_string(line) + " refused: ";
    const size_t at = log.find(head);
    ASSERT_NE(at, std::string::npos) << "line " << line << "\n" << log;
    EXPECT_TRUE(Contains(log.substr(at, log.find('\n', at) - at), why)) << log.substr(at, log.find('\n', at) - at);
  }
  size_t refusals = 0;
  for (size_t at = log.find(" refused: "); at != std::string::npos; at = log.find(" refused: ", at + 1)) ++refusals;
  EXPECT_EQ(refusals, refused.size()) << log;
  EXPECT_TRUE(Contains(log,
                       "Keys: Up = the key at the place of W; Down = Enter; Left = the key at the place of A; "
                       "Right = the key at the place of D; Accept = the key at the place of E"))
      << log;
  EXPECT_EQ(MenuKeys.repeatDelay, DefaultRepeatDelay);
  EXPECT_EQ(MenuKeys.repeatInterval, 0.25);
  EXPECT_TRUE(Contains(log, "steps again after 0.4 s, then every 0.25 s")) << log;
}

// The file in the player's zip: every setting at its default, nothing refused.
TEST_F(Settings, TheShippedFileHoldsTheDefaults) {
  const std::string shipped = ReadTextFile(SourcePath("package/Wardrobe.ini"));
  ASSERT_FALSE(shipped.empty());
  const std::string log = Load(shipped);
  EXPECT_FALSE(Contains(log, "refused")) << log;
  for (int action = 0; action < MenuActionCount; ++action) EXPECT_FALSE(HasOwnKeys(action)) << action;
  EXPECT_EQ(MenuKeys.repeatDelay, DefaultRepeatDelay);
  EXPECT_EQ(MenuKeys.repeatInterval, DefaultRepeatInterval);
  // Each commented key line, uncommented, is accepted.
  std::string uncommented;
  for (const char* action : {"Up", "Down", "Left", "Right", "Accept"}) {
    const std::string line = std::string("#") + action + " = ";
    ASSERT_NE(shipped.find(line), std::string::npos) << action;
    uncommented += shipped.substr(shipped.find(line) + 1, shipped.find('\n', shipped.find(line)) - shipped.find(line));
  }
  const std::string ownLog = Load("[Keys]\n" + uncommented);
  EXPECT_FALSE(Contains(ownLog, "refused")) << ownLog;
  for (int action = 0; action < MenuActionCount; ++action) EXPECT_TRUE(HasOwnKeys(action)) << action;
}

TEST_F(Settings, RepeatDelayZeroTurnsRepeatingOff) {
  const std::string log = Load("[Menu]\nRepeatDelay=0\n");
  EXPECT_EQ(MenuKeys.repeatDelay, 0.0);
  EXPECT_TRUE(Contains(log, "does not step again")) << log;
}

// Lines past the limit are replaced by one last line; the log never passes 256 KB.
TEST_F(Settings, TheLogStopsAt256KilobytesWithOneLineSayingSo) {
  const std::string line(200, 'x');
  for (int i = 0; i < 2000; ++i) LogLine("%d %s", i, line.c_str());
  StopPluginLog();
  const std::string log = ReadTextFile(directory + "/Wardrobe.log");
  EXPECT_LE(log.size(), PluginLogLimit);
  EXPECT_GT(log.size(), PluginLogLimit - 400);
  const size_t lastStart = log.rfind('\n', log.size() - 2) + 1;
  EXPECT_TRUE(Contains(log.substr(lastStart), "The log is full (256 KB)")) << log.substr(lastStart);
  EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
  // Each line: the local time, then the text.
  SYSTEMTIME now;
  GetLocalTime(&now);
  char year[8];
  std::snprintf(year, sizeof year, "%04u-", now.wYear);
  EXPECT_EQ(log.substr(0, 5), year);
  EXPECT_EQ(log.substr(23, 4), "  0 ");
}

}  // namespace
