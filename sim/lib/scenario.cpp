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
#include "sim/keyboard_layout.h"
#include "sim/module_loading.h"
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
    WriteTraceLine(JsonObject()
                       .Field("event", "code-write")
                       .Field("offset", OffsetText(range.offset))
                       .Field("bytes", range.BytesText())
                       .Text());
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
  const LoadedModule loaded = LoadModuleRelocated(WindowsPath(path));
  const DWORD error = GetLastError();
  const int threadsStarted = CountOwnThreads() - threadsBefore;
  HMODULE module = loaded.module;
  if (module) InterceptImports(module);
  JsonObject line;
  line.Field("event", event).Field("path", path).Field("ok", module != nullptr).Field("threadsStarted", threadsStarted);
  if (module) {
    line.Field("base", HexText(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(module))))
        .Field("preferredBase", HexText(static_cast<uint32_t>(loaded.preferredBase)));
  } else {
    line.Field("error", static_cast<unsigned>(error));
  }
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
                     .Field("patchByteProtection", HexText(PropQueryPatchByteProtection()))
                     .Text());
}

// The figure of a screen for the trace: {"head": [x0, y0, x1, y1], ...} in pixels,
// the pose and the side seen.
std::string FigureJson(const Figure& figure) {
  std::string parts;
  for (const FigurePart& part : figure.parts) {
    if (!parts.empty()) parts += ",";
    parts += JsonString(part.name) + ":[" + std::to_string(part.x0) + "," + std::to_string(part.y0) + "," +
             std::to_string(part.x1) + "," + std::to_string(part.y1) + "]";
  }
  return JsonObject().RawField("parts", "{" + parts + "}").Field("pose", figure.pose).Field("side", figure.side).Text();
}

bool Fail(std::string* error, const std::string& message) {
  if (error) *error = message;
  return false;
}

// One command line as its handler sees it: the words (words[0] the command, its
// argument count already checked), the line without its comment (for commands that
// take the rest of it as written) and the line as written (note keeps its '#').
struct CommandCall {
  const Words& words;
  const std::string& line;
  const std::string& rawLine;
  const char* usage;
};

// Arguments that do not read as the command wants them: the command's usage.
bool Usage(const CommandCall& call, std::string* error) { return Fail(error, call.usage); }

using CommandHandler = bool (*)(const CommandCall& call, std::string* error);

constexpr size_t AnyCount = static_cast<size_t>(-1);

struct ScenarioCommand {
  const char* name;
  size_t minArguments;
  size_t maxArguments;  // AnyCount: no upper limit
  const char* usage;
  CommandHandler run;
};

bool LoadCommand(const CommandCall& call, std::string* error) {
  const std::string& command = call.words[0];
  return LoadModule(command, RestOfLine(call.line, command));
}

bool FramesCommand(const CommandCall& call, std::string* error) {
  long long n = 0;
  if (!ParseInt(call.words[1], &n) || n < 0) return Usage(call, error);
  RunFrames(static_cast<int>(n));
  return true;
}

// A control or key down for one frame, up again.
template <void (*Set)(int, bool)>
bool PressCommand(const CommandCall& call, std::string* error) {
  long long n = 0;
  if (!ParseInt(call.words[1], &n)) return Usage(call, error);
  Set(static_cast<int>(n), true);
  RunFrame();
  Set(static_cast<int>(n), false);
  return true;
}

template <void (*Set)(int, bool)>
bool HoldCommand(const CommandCall& call, std::string* error) {
  long long n = 0;
  bool down = false;
  if (!ParseInt(call.words[1], &n) || !ParseSwitch(call.words[2], &down)) return Usage(call, error);
  Set(static_cast<int>(n), down);
  return true;
}

template <void (*Set)(bool)>
bool SwitchCommand(const CommandCall& call, std::string* error) {
  bool on = false;
  if (!ParseSwitch(call.words[1], &on)) return Usage(call, error);
  Set(on);
  return true;
}

void SetAnimSetsLoad(bool load) { World().animSetsLoad = load; }

bool FocusCommand(const CommandCall& call, std::string* error) {
  const std::string& window = call.words[1];
  if (window != "game" && window != "other") return Usage(call, error);
  SetGameInFront(window == "game");
  return true;
}

bool LayoutCommand(const CommandCall& call, std::string* error) {
  const std::string& layout = call.words[1];
  if (layout != "us" && layout != "fr") return Usage(call, error);
  SetKeyboardLayout(layout == "fr" ? KeyboardLayout::French : KeyboardLayout::Us);
  return true;
}

bool ReleaseAllCommand(const CommandCall&, std::string*) {
  ReleaseAllInput();
  return true;
}

