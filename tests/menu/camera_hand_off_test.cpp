// The preview camera's hand-off from the frame thread to the camera thread: whole
// records only, the latest one, and the frame's result rather than its middle.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

#include "core/start_up.h"
#include "core/wardrobe_frame.h"
#include "menu/preview_camera.h"
#include "menu_test_support.h"

namespace menu_test {
namespace {

// Two records that differ in every field: a copy mixing them shows in at least one.
PreviewCameraRecord Record(bool active, float base, float fieldOfView) {
  PreviewCameraRecord record;
  record.active = active;
  for (int i = 0; i < 16; ++i) record.matrix[i] = base + static_cast<float>(i);
  record.fieldOfView = fieldOfView;
  return record;
}

bool Same(const PreviewCameraRecord& a, const PreviewCameraRecord& b) {
  if (a.active != b.active || a.fieldOfView != b.fieldOfView) return false;
  for (int i = 0; i < 16; ++i) {
    if (a.matrix[i] != b.matrix[i]) return false;
  }
  return true;
}

TEST(CameraHandOff, CameraThreadCopiesOnlyWholeRecordsUnderStress) {
  const PreviewCameraRecord shown = Record(true, 100.0f, 55.0f);
  const PreviewCameraRecord hidden = Record(false, -500.0f, 45.0f);
  PublishPreviewCamera(hidden);

  std::atomic<bool> framesDone{false};
  std::atomic<bool> cameraStarted{false};
  long copies = 0, mixed = 0, shownCopies = 0;
  std::thread camera([&] {
    cameraStarted = true;
    while (!framesDone.load()) {
      const PreviewCameraRecord copy = LatestPreviewCamera();
      ++copies;
      if (Same(copy, shown)) {
        ++shownCopies;
      } else if (!Same(copy, hidden)) {
        ++mixed;
      }
    }
  });
  while (!cameraStarted.load()) std::this_thread::yield();
  constexpr int rounds = 300000;
  for (int round = 0; round < rounds; ++round) PublishPreviewCamera(round % 2 == 0 ? shown : hidden);
  framesDone = true;
  camera.join();

  EXPECT_EQ(0, mixed) << "of " << copies << " copies";
  EXPECT_GT(copies, 0);
  // Once the frame thread stops, the camera thread gets its last record.
  EXPECT_TRUE(Same(LatestPreviewCamera(), hidden));
  EXPECT_TRUE(Same(LatestPreviewCamera(), hidden)) << "and keeps it while nothing new comes";
  std::printf("camera thread: %ld copies, %ld of the active record, none mixed\n", copies, shownCopies);
}

TEST(CameraHandOff, CameraThreadSeesTheLatestRecordOnly) {
  PublishPreviewCamera(Record(true, 1.0f, 50.0f));
  PublishPreviewCamera(Record(true, 2.0f, 51.0f));
  EXPECT_TRUE(Same(LatestPreviewCamera(), Record(true, 2.0f, 51.0f)));
  PublishPreviewCamera(Record(false, 3.0f, 52.0f));
  EXPECT_TRUE(Same(LatestPreviewCamera(), Record(false, 3.0f, 52.0f)));
  EXPECT_TRUE(Same(LatestPreviewCamera(), Record(false, 3.0f, 52.0f)));
}

// The frame driver hands over its run's result: with the menu open the camera thread
// gets the active record of the frame, never the flag the run clears at its start.
class CameraHandOffFrame : public MenuHostTest {};

TEST_F(CameraHandOffFrame, DriverHandsOverTheFramesCameraAtTheEndOfItsRun) {
  sim::PutPlayerAtSite(2);
  WardrobeDriverState.menuOpen = true;
  WardrobeFrame();
  ASSERT_TRUE(PreviewCamera.active);
  EXPECT_TRUE(Same(LatestPreviewCamera(), PreviewCamera));
  // The camera callback copies the handed-over record into the host's camera.
  sim::ResetHostCamera();
  ApplyCameraCallback();
  EXPECT_EQ(0, std::memcmp(sim::CameraObjectMatrix(), PreviewCamera.matrix, 64));
  EXPECT_EQ(55.0f, sim::CameraObjectFieldOfView());

  // Away from the site the run ends with the flag cleared: the host keeps its camera.
  sim::SetPlayerPosition({0.0f, 0.0f, 0.0f});
  WardrobeFrame();
  EXPECT_FALSE(LatestPreviewCamera().active);
}

}  // namespace
}  // namespace menu_test
