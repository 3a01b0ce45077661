// The wardrobe menu's rows and controls. Nothing about the clothing is kept here: each
// frame the rows are laid out again from what the player's ped wears right now, and a
// row is known only by its position in this frame's order.
#include "menu/wardrobe_menu.h"

#include <cstdio>
#include <cstring>

#include "host/host_locations.h"
#include "host/natives.h"
#include "menu/menu_drawing.h"
#include "outfits/outfit.h"
#include "outfits/outfit_files.h"
#include "outfits/outfit_name.h"

WardrobeMenuRecord WardrobeMenu;

const char* const SlotNames[13] = {
    "Head", "Torso",     "Legs",  "Special", "Hands", "Feet",    "Jacket",
    "Hair", "Special 2", "Teeth", "Face",    "Hats",  "Glasses",
};

namespace {

constexpr uint32_t menuPropAnchorCount = 2;
// The host is not asked how many props an anchor offers; the menu always offers three.
constexpr int32_t propChoices = PropChoices;
constexpr int32_t noProp = -1;

constexpr double saveNoticeDuration = 2.0;   // seconds of game time
constexpr double deleteArmedDuration = 3.0;  // seconds of menu time
constexpr int32_t helpTextMilliseconds = 100;
constexpr int32_t noticeMilliseconds = 2500;

constexpr int32_t frontendSoundId = -1;
constexpr const char* valueSound = "FRONTEND_MENU_HIGHLIGHT";
constexpr const char* moveSound = "FRONTEND_MENU_TOGGLE_ON";

constexpr const char* savedNotice = "Outfit Saved";
constexpr const char* notSavedNotice = "Outfit Not Saved";
constexpr const char* deletedNotice = "Outfit Deleted";
constexpr const char* notDeletedNotice = "Outfit Not Deleted";
constexpr const char* namedNotice = "Outfit Named";
constexpr const char* notNamedNotice = "Outfit Not Named";

// Pad controls that edit a name (the menu's own and the wardrobe control) and the
// keys that do (virtual-key codes).
constexpr int32_t padUp = 65;
constexpr int32_t padDown = 64;
constexpr int32_t padLeft = 66;
constexpr int32_t padRight = 67;
constexpr int32_t padAccept = 77;
constexpr int32_t padWardrobe = 23;
constexpr int32_t keyBackspace = 0x08;
constexpr int32_t keyEnter = 0x0D;
constexpr int32_t keyArrowUp = 0x26;
constexpr int32_t keyArrowDown = 0x28;
constexpr const char* partlyAppliedNotice = "Outfit Partly Applied";

struct HelpTexts {
  const char* adjust;
  const char* apply;
  const char* save;
  const char* select;
  const char* deleteOutfit;
  // While "Delete Outfit" is armed: which outfit goes (%s: as the Outfit row shows
  // it), how to confirm and how to keep it. Only glyph tokens the other help lines use.
  const char* deleteArmed;
  const char* name;
  // While a name is edited: how to change it, keep it and leave it.
  const char* naming;
};

constexpr HelpTexts padHelp = {
    "~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust",
    "~PAD_UP~~PAD_DOWN~ Move~n~~PAD_LEFT~~PAD_RIGHT~ Adjust~n~~INPUT_FRONTEND_ACCEPT~ Apply",
    "~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Save",
    "~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Select",
    "~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Delete",
    "Delete outfit %s?~n~~INPUT_FRONTEND_ACCEPT~ again: delete it~n~~PAD_UP~~PAD_DOWN~~PAD_LEFT~~PAD_RIGHT~ "
    "Keep it",
    "~PAD_UP~~PAD_DOWN~ Move~n~~INPUT_FRONTEND_ACCEPT~ Name",
    "~PAD_UP~~PAD_DOWN~ Change letter~n~~PAD_RIGHT~ Add letter~n~~PAD_LEFT~ Remove letter~n~~INPUT_FRONTEND_ACCEPT~ "
    "Keep name~n~Wardrobe button: leave without keeping",
};

constexpr HelpTexts keyboardHelp = {
    "~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_MOVE_LEFT~~INPUT_MOVE_RIGHT~ Adjust",
    "~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_MOVE_LEFT~~INPUT_MOVE_RIGHT~ Adjust~n~~INPUT_PICKUP~ Apply",
    "~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_PICKUP~ Save",
    "~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_PICKUP~ Select",
    "~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_PICKUP~ Delete",
    "Delete outfit %s?~n~~INPUT_PICKUP~ again: delete it~n~~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~~INPUT_MOVE_LEFT~~"
    "INPUT_MOVE_RIGHT~ Keep it",
    "~INPUT_MOVE_UP~~INPUT_MOVE_DOWN~ Move~n~~INPUT_PICKUP~ Name",
    "Type the name (Shift: capitals)~n~Backspace: remove letter~n~Enter: keep name~n~Arrow Up or Down: leave "
    "without keeping",
};

// What every row needs besides the ped: this frame's help texts and controls.
struct RowContext {
  const HelpTexts& help;
  const MenuControls& controls;
  bool pad;  // the player uses a pad this frame
};

void PlayValueSound() { PlayFrontendSound(frontendSoundId, valueSound); }

// Left/Right on the highlighted row, stepping value through first .. first + count - 1
// (both at once cancel out): below the first is the last, past the last (as the host's
// unsigned count sees it) is the first, and a step plays the value sound. True when the
// value changed.
bool StepValue(int32_t& value, int32_t first, uint32_t count, const MenuControls& controls) {
  int32_t delta = 0;
  if (controls.left()) delta -= 1;
  if (controls.right()) delta += 1;
  if (delta == 0) return false;
  PlayValueSound();
  // In 64 bits: the value comes from the host and may lie anywhere in the 32-bit range.
  int64_t step = static_cast<int64_t>(value) - first + delta;
  if (step < 0) step = count - 1;
  if (static_cast<uint64_t>(step) >= count) step = 0;
  value = static_cast<int32_t>(first + step);
  return true;
}

// The same for a row whose help line is the adjust help, shown first.
bool AdjustValue(int32_t& value, int32_t first, uint32_t count, const RowContext& row) {
  ShowHelpText(row.help.adjust, helpTextMilliseconds);
  return StepValue(value, first, count, row.controls);
}

// A highlighted row that acts on Accept: the value sound, and true.
bool Activated(const MenuControls& controls) {
  if (!controls.accept()) return false;
  PlayValueSound();
  return true;
}

bool AnyDrawableHasVariants(int32_t ped, uint32_t component) {
  uint32_t drawableCount = GetNumberOfDrawables(ped, component);
  for (uint32_t drawable = 0; drawable < drawableCount; ++drawable) {
    if (GetNumberOfTextures(ped, component, drawable) > 1) return true;
  }
  return false;
}

// A component's drawable row, and below it its variant row: a working one when the
// current drawable has several textures, a disabled "1/1" placeholder when only other
// drawables of the component have.
void ComponentRows(int32_t ped, uint32_t component, const RowContext& row) {
  uint32_t drawableCount = GetNumberOfDrawables(ped, component);
  uint32_t drawableBefore = GetPedDrawable(ped, component);
  uint32_t textureCount = GetNumberOfTextures(ped, component, drawableBefore);
  if (drawableCount <= 1) return;

  char label[64];
  char value[64];
  int32_t drawable = static_cast<int32_t>(GetPedDrawable(ped, component));
  int32_t texture = static_cast<int32_t>(GetPedTexture(ped, component));

  std::snprintf(value, sizeof value, "%d/%d", drawable + 1, static_cast<int32_t>(drawableCount));
  if (MenuRow(SlotNames[component], value, false) && AdjustValue(drawable, 0, drawableCount, row)) {
    SetPedComponent(ped, component, static_cast<uint32_t>(drawable), 0);
  }

  // The variant row follows the texture count read before the drawable row acted, so
  // it catches up with a changed drawable on the next frame.
  std::snprintf(label, sizeof label, "%s Variant", SlotNames[component]);
  if (textureCount > 1) {
    std::snprintf(value, sizeof value, "%d/%d", texture + 1, static_cast<int32_t>(textureCount));
    if (MenuRow(label, value, false) && AdjustValue(texture, 0, textureCount, row)) {
      SetPedComponent(ped, component, static_cast<uint32_t>(drawable), static_cast<uint32_t>(texture));
    }
  } else if (AnyDrawableHasVariants(ped, component)) {
    // Shown so the row set does not jump as the player steps through drawables; it
    // can be highlighted but does nothing.
    MenuRow(label, "1/1", true);
  }
}

// Whether this frame has a row at index row, known before any row is drawn. Rows are
// counted as they are drawn (ComponentRows' rule for each component), from the rows
// every frame has: the prop rows and the seven from "Outfit" to "Cancel". The host is
// asked only until the count passes row.
bool FrameHasRow(int32_t ped, int32_t row) {
  constexpr int32_t rowsOfEveryFrame = static_cast<int32_t>(menuPropAnchorCount) + 7;
  int32_t rows = rowsOfEveryFrame;
  for (uint32_t component = 0; component < ComponentCount && rows <= row; ++component) {
    if (GetNumberOfDrawables(ped, component) <= 1) continue;
    rows += 1;
    const uint32_t textures = GetNumberOfTextures(ped, component, GetPedDrawable(ped, component));
    if (textures > 1 || AnyDrawableHasVariants(ped, component)) rows += 1;
  }
  return row < rows;
}

// The prop row of an anchor: None, then the three props, then None again.
void PropRow(int32_t ped, uint32_t anchor, const RowContext& row) {
  int32_t prop = noProp;
  GetPedPropIndex(ped, anchor, &prop);

  char value[64];
  if (prop == noProp) {
    std::snprintf(value, sizeof value, "None");
  } else {
    std::snprintf(value, sizeof value, "%d/%d", prop + 1, propChoices);
  }
  if (!MenuRow(SlotNames[ComponentCount + anchor], value, false)) return;
  if (!AdjustValue(prop, noProp, propChoices + 1, row)) return;
  if (prop == noProp) {
    ClearPedProp(ped, anchor);
  } else {
    SetPedProp(ped, anchor, prop);
  }
}

// The outfit on the "Outfit" row as the player knows it: "3/17", and its name after
// that when it has one ("3/17 Beach Day").
void OutfitShown(char* text, size_t size, int32_t outfitCount) {
  const int32_t index = WardrobeMenu.selectedOutfit;
  const char* name = index >= 0 && index < outfitCount ? OutfitTable[index].name : "";
  std::snprintf(text, size, name[0] != '\0' ? "%d/%d %s" : "%d/%d", index + 1, outfitCount, name);
}

void OutfitRow(const RowContext& row) {
  int32_t outfitCount = CountSavedOutfits();
  // Loading another episode's file can leave fewer outfits than the index: start over
  // at the first, so an entry that is not in use is never shown or applied.
  if (outfitCount < WardrobeMenu.selectedOutfit + 1) WardrobeMenu.selectedOutfit = 0;

  char value[64];
  OutfitShown(value, sizeof value, outfitCount);
  FitValueText(value, false);
  if (!MenuRow("Outfit", value, outfitCount <= 0)) return;

  if (outfitCount > 0) {
    StepValue(WardrobeMenu.selectedOutfit, 0, static_cast<uint32_t>(outfitCount), row.controls);
    if (Activated(row.controls)) {
      const bool whole = OutfitTable[WardrobeMenu.selectedOutfit].Apply();
      if (!whole) {
        WardrobeMenu.partlyAppliedNotice = true;
        WardrobeMenu.saveNoticeSeconds = saveNoticeDuration;
      } else if (WardrobeMenu.partlyAppliedNotice) {
        // An outfit that went on whole ends the notice about the one before it.
        WardrobeMenu.saveNoticeSeconds = 0.0;
      }
    }
  }
  ShowHelpText(row.help.apply, helpTextMilliseconds);
}

void SaveRow(const RowContext& row) {
  bool noticeRunning = WardrobeMenu.saveNoticeSeconds > 0.0;
  if (!MenuRow("Save Outfit", nullptr, noticeRunning) || noticeRunning) return;
  if (Activated(row.controls)) {
    WardrobeMenu.saveStored = SaveCurrentOutfit();
    WardrobeMenu.deleteNotice = false;
    WardrobeMenu.nameNotice = false;
    WardrobeMenu.partlyAppliedNotice = false;
    WardrobeMenu.saveNoticeSeconds = saveNoticeDuration;
  }
  ShowHelpText(row.help.save, helpTextMilliseconds);
}

int32_t NameLength() { return static_cast<int32_t>(std::strlen(WardrobeMenu.nameText)); }

// The pad edits the character under its cursor: an empty name gets a first "A", and
// the cursor never lies past the last character.
void KeepPadCursorOnAName() {
  WardrobeMenuRecord& menu = WardrobeMenu;
  if (NameLength() == 0) std::strcpy(menu.nameText, "A");
  if (menu.nameCursor >= NameLength()) menu.nameCursor = NameLength() - 1;
  if (menu.nameCursor < 0) menu.nameCursor = 0;
}

void StartNaming(int32_t outfitCount) {
  WardrobeMenuRecord& menu = WardrobeMenu;
  menu.naming = true;
  menu.namingOutfit = menu.selectedOutfit;
  menu.namingEpisode = EpisodeNumber();
  const char* name = menu.selectedOutfit < outfitCount ? OutfitTable[menu.selectedOutfit].name : "";
  std::snprintf(menu.nameText, sizeof menu.nameText, "%s", name);
  menu.nameCursor = NameLength() - 1;
}

// Writes the name being edited to the file and starts the notice that says whether it
// went in; a name of spaces only removes the outfit's name.
void KeepName() {
  WardrobeMenuRecord& menu = WardrobeMenu;
  PlayValueSound();
  menu.naming = false;
  menu.saveStored = NameOutfit(menu.namingOutfit, menu.nameText);
  menu.deleteNotice = false;
  menu.partlyAppliedNotice = false;
  menu.nameNotice = true;
  menu.saveNoticeSeconds = saveNoticeDuration;
}

void AddNameCharacter(char c) {
  WardrobeMenuRecord& menu = WardrobeMenu;
  const int32_t length = NameLength();
  if (length >= static_cast<int32_t>(OutfitNameMaxLength)) return;
  menu.nameText[length] = c;
  menu.nameText[length + 1] = '\0';
  menu.nameCursor = length;
}

// Keyboard: typed characters go to the end of the name, each key typing what the
// player's layout gives it with Shift as held; what a name may not hold is dropped.
// True when editing ended.
bool TypeName(const MenuControls& controls) {
  WardrobeMenuRecord& menu = WardrobeMenu;
  if (controls.keyPressed(keyEnter)) {
    KeepName();
    return true;
  }
  if (controls.keyPressed(keyArrowUp) || controls.keyPressed(keyArrowDown)) {
    menu.naming = false;
    return true;
  }
  if (controls.erase() && NameLength() > 0) {
    menu.nameText[NameLength() - 1] = '\0';
    if (menu.nameCursor >= NameLength()) menu.nameCursor = NameLength() - 1;
  }
  for (int32_t key = 1; key <= 254; ++key) {
    if (key == keyBackspace || !controls.keyPressed(key)) continue;
    wchar_t typed[4];
    const int count = controls.characters(key, typed, 4);
    for (int i = 0; i < count; ++i) {
      if (typed[i] > 0 && typed[i] < 0x80 && IsOutfitNameCharacter(static_cast<char>(typed[i]))) {
        AddNameCharacter(static_cast<char>(typed[i]));
      }
    }
  }
  return false;
}

// Pad: Up and Down step the character under the cursor through the name's characters,
// Right adds an "A" after it, Left removes it (not the first). True when editing ended.
bool StepName(const MenuControls& controls) {
  WardrobeMenuRecord& menu = WardrobeMenu;
  if (controls.controlPressed(padWardrobe)) {
    menu.naming = false;
    return true;
  }
  if (controls.controlPressed(padAccept)) {
    KeepName();
    return true;
  }
  KeepPadCursorOnAName();
  int32_t step = 0;
  if (controls.controlPressed(padUp)) step += 1;
  if (controls.controlPressed(padDown)) step -= 1;
  if (step != 0) {
    char& c = menu.nameText[menu.nameCursor];
    const char* found = std::strchr(OutfitNameCharacters, c);
    int32_t index = found != nullptr && c != '\0' ? static_cast<int32_t>(found - OutfitNameCharacters) : 0;
    index = (index + step + static_cast<int32_t>(OutfitNameCharacterCount)) %
            static_cast<int32_t>(OutfitNameCharacterCount);
    c = OutfitNameCharacters[index];
  }
  if (controls.controlPressed(padLeft) && menu.nameCursor > 0) {
    std::memmove(menu.nameText + menu.nameCursor, menu.nameText + menu.nameCursor + 1,
                 static_cast<size_t>(NameLength() - menu.nameCursor));
    menu.nameCursor -= 1;
  }
  if (controls.controlPressed(padRight) && NameLength() < static_cast<int32_t>(OutfitNameMaxLength)) {
    const int32_t after = menu.nameCursor + 1;
    std::memmove(menu.nameText + after + 1, menu.nameText + after, static_cast<size_t>(NameLength() - after + 1));
    menu.nameText[after] = 'A';
    menu.nameCursor = after;
  }
  return false;
}

// The name being edited with its cursor: the pad's character in brackets, the
// keyboard's end marked by "_". Brackets are never part of a name.
void NameBeingEdited(char* text, size_t size, bool pad) {
  const WardrobeMenuRecord& menu = WardrobeMenu;
  if (!pad) {
    std::snprintf(text, size, "%s_", menu.nameText);
    FitValueText(text, true);
    return;
  }
  const int32_t cursor = menu.nameCursor;
  std::snprintf(text, size, "%.*s[%c]%s", static_cast<int>(cursor), menu.nameText, menu.nameText[cursor],
                menu.nameText + cursor + 1);
  FitValueText(text, cursor * 2 > NameLength());
}

// Names the outfit shown on the "Outfit" row. Accept starts editing its name; the row
// then shows the name being edited, and keys or pad controls change it until the player
// keeps it or leaves.
void NameRow(const RowContext& row) {
  WardrobeMenuRecord& menu = WardrobeMenu;
  const int32_t outfitCount = CountSavedOutfits();
  const bool disabled = outfitCount <= 0 || menu.saveNoticeSeconds > 0.0;
  const bool highlighted = menu.rowCount == menu.selectedRow;
  // Editing belongs to one outfit of one episode, on this row.
  if (menu.naming &&
      (disabled || !highlighted || EpisodeNumber() != menu.namingEpisode || menu.namingOutfit != menu.selectedOutfit)) {
    menu.naming = false;
  }
  // The keys act before the row is drawn, so the row shows what was just typed. The
  // frame that ends editing does nothing else on the row.
  const bool editing = menu.naming;
  if (editing) {
    if (row.pad) {
      StepName(row.controls);
    } else {
      TypeName(row.controls);
    }
    if (menu.naming && row.pad) KeepPadCursorOnAName();
  }

  char value[64];
  if (menu.naming) {
    NameBeingEdited(value, sizeof value, row.pad);
  } else {
    const char* name = menu.selectedOutfit < outfitCount ? OutfitTable[menu.selectedOutfit].name : "";
    std::snprintf(value, sizeof value, "%s", name[0] != '\0' ? name : "-");
    FitValueText(value, false);
  }
  if (!MenuRow("Name Outfit", value, disabled) || disabled) return;
  if (editing) {
    if (menu.naming) ShowHelpText(row.help.naming, helpTextMilliseconds);
    return;
  }
  if (Activated(row.controls)) {
    StartNaming(outfitCount);
    if (row.pad) KeepPadCursorOnAName();
  }
  ShowHelpText(menu.naming ? row.help.naming : row.help.name, helpTextMilliseconds);
}

// Deletes the outfit shown on the "Outfit" row, on a second Accept so that one stray
// press never loses an outfit. The first Accept arms the row and the help line names
// the outfit; anything but staying on the row and confirming soon disarms it.
void DeleteRow(const RowContext& row) {
  WardrobeMenuRecord& menu = WardrobeMenu;
  const int32_t outfitCount = CountSavedOutfits();
  const bool disabled = outfitCount <= 0 || menu.saveNoticeSeconds > 0.0;
  char value[64];
  std::snprintf(value, sizeof value, "%d/%d", menu.selectedOutfit + 1, outfitCount);
  if (!MenuRow("Delete Outfit", value, disabled) || disabled) {
    menu.deleteArmed = false;
    return;
  }
  if (menu.deleteArmed) {
    const bool left = row.controls.left();
    const bool right = row.controls.right();
    if (left || right || EpisodeNumber() != menu.deleteArmedEpisode) menu.deleteArmed = false;
  }
  if (Activated(row.controls)) {
    if (!menu.deleteArmed) {
      menu.deleteArmed = true;
      menu.deleteArmedSeconds = deleteArmedDuration;
      menu.deleteArmedEpisode = EpisodeNumber();
    } else {
      menu.deleteArmed = false;
      menu.saveStored = DeleteOutfit(menu.selectedOutfit);
      menu.deleteNotice = true;
      menu.nameNotice = false;
      menu.partlyAppliedNotice = false;
      menu.saveNoticeSeconds = saveNoticeDuration;
      // The row shows an outfit in use: the one that took the deleted one's place, or
      // the new last.
      const int32_t remaining = CountSavedOutfits();
      if (menu.selectedOutfit >= remaining) menu.selectedOutfit = remaining > 0 ? remaining - 1 : 0;
      return;
    }
  }
  if (menu.deleteArmed) {
    // Menu time, counted from the frame that armed it.
    menu.deleteArmedSeconds -= static_cast<double>(FrameTimeStep());
    if (menu.deleteArmedSeconds <= 0.0) menu.deleteArmed = false;
  }
  if (menu.deleteArmed) {
    char outfit[64];
    OutfitShown(outfit, sizeof outfit, outfitCount);
    char help[256];
    std::snprintf(help, sizeof help, row.help.deleteArmed, outfit);
    ShowHelpText(help, helpTextMilliseconds);
  } else {
    ShowHelpText(row.help.deleteOutfit, helpTextMilliseconds);
  }
}

// The side of the player the preview shows: Left and Right step through the views,
// wrapping both ways; the menu's frame step turns the player and places the camera.
void ViewRow(const RowContext& row) {
  int32_t view = static_cast<int32_t>(WardrobeMenu.view);
  if (MenuRow("View", PreviewViewName(WardrobeMenu.view), false) && AdjustValue(view, 0, PreviewViewCount, row)) {
    WardrobeMenu.view = static_cast<PreviewView>(view);
  }
}

// "Accept" and "Cancel" only raise a request; the frame driver closes the menu.
void RequestRow(const char* label, bool& request, const RowContext& row) {
  if (!MenuRow(label, nullptr, false)) return;
  ShowHelpText(row.help.select, helpTextMilliseconds);
  if (Activated(row.controls)) request = true;
}

}  // namespace