bool EpisodeCommand(const CommandCall& call, std::string* error) {
  long long n = 0;
  if (!ParseInt(call.words[1], &n)) return Usage(call, error);
  SetEpisode(static_cast<uint32_t>(n));
  return true;
}

bool FrameTimeCommand(const CommandCall& call, std::string* error) {
  float seconds = 0;
  if (!ParseFloat(call.words[1], &seconds)) return Usage(call, error);
  SetFrameTime(seconds);
  return true;
}

bool ResolutionCommand(const CommandCall& call, std::string* error) {
  long long width = 0, height = 0;
  if (!ParseInt(call.words[1], &width) || !ParseInt(call.words[2], &height)) return Usage(call, error);
  SetResolution(static_cast<int32_t>(width), static_cast<int32_t>(height));
  return true;
}

bool PlayerIndexCommand(const CommandCall& call, std::string* error) {
  long long n = 0;
  if (!ParseInt(call.words[1], &n)) return Usage(call, error);
  SetLocalPlayerIndex(static_cast<uint32_t>(n));
  return true;
}

bool AtCommand(const CommandCall& call, std::string* error) {
  float x = 0, y = 0, z = 0;
  if (!ParseFloat(call.words[1], &x) || !ParseFloat(call.words[2], &y) || !ParseFloat(call.words[3], &z)) {
    return Usage(call, error);
  }
  SetPlayerPosition({x, y, z});
  return true;
}

// A thread that starts and ends at once: every loaded module sees its entry called
// for a thread attach and a thread detach.
bool SpawnThreadCommand(const CommandCall&, std::string* error) {
  HANDLE thread = CreateThread(nullptr, 0, EndAtOnce, nullptr, 0, nullptr);
  if (thread == nullptr) return Fail(error, "spawn-thread: CreateThread failed");
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  return true;
}

bool BoxSlackCommand(const CommandCall& call, std::string* error) {
  float slack = 0;
  if (!ParseFloat(call.words[1], &slack)) return Usage(call, error);
  World().boxSlack = slack;
  return true;
}

bool AtSiteCommand(const CommandCall& call, std::string* error) {
  long long site = 0;
  if (!ParseInt(call.words[1], &site) || site < 0 || site > 7) return Usage(call, error);
  PutPlayerAtSite(static_cast<int>(site));
  return true;
}

bool HeadingCommand(const CommandCall& call, std::string* error) {
  float degrees = 0;
  if (!ParseFloat(call.words[1], &degrees)) return Usage(call, error);
  SetPlayerHeadingNow(degrees);
  return true;
}

bool ComponentCommand(const CommandCall& call, std::string* error) {
  const Words& w = call.words;
  long long component = 0, drawables = 0, count = 0;
  if (!ParseInt(w[1], &component) || !ParseInt(w[2], &drawables) || component < 0 || component >= ComponentCount ||
      drawables < 0 || w.size() - 3 > static_cast<size_t>(drawables)) {
    return Usage(call, error);
  }
  std::vector<uint32_t> counts(static_cast<size_t>(drawables), 1);
  for (size_t i = 3; i < w.size(); ++i) {
    if (!ParseInt(w[i], &count) || count < 0) return Usage(call, error);
    counts[i - 3] = static_cast<uint32_t>(count);
  }
  SetComponentModel(static_cast<int>(component), counts);
  return true;
}

bool WearCommand(const CommandCall& call, std::string* error) {
  long long component = 0, drawable = 0, texture = 0;
  if (!ParseInt(call.words[1], &component) || !ParseInt(call.words[2], &drawable) ||
      !ParseInt(call.words[3], &texture)) {
    return Usage(call, error);
  }
  if (!Wear(static_cast<int>(component), static_cast<uint32_t>(drawable), static_cast<uint32_t>(texture))) {
    return Fail(error, "wear: no such drawable or texture");
  }
  return true;
}

bool PropCommand(const CommandCall& call, std::string* error) {
  const Words& w = call.words;
  long long anchor = 0, prop = 0, texture = 0;
  if (w.size() == 3 && w[2] == "none" && ParseInt(w[1], &anchor)) {
    RemoveProp(static_cast<int>(anchor));
  } else if (w.size() == 4 && ParseInt(w[1], &anchor) && ParseInt(w[2], &prop) && ParseInt(w[3], &texture)) {
    PutProp(static_cast<int>(anchor), static_cast<int32_t>(prop), static_cast<int32_t>(texture));
  } else {
    return Usage(call, error);
  }
  return true;
}

bool FontCommand(const CommandCall& call, std::string* error) {
  long long n = 0;
  if (!ParseInt(call.words[1], &n)) return Usage(call, error);
  const int32_t font = static_cast<int32_t>(n);
  const std::string& state = call.words[2];
  if (state == "loaded") {
    World().fontsAvailable.insert(font);
    World().fontsLoaded.insert(font);
  } else if (state == "available") {
    World().fontsAvailable.insert(font);
    World().fontsLoaded.erase(font);
  } else if (state == "missing") {
    World().fontsAvailable.erase(font);
    World().fontsLoaded.erase(font);
  } else {
    return Usage(call, error);
  }
  return true;
}

