#pragma once
// Code page 936 bytes: a double-byte character is a lead byte and a trail byte.
#include <cstddef>
#include <string_view>

#include "model/hex.h"

inline bool IsGbkLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
inline bool IsGbkTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

// The bytes of the character at s[i]: 2 for a lead byte with a trail byte
// after it, else 1.
inline size_t GbkCharLength(std::string_view s, size_t i) {
  return IsGbkLeadByte(ByteAt(s, i)) && i + 1 < s.size() && IsGbkTrailByte(ByteAt(s, i + 1)) ? 2 : 1;
}
