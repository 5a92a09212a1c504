#pragma once
// Byte strings shown and typed as hex text, bit helpers for settings bytes,
// and the CRC-16 that protects headers and transfer frames.
#include <cstdint>
#include <string>
#include <string_view>

bool TestBit(uint8_t value, int bit);
// The value of one hex digit (either case), or -1.
int HexValue(char c);
uint8_t GetBitField(uint8_t value, int first, int count);

uint16_t Crc16Modbus(const uint8_t* data, uint16_t length);
uint16_t Crc16Modbus(std::string_view bytes);
// The CRC as callers append it: high byte first.
std::string Crc16Bytes(std::string_view bytes);

std::string BytesToSpacedHex(std::string_view bytes);
std::string BytesToHex(std::string_view bytes);

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
