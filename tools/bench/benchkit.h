#pragma once
// What the benchmarks share: services that answer without a user, events
// of mixed kinds made through the pages, and the clocks.
#include <QApplication>
#include <QDialog>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>
#include <sys/resource.h>
#include <unistd.h>

#include "link/appconfig.h"
#include "link/netguard.h"
#include "ui/project1.h"
#include "ui/services.h"
#include "ui/tform1.h"

namespace bench {

using Clock = std::chrono::steady_clock;

class CountingBoxes : public MessageBoxes {
 public:
  void Warning(QWidget*, const QString&, const QString& text) override {
    ++Count;
    std::fprintf(stderr, "warning: %s\n", text.toUtf8().constData());
  }
  void Notice(QWidget* parent, const QString& caption, const QString& text) override { Warning(parent, caption, text); }
  // A benchmark's changes are thrown away, and any file may be replaced.
  SaveAnswer AskSaveChanges(QWidget*, const QString&, const QString&) override { return SaveAnswer::Discard; }
  bool Confirm(QWidget*, const QString&, const QString&) override { return true; }
  int Count = 0;
};

class NoFiles : public FileDialogs {
 public:
  QString OpenFileName(QWidget*, const QString&, const QString&) override { return Next; }
  QString SaveFileName(QWidget*, const QString&, const QString&) override { return {}; }
  QString Next;
};

class NoDialogs : public DialogRunner {
 public:
  int Run(QDialog*) override { return QDialog::Rejected; }
};

// Every socket on loopback, on free ports.
inline AppConfig LoopbackConfig(const std::filesystem::path& dir) {
  AppConfig config;
  config.ProgramDir = dir;
  config.LocalAddress = "127.0.0.1";
  config.ListenAddress = "127.0.0.1";
  config.TcpPort = 0;
  config.UdpListenPort = 0;
  config.UdpListenPort2 = 0;
  config.UdpListenAddress2 = "127.0.0.1";
  config.TestMode = true;
  return config;
}

// A program on a temporary folder of its own, every socket on loopback,
// nobody to answer its boxes and dialogs; the folder goes with it.
struct Program {
  Program(const Variant& v, const std::string& name, const std::function<void(AppConfig&)>& adjust = {})
      : Dir(std::filesystem::temp_directory_path() / (name + "_" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(Dir);
    AppConfig config = LoopbackConfig(Dir);
    if (adjust) adjust(config);
    Project = std::make_unique<Project1>(v, config, Services{&Boxes, &Files, &Dialogs});
  }
  ~Program() {
    Project.reset();
    std::filesystem::remove_all(Dir);
  }
  Forms& W() { return Project->Windows(); }

  std::filesystem::path Dir;
  CountingBoxes Boxes;
  NoFiles Files;
  NoDialogs Dialogs;
  std::unique_ptr<Project1> Project;
};

// main() of a benchmark that opens sockets: offscreen, and only where
// loopback is the sole network.
template <class Run>
int MainOnLoopback(int argc, char** argv, Run run) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  if (!netguard::OnlyLoopbackInterfaces()) {
    std::fprintf(stderr, "this machine has network interfaces besides loopback: run through scripts/netns-run\n");
    return 1;
  }
  return run();
}

inline double Ms(Clock::time_point a, Clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

inline long PeakKiB() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_maxrss;
}

// Resident memory now, in KiB.
inline long ResidentKiB() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (::sysconf(_SC_PAGESIZE) / 1024);
}

// Runs the event loop until the work a handler left behind is done: posted
// events, zero timers and the window's log lines.
inline void Settle(TForm1& f) {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  while (f.LogPending()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

inline double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// User and system time of the process so far.
inline double CpuMs() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(u.ru_utime) + ms(u.ru_stime);
}

// Events of mixed kinds on the current action.
inline void AddEvents(TForm1& f, int count) {
  f.LibraryEntries().IrLib[1] = TIR{"1", "Power", "0003A1B2C3"};
  if (f.QelComboBox8->count() == 0) f.QelComboBox8->addItem("Power");
  f.QelComboBox8->setCurrentIndex(0);
  f.QelEdit3->setText("TV");
  f.QelEdit8->setText("192.168.1.20");
  f.QelEdit9->setText("4001");
  for (int i = 0; i < count; ++i) {
    switch (i % 7) {
      case 0:
        f.Memo1Bytes->SetBytes("PWR ON " + std::to_string(i));
        f.QelButton12Click();
        break;
      case 1: f.QelButton15Click(); break;
      case 2:
        f.Memo2Bytes->SetBytes("GET /" + std::to_string(i));
        f.QelButton17Click();
        break;
      case 3: f.QelButton19Click(); break;
      case 4:
        f.Memo3Bytes->SetBytes("OK");
        f.QelButton21Click();
        break;
      case 5: f.QelButton22Click(); break;
      default: f.QelButton23Click(); break;
    }
  }
}

}  // namespace bench