void BuildWardrobeMenu(const MenuControls& controls) {
  const bool pad = IsUsingPad();
  const RowContext row{pad ? padHelp : keyboardHelp, controls, pad};
  // While a name is typed the menu's keys and pad controls edit it: the highlight stays.
  const bool naming = WardrobeMenu.naming;
  int32_t ped = GetPlayerPedHandle();
  WardrobeMenu.rowCount = 0;
  BeginMenuFrameText();
  // A highlight kept from before may lie past this frame's rows (a menu opened again on
  // a model with fewer choices): it starts over at the first row before any row is
  // drawn, so that this frame already shows and works a highlighted row.
  if (!FrameHasRow(ped, WardrobeMenu.selectedRow)) WardrobeMenu.selectedRow = 0;

  for (uint32_t component = 0; component < ComponentCount; ++component) {
    ComponentRows(ped, component, row);
  }
  for (uint32_t anchor = 0; anchor < menuPropAnchorCount; ++anchor) {
    PropRow(ped, anchor, row);
  }
  OutfitRow(row);
  SaveRow(row);
  NameRow(row);
  DeleteRow(row);
  ViewRow(row);
  RequestRow("Accept", WardrobeMenu.acceptRequested, row);
  RequestRow("Cancel", WardrobeMenu.cancelRequested, row);

  // The notice runs on game time and only while the menu runs; printed after the rows,
  // it replaces the help line until it ends.
  if (WardrobeMenu.saveNoticeSeconds > 0.0) {
    WardrobeMenu.saveNoticeSeconds -= static_cast<double>(FrameTimeStep());
    const char* notice = WardrobeMenu.saveStored ? savedNotice : notSavedNotice;
    if (WardrobeMenu.deleteNotice) notice = WardrobeMenu.saveStored ? deletedNotice : notDeletedNotice;
    if (WardrobeMenu.nameNotice) notice = WardrobeMenu.saveStored ? namedNotice : notNamedNotice;
    if (WardrobeMenu.partlyAppliedNotice) notice = partlyAppliedNotice;
    ShowHelpText(notice, noticeMilliseconds);
  }

  // Rows are handled before the highlight moves, so a Down together with Right changes
  // the row that was highlighted when the frame began.
  if (!naming && controls.up()) {
    WardrobeMenu.selectedRow -= 1;
    PlayFrontendSound(frontendSoundId, moveSound);
  }
  if (!naming && controls.down()) {
    WardrobeMenu.selectedRow += 1;
    PlayFrontendSound(frontendSoundId, moveSound);
  }
  if (WardrobeMenu.selectedRow < 0) WardrobeMenu.selectedRow = WardrobeMenu.rowCount - 1;
  if (WardrobeMenu.selectedRow >= WardrobeMenu.rowCount) WardrobeMenu.selectedRow = 0;
}
