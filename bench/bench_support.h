// What the benchmarks share: the performance counter in seconds, work bounded by time,
// and the cost of the simulated host's frames.
//
// Every figure is measured for about as long as it is given, never for a fixed number
// of runs: where the machine is slow (an emulated guest is tens of times slower, and
// there a change of a code page's protection also discards translated code) a figure
// rests on fewer runs, and no benchmark can hold up the run of the suite.
#pragma once
#include <windows.h>

#include <cstddef>

#include "sim/sim.h"

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
