#include "core/wardrobe_frame.h"

#include "core/companion_check.h"
#include "core/input_state.h"
#include "host/host_locations.h"
#include "host/natives.h"
#include "menu/preview_camera.h"
#include "menu/wardrobe_menu_frame.h"
#include "outfits/outfit_files.h"

// The same eight sites serve the base game and both episodes.
const WardrobeSite WardrobeSites[8] = {
    {890.525f, -497.601f, 20.0f, 270.0f}, {604.0072f, 1412.384f, 18.0258f, 215.0f},
    {106.55f, 846.15f, 45.6f, 270.0f},    {-970.4f, 889.2f, 19.5f, 180.0f},
    {-433.4f, 1459.73f, 39.5f, 90.0f},    {-1722.058f, 334.1177f, 26.3466f, 240.0f},
    {-1946.8f, -74.0f, 11.37f, 130.0f},   {-430.152f, 1395.39f, 16.462f, 90.0f},
};

WardrobeDriverRecord WardrobeDriverState;

const MenuControls PlayerMenuControls = {IsMenuUpPressed, IsMenuDownPressed, IsMenuLeftPressed, IsMenuRightPressed,
                                         IsMenuAcceptPressed};

namespace {

// Hands the frame's camera to the camera thread once the frame's run is over, however
// it ends: the camera thread sees the run's result, never the flag cleared at its
// start and set again later in it.
struct PreviewCameraPublication {
  ~PreviewCameraPublication() { PublishPreviewCamera(PreviewCamera); }
};

void CloseMenu() {
  SetPlayerControl(LocalPlayerIndex(), true);
  StopPedActivity(GetPlayerPedHandle());
  WardrobeDriverState.menuOpen = false;
}

void OpenMenu() {
  WardrobeDriverState.menuOpen = true;
  StartWardrobeMenuView();
  // The player keeps their own height: the site's z only bounds the area test.
  const float* matrix = PlayerPedMatrix();
  const float height = matrix != nullptr ? matrix[14] : WardrobeDriverState.currentSite->z;
  SetPedPosition(GetPlayerPedHandle(), WardrobeDriverState.currentSite->x, WardrobeDriverState.currentSite->y, height);
  StopPedActivity(GetPlayerPedHandle());
  ClearHelpMessage();
}

}  // namespace

int32_t WardrobeFrame() {
  WardrobeDriverRecord& state = WardrobeDriverState;
  if (IsGameplaySuspended()) return 0;
  const PreviewCameraPublication publication;

  const uint32_t episode = EpisodeNumber();
  if (episode != state.lastEpisode) LoadOutfits();
  state.lastEpisode = episode;

  PreviewCamera.active = false;
  TerminateScriptsNamed("ambwardrobe");

  bool atSite = false;
  for (const WardrobeSite& site : WardrobeSites) {
    if (IsPedInBoxAroundPoint(GetPlayerPedHandle(), site.x, site.y, site.z, 1.0f, 1.0f, 1.6f, true)) {
      atSite = true;
      state.currentSite = &site;
    }
  }

  CheckCompanionModule();

  if (atSite) {
    if (state.menuOpen) {
      UpdateWardrobeMenu(state.currentSite->heading, PlayerMenuControls);
      if (WardrobeMenu.cancelRequested) {
        CloseMenu();
        state.savedOutfit.Apply();
      }
      if (WardrobeMenu.acceptRequested) CloseMenu();
      WardrobeMenu.acceptRequested = false;
      WardrobeMenu.cancelRequested = false;
    } else {
      ShowHelpMessage("WD_USE");
      if (IsControlJustPressed(UseWardrobeControl)) OpenMenu();
      state.savedOutfit.Capture();
    }
  }
  if (state.wasAtSite && !atSite) ClearHelpMessage();
  state.wasAtSite = atSite;

  SampleInput();
  return 0;
}
