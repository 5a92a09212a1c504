#include <gtest/gtest.h>

#include "fakepanel.h"

#include <sys/socket.h>

#include <QApplication>
#include <QScrollBar>
#include <QTcpSocket>
#include <QTest>
#include <filesystem>
#include <map>
#include <memory>
#include <vector>

#include "bytes.h"
#include "controls/qelbmpbutton.h"
#include "link/netguard.h"
#include "link/protocol.h"
#include "link/server.h"
#include "model/hex.h"
#include "ui/tform10.h"
#include "ui/tform11.h"
#include "ui/tform13.h"
#include "ui/tform3.h"
#include "ui/tform8.h"
#include "ui/tform9.h"
#include "ui/tform7.h"
#include "ui/tform4.h"
#include "ui/tform5.h"
#include "ui/tform6.h"
#include "ui/tform1.h"
#include "ui_fixture.h"

namespace {

struct Link : ::testing::Test {
  explicit Link(const Variant& v = kVantor) : P(v) {}
  void SetUp() override { ASSERT_TRUE(F1.IdTCPServer1->IsListening()); }
  std::unique_ptr<FakePanel> Connect(const QString& source) {
    auto p = std::make_unique<FakePanel>(source, F1.IdTCPServer1->Port());
    const int before = F1.IdTCPServer1->Count();
    EXPECT_TRUE(QTest::qWaitFor([&] { return F1.IdTCPServer1->Count() > before; }, 2000));
    return p;
  }
  QString ShortRow(const FakePanel& p, const QString& ip) const {
    return ip + QLatin1Char(' ') + QString::number(p.Port()) + QLatin1Char(' ');
  }
  TestProgram P;
  TForm1& F1 = *P.W().Form1;
};

TEST_F(Link, ServerStartedAndAConnectionShowsAsAShortRow) {
  EXPECT_TRUE(F1.LogText().contains(
      QString::fromUtf8("\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8\xE5\xB7\xB2\xE5\x90\xAF\xE5\x8A\xA8\xEF\xBC\x81")));
  auto panel = Connect("127.0.0.2");
  ASSERT_EQ(F1.ListView3->Count(), 1);
  EXPECT_EQ(F1.ListView3->Row(0), (QStringList{"1", ShortRow(*panel, "127.0.0.2")}));
  EXPECT_EQ(F1.ListView3->ColumnWidth(1), 300);
  EXPECT_EQ(F1.StatusBar1->PanelText(1), "TCP Status: Connected");

  // The short row's click fills the TCP/IP page.
  F1.ListView3->Select(0);
  F1.ListView3Click();
  EXPECT_EQ(F1.QelEdit8->text(), "127.0.0.2");
  EXPECT_EQ(F1.QelEdit9->text(), QString::number(panel->Port()));

  // A normal close keeps the row.
  panel->socket.disconnectFromHost();
  ASSERT_TRUE(QTest::qWaitFor([&] { return F1.IdTCPServer1->Count() == 0; }, 2000));
  EXPECT_EQ(F1.StatusBar1->PanelText(1), "TCP Status: Disconnected");
  EXPECT_EQ(F1.ListView3->Count(), 1);
}

TEST_F(Link, ReconnectSelectsThePanelAndCommandsReachIt) {
  auto a = Connect("127.0.0.2");
  auto b = Connect("127.0.0.3");
  F1.IPEdit1->SetIPString("127.0.0.3");
  F1.Reconnect1Click();
  EXPECT_EQ(F1.F.Link->SelectedLink, 1);
  EXPECT_EQ(F1.F.Link->PanelIp, "127.0.0.3");
  EXPECT_FALSE(F1.QelBmpButton1->isEnabled());
  F1.F.Link->SendCommand(cmd::LinkStatus, F1.F.Link->SelectedLink);
  F1.F.Link->SendCommandData(cmd::TransferEnd, B({0x00, 0xA6}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return b->received.size() >= 12; }, 2000));
  EXPECT_EQ(BytesToSpacedHex(b->Received()), "F1 41 F2 0D 0A F1 1F 00 A6 F2 0D 0A ");
  EXPECT_TRUE(a->received.isEmpty());
  EXPECT_TRUE(F1.LogText().contains("SendData:F1 1F 00 A6 F2 "));

