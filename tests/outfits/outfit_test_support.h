// Shared by the outfit tests: a fresh simulated host and outfit table per test, and a
// working directory of the test's own for the outfit files.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "outfits/outfit.h"
#include "sim/host_image.h"
#include "sim/host_state.h"
#include "sim/natives.h"
#include "sim/world_model.h"
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
    // Nothing the plug-in did may have asked the host for a part the model lacks.
    EXPECT_EQ(sim::World().missingParts, std::vector<std::string>{});
    directory.reset();
    ResetPluginState();
  }

  std::unique_ptr<TestWorkingDirectory> directory;
};
