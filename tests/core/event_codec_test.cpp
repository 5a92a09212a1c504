#include "model/events.h"

#include <gtest/gtest.h>

#include <limits>
#include <type_traits>

#include "bytes.h"

namespace {

const std::string kNoData = "\xCE\xDE";  // "无"

template <class S, class F>
S With(S s, F edit) {
  edit(s);
  return s;
}

// ---------------------------------------------------------------------------
// Numbers typed in edits

TEST(ParseDecimal, SignAndDigitsOnly) {
  const std::pair<const char*, long long> good[] = {
      {"0", 0},
      {"42", 42},
      {"+7", 7},
      {"-12", -12},
      {"007", 7},
      {"-0", 0},
      {"9223372036854775807", std::numeric_limits<long long>::max()},
      {"-9223372036854775808", std::numeric_limits<long long>::min()},
  };
  for (const auto& [text, value] : good) EXPECT_EQ(ParseDecimal(text), value) << text;

  const char* bad[] = {"",
                       "+",
                       "-",
                       " 1",
                       "1 ",
                       "1.5",
                       "0x10",
                       "+-1",
                       "--1",
                       "1e3",
                       "12a",
                       "\xA3\xB1",
                       "9223372036854775808",
                       "-9223372036854775809"};
  for (const char* text : bad) EXPECT_EQ(ParseDecimal(text), std::nullopt) << text;
}

// ---------------------------------------------------------------------------
// Encoders: frames and list texts worked out by hand

struct EncodeCase {
  const char* name;
  Encoded got;
  std::string frame;
  std::string text;
};

void ExpectEncodes(const std::vector<EncodeCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_EQ(c.got.Status, EncodeStatus::Ok);
    EXPECT_EQ(c.got.Frame, c.frame);
    EXPECT_EQ(c.got.ListText, c.text);
  }
}

Rs232Settings Rs(DataPart d) {
  Rs232Settings s;
  s.Data = std::move(d);
  return s;
}

TEST(EncodeRs232, FramesAndListTexts) {
  const DataPart a{.EndChar = 0, .Memo = "A"};
  const auto full = [](int port) {
    return Rs232Settings{.LibName = "",
                         .Function = {},
                         .Port = port,
                         .Baud = 6,
                         .DataBits = 3,
                         .StopBits = 2,
                         .Parity = 4,
                         .RepeatMode = 1,
                         .Count = "3",
                         .Interval = "2",
                         .Data = {.EndChar = 0, .Memo = "X"}};
  };
  ExpectEncodes({
      {"defaults, HELLO, CR", EncodeRs232(kVantor, Rs({.EndChar = 1, .Memo = "HELLO"}), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x0B, 0x01, 0x30, 0x00, 0x00, 0x00, 0x48, 0x45, 0x4C, 0x4C, 0x4F, 0x0D, 0xF4}),
       "Port:1,9600bps 8 1,Send Once,Frt:asc,CR,Len:5,Data:HELLO"},
      {"CR+LF after AT", EncodeRs232(kVantor, Rs({.EndChar = 3, .Memo = "AT"}), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x09, 0x01, 0x30, 0x00, 0x00, 0x00, 0x41, 0x54, 0x0D, 0x0A, 0xF4}),
       "Port:1,9600bps 8 1,Send Once,Frt:asc,CR+LF,Len:2,Data:AT"},
      // 05 + 3*8 + 2*16 = 3D; 4 + 8 + 7*16 = 7C; interval before count.
      {"Vantor Port5, every field", EncodeRs232(kVantor, full(4), 2),
       B({0xF3, 0x00, 0x02, 0x01, 0x00, 0x06, 0x3D, 0x7C, 0x02, 0x03, 0x00, 0x58, 0xF4}),
       "Port:5,115200bps 5 2,Send No.:3,Times:2,Frt:asc,NULL,Len:1,Data:X"},
      {"Vantor Port3, every field", EncodeRs232(kVantor, full(2), 2),
       B({0xF3, 0x00, 0x02, 0x01, 0x00, 0x06, 0x3B, 0x7C, 0x02, 0x03, 0x00, 0x58, 0xF4}),
       "Port:3,115200bps 5 2,Send No.:3,Times:2,Frt:asc,NULL,Len:1,Data:X"},
      // 03 + 3*4 + 2*16 = 2F
      {"Quillet Port3, every field", EncodeRs232(kQuillet, full(2), 2),
       B({0xF3, 0x00, 0x02, 0x01, 0x00, 0x06, 0x2F, 0x7C, 0x02, 0x03, 0x00, 0x58, 0xF4}),
       "Port:3,115200bps 5 2,Send No.:3,Times:2,Frt:asc,NULL,Len:1,Data:X"},
      // Vantor: data bits "6" and stop bits "1.5" both land on bit 4.
      {"Vantor data bits 6", EncodeRs232(kVantor, With(Rs(a), [](auto& s) { s.DataBits = 2; }), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x06, 0x11, 0x30, 0x00, 0x00, 0x00, 0x41, 0xF4}),
       "Port:1,9600bps 6 1,Send Once,Frt:asc,NULL,Len:1,Data:A"},
      {"Vantor stop bits 1.5", EncodeRs232(kVantor, With(Rs(a), [](auto& s) { s.StopBits = 1; }), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x06, 0x11, 0x30, 0x00, 0x00, 0x00, 0x41, 0xF4}),
       "Port:1,9600bps 8 1.5,Send Once,Frt:asc,NULL,Len:1,Data:A"},
      {"Quillet data bits 6", EncodeRs232(kQuillet, With(Rs(a), [](auto& s) { s.DataBits = 2; }), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x06, 0x09, 0x30, 0x00, 0x00, 0x00, 0x41, 0xF4}),
       "Port:1,9600bps 6 1,Send Once,Frt:asc,NULL,Len:1,Data:A"},
      {"Quillet stop bits 1.5", EncodeRs232(kQuillet, With(Rs(a), [](auto& s) { s.StopBits = 1; }), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x06, 0x11, 0x30, 0x00, 0x00, 0x00, 0x41, 0xF4}),
       "Port:1,9600bps 8 1.5,Send Once,Frt:asc,NULL,Len:1,Data:A"},
      {"Set keeps the low 8 bits",
       EncodeRs232(kVantor, With(Rs(a), [](auto& s) { s.RepeatMode = 1, s.Count = "300", s.Interval = "257"; }), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x06, 0x01, 0x38, 0x01, 0x2C, 0x00, 0x41, 0xF4}),
       "Port:1,9600bps 8 1,Send No.:300,Times:257,Frt:asc,NULL,Len:1,Data:A"},
      {"None ignores the repeat edits",
       EncodeRs232(kVantor, With(Rs(a), [](auto& s) { s.Count = "abc", s.Interval = ""; }), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x06, 0x01, 0x30, 0x00, 0x00, 0x00, 0x41, 0xF4}),
       "Port:1,9600bps 8 1,Send Once,Frt:asc,NULL,Len:1,Data:A"},
      // Len counts the hex text; the end character plays no part.
      {"HEX memo", EncodeRs232(kVantor, Rs({.Hex = true, .EndChar = 3, .Memo = "01 0a FF"}), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x08, 0x01, 0x30, 0x00, 0x00, 0x01, 0x01, 0x0A, 0xFF, 0xF4}),
       "Port:1,9600bps 8 1,Send Once,Frt:hex,Len:8,Data:01 0a FF"},
      {"Quillet HEX memo, end character combo empty",
       EncodeRs232(kQuillet, Rs({.Hex = true, .EndChar = -1, .Memo = "01 0a FF"}), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x08, 0x01, 0x30, 0x00, 0x00, 0x01, 0x01, 0x0A, 0xFF, 0xF4}),
       "Port:1,9600bps 8 1,Send Once,Frt:hex,Len:8,Data:01 0a FF"},
      {"library prefix",
       EncodeRs232(kVantor, With(Rs({.Memo = "P"}), [](auto& s) { s.LibName = "Proj", s.Function = "Power On"; }), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x06, 0x01, 0x30, 0x00, 0x00, 0x00, 0x50, 0xF4}),
       "Lib name:Proj Function:Power On Port:1,9600bps 8 1,Send Once,Frt:asc,NULL,Len:1,Data:P"},
      {"no prefix without a selected function",
       EncodeRs232(kVantor, With(Rs({.Memo = "P"}), [](auto& s) { s.LibName = "Proj"; }), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x06, 0x01, 0x30, 0x00, 0x00, 0x00, 0x50, 0xF4}),
       "Port:1,9600bps 8 1,Send Once,Frt:asc,NULL,Len:1,Data:P"},
      {"no prefix without a lib name",
       EncodeRs232(kVantor, With(Rs({.Memo = "P"}), [](auto& s) { s.Function = "Power"; }), 1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x06, 0x01, 0x30, 0x00, 0x00, 0x00, 0x50, 0xF4}),
       "Port:1,9600bps 8 1,Send Once,Frt:asc,NULL,Len:1,Data:P"},
      // The memo's bytes go out as they are; Len counts bytes, not characters.
      {"GBK and a line break, LF, 2400, odd",
       EncodeRs232(kVantor, With(Rs({.EndChar = 2, .Memo = "\xCE\xDE\r\n"}), [](auto& s) { s.Baud = 0, s.Parity = 1; }),
                   1),
       B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x0A, 0x01, 0x11, 0x00, 0x00, 0x00, 0xCE, 0xDE, 0x0D, 0x0A, 0x0A, 0xF4}),
       "Port:1,2400bps 8 1,Send Once,Frt:asc,LF,Len:4,Data:\xCE\xDE\r\n"},
  });
}

