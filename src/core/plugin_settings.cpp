#include "core/plugin_settings.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

#include "core/key_names.h"
#include "core/menu_keys.h"
#include "host/module_paths.h"
#include "host/plugin_log.h"
#include "menu/own_key_names.h"
#include "outfits/ascii_whitespace.h"
#include "outfits/ini_document.h"

namespace {

constexpr const char* actionSettings[MenuActionCount] = {"Up", "Down", "Left", "Right", "Accept"};
constexpr const char* positionNames[MenuActionCount] = {"W", "S", "A", "D", "E"};

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsAsciiWhitespace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsAsciiWhitespace(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

int ActionOfSetting(std::string_view key) {
  for (int action = 0; action < MenuActionCount; ++action) {
    if (SameName(key, actionSettings[action])) return action;
  }
  return -1;
}

// A plain decimal number of seconds: digits, optionally a point and more digits. No
// sign, no exponent, no locale: "0.4" reads the same on every player's machine.
bool ReadSeconds(std::string_view text, double* seconds) {
  double value = 0.0;
  double scale = 0.0;
  bool digits = false;
  for (char c : text) {
    if (c == '.' && scale == 0.0) {
      scale = 1.0;
    } else if (c >= '0' && c <= '9') {
      digits = true;
      if (scale == 0.0) {
        value = value * 10.0 + (c - '0');
      } else {
        scale /= 10.0;
        value += (c - '0') * scale;
      }
      if (value > 1e6) return false;
    } else {
      return false;
    }
  }
  *seconds = value;
  return digits;
}

// The player's keys for one action: up to MaxKeysPerAction names, separated by commas.
// On failure, why (for the log).
bool ReadKeys(std::string_view text, uint8_t (&keys)[MaxKeysPerAction], std::string* why) {
  int count = 0;
  for (uint8_t& key : keys) key = 0;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view name = Trimmed(text.substr(0, comma));
    const uint8_t key = VirtualKeyOfName(name);
    if (key == 0) {
      *why = name.empty() ? "an empty key name" : "unknown key name \"" + std::string(name) + "\"";
      return false;
    }
    if (count == MaxKeysPerAction) {
      *why = "more than " + std::to_string(MaxKeysPerAction) + " keys";
      return false;
    }
    bool repeated = false;
    for (int i = 0; i < count; ++i) repeated = repeated || keys[i] == key;
    if (!repeated) keys[count++] = key;
    if (comma == std::string_view::npos) return true;
    text.remove_prefix(comma + 1);
  }
}

std::string KeysText(int action) {
  if (!HasOwnKeys(action)) return std::string("the key at the place of ") + positionNames[action];
  std::string text;
  for (uint8_t key : MenuKeys.ownKeys[action]) {
    if (key == 0) break;
    if (!text.empty()) text += ", ";
    text += NameOfVirtualKey(key);
  }
  return text;
}

struct KeyLine {
  std::size_t number;
  bool set;
};

// [Keys] and [Menu] lines, in the order of the file; a later line for the same setting
// replaces an earlier one, as the INI reader does.
void ApplyLines(const std::vector<IniDocument::LineRecord>& lines) {
  KeyLine keyLines[MenuActionCount] = {};
  for (const IniDocument::LineRecord& line : lines) {
    const unsigned long number = static_cast<unsigned long>(line.number);
    if (line.dropped) {
      LogLine("Wardrobe.ini line %lu refused: not a setting (a setting is a line Name=Value under [Keys] or [Menu])",
              number);
      continue;
    }
    const std::string_view section = Trimmed(line.section);
    const std::string_view key = Trimmed(line.key);
    const std::string_view value = Trimmed(line.value);
    const std::string name(key);
    if (SameName(section, "Keys") && ActionOfSetting(key) >= 0) {
      const int action = ActionOfSetting(key);
      uint8_t keys[MaxKeysPerAction];
      std::string why;
      if (!ReadKeys(value, keys, &why)) {
        LogLine("Wardrobe.ini line %lu refused: %s: %s; %s stays %s", number, actionSettings[action], why.c_str(),
                actionSettings[action], keyLines[action].set ? "as set before" : "at its default");
        continue;
      }
      // A key that belongs to another action already: this line is refused.
      int owner = -1;
      uint8_t taken = 0;
      for (int other = 0; other < MenuActionCount && owner < 0; ++other) {
        if (other == action) continue;
        for (uint8_t mine : keys) {
          for (uint8_t theirs : MenuKeys.ownKeys[other]) {
            if (mine != 0 && mine == theirs) {
              owner = other;
              taken = mine;
            }
          }
        }
      }
      if (owner >= 0) {
        LogLine("Wardrobe.ini line %lu refused: %s: the key %s is %s's already (line %lu); %s stays %s", number,
                actionSettings[action], NameOfVirtualKey(taken).c_str(), actionSettings[owner],
                static_cast<unsigned long>(keyLines[owner].number), actionSettings[action],
                keyLines[action].set ? "as set before" : "at its default");
        continue;
      }
      std::memcpy(MenuKeys.ownKeys[action], keys, sizeof keys);
      keyLines[action] = KeyLine{line.number, true};
    } else if (SameName(section, "Menu") && (SameName(key, "RepeatDelay") || SameName(key, "RepeatInterval"))) {
      const bool delay = SameName(key, "RepeatDelay");
      const double low = delay ? 0.0 : MinRepeatInterval;
      const double high = delay ? MaxRepeatDelay : MaxRepeatInterval;
      double seconds = 0.0;
      if (!ReadSeconds(value, &seconds) || seconds < low || seconds > high) {
        LogLine("Wardrobe.ini line %lu refused: %s: \"%s\" is not a number of seconds from %g to %g; it stays %g",
                number, delay ? "RepeatDelay" : "RepeatInterval", std::string(value).c_str(), low, high,
                delay ? MenuKeys.repeatDelay : MenuKeys.repeatInterval);
        continue;
      }
      (delay ? MenuKeys.repeatDelay : MenuKeys.repeatInterval) = seconds;
    } else {
      LogLine(
          "Wardrobe.ini line %lu refused: unknown setting \"%s\" in [%s] (known: [Keys] Up, Down, Left, Right, "
          "Accept; [Menu] RepeatDelay, RepeatInterval)",
          number, name.c_str(), std::string(section).c_str());
    }
  }
}

// Reads the whole file; false when there is none or it cannot be read (why says so).
bool ReadSettingsText(const std::wstring& path, std::string* text, std::string* why) {
  std::FILE* file = _wfopen(path.c_str(), L"rb");
  if (file == nullptr) {
    *why = errno == ENOENT ? "" : std::string("it could not be opened: ") + std::strerror(errno);
    return false;
  }
  char buffer[4096];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text->append(buffer, got);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) *why = "it could not be read";
  return !failed;
}

}  // namespace

