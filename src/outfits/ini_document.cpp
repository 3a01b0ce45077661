#include "outfits/ini_document.h"

#include <cerrno>
#include <cstdio>
#include <utility>

#include "outfits/ascii_whitespace.h"

namespace {

bool StartsWith(std::string_view text, std::string_view prefix) { return text.substr(0, prefix.size()) == prefix; }

// A key that would not read back as itself from "key=value": an empty key, or one
// that makes the line a comment or a header. The reader strips leading whitespace
// from keys, so one space in front keeps such a key what it is.
bool KeyNeedsGuard(const std::string& key) {
  return key.empty() || key[0] == '#' || key[0] == '[' || StartsWith(key, "//");
}

constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

IniDocument::IniDocument(std::string path, bool loadNow) : path(std::move(path)) {
  if (loadNow) {
    Load();
  }
}

IniDocument::~IniDocument() { Clear(); }

bool IniDocument::Load() {
  // Read in binary and translate line ends ourselves, so every platform reads a file
  // alike. fopen shares the file with every other opener.
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    loadResult = errno == ENOENT ? IniLoadResult::Missing : IniLoadResult::Unreadable;
    return false;
  }
  std::string text;
  char buffer[16384];
  std::size_t got;
  while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    text.append(buffer, got);
  }
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    // Half a file is not the file: leave the document as it was.
    loadResult = IniLoadResult::Unreadable;
    return false;
  }
  ParseText(text);
  loadResult = IniLoadResult::Loaded;
  return true;
}

void IniDocument::ParseText(std::string_view text) {
  if (StartsWith(text, ByteOrderMark)) {
    text.remove_prefix(ByteOrderMark.size());
  }
  std::size_t position = 0;
  std::size_t number = 0;
  while (position < text.size()) {
    ++number;
    std::size_t end = text.find('\n', position);
    std::size_t next;
    std::string_view line;
    if (end == std::string_view::npos) {
      // The last line has no line feed; a carriage return at its end is kept.
      line = text.substr(position);
      next = text.size();
    } else {
      line = text.substr(position, end - position);
      if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
      }
      next = end + 1;
    }
    ParseLine(line.substr(0, MaxLineLength), number);
    position = next;
  }
}

void IniDocument::RecordLine(std::size_t number, bool dropped, std::string_view key, std::string_view value) {
  if (!keepLineRecords) {
    return;
  }
  lineRecords.push_back(LineRecord{number, dropped,
                                   dropped || currentSectionName == nullptr ? std::string() : *currentSectionName,
                                   std::string(key), std::string(value)});
}

void IniDocument::ParseLine(std::string_view line, std::size_t number) {
  if (line.empty() || StartsWith(line, "//") || line[0] == '#') {
    return;
  }
  if (line[0] == '[') {
    std::size_t length = line.size();
    while (length > 0 && IsAsciiWhitespace(line[length - 1])) {
      --length;
    }
    // The name lies between the "[" and the last character, whatever that is. A lone
    // "[" has no last character to drop and names nothing: the line is ignored.
    if (length < 2) {
      RecordLine(number, true);
      return;
    }
    const auto entry = sections.try_emplace(std::string(line.substr(1, length - 2))).first;
    entry->second.clear();  // a repeated header starts its section afresh
    currentSection = &entry->second;
    currentSectionName = &entry->first;
    return;
  }
  const std::size_t keyStart = line.find_first_not_of('=');
  if (keyStart == std::string_view::npos) {
    RecordLine(number, true);
    return;
  }
  const std::size_t equals = line.find('=', keyStart);
  if (equals == std::string_view::npos || equals + 1 == line.size()) {
    RecordLine(number, true);
    return;
  }
  std::string_view key = line.substr(keyStart, equals - keyStart);
  while (!key.empty() && IsAsciiWhitespace(key.front())) {
    key.remove_prefix(1);
  }
  if (currentSection == nullptr) {
    RecordLine(number, true);
    return;  // key lines before the first header belong to no section
  }
  (*currentSection)[std::string(key)] = std::string(line.substr(equals + 1));
  RecordLine(number, false, key, line.substr(equals + 1));
}

bool IniDocument::SelectSection(const std::string& name) {
  const auto found = sections.find(name);
  if (found == sections.end()) {
    return false;
  }
  currentSection = &found->second;
  currentSectionName = &found->first;
  return true;
}

bool IniDocument::AddSection(const std::string& name) {
  if (SelectSection(name)) {
    return false;
  }
  const auto entry = sections.try_emplace(name).first;
  currentSection = &entry->second;
  currentSectionName = &entry->first;
  return true;
}

const std::string* IniDocument::FindValue(const std::string& key) const {
  if (currentSection == nullptr) {
    return nullptr;
  }
  const auto found = currentSection->find(key);
  return found != currentSection->end() ? &found->second : nullptr;
}

bool IniDocument::SetValue(const std::string& key, const std::string& value) {
  if (currentSection == nullptr) {
    return false;
  }
  (*currentSection)[key] = value;
  return true;
}

bool IniDocument::RemoveValue(const std::string& key) {
  return currentSection != nullptr && currentSection->erase(key) > 0;
}

std::string IniDocument::Text() const {
  std::string text;
  for (const auto& [name, keys] : sections) {
    if (keys.empty()) {
      continue;
    }
    text += '[';
    text += name;
    text += "]\r\n";
    const auto writeKey = [&text](const std::string& key, const std::string& value) {
      if (KeyNeedsGuard(key)) {
        text += ' ';
      }
      text += key;
      text += '=';
      text += value;
      text += "\r\n";
    };
    for (const auto& [key, value] : keys) {
      if (lastKey.empty() || key != lastKey) writeKey(key, value);
    }
    if (!lastKey.empty()) {
      const auto last = keys.find(lastKey);
      if (last != keys.end()) writeKey(last->first, last->second);
    }
  }
  return text;
}

bool IniDocument::Save(const std::string& savePath) const {
  const std::string& target = savePath.empty() ? path : savePath;
  std::FILE* file = std::fopen(target.c_str(), "wb");
  if (file == nullptr) {
    return false;
  }
  const std::string text = Text();
  bool complete = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  if (std::fclose(file) != 0) {
    complete = false;
  }
  return complete;
}

void IniDocument::Clear() {
  currentSection = nullptr;
  currentSectionName = nullptr;
  sections.clear();
  arena.release();
}
