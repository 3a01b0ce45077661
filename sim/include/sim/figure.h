// The player's character as the screen shows it: simple shapes, one per clothing slot,
// seen through the camera the host has this frame.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct FigurePart {
  std::string name;    // "feet", "legs", "jacket", "torso", "special", "head", "hair", "glasses", "hat"
  int x0, y0, x1, y1;  // pixels of the picture, x1 and y1 exclusive (may lie outside it)
  uint32_t colour;     // 0xRRGGBB, chosen by the slot's drawable (a prop's index)
  int stripes;         // the slot's texture (a prop's texture): that many darker bands, 0 plain
};

struct Figure {
  std::vector<FigurePart> parts;  // in drawing order; none when the player is behind the camera
  std::string pose;               // the idle animation playing ("" when none)
  // The player's side the camera looks at: "front", "right", "back" or "left"; "" while
  // the camera object holds the host's own camera (the figure is then a flat marker).
  std::string side;
};

// Where and how the figure appears in a picture of that size. Props appear only while
// worn.
//   - Through a camera a plug-in wrote: every part is a box on the ped's body, turned
//     with the ped (right, forward and up axes of its matrix); the upright face it turns
//     most to the camera is projected through the camera object's matrix and field of
//     view, the part is the rectangle around that face's corners, and the parts are
//     drawn farthest first. So a camera behind
//     the player sees the back of the hair and of the jacket (no face, no shirt, no
//     glasses), one at the side a narrower figure, one near a larger one cut by the
//     picture's edges. A part with a corner of that face less than 0.1 in front of the
//     camera is left out.
//   - Through the host's own camera: the flat marker of the player it always was, each
//     part an upright rectangle facing the picture around its centre's projection.
Figure FigureOnScreen(int width, int height);

}  // namespace sim