TEST(EncodeIr, FramesAndListTexts) {
  const IrCode code3{"0003A1B2C3"};
  const IrCode raw{B({0x00, 0x01, 0x7E}), true};
  const IrCode empty{"0000"};
  const IrCode lower{"0002abcd"};
  for (const Variant* v : {&kVantor, &kQuillet}) {
    SCOPED_TRACE(v->Name);
    ExpectEncodes({
        // 02 + 1*4 + 0*8 = 06; length = the code's 3 + 5.
        {"Port2, On, Set, hex code",
         EncodeIr(*v,
                  {.LibName = "TV",
                   .Function = "Power",
                   .FunctionIndex = 0,
                   .Port = 1,
                   .Carrier = 0,
                   .RepeatMode = 1,
                   .Count = "3",
                   .Interval = "1"},
                  &code3, 1),
         B({0xF3, 0x00, 0x01, 0x02, 0x00, 0x08, 0x06, 0x01, 0x03, 0x00, 0x03, 0xA1, 0xB2, 0xC3, 0xF4}),
         "Lib name:TV Function:Power Port:2 Carrier:On,Send No.:3,Times:1,Data:0003A1B2C3"},
        {"Port1, Off, once, raw code",
         EncodeIr(*v, {.LibName = "TV", .Function = "Mute", .FunctionIndex = 4, .Port = 0, .Carrier = 1}, &raw, 5),
         B({0xF3, 0x00, 0x05, 0x02, 0x00, 0x06, 0x09, 0x00, 0x00, 0x00, 0x01, 0x7E, 0xF4}),
         "Lib name:TV Function:Mute Port:1 Carrier:Off,Send Once,Data:00017E"},
        {"empty code, every bit, low bytes",
         EncodeIr(*v,
                  {.LibName = "L",
                   .Function = "F",
                   .FunctionIndex = 0,
                   .Port = 1,
                   .Carrier = 1,
                   .RepeatMode = 1,
                   .Count = "256",
                   .Interval = "-1"},
                  &empty, 1),
         B({0xF3, 0x00, 0x01, 0x02, 0x00, 0x05, 0x0E, 0xFF, 0x00, 0x00, 0x00, 0xF4}),
         "Lib name:L Function:F Port:2 Carrier:Off,Send No.:256,Times:-1,Data:0000"},
        {"hex code shown as stored", EncodeIr(*v, {.LibName = "A", .Function = "B", .FunctionIndex = 2}, &lower, 1),
         B({0xF3, 0x00, 0x01, 0x02, 0x00, 0x07, 0x01, 0x00, 0x00, 0x00, 0x02, 0xAB, 0xCD, 0xF4}),
         "Lib name:A Function:B Port:1 Carrier:On,Send Once,Data:0002abcd"},
    });
  }
}

TEST(EncodeTcp, FramesAndListTexts) {
  ExpectEncodes({
      {"HEX to 192.168.1.20:4001",
       EncodeTcp(kVantor, {.Ip = "192.168.1.20", .Port = "4001", .Data = {.Hex = true, .Memo = "01 02"}}, 1),
       B({0xF3, 0x00, 0x01, 0x03, 0x00, 0x09, 0xC0, 0xA8, 0x01, 0x14, 0x0F, 0xA1, 0x01, 0x01, 0x02, 0xF4}),
       "IP:192.168.1.20,Port:4001,Frt:hex,Data:01 02;"},
      {"10.0.0.1:502, LF",
       EncodeTcp(kVantor, {.Ip = "10.0.0.1", .Port = "502", .Data = {.EndChar = 2, .Memo = "Q"}}, 1),
       B({0xF3, 0x00, 0x01, 0x03, 0x00, 0x09, 0x0A, 0x00, 0x00, 0x01, 0x01, 0xF6, 0x00, 0x51, 0x0A, 0xF4}),
       "IP:10.0.0.1,Port:502,Frt:asc,LF,Data:Q;"},
      {"blanks and empty parts dropped",
       EncodeTcp(kQuillet, {.Ip = " 10 . 0..0.1", .Port = "65535", .Data = {.EndChar = 1, .Memo = "x"}}, 1),
       B({0xF3, 0x00, 0x01, 0x03, 0x00, 0x09, 0x0A, 0x00, 0x00, 0x01, 0xFF, 0xFF, 0x00, 0x78, 0x0D, 0xF4}),
       "IP: 10 . 0..0.1,Port:65535,Frt:asc,CR,Data:x;"},
      {"octet and port bounds", EncodeTcp(kVantor, {.Ip = "255.255.255.0", .Port = "0", .Data = {.Memo = "a;b"}}, 1),
       B({0xF3, 0x00, 0x01, 0x03, 0x00, 0x0A, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x61, 0x3B, 0x62, 0xF4}),
       "IP:255.255.255.0,Port:0,Frt:asc,NULL,Data:a;b;"},
  });
}

