#include "model/projectfile.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>

#include "bytes.h"
#include "model/events.h"
#include "model/hex.h"
#include "model/keyactions.h"
#include "model/listedit.h"

namespace {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Helpers

std::string Ev(int index, int type, const std::string& payload) {
  const int n = static_cast<int>(payload.size());
  return B({0xF3, index >> 8, index & 0xFF, type, n >> 8, n & 0xFF}) + payload + B({0xF4});
}

std::string WithCrc(const std::string& frame) { return frame + Crc16Bytes(frame); }

// A header frame put together by hand: count, then the header bytes.
std::string Hdr(int sum, int index, int count, const std::string& header) {
  std::string f = B({0xF5, 0x51, sum, index, count >> 8, count & 0xFF}) + header + B({0xF6});
  return f + Crc16Bytes(f.substr(0, 8));
}

struct ActionDraft {
  std::string header;
  std::vector<std::string> frames;
};

ConfigModel Model(const std::vector<ActionDraft>& actions) {
  ConfigModel m;
  for (const auto& a : actions) {
    TActionList& rec = m.Actions[++m.ActionCount];
    rec.Header = a.header;
    for (const auto& f : a.frames) rec.Events[++rec.EventCount].Frame = f;
  }
  return m;
}

// Records as lines, so a failing comparison shows where they part.
std::string Line(const ProjectRecord& r) {
  if (const auto* n = std::get_if<FileNetwork>(&r))
    return "N " + Escaped(n->Ip) + "|" + Escaped(n->Mask) + "|" + Escaped(n->Gateway) + "|" + Escaped(n->Port);
  if (const auto* d = std::get_if<FileDevice>(&r)) return "D " + Escaped(d->Name);
  if (const auto* h = std::get_if<FileHeader>(&r))
    return "H " + std::to_string(h->ActionSum) + " " + std::to_string(h->ActionIndex) + " : " +
           BytesToSpacedHex(h->Bytes);
  const auto& e = std::get<FileEvent>(r);
  return "E " + std::to_string(e.Index) + " " + std::to_string(e.Type) + " " + std::to_string(e.LengthField) + " : " +
         BytesToSpacedHex(e.Payload);
}

std::vector<std::string> Lines(const ProjectReadResult& r) {
  std::vector<std::string> out;
  for (const auto& rec : r.Records) out.push_back(Line(rec));
  return out;
}

std::string HLine(int sum, int index, int count, const std::string& header) {
  return Line(FileHeader{sum, index, B({count >> 8, count & 0xFF}) + header});
}

std::string ELine(int index, int type, const std::string& payload) {
  return Line(FileEvent{index, type, static_cast<int>(payload.size()), payload});
}

// What reading a written model must give, taken from the model's fields:
// events at their positions, each with its stored type and payload.
std::vector<std::string> ExpectedLines(const FileNetwork* net, const std::vector<std::string>& devices,
                                       const ConfigModel& m) {
  std::vector<std::string> out;
  if (net) {
    out.push_back(Line(*net));
    for (const auto& d : devices) out.push_back(Line(FileDevice{d}));
  }
  for (int i = 1; i <= m.ActionCount; ++i) {
    const TActionList& a = m.Actions[i];
    out.push_back(HLine(m.ActionCount, i, a.EventCount, a.Header));
    for (int j = 1; j <= a.EventCount; ++j) {
      const std::string& f = a.Events[j].Frame;
      out.push_back(ELine(j, static_cast<unsigned char>(f[3]), f.substr(6, f.size() - 7)));
    }
  }
  return out;
}

bool HasLogLine(const ProjectReadResult& r, std::string_view part) {
  for (const auto& l : r.Log)
    if (l.find(part) != std::string::npos) return true;
  return false;
}

// ---------------------------------------------------------------------------
// The writers, byte for byte

// Two actions: 2 events whose index bytes are stale (7, 5), then none.
ConfigModel SmallModel(const Variant& v) {
  const bool packed = v.PackedHeader;
  return Model({
      {packed ? B({0x29}) : B({0x01, 0x02, 0x03}),
       {B({0xF3, 0x00, 0x07, 0x04, 0x00, 0x03, 0x01, 0x02, 0x03, 0xF4}),
        B({0xF3, 0x00, 0x05, 0x06, 0x00, 0x02, 0x00, 0x01, 0xF4})}},
      {packed ? B({0x42}) : B({0x0A, 0x02, 0x00}), {}},
  });
}

const FileNetwork kSmallNet{"1.2.3.4", "255.0.0.0", "1.2.3.1", "3000"};
const std::vector<std::string> kSmallDevices{"A", "BC"};

const std::string kNetworkFrame =
    B({0xF5, 0x56, 7, 9, 7, 4}) + "1.2.3.4" + "255.0.0.0" + "1.2.3.1" + "3000" + B({0xF6});
const std::string kDeviceFrames = B({0xF5, 0x55, 0x00, 0x02, 0x00, 0x01, 0x01, 'A', 0xF6}) +
                                  B({0xF5, 0x55, 0x00, 0x02, 0x00, 0x02, 0x02, 'B', 'C', 0xF6});
const std::string kEvent1 = B({0xF3, 0x00, 0x01, 0x04, 0x00, 0x03, 0x01, 0x02, 0x03, 0xF4});
const std::string kEvent2 = B({0xF3, 0x00, 0x02, 0x06, 0x00, 0x02, 0x00, 0x01, 0xF4});

// CRCs worked out apart from the code under test.
const std::string kVantorHeaders[] = {
    B({0xF5, 0x51, 0x02, 0x01, 0x00, 0x02, 0x01, 0x02, 0x03, 0xF6, 0x06, 0xD2}),
    B({0xF5, 0x51, 0x02, 0x02, 0x00, 0x00, 0x0A, 0x02, 0x00, 0xF6, 0xF6, 0x30}),
};
// The 6-key header's CRC ends with its F6.
const std::string kQuilletHeaders[] = {
    B({0xF5, 0x51, 0x02, 0x01, 0x00, 0x02, 0x29, 0xF6, 0x81, 0xCD}),
    B({0xF5, 0x51, 0x02, 0x02, 0x00, 0x00, 0x42, 0xF6, 0x71, 0x07}),
};

TEST(WriteFiles, SmallProjectByteForByte) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    SCOPED_TRACE(v->Name);
    const auto& h = v->PackedHeader ? kQuilletHeaders : kVantorHeaders;

