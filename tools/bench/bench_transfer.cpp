// Downloads a configuration of about 1,000 events to a simulated panel and
// uploads it back, on loopback, and prints the times against the floor the
// frame gap sets, the CPU time used, and peak memory. The panel runs on a
// thread of its own, so what it sees does not wait on the window's work.
// Opens sockets: run it through scripts/netns-run.
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QMutex>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "link/netguard.h"
#include "link/server.h"
#include "model/projectfile.h"
#include "tools/bench/benchkit.h"
#include "tools/panelsim/panelsim.h"
#include "ui/project1.h"
#include "ui/tform1.h"
#include "ui/tform2.h"
#include "ui/tform7.h"

namespace {

using namespace bench;

constexpr int kActions = 2;
constexpr int kEventsEach = 500;
constexpr int kIdleMs = 3000;

// Runs the event loop until the condition holds after a panel message, or
// the time is up. No polling: the loop sleeps between messages.
template <class Pred>
bool Until(LinkServer* server, Pred done, int ms) {
  if (done()) return true;
  QEventLoop loop;
  const auto c = QObject::connect(server, &LinkServer::Message, &loop, [&] {
    if (done()) loop.quit();
  });
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
  QObject::disconnect(c);
  return done();
}

void Idle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// One clock for both threads.
qint64 NowNs() { return std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch()).count(); }

// A download frame (lead F1) or its acknowledgement (lead F5): commands 21, 00 and 1F.
bool IsTransfer(const QByteArray& b, uint8_t lead) {
  return b.size() >= 2 && uint8_t(b[0]) == lead && (b[1] == 0x21 || b[1] == 0x00 || b[1] == 0x1F);
}

// The gaps between consecutive download frames as the window wrote them.
// A gap follows a late acknowledgement when the panel wrote its answer to
// the frame so late that the window, which waits 5 ms after an answer, could
// no longer keep the frame gap: such a gap measures the panel, and is kept
// apart. Of those, only the window's own part (from the answer to the next
// frame) is the window's.
struct Gaps {
  std::vector<double> All;      // ms, every gap
  double Longest = 0;           // ms, the longest gap after an answer in time
  int Late = 0;                 // gaps after a late answer
  double LongestAfterLate = 0;  // ms, the longest time from a late answer to the next frame
};

Gaps MeasureGaps(const std::vector<qint64>& writes, const std::vector<qint64>& acks, int frameGapMs) {
  constexpr double kAfterAckMs = 5;
  Gaps g;
  for (size_t i = 1; i < writes.size(); ++i) {
    const double gap = (writes[i] - writes[i - 1]) / 1e6;
    g.All.push_back(gap);
    const bool answered = i - 1 < acks.size();
    const double answerMs = answered ? (acks[i - 1] - writes[i - 1]) / 1e6 : 0;
    if (answered && answerMs + kAfterAckMs > frameGapMs) {
      ++g.Late;
      g.LongestAfterLate = std::max(g.LongestAfterLate, (writes[i] - acks[i - 1]) / 1e6);
    } else {
      g.Longest = std::max(g.Longest, gap);
    }
  }
  return g;
}

