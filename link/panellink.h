#pragma once
// The link as the program uses it: the server panels connect to, the
// connection commands go to, the command senders, and discovery (the
// broadcast, then the join/exit check that asks new panels for their
// settings). The main window owns one; the dialogs reach it through
// Forms::Link.
#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "link/appconfig.h"
#include "model/variant.h"

class DeviceList;
class Discovery;
class LinkServer;

class PanelLink : public QObject {
  Q_OBJECT
 public:
  // The configuration is kept by reference and read at each use.
  PanelLink(const AppConfig& config, const Variant& v, QObject* parent = nullptr);

  LinkServer* Server() const { return server_; }

  // Listens, then binds the discovery listeners. False, with the reason,
  // when the server cannot listen.
  bool Start(QString* error);
  // Listens; a failure is logged.
  bool Listen(QString* error = nullptr);
  // Stops listening, drops every connection and closes the listeners.
  void Stop();

  // The connection commands go to: a position in the server's list.
  int SelectedLink = 0;
  // The panel chosen by "Reconnect", or shown from a network-settings answer.
  QString PanelIp;
  // Connections counted at the end of the last join/exit check.
  int KnownLinkCount = 0;
  // The address the broadcast names.
  QString LocalIp;

  // "Reconnect": selects the connection from `ip` (the last, when several
  // are); false when none is.
  bool Select(const QString& ip);
  // Connection `index` left the server's list: SelectedLink names a panel,
  // not a position, so it moves down with its panel, and goes back to 0
  // when its own connection went.
  void LinkRemoved(int index);

  // Once a second: the broadcast, then the join/exit check. A connection
  // whose panel has no full row in `devices` is asked for its settings.
  void DiscoveryRun(const DeviceList& devices);

  // Nothing is sent (and nothing logged) without a connection.
  void SendCommand(uint8_t command, int n);
  void SendCommandData(uint8_t command, const std::string& data);
  // The dialogs' texts; false (after the warning "Data is not legal") when
  // nothing was sent.
  bool SendSetIpFrame(const QString& ip, const QString& mask, const QString& gateway, const QString& port);
  bool SendSetMacFrame(const std::array<QString, 6>& fields);
  void EERomClear();

 signals:
  void Log(const QString& line);
  // A text refused before anything was sent.
  void Warning(const QString& text);

 private:
  const AppConfig& config_;
  const Variant& v_;
  LinkServer* server_;
  Discovery* discovery_;
  std::vector<quint64> knownLinks_;  // connections present at the end of the last discovery run
};
