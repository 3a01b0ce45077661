#include "support/host_run.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "sim/host_image.h"

#ifndef WARDROBE_BUILD_DIR
#error "WARDROBE_BUILD_DIR must name the build directory"
#endif
#ifndef WARDROBE_SOURCE_DIR
#error "WARDROBE_SOURCE_DIR must name the source directory"
#endif

std::string BuildPath(const std::string& relative) { return std::string(WARDROBE_BUILD_DIR) + "/" + relative; }
std::string SourcePath(const std::string& relative) { return std::string(WARDROBE_SOURCE_DIR) + "/" + relative; }
std::string PluginPath() { return BuildPath("Wardrobe.asi"); }

int ThisBuild() {
  sim::Boot();
  return sim::FileVersion();
}

std::string LoadPlugin() { return "load-plugin " + PluginPath() + "\n"; }

std::string Press(int control, int times) {
  std::string text;
  for (int i = 0; i < times; ++i) text += "press-pad " + std::to_string(control) + "\nframes 1\n";
  return text;
}

std::string ReadTextFile(const std::string& path) {
  std::ifstream file(WindowsPath(path), std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

bool WriteTextFile(const std::string& path, const std::string& text) {
  std::ofstream file(WindowsPath(path), std::ios::binary | std::ios::trunc);
  file << text;
  return static_cast<bool>(file);
}

namespace {

// The running executable's name without extension: test executables of both builds
// run at the same time and must not share work directories.
std::string OwnExecutableName() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string name = path;
  size_t slash = name.find_last_of("\\/");
  if (slash != std::string::npos) name = name.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos) name = name.substr(0, dot);
  return name;
}

}  // namespace

std::string FreshWorkDir(const std::string& name) {
  std::string dir = BuildPath("test-work/" + OwnExecutableName() + "/" + name);
  std::error_code ignored;
  std::filesystem::remove_all(std::filesystem::path(WindowsPath(dir)), ignored);
  std::filesystem::create_directories(std::filesystem::path(WindowsPath(dir)), ignored);
  return dir;
}

std::vector<std::string> ArgsOf(const JsonValue& record) {
  std::vector<std::string> args;
  for (const JsonValue& arg : record["args"].items) args.push_back(arg.Str());
  return args;
}

std::vector<const JsonValue*> HostRun::Natives(const std::string& name) const {
  std::vector<const JsonValue*> found;
  for (const JsonValue& record : records) {
    if (record["native"].text == name) found.push_back(&record);
  }
  return found;
}

int HostRun::CountNative(const std::string& name) const { return static_cast<int>(Natives(name).size()); }

std::vector<std::vector<std::string>> HostRun::ArgsOf(const std::string& name) const {
  std::vector<std::vector<std::string>> all;
  for (const JsonValue* record : Natives(name)) all.push_back(::ArgsOf(*record));
  return all;
}

std::vector<std::string> HostRun::NativeNames(long long frame) const {
  std::vector<std::string> names;
  for (const JsonValue& record : records) {
    if (!record.Has("native")) continue;
    if (frame > 0 && record["frame"].Int() != frame) continue;
    names.push_back(record["native"].text);
  }
  return names;
}

std::vector<const JsonValue*> HostRun::Events(const std::string& event) const {
  std::vector<const JsonValue*> found;
  for (const JsonValue& record : records) {
    if (record["event"].text == event) found.push_back(&record);
  }
  return found;
}

const JsonValue* HostRun::LastEvent(const std::string& event) const {
  std::vector<const JsonValue*> found = Events(event);
  return found.empty() ? nullptr : found.back();
}

bool HostRun::RanToEnd() const {
  return !records.empty() && records.back()["event"].text == "exit" && records.back()["reason"].text == "end";
}

bool HostRun::EndedByPlugin() const {
  const JsonValue* exit = LastEvent("exit");
  return exit && (*exit)["reason"].text == "terminate-process";
}

HostRun RunHost(int build, const std::string& scenarioText, const std::string& workDir, unsigned timeoutMs) {
  HostRun run;
  run.workDir = workDir;
  const std::string scenario = workDir + "/scenario.txt";
  const std::string trace = workDir + "/trace.jsonl";
  WriteTextFile(scenario, scenarioText);
  DeleteFileA(WindowsPath(trace).c_str());

  const std::string exe = WindowsPath(BuildPath("sim/hostsim-" + std::to_string(build) + ".exe"));
  std::string commandLine = "\"" + exe + "\" scenario.txt trace.jsonl";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const std::string directory = WindowsPath(workDir);
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory.c_str(), &startup,
                      &process)) {
    return run;
  }
  run.started = true;
  if (WaitForSingleObject(process.hProcess, timeoutMs) != WAIT_OBJECT_0) {
    run.timedOut = true;
    TerminateProcess(process.hProcess, 999);
    WaitForSingleObject(process.hProcess, 10000);
  }
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  run.exitCode = code;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  run.traceText = ReadTextFile(trace);
  std::istringstream lines(run.traceText);
  std::string line;
  while (std::getline(lines, line)) {
    if (line.empty()) continue;
    JsonValue record;
    if (ParseJson(line, &record)) {
      run.records.push_back(std::move(record));
    } else {
      run.badLines.push_back(line);
    }
  }
  // No scenario of ours may ask the host for a part the player's model lacks: a real
  // host may fault there.
  for (const JsonValue* missing : run.Events("missing-part")) {
    ADD_FAILURE() << "frame " << (*missing)["frame"].Int() << ": " << (*missing)["native"].text
                  << " asked for a part the model lacks (" << workDir << ")";
  }
  return run;
}
