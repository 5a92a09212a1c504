#include "tools/panelsim/protocol.h"

#include <algorithm>

#include "model/hex.h"

namespace panelsim {

namespace {

Cut Whole(size_t n, FrameKind k) { return {CutResult::Whole, n, k}; }
Cut NeedMore() { return {CutResult::NeedMore, 0, FrameKind::Raw}; }
Cut NoMatch() { return {CutResult::NoMatch, 0, FrameKind::Raw}; }

// A command whose length is known once `need` bytes are there.
Cut Fixed(std::string_view buf, size_t length) {
  return buf.size() >= length ? Whole(length, FrameKind::Command) : NeedMore();
}

}  // namespace

bool EndsLine(std::string_view s) { return s.size() >= 3 && s.substr(s.size() - 3) == "\xF2\r\n"; }

uint8_t Frame::Code() const {
  if ((Kind == FrameKind::Command || Kind == FrameKind::RecordAck) && Bytes.size() >= 2) return ByteAt(Bytes, 1);
  return 0;
}

Cut CutFrame(std::string_view buf, bool packedHeader) {
  if (buf.empty()) return NeedMore();
  switch (ByteAt(buf, 0)) {
    case 0xF1: {
      if (buf.size() < 2) return NeedMore();
      switch (ByteAt(buf, 1)) {
        case 0x10:
        case 0x11:
        case 0x14:
        case 0x15:
        case 0x16:
        case 0x20:
        case 0x21:
        case 0x41:
        case 0x42:
        case 0x43:
        case 0x44:
        case 0x45:
        case 0x51: return Fixed(buf, 5);
        case 0x13: return Fixed(buf, 11);
        case 0x1F: return Fixed(buf, 7);
        case 0x63: return Fixed(buf, 9);
        case 0x64: return Fixed(buf, 6);
        case 0x65:
          if (buf.size() < 5) return NeedMore();
          return Fixed(buf, 8 + ByteAt(buf, 4));
        case 0x12:
          // The port is left out when its field is empty: 14 address bytes less 2.
          if (buf.size() < 17) return NeedMore();
          return EndsLine(buf.substr(0, 17)) ? Whole(17, FrameKind::Command) : Fixed(buf, 19);
        case 0x60:
        case 0x61: {
          const size_t end = buf.find("\xF2\r\n", 2);
          return end == std::string_view::npos ? NeedMore() : Whole(end + 3, FrameKind::Command);
        }
        case 0x00: {
          // The event frame's own length field: the data may hold F2 0D 0A.
          const size_t at = packedHeader ? 13 : 15;
          if (buf.size() < at + 2) return NeedMore();
          const size_t l = WordAt(buf, at);
          return Fixed(buf, l + (packedHeader ? 21 : 23));
        }
        default: return NoMatch();
      }
    }
    case 0xF5:
      if (buf.size() < 2) return NeedMore();
      if (ByteAt(buf, 1) != 0x51 && ByteAt(buf, 1) != 0x53) return NoMatch();
      return buf.size() >= 6 ? Whole(6, FrameKind::RecordAck) : NeedMore();
    case 0x30: {
      static constexpr std::string_view kLine = "00\r\n";
      const size_t n = std::min(buf.size(), kLine.size());
      if (buf.substr(0, n) != kLine.substr(0, n)) return NoMatch();
      return n == kLine.size() ? Whole(n, FrameKind::EeromClear) : NeedMore();
    }
    default: return NoMatch();
  }
}

std::vector<Frame> CommandFramer::Feed(std::string_view bytes) {
  buf_.append(bytes);
  std::vector<Frame> out;
  while (!raw_ && !buf_.empty()) {
    const Cut c = CutFrame(buf_, packed_);
    if (c.Result == CutResult::NeedMore) break;
    if (c.Result == CutResult::NoMatch) {
      raw_ = true;
      break;
    }
    out.push_back({c.Kind, buf_.substr(0, c.Length)});
    buf_.erase(0, c.Length);
  }
  if (buf_.size() > kMaxBuffer) {
    auto rest = Flush();
    out.insert(out.end(), rest.begin(), rest.end());
  }
  return out;
}

std::vector<Frame> CommandFramer::Flush() {
  std::vector<Frame> out;
  if (!buf_.empty()) out.push_back({FrameKind::Raw, std::move(buf_)});
  buf_.clear();
  raw_ = false;
  return out;
}

CommandFramer::Waiting CommandFramer::Pending() const {
  if (buf_.empty()) return Waiting::Nothing;
  return raw_ ? Waiting::Raw : Waiting::Unfinished;
}

void CommandFramer::Reset() {
  buf_.clear();
  raw_ = false;
}

bool InLoopbackNet(uint32_t address) { return (address >> 24) == 127; }

std::optional<uint32_t> ParseDotted(std::string_view text) {
  uint32_t value = 0;
  for (int octet = 0; octet < 4; ++octet) {
    if (octet > 0) {
      if (text.empty() || text.front() != '.') return std::nullopt;
      text.remove_prefix(1);
    }
    size_t n = 0;
    unsigned v = 0;
    while (n < text.size() && n < 4 && text[n] >= '0' && text[n] <= '9') v = v * 10 + (text[n++] - '0');
    if (n == 0 || n > 3 || v > 255 || (n > 1 && text[0] == '0')) return std::nullopt;
    value = value << 8 | v;
    text.remove_prefix(n);
  }
  if (!text.empty()) return std::nullopt;
  return value;
}

std::string DottedText(uint32_t a) {
  return std::to_string(a >> 24) + "." + std::to_string((a >> 16) & 255) + "." + std::to_string((a >> 8) & 255) + "." +
         std::to_string(a & 255);
}

std::optional<uint32_t> DiscoveryAddress(std::string_view datagram) {
  static constexpr std::string_view kHead = " IP:";
  if (datagram.size() < kHead.size() + 1 || datagram.substr(0, kHead.size()) != kHead || datagram.back() != ';')
    return std::nullopt;
  const auto a = ParseDotted(datagram.substr(kHead.size(), datagram.size() - kHead.size() - 1));
  if (!a || !InLoopbackNet(*a)) return std::nullopt;
  return a;
}

std::string TransferAck(uint8_t command, bool accepted) {
  return {'\xF5', static_cast<char>(command), static_cast<char>(accepted ? 1 : 0)};
}

std::string NetSettingsAnswer(uint8_t code, uint32_t ip, uint16_t port, uint32_t mask, uint32_t gateway) {
  std::string s{'\xF5', static_cast<char>(code), '\0', '\0'};
  return s + HexDigits(ip, 8) + HexDigits(port, 4) + HexDigits(mask, 8) + HexDigits(gateway, 8);
}

std::string LinkStatusAnswer() { return {'\xF5', '\x41', '\x01'}; }

std::string SystemTextAnswer(uint8_t code, std::string_view text, size_t width) {
  std::string s{'\xF5', static_cast<char>(code), '\0', '\0'};
  std::string t(text.substr(0, width));
  t.resize(width, ' ');
  return s + t;
}

std::string IrCodeAnswer(std::string_view code, int lengthDelta) {
  std::string s{'\xF5', '\x10', '\x01'};
  PutWord(s, static_cast<uint32_t>(static_cast<int>(code.size()) + lengthDelta));
  s.append(code);
  return s;
}

std::string IrStatusAnswer(uint8_t status) { return {'\xF5', '\x10', static_cast<char>(status)}; }

std::string RelayFrame(uint32_t destination, uint16_t port, std::string_view data, int lengthDelta) {
  std::string s{'\xF5', '\x30', '\0', '\0'};
  return s + HexDigits(destination, 8) + HexDigits(port, 4) +
         HexDigits(static_cast<uint32_t>(static_cast<int>(data.size()) + lengthDelta), 4) + BytesToHex(data);
}

std::string ActionRecord(uint8_t sum, uint8_t index, uint16_t eventCount, std::string_view header) {
  std::string s{'\xF5', '\x51', static_cast<char>(sum), static_cast<char>(index)};
  PutWord(s, eventCount);
  s.append(header);
  s += '\xF6';
  return s + Crc16Bytes(s);
}

std::string EventRecord(std::string_view eventFrame) { return std::string(eventFrame) + Crc16Bytes(eventFrame); }

std::string WithLengthDelta(std::string_view eventFrame, int delta) {
  std::string f(eventFrame);
  if (f.size() < 6) return f;
  SetWordAt(f, 4, static_cast<uint32_t>(WordAt(f, 4) + delta));
  return f;
}

}  // namespace panelsim