  // The earlier panel leaves: SelectedLink moves down with its panel.
  F1.IdTCPServer1->Fail(0, "test");
  EXPECT_EQ(F1.F.Link->SelectedLink, 0);
  EXPECT_EQ(F1.IdTCPServer1->PeerIp(F1.F.Link->SelectedLink), "127.0.0.3");
  // A failed connection removes its own row only.
  ASSERT_EQ(F1.ListView3->Count(), 1);
  EXPECT_TRUE(F1.ListView3->SubItem(0, 0).startsWith("127.0.0.3 "));
  EXPECT_EQ(F1.ListView3->Caption(0), "1");
}

TEST_F(Link, FailureOfTheShownPanelClearsItsFields) {
  auto a = Connect("127.0.0.2");
  auto b = Connect("127.0.0.3");
  F1.IPEdit1->SetIPString("127.0.0.3");
  F1.Reconnect1Click();
  F1.IdTCPServer1->Fail(1, "test");
  EXPECT_EQ(F1.F.Link->SelectedLink, 0);
  EXPECT_TRUE(F1.QelBmpButton1->isEnabled());
  EXPECT_TRUE(F1.IPEdit1->FieldAt(0)->text().isEmpty());
  EXPECT_TRUE(F1.LogText().contains("current tcp disconnect"));
  ASSERT_EQ(F1.ListView3->Count(), 1);
  EXPECT_TRUE(F1.ListView3->SubItem(0, 0).startsWith("127.0.0.2 "));
  F1.IdTCPServer1->Fail(0, "test");
  EXPECT_EQ(F1.ListView3->Count(), 0);
  EXPECT_EQ(F1.ListView3->ColumnWidth(1), 150);
}

TEST_F(Link, KeepAliveFailures) {
  LinkServer::KeepAliveHooks hooks;
  hooks.Enable = [](QTcpSocket*) { return false; };
  hooks.SetTimes = [](QTcpSocket*) { return true; };
  F1.IdTCPServer1->SetKeepAliveHooks(hooks);
  auto a = Connect("127.0.0.2");
  QTest::qWait(20);
  ASSERT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(P.Boxes.Boxes[0].Text, "setsockopt KeepAlive Error!");
  EXPECT_EQ(F1.IdTCPServer1->Count(), 1);  // set-up goes on

  hooks.Enable = [](QTcpSocket*) { return true; };
  hooks.SetTimes = [](QTcpSocket*) { return false; };
  F1.IdTCPServer1->SetKeepAliveHooks(hooks);
  auto b = std::make_unique<FakePanel>("127.0.0.3", F1.IdTCPServer1->Port());
  ASSERT_TRUE(QTest::qWaitFor([&] { return P.Boxes.Boxes.size() == 2; }, 2000));
  EXPECT_EQ(P.Boxes.Boxes[1].Text, "WSAIoctl KeepAlive Error!");
  EXPECT_EQ(F1.IdTCPServer1->Count(), 1);  // aborted, and its row went with it
  EXPECT_EQ(F1.ListView3->Count(), 1);
}

