#include "link/server.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include "link/netguard.h"
#include "model/texts.h"

LinkServer::KeepAliveHooks LinkServer::SystemKeepAlive() {
  KeepAliveHooks h;
  h.Enable = [](QTcpSocket* s) {
    s->setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    return s->socketOption(QAbstractSocket::KeepAliveOption).toInt() == 1;
  };
  h.SetTimes = [](QTcpSocket* s) {
    const int fd = static_cast<int>(s->socketDescriptor());
    if (fd < 0) return false;
    // Linux counts whole seconds: probe after 2 s idle, then every second, 5 times.
    const int idle = 2, interval = 1, count = 5;
    return setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle) == 0 &&
           setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval) == 0 &&
           setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count) == 0;
  };
  return h;
}

namespace {

// What Qt takes from the kernel for one connection before it is read: a
// panel that floods the link then waits in TCP's own flow control, and one
// read never holds up the loop for long.
constexpr qint64 kReadBuffer = 16 * 1024;

}  // namespace

LinkServer::LinkServer(const AppConfig& config, const Variant& v, QObject* parent)
    : QObject(parent), config_(config), v_(v), server_(new QTcpServer(this)), hooks_(SystemKeepAlive()) {
  // Qt's own queue and the kernel's: panels answering one broadcast connect
  // within milliseconds, and past the kernel's default of 50 some are never accepted.
  server_->setMaxPendingConnections(config_.TcpBacklog);
  server_->setListenBacklogSize(config_.TcpBacklog);
  connect(server_, &QTcpServer::newConnection, this, &LinkServer::Accept);
}

LinkServer::~LinkServer() { Close(); }

bool LinkServer::Listen(QString* error) {
  const QHostAddress address(QString::fromStdString(config_.ListenAddress));
  if (address.protocol() != QAbstractSocket::IPv4Protocol || !netguard::Allow(address)) {
    if (error) *error = QStringLiteral("address refused: ") + address.toString();
    return false;
  }
  // IPv4 only: dual-stack peers would show as "::ffff:a.b.c.d".
  if (!server_->listen(address, config_.TcpPort)) {
    if (error) *error = server_->errorString();
    return false;
  }
  return true;
}

bool LinkServer::IsListening() const { return server_->isListening(); }
quint16 LinkServer::Port() const { return server_->serverPort(); }

void LinkServer::Close() {
  server_->close();
  const std::vector<Link> links = std::move(links_);
  links_.clear();
  queue_.clear();
  for (const Link& l : links) {
    l.Socket->disconnect(this);
    l.Socket->abort();
    l.Socket->deleteLater();
    delete l.Quiet;
    delete l.Patience;
  }
}

QString LinkServer::PeerIp(int n) const { return n >= 0 && n < Count() ? links_[n].Ip : QString(); }

quint16 LinkServer::PeerPort(int n) const { return n >= 0 && n < Count() ? links_[n].Port : 0; }

bool LinkServer::IsOpen(int n) const {
  return n >= 0 && n < Count() && links_[n].Socket->state() == QAbstractSocket::ConnectedState;
}

quint64 LinkServer::LinkId(int n) const { return n >= 0 && n < Count() ? links_[n].Id : 0; }

int LinkServer::IndexOfLink(quint64 id) const {
  for (int i = 0; i < Count(); ++i)
    if (links_[i].Id == id) return i;
  return -1;
}

int LinkServer::IndexOf(const QTcpSocket* s) const {
  for (int i = 0; i < Count(); ++i)
    if (links_[i].Socket == s) return i;
  return -1;
}

void LinkServer::Accept() {
  while (QTcpSocket* s = server_->nextPendingConnection()) {
    // Reset before it was taken: no peer to show, answer or remove later.
    if (s->state() != QAbstractSocket::ConnectedState || s->peerAddress().isNull() || s->peerPort() == 0) {
      emit Log(QStringLiteral("connection gone before it was accepted"));
      s->abort();
      s->deleteLater();
      continue;
    }
    if (!netguard::Allow(s->peerAddress())) {
      emit Log(QStringLiteral("refused connection from ") + s->peerAddress().toString());
      s->abort();
      s->deleteLater();
      continue;
    }
    auto* quiet = new QTimer(this);
    auto* patience = new QTimer(this);
    for (QTimer* t : {quiet, patience}) {
      t->setSingleShot(true);
      connect(t, &QTimer::timeout, this, [this, s] { TimedOut(s); });
    }
    quiet->setInterval(config_.QuietMs);
    patience->setInterval(config_.PatienceMs);
    links_.push_back({s, s->peerAddress().toString(), s->peerPort(), nextId_++, std::make_shared<MessageFramer>(v_),
                      quiet, patience});
    const int index = Count() - 1;
    s->setReadBufferSize(kReadBuffer);
    connect(s, &QTcpSocket::readyRead, this, [this, s] { Read(s); });
    connect(s, &QTcpSocket::disconnected, this, [this, s] {
      // What the panel sent before it closed is still handled.
      Read(s);
      TimedOut(s);
      Closed(s, false, QString());
    });
    connect(s, &QTcpSocket::errorOccurred, this, [this, s](QAbstractSocket::SocketError e) {
      // Qt cannot tell a reset from a close: the peer closing is a normal end.
      if (e == QAbstractSocket::RemoteHostClosedError) return;
      Closed(s, true, s->errorString());
    });
    emit Connected(index);
    if (IndexOf(s) < 0) continue;  // a handler already dropped it
    if (!hooks_.Enable || !hooks_.Enable(s)) emit KeepAliveError(QString::fromUtf8(kKeepAliveNotSet));
    if (!hooks_.SetTimes || !hooks_.SetTimes(s)) {
      emit KeepAliveError(QString::fromUtf8(kKeepAliveNotTuned));
      Fail(IndexOf(s), QStringLiteral("keep-alive set-up failed"));
    }
  }
}

