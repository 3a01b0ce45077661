// What the log says about the outfit file: loaded (how many), missing, unreadable, and
// a save that failed with its step, Windows' error and the waits tried.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/plugin_log.h"
#include "outfit_test_support.h"
#include "outfits/outfit_files.h"
#include "support/scoped_swap.h"

namespace {

class OutfitLog : public OutfitHostTest {
 protected:
  void SetUp() override {
    OutfitHostTest::SetUp();
    logPath = directory->Path() + "\\test.log";
    ASSERT_TRUE(StartPluginLog(std::wstring(logPath.begin(), logPath.end())));
  }
  void TearDown() override {
    StopPluginLog();
    OutfitHostTest::TearDown();
  }
  std::string Log() { return ReadTextFile(logPath); }
  std::string logPath;
};

void NoWait(unsigned) {}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST_F(OutfitLog, LoadsAndRefusedSavesSayWhy) {
  LoadOutfits();
  EXPECT_TRUE(Contains(Log(), "WardrobeOutfits.ini: no such file yet")) << Log();
  ASSERT_TRUE(SaveCurrentOutfit());
  ASSERT_TRUE(SaveCurrentOutfit());
  LoadOutfits();
  EXPECT_TRUE(Contains(Log(), "WardrobeOutfits.ini: 2 outfits")) << Log();
  EXPECT_FALSE(Contains(Log(), "failed")) << "saves that went through are not logged";

  // Read-only: refused at the replacing step, at once.
  ASSERT_TRUE(SetFileAttributesA("WardrobeOutfits.ini", FILE_ATTRIBUTE_READONLY));
  {
    const ScopedSwap wait(waitBeforeSaveRetry, &NoWait);
    EXPECT_FALSE(SaveCurrentOutfit());
  }
  EXPECT_TRUE(Contains(Log(), "Saving outfit 3 failed: ")) << Log();
  EXPECT_TRUE(Contains(Log(), "WardrobeOutfits.ini: putting the new file in place of the old one: Windows error 5 ("))
      << Log();
  ASSERT_TRUE(SetFileAttributesA("WardrobeOutfits.ini", FILE_ATTRIBUTE_NORMAL));

  // Held open by another program: tried again after every wait, then refused.
  HANDLE holder = CreateFileA("WardrobeOutfits.ini", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  {
    const ScopedSwap wait(waitBeforeSaveRetry, &NoWait);
    EXPECT_FALSE(DeleteOutfit(0));
  }
  CloseHandle(holder);
  EXPECT_TRUE(Contains(Log(), "Deleting outfit 1 failed: ")) << Log();
  EXPECT_TRUE(Contains(Log(), "Windows error 32 (")) << Log();
  EXPECT_TRUE(Contains(Log(), "; tried again after 25 ms, 50 ms, 75 ms, 100 ms")) << Log();

  // A folder in the file's place cannot be read: said on load and on save.
  ASSERT_TRUE(DeleteFileA("WardrobeOutfits.ini"));
  ASSERT_TRUE(CreateDirectoryA("WardrobeOutfits.ini", nullptr));
  LoadOutfits();
  EXPECT_FALSE(SaveCurrentOutfit());
  EXPECT_TRUE(Contains(Log(), "WardrobeOutfits.ini could not be read: Windows error ")) << Log();
  EXPECT_TRUE(Contains(Log(), "Saving an outfit failed: ")) << Log();
  RemoveDirectoryA("WardrobeOutfits.ini");
}

}  // namespace
