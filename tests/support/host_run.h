// Running a simulated host as a child process with a scenario, and reading its trace.
//
//   HostRun run = RunHost(1070, "load-plugin " + PluginPath() + "\nat-site 0\nframes 3\n",
//                         FreshWorkDir("prompt_at_site"));
//   EXPECT_EQ(run.CountNative("ShowHelpMessage"), 2);
//
// The host runs as WARDROBE_BUILD_DIR/sim/hostsim-<build>.exe SCENARIO TRACE with the
// work directory as its current directory (the outfit files live there). Scenario
// commands are listed in sim/README.md; the trace records in sim/include/sim/trace.h.
// Paths are Linux paths (/work/...) everywhere in this interface; the scenario runner
// and these helpers turn them into Wine's Z: paths where Windows needs them.
#pragma once
#include <string>
#include <vector>

#include "sim/scenario.h"
#include "support/json_value.h"

struct HostRun {
  bool started = false;   // the host process could be started
  bool timedOut = false;  // it did not end in time and was stopped
  unsigned exitCode = 0;
  std::string workDir;
  std::string traceText;
  std::vector<JsonValue> records;     // every trace line, in order
  std::vector<std::string> badLines;  // trace lines that are not JSON (never expected)

  // Records of one native, in call order.
  std::vector<const JsonValue*> Natives(const std::string& name) const;
  int CountNative(const std::string& name) const;
  // The arguments of every call of one native, each as strings (JsonValue::Str).
  std::vector<std::vector<std::string>> ArgsOf(const std::string& name) const;
  // The names of all native calls in order, optionally of one frame only (frame > 0).
  std::vector<std::string> NativeNames(long long frame = 0) const;
  // Records with "event" equal to the name.
  std::vector<const JsonValue*> Events(const std::string& event) const;
  const JsonValue* LastEvent(const std::string& event) const;
  bool HasEvent(const std::string& event) const { return LastEvent(event) != nullptr; }
  // The scenario ran to its end (last record: exit with reason "end").
  bool RanToEnd() const;
  // The plug-in ended the process (exit record with reason "terminate-process").
  bool EndedByPlugin() const;
};

// Arguments of one native record as strings.
std::vector<std::string> ArgsOf(const JsonValue& record);

// Writes the scenario to workDir/scenario.txt, runs the host of that build (1070, 1080
// or 1071) there, waits (at most timeoutMs) and reads workDir/trace.jsonl.
HostRun RunHost(int build, const std::string& scenarioText, const std::string& workDir, unsigned timeoutMs = 120000);

// WARDROBE_BUILD_DIR/test-work/<executable>/<name> (the running test executable's
// name, so that both builds' tests may run at once), created empty.
std::string FreshWorkDir(const std::string& name);
// WARDROBE_BUILD_DIR/Wardrobe.asi, the built plug-in.
std::string PluginPath();
// WARDROBE_BUILD_DIR/<relative>.
std::string BuildPath(const std::string& relative);
// This test executable's own build (1070 or 1080): its scenarios run in the host of
// the same build.
int ThisBuild();
// Scenario lines: loading the built plug-in; a pad press (down for a frame, then the
// frame that acts on it), times over.
std::string LoadPlugin();
std::string Press(int control, int times = 1);
// WARDROBE_SOURCE_DIR/<relative>.
std::string SourcePath(const std::string& relative);
// Wine paths of Linux ones: the simulator's own conversion.
using sim::WindowsPath;
// Whole-file helpers taking Linux or Windows paths; "" / false on failure.
std::string ReadTextFile(const std::string& path);
bool WriteTextFile(const std::string& path, const std::string& text);
