// The simulated panel's own checks, against hand-made frames: framing,
// answers, the download checks and the upload's playback. No sockets.
#include <gtest/gtest.h>

#include "bytes.h"
#include "model/hex.h"
#include "panelsim_frames.h"
#include "tools/panelsim/panelcore.h"

using namespace panelsim;
using namespace simtest;

namespace {

std::string Hex(const std::string& bytes) { return BytesToSpacedHex(bytes); }

// ---------------------------------------------------------------- framing

struct FrameCase {
  const char* Name;
  std::string Bytes;
  bool Packed = false;
  FrameKind Kind = FrameKind::Command;
};

std::vector<FrameCase> FrameCases() {
  std::vector<FrameCase> c;
  for (int cmd : {0x10, 0x11, 0x14, 0x15, 0x16, 0x20, 0x21, 0x41, 0x42, 0x43, 0x44, 0x45, 0x51})
    c.push_back({"five bytes", Command(cmd)});
  c.push_back({"13 MAC", Command(0x13, B({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}))});
  c.push_back({"1F closing", Command(0x1F, B({0x00, 0xA6}))});
  c.push_back({"63", Command(0x63, B({0x00, 0x56, 0x00, 0x03}))});
  c.push_back({"64 lock", Command(0x64, B({0x01}))});
  c.push_back({"65 POWN", Command(0x65, B({0x01, 0x02, 0x03}) + "abc")});
  c.push_back({"65 text holding F2 0D 0A", Command(0x65, B({0x01, 0x02, 0x04, 0xF2, 0x0D, 0x0A, 0x41}))});
  c.push_back({"65 empty text", Command(0x65, B({0x01, 0x02, 0x00}))});
  c.push_back({"12 with port", Command(0x12, B({127, 0, 0, 2, 0x0F, 0xA1, 255, 0, 0, 0, 127, 0, 0, 1}))});
  c.push_back({"12 without port", Command(0x12, B({127, 0, 0, 2, 255, 0, 0, 0, 127, 0, 0, 1}))});
  c.push_back(
      {"12 gateway ending F2 0D", Command(0x12, B({127, 0, 0, 2, 0x0F, 0xA1, 255, 0, 0, 0, 127, 0, 0xF2, 0x0D}))});
  c.push_back({"60 type", Command(0x60, "TYPE-A")});
  c.push_back({"61 name", Command(0x61, "Hall 2")});
  const std::string payload = B({0x01, 0xF2, 0x0D, 0x0A, 0xF2, 0x0D, 0x0A});
  c.push_back({"00 Vantor", DownloadFrame(1, B({2, 4, 3}), 0xA5, EventFrame(1, 4, B({0x00, 0x64})))});
  c.push_back({"00 Vantor holding F2 0D 0A", DownloadFrame(1, B({2, 4, 3}), 0xA5, EventFrame(1, 1, payload))});
  c.push_back({"00 Quillet", DownloadFrame(1, B({0x4B}), 0xA5, EventFrame(1, 4, B({0x00, 0x64}))), true});
  c.push_back({"00 Quillet holding F2 0D 0A", DownloadFrame(1, B({0x4B}), 0xA5, EventFrame(1, 1, payload)), true});
  c.push_back({"record ack 51", Ack(0x51, 1), false, FrameKind::RecordAck});
  c.push_back({"record ack 53 refused", Ack(0x53, 0), false, FrameKind::RecordAck});
  c.push_back({"EERom Clear", "00\r\n", false, FrameKind::EeromClear});
  return c;
}

TEST(PanelSimFraming, EveryLengthWholeBytewiseAndBackToBack) {
  for (const FrameCase& fc : FrameCases()) {
    SCOPED_TRACE(std::string(fc.Name) + ": " + Hex(fc.Bytes));
    {
      CommandFramer f(fc.Packed);
      const auto frames = f.Feed(fc.Bytes);
      ASSERT_EQ(frames.size(), 1u);
      EXPECT_EQ(frames[0].Bytes, fc.Bytes);
      EXPECT_EQ(frames[0].Kind, fc.Kind);
      EXPECT_EQ(f.Pending(), CommandFramer::Waiting::Nothing);
    }
    {
      // One byte at a time: nothing before the last byte, the frame then.
      CommandFramer f(fc.Packed);
      for (size_t i = 0; i + 1 < fc.Bytes.size(); ++i) {
        ASSERT_TRUE(f.Feed(fc.Bytes.substr(i, 1)).empty()) << "cut early at byte " << i;
        ASSERT_EQ(f.Pending(), CommandFramer::Waiting::Unfinished);
      }
      const auto frames = f.Feed(fc.Bytes.substr(fc.Bytes.size() - 1));
      ASSERT_EQ(frames.size(), 1u);
      EXPECT_EQ(frames[0].Bytes, fc.Bytes);
    }
    {
      CommandFramer f(fc.Packed);
      const auto frames = f.Feed(fc.Bytes + fc.Bytes);
      ASSERT_EQ(frames.size(), 2u);
      EXPECT_EQ(frames[1].Bytes, fc.Bytes);
    }
  }
}

TEST(PanelSimFraming, DownloadLengthDependsOnTheVariant) {
  // The same bytes read with the other variant's offsets give another length.
  const std::string v = DownloadFrame(1, B({2, 4, 3}), 0xA5, EventFrame(1, 4, B({0x00, 0x64})));
  EXPECT_EQ(CutFrame(v, false).Length, v.size());
  const std::string q = DownloadFrame(1, B({0x4B}), 0xA5, EventFrame(1, 4, B({0x00, 0x64})));
  EXPECT_EQ(CutFrame(q, true).Length, q.size());
  EXPECT_EQ(q.size() + 2, v.size());
}

TEST(PanelSimFraming, BytesThatFitNothingWaitForTheQuietLine) {
  struct Case {
    const char* Name;
    std::string Bytes;
  } cases[] = {
      {"relayed text", "hello"},
      {"unknown command", B({0xF1, 0x99, 0xF2, 0x0D, 0x0A})},
      {"F5 other than 51 and 53", B({0xF5, 0x30, 0x00})},
      {"almost the EERom line", "01\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    CommandFramer f(false);
    EXPECT_TRUE(f.Feed(c.Bytes).empty());
    EXPECT_EQ(f.Pending(), CommandFramer::Waiting::Raw);
    // More bytes while the line is busy belong to the same raw piece, even a frame.
    EXPECT_TRUE(f.Feed(Command(0x41)).empty());
    const auto frames = f.Flush();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].Kind, FrameKind::Raw);
    EXPECT_EQ(frames[0].Bytes, c.Bytes + Command(0x41));
    EXPECT_EQ(f.Pending(), CommandFramer::Waiting::Nothing);
    // After the quiet the next frame is framed again.
    EXPECT_EQ(f.Feed(Command(0x41)).size(), 1u);
  }
}

