// One frame of the open wardrobe: the player is held at the site facing its heading
// (turned by the chosen view), the preview camera is placed in front of the site's
// heading looking back, the rows run, and now and then the player plays a clothing
// animation.
#include "menu/wardrobe_menu_frame.h"

#include <cmath>
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
constexpr double radiansPerDegree = 3.14159265358979323846 / 180.0;

// The heading the player is turned to, kept within 0 to 360 degrees.
float TurnedHeading(float siteHeading, float turn) {
  float heading = siteHeading + turn;
  if (heading >= 360.0f) heading -= 360.0f;
  return heading;
}

// How closely the character's forward axis (matrix row 1) points along heading: the
// host's heading h faces (-sin h, cos h) in the ground plane.
float Facing(const float* playerMatrix, float heading) {
  const double h = heading * radiansPerDegree;
  return static_cast<float>(-std::sin(h) * playerMatrix[4] + std::cos(h) * playerMatrix[5]);
}

// The turn the character's matrix carries: the one asked for on this frame, or, when
// the view has just changed and the host has not yet turned the character, the one
// asked for on the frame before.
float CarriedTurn(const float* playerMatrix, float siteHeading, float turn) {
  const float before = WardrobeMenu.headingTurn;
  if (before == turn) return turn;
  const float nowFacing = Facing(playerMatrix, TurnedHeading(siteHeading, turn));
  const float beforeFacing = Facing(playerMatrix, TurnedHeading(siteHeading, before));
  return beforeFacing > nowFacing ? before : turn;
}

// Places the camera in front of the player, turned back towards them. With a turn the
// camera starts from the character's matrix with that turn taken back out, so that it
// stays in front of the site's heading while the player shows another side.
void PlaceCamera(const float* playerMatrix, float carriedTurn, PreviewView view) {
  float* m = PreviewCamera.matrix;
  std::memcpy(m, playerMatrix, sizeof PreviewCamera.matrix);
  if (carriedTurn != 0.0f) RotateMatrixEuler(m, 0.0f, 0.0f, static_cast<float>(-carriedTurn * radiansPerDegree));
  // Row 1 is the forward axis, row 2 the up axis, row 3 the position.
  m[12] = m[12] + cameraDistance * m[4];
  m[13] = m[13] + cameraDistance * m[5];
  m[14] = m[14] + cameraDistance * m[6];
  m[12] = m[12] + cameraHeightOffset * m[8];
  m[13] = m[13] + cameraHeightOffset * m[9];
  m[14] = m[14] + cameraHeightOffset * m[10];
  PreviewCamera.fieldOfView = cameraFieldOfView;
  RotateMatrixEuler(m, 0.0f, 0.0f, halfTurn);

  // Head and Feet: nearer along the camera's line of sight (its row 1 now looks at the
  // player), then up or down along its up axis.
  const float closer = PreviewViewCloser(view);
  const float rise = PreviewViewRise(view);
  if (closer == 0.0f && rise == 0.0f) return;
  for (int k = 0; k < 3; ++k) m[12 + k] = m[12 + k] + closer * m[4 + k];
  for (int k = 0; k < 3; ++k) m[12 + k] = m[12 + k] + rise * m[8 + k];
}

}  // namespace

void EndWardrobeMenuSession(float siteHeading) {
  WardrobeMenuRecord& menu = WardrobeMenu;
  // Nothing armed in one session may act in the next: a single Accept there must never
  // delete, and a notice never locks the outfit rows of a later opening.
  menu.deleteArmed = false;
  menu.saveNoticeSeconds = 0.0;
  menu.naming = false;
  // The turn asked for on the latest menu frame is taken back: the player faces the
  // site's heading, as after a menu left at Front.
  if (menu.headingTurn != 0.0f) SetPedHeading(GetPlayerPedHandle(), siteHeading);
  menu.view = PreviewView::Front;
  menu.headingTurn = 0.0f;
}

void UpdateWardrobeMenu(float siteHeading, const MenuControls& controls) {
  const float* playerMatrix = PlayerPedMatrix();
  int32_t ped = GetPlayerPedHandle();
  const PreviewView view = WardrobeMenu.view;
  const float turn = PreviewViewTurn(view);

  // Repeated every frame, so the pose, the lost control and the camera follow the
  // player's character as the host moves it.
  PreparePedForMenuFrame(ped);
  SetPedHeading(ped, turn == 0.0f ? siteHeading : TurnedHeading(siteHeading, turn));
  SetPlayerControl(LocalPlayerIndex(), false);
  // Without the character's matrix there is nothing to aim at: the host keeps its camera.
  if (playerMatrix != nullptr) {
    PreviewCamera.active = true;
    PlaceCamera(playerMatrix, CarriedTurn(playerMatrix, siteHeading, turn), view);
  }
  WardrobeMenu.headingTurn = turn;

  BuildWardrobeMenu(controls);

  // Menu time only: the time spent with the menu closed does not count.
  idleSeconds += static_cast<double>(FrameTimeStep());
  if (idleSeconds > idleInterval) {
    PlayIdleAnimation();
    idleSeconds = 0.0;
  }
}
