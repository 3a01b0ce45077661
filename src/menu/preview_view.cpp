// The six views of the preview and what each does to the player's heading and to the
// camera. The camera of Front is the plain preview camera: 2.1 in front of the player,
// 0.1 below the middle of the body (where the host keeps the ped's position, the feet a
// metre below it and the top of the head some 0.8 above), field of view 55.
#include "menu/preview_view.h"

namespace {

struct ViewRecord {
  const char* name;
  float turn;    // degrees added to the site's heading
  float closer;  // along the camera's line of sight
  float rise;    // along the camera's up axis
};

// Right is a quarter turn to the player's left, so that their right side faces the
// camera; Left the other way. Head: the camera 0.75 from the middle of the body, at
// 0.65 above it, so that the head with its hat or glasses fills about half the picture
// and the hat's top (0.9) is still in it at 16:9 and at 4:3. Feet: 0.7 from the body,
// at 0.85 below its middle (the shoes lie at 0.9 to 1.0 below it), showing the shoes
// and the legs up to the knees.
constexpr ViewRecord views[PreviewViewCount] = {
    {"Front", 0.0f, 0.0f, 0.0f},  {"Right", 90.0f, 0.0f, 0.0f}, {"Back", 180.0f, 0.0f, 0.0f},
    {"Left", 270.0f, 0.0f, 0.0f}, {"Head", 0.0f, 1.35f, 0.75f}, {"Feet", 0.0f, 1.4f, -0.75f},
};

const ViewRecord& Of(PreviewView view) {
  const uint32_t index = static_cast<uint32_t>(view);
  return views[index < PreviewViewCount ? index : 0];
}

}  // namespace

const char* PreviewViewName(PreviewView view) { return Of(view).name; }
float PreviewViewTurn(PreviewView view) { return Of(view).turn; }
float PreviewViewCloser(PreviewView view) { return Of(view).closer; }
float PreviewViewRise(PreviewView view) { return Of(view).rise; }
