// The benchmarks' clock: the performance counter, in seconds.
#pragma once
#include <windows.h>

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
