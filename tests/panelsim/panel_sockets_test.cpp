// The simulated panel on loopback sockets, with a small TCP server playing
// the configurator's side. Run only inside scripts/netns-run.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>
#include <cctype>
#include <memory>

#include "bytes.h"
#include "link/netguard.h"
#include "model/hex.h"
#include "panelsim_frames.h"
#include "tools/panelsim/panelsim.h"

using namespace panelsim;
using namespace simtest;

namespace {

const QHostAddress kConfigurator(QStringLiteral("127.0.0.1"));
const QHostAddress kPanel(QStringLiteral("127.0.0.2"));

std::string Str(const QByteArray& b) { return std::string(b.constData(), static_cast<size_t>(b.size())); }
QByteArray Qb(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

class PanelSimSocket : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!netguard::OnlyLoopbackInterfaces())
      GTEST_FAIL() << "this test opens sockets and this machine has interfaces besides loopback: "
                      "run it through scripts/netns-run";
    netguard::SetLoopbackOnly(true);
    netguard::ResetRefusedCount();
  }
  void TearDown() override { EXPECT_EQ(netguard::RefusedCount(), 0) << "an address outside 127.0.0.0/8 was tried"; }
};

// A port free on the address now: bound once, read back, let go.
quint16 FreeTcpPort(const QHostAddress& a) {
  QTcpServer s;
  EXPECT_TRUE(netguard::Allow(a));
  EXPECT_TRUE(s.listen(a, 0));
  return s.serverPort();
}

struct Seen {
  std::vector<std::pair<qint64, std::string>> Chunks;  // each read, with its time
  std::vector<qint64> SentAt;
  bool Closed = false;
  std::string All() const {
    std::string s;
    for (const auto& c : Chunks) s += c.second;
    return s;
  }
};

// The configurator's side: a server on 127.0.0.1 that keeps its first
// connection and records every read.
class Configurator {
 public:
  Configurator() {
    EXPECT_TRUE(netguard::Allow(kConfigurator));
    EXPECT_TRUE(server_.listen(kConfigurator, 0));
    QObject::connect(&server_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* s = server_.nextPendingConnection()) {
        ++connections_;
        if (peer_) continue;
        peer_ = s;
        QObject::connect(s, &QTcpSocket::readyRead, [this] {
          seen.Chunks.push_back({clock_.elapsed(), Str(peer_->readAll())});
        });
        QObject::connect(s, &QTcpSocket::disconnected, [this] { seen.Closed = true; });
      }
    });
    clock_.start();
  }

  quint16 Port() const { return server_.serverPort(); }
  int Connections() const { return connections_; }
  QTcpSocket* Peer() const { return peer_; }
  bool WaitForPeer(int ms = 2000) {
    return QTest::qWaitFor([this] { return peer_ != nullptr; }, ms);
  }

  void Send(const std::string& bytes) {
    seen.SentAt.push_back(clock_.elapsed());
    peer_->write(Qb(bytes));
    peer_->flush();
  }

  // Until something has come and the line has then been quiet, or nothing
  // came at all for idleMs.
  void Settle(int quietMs = 150, int idleMs = 500) {
    const size_t before = seen.Chunks.size();
    QElapsedTimer t;
    t.start();
    for (;;) {
      QTest::qWait(10);
      if (seen.Closed) return;
      if (seen.Chunks.size() > before) {
        if (clock_.elapsed() - seen.Chunks.back().first >= quietMs) return;
      } else if (t.elapsed() >= idleMs) {
        return;
      }
    }
  }

  Seen seen;

 private:
  QTcpServer server_;
  QTcpSocket* peer_ = nullptr;
  int connections_ = 0;
  QElapsedTimer clock_;
};

LinkSettings Link(quint16 configuratorPort) {
  LinkSettings l;
  l.Source = kPanel;
  l.SourcePort = 0;
  l.ConfiguratorPort = configuratorPort;
  l.ListenAddress = QHostAddress();
  return l;
}

