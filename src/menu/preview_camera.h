// The camera that looks at the player while the menu is open, and the per-frame menu
// step that poses the player and fills it.
#pragma once
#include <cstdint>

struct PreviewCameraRecord {
  bool active = false;
  float matrix[16] = {};
  float fieldOfView = 45.0f;
};
extern PreviewCameraRecord PreviewCamera;

// One frame of the open menu: pose, camera, rows, idle animation.
void UpdateWardrobeMenu();
// Copies the record into the host's active camera while it is active.
int32_t ApplyPreviewCamera(const PreviewCameraRecord& record);
void RotateMatrixEuler(float* matrix, float ax, float ay, float az);
