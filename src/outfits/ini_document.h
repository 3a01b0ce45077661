// An INI text file held in memory as ordered sections of ordered key/value texts.
//
// The syntax is deliberately narrow: "//" and "#" comment only at the very start of a
// line, a header's name is whatever lies between its first and last character, keys
// keep trailing whitespace and values keep all of theirs. The outfit files depend on
// exactly these rules, so they must not drift towards other INI dialects.
//
// Pure standard C++: it is also built natively, for the sanitizers and the fuzzer.
#pragma once
#include <cstddef>
#include <functional>
#include <map>
#include <memory_resource>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// What became of the last attempt to read a document's file. A file that is missing
// and a file that exists but cannot be read must be told apart: the first may be
// created by a save, the second must never be overwritten.
enum class IniLoadResult { NotLoaded, Loaded, Missing, Unreadable };

class IniDocument {
 public:
  // Both maps order their keys byte-wise (std::string compares as unsigned char), so
  // "Outfit10" sorts before "Outfit2" and nothing is case-folded. A document's map
  // nodes come from an arena of its own: a full outfit file has some 23,000 of them,
  // and one allocation each would cost more than all the rest of a load.
  template <typename Value>
  using OrderedMap =
      std::map<std::string, Value, std::less<>, std::pmr::polymorphic_allocator<std::pair<const std::string, Value>>>;
  using KeyTable = OrderedMap<std::string>;
  using SectionTable = OrderedMap<KeyTable>;

  // The longest line the reader keeps. The rest of a longer line is dropped and
  // reading goes on with the next line.
  static constexpr std::size_t MaxLineLength = 255;

  // One line of the text as the reader took it, for a reader that reports lines by
  // their number (the settings): a key line with its section, key and value as
  // stored, or a line the reader dropped (no "=", nothing after it, before the first
  // section, a lone "["). Blank lines, comments and headers are not recorded.
  struct LineRecord {
    std::size_t number;  // 1 for the first line
    bool dropped;
    std::string section;
    std::string key;
    std::string value;
  };

  IniDocument(std::string path, bool loadNow);
  ~IniDocument();
  IniDocument(const IniDocument&) = delete;
  IniDocument& operator=(const IniDocument&) = delete;

  // Reads the file at the document's path and adds what it finds to the content.
  // False when the file cannot be opened or read; LoadResult() tells which.
  bool Load();
  IniLoadResult LoadResult() const { return loadResult; }

  // Adds what the text holds to the content. "\r\n" reads as "\n", so files with CR
  // LF and with LF line ends read alike; a UTF-8 byte-order mark at the start is
  // skipped.
  void ParseText(std::string_view text);

  bool SelectSection(const std::string& name);
  // Selects the section, creating it empty when it does not exist; true when created.
  bool AddSection(const std::string& name);
  // The current section's value of key, without a copy: null when there is no
  // current section or it has no such key.
  const std::string* FindValue(const std::string& key) const;
  // Sets the key in the current section; false (and nothing changed) without one.
  bool SetValue(const std::string& key, const std::string& value);
  // Removes the key from the current section; false when there is none to remove.
  bool RemoveValue(const std::string& key);
  // In every section, this key is written after all the others instead of in key
  // order (an empty key: none is).
  void WriteKeyLast(std::string key) { lastKey = std::move(key); }

  // Writes the whole document to path, or to the document's own path when path is
  // empty. False when the file cannot be opened or fully written.
  bool Save(const std::string& path) const;
  // The text Save writes: non-empty sections in name order, keys in key order, every
  // line ended by CR LF.
  std::string Text() const;

  // From now on every parsed line is recorded (LineRecords); the outfit files never ask.
  void KeepLineRecords() { keepLineRecords = true; }
  const std::vector<LineRecord>& LineRecords() const { return lineRecords; }

  // Drops every section; no section is current afterwards.
  void Clear();

  const std::string& Path() const { return path; }
  const SectionTable& Sections() const { return sections; }

 private:
  void ParseLine(std::string_view line, std::size_t number);
  void RecordLine(std::size_t number, bool dropped, std::string_view key = {}, std::string_view value = {});

  std::string path;
  std::pmr::monotonic_buffer_resource arena;
  KeyTable* currentSection = nullptr;
  const std::string* currentSectionName = nullptr;
  SectionTable sections{&arena};
  IniLoadResult loadResult = IniLoadResult::NotLoaded;
  std::string lastKey;
  bool keepLineRecords = false;
  std::vector<LineRecord> lineRecords;
};
