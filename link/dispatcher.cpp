#include "link/dispatcher.h"

#include "model/hex.h"
#include "model/texts.h"

namespace {

const std::string kColon = "\xEF\xBC\x9A";  // full-width colon

bool DottedField(std::string_view s, size_t at, std::string* out) {
  std::string text;
  for (size_t octet = 0; octet < 4; ++octet) {
    uint32_t v = 0;
    if (!HexField(s, at + 2 * octet, 2, &v)) return false;
    if (octet) text += '.';
    text += std::to_string(v);
  }
  *out = text;
  return true;
}

// Up to count bytes from offset at, as far as the message goes.
std::string_view Part(std::string_view s, size_t at, size_t count) {
  return at >= s.size() ? std::string_view() : s.substr(at, count);
}

std::string Len(size_t n) { return std::to_string(n); }

std::string NetLine(const NetSettings& n) {
  return kLogTcpIp + n.Ip + kLogTcpPort + n.Port + "TCP_Mask:" + n.Mask + "TCP_GW:" + n.Gateway;
}

void OfferIrLearn(const Variant& v, std::string_view m, DispatchSink& sink) {
  if (m.size() < 3 || ByteAt(m, 0) != 0xF5 || ByteAt(m, 1) != 0x10 || !sink.IrEditRowSelected()) return;
  const uint8_t status = ByteAt(m, 2);
  if (status == 0x01) {
    const bool six = v.IrLongPressMessage;  // the 6-key build's labels
    sink.Log((six ? "data2 len" + kColon + " " : std::string("data2 len:")) + Len(m.size()));
    if (m.size() < 5) {
      sink.Log("IR learn answer without its length");
      return;
    }
    const size_t n = WordAt(m, 3);
    sink.Log((six ? "IRLen11:" : "IRLen") + std::to_string(n));
    if (m.size() < 5 + n) {
      sink.Log("IR learn answer shorter than its length: " + Len(m.size() - 5) + " of " + std::to_string(n));
      return;
    }
    const std::string_view code = m.substr(3, n + 2);
    sink.LogBytes(six ? "IR2:" : "ID2:", code);
    sink.IrLearned(code);
  } else if (status == 0x00 || (status == 0x02 && v.IrLongPressMessage)) {
    sink.IrLearnRefused(status);
  }
}

void Relay(std::string_view m, DispatchSink& sink) {
  sink.Log("data3 len" + kColon + " " + Len(m.size()));
  sink.LogBytes("", Part(m, 4, 40));
  std::string ip;
  uint32_t port = 0, n = 0;
  if (!DottedField(m, 4, &ip) || !HexField(m, 12, 4, &port) || !HexField(m, 16, 4, &n)) {
    sink.Malformed("relay frame with a short or non-hex address, port or length");
    return;
  }
  sink.Log(kLogTcpIp + ip + kLogTcpPort + std::to_string(port) + "TCPDataLen:" + std::to_string(n));
  if (m.size() < 20 + 2 * size_t{n}) {
    sink.Log("relay data shorter than its length: " + Len(m.size() - 20) + " of " + std::to_string(2 * n) + " digits");
    return;
  }
  sink.Relay(ip, HexToBytes(m.substr(20, 2 * size_t{n})).Bytes);
}

bool NetFields(std::string_view m, DispatchSink& sink, NetSettings* s) {
  if (ParseNetSettings(m, s)) return true;
  sink.Malformed("network settings with a short or non-hex field");
  return false;
}

}  // namespace

bool ParseNetSettings(std::string_view m, NetSettings* out) {
  NetSettings s;
  uint32_t port = 0;
  if (!DottedField(m, 4, &s.Ip) || !HexField(m, 12, 4, &port) || !DottedField(m, 16, &s.Mask) ||
      !DottedField(m, 24, &s.Gateway))
    return false;
  s.Port = std::to_string(port);
  *out = s;
  return true;
}

void DispatchMessage(const Variant& v, std::string_view m, DispatchSink& sink) {
  sink.Log("interupt");
  sink.Log("D Len" + kColon + " " + Len(m.size()));
  sink.Log("Data " + kColon + " " + BytesToSpacedHex(m));
  if (m.empty()) return;

  OfferIrLearn(v, m, sink);

  const uint8_t b0 = ByteAt(m, 0);
  const int b1 = m.size() > 1 ? ByteAt(m, 1) : -1;
  if (b0 == 0xF5) {
    switch (b1) {
      case 0x30: Relay(m, sink); return;
      case 0x11: {
        sink.Log("data4 len" + kColon + " " + Len(m.size()));
        sink.LogBytes("", Part(m, 4, 28));
        NetSettings s;
        if (!NetFields(m, sink, &s)) return;
        sink.Log(NetLine(s));
        sink.NetConfig(s);
        return;
      }
      case 0x41: sink.SystemInfo(0x41, kLinkNormal); return;
      case 0x42:
      case 0x43:
      case 0x45: {
        const size_t count = b1 == 0x42 ? 7 : b1 == 0x43 ? 6 : 17;
        const std::string text(Part(m, 4, count));
        if (b1 != 0x43) sink.LogBytes("ss:", text);
        sink.SystemInfo(static_cast<uint8_t>(b1), text);
        return;
      }
      case 0x44: {
        sink.LogBytes("", Part(m, 4, 28));
        NetSettings s;
        if (!NetFields(m, sink, &s)) return;
        sink.Log(kLogFromPanel + NetLine(s));
        sink.SystemInfo(0x44, s.Ip + "\r" + s.Mask + "\r" + s.Gateway + "\r" + s.Port);
        return;
      }
      case 0x21:
      case 0x1F:
      case 0x00: sink.TransferAck(m); return;
      case 0x51:
        if (sink.ActionRecord(m)) return;
        break;
      default: break;
    }
  } else if (b0 == 0xF3 && m.size() >= 3 && ByteAt(m, m.size() - 3) == 0xF4) {
    if (sink.EventRecord(m)) return;
  }
  sink.Log("data1 len" + kColon + " " + Len(m.size()));
  sink.LogBytes("ID1" + kColon + " ", m);
}
