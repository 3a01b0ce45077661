// What the benchmarks share: the performance counter in seconds, work bounded by time,
// and the cost of the simulated host's frames.
//
// Every figure is measured for about as long as it is given, never for a fixed number
// of runs: where the machine is slow (an emulated guest is tens of times slower, and
// there a change of a code page's protection also discards translated code) a figure
// rests on fewer runs, and no benchmark can hold up the run of the suite.
//
// Two ways to run them: in full (./build.sh bench), and briefly (`--brief`, what
// ./build.sh test does): each figure then gets a tenth of its time and the soak a few
// thousand frames, so that the set still builds, runs and reports in a few seconds.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "sim/sim.h"

struct BenchmarkOptions {
  bool brief = false;
  long soakFrames = 0;  // --soak-frames N; 0: the soak's own count
};

inline BenchmarkOptions& Options() {
  static BenchmarkOptions options;
  return options;
}

// `--brief` and `--soak-frames N`; anything else is refused (false).
inline bool ReadBenchmarkOptions(int argc, char** argv) {
  BenchmarkOptions& options = Options();
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--brief") == 0) {
      options.brief = true;
    } else if (std::strcmp(argv[i], "--soak-frames") == 0 && i + 1 < argc) {
      char* end = nullptr;
      options.soakFrames = std::strtol(argv[++i], &end, 10);
      if (*end != '\0' || options.soakFrames <= 0) return false;
    } else {
      return false;
    }
  }
  return true;
}

// The time a figure is measured for: as given, or a tenth of it in a brief run.
inline double FigureSeconds(double seconds) { return Options().brief ? seconds / 10 : seconds; }

inline double SecondsNow() {
  static const double ticksPerSecond = [] {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(frequency.QuadPart);
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / ticksPerSecond;
}

// The simulated host booted with its keys answered, in a working directory of the
// machine's temporary folder (outfit files land there).
inline void PrepareBenchmarkHost() {
  sim::Boot();
  sim::InterceptImports(GetModuleHandleW(nullptr));
  char directory[MAX_PATH];
  GetTempPathA(MAX_PATH, directory);
  SetCurrentDirectoryA(directory);
}

// Seconds for one run of `body`, run again and again for about `seconds` (at least
// once). Runs go in batches that double while short, so that reading the clock does
// not weigh on quick bodies and a slow body is not repeated long past the time given.
template <typename Body>
double SecondsPerRun(double seconds, Body body) {
  long runs = 0;
  long batch = 1;
  const double start = SecondsNow();
  double elapsed = 0;
  do {
    for (long i = 0; i < batch; ++i) body();
    runs += batch;
    elapsed = SecondsNow() - start;
    if (elapsed < seconds / 16) batch *= 2;
  } while (elapsed < seconds);
  return elapsed / runs;
}

struct FrameCost {
  double microseconds;  // per frame
  double natives;       // native calls per frame
};

// Runs frames of the simulated host for about `seconds` (the native log emptied as it
// goes).
inline FrameCost MeasureFrames(double seconds) {
  size_t natives = 0;
  long frames = 0;
  const double perFrame = SecondsPerRun(seconds, [&] {
    sim::RunFrame();
    natives += sim::NativeLog().size();
    sim::ClearNativeLog();
    ++frames;
  });
  return {perFrame * 1e6, static_cast<double>(natives) / frames};
}
