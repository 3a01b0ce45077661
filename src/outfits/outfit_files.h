// The per-episode outfit files in the host's working directory.
#pragma once

// File name of the current episode's outfits.
const char* OutfitFileName();
// Makes OutfitTable match the current episode's file.
void LoadOutfits();
// Stores the player's current look under the lowest free number of the current
// episode's file and reloads the table. True only when the outfit was stored.
bool SaveCurrentOutfit();
// Removes saved outfit `number` from the current episode's file, moves every outfit
// numbered above it down by one so the numbers stay without a gap, and reloads the
// table. True only when the file was rewritten; otherwise it is left as it was.
bool DeleteOutfit(int number);
// Gives saved outfit `number` of the current episode's file the name (kept as
// CleanOutfitName leaves it; an empty name removes the outfit's Name key) and reloads
// the table. True only when the file was rewritten; otherwise it is left as it was.
bool NameOutfit(int number, const char* name);

// A save writes the whole file beside the outfit file under this suffix first, then
// puts it in place of the outfit file in one step, so no crash leaves half a file.
constexpr const char* TemporaryOutfitFileSuffix = ".tmp";
// That last step, normally ReplaceFileAtomically; tests swap it to stand for a save cut
// short after the temporary file was written. False: nothing was replaced.
extern bool (*replaceOutfitFile)(const char* temporaryPath, const char* targetPath);

// When a save meets either file held open for a moment by another program (a sharing
// or lock violation), it tries again after each of these waits, 250 ms in all; then it
// fails as any other save that cannot write does. Reading the outfit file (for a load,
// a save or a deletion) waits the same way; held for good, a load shows no outfits and
// a save or deletion changes nothing.
constexpr int SaveRetryCount = 4;
constexpr unsigned SaveRetryWaitsMs[SaveRetryCount] = {25, 50, 75, 100};
// The wait between tries, normally WaitMilliseconds; tests swap it to count the tries.
extern void (*waitBeforeSaveRetry)(unsigned milliseconds);
