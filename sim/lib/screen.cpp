// Pictures and transcripts of the host's screen.
#include "sim/screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "sim/figure.h"
#include "sim/host_state.h"
#include "sim/world_model.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#include <stb_image_write.h>
#include <stb_truetype.h>
#pragma GCC diagnostic pop

namespace sim {

namespace {

constexpr const char* FontPath = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSans.ttf";
constexpr int PictureWidth = 1280;
// Height of text of scale 1.0, as a fraction of the screen height.
constexpr float TextHeightAtScaleOne = 0.07f;

struct Rgba {
  uint8_t r, g, b, a;
};

struct Canvas {
  int width, height;
  std::vector<uint8_t> pixels;  // RGB

  void Blend(int x, int y, Rgba colour, float coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0) return;
    float alpha = coverage * colour.a / 255.0f;
    uint8_t* p = &pixels[3 * (static_cast<size_t>(y) * width + x)];
    p[0] = static_cast<uint8_t>(p[0] + (colour.r - p[0]) * alpha);
    p[1] = static_cast<uint8_t>(p[1] + (colour.g - p[1]) * alpha);
    p[2] = static_cast<uint8_t>(p[2] + (colour.b - p[2]) * alpha);
  }

  void Fill(int x0, int y0, int x1, int y1, Rgba colour) {
    for (int y = std::max(0, y0); y < std::min(height, y1); ++y) {
      for (int x = std::max(0, x0); x < std::min(width, x1); ++x) Blend(x, y, colour, 1.0f);
    }
  }
};

struct Font {
  std::vector<unsigned char> data;
  stbtt_fontinfo info;
  bool ok = false;
};

Font& TheFont() {
  static Font font;
  static bool tried = false;
  if (!tried) {
    tried = true;
    std::ifstream file(FontPath, std::ios::binary);
    font.data.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    font.ok = !font.data.empty() && stbtt_InitFont(&font.info, font.data.data(), 0);
  }
  return font;
}

// Code points of UTF-8 text (invalid bytes pass as themselves).
std::vector<int> CodePoints(const std::string& text) {
  std::vector<int> points;
  for (size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    int point = extra == 0 ? c : c & (0x3F >> extra);
    if (i + extra >= text.size() + (extra ? 0 : 1)) extra = 0, point = c;
    for (int k = 1; k <= extra; ++k) point = point << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    points.push_back(point);
    i += 1 + extra;
  }
  return points;
}

struct TextStyle {
  float pixelHeight;
  float widthFactor;  // horizontal stretch of the glyphs
};

float TextWidth(const Font& font, const std::string& text, const TextStyle& style) {
  float scale = stbtt_ScaleForPixelHeight(&font.info, style.pixelHeight);
  float width = 0;
  std::vector<int> points = CodePoints(text);
  for (size_t i = 0; i < points.size(); ++i) {
    int advance, bearing;
    stbtt_GetCodepointHMetrics(&font.info, points[i], &advance, &bearing);
    width += advance * scale * style.widthFactor;
    if (i + 1 < points.size())
      width += stbtt_GetCodepointKernAdvance(&font.info, points[i], points[i + 1]) * scale * style.widthFactor;
  }
  return width;
}

// Draws one line with its top at y.
void DrawLine(Canvas& canvas, const Font& font, const std::string& text, float x, float y, const TextStyle& style,
              Rgba colour) {
  float scale = stbtt_ScaleForPixelHeight(&font.info, style.pixelHeight);
  float scaleX = scale * style.widthFactor;
  int ascent, descent, gap;
  stbtt_GetFontVMetrics(&font.info, &ascent, &descent, &gap);
  float baseline = y + ascent * scale;
  std::vector<int> points = CodePoints(text);
  for (size_t i = 0; i < points.size(); ++i) {
    int x0, y0, x1, y1;
    float shift = x - std::floor(x);
    stbtt_GetCodepointBitmapBoxSubpixel(&font.info, points[i], scaleX, scale, shift, 0, &x0, &y0, &x1, &y1);
    int w = x1 - x0, h = y1 - y0;
    if (w > 0 && h > 0) {
      std::vector<unsigned char> bitmap(static_cast<size_t>(w) * h);
      stbtt_MakeCodepointBitmapSubpixel(&font.info, bitmap.data(), w, h, w, scaleX, scale, shift, 0, points[i]);
      int left = static_cast<int>(std::floor(x)) + x0;
      int top = static_cast<int>(std::lround(baseline)) + y0;
      for (int row = 0; row < h; ++row) {
        for (int col = 0; col < w; ++col) canvas.Blend(left + col, top + row, colour, bitmap[row * w + col] / 255.0f);
      }
    }
    int advance, bearing;
    stbtt_GetCodepointHMetrics(&font.info, points[i], &advance, &bearing);
    x += advance * scaleX;
    if (i + 1 < points.size()) x += stbtt_GetCodepointKernAdvance(&font.info, points[i], points[i + 1]) * scaleX;
  }
}

// Splits text into lines no wider than maxWidth (at word boundaries).
std::vector<std::string> Wrap(const Font& font, const std::string& text, const TextStyle& style, float maxWidth) {
  std::vector<std::string> lines;
  std::istringstream words(text);
  std::string word, line;
  while (words >> word) {
    std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && TextWidth(font, candidate, style) > maxWidth) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

void DrawHostText(Canvas& canvas, const Font& font, const DrawnText& text) {
  const TextState& state = text.state;
  const float screenW = static_cast<float>(canvas.width), screenH = static_cast<float>(canvas.height);
  TextStyle style;
  style.pixelHeight = std::max(4.0f, state.scaleY * TextHeightAtScaleOne * screenH);
  style.widthFactor = state.scaleY > 0 ? (state.scaleX * screenW) / (state.scaleY * screenH) : 1.0f;
  if (style.widthFactor <= 0) style.widthFactor = 1.0f;
  const Rgba colour{state.red, state.green, state.blue, state.alpha};
  const Rgba shadow{state.effectAColour[0], state.effectAColour[1], state.effectAColour[2], state.effectAColour[3]};
  std::vector<std::string> lines;
  float left = text.x * screenW;
  float right = state.wrapEnd * screenW;
  if (state.rightJustify) {
    lines = Wrap(font, ReadableHostText(text.text), style, std::max(1.0f, (state.wrapEnd - state.wrapStart) * screenW));
  } else {
    lines = Wrap(font, ReadableHostText(text.text), style, std::max(1.0f, right - left));
  }
  float y = text.y * screenH;
  for (const std::string& line : lines) {
    float x = state.rightJustify ? right - TextWidth(font, line, style) : left;
    if (state.effectA) DrawLine(canvas, font, line, x + 1.5f, y + 1.5f, style, shadow);
    DrawLine(canvas, font, line, x, y, style, colour);
    y += style.pixelHeight * 1.15f;
  }
}

void DrawMessageBox(Canvas& canvas, const Font& font, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  TextStyle style{std::max(10.0f, 0.032f * canvas.height), 1.0f};
  float width = 0;
  for (const std::string& line : lines) width = std::max(width, TextWidth(font, line, style));
  const float margin = 0.025f * canvas.height, pad = 0.4f * style.pixelHeight;
  const float lineStep = style.pixelHeight * 1.25f;
  int x0 = static_cast<int>(margin), y0 = static_cast<int>(margin);
  int x1 = static_cast<int>(margin + 2 * pad + width);
  int y1 = static_cast<int>(margin + 2 * pad + lineStep * lines.size());
  canvas.Fill(x0, y0, x1, y1, {0, 0, 0, 160});
  float y = margin + pad;
  for (const std::string& line : lines) {
    DrawLine(canvas, font, line, margin + pad, y, style, {235, 235, 235, 255});
    y += lineStep;
  }
}

void Backdrop(Canvas& canvas) {
  for (int y = 0; y < canvas.height; ++y) {
    float t = static_cast<float>(y) / canvas.height;
    uint8_t r, g, b;
    if (t < 0.62f) {  // sky
      r = static_cast<uint8_t>(70 + 60 * t);
      g = static_cast<uint8_t>(95 + 70 * t);
      b = static_cast<uint8_t>(130 + 60 * t);
    } else {  // ground
      r = static_cast<uint8_t>(78 - 30 * (t - 0.62f));
      g = static_cast<uint8_t>(74 - 30 * (t - 0.62f));
      b = static_cast<uint8_t>(66 - 30 * (t - 0.62f));
    }
    for (int x = 0; x < canvas.width; ++x) {
      uint8_t* p = &canvas.pixels[3 * (static_cast<size_t>(y) * canvas.width + x)];
      p[0] = r;
      p[1] = g;
      p[2] = b;
    }
  }
}

// The player's figure: each part filled with its colour, its texture as darker bands
// across it, and the idle animation playing written under the feet.
void DrawFigure(Canvas& canvas, const Font& font, const Figure& figure) {
  for (const FigurePart& part : figure.parts) {
    const Rgba colour{static_cast<uint8_t>(part.colour >> 16), static_cast<uint8_t>(part.colour >> 8),
                      static_cast<uint8_t>(part.colour), 255};
    canvas.Fill(part.x0, part.y0, part.x1, part.y1, colour);
    // Bands and gaps alternate: 2 * stripes + 1 slices, the odd ones darker.
    const int slices = 2 * part.stripes + 1;
    for (int band = 1; band < slices; band += 2) {
      const int top = part.y0 + (part.y1 - part.y0) * band / slices;
      const int bottom = part.y0 + (part.y1 - part.y0) * (band + 1) / slices;
      canvas.Fill(part.x0, top, part.x1, std::max(bottom, top + 1), {0, 0, 0, 110});
    }
  }
  if (figure.pose.empty() || figure.parts.empty()) return;
  // Under the feet (the lowest part when they are left out), kept inside the picture
  // when a near camera puts the feet below its bottom edge.
  const FigurePart* feet = &figure.parts.front();
  for (const FigurePart& part : figure.parts) {
    if (part.name == "feet") feet = &part;
  }
  const TextStyle style{std::max(10.0f, 0.03f * canvas.height), 1.0f};
  const std::string label = "idle: " + figure.pose;
  const float x = 0.5f * (feet->x0 + feet->x1) - 0.5f * TextWidth(font, label, style);
  const float below = static_cast<float>(feet->y1) + 0.01f * canvas.height;
  const float y = std::min(below, canvas.height - 1.3f * style.pixelHeight);
  DrawLine(canvas, font, label, x, y, style, {255, 255, 255, 255});
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

std::vector<std::string> MessageLines() {
  std::vector<std::string> lines;
  if (!World().helpLabel.empty()) {
    for (const std::string& line : Lines(ReadableHostText(HelpText(World().helpLabel)))) lines.push_back(line);
  }
  for (const std::string& line : Lines(ReadableHostText(PrintedMessage()))) lines.push_back(line);
  return lines;
}

// 1280 pixels wide, at the host's screen aspect (16:9 until the host says otherwise).
int PictureHeight() {
  const WorldModel& world = World();
  const double aspect = world.screenWidth > 0 && world.screenHeight > 0
                            ? static_cast<double>(world.screenHeight) / world.screenWidth
                            : 9.0 / 16.0;
  return std::max(90, static_cast<int>(std::lround(PictureWidth * aspect)));
}

uint32_t Packed(const TextState& state) {
  return static_cast<uint32_t>(state.alpha) << 24 | static_cast<uint32_t>(state.red) << 16 |
         static_cast<uint32_t>(state.green) << 8 | state.blue;
}

}  // namespace

std::string ReadableHostText(const std::string& text) {
  std::string out;
  size_t i = 0;
  while (i < text.size()) {
    size_t close = text[i] == '~' ? text.find('~', i + 1) : std::string::npos;
    if (close == std::string::npos) {
      out += text[i++];
      continue;
    }
    std::string token = text.substr(i + 1, close - i - 1);
    if (token == "n") {
      out += '\n';
    } else {
      for (const char* prefix : {"INPUT_FRONTEND_", "INPUT_MOVE_", "INPUT_", "PAD_"}) {
        std::string p(prefix);
        if (token.compare(0, p.size(), p) == 0 && token.size() > p.size()) {
          token = token.substr(p.size());
          break;
        }
      }
      out += "[" + token + "]";
    }
    i = close + 1;
  }
  return out;
}

bool WriteScreen(const std::string& pngPath) {
  Font& font = TheFont();
  if (!font.ok) return false;
  const WorldModel& world = World();
  Canvas canvas;
  canvas.width = PictureWidth;
  canvas.height = PictureHeight();
  canvas.pixels.assign(static_cast<size_t>(canvas.width) * canvas.height * 3, 0);
  Backdrop(canvas);
  DrawFigure(canvas, font, FigureOnScreen(canvas.width, canvas.height));
  // The message box first: the texts of the frame stay readable on top of it.
  DrawMessageBox(canvas, font, MessageLines());
  for (const DrawnText& text : world.drawnThisFrame) DrawHostText(canvas, font, text);
  return stbi_write_png(pngPath.c_str(), canvas.width, canvas.height, 3, canvas.pixels.data(), canvas.width * 3) != 0;
}

Figure ScreenFigure() { return FigureOnScreen(PictureWidth, PictureHeight()); }

std::string ScreenTranscript() {
  std::vector<DrawnText> texts = World().drawnThisFrame;
  std::stable_sort(texts.begin(), texts.end(), [](const DrawnText& a, const DrawnText& b) {
    if (std::fabs(a.y - b.y) > 0.001f) return a.y < b.y;
    return a.x < b.x;
  });
  const uint32_t highlighted = HostColourEntry(62), highlightedDisabled = HostColourEntry(63);
  const uint32_t disabled = HostColourEntry(66);
  std::string out;
  for (size_t i = 0; i < texts.size();) {
    size_t j = i;
    std::string row;
    bool isHighlighted = false, isDisabled = false;
    while (j < texts.size() && std::fabs(texts[j].y - texts[i].y) <= 0.001f) {
      uint32_t colour = Packed(texts[j].state);
      isHighlighted = isHighlighted || colour == highlighted || colour == highlightedDisabled;
      isDisabled = isDisabled || colour == disabled || colour == highlightedDisabled;
      if (!row.empty()) row += " | ";
      row += ReadableHostText(texts[j].text);
      ++j;
    }
    char y[16];
    std::snprintf(y, sizeof y, "%.3f", texts[i].y);
    out += std::string(isHighlighted ? "> " : "  ") + row + (isDisabled ? "  (disabled)" : "") + "   [y " + y + "]\n";
    i = j;
  }
  if (!World().helpLabel.empty()) out += "help: " + ReadableHostText(HelpText(World().helpLabel)) + "\n";
  std::string printed = PrintedMessage();
  if (!printed.empty()) out += "message: " + ReadableHostText(printed) + "\n";
  const std::string side = ScreenFigure().side;
  if (!side.empty()) out += "figure seen from: " + side + "\n";
  return out;
}

}  // namespace sim
