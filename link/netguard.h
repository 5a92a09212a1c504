#pragma once
// The one address check every bind, connect and datagram of the link and
// the simulated panel goes through. Under a test configuration only
// 127.0.0.0/8 passes (255.255.255.255 included in what is refused), and
// each refusal is counted so a test can fail on it.
#include <QHostAddress>
#include <QString>

namespace netguard {

void SetLoopbackOnly(bool on);
bool LoopbackOnly();

// True when traffic to or from the address may go ahead.
bool Allow(const QHostAddress& address);
bool Allow(const QString& address);

int RefusedCount();
void ResetRefusedCount();

// True when every network interface this process sees is loopback: the
// case inside the project's private namespace (scripts/netns-run).
bool OnlyLoopbackInterfaces();

}  // namespace netguard
