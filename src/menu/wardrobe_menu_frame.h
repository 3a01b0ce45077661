// One frame of the open wardrobe menu.
#pragma once

#include "menu/wardrobe_menu.h"

// Holds the player at the wardrobe facing siteHeading (degrees), fills the preview
// camera, runs the rows with controls, and now and then plays an idle animation.
void UpdateWardrobeMenu(float siteHeading, const MenuControls& controls);
