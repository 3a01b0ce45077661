// The scenario interpreter's commands: the ones it knows are the ones sim/README.md
// documents, and a line it cannot run (an unknown command, a wrong argument count,
// arguments that do not read) is refused with a message that says why.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "sim/scenario.h"
#include "sim/sim.h"
#include "support/host_run.h"

namespace {

// The command names of the scenario runner's table in sim/README.md: the first word of
// every `...` that opens a row: "`press-pad I` / `press-key VK`" names two commands,
// "`prop A P T` / `prop A none`" one twice.
std::vector<std::string> DocumentedCommands(const std::string& readme) {
  std::vector<std::string> names;
  const size_t section = readme.find("\n## Scenario runner\n");
  if (section == std::string::npos) return names;
  const size_t sectionEnd = readme.find("\n#", section + 1);  // the next heading
  std::istringstream lines(readme.substr(section, sectionEnd - section));
  std::string line;
  while (std::getline(lines, line)) {
    if (line.rfind("| `", 0) != 0) continue;
    size_t at = 2;
    while (at != std::string::npos && at < line.size() && line[at] == '`') {
      const size_t close = line.find('`', at + 1);
      if (close == std::string::npos) break;
      const std::string code = line.substr(at + 1, close - at - 1);
      names.push_back(code.substr(0, code.find(' ')));
      at = line.find_first_not_of(' ', close + 1);
      if (at == std::string::npos || line[at] != '/') break;
      at = line.find_first_not_of(' ', at + 1);
    }
  }
  return names;
}

std::vector<std::string> Missing(const std::set<std::string>& from, const std::set<std::string>& in) {
  std::vector<std::string> missing;
  std::set_difference(from.begin(), from.end(), in.begin(), in.end(), std::back_inserter(missing));
  return missing;
}

TEST(ScenarioCommands, TheKnownCommandsAreTheDocumentedOnes) {
  const std::string readme = ReadTextFile(SourcePath("sim/README.md"));
  ASSERT_FALSE(readme.empty());
  const std::vector<std::string> documentedList = DocumentedCommands(readme);
  ASSERT_FALSE(documentedList.empty()) << "no command table under \"## Scenario runner\"";
  const std::set<std::string> documented(documentedList.begin(), documentedList.end());

  const std::vector<std::string> knownList = sim::ScenarioCommandNames();
  const std::set<std::string> known(knownList.begin(), knownList.end());
  EXPECT_EQ(known.size(), knownList.size()) << "a command name is in the table twice";

  EXPECT_EQ(Missing(known, documented), std::vector<std::string>{}) << "known but not in sim/README.md";
  EXPECT_EQ(Missing(documented, known), std::vector<std::string>{}) << "documented but not known";
}

class ScenarioLines : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::Boot();
    sim::ResetModel();
  }
  void TearDown() override { sim::CloseTrace(); }
};

TEST_F(ScenarioLines, AnUnknownCommandStopsTheRunWithAnErrorListingTheKnownOnes) {
  // Host code changed by earlier tests in this process would be reported after the
  // first note: they are not this run's.
  sim::TakeNewCodeChanges();
  const std::string trace = FreshWorkDir("scenario_unknown_command") + "/trace.jsonl";
  ASSERT_TRUE(sim::OpenTrace(WindowsPath(trace)));
  std::string error;
  EXPECT_FALSE(sim::RunScenarioText("note before\nwalk-about 3\nnote after\n", &error));
  sim::CloseTrace();

  std::vector<JsonValue> records;
  std::istringstream lines(ReadTextFile(trace));
  std::string line;
  while (std::getline(lines, line)) {
    JsonValue record;
    ASSERT_TRUE(ParseJson(line, &record)) << line;
    records.push_back(record);
  }
  // The run stops at the unknown command: the note after it is never written.
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0]["text"].text, "before");
  const JsonValue& record = records[1];
  EXPECT_EQ(record["event"].text, "error");
  EXPECT_EQ(record["line"].Int(), 2);
  EXPECT_EQ(record["text"].text, "walk-about 3");

  const std::string message = record["message"].text;
  EXPECT_EQ(error, "line 2: " + message);
  const std::string head = "unknown command walk-about; known commands: ";
  ASSERT_EQ(message.compare(0, head.size(), head), 0) << message;
  std::vector<std::string> listed;
  std::istringstream names(message.substr(head.size()));
  for (std::string name; std::getline(names, name, ',');) {
    listed.push_back(name.substr(name.find_first_not_of(' ')));
  }
  EXPECT_EQ(listed, sim::ScenarioCommandNames());
}

TEST_F(ScenarioLines, AWrongArgumentCountIsRefusedBeforeTheCommandRuns) {
  struct Case {
    const char* line;
    const char* message;
  } cases[] = {
      {"frames", "wrong number of arguments for frames: 0 given, 1 expected (frames N)"},
      {"frames 1 2", "wrong number of arguments for frames: 2 given, 1 expected (frames N)"},
      {"press-pad 23 1", "wrong number of arguments for press-pad: 2 given, 1 expected (press-pad I)"},
      {"at 1 2", "wrong number of arguments for at: 2 given, 3 expected (at X Y Z)"},
      {"release-all now", "wrong number of arguments for release-all: 1 given, 0 expected (release-all)"},
      {"prop 0", "wrong number of arguments for prop: 1 given, 2 to 3 expected (prop A P T | prop A none)"},
      {"prop 0 1 2 3", "wrong number of arguments for prop: 4 given, 2 to 3 expected (prop A P T | prop A none)"},
      {"component 1",
       "wrong number of arguments for component: 1 given, at least 2 expected (component C DRAWABLES TEXCOUNT...)"},
      {"env", "wrong number of arguments for env: 0 given, at least 1 expected (env NAME [VALUE])"},
      {"screen a.png b.png", "wrong number of arguments for screen: 2 given, 1 expected (screen PATH.png)"},
  };
  const uint32_t frameBefore = sim::CurrentFrame();
  const sim::Vec3 positionBefore = sim::PlayerPosition();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::string error;
    EXPECT_FALSE(sim::RunScenarioLine(c.line, &error));
    EXPECT_EQ(error, c.message);
  }
  // Nothing ran: no frame (frames, press-pad), the player where it was (at).
  EXPECT_EQ(sim::CurrentFrame(), frameBefore);
  const sim::Vec3 positionAfter = sim::PlayerPosition();
  EXPECT_EQ(positionAfter.x, positionBefore.x);
  EXPECT_EQ(positionAfter.y, positionBefore.y);
}

TEST_F(ScenarioLines, ArgumentsThatDoNotReadGiveTheCommandsUsage) {
  struct Case {
    const char* line;
    const char* message;
  } cases[] = {
      {"frames -1", "frames N"},
      {"frames two", "frames N"},
      {"at 1 2 z", "at X Y Z"},
      {"at-site 8", "at-site 0..7"},
      {"key 69 sideways", "key I down|up"},
      {"camera maybe", "camera 0|1"},
      {"component 11 1", "component C DRAWABLES TEXCOUNT..."},
      {"component 1 1 2 3", "component C DRAWABLES TEXCOUNT..."},
      {"prop 0 1", "prop A P T | prop A none"},
      {"font 1 blurry", "font F loaded|available|missing"},
      {"wear 1 99 0", "wear: no such drawable or texture"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    std::string error;
    EXPECT_FALSE(sim::RunScenarioLine(c.line, &error));
    EXPECT_EQ(error, c.message);
  }
}

}  // namespace
