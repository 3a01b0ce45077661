// The INI reader and writer on text in memory: line classification, header names,
// key/value splitting, whitespace, ordering, the saved layout.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "outfits/ini_document.h"

namespace {

using Sections = IniDocument::SectionTable;

Sections ParseSections(const std::string& text) {
  IniDocument document("", false);
  document.ParseText(text);
  return document.Sections();
}

// FindValue's answer as a value that compares and prints: nullopt for no value.
std::optional<std::string> ValueOf(const IniDocument& document, const std::string& key) {
  const std::string* value = document.FindValue(key);
  return value != nullptr ? std::optional<std::string>(*value) : std::nullopt;
}

struct ParseCase {
  const char* what;
  std::string text;
  Sections expected;
};

class ParseTable : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTable, GivesTheExpectedSections) {
  const ParseCase& c = GetParam();
  EXPECT_EQ(ParseSections(c.text), c.expected) << c.what;
}

const ParseCase LineClassification[] = {
    {"blank lines are skipped", "[S]\n\n\nk=v\n", {{"S", {{"k", "v"}}}}},
    {"// comment", "[S]\n//k=v\nj=w\n", {{"S", {{"j", "w"}}}}},
    {"a single slash is a key", "[S]\n/k=v\n", {{"S", {{"/k", "v"}}}}},
    {"# comment", "[S]\n#k=v\n", {{"S", {}}}},
    {"indented comment is a key line", "[S]\n  #k=v\n", {{"S", {{"#k", "v"}}}}},
    {"indented header is a key line", "[S]\n [T]=1\n", {{"S", {{"[T]", "1"}}}}},
    {"semicolon means nothing", "[S]\n;k=v\n", {{"S", {{";k", "v"}}}}},
    {"inline markers belong to the value", "[S]\nk=v # c // d\n", {{"S", {{"k", "v # c // d"}}}}},
    {"keys before any header are dropped", "k=v\n[S]\nj=w\n", {{"S", {{"j", "w"}}}}},
    {"last line without line feed", "[S]\nk=v", {{"S", {{"k", "v"}}}}},
};
INSTANTIATE_TEST_SUITE_P(LineClassification, ParseTable, ::testing::ValuesIn(LineClassification));

const ParseCase SectionHeaders[] = {
    {"plain", "[Outfit3]\nk=v\n", {{"Outfit3", {{"k", "v"}}}}},
    {"trailing whitespace ignored", "[Outfit3]   \t\nk=v\n", {{"Outfit3", {{"k", "v"}}}}},
    {"inner spaces kept", "[ Outfit3 ]\nk=v\n", {{" Outfit3 ", {{"k", "v"}}}}},
    {"last character dropped whatever it is", "[Outfit3\nk=v\n", {{"Outfit", {{"k", "v"}}}}},
    {"text after the bracket", "[Outfit3] x\nk=v\n", {{"Outfit3] ", {{"k", "v"}}}}},
    {"empty name", "[]\nk=v\n", {{"", {{"k", "v"}}}}},
    {"a lone [ is ignored, the section goes on", "[S]\n[\nk=v\n[  \nj=w\n", {{"S", {{"j", "w"}, {"k", "v"}}}}},
    {"a lone [ before any header names nothing", "[\nk=v\n", {}},
    {"a repeated header starts its section afresh",
     "[S]\na=1\n[T]\nb=2\n[S]\nc=3\n",
     {{"S", {{"c", "3"}}}, {"T", {{"b", "2"}}}}},
    {"a repeated header with nothing after it leaves the section empty", "[S]\na=1\n[S]\n", {{"S", {}}}},
};
INSTANTIATE_TEST_SUITE_P(SectionHeaders, ParseTable, ::testing::ValuesIn(SectionHeaders));

const ParseCase KeyLines[] = {
    {"leading = skipped", "[S]\n==k=v\n", {{"S", {{"k", "v"}}}}},
    {"value keeps further =", "[S]\nk==v=w\n", {{"S", {{"k", "=v=w"}}}}},
    {"only = ignored", "[S]\n===\n", {{"S", {}}}},
    {"no = ignored", "[S]\nkey\n", {{"S", {}}}},
    {"nothing after = ignored", "[S]\nkey=\n", {{"S", {}}}},
    {"leading whitespace of the key removed", "[S]\n \t k=v\n", {{"S", {{"k", "v"}}}}},
    {"trailing whitespace of the key kept", "[S]\nDrawable0 =5\n", {{"S", {{"Drawable0 ", "5"}}}}},
    {"whitespace of the value kept", "[S]\nDrawable0= 5 \n", {{"S", {{"Drawable0", " 5 "}}}}},
    {"a key of whitespace only is the empty key", "[S]\n  =v\n", {{"S", {{"", "v"}}}}},
    {"a later key overwrites", "[S]\nk=1\nk=2\n", {{"S", {{"k", "2"}}}}},
    {"keys are case-sensitive", "[S]\nk=1\nK=2\n", {{"S", {{"K", "2"}, {"k", "1"}}}}},
    {"bytes from 0x80 are not whitespace", "[S]\n\xA0k=\xA0v\n", {{"S", {{"\xA0k", "\xA0v"}}}}},
};
INSTANTIATE_TEST_SUITE_P(KeyLines, ParseTable, ::testing::ValuesIn(KeyLines));