    ConfigModel m = SmallModel(*v);
    const std::string saveAs = BuildSaveAsFile(*v, m);
    EXPECT_EQ(saveAs, h[0] + kEvent1 + B({0x8C, 0xE4}) + kEvent2 + B({0x0D, 0x38}) + h[1]);
    // "Save as" leaves the stored index bytes alone.
    EXPECT_EQ(m.Actions[1].Events[1].Frame[2], '\x07');
    EXPECT_EQ(m.Actions[1].Events[2].Frame[2], '\x05');

    const auto save = BuildSaveFile(*v, kSmallNet, kSmallDevices, m);
    ASSERT_TRUE(save);
    EXPECT_EQ(*save, kNetworkFrame + kDeviceFrames + h[0] + kEvent1 + kEvent2 + h[1]);
    // "Save" renumbers the model's frames too.
    EXPECT_EQ(m.Actions[1].Events[1].Frame, kEvent1);
    EXPECT_EQ(m.Actions[1].Events[2].Frame, kEvent2);
  }
}

TEST(WriteFiles, HeaderFrameTakesTheLowBitsAndTheBuildsHeaderLength) {
  TActionList a;
  a.EventCount = 300;
  a.Header = B({0x09, 0x01, 0x03});
  std::string f = ActionHeaderFrame(kVantor, 0x164, 0x1FF, a);
  EXPECT_EQ(f.substr(0, 10), B({0xF5, 0x51, 0x64, 0xFF, 0x01, 0x2C, 0x09, 0x01, 0x03, 0xF6}));
  EXPECT_EQ(f.substr(10), Crc16Bytes(f.substr(0, 8)));

  // A header of the wrong size must not move F6 away from where it is read.
  a.Header = B({0x21, 0x77});
  EXPECT_EQ(ActionHeaderFrame(kQuillet, 1, 1, a).substr(0, 8), B({0xF5, 0x51, 0x01, 0x01, 0x01, 0x2C, 0x21, 0xF6}));
  a.Header = B({0x05});
  EXPECT_EQ(ActionHeaderFrame(kVantor, 1, 1, a).substr(0, 10),
            B({0xF5, 0x51, 0x01, 0x01, 0x01, 0x2C, 0x05, 0x00, 0x00, 0xF6}));
}

// ---------------------------------------------------------------------------
// Write, then read

// Every kind of event, made by the encoders, with frame bytes inside the data.
ConfigModel RealProject(const Variant& v) {
  ConfigModel m;
  const IrCode ir{"0003A1B2C3"};
  EXPECT_EQ(AddKeyAction(m, v, 1, "Press", 2), AddActionOutcome::Added);
  const Encoded events[] = {
      EncodeRs232(v, {.LibName = "", .Function = {}, .Data = {.Hex = true, .Memo = "F4 F6 1A 00 F3 F5 51 F4"}}, 1),
      EncodeIr(v, {.LibName = "TV", .Function = "Power", .FunctionIndex = 0, .Port = 1}, &ir, 2),
      EncodeTcp(v, {.Ip = "192.168.1.20", .Port = "4001", .Data = {.EndChar = 3, .Memo = "go\xF6"}}, 3),
      EncodeDelay(v, {"1", "2", "3"}, 4),
      EncodeCompare(v, {.Source = 3, .Data = {.Hex = true, .Memo = "F6 F6"}}, 5),
      EncodeLed(v, {2, 3}, 6),
      EncodeToggle(v, {1, 1}, 7),
  };
  for (int k = 0; k < 7; ++k) {
    EXPECT_EQ(events[k].Status, EncodeStatus::Ok) << k;
    EXPECT_TRUE(AppendEvent(m, static_cast<EventKind>(k), events[k]));
  }
  EXPECT_EQ(AddKeyAction(m, v, 3, "Toggle", 0), AddActionOutcome::Added);
  EXPECT_EQ(AddKeyAction(m, v, 2, "Release", 1), AddActionOutcome::Added);
  EXPECT_TRUE(AppendEvent(m, EventKind::Delay, EncodeDelay(v, {"0", "0", "9"}, 1)));
  return m;
}

