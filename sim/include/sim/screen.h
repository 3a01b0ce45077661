// What the player sees: a picture of the last completed frame, and the same as text.
#pragma once
#include <string>

#include "sim/figure.h"

namespace sim {

// Writes a PNG of the current screen, 1280 pixels wide: a plain backdrop at the
// screen's aspect, the player's figure (ScreenFigure), the texts drawn with DisplayLiteralText this frame (normalised
// position, scale, colour, right-justify and wrap honoured), and the help text and printed message in a box at the top
// left (~n~ breaks lines, other ~TOKEN~ glyphs show as [TOKEN]). Uses the DejaVu Sans font of the system. False when
// the file cannot be written or the font is missing.
bool WriteScreen(const std::string& pngPath);
// The player's figure as WriteScreen draws it now (under the texts): the ped's clothes
// seen through the camera of the last frame, in the picture's pixels.
Figure ScreenFigure();

// The same screen as readable text: one line per drawn row (texts at the same y
// joined, left to right), marked "> " when drawn in the highlighted colour (entry 62
// or 63 of the colour table), then the help and printed messages, then, while a
// plug-in's camera shows the figure, the side seen ("figure seen from: back").
std::string ScreenTranscript();

// Host text with its markup made readable: "~n~" -> newline, "~X~" -> "[X]".
std::string ReadableHostText(const std::string& text);

}  // namespace sim
