#include "link/framer.h"

#include "model/hex.h"

namespace {
constexpr size_t kUnknown = std::string::npos;
}  // namespace

size_t MessageFramer::HeadLength() const {
  const std::string& b = buffer_;
  if (b.empty()) return 0;
  if (ByteAt(b, 0) == 0xF3) {
    if (b.size() < 6) return 0;
    const size_t n = WordAt(b, 4);
    if (b.size() < n + 7) return 0;
    // An event record ends with F4 where its length says, then its CRC.
    return ByteAt(b, n + 6) == 0xF4 ? n + 9 : kUnknown;
  }
  if (ByteAt(b, 0) != 0xF5) return kUnknown;
  if (b.size() < 2) return 0;
  switch (ByteAt(b, 1)) {
    case 0x21:
    case 0x00:
    case 0x1F:
      return 3;
    case 0x51:
      return v_.PackedHeader ? 10 : 12;
    case 0x10:
      if (b.size() < 3) return 0;
      if (ByteAt(b, 2) != 0x01) return 3;
      if (b.size() < 5) return 0;
      return 5 + WordAt(b, 3);
    case 0x11:
    case 0x44:
      return 32;
    case 0x30: {
      if (b.size() < 20) return 0;
      size_t n = 0;
      for (size_t i = 16; i < 20; ++i) {
        const int d = HexValue(b[i]);
        if (d < 0) return 20;  // the dispatcher refuses it; its length is the fixed part
        n = n * 16 + static_cast<size_t>(d);
      }
      return 20 + 2 * n;
    }
    case 0x42:
      return 11;
    case 0x43:
      return 10;
    case 0x45:
      return 21;
    default:
      return kUnknown;  // F5 41 among them: its text has no length
  }
}

std::vector<std::string> MessageFramer::Feed(std::string_view bytes) {
  std::vector<std::string> out;
  const size_t room = limit_ > buffer_.size() ? limit_ - buffer_.size() : 0;
  if (bytes.size() > room) {
    dropped_ += bytes.size() - room;
    bytes = bytes.substr(0, room);
  }
  buffer_.append(bytes);
  while (!quiet_ && !buffer_.empty()) {
    const size_t n = HeadLength();
    if (n == kUnknown) {
      quiet_ = true;
      break;
    }
    if (n == 0 || buffer_.size() < n) break;
    out.push_back(buffer_.substr(0, n));
    buffer_.erase(0, n);
  }
  return out;
}

MessageFramer::Waiting MessageFramer::Pending() const {
  if (buffer_.empty()) return Waiting::Nothing;
  return quiet_ ? Waiting::Quiet : Waiting::Unfinished;
}

std::string MessageFramer::Flush() {
  std::string m = std::move(buffer_);
  buffer_.clear();
  quiet_ = false;
  return m;
}
