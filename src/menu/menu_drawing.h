// Drawing the menu's rows and printing its help lines through the host's text natives.
#pragma once
#include <cstdint>

// Asks the host, once at the start of a menu frame, what every text of the frame needs:
// the screen's resolution, and whether the menu font is in (asking for it when the
// host has it). The rows and texts of the frame use these answers, so a new resolution
// or a font that comes in shows from the next frame on.
void BeginMenuFrameText();
// Draws one row at position WardrobeMenu.rowCount and counts it; true when it is the
// highlighted row. value may be null (no value column).
bool MenuRow(const char* label, const char* value, bool disabled);
void DrawMenuText(float x, float y, const char* text, uint32_t colour, double size, bool flagB, bool rightAlign,
                  bool effect, int32_t font, float widthFactor);
void ShowHelpText(const char* text, int32_t milliseconds);
// Screen height / width, asked of the host.
double ScreenAspectFactor();
// How many characters of a row's value fit between the value column and the screen's
// right edge, measured by the font's widest character at this frame's aspect.
int32_t ValueCharactersOnScreen();
// Cuts a row's value text in place so that it ends before the screen's right edge,
// marking the cut with "...": at its end, or at its start when keepEnd (the end holds
// what matters, as the cursor of a name being typed).
void FitValueText(char* text, bool keepEnd);