TEST(EncodeDelay, FramesAndListTexts) {
  ExpectEncodes({
      {"23:59:59", EncodeDelay(kVantor, {"23", "59", "59"}, 1),
       B({0xF3, 0x00, 0x01, 0x04, 0x00, 0x04, 0x17, 0x3B, 0x3B, 0x00, 0xF4}), "Hour:23 Minute:59 Second:59"},
      {"0:1:30", EncodeDelay(kQuillet, {"0", "1", "30"}, 10),
       B({0xF3, 0x00, 0x0A, 0x04, 0x00, 0x04, 0x00, 0x01, 0x1E, 0x00, 0xF4}), "Hour:0 Minute:1 Second:30"},
      {"texts as typed, low 8 bits", EncodeDelay(kVantor, {"07", "300", "+5"}, 300),
       B({0xF3, 0x01, 0x2C, 0x04, 0x00, 0x04, 0x07, 0x2C, 0x05, 0x00, 0xF4}), "Hour:07 Minute:300 Second:+5"},
  });
}

TEST(EncodeCompare, FramesAndListTexts) {
  ExpectEncodes({
      {"Port1, empty ASCII memo", EncodeCompare(kVantor, {.Source = 0, .Data = {.EndChar = 0, .Memo = ""}}, 1),
       B({0xF3, 0x00, 0x01, 0x05, 0x00, 0x02, 0x01, 0x00, 0xF4}), "Port1,Frt:asc,NULL,Data:" + kNoData + ";"},
      {"TCP/IP, OK", EncodeCompare(kVantor, {.Source = 3, .Data = {.Memo = "OK"}}, 1),
       B({0xF3, 0x00, 0x01, 0x05, 0x00, 0x04, 0x04, 0x00, 0x4F, 0x4B, 0xF4}), "TCP/IP,Frt:asc,NULL,Data:OK;"},
      {"Port3, HEX", EncodeCompare(kQuillet, {.Source = 2, .Data = {.Hex = true, .Memo = "AA BB"}}, 1),
       B({0xF3, 0x00, 0x01, 0x05, 0x00, 0x04, 0x03, 0x01, 0xAA, 0xBB, 0xF4}), "Port3,Frt:hex,Data:AA BB;"},
      {"Port2, empty HEX memo", EncodeCompare(kVantor, {.Source = 1, .Data = {.Hex = true, .Memo = ""}}, 1),
       B({0xF3, 0x00, 0x01, 0x05, 0x00, 0x02, 0x02, 0x01, 0xF4}), "Port2,Frt:hex,Data:" + kNoData + ";"},
      {"Port2, CR+LF", EncodeCompare(kVantor, {.Source = 1, .Data = {.EndChar = 3, .Memo = "go"}}, 1),
       B({0xF3, 0x00, 0x01, 0x05, 0x00, 0x06, 0x02, 0x00, 0x67, 0x6F, 0x0D, 0x0A, 0xF4}),
       "Port2,Frt:asc,CR+LF,Data:go;"},
  });
}

TEST(EncodeLedAndToggle, FramesAndListTexts) {
  ExpectEncodes({
      {"LED Key3 On/Other Off", EncodeLed(kVantor, {2, 2}, 1),
       B({0xF3, 0x00, 0x01, 0x06, 0x00, 0x02, 0x03, 0x03, 0xF4}), "Key3 On/Other Off"},
      {"LED Vantor Key9 Off", EncodeLed(kVantor, {8, 1}, 1), B({0xF3, 0x00, 0x01, 0x06, 0x00, 0x02, 0x09, 0x02, 0xF4}),
       "Key9 Off"},
      {"LED Quillet Key6 On/Group Off", EncodeLed(kQuillet, {5, 3}, 1),
       B({0xF3, 0x00, 0x01, 0x06, 0x00, 0x02, 0x06, 0x04, 0xF4}), "Key6 On/Group Off"},
      {"LED Quillet Key1 On", EncodeLed(kQuillet, {0, 0}, 256),
       B({0xF3, 0x01, 0x00, 0x06, 0x00, 0x02, 0x01, 0x01, 0xF4}), "Key1 On"},
      {"Toggle Key2 start 1", EncodeToggle(kVantor, {1, 0}, 1),
       B({0xF3, 0x00, 0x01, 0x07, 0x00, 0x02, 0x02, 0x01, 0xF4}), "Key2,Toggle Start No.1"},
      {"Toggle Vantor Key9 start 2", EncodeToggle(kVantor, {8, 1}, 1),
       B({0xF3, 0x00, 0x01, 0x07, 0x00, 0x02, 0x09, 0x02, 0xF4}), "Key9,Toggle Start No.2"},
      {"Toggle Quillet Key6 start 2", EncodeToggle(kQuillet, {5, 1}, 500),
       B({0xF3, 0x01, 0xF4, 0x07, 0x00, 0x02, 0x06, 0x02, 0xF4}), "Key6,Toggle Start No.2"},
  });
}

TEST(EventFrame, IndexBytesHighFirstForEveryKind) {
  const IrCode code{"0003A1B2C3"};
  const IrSettings ir{.LibName = "TV", .Function = "Power", .FunctionIndex = 0};
  const std::pair<int, std::string> indexes[] = {
      {1, B({0x00, 0x01})},   {10, B({0x00, 0x0A})},  {255, B({0x00, 0xFF})},
      {256, B({0x01, 0x00})}, {300, B({0x01, 0x2C})}, {500, B({0x01, 0xF4})},
  };
  for (const auto& [index, bytes] : indexes) {
    const Encoded all[] = {
        EncodeRs232(kVantor, Rs({.Memo = "A"}), index),
        EncodeIr(kVantor, ir, &code, index),
        EncodeTcp(kVantor, {.Ip = "1.2.3.4", .Port = "1", .Data = {.Memo = "A"}}, index),
        EncodeDelay(kVantor, {}, index),
        EncodeCompare(kVantor, {}, index),
        EncodeLed(kVantor, {}, index),
        EncodeToggle(kVantor, {}, index),
    };
    for (size_t kind = 0; kind < std::size(all); ++kind) {
      SCOPED_TRACE(std::string(kEventKindNames[kind]) + " index " + std::to_string(index));
      const std::string& f = all[kind].Frame;
      ASSERT_GE(f.size(), 7u);
      EXPECT_EQ(f.substr(1, 2), bytes);
      EXPECT_EQ(f[3], static_cast<char>(kind + 1));
      EXPECT_EQ((static_cast<unsigned char>(f[4]) << 8) + static_cast<unsigned char>(f[5]), f.size() - 7);
    }
  }
}

