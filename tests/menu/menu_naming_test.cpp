// Naming an outfit on the "Name Outfit" row: typing on the keyboard, stepping letters
// with the pad, keeping the name in the file or leaving it as it was, and the name on
// the Outfit row, cut to the screen.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "menu/menu_drawing.h"
#include "menu_test_support.h"
#include "outfits/outfit_files.h"
#include "outfits/outfit_name.h"

namespace menu_test {
namespace {

// Rows with every component single: Hats, Glasses, Outfit, Save Outfit, Name Outfit,
// Delete Outfit, View, Accept, Cancel.
constexpr int OutfitRowIndex = 2;
constexpr int NameRowIndex = 4;

constexpr int KeyBackspace = 0x08, KeyEnter = 0x0D, KeyShift = 0x10, KeySpace = 0x20;
constexpr int KeyArrowUp = 0x26, KeyArrowDown = 0x28, KeyNumpad2 = 0x62, KeyMinus = 0xBD;
constexpr int KeyLeftShift = 0xA0, KeyRightShift = 0xA1, KeyNumpadMinus = 0x6D;
constexpr int KeyOem1 = 0xBA, KeyOemComma = 0xBC, KeyOemPeriod = 0xBE, KeyOem4 = 0xDB, KeyOem6 = 0xDD, KeyOem7 = 0xDE,
              KeyOem8 = 0xDF;

constexpr const char* KeyboardNamingHelp =
    "Type the name (Shift: capitals)~n~Backspace: remove letter~n~Enter: keep name~n~Arrow Up or Down: leave "
    "without keeping";
constexpr const char* PadNamingHelp =
    "~PAD_UP~~PAD_DOWN~ Change letter~n~~PAD_RIGHT~ Add letter~n~~PAD_LEFT~ Remove letter~n~~INPUT_FRONTEND_ACCEPT~ "
    "Keep name~n~Wardrobe button: leave without keeping";

const char* const BaseFile = "WardrobeOutfits.ini";
const std::string TwoOutfits = "[Outfit0]\r\nDrawable1=0\r\n[Outfit1]\r\nDrawable1=1\r\nName=Old\r\n";

class MenuNaming : public MenuHostTest {
 protected:
  void SetUp() override {
    MenuHostTest::SetUp();
    SetAllComponents({1});
    WriteTextFile(BaseFile, TwoOutfits);
    LoadOutfits();
    WardrobeMenu.selectedRow = NameRowIndex;
  }

  // One menu frame with the given keys just pressed and `held` down since before.
  static std::vector<DrawnRow> KeyFrame(std::initializer_list<int> pressed, std::initializer_list<int> held = {}) {
    sim::ReleaseAllInput();
    for (int key : held) sim::SetKey(key, true);
    SampleInput();
    for (int key : pressed) sim::SetKey(key, true);
    SampleInput();
    sim::World().drawnThisFrame.clear();
    sim::World().sounds.clear();
    sim::ClearNativeLog();
    BuildWardrobeMenu(PlayerMenuControls);
    return DrawnRows();
  }

  // Types the text key by key (capitals with Shift held): letters, digits, space, "-".
  static std::vector<DrawnRow> Type(const std::string& text) {
    std::vector<DrawnRow> rows;
    for (char c : text) {
      if (c >= 'A' && c <= 'Z') {
        rows = KeyFrame({c}, {KeyShift});
      } else if (c >= 'a' && c <= 'z') {
        rows = KeyFrame({c - 'a' + 'A'});
      } else if (c == ' ') {
        rows = KeyFrame({KeySpace});
      } else if (c == '-') {
        rows = KeyFrame({KeyMinus});
      } else {
        rows = KeyFrame({c});
      }
    }
    return rows;
  }

