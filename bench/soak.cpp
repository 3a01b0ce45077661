// Hours of play: the plug-in driven through the simulated host's frames, 100,000 of
// them (about 55 minutes at 30 frames a second) or as many as `--soak-frames N` asks
// (5,000,000 are a day at 60 frames a second), the menu open with values changing,
// opened and closed again, an outfit saved every few thousand frames (a file that
// nears 512 outfits is started afresh, as a player would clear it). Reports the
// process's private bytes and the heap in use at 1,000 frames and at the end, and
// their growth, which should be 0. Reported, never asserted.
//
// The simulated host keeps no call past its frame (SetFrameBoundedHistory), as the
// scenario runner does, so what grows is the plug-in's. A brief run (`--brief`, in
// ./build.sh test) is 3,000 frames, and stops at a time limit in the emulated guest,
// saying how far it came; a full run goes to its last frame.
#include <windows.h>

#include <psapi.h>

#include <cstdio>

#include "bench_support.h"
#include "core/frame_callbacks.h"
#include "core/start_up.h"
#include "core/wardrobe_frame.h"
#include "host/code_hooks.h"
#include "menu/wardrobe_menu.h"
#include "outfits/outfit.h"
#include "outfits/outfit_files.h"
#include "sim/sim.h"

namespace {

constexpr long fullFrames = 100000;
constexpr long briefFrames = 3000;
constexpr long firstMeasure = 1000;
// Outfits in the file before it is started afresh (the file holds 512 at most).
constexpr int outfitsBeforeAFreshFile = 500;
bool InGuest() {
  char value[8] = {};
  GetEnvironmentVariableA("WARDROBE_IN_GUEST", value, sizeof value);
  return value[0] == '1';
}
// A brief run browses less between two saves so that saves happen within it, and in
// the emulated guest (tens of times slower) it gets 30 seconds at most.
const bool inGuest = InGuest();
long targetFrames = fullFrames;
double secondsAllowed = 1e12;  // a full run goes to its last frame
int browseTaps = 1500;         // 3,000 frames of browsing between two saves (600 in a brief run)

// The pad controls of the menu.
constexpr int padDown = 64;
constexpr int padRight = 67;
constexpr int padAccept = 77;
constexpr int padWardrobe = 23;

struct Memory {
  size_t privateBytes = 0;
  size_t heapInUse = 0;  // busy blocks of every heap of the process
};

// Private bytes: the process's committed private memory. Windows counts it for us;
// where the count reads 0 (Wine does not keep it), the address space is walked for it.
size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof counters) &&
      counters.PrivateUsage != 0) {
    return counters.PrivateUsage;
  }
  size_t bytes = 0;
  MEMORY_BASIC_INFORMATION info{};
  for (uintptr_t at = 0x10000; VirtualQuery(reinterpret_cast<const void*>(at), &info, sizeof info) == sizeof info;) {
    if (info.State == MEM_COMMIT && info.Type == MEM_PRIVATE) bytes += info.RegionSize;
    const uintptr_t next = reinterpret_cast<uintptr_t>(info.BaseAddress) + info.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return bytes;
}

Memory MeasureMemory() {
  Memory memory;
  memory.privateBytes = PrivateBytes();
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry{};
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) memory.heapInUse += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  return memory;
}

long frames = 0;
bool measuredFirst = false;
Memory atFirst;
double start = 0;

bool Running() { return frames < targetFrames && SecondsNow() - start < secondsAllowed; }

void Frame() {
  sim::RunFrame();
  if (++frames == firstMeasure) {
    atFirst = MeasureMemory();
    measuredFirst = true;
  }
}

// Down on one frame, up on the next: the menu acts on the second.
void Tap(int control) {
  sim::SetPad(control, true);
  Frame();
  sim::SetPad(control, false);
  Frame();
}

void HighlightRow(int row) {
  for (int i = 0; i < 40 && WardrobeMenu.selectedRow != row && Running(); ++i) Tap(padDown);
}

}  // namespace

int main(int argc, char** argv) {
  if (!ReadBenchmarkOptions(argc, argv)) {
    std::printf("usage: %s [--brief] [--soak-frames N]\n", argv[0]);
    return 2;
  }
  if (Options().brief) {
    targetFrames = briefFrames;
    browseTaps = 300;
    if (inGuest) secondsAllowed = 30.0;
  }
  if (Options().soakFrames > 0) targetFrames = Options().soakFrames;
  PrepareBenchmarkHost();
  // Outfits of this run only, in a folder of its own.
  CreateDirectoryA("wardrobe-soak", nullptr);
  SetCurrentDirectoryA("wardrobe-soak");
  DeleteFileA("WardrobeOutfits.ini");

  sim::SetFrameBoundedHistory(true);
  sim::SetUsingPad(true);
  sim::PutPlayerAtSite(2);
  InstallHooks(frameCallbacks, cameraCallbacks);
  InitPlugin();

  long opened = 0, saves = 0, changes = 0, freshFiles = 0;
  start = SecondsNow();
  while (Running()) {
    Tap(padWardrobe);
    Frame();
    if (!WardrobeDriverState.menuOpen) {
      std::printf("the wardrobe did not open\n");
      return 1;
    }
    ++opened;
    // Browse: the highlighted row's value steps on, every 100 steps the next row.
    for (int tap = 0; tap < browseTaps && Running(); ++tap) {
      Tap(tap % 100 == 99 ? padDown : padRight);
      changes += tap % 100 != 99;
    }
    // "Save Outfit", then "Accept" (the last rows but five and but one).
    HighlightRow(WardrobeMenu.rowCount - 6);
    if (!Running()) break;
    Tap(padAccept);
    saves += WardrobeMenu.saveStored ? 1 : 0;  // a save that went through
    if (CountSavedOutfits() >= outfitsBeforeAFreshFile) {
      DeleteFileA(OutfitFileName());
      LoadOutfits();
      ++freshFiles;
    }
    HighlightRow(WardrobeMenu.rowCount - 2);
    Tap(padAccept);
    for (int i = 0; i < 30 && Running(); ++i) Frame();
  }
  const double seconds = SecondsNow() - start;
  const Memory atEnd = MeasureMemory();
  DeleteFileA("WardrobeOutfits.ini");

  if (!measuredFirst) {
    std::printf("only %ld frames in %.0f s: nothing to compare\n", frames, seconds);
    return 0;
  }
  std::printf("%ld frames in %.1f s (%.0f us each); the menu opened %ld times, %ld value changes, %ld saves", frames,
              seconds, 1e6 * seconds / frames, opened, changes, saves);
  if (freshFiles > 0) std::printf(" (the file started afresh %ld times)", freshFiles);
  std::printf("\n");
  if (frames < targetFrames) {
    std::printf("(stopped at the time limit of %.0f s, short of %ld frames: this machine is slow)\n", secondsAllowed,
                targetFrames);
  }
  std::printf("%-34s %14s %14s %10s\n", "", "at 1,000", "at the end", "growth");
  std::printf("%-34s %14zu %14zu %+10lld\n", "private bytes", atFirst.privateBytes, atEnd.privateBytes,
              static_cast<long long>(atEnd.privateBytes) - static_cast<long long>(atFirst.privateBytes));
  std::printf("%-34s %14zu %14zu %+10lld\n", "heap in use (plug-in and host)", atFirst.heapInUse, atEnd.heapInUse,
              static_cast<long long>(atEnd.heapInUse) - static_cast<long long>(atFirst.heapInUse));
  return 0;
}
