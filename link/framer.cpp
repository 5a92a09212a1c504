#include "link/framer.h"

#include <algorithm>

#include "model/hex.h"

namespace {
constexpr size_t kUnknown = std::string::npos;
}  // namespace

size_t MessageFramer::HeadLength(std::string_view b) const {
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
    case 0x1F: return 3;
    case 0x51: return v_.PackedHeader ? 10 : 12;
    case 0x10:
      if (b.size() < 3) return 0;
      if (ByteAt(b, 2) != 0x01) return 3;
      if (b.size() < 5) return 0;
      return 5 + WordAt(b, 3);
    case 0x11:
    case 0x44: return 32;
    case 0x30: {
      if (b.size() < 20) return 0;
      uint32_t n = 0;
      if (!HexField(b, 16, 4, &n)) return 20;  // the dispatcher refuses it; its length is the fixed part
      return 20 + 2 * size_t{n};
    }
    case 0x42: return 11;
    case 0x43: return 10;
    case 0x45: return 21;
    default: return kUnknown;  // F5 41 among them: its text has no length
  }
}

size_t MessageFramer::Cut(size_t head, std::vector<std::string>& out) {
  while (!quiet_ && head < buffer_.size()) {
    const std::string_view rest = std::string_view(buffer_).substr(head);
    const size_t n = HeadLength(rest);
    if (n == kUnknown) {
      quiet_ = true;
      break;
    }
    if (n == 0 || rest.size() < n) break;
    out.emplace_back(rest.substr(0, n));
    head += n;
  }
  return head;
}

std::vector<std::string> MessageFramer::Feed(std::string_view bytes) {
  std::vector<std::string> out;
  // Messages are cut by offset and the buffer compacted seldom, so a large
  // read costs no more than its length.
  size_t head = 0;
  while (!bytes.empty()) {
    const size_t held = buffer_.size() - head;
    const size_t room = limit_ > held ? limit_ - held : 0;
    if (room == 0) {
      dropped_ += bytes.size();
      break;
    }
    const size_t piece = std::min(room, bytes.size());
    buffer_.append(bytes.substr(0, piece));
    bytes.remove_prefix(piece);
    head = Cut(head, out);
    // Now and then within a long read, so the buffer stays near its bound.
    if (head >= limit_) {
      buffer_.erase(0, head);
      head = 0;
    }
  }
  buffer_.erase(0, head);
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
