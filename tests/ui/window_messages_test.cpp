// Panel messages and discovery against simulated panels on loopback.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>

#include "bytes.h"
#include "link/protocol.h"
#include "link/server.h"
#include "tools/panelsim/panelsim.h"
#include "ui/tform10.h"
#include "ui/tform1.h"
#include "ui/tform4.h"
#include "ui/tform5.h"
#include "ui_fixture.h"

namespace {

const QString kColon = QString::fromUtf8("\xEF\xBC\x9A");

struct Bench {
  explicit Bench(const Variant& v = kVantor) : P(v), F(*P.W().Form1) {}

  // A panel at 127.0.0.x:port that connects at once (no discovery).
  panelsim::PanelSim& Panel(int x, quint16 port = 4001, panelsim::PanelSettings s = {}) {
    panelsim::LinkSettings link;
    link.Source = QHostAddress(QStringLiteral("127.0.0.%1").arg(x));
    link.SourcePort = port;
    link.ConfiguratorPort = F.IdTCPServer1->Port();
    link.ListenAddress = QHostAddress();
    s.Model = &P.W().V;
    sims.push_back(std::make_unique<panelsim::PanelSim>(s, link));
    return *sims.back();
  }
  bool Join(panelsim::PanelSim& sim) {
    const int before = F.IdTCPServer1->Count();
    return sim.ConnectTo(QHostAddress(QStringLiteral("127.0.0.1"))) &&
           QTest::qWaitFor([&] { return F.IdTCPServer1->Count() == before + 1; }, 3000);
  }
  // Panels at 127.0.0.2 and 127.0.0.3, both connected.
  std::pair<panelsim::PanelSim*, panelsim::PanelSim*> TwoPanels() {
    auto* a = &Panel(2);
    auto* c = &Panel(3);
    EXPECT_TRUE(Join(*a));
    EXPECT_TRUE(Join(*c));
    return {a, c};
  }
  // One second of the main window's timer.
  void Second() {
    for (int i = 0; i < 10; ++i) F.Timer1Timer();
  }
  QStringList Rows() const {
    QStringList r;
    for (int i = 0; i < F.ListView3->Count(); ++i) r << F.ListView3->SubItem(i, 0);
    return r;
  }
  // The log lines added since the last call.
  QStringList NewLog() {
    const QStringList all = F.LogText().split(QLatin1Char('\n'));
    const QStringList fresh = all.mid(seen_);
    seen_ = static_cast<int>(all.size());
    return fresh;
  }

  TestProgram P;
  TForm1& F;
  std::vector<std::unique_ptr<panelsim::PanelSim>> sims;

 private:
  int seen_ = 0;
};

bool Has(const QStringList& lines, const QString& line) { return lines.contains(line); }

TEST(Discovery, TheBroadcastBringsThePanelAndItsFullRow) {
  Bench b;
  panelsim::LinkSettings link;
  link.ConfiguratorPort = b.F.IdTCPServer1->Port();
  link.ListenAddress = QHostAddress(QStringLiteral("127.0.0.1"));
  link.ListenPort = 0;
  panelsim::PanelSim sim(panelsim::PanelSettings{}, link);
  ASSERT_TRUE(sim.Listen());
  b.P.W().Config.BroadcastPort = sim.ListenPort();
  b.F.Timer1->setInterval(100);
  b.F.Timer1->start();

  ASSERT_TRUE(QTest::qWaitFor([&] { return b.F.IdTCPServer1->Count() == 1; }, 2500));
  // The next run asks for its settings; the answer replaces the short row.
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.Rows() == QStringList{"127.0.0.2 255.0.0.0 127.0.0.1 4001"}; }, 2500))
      << b.Rows().join('|').toStdString();
  EXPECT_EQ(b.P.W().Link->PanelIp, "127.0.0.2");
  EXPECT_EQ(b.F.IPEdit2->IPString(), "255.0.0.0");
  EXPECT_EQ(b.F.IPEdit3->IPString(), "127.0.0.1");
  EXPECT_EQ(b.F.QelEdit1->text(), "4001");
  EXPECT_FALSE(b.F.QelBmpButton1->isEnabled());
  EXPECT_TRUE(b.F.StatusBar1->PanelText(3).startsWith("Local IP" + kColon));
  const QStringList log = b.NewLog();
  EXPECT_TRUE(Has(log, "join"));
  EXPECT_TRUE(Has(log, "===="));
  const std::vector<std::string> frames = sim.Core().RecordLines();
  ASSERT_FALSE(frames.empty());
  EXPECT_NE(frames[0].find("F1 11 F2 0D 0A"), std::string::npos);
}

