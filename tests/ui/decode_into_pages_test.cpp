#include <gtest/gtest.h>

#include "bytes.h"
#include "model/events.h"
#include "model/hex.h"
#include "ui/tform1.h"
#include "ui/tform2.h"
#include "ui_fixture.h"

namespace {

struct FrameCase {
  std::string name;
  EventKind kind;
  std::string frame;
  std::string irCode;  // IR only
};

Rs232Settings Rs(int port, int baud, int data, int stop, int parity, int mode, std::string count, std::string interval,
                 bool hex, int end, std::string memo) {
  Rs232Settings s;
  s.Port = port, s.Baud = baud, s.DataBits = data, s.StopBits = stop, s.Parity = parity, s.RepeatMode = mode;
  s.Count = std::move(count), s.Interval = std::move(interval);
  s.Data = DataPart{hex, end, std::move(memo)};
  return s;
}

std::vector<FrameCase> Cases(const Variant& v) {
  std::vector<FrameCase> c;
  auto add = [&](std::string name, EventKind k, const Encoded& e, std::string code = {}) {
    EXPECT_EQ(e.Status, EncodeStatus::Ok) << name;
    c.push_back({std::move(name), k, e.Frame, std::move(code)});
  };
  const int ports = v.SerialPortCount;
  for (int port = 0; port < ports; ++port)
    for (int data = 0; data < 4; ++data)
      for (int stop = 0; stop < 3; ++stop)
        add("serial " + std::to_string(port) + std::to_string(data) + std::to_string(stop), EventKind::Rs232,
            EncodeRs232(v, Rs(port, (port + data) % 7, data, stop, (data + stop) % 5, 0, "1", "1", false, stop, "AT"),
                        1));
  for (const char* value : {"0", "1", "42", "99", "100"})
    add(std::string("repeat ") + value, EventKind::Rs232,
        EncodeRs232(v, Rs(0, 2, 0, 0, 0, 1, value, "7", false, 1, "X"), 1));
  add("repeat interval 0", EventKind::Rs232, EncodeRs232(v, Rs(0, 2, 0, 0, 0, 1, "3", "0", false, 0, "X"), 1));
  add("hex", EventKind::Rs232, EncodeRs232(v, Rs(1, 6, 1, 2, 4, 1, "3", "2", true, 0, "01 F4 F6 0D 0A"), 1));
  add("ascii lf", EventKind::Rs232, EncodeRs232(v, Rs(0, 0, 0, 0, 0, 0, "1", "1", false, 2, "line\r\nnext"), 1));
  add("end only", EventKind::Rs232, EncodeRs232(v, Rs(0, 0, 0, 0, 0, 0, "1", "1", false, 0, "\r\n"), 1));

  IrSettings ir;
  ir.LibName = "TV", ir.Function = "Power", ir.FunctionIndex = 0;
  const std::string code = B({0x00, 0x03, 0xA1, 0xB2, 0xC3});
  const IrCode raw{code, true};
  for (int port = 0; port < 2; ++port)
    for (int carrier = 0; carrier < 2; ++carrier)
      for (int mode = 0; mode < 2; ++mode) {
        ir.Port = port, ir.Carrier = carrier, ir.RepeatMode = mode, ir.Count = "5", ir.Interval = "100";
        add("ir " + std::to_string(port) + std::to_string(carrier) + std::to_string(mode), EventKind::Ir,
            EncodeIr(v, ir, &raw, 1), code);
      }

  add("tcp ascii", EventKind::TcpIp, EncodeTcp(v, TcpSettings{"192.168.1.20", "4001", DataPart{false, 3, "GET"}}, 1));
  add("tcp hex", EventKind::TcpIp, EncodeTcp(v, TcpSettings{"10.0.0.1", "65535", DataPart{true, 0, "AA BB"}}, 1));
  for (const auto& [h, m, s] : {std::tuple{"0", "0", "0"}, {"23", "59", "59"}, {"7", "30", "1"}})
    add(std::string("delay ") + h + ":" + m + ":" + s, EventKind::Delay, EncodeDelay(v, DelaySettings{h, m, s}, 1));
  for (int src = 0; src < 4; ++src)
    add("compare " + std::to_string(src), EventKind::Compare,
        EncodeCompare(v, CompareSettings{src, DataPart{src % 2 == 1, src, src == 0 ? "" : (src % 2 ? "4F 4B" : "OK")}},
                      1));
  const int keys = static_cast<int>(items::PanelKeys(v).size());
  for (int k = 0; k < keys; ++k) {
    add("led " + std::to_string(k), EventKind::Led, EncodeLed(v, LedSettings{k, k % 4}, 1));
    add("toggle " + std::to_string(k), EventKind::Toggle, EncodeToggle(v, ToggleSettings{k, k % 2}, 1));
  }
  return c;
}

class DecodeRoad : public ::testing::TestWithParam<const Variant*> {};

INSTANTIATE_TEST_SUITE_P(Builds, DecodeRoad, ::testing::Values(&kVantor, &kQuillet),
                         [](const auto& info) { return info.param->Name; });

TEST_P(DecodeRoad, DecodeThenAddGivesTheSameFrame) {
  const Variant& v = *GetParam();
  TestProgram p(v);
  TForm1& f = *p.W().Form1;
  int key = 0;
  for (const FrameCase& c : Cases(v)) {
    SCOPED_TRACE(c.name + ": " + BytesToSpacedHex(c.frame));
    // A fresh action for each frame, so each comes back as event 1.
    key = key % 6 + 1;
    f.QelButton8Click();
    f.F.Model->CurrentKey = key;
    p.W().Form2->Button1Click();
    ASSERT_EQ(f.F.Model->ActionCount, 1);
    const std::string& fr = c.frame;
    const int n = static_cast<uint8_t>(fr[4]) * 256 + static_cast<uint8_t>(fr[5]);
    ASSERT_TRUE(f.RecordSink().AddEvent(static_cast<uint8_t>(fr[3]), std::string_view(fr).substr(6, fr.size() - 7), n));
    EXPECT_EQ(BytesToSpacedHex(f.F.Model->Actions[1].Events[1].Frame), BytesToSpacedHex(fr));
  }
  EXPECT_TRUE(p.Boxes.Boxes.empty());
}

TEST_P(DecodeRoad, HeadersComeBackThroughTheirDialogs) {
  const Variant& v = *GetParam();
  TestProgram p(v);
  TForm1& f = *p.W().Form1;
  struct H {
    int key, group;
    const char* kind;
  };
  std::vector<H> hs = {{2, 4, "Toggle"}, {1, 0, "Press"}, {6, v.GroupCount, "Release"}};
  if (v.HasKey10Dialog)
    hs.push_back({10, 0, "Right-handed"}), hs.push_back({10, 0, "Left-handed"}), hs.push_back({9, 9, "Press"});
  for (const H& h : hs) {
    TActionList a;
    a.KeyName = "Key" + std::to_string(h.key);
    a.ActionKind = h.kind;
    a.Header = h.key == 10 ? MakeKey10Header(ActionCodeOfKind(h.kind))
                           : MakeHeader(v, h.key, h.group, ActionCodeOfKind(h.kind));
    const std::string bytes = B({0x00, 0x02}) + a.Header;
    ASSERT_TRUE(f.RecordSink().AddAction(bytes)) << h.key << h.kind;
    const TActionList& got = f.F.Model->Actions[f.F.Model->CurrentAction];
    EXPECT_EQ(BytesToSpacedHex(got.Header), BytesToSpacedHex(a.Header));
    EXPECT_EQ(got.KeyName, a.KeyName);
    EXPECT_EQ(got.ActionKind, a.ActionKind);
    EXPECT_EQ(f.Importer().McuEventSum, 2);
  }
  // A duplicate, or a key the build does not have, adds no row.
  const int rows = f.ListView1->Count();
  EXPECT_FALSE(f.RecordSink().AddAction(B({0x00, 0x01}) + MakeHeader(v, 1, 0, 1)));
  EXPECT_FALSE(f.RecordSink().AddAction(B({0x00, 0x01}) + (v.PackedHeader ? B({0xE1}) : B({0x0B, 0x00, 0x01}))));
  EXPECT_EQ(f.ListView1->Count(), rows);
}

TEST(DecodeRoadLimits, RepeatValuesOverAHundredComeBackAsAHundred) {
  TestProgram p(kVantor);
  TForm1& f = *p.W().Form1;
  f.F.Model->CurrentKey = 1;
  p.W().Form2->Button1Click();
  // Mode "Set", interval 200, count 150.
  ASSERT_TRUE(f.RecordSink().AddEvent(1, B({0x01, 0x38, 200, 150, 0x00, 'A'}), 6));
  const std::string& fr = f.F.Model->Actions[1].Events[1].Frame;
  EXPECT_EQ(static_cast<uint8_t>(fr[8]), 100);
  EXPECT_EQ(static_cast<uint8_t>(fr[9]), 100);
  EXPECT_EQ(f.QelEdit4->text(), "100");
}

TEST(DecodeRoadLimits, IrEntriesPastFiveHundredStartAgain) {
  TestProgram p(kVantor);
  TForm1& f = *p.W().Form1;
  f.F.Model->CurrentKey = 1;
  p.W().Form2->Button1Click();
  f.LibraryEntries().IrDecodeCount = 500;
  const std::string payload = B({0x01, 0x00, 0x00, 0x00, 0x01, 0x7E});
  ASSERT_TRUE(f.RecordSink().AddEvent(2, payload, 6));
  EXPECT_EQ(f.LibraryEntries().IrDecodeCount, 1);
  EXPECT_EQ(f.QelComboBox8->count(), 1);
  EXPECT_EQ(f.LibraryEntries().IrLib[1].Data, B({0x00, 0x01, 0x7E}));
  EXPECT_EQ(f.F.Model->Actions[1].Events[1].Frame.substr(6), payload + B({0xF4}));
}

}  // namespace
