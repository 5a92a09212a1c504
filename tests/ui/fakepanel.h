#pragma once
// A panel's end of a connection: a client socket from a chosen loopback
// source address, recording what the configurator writes.
#include <QHostAddress>
#include <QTcpSocket>
#include <gtest/gtest.h>
#include <string>

#include "link/netguard.h"

struct FakePanel {
  FakePanel(const QString& source, quint16 serverPort) {
    EXPECT_TRUE(netguard::Allow(source));
    socket.bind(QHostAddress(source), 0);
    socket.connectToHost(QHostAddress::LocalHost, serverPort);
    QObject::connect(&socket, &QTcpSocket::readyRead, [this] { received += socket.readAll(); });
    EXPECT_TRUE(socket.waitForConnected(2000));
  }
  quint16 Port() const { return socket.localPort(); }
  std::string Received() const { return std::string(received.constData(), static_cast<size_t>(received.size())); }
  QTcpSocket socket;
  QByteArray received;
};