TEST(EventFrame, PayloadMustFitTheLengthField) {
  const Encoded largest = EncodeRs232(kVantor, Rs({.Memo = std::string(65530, 'x')}), 1);
  ASSERT_EQ(largest.Status, EncodeStatus::Ok);
  EXPECT_EQ(largest.Frame.substr(4, 2), B({0xFF, 0xFF}));
  EXPECT_EQ(largest.Frame.size(), 65535u + 7);
  EXPECT_EQ(EncodeRs232(kVantor, Rs({.Memo = std::string(65531, 'x')}), 1).Status, EncodeStatus::NotLegal);
}

// What a paste into a data memo is measured by: the payload the page's Add
// would build with that data.
TEST(EventFrame, DataPayloadSizeIsWhatTheEncoderBuilds) {
  const DataPart parts[] = {{.Memo = "AT"},
                            {.EndChar = 1, .Memo = "AT"},
                            {.EndChar = 3, .Memo = "AT\r\nB"},
                            {.Hex = true, .Memo = "01 02 0d"},
                            {.Hex = true, .Memo = std::string(3 * 1000, '0')}};
  for (const Variant* v : {&kVantor, &kQuillet})
    for (const DataPart& d : parts) {
      SCOPED_TRACE(v->Name + " " + d.Memo.substr(0, 8));
      const TcpSettings tcp{.Ip = "10.0.0.1", .Port = "502", .Data = d};
      const CompareSettings compare{.Source = 3, .Data = d};
      EXPECT_EQ(DataEventPayloadSize(*v, EventKind::Rs232, d), EncodeRs232(*v, Rs(d), 1).Frame.size() - 7);
      EXPECT_EQ(DataEventPayloadSize(*v, EventKind::TcpIp, d), EncodeTcp(*v, tcp, 1).Frame.size() - 7);
      EXPECT_EQ(DataEventPayloadSize(*v, EventKind::Compare, d), EncodeCompare(*v, compare, 1).Frame.size() - 7);
    }
  // Malformed groups count for nothing, in the 6-key build nothing after them.
  const DataPart bad{.Hex = true, .Memo = "01 zz 02"};
  EXPECT_EQ(DataEventPayloadSize(kVantor, EventKind::Rs232, bad), 4u + 1 + 2);
  EXPECT_EQ(DataEventPayloadSize(kQuillet, EventKind::Rs232, bad), 4u + 1);
  EXPECT_EQ(DataEventPayloadSize(kVantor, EventKind::Rs232, {.Memo = std::string(65530, 'x')}), kMaxEventPayload);
}

// HEX text is also held to the length of the longest legal one: the spaced
// hex of the most data bytes an event carries, with a separator after each.
TEST(EventFrame, HexDataFitsOnlyInTheTextOfAFullEvent) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    const std::string full = [] {
      std::string t;
      for (int i = 0; i < 65530; ++i) t += "0A ";
      return t;
    }();
    const struct {
      const char* name;
      EventKind kind;
      DataPart d;
      bool fits;
    } cases[] = {
        {"a full event", EventKind::Rs232, {.Hex = true, .Memo = full}, true},
        // The decoder reads it without the blanks and line breaks around it.
        {"a full event copied with its line end",
         EventKind::Rs232,
         {.Hex = true, .Memo = full.substr(0, full.size() - 1) + "\r\n"},
         true},
        {"blank lines and blanks around it",
         EventKind::Rs232,
         {.Hex = true, .Memo = "\r\n\t " + full + "\r\n\r\n"},
         true},
        {"one character past it", EventKind::Rs232, {.Hex = true, .Memo = full + "0"}, false},
        {"no hex digit at all", EventKind::Rs232, {.Hex = true, .Memo = std::string(1 << 20, 'x')}, false},
        {"as long as a full event's text, no hex digit",
         EventKind::Rs232,
         {.Hex = true, .Memo = std::string(full.size() + 1, 'x')},
         false},
        // Around it at most as many again.
        {"as many blanks again", EventKind::Rs232, {.Hex = true, .Memo = std::string(full.size(), ' ') + full}, true},
        {"one blank more", EventKind::Rs232, {.Hex = true, .Memo = std::string(full.size() + 1, ' ') + full}, false},
        {"nothing but line breaks", EventKind::Rs232, {.Hex = true, .Memo = std::string(1 << 20, '\n')}, false},
        {"the longest text less a byte's room", EventKind::TcpIp, {.Hex = true, .Memo = full.substr(6)}, true},
        {"a byte past TCP/IP's room", EventKind::TcpIp, {.Hex = true, .Memo = full.substr(3)}, false},
        {"the same characters as ASCII", EventKind::Compare, {.Memo = std::string(65533, 'x')}, true},
        {"ASCII past the room", EventKind::Compare, {.Memo = std::string(65534, 'x')}, false},
    };
    for (const auto& c : cases) {
      SCOPED_TRACE(v->Name + " " + c.name);
      EXPECT_EQ(DataEventFits(*v, c.kind, c.d), c.fits);
    }
  }
}

// ---------------------------------------------------------------------------
// Refusals: nothing is built

struct RefusalCase {
  const char* name;
  Encoded got;
};

void ExpectRefused(EncodeStatus status, const std::vector<RefusalCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.got.Status, status);
    EXPECT_EQ(c.got.Frame, "");
    EXPECT_EQ(c.got.ListText, "");
  }
}

const Rs232Settings kRsOk = Rs({.Memo = "A"});
const IrSettings kIrOk{.LibName = "TV", .Function = "Power", .FunctionIndex = 0};
const IrCode kCodeOk{"0003A1B2C3"};
const TcpSettings kTcpOk{.Ip = "10.0.0.1", .Port = "502", .Data = {.Memo = "Q"}};

Encoded Tcp(const char* ip, const char* port = "502") {
  return EncodeTcp(kVantor, With(kTcpOk, [&](auto& s) { s.Ip = ip, s.Port = port; }), 1);
}