TEST(PanelSimFraming, FrameThenGarbageAndUnfinishedFrame) {
  CommandFramer f(false);
  const auto frames = f.Feed(Command(0x41) + "xyz");
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].Bytes, Command(0x41));
  EXPECT_EQ(f.Pending(), CommandFramer::Waiting::Raw);
  EXPECT_EQ(f.Flush()[0].Bytes, "xyz");

  // A download frame whose length says more than ever comes: unfinished
  // until the caller's longer quiet, then raw as it stands.
  const std::string head =
      B({0xF1, 0x00, 0x00, 0x01, 2, 4, 3, 0x00, 0xA5, 0xFF, 0xFF, 0xF3, 0x00, 0x01, 0x01, 0x40, 0x00});
  EXPECT_TRUE(f.Feed(head).empty());
  EXPECT_EQ(f.Pending(), CommandFramer::Waiting::Unfinished);
  const auto rest = f.Flush();
  ASSERT_EQ(rest.size(), 1u);
  EXPECT_EQ(rest[0].Kind, FrameKind::Raw);
  EXPECT_EQ(rest[0].Bytes, head);
}

// ------------------------------------------------------- discovery, steps

TEST(PanelSimDiscovery, OnlyTheExactTextNamingLoopback) {
  struct Case {
    std::string Text;
    bool Ok;
  } cases[] = {
      {" IP:127.0.0.1;", true},    {" IP:127.255.3.4;", true},  {"IP:127.0.0.1;", false},
      {" IP:127.0.0.1", false},    {" IP:127.0.0.1; ", false},  {" IP:127.0.0.1;\n", false},
      {" IP:192.168.1.5;", false}, {" IP:0.0.0.0;", false},     {" IP:127.0.0.256;", false},
      {" IP:127.0.0;", false},     {" IP:127.0.0.1.1;", false}, {" IP:127.00.0.1;", false},
      {" IP: 127.0.0.1;", false},  {" ip:127.0.0.1;", false},   {std::string(" IP:127.0.0.1;\0", 15), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text);
    const auto a = DiscoveryAddress(c.Text);
    EXPECT_EQ(a.has_value(), c.Ok);
  }
  EXPECT_EQ(*DiscoveryAddress(" IP:127.1.2.3;"), 0x7F010203u);
}

