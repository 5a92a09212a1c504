#pragma once
// Byte strings shown and typed as hex text, the byte and word readers and
// writers of frames and files, bit helpers for settings bytes, and the
// CRC-16 that protects headers and transfer frames.
#include <cstdint>
#include <string>
#include <string_view>

bool TestBit(uint8_t value, int bit);
// The value of one hex digit (either case), or -1.
int HexValue(char c);

// Byte i of s as a number, and the 16-bit value at `at`, high byte first.
inline uint8_t ByteAt(std::string_view s, size_t i) { return static_cast<uint8_t>(s[i]); }
inline uint16_t WordAt(std::string_view s, size_t at) {
  return static_cast<uint16_t>(ByteAt(s, at) * 256u + ByteAt(s, at + 1));
}
// The writers take the low 8 or 16 bits of v (a negative or larger value
// wraps, as the fields always did); a word goes high byte first.
inline void PutByte(std::string& s, uint32_t v) { s += static_cast<char>(v & 0xFF); }
inline void PutWord(std::string& s, uint32_t v) {
  PutByte(s, v >> 8);
  PutByte(s, v);
}
inline void SetWordAt(std::string& s, size_t at, uint32_t v) {
  s[at] = static_cast<char>((v >> 8) & 0xFF);
  s[at + 1] = static_cast<char>(v & 0xFF);
}

// The value of `count` hex digits at `at`; false when any is missing or not hex.
bool HexField(std::string_view s, size_t at, size_t count, uint32_t* value);
// v as `digits` upper-case hex digits, the highest first.
std::string HexDigits(uint32_t v, int digits);

uint8_t GetBitField(uint8_t value, int first, int count);

uint16_t Crc16Modbus(const uint8_t* data, uint16_t length);
uint16_t Crc16Modbus(std::string_view bytes);
// The CRC as callers append it: high byte first.
std::string Crc16Bytes(std::string_view bytes);

std::string BytesToSpacedHex(std::string_view bytes);
std::string BytesToHex(std::string_view bytes);

// Without the blanks and control characters (every byte at or below 0x20)
// at either end: what the two hex readers read.
std::string_view TrimBlanks(std::string_view s);

// The conversions never show anything: they say what was wrong and the
// caller decides on the one message.
struct SpacedHexResult {
  std::string Bytes;
  int BadGroups = 0;
};
// stopAtFirstBadGroup: the 6-key build returns an empty string at the
// first malformed group instead of skipping it.
SpacedHexResult SpacedHexToBytes(std::string_view text, bool stopAtFirstBadGroup = false);

struct HexResult {
  std::string Bytes;
  bool OddLength = false;
};
HexResult HexToBytes(std::string_view text);