  static std::string NameShown(const std::vector<DrawnRow>& rows) {
    EXPECT_GT(rows.size(), static_cast<size_t>(NameRowIndex));
    if (rows.size() <= static_cast<size_t>(NameRowIndex)) return "";
    EXPECT_EQ(rows[NameRowIndex].label, "Name Outfit");
    return rows[NameRowIndex].value;
  }
};

// Typed, corrected and kept with the keyboard: the file then holds the name after the
// outfit's values, byte for byte, and the rows show it.
TEST_F(MenuNaming, KeyboardTypesANameAndEnterKeepsIt) {
  sim::SetUsingPad(false);
  WardrobeMenu.selectedOutfit = 0;
  std::vector<DrawnRow> rows = KeyFrame({});
  EXPECT_EQ(NameShown(rows), "-");
  EXPECT_EQ(rows[NameRowIndex].colour, sim::HostColourEntry(HighlightedEntry));
  EXPECT_EQ(PrintedTexts(), std::vector<std::string>{"[W]/[S] Move~n~[E] Name"});

  rows = KeyFrame({'E'});
  EXPECT_TRUE(WardrobeMenu.naming);
  EXPECT_EQ(NameShown(rows), "-") << "the key that starts editing types nothing";
  rows = KeyFrame({}, {'E'});
  EXPECT_EQ(NameShown(rows), "_") << "nor does it while still held";
  EXPECT_EQ(PrintedTexts(), std::vector<std::string>{KeyboardNamingHelp});

  EXPECT_EQ(NameShown(Type("Beach Day")), "Beach Day_");
  EXPECT_EQ(NameShown(KeyFrame({'1'})), "Beach Day1_");
  EXPECT_EQ(NameShown(KeyFrame({KeyNumpad2})), "Beach Day12_");
  EXPECT_EQ(NameShown(KeyFrame({KeyMinus})), "Beach Day12-_");
  EXPECT_EQ(NameShown(KeyFrame({KeyBackspace})), "Beach Day12_");
  // Keys of characters a name may not hold type nothing: ` = [ ] ; / \ Tab.
  EXPECT_EQ(NameShown(KeyFrame({0xC0, 0xBB, 0xDB, 0xDD, 0xBA, 0xBF, 0xDC, 0x09})), "Beach Day12_");

  rows = KeyFrame({KeyEnter});
  EXPECT_FALSE(WardrobeMenu.naming);
  EXPECT_EQ(PrintedTexts().back(), "Outfit Named");
  EXPECT_EQ(sim::NativeCallsNamed("PrintLiteralMessage").back().IntArg(2), 2500);
  EXPECT_EQ(CountSounds(HighlightSound), 1);
  EXPECT_EQ(ReadTextFile(BaseFile), "[Outfit0]\r\nDrawable1=0\r\nName=Beach Day12\r\n" + TwoOutfits.substr(24));
  EXPECT_STREQ(OutfitTable[0].name, "Beach Day12");

  // While the notice runs the row is disabled and shows the kept name, as does the
  // Outfit row; an Accept starts nothing.
  rows = KeyFrame({'E'});
  EXPECT_EQ(rows[OutfitRowIndex].value, "1/2 Beach Day12");
  EXPECT_EQ(NameShown(rows), "Beach Day12");
  EXPECT_EQ(rows[NameRowIndex].colour, sim::HostColourEntry(DisabledHighlightedEntry));
  EXPECT_FALSE(WardrobeMenu.naming);
  EXPECT_EQ(PrintedTexts(), std::vector<std::string>{"Outfit Named"});
}

// While a name is typed the menu's own keys W, S, A, D and E type letters: the
// highlight stays, no value steps, nothing is applied or saved.
TEST_F(MenuNaming, TypingNeverMovesTheHighlightOrActsOnTheMenu) {
  sim::SetUsingPad(false);
  KeyFrame({'E'});
  const uint32_t torso = sim::Ped().components[1].drawable;
  const int32_t hat = sim::Ped().props[0].index;
  for (int key : {'W', 'S', 'A', 'D', 'E'}) {
    KeyFrame({key});
    EXPECT_EQ(WardrobeMenu.selectedRow, NameRowIndex) << char(key);
    EXPECT_EQ(CountSounds(ToggleSound), 0) << char(key);
    EXPECT_EQ(CountSounds(HighlightSound), 0) << char(key);
  }
  EXPECT_EQ(NameShown(KeyFrame({})), "wsade_");
  EXPECT_EQ(sim::Ped().components[1].drawable, torso);
  EXPECT_EQ(sim::Ped().props[0].index, hat);
  EXPECT_EQ(WardrobeMenu.selectedOutfit, 0);
  EXPECT_EQ(ReadTextFile(BaseFile), TwoOutfits);

  // The pad's controls do not move it either.
  sim::SetUsingPad(true);
  for (int control : {PadUp, PadDown, PadLeft, PadRight}) {
    MenuFrame({control});
    EXPECT_EQ(WardrobeMenu.selectedRow, NameRowIndex) << control;
  }
}

// Editing starts from the outfit's name. Backspace on an empty name does nothing and a
// name stops at 24 characters.
TEST_F(MenuNaming, KeyboardStartsFromTheNameAndStopsAtTheEnds) {
  sim::SetUsingPad(false);
  WardrobeMenu.selectedOutfit = 1;
  KeyFrame({'E'});
  EXPECT_EQ(NameShown(KeyFrame({})), "Old_");
  for (int i = 0; i < 4; ++i) KeyFrame({KeyBackspace});
  EXPECT_EQ(NameShown(KeyFrame({KeyBackspace})), "_");
  for (int i = 0; i < 30; ++i) KeyFrame({i % 2 == 0 ? 'X' : 'Y'});
  const std::string full = "xyxyxyxyxyxyxyxyxyxyxyxy";
  EXPECT_EQ(NameShown(KeyFrame({})), full + "_");
  EXPECT_EQ(NameShown(KeyFrame({KeyBackspace})), full.substr(0, 23) + "_");
  KeyFrame({'Z'});
  KeyFrame({KeyEnter});
  EXPECT_STREQ(OutfitTable[1].name, (full.substr(0, 23) + "z").c_str());
}

// A key held when editing starts types only once pressed again, and keys typed into
// another program type nothing.
TEST_F(MenuNaming, HeldKeysAndKeysOfOtherProgramsTypeNothing) {
  sim::SetUsingPad(false);
  WardrobeMenu.selectedOutfit = 0;
  KeyFrame({'E'}, {'B'});
  EXPECT_EQ(NameShown(KeyFrame({}, {'B'})), "_");
  EXPECT_EQ(NameShown(KeyFrame({'B'})), "b_");

  sim::SetGameInFront(false);
  EXPECT_EQ(NameShown(KeyFrame({'C'})), "b_");
  EXPECT_EQ(NameShown(KeyFrame({KeyEnter})), "b_");
  sim::SetGameInFront(true);
  EXPECT_TRUE(WardrobeMenu.naming);
}

// The pad edits the character under its cursor: Up and Down step it through the name's
// characters (wrapping), Right adds an "A" after it, Left removes it (not the first).
TEST_F(MenuNaming, PadStepsLettersAndAcceptKeepsTheName) {
  WardrobeMenu.selectedOutfit = 0;
  MenuFrame({PadAccept});
  const struct {
    int control;
    const char* shown;
  } steps[] = {
      {-1, "[A]"},         {PadUp, "[B]"},   {PadDown, "[A]"},  {PadDown, "[ ]"},   {PadDown, "[&]"},
      {PadUp, "[ ]"},      {PadUp, "[A]"},   {PadLeft, "[A]"},  {PadRight, "A[A]"}, {PadDown, "A[ ]"},
      {PadRight, "A [A]"}, {PadUp, "A [B]"}, {PadLeft, "A[ ]"}, {PadLeft, "[A]"},   {PadLeft, "[A]"},
  };
  for (const auto& step : steps) {
    std::vector<DrawnRow> rows = step.control < 0 ? MenuFrame() : MenuFrame({step.control});
    EXPECT_EQ(NameShown(rows), step.shown) << step.control;
    EXPECT_EQ(PrintedTexts(), std::vector<std::string>{PadNamingHelp});
  }

  // Up goes once through every character a name may hold and comes back.
  std::string seen;
  for (size_t i = 0; i < OutfitNameCharacterCount; ++i) {
    seen += NameShown(MenuFrame({PadUp}))[1];
    EXPECT_TRUE(IsOutfitNameCharacter(seen.back())) << seen;
  }
  EXPECT_EQ(seen.back(), 'A');
  EXPECT_EQ(seen, std::string(OutfitNameCharacters + 2) + " A");

  // Right adds up to 24 characters.
  for (int i = 0; i < 30; ++i) MenuFrame({PadRight});
  EXPECT_EQ(NameShown(MenuFrame()), std::string(23, 'A') + "[A]");
  MenuFrame({PadUp});
  MenuFrame({PadAccept});
  EXPECT_FALSE(WardrobeMenu.naming);
  EXPECT_EQ(PrintedTexts().back(), "Outfit Named");
  EXPECT_EQ(ReadTextFile(BaseFile),
            "[Outfit0]\r\nDrawable1=0\r\nName=" + std::string(23, 'A') + "B\r\n" + TwoOutfits.substr(24));

  // Editing again starts on the last character.
  WardrobeMenu.saveNoticeSeconds = 0.0;
  MenuFrame({PadAccept});
  EXPECT_EQ(NameShown(MenuFrame()), std::string(23, 'A') + "[B]");
}

// The pad's Left never removes the first character: with the cursor on it, a name of
// two or more characters stays as it is (Left on the second removes the second).
TEST_F(MenuNaming, PadLeftOnTheFirstCharacterKeepsTheName) {
  struct Case {
    const char* name;
    int32_t cursor;
    const char* shownAfter;
  };
  const Case cases[] = {
      {"Ol", 0, "[O]l"},
      {"Old", 0, "[O]ld"},
      {"Beach Day Twenty Four 24", 0, "[B]each Day Twenty Four 24"},
      {"Old", 1, "[O]d"},
  };
  WardrobeMenu.selectedOutfit = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(c.cursor));
    MenuFrame({PadAccept});
    ASSERT_TRUE(WardrobeMenu.naming);
    std::snprintf(WardrobeMenu.nameText, sizeof WardrobeMenu.nameText, "%s", c.name);
    WardrobeMenu.nameCursor = c.cursor;
    const std::vector<DrawnRow> rows = MenuFrame({PadLeft});
    EXPECT_EQ(NameShown(rows), c.shownAfter);
    EXPECT_TRUE(WardrobeMenu.naming);
    EXPECT_EQ(WardrobeMenu.nameCursor, 0);
    MenuFrame({PadWardrobe});  // leaves without keeping
    EXPECT_EQ(ReadTextFile(BaseFile), TwoOutfits);
  }
}

