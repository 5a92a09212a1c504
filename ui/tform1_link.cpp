// The main window's side of the link: connection events, the device list,
// the panel fields, "Reconnect" and the command senders.
#include <QMenuBar>
#include <algorithm>
#include <QTimer>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "link/dispatcher.h"
#include "link/netguard.h"
#include "link/protocol.h"
#include "link/server.h"
#include "model/hex.h"
#include "ui/tform10.h"
#include "ui/tform3.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform4.h"

namespace {

const QString kServerStarted = QString::fromUtf8("\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8\xE5\xB7\xB2\xE5\x90\xAF\xE5\x8A\xA8\xEF\xBC\x81");  // 服务器已启动！
const QString kLeftServer = QString::fromUtf8("\xE9\x80\x80\xE5\x87\xBA\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8\xEF\xBC\x81");  // 退出服务器！
const QString kClient = QString::fromUtf8("\xE5\xAE\xA2\xE6\x88\xB7\xE7\xAB\xAF");  // 客户端
const QString kBrokenOff = QString::fromUtf8("\xE5\xBC\x82\xE5\xB8\xB8\xE6\x96\xAD\xE5\xBC\x80");  // 异常断开
const QString kDelete = QString::fromUtf8("Delete \xE7\xAC\xAC");  // Delete 第
const QString kNth = QString::fromUtf8("\xE4\xB8\xAA");  // 个

const QString kBroadcastFailed = QString::fromUtf8("IdUDPClient1.Broadcast \xE5\xBC\x82\xE5\xB8\xB8");  // 异常

QString NoBlanks(const QString& s) { return QString(s).remove(QLatin1Char(' ')); }

QString FirstWord(const QString& s) {
  const int blank = s.indexOf(QLatin1Char(' '));
  return blank < 0 ? s : s.left(blank);
}

// Tokens of digits and dots, ended by a blank or the end of the text.
QStringList AddressTokens(const QString& s) {
  QStringList tokens;
  QString t;
  for (QChar c : s) {
    if (c == QLatin1Char(' ')) {
      if (!t.isEmpty()) tokens << t;
      t.clear();
    } else if (c.isDigit() || c == QLatin1Char('.')) {
      t += c;
    }
  }
  if (!t.isEmpty()) tokens << t;
  return tokens;
}

// The window side of one message from connection `link`.
class LinkSink : public DispatchSink {
 public:
  LinkSink(TForm1& w, Forms& f, int link) : w_(w), f_(f), link_(link) {}
  void Log(const std::string& line) override { w_.Log(Utf8(line)); }
  void LogBytes(const std::string& label, std::string_view bytes) override {
    w_.Log(Utf8(label) + FromGbk(bytes));
  }
  bool IrEditRowSelected() override { return f_.Form4->RowNamed(f_.Form4->IrEditRow); }
  void IrLearned(std::string_view code) override { f_.Form4->PutLearnedCode(code); }
  void IrLearnRefused(uint8_t status) override { f_.Form4->ShowLearnAnswer(status); }
  void Relay(const std::string& ip, const std::string& bytes) override { w_.RelayTo(Utf8(ip), bytes); }
  void NetConfig(const NetSettings& s) override { w_.NetConfigAnswer(s); }
  void SystemInfo(uint8_t which, const std::string& text) override { w_.ShowSystemInfo(which, text); }
  void TransferAck(std::string_view m) override { w_.TransferAck(link_, m); }
  bool ActionRecord(std::string_view r) override { return w_.UploadActionRecord(link_, r); }
  bool EventRecord(std::string_view r) override { return w_.UploadEventRecord(link_, r); }
  void Malformed(const std::string& reason) override { w_.IdTCPServer1->Fail(link_, Utf8(reason)); }

 private:
  TForm1& w_;
  Forms& f_;
  int link_;
};

}  // namespace