std::unique_ptr<PanelSim> Sim(const LinkSettings& link, Faults f = {}, const Variant& v = kVantor) {
  PanelSettings s;
  s.Model = &v;
  return std::make_unique<PanelSim>(s, link, f);
}

std::string Hex4(int v) {
  static constexpr char d[] = "0123456789ABCDEF";
  return {d[(v >> 12) & 15], d[(v >> 8) & 15], d[(v >> 4) & 15], d[v & 15]};
}

TEST_F(PanelSimSocket, HearsDiscoveryAndConnectsFromItsChosenSource) {
  Configurator cfg;
  LinkSettings link = Link(cfg.Port());
  link.SourcePort = FreeTcpPort(kPanel);
  link.ListenAddress = QHostAddress(QStringLiteral("127.0.0.5"));
  link.ListenPort = 0;
  auto sim = Sim(link);
  ASSERT_TRUE(sim->Listen());
  ASSERT_NE(sim->ListenPort(), 0);

  QUdpSocket udp;
  const QHostAddress target(QStringLiteral("127.0.0.5"));
  ASSERT_TRUE(netguard::Allow(target));
  auto say = [&](const char* text) { udp.writeDatagram(QByteArray(text), target, sim->ListenPort()); };

  // Near misses are heard and turned down.
  say("IP:127.0.0.1;");
  say(" IP:127.0.0.1; ");
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->Problems().size() == 2; }, 2000));
  QTest::qWait(100);
  EXPECT_EQ(cfg.Connections(), 0);
  EXPECT_FALSE(sim->IsLinking());

  say(" IP:127.0.0.1;");
  ASSERT_TRUE(cfg.WaitForPeer());
  EXPECT_EQ(cfg.Peer()->peerAddress(), kPanel);
  EXPECT_EQ(cfg.Peer()->peerPort(), link.SourcePort);
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->IsConnected(); }, 2000));

  // The network answers report the source address and port.
  const std::string fields = "7F000002" + Hex4(link.SourcePort) + "FF000000" + "7F000001";
  cfg.Send(Command(0x11));
  cfg.Settle();
  cfg.Send(Command(0x44));
  cfg.Settle();
  ASSERT_EQ(cfg.seen.Chunks.size(), 2u);
  EXPECT_EQ(cfg.seen.Chunks[0].second, B({0xF5, 0x11, 0, 0}) + fields);
  EXPECT_EQ(cfg.seen.Chunks[1].second, B({0xF5, 0x44, 0, 0}) + fields);
  EXPECT_EQ(sim->Core().RecordLines(), (std::vector<std::string>{"F1 11 F2 0D 0A ", "F1 44 F2 0D 0A "}));

  // Linked: the next broadcast makes no second connection.
  say(" IP:127.0.0.1;");
  QTest::qWait(200);
  EXPECT_EQ(cfg.Connections(), 1);
}

TEST_F(PanelSimSocket, WildcardBindOnlyWhereLoopbackIsAll) {
  Configurator cfg;
  LinkSettings link = Link(cfg.Port());
  link.ListenAddress = QHostAddress(QHostAddress::AnyIPv4);
  link.ListenPort = 0;
  link.OnlyLoopbackInterfaces = [] { return false; };
  auto refused = Sim(link);
  EXPECT_FALSE(refused->Listen());
  EXPECT_EQ(refused->ListenPort(), 0);
  ASSERT_EQ(refused->Problems().size(), 1);
  EXPECT_TRUE(refused->Problems()[0].contains("scripts/netns-run"));

  link.OnlyLoopbackInterfaces = nullptr;  // the real check: true in here
  auto sim = Sim(link);
  ASSERT_TRUE(sim->Listen());
  QUdpSocket udp;
  udp.writeDatagram(QByteArray(" IP:127.0.0.1;"), kConfigurator, sim->ListenPort());
  EXPECT_TRUE(cfg.WaitForPeer());
}