// A name of spaces only is no name: keeping it removes the Name key.
TEST_F(MenuNaming, KeepingSpacesOnlyRemovesTheName) {
  WardrobeMenu.selectedOutfit = 1;
  MenuFrame({PadAccept});
  EXPECT_EQ(NameShown(MenuFrame()), "Ol[d]");
  MenuFrame({PadLeft});
  EXPECT_EQ(NameShown(MenuFrame({PadLeft})), "[O]");
  for (int i = 0; i < 15; ++i) MenuFrame({PadDown});  // O, N, ..., A, then space
  EXPECT_EQ(NameShown(MenuFrame()), "[ ]");
  MenuFrame({PadAccept});
  EXPECT_EQ(ReadTextFile(BaseFile), "[Outfit0]\r\nDrawable1=0\r\n[Outfit1]\r\nDrawable1=1\r\n");
  EXPECT_STREQ(OutfitTable[1].name, "");
  EXPECT_EQ(NameShown(MenuFrame()), "-");
}

// Every way of leaving leaves the name and the file as they were, and the next editing
// starts from the name in the file again.
TEST_F(MenuNaming, EachWayOfLeavingKeepsNothing) {
  enum Way { ArrowUp, ArrowDown, WardrobeControl, EpisodeChange, LeavingTheSite, MenuClosed };
  for (Way way : {ArrowUp, ArrowDown, WardrobeControl, EpisodeChange, LeavingTheSite, MenuClosed}) {
    SCOPED_TRACE(way);
    WardrobeMenu = WardrobeMenuRecord();
    WardrobeMenu.selectedRow = NameRowIndex;
    WardrobeMenu.selectedOutfit = 1;
    sim::SetUsingPad(false);
    KeyFrame({'E'});
    Type("xyz");
    EXPECT_EQ(NameShown(KeyFrame({})), "Oldxyz_");
    switch (way) {
      case ArrowUp: KeyFrame({KeyArrowUp}); break;
      case ArrowDown: KeyFrame({KeyArrowDown}); break;
      case WardrobeControl:
        sim::SetUsingPad(true);
        MenuFrame({PadWardrobe});
        sim::SetUsingPad(false);
        break;
      case EpisodeChange:
        sim::SetEpisode(1);
        KeyFrame({});
        sim::SetEpisode(0);
        break;
      case LeavingTheSite:
        WardrobeDriverState.menuOpen = true;
        WardrobeDriverState.currentSite = &WardrobeSites[0];
        sim::SetPlayerPosition({0.0f, 0.0f, 0.0f});
        WardrobeFrame();
        break;
      case MenuClosed:  // by Cancel, on the frame the rows run
        WardrobeDriverState.menuOpen = true;
        WardrobeMenu.cancelRequested = true;
        sim::PutPlayerAtSite(0);
        WardrobeFrame();
        EXPECT_FALSE(WardrobeDriverState.menuOpen);
        break;
    }
    EXPECT_FALSE(WardrobeMenu.naming);
    EXPECT_EQ(WardrobeMenu.selectedRow, NameRowIndex);
    EXPECT_EQ(ReadTextFile(BaseFile), TwoOutfits);
    std::vector<DrawnRow> rows = KeyFrame({});
    EXPECT_EQ(NameShown(rows), "Old");
    EXPECT_EQ(rows[OutfitRowIndex].value, "2/2 Old");
    KeyFrame({'E'});
    EXPECT_EQ(NameShown(KeyFrame({})), "Old_");
    WardrobeDriverState = WardrobeDriverRecord();
  }
}

