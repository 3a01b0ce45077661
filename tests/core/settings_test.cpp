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
#include "core/wardrobe_frame.h"
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
    WardrobeDriverState.menuOpen = false;
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

  // Only Accept of the player's own: the default keys are named the same way.
  Load("[Keys]\nAccept=Space\n");
  EXPECT_STREQ(WithOwnKeyNames("~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_PICKUP~ Save", buffer, sizeof buffer),
               "[W]/[S] Move~n~[Space] Save");
  // No settings: the default keys by name, the keys at their places on the layout in
  // force once the game's window is seen.
  LoadSettings(Wide(directory + "/missing.ini"));
  EXPECT_TRUE(Contains(ReadTextFile(directory + "/Wardrobe.log"), "the defaults are in force"));
  const char* text = "~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_MOVE_LEFT~~INPUT_MOVE_RIGHT~ Adjust";
  EXPECT_STREQ(WithOwnKeyNames(text, buffer, sizeof buffer), "[W]/[S] Move~n~[A]/[D] Adjust");
  sim::SetKeyboardLayout(sim::KeyboardLayout::French);
  SampleInput();
  EXPECT_STREQ(WithOwnKeyNames(text, buffer, sizeof buffer), "[Z]/[S] Move~n~[Q]/[D] Adjust");
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

// Which menu actions one key drives now (pressed for one sampling).
std::string ActionsOfKey(int key) {
  const struct {
    const char* name;
    bool (*pressed)();
  } queries[] = {{"up", IsMenuUpPressed},
                 {"down", IsMenuDownPressed},
                 {"left", IsMenuLeftPressed},
                 {"right", IsMenuRightPressed},
                 {"accept", IsMenuAcceptPressed}};
  sim::ReleaseAllInput();
  SampleInput();
  sim::SetKey(key, true);
  SampleInput();
  std::string acted;
  for (const auto& q : queries) {
    if (q.pressed()) acted += std::string(acted.empty() ? "" : " ") + q.name;
  }
  sim::ReleaseAllInput();
  SampleInput();
  return acted;
}

// A key another action keeps by its place on the keyboard is a key used twice: that
// line is refused (with the action that holds the key) unless the file gives that
// action a key of its own, and the check is made on the layout in force, again when
// it changes. Every action keeps a key.
TEST_F(Settings, AKeyAnotherActionKeepsByItsPlaceIsUsedTwice) {
  using sim::KeyboardLayout;
  struct Case {
    const char* file;
    KeyboardLayout layout;
    std::vector<std::pair<int, const char*>> keys;
    std::vector<const char*> refused;
  };
  const Case cases[] = {
      {"[Keys]\nUp = S\n",
       KeyboardLayout::Us,
       {{'S', "down"}, {'W', "up"}},
       {"line 2 refused: Up: the key S is Down's"}},
      {"[Keys]\nUp = S\nDown = W\n", KeyboardLayout::Us, {{'S', "up"}, {'W', "down"}}, {}},
      {"[Keys]\nAccept = Enter, W\n",
       KeyboardLayout::Us,
       {{'W', "up"}, {VK_RETURN, ""}, {'E', "accept"}},
       {"line 2 refused: Accept: the key W is Up's"}},
      {"[Keys]\nLeft = Z\n", KeyboardLayout::Us, {{'Z', "left"}, {'A', ""}, {'W', "up"}}, {}},
      {"[Keys]\nLeft = Z\n",
       KeyboardLayout::French,
       {{'Z', "up"}, {'Q', "left"}},
       {"line 2 refused on keyboard layout 040C040C: Left: the key Z is Up's"}},
      {"[Keys]\nLeft = Z\nRight = Q\n", KeyboardLayout::Us, {{'Z', "left"}, {'Q', "right"}, {'A', ""}, {'D', ""}}, {}},
      // Left refused goes back to its place, Q, which Right then holds twice.
      {"[Keys]\nLeft = Z\nRight = Q\n",
       KeyboardLayout::French,
       {{'Z', "up"}, {'Q', "left"}, {'D', "right"}},
       {"line 2 refused on keyboard layout 040C040C: Left: the key Z is Up's",
        "line 3 refused on keyboard layout 040C040C: Right: the key Q is Left's"}},
  };
  sim::SetUsingPad(false);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.file) + (c.layout == KeyboardLayout::French ? "(French)" : "(US)"));
    sim::SetKeyboardLayout(c.layout);
    StopPluginLog();
    ASSERT_TRUE(StartPluginLog(Wide(directory + "/Wardrobe.log")));
    Load(c.file);
    for (const auto& [key, actions] : c.keys) EXPECT_EQ(ActionsOfKey(key), actions) << NameOfVirtualKey(key);
    for (int action = 0; action < MenuActionCount; ++action) {
      const bool own = HasOwnKeys(action);
      EXPECT_NE(own ? MenuKeys.ownKeys[action][0] : MenuKeys.positionKeys[action], 0) << "no key: " << action;
    }
    const std::string log = ReadTextFile(directory + "/Wardrobe.log");
    size_t refusals = 0;
    for (size_t at = log.find(" refused"); at != std::string::npos; at = log.find(" refused", at + 1)) ++refusals;
    EXPECT_EQ(refusals, c.refused.size()) << log;
    for (const char* line : c.refused) EXPECT_TRUE(Contains(log, line)) << line << "\n" << log;
  }
  // Back on the US layout the same file's line holds again.
  sim::SetKeyboardLayout(KeyboardLayout::Us);
  EXPECT_EQ(ActionsOfKey('Z'), "left");
  EXPECT_EQ(ActionsOfKey('Q'), "right");
  EXPECT_TRUE(Contains(ReadTextFile(directory + "/Wardrobe.log"),
                       "Keys on keyboard layout 04090409: Up = the key at "
                       "the place of W; Down = the key at the place of S; "
                       "Left = Z; Right = Q"));
}

