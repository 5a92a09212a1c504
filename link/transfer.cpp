#include "link/transfer.h"

#include <algorithm>

#include "link/protocol.h"
#include "model/hex.h"
#include "model/texts.h"

namespace transfer {

namespace {

constexpr uint32_t kTableStart = 0x90;
constexpr uint32_t kLastAddress = 0xFFFF;
constexpr uint8_t kAccepted = 0x01;

// Never past the model's arrays, whatever its counters say.
int LiveActions(const ConfigModel& m) { return std::clamp(m.ActionCount, 0, static_cast<int>(m.Actions.size()) - 1); }
int LiveEvents(const TActionList& a) { return std::clamp(a.EventCount, 0, static_cast<int>(a.Events.size()) - 1); }

// What a stored frame takes in the panel: its length field + 7.
uint32_t RecordSize(const std::string& frame) { return frame.size() >= 6 ? WordAt(frame, 4) + 7u : 7u; }

std::string Hex(std::string_view bytes) { return BytesToSpacedHex(bytes); }

// The CRC-16 of everything before the last two bytes, and those two.
RecordCheck Crc(std::string_view r, bool lengthOk) {
  RecordCheck c;
  c.LengthOk = lengthOk;
  if (r.size() < 3) return c;
  c.Computed = Crc16Modbus(r.substr(0, r.size() - 2));
  c.Received = WordAt(r, r.size() - 2);
  c.CrcOk = c.Computed == c.Received;
  return c;
}

}  // namespace

int EventTotal(const ConfigModel& m) {
  int total = 0;
  for (int a = 1; a <= LiveActions(m); ++a) total += LiveEvents(m.Actions[a]);
  return total;
}

uint32_t FirstEventAddress(const ConfigModel& m) {
  uint32_t addr = kTableStart;
  for (int a = 1; a <= LiveActions(m); ++a) addr += 2 * static_cast<uint32_t>(LiveEvents(m.Actions[a])) + 6;
  return addr + 3;
}

uint32_t EndAddress(const ConfigModel& m) {
  uint32_t addr = FirstEventAddress(m);
  for (int a = 1; a <= LiveActions(m); ++a)
    for (int e = 1; e <= LiveEvents(m.Actions[a]); ++e) addr += RecordSize(m.Actions[a].Events[e].Frame);
  return addr;
}

std::string DownloadFrame(int action, std::string_view header, uint16_t address, std::string_view eventFrame) {
  std::string f{'\xF1', static_cast<char>(cmd::TransferEvent)};
  PutWord(f, static_cast<uint32_t>(action));
  f.append(header);
  PutWord(f, address);
  f += "\xFF\xFF";
  f.append(eventFrame);
  f += Crc16Bytes(f);
  f += '\xF2';
  return f;
}

DownloadCheck CheckDownload(const ConfigModel& m) {
  if (EventTotal(m) == 0) return DownloadCheck::NoEvents;
  // The closing frame carries the address after the last record in 16 bits.
  if (EndAddress(m) > kLastAddress) return DownloadCheck::PastEeprom;
  return DownloadCheck::Ok;
}

void DownloadMachine::Start(const ConfigModel& m) {
  total_ = EventTotal(m);
  stepCounter_ = 1;
  ackCounter_ = 1;
  lastStep_ = 0;
  closingSent_ = false;
  eepromAddr_ = FirstEventAddress(m);
  Log("frist_start_addr:" + std::to_string(eepromAddr_));
  progress_ = 1;
  Log("clear eeprom buff");
  Log(kLogDownloadFlag + std::to_string(stepCounter_));
  ++stepCounter_;
  awaited_ = cmd::TransferClear;
  phase_ = Phase::Awaiting;
}

std::optional<std::string> DownloadMachine::Next(ConfigModel& m) {
  if (phase_ != Phase::Due) return std::nullopt;
  const bool eventDue = nextAction_ >= 1 && nextAction_ <= LiveActions(m) && nextEvent_ >= 1 &&
                        nextEvent_ <= LiveEvents(m.Actions[nextAction_]) && stepCounter_ == ackCounter_;
  if (eventDue) {
    TActionList& a = m.Actions[nextAction_];
    std::string& frame = a.Events[nextEvent_].Frame;
    if (frame.size() >= 3) SetWordAt(frame, 1, static_cast<uint32_t>(nextEvent_));
    std::string out = DownloadFrame(nextAction_, a.Header, static_cast<uint16_t>(eepromAddr_), frame);
    Log("send data:" + Hex(out));
    ++progress_;
    ++stepCounter_;
    if (stepCounter_ == total_ + 2) {
      lastStep_ = 1;
      Log("Next send last cmd");
    }
    eepromAddr_ += RecordSize(frame);
    if (v_.LogsNextAddress) Log("next addr:" + std::to_string(eepromAddr_));
    nextAction_ = nextEvent_ = 0;
    awaited_ = cmd::TransferEvent;
    phase_ = Phase::Awaiting;
    return out;
  }
  if (lastStep_ && stepCounter_ == ackCounter_) {
    Log("last_addr:" + std::to_string(eepromAddr_));
    std::string addr;
    PutWord(addr, eepromAddr_);
    std::string out = CommandFrame(cmd::TransferEnd, addr);
    ++progress_;
    Log("Download Over flag set");
    Log(kLogDownloadFlag + std::to_string(stepCounter_));
    ++stepCounter_;
    Log("download success!");
    closingSent_ = true;
    awaited_ = cmd::TransferEnd;
    phase_ = Phase::Awaiting;
    return out;
  }
  // An accepted step that leads nowhere would leave the panel half written.
  Log("download stopped: no frame due at step " + std::to_string(stepCounter_));
  phase_ = Phase::Failed;
  return std::nullopt;
}

void DownloadMachine::Locate(const ConfigModel& m, const char* label) {
  int before = 0;
  for (int a = 1; a <= LiveActions(m); ++a) {
    const int count = LiveEvents(m.Actions[a]);
    if (ackCounter_ <= before + count) {
      nextAction_ = a;
      nextEvent_ = ackCounter_ - before;
      Log(label);
      Log(std::to_string(m.Actions[a].EventCount));
      Log("  Download_pos_i:" + std::to_string(a));
      Log("   Download_pos_j:" + std::to_string(nextEvent_));
      return;
    }
    before += count;
  }
}

DownloadMachine::AckOutcome DownloadMachine::OnAck(const ConfigModel& m, std::string_view message, bool ownLink) {
  const std::string what = Hex(message.substr(0, 3));
  if (!ownLink) {
    Log("ack ignored, not from the download's connection: " + what);
    return AckOutcome::Ignored;
  }
  if (phase_ != Phase::Awaiting || message.size() < 2 || ByteAt(message, 1) != awaited_) {
    Log("ack ignored, not the awaited step: " + what);
    return AckOutcome::Ignored;
  }
  // A missing status byte is no acceptance either.
  if (message.size() < 3 || ByteAt(message, 2) != kAccepted) {
    Log("Ack 00");
    lastStep_ = 0;
    phase_ = Phase::Failed;
    return AckOutcome::Refused;
  }
  switch (awaited_) {
    case cmd::TransferClear:
      Log(kLogAck01);
      nextAction_ = nextEvent_ = 0;
      Locate(m, "cl index");
      ++ackCounter_;
      break;
    case cmd::TransferEvent:
      Log("Pre returncntok:=" + std::to_string(ackCounter_));
      nextAction_ = nextEvent_ = 0;
      Locate(m, "index");
      ++ackCounter_;
      Log(kLogAck01);
      Log("Current returncntok:=" + std::to_string(ackCounter_));
      break;
    default:  // the closing frame
      ackCounter_ = 1;
      lastStep_ = 0;
      Log("Download complete");
      phase_ = Phase::Done;
      return AckOutcome::Complete;
  }
  phase_ = Phase::Due;
  return AckOutcome::Accepted;
}

void DownloadMachine::Stop() {
  lastStep_ = 0;
  if (Running()) phase_ = Phase::Idle;
}

std::string DownloadMachine::DoneText() const { return DoneTextOf(closingSent_ ? 100 : progress_ * 100 / Maximum()); }

std::string DoneTextOf(int percent) { return kDone + std::to_string(percent) + "%"; }

std::vector<std::string> DownloadMachine::TakeLog() {
  std::vector<std::string> out;
  out.swap(log_);
  return out;
}

RecordCheck CheckActionRecord(const Variant& v, std::string_view r) {
  return Crc(r, r.size() == 9 + static_cast<size_t>(v.HeaderLength));
}

RecordCheck CheckEventRecord(std::string_view r) { return Crc(r, r.size() >= 9 && WordAt(r, 4) + 9u == r.size()); }

ActionFields ParseActionRecord(std::string_view r) {
  if (r.size() < 9) return {};
  return {ByteAt(r, 2), ByteAt(r, 3), r.substr(4, r.size() - 7), r};
}

EventFields ParseEventRecord(std::string_view r) {
  if (r.size() < 9) return {};
  return {WordAt(r, 1), ByteAt(r, 3), WordAt(r, 4), r.substr(6, r.size() - 8), r};
}

std::string RecordAck(bool eventRecord, bool accepted) {
  return {'\xF5', eventRecord ? '\x53' : '\x51', accepted ? '\x01' : '\x00', '\xF6'};
}

}  // namespace transfer