// The simulated panel on its own thread and event loop.
class PanelThread {
 public:
  PanelThread(const panelsim::PanelSettings& panel, const panelsim::LinkSettings& link) {
    thread_.start();
    context_.moveToThread(&thread_);
    In([&] {
      sim_ = std::make_unique<panelsim::PanelSim>(panel, link);
      QObject::connect(sim_.get(), &panelsim::PanelSim::FrameArrived, [this](const QByteArray& b) {
        // Download frames only: discovery asks its question meanwhile.
        if (!IsTransfer(b, 0xF1)) return;
        QMutexLocker lock(&mutex_);
        arrivals_.push_back(clock_.nsecsElapsed());
      });
      QObject::connect(sim_.get(), &panelsim::PanelSim::Wrote, [this](const QByteArray& b) {
        if (!IsTransfer(b, 0xF5)) return;
        QMutexLocker lock(&mutex_);
        acks_.push_back(NowNs());
      });
      clock_.start();
      sim_->ConnectTo(QHostAddress(QStringLiteral("127.0.0.1")));
    });
  }
  ~PanelThread() {
    In([&] { sim_.reset(); });
    thread_.quit();
    thread_.wait();
  }
  // Runs f on the panel's thread and waits for it.
  template <class F>
  void In(F f) {
    QMetaObject::invokeMethod(&context_, f, Qt::BlockingQueuedConnection);
  }
  panelsim::PanelSim& Sim() { return *sim_; }
  // The shortest time between two transfer frames reaching the panel, in ms.
  double Closest() {
    QMutexLocker lock(&mutex_);
    double c = 1e9;
    for (size_t i = 1; i < arrivals_.size(); ++i) c = std::min(c, (arrivals_[i] - arrivals_[i - 1]) / 1e6);
    return c;
  }
  void ClearArrivals() {
    QMutexLocker lock(&mutex_);
    arrivals_.clear();
    acks_.clear();
  }
  // When the panel wrote each acknowledgement of a download frame, in order.
  std::vector<qint64> Acks() {
    QMutexLocker lock(&mutex_);
    return acks_;
  }

 private:
  QThread thread_;
  QObject context_;
  std::unique_ptr<panelsim::PanelSim> sim_;
  QMutex mutex_;
  QElapsedTimer clock_;
  std::vector<qint64> arrivals_;
  std::vector<qint64> acks_;
};

// CPU time of the calling thread alone.
double ThreadCpuMs() {
  rusage u{};
  getrusage(RUSAGE_THREAD, &u);
  return u.ru_utime.tv_sec * 1000.0 + u.ru_utime.tv_usec / 1000.0 + u.ru_stime.tv_sec * 1000.0 +
         u.ru_stime.tv_usec / 1000.0;
}

quint16 FreeUdpPort() {
  QUdpSocket s;
  s.bind(QHostAddress::LocalHost, 0);
  return s.localPort();
}