TEST(PanelSimDiscovery, StepSelectors) {
  EXPECT_TRUE(ParseStep("3")->Matches({3, Phase::Any, 0}));
  EXPECT_TRUE(ParseStep("answer:3")->Matches({3, Phase::Download, 1}));
  EXPECT_TRUE(ParseStep("download:2")->Matches({7, Phase::Download, 2}));
  EXPECT_FALSE(ParseStep("download:2")->Matches({2, Phase::Upload, 2}));
  EXPECT_TRUE(ParseStep("upload:all")->Matches({9, Phase::Upload, 5}));
  EXPECT_FALSE(ParseStep("upload:all")->Matches({9, Phase::Any, 0}));
  EXPECT_FALSE(StepSel{}.Matches({1, Phase::Any, 0}));
  for (const char* bad : {"", "0", "download:", "download:0", "later:1", "x", "upload:-1"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParseStep(bad).has_value());
  }
}

// ------------------------------------------------------------- answers

PanelCore Linked(const Variant& v = kVantor, Faults f = {}, PanelSettings s = {}) {
  s.Model = &v;
  PanelCore core(s, f);
  core.StartLink(0x7F000002, 4001);
  return core;
}

std::vector<std::string> Bytes(const std::vector<Answer>& answers) {
  std::vector<std::string> out;
  for (const Answer& a : answers) out.push_back(a.Bytes);
  return out;
}

std::string One(PanelCore& core, const std::string& frame) {
  const auto a = core.Feed(frame);
  EXPECT_EQ(a.size(), 1u) << Hex(frame);
  return a.empty() ? std::string() : a[0].Bytes;
}

TEST(PanelSimAnswers, NetworkSettingsReportTheLinkEnd) {
  PanelCore core = Linked();
  // 127.0.0.2, port 4001 = 0FA1, mask 255.0.0.0, gateway 127.0.0.1.
  EXPECT_EQ(One(core, Command(0x11)), B({0xF5, 0x11, 0, 0}) + "7F0000020FA1FF0000007F000001");
  EXPECT_EQ(One(core, Command(0x44)), B({0xF5, 0x44, 0, 0}) + "7F0000020FA1FF0000007F000001");
  core.StartLink(0x7F000003, 0xBEEF);
  EXPECT_EQ(One(core, Command(0x11)).substr(4, 12), "7F000003BEEF");
}

TEST(PanelSimAnswers, SystemInformationAndIrLearn) {
  PanelCore v = Linked(kVantor);
  EXPECT_EQ(One(v, Command(0x41)), B({0xF5, 0x41, 0x01}));
  EXPECT_EQ(One(v, Command(0x42)), B({0xF5, 0x42, 0, 0}) + "Vantor ");
  EXPECT_EQ(One(v, Command(0x43)), B({0xF5, 0x43, 0, 0}) + "V1.0.1");
  EXPECT_EQ(One(v, Command(0x45)), B({0xF5, 0x45, 0, 0}) + "00-1A-2B-3C-4D-5E");
  EXPECT_EQ(One(v, Command(0x10)), B({0xF5, 0x10, 0x01, 0x00, 0x06, 0x01, 0x23, 0x45, 0x67, 0x89, 0xAB}));

  PanelCore q = Linked(kQuillet);
  EXPECT_EQ(One(q, Command(0x42)), B({0xF5, 0x42, 0, 0}) + "Quillet");
  EXPECT_EQ(One(q, Command(0x43)), B({0xF5, 0x43, 0, 0}) + "V1.0.5");

  PanelSettings s;
  s.Ir = IrLearnReply::Refuse;
  PanelCore refuse = Linked(kVantor, {}, s);
  EXPECT_EQ(One(refuse, Command(0x10)), B({0xF5, 0x10, 0x00}));
  s.Ir = IrLearnReply::LongPress;
  PanelCore longPress = Linked(kQuillet, {}, s);
  EXPECT_EQ(One(longPress, Command(0x10)), B({0xF5, 0x10, 0x02}));
}