bool ColourCommand(const CommandCall& call, std::string* error) {
  long long entry = 0, colour = 0;
  if (!ParseInt(call.words[1], &entry) || !ParseInt(call.words[2], &colour)) return Usage(call, error);
  SetHostColourEntry(static_cast<int>(entry), static_cast<uint32_t>(colour));
  return true;
}

bool ProbeTargetCommand(const CommandCall& call, std::string* error) {
  long long address = 0;
  if (!ParseInt(call.words[1], &address)) return Usage(call, error);
  SetProbeTarget(static_cast<uintptr_t>(address));
  return true;
}

// NATIVE N: what the lookup does at the N-th lookup of that native from now on.
template <void (*SetAtNthLookup)(uint32_t hash, uint32_t nth)>
bool NthLookupCommand(const CommandCall& call, std::string* error) {
  long long nth = 0;
  const uint32_t hash = NativeHashOf(call.words[1]);
  if (hash == 0 || !ParseInt(call.words[2], &nth) || nth < 1) return Usage(call, error);
  SetAtNthLookup(hash, static_cast<uint32_t>(nth));
  return true;
}

bool TamperSiteCommand(const CommandCall& call, std::string* error) {
  static const struct {
    const char* name;
    SiteTamper tamper;
  } kinds[] = {{"nops", SiteTamper::Nops},
               {"jmp", SiteTamper::JumpToTrampoline},
               {"unmapped", SiteTamper::CallUnmapped},
               {"data", SiteTamper::CallDataPage},
               {"none", SiteTamper::None}};
  long long site = 0;
  if (!ParseInt(call.words[1], &site) || site < 0 || site > 7) return Usage(call, error);
  for (const auto& kind : kinds) {
    if (call.words[2] == kind.name) {
      TamperSite(static_cast<int>(site), kind.tamper);
      return true;
    }
  }
  return Usage(call, error);
}

// The value is the rest of the line as written, spaces and all; without one the
// variable is removed.
bool EnvCommand(const CommandCall& call, std::string* error) {
  const Words& w = call.words;
  std::string value = w.size() > 2 ? RestOfLine(RestOfLine(call.line, "env"), w[1]) : std::string();
  SetEnvironmentVariableA(w[1].c_str(), w.size() > 2 ? value.c_str() : nullptr);
  return true;
}

bool ResetCommand(const CommandCall&, std::string*) {
  ResetModel();
  return true;
}

bool StateCommand(const CommandCall&, std::string*) {
  WriteState();
  return true;
}

bool ScreenCommand(const CommandCall& call, std::string* error) {
  std::string path = RestOfLine(call.line, "screen");
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
  return true;
}

// The note is the rest of the line as written: its '#' is text, not a comment.
bool NoteCommand(const CommandCall& call, std::string*) {
  lastNote = RestOfLine(call.rawLine, "note");
  WriteTraceLine(JsonObject().Field("event", "note").Field("text", lastNote).Text());
  return true;
}

