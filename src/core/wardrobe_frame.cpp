#include "core/wardrobe_frame.h"

#include "core/companion_check.h"
#include "core/input_state.h"
#include "core/menu_keys.h"
#include "core/typed_text.h"
#include "host/host_locations.h"
#include "host/native_lookup.h"
#include "host/natives.h"
#include "host/unwind_guard.h"
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

const MenuControls PlayerMenuControls = {
    IsMenuUpPressed,  IsMenuDownPressed, IsMenuLeftPressed,    IsMenuRightPressed, IsMenuAcceptPressed,
    IsKeyJustPressed, IsKeyDown,         IsControlJustPressed, IsNameErasePressed, CharactersOfKey};

namespace {

// Hands the frame's camera to the camera thread once the frame's run is over, however
// it ends: the camera thread sees the run's result, never the flag cleared at its
// start and set again later in it. That includes an exception taken by the host's
// handler further out, which unwinds past this frame without running the destructor.
// (No native runs while the camera is being placed, so the record is whole then.)
struct PreviewCameraPublication {
  const UnwindGuard unwound{[](void*) { PublishPreviewCamera(PreviewCamera); }, nullptr};
  ~PreviewCameraPublication() { PublishPreviewCamera(PreviewCamera); }
};

// Every closing, whatever its cause: the menu's session ends, then the player gets
// control back.
void CloseMenu() {
  EndWardrobeMenuSession(WardrobeDriverState.currentSite->heading);
  SetPlayerControl(LocalPlayerIndex(), true);
  StopPedActivity(GetPlayerPedHandle());
  WardrobeDriverState.menuOpen = false;
}

void OpenMenu() {
  WardrobeDriverState.menuOpen = true;
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
  if (IsGameplaySuspended()) {
    NoteInputWhilePaused();
    return 0;
  }
  const PreviewCameraPublication publication;
  // While the host's native lookup faults no native answers: every site test says
  // "no", which must not be taken for the player leaving. A frame the host did not
  // serve changes nothing (the menu stays open or closed, the player's control, the
  // look from before the menu and the camera stay as they are, and the input waits as
  // behind the gate); the first frame served again settles it.
  const uint32_t faultsBefore = NativeLookupFaultCount();
  const auto served = [faultsBefore] { return NativeLookupFaultCount() == faultsBefore; };

  const uint32_t episode = EpisodeNumber();
  if (episode != state.lastEpisode) LoadOutfits();
  state.lastEpisode = episode;

  const bool cameraWasActive = PreviewCamera.active;
  const auto leaveUnserved = [cameraWasActive] {
    PreviewCamera.active = cameraWasActive;
    NoteInputWhilePaused();
    return 0;
  };
  PreviewCamera.active = false;
  TerminateScriptsNamed("ambwardrobe");

  bool atSite = false;
  for (const WardrobeSite& site : WardrobeSites) {
    if (IsPedInBoxAroundPoint(GetPlayerPedHandle(), site.x, site.y, site.z, 1.0f, 1.0f, 1.6f, true)) {
      atSite = true;
      state.currentSite = &site;
    }
  }

  if (!served()) return leaveUnserved();

  CheckCompanionModule();

  const bool wasOpen = state.menuOpen;
  if (atSite) {
    if (state.menuOpen) {
      UpdateWardrobeMenu(state.currentSite->heading, PlayerMenuControls);
      if (WardrobeMenu.cancelRequested) {
        CloseMenu();
        state.savedOutfit.Apply(PropSource::Host);
      }
      if (WardrobeMenu.acceptRequested) CloseMenu();
      WardrobeMenu.acceptRequested = false;
      WardrobeMenu.cancelRequested = false;
    } else {
      ShowHelpMessage("WD_USE");
      if (IsControlJustPressed(UseWardrobeControl)) OpenMenu();
      // A capture whose reads were not served would hold zeros, not the look.
      Outfit look;
      look.Capture();
      if (served()) state.savedOutfit = look;
    }
  } else if (state.menuOpen) {
    // The game took the player away from every wardrobe (a mission start, an arrest, a
    // script's teleport): the menu closes as Cancel closes it. The player gets control
    // back wherever they are, the look from before the menu is put back, the camera
    // (switched off above) stays the game's, and the next wardrobe starts afresh.
    CloseMenu();
    state.savedOutfit.Apply(PropSource::Host);
  }
  if (!served()) {
    // The host stopped serving part-way: an opening or closing of this frame did not
    // reach it (the player placed, control given back, the look put back), so the menu
    // stays as it was and a frame served again opens or closes it whole.
    state.menuOpen = wasOpen;
    return leaveUnserved();
  }
  if (state.wasAtSite && !atSite) ClearHelpMessage();
  state.wasAtSite = atSite;

  SampleInput();
  return 0;
}
