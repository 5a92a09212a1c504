#include "link/discovery.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include "link/netguard.h"
#include "link/protocol.h"

namespace {

const QString kBroadcastFailed = QString::fromUtf8("IdUDPClient1.Broadcast \xE5\xBC\x82\xE5\xB8\xB8");  // 异常

}  // namespace

Discovery::Discovery(const AppConfig& config, QObject* parent)
    : QObject(parent),
      config_(config),
      IdUDPClient1(new QUdpSocket(this)),
      IdUDPServer1(new QUdpSocket(this)),
      IdUDPServer1b(new QUdpSocket(this)) {}

void Discovery::Start() {
  const struct {
    QUdpSocket* Socket;
    QHostAddress Address;
    quint16 Port;
  } binds[] = {
      {IdUDPServer1, QHostAddress(QString::fromStdString(LocalAddressOf(config_))), config_.UdpListenPort},
      {IdUDPServer1b, QHostAddress(QString::fromStdString(config_.UdpListenAddress2)), config_.UdpListenPort2}};
  for (const auto& b : binds) {
    if (!netguard::Allow(b.Address) || !b.Socket->bind(b.Address, b.Port))
      emit Log(QStringLiteral("UDP bind failed: %1:%2").arg(b.Address.toString()).arg(b.Port));
    connect(b.Socket, &QUdpSocket::readyRead, b.Socket, [s = b.Socket] {
      while (s->hasPendingDatagrams()) s->receiveDatagram();
    });
  }
}

void Discovery::Stop() {
  IdUDPServer1->close();
  IdUDPServer1b->close();
}

void Discovery::Broadcast(const std::string& localIp) {
  const std::string datagram = DiscoveryDatagram(localIp);
  const QHostAddress target(QString::fromStdString(config_.BroadcastTarget));
  if (!netguard::Allow(target) ||
      IdUDPClient1->writeDatagram(datagram.data(), static_cast<qint64>(datagram.size()), target,
                                  config_.BroadcastPort) != static_cast<qint64>(datagram.size()))
    emit Log(kBroadcastFailed);
}