TEST(Discovery, JoinsAndExits) {
  Bench b;
  auto [ap, cp] = b.TwoPanels();
  auto& c = *cp;
  b.NewLog();
  b.Second();
  QStringList log = b.NewLog();
  EXPECT_TRUE(Has(log, "join"));
  EXPECT_TRUE(Has(log, "0"));
  EXPECT_TRUE(Has(log, "1"));
  EXPECT_TRUE(Has(log, "===="));
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.Rows().size() == 2 && b.Rows()[1].size() > 22; }, 3000));

  // Nothing changed: the run logs nothing and asks nobody.
  b.Second();
  log = b.NewLog();
  EXPECT_FALSE(Has(log, "join"));
  EXPECT_FALSE(Has(log, "===="));

  c.Disconnect();
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.F.IdTCPServer1->Count() == 1; }, 3000));
  b.NewLog();
  b.Second();
  log = b.NewLog();
  EXPECT_TRUE(Has(log, "exit"));
  EXPECT_FALSE(Has(log, "join"));
  EXPECT_EQ(b.P.W().Link->KnownLinkCount, 1);

  // "Clear All" makes the next run ask again.
  b.F.QelButton7Click();
  b.Second();
  log = b.NewLog();
  EXPECT_TRUE(Has(log, "join"));
  EXPECT_TRUE(Has(log, "0"));
}

TEST(Discovery, APanelThatJoinsAsAnotherLeavesIsStillAsked) {
  Bench b;
  auto& a = b.Panel(2);
  auto& c = b.Panel(3);
  ASSERT_TRUE(b.Join(a));
  b.Second();
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.Rows().size() == 1 && b.Rows()[0].size() > 22; }, 3000));
  a.Disconnect();
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.F.IdTCPServer1->Count() == 0; }, 3000));
  ASSERT_TRUE(b.Join(c));
  b.NewLog();
  b.Second();  // the count is 1 again
  const QStringList log = b.NewLog();
  EXPECT_TRUE(Has(log, "join"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.Rows().contains("127.0.0.3 255.0.0.0 127.0.0.1 4001"); }, 3000))
      << b.Rows().join('|').toStdString();
}

TEST(Dispatch, NetworkSettingsMergeIntoTheDeviceList) {
  Bench b;
  auto& a = b.Panel(2);
  ASSERT_TRUE(b.Join(a));
  ASSERT_EQ(b.Rows(), QStringList{"127.0.0.2 4001 "});
  // 192.168.1.20, 3000, 255.255.255.0, 192.168.1.1 from a panel that has its short row here too.
  const std::string answer = B({0xF5, 0x11}) + "00C0A801140BB8FFFFFF00C0A80101";
  b.P.W().Devices->Add("192.168.1.20 3000 ");
  ASSERT_TRUE(a.SendRaw(answer));
  const QString full = "192.168.1.20 255.255.255.0 192.168.1.1 3000";
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.Rows().contains(full); }, 3000));
  EXPECT_EQ(b.Rows(), (QStringList{"127.0.0.2 4001 ", full}));
  EXPECT_EQ(b.F.ListView3->Caption(1), "2");
  EXPECT_EQ(b.P.W().Link->PanelIp, "192.168.1.20");
  EXPECT_EQ(b.F.IPEdit2->IPString(), "255.255.255.0");
  EXPECT_EQ(b.F.QelEdit1->text(), "3000");

  // The same answer again: "err", nothing changes.
  b.NewLog();
  ASSERT_TRUE(a.SendRaw(answer));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Has(b.NewLog(), "err"); }, 3000));
  EXPECT_EQ(b.Rows(), (QStringList{"127.0.0.2 4001 ", full}));
}

