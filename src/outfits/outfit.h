// One look of the player: drawable and texture per ped component, prop and prop
// texture per prop anchor.
#pragma once
#include <cstdint>

class IniDocument;

constexpr int ComponentCount = 11;
constexpr int PropAnchorCount = 11;
constexpr int OutfitTableSize = 512;

struct Outfit {
  bool inUse = false;
  uint32_t drawable[ComponentCount] = {};
  uint32_t texture[ComponentCount] = {};
  int32_t prop[PropAnchorCount] = {};  // negative: no prop at that anchor
  int32_t propTexture[PropAnchorCount] = {};

  // Reads the player's current look into the four arrays (inUse untouched).
  void Capture();
  // Puts the four arrays on the player.
  void Apply() const;
  // Fills the four arrays from the document's current section (missing keys read 0).
  void Read(const IniDocument& document);
  // Adds the section to the document and sets its 44 keys from this record.
  void Write(IniDocument& document, const char* sectionName) const;
};

extern Outfit OutfitTable[OutfitTableSize];

// Index of the first table entry not in use; 512 when all are.
int CountSavedOutfits();
