#include "core/start_up.h"

#include <windows.h>

#include "core/frame_callbacks.h"
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
  InstallHooks(frameCallbacks, cameraCallbacks);
  // The loader thread is the host's: nothing thrown here may reach it.
  try {
    InitPlugin();
  } catch (...) {
  }
}

int32_t ApplyCameraCallback() { return ApplyPreviewCamera(PreviewCamera); }