TEST(EncodeRefusals, MissingInputComesFirst) {
  ExpectRefused(
      EncodeStatus::MissingInput,
      {
          {"rs232 memo", EncodeRs232(kVantor, Rs({}), 1)},
          {"rs232 memo before a bad port and HEX",
           EncodeRs232(kQuillet, With(Rs({.Hex = true, .Memo = ""}), [](auto& s) { s.Port = -1; }), 1)},
          {"ir lib name", EncodeIr(kVantor, With(kIrOk, [](auto& s) { s.LibName = ""; }), &kCodeOk, 1)},
          {"ir function", EncodeIr(kVantor, With(kIrOk, [](auto& s) { s.Function = ""; }), &kCodeOk, 1)},
          {"ir lib name before no code", EncodeIr(kVantor, With(kIrOk, [](auto& s) { s.LibName = ""; }), nullptr, 1)},
          {"tcp ip", Tcp("")},
          {"tcp port", Tcp("10.0.0.1", "")},
          {"tcp memo before a bad address",
           EncodeTcp(kVantor, With(kTcpOk, [](auto& s) { s.Ip = "10.0.0", s.Data.Memo = ""; }), 1)},
          {"delay hour", EncodeDelay(kVantor, {"", "0", "0"}, 1)},
          {"delay minute", EncodeDelay(kVantor, {"0", "", "0"}, 1)},
          {"delay second before a bad hour", EncodeDelay(kVantor, {"x", "0", ""}, 1)},
      });
}

TEST(EncodeRefusals, NotLegalRs232) {
  const auto rs = [](const Variant& v, auto edit) { return EncodeRs232(v, With(kRsOk, edit), 1); };
  ExpectRefused(
      EncodeStatus::NotLegal,
      {
          {"bad hex group", rs(kVantor, [](auto& s) { s.Data = {.Hex = true, .Memo = "01 GG 02"}; })},
          {"Quillet bad hex group", rs(kQuillet, [](auto& s) { s.Data = {.Hex = true, .Memo = "01 GG 02"}; })},
          {"hex without separators", rs(kVantor, [](auto& s) { s.Data = {.Hex = true, .Memo = "F30A"}; })},
          {"Set, empty count", rs(kVantor, [](auto& s) { s.RepeatMode = 1, s.Count = ""; })},
          {"Set, count with a blank", rs(kVantor, [](auto& s) { s.RepeatMode = 1, s.Count = " 3"; })},
          {"Set, count 3a", rs(kVantor, [](auto& s) { s.RepeatMode = 1, s.Count = "3a"; })},
          {"Set, interval 1.5", rs(kVantor, [](auto& s) { s.RepeatMode = 1, s.Interval = "1.5"; })},
          {"port -1", rs(kVantor, [](auto& s) { s.Port = -1; })},
          {"Vantor port 6", rs(kVantor, [](auto& s) { s.Port = 5; })},
          {"Quillet port 4", rs(kQuillet, [](auto& s) { s.Port = 3; })},
          {"baud", rs(kVantor, [](auto& s) { s.Baud = 7; })},
          {"data bits", rs(kVantor, [](auto& s) { s.DataBits = -1; })},
          {"stop bits", rs(kVantor, [](auto& s) { s.StopBits = 3; })},
          {"parity", rs(kVantor, [](auto& s) { s.Parity = 5; })},
          {"repeat mode", rs(kVantor, [](auto& s) { s.RepeatMode = -1; })},
          {"ASCII end char -1", rs(kVantor, [](auto& s) { s.Data.EndChar = -1; })},
          {"ASCII end char 4", rs(kVantor, [](auto& s) { s.Data.EndChar = 4; })},
      });
}

TEST(EncodeRefusals, NotLegalIr) {
  const auto ir = [](auto edit, const IrCode* code = &kCodeOk) {
    return EncodeIr(kVantor, With(kIrOk, edit), code, 1);
  };
  const auto keep = [](auto&) {};
  const IrCode oneByte{"00"}, none{""}, odd{"0003A1B2C"}, tooLong{"0012AB"}, tooShort{"0001A1B2"},
      rawOne{B({0x00}), true}, rawShort{B({0x00, 0x05, 0xAA}), true};
  ExpectRefused(EncodeStatus::NotLegal,
                {
                    {"no library entry", ir(keep, nullptr)},
                    {"no function selected", ir([](auto& s) { s.FunctionIndex = -1; })},
                    {"one code byte", ir(keep, &oneByte)},
                    {"empty code", ir(keep, &none)},
                    {"odd hex text", ir(keep, &odd)},
                    {"own length above the bytes", ir(keep, &tooLong)},
                    {"own length below the bytes", ir(keep, &tooShort)},
                    {"raw code of one byte", ir(keep, &rawOne)},
                    {"raw code shorter than its length", ir(keep, &rawShort)},
                    {"port 3", ir([](auto& s) { s.Port = 2; })},
                    {"carrier -1", ir([](auto& s) { s.Carrier = -1; })},
                    {"repeat mode 2", ir([](auto& s) { s.RepeatMode = 2; })},
                    {"Set, count x", ir([](auto& s) { s.RepeatMode = 1, s.Count = "x"; })},
                    {"Set, empty interval", ir([](auto& s) { s.RepeatMode = 1, s.Interval = ""; })},
                });
}

TEST(EncodeRefusals, NotLegalTcp) {
  ExpectRefused(
      EncodeStatus::NotLegal,
      {
          {"three parts", Tcp("10.0.0")},
          {"five parts", Tcp("10.0.0.1.5")},
          {"three parts and an empty one", Tcp("10.0..0")},
          {"octet 256", Tcp("10.0.0.256")},
          {"octet -1", Tcp("10.0.0.-1")},
          {"blank in the last part", Tcp("10.0.0.1 ")},
          {"letters", Tcp("a.b.c.d")},
          {"dots only", Tcp("....")},
          {"port 65536", Tcp("10.0.0.1", "65536")},
          {"port -1", Tcp("10.0.0.1", "-1")},
          {"port with a blank", Tcp("10.0.0.1", "80 ")},
          {"port in hex", Tcp("10.0.0.1", "0x50")},
          {"bad hex memo", EncodeTcp(kVantor, With(kTcpOk, [](auto& s) { s.Data = {.Hex = true, .Memo = "0G"}; }), 1)},
          {"end char -1", EncodeTcp(kVantor, With(kTcpOk, [](auto& s) { s.Data.EndChar = -1; }), 1)},
      });
}

