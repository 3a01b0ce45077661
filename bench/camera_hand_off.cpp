// What the preview camera's hand-off costs the camera thread, which runs it on every
// frame: taking the latest record alone, and the whole camera callback (taking it and
// writing it into the host's camera) beside a plain copy of the record into the camera
// as before the hand-off. Nanoseconds per frame; reported, never asserted.
#include <windows.h>

#include <cstdio>

#include "bench_support.h"
#include "core/start_up.h"
#include "menu/preview_camera.h"
#include "sim/sim.h"

int main(int argc, char** argv) {
  if (!ReadBenchmarkOptions(argc, argv)) {
    std::printf("usage: %s [--brief] [--soak-frames N]\n", argv[0]);
    return 2;
  }
  PrepareBenchmarkHost();
  sim::SetCameraPresent(true);
  PreviewCameraRecord record;
  record.active = true;
  for (int i = 0; i < 16; ++i) record.matrix[i] = static_cast<float>(i);
  record.fieldOfView = 55.0f;

  const double seconds = FigureSeconds(1.0);  // per figure
  volatile float sink = 0;
  // A new record every frame, as while the menu is open: the frame thread's side.
  const double publish = SecondsPerRun(seconds, [&] { PublishPreviewCamera(record); });
  const double take = SecondsPerRun(seconds, [&] {
    PublishPreviewCamera(record);
    sink = sink + LatestPreviewCamera().matrix[5];
  });
  const double callback = SecondsPerRun(seconds, [&] {
    PublishPreviewCamera(record);
    ApplyCameraCallback();
  });
  const double plainCopy = SecondsPerRun(seconds, [&] { ApplyPreviewCamera(record); });

  std::printf("%-62s %9s\n", "", "ns/frame");
  std::printf("%-62s %9.1f\n", "frame thread: hand over a record", 1e9 * publish);
  std::printf("%-62s %9.1f\n", "camera thread: take the latest record (hand over + take - hand over)",
              1e9 * (take - publish));
  std::printf("%-62s %9.1f\n", "camera callback with the hand-off (hand over excluded)", 1e9 * (callback - publish));
  std::printf("%-62s %9.1f\n", "camera write without a hand-off (the record copied directly)", 1e9 * plainCopy);
  return 0;
}
