#include "link/panellink.h"

#include <algorithm>

#include "link/discovery.h"
#include "link/protocol.h"
#include "link/server.h"
#include "model/devicelist.h"
#include "model/hex.h"
#include "model/texts.h"

namespace {

const QString kServerStarted = QString::fromUtf8(
    "\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8\xE5\xB7\xB2\xE5\x90\xAF\xE5\x8A\xA8\xEF\xBC\x81");  // 服务器已启动！

QString Text(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

PanelLink::PanelLink(const AppConfig& config, const Variant& v, QObject* parent)
    : QObject(parent),
      config_(config),
      v_(v),
      server_(new LinkServer(config, v, this)),
      discovery_(new Discovery(config, this)) {
  connect(server_, &LinkServer::Log, this, &PanelLink::Log);
  connect(discovery_, &Discovery::Log, this, &PanelLink::Log);
}

bool PanelLink::Start(QString* error) {
  const bool listening = Listen(error);
  if (listening) emit Log(kServerStarted);
  discovery_->Start();
  return listening;
}

bool PanelLink::Listen(QString* error) {
  QString why;
  if (server_->Listen(&why)) return true;
  emit Log(QStringLiteral("server not started: ") + why);
  if (error) *error = why;
  return false;
}

void PanelLink::Stop() {
  server_->Close();
  discovery_->Stop();
}

bool PanelLink::Select(const QString& ip) {
  emit Log(ip);
  bool found = false;
  for (int i = 0; i < server_->Count(); ++i) {
    const QString peer = server_->PeerIp(i);
    emit Log(peer);
    if (peer != ip) continue;
    found = true;
    SelectedLink = i;
    PanelIp = ip;
    emit Log(QStringLiteral("connect to ") + PanelIp + QStringLiteral("!"));
  }
  return found;
}

void PanelLink::LinkRemoved(int index) {
  if (index < SelectedLink)
    --SelectedLink;
  else if (index == SelectedLink)
    SelectedLink = 0;
}

void PanelLink::DiscoveryRun(const DeviceList& devices) {
  discovery_->Broadcast(LocalIp.toStdString());

  const int n = server_->Count();
  std::vector<quint64> present;
  for (int c = 0; c < n; ++c) present.push_back(server_->LinkId(c));
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
    emit Log(QStringLiteral("exit"));
    KnownLinkCount = n;
  }
  if (n == KnownLinkCount && !newcomer) return;
  emit Log(QStringLiteral("join"));
  for (int c = 0; c < n; ++c) {
    if (devices.HasFullRow(server_->PeerIp(c).toStdString())) continue;
    emit Log(QString::number(c));
    SendCommand(cmd::NetConfig, c);
  }
  KnownLinkCount = server_->Count();
  emit Log(QStringLiteral("===="));
}

void PanelLink::SendCommand(uint8_t command, int n) {
  if (server_->Count() == 0) return;
  const std::string frame = CommandFrame(command);
  emit Log(Text(BytesToSpacedHex(frame)));
  server_->WriteLine(n, frame);
}

void PanelLink::SendCommandData(uint8_t command, const std::string& data) {
  const std::string frame = CommandFrame(command, data);
  emit Log(QStringLiteral("SendData:") + Text(BytesToSpacedHex(frame)));
  server_->WriteLine(SelectedLink, frame);
}

bool PanelLink::SendSetIpFrame(const QString& ip, const QString& mask, const QString& gateway, const QString& port) {
  const SetIpFrame f = BuildSetIpFrame(ip.toStdString(), mask.toStdString(), gateway.toStdString(), port.toStdString());
  if (!f.Ok) {
    emit Warning(Text(kNotLegal));
    return false;
  }
  for (const std::string& g : f.Groups) emit Log(Text(g));
  server_->WriteLine(SelectedLink, f.Frame);
  return true;
}

bool PanelLink::SendSetMacFrame(const std::array<QString, 6>& fields) {
  std::array<std::string, 6> texts;
  for (size_t i = 0; i < 6; ++i) texts[i] = fields[i].toStdString();
  const SetMacFrame f = BuildSetMacFrame(texts);
  if (!f.Ok) {
    emit Warning(Text(kNotLegal));
    return false;
  }
  emit Log(QStringLiteral("Mac:") + Text(BytesToSpacedHex(f.Frame)));
  server_->WriteLine(SelectedLink, f.Frame);
  return true;
}

void PanelLink::EERomClear() {
  if (v_.EeromClearAsCommand21) {
    SendCommand(cmd::TransferClear, SelectedLink);
    return;
  }
  // The 9-key build sends the two characters "00" as a line, to connection 0.
  if (server_->Count() == 0) {
    emit Log(QStringLiteral("sd"));
    return;
  }
  if (!server_->WriteLine(0, "00")) emit Log(QStringLiteral("11"));
}
