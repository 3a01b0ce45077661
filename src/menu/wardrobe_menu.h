// The immediate-mode wardrobe menu: rows laid out anew every frame from the host's
// ped state; only a few integers and flags are kept between frames.
#pragma once
#include <cstdint>

// The menu's five controls, each asked for only where a row acts on it: every answer
// asks the host whether a pad is in use, so the rows ask in a fixed order.
struct MenuControls {
  bool (*up)();
  bool (*down)();
  bool (*left)();
  bool (*right)();
  bool (*accept)();
};

struct WardrobeMenuRecord {
  int32_t rowCount = 0;
  int32_t selectedRow = 0;
  int32_t selectedOutfit = 0;
  double saveNoticeSeconds = 0.0;
  bool acceptRequested = false;
  bool cancelRequested = false;
  // Whether the save that started the running notice stored the outfit: the notice
  // says "Outfit Saved" or "Outfit Not Saved" accordingly.
  bool saveStored = false;
};
extern WardrobeMenuRecord WardrobeMenu;

extern const char* const SlotNames[13];

void BuildWardrobeMenu(const MenuControls& controls);
