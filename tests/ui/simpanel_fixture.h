#pragma once
// A program linked to one simulated panel on loopback: the panel at
// 127.0.0.2 is connected and selected, and every frame it receives can be
// read back in order.
#include <gtest/gtest.h>

#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "link/server.h"
#include "tools/panelsim/panelsim.h"
#include "ui/tform1.h"
#include "ui_fixture.h"

struct SimulatedPanel {
  explicit SimulatedPanel(const Variant& v) : P(v), F1(*P.W().Form1) {
    panelsim::PanelSettings panel;
    panel.Model = &v;
    panelsim::LinkSettings link;
    link.ConfiguratorPort = F1.IdTCPServer1->Port();
    link.ListenAddress = QHostAddress();  // told to connect, no discovery
    Sim = std::make_unique<panelsim::PanelSim>(panel, link);
    EXPECT_TRUE(Sim->ConnectTo(QHostAddress(QStringLiteral("127.0.0.1"))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return F1.IdTCPServer1->Count() == 1; }, 3000))
        << Sim->Problems().join("; ").toStdString();
    EXPECT_TRUE(LinkPanelAt(F1, QStringLiteral("127.0.0.2")));
  }

  // The next frame the panel receives, as spaced hex ("" if none comes).
  std::string NextFrame(int ms = 2000) {
    if (!QTest::qWaitFor([&] { return Sim->Core().RecordLines().size() > seen_; }, ms)) return {};
    return Sim->Core().RecordLines()[seen_++];
  }
  // True when nothing more arrives for a while.
  bool Quiet(int ms = 150) {
    QTest::qWait(ms);
    return Sim->Core().RecordLines().size() == seen_;
  }

  TestProgram P;
  TForm1& F1;
  std::unique_ptr<panelsim::PanelSim> Sim;

 private:
  size_t seen_ = 0;
};
