// One frame of the open wardrobe: the player is held at the site facing its heading,
// the preview camera is placed in front of the player looking back, the rows run, and
// now and then the player plays a clothing animation.
#include "menu/wardrobe_menu_frame.h"

#include <cstring>

#include "host/host_locations.h"
#include "host/natives.h"
#include "menu/idle_animation.h"
#include "menu/preview_camera.h"

namespace {

constexpr float cameraDistance = 2.1f;       // along the player's forward axis
constexpr float cameraHeightOffset = -0.1f;  // along the player's up axis
constexpr float cameraFieldOfView = 55.0f;
constexpr float halfTurn = 3.1415927f;
constexpr double idleInterval = 20.0;  // seconds of menu time

// Places the camera in front of the player, turned back towards them.
void PlaceCamera(const float* playerMatrix) {
  float* m = PreviewCamera.matrix;
  std::memcpy(m, playerMatrix, sizeof PreviewCamera.matrix);
  // Row 1 is the forward axis, row 2 the up axis, row 3 the position.
  m[12] = m[12] + cameraDistance * m[4];
  m[13] = m[13] + cameraDistance * m[5];
  m[14] = m[14] + cameraDistance * m[6];
  m[12] = m[12] + cameraHeightOffset * m[8];
  m[13] = m[13] + cameraHeightOffset * m[9];
  m[14] = m[14] + cameraHeightOffset * m[10];
  PreviewCamera.fieldOfView = cameraFieldOfView;
  RotateMatrixEuler(m, 0.0f, 0.0f, halfTurn);
}

}  // namespace

void UpdateWardrobeMenu(float siteHeading, const MenuControls& controls) {
  const float* playerMatrix = PlayerPedMatrix();
  int32_t ped = GetPlayerPedHandle();

  // Repeated every frame, so the pose, the lost control and the camera follow the
  // player's character as the host moves it.
  PreparePedForMenuFrame(ped);
  SetPedHeading(ped, siteHeading);
  SetPlayerControl(LocalPlayerIndex(), false);
  // Without the character's matrix there is nothing to aim at: the host keeps its camera.
  if (playerMatrix != nullptr) {
    PreviewCamera.active = true;
    PlaceCamera(playerMatrix);
  }

  BuildWardrobeMenu(controls);

  // Menu time only: the time spent with the menu closed does not count.
  idleSeconds += static_cast<double>(FrameTimeStep());
  if (idleSeconds > idleInterval) {
    PlayIdleAnimation();
    idleSeconds = 0.0;
  }
}
