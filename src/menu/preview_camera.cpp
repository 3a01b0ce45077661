// The camera override: filled by the menu's frame step, copied into the host's active
// camera object from the camera hook while the menu runs.
#include "menu/preview_camera.h"

#include <cmath>
#include <cstring>

#include "host/host_locations.h"
#include "host/host_memory.h"

PreviewCameraRecord PreviewCamera;

namespace {

// Where the host camera object keeps its world matrix and its field of view.
constexpr uintptr_t cameraMatrixOffset = 0x10;
constexpr uintptr_t cameraFieldOfViewOffset = 0x60;
constexpr size_t cameraMatrixBytes = sizeof(PreviewCameraRecord::matrix);
constexpr size_t cameraWrittenBytes = cameraFieldOfViewOffset + sizeof(float) - cameraMatrixOffset;

}  // namespace

int32_t ApplyPreviewCamera(const PreviewCameraRecord& record) {
  if (!record.active) return 0;
  uintptr_t camera = CameraObject();
  if (camera == 0) return 0;
  // One lifted span over everything written: the matrix and, past it, the field of view.
  ProtectionScope scope(camera + cameraMatrixOffset, cameraWrittenBytes);
  std::memcpy(reinterpret_cast<void*>(camera + cameraMatrixOffset), record.matrix, cameraMatrixBytes);
  std::memcpy(reinterpret_cast<void*>(camera + cameraFieldOfViewOffset), &record.fieldOfView, sizeof(float));
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
