#include "model/hex.h"

#include <gtest/gtest.h>

#include "bytes.h"

namespace {

TEST(Crc16Modbus, CheckValueAndAppendOrder) {
  EXPECT_EQ(Crc16Modbus("123456789"), 0x4B37);
  EXPECT_EQ(Crc16Bytes("123456789"), B({0x4B, 0x37}));
  EXPECT_EQ(Crc16Modbus(std::string_view{}), 0xFFFF);
  EXPECT_EQ(Crc16Modbus(nullptr, 0), 0xFFFF);
  const std::string header = B({0xF5, 0x51, 0x01, 0x01, 0x00, 0x02, 0x01, 0x00});
  std::string changed = header;
  changed.back() = 0x01;
  EXPECT_NE(Crc16Modbus(header), Crc16Modbus(changed));
  EXPECT_EQ(Crc16Modbus(reinterpret_cast<const uint8_t*>(header.data()), 8), Crc16Modbus(header));
}

TEST(BitHelpers, TestBitAndFields) {
  EXPECT_TRUE(TestBit(0x80, 7));
  EXPECT_FALSE(TestBit(0x7F, 7));
  EXPECT_TRUE(TestBit(0x01, 0));
  EXPECT_EQ(GetBitField(0x6B, 3, 2), 1);
  EXPECT_EQ(GetBitField(0xFF, 0, 8), 0xFF);
  EXPECT_EQ(GetBitField(0xA5, 4, 4), 0x0A);
  EXPECT_EQ(GetBitField(0xFF, 0, 9), 0);     // count above 8
  EXPECT_EQ(GetBitField(0xFF, 6, 4), 0x03);  // bits past 7 are zero
}

TEST(HexText, BytesToText) {
  EXPECT_EQ(BytesToSpacedHex(B({0xF3, 0x00, 0x01})), "F3 00 01 ");
  EXPECT_EQ(BytesToSpacedHex(""), "");
  EXPECT_EQ(BytesToSpacedHex(B({0x00})), "00 ");
  EXPECT_EQ(BytesToHex(B({0xF3, 0x00, 0x01})), "F30001");
  EXPECT_EQ(BytesToHex(B({0xab, 0x0c})), "AB0C");
}

struct SpacedCase {
  const char* text;
  std::string bytes;
  int bad;
  std::string quilletBytes;
};

TEST(HexText, SpacedHexToBytesCases) {
  const SpacedCase cases[] = {
      {"F3 0A", B({0xF3, 0x0A}), 0, B({0xF3, 0x0A})},
      {"F3 0A ", B({0xF3, 0x0A}), 0, B({0xF3, 0x0A})},
      {"\t F3 0A\r\n", B({0xF3, 0x0A}), 0, B({0xF3, 0x0A})},
      {"F30A", B({0xF3}), 1, ""},  // groups "F30" and "A"
      {"GG 01", B({0x01}), 1, ""},
      {"f3-0a", B({0xF3, 0x0A}), 0, B({0xF3, 0x0A})},  // separator not examined
      {"", "", 0, ""},
      {"GG HH 01", B({0x01}), 2, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const auto r = SpacedHexToBytes(c.text);
    EXPECT_EQ(r.Bytes, c.bytes);
    EXPECT_EQ(r.BadGroups, c.bad);
    const auto q = SpacedHexToBytes(c.text, true);
    EXPECT_EQ(q.Bytes, c.quilletBytes);
    EXPECT_EQ(q.BadGroups, c.bad ? 1 : 0);
  }
}

TEST(HexText, HexToBytesCases) {
  auto r = HexToBytes("ABC");
  EXPECT_TRUE(r.OddLength);
  EXPECT_EQ(r.Bytes, "");
  r = HexToBytes("AB!!CD");
  EXPECT_FALSE(r.OddLength);
  EXPECT_EQ(r.Bytes, B({0xAB, 0xCD}));
  r = HexToBytes("  0d0A ");
  EXPECT_EQ(r.Bytes, B({0x0D, 0x0A}));
  r = HexToBytes("");
  EXPECT_FALSE(r.OddLength);
  EXPECT_EQ(r.Bytes, "");
}

}  // namespace
