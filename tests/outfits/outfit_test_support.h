// Shared by the outfit tests: a fresh simulated host and outfit table per test, and a
// working directory of the test's own for the outfit files.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "outfits/outfit.h"
#include "sim/host_image.h"
#include "sim/host_state.h"
#include "sim/natives.h"

inline void ClearOutfitTable() {
  for (Outfit& entry : OutfitTable) {
    entry = Outfit();
  }
}

inline std::string ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The host's working directory is where the outfit files live; every test gets an
// empty one of its own and the previous one back afterwards.
class OutfitHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    sim::ResetModel();
    ClearOutfitTable();
    char temp[MAX_PATH];
    ASSERT_GT(GetTempPathA(MAX_PATH, temp), 0u);
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory = std::filesystem::path(temp) /
                ("wardrobe_outfits_" + std::to_string(GetCurrentProcessId())) /
                (std::string(info->test_suite_name()) + "." + info->name());
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
    ASSERT_TRUE(std::filesystem::create_directories(directory));
    char current[MAX_PATH];
    ASSERT_GT(GetCurrentDirectoryA(MAX_PATH, current), 0u);
    previousDirectory = current;
    ASSERT_TRUE(SetCurrentDirectoryA(directory.string().c_str()));
  }

  void TearDown() override {
    SetCurrentDirectoryA(previousDirectory.c_str());
    std::error_code ignored;
    std::filesystem::remove_all(directory.parent_path(), ignored);
    ClearOutfitTable();
  }

  std::filesystem::path directory;
  std::string previousDirectory;
};
