// What the benchmarks share: the performance counter in seconds, and the cost of the
// simulated host's frames.
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

struct FrameCost {
  double microseconds;  // per frame
  double natives;       // native calls per frame
};

// Runs that many frames of the simulated host (the native log emptied as it goes).
inline FrameCost MeasureFrames(int frames) {
  size_t natives = 0;
  const double start = SecondsNow();
  for (int i = 0; i < frames; ++i) {
    sim::RunFrame();
    natives += sim::NativeLog().size();
    sim::ClearNativeLog();
  }
  return {(SecondsNow() - start) * 1e6 / frames, static_cast<double>(natives) / frames};
}
