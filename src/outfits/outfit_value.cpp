#include "outfits/outfit_value.h"

#include "outfits/ascii_whitespace.h"

int32_t ParseOutfitValue(std::string_view text) {
  std::size_t position = 0;
  while (position < text.size() && IsAsciiWhitespace(text[position])) {
    ++position;
  }
  bool negative = false;
  if (position < text.size() && (text[position] == '+' || text[position] == '-')) {
    negative = text[position] == '-';
    ++position;
  }
  // Gathered as a magnitude in 64 bits and checked per digit, so no text, however
  // long, can overflow.
  const int64_t limit = negative ? int64_t{2147483648} : int64_t{2147483647};
  int64_t magnitude = 0;
  bool anyDigit = false;
  for (; position < text.size() && text[position] >= '0' && text[position] <= '9'; ++position) {
    magnitude = magnitude * 10 + (text[position] - '0');
    if (magnitude > limit) {
      return 0;
    }
    anyDigit = true;
  }
  if (!anyDigit) {
    return 0;
  }
  return static_cast<int32_t>(negative ? -magnitude : magnitude);
}

std::string FormatUnsignedValue(uint32_t value) { return std::to_string(value); }

std::string FormatSignedValue(int32_t value) { return std::to_string(value); }
