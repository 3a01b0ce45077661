// The host's frame loop.
#include "sim/frame.h"

#include <cstring>
#include <string>

#include "sim/host_image.h"
#include "sim/host_layout.h"
#include "sim/host_state.h"
#include "sim/natives.h"
#include "sim/ped_model.h"
#include "sim/sites.h"
#include "sim/trace.h"
#include "sim/world_model.h"

namespace sim {

namespace {

uint32_t currentFrame = 0;
bool allIntact = true;
bool frameBoundedHistory = false;

void DropPreviousFramesCalls() {
  ClearNativeLog();
  ClearUnknownHashLookups();
  World().sounds.clear();
  World().terminatedScripts.clear();
  World().missingParts.clear();
}

void TraceMismatch(const SiteObservation& observation) {
  if (!TraceOpen()) return;
  WriteTraceLine(JsonObject()
                     .Field("event", "register-mismatch")
                     .Field("frame", observation.frame)
                     .Field("site", observation.site)
                     .Field("offset", OffsetText(Layout().sites[observation.site]))
                     .Field("detail", observation.mismatch)
                     .Text());
}

void TraceHostException(const SiteObservation& observation) {
  if (!TraceOpen()) return;
  WriteTraceLine(JsonObject()
                     .Field("event", "host-exception")
                     .Field("frame", observation.frame)
                     .Field("site", observation.site)
                     .Field("code", HexText(observation.hostException))
                     .Text());
}

void TraceCamera() {
  if (!TraceOpen()) return;
  std::string matrix = "[";
  const float* m = CameraObjectMatrix();
  for (int i = 0; i < 16; ++i) {
    if (i) matrix += ",";
    matrix += JsonNumber(m[i]);
  }
  matrix += "]";
  WriteTraceLine(JsonObject()
                     .Field("event", "camera")
                     .Field("frame", currentFrame)
                     .RawField("matrix", matrix)
                     .Field("fov", static_cast<double>(CameraObjectFieldOfView()))
                     .Text());
}

}  // namespace

uint32_t CurrentFrame() { return currentFrame; }

bool AllSitesIntact() { return allIntact; }

void SetFrameBoundedHistory(bool bounded) { frameBoundedHistory = bounded; }

uint32_t RunFrame() {
  Boot();
  ++currentFrame;
  if (frameBoundedHistory) DropPreviousFramesCalls();
  ApplyPendingHeading();
  World().drawnThisFrame.clear();
  ResetHostCamera();
  for (int site = 0; site < SiteCount; ++site) {
    unsigned char cameraBefore[0x54];
    const unsigned char* camera = reinterpret_cast<const unsigned char*>(CameraObjectMatrix());
    if (site == CameraSite) std::memcpy(cameraBefore, camera, sizeof cameraBefore);
    SiteObservation observation = RunSite(site);
    if (observation.hostException != 0) {
      TraceHostException(observation);
    } else if (!observation.Intact()) {
      allIntact = false;
      TraceMismatch(observation);
    }
    if (site == CameraSite && std::memcmp(cameraBefore, camera, sizeof cameraBefore) != 0) TraceCamera();
  }
  float step = FrameTime();
  if (step > 0) World().gameTimeMs += static_cast<uint32_t>(step * 1000.0f + 0.5f);
  return currentFrame;
}

void RunFrames(int count) {
  for (int i = 0; i < count; ++i) RunFrame();
}

}  // namespace sim
