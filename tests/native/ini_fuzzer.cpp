// libFuzzer target: the INI reader takes any bytes without a crash, leak or undefined
// behaviour, and what it read writes out as text that reads back as the same document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "outfits/ini_document.h"
#include "outfits/outfit_value.h"

namespace {

// The document as a save keeps it: sections without keys are never written.
IniDocument::SectionTable Writable(const IniDocument::SectionTable& sections) {
  IniDocument::SectionTable kept;
  for (const auto& [name, keys] : sections) {
    if (!keys.empty()) {
      kept.emplace(name, keys);
    }
  }
  return kept;
}

void Require(bool condition) {
  if (!condition) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  IniDocument document("", false);
  document.ParseText(input);

  // Every value goes through the number reader as a load would.
  int64_t sum = 0;
  for (const auto& [name, keys] : document.Sections()) {
    Require(document.SelectSection(name));
    for (const auto& [key, value] : keys) {
      const std::string* found = document.FindValue(key);
      Require(found != nullptr && *found == value);
      sum += ParseOutfitValue(value);
    }
  }
  (void)sum;

  const std::string text = document.Text();
  IniDocument reread("", false);
  reread.ParseText(text);
  Require(reread.Sections() == Writable(document.Sections()));
  Require(reread.Text() == text);
  return 0;
}