const FileNetwork kRealNet{"192.168.1.5", "255.255.255.0", "192.168.1.1", "3000"};
const std::vector<std::string> kRealDevices{"192.168.1.50", "panel\xF6", "\x1A"};

// Builds the model back from what was read, the way "Open" does.
ConfigModel FromRecords(const ProjectReadResult& r) {
  ConfigModel m;
  for (const auto& rec : r.Records) {
    if (const auto* h = std::get_if<FileHeader>(&rec)) {
      m.Actions[++m.ActionCount].Header = h->Bytes.substr(2);
    } else if (const auto* e = std::get_if<FileEvent>(&rec)) {
      TActionList& a = m.Actions[m.ActionCount];
      const int n = e->LengthField;
      a.Events[++a.EventCount].Frame =
          B({0xF3, e->Index >> 8, e->Index & 0xFF, e->Type, n >> 8, n & 0xFF}) + e->Payload + B({0xF4});
    }
  }
  return m;
}

TEST(ReadFiles, WrittenProjectsReadBackAndWriteTheSameBytes) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    SCOPED_TRACE(v->Name);
    ConfigModel m = RealProject(*v);

    const std::string saveAs = BuildSaveAsFile(*v, m);
    const ProjectReadResult a = ReadProjectFile(*v, saveAs);
    EXPECT_EQ(Lines(a), ExpectedLines(nullptr, {}, m));
    EXPECT_TRUE(a.Log.empty()) << a.Log.front();
    ConfigModel again = FromRecords(a);
    EXPECT_EQ(BuildSaveAsFile(*v, again), saveAs);

    const auto save = BuildSaveFile(*v, kRealNet, kRealDevices, m);
    ASSERT_TRUE(save);
    const ProjectReadResult s = ReadProjectFile(*v, *save);
    EXPECT_EQ(Lines(s), ExpectedLines(&kRealNet, kRealDevices, m));
    EXPECT_TRUE(s.Log.empty()) << s.Log.front();
    again = FromRecords(s);
    EXPECT_EQ(BuildSaveFile(*v, kRealNet, kRealDevices, again), save);
  }
}

TEST(ReadFiles, FrameBytesInsideDataAreData) {
  // Texts, names and payloads holding every frame byte, 1A and 00; a type
  // the reader does not know is still handed on.
  const FileNetwork net{B({0xF6}), B({0xF5, 0x56, 0xF6}), "", B({0x1A, 0x00, 0xF6})};
  const std::string payload = B({0xF4, 0xF6, 0x1A, 0x00, 0xF3, 0xF5, 0x51, 0xF4});
  const ConfigModel model = Model({{B({0x01, 0x00, 0x01}), {Ev(1, 1, payload), Ev(2, 9, B({0xF4}))}},
                                   {B({0x02, 0x00, 0x01}), {Ev(1, 4, B({0xF6, 0x1A, 0xF6}))}}});
  for (const Variant* v : {&kVantor, &kQuillet}) {
    SCOPED_TRACE(v->Name);
    ConfigModel m = model;
    for (int i = 1; i <= 2; ++i) m.Actions[i].Header.resize(v->HeaderLength);
    const std::vector<std::string> devices{"\xF6\xF6", "a\xF6\x1A", std::string(255, '\xF6')};
    const auto save = BuildSaveFile(*v, net, devices, m);
    ASSERT_TRUE(save);
    EXPECT_EQ(Lines(ReadProjectFile(*v, *save)), ExpectedLines(&net, devices, m));
    EXPECT_EQ(Lines(ReadProjectFile(*v, BuildSaveAsFile(*v, m))), ExpectedLines(nullptr, {}, m));
  }
}

// ---------------------------------------------------------------------------
// Index bytes, CRC bytes and counts that fooled the reader before