TEST(PanelSimAnswers, CommandsWithoutAnswerAreOnlyRecorded) {
  PanelCore core = Linked();
  const std::vector<std::string> sent = {
      Command(0x12, B({127, 0, 0, 2, 255, 0, 0, 0, 127, 0, 0, 1})),
      Command(0x13, B({0, 1, 2, 3, 4, 5})),
      Command(0x14),
      Command(0x15),
      Command(0x16),
      Command(0x20),
      Command(0x60, "T"),
      Command(0x61, "N"),
      Command(0x63, B({0x00, 0x56, 0x00, 0x03})),
      Command(0x64, B({0x00})),
      Command(0x65, B({0x01, 0x02, 0x01, 0x41})),
      "00\r\n",
  };
  std::string all;
  for (const std::string& s : sent) all += s;
  EXPECT_TRUE(core.Feed(all).empty());
  std::vector<std::string> want;
  for (const std::string& s : sent) want.push_back(Hex(s));
  EXPECT_EQ(core.RecordLines(), want);
  EXPECT_TRUE(core.Problems().empty());
}

TEST(PanelSimAnswers, CommandWithABadEndingIsNotAnswered) {
  PanelCore core = Linked();
  EXPECT_TRUE(core.Feed(B({0xF1, 0x41, 0xF2, 0x0D, 0x0B})).empty());
  ASSERT_EQ(core.Problems().size(), 1u);
  EXPECT_EQ(core.RecordLines(), std::vector<std::string>{"F1 41 F2 0D 0B "});
}

// ------------------------------------------------------------ download

// The example of two actions with 1 and 2 events: the first record goes
// to 90 + (6 + 2) + (6 + 4) + 3 = A5.
struct Sample {
  std::string H1, H2;
  std::vector<std::string> Events;  // action 1: [0]; action 2: [1], [2]
  std::vector<std::string> Frames;
  int End = 0;

  explicit Sample(const Variant& v) {
    H1 = v.PackedHeader ? B({0x4B}) : B({2, 4, 3});
    H2 = v.PackedHeader ? B({0x25}) : B({1, 1, 1});
    Events = {EventFrame(1, 4, B({0x00, 0x64})),                          // 9 bytes
              EventFrame(1, 1, B({0x01, 0xF2, 0x0D, 0x0A, 0x41, 0x42})),  // 13 bytes
              EventFrame(2, 6, B({0x03, 0x01, 0x00}))};                   // 10 bytes
    int a = 0xA5;
    Frames.push_back(DownloadFrame(1, H1, a, Events[0]));
    a += 9;
    Frames.push_back(DownloadFrame(2, H2, a, Events[1]));
    a += 13;
    Frames.push_back(DownloadFrame(2, H2, a, Events[2]));
    End = a + 10;  // C5
  }
};

class PanelSimDownload : public ::testing::TestWithParam<const Variant*> {};

TEST_P(PanelSimDownload, SoundDownloadIsAcknowledgedAndCommitted) {
  const Variant& v = *GetParam();
  const Sample s(v);
  EXPECT_EQ(s.End, 0xC5);
  PanelCore core = Linked(v);
  EXPECT_EQ(One(core, Command(0x21)), B({0xF5, 0x21, 0x01}));
  for (const std::string& f : s.Frames) EXPECT_EQ(One(core, f), B({0xF5, 0x00, 0x01}));
  EXPECT_EQ(One(core, Closing(s.End)), B({0xF5, 0x1F, 0x01}));
  EXPECT_TRUE(core.Problems().empty()) << core.Problems().front();
  EXPECT_EQ(core.CommittedDownloads(), 1);

  const StoredConfig& st = core.Stored();
  ASSERT_EQ(st.size(), 2u);
  EXPECT_EQ(st[0].Number, 1);
  EXPECT_EQ(st[0].Header, s.H1);
  EXPECT_EQ(st[0].Events, std::vector<std::string>{s.Events[0]});
  EXPECT_EQ(st[1].Header, s.H2);
  EXPECT_EQ(st[1].Events, (std::vector<std::string>{s.Events[1], s.Events[2]}));
  // The download ended with the closing frame: a stray event is refused.
  EXPECT_EQ(One(core, s.Frames[0]), B({0xF5, 0x00, 0x00}));
  EXPECT_EQ(core.Stored().size(), 2u);
}

