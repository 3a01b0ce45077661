// The per-frame wardrobe driver and the eight wardrobe sites.
#pragma once
#include <cstdint>

#include "outfits/outfit.h"

struct WardrobeSite {
  float x, y, z;
  float heading;  // degrees
};
extern const WardrobeSite WardrobeSites[8];

struct WardrobeDriverStateRecord {
  uint32_t lastEpisode = 0;
  const WardrobeSite* currentSite = nullptr;
  bool wasAtSite = false;
  bool menuOpen = false;
  Outfit savedOutfit;
};
extern WardrobeDriverStateRecord WardrobeDriverState;

// Pad control whose press opens the wardrobe.
constexpr int32_t UseWardrobeControl = 23;

int32_t WardrobeFrame();
