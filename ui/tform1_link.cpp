// The main window's side of the link: connection events, the device list
// and its mirror, the panel fields and "Reconnect". The sockets, the
// senders and discovery live in Link (link/panellink.h).
#include <QMenuBar>
#include <algorithm>
#include <QTimer>

#include "link/dispatcher.h"
#include "link/protocol.h"
#include "link/server.h"
#include "model/hex.h"
#include "model/texts.h"
#include "ui/tform10.h"
#include "ui/tform3.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform4.h"

namespace {

const QString kLeftServer =
    QString::fromUtf8("\xE9\x80\x80\xE5\x87\xBA\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8\xEF\xBC\x81");  // 退出服务器！
const QString kClient = QString::fromUtf8("\xE5\xAE\xA2\xE6\x88\xB7\xE7\xAB\xAF");                  // 客户端
const QString kBrokenOff = QString::fromUtf8("\xE5\xBC\x82\xE5\xB8\xB8\xE6\x96\xAD\xE5\xBC\x80");   // 异常断开
const QString kDeleteNo = QString::fromUtf8("Delete \xE7\xAC\xAC");                                 // Delete 第
const QString kNth = QString::fromUtf8("\xE4\xB8\xAA");                                             // 个

// The device list's widths of its "Data" column: empty, and holding rows.
constexpr int kEmptyDataWidth = 150;
constexpr int kRowsDataWidth = 300;

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

void SetDataWidth(TListView* devices, int width) { devices->SetColumnWidth(1, width); }

void ClearPanelNetFields(PanelSetControls& p) {
  for (TIPEdit* e : {p.IPEdit1, p.IPEdit2, p.IPEdit3}) e->clear();
  p.QelEdit1->clear();
}

// The "System Message" labels of what a panel reports.
void ShowSystemInfo(TForm10* f, uint8_t which, const std::string& text) {
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

}  // namespace

// The window side of one message from connection `link`.
class TForm1::LinkSink : public DispatchSink {
 public:
  LinkSink(TForm1& w, int link) : w_(w), f_(w.F), link_(link) {}
  void Log(const std::string& line) override { w_.Log(Utf8(line)); }
  void LogBytes(const std::string& label, std::string_view bytes) override { w_.Log(Utf8(label) + FromGbk(bytes)); }
  bool IrEditRowSelected() override { return f_.Form4->RowNamed(f_.Form4->IrEditRow); }
  void IrLearned(std::string_view code) override { f_.Form4->PutLearnedCode(code); }
  void IrLearnRefused(uint8_t status) override { f_.Form4->ShowLearnAnswer(status); }
  void Relay(const std::string& ip, const std::string& bytes) override;
  void NetConfig(const NetSettings& s) override { w_.NetConfigAnswer(s); }
  void SystemInfo(uint8_t which, const std::string& text) override { ShowSystemInfo(f_.Form10, which, text); }
  void TransferAck(std::string_view m) override { w_.TransferAck(link_, m); }
  bool ActionRecord(std::string_view r) override { return w_.UploadActionRecord(link_, r); }
  bool EventRecord(std::string_view r) override { return w_.UploadEventRecord(link_, r); }
  void Malformed(const std::string& reason) override { w_.IdTCPServer1->Fail(link_, Utf8(reason)); }