void LoadSettings(const std::wstring& path) {
  try {
    ResetMenuKeys();
    const std::string shownPath = Utf8(path);
    std::string text;
    std::string why;
    if (ReadSettingsText(path, &text, &why)) {
      LogLine("Settings: %s", shownPath.c_str());
      IniDocument document(std::string(), false);
      document.KeepLineRecords();
      document.ParseText(text);
      ApplyLines(document.LineRecords());
    } else if (why.empty()) {
      LogLine("Settings: no file %s: the defaults are in force", shownPath.c_str());
    } else {
      LogLine("Settings: %s: %s; the defaults are in force", shownPath.c_str(), why.c_str());
    }
    LogLine("Keys: Up = %s; Down = %s; Left = %s; Right = %s; Accept = %s", KeysText(MenuUp).c_str(),
            KeysText(MenuDown).c_str(), KeysText(MenuLeft).c_str(), KeysText(MenuRight).c_str(),
            KeysText(MenuAccept).c_str());
    if (MenuKeys.repeatDelay > 0.0) {
      LogLine("A held direction steps again after %g s, then every %g s (RepeatDelay, RepeatInterval)",
              MenuKeys.repeatDelay, MenuKeys.repeatInterval);
    } else {
      LogLine("A held direction does not step again (RepeatDelay = 0)");
    }
    // The help texts name the player's own keys (the first of each action).
    std::string names[MenuActionCount];
    const char* shown[MenuActionCount] = {};
    for (int action = 0; action < MenuActionCount; ++action) {
      if (!HasOwnKeys(action)) continue;
      names[action] = NameOfVirtualKey(MenuKeys.ownKeys[action][0]);
      shown[action] = names[action].c_str();
    }
    NameOwnKeys(shown);
  } catch (...) {
    ResetMenuKeys();
  }
}
