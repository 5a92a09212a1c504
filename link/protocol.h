#pragma once
// What the configurator sends a panel, as bytes. Plain C++, no Qt.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cmd {
inline constexpr uint8_t IrLearn = 0x10, NetConfig = 0x11, SetIp = 0x12, SetMac = 0x13, FactoryDefault = 0x14,
                         DebugOn = 0x15, DebugOff = 0x16, TransferEnd = 0x1F, EepromRead = 0x20, TransferClear = 0x21,
                         TransferEvent = 0x00, LinkStatus = 0x41, MachineType = 0x42, SoftwareVersion = 0x43,
                         IpInfo = 0x44, Mac = 0x45, Upload = 0x51, SetType = 0x60, SetName = 0x61, Reconnect = 0x63,
                         KeyLock = 0x64, PownData = 0x65;
}  // namespace cmd

// F1, command, data, F2. The write adds CR LF, as a line.
std::string CommandFrame(uint8_t command, std::string_view data = {});

struct SetIpFrame {
  bool Ok = false;                  // false: "Data is not legal", nothing to send
  std::string Frame;                // F1 12 IP (4) [port (2)] mask (4) gateway (4) F2
  std::vector<std::string> Groups;  // each group's digits, as they are logged
};
// The "Set IP" dialog's texts: three dotted fields and a port text (may be empty).
SetIpFrame BuildSetIpFrame(std::string_view ip, std::string_view mask, std::string_view gateway, std::string_view port);

struct SetMacFrame {
  bool Ok = false;
  std::string Frame;  // F1 13, six bytes, F2
};
// Each text's first two characters are a hex byte.
SetMacFrame BuildSetMacFrame(const std::array<std::string, 6>& fields);

// The discovery broadcast: " IP:" + address + ";".
std::string DiscoveryDatagram(std::string_view localAddress);