TEST(ReadFiles, StaleIndexBytesStillReadEveryEvent) {
  ConfigModel m;
  ASSERT_EQ(AddKeyAction(m, kVantor, 1, "Press", 0), AddActionOutcome::Added);
  for (int j = 1; j <= 3; ++j)
    ASSERT_TRUE(AppendEvent(m, EventKind::Delay, EncodeDelay(kVantor, {"0", "0", std::to_string(j)}, j)));
  // Event 3 to the top: stored index bytes now read 3, 1, 2.
  ASSERT_EQ(MoveEvent(m, 3, true), 2);
  ASSERT_EQ(MoveEvent(m, 2, true), 1);
  ASSERT_EQ(AddKeyAction(m, kVantor, 2, "Press", 0), AddActionOutcome::Added);
  ASSERT_TRUE(AppendEvent(m, EventKind::Delay, EncodeDelay(kVantor, {"0", "0", "4"}, 1)));
  const std::string stored = m.Actions[1].Events[1].Frame;
  ASSERT_EQ(stored[2], '\x03');

  const std::string file = BuildSaveAsFile(kVantor, m);
  EXPECT_EQ(m.Actions[1].Events[1].Frame, stored);
  const ProjectReadResult r = ReadProjectFile(kVantor, file);
  EXPECT_EQ(Lines(r), ExpectedLines(nullptr, {}, m));  // positions 1, 2, 3, then action 2
  EXPECT_TRUE(r.Log.empty());

  // A file written with the stale bytes: index 3 of 3 comes first, and
  // action 1's count must end it, not the index.
  const std::string old = Hdr(2, 1, 3, B({1, 0, 1})) + WithCrc(Ev(3, 4, B({0, 0, 3}))) +
                          WithCrc(Ev(1, 4, B({0, 0, 1}))) + WithCrc(Ev(2, 4, B({0, 0, 2}))) +
                          Hdr(2, 2, 1, B({2, 0, 1})) + WithCrc(Ev(1, 4, B({0, 0, 4})));
  EXPECT_EQ(
      Lines(ReadProjectFile(kVantor, old)),
      (std::vector<std::string>{HLine(2, 1, 3, B({1, 0, 1})), ELine(3, 4, B({0, 0, 3})), ELine(1, 4, B({0, 0, 1})),
                                ELine(2, 4, B({0, 0, 2})), HLine(2, 2, 1, B({2, 0, 1})), ELine(1, 4, B({0, 0, 4}))}));
}

// Searches the model for a shape whose written file holds a given CRC, so
// each case below shows the hostile bytes are really there.
struct HostileCase {
  std::string name;
  std::function<ConfigModel(const Variant&)> make;
  std::function<bool(const Variant&, const ConfigModel&)> premise;
};

bool HeaderCrcHasF3(const Variant& v, const ConfigModel& m, int action) {
  const std::string f = ActionHeaderFrame(v, m.ActionCount, action, m.Actions[action]);
  return f.find('\xF3', f.size() - 2) != std::string::npos;
}

ConfigModel TwoActions(const Variant& v, int firstEvents) {
  std::vector<std::string> frames;
  for (int j = 1; j <= firstEvents; ++j) frames.push_back(Ev(j, 4, B({0, j / 60, j % 60})));
  return Model({{v.PackedHeader ? B({0x25}) : B({1, 1, 1}), frames},
                {v.PackedHeader ? B({0x46}) : B({2, 1, 2}), {Ev(1, 6, B({1, 0}))}}});
}

// Action 1 with its header CRC holding F3 at byte `at` (0 or 1).
ConfigModel HeaderCrcF3(const Variant& v, int at) {
  const int headers = v.PackedHeader ? 0x100 : 0x10000;
  TActionList a;
  for (a.EventCount = 1; a.EventCount <= kMaxEvents; ++a.EventCount) {
    for (int h = 0; h < headers; ++h) {
      a.Header = v.PackedHeader ? B({h}) : B({h >> 8, h & 0xFF, 1});
      const std::string f = ActionHeaderFrame(v, 2, 1, a);
      if (static_cast<unsigned char>(f[f.size() - 2 + at]) != 0xF3) continue;
      ConfigModel m = TwoActions(v, a.EventCount);
      m.Actions[1].Header = a.Header;
      return m;
    }
  }
  ADD_FAILURE() << "no header found";
  return {};
}

// The two payload bytes of `action`'s event `event` chosen so its written
// CRC is `crc`.
ConfigModel EventCrc(ConfigModel m, int action, int event, uint16_t crc) {
  for (int p = 0; p < 0x10000; ++p) {
    std::string f = Ev(event, 5, B({3, 1, p >> 8, p & 0xFF}));
    if (Crc16Modbus(f) == crc) {
      m.Actions[action].Events[event].Frame = f;
      return m;
    }
  }
  ADD_FAILURE() << "no payload found";
  return m;
}

