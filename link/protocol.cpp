#include "link/protocol.h"

#include "model/hex.h"

std::string CommandFrame(uint8_t command, std::string_view data) {
  std::string f;
  f.reserve(data.size() + 3);
  f += '\xF1';
  f += static_cast<char>(command);
  f.append(data);
  f += '\xF2';
  return f;
}

namespace {

// A dotted field: four groups of digits, each 0..255. Other characters
// (blanks of unfilled positions) are passed over, as the dialog's masks leave them.
bool DottedBytes(std::string_view text, std::string* out, std::vector<std::string>* groups) {
  std::string digits;
  int count = 0;
  auto close = [&]() {
    if (digits.empty() || digits.size() > 3) return false;
    const int value = std::stoi(digits);
    if (value > 255) return false;
    *out += static_cast<char>(value);
    groups->push_back(digits);
    digits.clear();
    ++count;
    return true;
  };
  for (char c : text) {
    if (c >= '0' && c <= '9') digits += c;
    if (c == '.' && !close()) return false;
  }
  return close() && count == 4;
}

}  // namespace

SetIpFrame BuildSetIpFrame(std::string_view ip, std::string_view mask, std::string_view gateway,
                           std::string_view port) {
  SetIpFrame r;
  std::string data;
  if (!DottedBytes(ip, &data, &r.Groups)) return r;
  if (!port.empty()) {
    if (port.size() > 5) return r;
    int v = 0;
    for (char c : port) {
      if (c < '0' || c > '9') return r;
      v = v * 10 + (c - '0');
    }
    if (v > 65535) return r;
    PutWord(data, static_cast<uint32_t>(v));
  }
  if (!DottedBytes(mask, &data, &r.Groups) || !DottedBytes(gateway, &data, &r.Groups)) return r;
  r.Frame = CommandFrame(cmd::SetIp, data);
  r.Ok = true;
  return r;
}

SetMacFrame BuildSetMacFrame(const std::array<std::string, 6>& fields) {
  SetMacFrame r;
  std::string data;
  for (const std::string& f : fields) {
    uint32_t byte = 0;
    if (!HexField(f, 0, 2, &byte)) return r;
    PutByte(data, byte);
  }
  r.Frame = CommandFrame(cmd::SetMac, data);
  r.Ok = true;
  return r;
}

std::string DiscoveryDatagram(std::string_view localAddress) { return " IP:" + std::string(localAddress) + ";"; }
