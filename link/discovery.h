#pragma once
// The discovery datagrams: once a second the broadcast " IP:address;" tells
// panels where the configurator listens; two listeners (on the local
// address, and on every address) take what arrives and discard it. Every
// bind and datagram passes netguard::Allow.
#include <QObject>
#include <QString>
#include <string>

#include "link/appconfig.h"

class QUdpSocket;

class Discovery : public QObject {
  Q_OBJECT
 public:
  // The configuration is read at each use: a test moves the broadcast port.
  explicit Discovery(const AppConfig& config, QObject* parent = nullptr);

  // Binds the listeners; a bind refused or failed is logged and the program goes on.
  void Start();
  void Stop();
  // Sends the datagram naming `localIp`; a refusal or a short send is logged.
  void Broadcast(const std::string& localIp);

 signals:
  void Log(const QString& line);

 private:
  const AppConfig& config_;
  QUdpSocket* IdUDPClient1;   // sends the broadcast
  QUdpSocket* IdUDPServer1;   // listens on the local address
  QUdpSocket* IdUDPServer1b;  // listens on every address
};
