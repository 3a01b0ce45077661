#include "core/key_names.h"

#include <cstdio>

namespace {

struct NamedKey {
  const char* name;
  uint8_t key;
};

// Windows' virtual-key codes of the keys that are not letters or digits.
constexpr NamedKey namedKeys[] = {
    {"Up", 0x26},    {"Down", 0x28},   {"Left", 0x25},     {"Right", 0x27},  {"Enter", 0x0D},
    {"Space", 0x20}, {"Tab", 0x09},    {"Insert", 0x2D},   {"Delete", 0x2E}, {"Home", 0x24},
    {"End", 0x23},   {"PageUp", 0x21}, {"PageDown", 0x22},
};
constexpr uint8_t firstFunctionKey = 0x70;  // F1 .. F12: 0x70 .. 0x7B
constexpr uint8_t firstNumpadKey = 0x60;    // Numpad0 .. Numpad9: 0x60 .. 0x69

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Upper(a[i]) != Upper(b[i])) return false;
  }
  return true;
}

// The number after a prefix ("F12" -> 12); -1 when the rest is not one or two digits.
int NumberAfter(std::string_view name, std::string_view prefix) {
  if (name.size() <= prefix.size() || name.size() > prefix.size() + 2 ||
      !SameName(name.substr(0, prefix.size()), prefix))
    return -1;
  int number = 0;
  for (char c : name.substr(prefix.size())) {
    if (c < '0' || c > '9') return -1;
    number = number * 10 + (c - '0');
  }
  return number;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = Upper(c);
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

uint8_t VirtualKeyOfName(std::string_view name) {
  if (name.size() == 1) {
    const char c = Upper(name[0]);
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return static_cast<uint8_t>(c);
    return 0;
  }
  for (const NamedKey& named : namedKeys) {
    if (SameName(name, named.name)) return named.key;
  }
  const int function = NumberAfter(name, "F");
  if (function >= 1 && function <= 12) return static_cast<uint8_t>(firstFunctionKey + function - 1);
  const int numpad = NumberAfter(name, "Numpad");
  if (numpad >= 0 && numpad <= 9 && name.size() == 7) return static_cast<uint8_t>(firstNumpadKey + numpad);
  if (name.size() >= 3 && name.size() <= 4 && name[0] == '0' && Upper(name[1]) == 'X') {
    int value = 0;
    for (char c : name.substr(2)) {
      const int digit = HexDigit(c);
      if (digit < 0) return 0;
      value = value * 16 + digit;
    }
    if (value >= 0x01 && value <= 0xFE) return static_cast<uint8_t>(value);
  }
  return 0;
}

std::string NameOfVirtualKey(uint8_t key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::string(1, static_cast<char>(key));
  for (const NamedKey& named : namedKeys) {
    if (named.key == key) return named.name;
  }
  char text[16];
  if (key >= firstFunctionKey && key < firstFunctionKey + 12) {
    std::snprintf(text, sizeof text, "F%d", key - firstFunctionKey + 1);
  } else if (key >= firstNumpadKey && key < firstNumpadKey + 10) {
    std::snprintf(text, sizeof text, "Numpad%d", key - firstNumpadKey);
  } else {
    std::snprintf(text, sizeof text, "0x%02X", key);
  }
  return text;
}
