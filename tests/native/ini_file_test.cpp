// The INI document against real files: a missing file and an unreadable one are told
// apart and leave the document as it was; saves write exactly the document's text.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "outfits/ini_document.h"

namespace {

namespace fs = std::filesystem;

class IniFile : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory = fs::temp_directory_path() / ("ini_file_test_" + std::to_string(::getpid())) / info->name();
    fs::remove_all(directory);
    fs::create_directories(directory);
  }
  void TearDown() override { fs::remove_all(directory.parent_path()); }

  std::string PathOf(const char* name) const { return (directory / name).string(); }

  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  fs::path directory;
};

TEST_F(IniFile, LoadsAtConstructionWithCrLfAndLfAlike) {
  WriteBytes(PathOf("crlf.ini"), "[Outfit0]\r\nDrawable0=4\r\n");
  WriteBytes(PathOf("lf.ini"), "[Outfit0]\nDrawable0=4\n");
  IniDocument crlf(PathOf("crlf.ini"), true);
  IniDocument lf(PathOf("lf.ini"), true);
  EXPECT_EQ(crlf.LoadResult(), IniLoadResult::Loaded);
  EXPECT_EQ(crlf.Sections(), (IniDocument::SectionTable{{"Outfit0", {{"Drawable0", "4"}}}}));
  EXPECT_EQ(lf.Sections(), crlf.Sections());
  IniDocument notYet(PathOf("lf.ini"), false);
  EXPECT_EQ(notYet.LoadResult(), IniLoadResult::NotLoaded);
  EXPECT_TRUE(notYet.Sections().empty());
}

TEST_F(IniFile, MissingAndUnreadableFilesAreToldApartAndChangeNothing) {
  IniDocument missing(PathOf("absent.ini"), false);
  missing.ParseText("[Kept]\nk=v\n");
  EXPECT_FALSE(missing.Load());
  EXPECT_EQ(missing.LoadResult(), IniLoadResult::Missing);
  EXPECT_EQ(missing.Sections(), (IniDocument::SectionTable{{"Kept", {{"k", "v"}}}}));

  // A directory opens on this platform but fails to read: that is an unreadable file.
  fs::create_directories(PathOf("folder.ini"));
  IniDocument unreadable(PathOf("folder.ini"), false);
  unreadable.ParseText("[Kept]\nk=v\n");
  EXPECT_FALSE(unreadable.Load());
  EXPECT_EQ(unreadable.LoadResult(), IniLoadResult::Unreadable);
  EXPECT_EQ(unreadable.Sections(), (IniDocument::SectionTable{{"Kept", {{"k", "v"}}}}));
}

TEST_F(IniFile, LoadAddsToWhatIsThere) {
  WriteBytes(PathOf("a.ini"), "[A]\nk=file\n[B]\nj=1\n");
  IniDocument document(PathOf("a.ini"), false);
  document.ParseText("[A]\nk=memory\nm=2\n[C]\nc=3\n");
  EXPECT_TRUE(document.Load());
  // The file's [A] header starts that section afresh; [C] is untouched.
  EXPECT_EQ(document.Sections(),
            (IniDocument::SectionTable{{"A", {{"k", "file"}}}, {"B", {{"j", "1"}}}, {"C", {{"c", "3"}}}}));
}

TEST_F(IniFile, SaveWritesTheTextToItsOwnPathOrAGivenOne) {
  WriteBytes(PathOf("doc.ini"), std::string(5000, 'z'));  // longer than what replaces it
  IniDocument document(PathOf("doc.ini"), false);
  document.AddSection("Outfit1");
  document.SetValue("Prop0", "-1");
  document.AddSection("Outfit0");
  document.SetValue("Drawable0", "3");
  document.AddSection("Unused");
  const std::string expected = "[Outfit0]\r\nDrawable0=3\r\n[Outfit1]\r\nProp0=-1\r\n";

  EXPECT_TRUE(document.Save(""));
  EXPECT_EQ(ReadBytes(PathOf("doc.ini")), expected);
  EXPECT_TRUE(document.Save(PathOf("other.ini")));
  EXPECT_EQ(ReadBytes(PathOf("other.ini")), expected);

  IniDocument reread(PathOf("other.ini"), true);
  EXPECT_EQ(reread.Text(), expected);
}

TEST_F(IniFile, SavingNothingButEmptySectionsLeavesAnEmptyFile) {
  WriteBytes(PathOf("doc.ini"), "[Outfit0]\r\nDrawable0=1\r\n");
  IniDocument document(PathOf("doc.ini"), false);
  document.AddSection("Outfit0");  // selected, never given a key
  document.AddSection("Outfit1");
  EXPECT_TRUE(document.Save(""));
  EXPECT_TRUE(fs::exists(PathOf("doc.ini")));
  EXPECT_EQ(fs::file_size(PathOf("doc.ini")), 0u);
  IniDocument none(PathOf("none.ini"), false);
  EXPECT_TRUE(none.Save(""));
  EXPECT_EQ(fs::file_size(PathOf("none.ini")), 0u);
}

TEST_F(IniFile, SaveThatCannotOpenReportsFalseAndCreatesNothing) {
  IniDocument document(PathOf("no-such-dir/doc.ini"), false);
  document.AddSection("S");
  document.SetValue("k", "v");
  EXPECT_FALSE(document.Save(""));
  EXPECT_FALSE(fs::exists(PathOf("no-such-dir")));
}

}  // namespace
