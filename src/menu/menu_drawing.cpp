// Row text, help lines and the save notice, all through the host's text natives. The
// menu is text only: a label column, a value column, and colours from the host's own
// colour table for the normal, highlighted and disabled states.
#include "menu/menu_drawing.h"

#include "host/host_locations.h"
#include "host/natives.h"
#include "menu/own_key_names.h"
#include "menu/wardrobe_menu.h"

namespace {

// Layout, in the host's normalised screen coordinates. Both columns are scaled by the
// screen's aspect so the menu keeps its place on wide and narrow screens alike.
constexpr float labelColumn = 0.15f;
constexpr float valueColumnOffset = 0.25f;
constexpr float firstRowY = 0.05f;
constexpr float rowPitch = 0.04f;
constexpr int32_t textSize = 50;  // percent
constexpr float textWidthFactor = 0.7625f;
constexpr int32_t menuFont = 7;
// The last row that fits on the screen (y = 0.93). Once the highlight goes further, the
// rows move up so that the highlighted row is drawn there, the last one on screen.
constexpr int32_t lastVisibleRow = 22;

// Entries of the host's colour table for each row state.
constexpr int normalColour = 60;
constexpr int highlightedColour = 62;
constexpr int disabledHighlightedColour = 63;
constexpr int disabledColour = 66;

constexpr const char* literalLabel = "STRING";

}  // namespace

double ScreenAspectFactor() {
  int32_t width = 0;
  int32_t height = 0;
  GetScreenResolution(&width, &height);
  return static_cast<double>(height) / static_cast<double>(width);
}

void DrawMenuText(float x, float y, const char* text, uint32_t colour, double size, bool flagB, bool rightAlign,
                  bool effect, int32_t font, float widthFactor) {
  double s = size * 0.01;
  double w = s * ScreenAspectFactor();
  SetTextFlagA(false);
  SetTextFont(font);
  SetTextEffectA(effect, 0, 0, 0, 255);
  SetTextFlagB(flagB);
  SetTextRightJustify(rightAlign);
  SetTextEffectB(false, 0, 0, 0, 0);
  SetTextFlagC(true);
  SetTextColour((colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF, (colour >> 24) & 0xFF);
  SetTextScale(static_cast<float>(static_cast<double>(widthFactor) * w), static_cast<float>(s));
  SetTextEffectA(effect, 0, 0, 0, 255);
  if (rightAlign) {
    SetTextWrap(0.0f, x);
    x = 0.0f;
  }
  SetTextFlagD(true);
  DisplayLiteralText(x, y, literalLabel, text);
}

void ShowHelpText(const char* text, int32_t milliseconds) {
  char named[256];
  text = WithOwnKeyNames(text, named, sizeof named);
  // Every print clears the previous one, so the last print of a frame is the one seen.
  ClearPrintedMessages();
  PrintLiteralMessage(literalLabel, text, milliseconds, true);
}

bool MenuRow(const char* label, const char* value, bool disabled) {
  float x = static_cast<float>(static_cast<double>(labelColumn) * ScreenAspectFactor());
  float dx = static_cast<float>(static_cast<double>(valueColumnOffset) * ScreenAspectFactor());

  bool highlighted = WardrobeMenu.rowCount == WardrobeMenu.selectedRow;
  int colourEntry;
  if (disabled) {
    colourEntry = highlighted ? disabledHighlightedColour : disabledColour;
  } else {
    colourEntry = highlighted ? highlightedColour : normalColour;
  }
  // Read at every row: the menu follows whatever the host holds in its table.
  uint32_t colour = HostColour(colourEntry);

  if (!IsTextFontLoaded(menuFont) && IsTextFontAvailable(menuFont)) {
    LoadTextFont(menuFont);
  }
  // Until the font is in, nothing is drawn, but the row still counts, so the
  // highlight and the controls work the same.
  // Rows outside the window are not drawn but count and work as any other.
  const int32_t offset = WardrobeMenu.selectedRow > lastVisibleRow ? WardrobeMenu.selectedRow - lastVisibleRow : 0;
  const int32_t position = WardrobeMenu.rowCount - offset;
  const bool inWindow = position >= 0 && (offset == 0 || position <= lastVisibleRow);
  if (IsTextFontLoaded(menuFont) && inWindow) {
    float y = firstRowY + rowPitch * static_cast<float>(position);
    DrawMenuText(x, y, label, colour, textSize, false, false, true, menuFont, textWidthFactor);
    if (value != nullptr) {
      DrawMenuText(x + dx, y, value, colour, textSize, false, false, true, menuFont, textWidthFactor);
    }
  }

  WardrobeMenu.rowCount += 1;
  return WardrobeMenu.rowCount - 1 == WardrobeMenu.selectedRow;
}
