#include "core/start_up.h"

#include <windows.h>

#include "core/frame_callbacks.h"
#include "core/older_copy.h"
#include "core/plugin_settings.h"
#include "core/process_claim.h"
#include "core/wardrobe_frame.h"
#include "host/code_hooks.h"
#include "host/game_version.h"
#include "host/module_paths.h"
#include "host/plugin_log.h"
#include "menu/preview_camera.h"
#include "outfits/outfit_files.h"

namespace {

#ifndef WARDROBE_PLUGIN_VERSION
#define WARDROBE_PLUGIN_VERSION "(version not set)"
#endif
constexpr const char* pluginVersion = WARDROBE_PLUGIN_VERSION;

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

  // The log and the settings lie beside the plug-in's own file, whatever its name.
  const std::wstring ownPath = OwnModulePath();
  StartPluginLog(WithExtension(ownPath, L".log"));
  const std::string shownPath = Utf8(ownPath);
  LogLine("Wardrobe %s, %s", pluginVersion, shownPath.c_str());

  if (!hostReady) InitHostBase();
  LogLine("Game: %s, file version %s: %s", Utf8(ExecutablePath()).c_str(), HostFileVersionText(),
          GameVersion != 0 ? "supported"
                           : "not supported (the wardrobe knows 1.0.7.0 and 1.0.8.0): the wardrobe stays off");
  if (GameVersion == 0) return;
  // A second copy of the plug-in in this process stays as idle as on an unsupported
  // build: one prompt, one menu, one save per Accept.
  if (!ClaimProcessWardrobe()) {
    LogLine("Another copy of the wardrobe already runs in this game: this copy (%s) stays off. Delete the extra copy.",
            shownPath.c_str());
    return;
  }
  // A copy older than that claim (1.0.0) already hooked the host: this one stays idle
  // as well, and keeps the claim, so that a third copy does not start either.
  if (OlderCopyHooked()) {
    LogLine(
        "An older copy of the wardrobe (one without the one-per-game rule) already hooked the game's calls: "
        "this copy (%s) stays off. Delete the older copy.",
        shownPath.c_str());
    return;
  }
  // A host whose code at the sites is not what we can chain (another plug-in's patch,
  // a changed executable) is left untouched, and the plug-in stays idle.
  if (!InstallHooks(frameCallbacks, cameraCallbacks)) {
    LogLine(
        "The wardrobe stays off: the game's code at the call sites above is not what it expects (another "
        "plug-in's patch, or a changed game executable). Nothing was changed.");
    return;
  }
  LogLine("The eight calls of the game are hooked");
  LoadSettings(WithExtension(ownPath, L".ini"));
  // The loader thread is the host's: nothing thrown here may reach it.
  try {
    InitPlugin();
  } catch (...) {
  }
}

// Runs on the camera thread: it reads the record the frame thread handed over last,
// never the one the frame thread may be writing.
int32_t ApplyCameraCallback() { return ApplyPreviewCamera(LatestPreviewCamera()); }
