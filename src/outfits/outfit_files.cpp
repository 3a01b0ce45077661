#include "outfits/outfit_files.h"

#include <cstdio>
#include <string>

#include "host/host_locations.h"
#include "outfits/file_replace.h"
#include "outfits/ini_document.h"
#include "outfits/outfit.h"
#include "outfits/outfit_name.h"

bool (*replaceOutfitFile)(const char* temporaryPath, const char* targetPath) = ReplaceFileAtomically;
void (*waitBeforeSaveRetry)(unsigned milliseconds) = WaitMilliseconds;

namespace {

std::string OutfitSectionName(int number) { return "Outfit" + std::to_string(number); }

// The outfit number of a section name in exactly the form the table is loaded from
// ("Outfit" and 0 to 511, no sign or leading zero); -1 for any other name.
int OutfitNumberOf(const std::string& name) {
  constexpr size_t prefixLength = 6;
  if (name.size() <= prefixLength || name.size() > prefixLength + 3 || name.compare(0, prefixLength, "Outfit") != 0 ||
      (name[prefixLength] == '0' && name.size() > prefixLength + 1)) {
    return -1;
  }
  int number = 0;
  for (size_t i = prefixLength; i < name.size(); ++i) {
    if (name[i] < '0' || name[i] > '9') return -1;
    number = number * 10 + (name[i] - '0');
  }
  return number < OutfitTableSize ? number : -1;
}

// Reads the outfit file into the document. A program that holds the file for a moment
// (a sharing or lock violation) is waited for as a save waits for it; a file that
// cannot be read for any other reason fails at once. The document's LoadResult() tells
// what became of the last try.
void ReadOutfitFile(IniDocument& document) {
  for (int attempt = 0;; ++attempt) {
    ForgetFileFailure();
    if (document.Load() || document.LoadResult() != IniLoadResult::Unreadable || !FileFailureIsBrief() ||
        attempt == SaveRetryCount) {
      return;
    }
    waitBeforeSaveRetry(SaveRetryWaitsMs[attempt]);
  }
}

// Every entry is visited, so the table ends up holding exactly the file's outfits. One
// parsed document serves all 512 entries. `justWritten`: the document has just been
// saved as the file, which then lacks its sections without keys (they are not written).
void FillOutfitTable(IniDocument& document, bool justWritten) {
  for (int n = 0; n < OutfitTableSize; ++n) {
    Outfit& entry = OutfitTable[n];
    entry.inUse = false;
    const std::string name = OutfitSectionName(n);
    const auto section = document.Sections().find(name);
    if (section == document.Sections().end() || (justWritten && section->second.empty())) {
      continue;
    }
    document.SelectSection(name);
    entry.inUse = true;
    entry.Read(document);
  }
}

// Whole file first, then one replacing step: the outfit file is always either the old
// one or the complete new one. The temporary file is the save's own: one left by an
// earlier crash (even marked read-only since) gives way, and a failed save removes its
// own.
// A program that holds either file for a moment is waited for, a few times, a quarter
// of a second at most; anything else fails the save at once.
bool SaveBesideAndReplace(IniDocument& document, const std::string& fileName) {
  // An outfit's name follows its 44 values.
  document.WriteKeyLast(OutfitNameKey);
  const std::string temporary = fileName + TemporaryOutfitFileSuffix;
  for (int attempt = 0;; ++attempt) {
    ForgetFileFailure();
    if (DiscardOwnFile(temporary.c_str()) && document.Save(temporary) &&
        replaceOutfitFile(temporary.c_str(), fileName.c_str())) {
      return true;
    }
    const bool brief = FileFailureIsBrief();
    DiscardOwnFile(temporary.c_str());
    if (!brief || attempt == SaveRetryCount) {
      return false;
    }
    waitBeforeSaveRetry(SaveRetryWaitsMs[attempt]);
  }
}

// Saves the document as the outfit file, then reloads the table. After a save the file
// holds exactly the document's text, which reads back as the document less its empty
// sections, so the table is filled from the document instead of parsing the file a
// second time; after a failed one it is read from the file as it stands.
bool StoreAndReload(IniDocument& document, const std::string& fileName) {
  const bool stored = SaveBesideAndReplace(document, fileName);
  if (stored) {
    FillOutfitTable(document, true);
  } else {
    LoadOutfits();
  }
  return stored;
}

}  // namespace

