#pragma once
// A simulated panel on loopback: it hears the configurator's discovery
// datagram, connects to its TCP server from a chosen source address and
// port, and answers through PanelCore. Qt Network on the calling thread's
// event loop; no threads.
//
// It never binds, connects or sends to an address outside 127.0.0.0/8:
// every such attempt goes through netguard::Allow and the simulator's own
// check, and is refused and reported. The one wildcard bind (0.0.0.0, to
// hear the limited broadcast) is made only when every interface is loopback.
#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTcpSocket>
#include <QTimer>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "tools/panelsim/panelcore.h"

class QUdpSocket;

namespace panelsim {

struct LinkSettings {
  QHostAddress Source{QStringLiteral("127.0.0.2")};  // the panel's own end
  quint16 SourcePort = 4001;                         // 0: any free port
  quint16 ConfiguratorPort = 3000;
  // Where the discovery datagram is heard. 0.0.0.0 is the wildcard bind
  // with SO_REUSEADDR; a null address: not at all.
  QHostAddress ListenAddress{QHostAddress::AnyIPv4};
  quint16 ListenPort = 3000;  // 0: any free port (ListenPort() tells which)
  int JoinHoldMs = 500;       // how long a joined answer waits for the next one
  int SplitGapMs = 100;
  // Replaceable so a test can see the wildcard bind refused.
  std::function<bool()> OnlyLoopbackInterfaces;
};

class PanelSim : public QObject {
  Q_OBJECT

 public:
  PanelSim(PanelSettings panel, LinkSettings link, Faults faults = {}, QObject* parent = nullptr);
  ~PanelSim() override;

  // Binds the discovery socket; false (and a problem noted) when refused or
  // the bind failed.
  bool Listen();
  quint16 ListenPort() const;

  // Connects to the configurator at once, without waiting for a datagram.
  bool ConnectTo(const QHostAddress& configurator);
  bool IsConnected() const;
  bool IsLinking() const { return socket_ != nullptr; }
  void Disconnect();

  // Unasked messages: a relay frame (F5 30) naming a loopback destination,
  // or any bytes. Written at once, in order with the answers.
  bool SendRelay(const QHostAddress& destination, quint16 port, std::string_view data, int lengthDelta = 0);
  bool SendRaw(std::string_view bytes);

  PanelCore& Core() { return core_; }
  const PanelCore& Core() const { return core_; }
  void SetFaults(const Faults& f) { core_.SetFaults(f); }
  QStringList Problems() const;

 signals:
  void LinkUp();
  void LinkDown();
  void FrameArrived(const QByteArray& bytes);
  void Wrote(const QByteArray& bytes);
  void ProblemNoted(const QString& text);

 private:
  struct Out {
    qint64 Due = 0;
    QByteArray Bytes;
    bool Close = false;
  };

  bool Guard(const QHostAddress& address, const QString& what);
  void Report(const std::string& text);
  void ShowProblems();
  void ShowFrames();
  void ReadDatagrams();
  bool Open(const QHostAddress& to);
  void OnConnected();
  void OnReadyRead();
  void AfterCore();
  void EndLink();
  void Deliver(std::vector<Answer> answers);
  void Enqueue(QByteArray bytes, qint64 due, bool close);
  void ReleaseHeld();
  void RunQueue();

  PanelCore core_;
  LinkSettings link_;
  QUdpSocket* udp_ = nullptr;
  QPointer<QTcpSocket> socket_;
  bool linked_ = false;
  bool droppedByFault_ = false;  // a fault's drop stays down until ConnectTo
  size_t framesShown_ = 0;
  size_t problemsShown_ = 0;
  QTimer flushTimer_;
  QTimer writeTimer_;
  QTimer holdTimer_;
  QElapsedTimer clock_;
  std::deque<Out> queue_;
  qint64 lastDue_ = 0;
  QByteArray held_;
  bool heldClose_ = false;
};

}  // namespace panelsim