// Every command, in the order sim/README.md lists them. The paths of load-plugin,
// load-module and screen are one word each: a path with a space in it would read as
// more than one argument.
const ScenarioCommand commands[] = {
    {"load-plugin", 1, 1, "load-plugin PATH", LoadCommand},
    {"load-module", 1, 1, "load-module PATH", LoadCommand},
    {"frames", 1, 1, "frames N", FramesCommand},
    {"press-pad", 1, 1, "press-pad I", PressCommand<SetPad>},
    {"press-key", 1, 1, "press-key I", PressCommand<SetKey>},
    {"pad", 2, 2, "pad I down|up", HoldCommand<SetPad>},
    {"key", 2, 2, "key I down|up", HoldCommand<SetKey>},
    {"release-all", 0, 0, "release-all", ReleaseAllCommand},
    {"focus", 1, 1, "focus game|other", FocusCommand},
    {"layout", 1, 1, "layout us|fr", LayoutCommand},
    {"using-pad", 1, 1, "using-pad 0|1", SwitchCommand<SetUsingPad>},
    {"suspended", 1, 1, "suspended 0|1", SwitchCommand<SetSuspended>},
    {"episode", 1, 1, "episode N", EpisodeCommand},
    {"frame-time", 1, 1, "frame-time SECONDS", FrameTimeCommand},
    {"resolution", 2, 2, "resolution W H", ResolutionCommand},
    {"player-index", 1, 1, "player-index N", PlayerIndexCommand},
    {"at", 3, 3, "at X Y Z", AtCommand},
    {"spawn-thread", 0, 0, "spawn-thread", SpawnThreadCommand},
    {"box-slack", 1, 1, "box-slack DISTANCE", BoxSlackCommand},
    {"at-site", 1, 1, "at-site 0..7", AtSiteCommand},
    {"heading", 1, 1, "heading DEGREES", HeadingCommand},
    {"component", 2, AnyCount, "component C DRAWABLES TEXCOUNT...", ComponentCommand},
    {"wear", 3, 3, "wear C D T", WearCommand},
    {"prop", 2, 3, "prop A P T | prop A none", PropCommand},
    {"font", 2, 2, "font F loaded|available|missing", FontCommand},
    {"anim-sets-load", 1, 1, "anim-sets-load 0|1", SwitchCommand<SetAnimSetsLoad>},
    {"colour", 2, 2, "colour ENTRY 0xAARRGGBB", ColourCommand},
    {"camera", 1, 1, "camera 0|1", SwitchCommand<SetCameraPresent>},
    {"lookup-fault", 1, 1, "lookup-fault 0|1", SwitchCommand<SetLookupFault>},
    {"lookup-raise", 1, 1, "lookup-raise 0|1", SwitchCommand<SetLookupRaise>},
    {"lookup-raise-on", 2, 2, "lookup-raise-on NATIVE N", NthLookupCommand<SetLookupRaiseOn>},
    {"lookup-fault-after", 2, 2, "lookup-fault-after NATIVE N", NthLookupCommand<SetLookupFaultAfter>},
    {"probe-target", 1, 1, "probe-target ADDRESS", ProbeTargetCommand},
    {"tamper-site", 2, 2, "tamper-site 0..7 nops|jmp|unmapped|data|none", TamperSiteCommand},
    {"env", 1, AnyCount, "env NAME [VALUE]", EnvCommand},
    {"reset", 0, 0, "reset", ResetCommand},
    {"state", 0, 0, "state", StateCommand},
    {"screen", 1, 1, "screen PATH.png", ScreenCommand},
    {"note", 0, AnyCount, "note TEXT", NoteCommand},
};

const ScenarioCommand* FindCommand(const std::string& name) {
  for (const ScenarioCommand& command : commands) {
    if (name == command.name) return &command;
  }
  return nullptr;
}

std::string KnownCommandsText() {
  std::string text;
  for (const ScenarioCommand& command : commands) {
    if (!text.empty()) text += ", ";
    text += command.name;
  }
  return text;
}

std::string ArgumentCountText(const ScenarioCommand& command) {
  if (command.maxArguments == AnyCount) return "at least " + std::to_string(command.minArguments);
  if (command.minArguments == command.maxArguments) return std::to_string(command.minArguments);
  return std::to_string(command.minArguments) + " to " + std::to_string(command.maxArguments);
}

}  // namespace

std::vector<std::string> ScenarioCommandNames() {
  std::vector<std::string> names;
  for (const ScenarioCommand& command : commands) names.push_back(command.name);
  return names;
}

bool RunScenarioLine(const std::string& rawLine, std::string* error) {
  Boot();
  std::string line = rawLine;
  if (size_t hash = line.find('#'); hash != std::string::npos && line.compare(0, 4, "note") != 0) line.erase(hash);
  Words w = Split(line);
  if (w.empty()) return true;
  const ScenarioCommand* command = FindCommand(w[0]);
  if (command == nullptr) return Fail(error, "unknown command " + w[0] + "; known commands: " + KnownCommandsText());
  const size_t arguments = w.size() - 1;
  if (arguments < command->minArguments || arguments > command->maxArguments) {
    return Fail(error, "wrong number of arguments for " + w[0] + ": " + std::to_string(arguments) + " given, " +
                           ArgumentCountText(*command) + " expected (" + command->usage + ")");
  }
  if (!command->run(CommandCall{w, line, rawLine, command->usage}, error)) return false;
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
      WriteTraceLine(JsonObject()
                         .Field("event", "error")
                         .Field("line", number)
                         .Field("text", line)
                         .Field("message", message)
                         .Text());
      return false;
    }
  }
  return true;
}

int RunScenarioFile(const std::string& scenarioPath, const std::string& tracePath) {
  Boot();
  // Every call is in the trace as it happens: the runner keeps none past its frame, so
  // a scenario of any length runs in the same memory.
  SetFrameBoundedHistory(true);
  if (!OpenTrace(tracePath)) {
    std::fprintf(stderr, "cannot write the trace %s\n", tracePath.c_str());
    return 2;
  }
  std::ifstream file(scenarioPath, std::ios::binary);
  if (!file) {
    WriteTraceLine(
        JsonObject().Field("event", "error").Field("message", "cannot read the scenario " + scenarioPath).Text());
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
