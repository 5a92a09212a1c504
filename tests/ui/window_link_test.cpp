#include <gtest/gtest.h>

#include "fakepanel.h"

#include <sys/socket.h>

#include <QAbstractButton>
#include <QApplication>
#include <QScrollBar>
#include <QTcpSocket>
#include <QTest>
#include <array>
#include <filesystem>
#include <functional>
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
#include "project_fixture.h"
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
enum class Act {
  Connect,
  Answer,
  Close,
  Reset,
  Fail,
  ClickRow,
  Reconnect,
  ClearAll,
  Delete,
  Save,
  Open,
  Second,   // a second of the window's timer: the join check asks new panels
  TypeIp,   // the panel's address typed into the IP Address field
  AnswerAs  // an answer naming another address than the panel's own
};
struct Moment {
  Act Do;
  int Panel;  // 127.0.0.x of the panel that acts, or whose full row is clicked
  bool Lit;
  const char* Shows;
  int Names = 0;  // AnswerAs: the 127.0.0.x the answer names
};

// The program with fake panels, each act taken the road the panel or the
// user takes.
struct LampRun {
  explicit LampRun(const Variant& v = kVantor) : P(v) {}
  TestProgram P;
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
  // Each moment in turn, then the fields and the lamp as shown.
  void Walk(const std::vector<Moment>& moments) {
    for (size_t i = 0; i < moments.size(); ++i) {
      SCOPED_TRACE(testing::Message() << "moment " << i + 1);
      Do(moments[i]);
      if (::testing::Test::HasFatalFailure()) return;
      EXPECT_EQ(ShownAddress(*F1.IPEdit1).toStdString(), moments[i].Shows);
      ExpectLamp(F1, moments[i].Lit);
    }
  }
  void Do(const Moment& m) {
    const int count = F1.IdTCPServer1->Count();
    switch (m.Do) {
      case Act::Connect:
        Panels[m.Panel] = std::make_unique<FakePanel>(Ip(m.Panel), F1.IdTCPServer1->Port());
        WaitCount(count + 1);
        break;
      case Act::Answer:
      case Act::AnswerAs: {
        const qsizetype answers = F1.LogText().count("TCP_Mask:");
        const int names = m.Do == Act::AnswerAs ? m.Names : m.Panel;
        Panels.at(m.Panel)->socket.write(QByteArray::fromStdString(SettingsOf(names)));
        ASSERT_TRUE(QTest::qWaitFor([&] { return F1.LogText().count("TCP_Mask:") > answers; }, 2000));
        break;
      }
      case Act::Second: {
        FakePanel& p = *Panels.at(m.Panel);
        for (int i = 0; i < 10; ++i) F1.Timer1Timer();
        ASSERT_TRUE(QTest::qWaitFor([&] { return p.received.contains("\xF1\x11\xF2\r\n"); }, 2000));
        p.received.clear();
        break;
      }
      case Act::TypeIp: {
        // Each octet typed into its field, over what the field showed.
        const QStringList octets = Ip(m.Panel).split(u'.');
        for (int k = 0; k < 4; ++k) {
          TIPFieldEdit* field = F1.IPEdit1->FieldAt(k);
          field->setFocus();
          field->selectAll();
          QTest::keyClicks(field, octets[k]);
        }
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
      {Act::ClickRow, 2, true, kA},   // the commands go to A again
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
  run.Walk(moments);
}

INSTANTIATE_TEST_SUITE_P(Sequences, LinkLamp, ::testing::ValuesIn(kLampSequences),
                         [](const auto& info) { return std::string(info.param.Name); });

// A command the user gives to the panel, through the window, and the frame
// the panel then receives.
struct PanelCommand {
  const char* Name;
  bool VantorOnly;
  std::function<void(LampRun&)> Give;
  const char* Frame;  // how the frame begins, as spaced hex
  const char* NoPanel = "No panel is linked: nothing was sent";
};

void ClickOk(QAbstractButton* ok) { QTest::mouseClick(ok, Qt::LeftButton); }

// The System Message dialog's caption k (1..5) clicked.
PanelCommand SystemMessage(int k, const char* name) {
  return {name, false,
          [k](LampRun& r) {
            r.F1.Message1->trigger();
            TForm10& d = *r.P.W().Form10;
            QTest::mouseClick(std::array{d.Label1, d.Label2, d.Label3, d.Label4, d.Label5}[k - 1], Qt::LeftButton);
          },
          std::array{"F1 41 F2 ", "F1 42 F2 ", "F1 43 F2 ", "F1 44 F2 ", "F1 45 F2 "}[k - 1]};
}

// Test > "Modify": the text typed, then "OK".
PanelCommand Modify(const char* name, QAction* MainMenus::*item, const char* frame) {
  return {name, true,
          [item](LampRun& r) {
            (r.F1.*item)->trigger();
            TForm13& d = *r.P.W().Form13;
            d.Edit1->setText("T1");
            ClickOk(d.Button1);
          },
          frame};
}

PanelCommand MenuItem(const char* name, bool vantorOnly, QAction* MainMenus::*item, const char* frame) {
  return {name, vantorOnly, [item](LampRun& r) { (r.F1.*item)->trigger(); }, frame};
}

// Every command, "Upload" last: it empties the project "Download" sends.
std::vector<PanelCommand> PanelCommands() {
  return {
      MenuItem("Factory Default", false, &MainMenus::FactoryDefalt1, "F1 14 F2 "),
      {"Set IP", false,
       [](LampRun& r) {
         r.F1.Reset1->trigger();
         ClickOk(r.P.W().Form8->Button1);
       },
       "F1 12 7F 00 00 "},
      {"Set MAC", false,
       [](LampRun& r) {
         r.F1.SetMac1->trigger();
         TForm9& d = *r.P.W().Form9;
         for (int k = 0; k < 6; ++k) d.Edits[k]->setText(QStringLiteral("%1%1").arg(k));
         ClickOk(d.Button1);
       },
       "F1 13 00 11 22 33 44 55 F2 "},
      {"Download", false,
       [](LampRun& r) {
         r.F1.Download2->trigger();
         ClickOk(r.P.W().Form7->Button1);
       },
       "F1 21 F2 "},
      SystemMessage(1, "Link Status"),
      SystemMessage(2, "Machine Type"),
      SystemMessage(3, "Software Version"),
      SystemMessage(4, "IP Info"),
      SystemMessage(5, "MAC"),
      {"IR Learn", false,
       [](LampRun& r) {
         TForm4& e = *r.P.W().Form4;
         e.show();
         ClickOk(e.Button6);
         e.hide();
       },
       "F1 10 F2 "},
      MenuItem("STM32 Debug On", false, &MainMenus::On1, "F1 15 F2 "),
      MenuItem("STM32 Debug Off", false, &MainMenus::off1, "F1 16 F2 "),
      MenuItem("EERom Read", false, &MainMenus::EERomRead1, "F1 20 F2 "),
      MenuItem("TCP/TP Reconnet", true, &MainMenus::CPTPReconnet1, "F1 63 00 56 00 03 F2 "),
      MenuItem("Lock", true, &MainMenus::LocK1, "F1 64 01 F2 "),
      MenuItem("UnLock", true, &MainMenus::UnLock1, "F1 64 00 F2 "),
      Modify("Type", &MainMenus::Name1, "F1 60 54 31 F2 "),
      Modify("Name", &MainMenus::Name2, "F1 61 54 31 F2 "),
      Modify("POWN Function", &MainMenus::POWNFunction1, "F1 65 01 02 02 54 31 F2 "),
      {"Upload", false, [](LampRun& r) { r.F1.Download1->trigger(); }, "F1 51 F2 ",
       "No panel is linked: the configuration was left as it is"},
  };
}

// The 6-key build's "EERom Clear" is command 21 to the linked panel.
PanelCommand QuilletEERomClear() { return MenuItem("EERom Clear", false, &MainMenus::EERomclear1, "F1 21 F2 "); }

// How panels came and went and what the user chose, and where the commands
// then go: the panel at 127.0.0.x, or nowhere (0).
struct CommandRoad {
  const char* Name;
  std::vector<Moment> Moments;
  int Reaches;
};
void PrintTo(const CommandRoad& r, std::ostream* os) { *os << r.Name; }

std::vector<Moment> Then(std::vector<Moment> first, const std::vector<Moment>& rest) {
  first.insert(first.end(), rest.begin(), rest.end());
  return first;
}
const std::vector<Moment> kALinks = {{Act::Connect, 2, false, ""}, {Act::Answer, 2, true, kA}};
// A leaves (closed or reset), B connects and answers: the fields keep A.
std::vector<Moment> Swap(Act leaves) {
  return Then(kALinks, {{leaves, 2, false, kA}, {Act::Connect, 3, false, kA}, {Act::Answer, 3, false, kA}});
}

const CommandRoad kCommandRoads[] = {
    {"NoPanel", {}, 0},
    // As scripts/run links its panel: the join check asks, the panel answers.
    {"OnePanelAsItJoins", {{Act::Connect, 2, false, ""}, {Act::Second, 2, false, ""}, {Act::Answer, 2, true, kA}}, 2},
    {"AClosesThenBAnswers", Swap(Act::Close), 0},
    {"AResetsThenBAnswers", Swap(Act::Reset), 0},
    {"BsRowAfterTheSwap", Then(Swap(Act::Close), {{Act::ClickRow, 3, true, kB}}), 3},
    {"BReconnectedAfterTheSwap", Then(Swap(Act::Reset), {{Act::ClickRow, 3, true, kB}, {Act::Reconnect, 0, true, kB}}),
     3},
    {"AsRowAfterBWasReconnected",
     Then(Swap(Act::Close),
          {{Act::ClickRow, 3, true, kB}, {Act::Reconnect, 0, true, kB}, {Act::ClickRow, 2, false, kA}}),
     0},
    {"AsRowWhileBIsLinkedAndAIsThere",
     Then(kALinks, {{Act::Connect, 3, true, kA},
                    {Act::Answer, 3, true, kA},
                    {Act::ClickRow, 3, false, kB},
                    {Act::Reconnect, 0, true, kB},
                    {Act::ClickRow, 2, false, kA}}),
     0},
    // Its address typed while A is linked, then "Reconnect".
    {"APanelThatNeverAnswers",
     Then(kALinks,
          {{Act::Connect, 5, true, kA}, {Act::TypeIp, 5, false, "127.0.0.5"}, {Act::Reconnect, 0, true, "127.0.0.5"}}),
     5},
    // Its answer names 127.0.0.8, whose row is clicked.
    {"APanelNamingAnotherAddress",
     Then(kALinks,
          {{Act::Connect, 4, true, kA}, {Act::AnswerAs, 4, true, kA, 8}, {Act::ClickRow, 8, false, "127.0.0.8"}}),
     0},
    {"APanelNamingAnotherAddressTypedAndReconnected",
     Then(kALinks, {{Act::Connect, 4, true, kA},
                    {Act::AnswerAs, 4, true, kA, 8},
                    {Act::ClickRow, 8, false, "127.0.0.8"},
                    {Act::TypeIp, 4, false, "127.0.0.4"},
                    {Act::Reconnect, 0, true, "127.0.0.4"}}),
     4},
};

struct CommandsReach : ::testing::TestWithParam<std::tuple<const Variant*, CommandRoad>> {};

// Each command goes to the panel the lamp shows as linked, and only then;
// otherwise nothing is sent and one warning says why.
TEST_P(CommandsReach, OnlyThePanelShownAsLinked) {
  const Variant& v = *std::get<0>(GetParam());
  const CommandRoad& road = std::get<1>(GetParam());
  LampRun run(v);
  run.P.Dialogs.ShowThem = true;
  run.F1.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&run.F1));
  AddKeyActionThroughDialog(run.P.W(), 1, 0);
  AddEveryKind(run.F1, 1);
  run.Walk(road.Moments);
  if (HasFatalFailure()) return;
  for (auto& [x, panel] : run.Panels) panel->received.clear();
  run.P.Boxes.Boxes.clear();

  std::vector<PanelCommand> commands = PanelCommands();
  if (v.EeromClearAsCommand21) commands.insert(commands.end() - 1, QuilletEERomClear());
  for (const PanelCommand& c : commands) {
    if (c.VantorOnly && &v != &kVantor) continue;
    SCOPED_TRACE(c.Name);
    c.Give(run);
    if (road.Reaches != 0) {
      FakePanel& panel = *run.Panels.at(road.Reaches);
      ASSERT_TRUE(QTest::qWaitFor([&] { return panel.received.endsWith("\r\n"); }, 2000));
      EXPECT_TRUE(BytesToSpacedHex(panel.Received()).starts_with(c.Frame)) << BytesToSpacedHex(panel.Received());
      EXPECT_EQ(panel.received.count("\r\n"), 1);
      panel.received.clear();
      EXPECT_TRUE(run.P.Boxes.Boxes.empty()) << run.P.Boxes.Boxes[0].Text.toStdString();
    } else {
      ASSERT_EQ(run.P.Boxes.Boxes.size(), 1u);
      const QString why = run.Panels.empty() ? c.NoPanel
                                             : "The panel shown is not linked: nothing was sent. To link it, click "
                                               "its row in the device list, then choose Connection > TCP/IP > "
                                               "Reconnect.";
      EXPECT_EQ(run.P.Boxes.Boxes[0].Text, why);
      EXPECT_EQ(run.P.Boxes.Boxes[0].Caption, Utf8(v.BoxCaption));
    }
    run.P.Boxes.Boxes.clear();
    for (QDialog* d : run.P.Dialogs.Shown)
      if (d->isVisible()) d->reject();
  }
  QTest::qWait(50);
  for (auto& [x, panel] : run.Panels) EXPECT_TRUE(panel->received.isEmpty()) << x << ": " << panel->Received();
  if (road.Reaches == 0) EXPECT_FALSE(run.F1.Uploading());
}

INSTANTIATE_TEST_SUITE_P(Roads, CommandsReach,
                         ::testing::Combine(::testing::Values(&kVantor, &kQuillet), ::testing::ValuesIn(kCommandRoads)),
                         [](const auto& info) {
                           return std::get<0>(info.param)->Name + std::string("_") + std::get<1>(info.param).Name;
                         });

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