TEST(ReadFiles, HostileCrcBytesAndA246EventAction) {
  const HostileCase cases[] = {
      {"header CRC starting with F3", [](const Variant& v) { return HeaderCrcF3(v, 0); },
       [](const Variant& v, const ConfigModel& m) { return HeaderCrcHasF3(v, m, 1); }},
      {"header CRC ending with F3", [](const Variant& v) { return HeaderCrcF3(v, 1); },
       [](const Variant& v, const ConfigModel& m) { return HeaderCrcHasF3(v, m, 1); }},
      // The CRC after action 1's last event reads like the next header's start.
      {"event CRC F5 51 before the next header",
       [](const Variant& v) { return EventCrc(TwoActions(v, 2), 1, 2, 0xF551); },
       [](const Variant&, const ConfigModel& m) {
         return Crc16Bytes(m.Actions[1].Events[2].Frame) == B({0xF5, 0x51});
       }},
      {"event CRC F3 F3 between events", [](const Variant& v) { return EventCrc(TwoActions(v, 2), 1, 1, 0xF3F3); },
       [](const Variant&, const ConfigModel& m) {
         return Crc16Bytes(m.Actions[1].Events[1].Frame) == B({0xF3, 0xF3});
       }},
      // 246 events: the count's low byte is F6.
      {"246 events", [](const Variant& v) { return TwoActions(v, 246); },
       [](const Variant&, const ConfigModel& m) { return m.Actions[1].EventCount == 0xF6; }},
      {"246 events, the last one's CRC F5 51",
       [](const Variant& v) { return EventCrc(TwoActions(v, 246), 1, 246, 0xF551); },
       [](const Variant&, const ConfigModel& m) { return Crc16Modbus(m.Actions[1].Events[246].Frame) == 0xF551; }},
  };
  for (const Variant* v : {&kVantor, &kQuillet}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(v->Name + ": " + c.name);
      ConfigModel m = c.make(*v);
      ASSERT_TRUE(c.premise(*v, m));
      const auto want = ExpectedLines(nullptr, {}, m);

      const ProjectReadResult a = ReadProjectFile(*v, BuildSaveAsFile(*v, m));
      EXPECT_EQ(Lines(a), want);
      EXPECT_TRUE(a.Log.empty()) << a.Log.front();

      const auto save = BuildSaveFile(*v, kSmallNet, {}, m);
      ASSERT_TRUE(save);
      std::vector<std::string> withNet = ExpectedLines(&kSmallNet, {}, m);
      EXPECT_EQ(Lines(ReadProjectFile(*v, *save)), withNet);
    }
  }
}

// ---------------------------------------------------------------------------
// Malformed, damaged and cut-off files

struct MalformedCase {
  const char* name;
  std::string file;
  std::vector<std::string> lines;
};

TEST(ReadFiles, MalformedFramesAreReadByteByByte) {
  const std::string save = kNetworkFrame;  // marks a "Save" file: no event CRCs
  // Length field 2, three payload bytes: the first F4 past the length ends it.
  const std::string longer = B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x02, 0xAA, 0xBB, 0xCC, 0xF4});
  // Length field 5, the F4s after 1 and 3 payload bytes come too early.
  const std::string shorter = B({0xF3, 0x00, 0x01, 0x02, 0x00, 0x05, 0xAA, 0xF4, 0xBB, 0xF4, 0xCC, 0xDD, 0xF4});
  const std::string next = Ev(2, 4, B({0, 0, 1}));
  const std::string net = Line(kSmallNet);

  const MalformedCase cases[] = {
      {"event longer than its length field",
       save + Hdr(1, 1, 2, B({1, 0, 1})) + longer + next,
       {net, HLine(1, 1, 2, B({1, 0, 1})), Line(FileEvent{1, 1, 2, B({0xAA, 0xBB, 0xCC})}), ELine(2, 4, B({0, 0, 1}))}},
      {"event shorter than its length field",
       save + Hdr(1, 1, 2, B({1, 0, 1})) + shorter + next,
       {net, HLine(1, 1, 2, B({1, 0, 1})), Line(FileEvent{1, 2, 5, B({0xAA, 0xF4, 0xBB, 0xF4, 0xCC, 0xDD})}),
        ELine(2, 4, B({0, 0, 1}))}},
      // In a "Save as" file the CRC over the frame as read still follows it.
      {"Save as: event shorter than its length field",
       Hdr(1, 1, 2, B({1, 0, 1})) + WithCrc(shorter) + WithCrc(next),
       {HLine(1, 1, 2, B({1, 0, 1})), Line(FileEvent{1, 2, 5, B({0xAA, 0xF4, 0xBB, 0xF4, 0xCC, 0xDD})}),
        ELine(2, 4, B({0, 0, 1}))}},
      // Two header bytes: F6 one byte early; the first F6 after 5 bytes ends it.
      {"header short of a byte",
       save + Hdr(1, 1, 1, B({1, 0})) + next,
       {net, Line(FileHeader{1, 1, B({0, 1, 1, 0})}), ELine(2, 4, B({0, 0, 1}))}},
      {"device name shorter than its length",
       save + B({0xF5, 0x55, 0, 1, 0, 1, 5, 'A', 'B', 0xF6}) + Hdr(1, 1, 0, B({1, 0, 1})),
       {net, Line(FileDevice{"AB"}), HLine(1, 1, 0, B({1, 0, 1}))}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const ProjectReadResult r = ReadProjectFile(kVantor, c.file);
    EXPECT_EQ(Lines(r), c.lines);
    EXPECT_TRUE(HasLogLine(r, "malformed"));
    EXPECT_FALSE(HasLogLine(r, "CRC"));
  }

  // A 6-key file read as a 9-key one: every header is malformed there, yet reads.
  const ConfigModel q = SmallModel(kQuillet);
  const ProjectReadResult r = ReadProjectFile(kVantor, BuildSaveAsFile(kQuillet, q));
  EXPECT_EQ(Lines(r), ExpectedLines(nullptr, {}, q));
}

