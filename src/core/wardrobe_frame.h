// The per-frame wardrobe driver and the eight wardrobe sites.
#pragma once
#include <cstdint>

#include "menu/wardrobe_menu.h"
#include "outfits/outfit.h"

struct WardrobeSite {
  float x, y, z;
  float heading;  // degrees
};
extern const WardrobeSite WardrobeSites[8];

struct WardrobeDriverRecord {
  uint32_t lastEpisode = 0;
  const WardrobeSite* currentSite = nullptr;
  bool wasAtSite = false;
  bool menuOpen = false;
  Outfit savedOutfit;
};
extern WardrobeDriverRecord WardrobeDriverState;

// The menu's controls as the player works them: the pad's or the keyboard's, whichever
// the host says is in use at the moment a row asks.
extern const MenuControls PlayerMenuControls;

// Pad control whose press opens the wardrobe.
constexpr int32_t UseWardrobeControl = 23;

int32_t WardrobeFrame();
