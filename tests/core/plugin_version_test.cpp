// The built Wardrobe.asi tells its version the standard way, as Windows' file
// properties show it: the project's version in the fixed part and in the strings.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/host_run.h"

namespace {

class PluginVersion : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = WindowsPath(PluginPath());
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version resource in " << path;
    block.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));
  }

  std::string Text(const char* name) {
    char* value = nullptr;
    UINT length = 0;
    const std::string query = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0) {
      return "(missing)";
    }
    return std::string(value);
  }

  std::vector<char> block;
};

TEST_F(PluginVersion, FixedPartHoldsTheProjectVersion) {
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
  unsigned major = 0, minor = 0, patch = 0;
  ASSERT_EQ(std::sscanf(WARDROBE_VERSION, "%u.%u.%u", &major, &minor, &patch), 3) << WARDROBE_VERSION;
  EXPECT_EQ(fixed->dwFileVersionMS, major << 16 | minor);
  EXPECT_EQ(fixed->dwFileVersionLS, patch << 16);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
  EXPECT_EQ(fixed->dwProductVersionLS, fixed->dwFileVersionLS);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));
}

TEST_F(PluginVersion, StringsNameTheProductAndItsVersion) {
  EXPECT_EQ(Text("FileVersion"), WARDROBE_VERSION);
  EXPECT_EQ(Text("ProductVersion"), WARDROBE_VERSION);
  EXPECT_EQ(Text("ProductName"), "Wardrobe");
  EXPECT_EQ(Text("OriginalFilename"), "Wardrobe.asi");
  EXPECT_NE(Text("FileDescription"), "(missing)");
}

}  // namespace
