// The scenario interpreter.
#include "sim/scenario.h"

#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "sim/code_watch.h"
#include "sim/frame.h"
#include "sim/host_image.h"
#include "sim/host_state.h"
#include "sim/imports.h"
#include "sim/natives.h"
#include "sim/ped_model.h"
#include "sim/screen.h"
#include "sim/sites.h"
#include "sim/trace.h"
#include "sim/world_model.h"

namespace sim {

namespace {

using Words = std::vector<std::string>;

// The latest note, repeated at the head of every screen transcript.
std::string lastNote;

Words Split(const std::string& line) {
  Words words;
  std::istringstream in(line);
  std::string word;
  while (in >> word) words.push_back(word);
  return words;
}

bool ParseInt(const std::string& text, long long* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtoll(text.c_str(), &end, 0);  // decimal or 0x hex
  return *end == '\0';
}

bool ParseFloat(const std::string& text, float* value) {
  if (text.empty()) return false;
  char* end = nullptr;
  *value = std::strtof(text.c_str(), &end);
  return *end == '\0';
}

bool ParseSwitch(const std::string& text, bool* value) {
  if (text == "1" || text == "down" || text == "on" || text == "present") {
    *value = true;
  } else if (text == "0" || text == "up" || text == "off" || text == "none") {
    *value = false;
  } else {
    return false;
  }
  return true;
}

// The rest of the line after the command word, as written.
std::string RestOfLine(const std::string& line, const std::string& command) {
  size_t at = line.find(command);
  size_t start = line.find_first_not_of(" \t", at + command.size());
  if (start == std::string::npos) return std::string();
  size_t end = line.find_last_not_of(" \t\r");
  return line.substr(start, end - start + 1);
}

void ReportCodeChanges() {
  for (const CodeRange& range : TakeNewCodeChanges()) {
    WriteTraceLine(
        JsonObject().Field("event", "code-write").Field("offset", OffsetText(range.offset)).Field("bytes", range.BytesText()).Text());
  }
}

// Threads of this process now: a module that starts threads while it loads shows up
// as the difference around its LoadLibrary.
int CountOwnThreads() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return -1;
  int count = 0;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

DWORD WINAPI EndAtOnce(void*) { return 0; }

bool LoadModule(const std::string& event, const std::string& path) {
  const int threadsBefore = CountOwnThreads();
  HMODULE module = LoadLibraryA(WindowsPath(path).c_str());
  const int threadsStarted = CountOwnThreads() - threadsBefore;
  if (module) InterceptImports(module);
  JsonObject line;
  line.Field("event", event).Field("path", path).Field("ok", module != nullptr).Field("threadsStarted", threadsStarted);
  if (!module) line.Field("error", static_cast<unsigned>(GetLastError()));
  WriteTraceLine(line.Text());
  return true;
}

template <typename T>
std::string JsonArray(const T* values, int count) {
  std::string text = "[";
  for (int i = 0; i < count; ++i) {
    if (i) text += ",";
    text += JsonNumber(static_cast<double>(values[i]));
  }
  return text + "]";
}

void WriteState() {
  const PedModel& ped = Ped();
  uint32_t drawables[ComponentCount], textures[ComponentCount];
  int32_t props[PropAnchorCount], propTextures[PropAnchorCount];
  for (int i = 0; i < ComponentCount; ++i) {
    drawables[i] = ped.components[i].drawable;
    textures[i] = ped.components[i].texture;
  }
  for (int i = 0; i < PropAnchorCount; ++i) {
    props[i] = ped.props[i].index;
    propTextures[i] = ped.props[i].texture;
  }
  Vec3 position = PlayerPosition();
  const float xyz[3] = {position.x, position.y, position.z};
  std::string scripts = "[";
  for (size_t i = 0; i < World().terminatedScripts.size(); ++i) {
    if (i) scripts += ",";
    scripts += JsonString(World().terminatedScripts[i]);
  }
  scripts += "]";
  WriteTraceLine(JsonObject()
                     .Field("event", "state")
                     .Field("frame", CurrentFrame())
                     .RawField("position", JsonArray(xyz, 3))
                     .Field("heading", static_cast<double>(ped.heading))
                     .RawField("axes", JsonArray(PlayerMatrix(), 12))
                     .Field("control", ped.playerControl)
                     .Field("animation", ped.animation)
                     .Field("animationSet", ped.animationSet)
                     .Field("activityStops", ped.activityStops)
                     .RawField("drawables", JsonArray(drawables, ComponentCount))
                     .RawField("textures", JsonArray(textures, ComponentCount))
                     .RawField("props", JsonArray(props, PropAnchorCount))
                     .RawField("propTextures", JsonArray(propTextures, PropAnchorCount))
                     .Field("help", World().helpLabel)
                     .Field("printed", PrintedMessage())
                     .Field("texts", static_cast<unsigned>(World().drawnThisFrame.size()))
                     .Field("sounds", static_cast<unsigned>(World().sounds.size()))
                     .RawField("terminatedScripts", scripts)
                     .Field("cameraPresent", CameraPresent())
                     .RawField("camera", JsonArray(CameraObjectMatrix(), 16))
                     .Field("fov", static_cast<double>(CameraObjectFieldOfView()))
                     .Field("scriptThread", HexText(CurrentScriptThreadValue()))
                     .Field("patchByte", static_cast<unsigned>(PropQueryPatchByteValue()))
                     .Text());
}

// The figure of a screen for the trace: {"head": [x0, y0, x1, y1], ...} in pixels,
// and the pose.
std::string FigureJson(const Figure& figure) {
  std::string parts;
  for (const FigurePart& part : figure.parts) {
    if (!parts.empty()) parts += ",";
    parts += JsonString(part.name) + ":[" + std::to_string(part.x0) + "," + std::to_string(part.y0) + "," +
             std::to_string(part.x1) + "," + std::to_string(part.y1) + "]";
  }
  return JsonObject().RawField("parts", "{" + parts + "}").Field("pose", figure.pose).Text();
}

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

bool Count(const Words& w, size_t low, size_t high, std::string* error) {
  if (w.size() - 1 < low || w.size() - 1 > high) return Fail(error, "wrong number of arguments for " + w[0]);
  return true;
}

}  // namespace

bool RunScenarioLine(const std::string& rawLine, std::string* error) {
  Boot();
  std::string line = rawLine;
  if (size_t hash = line.find('#'); hash != std::string::npos && line.compare(0, 4, "note") != 0) line.erase(hash);
  Words w = Split(line);
  if (w.empty()) return true;
  const std::string& command = w[0];
  long long n = 0, m = 0, k = 0;
  float x = 0, y = 0, z = 0;
  bool on = false;

  if (command == "note") {
    lastNote = RestOfLine(rawLine, "note");
    WriteTraceLine(JsonObject().Field("event", "note").Field("text", lastNote).Text());
  } else if (command == "load-plugin" || command == "load-module") {
    if (!Count(w, 1, 1, error)) return false;
    LoadModule(command, RestOfLine(line, command));
  } else if (command == "frames") {
    if (!Count(w, 1, 1, error) || !ParseInt(w[1], &n) || n < 0) return Fail(error, "frames N");
    RunFrames(static_cast<int>(n));
  } else if (command == "episode") {
    if (!Count(w, 1, 1, error) || !ParseInt(w[1], &n)) return Fail(error, "episode N");
    SetEpisode(static_cast<uint32_t>(n));
  } else if (command == "at") {
    if (!Count(w, 3, 3, error) || !ParseFloat(w[1], &x) || !ParseFloat(w[2], &y) || !ParseFloat(w[3], &z)) {
      return Fail(error, "at X Y Z");
    }
    SetPlayerPosition({x, y, z});
  } else if (command == "at-site") {
    if (!Count(w, 1, 1, error) || !ParseInt(w[1], &n) || n < 0 || n > 7) return Fail(error, "at-site 0..7");
    PutPlayerAtSite(static_cast<int>(n));
  } else if (command == "heading") {
    if (!Count(w, 1, 1, error) || !ParseFloat(w[1], &x)) return Fail(error, "heading DEGREES");
    SetPlayerHeadingNow(x);
  } else if (command == "pad" || command == "key") {
    if (!Count(w, 2, 2, error) || !ParseInt(w[1], &n) || !ParseSwitch(w[2], &on)) return Fail(error, command + " I down|up");
    if (command == "pad") {
      SetPad(static_cast<int>(n), on);
    } else {
      SetKey(static_cast<int>(n), on);
    }
  } else if (command == "press-pad" || command == "press-key") {
    if (!Count(w, 1, 1, error) || !ParseInt(w[1], &n)) return Fail(error, command + " I");
    auto set = command == "press-pad" ? SetPad : SetKey;
    set(static_cast<int>(n), true);
    RunFrame();
    set(static_cast<int>(n), false);
  } else if (command == "release-all") {
    ReleaseAllInput();
  } else if (command == "using-pad" || command == "suspended" || command == "lookup-fault" || command == "camera" ||
             command == "anim-sets-load") {
    if (!Count(w, 1, 1, error) || !ParseSwitch(w[1], &on)) return Fail(error, command + " 0|1");
    if (command == "using-pad") SetUsingPad(on);
    if (command == "suspended") SetSuspended(on);
    if (command == "lookup-fault") SetLookupFault(on);
    if (command == "camera") SetCameraPresent(on);
    if (command == "anim-sets-load") World().animSetsLoad = on;
  } else if (command == "frame-time") {
    if (!Count(w, 1, 1, error) || !ParseFloat(w[1], &x)) return Fail(error, "frame-time SECONDS");
    SetFrameTime(x);
  } else if (command == "spawn-thread") {
    // A thread that starts and ends at once: every loaded module sees its entry called
    // for a thread attach and a thread detach.
    HANDLE thread = CreateThread(nullptr, 0, EndAtOnce, nullptr, 0, nullptr);
    if (thread == nullptr) return Fail(error, "spawn-thread: CreateThread failed");
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  } else if (command == "box-slack") {
    if (!Count(w, 1, 1, error) || !ParseFloat(w[1], &x)) return Fail(error, "box-slack DISTANCE");
    World().boxSlack = x;
  } else if (command == "resolution") {
    if (!Count(w, 2, 2, error) || !ParseInt(w[1], &n) || !ParseInt(w[2], &m)) return Fail(error, "resolution W H");
    SetResolution(static_cast<int32_t>(n), static_cast<int32_t>(m));
  } else if (command == "player-index") {
    if (!Count(w, 1, 1, error) || !ParseInt(w[1], &n)) return Fail(error, "player-index N");
    SetLocalPlayerIndex(static_cast<uint32_t>(n));
  } else if (command == "probe-target") {
    if (!Count(w, 1, 1, error) || !ParseInt(w[1], &n)) return Fail(error, "probe-target ADDRESS");
    SetProbeTarget(static_cast<uintptr_t>(n));
  } else if (command == "component") {
    if (w.size() < 3 || !ParseInt(w[1], &n) || !ParseInt(w[2], &m) || n < 0 || n >= ComponentCount || m < 0 ||
        w.size() - 3 > static_cast<size_t>(m)) {
      return Fail(error, "component C DRAWABLES TEXCOUNT...");
    }
    std::vector<uint32_t> counts(static_cast<size_t>(m), 1);
    for (size_t i = 3; i < w.size(); ++i) {
      if (!ParseInt(w[i], &k) || k < 0) return Fail(error, "component C DRAWABLES TEXCOUNT...");
      counts[i - 3] = static_cast<uint32_t>(k);
    }
    SetComponentModel(static_cast<int>(n), counts);
  } else if (command == "wear") {
    if (!Count(w, 3, 3, error) || !ParseInt(w[1], &n) || !ParseInt(w[2], &m) || !ParseInt(w[3], &k)) {
      return Fail(error, "wear C D T");
    }
    if (!Wear(static_cast<int>(n), static_cast<uint32_t>(m), static_cast<uint32_t>(k))) {
      return Fail(error, "wear: no such drawable or texture");
    }
  } else if (command == "prop") {
    if (w.size() == 3 && w[2] == "none" && ParseInt(w[1], &n)) {
      RemoveProp(static_cast<int>(n));
    } else if (w.size() == 4 && ParseInt(w[1], &n) && ParseInt(w[2], &m) && ParseInt(w[3], &k)) {
      PutProp(static_cast<int>(n), static_cast<int32_t>(m), static_cast<int32_t>(k));
    } else {
      return Fail(error, "prop A P T | prop A none");
    }
  } else if (command == "font") {
    if (!Count(w, 2, 2, error) || !ParseInt(w[1], &n)) return Fail(error, "font F loaded|available|missing");
    int32_t font = static_cast<int32_t>(n);
    if (w[2] == "loaded") {
      World().fontsAvailable.insert(font);
      World().fontsLoaded.insert(font);
    } else if (w[2] == "available") {
      World().fontsAvailable.insert(font);
      World().fontsLoaded.erase(font);
    } else if (w[2] == "missing") {
      World().fontsAvailable.erase(font);
      World().fontsLoaded.erase(font);
    } else {
      return Fail(error, "font F loaded|available|missing");
    }
  } else if (command == "colour") {
    if (!Count(w, 2, 2, error) || !ParseInt(w[1], &n) || !ParseInt(w[2], &m)) return Fail(error, "colour ENTRY 0xAARRGGBB");
    SetHostColourEntry(static_cast<int>(n), static_cast<uint32_t>(m));
  } else if (command == "env") {
    if (w.size() < 2) return Fail(error, "env NAME [VALUE]");
    std::string value = w.size() > 2 ? RestOfLine(RestOfLine(line, "env"), w[1]) : std::string();
    SetEnvironmentVariableA(w[1].c_str(), w.size() > 2 ? value.c_str() : nullptr);
  } else if (command == "state") {
    WriteState();
  } else if (command == "reset") {
    ResetModel();
  } else if (command == "screen") {
    if (!Count(w, 1, 1, error)) return false;
    std::string path = RestOfLine(line, "screen");
    bool ok = WriteScreen(WindowsPath(path));
    // Beside the picture, its transcript: PATH.png -> PATH.txt.
    std::string textPath = path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0
                               ? path.substr(0, path.size() - 4) + ".txt"
                               : path + ".txt";
    std::ofstream text(WindowsPath(textPath), std::ios::binary | std::ios::trunc);
    text << "frame " << CurrentFrame() << (lastNote.empty() ? "" : ": " + lastNote) << "\n" << ScreenTranscript();
    WriteTraceLine(JsonObject()
                       .Field("event", "screen")
                       .Field("frame", CurrentFrame())
                       .Field("path", path)
                       .Field("ok", ok)
                       .Field("transcript", ScreenTranscript())
                       .RawField("figure", FigureJson(ScreenFigure()))
                       .Text());
  } else {
    return Fail(error, "unknown command " + command);
  }
  ReportCodeChanges();
  return true;
}

bool RunScenarioText(const std::string& text, std::string* error) {
  std::istringstream in(text);
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string message;
    if (!RunScenarioLine(line, &message)) {
      if (error) *error = "line " + std::to_string(number) + ": " + message;
      WriteTraceLine(JsonObject().Field("event", "error").Field("line", number).Field("text", line).Field("message", message).Text());
      return false;
    }
  }
  return true;
}

int RunScenarioFile(const std::string& scenarioPath, const std::string& tracePath) {
  Boot();
  if (!OpenTrace(tracePath)) {
    std::fprintf(stderr, "cannot write the trace %s\n", tracePath.c_str());
    return 2;
  }
  std::ifstream file(scenarioPath, std::ios::binary);
  if (!file) {
    WriteTraceLine(JsonObject().Field("event", "error").Field("message", "cannot read the scenario " + scenarioPath).Text());
    CloseTrace();
    return 2;
  }
  std::stringstream text;
  text << file.rdbuf();
  std::string error;
  int code = RunScenarioText(text.str(), &error) ? 0 : 1;
  if (code != 0) std::fprintf(stderr, "%s\n", error.c_str());
  WriteTraceLine(JsonObject().Field("event", "exit").Field("code", code).Field("reason", "end").Text());
  CloseTrace();
  return code;
}

std::string WindowsPath(const std::string& path) {
  std::string out = path;
  if (!out.empty() && out[0] == '/') out = "Z:" + out;
  for (char& c : out) {
    if (c == '/') c = '\\';
  }
  return out;
}

}  // namespace sim
