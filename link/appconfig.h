#pragma once
// Where the program keeps its files and which addresses and ports the link
// uses. The programs build it from the running program; tests build one on
// a temporary folder and loopback addresses.
#include <cstdint>
#include <filesystem>
#include <string>

struct AppConfig {
  std::filesystem::path ProgramDir;       // QuilletInfo.ini, "Library", "help.txt"
  std::string ListenAddress = "0.0.0.0";  // where the server listens (IPv4 only)
  uint16_t TcpPort = 3000;                // the server panels connect to; 0: any free port
  int TcpBacklog = 1024;                  // connections waiting to be accepted (the kernel caps it at somaxconn)
  uint16_t BroadcastPort = 3000;          // discovery datagrams go here
  std::string BroadcastTarget = "255.255.255.255";
  uint16_t UdpListenPort = 3002;   // bound on the local address
  uint16_t UdpListenPort2 = 3001;  // bound on every local address
  std::string UdpListenAddress2 = "0.0.0.0";
  std::string LocalAddress;  // empty: found at start-up
  bool TestMode = false;     // every address must then be loopback

  // Timing of the link, in milliseconds.
  int QuietMs = 50;       // a message of no known length ends after this much quiet
  int PatienceMs = 1000;  // a known message still short is taken as it stands
  int TickMs = 100;       // the main window's timer; every tenth tick runs discovery
  int FrameGapMs = 55;    // download frames are never closer than this

  std::filesystem::path IniPath() const { return ProgramDir / "QuilletInfo.ini"; }
};

// The configuration of a real run: the program's folder and the machine's address.
AppConfig MakeProgramConfig();

// The first non-loopback IPv4 address of the machine's interfaces, else
// 127.0.0.1. (A host-name lookup gives a loopback address on Linux and may
// wait on DNS.)
std::string DetectLocalAddress();

// The local address the configuration names, or the detected one.
std::string LocalAddressOf(const AppConfig& c);
