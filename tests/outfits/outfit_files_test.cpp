// The per-episode outfit files in the simulated host's working directory: names,
// loads, saves, and what a save must never do to a file it could not read or was cut
// short in.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "outfit_test_support.h"
#include "outfits/file_replace.h"
#include "outfits/ini_document.h"
#include "outfits/outfit.h"
#include "outfits/outfit_files.h"
#include "sim/natives.h"
#include "sim/ped_model.h"
#include "support/scoped_swap.h"

namespace {

class OutfitFiles : public OutfitHostTest {};

const char* const BaseFile = "WardrobeOutfits.ini";

// A section as the plug-in writes it: all 44 keys, every one holding `value`.
std::string OutfitSection(int number, int value) {
  IniDocument document("", false);
  Outfit outfit;
  for (int i = 0; i < ComponentCount; ++i) {
    outfit.drawable[i] = outfit.texture[i] = static_cast<uint32_t>(value);
    outfit.prop[i] = outfit.propTexture[i] = value;
  }
  outfit.Write(document, ("Outfit" + std::to_string(number)).c_str());
  return document.Text();
}

std::vector<std::string> HeaderLines(const std::string& text) {
  std::vector<std::string> headers;
  size_t position = 0;
  while (position < text.size()) {
    size_t end = text.find("\r\n", position);
    if (end == std::string::npos) end = text.size();
    if (text[position] == '[') headers.push_back(text.substr(position, end - position));
    position = end + 2;
  }
  return headers;
}

int CountLines(const std::string& text) {
  int lines = 0;
  for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
  return lines;
}

// The player of the example first save: every component has enough variants for it.
void DressAsTheExample() {
  const uint32_t drawables[ComponentCount] = {0, 2, 1, 0, 0, 1, 3, 0, 0, 0, 0};
  const uint32_t textures[ComponentCount] = {0, 1, 0, 0, 0, 2, 0, 0, 0, 0, 0};
  for (int c = 0; c < ComponentCount; ++c) {
    sim::SetComponentModel(c, {3, 3, 3, 3});
    ASSERT_TRUE(sim::Wear(c, drawables[c], textures[c]));
  }
  for (int a = 0; a < PropAnchorCount; ++a) sim::RemoveProp(a);
  sim::PutProp(0, 1, 0);
}

// Stands for the waits between a save's tries: records them, and waits only when told.
struct SaveWaits {
  static inline std::vector<unsigned> waits;
  static inline bool reallyWait = false;
  static inline void (*onFirstWait)() = nullptr;
  static void Record(unsigned milliseconds) {
    waits.push_back(milliseconds);
    if (waits.size() == 1 && onFirstWait != nullptr) onFirstWait();
    if (reallyWait) Sleep(milliseconds);
  }
};
const std::vector<unsigned> AllRetryWaits(SaveRetryWaitsMs, SaveRetryWaitsMs + SaveRetryCount);

struct FileNameCase {
  uint32_t episode;
  const char* expected;
};

TEST_F(OutfitFiles, FileNamePerEpisode) {
  const FileNameCase cases[] = {
      {0, "WardrobeOutfits.ini"},           {1, "WardrobeOutfitsTLAD.ini"},
      {2, "WardrobeOutfitsTBoGT.ini"},      {3, "WardrobeOutfitsEpisode3.ini"},
      {41, "WardrobeOutfitsEpisode41.ini"}, {0x80000000u, "WardrobeOutfitsEpisode-2147483648.ini"}};
  for (const FileNameCase& c : cases) {
    sim::SetEpisode(c.episode);
    EXPECT_STREQ(OutfitFileName(), c.expected) << c.episode;
  }
}

TEST_F(OutfitFiles, FirstSaveIntoAMissingFileWritesExactlyTheExampleLayout) {
  DressAsTheExample();
  EXPECT_TRUE(SaveCurrentOutfit());
  EXPECT_EQ(ReadTextFile(BaseFile), ReadTextFile(WARDROBE_SOURCE_DIR "/tests/fixtures/first_save.ini"));
  EXPECT_FALSE(FileExists(std::string(BaseFile) + TemporaryOutfitFileSuffix));
  EXPECT_TRUE(OutfitTable[0].inUse);
  EXPECT_EQ(CountSavedOutfits(), 1);
  EXPECT_EQ(OutfitTable[0].drawable[6], 3u);
  EXPECT_EQ(OutfitTable[0].prop[1], -1);

  // The second save rewrites the whole file: 2 × 45 lines, the first outfit as it was.
  sim::Wear(6, 1, 2);
  EXPECT_TRUE(SaveCurrentOutfit());
  const std::string text = ReadTextFile(BaseFile);
  EXPECT_EQ(CountLines(text), 90);
  EXPECT_EQ(text.substr(0, ReadTextFile(WARDROBE_SOURCE_DIR "/tests/fixtures/first_save.ini").size()),
            ReadTextFile(WARDROBE_SOURCE_DIR "/tests/fixtures/first_save.ini"));
  EXPECT_EQ(CountSavedOutfits(), 2);
  EXPECT_EQ(OutfitTable[1].drawable[6], 1u);
  EXPECT_EQ(OutfitTable[1].texture[6], 2u);
}

TEST_F(OutfitFiles, LoadReadsValuesAsTheFileHoldsThem) {
  WriteTextFile(BaseFile,
                "\xEF\xBB\xBF// saved by hand\r\n"
                "[Outfit0]\r\n"
                "Drawable0= 3\r\nDrawable1 =4\r\nTexture0=12abc\r\nProp0=-1\r\nPropTexture0=-1\r\n"
                "Prop1=007\r\nDrawable2=not a number\r\nDrawable3=99999999999\r\nTexture3=-2147483649\r\n"
                "Texture4=4294967295\r\nProp2=+5\r\nPropTexture2=-2147483648\r\n"
                "[Outfit1]\r\n"
                "[Outfit2]\nDrawable0=9\n"  // LF line ends read alike
                "[Outfit01]\r\nDrawable0=1\r\n[outfit3]\r\nDrawable0=1\r\n[Outfit512]\r\nDrawable0=1\r\n"
                "[Outfit4]\r\n#Drawable0=1\r\n");
  OutfitTable[5].drawable[0] = 55;  // a free entry keeps its arrays
  OutfitTable[5].inUse = true;
  LoadOutfits();

  const Outfit& o = OutfitTable[0];
  EXPECT_EQ(o.drawable[0], 3u);
  EXPECT_EQ(o.drawable[1], 0u) << "'Drawable1 ' is another key";
  EXPECT_EQ(o.texture[0], 12u);
  EXPECT_EQ(o.prop[0], -1);
  EXPECT_EQ(o.propTexture[0], -1);
  EXPECT_EQ(o.prop[1], 7);
  EXPECT_EQ(o.drawable[2], 0u) << "not a number reads 0";
  EXPECT_EQ(o.drawable[3], 0u) << "beyond 32 bits reads 0";
  EXPECT_EQ(o.texture[3], 0u);
  EXPECT_EQ(o.texture[4], 0u);
  EXPECT_EQ(o.prop[2], 5);
  EXPECT_EQ(o.propTexture[2], INT32_MIN);
  EXPECT_EQ(o.drawable[10], 0u) << "missing key reads 0";

  // A section without keys is an outfit of zeros.
  EXPECT_TRUE(OutfitTable[1].inUse);
  for (int i = 0; i < ComponentCount; ++i) {
    EXPECT_EQ(OutfitTable[1].drawable[i], 0u);
    EXPECT_EQ(OutfitTable[1].prop[i], 0);
  }
  EXPECT_TRUE(OutfitTable[2].inUse);
  EXPECT_EQ(OutfitTable[2].drawable[0], 9u);
  EXPECT_FALSE(OutfitTable[3].inUse) << "outfit3 is not Outfit3";
  EXPECT_TRUE(OutfitTable[4].inUse);
  EXPECT_EQ(OutfitTable[4].drawable[0], 0u);
  EXPECT_FALSE(OutfitTable[5].inUse);
  EXPECT_EQ(OutfitTable[5].drawable[0], 55u);
  EXPECT_EQ(CountSavedOutfits(), 3);
}

TEST_F(OutfitFiles, AGapIsFilledFirst) {
  WriteTextFile(BaseFile, OutfitSection(0, 1) + OutfitSection(1, 1) + OutfitSection(3, 3));
  LoadOutfits();
  EXPECT_EQ(CountSavedOutfits(), 2);
  EXPECT_TRUE(OutfitTable[3].inUse);

  ASSERT_TRUE(sim::Wear(1, 1, 2));
  EXPECT_TRUE(SaveCurrentOutfit());
  EXPECT_EQ(CountSavedOutfits(), 4);
  EXPECT_EQ(OutfitTable[2].drawable[1], 1u);
  EXPECT_EQ(OutfitTable[2].texture[1], 2u);
  EXPECT_EQ(OutfitTable[3].drawable[1], 3u);
  EXPECT_EQ(HeaderLines(ReadTextFile(BaseFile)),
            (std::vector<std::string>{"[Outfit0]", "[Outfit1]", "[Outfit2]", "[Outfit3]"}));
}

TEST_F(OutfitFiles, SaveKeepsOtherContentAsTextAndOrdersSectionsByName) {
  std::string file = "# my outfits\r\n[Extra]\r\nName=x\r\n[Empty]\r\n";
  for (int n = 0; n < 12; ++n) file += OutfitSection(n, n);
  file += "[Outfit3]\r\n";  // a repeated header: Outfit3 starts afresh
  file += "Drawable0= 007\r\nCustom=kept as text \r\n";
  WriteTextFile(BaseFile, file);

  EXPECT_TRUE(SaveCurrentOutfit());
  const std::string text = ReadTextFile(BaseFile);
  EXPECT_EQ(HeaderLines(text),
            (std::vector<std::string>{"[Extra]", "[Outfit0]", "[Outfit1]", "[Outfit10]", "[Outfit11]", "[Outfit12]",
                                      "[Outfit2]", "[Outfit3]", "[Outfit4]", "[Outfit5]", "[Outfit6]", "[Outfit7]",
                                      "[Outfit8]", "[Outfit9]"}));
  EXPECT_NE(text.find("[Extra]\r\nName=x\r\n[Outfit0]"), std::string::npos);
  EXPECT_NE(text.find("[Outfit3]\r\nCustom=kept as text \r\nDrawable0= 007\r\n[Outfit4]"), std::string::npos);
  EXPECT_EQ(text.find("# my outfits"), std::string::npos);
  EXPECT_EQ(CountSavedOutfits(), 13);
  EXPECT_EQ(OutfitTable[3].drawable[0], 7u);
  EXPECT_EQ(OutfitTable[11].prop[10], 11);
}

TEST_F(OutfitFiles, AnEmptyOutfitSectionIsDroppedByTheNextSave) {
  WriteTextFile(BaseFile, "[Outfit0]\r\n");
  LoadOutfits();
  EXPECT_EQ(CountSavedOutfits(), 1);

  EXPECT_TRUE(SaveCurrentOutfit());
  EXPECT_EQ(HeaderLines(ReadTextFile(BaseFile)), (std::vector<std::string>{"[Outfit1]"}));
  EXPECT_FALSE(OutfitTable[0].inUse);
  EXPECT_TRUE(OutfitTable[1].inUse);
  EXPECT_EQ(CountSavedOutfits(), 0);

  EXPECT_TRUE(SaveCurrentOutfit());
  EXPECT_EQ(CountSavedOutfits(), 2);
}

TEST_F(OutfitFiles, AFullFileIsLeftAlone) {
  std::string file;
  for (int n = 0; n < OutfitTableSize; ++n) file += OutfitSection(n, n % 7);
  WriteTextFile(BaseFile, file);
  LoadOutfits();
  ASSERT_EQ(CountSavedOutfits(), OutfitTableSize);
  const Outfit lastBefore = OutfitTable[OutfitTableSize - 1];

  sim::ClearNativeLog();
  EXPECT_FALSE(SaveCurrentOutfit());
  EXPECT_EQ(ReadTextFile(BaseFile), file);
  EXPECT_EQ(sim::CountNativeCalls("GetPedDrawable"), 0) << "nothing is captured";
  EXPECT_EQ(CountSavedOutfits(), OutfitTableSize);
  EXPECT_EQ(OutfitTable[OutfitTableSize - 1].drawable[0], lastBefore.drawable[0]);
}

TEST_F(OutfitFiles, EachEpisodeHasItsOwnFile) {
  WriteTextFile("WardrobeOutfits.ini", OutfitSection(0, 1));
  WriteTextFile("WardrobeOutfitsTLAD.ini", OutfitSection(0, 2) + OutfitSection(1, 2));
  WriteTextFile("WardrobeOutfitsEpisode3.ini", OutfitSection(0, 3));
  struct Step {
    uint32_t episode;
    int count;
    uint32_t drawable0;
  };
  for (const Step& step : {Step{0, 1, 1}, Step{1, 2, 2}, Step{0, 1, 1}, Step{2, 0, 0}, Step{3, 1, 3}}) {
    sim::SetEpisode(step.episode);
    LoadOutfits();
    EXPECT_EQ(CountSavedOutfits(), step.count) << "episode " << step.episode;
    if (step.count > 0) {
      EXPECT_EQ(OutfitTable[0].drawable[0], step.drawable0) << "episode " << step.episode;
    }
  }

  sim::SetEpisode(2);
  EXPECT_TRUE(SaveCurrentOutfit());
  EXPECT_TRUE(FileExists("WardrobeOutfitsTBoGT.ini"));
  EXPECT_EQ(CountSavedOutfits(), 1);
  EXPECT_EQ(ReadTextFile("WardrobeOutfits.ini"), OutfitSection(0, 1));
}

TEST_F(OutfitFiles, AFileThatCannotBeReadIsNeverOverwritten) {
  const std::string original = OutfitSection(0, 4) + OutfitSection(1, 5);
  WriteTextFile(BaseFile, original);
  LoadOutfits();
  ASSERT_EQ(CountSavedOutfits(), 2);

  // Another program holds the file open and shares it with nobody, for good: the load,
  // the save and the deletion each wait for it as long as a save would, then give up.
  HANDLE lock = CreateFileA(BaseFile, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  SaveWaits::waits.clear();
  {
    const ScopedSwap wait(waitBeforeSaveRetry, &SaveWaits::Record);
    LoadOutfits();
    EXPECT_EQ(SaveWaits::waits, AllRetryWaits);
    EXPECT_EQ(CountSavedOutfits(), 0) << "an unreadable file shows no outfits";
    sim::ClearNativeLog();
    SaveWaits::waits.clear();
    EXPECT_FALSE(SaveCurrentOutfit());
    EXPECT_EQ(SaveWaits::waits, AllRetryWaits);
    EXPECT_EQ(sim::CountNativeCalls("GetPedDrawable"), 0) << "nothing is captured";
    SaveWaits::waits.clear();
    EXPECT_FALSE(DeleteOutfit(0));
    EXPECT_EQ(SaveWaits::waits, AllRetryWaits);
  }
  CloseHandle(lock);

  EXPECT_EQ(ReadTextFile(BaseFile), original);
  EXPECT_FALSE(FileExists(std::string(BaseFile) + TemporaryOutfitFileSuffix));
  LoadOutfits();
  EXPECT_EQ(CountSavedOutfits(), 2);
}

// Counts the replacing steps and what they gave, doing the real replacement.
struct ReplaceCounter {
  static inline int calls = 0;
  static inline bool lastResult = false;
  static bool Replace(const char* temporaryPath, const char* targetPath) {
    ++calls;
    lastResult = ReplaceFileAtomically(temporaryPath, targetPath);
    return lastResult;
  }
};

TEST_F(OutfitFiles, AFileThatCannotBeReplacedStaysAsItWas) {
  const std::string original = OutfitSection(0, 4);
  WriteTextFile(BaseFile, original);
  // Another reader holds the file: reading is shared, deleting or renaming over it is not.
  HANDLE reader = CreateFileA(BaseFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  ReplaceCounter::calls = 0;
  SaveWaits::waits.clear();
  bool stored = false;
  {
    const ScopedSwap replace(replaceOutfitFile, &ReplaceCounter::Replace);
    const ScopedSwap wait(waitBeforeSaveRetry, &SaveWaits::Record);
    stored = SaveCurrentOutfit();
  }
  CloseHandle(reader);

  EXPECT_FALSE(stored);
  EXPECT_EQ(ReplaceCounter::calls, 1 + SaveRetryCount)
      << "the file was read and the new one written beside it, then again after each wait";
  EXPECT_EQ(SaveWaits::waits, AllRetryWaits) << "a held file may be let go in a moment";
  EXPECT_FALSE(ReplaceCounter::lastResult);

  EXPECT_EQ(ReadTextFile(BaseFile), original);
  EXPECT_FALSE(FileExists(std::string(BaseFile) + TemporaryOutfitFileSuffix));
  EXPECT_EQ(CountSavedOutfits(), 1) << "the reload shows the unchanged file";
}

// Stands for a save cut short after the temporary file was written: it looks at both
// files at that moment and replaces nothing.
struct ReplaceSpy {
  static inline int calls = 0;
  static inline std::string temporaryText;
  static inline std::string targetText;
  static inline std::string temporaryName;
  static bool Interrupt(const char* temporaryPath, const char* targetPath) {
    ++calls;
    temporaryName = temporaryPath;
    temporaryText = ReadTextFile(temporaryPath);
    targetText = ReadTextFile(targetPath);
    return false;
  }
};

TEST_F(OutfitFiles, ASaveCutShortBeforeTheReplaceLeavesTheOldFile) {
  const std::string original = OutfitSection(0, 4) + OutfitSection(1, 5);
  WriteTextFile(BaseFile, original);
  LoadOutfits();

  ReplaceSpy::calls = 0;
  bool stored = false;
  {
    const ScopedSwap replace(replaceOutfitFile, &ReplaceSpy::Interrupt);
    stored = SaveCurrentOutfit();
  }

  EXPECT_FALSE(stored);
  ASSERT_EQ(ReplaceSpy::calls, 1);
  EXPECT_EQ(ReplaceSpy::temporaryName, std::string(BaseFile) + TemporaryOutfitFileSuffix);
  // At the replacing step the whole new document is written and the target is untouched.
  IniDocument written("", false);
  written.ParseText(ReplaceSpy::temporaryText);
  EXPECT_EQ(written.Text(), ReplaceSpy::temporaryText);
  EXPECT_EQ(written.Sections().size(), 3u);
  EXPECT_EQ(ReplaceSpy::temporaryText.substr(0, original.size()), original);
  EXPECT_EQ(ReplaceSpy::targetText, original);

  EXPECT_EQ(ReadTextFile(BaseFile), original);
  EXPECT_FALSE(FileExists(std::string(BaseFile) + TemporaryOutfitFileSuffix));
  EXPECT_EQ(CountSavedOutfits(), 2);
  EXPECT_FALSE(OutfitTable[2].inUse);
}

TEST_F(OutfitFiles, AStaleTemporaryFileBreaksNeitherLoadNorSave) {
  // What a crash in the middle of writing the temporary file leaves behind, as it was
  // left and after a backup tool copied it back marked read-only.
  for (const bool readOnly : {false, true}) {
    SCOPED_TRACE(readOnly ? "read-only temporary file" : "temporary file");
    const std::string original = OutfitSection(0, 4);
    WriteTextFile(BaseFile, original);
    const std::string temporary = std::string(BaseFile) + TemporaryOutfitFileSuffix;
    WriteTextFile(temporary, OutfitSection(0, 9) + OutfitSection(1, 9) + "[Outfit2]\r\nDraw");
    if (readOnly) {
      ASSERT_TRUE(SetFileAttributesA(temporary.c_str(), FILE_ATTRIBUTE_READONLY));
    }

    LoadOutfits();
    EXPECT_EQ(CountSavedOutfits(), 1);
    EXPECT_EQ(OutfitTable[0].drawable[0], 4u);

    EXPECT_TRUE(SaveCurrentOutfit());
    EXPECT_FALSE(FileExists(temporary));
    const std::string text = ReadTextFile(BaseFile);
    EXPECT_EQ(HeaderLines(text), (std::vector<std::string>{"[Outfit0]", "[Outfit1]"}));
    EXPECT_EQ(text.substr(0, original.size()), original);
    EXPECT_EQ(CountSavedOutfits(), 2);
  }
}

// What makes a plain rewrite of the outfit file fail makes a save fail too, on every
// platform: the rename that puts the new file in place is not left to refuse it (Wine
// renames over a read-only file, where Windows does not).
struct UnwritableCase {
  const char* name;
  DWORD attributes;   // of the outfit file; FILE_ATTRIBUTE_DIRECTORY: a folder of its name
  DWORD heldSharing;  // while saving, another program holds it open sharing this (or -1: nobody holds it)
};

TEST_F(OutfitFiles, AFileThatARewriteCouldNotReplaceIsLeftExactlyAsItWas) {
  const UnwritableCase cases[] = {
      {"read-only file", FILE_ATTRIBUTE_READONLY, DWORD(-1)},
      {"read-only, hidden and archived", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE,
       DWORD(-1)},
      {"folder in place of the file", FILE_ATTRIBUTE_DIRECTORY, DWORD(-1)},
      {"held open, reading shared, writing not", FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ},
  };
  const std::string original = OutfitSection(0, 4) + OutfitSection(1, 5);
  const std::string temporary = std::string(BaseFile) + TemporaryOutfitFileSuffix;
  for (const UnwritableCase& c : cases) {
    SCOPED_TRACE(c.name);
    const bool folder = c.attributes == FILE_ATTRIBUTE_DIRECTORY;
    if (folder) {
      ASSERT_TRUE(CreateDirectoryA(BaseFile, nullptr));
    } else {
      WriteTextFile(BaseFile, original);
      ASSERT_TRUE(SetFileAttributesA(BaseFile, c.attributes));
    }
    const DWORD attributesBefore = GetFileAttributesA(BaseFile);
    HANDLE holder = INVALID_HANDLE_VALUE;
    if (c.heldSharing != DWORD(-1)) {
      holder =
          CreateFileA(BaseFile, GENERIC_READ, c.heldSharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    }
    LoadOutfits();
    const int shownBefore = CountSavedOutfits();

    SaveWaits::waits.clear();
    {
      const ScopedSwap wait(waitBeforeSaveRetry, &SaveWaits::Record);
      EXPECT_FALSE(SaveCurrentOutfit());
    }
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
    // Read-only and folder are for good: no waiting. A held file may be let go soon.
    EXPECT_EQ(SaveWaits::waits, holder != INVALID_HANDLE_VALUE ? AllRetryWaits : std::vector<unsigned>{});

    EXPECT_EQ(GetFileAttributesA(BaseFile), attributesBefore);
    EXPECT_FALSE(FileExists(temporary));
    EXPECT_EQ(CountSavedOutfits(), shownBefore) << "the table still shows the file as it is";
    if (folder) {
      EXPECT_TRUE(RemoveDirectoryA(BaseFile)) << "the folder is still empty";
    } else {
      EXPECT_EQ(ReadTextFile(BaseFile), original);
      EXPECT_EQ(shownBefore, 2);
      SetFileAttributesA(BaseFile, FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(BaseFile);
    }
  }
  // Writable again, the same file takes the save.
  WriteTextFile(BaseFile, original);
  EXPECT_TRUE(SaveCurrentOutfit());
  EXPECT_EQ(CountSavedOutfits(), 3);
}

// Outfit `original` of the deletion tests, under number `number`: values whose text a
// rewrite must keep byte for byte.
std::string DeletionSection(int number, int original) {
  return "[Outfit" + std::to_string(number) + "]\r\nDrawable0= 0" + std::to_string(original + 1) + "\r\nNote=outfit " +
         std::to_string(original) + " =x \r\n";
}

// Twelve outfits (so Outfit10 and Outfit11 sort before Outfit2), a foreign section and
// one named like an outfit beyond the table; deleting `deleted` gives the file the
// writer makes of the other eleven, numbered 0 to 10, and the two others unchanged.
TEST_F(OutfitFiles, DeletingAnOutfitMovesTheOnesAboveItDownByOne) {
  const std::string foreign = "[Extra]\r\nName=x\r\n";
  const std::string beyond = "[Outfit512]\r\nDrawable0=9\r\n";
  for (const int deleted : {0, 5, 11}) {
    SCOPED_TRACE(deleted);
    std::string file = foreign + beyond;
    for (int n = 0; n < 12; ++n) file += DeletionSection(n, n);
    WriteTextFile(BaseFile, file);
    LoadOutfits();
    ASSERT_EQ(CountSavedOutfits(), 12);

    EXPECT_TRUE(DeleteOutfit(deleted));
    std::map<std::string, std::string> expected = {{"Extra", foreign}, {"Outfit512", beyond}};
    for (int n = 0; n < 11; ++n) {
      expected["Outfit" + std::to_string(n)] = DeletionSection(n, n < deleted ? n : n + 1);
    }
    std::string expectedText;
    for (const auto& [name, text] : expected) expectedText += text;
    EXPECT_EQ(ReadTextFile(BaseFile), expectedText);
    EXPECT_FALSE(FileExists(std::string(BaseFile) + TemporaryOutfitFileSuffix));
    EXPECT_EQ(CountSavedOutfits(), 11);
    for (int n = 0; n < 11; ++n) {
      EXPECT_EQ(OutfitTable[n].drawable[0], static_cast<uint32_t>((n < deleted ? n : n + 1) + 1)) << n;
    }
    EXPECT_FALSE(OutfitTable[11].inUse);
  }
}

// A deletion that cannot be written, or of an outfit the file no longer holds, leaves
// the file exactly as it was and the table showing it.
TEST_F(OutfitFiles, ADeletionThatCannotBeWrittenChangesNothing) {
  struct Case {
    const char* name;
    DWORD attributes;
    DWORD heldSharing;  // -1: nobody holds the file
    int number;
    bool cutShort;  // the save is cut short before the replacing step
  };
  const Case cases[] = {
      {"read-only file", FILE_ATTRIBUTE_READONLY, DWORD(-1), 1, false},
      {"held open, writing not shared", FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ, 1, false},
      {"cut short before the replace", FILE_ATTRIBUTE_NORMAL, DWORD(-1), 0, true},
      {"an outfit the file does not hold", FILE_ATTRIBUTE_NORMAL, DWORD(-1), 2, false},
  };
  const std::string original = DeletionSection(0, 0) + DeletionSection(1, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteTextFile(BaseFile, original);
    ASSERT_TRUE(SetFileAttributesA(BaseFile, c.attributes));
    HANDLE holder = INVALID_HANDLE_VALUE;
    if (c.heldSharing != DWORD(-1)) {
      holder =
          CreateFileA(BaseFile, GENERIC_READ, c.heldSharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
      ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    }
    LoadOutfits();
    bool deleted = true;
    if (c.cutShort) {
      const ScopedSwap replace(replaceOutfitFile, &ReplaceSpy::Interrupt);
      deleted = DeleteOutfit(c.number);
    } else {
      deleted = DeleteOutfit(c.number);
    }
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);

    EXPECT_FALSE(deleted);
    EXPECT_EQ(ReadTextFile(BaseFile), original);
    EXPECT_EQ(GetFileAttributesA(BaseFile) & FILE_ATTRIBUTE_READONLY, c.attributes & FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(FileExists(std::string(BaseFile) + TemporaryOutfitFileSuffix));
    EXPECT_EQ(CountSavedOutfits(), 2);
    SetFileAttributesA(BaseFile, FILE_ATTRIBUTE_NORMAL);
  }
  // No file at all: nothing to delete, and no file is made.
  DeleteFileA(BaseFile);
  LoadOutfits();
  EXPECT_FALSE(DeleteOutfit(0));
  EXPECT_FALSE(FileExists(BaseFile));
}

DWORD WINAPI CloseAfter100Ms(void* handle) {
  Sleep(100);
  CloseHandle(static_cast<HANDLE>(handle));
  return 0;
}

HANDLE heldFile = INVALID_HANDLE_VALUE;
HANDLE releaser = nullptr;
void ReleaseHeldFileIn100Ms() { releaser = CreateThread(nullptr, 0, CloseAfter100Ms, heldFile, 0, nullptr); }

// A scanner that holds the outfit file for a moment (here 100 ms from the first failed
// try) delays a save, a deletion or a load by a fraction of a second; it then goes
// through. Held sharing its reading, only the write waits; held sharing nothing, the
// read before it (or the load's only read) waits too.
TEST_F(OutfitFiles, AFileHeldOpenForAMomentIsWaitedFor) {
  struct Case {
    const char* name;
    DWORD heldSharing;
    bool (*change)();
    bool loadedBefore;  // the table showed the file before it was held
    int outfitsAfter;
  };
  const Case cases[] = {
      {"save, reading shared", FILE_SHARE_READ, [] { return SaveCurrentOutfit(); }, true, 2},
      {"save, nothing shared", 0, [] { return SaveCurrentOutfit(); }, true, 2},
      {"delete, nothing shared", 0, [] { return DeleteOutfit(0); }, true, 0},
      {"load, nothing shared", 0,
       [] {
         LoadOutfits();
         return true;
       },
       false, 1},
  };
  const std::string original = OutfitSection(0, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteTextFile(BaseFile, original);
    for (Outfit& entry : OutfitTable) entry.inUse = false;
    if (c.loadedBefore) LoadOutfits();
    heldFile =
        CreateFileA(BaseFile, GENERIC_READ, c.heldSharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(heldFile, INVALID_HANDLE_VALUE);
    SaveWaits::waits.clear();
    bool changed = false;
    {
      const ScopedSwap wait(waitBeforeSaveRetry, &SaveWaits::Record);
      const ScopedSwap reallyWait(SaveWaits::reallyWait, true);
      const ScopedSwap release(SaveWaits::onFirstWait, &ReleaseHeldFileIn100Ms);
      changed = c.change();
    }
    ASSERT_NE(releaser, nullptr);
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
    releaser = nullptr;

    EXPECT_TRUE(changed);
    EXPECT_GE(SaveWaits::waits.size(), 1u);
    EXPECT_LT(SaveWaits::waits.size(), AllRetryWaits.size()) << "let go after 100 ms of 250";
    EXPECT_EQ(CountSavedOutfits(), c.outfitsAfter);
    if (c.outfitsAfter == 2) {
      EXPECT_EQ(ReadTextFile(BaseFile).substr(0, original.size()), original) << "the new outfit comes after";
    }
    EXPECT_FALSE(FileExists(std::string(BaseFile) + TemporaryOutfitFileSuffix));
  }
}

// Stands for the replacing step failing with a given error.
struct FailingReplace {
  static inline DWORD error = 0;
  static inline int calls = 0;
  static bool Replace(const char*, const char*) {
    ++calls;
    SetLastError(error);
    return false;
  }
};

struct BusyCase {
  const char* name;
  const char* heldFile;  // held open for good, sharing only reading; nullptr: none
  DWORD replaceError;    // the replacing step fails with this; 0: the real one runs
  bool retried;
};

// Held for good, or failing for good: the save gives up, after the waits only when a
// sharing or lock violation said the file was held.
TEST_F(OutfitFiles, ASaveGivesUpOnAFileHeldForGoodAfterAQuarterOfASecond) {
  const std::string temporary = std::string(BaseFile) + TemporaryOutfitFileSuffix;
  const BusyCase cases[] = {
      {"outfit file held", BaseFile, 0, true},
      {"temporary file held", temporary.c_str(), 0, true},
      {"lock violation", nullptr, ERROR_LOCK_VIOLATION, true},
      {"sharing violation", nullptr, ERROR_SHARING_VIOLATION, true},
      {"disk full", nullptr, ERROR_DISK_FULL, false},
      {"access denied", nullptr, ERROR_ACCESS_DENIED, false},
  };
  const std::string original = OutfitSection(0, 4);
  for (const BusyCase& c : cases) {
    SCOPED_TRACE(c.name);
    WriteTextFile(BaseFile, original);
    HANDLE holder = INVALID_HANDLE_VALUE;
    if (c.heldFile != nullptr) {
      if (!FileExists(c.heldFile)) WriteTextFile(c.heldFile, "");
      holder = CreateFileA(c.heldFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
      ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    }
    LoadOutfits();
    SaveWaits::waits.clear();
    FailingReplace::calls = 0;
    FailingReplace::error = c.replaceError;
    bool stored = false;
    {
      const ScopedSwap wait(waitBeforeSaveRetry, &SaveWaits::Record);
      const ScopedSwap replace(replaceOutfitFile, c.replaceError != 0 ? &FailingReplace::Replace : replaceOutfitFile);
      stored = SaveCurrentOutfit();
    }
    if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);

    EXPECT_FALSE(stored);
    EXPECT_EQ(SaveWaits::waits, c.retried ? AllRetryWaits : std::vector<unsigned>{});
    unsigned waited = 0;
    for (unsigned wait : SaveWaits::waits) waited += wait;
    EXPECT_LE(waited, 250u);
    if (c.replaceError != 0) {
      EXPECT_EQ(FailingReplace::calls, c.retried ? 1 + SaveRetryCount : 1);
    }
    EXPECT_EQ(ReadTextFile(BaseFile), original);
    EXPECT_EQ(CountSavedOutfits(), 1);
    DeleteFileA(temporary.c_str());
  }
}

// Outfit `number` as the plug-in writes it, with a Name line after its 44 values.
std::string NamedSection(int number, int value, const std::string& name) {
  return OutfitSection(number, value) + "Name=" + name + "\r\n";
}

// Names live in the outfit's own section, after its values. A file with names read and
// saved by the whole-document save of 1.1.0 (SaveCurrentOutfit and DeleteOutfit
// rewrite the whole file from what they read) keeps every name as it was written,
// hand-edited ones included; a deletion carries each name along with its outfit.
TEST_F(OutfitFiles, SavesAndDeletionsKeepEveryNameAsWritten) {
  const std::string handEdited = "~r~" + std::string(57, 'x');  // 60 characters, a text code
  WriteTextFile(BaseFile, NamedSection(0, 1, "Beach Day") + NamedSection(1, 2, handEdited) + OutfitSection(2, 3) +
                              NamedSection(3, 4, "  Night Out "));
  LoadOutfits();
  ASSERT_EQ(CountSavedOutfits(), 4);
  EXPECT_STREQ(OutfitTable[0].name, "Beach Day");
  EXPECT_STREQ(OutfitTable[1].name, ("r" + std::string(23, 'x')).c_str()) << "shown as far as it is a name";
  EXPECT_STREQ(OutfitTable[2].name, "");
  EXPECT_STREQ(OutfitTable[3].name, "Night Out");

  // A save names nothing: the new outfit is unnamed, every other name stays.
  ASSERT_TRUE(SaveCurrentOutfit());
  const std::string saved = ReadTextFile(BaseFile);
  const std::string newSection = saved.substr(saved.find("[Outfit4]"));
  EXPECT_EQ(newSection.find("Name="), std::string::npos);
  EXPECT_EQ(saved.substr(0, saved.find("[Outfit4]")), NamedSection(0, 1, "Beach Day") + NamedSection(1, 2, handEdited) +
                                                          OutfitSection(2, 3) + NamedSection(3, 4, "  Night Out "));
  EXPECT_STREQ(OutfitTable[4].name, "");

  // Deleting outfit 1 moves 2, 3 and 4 down with their names.
  ASSERT_TRUE(DeleteOutfit(1));
  EXPECT_EQ(ReadTextFile(BaseFile), NamedSection(0, 1, "Beach Day") + OutfitSection(1, 3) +
                                        NamedSection(2, 4, "  Night Out ") + "[Outfit3]" + newSection.substr(9));
  EXPECT_STREQ(OutfitTable[2].name, "Night Out");
  EXPECT_STREQ(OutfitTable[3].name, "");
}

// Naming writes the name after the outfit's values and nothing else changes; an empty
// name (or spaces only) removes it; a name another outfit has is allowed.
TEST_F(OutfitFiles, NamingRewritesOnlyTheName) {
  const std::string other = "[Extra]\r\nName=x\r\n";
  WriteTextFile(BaseFile, other + OutfitSection(0, 1) + NamedSection(1, 2, "~old~"));
  LoadOutfits();
  ASSERT_TRUE(NameOutfit(0, "Beach Day"));
  EXPECT_EQ(ReadTextFile(BaseFile), other + NamedSection(0, 1, "Beach Day") + NamedSection(1, 2, "~old~"));
  EXPECT_STREQ(OutfitTable[0].name, "Beach Day");
  ASSERT_TRUE(NameOutfit(1, "Beach Day"));
  EXPECT_EQ(ReadTextFile(BaseFile), other + NamedSection(0, 1, "Beach Day") + NamedSection(1, 2, "Beach Day"));
  ASSERT_TRUE(NameOutfit(0, "   "));
  EXPECT_EQ(ReadTextFile(BaseFile), other + OutfitSection(0, 1) + NamedSection(1, 2, "Beach Day"));
  EXPECT_STREQ(OutfitTable[0].name, "");
  // An outfit the file does not hold is not named, and the file stays.
  EXPECT_FALSE(NameOutfit(2, "Nobody"));
  EXPECT_EQ(ReadTextFile(BaseFile), other + OutfitSection(0, 1) + NamedSection(1, 2, "Beach Day"));
}

// A file the player marked read-only is never changed by naming.
TEST_F(OutfitFiles, NamingAReadOnlyFileChangesNothing) {
  const std::string original = NamedSection(0, 1, "Beach Day");
  WriteTextFile(BaseFile, original);
  LoadOutfits();
  ASSERT_TRUE(SetFileAttributesA(BaseFile, FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(NameOutfit(0, "Night Out"));
  SetFileAttributesA(BaseFile, FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadTextFile(BaseFile), original);
  EXPECT_STREQ(OutfitTable[0].name, "Beach Day");
  EXPECT_FALSE(FileExists(std::string(BaseFile) + TemporaryOutfitFileSuffix));
}

}  // namespace
