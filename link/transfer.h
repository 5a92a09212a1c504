#pragma once
// The transfers without sockets or timers: the frames of a download and the
// state that walks the model event by event as the panel acknowledges, and
// the checks of the records an upload brings back. The window owns the
// clock and the connection.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/actions.h"
#include "model/variant.h"

namespace transfer {

// Events of actions 1..ActionCount.
int EventTotal(const ConfigModel& m);
// Where the first event record goes: 90 + 6 + 2 x events for each action + 3.
uint32_t FirstEventAddress(const ConfigModel& m);
// The address after the last record (each takes its frame's length field + 7);
// not cut to 16 bits.
uint32_t EndAddress(const ConfigModel& m);

// F1 00, action (2), header, address (2), FF FF, event frame, CRC-16 over
// everything before it, F2.
std::string DownloadFrame(int action, std::string_view header, uint16_t address, std::string_view eventFrame);

enum class DownloadCheck {
  Ok,
  NoEvents,    // the panel would be cleared and then nothing sent
  PastEeprom,  // the 16-bit addresses would wrap and records overlap
};
DownloadCheck CheckDownload(const ConfigModel& m);

// A download as the panel's acknowledgements drive it. Records are walked in
// record order, so the action number sent is the record number.
class DownloadMachine {
 public:
  explicit DownloadMachine(const Variant& v) : v_(v) {}

  enum class Phase {
    Idle,      // nothing running: every acknowledgement is stale
    Awaiting,  // a frame is out and its acknowledgement awaited
    Due,       // accepted: the next frame waits for its time
    Done,      // the panel accepted the closing frame
    Failed,    // the panel refused a frame
  };
  Phase State() const { return phase_; }
  bool Running() const { return phase_ == Phase::Awaiting || phase_ == Phase::Due; }

  // Step 1, for a model that passed CheckDownload: the caller sends the
  // clear command (F1 21 F2) next.
  void Start(const ConfigModel& m);

  // The frame now due: the next event frame (the model's stored frame gets
  // its index bytes) or the closing frame. Nothing when no frame is due;
  // when an accepted acknowledgement found nothing to send, the download
  // has failed.
  std::optional<std::string> Next(ConfigModel& m);
  bool ClosingSent() const { return closingSent_; }

  enum class AckOutcome {
    Ignored,   // not the awaited step, or not from the transfer's connection
    Accepted,  // the next frame is due
    Refused,   // the download stopped
    Complete,  // F5 1F 01
  };
  // A TransferAck (F5, command, status); ownLink: it came on the
  // connection the download was started on.
  AckOutcome OnAck(const ConfigModel& m, std::string_view message, bool ownLink);

  // "Cancel", the dialog closing, or the connection gone.
  void Stop();

  int Progress() const { return progress_; }
  int Maximum() const { return total_ + 2; }
  // "Done:" and the percentage (DoneTextOf).
  std::string DoneText() const;

  // Debug-log lines since the last call.
  std::vector<std::string> TakeLog();

  // The counters the protocol is built on.
  int StepCounter() const { return stepCounter_; }  // the next step to send; 1 is the clear
  int AckCounter() const { return ackCounter_; }    // the step whose acknowledgement comes next
  int NextAction() const { return nextAction_; }    // the next event frame's action and event; 0: none
  int NextEvent() const { return nextEvent_; }
  int LastStep() const { return lastStep_; }           // 1: the closing frame is due
  uint32_t EepromAddr() const { return eepromAddr_; }  // where the next record goes

 private:
  void Locate(const ConfigModel& m, const char* label);
  void Log(std::string line) { log_.push_back(std::move(line)); }

  const Variant& v_;
  int stepCounter_ = 1;
  int ackCounter_ = 1;
  int nextAction_ = 0;
  int nextEvent_ = 0;
  int lastStep_ = 0;
  uint32_t eepromAddr_ = 0;
  Phase phase_ = Phase::Idle;
  uint8_t awaited_ = 0;  // command of the frame that is out
  int total_ = 0;
  int progress_ = 0;
  bool closingSent_ = false;
  std::vector<std::string> log_;
};

// "Done:" and a percentage, as the download dialog shows its progress.
std::string DoneTextOf(int percent);

// One record of an upload, checked before anything is decoded.
struct RecordCheck {
  bool LengthOk = false;  // the record is as long as its layout or length field says
  bool CrcOk = false;
  uint16_t Computed = 0;  // CRC-16 of every byte before the CRC
  uint16_t Received = 0;  // the record's own CRC
  bool Ok() const { return LengthOk && CrcOk; }
};
// F5 51, sum, index, event count (2), header, F6, CRC.
RecordCheck CheckActionRecord(const Variant& v, std::string_view record);
// F3, index (2), type, length n (2), payload (n), F4, CRC.
RecordCheck CheckEventRecord(std::string_view record);

// The fields of a record that passed its check; views into the record.
struct ActionFields {
  int Sum = 0;              // actions announced
  int Index = 0;            // this action's number
  std::string_view Header;  // event count (2) + header: what the action decoder takes
  std::string_view Record;  // the whole record as it came; empty from a file
};
struct EventFields {
  int Index = 0;
  int Type = 0;    // 1..7 for the known kinds
  int Length = 0;  // the length field
  // From a panel the payload keeps its closing F4, as the decoders always had it.
  std::string_view Payload;
  std::string_view Record;  // the whole record as it came; empty from a file
};
ActionFields ParseActionRecord(std::string_view record);
EventFields ParseEventRecord(std::string_view record);

// F5 51|53 01|00 F6: the answer to an action or an event record.
std::string RecordAck(bool eventRecord, bool accepted);

// Which connection an upload takes records from (what it took and left out
// is the importer's, link/importer.h).
struct UploadSession {
  uint64_t Link = 0;  // the connection's number; 0: no upload

  bool Running() const { return Link != 0; }
  bool From(uint64_t link) const { return Link != 0 && link == Link; }
  void Begin(uint64_t link) { *this = UploadSession{link}; }
  void End() { Link = 0; }
};

}  // namespace transfer
