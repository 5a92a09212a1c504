// A panel that floods the configurator: thousands of network-settings
// answers, megabytes of acknowledgements, then long messages, written as
// fast as loopback takes them. Prints for each burst how long it took to
// handle, how much the process grew and the longest the window's event loop
// was held up, with the debug log hidden and shown, and how soon the log
// shown after a flood shows its newest line; then how long 400 panels
// connecting at once take to be listed. Opens sockets: run it through scripts/netns-run.
#include <QScrollBar>
#include <QTextBlock>
#include <cstdio>

#include "link/server.h"
#include "tools/bench/benchkit.h"
#include "tools/bench/floodkit.h"
#include "ui/project1.h"
#include "ui/tform1.h"

namespace {

using namespace bench;

constexpr int kAnswers = 2000;
constexpr size_t kAckBytes = 10u << 20;
constexpr int kLimitMs = 120 * 1000;

struct Burst {
  const char* Name;
  std::string Bytes;
  size_t Messages;
  bool Paced = false;  // Bytes is one message, sent Messages times, each after the one before was delivered
};

bool RunBurst(TForm1& f, const Burst& b, const char* source) {
  const flood::BurstOutcome o = b.Paced ? flood::SendEach(*f.IdTCPServer1, source, b.Bytes, b.Messages, kLimitMs)
                                        : flood::SendBurst(*f.IdTCPServer1, source, b.Bytes, b.Messages, kLimitMs);
  if (!o.Connected) {
    std::printf("  %-34s the panel did not connect\n", b.Name);
    return false;
  }
  const bool all = o.Handled >= b.Messages;
  std::printf("  %-34s %8zu of %8zu messages in %8.1f ms, grew %+7ld KiB, longest stall %7.1f ms%s\n", b.Name,
              o.Handled, b.Messages, o.TookMs, o.GrewKiB, o.LongestMs, all ? "" : "  INCOMPLETE");
  return all;
}

// The log shown after a flood: how long until its newest line is in view.
bool ShowLogAfterFlood(TForm1& f) {
  const QString newest = f.LogText().section(QLatin1Char('\n'), -1);
  flood::Heartbeat beat;
  beat.Start();
  const auto t0 = Clock::now();
  f.Debug1Click();
  const bool shown = flood::RunUntil(
      [&] {
        QScrollBar* bar = f.Memo2->verticalScrollBar();
        return f.Memo2->document()->lastBlock().text() == newest && bar->value() == bar->maximum();
      },
      10000);
  std::printf("  %-34s newest line in view after %.1f ms, longest stall %.1f ms%s\n", "log shown after the flood",
              Ms(t0, Clock::now()), beat.LongestMs(), shown ? "" : "  NOT SHOWN");
  return shown;
}

// Panels that answer one broadcast connect within the same moment.
bool RunCrowd(TForm1& f, int count) {
  f.QelButton7Click();
  const auto t0 = Clock::now();
  flood::Crowd crowd(count, f.IdTCPServer1->Port());
  const bool all = flood::RunUntil([&] { return f.ListView3->Count() >= count; }, 10000);
  const auto t1 = Clock::now();
  std::printf("  %d panels connecting at once: %d started, %d in the device list after %.1f ms%s\n", count,
              crowd.Started(), f.ListView3->Count(), Ms(t0, t1), all ? "" : "  INCOMPLETE");
  return all;
}

int Run(const Variant& v) {
  Program p(v, "bench_flood", [](AppConfig& c) {
    c.BroadcastTarget = "127.0.0.1";
    c.TickMs = 0;  // no discovery questions in between
  });
  TForm1& f = *p.W().Form1;
  f.show();

  const Burst bursts[] = {
      {"2,000 answers, each another panel", flood::NetAnswers(kAnswers, true), size_t{kAnswers}},
      {"2,000 answers, all the same panel", flood::NetAnswers(kAnswers, false), size_t{kAnswers}},
      {"10 MB of acknowledgements", flood::Acks(kAckBytes), kAckBytes / 3},
  };
  std::printf("%s, resident at start %ld KiB\n", v.Name.c_str(), flood::ResidentKiB());
  bool ok = true;
  const char* sources[] = {"127.0.0.2", "127.0.0.3", "127.0.0.4"};
  // Long messages, logged whole: relays, unknown ones, and unknown ones
  // followed by many small ones.
  const Burst longOnes[] = {
      {"300 relay frames of 65 KB", flood::Repeated(flood::RelayFrame(65000), 300), 300},
      {"300 unknown messages of 120 KB", flood::Unknown(120000), 300, true},
      {"100 unknown messages of 120 KB", flood::Unknown(120000), 100, true},
      {"then 4,000 small answers", flood::NetAnswers(4000, false), 4000},
  };
  for (bool shown : {false, true}) {
    if (shown != f.LogShown()) f.Debug1Click();
    std::printf(" debug log %s:\n", shown ? "shown" : "hidden");
    for (size_t i = 0; i < std::size(bursts); ++i) {
      f.QelButton7Click();  // an empty device list for each burst
      ok = RunBurst(f, bursts[i], sources[i]) && ok;
    }
    for (size_t i = 0; i < std::size(longOnes); ++i) {
      f.QelButton7Click();
      ok = RunBurst(f, longOnes[i], sources[i % std::size(sources)]) && ok;
    }
    if (!shown) ok = ShowLogAfterFlood(f) && ok;
  }
  std::printf(" link:\n");
  ok = RunCrowd(f, 400) && ok;
  std::printf("  log lines kept: %lld, peak memory %ld KiB\n",
              static_cast<long long>(f.LogText().count(QLatin1Char('\n')) + 1), PeakKiB());
  return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return MainOnLoopback(argc, argv, [] { return Run(kVantor); });
}
