// The immediate-mode wardrobe menu: rows laid out anew every frame from the host's
// ped state; only a few integers and flags are kept between frames.
#pragma once
#include <cstdint>

#include "menu/preview_view.h"

// The menu's five controls, each asked for only where a row acts on it: every answer
// asks the host whether a pad is in use, so the rows ask in a fixed order.
struct MenuControls {
  bool (*up)();
  bool (*down)();
  bool (*left)();
  bool (*right)();
  bool (*accept)();
  // Typing a name: a key's press (virtual-key code), a key held down, a pad control's
  // press (index).
  bool (*keyPressed)(int32_t key);
  bool (*keyDown)(int32_t key);
  bool (*controlPressed)(int32_t control);
  // Backspace pressed, or held and due to erase again; the characters a key just
  // pressed types on the player's keyboard layout with Shift as held (UTF-16, up to
  // capacity; 0 for none).
  bool (*erase)();
  int (*characters)(int32_t key, wchar_t* characters, int capacity);
};

struct WardrobeMenuRecord {
  int32_t rowCount = 0;
  int32_t selectedRow = 0;
  int32_t selectedOutfit = 0;
  double saveNoticeSeconds = 0.0;
  bool acceptRequested = false;
  bool cancelRequested = false;
  // Whether the save or deletion that started the running notice changed the file:
  // the notice says "Outfit Saved" or "Outfit Not Saved" accordingly, or for a
  // deletion (deleteNotice) "Outfit Deleted" or "Outfit Not Deleted".
  bool saveStored = false;
  bool deleteNotice = false;
  // The running notice is "Outfit Partly Applied": the outfit put on from the "Outfit"
  // row had parts the player's model lacks, which kept what the player wore.
  bool partlyAppliedNotice = false;
  // "Delete Outfit" takes two Accepts: the first arms it for deleteArmedSeconds of menu
  // time, in the episode it was armed in; moving off the row, Left/Right or closing the
  // menu disarm it.
  bool deleteArmed = false;
  double deleteArmedSeconds = 0.0;
  uint32_t deleteArmedEpisode = 0;
  // The running notice is for naming: "Outfit Named" or "Outfit Not Named".
  bool nameNotice = false;
  // "Name Outfit" edits nameText, the name of outfit namingOutfit of the episode
  // namingEpisode, while naming; nameCursor is the pad's character. Nothing reaches
  // the file until the player keeps the name.
  bool naming = false;
  int32_t namingOutfit = 0;
  uint32_t namingEpisode = 0;
  int32_t nameCursor = 0;
  char nameText[25] = {};
  // The side the preview shows, stepped on the "View" row; every opening starts at
  // Front. headingTurn is the turn of the heading set on the latest menu frame: the
  // host may turn the character a frame later than asked.
  PreviewView view = PreviewView::Front;
  float headingTurn = 0.0f;
};
extern WardrobeMenuRecord WardrobeMenu;

extern const char* const SlotNames[13];

void BuildWardrobeMenu(const MenuControls& controls);
