#pragma once
// The TCP server panels connect to. Connections form an ordered list on the
// GUI thread; a connection's index is its 0-based position. Writes are
// queued in order, one write per frame, never blocking.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/appconfig.h"
#include "link/framer.h"
#include "model/variant.h"

class QTcpServer;
class QTcpSocket;
class QTimer;

class LinkServer : public QObject {
  Q_OBJECT
 public:
  // Keep-alive set-up, replaceable so tests can make it fail. Each returns
  // false on failure.
  struct KeepAliveHooks {
    std::function<bool(QTcpSocket*)> Enable;    // SO_KEEPALIVE
    std::function<bool(QTcpSocket*)> SetTimes;  // idle 2 s, interval 1 s, bounded probes
  };
  static KeepAliveHooks SystemKeepAlive();

  LinkServer(const AppConfig& config, const Variant& v, QObject* parent = nullptr);
  ~LinkServer() override;

  // False, with the reason, when the server cannot listen.
  bool Listen(QString* error);
  bool IsListening() const;
  quint16 Port() const;  // the port listened on
  void Close();          // stops listening and drops every connection

  void SetKeepAliveHooks(KeepAliveHooks hooks) { hooks_ = std::move(hooks); }

  int Count() const { return static_cast<int>(links_.size()); }
  // Empty / 0 for an index that names no connection.
  QString PeerIp(int n) const;
  quint16 PeerPort(int n) const;
  bool IsOpen(int n) const;
  // A connection's number for its whole life (indices move when one leaves);
  // 0 names none.
  quint64 LinkId(int n) const;
  int IndexOfLink(quint64 id) const;

  // Writes the frame as a line (CR LF after it). False when n names no
  // connection or the write failed; a failed write runs the failure road of
  // that connection, at once when it met a reset.
  bool WriteLine(int n, const std::string& frame);
  // The bytes as they are, no CR LF.
  bool WriteRaw(int n, const std::string& bytes);

  // Ends connection n as failed (OnException, then OnDisconnect).
  void Fail(int n, const QString& reason);

 signals:
  void Connected(int index);
  // The peer closed: OnDisconnect only.
  void Disconnected(int index);
  // Any other socket error, a failed write or a failed keep-alive set-up;
  // Disconnected follows.
  void Failed(int index, const QString& reason);
  // After the handlers ran, the connection left the list.
  void Removed(int index);
  // One whole message, as the framer cut it. Messages are delivered one at
  // a time, in arrival order, even if a handler runs a nested event loop.
  void Message(int index, const QByteArray& message);
  void KeepAliveError(const QString& text);
  void Log(const QString& line);
  // A write went out on connection `index`.
  void Wrote(int index, qsizetype bytes);

 private:
  int IndexOf(const QTcpSocket* s) const;
  void Accept();
  void Closed(QTcpSocket* s, bool failed, const QString& reason);
  bool Write(int n, const std::string& bytes);
  void Read(QTcpSocket* s);
  void TimedOut(QTcpSocket* s);
  void Queue(quint64 id, std::vector<std::string> messages);
  void Deliver();

  AppConfig config_;
  const Variant& v_;
  QTcpServer* server_;
  struct Link {
    QTcpSocket* Socket;
    QString Ip;  // kept: a closed socket no longer reports its peer
    quint16 Port;
    quint64 Id;
    std::shared_ptr<MessageFramer> Framer;
    QTimer* Quiet;     // 50 ms after the last bytes: a message of no known length ends
    QTimer* Patience;  // a known message still short after a second is taken as it stands
  };
  std::vector<Link> links_;
  quint64 nextId_ = 1;
  struct Pending {
    quint64 Id;
    std::string Bytes;
  };
  std::deque<Pending> queue_;
  bool delivering_ = false;
  KeepAliveHooks hooks_;
};
