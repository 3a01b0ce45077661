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
#include "outfits/ascii_whitespace.h"
#include "outfits/ini_document.h"

namespace {

constexpr const char* actionSettings[MenuActionCount] = {"Up", "Down", "Left", "Right", "Accept"};
// A huge broken file must not crowd out the log's later lines (keys, outfits, layout,
// failed saves): refused lines past these are only counted.
constexpr int refusalsLogged = 20;
int refusals = 0;

void LogRefusal(unsigned long number, const std::string& why) {
  if (++refusals <= refusalsLogged) LogLine("Wardrobe.ini line %lu refused: %s", number, why.c_str());
}

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

// [Keys] and [Menu] lines, in the order of the file; a later line for the same setting
// replaces an earlier one, as the INI reader does.
void ApplyLines(const std::vector<IniDocument::LineRecord>& lines) {
  for (const IniDocument::LineRecord& line : lines) {
    const unsigned long number = static_cast<unsigned long>(line.number);
    if (line.dropped) {
      LogRefusal(number, "not a setting (a setting is a line Name=Value under [Keys] or [Menu])");
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
      const std::string stays = std::string(actionSettings[action]) +
                                (MenuKeys.fileKeyLines[action] != 0 ? " stays as set before" : " stays at its default");
      if (!ReadKeys(value, keys, &why)) {
        LogRefusal(number, std::string(actionSettings[action]) + ": " + why + "; " + stays);
        continue;
      }
      // A key that belongs to another action already: this line is refused.
      int owner = -1;
      uint8_t taken = 0;
      for (int other = 0; other < MenuActionCount && owner < 0; ++other) {
        if (other == action) continue;
        for (uint8_t mine : keys) {
          for (uint8_t theirs : MenuKeys.fileKeys[other]) {
            if (mine != 0 && mine == theirs) {
              owner = other;
              taken = mine;
            }
          }
        }
      }
      if (owner >= 0) {
        LogRefusal(number, std::string(actionSettings[action]) + ": the key " + NameOfVirtualKey(taken) + " is " +
                               actionSettings[owner] + "'s already (line " +
                               std::to_string(MenuKeys.fileKeyLines[owner]) + "); " + stays);
        continue;
      }
      std::memcpy(MenuKeys.fileKeys[action], keys, sizeof keys);
      MenuKeys.fileKeyLines[action] = static_cast<uint32_t>(line.number);
    } else if (SameName(section, "Menu") && (SameName(key, "RepeatDelay") || SameName(key, "RepeatInterval"))) {
      const bool delay = SameName(key, "RepeatDelay");
      const double low = delay ? 0.0 : MinRepeatInterval;
      const double high = delay ? MaxRepeatDelay : MaxRepeatInterval;
      double seconds = 0.0;
      if (!ReadSeconds(value, &seconds) || seconds < low || seconds > high) {
        char why[256];
        std::snprintf(why, sizeof why, "%s: \"%.64s\" is not a number of seconds from %g to %g; it stays %g",
                      delay ? "RepeatDelay" : "RepeatInterval", std::string(value).c_str(), low, high,
                      delay ? MenuKeys.repeatDelay : MenuKeys.repeatInterval);
        LogRefusal(number, why);
        continue;
      }
      (delay ? MenuKeys.repeatDelay : MenuKeys.repeatInterval) = seconds;
    } else {
      LogRefusal(number, "unknown setting \"" + name + "\" in [" + std::string(section) +
                             "] (known: [Keys] Up, Down, Left, Right, Accept; [Menu] RepeatDelay, RepeatInterval)");
    }
  }
}

// UTF-16 (Notepad's "Unicode", little-endian, or big-endian) after its byte-order mark,
// as UTF-8; text unchanged without that mark. The INI reader takes UTF-8, with or
// without its own mark.
std::string AsUtf8(const std::string& text) {
  const bool little = text.size() >= 2 && text[0] == '\xFF' && text[1] == '\xFE';
  const bool big = text.size() >= 2 && text[0] == '\xFE' && text[1] == '\xFF';
  if (!little && !big) return text;
  std::string utf8;
  const auto unit = [&](std::size_t at) {
    const unsigned first = static_cast<unsigned char>(text[at]);
    const unsigned second = static_cast<unsigned char>(text[at + 1]);
    return little ? first | second << 8 : first << 8 | second;
  };
  for (std::size_t at = 2; at + 1 < text.size(); at += 2) {
    unsigned code = unit(at);
    if (code >= 0xD800 && code < 0xDC00 && at + 3 < text.size() && unit(at + 2) >= 0xDC00 && unit(at + 2) < 0xE000) {
      code = 0x10000 + ((code - 0xD800) << 10) + (unit(at + 2) - 0xDC00);
      at += 2;
    } else if (code >= 0xD800 && code < 0xE000) {
      code = 0xFFFD;  // half a pair: the replacement character
    }
    if (code < 0x80) {
      utf8 += static_cast<char>(code);
    } else if (code < 0x800) {
      utf8 += static_cast<char>(0xC0 | code >> 6);
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      utf8 += static_cast<char>(0xE0 | code >> 12);
      utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      utf8 += static_cast<char>(0xF0 | code >> 18);
      utf8 += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return utf8;
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
    refusals = 0;
    const std::string shownPath = Utf8(path);
    std::string text;
    std::string why;
    if (ReadSettingsText(path, &text, &why)) {
      LogLine("Settings: %s", shownPath.c_str());
      IniDocument document(std::string(), false);
      document.KeepLineRecords();
      document.ParseText(AsUtf8(text));
      ApplyLines(document.LineRecords());
    } else if (why.empty()) {
      LogLine("Settings: no file %s: the defaults are in force", shownPath.c_str());
    } else {
      LogLine("Settings: %s: %s; the defaults are in force", shownPath.c_str(), why.c_str());
    }
    // A key another action keeps by its place is refused here on the US layout, and
    // again on the layout of the game's window once it is known.
    KeyRefusal positionRefusals[MenuActionCount];
    const int positionCount = ResolveOwnKeys(positionRefusals);
    for (int i = 0; i < positionCount; ++i) LogRefusal(positionRefusals[i].line, KeyRefusalText(positionRefusals[i]));
    if (refusals > refusalsLogged) {
      LogLine("Wardrobe.ini: %d more lines refused (not logged one by one)", refusals - refusalsLogged);
    }
    LogLine("Keys: %s", KeysInForceText().c_str());
    if (MenuKeys.repeatDelay > 0.0) {
      LogLine("A held direction steps again after %g s, then every %g s (RepeatDelay, RepeatInterval)",
              MenuKeys.repeatDelay, MenuKeys.repeatInterval);
    } else {
      LogLine("A held direction does not step again (RepeatDelay = 0)");
    }
    NameKeysInHelp();
  } catch (...) {
    ResetMenuKeys();
  }
}
