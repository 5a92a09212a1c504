// Panels that misbehave: floods of answers, crowds connecting at once,
// connections reset before they were taken, warnings repeated from the
// wire. The configurator must stay small, responsive and truthful.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <set>

#include "fakepanel.h"
#include "link/server.h"
#include "tools/bench/floodkit.h"
#include "ui/debuglog.h"
#include "ui/tform1.h"
#include "ui_fixture.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif
#if defined(__OPTIMIZE__)
constexpr bool kOptimized = true;
#else
constexpr bool kOptimized = false;
#endif
// Times and memory figures hold only for an optimised build without the
// address sanitizer; elsewhere the roads are still walked, with less.
constexpr bool kFigures = kOptimized && !kSanitized;

// ---------------------------------------------------------------------------
// Warnings from the wire, on the real desktop boxes

struct DesktopNotices : ::testing::Test {
  ~DesktopNotices() override {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<QMessageBox*>(w)) delete w;
  }
  static std::vector<QMessageBox*> Shown(const QString& text) {
    std::vector<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible() && b->text() == text) boxes.push_back(b);
    return boxes;
  }
  MessageBoxes& Boxes = *DesktopServices().Boxes;
  const QString kLearn = QStringLiteral("IR Learn Fail!");
  const QString kLongPress = QStringLiteral("Please don't long press button");
};

TEST_F(DesktopNotices, OneBoxPerCaptionAndTextWhileItIsOpen) {
  for (int i = 0; i < 100; ++i) Boxes.Notice(nullptr, "Vantor", kLearn);
  QCoreApplication::processEvents();
  EXPECT_EQ(Shown(kLearn).size(), 1u);
  // Another text, or the same text under another caption, is another notice.
  for (int i = 0; i < 100; ++i) {
    Boxes.Notice(nullptr, "Vantor", kLongPress);
    Boxes.Notice(nullptr, "Quillet", kLearn);
  }
  EXPECT_EQ(Shown(kLongPress).size(), 1u);
  EXPECT_EQ(Shown(kLearn).size(), 2u);
}

TEST_F(DesktopNotices, AnsweredOrGoneTheTextMayShowAgain) {
  Boxes.Notice(nullptr, "Vantor", kLearn);
  ASSERT_EQ(Shown(kLearn).size(), 1u);
  Shown(kLearn)[0]->button(QMessageBox::Ok)->click();
  EXPECT_TRUE(Shown(kLearn).empty());
  // Up again before the answered box is deleted: its deletion must not
  // forget the new one.
  Boxes.Notice(nullptr, "Vantor", kLearn);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  for (int i = 0; i < 10; ++i) Boxes.Notice(nullptr, "Vantor", kLearn);
  EXPECT_EQ(Shown(kLearn).size(), 1u);

  // Unanswered, gone with the window it was over.
  auto* window = new QWidget;
  Boxes.Notice(window, "Vantor", kLongPress);
  EXPECT_EQ(Shown(kLongPress).size(), 1u);
  delete window;
  EXPECT_TRUE(Shown(kLongPress).empty());
  Boxes.Notice(nullptr, "Vantor", kLongPress);
  EXPECT_EQ(Shown(kLongPress).size(), 1u);
}

// ---------------------------------------------------------------------------
// The debug log

QString Numbered(int from, int to) {
  QStringList lines;
  for (int n = from; n < to; ++n) lines << QStringLiteral("line %1").arg(n);
  return lines.join(QLatin1Char('\n'));
}

