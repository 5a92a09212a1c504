#include "ui_fixture.h"

#include <QUdpSocket>

#include <gtest/gtest.h>

#include "controls/qelbmpbutton.h"
#include "link/netguard.h"
#include "model/fileio.h"
#include "ui/tform1.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

TempProgramDir::TempProgramDir() {
  static std::atomic<int> counter{0};
  path_ =
      fs::temp_directory_path() / ("configurator_test_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
  fs::remove_all(path_);
  fs::create_directories(path_);
}

TempProgramDir::~TempProgramDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void TempProgramDir::Write(const std::string& name, const std::string& bytes) const {
  std::ofstream out(path_ / name, std::ios::binary);
  out << bytes;
}

std::string TempProgramDir::Read(const std::string& name) const {
  return ReadFileBytes(path_ / name).value_or(std::string{});
}

quint16 FreeUdpPort() {
  QUdpSocket s;
  s.bind(QHostAddress::LocalHost, 0);
  return s.localPort();
}

bool LinkPanelAt(TForm1& f, const QString& ip) {
  f.IPEdit1->SetIPString(ip);
  f.Reconnect1Click();
  return !f.QelBmpButton1->isEnabled();
}

AppConfig TestConfig(const fs::path& programDir) {
  AppConfig c;
  c.ProgramDir = programDir;
  c.LocalAddress = "127.0.0.1";
  c.BroadcastTarget = "127.0.0.1";
  c.ListenAddress = "127.0.0.1";
  c.TcpPort = 0;  // tests run side by side: every socket on a free port
  c.UdpListenPort = 0;
  c.UdpListenPort2 = 0;
  c.UdpListenAddress2 = "127.0.0.1";
  c.TestMode = true;
  // Tests run side by side: nobody else's simulator hears this one's broadcast,
  // and discovery runs only when a test ticks the timer.
  c.BroadcastPort = FreeUdpPort();
  c.TickMs = 0;
  return c;
}

TestProgram::~TestProgram() {
  Project.reset();
  EXPECT_EQ(netguard::RefusedCount(), 0) << "a socket was pointed outside loopback";
}

TestProgram::TestProgram(const Variant& v, const std::string& iniBytes) {
  if (!iniBytes.empty()) Dir.Write("QuilletInfo.ini", iniBytes);
  Project = std::make_unique<Project1>(v, TestConfig(Dir.Path()), Services{&Boxes, &Files, &Dialogs, &Opener});
}

TestProgram::TestProgram(const Variant& v, quint16 tcpPort) {
  AppConfig c = TestConfig(Dir.Path());
  c.TcpPort = tcpPort;
  Project = std::make_unique<Project1>(v, c, Services{&Boxes, &Files, &Dialogs, &Opener});
}
