#pragma once
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

// A byte string from a list of byte values.
inline std::string B(std::initializer_list<int> v) {
  std::string s;
  for (int b : v) s += static_cast<char>(b);
  return s;
}

// Printable bytes as they are, every other byte (and the "\\" and "|" that
// the tests' lines use) as \xNN, so a failing comparison can be read.
inline std::string Escaped(std::string_view s) {
  std::string out;
  for (unsigned char c : s) {
    if (c >= 0x20 && c < 0x7F && c != '\\' && c != '|') {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
  }
  return out;
}
