#pragma once
// The upload as the panel plays it: the records of what the last download
// committed, and their order, each written only after the configurator has
// acknowledged the one before. No Qt.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/panelsim/download.h"

namespace panelsim {

enum class RecordKind { Action, Event };

struct UploadRecord {
  RecordKind Kind = RecordKind::Action;
  std::string Bytes;
  std::string Frame;  // Event: the stored event frame the record carries
};

// For each stored action in order its action record (index 1..n), then
// each of its events as an event record.
std::vector<UploadRecord> UploadRecords(const StoredConfig& stored);

class UploadPlayback {
 public:
  explicit UploadPlayback(std::vector<UploadRecord> records) : records_(std::move(records)) {}

  // The next fresh record, now awaiting its acknowledgement; nothing when
  // all have been taken or the upload stopped. The caller asks while
  // nothing is outstanding (or on purpose one ahead).
  std::optional<size_t> Next();

  enum class AckOutcome {
    Accepted,    // status 01: the record is done
    Resend,      // status 00: write Record again; it awaits its acknowledgement
    Stopped,     // status 00 for a record already sent twice: the upload ends
    Unexpected,  // nothing awaited, wrong kind, bad shape or status: ignored
  };
  struct AckResult {
    AckOutcome Outcome = AckOutcome::Unexpected;
    size_t Record = 0;  // index into Records()
    std::string Why;    // Stopped and Unexpected
  };
  // One RecordAck as framed: F5 51|53, status, F6, CR LF.
  AckResult OnAck(std::string_view ack);

  bool Outstanding() const { return !outstanding_.empty(); }
  // Every record sent and accepted.
  bool Finished() const { return !stopped_ && next_ == records_.size() && outstanding_.empty(); }
  bool Stopped() const { return stopped_; }
  const std::vector<UploadRecord>& Records() const { return records_; }

 private:
  struct Sent {
    size_t Record;
    int Times;
  };
  std::vector<UploadRecord> records_;
  size_t next_ = 0;
  std::deque<Sent> outstanding_;  // acknowledgements come in the order of the writes
  bool stopped_ = false;
};

}  // namespace panelsim