TEST(DebugLog, KeepsTheNewestLinesWhicheverWayTheyReachTheMemo) {
  constexpr int kBound = TForm1::kLogLines;
  struct Case {
    const char* name;
    std::vector<int> batches;  // lines logged before each flush
    bool shown;
  };
  // The memo takes a few lines by appending and trimming, many by being
  // written anew with the lines it keeps.
  const Case cases[] = {
      {"a few", {10}, false},
      {"more than the bound at once", {kBound + 5000}, false},
      {"filling up in pieces", {15000, 3000, 4000}, false},
      {"full, then a few", {kBound, 500}, false},
      {"full, then many", {kBound, kBound - 1000}, false},
      {"full, then the bound again", {kBound, kBound}, false},
      {"shown, full, then many", {kBound, kBound - 1000}, true},
      {"shown, full, then a few", {kBound, 500}, true},
  };
  TestProgram P(kVantor);
  TForm1& f = *P.W().Form1;
  f.show();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.shown != f.Memo2->isVisible()) f.Debug1Click();
    f.DebugDataClear1Click();
    int n = 0;
    for (int batch : c.batches) {
      for (int i = 0; i < batch; ++i) f.Log(QStringLiteral("line %1").arg(n++));
      f.FlushLog();
    }
    const QString log = f.LogText();
    const QString expected = Numbered(std::max(0, n - kBound), n);
    EXPECT_EQ(log.count(QLatin1Char('\n')) + 1, std::min(n, kBound));
    EXPECT_EQ(log.left(12), expected.left(12));
    EXPECT_TRUE(log == expected);
    if (!c.shown) f.Debug1Click();  // the memo shows the same once shown
    EXPECT_EQ(f.Memo2->toPlainText(), log);
  }
}

TEST(DebugLog, ABurstReachesTheShownMemoWithoutBeingAskedFor) {
  TestProgram P(kVantor);
  TForm1& f = *P.W().Form1;
  f.Debug1Click();
  f.DebugDataClear1Click();
  for (int n = 0; n < 5000; ++n) f.Log(QStringLiteral("line %1").arg(n));
  f.FlushLog();
  // The next burst comes soon after: it waits its turn, but comes.
  for (int n = 5000; n < 10000; ++n) f.Log(QStringLiteral("line %1").arg(n));
  EXPECT_TRUE(QTest::qWaitFor([&] { return f.Memo2->document()->lastBlock().text() == "line 9999"; }, 2000));
  EXPECT_EQ(f.Memo2->blockCount(), 10000);
}

TEST(DebugLog, LongLinesAreKeptCutAndTheLogBoundedInBytes) {
  TestProgram P(kVantor);
  TForm1& f = *P.W().Form1;
  f.show();
  const QString mark = QStringLiteral("\u2026 (%1 characters)");
  const QString longest(DebugLog::kLineChars, QLatin1Char('x'));
  struct Case {
    QString logged, kept;
  };
  const Case cases[] = {
      {longest, longest},
      {longest + QLatin1Char('y'), longest + mark.arg(DebugLog::kLineChars + 1)},
      {QString(1 << 20, QLatin1Char('z')), QString(DebugLog::kLineChars, QLatin1Char('z')) + mark.arg(1 << 20)},
      // The memo reads CR and CR LF as LF; so does the log.
      {QStringLiteral("a\rb\r\nc"), QStringLiteral("a\nb\nc")},
  };
  for (bool shown : {false, true}) {
    if (shown != f.LogShown()) f.Debug1Click();
    for (const Case& c : cases) {
      f.DebugDataClear1Click();
      f.Log(c.logged);
      EXPECT_TRUE(f.LogText() == c.kept) << f.LogText().left(40).toStdString();
      f.FlushLog();
      if (shown) {
        EXPECT_TRUE(f.Memo2->toPlainText() == c.kept);
      }
    }
    // Lines of 3,000 characters: the oldest go once the bytes would pass the bound.
    f.DebugDataClear1Click();
    const int lines = 5000;
    for (int n = 0; n < lines; ++n) f.Log(QStringLiteral("%1 ").arg(n, 5) + QString(2994, QLatin1Char('-')));
    f.FlushLog();
    const QString log = f.LogText();
    const qsizetype kept = log.count(QLatin1Char('\n')) + 1;
    EXPECT_LE(log.size() * 2, DebugLog::kBytes);
    EXPECT_EQ(kept, DebugLog::kBytes / 6002);
    EXPECT_TRUE(log.startsWith(QStringLiteral("%1 ").arg(lines - kept, 5)));
    if (shown) {
      EXPECT_TRUE(f.Memo2->toPlainText() == log);
    }
  }
}

