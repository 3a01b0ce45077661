#include "core/start_up.h"

#include <windows.h>

#include "core/frame_callbacks.h"
#include "core/older_copy.h"
#include "core/process_claim.h"
#include "core/wardrobe_frame.h"
#include "host/code_hooks.h"
#include "host/game_version.h"
#include "menu/preview_camera.h"
#include "outfits/outfit_files.h"

namespace {

// Holds the reference StartUp took, so the module is never unloaded while the host's
// patched code points into it.
DWORD WINAPI KeepAliveThread(void*) {
  for (;;) Sleep(1000);
}

}  // namespace

void InitPlugin() {
  LoadOutfits();
  RegisterFrameCallback(WardrobeFrame);
  RegisterCameraCallback(ApplyCameraCallback);
}

void StartUp() {
  HMODULE self = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&StartUp), &self);
  HANDLE thread = CreateThread(nullptr, 0, KeepAliveThread, self, 0, nullptr);
  if (thread != nullptr) CloseHandle(thread);

  if (!hostReady) InitHostBase();
  if (GameVersion == 0) return;
  // A second copy of the plug-in in this process stays as idle as on an unsupported
  // build: one prompt, one menu, one save per Accept.
  if (!ClaimProcessWardrobe()) return;
  // A copy older than that claim (1.0.0) already hooked the host: this one stays idle
  // as well, and keeps the claim, so that a third copy does not start either.
  if (OlderCopyHooked()) return;
  // A host whose code at the sites is not what we can chain (another plug-in's patch,
  // a changed executable) is left untouched, and the plug-in stays idle.
  if (!InstallHooks(frameCallbacks, cameraCallbacks)) return;
  // The loader thread is the host's: nothing thrown here may reach it.
  try {
    InitPlugin();
  } catch (...) {
  }
}

// Runs on the camera thread: it reads the record the frame thread handed over last,
// never the one the frame thread may be writing.
int32_t ApplyCameraCallback() { return ApplyPreviewCamera(LatestPreviewCamera()); }
