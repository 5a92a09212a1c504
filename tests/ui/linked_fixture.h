#pragma once
// The program linked to a simulated panel on loopback, for the transfers'
// tests and the screenshot program.
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QStringList>
#include <QTimer>
#include <string>
#include <vector>

#include "link/server.h"
#include "project_fixture.h"
#include "tools/panelsim/panelsim.h"
#include "ui/tform1.h"
#include "ui/tform7.h"
#include "ui_fixture.h"

namespace transfertest {

using panelsim::Faults;
using panelsim::Phase;
using panelsim::StepSel;

inline constexpr int kWaitMs = 8000;

// Runs the event loop until the condition holds. QTest::qWaitFor sleeps
// between rounds, which would cost every exchange with the panel in this
// same thread ten milliseconds.
template <class Pred>
bool Until(Pred done, int ms = kWaitMs) {
  if (done()) return true;
  QEventLoop loop;
  QTimer check, limit;
  check.setTimerType(Qt::PreciseTimer);
  QObject::connect(&check, &QTimer::timeout, &loop, [&] {
    if (done()) loop.quit();
  });
  QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
  check.start(1);
  limit.setSingleShot(true);
  limit.start(ms);
  loop.exec();
  return done();
}

// A panel that misbehaves in one way, at step k of a phase (0: every step).
inline Faults One(StepSel Faults::*fault, Phase in, int k) {
  Faults f;
  f.*fault = StepSel::At(in, k);
  return f;
}

// The program and a simulated panel linked to it as connection 0.
struct Linked {
  explicit Linked(const Variant& v, Faults faults = {}, int gapMs = 10)
      : P(v), F1(*P.W().Form1), D(*P.W().Form7), Sim(Settings(v), Link(F1), faults) {
    P.W().Config.FrameGapMs = gapMs;
    EXPECT_TRUE(Sim.ConnectTo(QHostAddress(QStringLiteral("127.0.0.1"))));
    EXPECT_TRUE(Until([&] { return F1.IdTCPServer1->Count() == 1; }));
    EXPECT_TRUE(LinkPanelAt(F1, QStringLiteral("127.0.0.2")));
  }
  static panelsim::PanelSettings Settings(const Variant& v) {
    panelsim::PanelSettings s;
    s.Model = &v;
    return s;
  }
  static panelsim::LinkSettings Link(TForm1& f) {
    panelsim::LinkSettings l;
    l.ConfiguratorPort = f.IdTCPServer1->Port();
    l.ListenAddress = QHostAddress();  // told to connect, no discovery
    l.SourcePort = 0;                  // tests run side by side
    return l;
  }

  // Actions with every kind of event, none empty; key 10 where the build has it.
  void MakeProject() {
    Forms& w = P.W();
    AddKeyActionThroughDialog(w, 2, 2, 4);
    AddEveryKind(F1, 1);
    AddEveryKind(F1, 2);
    if (w.V.HasKey10Dialog) {
      AddKeyActionThroughDialog(w, 10, 1);
      AddEveryKind(F1, 4);
    }
    AddKeyActionThroughDialog(w, 1, 1, 1);
    AddEveryKind(F1, 5);
    ASSERT_TRUE(P.Boxes.Boxes.empty()) << P.Boxes.Boxes[0].Text.toStdString();
  }

  std::string SaveAs(const std::string& name) {
    P.Files.NextSave = QString::fromStdString((P.Dir.Path() / name).string());
    F1.Saveas1Click();
    return P.Dir.Read(name + ".dat");
  }

  bool Download() {
    D.Button1Click();
    return Until([&] { return D.Button1->text() == "Success"; }, kWaitMs);
  }
  // Ends when the download stops, one way or another.
  bool WaitStopped() {
    return Until([&] { return !D.Download.Running(); }, kWaitMs);
  }
  bool Upload(int ms = kWaitMs) {
    F1.QelButton8Click();
    F1.Download1Click();
    return Until([&] { return !F1.Uploading(); }, ms);
  }
  int Events() const {
    int n = 0;
    for (int a = 1; a <= F1.F.Model->ActionCount; ++a) n += F1.F.Model->Actions[a].EventCount;
    return n;
  }
  QStringList BoxTexts() const {
    QStringList t;
    for (const RecordedBox& b : P.Boxes.Boxes) t << b.Text;
    return t;
  }
  std::vector<std::string> Record() const { return Sim.Core().RecordLines(); }

  TestProgram P;
  TForm1& F1;
  TForm7& D;
  panelsim::PanelSim Sim;
};

}  // namespace transfertest
