#include "link/netguard.h"

#include <QNetworkInterface>
#include <atomic>

namespace {
std::atomic<bool> loopbackOnly{false};
std::atomic<int> refused{0};
}  // namespace

namespace netguard {

void SetLoopbackOnly(bool on) { loopbackOnly = on; }
bool LoopbackOnly() { return loopbackOnly; }

bool Allow(const QHostAddress& address) {
  if (!loopbackOnly) return true;
  const bool ok = address.protocol() == QAbstractSocket::IPv4Protocol && (address.toIPv4Address() >> 24) == 127;
  if (!ok) ++refused;
  return ok;
}

bool Allow(const QString& address) { return Allow(QHostAddress(address)); }

int RefusedCount() { return refused; }
void ResetRefusedCount() { refused = 0; }

bool OnlyLoopbackInterfaces() {
  for (const QNetworkInterface& i : QNetworkInterface::allInterfaces())
    if (!(i.flags() & QNetworkInterface::IsLoopBack)) return false;
  return true;
}

}  // namespace netguard
