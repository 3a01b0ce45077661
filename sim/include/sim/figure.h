// The player's character as the screen shows it: simple shapes, one per clothing slot,
// seen through the camera the host has this frame.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace sim {

struct FigurePart {
  std::string name;    // "feet", "legs", "jacket", "torso", "special", "head", "hair", "glasses", "hat"
  int x0, y0, x1, y1;  // pixels of the picture, x1 and y1 exclusive
  uint32_t colour;     // 0xRRGGBB, chosen by the slot's drawable (a prop's index)
  int stripes;         // the slot's texture (a prop's texture): that many darker bands, 0 plain
};

struct Figure {
  std::vector<FigurePart> parts;  // in drawing order; none when the player is behind the camera
  std::string pose;               // the idle animation playing ("" when none)
};

// Where and how the figure appears in a picture of that size: the player's ped matrix
// (position, up and right axes) projected through the camera object's matrix and
// field of view. Props appear only while worn.
Figure FigureOnScreen(int width, int height);

}  // namespace sim
