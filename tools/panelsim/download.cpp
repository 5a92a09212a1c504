#include "tools/panelsim/download.h"

#include "model/hex.h"
#include "tools/panelsim/protocol.h"

namespace panelsim {

namespace {

constexpr int kMaxActions = 100;  // what the configurator's model holds

Verdict No(std::string why) { return {false, std::move(why)}; }

}  // namespace

uint32_t FirstRecordAddress(const StoredConfig& actions) {
  uint32_t a = 0x90;
  for (const StoredAction& s : actions) a += 6 + 2 * static_cast<uint32_t>(s.Events.size());
  return a + 3;
}

void DownloadChecker::Begin() {
  running_ = true;
  staged_.clear();
  first_ = next_ = 0;
}

void DownloadChecker::Abort() {
  running_ = false;
  staged_.clear();
}

Verdict DownloadChecker::Event(std::string_view f) {
  if (!running_) return No("event frame with no clear before it");
  // F1 00, action (2), header, address (2), FF FF, event frame (7 + L), CRC (2), F2 CR LF.
  const size_t addrAt = 4 + headerLength_;
  const size_t eventAt = addrAt + 4;
  if (f.size() < eventAt + 7 + 5) return No("frame too short");
  if (!EndsLine(f)) return No("frame does not end F2 0D 0A");
  const size_t crcAt = f.size() - 5;
  if (Crc16Modbus(f.substr(0, crcAt)) != WordAt(f, crcAt)) return No("CRC error");
  if (WordAt(f, addrAt + 2) != 0xFFFF) return No("no FF FF after the address");

  const std::string_view event = f.substr(eventAt, crcAt - eventAt);
  if (ByteAt(event, 0) != 0xF3 || ByteAt(event, event.size() - 1) != 0xF4) return No("event frame not F3 ... F4");
  if (WordAt(event, 4) + 7u != event.size()) return No("event length field disagrees with the frame");
  const int type = ByteAt(event, 3);
  if (type < 1 || type > 7) return No("event type " + std::to_string(type) + " unknown");

  const uint32_t action = WordAt(f, 2);
  const uint32_t index = WordAt(event, 1);
  const std::string_view header = f.substr(4, headerLength_);
  if (action == 0) return No("action number 0");
  if (staged_.empty() || action > staged_.back().Number) {
    if (index != 1) return No("action " + std::to_string(action) + " starts at event " + std::to_string(index));
    if (staged_.size() >= 255) return No("more actions than an action record can count");
  } else if (action == staged_.back().Number) {
    if (header != staged_.back().Header) return No("header changed within action " + std::to_string(action));
    if (index != staged_.back().Events.size() + 1)
      return No("event " + std::to_string(index) + " of action " + std::to_string(action) + " out of order");
  } else {
    return No("action " + std::to_string(action) + " after action " + std::to_string(staged_.back().Number));
  }

  const uint32_t address = WordAt(f, addrAt);
  if (!staged_.empty() && address != next_)
    return No("address " + HexDigits(address, 4) + " where " + HexDigits(next_, 4) + " was due");
  if (address + event.size() > 0x10000) return No("record passes the end of the EEPROM");

  if (staged_.empty()) first_ = address;
  next_ = address + static_cast<uint32_t>(event.size());
  if (staged_.empty() || action != staged_.back().Number)
    staged_.push_back({static_cast<uint16_t>(action), std::string(header), {}});
  staged_.back().Events.emplace_back(event);
  return {};
}

Verdict DownloadChecker::CheckFirstAddress(uint32_t first) const {
  // Actions without events take room in the table but never arrive, so the
  // first address may lie 6 bytes further for each of them: at least for
  // the gaps in the action numbers, at most up to the model's 100 actions.
  const uint32_t base = FirstRecordAddress(staged_);
  const uint32_t gaps = staged_.empty() ? 0 : staged_.back().Number - static_cast<uint32_t>(staged_.size());
  const auto extra = static_cast<int64_t>(first) - base;
  if (extra < 0 || extra % 6 != 0 || extra / 6 < gaps || extra / 6 + static_cast<int64_t>(staged_.size()) > kMaxActions)
    return No("first record at " + HexDigits(first, 4) + ", not after the table of the actions sent (" +
              HexDigits(base, 4) + ")");
  return {};
}

Verdict DownloadChecker::Close(std::string_view f) {
  if (!running_) return No("closing frame with no clear before it");
  if (f.size() != 7 || !EndsLine(f)) return No("closing frame does not end F2 0D 0A");
  const uint32_t address = WordAt(f, 2);
  if (staged_.empty()) {
    if (Verdict v = CheckFirstAddress(address); !v.Ok) return v;
  } else {
    if (address != (next_ & 0xFFFF))
      return No("closing address " + HexDigits(address, 4) + " where " + HexDigits(next_ & 0xFFFF, 4) + " was due");
    if (Verdict v = CheckFirstAddress(first_); !v.Ok) return v;
  }
  committed_ = std::move(staged_);
  staged_.clear();
  running_ = false;
  return {};
}

}  // namespace panelsim
