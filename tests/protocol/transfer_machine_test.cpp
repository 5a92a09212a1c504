#include "link/transfer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "bytes.h"
#include "model/hex.h"
#include "panelsim_frames.h"

namespace {

using transfer::DownloadMachine;
using O = DownloadMachine::AckOutcome;
using simtest::Word;

const std::string kAckClear = B({0xF5, 0x21, 0x01});
const std::string kAckEvent = B({0xF5, 0x00, 0x01});
const std::string kAckClosing = B({0xF5, 0x1F, 0x01});

// A Delay event whose frame has `extra` more payload bytes than the usual 3
// (so L = 3 + extra), with stale index bytes.
std::string Event(int staleIndex, int extra = 0) {
  std::string payload = B({1, 2, 3});
  payload.append(static_cast<size_t>(extra), '\x55');
  return simtest::EventFrame(staleIndex, 4, payload);
}

std::string Header(const Variant& v, int key) { return v.PackedHeader ? B({key * 32 + 4 + 1}) : B({key, 1, 1}); }

// Actions with the given event counts; record n's events have frames of L = 3 + n.
ConfigModel Model(const Variant& v, const std::vector<int>& counts) {
  ConfigModel m;
  m.ActionCount = static_cast<int>(counts.size());
  for (int a = 1; a <= m.ActionCount; ++a) {
    TActionList& r = m.Actions[a];
    r.Header = Header(v, a);
    r.EventCount = counts[a - 1];
    for (int e = 1; e <= r.EventCount; ++e) r.Events[e].Frame = Event(99, a);
  }
  return m;
}

bool Logged(const std::vector<std::string>& log, const std::string& line) {
  return std::find(log.begin(), log.end(), line) != log.end();
}

TEST(DownloadAddresses, TableThenRecordsAndTheLimit) {
  ConfigModel m = Model(kVantor, {1, 2});
  EXPECT_EQ(transfer::FirstEventAddress(m), 0xA5u);  // 90 + (6 + 2) + (6 + 4) + 3
  EXPECT_EQ(transfer::EventTotal(m), 3);
  // Frames of L = 4 and L = 5: 11 and 12 bytes each.
  EXPECT_EQ(transfer::EndAddress(m), 0xA5u + 11 + 2 * 12);
  m.Actions[1].Events[1].Frame = Event(1, 7);  // L = 10 takes 17
  EXPECT_EQ(transfer::EndAddress(m), 0xA5u + 17 + 2 * 12);

  struct Case {
    std::vector<int> Counts;
    transfer::DownloadCheck Want;
  };
  for (const Case& c : {Case{{}, transfer::DownloadCheck::NoEvents}, Case{{0, 0}, transfer::DownloadCheck::NoEvents},
                        Case{{0, 1}, transfer::DownloadCheck::Ok}}) {
    EXPECT_EQ(transfer::CheckDownload(Model(kVantor, c.Counts)), c.Want) << c.Counts.size();
  }

  // One action whose single record ends exactly at FFFF fits; one byte more wraps.
  ConfigModel big = Model(kVantor, {1});
  const int first = static_cast<int>(transfer::FirstEventAddress(big));
  const int fits = 0xFFFF - first - 7;  // payload length that ends the record at FFFF
  big.Actions[1].Events[1].Frame = simtest::EventFrame(1, 1, std::string(static_cast<size_t>(fits), 'A'));
  EXPECT_EQ(transfer::EndAddress(big), 0xFFFFu);
  EXPECT_EQ(transfer::CheckDownload(big), transfer::DownloadCheck::Ok);
  big.Actions[1].Events[1].Frame = simtest::EventFrame(1, 1, std::string(static_cast<size_t>(fits + 1), 'A'));
  EXPECT_EQ(transfer::CheckDownload(big), transfer::DownloadCheck::PastEeprom);
}

class Handshake : public ::testing::TestWithParam<const Variant*> {};
INSTANTIATE_TEST_SUITE_P(Builds, Handshake, ::testing::Values(&kVantor, &kQuillet),
                         [](const auto& info) { return info.param->Name; });

TEST_P(Handshake, EveryFrameInRecordOrderThenTheClosingFrame) {
  const Variant& v = *GetParam();
  // An empty action between two others takes room in the table and sends nothing.
  ConfigModel m = Model(v, {1, 0, 5});
  DownloadMachine d(v);
  d.Start(m);
  EXPECT_EQ(d.Maximum(), 8);
  EXPECT_EQ(d.Progress(), 1);
  EXPECT_EQ(d.DoneText(), "Done:12%");
  EXPECT_EQ(d.StepCounter(), 2);
  std::vector<std::string> log = d.TakeLog();
  const int first = 0x90 + 8 + 6 + 16 + 3;
  EXPECT_TRUE(Logged(log, "frist_start_addr:" + std::to_string(first)));
  EXPECT_FALSE(d.Next(m)) << "nothing before the clear is acknowledged";

  // What the panel must see, worked out from the layout, frame by frame.
  std::vector<std::string> want;
  int addr = first;
  for (int a : {1, 3})
    for (int e = 1; e <= m.Actions[a].EventCount; ++e) {
      std::string frame = m.Actions[a].Events[e].Frame;
      frame[1] = 0;
      frame[2] = static_cast<char>(e);
      want.push_back(simtest::DownloadFrame(a, m.Actions[a].Header, addr, frame));
      addr += static_cast<int>(frame.size());
    }
  want.push_back(simtest::Closing(addr));

  ASSERT_EQ(d.OnAck(m, kAckClear, true), O::Accepted);
  for (size_t i = 0; i < want.size(); ++i) {
    SCOPED_TRACE(i);
    const std::optional<std::string> sent = d.Next(m);
    ASSERT_TRUE(sent);
    EXPECT_EQ(BytesToSpacedHex(*sent + "\r\n"), BytesToSpacedHex(want[i]));
    EXPECT_EQ(d.Progress(), static_cast<int>(i) + 2);
    EXPECT_FALSE(d.Next(m)) << "one frame per acknowledgement";
    const bool closing = i + 1 == want.size();
    EXPECT_EQ(d.ClosingSent(), closing);
    if (!closing) {
      ASSERT_EQ(d.OnAck(m, kAckEvent, true), O::Accepted);
    }
  }
  EXPECT_EQ(d.DoneText(), "Done:100%");
  EXPECT_EQ(d.LastStep(), 1);
  log = d.TakeLog();
  EXPECT_TRUE(Logged(log, "Next send last cmd"));
  EXPECT_TRUE(Logged(log, "download success!"));
  EXPECT_TRUE(Logged(log, "last_addr:" + std::to_string(addr)));
  EXPECT_EQ(Logged(log, "next addr:" + std::to_string(addr)), v.LogsNextAddress);
  EXPECT_TRUE(Logged(log, "   Download_pos_j:5"));

  // The fifth event went out as 00 05, and the model keeps it.
  EXPECT_EQ(m.Actions[3].Events[5].Frame.substr(1, 2), B({0x00, 0x05}));

  EXPECT_EQ(d.OnAck(m, kAckClosing, true), O::Complete);
  EXPECT_EQ(d.AckCounter(), 1);
  EXPECT_EQ(d.LastStep(), 0);
  EXPECT_FALSE(d.Running());
  EXPECT_TRUE(Logged(d.TakeLog(), "Download complete"));
}

TEST(DownloadMachineAcks, OnlyTheAwaitedStepFromItsOwnConnectionCounts) {
  ConfigModel m = Model(kVantor, {2});
  DownloadMachine d(kVantor);
  EXPECT_EQ(d.OnAck(m, kAckClear, true), O::Ignored) << "nothing running";
  d.Start(m);
  EXPECT_EQ(d.OnAck(m, kAckEvent, true), O::Ignored) << "the clear is awaited";
  EXPECT_EQ(d.OnAck(m, kAckClosing, true), O::Ignored);
  EXPECT_EQ(d.OnAck(m, kAckClear, false), O::Ignored) << "another connection";
  EXPECT_EQ(d.AckCounter(), 1);
  ASSERT_EQ(d.OnAck(m, kAckClear, true), O::Accepted);
  EXPECT_EQ(d.OnAck(m, kAckClear, true), O::Ignored) << "a repeated answer while the next frame waits its time";
  EXPECT_EQ(d.AckCounter(), 2);
  ASSERT_TRUE(d.Next(m));
  // Cancelled: a late acknowledgement changes nothing.
  d.Stop();
  EXPECT_EQ(d.OnAck(m, kAckEvent, true), O::Ignored);
  EXPECT_FALSE(d.Next(m));
  EXPECT_EQ(d.AckCounter(), 2);
  EXPECT_TRUE(Logged(d.TakeLog(), "ack ignored, not from the download's connection: F5 21 01 "));
}

TEST(DownloadMachineAcks, ARefusalAnywhereStopsTheDownload) {
  struct Case {
    const char* Name;
    int FramesAccepted;  // event frames acknowledged before the refusal; -1: the clear is refused
    std::string Refusal;
  };
  const Case cases[] = {
      {"clear 00", -1, B({0xF5, 0x21, 0x00})},   {"clear 02", -1, B({0xF5, 0x21, 0x02})},
      {"first event", 0, B({0xF5, 0x00, 0x00})}, {"second event", 1, B({0xF5, 0x00, 0x00})},
      {"no status", 0, B({0xF5, 0x00})},         {"closing", 2, B({0xF5, 0x1F, 0x00})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    ConfigModel m = Model(kVantor, {2});
    DownloadMachine d(kVantor);
    d.Start(m);
    if (c.FramesAccepted >= 0) {
      ASSERT_EQ(d.OnAck(m, kAckClear, true), O::Accepted);
      ASSERT_TRUE(d.Next(m));
      for (int i = 0; i < c.FramesAccepted; ++i) {
        ASSERT_EQ(d.OnAck(m, kAckEvent, true), O::Accepted);
        ASSERT_TRUE(d.Next(m));
      }
    }
    EXPECT_EQ(d.OnAck(m, c.Refusal, true), O::Refused);
    EXPECT_TRUE(Logged(d.TakeLog(), "Ack 00"));
    EXPECT_FALSE(d.Running());
    EXPECT_FALSE(d.Next(m)) << "nothing is resent";
    EXPECT_EQ(d.OnAck(m, kAckEvent, true), O::Ignored);
  }
}

TEST(DownloadMachineAcks, AnAcceptedStepThatFindsNothingFails) {
  ConfigModel m = Model(kVantor, {1});
  DownloadMachine d(kVantor);
  d.Start(m);
  m.Actions[1].EventCount = 0;  // the model changed under the download
  ASSERT_EQ(d.OnAck(m, kAckClear, true), O::Accepted);
  EXPECT_FALSE(d.Next(m));
  EXPECT_EQ(d.State(), DownloadMachine::Phase::Failed);
}

std::string ActionRecord(const Variant& v, int sum, int index, int events) {
  std::string r = B({0xF5, 0x51, sum, index}) + Word(events) + Header(v, 2) + B({0xF6});
  return r + Crc16Bytes(r);
}

std::string EventRecord(const std::string& frame) { return frame + Crc16Bytes(frame); }

TEST(UploadRecords, CrcAndLengthChecks) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    SCOPED_TRACE(v->Name);
    const std::string good = ActionRecord(*v, 2, 1, 3);
    EXPECT_EQ(good.size(), v->PackedHeader ? 10u : 12u);
    const transfer::RecordCheck c = transfer::CheckActionRecord(*v, good);
    EXPECT_TRUE(c.Ok());
    EXPECT_EQ(c.Computed, Crc16Modbus(good.substr(0, good.size() - 2)));
    std::string changed = good;
    changed[5] = static_cast<char>(changed[5] ^ 1);
    EXPECT_FALSE(transfer::CheckActionRecord(*v, changed).Ok());
    std::string longer = good.substr(0, good.size() - 2) + "X";
    EXPECT_FALSE(transfer::CheckActionRecord(*v, EventRecord(longer)).LengthOk);
  }

