// panelsim: the simulated panel as a program, for runs beside the
// configurator inside scripts/netns-run. Prints what it receives ("<-"),
// what it writes ("->") and what it refuses ("!!"). Lines on standard input:
//   relay ADDR PORT HEX    a relay frame naming ADDR:PORT with the data HEX
//   raw HEX                any bytes (hex, blanks allowed)
//   quit
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "link/netguard.h"
#include "model/hex.h"
#include "tools/panelsim/panelsim.h"

using namespace panelsim;

namespace {

bool ParseEndpoint(const QString& text, QHostAddress* address, quint16* port) {
  const qsizetype colon = text.lastIndexOf(':');
  if (colon < 0) return false;
  bool ok = false;
  const uint p = text.mid(colon + 1).toUInt(&ok);
  if (!ok || p > 65535) return false;
  const auto a = ParseDotted(text.left(colon).toStdString());
  if (!a) return false;
  *address = QHostAddress(*a);
  *port = static_cast<quint16>(p);
  return true;
}

std::string HexText(const QString& text) {
  std::string digits;
  for (QChar c : text)
    if (!c.isSpace()) digits += static_cast<char>(c.toLatin1());
  return HexToBytes(digits).Bytes;
}

void Print(const char* tag, const std::string& text) {
  std::printf("%s %s\n", tag, text.c_str());
  std::fflush(stdout);
}

[[noreturn]] void Usage(const QString& why) {
  std::fprintf(stderr, "panelsim: %s\n", qPrintable(why));
  std::exit(2);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName("panelsim");
  // Whatever the options say, nothing leaves loopback.
  netguard::SetLoopbackOnly(true);

  QCommandLineParser p;
  p.setApplicationDescription("Simulated wall-plate panel on loopback.");
  p.addHelpOption();
  const QCommandLineOption variant("variant", "vantor (9-key) or quillet (6-key).", "name", "vantor");
  const QCommandLineOption port("port", "The configurator's TCP port.", "port", "3000");
  const QCommandLineOption listen(
      "listen", "Where the discovery datagram is heard (0.0.0.0: wildcard, only when every interface is loopback).",
      "addr:port", "0.0.0.0:3000");
  const QCommandLineOption noListen("no-listen", "Do not listen for discovery.");
  const QCommandLineOption source("source", "The panel's own loopback address and port.", "addr:port",
                                  "127.0.0.2:4001");
  const QCommandLineOption connectNow("connect-now", "Connect at once, without waiting for a datagram.");
  const QCommandLineOption configurator("configurator", "Address for --connect-now.", "addr", "127.0.0.1");
  const QCommandLineOption ir("ir", "Answer to IR learn: code:HEX, refuse or long-press.", "reply",
                              "code:0123456789AB");
  const QCommandLineOption refuseEvent("refuse-event", "Refuse the k-th event frame of each download.", "k");
  const QCommandLineOption refuseClear("refuse-clear", "Refuse the clear (F5 21 00).");
  const QCommandLineOption refuseClosing("refuse-closing", "Refuse the closing frame (F5 1F 00).");
  const QString stepHelp = " STEP: answer:K, download:K or upload:K (K from 1, or all).";
  const QCommandLineOption silentAt("silent-at", "Do not answer at STEP." + stepHelp, "step");
  const QCommandLineOption splitAt("split-at", "Write the answer at STEP in two writes 100 ms apart.", "step");
  const QCommandLineOption joinAt("join-at", "Write the answer at STEP together with the next one.", "step");
  const QCommandLineOption corruptAt("corrupt-crc-at", "Invert the last CRC byte of the record at STEP.", "step");
  const QCommandLineOption lieAt("lie-at", "Make the length field of the answer at STEP lie.", "step");
  const QCommandLineOption lieBy("lie-by", "How far the lying length field is off.", "n", "1");
  const QCommandLineOption dropAfter("drop-after", "Close the connection after the answer at STEP.", "step");
  const QCommandLineOption delay("delay", "Write every answer this many ms late.", "ms", "0");
  const QCommandLineOption quiet("quiet", "Print only problems.");
  for (const auto* o : {&variant,   &port,        &listen,      &noListen,      &source,   &connectNow, &configurator,
                        &ir,        &refuseEvent, &refuseClear, &refuseClosing, &silentAt, &splitAt,    &joinAt,
                        &corruptAt, &lieAt,       &lieBy,       &dropAfter,     &delay,    &quiet})
    p.addOption(*o);
  p.process(app);

  PanelSettings panel;
  const QString v = p.value(variant).toLower();
  if (v == "vantor")
    panel.Model = &kVantor;
  else if (v == "quillet")
    panel.Model = &kQuillet;
  else
    Usage("--variant is vantor or quillet");

  const QString irReply = p.value(ir);
  if (irReply == "refuse")
    panel.Ir = IrLearnReply::Refuse;
  else if (irReply == "long-press")
    panel.Ir = IrLearnReply::LongPress;
  else if (irReply.startsWith("code:"))
    panel.IrCode = HexText(irReply.mid(5));
  else
    Usage("--ir is code:HEX, refuse or long-press");

  LinkSettings link;
  bool ok = false;
  const uint tcpPort = p.value(port).toUInt(&ok);
  if (!ok || tcpPort == 0 || tcpPort > 65535) Usage("--port is 1..65535");
  link.ConfiguratorPort = static_cast<quint16>(tcpPort);
  if (!ParseEndpoint(p.value(source), &link.Source, &link.SourcePort)) Usage("--source is a.b.c.d:port");
  if (p.isSet(noListen))
    link.ListenAddress = QHostAddress();
  else if (!ParseEndpoint(p.value(listen), &link.ListenAddress, &link.ListenPort))
    Usage("--listen is a.b.c.d:port");

  Faults faults;
  auto step = [&](const QCommandLineOption& o, StepSel* out) {
    if (!p.isSet(o)) return;
    const auto s = ParseStep(p.value(o).toStdString());
    if (!s) Usage("--" + o.names().first() + " is answer:K, download:K or upload:K (K from 1, or all)");
    *out = *s;
  };
  step(silentAt, &faults.SilentAt);
  step(splitAt, &faults.SplitAt);
  step(joinAt, &faults.JoinAt);
  step(corruptAt, &faults.CorruptCrcAt);
  step(lieAt, &faults.LieAt);
  step(dropAfter, &faults.DropAfter);
  faults.RefuseEvent = p.value(refuseEvent).toInt();
  faults.RefuseClear = p.isSet(refuseClear);
  faults.RefuseClosing = p.isSet(refuseClosing);
  faults.LieBy = p.value(lieBy).toInt();
  faults.DelayMs = std::max(0, p.value(delay).toInt());

  PanelSim sim(panel, link, faults);
  const bool verbose = !p.isSet(quiet);
  QObject::connect(&sim, &PanelSim::ProblemNoted, [](const QString& t) { Print("!!", t.toStdString()); });
  if (verbose) {
    QObject::connect(&sim, &PanelSim::FrameArrived, [](const QByteArray& b) {
      Print("<-", BytesToSpacedHex(std::string_view(b.constData(), static_cast<size_t>(b.size()))));
    });
    QObject::connect(&sim, &PanelSim::Wrote, [](const QByteArray& b) {
      Print("->", BytesToSpacedHex(std::string_view(b.constData(), static_cast<size_t>(b.size()))));
    });
    QObject::connect(&sim, &PanelSim::LinkUp, [] { Print("==", "linked"); });
    QObject::connect(&sim, &PanelSim::LinkDown, [] { Print("==", "link closed"); });
  }

  const bool listening = sim.Listen();
  if (!listening && !p.isSet(connectNow) && !p.isSet(noListen)) {
    std::fprintf(stderr, "panelsim: cannot hear the discovery datagram; nothing to do\n");
    return 1;
  }
  if (listening && verbose) Print("==", "listening on port " + std::to_string(sim.ListenPort()));
  if (p.isSet(connectNow)) {
    const auto a = ParseDotted(p.value(configurator).toStdString());
    if (!a) Usage("--configurator is a.b.c.d");
    if (!sim.ConnectTo(QHostAddress(*a)) && !listening) return 1;
  }

  QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
  std::string pending;
  QObject::connect(&input, &QSocketNotifier::activated, [&] {
    char buf[4096];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
      input.setEnabled(false);  // end of input: go on answering
      return;
    }
    pending.append(buf, static_cast<size_t>(n));
    for (size_t nl; (nl = pending.find('\n')) != std::string::npos;) {
      const QStringList w = QString::fromStdString(pending.substr(0, nl)).split(' ', Qt::SkipEmptyParts);
      pending.erase(0, nl + 1);
      if (w.isEmpty()) continue;
      if (w[0] == "quit") {
        QCoreApplication::quit();
      } else if (w[0] == "raw" && w.size() >= 2) {
        sim.SendRaw(HexText(w.mid(1).join("")));
      } else if (w[0] == "relay" && w.size() >= 3) {
        const auto a = ParseDotted(w[1].toStdString());
        if (!a) {
          Print("!!", "relay: the address is a.b.c.d");
          continue;
        }
        sim.SendRelay(QHostAddress(*a), static_cast<quint16>(w[2].toUInt()), HexText(w.mid(3).join("")));
      } else {
        Print("!!", "commands: relay ADDR PORT HEX, raw HEX, quit");
      }
    }
  });

  return app.exec();
}