TEST_F(Link, DeviceListButtons) {
  auto a = Connect("127.0.0.2");
  F1.F.Devices->Add("127.0.0.9 255.255.255.0 127.0.0.1 4001");
  F1.ListView3->Select(1);
  F1.ListView3Click();  // a full row fills the panel fields
  EXPECT_EQ(F1.IPEdit1->IPString(), "127.0.0.9");
  EXPECT_EQ(F1.IPEdit2->IPString(), "255.255.255.0");
  EXPECT_EQ(F1.QelEdit1->text(), "4001");
  EXPECT_EQ(F1.QelEdit9->text(), "4001");
  EXPECT_TRUE(F1.QelBmpButton1->isEnabled());

  F1.F.Link->KnownLinkCount = 1;
  F1.IPEdit1->SetIPString("127.0.0.2");
  F1.ListView3->Select(0);
  F1.QelBitBtn2Click();
  EXPECT_EQ(F1.F.Link->KnownLinkCount, 0);
  ASSERT_EQ(F1.ListView3->Count(), 1);
  EXPECT_EQ(F1.ListView3->Caption(0), "1");
  F1.F.Link->KnownLinkCount = 3;
  F1.QelButton7Click();
  EXPECT_EQ(F1.ListView3->Count(), 0);
  EXPECT_EQ(F1.F.Link->KnownLinkCount, 0);
  EXPECT_EQ(F1.ListView3->ColumnWidth(1), 150);
  F1.QelBitBtn1Click();
  EXPECT_TRUE(P.W().Form3->isVisible());
  P.W().Form3->hide();
}

TEST_F(Link, SendersRefuseWhatTheyCannotSend) {
  F1.F.Link->SendCommand(cmd::LinkStatus, 0);  // no connection: no log line, nothing written
  EXPECT_FALSE(F1.LogText().contains("F1 41 F2"));
  auto a = Connect("127.0.0.2");
  EXPECT_FALSE(F1.F.Link->SendSetIpFrame("127.0.0.300", "255.255.255.0", "127.0.0.1", "4001"));
  EXPECT_FALSE(F1.F.Link->SendSetIpFrame("127.0.0.3", "255.255.255.0", "127.0.0.1", "70000"));
  EXPECT_FALSE(F1.F.Link->SendSetMacFrame({"00", "11", "zz", "33", "44", "55"}));
  ASSERT_EQ(P.Boxes.Boxes.size(), 3u);
  EXPECT_EQ(P.Boxes.Boxes[0].Text, "Data is not legal");
  EXPECT_TRUE(F1.F.Link->SendSetIpFrame("127.0.0.3", "255.255.255.0", "127.0.0.1", ""));
  EXPECT_TRUE(F1.F.Link->SendSetMacFrame({"00", "11", "22", "33", "44", "55"}));
  F1.F.Link->EERomClear();
  ASSERT_TRUE(QTest::qWaitFor([&] { return a->received.size() >= 15 + 2 + 11 + 4; }, 2000));
  EXPECT_EQ(BytesToSpacedHex(a->Received()),
            "F1 12 7F 00 00 03 FF FF FF 00 7F 00 00 01 F2 0D 0A F1 13 00 11 22 33 44 55 F2 0D 0A 30 30 0D 0A ");
}

// The link lamp as the window draws it: every pixel of the picture shown,
// and the lens lit or dark.
void ExpectLamp(TForm1& f, bool lit) {
  const QImage shown = f.QelBmpButton1->grab().toImage();
  const QImage picture = lit ? qel::LinkIndicatorDisabled() : qel::LinkIndicatorUp();
  ASSERT_EQ(shown.size(), picture.size());
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      const TColor p = QRgbToColor(picture.pixel(x, y));
      if (p == clOlive) continue;
      ASSERT_EQ(QRgbToColor(shown.pixel(x, y)), p) << x << "," << y;
    }
  const QColor lens = shown.pixelColor(13, 13);
  EXPECT_EQ(lens.green() > 0xC0 && lens.red() < 0x80, lit) << lens.name().toStdString();
}

// A panel's network-settings answer naming itself at 127.0.0.x, port 4001.
std::string SettingsOf(int x) { return B({0xF5, 0x11}) + "007F0000" + BytesToHex(B({x})) + "0FA1FF0000007F000001"; }

