// The host's working directory is where the outfit files live: a test that touches
// them gets an empty one of its own, entered for its lifetime, and the previous one
// back (with its own removed) afterwards.
#pragma once
#include <string>

class TestWorkingDirectory {
 public:
  // <temp>/wardrobe_<area>_<process id>/<test suite>.<test name>, created empty.
  explicit TestWorkingDirectory(const std::string& area);
  ~TestWorkingDirectory();
  TestWorkingDirectory(const TestWorkingDirectory&) = delete;
  TestWorkingDirectory& operator=(const TestWorkingDirectory&) = delete;

  bool Entered() const { return entered; }
  const std::string& Path() const { return path; }

 private:
  std::string path;
  std::string previous;
  bool entered = false;
};
