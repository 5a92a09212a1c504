#include <gtest/gtest.h>

#include <QTest>

#include "link/protocol.h"
#include "link/server.h"
#include "tools/panelsim/panelsim.h"
#include "ui/tform1.h"
#include "ui_fixture.h"

namespace {

// The configurator against the simulated panel in this process, on loopback.
TEST(LinkWithSimulatedPanel, EveryCommandArrivesAsItsBytes) {
  TestProgram p(kVantor);
  TForm1& f = *p.W().Form1;
  panelsim::PanelSettings panel;
  panelsim::LinkSettings link;
  link.ConfiguratorPort = f.IdTCPServer1->Port();
  link.ListenAddress = QHostAddress();  // no discovery here: told to connect
  panelsim::PanelSim sim(panel, link);
  ASSERT_TRUE(sim.ConnectTo(QHostAddress(QStringLiteral("127.0.0.1"))));
  ASSERT_TRUE(QTest::qWaitFor([&] { return f.IdTCPServer1->Count() == 1; }, 3000));
  ASSERT_EQ(f.ListView3->Count(), 1);
  EXPECT_EQ(f.ListView3->SubItem(0, 0), "127.0.0.2 4001 ");
  EXPECT_EQ(f.StatusBar1->PanelText(1), "TCP Status: Connected");
  f.IPEdit1->SetIPString("127.0.0.2");
  f.Reconnect1Click();
  EXPECT_EQ(f.F.Link->SelectedLink, 0);
  EXPECT_EQ(f.F.Link->PanelIp, "127.0.0.2");

  const int n = f.F.Link->SelectedLink;
  for (uint8_t c : {cmd::FactoryDefault, cmd::DebugOn, cmd::DebugOff, cmd::EepromRead, cmd::LinkStatus,
                    cmd::MachineType, cmd::SoftwareVersion, cmd::IpInfo, cmd::Mac, cmd::NetConfig, cmd::IrLearn})
    f.F.Link->SendCommand(c, n);
  f.F.Link->SendCommandData(cmd::Reconnect, std::string("\x00\x56\x00\x03", 4));
  f.F.Link->SendCommandData(cmd::KeyLock, std::string("\x01", 1));
  f.F.Link->SendCommandData(cmd::KeyLock, std::string("\x00", 1));
  f.F.Link->SendCommandData(cmd::SetType, "T1");
  f.F.Link->SendCommandData(cmd::SetName, "Hall");
  f.F.Link->SendCommandData(cmd::PownData, std::string("\x01\x02\x03", 3) + "abc");
  ASSERT_TRUE(f.F.Link->SendSetIpFrame("127.0.0.9", "255.0.0.0", "127.0.0.1", "4001"));
  ASSERT_TRUE(f.F.Link->SendSetIpFrame("127.0.0.9", "255.0.0.0", "127.0.0.1", ""));
  ASSERT_TRUE(f.F.Link->SendSetMacFrame({"00", "1A", "2B", "3C", "4D", "5E"}));
  f.F.Link->SendCommandData(cmd::TransferEnd, std::string("\x00\xA6", 2));
  f.F.Link->EERomClear();

  const std::vector<std::string> expected = {"F1 14 F2 0D 0A ",
                                             "F1 15 F2 0D 0A ",
                                             "F1 16 F2 0D 0A ",
                                             "F1 20 F2 0D 0A ",
                                             "F1 41 F2 0D 0A ",
                                             "F1 42 F2 0D 0A ",
                                             "F1 43 F2 0D 0A ",
                                             "F1 44 F2 0D 0A ",
                                             "F1 45 F2 0D 0A ",
                                             "F1 11 F2 0D 0A ",
                                             "F1 10 F2 0D 0A ",
                                             "F1 63 00 56 00 03 F2 0D 0A ",
                                             "F1 64 01 F2 0D 0A ",
                                             "F1 64 00 F2 0D 0A ",
                                             "F1 60 54 31 F2 0D 0A ",
                                             "F1 61 48 61 6C 6C F2 0D 0A ",
                                             "F1 65 01 02 03 61 62 63 F2 0D 0A ",
                                             "F1 12 7F 00 00 09 0F A1 FF 00 00 00 7F 00 00 01 F2 0D 0A ",
                                             "F1 12 7F 00 00 09 FF 00 00 00 7F 00 00 01 F2 0D 0A ",
                                             "F1 13 00 1A 2B 3C 4D 5E F2 0D 0A ",
                                             "F1 1F 00 A6 F2 0D 0A ",
                                             "30 30 0D 0A "};
  ASSERT_TRUE(QTest::qWaitFor([&] { return sim.Core().RecordLines().size() >= expected.size(); }, 3000));
  std::vector<std::string> got = sim.Core().RecordLines();
  ASSERT_EQ(got.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i)
    EXPECT_NE(got[i].find(expected[i]), std::string::npos) << i << ": " << got[i];
}

}  // namespace