const ParseCase LineEnds[] = {
    {"CR LF reads as LF", "[S]\r\nk=v\r\n\r\nj= w \r\n", {{"S", {{"j", " w "}, {"k", "v"}}}}},
    {"a lone CR is part of the line", "[S]\nk=v\rj=w\n", {{"S", {{"k", "v\rj=w"}}}}},
    {"CR CR LF keeps one CR", "[S]\nk=v\r\r\n", {{"S", {{"k", "v\r"}}}}},
    {"CR at the very end is kept", "[S]\nk=v\r", {{"S", {{"k", "v\r"}}}}},
    {"header with CR LF", "[S]\r\n", {{"S", {}}}},
    {"byte-order mark at the start is skipped", "\xEF\xBB\xBF[S]\r\nk=v\r\n", {{"S", {{"k", "v"}}}}},
    {"byte-order mark elsewhere is text", "[S]\n\xEF\xBB\xBFk=v\n", {{"S", {{"\xEF\xBB\xBFk", "v"}}}}},
    {"NUL bytes are ordinary characters", std::string("[S]\nk=a\0b\n", 10), {{"S", {{"k", std::string("a\0b", 3)}}}}},
};
INSTANTIATE_TEST_SUITE_P(LineEnds, ParseTable, ::testing::ValuesIn(LineEnds));

TEST(IniLongLines, KeepTheFirst255CharactersAndGoOnWithTheNextLine) {
  const std::string longValue(400, 'x');
  const Sections sections = ParseSections("[S]\nk=" + longValue + "\r\nnext=1\n");
  ASSERT_EQ(sections.at("S").size(), 2u);
  EXPECT_EQ(sections.at("S").at("k"), std::string(253, 'x'));  // 255 - "k="
  EXPECT_EQ(sections.at("S").at("next"), "1");
}

TEST(IniLongLines, ExactlyAtTheLimitNothingIsLost) {
  const std::string value(253, 'y');
  EXPECT_EQ(ParseSections("[S]\r\nk=" + value + "\r\n").at("S").at("k"), value);
  // One more character is cut, CR LF or not.
  EXPECT_EQ(ParseSections("[S]\r\nk=" + value + "z\r\n").at("S").at("k"), value);
  EXPECT_EQ(ParseSections("[S]\nk=" + value + "z").at("S").at("k"), value);
}

TEST(IniLongLines, ATruncatedHeaderLosesItsLastKeptCharacter) {
  // 300 characters of name: the line is cut to "[" + 254 characters, and the last of
  // those is dropped as if it were the closing bracket.
  const Sections sections = ParseSections("[" + std::string(300, 'n') + "]\nk=v\n");
  EXPECT_EQ(sections, (Sections{{std::string(253, 'n'), {{"k", "v"}}}}));
}

TEST(IniLongLines, AByteOrderMarkDoesNotCountTowardsTheFirstLine) {
  const std::string name(253, 'b');
  const Sections sections = ParseSections("\xEF\xBB\xBF[" + name + "]\nk=v\n");
  EXPECT_EQ(sections, (Sections{{name, {{"k", "v"}}}}));
}

TEST(IniParse, AddsToExistingContentAndKeepsTheCurrentSection) {
  IniDocument document("", false);
  document.ParseText("[A]\na=1\n");
  document.ParseText("b=2\n[B]\nc=3\r\n");
  EXPECT_EQ(document.Sections(), (Sections{{"A", {{"a", "1"}, {"b", "2"}}}, {"B", {{"c", "3"}}}}));
}

TEST(IniAccess, SelectAddFindSet) {
  IniDocument document("", false);
  // Nothing is current yet: reads find nothing, writes change nothing.
  EXPECT_EQ(ValueOf(document, "k"), std::nullopt);
  EXPECT_FALSE(document.SetValue("k", "v"));
  EXPECT_TRUE(document.Sections().empty());

  EXPECT_FALSE(document.SelectSection("A"));
  EXPECT_TRUE(document.AddSection("A"));
  EXPECT_TRUE(document.SetValue("k", "1"));
  EXPECT_TRUE(document.AddSection("B"));
  EXPECT_EQ(ValueOf(document, "k"), std::nullopt);
  // AddSection on an existing name selects it and reports false.
  EXPECT_FALSE(document.AddSection("A"));
  EXPECT_EQ(ValueOf(document, "k"), "1");
  EXPECT_TRUE(document.SetValue("k", "2"));
  // A failed selection leaves the current section as it was.
  EXPECT_FALSE(document.SelectSection("a"));
  EXPECT_EQ(ValueOf(document, "k"), "2");
  EXPECT_TRUE(document.SelectSection("B"));
  EXPECT_EQ(ValueOf(document, "k"), std::nullopt);

  document.Clear();
  EXPECT_TRUE(document.Sections().empty());
  EXPECT_EQ(ValueOf(document, "k"), std::nullopt);
  EXPECT_FALSE(document.SetValue("k", "v"));
}

