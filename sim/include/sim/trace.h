// The trace: JSON Lines, one object per line, flushed after every line (the plug-in
// may end the process at any moment). Nothing is written while no trace is open.
//
// Records written by the simulator itself:
//   {"frame":N,"native":NAME,"hash":"0x%08X","args":[...],"result":R}  every native call
//        (+ "patch":B for GetPedPropIndex; R is true/false for bool natives)
//   {"event":"unknown-native","frame":N,"hash":"0x..."}                 lookup of an unknown hash
//   {"event":"missing-part","frame":N,"native":NAME,"component"|"anchor":I,"value":V,"texture":T}
//        a component or prop asked for that the player's model lacks
//   {"event":"register-mismatch","frame":N,"site":I,"offset":"0x21601","detail":TEXT}
//   {"event":"camera","frame":N,"matrix":[16 numbers],"fov":F}         camera site changed the camera
//   {"event":"code-write","offset":"0x21602","bytes":"12 34 56 78"}  (scenario runner)
//   {"event":"message-box","text":T,"caption":C,"style":S}
//   {"event":"exit","code":N}
// and by the scenario runner: load-plugin, load-module, note, screen, error.
#pragma once
#include <cstdint>
#include <string>

namespace sim {

bool OpenTrace(const std::string& path);
void CloseTrace();
bool TraceOpen();
// Writes one line (a complete JSON object without the line break) and flushes.
void WriteTraceLine(const std::string& json);

// A JSON object built field by field, for trace lines.
class JsonObject {
 public:
  JsonObject& Field(const char* key, const std::string& text);
  JsonObject& Field(const char* key, const char* text) { return Field(key, std::string(text)); }
  JsonObject& Field(const char* key, long long number);
  JsonObject& Field(const char* key, int number) { return Field(key, static_cast<long long>(number)); }
  JsonObject& Field(const char* key, unsigned number) { return Field(key, static_cast<long long>(number)); }
  JsonObject& Field(const char* key, double number);
  JsonObject& Field(const char* key, bool value);
  // A value already written as JSON (an array, a nested object).
  JsonObject& RawField(const char* key, const std::string& json);
  std::string Text() const { return body + "}"; }

 private:
  void Key(const char* key);
  std::string body = "{";
};

std::string JsonString(const std::string& text);
std::string JsonNumber(double number);
std::string HexText(uint32_t value);      // "0x%08X" (hashes, addresses)
std::string OffsetText(uint32_t offset);  // "0x%X" (host offsets)

}  // namespace sim