// A file the player marked read-only is left as it was: "Outfit Not Named".
TEST_F(MenuNaming, AReadOnlyFileIsNotNamed) {
  WardrobeMenu.selectedOutfit = 1;
  ASSERT_TRUE(SetFileAttributesA(BaseFile, FILE_ATTRIBUTE_READONLY));
  MenuFrame({PadAccept});
  MenuFrame({PadUp});
  MenuFrame({PadAccept});
  SetFileAttributesA(BaseFile, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(PrintedTexts().back(), "Outfit Not Named");
  EXPECT_EQ(ReadTextFile(BaseFile), TwoOutfits);
  EXPECT_STREQ(OutfitTable[1].name, "Old");
  EXPECT_EQ(NameShown(MenuFrame()), "Old");
  EXPECT_EQ(PrintedTexts(), std::vector<std::string>{"Outfit Not Named"});
}

// With no outfit saved, or while a notice runs, the row is disabled and Accept starts
// nothing.
TEST_F(MenuNaming, DisabledWithoutOutfitsAndWhileANoticeRuns) {
  WardrobeMenu.saveNoticeSeconds = 1.0;
  std::vector<DrawnRow> rows = MenuFrame({PadAccept});
  EXPECT_EQ(rows[NameRowIndex].colour, sim::HostColourEntry(DisabledHighlightedEntry));
  EXPECT_FALSE(WardrobeMenu.naming);

  DeleteFileA(BaseFile);
  LoadOutfits();
  WardrobeMenu.saveNoticeSeconds = 0.0;
  rows = MenuFrame({PadAccept});
  EXPECT_EQ(NameShown(rows), "-");
  EXPECT_EQ(rows[NameRowIndex].colour, sim::HostColourEntry(DisabledHighlightedEntry));
  EXPECT_FALSE(WardrobeMenu.naming);
  EXPECT_TRUE(PrintedTexts().empty());
}

// A hand-edited name (a text code, 60 characters) is shown as far as it is a name; the
// Outfit row cuts it with "..." before the screen's right edge at any aspect ratio, the
// delete question names it whole.
TEST_F(MenuNaming, AHandEditedNameIsShownCutToTheScreen) {
  const std::string raw = "~r~" + std::string(57, 'W');
  const std::string shown = "r" + std::string(23, 'W');
  WriteTextFile(BaseFile, "[Outfit0]\r\nDrawable1=0\r\nName=" + raw + "\r\n");
  LoadOutfits();
  const struct {
    int width, height;
    bool cut;
  } screens[] = {{1280, 720, false}, {1024, 768, false}, {2560, 1080, false}, {1280, 1024, false},
                 {1000, 1000, true}, {768, 1024, true},  {720, 1280, true}};
  for (const auto& screen : screens) {
    SCOPED_TRACE(std::to_string(screen.width) + "x" + std::to_string(screen.height));
    sim::SetResolution(screen.width, screen.height);
    MenuFrame();
    const sim::DrawnText* value = nullptr;
    for (const sim::DrawnText& text : sim::World().drawnThisFrame) {
      if (text.text.rfind("1/1", 0) == 0 && value == nullptr) value = &text;
    }
    ASSERT_NE(value, nullptr);
    const std::string& text = value->text;
    const double widest = 0.07 * value->state.scaleX;  // the font's widest character
    EXPECT_LE(value->x + widest * static_cast<double>(text.size()), 1.0) << text;
    if (!screen.cut) {
      EXPECT_EQ(text, "1/1 " + shown);
      continue;
    }
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.substr(text.size() - 3), "...");
    EXPECT_EQ(("1/1 " + shown).compare(0, text.size() - 3, text, 0, text.size() - 3), 0) << text;
    EXPECT_GT(value->x + widest * static_cast<double>(text.size() + 1), 1.0) << "cut no more than needed: " << text;
  }

  sim::SetResolution(1280, 720);
  WardrobeMenu.selectedRow = NameRowIndex + 1;  // Delete Outfit
  MenuFrame({PadAccept});
  ASSERT_FALSE(PrintedTexts().empty());
  EXPECT_EQ(PrintedTexts().back().rfind("Delete outfit 1/1 " + shown + "?~n~", 0), 0u) << PrintedTexts().back();

  // Another outfit saved: the hand-edited text is written back exactly as it was.
  WardrobeMenu = WardrobeMenuRecord();
  ASSERT_TRUE(SaveCurrentOutfit());
  EXPECT_NE(ReadTextFile(BaseFile).find("Name=" + raw + "\r\n"), std::string::npos);
}