TEST(EncodeRefusals, NotLegalDelayCompareLedToggle) {
  ExpectRefused(EncodeStatus::NotLegal,
                {
                    {"delay hour x", EncodeDelay(kVantor, {"x", "0", "0"}, 1)},
                    {"delay minute 1.5", EncodeDelay(kVantor, {"0", "1.5", "0"}, 1)},
                    {"delay second -", EncodeDelay(kVantor, {"0", "0", "-"}, 1)},
                    {"delay hour with a blank", EncodeDelay(kVantor, {" 1", "0", "0"}, 1)},
                    {"compare source -1", EncodeCompare(kVantor, {.Source = -1, .Data = {}}, 1)},
                    {"compare source 4", EncodeCompare(kVantor, {.Source = 4, .Data = {}}, 1)},
                    {"compare bad hex", EncodeCompare(kVantor, {.Data = {.Hex = true, .Memo = "ZZ"}}, 1)},
                    {"Quillet compare bad hex", EncodeCompare(kQuillet, {.Data = {.Hex = true, .Memo = "01 ZZ"}}, 1)},
                    {"compare end char 4", EncodeCompare(kVantor, {.Data = {.EndChar = 4, .Memo = ""}}, 1)},
                    {"led key -1", EncodeLed(kVantor, {-1, 0}, 1)},
                    {"Vantor led key 10", EncodeLed(kVantor, {9, 0}, 1)},
                    {"Quillet led key 7", EncodeLed(kQuillet, {6, 0}, 1)},
                    {"led light 4", EncodeLed(kVantor, {0, 4}, 1)},
                    {"toggle key -1", EncodeToggle(kVantor, {-1, 0}, 1)},
                    {"Quillet toggle key 7", EncodeToggle(kQuillet, {6, 0}, 1)},
                    {"toggle start 2", EncodeToggle(kVantor, {0, 2}, 1)},
                    {"toggle start -1", EncodeToggle(kQuillet, {0, -1}, 1)},
                });
}

// ---------------------------------------------------------------------------
// The Event List click. Changes are shown as "field=value|" for every field
// that is set, so a field left alone must be missing from the expectation.

template <class T>
void Put(std::string& out, const char* name, const std::optional<T>& f) {
  if (!f) return;
  out += name;
  out += '=';
  if constexpr (std::is_same_v<T, std::string>)
    out += *f;
  else
    out += std::to_string(*f);
  out += '|';
}

std::string Show(const DataPartChange& c) {
  std::string s;
  Put(s, "Hex", c.Hex);
  Put(s, "EndChar", c.EndChar);
  Put(s, "Memo", c.Memo);
  return s;
}

std::string Show(const Rs232Change& c) {
  std::string s;
  Put(s, "LibName", c.LibName);
  Put(s, "Function", c.Function);
  Put(s, "Port", c.Port);
  Put(s, "Baud", c.Baud);
  Put(s, "DataBits", c.DataBits);
  Put(s, "StopBits", c.StopBits);
  Put(s, "Parity", c.Parity);
  Put(s, "RepeatMode", c.RepeatMode);
  Put(s, "Count", c.Count);
  Put(s, "Interval", c.Interval);
  return s + Show(c.Data);
}

std::string Show(const IrChange& c) {
  std::string s;
  Put(s, "LibName", c.LibName);
  Put(s, "Function", c.Function);
  Put(s, "Port", c.Port);
  Put(s, "Carrier", c.Carrier);
  Put(s, "RepeatMode", c.RepeatMode);
  Put(s, "Count", c.Count);
  Put(s, "Interval", c.Interval);
  return s;
}

std::string Show(const TcpChange& c) {
  std::string s;
  Put(s, "Ip", c.Ip);
  Put(s, "Port", c.Port);
  return s + Show(c.Data);
}

std::string Show(const DelayChange& c) {
  std::string s;
  Put(s, "Hour", c.Hour);
  Put(s, "Minute", c.Minute);
  Put(s, "Second", c.Second);
  return s;
}

std::string Show(const CompareChange& c) {
  std::string s;
  Put(s, "Source", c.Source);
  return s + Show(c.Data);
}

std::string Show(const LedChange& c) {
  std::string s;
  Put(s, "Key", c.Key);
  Put(s, "Light", c.Light);
  return s;
}

std::string Show(const ToggleChange& c) {
  std::string s;
  Put(s, "Key", c.Key);
  Put(s, "Start", c.Start);
  return s;
}

struct ParseCase {
  const Variant* v;
  std::string text;
  std::string change;
};

template <class Parse>
void ExpectParses(Parse parse, const std::vector<ParseCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.v->Name + ": " + c.text);
    EXPECT_EQ(Show(parse(*c.v, c.text)), c.change);
  }
}

TEST(ParseListText, Rs232) {
  ExpectParses(
      ParseRs232ListText,
      {
          {&kVantor, "Port:1,9600bps 8 1,Send Once,Frt:asc,CR,Len:5,Data:HELLO",
           "LibName=|Function=|Port=0|Baud=2|DataBits=0|StopBits=0|RepeatMode=0|Hex=0|EndChar=1|Memo=HELLO|"},
          // Ports above 3 are put back where the build has them.
          {&kVantor, "Port:5,115200bps 5 2,Send No.:3,Times:2,Frt:asc,NULL,Len:1,Data:X",
           "LibName=|Function=|Port=4|Baud=6|DataBits=3|StopBits=2|RepeatMode=1|Count=3|Interval=2|Hex=0|EndChar=0|"
           "Memo=X|"},
          {&kVantor, "Port:4,2400bps 8 1,Send Once,Frt:asc,NULL,Len:1,Data:X",
           "LibName=|Function=|Port=3|Baud=0|DataBits=0|StopBits=0|RepeatMode=0|Hex=0|EndChar=0|Memo=X|"},
          {&kQuillet, "Port:4,2400bps 8 1,Send Once,Frt:asc,NULL,Len:1,Data:X",
           "LibName=|Function=|Baud=0|DataBits=0|StopBits=0|RepeatMode=0|Hex=0|EndChar=0|Memo=X|"},
          {&kQuillet, "Port:3,9600bps 8 1,Send Once,Frt:asc,NULL,Len:1,Data:X",
           "LibName=|Function=|Port=2|Baud=2|DataBits=0|StopBits=0|RepeatMode=0|Hex=0|EndChar=0|Memo=X|"},
          // Three characters of stop bits shift nothing after them.
          {&kVantor, "Port:2,4800bps 7 1.5,Send No.:10,Times:20,Frt:hex,Len:5,Data:01 02",
           "LibName=|Function=|Port=1|Baud=1|DataBits=1|StopBits=1|RepeatMode=1|Count=10|Interval=20|Hex=1|EndChar=0|"
           "Memo=01 02|"},
          {&kVantor, "Port:1,9600bps 8 1.5,Send Once,Frt:asc,LF,Len:1,Data:A",
           "LibName=|Function=|Port=0|Baud=2|DataBits=0|StopBits=1|RepeatMode=0|Hex=0|EndChar=2|Memo=A|"},
          {&kVantor, "Lib name:Proj Function:Power On Port:1,9600bps 8 1,Send Once,Frt:asc,CR+LF,Len:3,Data:a,b",
           "LibName=Proj|Function=Power On|Port=0|Baud=2|DataBits=0|StopBits=0|RepeatMode=0|Hex=0|EndChar=3|Memo=a,b|"},
          // Texts that are no item leave their combos as they are.
          {&kVantor, "Port:9,1234bps 9 3,Send Once,Frt:asc,TAB,Len:1,Data:A",
           "LibName=|Function=|RepeatMode=0|Hex=0|Memo=A|"},
          // Markers inside the memo are the memo's.
          {&kVantor, "Port:1,9600bps 8 1,Send Once,Frt:asc,NULL,Len:20,Data:Data:x,Len:1,Frt:hex",
           "LibName=|Function=|Port=0|Baud=2|DataBits=0|StopBits=0|RepeatMode=0|Hex=0|EndChar=0|"
           "Memo=Data:x,Len:1,Frt:hex|"},
      });
}