TEST_F(PanelSimSocket, RefusesAndReportsAddressesOutsideLoopback) {
  Configurator cfg;
  LinkSettings link = Link(cfg.Port());
  link.Source = QHostAddress(QStringLiteral("10.1.2.3"));
  auto badSource = Sim(link);
  EXPECT_FALSE(badSource->ConnectTo(kConfigurator));
  link = Link(cfg.Port());
  link.ListenAddress = QHostAddress(QStringLiteral("192.168.1.5"));
  auto badListen = Sim(link);
  EXPECT_FALSE(badListen->Listen());
  auto badTarget = Sim(Link(cfg.Port()));
  EXPECT_FALSE(badTarget->ConnectTo(QHostAddress(QStringLiteral("255.255.255.255"))));
  for (const auto* s : {badSource.get(), badListen.get(), badTarget.get()}) {
    ASSERT_EQ(s->Problems().size(), 1);
    EXPECT_TRUE(s->Problems()[0].contains("outside 127.0.0.0/8"));
  }
  QTest::qWait(100);
  EXPECT_EQ(cfg.Connections(), 0);
  // Each went through the shared guard and was counted there; nothing else was.
  EXPECT_EQ(netguard::RefusedCount(), 3);
  netguard::ResetRefusedCount();
}

TEST_F(PanelSimSocket, RelayOutAndRawBytesIn) {
  Configurator cfg;
  auto sim = Sim(Link(cfg.Port()));
  ASSERT_TRUE(sim->ConnectTo(kConfigurator));
  ASSERT_TRUE(cfg.WaitForPeer());
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->IsConnected(); }, 2000));

  EXPECT_TRUE(sim->SendRelay(QHostAddress(QStringLiteral("127.0.0.3")), 5000, "AB\x01"));
  cfg.Settle();
  ASSERT_EQ(cfg.seen.Chunks.size(), 1u);
  EXPECT_EQ(cfg.seen.Chunks[0].second, B({0xF5, 0x30, 0, 0}) + "7F000003" + "1388" + "0003" + "414201");

  // Relayed bytes from the configurator: one raw line once quiet, then framing again.
  cfg.Send("hello");
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->Core().Received().size() == 1; }, 2000));
  cfg.Send(Command(0x41));
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim->Core().Received().size() == 2; }, 2000));
  EXPECT_EQ(sim->Core().Received()[0].Kind, FrameKind::Raw);
  EXPECT_EQ(sim->Core().RecordLines(), (std::vector<std::string>{"68 65 6C 6C 6F ", "F1 41 F2 0D 0A "}));
}

// ------------------------------------------------------- misbehaviours

StoredConfig Stored() {
  return {{1, B({2, 4, 3}), {EventFrame(1, 4, B({0x00, 0x64})), EventFrame(2, 6, B({0x03, 0x01, 0x00}))}}};
}

struct Step {
  std::string Bytes;
  int GapMs = -1;  // -1: wait for the answer to settle
};

struct FaultCase {
  const char* Name;
  std::function<void(Faults&)> Set;
  std::vector<Step> Script;
  std::function<void(const Seen& sound, const Seen& faulty)> Check;
};

void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.Name; }

Seen Play(const FaultCase& c, const Faults& f) {
  Configurator cfg;
  auto sim = Sim(Link(cfg.Port()), f);
  sim->Core().SetStored(Stored());
  EXPECT_TRUE(sim->ConnectTo(kConfigurator));
  EXPECT_TRUE(cfg.WaitForPeer());
  if (!cfg.Peer()) return {};
  EXPECT_TRUE(QTest::qWaitFor([&] { return sim->IsConnected(); }, 2000));
  for (const Step& s : c.Script) {
    if (cfg.seen.Closed) break;
    cfg.Send(s.Bytes);
    if (s.GapMs >= 0)
      QTest::qWait(s.GapMs);
    else
      cfg.Settle();
  }
  return cfg.seen;
}

