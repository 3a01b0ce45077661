// The two callback lists the patched host code walks: once per host frame, and once
// per camera update.
#pragma once

#include "host/code_hooks.h"

extern FrameCallbackList frameCallbacks;
extern FrameCallbackList cameraCallbacks;

FrameCallback& RegisterFrameCallback(FrameCallback callback);
FrameCallback& RegisterCameraCallback(FrameCallback callback);