const char* OutfitFileName() {
  static const char* const episodeFileNames[] = {"WardrobeOutfits.ini", "WardrobeOutfitsTLAD.ini",
                                                 "WardrobeOutfitsTBoGT.ini"};
  static char otherEpisodeFileName[64];
  const uint32_t episode = EpisodeNumber();
  if (episode < 3) {
    return episodeFileNames[episode];
  }
  std::snprintf(otherEpisodeFileName, sizeof otherEpisodeFileName, "WardrobeOutfitsEpisode%d.ini",
                static_cast<int>(static_cast<int32_t>(episode)));
  return otherEpisodeFileName;
}

void LoadOutfits() {
  // Nothing may leave a frame callback by exception; running out of memory here
  // shows no outfits.
  try {
    IniDocument document(OutfitFileName(), false);
    ReadOutfitFile(document);
    FillOutfitTable(document, false);
  } catch (...) {
    for (Outfit& entry : OutfitTable) {
      entry.inUse = false;
    }
  }
}

bool DeleteOutfit(int number) {
  try {
    const std::string fileName = OutfitFileName();
    IniDocument document(fileName, false);
    ReadOutfitFile(document);
    const std::string deleted = OutfitSectionName(number);
    // Only an outfit the file holds right now is deleted; a file that could not be read
    // is never rewritten.
    if (document.LoadResult() != IniLoadResult::Loaded || !document.SelectSection(deleted)) {
      return false;
    }
    // The same sections under their new names, each keeping its keys and value texts.
    IniDocument renumbered(fileName, false);
    for (const auto& [name, keys] : document.Sections()) {
      if (name == deleted) continue;
      const int outfit = OutfitNumberOf(name);
      renumbered.AddSection(outfit > number ? OutfitSectionName(outfit - 1) : name);
      for (const auto& [key, value] : keys) {
        renumbered.SetValue(key, value);
      }
    }
    return StoreAndReload(renumbered, fileName);
  } catch (...) {
    return false;
  }
}

bool NameOutfit(int number, const char* name) {
  try {
    const std::string fileName = OutfitFileName();
    IniDocument document(fileName, true);
    // Only an outfit the file holds right now is named; a file that could not be read
    // is never rewritten.
    if (document.LoadResult() != IniLoadResult::Loaded || !document.SelectSection(OutfitSectionName(number))) {
      return false;
    }
    char kept[OutfitNameMaxLength + 1];
    CleanOutfitName(name, kept);
    if (kept[0] == '\0') {
      document.RemoveValue(OutfitNameKey);
    } else {
      document.SetValue(OutfitNameKey, kept);
    }
    return StoreAndReload(document, fileName);
  } catch (...) {
    return false;
  }
}

bool SaveCurrentOutfit() {
  try {
    const std::string fileName = OutfitFileName();
    IniDocument document(fileName, false);
    ReadOutfitFile(document);
    // A file that exists but could not be read would be replaced by one holding only
    // the new outfit: every outfit saved before would be lost. Store nothing instead.
    if (document.LoadResult() == IniLoadResult::Unreadable) {
      return false;
    }
    // The lowest number the file on disk does not use, so gaps are filled first.
    for (int n = 0; n < OutfitTableSize; ++n) {
      const std::string name = OutfitSectionName(n);
      if (document.SelectSection(name)) {
        continue;
      }
      Outfit& entry = OutfitTable[n];
      entry.Capture();
      entry.Write(document, name.c_str());
      return StoreAndReload(document, fileName);
    }
    return false;  // all 512 numbers taken
  } catch (...) {
    return false;
  }
}
