#pragma once
// What the flood benchmark and the flood tests share: many panels that
// connect at once, panels that reset at once, a panel that writes a burst
// from a thread of its own, the bursts, the process's resident memory and
// the longest time the event loop was held up.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <functional>
#include <netinet/in.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "link/server.h"

namespace flood {

// Resident memory of this process, in KiB.
inline long ResidentKiB() {
  long pages = 0, resident = 0;
  if (FILE* f = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(f);
  }
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// A timer due every 10 ms on the GUI thread: the longest gap between its
// ticks is the longest any handler (or anything else) held the loop.
class Heartbeat {
 public:
  Heartbeat() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed();
      if (now - last_ > longest_) longest_ = now - last_;
      last_ = now;
    });
  }
  void Start() {
    clock_.start();
    last_ = 0;
    longest_ = 0;
    timer_.start();
  }
  double LongestMs() const { return longest_ / 1e6; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = 0, longest_ = 0;
};

// A TCP socket bound to a loopback source address and connecting to the
// server on 127.0.0.1; non-blocking ones return while the handshake runs.
// -1 when it could not be made.
inline int ConnectFrom(const std::string& source, quint16 serverPort, bool blocking) {
  const int fd = socket(AF_INET, SOCK_STREAM | (blocking ? 0 : SOCK_NONBLOCK), 0);
  if (fd < 0) return -1;
  sockaddr_in from{}, to{};
  from.sin_family = to.sin_family = AF_INET;
  inet_pton(AF_INET, source.c_str(), &from.sin_addr);
  inet_pton(AF_INET, "127.0.0.1", &to.sin_addr);
  to.sin_port = htons(serverPort);
  const int one = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (bind(fd, reinterpret_cast<sockaddr*>(&from), sizeof from) != 0 ||
      (connect(fd, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0 && (blocking || errno != EINPROGRESS))) {
    close(fd);
    return -1;
  }
  return fd;
}

// The n-th of many panels' addresses: 127.0.1.2, 127.0.1.3 ... 250 to a block.
inline std::string CrowdAddress(int n) {
  return "127.0." + std::to_string(1 + n / 250) + "." + std::to_string(2 + n % 250);
}

// Panels that all connect at the same moment, each from its own address;
// closed together at the end.
class Crowd {
 public:
  Crowd(int count, quint16 serverPort) {
    // Two descriptors a panel: its own and the server's.
    rlimit r{};
    getrlimit(RLIMIT_NOFILE, &r);
    const rlim_t want = static_cast<rlim_t>(2 * count + 256);
    if (r.rlim_cur < want) {
      r.rlim_cur = std::min(want, r.rlim_max);
      setrlimit(RLIMIT_NOFILE, &r);
    }
    for (int i = 0; i < count; ++i) {
      const int fd = ConnectFrom(CrowdAddress(i), serverPort, false);
      if (fd >= 0) fds_.push_back(fd);
    }
  }
  ~Crowd() {
    for (int fd : fds_) close(fd);
  }
  int Started() const { return static_cast<int>(fds_.size()); }

 private:
  std::vector<int> fds_;
};

// A panel that connects and resets the connection at once (RST, no FIN),
// before the server has taken it. False when it could not connect.
inline bool ConnectAndReset(const std::string& source, quint16 serverPort) {
  const int fd = ConnectFrom(source, serverPort, true);
  if (fd < 0) return false;
  const linger reset{1, 0};
  setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
  close(fd);
  return true;
}

// A panel's end of a connection from a loopback source address: a blocking
// socket on its own thread writes the messages at once, as a panel would,
// or, given a count of delivered messages, each once the one before was
// delivered (a message of no known length ends only with quiet); it holds
// the connection until Close.
class BurstPanel {
 public:
  BurstPanel(const std::string& source, quint16 serverPort, std::vector<std::string> messages)
      : messages_(std::move(messages)), fd_(ConnectFrom(source, serverPort, true)) {}
  ~BurstPanel() { Close(); }
  bool Connected() const { return fd_ >= 0; }
  void Send(const std::atomic<size_t>* delivered = nullptr) {
    writer_ = std::thread([this, delivered] {
      for (size_t i = 0; i < messages_.size() && !stop_; ++i) {
        while (delivered && *delivered < i && !stop_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        const std::string& m = messages_[i];
        for (size_t at = 0; at < m.size() && !stop_;) {
          const ssize_t n = send(fd_, m.data() + at, m.size() - at, MSG_NOSIGNAL);
          if (n <= 0) return;
          at += static_cast<size_t>(n);
        }
      }
    });
  }
  void Close() {
    stop_ = true;
    if (fd_ >= 0) shutdown(fd_, SHUT_RDWR);
    if (writer_.joinable()) writer_.join();
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }

 private:
  std::vector<std::string> messages_;
  int fd_ = -1;
  std::atomic<bool> stop_{false};
  std::thread writer_;
};

// Network-settings answers (F5 11, 32 bytes), each naming another panel
// when `distinct`, else all the same one.
inline std::string NetAnswers(int count, bool distinct) {
  std::string out;
  char fields[29];
  for (int i = 0; i < count; ++i) {
    const unsigned n = distinct ? static_cast<unsigned>(i) : 0u;
    // 10.0.x.y:4001, mask 255.0.0.0, gateway 10.0.0.1.
    std::snprintf(fields, sizeof fields, "0A00%02X%02X0FA1FF0000000A000001", (n >> 8) & 0xFF, n & 0xFF);
    out += "\xF5\x11";
    out += "00";
    out += fields;
  }
  return out;
}

// Download acknowledgements (F5 21 01), `bytes` of them.
inline std::string Acks(size_t bytes) {
  std::string out;
  out.reserve(bytes);
  while (out.size() + 3 <= bytes) out += "\xF5\x21\x01";
  return out;
}

// A relay request of about `bytes` bytes to an address with no connection.
inline std::string RelayFrame(size_t bytes) {
  const size_t n = std::min<size_t>((std::max<size_t>(bytes, 20) - 20) / 2, 0xFFFF);
  char fields[21];
  std::snprintf(fields, sizeof fields, "000A0909090FA1%04zX", n);
  std::string out = "\xF5\x30";
  out += fields;
  for (size_t i = 0; i < n; ++i) out += "41";
  return out;
}

inline std::string Repeated(const std::string& message, size_t count) {
  std::string out;
  out.reserve(message.size() * count);
  for (size_t i = 0; i < count; ++i) out += message;
  return out;
}

// A message of no known kind, `bytes` long.
inline std::string Unknown(size_t bytes) { return std::string(bytes, 'U'); }

// Runs the event loop until `done` or the time is up; true when done.
inline bool RunUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer t;
  t.start();
  while (!done() && t.elapsed() < ms) {
    QEventLoop loop;
    QTimer::singleShot(5, &loop, &QEventLoop::quit);
    loop.exec();
  }
  return done();
}

struct BurstOutcome {
  bool Connected = false;
  size_t Handled = 0;    // messages the server delivered
  double TookMs = 0;     // until the last expected one was delivered
  long GrewKiB = 0;      // resident memory afterwards, against before
  double LongestMs = 0;  // the longest the event loop was held up meanwhile
};

// One panel at `source` writes the messages, at once or each after the one
// before was delivered (`paced`); the loop runs until `expected` were
// delivered (or `limitMs` passed) and the log's own flushes had their turn;
// then the panel closes.
inline BurstOutcome SendMessages(LinkServer& server, const std::string& source, std::vector<std::string> messages,
                                 bool paced, size_t expected, int limitMs) {
  BurstOutcome out;
  std::atomic<size_t> delivered{0};
  const auto counter = QObject::connect(&server, &LinkServer::Message, [&] { ++delivered; });
  Heartbeat beat;
  const long before = ResidentKiB();
  QElapsedTimer took;
  took.start();
  beat.Start();
  BurstPanel panel(source, server.Port(), std::move(messages));
  out.Connected = panel.Connected();
  if (out.Connected) {
    panel.Send(paced ? &delivered : nullptr);
    RunUntil([&] { return delivered >= expected; }, limitMs);
  }
  out.TookMs = took.nsecsElapsed() / 1e6;
  RunUntil([] { return false; }, 300);
  out.Handled = delivered;
  out.GrewKiB = ResidentKiB() - before;
  out.LongestMs = beat.LongestMs();
  QObject::disconnect(counter);
  panel.Close();
  RunUntil([&] { return server.Count() == 0; }, 2000);
  return out;
}

// A burst written at once, `messages` of them in it.
inline BurstOutcome SendBurst(LinkServer& server, const std::string& source, const std::string& burst, size_t messages,
                              int limitMs) {
  return SendMessages(server, source, {burst}, false, messages, limitMs);
}

// `count` copies of one message, each after the one before was delivered.
inline BurstOutcome SendEach(LinkServer& server, const std::string& source, const std::string& message, size_t count,
                             int limitMs) {
  return SendMessages(server, source, std::vector<std::string>(count, message), true, count, limitMs);
}

}  // namespace flood
