// How long the outfit store takes on a full file (512 outfits, about 23,000 lines):
//   - LoadOutfits as the plug-in does it (one parse of the file);
//   - the same load re-reading the whole file for every outfit in use, the way a
//     per-outfit reader that opens its own document would (the baseline);
//   - the same 512 x 44 values read through Windows' GetPrivateProfileIntA;
//   - SaveCurrentOutfit with 511 outfits present (read, fill number 511, write beside,
//     replace, reload).
// Each figure is measured for about a second. The two slow loads take seconds each
// on a fast machine: they are timed outfit by outfit for that second and reported for
// all 512 outfits. Reported, never asserted. A frame of the host lasts 16.7 ms at 60
// frames per second.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_support.h"
#include "outfits/file_replace.h"
#include "outfits/ini_document.h"
#include "outfits/outfit.h"
#include "outfits/outfit_files.h"
#include "outfits/outfit_value.h"
#include "sim/host_image.h"
#include "sim/host_state.h"
#include "support/host_run.h"
#include "support/scoped_swap.h"

namespace {

// The median of the times `work` reports for its runs, run again and again for about
// a second (at least once). Work returns its own time, so that what it sets up for
// itself is not counted.
template <typename Work>
double MedianMs(Work work) {
  std::vector<double> times;
  const double start = SecondsNow();
  do {
    times.push_back(work());
  } while (SecondsNow() - start < FigureSeconds(1.0));
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

template <typename Work>
double TimedMs(Work work) {
  const double start = SecondsNow();
  work();
  return (SecondsNow() - start) * 1000.0;
}

std::string SectionName(int n) { return "Outfit" + std::to_string(n); }

// A file of `count` outfits with varied values, written the way the plug-in writes it.
std::string OutfitFileText(int count) {
  IniDocument document("", false);
  for (int n = 0; n < count; ++n) {
    Outfit outfit;
    for (int i = 0; i < ComponentCount; ++i) {
      outfit.drawable[i] = static_cast<uint32_t>((n + i) % 7);
      outfit.texture[i] = static_cast<uint32_t>((n * 3 + i) % 4);
      outfit.prop[i] = (n + i) % 5 - 1;
      outfit.propTexture[i] = (n * i) % 3 - 1;
    }
    outfit.Write(document, SectionName(n).c_str());
  }
  return document.Text();
}

// A load outfit by outfit, timed for about a second and reported for all 512: the
// milliseconds of the whole load and how many outfits were timed.
template <typename PerOutfit>
double WholeLoadMs(PerOutfit readOutfit, int* outfitsTimed) {
  int n = 0;
  const double perOutfit = SecondsPerRun(FigureSeconds(1.0), [&] { readOutfit(n++ % OutfitTableSize); });
  *outfitsTimed = n;
  return perOutfit * 1000.0 * OutfitTableSize;
}

// The baseline: one parse to find the sections, then for every outfit in use a new
// document on the file, read again from the disk.
double LoadRereadingPerOutfitMs(int* outfitsTimed) {
  const double start = SecondsNow();
  IniDocument document(OutfitFileName(), true);
  const double parse = SecondsNow() - start;
  return parse * 1000.0 + WholeLoadMs(
                              [&](int n) {
                                Outfit& entry = OutfitTable[n];
                                entry.inUse = false;
                                const std::string name = SectionName(n);
                                if (document.SelectSection(name)) {
                                  entry.inUse = true;
                                  IniDocument own(OutfitFileName(), true);
                                  if (own.SelectSection(name)) {
                                    entry.Read(own);
                                  }
                                }
                              },
                              outfitsTimed);
}

// The same values through the system's profile reader (it wants a full path).
double ReadThroughProfileApiMs(const std::string& fullPath, int* outfitsTimed) {
  static const char* const kinds[] = {"Drawable", "Texture", "Prop", "PropTexture"};
  return WholeLoadMs(
      [&](int n) {
        const std::string section = SectionName(n);
        for (const char* kind : kinds) {
          for (int i = 0; i < ComponentCount; ++i) {
            const std::string key = kind + std::to_string(i);
            GetPrivateProfileIntA(section.c_str(), key.c_str(), 0, fullPath.c_str());
          }
        }
      },
      outfitsTimed);
}

// Times the replacing step of a save (flush of the temporary file to the disk, then
// the rename), so the report can tell it from the rest of the save.
double replaceMs = 0.0;
bool TimedReplace(const char* temporaryPath, const char* targetPath) {
  const double start = SecondsNow();
  const bool replaced = ReplaceFileAtomically(temporaryPath, targetPath);
  replaceMs = (SecondsNow() - start) * 1000.0;
  return replaced;
}

}  // namespace

int main(int argc, char** argv) {
  if (!ReadBenchmarkOptions(argc, argv)) {
    std::printf("usage: %s [--brief] [--soak-frames N]\n", argv[0]);
    return 2;
  }
  sim::Boot();
  sim::ResetModel();
  sim::SetEpisode(0);

  const std::filesystem::path work = std::filesystem::current_path() / "outfit_store_work";
  std::error_code ignored;
  std::filesystem::remove_all(work, ignored);
  std::filesystem::create_directories(work);
  std::filesystem::current_path(work);

  const char* fileName = OutfitFileName();
  const std::string full = OutfitFileText(OutfitTableSize);
  WriteTextFile(fileName, full);
  char fullPath[MAX_PATH];
  GetFullPathNameA(fileName, MAX_PATH, fullPath, nullptr);

  int loads = 0;
  const double load = MedianMs([&] {
    ++loads;
    return TimedMs(LoadOutfits);
  });
  const int loaded = CountSavedOutfits();
  int baselineOutfits = 0;
  const double baseline = LoadRereadingPerOutfitMs(&baselineOutfits);
  int profileOutfits = 0;
  const double profile = ReadThroughProfileApiMs(fullPath, &profileOutfits);

  // A save into a file with 511 outfits: the file is put back before every run.
  const std::string almostFull = OutfitFileText(OutfitTableSize - 1);
  std::vector<double> replaceTimes;
  bool allStored = true;
  double save = 0.0;
  {
    const ScopedSwap replace(replaceOutfitFile, &TimedReplace);
    save = MedianMs([&] {
      WriteTextFile(fileName, almostFull);
      LoadOutfits();
      const double ms = TimedMs([&] { allStored = SaveCurrentOutfit() && allStored; });
      replaceTimes.push_back(replaceMs);
      return ms;
    });
  }
  std::sort(replaceTimes.begin(), replaceTimes.end());
  const double replace = replaceTimes[replaceTimes.size() / 2];
  const int saves = static_cast<int>(replaceTimes.size());
  const int afterSave = CountSavedOutfits();

  std::printf("   outfit file: %d outfits, %zu bytes\n", OutfitTableSize, full.size());
  std::printf("   LoadOutfits, one parse (median)               %9.2f ms  (%d outfits; %d runs)\n", load, loaded,
              loads);
  std::printf("   load re-reading the file per outfit           %9.2f ms  %.0fx ours (%d outfits timed)\n", baseline,
              baseline / load, baselineOutfits);
  std::printf("   512 x 44 GetPrivateProfileIntA                %9.2f ms  %.0fx ours (%d outfits timed)\n", profile,
              profile / load, profileOutfits);
  std::printf("   SaveCurrentOutfit, 511 present (median)       %9.2f ms  (stored: %s, %d outfits after; %d runs)\n",
              save, allStored ? "yes" : "NO", afterSave, saves);
  std::printf("     of which flush to disk and replace (median)  %9.2f ms\n", replace);
  std::printf("   frame budget at 60 fps                         %9.2f ms  load %s, save %s\n", 1000.0 / 60.0,
              load < 1000.0 / 60.0 ? "within" : "OVER", save < 1000.0 / 60.0 ? "within" : "OVER");

  std::filesystem::current_path(work.parent_path());
  std::filesystem::remove_all(work, ignored);
  return 0;
}
