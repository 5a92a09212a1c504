#include "model/decoders.h"

#include <gtest/gtest.h>

#include "bytes.h"

namespace {

TEST(Decoders, ActionRecords) {
  auto c = DecodeActionRecord(kVantor, B({0x00, 0x03, 0x02, 0x04, 0x01}));
  EXPECT_EQ(c.McuEventSum, 3);
  EXPECT_EQ(c.Key, 2);
  EXPECT_EQ(c.Group, 4);
  EXPECT_EQ(c.KindIndex, 0);
  EXPECT_FALSE(c.Key10);

  c = DecodeActionRecord(kVantor, B({0x01, 0x2C, 0x0A, 0x02, 0x00}));
  EXPECT_EQ(c.McuEventSum, 300);
  EXPECT_TRUE(c.Key10);
  EXPECT_EQ(c.KindIndex, 1);  // "Right-handed"

  // Out of range: no key (the header is skipped), group and kind untouched.
  c = DecodeActionRecord(kVantor, B({0x00, 0x01, 0x0B, 0x0A, 0x04}));
  EXPECT_FALSE(c.Key);
  EXPECT_FALSE(c.Group);
  EXPECT_FALSE(c.KindIndex);
  EXPECT_FALSE(DecodeActionRecord(kVantor, B({0x00, 0x01, 0x00, 0x00, 0x01})).Key);
  EXPECT_FALSE(DecodeActionRecord(kVantor, B({0x00})).Key);  // short

  // The packed header: key bits 5-7, group 2-4, action 0-1.
  c = DecodeActionRecord(kQuillet, B({0x00, 0x02, 2 * 32 + 4 * 4 + 3}));
  EXPECT_EQ(c.Key, 2);
  EXPECT_EQ(c.Group, 4);
  EXPECT_EQ(c.KindIndex, 2);
  c = DecodeActionRecord(kQuillet, B({0x00, 0x02, 7 * 32 + 7 * 4 + 0}));
  EXPECT_FALSE(c.Key);
  EXPECT_FALSE(c.Group);
  EXPECT_FALSE(c.KindIndex);
}

TEST(Decoders, Rs232) {
  // 9600, None, mode None, ASCII, CR+LF, memo AB.
  auto c = DecodeRs232Event(kVantor, B({0x01, 0x30, 0x00, 0x00, 0x00, 0x41, 0x42, 0x0D, 0x0A}), 9);
  EXPECT_EQ(c.Port, 0);
  EXPECT_EQ(c.Baud, 2);
  EXPECT_EQ(c.Parity, 0);
  EXPECT_EQ(c.RepeatMode, 0);
  EXPECT_EQ(c.Data.Hex, false);
  EXPECT_EQ(c.Data.EndChar, 3);
  EXPECT_EQ(c.Data.Memo, "AB");
  EXPECT_FALSE(c.Count);

  // Port5, 5 data bits, stop 2, Space, Set, 115200, interval 2, count 3, HEX.
  c = DecodeRs232Event(kVantor, B({0x3D, 0x7C, 0x02, 0x03, 0x01, 0xAA, 0xBB}), 7);
  EXPECT_EQ(c.Port, 4);
  EXPECT_EQ(c.DataBits, 3);
  EXPECT_EQ(c.StopBits, 2);
  EXPECT_EQ(c.Parity, 4);
  EXPECT_EQ(c.RepeatMode, 1);
  EXPECT_EQ(c.Baud, 6);
  EXPECT_EQ(c.Interval, "2");
  EXPECT_EQ(c.Count, "3");
  EXPECT_EQ(c.Data.Hex, true);
  EXPECT_EQ(c.Data.Memo, "AA BB ");

  // The shared bit 4: data bits "6" with stop "1" reads back as "8" with "1.5",
  // which is the same byte.
  c = DecodeRs232Event(kVantor, B({0x01 + 2 * 8, 0x30, 0, 0, 0, 'x'}), 6);
  EXPECT_EQ(c.DataBits, 0);
  EXPECT_EQ(c.StopBits, 1);
  // The 6-key layout: port bits 0-1, data bits 2-3, stop bits 4-5.
  c = DecodeRs232Event(kQuillet, B({0x03 + 2 * 4 + 2 * 16, 0x30, 0, 0, 0, 'x'}), 6);
  EXPECT_EQ(c.Port, 2);
  EXPECT_EQ(c.DataBits, 2);
  EXPECT_EQ(c.StopBits, 2);

  // Bytes outside the combos leave them as they are.
  c = DecodeRs232Event(kVantor, B({0x06, 0x8D, 0, 0, 0, 'x'}), 6);
  EXPECT_FALSE(c.Port);
  EXPECT_FALSE(c.Parity);
  EXPECT_FALSE(c.Baud);
  // A memo of end characters only keeps them, with "NULL".
  c = DecodeRs232Event(kVantor, B({0x01, 0x30, 0, 0, 0, 0x0D, 0x0A}), 7);
  EXPECT_EQ(c.Data.EndChar, 0);
  EXPECT_EQ(c.Data.Memo, "\r\n");
  // Another format: memo cleared, nothing else.
  c = DecodeRs232Event(kVantor, B({0x01, 0x30, 0, 0, 0x07, 'x'}), 6);
  EXPECT_EQ(c.Data.Memo, "");
  EXPECT_FALSE(c.Data.Hex);
  // A length field past the bytes present never reads beyond them.
  c = DecodeRs232Event(kVantor, B({0x01, 0x30, 0, 0, 0, 'A'}), 400);
  EXPECT_EQ(c.Data.Memo, "A");
  c = DecodeRs232Event(kVantor, B({0x01, 0x30, 0, 0, 0, 'A', 'B'}), 6);
  EXPECT_EQ(c.Data.Memo, "A");
}

TEST(Decoders, OtherKinds) {
  auto t = DecodeTcpEvent(kVantor, B({0xC0, 0xA8, 0x01, 0x14, 0x0F, 0xA1, 0x01, 0xAA, 0xBB}), 9);
  EXPECT_EQ(t.Ip, "192.168.1.20");
  EXPECT_EQ(t.Port, "4001");
  EXPECT_EQ(t.Data.Memo, "AA BB ");
  t = DecodeTcpEvent(kVantor, B({10, 0, 0, 1, 0x01, 0xF6, 0x00, 'O', 'K', 0x0A}), 10);
  EXPECT_EQ(t.Port, "502");
  EXPECT_EQ(t.Data.EndChar, 2);
  EXPECT_EQ(t.Data.Memo, "OK");

  auto d = DecodeDelayEvent(kVantor, B({0x17, 0x3B, 0x3B, 0x00}));
  EXPECT_EQ(d.Hour, "23");
  EXPECT_EQ(d.Minute, "59");
  EXPECT_EQ(d.Second, "59");

  auto c = DecodeCompareEvent(kVantor, B({0x04, 0x00, 'O', 'K', 0x0D}), 5);
  EXPECT_EQ(c.Source, 3);
  EXPECT_EQ(c.Data.EndChar, 1);
  EXPECT_EQ(c.Data.Memo, "OK");
  EXPECT_FALSE(DecodeCompareEvent(kVantor, B({0x05, 0x00}), 2).Source);

  auto l = DecodeLedEvent(kVantor, B({0x09, 0x03}));
  EXPECT_EQ(l.Key, 8);
  EXPECT_EQ(l.Light, 2);
  EXPECT_FALSE(DecodeLedEvent(kQuillet, B({0x07, 0x05})).Key);
  EXPECT_FALSE(DecodeLedEvent(kQuillet, B({0x07, 0x05})).Light);

  auto g = DecodeToggleEvent(kVantor, B({0x02, 0x02}));
  EXPECT_EQ(g.Key, 1);
  EXPECT_EQ(g.Start, 1);
  EXPECT_FALSE(DecodeToggleEvent(kVantor, B({0x0A, 0x03})).Key);

  auto ir = DecodeIrEvent(kVantor, B({0x02 + 4 + 8, 0x07, 0x09, 0x00, 0x02, 0xA1, 0xB2}), 7);
  EXPECT_EQ(ir.Change.LibName, "update");
  EXPECT_EQ(ir.Change.Port, 1);
  EXPECT_EQ(ir.Change.RepeatMode, 1);
  EXPECT_EQ(ir.Change.Carrier, 1);
  EXPECT_EQ(ir.Change.Interval, "7");
  EXPECT_EQ(ir.Change.Count, "9");
  EXPECT_EQ(ir.Code, B({0x00, 0x02, 0xA1, 0xB2}));
  EXPECT_TRUE(DecodeIrEvent(kVantor, "", 0).Code.empty());
}

}  // namespace
