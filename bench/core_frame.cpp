// What the plug-in costs the host per frame, in the simulated host: a frame without the
// plug-in, then with it away from every wardrobe site, then at a site with the menu
// closed; microseconds and natives per frame. Reported, never asserted.
#include <windows.h>

#include <cstdio>

#include "bench_support.h"
#include "core/frame_callbacks.h"
#include "core/start_up.h"
#include "host/code_hooks.h"
#include "sim/sim.h"

int main(int argc, char** argv) {
  if (!ReadBenchmarkOptions(argc, argv)) {
    std::printf("usage: %s [--brief] [--soak-frames N]\n", argv[0]);
    return 2;
  }
  PrepareBenchmarkHost();

  const double seconds = FigureSeconds(1.0);  // per figure
  sim::SetPlayerPosition({0.0f, 0.0f, 0.0f});
  const FrameCost host = MeasureFrames(seconds);

  InstallHooks(frameCallbacks, cameraCallbacks);
  InitPlugin();
  const FrameCost away = MeasureFrames(seconds);
  sim::PutPlayerAtSite(0);
  const FrameCost atSite = MeasureFrames(seconds);

  const double budget = 1e6 / 60.0;
  std::printf("%-44s %9s %9s %14s\n", "", "us/frame", "natives", "plug-in share");
  std::printf("%-44s %9.2f %9.1f %14s\n", "simulated host frame, no plug-in", host.microseconds, host.natives, "-");
  for (const auto& [name, cost] :
       {std::pair<const char*, FrameCost>{"with the plug-in, away from every site", away},
        std::pair<const char*, FrameCost>{"with the plug-in, at a site, menu closed", atSite}}) {
    const double plugin = cost.microseconds - host.microseconds;
    std::printf("%-44s %9.2f %9.1f %11.3f %% of a 60 fps frame\n", name, cost.microseconds, cost.natives,
                100.0 * plugin / budget);
  }
  std::printf("(each native call includes the simulator's own recording of it)\n");
  return 0;
}