void TForm1::StartSockets() {
  IdTCPServer1 = new LinkServer(F.Config, F.V, this);
  connect(IdTCPServer1, &LinkServer::Connected, this, &TForm1::IdTCPServer1Connect);
  connect(IdTCPServer1, &LinkServer::Disconnected, this, &TForm1::IdTCPServer1Disconnect);
  connect(IdTCPServer1, &LinkServer::Failed, this, &TForm1::IdTCPServer1Exception);
  connect(IdTCPServer1, &LinkServer::Removed, this, &TForm1::ConnectionRemoved);
  connect(IdTCPServer1, &LinkServer::Log, this, &TForm1::Log);
  connect(IdTCPServer1, &LinkServer::Message, this, &TForm1::IdTCPServer1Execute);
  // The box comes after the connection's set-up has finished.
  connect(IdTCPServer1, &LinkServer::KeepAliveError, this,
          [this](const QString& text) { QTimer::singleShot(0, this, [this, text] { F.Warn(text); }); });
  QString error;
  if (IdTCPServer1->Listen(&error)) {
    Log(kServerStarted);
  } else {
    Log(QStringLiteral("server not started: ") + error);
    QTimer::singleShot(0, this, [this, error] {
      F.Warn(QStringLiteral("TCP port %1 cannot be opened (%2); panels cannot connect.")
                 .arg(F.Config.TcpPort)
                 .arg(error));
    });
  }

  const QString local = Utf8(LocalAddressOf(F.Config));
  UdpClientHost = local;
  UdpClientPort = F.Config.UdpClientPort;
  IdUDPClient1 = new QUdpSocket(this);

  // The listener hears on the local address and on every address; it reads and discards.
  IdUDPServer1 = new QUdpSocket(this);
  IdUDPServer1b = new QUdpSocket(this);
  const struct {
    QUdpSocket* Socket;
    QHostAddress Address;
    quint16 Port;
  } binds[] = {{IdUDPServer1, QHostAddress(local), F.Config.UdpListenPort},
               {IdUDPServer1b, QHostAddress(Utf8(F.Config.UdpListenAddress2)), F.Config.UdpListenPort2}};
  for (const auto& b : binds) {
    if (!netguard::Allow(b.Address) || !b.Socket->bind(b.Address, b.Port))
      Log(QStringLiteral("UDP bind failed: %1:%2").arg(b.Address.toString()).arg(b.Port));
    connect(b.Socket, &QUdpSocket::readyRead, b.Socket, [s = b.Socket] {
      while (s->hasPendingDatagrams()) s->receiveDatagram();
    });
  }
}

void TForm1::StopSockets() {
  if (Timer1) Timer1->stop();
  if (IdTCPServer1) {
    IdTCPServer1->disconnect(this);
    IdTCPServer1->Close();
  }
  if (IdUDPServer1) IdUDPServer1->close();
  if (IdUDPServer1b) IdUDPServer1b->close();
}

void TForm1::IdTCPServer1Connect(int index) {
  const QString ip = IdTCPServer1->PeerIp(index);
  Log(QStringLiteral("IP:") + ip);
  Log(QStringLiteral("Port:%1").arg(IdTCPServer1->PeerPort(index)));
  bool known = false;
  for (int r = 0; r < ListView3->Count() && !known; ++r) known = ListView3->SubItem(r, 0) == ip;
  if (!known) {
    SetDeviceDataWidth(300);
    ListView3->AddRow(QString::number(ListView3->Count() + 1),
                      {ip + QLatin1Char(' ') + QString::number(IdTCPServer1->PeerPort(index)) + QLatin1Char(' ')});
  }
  StatusBar1->SetPanelText(1, QStringLiteral("TCP Status: Connected"));
}

void TForm1::IdTCPServer1Disconnect(int index) {
  StatusBar1->SetPanelText(1, QStringLiteral("TCP Status: Disconnected"));
  Log(IdTCPServer1->PeerIp(index) + kLeftServer);
}

void TForm1::RemoveDeviceRow(int row) {
  ListView3->removeRow(row);
  for (int r = row; r < ListView3->Count(); ++r) ListView3->SetCaption(r, QString::number(r + 1));
  if (ListView3->Count() == 0) SetDeviceDataWidth(150);
}