TEST(ParseListText, Ir) {
  ExpectParses(ParseIrListText,
               {
                   // The code is not put back: a code that would be refused parses the same.
                   {&kVantor, "Lib name:TV Function:Power Port:2 Carrier:On,Send No.:3,Times:1,Data:0012AB",
                    "LibName=TV|Function=Power|Port=1|Carrier=0|RepeatMode=1|Count=3|Interval=1|"},
                   {&kQuillet, "Lib name:TV Function:Mute Port:1 Carrier:Off,Send Once,Data:00017E",
                    "LibName=TV|Function=Mute|Port=0|Carrier=1|RepeatMode=0|"},
                   {&kVantor, "Lib name:A B Function:C D Port:3 Carrier:On,Send Once,Data:0000",
                    "LibName=A B|Function=C D|Carrier=0|RepeatMode=0|"},
               });
}

TEST(ParseListText, Tcp) {
  ExpectParses(ParseTcpListText, {
                                     {&kVantor, "IP:192.168.1.20,Port:4001,Frt:hex,Data:01 02;",
                                      "Ip=192.168.1.20|Port=4001|Hex=1|EndChar=0|Memo=01 02|"},
                                     {&kVantor, "IP:10.0.0.1,Port:502,Frt:asc,CR+LF,Data:a;b;",
                                      "Ip=10.0.0.1|Port=502|Hex=0|EndChar=3|Memo=a;b|"},
                                     {&kVantor, "IP:1.2.3.4,Port:1,Frt:xyz,Data:q;", "Ip=1.2.3.4|Port=1|Memo=q|"},
                                 });
}

TEST(ParseListText, Delay) {
  ExpectParses(ParseDelayListText, {
                                       {&kVantor, "Hour:0 Minute:1 Second:30", "Hour=0|Minute=1|Second=30|"},
                                       {&kQuillet, "Hour:23 Minute:59 Second:59", "Hour=23|Minute=59|Second=59|"},
                                   });
}

TEST(ParseListText, Compare) {
  ExpectParses(ParseCompareListText,
               {
                   {&kVantor, "TCP/IP,Frt:asc,NULL,Data:OK;", "Source=3|Hex=0|EndChar=0|Memo=OK|"},
                   {&kVantor, "Port2,Frt:hex,Data:AA BB;", "Source=1|Hex=1|EndChar=0|Memo=AA BB|"},
                   {&kVantor, "Port3,Frt:asc,LF,Data:x,Data:y;", "Source=2|Hex=0|EndChar=2|Memo=x,Data:y|"},
                   // "无" stands for no data.
                   {&kVantor, "Port1,Frt:asc,NULL,Data:" + kNoData + ";", "Source=0|Hex=0|EndChar=0|Memo=|"},
                   {&kQuillet, "Port1,Frt:asc,NULL,Data:" + kNoData + kNoData + ";",
                    "Source=0|Hex=0|EndChar=0|Memo=" + kNoData + kNoData + "|"},
               });
}

TEST(ParseListText, LedAndToggle) {
  ExpectParses(ParseLedListText, {
                                     {&kVantor, "Key3 On/Other Off", "Key=2|Light=2|"},
                                     {&kVantor, "Key9 On/Group Off", "Key=8|Light=3|"},
                                     {&kQuillet, "Key9 Off", "Light=1|"},
                                     {&kQuillet, "Key6 Blink", "Key=5|"},
                                 });
  ExpectParses(ParseToggleListText, {
                                        {&kVantor, "Key2,Toggle Start No.1", "Key=1|Start=0|"},
                                        {&kVantor, "Key9,Toggle Start No.2", "Key=8|Start=1|"},
                                        {&kQuillet, "Key7,Toggle Start No.2", "Start=1|"},
                                        {&kQuillet, "Key2,Toggle Start No.3", "Key=1|"},
                                    });
}

// ---------------------------------------------------------------------------
// Encode, click, Add again: the page the parse restores gives the same event.
// The apply helpers stand in for the page: a set field changes its control.

template <class T, class U>
void Take(T& to, const std::optional<U>& from) {
  if (from) to = *from;
}

void Apply(DataPart& d, const DataPartChange& c) {
  Take(d.Hex, c.Hex);
  Take(d.EndChar, c.EndChar);
  Take(d.Memo, c.Memo);
}

// The function combo holds whatever function the text names.
Rs232Settings Applied(Rs232Settings s, const Rs232Change& c) {
  Take(s.LibName, c.LibName);
  if (c.Function && !c.Function->empty()) s.Function = *c.Function;
  Take(s.Port, c.Port);
  Take(s.Baud, c.Baud);
  Take(s.DataBits, c.DataBits);
  Take(s.StopBits, c.StopBits);
  Take(s.Parity, c.Parity);
  Take(s.RepeatMode, c.RepeatMode);
  Take(s.Count, c.Count);
  Take(s.Interval, c.Interval);
  Apply(s.Data, c.Data);
  return s;
}

IrSettings Applied(IrSettings s, const IrChange& c, const std::vector<std::string>& functions) {
  Take(s.LibName, c.LibName);
  if (c.Function) {
    const int i = items::IndexOf(functions, *c.Function);
    if (i >= 0) s.Function = *c.Function, s.FunctionIndex = i;
  }
  Take(s.Port, c.Port);
  Take(s.Carrier, c.Carrier);
  Take(s.RepeatMode, c.RepeatMode);
  Take(s.Count, c.Count);
  Take(s.Interval, c.Interval);
  return s;
}

TcpSettings Applied(TcpSettings s, const TcpChange& c) {
  Take(s.Ip, c.Ip);
  Take(s.Port, c.Port);
  Apply(s.Data, c.Data);
  return s;
}

DelaySettings Applied(DelaySettings s, const DelayChange& c) {
  Take(s.Hour, c.Hour);
  Take(s.Minute, c.Minute);
  Take(s.Second, c.Second);
  return s;
}

CompareSettings Applied(CompareSettings s, const CompareChange& c) {
  Take(s.Source, c.Source);
  Apply(s.Data, c.Data);
  return s;
}

LedSettings Applied(LedSettings s, const LedChange& c) {
  Take(s.Key, c.Key);
  Take(s.Light, c.Light);
  return s;
}

