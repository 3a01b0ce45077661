// Whitespace as the outfit files count it, for the INI reader and the value reader
// alike: a file must not read differently with the C library's locale.
//
// Pure standard C++: it is also built natively, for the sanitizers and the fuzzer.
#pragma once

// Space, tab, line feed, vertical tab, form feed and carriage return; bytes from 0x80
// upward never count, whatever the C library's locale would say.
inline bool IsAsciiWhitespace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
