// For tests that call the plug-in's own functions in-process: every piece of the
// plug-in's state between frames put back as it is when the module has just been
// loaded. The hooks and their callback lists stay: they are installed once per process.
#pragma once

#include "core/companion_check.h"
#include "core/input_state.h"
#include "core/menu_keys.h"
#include "core/wardrobe_frame.h"
#include "menu/idle_animation.h"
#include "menu/own_key_names.h"
#include "menu/preview_camera.h"
#include "menu/wardrobe_menu.h"
#include "outfits/outfit.h"

inline void ResetPluginState() {
  WardrobeDriverState = WardrobeDriverRecord{};
  WardrobeMenu = WardrobeMenuRecord{};
  InputState = InputRecord{};
  ResetMenuKeys();
  // The help texts keep the host's codes until the keys are known.
  const char* const noNames[5] = {};
  NameOwnKeys(noNames);
  PreviewCamera = PreviewCameraRecord{};
  PublishPreviewCamera(PreviewCamera);
  idleSeconds = 20.0;
  companionCheckPending = true;
  for (Outfit& entry : OutfitTable) entry = Outfit{};
}