// Saved by Notepad as "Unicode" (UTF-16 with its byte-order mark, either byte order)
// or as UTF-8 with its mark, the file reads as the same text.
TEST_F(Settings, UnicodeFilesReadAsTheSameText) {
  // "# Tenue d'été 𝄞" (a letter of two bytes in UTF-8, one of four), then the settings.
  const std::u16string text =
      u"# Tenue d'\u00E9t\u00E9 \U0001D11E\r\n[Keys]\r\nUp = Up\r\n[Menu]\r\nRepeatDelay = 0.5\r\nNo setting\r\n";
  const auto utf16 = [&](bool little) {
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    for (char16_t unit : text) {
      const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
      bytes += little ? std::string{low, high} : std::string{high, low};
    }
    return bytes;
  };
  const std::string utf8 =
      "# Tenue d'\xC3\xA9t\xC3\xA9 \xF0\x9D\x84\x9E\r\n[Keys]\r\nUp = Up\r\n[Menu]\r\nRepeatDelay = "
      "0.5\r\nNo setting\r\n";
  const std::pair<const char*, std::string> files[] = {{"UTF-8", utf8},
                                                       {"UTF-8 with its mark", "\xEF\xBB\xBF" + utf8},
                                                       {"UTF-16 LE", utf16(true)},
                                                       {"UTF-16 BE", utf16(false)}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    StopPluginLog();
    ASSERT_TRUE(StartPluginLog(Wide(directory + "/Wardrobe.log")));
    const std::string log = Load(bytes);
    EXPECT_TRUE(Contains(log, "Keys: Up = Up; Down = the key at the place of S")) << log;
    EXPECT_EQ(MenuKeys.repeatDelay, 0.5);
    EXPECT_TRUE(Contains(log, "line 6 refused: not a setting")) << log;
    size_t refusals = 0;
    for (size_t at = log.find(" refused"); at != std::string::npos; at = log.find(" refused", at + 1)) ++refusals;
    EXPECT_EQ(refusals, 1u) << log;
  }
}

// A huge broken file: 20 refused lines are logged, then one line counts the rest; the
// settings after them still hold and the log's later lines are all there.
TEST_F(Settings, RefusedLinesAreLoggedUpToTwentyThenCounted) {
  std::string file = "[Keys]\n";
  for (int i = 0; i < 1000; ++i) file += "Broken line " + std::to_string(i) + "\n";
  file += "Up = Up\n";
  const std::string log = Load(file);
  size_t refusals = 0;
  for (size_t at = log.find(" refused: "); at != std::string::npos; at = log.find(" refused: ", at + 1)) ++refusals;
  EXPECT_EQ(refusals, 20u);
  EXPECT_TRUE(Contains(log, "line 21 refused: not a setting")) << log;
  EXPECT_FALSE(Contains(log, "line 22 refused"));
  EXPECT_TRUE(Contains(log, "Wardrobe.ini: 980 more lines refused")) << log;
  EXPECT_TRUE(Contains(log, "Keys: Up = Up;")) << log;
  EXPECT_TRUE(HasOwnKeys(MenuUp));
}

// RepeatDelay and RepeatInterval from the file are the times a held direction steps
// at: at once, after 1.0 s, then every 0.25 s (20 frames a second), pad and keyboard.
TEST_F(Settings, RepeatTimesFromTheFileAreTheTimesAHeldDirectionSteps) {
  Load("[Menu]\nRepeatDelay = 1.0\nRepeatInterval = 0.25\n");
  WardrobeDriverState.menuOpen = true;
  sim::SetFrameTime(0.05f);
  for (bool pad : {true, false}) {
    SCOPED_TRACE(pad ? "pad" : "keyboard");
    sim::SetUsingPad(pad);
    sim::ReleaseAllInput();
    SampleInput();
    SampleInput();
    if (pad)
      sim::SetPad(67, true);
    else
      sim::SetKey('D', true);
    std::vector<int> steps;
    for (int frame = 0; frame <= 41; ++frame) {
      SampleInput();
      if (IsMenuRightPressed()) steps.push_back(frame);
    }
    EXPECT_EQ(steps, (std::vector<int>{0, 20, 25, 30, 35, 40}));
  }
}

// The log line leaves the caller's last Windows error as it was, even when the log
// cannot be written (the disk is full).
TEST_F(Settings, ALogLineKeepsTheLastErrorEvenWhenTheLogCannotBeWritten) {
  LogLine("first");
  const std::string before = ReadTextFile(directory + "/Wardrobe.log");
  sim::SetWriteFileError(ERROR_DISK_FULL);
  for (DWORD error : {DWORD{ERROR_SUCCESS}, DWORD{ERROR_FILE_NOT_FOUND}, DWORD{0x12345678}}) {
    SetLastError(error);
    LogLine("refused by the disk");
    EXPECT_EQ(GetLastError(), error);
  }
  sim::SetWriteFileError(0);
  EXPECT_EQ(ReadTextFile(directory + "/Wardrobe.log"), before) << "the disk kept the lines out";
  // Written as ever once the disk takes them.
  SetLastError(ERROR_ACCESS_DENIED);
  LogLine("after the disk");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_TRUE(Contains(ReadTextFile(directory + "/Wardrobe.log"), "after the disk"));
}

}  // namespace