TEST(Dispatch, RelayReachesEveryConnectionOfItsAddress) {
  Bench b;
  auto [fromp, top] = b.TwoPanels();
  auto& from = *fromp;
  auto& to = *top;
  ASSERT_TRUE(from.SendRelay(QHostAddress(QStringLiteral("127.0.0.3")), 4001, "abc"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !to.Core().RecordLines().empty(); }, 3000));
  EXPECT_NE(to.Core().RecordLines()[0].find("61 62 63"), std::string::npos) << to.Core().RecordLines()[0];
  EXPECT_TRUE(from.Core().RecordLines().empty());
  EXPECT_TRUE(b.F.LogText().contains("TCP_IP" + kColon + " 127.0.0.3TCP_Port:4001TCPDataLen:3"));

  // To an address with no connection: nothing is sent.
  ASSERT_TRUE(from.SendRelay(QHostAddress(QStringLiteral("127.0.0.9")), 4001, "zz"));
  QTest::qWait(200);
  EXPECT_EQ(to.Core().RecordLines().size(), 1u);
}

TEST(Dispatch, SystemInformationFillsItsLabels) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    SCOPED_TRACE(v->Name);
    Bench b(*v);
    auto& a = b.Panel(2);
    ASSERT_TRUE(b.Join(a));
    for (uint8_t c : {cmd::MachineType, cmd::SoftwareVersion, cmd::IpInfo, cmd::Mac}) b.P.W().Link->SendCommand(c, 0);
    TForm10& s = *b.P.W().Form10;
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.Label10->text() == "00-1A-2B-3C-4D-5E"; }, 3000));
    // The link status answer has no length: it ends when the line goes quiet.
    b.P.W().Link->SendCommand(cmd::LinkStatus, 0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return s.Label6->text() == "Normal"; }, 3000));
    EXPECT_TRUE(s.Label7->text().startsWith(QString::fromStdString(v->Name))) << s.Label7->text().toStdString();
    EXPECT_EQ(s.Label8->text(), QString::fromStdString(v->Version).left(6));
    EXPECT_EQ(s.Label9->text(), "127.0.0.2\n255.0.0.0\n127.0.0.1\n4001");
  }
}

struct IrBench : Bench {
  explicit IrBench(const Variant& v, panelsim::IrLearnReply reply) : Bench(v) {
    panelsim::PanelSettings s;
    s.Ir = reply;
    s.IrCode = B({0xA1, 0xB2, 0xC3});
    sim = &Panel(2, 4001, s);
    TForm4& e = *P.W().Form4;
    for (const char* name : {"TV", "On", "Off"}) {
      if (std::string(name) == "TV")
        e.Button2Click();
      else
        e.Button3Click();
      P.W().Form5->Edit1->setText(name);
      P.W().Form5->Button1Click();
    }
  }
  panelsim::PanelSim* sim;
};

TEST(Dispatch, LearnedCodeFillsTheWaitingRow) {
  IrBench b(kVantor, panelsim::IrLearnReply::Code);
  ASSERT_TRUE(b.Join(*b.sim));
  ASSERT_TRUE(LinkPanelAt(b.F, "127.0.0.2"));
  TForm4& e = *b.P.W().Form4;
  ASSERT_EQ(e.IrEditRow, 2);
  e.Button6Click();  // "Learn"
  ASSERT_TRUE(QTest::qWaitFor([&] { return e.ListView1->SubItem(1, 1) == "0003A1B2C3"; }, 3000))
      << e.ListView1->SubItem(1, 1).toStdString();
  EXPECT_EQ(e.ListView1->SubItem(0, 1), QString(600, QLatin1Char('F')));
  EXPECT_TRUE(b.P.Boxes.Boxes.empty());
}

TEST(Dispatch, LearnRefusalsShowTheirBoxWithoutWaiting) {
  struct Case {
    const Variant* V;
    panelsim::IrLearnReply Reply;
    QString Caption, Text;
  } cases[] = {
      {&kVantor, panelsim::IrLearnReply::Refuse, "Vantor V1.0.1", "IR Learn Fail!"},
      {&kQuillet, panelsim::IrLearnReply::Refuse, "Quillet V1.0.5", "IR Learn Fail!"},
      {&kQuillet, panelsim::IrLearnReply::LongPress, "Quillet V1.0.5", "Please don't long press button"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Text.toStdString());
    IrBench b(*c.V, c.Reply);
    ASSERT_TRUE(b.Join(*b.sim));
    ASSERT_TRUE(LinkPanelAt(b.F, "127.0.0.2"));
    b.P.W().Form4->Button6Click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !b.P.Boxes.Boxes.empty(); }, 3000));
    EXPECT_EQ(b.P.Boxes.Boxes[0].Caption, c.Caption);
    EXPECT_EQ(b.P.Boxes.Boxes[0].Text, c.Text);
    EXPECT_FALSE(b.P.Boxes.Boxes[0].Modal);
  }
}

