// The camera override: filled by the menu's frame step, copied into the host's active
// camera object from the camera hook while the menu runs.
#include "menu/preview_camera.h"

#include <atomic>
#include <cmath>

#include "host/host_locations.h"

PreviewCameraRecord PreviewCamera;

namespace {
PreviewCameraRecord handOff[3];
constexpr uint8_t indexMask = 3;
constexpr uint8_t freshMark = 4;  // the spare holds a record the camera thread has not taken
std::atomic<uint8_t> spareRecord{1};
uint8_t writtenRecord = 2;  // the frame thread's
uint8_t readRecord = 0;     // the camera thread's
static_assert(std::atomic<uint8_t>::is_always_lock_free, "the hand-off never takes a lock");
}  // namespace

void PublishPreviewCamera(const PreviewCameraRecord& record) {
  handOff[writtenRecord] = record;
  // Release: the record's bytes are visible before the index that hands them over.
  writtenRecord =
      spareRecord.exchange(static_cast<uint8_t>(writtenRecord | freshMark), std::memory_order_acq_rel) & indexMask;
}

const PreviewCameraRecord& LatestPreviewCamera() {
  // Only the frame thread marks the spare fresh, so a fresh spare seen here is still
  // fresh (or fresher) at the exchange. Acquire: the record's bytes before its index.
  if ((spareRecord.load(std::memory_order_relaxed) & freshMark) != 0) {
    readRecord = spareRecord.exchange(readRecord, std::memory_order_acq_rel) & indexMask;
  }
  return handOff[readRecord];
}

int32_t ApplyPreviewCamera(const PreviewCameraRecord& record) {
  if (record.active) WriteCameraView(record.matrix, record.fieldOfView);
  return 0;
}

void RotateMatrixEuler(float* matrix, float ax, float ay, float az) {
  // Sines and cosines are taken in double and rounded once to float; every product and
  // sum after that is single precision, like the host's own matrix code.
  float cx = static_cast<float>(std::cos(static_cast<double>(ax)));
  float sx = static_cast<float>(std::sin(static_cast<double>(ax)));
  float cy = static_cast<float>(std::cos(static_cast<double>(ay)));
  float sy = static_cast<float>(std::sin(static_cast<double>(ay)));
  float cz = static_cast<float>(std::cos(static_cast<double>(az)));
  float sz = static_cast<float>(std::sin(static_cast<double>(az)));

  float r00 = cz * cy - sz * sx * sy;
  float r01 = cz * sx * sy + sz * cy;
  float r02 = -cx * sy;
  float r10 = -sz * cx;
  float r11 = cz * cx;
  float r12 = sx;
  float r20 = sz * sx * cy + cz * sy;
  float r21 = sz * sy - cz * sx * cy;
  float r22 = cx * cy;

  // Each axis row v becomes v * R; the fourth float of a row and the position row stay.
  for (int row = 0; row < 3; ++row) {
    float* v = matrix + 4 * row;
    float vx = v[0];
    float vy = v[1];
    float vz = v[2];
    v[0] = vx * r00 + vy * r10 + vz * r20;
    v[1] = vx * r01 + vy * r11 + vz * r21;
    v[2] = vx * r02 + vy * r12 + vz * r22;
  }
}