void TForm1::IdTCPServer1Exception(int index, const QString& reason) {
  const QString ip = IdTCPServer1->PeerIp(index);
  Log(kClient + ip + kBrokenOff);
  if (!reason.isEmpty()) Log(reason);
  for (int r = 0; r < ListView3->Count(); ++r) {
    const QString text = ListView3->SubItem(r, 0);
    Log(QStringLiteral("iptemp:") + text);
    Log(QStringLiteral("TCP_IP:") + FirstWord(text));
    if (FirstWord(text) != ip) continue;
    if (NoBlanks(IPEdit1->IPString()) == ip) {
      QelBmpButton1->setEnabled(true);
      ClearPanelNetFields();
      Log(QStringLiteral("current tcp disconnect"));
      SelectedLink = 0;
    }
    Log(kDelete + QString::number(r + 1) + kNth);
    RemoveDeviceRow(r);
    break;
  }
}

void TForm1::ConnectionRemoved(int index) {
  // SelectedLink names a panel, not a position: it moves down with its panel,
  // and goes back to 0 when its own connection goes.
  if (index < SelectedLink)
    --SelectedLink;
  else if (index == SelectedLink)
    SelectedLink = 0;
  TransfersLinkRemoved();
}

void TForm1::ClearPanelNetFields() {
  for (TIPEdit* e : {IPEdit1, IPEdit2, IPEdit3}) e->clear();
  QelEdit1->clear();
}

void TForm1::ListView3Click() {
  const int row = ListView3->Selected();
  if (row < 0) return;
  const QString text = ListView3->SubItem(row, 0);
  if (text.size() > 22) {
    const QStringList t = AddressTokens(text);
    if (t.size() >= 1) {
      QelEdit8->setText(t[0]);
      IPEdit1->SetIPString(t[0]);
      QelBmpButton1->setEnabled(NoBlanks(IPEdit1->IPString()) != PanelIp);
    }
    if (t.size() >= 2) IPEdit2->SetIPString(t[1]);
    if (t.size() >= 3) IPEdit3->SetIPString(t[2]);
    if (t.size() >= 4) {
      QelEdit1->setText(t[3]);
      QelEdit9->setText(t[3]);
    }
    return;
  }
  const int blank = text.indexOf(QLatin1Char(' '));
  QelEdit8->setText(blank < 0 ? text : text.left(blank));
  QString port = blank < 0 ? QString() : text.mid(blank + 1);
  if (port.endsWith(QLatin1Char(' '))) port.chop(1);
  QelEdit9->setText(port);
}

void TForm1::QelButton7Click() {
  ListView3->Clear();
  ClearPanelNetFields();
  KnownLinkCount = 0;
  SetDeviceDataWidth(150);
}

void TForm1::QelBitBtn1Click() { F.Form3->show(); }

void TForm1::QelBitBtn2Click() {
  const int row = ListView3->Selected();
  if (row < 0 || IdTCPServer1->Count() == 0) return;
  const QString ip = NoBlanks(IPEdit1->IPString());
  for (int i = 0; i < IdTCPServer1->Count(); ++i)
    if (IdTCPServer1->PeerIp(i) == ip) {
      ClearPanelNetFields();
      --KnownLinkCount;
    }
  RemoveDeviceRow(row);
}

void TForm1::Reconnect1Click() {
  const QString ip = NoBlanks(IPEdit1->IPString());
  Log(ip);
  for (int i = 0; i < IdTCPServer1->Count(); ++i) {
    const QString peer = IdTCPServer1->PeerIp(i);
    Log(peer);
    if (peer != ip) continue;
    QelBmpButton1->setEnabled(false);
    SelectedLink = i;
    PanelIp = ip;
    Log(QStringLiteral("connect to ") + PanelIp + QStringLiteral("!"));
  }
}

void TForm1::SendCommand(uint8_t command, int n) {
  if (IdTCPServer1->Count() == 0) return;
  const std::string frame = CommandFrame(command);
  Log(Utf8(BytesToSpacedHex(frame)));
  IdTCPServer1->WriteLine(n, frame);
}

