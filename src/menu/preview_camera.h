// The camera that looks at the player while the menu is open.
#pragma once
#include <cstdint>

struct PreviewCameraRecord {
  bool active = false;
  float matrix[16] = {};
  float fieldOfView = 45.0f;
};
extern PreviewCameraRecord PreviewCamera;

// Copies the record into the host's active camera while it is active.
int32_t ApplyPreviewCamera(const PreviewCameraRecord& record);
void RotateMatrixEuler(float* matrix, float ax, float ay, float az);