// Each key types what the game window's layout gives it with Shift as held, and the
// name keeps what a name may hold: on a US keyboard Shift+9 is "(", on a French one the
// unshifted digit row types & ' ( - _ (and é è ç à, which a name drops) and Shift
// gives the digits.
TEST_F(MenuNaming, KeysTypeWhatThePlayersLayoutGivesThem) {
  using sim::KeyboardLayout;
  struct Case {
    KeyboardLayout layout;
    int shift;  // the Shift key held, or 0
    int key;
    const char* typed;
  };
  const Case cases[] = {
      {KeyboardLayout::Us, KeyShift, '9', "("},
      {KeyboardLayout::Us, KeyShift, '1', "!"},
      {KeyboardLayout::Us, KeyLeftShift, '0', ")"},
      {KeyboardLayout::Us, KeyRightShift, '7', "&"},
      {KeyboardLayout::Us, 0, '9', "9"},
      {KeyboardLayout::Us, KeyShift, '2', ""},  // @
      {KeyboardLayout::Us, KeyShift, KeyMinus, "_"},
      {KeyboardLayout::Us, 0, KeyOemPeriod, "."},
      {KeyboardLayout::Us, 0, KeyOem7, "'"},
      {KeyboardLayout::Us, KeyShift, KeyOem7, ""},  // "
      {KeyboardLayout::Us, KeyShift, KeyOem1, ""},  // :
      {KeyboardLayout::Us, 0, 'Q', "q"},
      {KeyboardLayout::Us, KeyShift, 'Q', "Q"},
      {KeyboardLayout::Us, KeyShift, KeyNumpad2, "2"},
      {KeyboardLayout::Us, 0, KeyNumpadMinus, "-"},
      {KeyboardLayout::Us, 0, KeySpace, " "},
      {KeyboardLayout::French, 0, '1', "&"},
      {KeyboardLayout::French, 0, '2', ""},  // é
      {KeyboardLayout::French, 0, '3', ""},  // "
      {KeyboardLayout::French, 0, '4', "'"},
      {KeyboardLayout::French, 0, '5', "("},
      {KeyboardLayout::French, 0, '6', "-"},
      {KeyboardLayout::French, 0, '7', ""},  // è
      {KeyboardLayout::French, 0, '8', "_"},
      {KeyboardLayout::French, 0, '9', ""},  // ç
      {KeyboardLayout::French, 0, '0', ""},  // à
      {KeyboardLayout::French, KeyShift, '1', "1"},
      {KeyboardLayout::French, KeyShift, '9', "9"},
      {KeyboardLayout::French, KeyLeftShift, '0', "0"},
      {KeyboardLayout::French, 0, KeyOem4, ")"},
      {KeyboardLayout::French, 0, KeyOem8, "!"},
      {KeyboardLayout::French, KeyShift, KeyOemPeriod, "."},
      {KeyboardLayout::French, 0, KeyOemComma, ""},  // ,
      {KeyboardLayout::French, 0, 'A', "a"},
      {KeyboardLayout::French, KeyShift, 'W', "W"},
      {KeyboardLayout::French, 0, KeyNumpad2, "2"},
  };
  sim::SetUsingPad(false);
  WardrobeMenu.selectedOutfit = 0;
  KeyFrame({'E'});
  ASSERT_TRUE(WardrobeMenu.naming);
  for (const Case& c : cases) {
    sim::SetKeyboardLayout(c.layout);
    WardrobeMenu.nameText[0] = '\0';
    const std::string shown = NameShown(c.shift != 0 ? KeyFrame({c.key}, {c.shift}) : KeyFrame({c.key}));
    EXPECT_EQ(shown, std::string(c.typed) + "_") << (c.layout == KeyboardLayout::French ? "French" : "US")
                                                 << (c.shift != 0 ? " Shift+" : " ") << "0x" << std::hex << c.key;
  }
  EXPECT_TRUE(WardrobeMenu.naming);
}