  const std::string frame = Event(1, 2);
  EXPECT_TRUE(transfer::CheckEventRecord(EventRecord(frame)).Ok());
  std::string corrupt = EventRecord(frame);
  corrupt.back() = static_cast<char>(corrupt.back() ^ 0xFF);
  const transfer::RecordCheck bad = transfer::CheckEventRecord(corrupt);
  EXPECT_TRUE(bad.LengthOk);
  EXPECT_FALSE(bad.CrcOk);
  // A length field off by one, under a CRC that matches: still refused.
  for (int delta : {-1, 1}) {
    std::string lying = frame;
    lying[5] = static_cast<char>(lying[5] + delta);
    const transfer::RecordCheck l = transfer::CheckEventRecord(EventRecord(lying));
    EXPECT_TRUE(l.CrcOk);
    EXPECT_FALSE(l.LengthOk);
  }
  EXPECT_FALSE(transfer::CheckEventRecord(B({0xF3, 0xF4, 0x00})).Ok());

  EXPECT_EQ(transfer::RecordAck(false, true), B({0xF5, 0x51, 0x01, 0xF6}));
  EXPECT_EQ(transfer::RecordAck(false, false), B({0xF5, 0x51, 0x00, 0xF6}));
  EXPECT_EQ(transfer::RecordAck(true, true), B({0xF5, 0x53, 0x01, 0xF6}));
  EXPECT_EQ(transfer::RecordAck(true, false), B({0xF5, 0x53, 0x00, 0xF6}));
}

}  // namespace
