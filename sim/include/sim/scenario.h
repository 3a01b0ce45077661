// Scenarios: the host driven by a text file, one command per line (sim/README.md
// lists the commands). The scenario runner executables are a thin main around
// RunScenarioFile; in-process tests may run single commands too.
#pragma once
#include <string>
#include <vector>

namespace sim {

// Boots, opens the trace, runs every line, writes {"event":"exit","code":0} and
// closes the trace. Returns the process exit code: 0, or 1 when a command failed (an
// error record is written to the trace and the run stops there).
int RunScenarioFile(const std::string& scenarioPath, const std::string& tracePath);
// Runs every line of a scenario text; false (and the message) at the first failing
// command.
bool RunScenarioText(const std::string& text, std::string* error);
// Runs one line (comments and blank lines do nothing).
bool RunScenarioLine(const std::string& line, std::string* error);
// The names of every command the interpreter knows, in the order sim/README.md lists
// them. An unknown command's error message names them all.
std::vector<std::string> ScenarioCommandNames();

// A path as Windows wants it: Linux absolute paths ("/work/a") become Z: paths
// ("Z:\work\a": Wine maps / to Z:); other paths only get backslashes.
std::string WindowsPath(const std::string& path);

}  // namespace sim