// The lamp is dark with no panel linked, lit while the panel of the panel
// fields is linked, and dark again once no connection from that panel is
// left, whether it closed or was reset.
TEST_F(Link, TheLinkLampIsLitWhileItsPanelIsLinked) {
  F1.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&F1));
  ExpectLamp(F1, false);

  for (const bool reset : {false, true}) {
    SCOPED_TRACE(reset ? "reset" : "closed");
    const int x = reset ? 3 : 2;
    const QString ip = QStringLiteral("127.0.0.%1").arg(x);
    auto panel = Connect(ip);
    auto second = Connect(ip);  // the same panel twice
    auto other = Connect("127.0.0.4");
    panel->socket.write(QByteArray::fromStdString(SettingsOf(x)));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !F1.QelBmpButton1->isEnabled(); }, 2000));
    EXPECT_EQ(F1.F.Link->PanelIp, ip);
    ExpectLamp(F1, true);

    // Another panel leaving, or one of the panel's two connections, changes nothing.
    other->socket.disconnectFromHost();
    second->socket.disconnectFromHost();
    ASSERT_TRUE(QTest::qWaitFor([&] { return F1.IdTCPServer1->Count() == 1; }, 2000));
    ExpectLamp(F1, true);

    if (reset) {
      const linger now{1, 0};
      ASSERT_EQ(setsockopt(static_cast<int>(panel->socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now),
                0);
      panel->socket.abort();
    } else {
      panel->socket.disconnectFromHost();
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return F1.IdTCPServer1->Count() == 0; }, 2000));
    EXPECT_TRUE(F1.QelBmpButton1->isEnabled());
    ExpectLamp(F1, false);
    // The panel fields, the rows and the link keep what they held.
    EXPECT_EQ(F1.IPEdit1->IPString(), ip);
    EXPECT_EQ(F1.F.Link->PanelIp, ip);
    bool fullRow = false;
    for (int r = 0; r < F1.ListView3->Count(); ++r)
      fullRow |= F1.ListView3->SubItem(r, 0).startsWith(ip + " 255.0.0.0 ");
    EXPECT_TRUE(fullRow);
    F1.QelButton7Click();  // "Clear All": the next answer's row is the first full one
  }
}

// What the panel fields show: empty when every octet field is.
QString ShownAddress(const TIPEdit& e) {
  QStringList octets;
  bool any = false;
  for (int k = 0; k < 4; ++k) {
    octets << e.FieldAt(k)->text();
    any |= !octets.back().isEmpty();
  }
  return any ? octets.join(u'.') : QString();
}

// One thing a panel or the user does, then the lamp and the fields as shown.
enum class Act { Connect, Answer, Close, Reset, Fail, ClickRow, Reconnect, ClearAll, Delete, Save, Open };
struct Moment {
  Act Do;
  int Panel;  // 127.0.0.x of the panel that acts, or whose full row is clicked
  bool Lit;
  const char* Shows;
};

// The program with fake panels, each act taken the road the panel or the
// user takes.
struct LampRun {
  TestProgram P{kVantor};
  TForm1& F1 = *P.W().Form1;
  std::map<int, std::unique_ptr<FakePanel>> Panels;

