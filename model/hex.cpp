#include "model/hex.h"

#include <array>

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

}  // namespace

std::string_view TrimBlanks(std::string_view s) {
  auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

bool TestBit(uint8_t value, int bit) {
  if (bit < 0 || bit > 7) return false;
  return (value >> bit) & 1;
}

uint8_t GetBitField(uint8_t value, int first, int count) {
  if (count > 8 || count < 1 || first < 0 || first > 7) return 0;
  const uint8_t last = static_cast<uint8_t>(first + count - 1);
  if (last < first) return 0;
  unsigned result = 0;
  for (int k = 0; k < count; ++k) {
    const int bit = first + k;
    if (bit <= 7 && ((value >> bit) & 1)) result |= 1u << k;
  }
  return static_cast<uint8_t>(result);
}

uint16_t Crc16Modbus(const uint8_t* data, uint16_t length) {
  return Crc16Modbus(std::string_view(reinterpret_cast<const char*>(data), length));
}

namespace {

// The CRC of each byte value alone, so a byte costs one look-up, not eight shifts.
constexpr std::array<uint16_t, 256> kCrcTable = [] {
  std::array<uint16_t, 256> t{};
  for (unsigned n = 0; n < 256; ++n) {
    uint16_t crc = static_cast<uint16_t>(n);
    for (int b = 0; b < 8; ++b)
      crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
    t[n] = crc;
  }
  return t;
}();

}  // namespace

uint16_t Crc16Modbus(std::string_view bytes) {
  uint16_t crc = 0xFFFF;
  for (unsigned char c : bytes) crc = static_cast<uint16_t>((crc >> 8) ^ kCrcTable[(crc ^ c) & 0xFF]);
  return crc;
}

std::string Crc16Bytes(std::string_view bytes) {
  std::string out;
  PutWord(out, Crc16Modbus(bytes));
  return out;
}

bool HexField(std::string_view s, size_t at, size_t count, uint32_t* value) {
  if (at + count > s.size()) return false;
  uint32_t v = 0;
  for (size_t i = at; i < at + count; ++i) {
    const int d = HexValue(s[i]);
    if (d < 0) return false;
    v = v * 16 + static_cast<uint32_t>(d);
  }
  *value = v;
  return true;
}

std::string HexDigits(uint32_t v, int digits) {
  std::string out;
  for (int d = digits - 1; d >= 0; --d) out += kDigits[(v >> (4 * d)) & 15];
  return out;
}

namespace {

// Two digits a byte, then `gap` when it is not NUL; written in place, since
// the log and the lists turn every frame into such text.
std::string Digits(std::string_view bytes, char gap) {
  const size_t width = gap ? 3 : 2;
  std::string out(bytes.size() * width, gap);
  char* p = out.data();
  for (unsigned char c : bytes) {
    p[0] = kDigits[c >> 4];
    p[1] = kDigits[c & 15];
    p += width;
  }
  return out;
}

}  // namespace

std::string BytesToSpacedHex(std::string_view bytes) { return Digits(bytes, ' '); }

std::string BytesToHex(std::string_view bytes) { return Digits(bytes, '\0'); }

SpacedHexResult SpacedHexToBytes(std::string_view text, bool stopAtFirstBadGroup) {
  SpacedHexResult r;
  const std::string_view s = TrimBlanks(text);
  // Groups of three: two digits and a separator that is never examined.
  for (size_t at = 0; at < s.size(); at += 3) {
    const int hi = HexValue(s[at]);
    const int lo = at + 1 < s.size() ? HexValue(s[at + 1]) : -1;
    if (hi < 0 || lo < 0) {
      ++r.BadGroups;
      if (stopAtFirstBadGroup) {
        r.Bytes.clear();
        return r;
      }
      continue;
    }
    r.Bytes += static_cast<char>(hi * 16 + lo);
  }
  return r;
}

HexResult HexToBytes(std::string_view text) {
  HexResult r;
  const std::string_view s = TrimBlanks(text);
  if (s.size() % 2 != 0) {
    r.OddLength = true;
    return r;
  }
  for (size_t at = 0; at < s.size(); at += 2) {
    const int hi = HexValue(s[at]);
    const int lo = HexValue(s[at + 1]);
    if (hi >= 0 && lo >= 0) r.Bytes += static_cast<char>(hi * 16 + lo);
  }
  return r;
}
