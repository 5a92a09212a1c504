#pragma once
// The simulated panel without its sockets: what it records of the bytes it
// is sent, how it answers each command, and which answers its faults
// change. The socket side (PanelSim) only moves bytes and keeps time.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/variant.h"
#include "tools/panelsim/download.h"
#include "tools/panelsim/protocol.h"
#include "tools/panelsim/upload.h"

namespace panelsim {

// Where an answer stands: its number among all the answers of the
// connection, and within a download (1 = the clear, then each frame as it
// arrives, the closing frame last) or an upload (each record written,
// resends included).
enum class Phase { Any, Download, Upload };

struct StepId {
  int Answer = 0;
  Phase In = Phase::Any;
  int Step = 0;  // within In; 0 when In is Any
};

struct StepSel {
  Phase In = Phase::Any;
  int K = -1;  // -1: never; 0: every step of In; k: step k of In
  bool Matches(const StepId& id) const;
  static StepSel At(Phase in, int k) { return {in, k}; }
};

// "answer:K", "download:K", "upload:K" (K a number from 1, or "all"); a bare
// number is an answer number.
std::optional<StepSel> ParseStep(std::string_view text);

struct Faults {
  int RefuseEvent = 0;         // the k-th event frame of each download gets F5 00 00
  bool RefuseClear = false;    // F5 21 00
  bool RefuseClosing = false;  // F5 1F 00
  StepSel SilentAt;            // no answer
  StepSel SplitAt;             // the answer in two writes 100 ms apart
  StepSel JoinAt;              // the answer in one write with the next one
  StepSel CorruptCrcAt;        // a record written with its last CRC byte inverted
  StepSel LieAt;               // the answer's length field off by LieBy
  int LieBy = 1;
  StepSel DropAfter;  // the connection closed once the answer is written
  int DelayMs = 0;    // every answer written this much later
};

enum class IrLearnReply { Code, Refuse, LongPress };

struct PanelSettings {
  const Variant* Model = &kVantor;
  uint32_t Mask = 0xFF000000;  // reported by the answers to 11 and 44
  uint32_t Gateway = 0x7F000001;
  std::string MachineType;      // 7 characters; empty: the variant's name
  std::string SoftwareVersion;  // 6 characters; empty: the variant's version
  std::string Mac = "00-1A-2B-3C-4D-5E";
  IrLearnReply Ir = IrLearnReply::Code;
  std::string IrCode = "\x01\x23\x45\x67\x89\xAB";
};

struct Answer {
  std::string Bytes;  // empty when Silent
  bool Silent = false;
  bool Split = false;
  bool Join = false;
  bool DropAfter = false;
};

class PanelCore {
 public:
  explicit PanelCore(PanelSettings settings, Faults faults = {});

  const PanelSettings& Settings() const { return settings_; }
  const Faults& CurrentFaults() const { return faults_; }
  void SetFaults(const Faults& f) { faults_ = f; }

  // A new connection whose own end is ip:port, the address and port the
  // network answers report. Framing, step counts and any upload start again;
  // the record and the stored configuration stay.
  void StartLink(uint32_t ip, uint16_t port);

  // Bytes from the configurator: the answers now due, in order.
  std::vector<Answer> Feed(std::string_view bytes);
  // The line has been quiet: held bytes become a raw frame.
  std::vector<Answer> Flush();
  CommandFramer::Waiting Pending() const { return framer_.Pending(); }

  // Every frame received, in order, and the same as spaced hex lines.
  const std::vector<Frame>& Received() const { return received_; }
  std::vector<std::string> RecordLines() const;
  void ClearRecord() { received_.clear(); }

  // What the panel refused or found wrong, one line each.
  const std::vector<std::string>& Problems() const { return problems_; }
  void Note(std::string problem) { problems_.push_back(std::move(problem)); }

  // What the last accepted download committed, and what an upload sends.
  const StoredConfig& Stored() const { return stored_; }
  void SetStored(StoredConfig c) { stored_ = std::move(c); }
  int CommittedDownloads() const { return committed_; }
  const DownloadChecker& Download() const { return download_; }

  bool UploadRunning() const { return upload_.has_value() && !upload_->Finished() && !upload_->Stopped(); }
  bool UploadFinished() const { return upload_.has_value() && upload_->Finished(); }

 private:
  using Lie = std::function<std::string(int delta)>;
  std::vector<Answer> Handle(const Frame& f);
  void Emit(std::vector<Answer>& out, std::string bytes, Phase in, int step, const Lie& lie = {}, bool hasCrc = false);
  void Transfer(std::vector<Answer>& out, uint8_t command, const Verdict& v);
  void OnRecordAck(std::vector<Answer>& out, const Frame& f);
  void StartUpload(std::vector<Answer>& out);
  void WriteRecord(std::vector<Answer>& out, size_t index);
  void WriteNext(std::vector<Answer>& out);

  PanelSettings settings_;
  Faults faults_;
  CommandFramer framer_;
  DownloadChecker download_;
  std::optional<UploadPlayback> upload_;
  StoredConfig stored_;
  std::vector<Frame> received_;
  std::vector<std::string> problems_;
  uint32_t linkIp_ = 0x7F000001;
  uint16_t linkPort_ = 0;
  int answers_ = 0;
  int downloadStep_ = 0;
  int eventFrames_ = 0;  // event frames since the clear
  int uploadStep_ = 0;
  int committed_ = 0;
};

}  // namespace panelsim
