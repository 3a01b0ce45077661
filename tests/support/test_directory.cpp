#include "support/test_directory.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <system_error>

namespace {

// Tests mark files read-only (as players do); Windows will not delete those, so the
// mark goes first. A directory left behind by an earlier run under the same process
// id would otherwise not start empty.
void RemoveTree(const std::filesystem::path& root) {
  std::error_code ignored;
  for (auto it = std::filesystem::recursive_directory_iterator(root, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
  }
  std::filesystem::remove_all(root, ignored);
}

}  // namespace

TestWorkingDirectory::TestWorkingDirectory(const std::string& area) {
  char temp[MAX_PATH];
  char current[MAX_PATH];
  if (GetTempPathA(MAX_PATH, temp) == 0 || GetCurrentDirectoryA(MAX_PATH, current) == 0) return;
  previous = current;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path directory = std::filesystem::path(temp) /
                                          ("wardrobe_" + area + "_" + std::to_string(GetCurrentProcessId())) /
                                          (std::string(info->test_suite_name()) + "." + info->name());
  RemoveTree(directory);
  path = directory.string();
  std::error_code ignored;
  entered = std::filesystem::create_directories(directory, ignored) && SetCurrentDirectoryA(path.c_str());
}

TestWorkingDirectory::~TestWorkingDirectory() {
  if (previous.empty()) return;
  SetCurrentDirectoryA(previous.c_str());
  RemoveTree(std::filesystem::path(path).parent_path());
}
