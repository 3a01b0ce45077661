#include "core/frame_callbacks.h"

FrameCallbackList frameCallbacks;
FrameCallbackList cameraCallbacks;

FrameCallback& RegisterFrameCallback(FrameCallback callback) {
  frameCallbacks.push_back(callback);
  return frameCallbacks.back();
}

FrameCallback& RegisterCameraCallback(FrameCallback callback) {
  cameraCallbacks.push_back(callback);
  return cameraCallbacks.back();
}
