#include "tools/panelsim/upload.h"

#include "model/hex.h"
#include "tools/panelsim/protocol.h"

namespace panelsim {

std::vector<UploadRecord> UploadRecords(const StoredConfig& stored) {
  std::vector<UploadRecord> out;
  const auto sum = static_cast<uint8_t>(stored.size());
  for (size_t i = 0; i < stored.size(); ++i) {
    const StoredAction& a = stored[i];
    out.push_back({RecordKind::Action,
                   ActionRecord(sum, static_cast<uint8_t>(i + 1), static_cast<uint16_t>(a.Events.size()), a.Header),
                   {}});
    for (const std::string& e : a.Events) out.push_back({RecordKind::Event, EventRecord(e), e});
  }
  return out;
}

std::optional<size_t> UploadPlayback::Next() {
  if (stopped_ || next_ >= records_.size()) return std::nullopt;
  outstanding_.push_back({next_, 1});
  return next_++;
}

UploadPlayback::AckResult UploadPlayback::OnAck(std::string_view ack) {
  using O = AckOutcome;
  if (outstanding_.empty()) return {O::Unexpected, 0, "acknowledgement with no record awaiting one"};
  const Sent front = outstanding_.front();
  if (ack.size() != 6 || ByteAt(ack, 0) != 0xF5 || ByteAt(ack, 3) != 0xF6 || ack.substr(4) != "\r\n")
    return {O::Unexpected, front.Record, "acknowledgement not F5 xx status F6 0D 0A"};
  const uint8_t want = records_[front.Record].Kind == RecordKind::Action ? 0x51 : 0x53;
  if (ByteAt(ack, 1) != want)
    return {O::Unexpected, front.Record, want == 0x51 ? "F5 53 for an action record" : "F5 51 for an event record"};
  switch (ByteAt(ack, 2)) {
    case 0x01: outstanding_.pop_front(); return {O::Accepted, front.Record, {}};
    case 0x00:
      outstanding_.pop_front();
      // Once more, and no further: a configurator that refuses a sound
      // record would otherwise keep the two ends busy for ever.
      if (front.Times >= 2) {
        stopped_ = true;
        outstanding_.clear();
        return {O::Stopped, front.Record, "record " + std::to_string(front.Record + 1) + " refused twice"};
      }
      outstanding_.push_back({front.Record, front.Times + 1});
      return {O::Resend, front.Record, {}};
    default: return {O::Unexpected, front.Record, "acknowledgement status " + std::to_string(ByteAt(ack, 2))};
  }
}

}  // namespace panelsim
