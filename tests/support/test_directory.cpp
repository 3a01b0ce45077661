#include "support/test_directory.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <system_error>

TestWorkingDirectory::TestWorkingDirectory(const std::string& area) {
  char temp[MAX_PATH];
  char current[MAX_PATH];
  if (GetTempPathA(MAX_PATH, temp) == 0 || GetCurrentDirectoryA(MAX_PATH, current) == 0) return;
  previous = current;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  const std::filesystem::path directory =
      std::filesystem::path(temp) / ("wardrobe_" + area + "_" + std::to_string(GetCurrentProcessId())) /
      (std::string(info->test_suite_name()) + "." + info->name());
  std::error_code ignored;
  std::filesystem::remove_all(directory, ignored);
  path = directory.string();
  entered = std::filesystem::create_directories(directory, ignored) && SetCurrentDirectoryA(path.c_str());
}

TestWorkingDirectory::~TestWorkingDirectory() {
  if (previous.empty()) return;
  SetCurrentDirectoryA(previous.c_str());
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(path).parent_path(), ignored);
}