std::string Acks(std::initializer_list<std::pair<int, int>> a) {
  std::string s;
  for (auto [cmd, status] : a) s += TransferAck(static_cast<uint8_t>(cmd), status != 0);
  return s;
}

// The same script against a sound panel and a misbehaving one: the
// difference is what the fault must change on the configurator's side.
std::vector<FaultCase> FaultCases() {
  const std::string frame = DownloadFrame(1, B({2, 4, 3}), 0x9B, EventFrame(1, 4, B({0x00, 0x64})));  // 90 + 6 + 2 + 3
  const std::vector<Step> download = {{Command(0x21)}, {frame}, {Closing(0x9B + 9)}};
  const std::vector<Step> system = {{Command(0x41)}, {Command(0x42)}};
  static const std::string r1 = ActionRecord(1, 1, 2, B({2, 4, 3}));
  static const std::string r2 = EventRecord(Stored()[0].Events[0]);
  static const std::string r3 = EventRecord(Stored()[0].Events[1]);
  auto upload = [](int s1, int s2) {
    return std::vector<Step>{
        {Command(0x51)}, {Ack(0x51, s1)}, {Ack(s1 ? 0x53 : 0x51, s2)}, {Ack(0x53, 1)}, {Ack(0x53, 1)}};
  };

  return {
      {"delay",
       [](Faults& f) { f.DelayMs = 300; },
       {{Command(0x41)}},
       [](const Seen& s, const Seen& f) {
         ASSERT_EQ(f.Chunks.size(), 1u);
         EXPECT_GE(f.Chunks[0].first - f.SentAt[0], 290);
         EXPECT_LT(s.Chunks[0].first - s.SentAt[0], 150);
         EXPECT_EQ(f.All(), s.All());
       }},
      {"split",
       [](Faults& f) { f.SplitAt = StepSel::At(Phase::Any, 1); },
       {{Command(0x45)}},
       [](const Seen& s, const Seen& f) {
         EXPECT_EQ(s.Chunks.size(), 1u);
         ASSERT_EQ(f.Chunks.size(), 2u);
         EXPECT_GE(f.Chunks[1].first - f.Chunks[0].first, 90);
         EXPECT_EQ(f.Chunks[0].second.size(), 10u);
         EXPECT_EQ(f.All(), s.All());
       }},
      {"join",
       [](Faults& f) { f.JoinAt = StepSel::At(Phase::Any, 1); },
       {{Command(0x42), 40}, {Command(0x43)}},
       [](const Seen& s, const Seen& f) {
         EXPECT_EQ(s.Chunks.size(), 2u);
         ASSERT_EQ(f.Chunks.size(), 1u);
         EXPECT_EQ(f.All(), s.All());
       }},
      {"silent", [](Faults& f) { f.SilentAt = StepSel::At(Phase::Any, 1); }, system,
       [](const Seen& s, const Seen& f) { EXPECT_EQ(f.All(), s.All().substr(3)); }},
      {"drop after", [](Faults& f) { f.DropAfter = StepSel::At(Phase::Any, 1); }, system,
       [](const Seen& s, const Seen& f) {
         EXPECT_FALSE(s.Closed);
         EXPECT_TRUE(f.Closed);
         EXPECT_EQ(f.All(), s.All().substr(0, 3));
       }},
      {"lie in the IR code length",
       [](Faults& f) {
         f.LieAt = StepSel::At(Phase::Any, 1);
         f.LieBy = 3;
       },
       {{Command(0x10)}},
       [](const Seen& s, const Seen& f) {
         ASSERT_EQ(f.All().size(), s.All().size());
         EXPECT_EQ(static_cast<uint8_t>(f.All()[4]), static_cast<uint8_t>(s.All()[4]) + 3);
         EXPECT_EQ(f.All().substr(5), s.All().substr(5));
       }},
      {"refuse clear", [](Faults& f) { f.RefuseClear = true; }, download,
       [](const Seen& s, const Seen& f) {
         EXPECT_EQ(s.All(), Acks({{0x21, 1}, {0x00, 1}, {0x1F, 1}}));
         EXPECT_EQ(f.All(), Acks({{0x21, 0}, {0x00, 0}, {0x1F, 0}}));
       }},
      {"refuse event 1", [](Faults& f) { f.RefuseEvent = 1; }, download,
       [](const Seen&, const Seen& f) {
         EXPECT_EQ(f.All(), Acks({{0x21, 1}, {0x00, 0}, {0x1F, 0}}));
       }},
      {"refuse closing", [](Faults& f) { f.RefuseClosing = true; }, download,
       [](const Seen&, const Seen& f) {
         EXPECT_EQ(f.All(), Acks({{0x21, 1}, {0x00, 1}, {0x1F, 0}}));
       }},
      {"silent at download step 2", [](Faults& f) { f.SilentAt = StepSel::At(Phase::Download, 2); }, download,
       [](const Seen&, const Seen& f) {
         EXPECT_EQ(f.All(), Acks({{0x21, 1}, {0x1F, 1}}));
       }},
      {"drop after download step 1", [](Faults& f) { f.DropAfter = StepSel::At(Phase::Download, 1); }, download,
       [](const Seen&, const Seen& f) {
         EXPECT_TRUE(f.Closed);
         EXPECT_EQ(f.All(), Acks({{0x21, 1}}));
       }},
      {"corrupt the first record's CRC", [](Faults& f) { f.CorruptCrcAt = StepSel::At(Phase::Upload, 1); },
       upload(0, 1),
       [](const Seen& s, const Seen& f) {
         EXPECT_EQ(s.All(), r1 + r1 + r2 + r3);
         ASSERT_EQ(f.All().size(), s.All().size());
         EXPECT_NE(f.All().substr(0, 12), r1);
         EXPECT_EQ(f.All().substr(0, 11), r1.substr(0, 11));
         EXPECT_EQ(f.All().substr(12), s.All().substr(12));
       }},
      {"lie in an event record's length", [](Faults& f) { f.LieAt = StepSel::At(Phase::Upload, 2); }, upload(1, 0),
       [](const Seen& s, const Seen& f) {
         EXPECT_EQ(s.All(), r1 + r2 + r2 + r3);
         const std::string lied = f.All().substr(12, r2.size());
         EXPECT_EQ(static_cast<uint8_t>(lied[5]), static_cast<uint8_t>(r2[5]) + 1);
         EXPECT_EQ(lied.substr(lied.size() - 2), Crc16Bytes(lied.substr(0, lied.size() - 2)));
         EXPECT_EQ(f.All().substr(12 + r2.size()), r2 + r3);
       }},
      {"join two records", [](Faults& f) { f.JoinAt = StepSel::At(Phase::Upload, 1); }, upload(1, 1),
       [](const Seen& s, const Seen& f) {
         ASSERT_GE(f.Chunks.size(), 1u);
         EXPECT_EQ(s.Chunks[0].second, r1);
         EXPECT_EQ(f.Chunks[0].second, r1 + r2);
         EXPECT_EQ(f.All(), s.All());
       }},
  };
}

class PanelSimFault : public PanelSimSocket, public ::testing::WithParamInterface<FaultCase> {};

TEST_P(PanelSimFault, ChangesWhatTheConfiguratorSees) {
  const FaultCase& c = GetParam();
  Faults faults;
  c.Set(faults);
  const Seen sound = Play(c, Faults{});
  const Seen faulty = Play(c, faults);
  c.Check(sound, faulty);
}

INSTANTIATE_TEST_SUITE_P(Table, PanelSimFault, ::testing::ValuesIn(FaultCases()), [](const auto& info) {
  std::string n;
  for (const char* p = info.param.Name; *p; ++p) n += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return n;
});

}  // namespace
