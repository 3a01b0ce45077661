// Conversion between the outfit files' value texts and the record's 32-bit numbers.
// Pure standard C++, never throws.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// Reads a value as a decimal integer: optional leading whitespace, an optional sign,
// then digits; whatever follows the digits is ignored ("12abc" reads 12). A text with
// no digits there, or a number outside the signed 32-bit range, reads 0, the same as
// a missing key.
int32_t ParseOutfitValue(std::string_view text);

// Decimal forms as the outfit files hold them: no leading zeros, no plus sign, no
// spaces; a negative signed value starts with "-".
std::string FormatUnsignedValue(uint32_t value);
std::string FormatSignedValue(int32_t value);