void LinkServer::Read(QTcpSocket* s) {
  const int i = IndexOf(s);
  if (i < 0) return;
  Link& l = links_[i];
  // A socket Qt closed itself (a write that met a reset) has nothing left to read.
  const QByteArray bytes = s->isOpen() ? s->readAll() : QByteArray();
  const size_t droppedBefore = l.Framer->Dropped();
  std::vector<std::string> messages = l.Framer->Feed(std::string_view(bytes.constData(), bytes.size()));
  if (l.Framer->Dropped() != droppedBefore)
    emit Log(QStringLiteral("receive buffer full: %1 bytes dropped").arg(l.Framer->Dropped() - droppedBefore));
  switch (l.Framer->Pending()) {
    case MessageFramer::Waiting::Nothing:
      l.Quiet->stop();
      l.Patience->stop();
      break;
    case MessageFramer::Waiting::Quiet:
      l.Patience->stop();
      l.Quiet->start();
      break;
    case MessageFramer::Waiting::Unfinished:
      l.Quiet->stop();
      // Counted from the first bytes of the message, not the latest.
      if (!messages.empty() || !l.Patience->isActive()) l.Patience->start();
      break;
  }
  Queue(l.Id, std::move(messages));
}

void LinkServer::TimedOut(QTcpSocket* s) {
  const int i = IndexOf(s);
  if (i < 0) return;
  Link& l = links_[i];
  l.Quiet->stop();
  l.Patience->stop();
  if (l.Framer->Pending() == MessageFramer::Waiting::Nothing) return;
  std::vector<std::string> messages;
  messages.push_back(l.Framer->Flush());
  Queue(l.Id, std::move(messages));
}

void LinkServer::Queue(quint64 id, std::vector<std::string> messages) {
  for (std::string& m : messages) queue_.push_back({id, std::move(m)});
  Deliver();
}

void LinkServer::Deliver() {
  // A handler that opens a nested event loop must not see the next message
  // before it has finished with this one.
  if (delivering_) return;
  delivering_ = true;
  while (!queue_.empty()) {
    const Pending p = std::move(queue_.front());
    queue_.pop_front();
    const int i = IndexOfLink(p.Id);
    if (i < 0) continue;  // the connection left meanwhile
    emit Message(i, QByteArray(p.Bytes.data(), static_cast<qsizetype>(p.Bytes.size())));
  }
  delivering_ = false;
}

bool LinkServer::WriteLine(int n, const std::string& frame) { return Write(n, frame + "\r\n"); }

bool LinkServer::WriteRaw(int n, const std::string& bytes) { return Write(n, bytes); }

bool LinkServer::Write(int n, const std::string& line) {
  if (n < 0 || n >= Count()) return false;
  QTcpSocket* s = links_[n].Socket;
  const qint64 written =
      s->state() == QAbstractSocket::ConnectedState ? s->write(line.data(), static_cast<qint64>(line.size())) : -1;
  if (written != static_cast<qint64>(line.size())) {
    // Failing here would change the list under the caller; do it next.
    QTimer::singleShot(0, this, [this, s] {
      if (IndexOf(s) >= 0) Closed(s, true, QStringLiteral("write failed"));
    });
    return false;
  }
  // Out now, not after the handler returns: the transfers time their frames
  // from the write.
  s->flush();
  // A write that meets a reset closes the socket inside flush(), and the
  // connection has left the list by now.
  if (IndexOf(s) < 0) return false;
  emit Wrote(n, static_cast<qsizetype>(line.size()));
  return true;
}

void LinkServer::Fail(int n, const QString& reason) {
  if (n < 0 || n >= Count()) return;
  Closed(links_[n].Socket, true, reason);
}

void LinkServer::Closed(QTcpSocket* s, bool failed, const QString& reason) {
  const int i = IndexOf(s);
  if (i < 0) return;
  // Out of the list first, so a socket signal during the handlers cannot run them twice;
  // the handlers still see the connection at its index through the saved peer.
  s->disconnect(this);
  if (failed) emit Failed(i, reason);
  emit Disconnected(i);
  const Link gone = links_[i];
  links_.erase(links_.begin() + i);
  emit Removed(i);
  s->abort();
  s->deleteLater();
  gone.Quiet->deleteLater();
  gone.Patience->deleteLater();
}
