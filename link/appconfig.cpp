#include "link/appconfig.h"

#include <QCoreApplication>
#include <QNetworkInterface>

AppConfig MakeProgramConfig() {
  AppConfig c;
  c.ProgramDir = std::filesystem::path(QCoreApplication::applicationDirPath().toStdString());
  return c;
}

std::string DetectLocalAddress() {
  for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
    const auto flags = iface.flags();
    if (!(flags & QNetworkInterface::IsUp) || (flags & QNetworkInterface::IsLoopBack)) continue;
    for (const QNetworkAddressEntry& e : iface.addressEntries()) {
      const QHostAddress a = e.ip();
      if (a.protocol() == QAbstractSocket::IPv4Protocol && !a.isLoopback()) return a.toString().toStdString();
    }
  }
  return "127.0.0.1";
}

std::string LocalAddressOf(const AppConfig& c) {
  return c.LocalAddress.empty() ? DetectLocalAddress() : c.LocalAddress;
}
