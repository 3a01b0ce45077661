// What an outfit's name may hold, and how a name read from a file is made fit to show.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "outfits/ini_document.h"
#include "outfits/outfit_name.h"

namespace {

std::string Cleaned(const std::string& text) {
  char name[OutfitNameMaxLength + 1];
  std::memset(name, '#', sizeof name);
  CleanOutfitName(text, name);
  return name;
}

TEST(OutfitName, CharactersANameMayHold) {
  std::string allowed;
  for (int c = 0; c < 256; ++c) {
    if (IsOutfitNameCharacter(static_cast<char>(c))) allowed += static_cast<char>(c);
  }
  EXPECT_EQ(allowed, " !&'()-.0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz");
  // The pad's order holds each of them once, space first, then A-Z, a-z, 0-9, marks.
  EXPECT_EQ(std::strlen(OutfitNameCharacters), OutfitNameCharacterCount);
  EXPECT_EQ(std::string(OutfitNameCharacters).substr(0, 2), " A");
  EXPECT_EQ(std::string(OutfitNameCharacters).substr(63), "-_.'()!&");
  for (char c : allowed) EXPECT_NE(std::strchr(OutfitNameCharacters, c), nullptr) << c;
}

TEST(OutfitName, ANameFromAFileIsShownAsFarAsItIsAName) {
  const struct {
    const char* what;
    std::string text;
    std::string shown;
  } cases[] = {
      {"a name stays", "Beach Day", "Beach Day"},
      {"every mark stays", "A-b_c.d'e(f)g!h&", "A-b_c.d'e(f)g!h&"},
      {"spaces at both ends are trimmed", "   Night Out  ", "Night Out"},
      {"the host's text code mark is dropped", "~r~Red ~s~", "rRed s"},
      {"INI and quote characters are dropped", "[a]=b;\"c\"`", "abc"},
      {"control characters are dropped", "Tab\there\x01\x7f", "Tabhere"},
      {"bytes above 0x7F are dropped", "Caf\xC3\xA9", "Caf"},
      {"cut to 24 characters", std::string(60, 'x'), std::string(24, 'x')},
      {"dropped characters do not count", std::string(30, '~') + "Name", "Name"},
      {"cut, then the spaces at its end trimmed", std::string(23, 'a') + "  b", std::string(23, 'a')},
      {"only spaces is no name", "     ", ""},
      {"an empty value is no name", "", ""},
      {"nothing but forbidden characters is no name", "~~==[]", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Cleaned(c.text), c.shown) << c.what;
  }
  // A hand-edited name of 60 characters with "~": shown as 24 it may hold.
  std::string edited;
  for (int i = 0; i < 20; ++i) edited += "a~b";
  EXPECT_EQ(Cleaned(edited), std::string("abababababababababababab"));
}

// The name key follows an outfit's 44 values when the document is written, and an
// empty name removes it; other sections and keys are written in key order as before.
TEST(OutfitName, NameKeyIsWrittenAfterTheOtherKeys) {
  IniDocument document("", false);
  document.ParseText("[Outfit0]\nDrawable0=1\nName=Beach Day\nTexture0=2\nProp0=-1\n[Extra]\nName=x\nA=y\n");
  document.WriteKeyLast(OutfitNameKey);
  EXPECT_EQ(document.Text(),
            "[Extra]\r\nA=y\r\nName=x\r\n"
            "[Outfit0]\r\nDrawable0=1\r\nProp0=-1\r\nTexture0=2\r\nName=Beach Day\r\n");
  ASSERT_TRUE(document.SelectSection("Outfit0"));
  EXPECT_TRUE(document.RemoveValue(OutfitNameKey));
  EXPECT_FALSE(document.RemoveValue(OutfitNameKey));
  EXPECT_EQ(document.Text(), "[Extra]\r\nA=y\r\nName=x\r\n[Outfit0]\r\nDrawable0=1\r\nProp0=-1\r\nTexture0=2\r\n");

  IniDocument none("", false);
  EXPECT_FALSE(none.RemoveValue(OutfitNameKey));  // no current section
}

}  // namespace
