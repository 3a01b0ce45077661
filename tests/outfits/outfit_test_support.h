// Shared by the outfit tests: a fresh simulated host and outfit table per test, and a
// working directory of the test's own for the outfit files.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "outfits/outfit.h"
#include "sim/host_image.h"
#include "sim/host_state.h"
#include "sim/natives.h"
#include "support/host_run.h"
#include "support/plugin_state.h"
#include "support/test_directory.h"

inline bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The host's working directory is where the outfit files live; every test gets an
// empty one of its own and the previous one back afterwards.
class OutfitHostTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    sim::ResetModel();
    ResetPluginState();
    directory = std::make_unique<TestWorkingDirectory>("outfits");
    ASSERT_TRUE(directory->Entered());
  }

  void TearDown() override {
    directory.reset();
    ResetPluginState();
  }

  std::unique_ptr<TestWorkingDirectory> directory;
};
