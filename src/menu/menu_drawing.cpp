// Row text, help lines and the save notice, all through the host's text natives. The
// menu is text only: a label column, a value column, and colours from the host's own
// colour table for the normal, highlighted and disabled states.
#include "menu/menu_drawing.h"

#include <cmath>
#include <cstring>

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
// The widest character of the menu's font at horizontal scale 1.0, as a share of the
// screen's width. Values are cut by this measure, so that even a name of the widest
// letters ends before the right edge.
constexpr double widestCharacterAtScaleOne = 0.07;
// The last row that fits on the screen (y = 0.93). Once the highlight goes further, the
// rows move up so that the highlighted row is drawn there, the last one on screen.
constexpr int32_t lastVisibleRow = 22;
// Drawn left of the first row on screen when rows lie above it, and left of the last
// one when rows lie below: plain full stops, which every host font draws.
constexpr const char* moreRowsMark = "...";
constexpr float moreRowsMarkOffset = 0.035f;  // left of the label, times the aspect

// Entries of the host's colour table for each row state.
constexpr int normalColour = 60;
constexpr int highlightedColour = 62;
constexpr int disabledHighlightedColour = 63;
constexpr int disabledColour = 66;

constexpr const char* literalLabel = "STRING";

// What the host answered at the start of this menu frame. A frame draws up to some 55
// texts; asking again for each would more than double the host calls that are not
// drawing.
struct MenuFrameTextRecord {
  double aspect = 0.0;  // ScreenAspectFactor
  bool fontReady = false;
};
MenuFrameTextRecord menuFrameText;

}  // namespace

void BeginMenuFrameText() {
  menuFrameText.aspect = ScreenAspectFactor();
  bool loaded = IsTextFontLoaded(menuFont);
  if (!loaded && IsTextFontAvailable(menuFont)) {
    LoadTextFont(menuFont);
    loaded = IsTextFontLoaded(menuFont);
  }
  menuFrameText.fontReady = loaded;
}

double ScreenAspectFactor() {
  int32_t width = 0;
  int32_t height = 0;
  GetScreenResolution(&width, &height);
  return static_cast<double>(height) / static_cast<double>(width);
}

void DrawMenuText(float x, float y, const char* text, uint32_t colour, double size, bool flagB, bool rightAlign,
                  bool effect, int32_t font, float widthFactor) {
  double s = size * 0.01;
  double w = s * menuFrameText.aspect;
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

int32_t ValueCharactersOnScreen() {
  const double aspect = menuFrameText.aspect;
  // A resolution without a size cuts nothing: the rows are not where anyone sees them.
  if (!std::isfinite(aspect) || aspect <= 0.0) return INT32_MAX;
  const double valueX = static_cast<double>(static_cast<float>(static_cast<double>(labelColumn) * aspect)) +
                        static_cast<double>(static_cast<float>(static_cast<double>(valueColumnOffset) * aspect));
  const double characterWidth =
      widestCharacterAtScaleOne * static_cast<double>(textWidthFactor) * (textSize * 0.01) * aspect;
  if (valueX >= 1.0) return 0;
  return static_cast<int32_t>((1.0 - valueX) / characterWidth);
}

void FitValueText(char* text, bool keepEnd) {
  const int32_t characters = ValueCharactersOnScreen();
  const size_t length = std::strlen(text);
  if (characters < 0 || length <= static_cast<size_t>(characters)) return;
  constexpr char mark[] = "...";
  constexpr size_t markLength = sizeof mark - 1;
  if (static_cast<size_t>(characters) <= markLength) {
    text[characters] = '\0';
    std::memset(text, '.', static_cast<size_t>(characters));
    return;
  }
  const size_t kept = static_cast<size_t>(characters) - markLength;
  if (keepEnd) {
    std::memmove(text + markLength, text + length - kept, kept + 1);
    std::memcpy(text, mark, markLength);
  } else {
    std::memcpy(text + kept, mark, markLength + 1);
  }
}

void ShowHelpText(const char* text, int32_t milliseconds) {
  char named[256];
  text = WithOwnKeyNames(text, named, sizeof named);
  // Every print clears the previous one, so the last print of a frame is the one seen.
  ClearPrintedMessages();
  PrintLiteralMessage(literalLabel, text, milliseconds, true);
}

namespace {
// The mark left of the row whose label starts at labelX, in the normal row colour.
void DrawMoreRowsMark(float labelX, float y) {
  const float x = labelX - static_cast<float>(static_cast<double>(moreRowsMarkOffset) * menuFrameText.aspect);
  DrawMenuText(x, y, moreRowsMark, HostColour(normalColour), textSize, false, false, true, menuFont, textWidthFactor);
}
}  // namespace

bool MenuRow(const char* label, const char* value, bool disabled) {
  float x = static_cast<float>(static_cast<double>(labelColumn) * menuFrameText.aspect);
  float dx = static_cast<float>(static_cast<double>(valueColumnOffset) * menuFrameText.aspect);

  bool highlighted = WardrobeMenu.rowCount == WardrobeMenu.selectedRow;
  int colourEntry;
  if (disabled) {
    colourEntry = highlighted ? disabledHighlightedColour : disabledColour;
  } else {
    colourEntry = highlighted ? highlightedColour : normalColour;
  }
  // Read at every row: the menu follows whatever the host holds in its table.
  uint32_t colour = HostColour(colourEntry);

  // Until the font is in, nothing is drawn, but the row still counts, so the
  // highlight and the controls work the same.
  // Rows outside the window, above it or below, are not drawn but count and work as any
  // other; a mark at the window's edge says that they are there.
  const int32_t offset = WardrobeMenu.selectedRow > lastVisibleRow ? WardrobeMenu.selectedRow - lastVisibleRow : 0;
  const int32_t position = WardrobeMenu.rowCount - offset;
  const bool inWindow = position >= 0 && position <= lastVisibleRow;
  if (menuFrameText.fontReady) {
    if (inWindow) {
      float y = firstRowY + rowPitch * static_cast<float>(position);
      if (position == 0 && offset > 0) DrawMoreRowsMark(x, y);
      DrawMenuText(x, y, label, colour, textSize, false, false, true, menuFont, textWidthFactor);
      if (value != nullptr) {
        DrawMenuText(x + dx, y, value, colour, textSize, false, false, true, menuFont, textWidthFactor);
      }
    } else if (position == lastVisibleRow + 1) {
      // The first row below the window: the last row on screen gets the mark.
      DrawMoreRowsMark(x, firstRowY + rowPitch * static_cast<float>(lastVisibleRow));
    }
  }

  WardrobeMenu.rowCount += 1;
  return WardrobeMenu.rowCount - 1 == WardrobeMenu.selectedRow;
}
