// The two callback lists the patched host code walks: once per host frame, and once
// per camera update.
#pragma once
#include <cstdint>
#include <list>

using FrameCallback = int32_t (*)();
// Appended to at start-up, walked front to back afterwards; entries are never removed.
using FrameCallbackList = std::list<FrameCallback>;

extern FrameCallbackList frameCallbacks;
extern FrameCallbackList cameraCallbacks;

FrameCallback& RegisterFrameCallback(FrameCallback callback);
FrameCallback& RegisterCameraCallback(FrameCallback callback);
// Calls every entry once, in registration order; results are ignored.
void WalkCallbacks(const FrameCallbackList& list);