// How the bytes arrive does not change what the messages are.
TEST(Dispatch, MessagesAreCutByTheirLengths) {
  Bench b;
  auto& a = b.Panel(2);
  ASSERT_TRUE(b.Join(a));
  TForm10& s = *b.P.W().Form10;
  const std::string mac = B({0xF5, 0x45, 0x00, 0x00}) + "00-1A-2B-3C-4D-5E";
  const std::string type = B({0xF5, 0x42, 0x00, 0x00}) + "Panel-9";

  // One answer in two writes 100 ms apart.
  ASSERT_TRUE(a.SendRaw(mac.substr(0, 9)));
  QTest::qWait(100);
  ASSERT_TRUE(a.SendRaw(mac.substr(9)));
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.Label10->text() == "00-1A-2B-3C-4D-5E"; }, 3000));

  // Two answers in one write, and garbage after an answer.
  ASSERT_TRUE(a.SendRaw(B({0xF5, 0x43, 0x00, 0x00}) + "V2.0.0" + type + "xyz"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.Label7->text() == "Panel-9"; }, 3000));
  EXPECT_EQ(s.Label8->text(), "V2.0.0");
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.F.LogText().contains("ID1" + kColon + " xyz"); }, 3000));

  // An F3 whose F4 is not where its length says, and a lying relay length:
  // logged, nothing else.
  b.NewLog();
  ASSERT_TRUE(a.SendRaw(B({0xF3, 0x00, 0x01, 0x04, 0x00, 0x05, 0x01, 0xF4, 0x00, 0x00})));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Has(b.NewLog(), "data1 len" + kColon + " 10"); }, 3000));
  EXPECT_EQ(b.F.IdTCPServer1->Count(), 1);

  // A known answer that never completes is taken as it stands after a second.
  ASSERT_TRUE(a.SendRaw(B({0xF5, 0x45, 0x00, 0x00}) + "00-1A"));
  QTest::qWait(300);
  EXPECT_EQ(s.Label10->text(), "00-1A-2B-3C-4D-5E");
  ASSERT_TRUE(QTest::qWaitFor([&] { return s.Label10->text() == "00-1A"; }, 3000));
}

TEST(Dispatch, UnreadableSettingsFailOnlyTheirConnection) {
  Bench b;
  auto& a = *b.TwoPanels().first;
  ASSERT_TRUE(a.SendRaw(B({0xF5, 0x11}) + "00C0A8011X0BB8FFFFFF00C0A80101"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.F.IdTCPServer1->Count() == 1; }, 3000));
  EXPECT_EQ(b.F.IdTCPServer1->PeerIp(0), "127.0.0.3");
  EXPECT_EQ(b.Rows(), QStringList{"127.0.0.3 4001 "});
  EXPECT_TRUE(b.P.Boxes.Boxes.empty());
}

TEST(LocalData, TheModelAsLines) {
  Bench b;
  b.P.W().Model->ActionCount = 1;
  b.F.ListView1->AddRow("1", {"Key1", "Press"});
  TActionList& a = b.P.W().Model->Actions[1];
  a.Index = "1";
  a.KeyName = "Key1";
  a.ActionKind = "Press";
  a.Header = B({0x01, 0x01, 0x00});
  a.EventCount = 1;
  a.Events[1] = {"1", "Delay", "1h", B({0xF3, 0x00, 0x01})};
  b.F.Log("old");
  b.F.UpdateTest1Click();
  EXPECT_EQ(b.F.LogText(), "ID:1 Type:Key1 Data:Press CMD:01 01 00 \nEevntID:1 Type:Delay Data:1h CMD:F3 00 01 ");
}

}  // namespace
