#include "menu/own_key_names.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int actionCount = 5;
// The host's keyboard codes of the menu's actions, as the help texts use them.
constexpr const char* inputCodes[actionCount] = {"~INPUT_MOVE_UP~", "~INPUT_MOVE_DOWN~", "~INPUT_MOVE_LEFT~",
                                                 "~INPUT_MOVE_RIGHT~", "~INPUT_PICKUP~"};
char ownKeyNames[actionCount][24];
bool anyOwnKey = false;

// The action whose code starts at text, or -1.
int CodeAt(const char* text) {
  for (int action = 0; action < actionCount; ++action) {
    if (ownKeyNames[action][0] != '\0' && std::strncmp(text, inputCodes[action], std::strlen(inputCodes[action])) == 0)
      return action;
  }
  return -1;
}

}  // namespace

void NameOwnKeys(const char* const names[5]) {
  anyOwnKey = false;
  for (int action = 0; action < actionCount; ++action) {
    std::snprintf(ownKeyNames[action], sizeof ownKeyNames[action], "%s", names[action] != nullptr ? names[action] : "");
    anyOwnKey = anyOwnKey || ownKeyNames[action][0] != '\0';
  }
}

const char* WithOwnKeyNames(const char* text, char* buffer, std::size_t size) {
  if (!anyOwnKey || std::strstr(text, "~INPUT_") == nullptr || size == 0) return text;
  std::size_t used = 0;
  bool afterName = false;
  const auto append = [&](const char* part, std::size_t length) {
    const std::size_t room = size - 1 - used;
    if (length > room) length = room;
    std::memcpy(buffer + used, part, length);
    used += length;
  };
  while (*text != '\0') {
    const int action = CodeAt(text);
    if (action < 0) {
      append(text, 1);
      ++text;
      afterName = false;
      continue;
    }
    char name[32];
    const int length = std::snprintf(name, sizeof name, "%s[%s]", afterName ? "/" : "", ownKeyNames[action]);
    append(name, length > 0 ? static_cast<std::size_t>(length) : 0);
    text += std::strlen(inputCodes[action]);
    afterName = true;
  }
  buffer[used] = '\0';
  return buffer;
}