TEST_P(PanelSimDownload, EachFaultyFrameIsRefusedAndChangesNothing) {
  const Variant& v = *GetParam();
  const Sample s(v);
  const size_t hl = v.HeaderLength;
  const size_t addrAt = 4 + hl, eventAt = 8 + hl;
  struct Case {
    const char* Name;
    size_t Frame;  // which of the three is spoiled
    std::function<std::string(std::string)> Spoil;
  };
  const std::vector<Case> cases = {
      {"CRC", 1,
       [&](std::string f) {
         f[eventAt + 6] ^= 1;
         return f;
       }},
      {"ending", 0,
       [](std::string f) {
         f.back() = 0x0B;
         return f;
       }},
      {"FF FF marker", 0,
       [&](std::string f) {
         f[addrAt + 3] = 0x00;
         return Recrc(f);
       }},
      {"no F4", 2,
       [](std::string f) {
         f[f.size() - 6] = 0x00;
         return Recrc(f);
       }},
      {"unknown event type", 0,
       [&](std::string f) {
         f[eventAt + 3] = 9;
         return Recrc(f);
       }},
      {"address gap", 1,
       [&](std::string f) {
         f[addrAt + 1] += 1;
         return Recrc(f);
       }},
      {"address repeated", 2,
       [&](std::string f) {
         f[addrAt + 1] -= 13;
         return Recrc(f);
       }},
      {"event skipped", 2,
       [&](std::string f) {
         f[eventAt + 2] = 3;
         return Recrc(f);
       }},
      {"new action not at event 1", 1,
       [&](std::string f) {
         f[eventAt + 2] = 2;
         return Recrc(f);
       }},
      {"action going back", 2,
       [](std::string f) {
         f[3] = 1;
         return Recrc(f);
       }},
      {"header changed in an action", 2,
       [&](std::string f) {
         f[4] ^= 0x10;
         return Recrc(f);
       }},
      {"first event not at 1", 0,
       [&](std::string f) {
         f[eventAt + 2] = 2;
         return Recrc(f);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    PanelCore core = Linked(v);
    One(core, Command(0x21));
    for (size_t i = 0; i < c.Frame; ++i) ASSERT_EQ(One(core, s.Frames[i]), B({0xF5, 0x00, 0x01}));
    const std::string bad = c.Spoil(s.Frames[c.Frame]);
    ASSERT_EQ(CutFrame(bad, v.PackedHeader).Length, bad.size());
    const size_t staged = core.Download().Staged().size();
    EXPECT_EQ(One(core, bad), B({0xF5, 0x00, 0x00}));
    EXPECT_EQ(core.Problems().size(), 1u);
    EXPECT_EQ(core.Download().Staged().size(), staged);
    // The sound frame in its place is still welcome: nothing advanced.
    EXPECT_EQ(One(core, s.Frames[c.Frame]), B({0xF5, 0x00, 0x01}));
  }
}

TEST_P(PanelSimDownload, ClosingFrameAndFirstAddress) {
  const Variant& v = *GetParam();
  const Sample s(v);
  struct Case {
    const char* Name;
    int Shift;         // added to every address
    int Closing;       // added to the closing address
    int SecondAction;  // action number of the second action
    bool Ok;
  } cases[] = {
      {"sound", 0, 0, 2, true},
      {"closing one short", 0, -1, 2, false},
      {"closing one past", 0, 1, 2, false},
      {"first record one late", 1, 0, 2, false},
      {"first record early", -6, 0, 2, false},
      {"room for a trailing empty action", 6, 0, 2, true},
      {"gap in the action numbers needs its room", 0, 0, 3, false},
      {"gap with its room", 6, 0, 3, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    PanelCore core = Linked(v);
    One(core, Command(0x21));
    int a = 0xA5 + c.Shift;
    EXPECT_EQ(One(core, DownloadFrame(1, s.H1, a, s.Events[0])), B({0xF5, 0x00, 0x01}));
    a += 9;
    EXPECT_EQ(One(core, DownloadFrame(c.SecondAction, s.H2, a, s.Events[1])), B({0xF5, 0x00, 0x01}));
    a += 13;
    EXPECT_EQ(One(core, DownloadFrame(c.SecondAction, s.H2, a, s.Events[2])), B({0xF5, 0x00, 0x01}));
    a += 10;
    EXPECT_EQ(One(core, Closing(a + c.Closing)), B({0xF5, 0x1F, static_cast<int>(c.Ok)}));
    EXPECT_EQ(core.CommittedDownloads(), c.Ok ? 1 : 0);
    if (!c.Ok && c.Closing != 0) {
      // A refused closing leaves the download open for a sound one.
      EXPECT_EQ(One(core, Closing(a)), B({0xF5, 0x1F, 0x01}));
    }
  }
}

TEST_P(PanelSimDownload, FramesNeedTheClearFirst) {
  const Sample s(*GetParam());
  PanelCore core = Linked(*GetParam());
  EXPECT_EQ(One(core, s.Frames[0]), B({0xF5, 0x00, 0x00}));
  EXPECT_EQ(One(core, Closing(0xAE)), B({0xF5, 0x1F, 0x00}));
  EXPECT_EQ(core.Problems().size(), 2u);
}

TEST_P(PanelSimDownload, RefusalsAsTold) {
  const Variant& v = *GetParam();
  const Sample s(v);
  struct Case {
    const char* Name;
    Faults F;
    std::vector<int> Status;  // clear, three events, closing
  };
  Faults clear, event2, closing;
  clear.RefuseClear = true;
  event2.RefuseEvent = 2;
  closing.RefuseClosing = true;
  const Case cases[] = {
      // With the clear refused no download runs, so nothing after it is taken.
      {"clear", clear, {0, 0, 0, 0, 0}},
      // The refused frame is not stored, so the next one leaves a gap.
      {"event 2", event2, {1, 1, 0, 0, 0}},
      {"closing", closing, {1, 1, 1, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    PanelCore core = Linked(v, c.F);
    std::vector<int> got;
    got.push_back(One(core, Command(0x21))[2]);
    for (const std::string& f : s.Frames) got.push_back(One(core, f)[2]);
    got.push_back(One(core, Closing(s.End))[2]);
    EXPECT_EQ(got, c.Status);
    EXPECT_EQ(core.CommittedDownloads(), 0);
  }
  // A sound resend of the refused event is taken: it is the frame count that was told.
  PanelCore core = Linked(v, event2);
  One(core, Command(0x21));
  EXPECT_EQ(One(core, s.Frames[0])[2], 1);
  EXPECT_EQ(One(core, s.Frames[1])[2], 0);
  EXPECT_EQ(One(core, s.Frames[1])[2], 1);
  EXPECT_EQ(One(core, s.Frames[2])[2], 1);
  EXPECT_EQ(One(core, Closing(s.End))[2], 1);
}

INSTANTIATE_TEST_SUITE_P(BothVariants, PanelSimDownload, ::testing::Values(&kVantor, &kQuillet),
                         [](const auto& info) { return info.param->Name; });

// -------------------------------------------------------------- upload

TEST(PanelSimUpload, RecordLayouts) {
  const std::string example = B({0xF5, 0x51, 0x01, 0x01, 0x00, 0x01, 0x02, 0x04, 0x03, 0xF6, 0x44, 0xB8});
  EXPECT_EQ(ActionRecord(1, 1, 1, B({2, 4, 3})), example);
  EXPECT_EQ(Crc16Modbus(example.substr(0, 10)), 0x44B8);

  const std::string q = ActionRecord(3, 2, 0x0102, B({0x4B}));
  ASSERT_EQ(q.size(), 10u);
  EXPECT_EQ(q.substr(0, 8), B({0xF5, 0x51, 0x03, 0x02, 0x01, 0x02, 0x4B, 0xF6}));
  EXPECT_EQ(q.substr(8), Crc16Bytes(q.substr(0, 8)));

  const std::string e = EventFrame(2, 6, B({0x03, 0x01, 0x00}));
  EXPECT_EQ(EventRecord(e), e + Crc16Bytes(e));
}

class PanelSimPlayback : public ::testing::TestWithParam<const Variant*> {
 protected:
  // Downloads the sample and asks for the upload; the first record is returned.
  std::vector<Answer> Start(PanelCore& core) {
    const Sample s(*GetParam());
    One(core, Command(0x21));
    for (const std::string& f : s.Frames) One(core, f);
    One(core, Closing(s.End));
    EXPECT_EQ(core.CommittedDownloads(), 1);
    return core.Feed(Command(0x51));
  }
  // The records as worked out by hand from the sample.
  std::vector<std::string> Expected() const {
    const Sample s(*GetParam());
    return {ActionRecord(2, 1, 1, s.H1), s.Events[0] + Crc16Bytes(s.Events[0]), ActionRecord(2, 2, 2, s.H2),
            s.Events[1] + Crc16Bytes(s.Events[1]), s.Events[2] + Crc16Bytes(s.Events[2])};
  }
};

TEST_P(PanelSimPlayback, EachRecordOnlyAfterTheAcknowledgementOfTheOneBefore) {
  PanelCore core = Linked(*GetParam());
  const auto want = Expected();
  std::vector<std::string> got = Bytes(Start(core));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].size(), GetParam()->PackedHeader ? 10u : 12u);
  // Anything but the awaited acknowledgement moves nothing.
  EXPECT_EQ(core.Feed(Command(0x41)).size(), 1u);
  EXPECT_TRUE(core.Feed(Ack(0x53, 1)).empty());  // wrong kind for an action record
  EXPECT_TRUE(core.Feed(Ack(0x51, 7)).empty());  // unknown status
  EXPECT_EQ(core.Problems().size(), 2u);
  for (size_t i = 1; i < want.size(); ++i) {
    const int kind = want[i - 1][0] == '\xF5' ? 0x51 : 0x53;
    const auto next = Bytes(core.Feed(Ack(kind, 1)));
    ASSERT_EQ(next.size(), 1u) << "after record " << i;
    got.push_back(next[0]);
  }
  EXPECT_EQ(got, want);
  EXPECT_FALSE(core.UploadFinished());
  EXPECT_TRUE(core.Feed(Ack(0x53, 1)).empty());
  EXPECT_TRUE(core.UploadFinished());
  // A stray acknowledgement after the end is only noted.
  EXPECT_TRUE(core.Feed(Ack(0x53, 1)).empty());
  EXPECT_EQ(core.Problems().size(), 3u);
}

TEST_P(PanelSimPlayback, StatusZeroSendsTheRecordOnceMore) {
  PanelCore core = Linked(*GetParam());
  const auto want = Expected();
  EXPECT_EQ(Bytes(Start(core)), std::vector<std::string>{want[0]});
  EXPECT_EQ(Bytes(core.Feed(Ack(0x51, 0))), std::vector<std::string>{want[0]});
  EXPECT_EQ(Bytes(core.Feed(Ack(0x51, 1))), std::vector<std::string>{want[1]});
  EXPECT_EQ(Bytes(core.Feed(Ack(0x53, 0))), std::vector<std::string>{want[1]});
  // Refused a second time: the upload stops rather than loop.
  EXPECT_TRUE(core.Feed(Ack(0x53, 0)).empty());
  EXPECT_FALSE(core.UploadRunning());
  EXPECT_FALSE(core.UploadFinished());
  EXPECT_TRUE(core.Feed(Ack(0x53, 1)).empty());
  // A new upload starts from the first record again.
  EXPECT_EQ(Bytes(core.Feed(Command(0x51))), std::vector<std::string>{want[0]});
}

TEST_P(PanelSimPlayback, RecordFaults) {
  const auto want = Expected();
  const Sample s(*GetParam());
  Faults corrupt, lie, join, silent;
  corrupt.CorruptCrcAt = StepSel::At(Phase::Upload, 2);
  lie.LieAt = StepSel::At(Phase::Upload, 2);
  lie.LieBy = 2;
  join.JoinAt = StepSel::At(Phase::Upload, 1);
  silent.SilentAt = StepSel::At(Phase::Upload, 2);

  {
    SCOPED_TRACE("corrupt CRC: status 00 brings the sound record");
    PanelCore core = Linked(*GetParam(), corrupt);
    Start(core);
    const std::string bad = Bytes(core.Feed(Ack(0x51, 1)))[0];
    EXPECT_EQ(bad.substr(0, bad.size() - 1), want[1].substr(0, want[1].size() - 1));
    EXPECT_NE(bad, want[1]);
    EXPECT_EQ(Bytes(core.Feed(Ack(0x53, 0))), std::vector<std::string>{want[1]});
  }
  {
    SCOPED_TRACE("lying length: the CRC agrees, the length field does not");
    PanelCore core = Linked(*GetParam(), lie);
    Start(core);
    const std::string r = Bytes(core.Feed(Ack(0x51, 1)))[0];
    ASSERT_EQ(r.size(), want[1].size());
    EXPECT_EQ(static_cast<uint8_t>(r[5]), s.Events[0].size() - 7 + 2);
    EXPECT_EQ(Crc16Modbus(r.substr(0, r.size() - 2)),
              static_cast<uint8_t>(r[r.size() - 2]) * 256 + static_cast<uint8_t>(r.back()));
    EXPECT_EQ(Bytes(core.Feed(Ack(0x53, 0))), std::vector<std::string>{want[1]});
  }
  {
    SCOPED_TRACE("join: the first two records at once, then on by the acknowledgements");
    PanelCore core = Linked(*GetParam(), join);
    const auto first = Start(core);
    ASSERT_EQ(first.size(), 2u);
    EXPECT_TRUE(first[0].Join);
    EXPECT_EQ(Bytes(first), (std::vector<std::string>{want[0], want[1]}));
    EXPECT_TRUE(core.Feed(Ack(0x51, 1)).empty());
    EXPECT_EQ(Bytes(core.Feed(Ack(0x53, 1))), std::vector<std::string>{want[2]});
  }
  {
    SCOPED_TRACE("silent: the record is due but never written");
    PanelCore core = Linked(*GetParam(), silent);
    Start(core);
    const auto a = core.Feed(Ack(0x51, 1));
    ASSERT_EQ(a.size(), 1u);
    EXPECT_TRUE(a[0].Silent);
    EXPECT_TRUE(a[0].Bytes.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(BothVariants, PanelSimPlayback, ::testing::Values(&kVantor, &kQuillet),
                         [](const auto& info) { return info.param->Name; });

TEST(PanelSimUpload, NothingStoredSendsNothing) {
  PanelCore core = Linked();
  EXPECT_TRUE(core.Feed(Command(0x51)).empty());
  EXPECT_EQ(core.Problems().size(), 1u);
}

// --------------------------------------------------- faults on answers

TEST(PanelSimFaults, StepsSelectWhichAnswerIsChanged) {
  Faults f;
  f.SplitAt = StepSel::At(Phase::Any, 2);
  f.DropAfter = StepSel::At(Phase::Download, 1);
  f.LieAt = StepSel::At(Phase::Any, 3);
  f.LieBy = -1;
  PanelCore core = Linked(kVantor, f);
  const auto a = core.Feed(Command(0x41) + Command(0x42) + Command(0x10) + Command(0x21));
  ASSERT_EQ(a.size(), 4u);
  EXPECT_FALSE(a[0].Split);
  EXPECT_TRUE(a[1].Split);
  EXPECT_EQ(a[2].Bytes.substr(0, 5), B({0xF5, 0x10, 0x01, 0x00, 0x05}));  // six code bytes follow
  EXPECT_EQ(a[2].Bytes.size(), 11u);
  EXPECT_FALSE(a[2].DropAfter);
  EXPECT_TRUE(a[3].DropAfter);
  // An answer without a length field cannot lie: said, not hidden.
  f.LieAt = StepSel::At(Phase::Any, 1);
  PanelCore plain = Linked(kVantor, f);
  EXPECT_EQ(One(plain, Command(0x41)), B({0xF5, 0x41, 0x01}));
  EXPECT_EQ(plain.Problems().size(), 1u);
}

}  // namespace