  static QString Ip(int x) { return QStringLiteral("127.0.0.%1").arg(x); }
  void WaitCount(int n) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return F1.IdTCPServer1->Count() == n; }, 2000));
  }
  void ClickFullRowOf(int x) {
    for (int r = 0; r < F1.ListView3->Count(); ++r) {
      if (!F1.ListView3->SubItem(r, 0).startsWith(Ip(x) + " 255.0.0.0 ")) continue;
      const QModelIndex cell = F1.ListView3->model()->index(r, 1);
      F1.ListView3->scrollTo(cell);
      QTest::mouseClick(F1.ListView3->viewport(), Qt::LeftButton, {}, F1.ListView3->visualRect(cell).center());
      return;
    }
    ADD_FAILURE() << "no full row of " << Ip(x).toStdString();
  }
  void Do(const Moment& m) {
    const int count = F1.IdTCPServer1->Count();
    switch (m.Do) {
      case Act::Connect:
        Panels[m.Panel] = std::make_unique<FakePanel>(Ip(m.Panel), F1.IdTCPServer1->Port());
        WaitCount(count + 1);
        break;
      case Act::Answer: {
        const qsizetype answers = F1.LogText().count("TCP_Mask:");
        Panels.at(m.Panel)->socket.write(QByteArray::fromStdString(SettingsOf(m.Panel)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return F1.LogText().count("TCP_Mask:") > answers; }, 2000));
        break;
      }
      case Act::Close:
        Panels.at(m.Panel)->socket.disconnectFromHost();
        WaitCount(count - 1);
        break;
      case Act::Reset: {
        const linger now{1, 0};
        FakePanel& p = *Panels.at(m.Panel);
        ASSERT_EQ(setsockopt(static_cast<int>(p.socket.socketDescriptor()), SOL_SOCKET, SO_LINGER, &now, sizeof now),
                  0);
        p.socket.abort();
        WaitCount(count - 1);
        break;
      }
      case Act::Fail:
        Panels.at(m.Panel)->socket.write(QByteArray::fromStdString(B({0xF5, 0x11}) + std::string(30, 'Z')));
        WaitCount(count - 1);
        break;
      case Act::ClickRow: ClickFullRowOf(m.Panel); break;
      case Act::Reconnect: F1.Reconnect1->trigger(); break;
      case Act::ClearAll: QTest::mouseClick(F1.QelButton7, Qt::LeftButton); break;
      case Act::Delete:
        ClickFullRowOf(m.Panel);
        QTest::mouseClick(F1.QelBitBtn2, Qt::LeftButton);
        break;
      case Act::Save: F1.Save1->trigger(); break;
      case Act::Open:
        // "Save" names its file by the time: the only one in its folder.
        for (const auto& file : std::filesystem::directory_iterator(P.Dir.Path() / "Library" / "File"))
          P.Files.NextOpen = QString::fromStdString(file.path().string());
        F1.Open1->trigger();
        break;
    }
  }
};

struct LampSequence {
  const char* Name;
  std::vector<Moment> Moments;
};

const char* const kA = "127.0.0.2";
const char* const kB = "127.0.0.3";

// What follows panel A linking. A reset ends as a close does; a
// connection that fails (here on a malformed answer) clears the fields
// showing its panel.
const LampSequence kLampSequences[] = {
    {"AClosesThenBAnswers",
     {{Act::Close, 2, false, kA},
      {Act::Connect, 3, false, kA},
      {Act::Answer, 3, false, kA},  // the fields keep the first full row: A's
      {Act::Reconnect, 0, false, kA}}},
    {"AResetsThenBAnswers", {{Act::Reset, 2, false, kA}, {Act::Connect, 3, false, kA}, {Act::Answer, 3, false, kA}}},
    {"AFailsThenBAnswers", {{Act::Fail, 2, false, ""}, {Act::Connect, 3, false, ""}, {Act::Answer, 3, false, kA}}},
    {"AClosesAndComesBack", {{Act::Close, 2, false, kA}, {Act::Connect, 2, true, kA}, {Act::Answer, 2, true, kA}}},
    // Cleared fields show no panel, whatever address they still report.
    {"AFailsAndComesBack",
     {{Act::Fail, 2, false, ""},
      {Act::Connect, 2, false, ""},
      {Act::Answer, 2, false, ""},
      {Act::Reconnect, 0, false, ""}}},
    {"TheUserChooses",
     {{Act::Connect, 3, true, kA},
      {Act::Answer, 3, true, kA},
      {Act::ClickRow, 3, false, kB},
      {Act::Reconnect, 0, true, kB},
      {Act::ClickRow, 2, false, kA},
      {Act::ClickRow, 3, true, kB},
      {Act::Close, 3, false, kB},
      {Act::ClickRow, 2, false, kA},
      {Act::ClickRow, 3, false, kB},  // B is gone
      {Act::Connect, 3, false, kB},   // back, but the commands go to A
      {Act::Reconnect, 0, true, kB},
      {Act::Save, 0, true, kB},
      {Act::ClearAll, 0, false, ""},
      {Act::Reconnect, 0, false, ""},
      {Act::Open, 0, true, kB},
      {Act::Delete, 3, false, ""}}},
};

