// One frame of the open wardrobe menu.
#pragma once

#include "menu/wardrobe_menu.h"

// Holds the player at the wardrobe facing siteHeading (degrees) turned by the chosen
// view, fills the preview camera, runs the rows with controls, and now and then plays
// an idle animation.
void UpdateWardrobeMenu(float siteHeading, const MenuControls& controls);

// Every closing of the menu (Accept, Cancel, the player taken away) ends what its
// session armed: "Delete Outfit" disarmed, a running notice and its lock on the outfit
// rows ended, the name editor left without keeping, and the View back at Front with
// its turn taken back (the player faces siteHeading). Every opening therefore starts
// afresh at Front.
void EndWardrobeMenuSession(float siteHeading);