void TForm1::SendCommandData(uint8_t command, const std::string& data) {
  const std::string frame = CommandFrame(command, data);
  Log(QStringLiteral("SendData:") + Utf8(BytesToSpacedHex(frame)));
  IdTCPServer1->WriteLine(SelectedLink, frame);
}

bool TForm1::SendSetIpFrame(const QString& ip, const QString& mask, const QString& gateway, const QString& port) {
  const SetIpFrame f = BuildSetIpFrame(ip.toStdString(), mask.toStdString(), gateway.toStdString(),
                                       port.toStdString());
  if (!f.Ok) {
    F.Warn(QStringLiteral("Data is not legal"));
    return false;
  }
  for (const std::string& g : f.Groups) Log(Utf8(g));
  IdTCPServer1->WriteLine(SelectedLink, f.Frame);
  return true;
}

bool TForm1::SendSetMacFrame(const std::array<QString, 6>& fields) {
  std::array<std::string, 6> texts;
  for (size_t i = 0; i < 6; ++i) texts[i] = fields[i].toStdString();
  const SetMacFrame f = BuildSetMacFrame(texts);
  if (!f.Ok) {
    F.Warn(QStringLiteral("Data is not legal"));
    return false;
  }
  Log(QStringLiteral("Mac:") + Utf8(BytesToSpacedHex(f.Frame)));
  IdTCPServer1->WriteLine(SelectedLink, f.Frame);
  return true;
}

void TForm1::EERomClear() {
  if (F.V.EeromClearAsCommand21) {
    SendCommand(cmd::TransferClear, SelectedLink);
    return;
  }
  // The 9-key build sends the two characters "00" as a line, to connection 0.
  if (IdTCPServer1->Count() == 0) {
    Log(QStringLiteral("sd"));
    return;
  }
  if (!IdTCPServer1->WriteLine(0, "00")) Log(QStringLiteral("11"));
}

void TForm1::IdTCPServer1Execute(int link, const QByteArray& message) {
  // Nothing the link handles may wait for the user.
  Forms::NonBlockingWarnings nonBlocking(F);
  LinkSink sink(*this, F, link);
  DispatchMessage(F.V, std::string_view(message.constData(), static_cast<size_t>(message.size())), sink);
}

void TForm1::RelayTo(const QString& ip, const std::string& bytes) {
  for (int i = 0; i < IdTCPServer1->Count(); ++i) {
    if (IdTCPServer1->PeerIp(i) != ip) continue;
    // A failed write fails that connection after this walk.
    IdTCPServer1->WriteRaw(i, bytes);
    Log(QString::fromUtf8("TCPData\xEF\xBC\x9A ") + FromGbk(bytes));
  }
}

void TForm1::NetConfigAnswer(const NetSettings& s) {
  const QString ip = Utf8(s.Ip), port = Utf8(s.Port);
  const QString full = ip + QLatin1Char(' ') + Utf8(s.Mask) + QLatin1Char(' ') + Utf8(s.Gateway) +
                       QLatin1Char(' ') + port;
  const QString shortRow = ip + QLatin1Char(' ') + port + QLatin1Char(' ');
  NewDeviceRow = 1;
  for (int r = 0; r < ListView3->Count();) {
    const QString text = ListView3->SubItem(r, 0);
    if (text == full) {
      NewDeviceRow = 0;
      break;
    }
    Log(shortRow);
    Log(text);
    if (text == shortRow)
      RemoveDeviceRow(r);
    else
      ++r;
  }
  if (!NewDeviceRow) {
    Log(QStringLiteral("err"));
    return;
  }
  SetDeviceDataWidth(300);
  ListView3->AddRow(QString::number(ListView3->Count() + 1), {full});

  // The panel fields show the first full row, whichever panel answered.
  int shown = ListView3->Count() - 1;
  for (int r = 0; r < ListView3->Count(); ++r)
    if (ListView3->SubItem(r, 0).size() > 26) {
      shown = r;
      break;
    }
  const QStringList t = AddressTokens(ListView3->SubItem(shown, 0));
  if (t.size() >= 1) {
    IPEdit1->SetIPString(t[0]);
    PanelIp = NoBlanks(IPEdit1->IPString());
    QelBmpButton1->setEnabled(false);
  }
  if (t.size() >= 2) IPEdit2->SetIPString(t[1]);
  if (t.size() >= 3) IPEdit3->SetIPString(t[2]);
  if (t.size() >= 4) QelEdit1->setText(t[3]);
}