// Long messages are logged whole, as spaced hex and as text: the log must
// stay small and quick whether it is shown or not.
struct LongMessages : ::testing::Test {
  TestProgram P{kVantor};
  TForm1& f = *P.W().Form1;
  LongMessages() {
    f.show();
    // The window's first paint is no handler of a message.
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&f));
    QCoreApplication::processEvents();
  }
  void ShowLog(bool shown) {
    if (shown != f.LogShown()) f.Debug1Click();
  }
  // What a memo showing the log must show last.
  QString NewestLine() const { return f.LogText().section(QLatin1Char('\n'), -1); }
  // Fewer messages where each costs many times as much.
  static size_t Count(size_t n) { return kFigures ? n : n / 10; }
  void ExpectSmallAndQuick(const flood::BurstOutcome& o, size_t messages) {
    ASSERT_TRUE(o.Connected);
    EXPECT_EQ(o.Handled, messages);
    if (kFigures) {
      EXPECT_LT(o.GrewKiB, 30 * 1024);
      EXPECT_LT(o.LongestMs, 200.0);
    }
  }
  struct Showing {
    qint64 TookMs;
    double LongestMs;
    long GrewKiB;
  };
  // Shows the log after a flood, until its newest line is in view.
  Showing ShowLogAfterFlood() {
    flood::Heartbeat beat;
    const long before = flood::ResidentKiB();
    beat.Start();
    QElapsedTimer took;
    took.start();
    f.Debug1Click();
    const QString newest = NewestLine();
    const auto inView = [&] {
      QScrollBar* bar = f.Memo2->verticalScrollBar();
      return f.Memo2->document()->lastBlock().text() == newest && bar->value() == bar->maximum();
    };
    EXPECT_TRUE(QTest::qWaitFor(inView, 5000));
    EXPECT_TRUE(QTest::qWaitForWindowExposed(f.Memo2));
    return {took.elapsed(), beat.LongestMs(), flood::ResidentKiB() - before};
  }
  void ExpectLogBounded() {
    const QString log = f.LogText();
    EXPECT_LE(log.size() * 2, DebugLog::kBytes);
    EXPECT_LE(log.count(QLatin1Char('\n')) + 1, TForm1::kLogLines);
    if (f.LogShown()) {
      EXPECT_TRUE(f.Memo2->toPlainText() == log);
    }
  }
};

TEST_F(LongMessages, RelayFramesAndUnknownMessagesKeepTheProcessSmallAndQuick) {
  const size_t relays = Count(300), unknown = Count(300);
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    ShowLog(shown);
    {
      SCOPED_TRACE("65 KB relay frames");
      ExpectSmallAndQuick(flood::SendBurst(*f.IdTCPServer1, "127.0.0.2",
                                           flood::Repeated(flood::RelayFrame(65000), relays), relays, 120000),
                          relays);
      ExpectLogBounded();
    }
    {
      SCOPED_TRACE("120 KB unknown messages");
      ExpectSmallAndQuick(flood::SendEach(*f.IdTCPServer1, "127.0.0.3", flood::Unknown(120000), unknown, 120000),
                          unknown);
      ExpectLogBounded();
    }
  }
  // A long line is kept cut, saying how long it was.
  const QString logged = QStringLiteral("ID1\uFF1A ") + QString(120000, QLatin1Char('U'));
  const QString cut = logged.left(DebugLog::kLineChars) + QStringLiteral("\u2026 (%1 characters)").arg(logged.size());
  EXPECT_TRUE(f.LogText().split(QLatin1Char('\n')).contains(cut));
}

TEST_F(LongMessages, ManySmallOnesAfterLongOnesStallNothingAndShowAtOnce) {
  const size_t longOnes = Count(100), small = 4000;
  for (bool shown : {false, true}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    ShowLog(shown);
    ExpectSmallAndQuick(flood::SendEach(*f.IdTCPServer1, "127.0.0.2", flood::Unknown(120000), longOnes, 120000),
                        longOnes);
    ExpectSmallAndQuick(
        flood::SendBurst(*f.IdTCPServer1, "127.0.0.3", flood::NetAnswers(static_cast<int>(small), false), small, 60000),
        small);
    ExpectLogBounded();
    if (shown) continue;
    // Shown after the flood: its newest line in view within a second.
    const Showing showing = ShowLogAfterFlood();
    if (kFigures) {
      EXPECT_LT(showing.TookMs, 1000);
      EXPECT_LT(showing.LongestMs, 1000.0);
    }
    ExpectLogBounded();
  }
}

