// The per-episode outfit files in the host's working directory.
#pragma once

// File name of the current episode's outfits.
const char* OutfitFileName();
// Makes OutfitTable match the current episode's file.
void LoadOutfits();
// Stores the player's current look under the lowest free number of the current
// episode's file and reloads the table. True only when the outfit was stored.
bool SaveCurrentOutfit();
