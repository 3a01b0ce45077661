// One look of the player: drawable and texture per ped component, prop and prop
// texture per prop anchor.
#pragma once
#include <cstdint>

#include "outfits/outfit_name.h"

class IniDocument;

constexpr int ComponentCount = 11;
constexpr int PropAnchorCount = 11;
constexpr int OutfitTableSize = 512;
// The props an anchor offers: indices 0 to 2. The host is not asked; the menu offers
// these three at every anchor it shows.
constexpr int32_t PropChoices = 3;

// Whose word a record's props are: a look the host reported a moment ago (Capture)
// names only props the player's model has; a file (a hand edit, another tool, another
// model) may name any.
enum class PropSource { File, Host };

struct Outfit {
  bool inUse = false;
  uint32_t drawable[ComponentCount] = {};
  uint32_t texture[ComponentCount] = {};
  int32_t prop[PropAnchorCount] = {};  // negative: no prop at that anchor
  int32_t propTexture[PropAnchorCount] = {};
  // The outfit's name as shown (see CleanOutfitName); empty when it has none. Only
  // the table's entries are named, from their section's Name key.
  char name[OutfitNameMaxLength + 1] = {};

  // Reads the player's current look into the four arrays (inUse untouched).
  void Capture();
  // Puts the four arrays on the player. A component whose drawable the player's model
  // lacks, or whose texture that drawable lacks, keeps what the player wears (a file
  // made for another model or a friend's game must never ask the host for a part it
  // does not have). So does an anchor whose prop index lies past the PropChoices,
  // unless the props are the host's own report (PropSource::Host: a look captured
  // from the player, whose model has them). Every other component and anchor is put
  // on (a negative prop clears the anchor). True when every component and anchor was
  // put on. The record itself is never changed.
  bool Apply(PropSource props = PropSource::File) const;
  // Fills the four arrays and the name from the document's current section (missing
  // keys read 0, a missing name is no name).
  void Read(const IniDocument& document);
  // Adds the section to the document and sets its 44 keys from this record; it names
  // nothing (a new outfit is unnamed until the player names it).
  void Write(IniDocument& document, const char* sectionName) const;
};

extern Outfit OutfitTable[OutfitTableSize];

// Index of the first table entry not in use; 512 when all are.
int CountSavedOutfits();