// Messages of CR bytes: each kept line holds thousands of line breaks, and
// the memo shows each break as a line of its own. They count toward the
// bound, so the memo never holds more lines than the bound, whether it took
// the flood shown or is shown after it.
TEST_F(LongMessages, LineBreaksInsideLinesCountTowardTheBound) {
  const size_t messages = Count(300);
  for (bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "shown" : "hidden");
    ShowLog(shown);
    f.DebugDataClear1Click();
    ExpectSmallAndQuick(flood::SendEach(*f.IdTCPServer1, "127.0.0.2", std::string(120000, '\r'), messages, 120000),
                        messages);
    ExpectLogBounded();
    if (!shown) {
      const Showing showing = ShowLogAfterFlood();
      if (kFigures) {
        EXPECT_LT(showing.GrewKiB, 30 * 1024);
        EXPECT_LT(showing.LongestMs, 200.0);
      }
      ExpectLogBounded();
    }
    EXPECT_LE(f.Memo2->blockCount(), TForm1::kLogLines);
    // The flood filled the log to its bound, not short of it.
    EXPECT_GT(f.Memo2->blockCount(), TForm1::kLogLines - 5000);
  }
}

// ---------------------------------------------------------------------------
// Floods, crowds and resets on loopback

TEST(Flood, AnswersAndAcknowledgementsLeaveTheProcessSmallAndResponsive) {
  TestProgram P(kVantor);
  TForm1& f = *P.W().Form1;
  // Fewer acknowledgements where each costs many times as much.
  const size_t ackBytes = kFigures ? 10u << 20 : 1u << 20;
  struct Case {
    const char* name;
    const char* source;
    std::string bytes;
    size_t messages;
  };
  const Case cases[] = {
      {"2,000 answers, each naming another panel", "127.0.0.2", flood::NetAnswers(2000, true), 2000},
      {"acknowledgements", "127.0.0.3", flood::Acks(ackBytes), ackBytes / 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const flood::BurstOutcome o = flood::SendBurst(*f.IdTCPServer1, c.source, c.bytes, c.messages, 60000);
    ASSERT_TRUE(o.Connected);
    EXPECT_EQ(o.Handled, c.messages);
    if (kFigures) {
      EXPECT_LT(o.GrewKiB, 30 * 1024);
      EXPECT_LT(o.LongestMs, 200.0);
    }
  }
  // A row for each answer, and the two panels' own rows, kept after their normal close.
  EXPECT_EQ(f.ListView3->Count(), 2000 + 2);
  EXPECT_EQ(f.LogText().count(QLatin1Char('\n')) + 1, TForm1::kLogLines);
}

TEST(Crowd, FourHundredPanelsConnectingAtOnceAreAllListedWithinTwoSeconds) {
  TestProgram P(kVantor);
  TForm1& f = *P.W().Form1;
  constexpr int kPanels = 400;
  flood::Crowd crowd(kPanels, f.IdTCPServer1->Port());
  ASSERT_EQ(crowd.Started(), kPanels);
  EXPECT_TRUE(QTest::qWaitFor([&] { return f.ListView3->Count() == kPanels; }, kFigures ? 2000 : 10000))
      << f.ListView3->Count() << " rows";
  std::set<QString> listed;
  for (int r = 0; r < f.ListView3->Count(); ++r) listed.insert(f.ListView3->SubItem(r, 0).section(' ', 0, 0));
  for (int i = 0; i < kPanels; ++i) EXPECT_TRUE(listed.count(QString::fromStdString(flood::CrowdAddress(i)))) << i;
}

TEST(Resets, AConnectionResetBeforeItWasTakenLeavesNoRow) {
  TestProgram P(kVantor);
  TForm1& f = *P.W().Form1;
  const quint16 port = f.IdTCPServer1->Port();
  FakePanel live("127.0.0.2", port);
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.IdTCPServer1->Count() == 1; }, 2000));
  // All six are reset before the loop runs again to take them.
  for (int i = 0; i < 6; ++i) ASSERT_TRUE(flood::ConnectAndReset("127.0.0.3", port));
  const QString gone = QStringLiteral("connection gone before it was accepted");
  EXPECT_TRUE(QTest::qWaitFor([&] { return f.LogText().count(gone) == 6; }, 2000)) << f.LogText().count(gone);
  QTest::qWait(50);
  EXPECT_EQ(f.IdTCPServer1->Count(), 1);
  ASSERT_EQ(f.ListView3->Count(), 1);
  EXPECT_TRUE(f.ListView3->SubItem(0, 0).startsWith("127.0.0.2 "));
}

}  // namespace
