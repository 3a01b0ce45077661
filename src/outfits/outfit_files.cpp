#include "outfits/outfit_files.h"

#include <cstdio>
#include <string>

#include "host/host_locations.h"
#include "host/module_paths.h"
#include "host/plugin_log.h"
#include "outfits/file_replace.h"
#include "outfits/ini_document.h"
#include "outfits/outfit.h"
#include "outfits/outfit_name.h"

bool (*replaceOutfitFile)(const char* temporaryPath, const char* targetPath) = ReplaceFileAtomically;
void (*waitBeforeSaveRetry)(unsigned milliseconds) = WaitMilliseconds;

namespace {

std::string ShownPath(const std::string& fileName) { return Utf8(FullPathOf(fileName.c_str())); }

void LogFileError(const char* what, const std::string& fileName, const char* step, unsigned long code,
                  const std::string& waits) {
  LogLine("%s failed: %s: %s: Windows error %lu (%s)%s", what, ShownPath(fileName).c_str(), step, code,
          WindowsErrorText(code).c_str(), waits.c_str());
}

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
// `what` names the operation for the log ("Saving outfit 3").
bool SaveBesideAndReplace(IniDocument& document, const std::string& fileName, const char* what) {
  // An outfit's name follows its 44 values.
  document.WriteKeyLast(OutfitNameKey);
  const std::string temporary = fileName + TemporaryOutfitFileSuffix;
  std::string waits;
  for (int attempt = 0;; ++attempt) {
    ForgetFileFailure();
    const char* step = "removing the temporary file an earlier save left";
    if (DiscardOwnFile(temporary.c_str())) {
      step = "writing the whole file beside it first";
      if (document.Save(temporary)) {
        step = "putting the new file in place of the old one";
        if (replaceOutfitFile(temporary.c_str(), fileName.c_str())) {
          return true;
        }
      }
    }
    const unsigned long error = LastFileErrorCode();
    const bool brief = FileFailureIsBrief();
    DiscardOwnFile(temporary.c_str());
    if (!brief || attempt == SaveRetryCount) {
      LogFileError(what, fileName, step, error, waits.empty() ? "" : "; tried again after " + waits);
      return false;
    }
    waits += (waits.empty() ? "" : ", ") + std::to_string(SaveRetryWaitsMs[attempt]) + " ms";
    waitBeforeSaveRetry(SaveRetryWaitsMs[attempt]);
  }
}

// Saves the document as the outfit file, then reloads the table. After a save the file
// holds exactly the document's text, which reads back as the document less its empty
// sections, so the table is filled from the document instead of parsing the file a
// second time; after a failed one it is read from the file as it stands.
bool StoreAndReload(IniDocument& document, const std::string& fileName, const char* what) {
  const bool stored = SaveBesideAndReplace(document, fileName, what);
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
    const std::string fileName = OutfitFileName();
    IniDocument document(fileName, false);
    ReadOutfitFile(document);
    const unsigned long error = LastFileErrorCode();
    FillOutfitTable(document, false);
    switch (document.LoadResult()) {
      case IniLoadResult::Loaded:
        LogLine("Outfits: %s: %d outfits", ShownPath(fileName).c_str(), CountSavedOutfits());
        break;
      case IniLoadResult::Missing:
        LogLine("Outfits: %s: no such file yet (the first save makes it): no outfits", ShownPath(fileName).c_str());
        break;
      default:
        LogLine(
            "Outfits: %s could not be read: Windows error %lu (%s): no outfits shown, and saves leave the file "
            "alone",
            ShownPath(fileName).c_str(), error, WindowsErrorText(error).c_str());
        break;
    }
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
      const unsigned long error = LastFileErrorCode();
      if (document.LoadResult() == IniLoadResult::Loaded) {
        LogLine("Deleting outfit %d refused: %s no longer holds it", number + 1, ShownPath(fileName).c_str());
      } else {
        LogFileError(("Deleting outfit " + std::to_string(number + 1)).c_str(), fileName, "reading the file", error,
                     "");
      }
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
    return StoreAndReload(renumbered, fileName, ("Deleting outfit " + std::to_string(number + 1)).c_str());
  } catch (...) {
    return false;
  }
}

bool NameOutfit(int number, const char* name) {
  try {
    const std::string fileName = OutfitFileName();
    IniDocument document(fileName, false);
    ReadOutfitFile(document);
    const std::string what = "Naming outfit " + std::to_string(number + 1);
    // Only an outfit the file holds right now is named; a file that could not be read
    // is never rewritten.
    if (document.LoadResult() != IniLoadResult::Loaded || !document.SelectSection(OutfitSectionName(number))) {
      const unsigned long error = LastFileErrorCode();
      if (document.LoadResult() == IniLoadResult::Loaded) {
        LogLine("%s refused: %s no longer holds it", what.c_str(), ShownPath(fileName).c_str());
      } else {
        LogFileError(what.c_str(), fileName, "reading the file", error, "");
      }
      return false;
    }
    char kept[OutfitNameMaxLength + 1];
    CleanOutfitName(name, kept);
    if (kept[0] == '\0') {
      document.RemoveValue(OutfitNameKey);
    } else {
      document.SetValue(OutfitNameKey, kept);
    }
    return StoreAndReload(document, fileName, what.c_str());
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
      LogFileError("Saving an outfit", fileName, "reading the file (nothing is saved, so that no outfit in it is lost)",
                   LastFileErrorCode(), "");
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
      return StoreAndReload(document, fileName, ("Saving outfit " + std::to_string(n + 1)).c_str());
    }
    LogLine("Saving an outfit refused: %s holds %d outfits, the most it can", ShownPath(fileName).c_str(),
            OutfitTableSize);
    return false;  // all 512 numbers taken
  } catch (...) {
    return false;
  }
}
