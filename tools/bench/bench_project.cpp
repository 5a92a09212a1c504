// Builds the largest project the key dialogs allow (every key with every
// kind, 500 events each), saves it and opens it again through the window's
// own road, offscreen, and prints the times and the peak memory.
#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include <vector>

#include "tools/bench/benchkit.h"
#include "ui/project1.h"
#include "ui/tform1.h"
#include "ui/tform12.h"
#include "ui/tform2.h"

namespace {

namespace fs = std::filesystem;
using namespace bench;

int Run(const Variant& v) {
  Program p(v, "bench_project");
  Forms& w = p.W();
  TForm1& f = *w.Form1;
  f.show();

  const auto t0 = Clock::now();
  const int keys = v.HasKey10Dialog ? 9 : v.KeyCount;
  for (int key = 1; key <= keys; ++key)
    for (int kind = 0; kind < 3; ++kind) {
      f.F.Model->CurrentKey = key;
      w.Form2->ComboBox1->setCurrentIndex(kind);
      w.Form2->Button1Click();
      AddEvents(f, kMaxEvents);
    }
  if (v.HasKey10Dialog)
    for (int kind = 0; kind < 2; ++kind) {
      f.F.Model->CurrentKey = 10;
      w.Form12->QelComboBox1->setCurrentIndex(kind);
      w.Form12->QelButton1Click();
      AddEvents(f, kMaxEvents);
    }
  const auto t1 = Clock::now();
  int events = 0;
  for (int a = 1; a <= f.F.Model->ActionCount; ++a) events += f.F.Model->Actions[a].EventCount;

  // Ten saves and opens, each timed until the event loop has done the work
  // the handler left behind.
  constexpr int kRounds = 10;
  std::vector<double> saves, opens;
  fs::path saved;
  uintmax_t size = 0;
  int reopened = 0;
  for (int round = 0; round < kRounds; ++round) {
    const auto t2 = Clock::now();
    f.Save1Click();
    Settle(f);
    saves.push_back(Ms(t2, Clock::now()));
    if (round == 0) {
      for (const auto& e : fs::directory_iterator(p.Dir / "Library" / "File")) saved = e.path();
      size = fs::file_size(saved);
      p.Files.Next = QString::fromStdString(saved.string());
    }
    const auto t3 = Clock::now();
    f.Open1Click();
    Settle(f);
    opens.push_back(Ms(t3, Clock::now()));
    reopened = 0;
    for (int a = 1; a <= f.F.Model->ActionCount; ++a) reopened += f.F.Model->Actions[a].EventCount;
  }
  const long rss = ResidentKiB();

  std::printf("%s: %d actions, %d events, file %ju bytes\n", v.Name.c_str(), f.F.Model->ActionCount, events,
              static_cast<uintmax_t>(size));
  std::printf("  build through the pages: %8.1f ms\n", Ms(t0, t1));
  std::printf("  save (median of %d):     %8.1f ms\n", kRounds, Median(saves));
  std::printf("  open (median of %d):     %8.1f ms  (%d events back)\n", kRounds, Median(opens), reopened);
  std::printf("  resident after %d opens: %8ld KiB, peak %ld KiB\n", kRounds, rss, PeakKiB());
  std::printf("RESULT bench_project variant=%s open_ms=%.0f save_ms=%.0f rss_kb_after_10_opens=%ld\n", v.Name.c_str(),
              Median(opens), Median(saves), rss);
  return reopened == events && p.Boxes.Count == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  return Run(kVantor) | Run(kQuillet);
}