int Run(const Variant& v) {
  Program program(v, "bench_transfer", [](AppConfig& c) {
    c.BroadcastTarget = "127.0.0.1";
    c.BroadcastPort = FreeUdpPort();  // nobody hears the discovery datagram
  });
  Forms& w = program.W();
  const AppConfig& config = w.Config;
  TForm1& f = *w.Form1;
  TForm7& d = *w.Form7;
  f.show();

  panelsim::PanelSettings panel;
  panel.Model = &v;
  panelsim::LinkSettings link;
  link.ConfiguratorPort = f.IdTCPServer1->Port();
  link.ListenAddress = QHostAddress();
  link.SourcePort = 0;
  PanelThread panelThread(panel, link);
  // Linked as a user sees it: the join check asks, the panel's answer fills
  // the panel fields and the lamp lights.
  QElapsedTimer wait;
  wait.start();
  while (!f.ShownPanelLinked() && wait.elapsed() < 5000)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  if (!f.ShownPanelLinked()) {
    std::fprintf(stderr, "the simulated panel did not connect and answer\n");
    return 1;
  }

  for (int a = 0; a < kActions; ++a) {
    f.F.Model->CurrentKey = a + 1;
    w.Form2->ComboBox1->setCurrentIndex(0);
    w.Form2->Button1Click();
    AddEvents(f, kEventsEach);
  }
  const int events = transfer::EventTotal(*f.F.Model);
  const std::string before = BuildSaveAsFile(v, *f.F.Model);

  panelThread.ClearArrivals();
  // The gaps as the window writes them, so the panel thread's wake-ups do
  // not count.
  std::vector<qint64> writes;
  int lastStep = 0;
  const auto wrote = QObject::connect(f.IdTCPServer1, &LinkServer::Wrote, f.IdTCPServer1, [&](int, qsizetype) {
    // A download frame moves the step on; discovery's questions do not.
    if (d.Download.StepCounter() == lastStep) return;
    lastStep = d.Download.StepCounter();
    writes.push_back(NowNs());
  });
  d.show();
  const double cpu0 = CpuMs(), gui0 = ThreadCpuMs();
  const auto t0 = Clock::now();
  d.Button1Click();
  const bool downloaded = Until(
                              f.IdTCPServer1, [&] { return !d.Download.Running(); }, 10 * 60 * 1000) &&
                          d.Button1->text() == "Success";
  const auto t1 = Clock::now();
  const double cpu1 = CpuMs(), gui1 = ThreadCpuMs();
  const double closest = panelThread.Closest();
  QObject::disconnect(wrote);
  const Gaps gaps = MeasureGaps(writes, panelThread.Acks(), config.FrameGapMs);
  const double sentClosest = gaps.All.empty() ? 0 : *std::min_element(gaps.All.begin(), gaps.All.end());

  // A silent panel: the download waits and the process should sleep.
  panelsim::Faults silent;
  silent.SilentAt = panelsim::StepSel::At(panelsim::Phase::Download, 3);
  panelThread.In([&] { panelThread.Sim().SetFaults(silent); });
  d.FormShow();
  d.Button1Click();
  Idle(200);
  const double cpu2 = CpuMs();
  Idle(kIdleMs);
  const double cpu3 = CpuMs();
  d.Button2Click();
  panelThread.In([&] { panelThread.Sim().SetFaults({}); });

  f.QelButton8Click();
  const double cpu4 = CpuMs();
  const auto t4 = Clock::now();
  f.Download1Click();
  const bool uploaded = Until(
      f.IdTCPServer1, [&] { return !f.Uploading(); }, 10 * 60 * 1000);
  const auto t5 = Clock::now();
  const double cpu5 = CpuMs();
  const bool same = BuildSaveAsFile(v, *f.F.Model) == before;

  const int frames = events + 2;
  const double floor = frames * static_cast<double>(config.FrameGapMs);
  const double took = Ms(t0, t1);
  std::printf("%s: %d actions, %d events, %d frames, gap %d ms\n", v.Name.c_str(), kActions, events, frames,
              config.FrameGapMs);
  std::printf("  download:   %9.1f ms  floor %d x %d = %.0f ms (%+.2f%%), closest frames %.2f ms apart%s\n", took,
              frames, config.FrameGapMs, floor, 100.0 * (took - floor) / floor, closest, downloaded ? "" : "  FAILED");
  std::printf("              written %zu times, gaps at the window: closest %.2f ms, median %.2f ms, longest %.2f ms\n",
              writes.size(), sentClosest, Median(gaps.All), gaps.Longest);
  std::printf("              %d gaps after a late acknowledgement, the next frame at most %.2f ms after it\n",
              gaps.Late, gaps.LongestAfterLate);
  std::printf("              CPU %7.1f ms (%.2f%% of the time), of which the window's thread %.1f ms\n", cpu1 - cpu0,
              100.0 * (cpu1 - cpu0) / took, gui1 - gui0);
  std::printf("  waiting on a silent panel for %d ms: CPU %.1f ms\n", kIdleMs, cpu3 - cpu2);
  std::printf("  upload:     %9.1f ms  CPU %.1f ms, %s%s\n", Ms(t4, t5), cpu5 - cpu4,
              same ? "\"Save as\" bytes as before" : "\"Save as\" bytes DIFFER", uploaded ? "" : "  FAILED");
  std::printf("  peak memory so far: %ld KiB\n", PeakKiB());
  std::printf("RESULT bench_transfer variant=%s download_ratio=%.4f upload_ms=%.0f idle_cpu_pct=%.2f max_gap_ms=%.1f\n",
              v.Name.c_str(), took / floor, Ms(t4, t5), 100.0 * (cpu3 - cpu2) / kIdleMs, gaps.Longest);
  QStringList problems;
  panelThread.In([&] { problems = panelThread.Sim().Problems(); });
  for (const QString& p : problems) std::printf("  panel: %s\n", p.toUtf8().constData());
  return downloaded && uploaded && same && program.Boxes.Count == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return MainOnLoopback(argc, argv, [] { return Run(kVantor) | Run(kQuillet); });
}
