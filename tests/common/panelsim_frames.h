#pragma once
// Frames the configurator would send, built by hand for the simulated
// panel's tests.
#include <string>

#include "model/hex.h"
#include "bytes.h"

namespace simtest {

inline std::string Word(int v) { return B({(v >> 8) & 0xFF, v & 0xFF}); }

// F3, index, type, length, payload, F4.
inline std::string EventFrame(int index, int type, const std::string& payload) {
  return B({0xF3}) + Word(index) + B({type}) + Word(static_cast<int>(payload.size())) + payload + B({0xF4});
}

// F1 00, action, header, address, FF FF, event frame, CRC, F2 CR LF.
inline std::string DownloadFrame(int action, const std::string& header, int address, const std::string& event) {
  std::string f = B({0xF1, 0x00}) + Word(action) + header + Word(address) + B({0xFF, 0xFF}) + event;
  return f + Crc16Bytes(f) + B({0xF2, 0x0D, 0x0A});
}

// The frame with its CRC worked out again after an edit.
inline std::string Recrc(std::string frame) {
  const size_t at = frame.size() - 5;
  return frame.substr(0, at) + Crc16Bytes(frame.substr(0, at)) + frame.substr(at + 2);
}

inline std::string Command(int cmd, const std::string& data = {}) {
  return B({0xF1, cmd}) + data + B({0xF2, 0x0D, 0x0A});
}

inline std::string Closing(int address) { return Command(0x1F, Word(address)); }
inline std::string Ack(int kind, int status) { return B({0xF5, kind, status, 0xF6, 0x0D, 0x0A}); }

}  // namespace simtest
