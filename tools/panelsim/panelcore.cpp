#include "tools/panelsim/panelcore.h"

#include "model/hex.h"

namespace panelsim {

namespace {

std::string CommandName(uint8_t c) { return "command " + HexDigits(c, 2); }

}  // namespace

bool StepSel::Matches(const StepId& id) const {
  if (K < 0) return false;
  if (In == Phase::Any) return K == 0 || K == id.Answer;
  return In == id.In && (K == 0 || K == id.Step);
}

std::optional<StepSel> ParseStep(std::string_view text) {
  StepSel s;
  const size_t colon = text.find(':');
  if (colon != std::string_view::npos) {
    const std::string_view phase = text.substr(0, colon);
    if (phase == "answer")
      s.In = Phase::Any;
    else if (phase == "download")
      s.In = Phase::Download;
    else if (phase == "upload")
      s.In = Phase::Upload;
    else
      return std::nullopt;
    text.remove_prefix(colon + 1);
  }
  if (text == "all") {
    s.K = 0;
    return s;
  }
  if (text.empty() || text.size() > 6) return std::nullopt;
  int k = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    k = k * 10 + (c - '0');
  }
  if (k < 1) return std::nullopt;
  s.K = k;
  return s;
}

PanelCore::PanelCore(PanelSettings settings, Faults faults)
    : settings_(std::move(settings)),
      faults_(faults),
      framer_(settings_.Model->PackedHeader),
      download_(settings_.Model->HeaderLength) {
  if (settings_.MachineType.empty()) settings_.MachineType = settings_.Model->Name;
  if (settings_.SoftwareVersion.empty()) settings_.SoftwareVersion = settings_.Model->Version;
}

void PanelCore::StartLink(uint32_t ip, uint16_t port) {
  linkIp_ = ip;
  linkPort_ = port;
  framer_.Reset();
  upload_.reset();
  answers_ = downloadStep_ = eventFrames_ = uploadStep_ = 0;
}

std::vector<Answer> PanelCore::Feed(std::string_view bytes) {
  std::vector<Answer> out;
  for (Frame& f : framer_.Feed(bytes)) {
    received_.push_back(std::move(f));
    for (Answer& a : Handle(received_.back())) out.push_back(std::move(a));
  }
  return out;
}

std::vector<Answer> PanelCore::Flush() {
  for (Frame& f : framer_.Flush()) received_.push_back(std::move(f));
  return {};  // raw bytes are never answered
}

std::vector<std::string> PanelCore::RecordLines() const {
  std::vector<std::string> lines;
  lines.reserve(received_.size());
  for (const Frame& f : received_) lines.push_back(BytesToSpacedHex(f.Bytes));
  return lines;
}

void PanelCore::Emit(std::vector<Answer>& out, std::string bytes, Phase in, int step, const Lie& lie, bool hasCrc) {
  const StepId id{++answers_, in, step};
  const std::string where = "answer " + std::to_string(id.Answer);
  if (faults_.LieAt.Matches(id)) {
    if (lie)
      bytes = lie(faults_.LieBy);
    else if (faults_.LieAt.K > 0)
      Note(where + " has no length field to lie in");
  }
  if (faults_.CorruptCrcAt.Matches(id)) {
    if (hasCrc)
      bytes.back() = static_cast<char>(bytes.back() ^ 0xFF);
    else if (faults_.CorruptCrcAt.K > 0)
      Note(where + " has no CRC to corrupt");
  }
  Answer a;
  a.Silent = faults_.SilentAt.Matches(id);
  a.Split = faults_.SplitAt.Matches(id);
  a.Join = faults_.JoinAt.Matches(id);
  a.DropAfter = faults_.DropAfter.Matches(id);
  if (!a.Silent) a.Bytes = std::move(bytes);
  out.push_back(std::move(a));
}

void PanelCore::Transfer(std::vector<Answer>& out, uint8_t command, const Verdict& v) {
  if (!v.Ok) Note("refused " + CommandName(command) + ": " + v.Why);
  Emit(out, TransferAck(command, v.Ok), Phase::Download, downloadStep_);
}

