#include "link/protocol.h"

#include <gtest/gtest.h>

#include "bytes.h"
#include "model/hex.h"

namespace {

TEST(Protocol, CommandFramesAndLines) {
  EXPECT_EQ(CommandFrame(cmd::LinkStatus), B({0xF1, 0x41, 0xF2}));
  EXPECT_EQ(CommandFrame(cmd::LinkStatus) + "\r\n", B({0xF1, 0x41, 0xF2, 0x0D, 0x0A}));
  EXPECT_EQ(CommandFrame(cmd::TransferEnd, B({0x00, 0xA6})), B({0xF1, 0x1F, 0x00, 0xA6, 0xF2}));
  EXPECT_EQ(CommandFrame(cmd::Reconnect, B({0x00, 0x56, 0x00, 0x03})), B({0xF1, 0x63, 0x00, 0x56, 0x00, 0x03, 0xF2}));
  EXPECT_EQ(DiscoveryDatagram("192.168.1.5"), " IP:192.168.1.5;");
  EXPECT_EQ(DiscoveryDatagram("192.168.1.5").size(), 16u);
}

TEST(Protocol, SetIpFrame) {
  auto f = BuildSetIpFrame("192.168.1.20", "255.255.255.0", "192.168.1.1", "4001");
  ASSERT_TRUE(f.Ok);
  EXPECT_EQ(BytesToSpacedHex(f.Frame), "F1 12 C0 A8 01 14 0F A1 FF FF FF 00 C0 A8 01 01 F2 ");
  EXPECT_EQ(f.Groups.size(), 12u);
  f = BuildSetIpFrame("192.168.  1. 20", "255.255.255.  0", "192.168.  1.  1", "");
  ASSERT_TRUE(f.Ok);
  EXPECT_EQ(f.Frame.size(), 15u);  // no port bytes: F1 12, twelve address bytes, F2
  struct Bad {
    const char *ip, *port;
  };
  for (const Bad& b : {Bad{"192.168.1.300", "1"}, Bad{"10.0.0", ""}, Bad{"10..0.1", ""}, Bad{"10.0.0.1", "65536"},
                       Bad{"10.0.0.1", "40x1"}, Bad{"10.0.0.1.5", ""}}) {
    SCOPED_TRACE(std::string(b.ip) + " port " + b.port);
    EXPECT_FALSE(BuildSetIpFrame(b.ip, "255.255.255.0", "10.0.0.254", b.port).Ok);
  }
}

TEST(Protocol, SetMacFrame) {
  auto f = BuildSetMacFrame({"00", "1a", "B2", "c3", "D4", "e5"});
  ASSERT_TRUE(f.Ok);
  EXPECT_EQ(f.Frame, B({0xF1, 0x13, 0x00, 0x1A, 0xB2, 0xC3, 0xD4, 0xE5, 0xF2}));
  EXPECT_FALSE(BuildSetMacFrame({"00", "1a", "G2", "c3", "D4", "e5"}).Ok);
  EXPECT_FALSE(BuildSetMacFrame({"00", "1", "B2", "c3", "D4", "e5"}).Ok);
}

}  // namespace
