// Download to and upload from the simulated panel on loopback, through the
// dialog's buttons and the main window's handlers.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <memory>
#include <utility>
#include <sys/socket.h>

#include "bytes.h"
#include "fakepanel.h"
#include "linked_fixture.h"
#include "link/server.h"
#include "model/hex.h"
#include "model/projectfile.h"
#include "panelsim_frames.h"
#include "project_fixture.h"
#include "tools/panelsim/panelsim.h"
#include "tools/panelsim/protocol.h"
#include "ui/tform7.h"
#include "ui_fixture.h"

namespace {

namespace fs = std::filesystem;
using panelsim::Faults;
using panelsim::Phase;
using panelsim::StepSel;

using transfertest::kWaitMs;
using transfertest::Linked;
using transfertest::One;
using transfertest::Until;

// The frames of a download as the layout gives them, from the model.
std::vector<std::string> ExpectedFrames(const ConfigModel& m) {
  std::vector<std::string> out{simtest::Command(0x21)};
  int addr = 0x90 + 3;
  for (int a = 1; a <= m.ActionCount; ++a) addr += 6 + 2 * m.Actions[a].EventCount;
  for (int a = 1; a <= m.ActionCount; ++a)
    for (int e = 1; e <= m.Actions[a].EventCount; ++e) {
      std::string frame = m.Actions[a].Events[e].Frame;
      frame[1] = static_cast<char>(e >> 8);
      frame[2] = static_cast<char>(e);
      out.push_back(simtest::DownloadFrame(a, m.Actions[a].Header, addr, frame));
      addr += static_cast<int>(frame.size());
    }
  out.push_back(simtest::Closing(addr));
  return out;
}

class RoundTrip : public ::testing::TestWithParam<const Variant*> {};
INSTANTIATE_TEST_SUITE_P(Builds, RoundTrip, ::testing::Values(&kVantor, &kQuillet),
                         [](const auto& info) { return info.param->Name; });

TEST_P(RoundTrip, OpenedProjectDownloadedClearedUploadedSavesTheSameBytes) {
  const Variant& v = *GetParam();
  Linked t(v, {}, 55);  // the real gap
  t.MakeProject();
  const std::string before = t.SaveAs("before");
  ASSERT_FALSE(before.empty());
  t.P.Files.NextOpen = QString::fromStdString((t.P.Dir.Path() / "before.dat").string());
  t.F1.Open1Click();
  // Sorting moves rows only: the wire carries record numbers in record order.
  t.F1.ListView1ColumnClick(2);
  const int events = t.Events();

  std::vector<qint64> writes;
  QElapsedTimer clock;
  clock.start();
  // Timed where the frames are written: when the panel reads them depends on
  // how busy the machine is.
  const QMetaObject::Connection watch = QObject::connect(t.F1.IdTCPServer1, &LinkServer::Wrote,
                                                         [&](int, qsizetype) { writes.push_back(clock.elapsed()); });

  t.D.Button1Click();
  EXPECT_EQ(t.D.Label1->text(), "Done:" + QString::number(100 / (events + 2)) + "%");
  ASSERT_TRUE(Until([&] { return t.D.Button1->text() == "Downloading"; }));
  ASSERT_TRUE(Until([&] { return t.D.Button1->text() == "Success"; }));
  EXPECT_EQ(t.D.Label1->text(), "Done:100%");
  EXPECT_EQ(t.D.ProgressBar1->maximum(), events + 2);
  EXPECT_EQ(t.D.ProgressBar1->value(), events + 2);
  EXPECT_FALSE(t.D.Timer1->isActive());
  EXPECT_TRUE(t.Sim.Problems().isEmpty()) << t.Sim.Problems().join("; ").toStdString();
  EXPECT_EQ(t.Sim.Core().CommittedDownloads(), 1);
  const std::vector<std::string> want = ExpectedFrames(*t.F1.F.Model);
  ASSERT_EQ(want.size(), static_cast<size_t>(events + 2));
  const std::vector<std::string> got = t.Record();
  ASSERT_EQ(got.size(), want.size());
  for (size_t i = 0; i < want.size(); ++i) EXPECT_EQ(got[i], BytesToSpacedHex(want[i])) << i;

  QObject::disconnect(watch);
  // Never closer than the gap (a millisecond of slack for the clocks' rounding).
  ASSERT_EQ(writes.size(), want.size());
  for (size_t i = 1; i < writes.size(); ++i) EXPECT_GE(writes[i] - writes[i - 1], 55 - 1) << i;
  const QString log = t.F1.LogText();
  EXPECT_TRUE(log.contains("download success!"));
  EXPECT_TRUE(log.contains("Download complete"));
  EXPECT_EQ(log.contains("next addr:"), v.LogsNextAddress);

  t.D.Button1Click();  // "Success" closes
  EXPECT_TRUE(t.F1.LogText().contains("form7.close!"));

  ASSERT_TRUE(t.Upload());
  EXPECT_TRUE(t.F1.LogText().contains("upload complete!!!"));
  EXPECT_EQ(t.Events(), events);
  EXPECT_FALSE(t.F1.ProjectChanged());  // an uploaded project counts as kept
  EXPECT_TRUE(t.P.Boxes.Boxes.empty()) << t.BoxTexts().join("; ").toStdString();
  EXPECT_EQ(BytesToSpacedHex(t.SaveAs("after")), BytesToSpacedHex(before));
  EXPECT_TRUE(t.Sim.Problems().isEmpty()) << t.Sim.Problems().join("; ").toStdString();
}

// What the panel does wrong during a download, and how the download ends.
struct DownloadFault {
  const char* Name;
  Faults Panel;
  bool Succeeds;
  int FramesSent;  // when it fails: frames the panel received, the clear included; 0: all
};
void PrintTo(const DownloadFault& f, std::ostream* os) { *os << f.Name; }

std::vector<DownloadFault> DownloadFaultCases() {
  Faults refuseEvent, refuseClear, refuseClosing;
  refuseEvent.RefuseEvent = 3;
  refuseClear.RefuseClear = true;
  refuseClosing.RefuseClosing = true;
  return {{"RefusedEvent", refuseEvent, false, 4},
          {"RefusedClear", refuseClear, false, 1},
          {"RefusedClosing", refuseClosing, false, 0},
          {"SplitAnswers", One(&Faults::SplitAt, Phase::Download, 3), true, 0},
          {"JoinedAnswer", One(&Faults::JoinAt, Phase::Download, 2), true, 0}};
}

class DownloadFaults : public ::testing::TestWithParam<DownloadFault> {};
INSTANTIATE_TEST_SUITE_P(Panel, DownloadFaults, ::testing::ValuesIn(DownloadFaultCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_P(DownloadFaults, EndAsExpected) {
  const DownloadFault& c = GetParam();
  Linked t(kVantor, c.Panel);
  t.MakeProject();
  const size_t all = static_cast<size_t>(t.Events() + 2);
  t.D.Button1Click();
  ASSERT_TRUE(t.WaitStopped());
  if (c.Succeeds) {
    EXPECT_EQ(t.D.Button1->text(), "Success");
    EXPECT_EQ(t.Sim.Core().CommittedDownloads(), 1);
    EXPECT_TRUE(t.P.Boxes.Boxes.empty());
    return;
  }
  EXPECT_EQ(t.D.Button1->text(), "Start");
  ASSERT_EQ(t.BoxTexts(), QStringList{"Download Fail!"});
  EXPECT_FALSE(t.P.Boxes.Boxes[0].Modal);
  EXPECT_TRUE(t.F1.LogText().contains("Ack 00"));
  EXPECT_FALSE(t.D.Timer1->isActive());
  QTest::qWait(60);  // nothing more comes
  EXPECT_EQ(t.Record().size(), c.FramesSent ? static_cast<size_t>(c.FramesSent) : all);
  if (!c.FramesSent) {
    EXPECT_EQ(t.D.Label1->text(), "Done:100%");
  }

  // The user begins again, and the panel takes it this time.
  t.Sim.SetFaults({});
  t.Sim.Core().ClearRecord();
  ASSERT_TRUE(t.Download());
  EXPECT_EQ(t.Record().size(), all);
  EXPECT_EQ(t.Sim.Core().CommittedDownloads(), 1);
}

TEST(DownloadWaits, ASilentPanelWaitsUntilCancelAndLateAnswersAreIgnored) {
  Linked t(kVantor, One(&Faults::SilentAt, Phase::Download, 3));
  t.MakeProject();
  t.D.Button1Click();
  ASSERT_TRUE(Until([&] { return t.Record().size() == 3; }));
  QTest::qWait(150);
  EXPECT_TRUE(t.D.Download.Running());
  EXPECT_EQ(t.D.Button1->text(), "Downloading");
  EXPECT_EQ(t.Record().size(), 3u);
  EXPECT_TRUE(t.P.Boxes.Boxes.empty());
  t.D.Button2Click();
  EXPECT_FALSE(t.D.Download.Running());
  EXPECT_FALSE(t.D.Timer1->isActive());
  EXPECT_TRUE(t.F1.LogText().contains("form7.close!"));

  // An answer that comes after "Cancel" changes nothing.
  t.Sim.SetFaults({});
  t.Sim.SendRaw(B({0xF5, 0x00, 0x01}));
  ASSERT_TRUE(Until([&] { return t.F1.LogText().contains("ack ignored, not the awaited step"); }));
  QTest::qWait(30);
  EXPECT_EQ(t.Record().size(), 3u);

  t.D.FormShow();
  ASSERT_TRUE(t.Download());
  EXPECT_EQ(t.Sim.Core().CommittedDownloads(), 1);
  EXPECT_TRUE(t.Sim.Problems().isEmpty()) << t.Sim.Problems().join("; ").toStdString();
}

TEST(DownloadWaits, AClosedConnectionEndsTheDownloadWithAWarning) {
  Linked t(kVantor, One(&Faults::DropAfter, Phase::Download, 3));
  t.MakeProject();
  t.D.Button1Click();
  ASSERT_TRUE(t.WaitStopped());
  EXPECT_EQ(t.D.Button1->text(), "Start");
  ASSERT_EQ(t.P.Boxes.Boxes.size(), 1u);
  EXPECT_TRUE(t.P.Boxes.Boxes[0].Text.contains("connection closed"));
  EXPECT_FALSE(t.P.Boxes.Boxes[0].Modal);
  EXPECT_EQ(t.F1.IdTCPServer1->Count(), 0);
}

TEST(DownloadStart, NothingIsSentWithoutAPanelAnEventOrRoom) {
  {
    TestProgram p(kVantor);
    AddKeyActionThroughDialog(p.W(), 1, 0);
    AddEveryKind(*p.W().Form1, 1);
    p.W().Form1->Download2Click();
    ASSERT_FALSE(p.Dialogs.Shown.empty());
    EXPECT_EQ(p.Dialogs.Shown.back(), p.W().Form7);
    p.W().Form7->Button1Click();
    ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
    EXPECT_TRUE(p.Boxes.Boxes[0].Text.startsWith("No panel is linked"));
    EXPECT_FALSE(p.W().Form7->Download.Running());
    EXPECT_EQ(p.W().Form7->Button1->text(), "Start");
  }
  Linked t(kVantor);
  AddKeyActionThroughDialog(t.P.W(), 1, 0);  // an action, but no event
  t.D.Button1Click();
  // The 16-bit addresses would wrap: 200 events of 400 bytes.
  AddKeyActionThroughDialog(t.P.W(), 2, 0);
  for (int i = 0; i < 200; ++i) {
    t.F1.Memo1Bytes->SetBytes(std::string(400, static_cast<char>('A' + i % 26)));
    t.F1.QelButton12Click();
  }
  t.D.Button1Click();
  ASSERT_EQ(t.P.Boxes.Boxes.size(), 2u);
  EXPECT_TRUE(t.P.Boxes.Boxes[0].Text.startsWith("There is no event"));
  EXPECT_TRUE(t.P.Boxes.Boxes[1].Text.contains("does not fit"));
  QTest::qWait(30);
  EXPECT_TRUE(t.Record().empty());
  EXPECT_FALSE(t.D.Download.Running());
}

// A second panel on connection 1 answers too, and SelectedLink moves to it.
TEST(TransferLinks, OnlyTheTransfersOwnConnectionCounts) {
  Linked t(kVantor);
  t.MakeProject();
  FakePanel other("127.0.0.3", t.F1.IdTCPServer1->Port());
  ASSERT_TRUE(Until([&] { return t.F1.IdTCPServer1->Count() == 2; }));
  const int events = t.Events();

  t.D.Button1Click();
  t.F1.F.Link->SelectedLink = 1;  // the rest still goes to the panel the download began on
  other.socket.write(QByteArray("\xF5\x21\x01", 3));
  other.socket.flush();
  ASSERT_TRUE(t.Download());
  EXPECT_EQ(t.Record().size(), static_cast<size_t>(events + 2));
  EXPECT_TRUE(t.F1.LogText().contains("ack ignored, not from the download's connection"));
  EXPECT_TRUE(other.received.isEmpty());

  // An upload from the panel; the other connection's records are not taken.
  t.F1.F.Link->SelectedLink = 0;
  t.F1.QelButton8Click();
  t.F1.Download1Click();
  t.F1.F.Link->SelectedLink = 1;  // acknowledgements go to the record's own connection
  std::string record = B({0xF5, 0x51, 0x01, 0x01, 0x00, 0x01, 0x09, 0x00, 0x01, 0xF6});
  record += Crc16Bytes(record);
  other.socket.write(QByteArray(record.data(), static_cast<qsizetype>(record.size())));
  other.socket.flush();
  ASSERT_TRUE(Until([&] { return !t.F1.Uploading(); }));
  EXPECT_EQ(t.Events(), events);
  QTest::qWait(30);
  EXPECT_TRUE(other.received.isEmpty());
  EXPECT_TRUE(t.F1.LogText().contains(QString::fromUtf8("ID1\xEF\xBC\x9A")));
  EXPECT_TRUE(t.P.Boxes.Boxes.empty()) << t.BoxTexts().join("; ").toStdString();
}

// Lets a timer's tick through after running `before` once.
struct BeforeTick : QObject {
  std::function<void()> before;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Timer && before) std::exchange(before, nullptr)();
    return false;
  }
};

// A panel resets its connection (SO_LINGER 0) after acknowledging four
// frames of a download, and another panel connects: a reset is a close (the
// fields keep the panel), so the next download goes nowhere until the other
// panel's row is clicked, and then to it. The reset is noticed by the read
// that finds it, or by the next frame's write when it comes just before it.
TEST(TransferLinks, AfterAResetMidDownloadTheNextPanelTakesTheDownload) {
  for (const bool atTheWrite : {false, true}) {
    SCOPED_TRACE(atTheWrite ? "met by the next frame" : "read");
    TestProgram p(kVantor);
    Forms& w = p.W();
    TForm1& f1 = *w.Form1;
    TForm7& d = *w.Form7;
    w.Config.FrameGapMs = 10;
    AddKeyActionThroughDialog(w, 1, 0);
    AddEveryKind(f1, 1);
    const quint16 port = f1.IdTCPServer1->Port();
    const auto send = [](FakePanel& panel, const std::string& bytes) {
      panel.socket.write(bytes.data(), static_cast<qint64>(bytes.size()));
      panel.socket.flush();
    };
    const auto settings = [](uint32_t ip) {
      return panelsim::NetSettingsAnswer(0x11, ip, 4001, 0xFF000000, 0x7F000001);
    };
    const auto lines = [](const FakePanel& panel) { return panel.received.count("\r\n"); };

    FakePanel reset("127.0.0.7", port);
    ASSERT_TRUE(Until([&] { return f1.IdTCPServer1->Count() == 1; }));
    send(reset, settings(0x7F000007));
    ASSERT_TRUE(Until([&] { return f1.IPEdit1->IPString() == "127.0.0.7"; }));
    const auto resetNow = [&] {
      const linger abortive{1, 0};
      ASSERT_EQ(setsockopt(static_cast<int>(reset.socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive,
                           sizeof abortive),
                0);
      reset.socket.abort();
    };
    // The timer that writes the frame after an acknowledgement.
    QTimer* frameTimer = nullptr;
    for (QTimer* t : d.findChildren<QTimer*>())
      if (t->isSingleShot()) frameTimer = t;
    ASSERT_NE(frameTimer, nullptr);
    BeforeTick tick;
    frameTimer->installEventFilter(&tick);

    d.Button1Click();
    for (int k = 0; k < 4; ++k) {  // the clear command, then three events
      ASSERT_TRUE(Until([&] { return lines(reset) > k; }));
      if (k == 3 && atTheWrite) tick.before = resetNow;
      send(reset, panelsim::TransferAck(k == 0 ? 0x21 : 0x00, true));
    }
    if (!atTheWrite) resetNow();
    ASSERT_TRUE(Until([&] { return f1.IdTCPServer1->Count() == 0 && !d.Download.Running(); }));
    EXPECT_FALSE(tick.before);
    QTest::qWait(30);
    EXPECT_EQ(d.Button1->text(), "Start");
    EXPECT_EQ(f1.IPEdit1->IPString(), "127.0.0.7");
    ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
    EXPECT_TRUE(p.Boxes.Boxes[0].Text.contains("connection closed"));

    FakePanel next("127.0.0.2", port);
    ASSERT_TRUE(Until([&] { return f1.IdTCPServer1->Count() == 1; }));
    send(next, settings(0x7F000002));
    ASSERT_TRUE(
        Until([&] { return f1.ListView3->SubItem(f1.ListView3->Count() - 1, 0).startsWith("127.0.0.2 255."); }));
    p.Boxes.Boxes.clear();
    d.Button1Click();
    QTest::qWait(30);
    EXPECT_EQ(lines(next), 0);
    EXPECT_FALSE(d.Download.Running());
    ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
    EXPECT_TRUE(p.Boxes.Boxes[0].Text.startsWith("The panel shown is not linked"));
    p.Boxes.Boxes.clear();
    for (int r = 0; r < f1.ListView3->Count(); ++r)
      if (f1.ListView3->SubItem(r, 0) == "127.0.0.2 255.0.0.0 127.0.0.1 4001") f1.ListView3->Select(r);
    f1.ListView3Click();
    d.Button1Click();
    ASSERT_TRUE(Until([&] { return lines(next) >= 1; }, 2000))
        << (p.Boxes.Boxes.empty() ? std::string() : p.Boxes.Boxes[0].Text.toStdString());
    EXPECT_EQ(BytesToSpacedHex(next.Received().substr(0, 5)), "F1 21 F2 0D 0A ");
    EXPECT_TRUE(d.Download.Running());
    EXPECT_TRUE(p.Boxes.Boxes.empty());
  }
}

TEST(UploadStart, WithoutAPanelTheModelStays) {
  TestProgram p(kVantor);
  AddKeyActionThroughDialog(p.W(), 1, 0);
  AddEveryKind(*p.W().Form1, 1);
  const int events = p.W().Model->Actions[1].EventCount;
  p.W().Form1->Download1Click();
  ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
  EXPECT_TRUE(p.Boxes.Boxes[0].Text.startsWith("No panel is linked"));
  EXPECT_EQ(p.W().Model->ActionCount, 1);
  EXPECT_EQ(p.W().Model->Actions[1].EventCount, events);
  EXPECT_FALSE(p.W().Form1->Uploading());
}

// What the panel does wrong during an upload, after a sound download.
struct UploadFault {
  const char* Name;
  Faults Panel;
  const char* Refusal;  // the record acknowledgement that must appear, or null
};
void PrintTo(const UploadFault& f, std::ostream* os) { *os << f.Name; }

std::vector<UploadFault> UploadFaultCases() {
  return {{"CorruptActionCrc", One(&Faults::CorruptCrcAt, Phase::Upload, 1), "F5 51 00 F6 0D 0A "},
          {"CorruptEventCrc", One(&Faults::CorruptCrcAt, Phase::Upload, 3), "F5 53 00 F6 0D 0A "},
          {"LyingLength", One(&Faults::LieAt, Phase::Upload, 2), "F5 53 00 F6 0D 0A "},
          {"SplitRecords", One(&Faults::SplitAt, Phase::Upload, 2), nullptr},
          // The action record and its first event in one write.
          {"JoinedRecords", One(&Faults::JoinAt, Phase::Upload, 1), nullptr}};
}

class UploadFaults : public ::testing::TestWithParam<UploadFault> {};
INSTANTIATE_TEST_SUITE_P(Panel, UploadFaults, ::testing::ValuesIn(UploadFaultCases()),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_P(UploadFaults, EndWithTheModelComplete) {
  const UploadFault& c = GetParam();
  Linked t(kVantor);
  t.MakeProject();
  const std::string before = t.SaveAs("before");
  ASSERT_TRUE(t.Download());
  t.Sim.SetFaults(c.Panel);
  t.Sim.Core().ClearRecord();
  ASSERT_TRUE(t.Upload());
  const std::vector<std::string> acks = t.Record();
  const bool refused = std::find(acks.begin(), acks.end(), c.Refusal ? c.Refusal : "") != acks.end();
  EXPECT_EQ(refused, c.Refusal != nullptr);
  EXPECT_EQ(BytesToSpacedHex(t.SaveAs("after")), BytesToSpacedHex(before));
  EXPECT_TRUE(t.P.Boxes.Boxes.empty()) << t.BoxTexts().join("; ").toStdString();
  EXPECT_TRUE(t.Sim.Problems().isEmpty()) << t.Sim.Problems().join("; ").toStdString();
}

TEST(UploadEnds, AClosedConnectionKeepsWhatArrived) {
  Linked t(kVantor);
  t.MakeProject();
  ASSERT_TRUE(t.Download());
  t.Sim.SetFaults(One(&Faults::DropAfter, Phase::Upload, 4));  // the action and three of its events
  ASSERT_TRUE(t.Upload());
  EXPECT_FALSE(t.F1.LogText().contains("upload complete!!!"));
  ASSERT_EQ(t.P.Boxes.Boxes.size(), 1u);
  EXPECT_TRUE(t.P.Boxes.Boxes[0].Text.contains("upload is incomplete"));
  EXPECT_FALSE(t.P.Boxes.Boxes[0].Modal);
  EXPECT_EQ(t.F1.F.Model->ActionCount, 1);
  EXPECT_EQ(t.Events(), 3);
}

TEST(UploadEnds, EventsPastWhatAnActionHoldsAreDroppedWithOneWarning) {
  Linked t(kQuillet);
  panelsim::StoredAction a{1, B({1 * 32 + 4 + 1}), {}};
  for (int e = 1; e <= kMaxEvents + 2; ++e) a.Events.push_back(simtest::EventFrame(e, 4, B({1, 2, e % 60})));
  t.Sim.Core().SetStored({a});
  ASSERT_TRUE(t.Upload());
  EXPECT_TRUE(t.F1.LogText().contains("upload complete!!!"));
  EXPECT_EQ(t.F1.F.Model->ActionCount, 1);
  EXPECT_EQ(t.Events(), kMaxEvents);
  ASSERT_EQ(t.P.Boxes.Boxes.size(), 1u) << t.BoxTexts().join("; ").toStdString();
  EXPECT_TRUE(t.P.Boxes.Boxes[0].Text.contains("2 events were not taken"));
  // Every record was acknowledged as taken.
  EXPECT_TRUE(Until([&] { return t.Sim.Core().UploadFinished(); }));
}

TEST(UploadEnds, OpenEndsTheUploadAndLaterRecordsAreNotTaken) {
  Linked t(kVantor);
  t.MakeProject();
  ASSERT_TRUE(t.Download());
  t.Sim.SetFaults(One(&Faults::SilentAt, Phase::Upload, 2));
  t.F1.QelButton8Click();
  t.F1.Download1Click();
  ASSERT_TRUE(Until([&] {
    const auto r = t.Record();
    return std::find(r.begin(), r.end(), "F5 51 01 F6 0D 0A ") != r.end();
  }));
  const std::string saved = t.SaveAs("one");
  t.P.Files.NextOpen = QString::fromStdString((t.P.Dir.Path() / "one.dat").string());
  t.F1.Open1Click();
  EXPECT_FALSE(t.F1.Uploading());
  // A record now is logged, not decoded, and not answered.
  t.Sim.Core().ClearRecord();
  t.Sim.SendRaw(panelsim::ActionRecord(2, 2, 1, B({3, 1, 1})));
  ASSERT_TRUE(Until([&] { return t.F1.LogText().contains(QString::fromUtf8("ID1\xEF\xBC\x9A")); }));
  QTest::qWait(30);
  EXPECT_EQ(t.F1.F.Model->ActionCount, 1);
  EXPECT_TRUE(t.Record().empty()) << t.Record()[0];
}

TEST(UploadEnds, AnEventBeforeAnyActionIsAnsweredAndSkipped) {
  Linked t(kVantor);
  t.F1.Download1Click();  // the panel has nothing stored and sends nothing
  t.Sim.SendRaw(panelsim::EventRecord(simtest::EventFrame(1, 4, B({1, 2, 3}))));
  ASSERT_TRUE(Until([&] {
    const auto r = t.Record();
    return std::find(r.begin(), r.end(), "F5 53 01 F6 0D 0A ") != r.end();
  }));
  EXPECT_EQ(t.F1.F.Model->ActionCount, 0);
  EXPECT_TRUE(t.P.Boxes.Boxes.empty()) << t.BoxTexts().join("; ").toStdString();
  EXPECT_TRUE(t.F1.LogText().contains("event 1 skipped"));
}

}  // namespace