std::vector<Answer> PanelCore::Handle(const Frame& f) {
  std::vector<Answer> out;
  if (f.Kind == FrameKind::RecordAck) OnRecordAck(out, f);
  if (f.Kind != FrameKind::Command) return out;  // raw bytes and "00" are only recorded

  const uint8_t cmd = f.Code();
  const bool ends = EndsLine(f.Bytes);
  switch (cmd) {
    case 0x21:
      downloadStep_ = 1;
      eventFrames_ = 0;
      if (!ends || faults_.RefuseClear) {
        download_.Abort();
        Transfer(out, cmd, {false, ends ? "told to refuse the clear" : "frame does not end F2 0D 0A"});
      } else {
        download_.Begin();
        Transfer(out, cmd, {});
      }
      return out;
    case 0x00: {
      ++downloadStep_;
      ++eventFrames_;
      const bool refuse = download_.Running() && faults_.RefuseEvent == eventFrames_;
      Transfer(
          out, cmd,
          refuse ? Verdict{false, "told to refuse event " + std::to_string(eventFrames_)} : download_.Event(f.Bytes));
      return out;
    }
    case 0x1F: {
      ++downloadStep_;
      const bool refuse = download_.Running() && faults_.RefuseClosing;
      const Verdict v = refuse ? Verdict{false, "told to refuse the closing frame"} : download_.Close(f.Bytes);
      if (v.Ok) {
        stored_ = download_.Committed();
        ++committed_;
      }
      Transfer(out, cmd, v);
      return out;
    }
    default: break;
  }
  if (!ends) {
    Note(CommandName(cmd) + " does not end F2 0D 0A: not answered");
    return out;
  }
  switch (cmd) {
    case 0x11:
    case 0x44:
      Emit(out, NetSettingsAnswer(cmd, linkIp_, linkPort_, settings_.Mask, settings_.Gateway), Phase::Any, 0);
      break;
    case 0x41: Emit(out, LinkStatusAnswer(), Phase::Any, 0); break;
    case 0x42: Emit(out, SystemTextAnswer(cmd, settings_.MachineType, 7), Phase::Any, 0); break;
    case 0x43: Emit(out, SystemTextAnswer(cmd, settings_.SoftwareVersion, 6), Phase::Any, 0); break;
    case 0x45: Emit(out, SystemTextAnswer(cmd, settings_.Mac, 17), Phase::Any, 0); break;
    case 0x10:
      switch (settings_.Ir) {
        case IrLearnReply::Code: {
          const std::string code = settings_.IrCode;
          Emit(out, IrCodeAnswer(code), Phase::Any, 0, [code](int d) { return IrCodeAnswer(code, d); });
          break;
        }
        case IrLearnReply::Refuse: Emit(out, IrStatusAnswer(0x00), Phase::Any, 0); break;
        case IrLearnReply::LongPress: Emit(out, IrStatusAnswer(0x02), Phase::Any, 0); break;
      }
      break;
    case 0x51: StartUpload(out); break;
    default: break;  // 12, 13, 14, 15, 16, 20, 60, 61, 63, 64, 65: the panel answers nothing
  }
  return out;
}

void PanelCore::StartUpload(std::vector<Answer>& out) {
  uploadStep_ = 0;
  upload_.emplace(UploadRecords(stored_));
  if (upload_->Records().empty()) {
    Note("upload asked with nothing stored: nothing sent");
    return;
  }
  WriteNext(out);
}

void PanelCore::WriteNext(std::vector<Answer>& out) {
  const auto i = upload_->Next();
  if (!i) return;
  WriteRecord(out, *i);
  // A joined record takes the next one with it at once, without waiting
  // for its acknowledgement: two records in one write.
  if (out.back().Join && !out.back().Silent)
    if (const auto j = upload_->Next()) WriteRecord(out, *j);
}

void PanelCore::WriteRecord(std::vector<Answer>& out, size_t index) {
  const UploadRecord& r = upload_->Records()[index];
  Lie lie;
  if (r.Kind == RecordKind::Event) lie = [frame = r.Frame](int d) { return EventRecord(WithLengthDelta(frame, d)); };
  Emit(out, r.Bytes, Phase::Upload, ++uploadStep_, lie, true);
}

void PanelCore::OnRecordAck(std::vector<Answer>& out, const Frame& f) {
  if (!upload_) {
    Note("record acknowledgement with no upload running: ignored");
    return;
  }
  using O = UploadPlayback::AckOutcome;
  const UploadPlayback::AckResult r = upload_->OnAck(f.Bytes);
  switch (r.Outcome) {
    case O::Accepted:
      if (!upload_->Outstanding()) WriteNext(out);
      break;
    case O::Resend: WriteRecord(out, r.Record); break;
    case O::Stopped: Note("upload stopped: " + r.Why); break;
    case O::Unexpected: Note("record acknowledgement ignored: " + r.Why); break;
  }
}

}  // namespace panelsim
