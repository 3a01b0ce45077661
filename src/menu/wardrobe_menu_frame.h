// One frame of the open wardrobe menu.
#pragma once

#include "menu/wardrobe_menu.h"

// Holds the player at the wardrobe facing siteHeading (degrees) turned by the chosen
// view, fills the preview camera, runs the rows with controls, and now and then plays
// an idle animation. On the frame that raises Accept or Cancel the player is turned
// back to siteHeading.
void UpdateWardrobeMenu(float siteHeading, const MenuControls& controls);

// Every opening of the menu starts at the Front view.
void StartWardrobeMenuView();
