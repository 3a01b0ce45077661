// The camera that looks at the player while the menu is open.
#pragma once
#include <cstdint>

struct PreviewCameraRecord {
  bool active = false;
  float matrix[16] = {};
  float fieldOfView = 45.0f;
};
// The frame thread's record: the frame driver clears `active`, UpdateWardrobeMenu fills
// it. Only the frame thread touches it; the camera thread gets copies (below).
extern PreviewCameraRecord PreviewCamera;

// The hand-off between the two threads, without a lock: three records, of which the
// frame thread owns one (it writes there), the camera thread one (it reads there), and
// the third is the spare, named by one atomic index with a "fresh" mark. Publishing
// swaps the written record for the spare; taking swaps the read one for the spare
// when it is fresh. Neither side ever waits, and the camera thread only ever reads a
// record written whole before it was handed over, `active` together with the matrix
// and field of view it guards.
//
// Frame thread: hands over a copy of the record.
void PublishPreviewCamera(const PreviewCameraRecord& record);
// Camera thread: the latest record handed over (the previous one when none came since);
// valid until its next call.
const PreviewCameraRecord& LatestPreviewCamera();

// Copies the record into the host's active camera while it is active.
int32_t ApplyPreviewCamera(const PreviewCameraRecord& record);
void RotateMatrixEuler(float* matrix, float ax, float ay, float az);