// A dead key (^ on a French keyboard) types nothing, and the translation leaves the
// game's own keyboard state alone: no accent waits for the game's next character, and
// one the game holds is still there after a key typed into the name.
TEST_F(MenuNaming, ADeadKeyTypesNothingAndLeavesTheGamesKeyboardAlone) {
  sim::SetUsingPad(false);
  sim::SetKeyboardLayout(sim::KeyboardLayout::French);
  WardrobeMenu.selectedOutfit = 0;
  KeyFrame({'E'});
  EXPECT_EQ(NameShown(KeyFrame({KeyOem6})), "_");
  EXPECT_EQ(NameShown(KeyFrame({KeyOem6}, {KeyShift})), "_");
  EXPECT_EQ(sim::PendingDeadKey(), 0) << "the accent went into the game's keyboard state";
  EXPECT_EQ(NameShown(KeyFrame({'E'})), "e_");
  sim::SetPendingDeadKey(L'^');
  EXPECT_EQ(NameShown(KeyFrame({'E'})), "e_") << "the game's ^ joins e: the name drops it";
  EXPECT_EQ(NameShown(KeyFrame({'Z'})), "ez_") << "^ and z: the name drops ^ and keeps z";
  EXPECT_EQ(sim::PendingDeadKey(), L'^') << "the game's accent is still the game's";
}

