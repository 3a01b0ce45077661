// The host interface's own costs, in the simulated host: one native call round trip
// (context, lookup by hash through the host's routine, handler, result) and one
// frame-hook dispatch with an empty callback list. Reported, never asserted.
#include <windows.h>

#include <cstdio>

#include "bench_support.h"
#include "core/frame_callbacks.h"
#include "host/code_hooks.h"
#include "host/native_call.h"
#include "host/native_lookup.h"
#include "host/natives.h"
#include "sim/sim.h"

namespace {

// About a second per figure.
template <typename Body>
double NanosecondsPerOperation(Body body) {
  return SecondsPerRun(FigureSeconds(1.0), body) * 1e9;
}

}  // namespace

int main(int argc, char** argv) {
  if (!ReadBenchmarkOptions(argc, argv)) {
    std::printf("usage: %s [--brief] [--soak-frames N]\n", argv[0]);
    return 2;
  }
  sim::Boot();
  const double lookup = NanosecondsPerOperation([] { LookupNative(NativeHash::IsUsingPad); });
  const double roundTrip = NanosecondsPerOperation([] {
    IsUsingPad();
    if (sim::NativeLog().size() > 4096) sim::ClearNativeLog();
  });
  sim::ClearNativeLog();
  // The simulator records every call (with its arguments as text): that share is the
  // simulator's, not the plug-in's.
  const double unknown = NanosecondsPerOperation([] {
    CallNative(0x0BADF00D, 1);
    if (sim::UnknownHashLookups().size() > 4096) sim::ClearUnknownHashLookups();
  });

  const double unpatched = NanosecondsPerOperation([] { sim::RunSite(sim::FrameSite); });
  InstallHooks(frameCallbacks, cameraCallbacks);
  const double patched = NanosecondsPerOperation([] { sim::RunSite(sim::FrameSite); });

  std::printf("native lookup (hash in ESI, fault guard)       %8.1f ns/op\n", lookup);
  std::printf("native call round trip (IsUsingPad, recorded)  %8.1f ns/op\n", roundTrip);
  std::printf("native call without handler (lookup only)      %8.1f ns/op\n", unknown);
  std::printf("frame site, unpatched                          %8.1f ns/op\n", unpatched);
  std::printf("frame site, hooked, empty list                 %8.1f ns/op\n", patched);
  std::printf("frame-hook dispatch, empty list (difference)   %8.1f ns/op\n", patched - unpatched);
  // The hooked call against the host's own: no page protection is changed on the way
  // (the script-thread location is written as it stands), so a few times at most.
  std::printf("frame site hooked / unpatched                  %8.1f times\n", patched / unpatched);
  return 0;
}
