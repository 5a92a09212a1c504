#pragma once
// Cuts what one connection receives into whole messages. Known answers are
// cut by their lengths, so two answers in one read are two messages and one
// answer over two reads is one; anything else is one message once the line
// has been quiet. Plain C++: the caller owns the timers.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "model/variant.h"

class MessageFramer {
 public:
  // The longest message: a relay of 65535 data bytes as hex digits.
  static constexpr size_t kLongest = 20 + 2 * 65535;

  explicit MessageFramer(const Variant& v, size_t limit = kLongest) : v_(v), limit_(limit) {}

  // The whole messages the bytes complete, in order.
  std::vector<std::string> Feed(std::string_view bytes);

  enum class Waiting {
    Nothing,
    Quiet,       // bytes of no known length: one message after 50 ms of quiet
    Unfinished,  // a known message still short: handled as it stands after about a second
  };
  Waiting Pending() const;

  // What is pending, as one message (the caller's quiet or patience ran out).
  std::string Flush();

  // Bytes dropped because the buffer was full. A read is taken in pieces
  // no larger than the room left, and whole messages are cut after each, so
  // only what cannot fit behind an unfinished or unknown message is dropped.
  size_t Dropped() const { return dropped_; }

 private:
  // Length of the message at the head of `b`: 0 when more bytes are needed
  // to tell, npos when it has no known length.
  size_t HeadLength(std::string_view b) const;
  // Cuts the whole messages from `head` on; returns where the rest starts.
  size_t Cut(size_t head, std::vector<std::string>& out);

  const Variant& v_;
  size_t limit_;
  std::string buffer_;
  bool quiet_ = false;  // the head has no known length
  size_t dropped_ = 0;
};