// Backspace held erases again and again as a held direction steps: at once, after the
// delay (0.4 s), then every interval (0.1 s). Held since before editing began, it
// erases nothing until pressed again.
TEST_F(MenuNaming, BackspaceHeldErasesAgainLikeAHeldDirection) {
  sim::SetUsingPad(false);
  sim::SetFrameTime(1.0f / 30.0f);
  WardrobeMenu.selectedOutfit = 1;  // "Old"
  WardrobeDriverState.menuOpen = true;
  const auto hold = [](int frames) {
    for (int i = 0; i < frames; ++i) {
      SampleInput();
      BuildWardrobeMenu(PlayerMenuControls);
    }
  };
  // Backspace held when Accept starts editing.
  sim::SetKey(KeyBackspace, true);
  hold(2);
  sim::SetKey('E', true);
  hold(31);
  ASSERT_TRUE(WardrobeMenu.naming);
  EXPECT_STREQ(WardrobeMenu.nameText, "Old");
  sim::ReleaseAllInput();
  hold(1);
  Type("Beach Day");
  ASSERT_STREQ(WardrobeMenu.nameText, "OldBeach Day");
  sim::ReleaseAllInput();
  hold(1);
  sim::SetKey(KeyBackspace, true);
  hold(31);  // 1 s: 1 + 1 + 6 erased
  EXPECT_STREQ(WardrobeMenu.nameText, "OldB");
  sim::ReleaseAllInput();
  hold(31);
  EXPECT_STREQ(WardrobeMenu.nameText, "OldB") << "released";
  WardrobeDriverState.menuOpen = false;
}

}  // namespace
}  // namespace menu_test