void TForm1::ShowSystemInfo(uint8_t which, const std::string& text) {
  TForm10* f = F.Form10;
  TQelLabel* label = which == 0x41   ? f->Label6
                     : which == 0x42 ? f->Label7
                     : which == 0x43 ? f->Label8
                     : which == 0x44 ? f->Label9
                     : which == 0x45 ? f->Label10
                                     : nullptr;
  if (!label) return;
  QString shown = FromGbk(text);
  // The address lines come separated by CR alone.
  if (which == 0x44) shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  label->setText(shown);
}

void TForm1::Timer1Timer() {
  if (DiscoveryTicks++ != 9) return;
  LocalIp = Utf8(LocalAddressOf(F.Config));
  StatusBar1->SetPanelText(0, DateTimeText());
  StatusBar1->SetPanelText(3, QStringLiteral("Local IP\uFF1A") + LocalIp);
  UdpClientHost = LocalIp;
  DiscoveryRun();
  DiscoveryTicks = 0;
}

void TForm1::DiscoveryRun() {
  const std::string datagram = DiscoveryDatagram(LocalIp.toStdString());
  const QHostAddress target(Utf8(F.Config.BroadcastTarget));
  if (!netguard::Allow(target) ||
      IdUDPClient1->writeDatagram(datagram.data(), static_cast<qint64>(datagram.size()), target,
                                  F.Config.BroadcastPort) != static_cast<qint64>(datagram.size()))
    Log(kBroadcastFailed);

  const int n = IdTCPServer1->Count();
  std::vector<quint64> present;
  for (int c = 0; c < n; ++c) present.push_back(IdTCPServer1->LinkId(c));
  // A panel that joined as another left within the same second keeps the
  // count unchanged; its new number still shows it.
  bool newcomer = false;
  for (quint64 id : present)
    if (std::find(knownLinks_.begin(), knownLinks_.end(), id) == knownLinks_.end()) newcomer = true;
  knownLinks_ = present;

  if (n == 0) {
    KnownLinkCount = 0;
    return;
  }
  if (n < KnownLinkCount) {
    Log(QStringLiteral("exit"));
    KnownLinkCount = n;
  }
  if (n == KnownLinkCount && !newcomer) return;
  Log(QStringLiteral("join"));
  for (int c = 0; c < n; ++c) {
    bool ask = true;
    for (int r = 0; r < ListView3->Count() && ask; ++r) {
      const QString text = ListView3->SubItem(r, 0);
      if (text.size() >= 23 && FirstWord(text) == IdTCPServer1->PeerIp(c)) ask = false;
    }
    if (!ask) continue;
    Log(QString::number(c));
    SendCommand(cmd::NetConfig, c);
  }
  KnownLinkCount = IdTCPServer1->Count();
  Log(QStringLiteral("===="));
}

void TForm1::DumpLocalData() {
  Memo2->clear();
  pendingLog_.clear();
  for (int i = 1; i <= ListView1->Count(); ++i) {
    const TActionList& a = Model.Actions[i];
    Log(QStringLiteral("ID:") + FromGbk(a.Index) + QStringLiteral(" Type:") + FromGbk(a.KeyName) + QStringLiteral(" Data:") +
        FromGbk(a.ActionKind) + QStringLiteral(" CMD:") + Utf8(BytesToSpacedHex(a.Header)));
    for (int e = 1; e <= std::min<int>(a.EventCount, kMaxEvents); ++e) {
      const TEventList& ev = a.Events[e];
      Log(QStringLiteral("EevntID:") + FromGbk(ev.Index) + QStringLiteral(" Type:") + FromGbk(ev.EventKind) + QStringLiteral(" Data:") +
          FromGbk(ev.ListText) + QStringLiteral(" CMD:") + Utf8(BytesToSpacedHex(ev.Frame)));
    }
  }
}