 private:
  TForm1& w_;
  Forms& f_;
  int link_;
};

void TForm1::StartSockets() {
  connect(Link, &PanelLink::Log, this, &TForm1::Log);
  connect(Link, &PanelLink::Warning, this, [this](const QString& text) { F.Warn(text); });
  connect(IdTCPServer1, &LinkServer::Connected, this, &TForm1::IdTCPServer1Connect);
  connect(IdTCPServer1, &LinkServer::Disconnected, this, &TForm1::IdTCPServer1Disconnect);
  connect(IdTCPServer1, &LinkServer::Failed, this, &TForm1::IdTCPServer1Exception);
  connect(IdTCPServer1, &LinkServer::Removed, this, &TForm1::ConnectionRemoved);
  connect(IdTCPServer1, &LinkServer::Message, this, &TForm1::IdTCPServer1Execute);
  // The box comes after the connection's set-up has finished.
  connect(IdTCPServer1, &LinkServer::KeepAliveError, this,
          [this](const QString& text) { QTimer::singleShot(0, this, [this, text] { F.Warn(text); }); });
  QString error;
  if (!Link->Start(&error)) {
    QTimer::singleShot(0, this, [this, error] { F.Warn(Utf8(kTcpPortNotOpened).arg(F.Config.TcpPort).arg(error)); });
  }
}

void TForm1::StopSockets() {
  if (Timer1) Timer1->stop();
  IdTCPServer1->disconnect(this);
  Link->disconnect(this);
  Link->Stop();
}

void TForm1::DeviceListChanged(const DeviceList::Change& c) {
  switch (c.What) {
    case DeviceList::Change::Added:
      // A project's device records leave the column as it is.
      if (!batchLoading_) SetDataWidth(ListView3, kRowsDataWidth);
      ListView3->AddRow(QString::number(ListView3->Count() + 1), {Utf8(Devices.Row(c.Row))});
      break;
    case DeviceList::Change::Removed:
      ListView3->removeRow(c.Row);
      for (int r = c.Row; r < ListView3->Count(); ++r) ListView3->SetCaption(r, QString::number(r + 1));
      if (ListView3->Count() == 0) SetDataWidth(ListView3, kEmptyDataWidth);
      break;
    case DeviceList::Change::Cleared:
      ListView3->Clear();
      SetDataWidth(ListView3, kEmptyDataWidth);
      break;
  }
}

void TForm1::IdTCPServer1Connect(int index) {
  const QString ip = IdTCPServer1->PeerIp(index);
  Log(QStringLiteral("IP:") + ip);
  Log(QStringLiteral("Port:%1").arg(IdTCPServer1->PeerPort(index)));
  Devices.AddConnection(ip.toStdString(), IdTCPServer1->PeerPort(index));
  StatusBar1->SetPanelText(1, Utf8(kTcpConnected));
  UpdateLinkLamp();
}

void TForm1::IdTCPServer1Disconnect(int index) {
  StatusBar1->SetPanelText(1, Utf8(kTcpDisconnected));
  Log(IdTCPServer1->PeerIp(index) + kLeftServer);
}

void TForm1::IdTCPServer1Exception(int index, const QString& reason) {
  const QString ip = IdTCPServer1->PeerIp(index);
  Log(kClient + ip + kBrokenOff);
  if (!reason.isEmpty()) Log(reason);
  for (int r = 0; r < Devices.Count(); ++r) {
    const std::string& text = Devices.Row(r);
    const QString address = Utf8(std::string(DeviceList::AddressOf(text)));
    Log(QStringLiteral("iptemp:") + Utf8(text));
    Log(QStringLiteral("TCP_IP:") + address);
    if (address != ip) continue;
    if (IPEdit1->IPString() == ip) {
      ClearPanelNetFields(*this);
      Log(QStringLiteral("current tcp disconnect"));
      SelectedLink = 0;
    }
    Log(kDeleteNo + QString::number(r + 1) + kNth);
    Devices.Remove(r);
    break;
  }
}

void TForm1::ConnectionRemoved(int index) {
  Link->LinkRemoved(index);
  TransfersLinkRemoved();
  UpdateLinkLamp();
}

bool TForm1::ShownPanelLinked() const {
  // Emptied fields show no panel, whatever address they still report.
  // PanelIp is not asked: it keeps an address no connection may have now.
  return IPEdit1->ShowsAddress() && IdTCPServer1->IsOpen(SelectedLink) &&
         IdTCPServer1->PeerIp(SelectedLink) == IPEdit1->IPString();
}

// Lit (disabled) while the fields show the panel the commands go to.
void TForm1::UpdateLinkLamp() { QelBmpButton1->setEnabled(!ShownPanelLinked()); }

bool TForm1::MayCommandPanel(QWidget* parent, const char* noConnection) {
  if (ShownPanelLinked()) return true;
  const QString text = Utf8(IdTCPServer1->Count() == 0 ? noConnection : kShownPanelNotLinked);
  F.Warn(parent ? parent : this, Utf8(F.V.BoxCaption), text);
  return false;
}

void TForm1::CommandPanel(uint8_t command, QWidget* parent) {
  if (MayCommandPanel(parent)) Link->SendCommand(command, SelectedLink);
}

void TForm1::ListView3Click() {
  const int row = ListView3->Selected();
  if (row < 0) return;
  const std::string& text = Devices.Row(row);
  if (DeviceList::IsFullRow(text)) {
    const QStringList t = AddressTokens(Utf8(text));
    if (t.size() >= 1) {
      QelEdit8->setText(t[0]);
      IPEdit1->SetIPString(t[0]);
    }
    if (t.size() >= 2) IPEdit2->SetIPString(t[1]);
    if (t.size() >= 3) IPEdit3->SetIPString(t[2]);
    if (t.size() >= 4) {
      QelEdit1->setText(t[3]);
      QelEdit9->setText(t[3]);
    }
    UpdateLinkLamp();
    return;
  }
  const DeviceList::ShortRowParts parts = DeviceList::SplitShortRow(text);
  QelEdit8->setText(Utf8(parts.Ip));
  QelEdit9->setText(Utf8(parts.Port));
}

void TForm1::QelButton7Click() {
  Devices.Clear();
  ClearPanelNetFields(*this);
  Link->KnownLinkCount = 0;
  UpdateLinkLamp();
}

void TForm1::QelBitBtn1Click() { F.Form3->show(); }

void TForm1::QelBitBtn2Click() {
  const int row = ListView3->Selected();
  if (row < 0 || IdTCPServer1->Count() == 0) return;
  const QString ip = IPEdit1->IPString();
  for (int i = 0; i < IdTCPServer1->Count(); ++i)
    if (IdTCPServer1->PeerIp(i) == ip) {
      ClearPanelNetFields(*this);
      --Link->KnownLinkCount;
    }
  Devices.Remove(row);
  UpdateLinkLamp();
}

void TForm1::Reconnect1Click() {
  Link->Select(IPEdit1->IPString());
  UpdateLinkLamp();
}

void TForm1::IdTCPServer1Execute(int link, const QByteArray& message) {
  // Nothing the link handles may wait for the user.
  Forms::NonBlockingWarnings nonBlocking(F);
  LinkSink sink(*this, link);
  DispatchMessage(F.V, std::string_view(message.constData(), static_cast<size_t>(message.size())), sink);
}

void TForm1::LinkSink::Relay(const std::string& address, const std::string& bytes) {
  const QString ip = Utf8(address);
  LinkServer* server = w_.IdTCPServer1;
  for (int i = 0; i < server->Count(); ++i) {
    if (server->PeerIp(i) != ip) continue;
    // A failed write fails that connection after this walk.
    server->WriteRaw(i, bytes);
    w_.Log(QString::fromUtf8("TCPData\xEF\xBC\x9A ") + FromGbk(bytes));
  }
}

void TForm1::NetConfigAnswer(const NetSettings& s) {
  const DeviceList::NetMerge m =
      Devices.MergeNetSettings({.Ip = s.Ip, .Mask = s.Mask, .Gateway = s.Gateway, .Port = s.Port});
  if (m.NewDeviceRow) {
    // The panel fields show the first full row, whichever panel answered.
    const QStringList t = AddressTokens(Utf8(Devices.Row(m.Shown)));
    if (t.size() >= 1) {
      IPEdit1->SetIPString(t[0]);
      Link->PanelIp = IPEdit1->IPString();
    }
    if (t.size() >= 2) IPEdit2->SetIPString(t[1]);
    if (t.size() >= 3) IPEdit3->SetIPString(t[2]);
    if (t.size() >= 4) QelEdit1->setText(t[3]);
  }
  UpdateLinkLamp();
}

void TForm1::Timer1Timer() {
  if (DiscoveryTicks++ != 9) return;
  Link->LocalIp = Utf8(LocalAddressOf(F.Config));
  StatusBar1->SetPanelText(0, DateTimeText());
  StatusBar1->SetPanelText(3, Utf8(kLocalIp) + Link->LocalIp);
  Link->DiscoveryRun(Devices);
  DiscoveryTicks = 0;
}