TEST(ReadFiles, CrcMismatchesAreLoggedAndNothingIsDropped) {
  ConfigModel m = SmallModel(kVantor);
  const std::string file = BuildSaveAsFile(kVantor, m);
  const auto want = ExpectedLines(nullptr, {}, m);
  ASSERT_TRUE(ReadProjectFile(kVantor, file).Log.empty());

  // Byte 10 is the first header's CRC; byte 18 lies inside event 1's payload.
  std::string headerCrc = file, payload = file;
  headerCrc[10] ^= 0x01;
  payload[18] ^= 0x40;
  ProjectReadResult r = ReadProjectFile(kVantor, headerCrc);
  EXPECT_EQ(Lines(r), want);
  ASSERT_EQ(r.Log.size(), 1u);
  EXPECT_NE(r.Log[0].find("header 1: CRC"), std::string::npos) << r.Log[0];

  r = ReadProjectFile(kVantor, payload);
  auto damaged = want;
  damaged[1] = ELine(1, 4, B({0x41, 0x02, 0x03}));
  EXPECT_EQ(Lines(r), damaged);
  ASSERT_EQ(r.Log.size(), 1u);
  EXPECT_NE(r.Log[0].find("action 1 event 1: CRC"), std::string::npos) << r.Log[0];

  // The header CRC does not cover the third header byte.
  std::string third = file;
  third[8] = '\x07';
  EXPECT_TRUE(ReadProjectFile(kVantor, third).Log.empty());
}

TEST(ReadFiles, CutOffFilesGiveTheRecordsBeforeTheCut) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    ConfigModel m = RealProject(*v);
    // No F6 in texts here: a cut text must not end its frame.
    const std::vector<std::string> devices{"one", "two"};
    const auto save = BuildSaveFile(*v, kRealNet, devices, m);
    ASSERT_TRUE(save);
    for (const std::string& file : {*save, BuildSaveAsFile(*v, m)}) {
      const auto full = Lines(ReadProjectFile(*v, file));
      for (size_t n = 0; n < file.size(); ++n) {
        SCOPED_TRACE(v->Name + " cut at " + std::to_string(n) + " of " + std::to_string(file.size()));
        const ProjectReadResult r = ReadProjectFile(*v, std::string_view(file).substr(0, n));
        const auto got = Lines(r);
        ASSERT_LE(got.size(), full.size());
        ASSERT_TRUE(std::equal(got.begin(), got.end(), full.begin()));
      }
      EXPECT_FALSE(ReadProjectFile(*v, file).EndsEarly);
      EXPECT_TRUE(ReadProjectFile(*v, file.substr(0, file.size() - 3)).EndsEarly);
    }
  }
  EXPECT_TRUE(ReadProjectFile(kVantor, "").Records.empty());
  EXPECT_TRUE(ReadProjectFile(kVantor, Hdr(1, 1, 3, B({1, 0, 1})) + WithCrc(Ev(1, 4, B({0, 0, 1})))).EndsEarly);
  EXPECT_TRUE(HasLogLine(ReadProjectFile(kVantor, Hdr(1, 1, 3, B({1, 0, 1})) + WithCrc(Ev(1, 4, B({0, 0, 1})))),
                         "2 announced events missing"));
}