ToggleSettings Applied(ToggleSettings s, const ToggleChange& c) {
  Take(s.Key, c.Key);
  Take(s.Start, c.Start);
  return s;
}

void ExpectSameEvent(const Encoded& first, const Encoded& again) {
  ASSERT_EQ(first.Status, EncodeStatus::Ok);
  EXPECT_EQ(again.Status, EncodeStatus::Ok);
  EXPECT_EQ(again.Frame, first.Frame);
  EXPECT_EQ(again.ListText, first.ListText);
}

TEST(RoundTrip, Rs232) {
  const std::pair<const Variant*, Rs232Settings> cases[] = {
      {&kVantor, Rs({.EndChar = 1, .Memo = "HELLO"})},
      {&kVantor,
       {.LibName = "",
        .Function = {},
        .Port = 4,
        .Baud = 6,
        .DataBits = 3,
        .StopBits = 2,
        .Parity = 4,
        .RepeatMode = 1,
        .Count = "3",
        .Interval = "2",
        .Data = {.EndChar = 3, .Memo = "AT"}}},
      {&kVantor,
       {.LibName = "Proj",
        .Function = "Power On",
        .Port = 3,
        .Baud = 0,
        .StopBits = 1,
        .RepeatMode = 1,
        .Count = "99",
        .Interval = "100",
        .Data = {.Hex = true, .Memo = "01 02 0a"}}},
      {&kQuillet,
       {.LibName = "",
        .Function = {},
        .Port = 2,
        .Baud = 5,
        .DataBits = 1,
        .StopBits = 1,
        .Parity = 2,
        .Data = {.EndChar = 2, .Memo = "x,Len:1,Data:y\r\n"}}},
      {&kQuillet,
       {.LibName = "L",
        .Function = "F",
        .Port = 1,
        .DataBits = 2,
        .StopBits = 2,
        .RepeatMode = 1,
        .Count = "1",
        .Interval = "1",
        .Data = {.Hex = true, .Memo = "FF"}}},
  };
  for (const auto& [v, s] : cases) {
    const Encoded first = EncodeRs232(*v, s, 7);
    SCOPED_TRACE(v->Name + ": " + first.ListText);
    // Parity is not in the list text; the page keeps what it had.
    Rs232Settings page;
    page.Parity = s.Parity;
    ExpectSameEvent(first, EncodeRs232(*v, Applied(page, ParseRs232ListText(*v, first.ListText)), 7));
  }
}

TEST(RoundTrip, IrWithTheSameCode) {
  const std::vector<std::string> functions = {"Power", "Mute", "Vol +"};
  const IrCode hex{"0003A1B2C3"}, raw{B({0x00, 0x02, 0x0D, 0x0A}), true};
  const std::tuple<IrSettings, const IrCode*> cases[] = {
      {{.LibName = "TV",
        .Function = "Power",
        .FunctionIndex = 0,
        .Port = 1,
        .RepeatMode = 1,
        .Count = "3",
        .Interval = "1"},
       &hex},
      {{.LibName = "TV set", .Function = "Vol +", .FunctionIndex = 2, .Carrier = 1}, &raw},
      {{.LibName = "A",
        .Function = "Mute",
        .FunctionIndex = 1,
        .Port = 1,
        .Carrier = 1,
        .RepeatMode = 1,
        .Count = "100",
        .Interval = "7"},
       &hex},
  };
  for (const Variant* v : {&kVantor, &kQuillet}) {
    for (const auto& [s, code] : cases) {
      const Encoded first = EncodeIr(*v, s, code, 3);
      SCOPED_TRACE(v->Name + ": " + first.ListText);
      ExpectSameEvent(first, EncodeIr(*v, Applied({}, ParseIrListText(*v, first.ListText), functions), code, 3));
    }
  }
}

TEST(RoundTrip, TcpDelayCompare) {
  const TcpSettings tcps[] = {
      {.Ip = "192.168.1.20", .Port = "4001", .Data = {.Hex = true, .Memo = "01 02"}},
      {.Ip = " 10 . 0..0.1", .Port = "502", .Data = {.EndChar = 3, .Memo = "a;b,Data:c;"}},
      {.Ip = "1.2.3.4", .Port = "65535", .Data = {.EndChar = 1, .Memo = "\xCE\xDE"}},
  };
  for (const auto& s : tcps) {
    const Encoded first = EncodeTcp(kVantor, s, 2);
    SCOPED_TRACE(first.ListText);
    ExpectSameEvent(first, EncodeTcp(kVantor, Applied({}, ParseTcpListText(kVantor, first.ListText)), 2));
  }

  const DelaySettings delays[] = {{"23", "59", "59"}, {"0", "1", "30"}, {"7", "0", "5"}};
  for (const auto& s : delays) {
    const Encoded first = EncodeDelay(kQuillet, s, 2);
    SCOPED_TRACE(first.ListText);
    ExpectSameEvent(first,
                    EncodeDelay(kQuillet, Applied({.Hour = "9"}, ParseDelayListText(kQuillet, first.ListText)), 2));
  }

  const CompareSettings compares[] = {
      {.Source = 0, .Data = {}},
      {.Source = 1, .Data = {.Hex = true, .Memo = ""}},
      {.Source = 2, .Data = {.EndChar = 2, .Memo = "x,Frt:hex;"}},
      {.Source = 3, .Data = {.Hex = true, .Memo = "AA BB"}},
      {.Source = 3, .Data = {.EndChar = 3, .Memo = "OK"}},
  };
  for (const auto& s : compares) {
    const Encoded first = EncodeCompare(kVantor, s, 2);
    SCOPED_TRACE(first.ListText);
    // Start from a page that differs in every field the text carries.
    const CompareSettings page{.Source = 1, .Data = {.Hex = !s.Data.Hex, .EndChar = 1, .Memo = "old"}};
    ExpectSameEvent(first, EncodeCompare(kVantor, Applied(page, ParseCompareListText(kVantor, first.ListText)), 2));
  }
}

TEST(RoundTrip, EveryKeyLightAndStart) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    const int keys = static_cast<int>(items::PanelKeys(*v).size());
    for (int key = 0; key < keys; ++key) {
      for (int light = 0; light < 4; ++light) {
        const Encoded first = EncodeLed(*v, {key, light}, 4);
        SCOPED_TRACE(v->Name + ": " + first.ListText);
        ExpectSameEvent(first, EncodeLed(*v, Applied({}, ParseLedListText(*v, first.ListText)), 4));
      }
      for (int start = 0; start < 2; ++start) {
        const Encoded first = EncodeToggle(*v, {key, start}, 4);
        SCOPED_TRACE(v->Name + ": " + first.ListText);
        ExpectSameEvent(first, EncodeToggle(*v, Applied({}, ParseToggleListText(*v, first.ListText)), 4));
      }
    }
  }
}

}  // namespace