struct LinkLamp : ::testing::TestWithParam<LampSequence> {};

// The lamp is lit exactly while the panel fields show the address of the
// panel the commands go to, whichever way panels come and go and the user
// chooses among them.
TEST_P(LinkLamp, LitExactlyWhileTheShownPanelIsTheLinkedOne) {
  LampRun run;
  run.F1.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.F1));
  ExpectLamp(run.F1, false);
  std::vector<Moment> moments = {{Act::Connect, 2, false, ""}, {Act::Answer, 2, true, kA}};
  moments.insert(moments.end(), GetParam().Moments.begin(), GetParam().Moments.end());
  for (size_t i = 0; i < moments.size() && !HasFatalFailure(); ++i) {
    SCOPED_TRACE(testing::Message() << "moment " << i + 1);
    run.Do(moments[i]);
    if (HasFatalFailure()) return;
    EXPECT_EQ(ShownAddress(*run.F1.IPEdit1).toStdString(), moments[i].Shows);
    ExpectLamp(run.F1, moments[i].Lit);
  }
}

INSTANTIATE_TEST_SUITE_P(Sequences, LinkLamp, ::testing::ValuesIn(kLampSequences),
                         [](const auto& info) { return std::string(info.param.Name); });

// A click on a device row fills the fields and leaves the list's columns
// where they were, also once Qt's delayed scroll to the clicked cell is due.
TEST_F(Link, ADeviceRowClickKeepsTheColumnsInPlace) {
  F1.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&F1));
  for (int i = 1; i <= 9; ++i)
    F1.F.Devices->Add(QStringLiteral("127.0.0.%1 255.255.255.0 127.0.0.1 4001").arg(i).toStdString());
  QScrollBar* sideways = F1.ListView3->horizontalScrollBar();
  ASSERT_TRUE(QTest::qWaitFor([&] { return sideways->maximum() > 25; }, 2000));
  for (const int x : {0, 25}) {
    SCOPED_TRACE(x);
    F1.ListView3->scrollToTop();
    sideways->setValue(x);
    const QRect cell = F1.ListView3->visualRect(F1.ListView3->model()->index(1, 1));
    QTest::mouseClick(F1.ListView3->viewport(), Qt::LeftButton, {}, cell.center());
    EXPECT_EQ(F1.IPEdit1->IPString(), "127.0.0.2");
    QTest::qWait(QApplication::doubleClickInterval() + 300);
    EXPECT_EQ(sideways->value(), x);
    // The keys still bring the rows below into view, up or down only.
    for (int i = 0; i < 7; ++i) QTest::keyClick(F1.ListView3, Qt::Key_Down);
    EXPECT_EQ(F1.ListView3->currentRow(), 8);
    EXPECT_GT(F1.ListView3->verticalScrollBar()->value(), 0);
    EXPECT_EQ(sideways->value(), x);
  }
}

struct QuilletLink : Link {
  QuilletLink() : Link(kQuillet) {}
};

TEST_F(QuilletLink, EERomClearIsCommand21ToTheSelectedPanel) {
  auto a = Connect("127.0.0.2");
  F1.F.Link->EERomClear();
  ASSERT_TRUE(QTest::qWaitFor([&] { return a->received.size() >= 5; }, 2000));
  EXPECT_EQ(BytesToSpacedHex(a->Received()), "F1 21 F2 0D 0A ");
}

TEST(LinkStart, APortInUseIsReportedAndTheProgramGoesOn) {
  TestProgram first(kVantor);
  const quint16 port = first.W().Form1->IdTCPServer1->Port();
  // A second program on the same port.
  TestProgram second(kVantor, port);
  EXPECT_FALSE(second.W().Form1->IdTCPServer1->IsListening());
  QTest::qWait(10);
  ASSERT_EQ(second.Boxes.Boxes.size(), 1u);
  EXPECT_TRUE(second.Boxes.Boxes[0].Text.contains(QString::number(port)));
}

}  // namespace
