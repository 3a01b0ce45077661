// Shared by the outfit tests: a fresh simulated host and outfit table per test, and a
// working directory of the test's own for the outfit files.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "outfits/outfit.h"
#include "sim/host_image.h"
#include "sim/host_state.h"
#include "sim/natives.h"
#include "support/test_directory.h"

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
    directory = std::make_unique<TestWorkingDirectory>("outfits");
    ASSERT_TRUE(directory->Entered());
  }

  void TearDown() override {
    directory.reset();
    ClearOutfitTable();
  }

  std::unique_ptr<TestWorkingDirectory> directory;
};
