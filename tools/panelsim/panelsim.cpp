#include "tools/panelsim/panelsim.h"

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QUdpSocket>
#include <algorithm>

#include "link/netguard.h"
#include "model/hex.h"

namespace panelsim {

namespace {

QByteArray ToBytes(std::string_view s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

std::string Printable(const QByteArray& b) {
  std::string s;
  for (char c : b) {
    if (c >= 0x20 && c < 0x7F)
      s += c;
    else
      s += '.';
  }
  return s;
}

}  // namespace

PanelSim::PanelSim(PanelSettings panel, LinkSettings link, Faults faults, QObject* parent)
    : QObject(parent), core_(std::move(panel), faults), link_(std::move(link)) {
  if (!link_.OnlyLoopbackInterfaces) link_.OnlyLoopbackInterfaces = netguard::OnlyLoopbackInterfaces;
  for (QTimer* t : {&flushTimer_, &writeTimer_, &holdTimer_}) t->setSingleShot(true);
  connect(&flushTimer_, &QTimer::timeout, this, [this] {
    Deliver(core_.Flush());
    AfterCore();
  });
  connect(&writeTimer_, &QTimer::timeout, this, &PanelSim::RunQueue);
  connect(&holdTimer_, &QTimer::timeout, this, [this] {
    ReleaseHeld();
    RunQueue();
  });
  clock_.start();
}

PanelSim::~PanelSim() {
  if (socket_) {
    socket_->disconnect(this);
    socket_->abort();
  }
}

QStringList PanelSim::Problems() const {
  QStringList out;
  for (const std::string& p : core_.Problems()) out << QString::fromStdString(p);
  return out;
}

bool PanelSim::Guard(const QHostAddress& a, const QString& what) {
  // Both checks run, so the shared guard counts what the simulator refuses.
  const bool shared = netguard::Allow(a);
  const bool own = a.protocol() == QAbstractSocket::IPv4Protocol && InLoopbackNet(a.toIPv4Address());
  if (shared && own) return true;
  Report(("refused to " + what + " " + a.toString() + ": outside 127.0.0.0/8").toStdString());
  return false;
}

void PanelSim::Report(const std::string& text) {
  core_.Note(text);
  ShowProblems();
}

void PanelSim::ShowProblems() {
  const auto& p = core_.Problems();
  for (; problemsShown_ < p.size(); ++problemsShown_) emit ProblemNoted(QString::fromStdString(p[problemsShown_]));
}

bool PanelSim::Listen() {
  if (udp_) return true;
  if (link_.ListenAddress.isNull()) return false;
  const auto mode = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;
  auto* udp = new QUdpSocket(this);
  bool ok = false;
  if (link_.ListenAddress == QHostAddress(QHostAddress::AnyIPv4)) {
    // Linux delivers the limited broadcast only to a wildcard bind, which
    // would also hear a real LAN: made only where loopback is all there is.
    if (!link_.OnlyLoopbackInterfaces()) {
      delete udp;
      Report("refused the wildcard bind 0.0.0.0:" + std::to_string(link_.ListenPort) +
             ": a network interface other than loopback is present (run through scripts/netns-run)");
      return false;
    }
    ok = udp->bind(QHostAddress(QHostAddress::AnyIPv4), link_.ListenPort, mode);
  } else {
    if (!Guard(link_.ListenAddress, QStringLiteral("bind"))) {
      delete udp;
      return false;
    }
    ok = udp->bind(link_.ListenAddress, link_.ListenPort, mode);
  }
  if (!ok) {
    Report("discovery bind " + link_.ListenAddress.toString().toStdString() + ":" + std::to_string(link_.ListenPort) +
           " failed: " + udp->errorString().toStdString());
    delete udp;
    return false;
  }
  udp_ = udp;
  connect(udp_, &QUdpSocket::readyRead, this, &PanelSim::ReadDatagrams);
  return true;
}

quint16 PanelSim::ListenPort() const { return udp_ ? udp_->localPort() : 0; }

void PanelSim::ReadDatagrams() {
  while (udp_->hasPendingDatagrams()) {
    const QByteArray text = udp_->receiveDatagram().data();
    const auto address = DiscoveryAddress(std::string_view(text.constData(), static_cast<size_t>(text.size())));
    if (!address) {
      Report("ignored datagram \"" + Printable(text) + "\": not \" IP:a.b.c.d;\" naming 127.0.0.0/8");
      continue;
    }
    if (socket_ || droppedByFault_) continue;  // one link at a time
    Open(QHostAddress(*address));
  }
}

bool PanelSim::ConnectTo(const QHostAddress& configurator) {
  droppedByFault_ = false;
  return Open(configurator);
}

bool PanelSim::Open(const QHostAddress& to) {
  if (socket_) {
    Report("already linked: connect ignored");
    return false;
  }
  if (!Guard(link_.Source, QStringLiteral("bind")) || !Guard(to, QStringLiteral("connect to"))) return false;
  auto* s = new QTcpSocket(this);
  if (!s->bind(link_.Source, link_.SourcePort, QAbstractSocket::ReuseAddressHint)) {
    Report("source bind " + link_.Source.toString().toStdString() + ":" + std::to_string(link_.SourcePort) +
           " failed: " + s->errorString().toStdString());
    delete s;
    return false;
  }
  socket_ = s;
  connect(s, &QTcpSocket::connected, this, &PanelSim::OnConnected);
  connect(s, &QTcpSocket::readyRead, this, &PanelSim::OnReadyRead);
  connect(s, &QTcpSocket::disconnected, this, &PanelSim::EndLink);
  connect(s, &QTcpSocket::errorOccurred, this, [this, s](QAbstractSocket::SocketError e) {
    if (e != QAbstractSocket::RemoteHostClosedError) Report("link: " + s->errorString().toStdString());
    if (s->state() == QAbstractSocket::UnconnectedState) EndLink();
  });
  s->connectToHost(to, link_.ConfiguratorPort);
  return true;
}

bool PanelSim::IsConnected() const { return socket_ && socket_->state() == QAbstractSocket::ConnectedState; }

void PanelSim::Disconnect() {
  if (socket_) socket_->disconnectFromHost();
}

void PanelSim::OnConnected() {
  socket_->setSocketOption(QAbstractSocket::LowDelayOption, 1);
  core_.StartLink(socket_->localAddress().toIPv4Address(), socket_->localPort());
  linked_ = true;
  emit LinkUp();
}

void PanelSim::OnReadyRead() {
  if (!socket_) return;
  const QByteArray data = socket_->readAll();
  auto answers = core_.Feed(std::string_view(data.constData(), static_cast<size_t>(data.size())));
  ShowFrames();  // what arrived is told before what it brings back
  Deliver(std::move(answers));
  AfterCore();
}

void PanelSim::ShowFrames() {
  const auto& frames = core_.Received();
  framesShown_ = std::min(framesShown_, frames.size());
  for (; framesShown_ < frames.size(); ++framesShown_) emit FrameArrived(ToBytes(frames[framesShown_].Bytes));
}

void PanelSim::AfterCore() {
  ShowFrames();
  ShowProblems();
  switch (core_.Pending()) {
    case CommandFramer::Waiting::Raw:
      flushTimer_.start(50);  // relayed bytes: taken as they stand once the line is quiet
      break;
    case CommandFramer::Waiting::Unfinished: flushTimer_.start(1000); break;
    case CommandFramer::Waiting::Nothing: flushTimer_.stop(); break;
  }
}

void PanelSim::EndLink() {
  if (!socket_) return;
  QTcpSocket* s = socket_;
  socket_ = nullptr;
  s->disconnect(this);
  s->deleteLater();
  queue_.clear();
  lastDue_ = 0;
  held_.clear();
  heldClose_ = false;
  for (QTimer* t : {&flushTimer_, &writeTimer_, &holdTimer_}) t->stop();
  Deliver(core_.Flush());  // what was held is recorded, not lost
  AfterCore();
  if (linked_) {
    linked_ = false;
    emit LinkDown();
  }
}

void PanelSim::Deliver(std::vector<Answer> answers) {
  for (Answer& a : answers) {
    const qint64 due = clock_.elapsed() + core_.CurrentFaults().DelayMs;
    if (a.Silent) {
      if (a.DropAfter) {
        ReleaseHeld();
        Enqueue({}, due, true);
      }
      continue;
    }
    QByteArray bytes = held_ + ToBytes(a.Bytes);
    const bool close = heldClose_ || a.DropAfter;
    held_.clear();
    heldClose_ = false;
    holdTimer_.stop();
    if (a.Join) {
      held_ = bytes;
      heldClose_ = close;
      holdTimer_.start(link_.JoinHoldMs);
      continue;
    }
    if (a.Split && bytes.size() > 1) {
      const qsizetype half = bytes.size() / 2;
      Enqueue(bytes.left(half), due, false);
      Enqueue(bytes.mid(half), due + link_.SplitGapMs, close);
    } else {
      Enqueue(bytes, due, close);
    }
  }
  RunQueue();
}

void PanelSim::ReleaseHeld() {
  if (held_.isEmpty()) return;
  holdTimer_.stop();
  Enqueue(held_, clock_.elapsed() + core_.CurrentFaults().DelayMs, heldClose_);
  held_.clear();
  heldClose_ = false;
}

void PanelSim::Enqueue(QByteArray bytes, qint64 due, bool close) {
  // Never before what is already queued: answers leave in order.
  due = std::max(due, lastDue_);
  lastDue_ = due;
  queue_.push_back({due, std::move(bytes), close});
}

void PanelSim::RunQueue() {
  while (!queue_.empty() && queue_.front().Due <= clock_.elapsed()) {
    const Out o = queue_.front();
    queue_.pop_front();
    QTcpSocket* s = socket_;
    if (!s || s->state() != QAbstractSocket::ConnectedState) {
      queue_.clear();
      return;
    }
    if (!o.Bytes.isEmpty()) {
      // One write per answer, pushed out at once so that two answers do
      // not share a segment unless a fault says so.
      s->write(o.Bytes);
      s->flush();
      emit Wrote(o.Bytes);
    }
    if (o.Close) {
      droppedByFault_ = true;
      queue_.clear();
      s->disconnectFromHost();
      return;
    }
  }
  if (!queue_.empty()) writeTimer_.start(static_cast<int>(std::max<qint64>(0, queue_.front().Due - clock_.elapsed())));
}

bool PanelSim::SendRaw(std::string_view bytes) {
  if (!IsConnected()) {
    Report("not linked: nothing sent");
    return false;
  }
  Enqueue(ToBytes(bytes), clock_.elapsed(), false);
  RunQueue();
  return true;
}

bool PanelSim::SendRelay(const QHostAddress& destination, quint16 port, std::string_view data, int lengthDelta) {
  if (!Guard(destination, QStringLiteral("relay to"))) return false;
  return SendRaw(RelayFrame(destination.toIPv4Address(), port, data, lengthDelta));
}

}  // namespace panelsim