TEST(ReadFiles, OnlyProjectsOfTheBuildAreHeldToBeProjects) {
  std::mt19937 random(7);
  std::string noise(4096, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  ConfigModel vantor = RealProject(kVantor), quillet = RealProject(kQuillet), empty;
  const struct {
    const char* name;
    const Variant* v;
    std::string file;
    bool holds;
  } cases[] = {
      {"a Save as file", &kVantor, BuildSaveAsFile(kVantor, vantor), true},
      {"a Save file", &kQuillet, *BuildSaveFile(kQuillet, kSmallNet, kSmallDevices, quillet), true},
      {"an empty project saved", &kVantor, *BuildSaveFile(kVantor, kSmallNet, {}, empty), true},
      {"an empty file", &kVantor, "", false},
      {"random bytes", &kVantor, noise, false},
      {"random bytes", &kQuillet, noise, false},
      {"the 9-key build's file", &kQuillet, BuildSaveAsFile(kVantor, vantor), false},
      {"the 9-key build's Save file", &kQuillet, *BuildSaveFile(kVantor, kSmallNet, {}, vantor), false},
      {"the 6-key build's file", &kVantor, BuildSaveAsFile(kQuillet, quillet), false},
      {"a header of a key the build lacks", &kVantor, Hdr(1, 1, 0, B({0x0B, 0, 1})), false},
      {"devices but no panel settings first", &kVantor, kDeviceFrames, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(HoldsProject(*c.v, ReadProjectFile(*c.v, c.file)), c.holds) << c.name << " in " << c.v->Name;
}

// ---------------------------------------------------------------------------
// Text limits

TEST(WriteFiles, TextsOfUpTo255Bytes) {
  const std::string ok(255, 'x'), tooLong(256, 'x');
  const std::function<void(FileNetwork&, std::vector<std::string>&, const std::string&)> fields[] = {
      [](FileNetwork& n, auto&, const std::string& t) { n.Ip = t; },
      [](FileNetwork& n, auto&, const std::string& t) { n.Mask = t; },
      [](FileNetwork& n, auto&, const std::string& t) { n.Gateway = t; },
      [](FileNetwork& n, auto&, const std::string& t) { n.Port = t; },
      [](FileNetwork&, auto& d, const std::string& t) { d.push_back(t); },
  };
  for (size_t k = 0; k < std::size(fields); ++k) {
    SCOPED_TRACE("field " + std::to_string(k));
    FileNetwork net = kSmallNet;
    std::vector<std::string> devices = kSmallDevices;
    fields[k](net, devices, ok);
    ConfigModel m = SmallModel(kVantor);
    const auto save = BuildSaveFile(kVantor, net, devices, m);
    ASSERT_TRUE(save);
    EXPECT_EQ(Lines(ReadProjectFile(kVantor, *save)), ExpectedLines(&net, devices, m));

    net = kSmallNet;
    devices = kSmallDevices;
    fields[k](net, devices, tooLong);
    ConfigModel refused = SmallModel(kVantor);
    EXPECT_FALSE(BuildSaveFile(kVantor, net, devices, refused));
    // Refused before anything was renumbered.
    EXPECT_EQ(refused.Actions[1].Events[1].Frame[2], '\x07');
  }
}

// ---------------------------------------------------------------------------
// The replacing writer

std::string Slurp(const fs::path& p) { return ReadFileBytes(p).value_or(std::string{}); }

void Spit(const fs::path& p, const std::string& s) { std::ofstream(p, std::ios::binary) << s; }

std::vector<std::string> Names(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

class ReplacingWriter : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("projectfile_test_" + std::to_string(std::random_device{}()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  fs::path dir_;
};

TEST_F(ReplacingWriter, ReplacesTheTargetAndLeavesNothingElse) {
  const fs::path target = dir_ / "p.dat";
  ASSERT_TRUE(WriteFileReplacing(target, B({0xF5, 0x56, 0x00, 0x1A})));
  EXPECT_EQ(Slurp(target), B({0xF5, 0x56, 0x00, 0x1A}));
  ASSERT_TRUE(WriteFileReplacing(target, "second, longer"));
  ASSERT_TRUE(WriteFileReplacing(target, "3rd"));
  EXPECT_EQ(Slurp(target), "3rd");
  ASSERT_TRUE(WriteFileReplacing(dir_ / "empty.dat", ""));
  EXPECT_EQ(fs::file_size(dir_ / "empty.dat"), 0u);
  EXPECT_EQ(Names(dir_), (std::vector<std::string>{"empty.dat", "p.dat"}));
}

TEST_F(ReplacingWriter, FailuresLeaveTheOldFileAndNoTemporary) {
  // No folder to write into.
  EXPECT_FALSE(WriteFileReplacing(dir_ / "missing" / "p.dat", "x"));
  EXPECT_FALSE(fs::exists(dir_ / "missing"));
  // A "folder" that is a regular file.
  Spit(dir_ / "plain", "keep");
  EXPECT_FALSE(WriteFileReplacing(dir_ / "plain" / "p.dat", "x"));
  EXPECT_EQ(Slurp(dir_ / "plain"), "keep");
  // The temporary is written but cannot be renamed over a folder.
  fs::create_directory(dir_ / "taken.dat");
  Spit(dir_ / "taken.dat" / "inner", "inner");
  EXPECT_FALSE(WriteFileReplacing(dir_ / "taken.dat", "x"));
  EXPECT_EQ(Slurp(dir_ / "taken.dat" / "inner"), "inner");
  EXPECT_EQ(Names(dir_), (std::vector<std::string>{"plain", "taken.dat"}));
}

TEST_F(ReplacingWriter, AWriteFailingHalfwayKeepsTheOldFile) {
  const fs::path target = dir_ / "p.dat";
  Spit(target, "old project");
  // The file size limit holds for root too: writing past it fails.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = 64;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool ok = WriteFileReplacing(target, std::string(100000, 'n'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Slurp(target), "old project");
  EXPECT_EQ(Names(dir_), (std::vector<std::string>{"p.dat"}));
}

TEST_F(ReplacingWriter, KeepsLinksAndPermissionsAndRefusesReadOnlyFiles) {
  // A link keeps pointing at its target, which gets the bytes.
  fs::create_directory(dir_ / "real");
  Spit(dir_ / "real" / "p.dat", "old");
  fs::create_symlink("real/p.dat", dir_ / "link.dat");
  ASSERT_TRUE(WriteFileReplacing(dir_ / "link.dat", "new"));
  EXPECT_TRUE(fs::is_symlink(dir_ / "link.dat"));
  EXPECT_EQ(Slurp(dir_ / "real" / "p.dat"), "new");

  // An existing file keeps its permissions.
  ::chmod((dir_ / "real" / "p.dat").c_str(), 0640);
  ASSERT_TRUE(WriteFileReplacing(dir_ / "real" / "p.dat", "newer"));
  struct stat st {};
  ASSERT_EQ(::stat((dir_ / "real" / "p.dat").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);

  // A read-only file is refused, with the reason, even for root.
  ::chmod((dir_ / "real" / "p.dat").c_str(), 0444);
  std::string why;
  EXPECT_FALSE(WriteFileReplacing(dir_ / "link.dat", "lost", &why));
  EXPECT_EQ(why, "the file is read-only");
  EXPECT_EQ(Slurp(dir_ / "real" / "p.dat"), "newer");
  EXPECT_EQ(Names(dir_ / "real"), (std::vector<std::string>{"p.dat"}));
}

TEST_F(ReplacingWriter, TemporariesOfKilledSavesGoButOnesInUseStay) {
  const fs::path target = dir_ / "p.dat";
  Spit(dir_ / ".p.dat.0badf00d.tmp", "left by a killed save");
  Spit(dir_ / ".p.dat.12345678.tmp", "another save is writing this one");
  Spit(dir_ / ".q.dat.0badf00d.tmp", "another file's");
  const int busy = ::open((dir_ / ".p.dat.12345678.tmp").c_str(), O_RDONLY);
  ASSERT_GE(busy, 0);
  ASSERT_EQ(::flock(busy, LOCK_EX), 0);
  ASSERT_TRUE(WriteFileReplacing(target, "x"));
  ::close(busy);
  EXPECT_EQ(Names(dir_), (std::vector<std::string>{".p.dat.12345678.tmp", ".q.dat.0badf00d.tmp", "p.dat"}));
}

// ---------------------------------------------------------------------------
// The reader of a file the user chose

TEST_F(ReplacingWriter, OnlyRegularFilesWithinTheBoundAreRead) {
  Spit(dir_ / "p.dat", "bytes");
  fs::create_directory(dir_ / "folder.dat");
  ASSERT_EQ(::mkfifo((dir_ / "fifo.dat").c_str(), 0600), 0);
  fs::create_symlink("/dev/zero", dir_ / "zero.dat");
  { std::ofstream big(dir_ / "big.dat", std::ios::binary); }
  fs::resize_file(dir_ / "big.dat", kMaxUserFileBytes + 1);  // sparse: nothing is written

  EXPECT_EQ(ReadRegularFile(dir_ / "p.dat").Bytes, std::optional<std::string>("bytes"));
  const struct {
    const char* name;
    const char* why;
  } refused[] = {
      {"folder.dat", "it is a folder, not a file"}, {"fifo.dat", "it is not a regular file"},
      {"zero.dat", "it is not a regular file"},     {"big.dat", "it is larger than 64 MiB"},
      {"missing.dat", "there is no such file"},
  };
  for (const auto& c : refused) {
    const FileRead r = ReadRegularFile(dir_ / c.name);
    EXPECT_FALSE(r.Bytes) << c.name;
    EXPECT_EQ(r.Why, c.why) << c.name;
  }
  EXPECT_EQ(ReadRegularFile(dir_ / "p.dat", 4).Why, "it is larger than 4 bytes");
}

// ---------------------------------------------------------------------------

TEST(SaveFileName, TwoDigitsPerField) {
  const auto at = [](int year, int mon, int day, int h, int mi, int s) {
    std::tm t{};
    t.tm_year = year - 1900, t.tm_mon = mon - 1, t.tm_mday = day, t.tm_hour = h, t.tm_min = mi, t.tm_sec = s;
    return SaveFileName(t);
  };
  EXPECT_EQ(at(2024, 3, 7, 9, 5, 1), "240307090501.dat");
  EXPECT_EQ(at(2000, 12, 31, 23, 59, 59), "001231235959.dat");
  EXPECT_EQ(at(1999, 1, 1, 0, 0, 0), "990101000000.dat");
}

}  // namespace