TEST(IniAccess, LookupIsExact) {
  IniDocument document("", false);
  document.ParseText("[Outfit0]\nDrawable0 =3\nTexture0= 4\n");
  ASSERT_TRUE(document.SelectSection("Outfit0"));
  EXPECT_EQ(ValueOf(document, "Drawable0"), std::nullopt);
  EXPECT_EQ(ValueOf(document, "Drawable0 "), "3");
  EXPECT_EQ(ValueOf(document, "Texture0"), " 4");
  EXPECT_FALSE(document.SelectSection("outfit0"));
  EXPECT_FALSE(document.SelectSection(" Outfit0"));
}

TEST(IniText, SectionsAndKeysInByteOrderWithCrLf) {
  IniDocument document("", false);
  for (const char* name : {"Outfit2", "Outfit10", "outfit", "Extra", "Outfit1", "\xC3\x84"}) {
    document.AddSection(name);
    document.SetValue("b", "2");
    document.SetValue("a", "1");
    document.SetValue("B", "3");
  }
  std::string expected;
  for (const char* name : {"Extra", "Outfit1", "Outfit10", "Outfit2", "outfit", "\xC3\x84"}) {
    expected += std::string("[") + name + "]\r\nB=3\r\na=1\r\nb=2\r\n";
  }
  EXPECT_EQ(document.Text(), expected);
}

TEST(IniText, EmptySectionsAreNotWrittenAndNothingIsAddedAroundEquals) {
  IniDocument document("", false);
  document.ParseText("// comment\n[Empty]\n[Keep]\nk = v \n\n[AlsoEmpty]\n#x=y\n");
  EXPECT_EQ(document.Text(), "[Keep]\r\nk = v \r\n");
  IniDocument empty("", false);
  EXPECT_EQ(empty.Text(), "");
}

TEST(IniText, KeysThatWouldNotReadBackGetOneSpaceInFront) {
  IniDocument document("", false);
  document.ParseText("[S]\n=#hash=1\n //slashes=2\n = empty key\n\t[bracket=3\n/one=4\n");
  EXPECT_EQ(document.Text(),
            "[S]\r\n"
            " = empty key\r\n"
            " #hash=1\r\n"
            " //slashes=2\r\n"
            "/one=4\r\n"
            " [bracket=3\r\n");
  IniDocument again("", false);
  again.ParseText(document.Text());
  EXPECT_EQ(again.Sections(), document.Sections());
}

TEST(IniText, ReadsBackAsTheSameDocument) {
  IniDocument document("", false);
  document.ParseText("\xEF\xBB\xBF[B]\r\nDrawable0= 007\r\nx==y\r\n[A]\nk=v\r\r\n[ C ]\nk =v\n[Outfit3\n z=\xFF\n");
  const std::string text = document.Text();
  IniDocument again("", false);
  again.ParseText(text);
  EXPECT_EQ(again.Sections(), document.Sections());
  EXPECT_EQ(again.Text(), text);
}

}  // namespace

namespace {

// Line records, for a reader that names lines by number: each key line with its
// section, key and value as stored, each line the reader drops; blank lines, comments
// and headers counted but not recorded; CR LF and a byte-order mark change nothing.
TEST(LineRecords, NumberEveryKeyLineAndEveryDroppedLine) {
  IniDocument document("", false);
  document.KeepLineRecords();
  document.ParseText(
      "\xEF\xBB\xBF"
      "early=1\r\n# c\r\n\r\n[A]\r\nk = v\r\nno equals\r\n[B]\r\nk=w\r\nk=x\r\nempty=\r\n[\r\nlast=y");
  struct Expected {
    std::size_t number;
    bool dropped;
    const char* section;
    const char* key;
    const char* value;
  };
  const Expected expected[] = {
      {1, true, "", "", ""},     {5, false, "A", "k ", " v"}, {6, true, "", "", ""},  {8, false, "B", "k", "w"},
      {9, false, "B", "k", "x"}, {10, true, "", "", ""},      {11, true, "", "", ""}, {12, false, "B", "last", "y"},
  };
  const auto& records = document.LineRecords();
  ASSERT_EQ(records.size(), sizeof expected / sizeof expected[0]);
  for (std::size_t i = 0; i < records.size(); ++i) {
    EXPECT_EQ(records[i].number, expected[i].number) << i;
    EXPECT_EQ(records[i].dropped, expected[i].dropped) << i;
    EXPECT_EQ(records[i].section, expected[i].section) << i;
    EXPECT_EQ(records[i].key, expected[i].key) << i;
    EXPECT_EQ(records[i].value, expected[i].value) << i;
  }
  // Without asking, nothing is recorded.
  IniDocument plain("", false);
  plain.ParseText("[A]\nk=v\n");
  EXPECT_TRUE(plain.LineRecords().empty());
}

}  // namespace
