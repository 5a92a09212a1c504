// Decoded records and project files: what comes back from a file (or a
// panel) goes through the key dialogs' and the pages' own "Add".
#include <QDateTime>
#include <QMenuBar>
#include <array>
#include <ctime>
#include <fstream>
#include <sstream>
#include <variant>

#include "model/decoders.h"
#include "model/hex.h"
#include "model/projectfile.h"
#include "model/texts.h"
#include "ui/libraryfiles.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform12.h"
#include "ui/tform2.h"

bool TForm1::DecodeActionRecordAndAdd(std::string_view bytes) {
  const ActionRecordChange c = DecodeActionRecord(F.V, bytes);
  Import.McuEventSum = c.McuEventSum;
  Log(QStringLiteral("McuEventSum%1").arg(Import.McuEventSum));
  if (F.V.PackedHeader && c.Key) Log(QStringLiteral("KeyNum:%1").arg(*c.Key));
  if (!c.Key) return false;
  Model.CurrentKey = *c.Key;
  const int before = ListView1->Count();
  if (c.Key10) {
    if (!F.Form12) return false;
    SetComboIndex(F.Form12->QelComboBox1, c.KindIndex);
    F.Form12->QelButton1Click();
  } else {
    SetComboIndex(F.Form2->ComboBox3, c.Group);
    SetComboIndex(F.Form2->ComboBox1, c.KindIndex);
    F.Form2->Button1Click();
  }
  return ListView1->Count() > before;
}

bool TForm1::DecodeEventAndAdd(int type, std::string_view payload, int n) {
  if (type < 1 || type > 7) return false;
  // Switching pages costs far more than the decode; a batch load shows its last page once.
  if (batchLoading_)
    lastDecodedPage_ = type - 1;
  else
    QelPageControl1->SetTabIndex(type - 1);  // the kind list follows
  const int before = Model.CurrentEventCount;
  switch (static_cast<EventKind>(type - 1)) {
    case EventKind::Rs232:
      ApplyRs232(DecodeRs232Event(F.V, payload, n));
      QelButton12Click();
      break;
    case EventKind::Ir: {
      ++Libs.IrDecodeCount;
      if (Libs.IrDecodeCount > kMaxLibraryEntries) {
        // Each code is in its frame once added, so the entries can be reused.
        Log(QStringLiteral("IR entries full: function list restarted"));
        heldIrFunctions_.clear();
        QelComboBox8->clear();
        Libs.IrDecodeCount = 1;
      }
      const IrDecoded d = DecodeIrEvent(F.V, payload, n);
      TIR& entry = Libs.IrLib[Libs.IrDecodeCount];
      entry.Name = std::to_string(Libs.IrDecodeCount);
      if (batchLoading_ && HoldDuringLoads) {
        heldIrFunctions_.append(FromGbk(entry.Name));
      } else {
        QelComboBox8->addItem(FromGbk(entry.Name));
        QelComboBox8->setCurrentIndex(Libs.IrDecodeCount - 1);
      }
      ApplyIr(d.Change);
      entry.Data = d.Code;
      Libs.IrCodeRaw = 1;
      QelButton15Click();
      break;
    }
    case EventKind::TcpIp:
      ApplyTcp(DecodeTcpEvent(F.V, payload, n));
      QelButton17Click();
      break;
    case EventKind::Delay:
      ApplyDelay(DecodeDelayEvent(F.V, payload));
      QelButton19Click();
      break;
    case EventKind::Compare:
      ApplyCompare(DecodeCompareEvent(F.V, payload, n));
      QelButton21Click();
      break;
    case EventKind::Led:
      ApplyLed(DecodeLedEvent(F.V, payload));
      QelButton22Click();
      break;
    case EventKind::Toggle:
      ApplyToggle(DecodeToggleEvent(F.V, payload));
      QelButton23Click();
      break;
  }
  return Model.CurrentEventCount > before;
}

transfer::ImportSink TForm1::RecordSink() {
  const bool upload = Import.Road() == transfer::ImportRoad::Upload;
  return {
      [this](std::string_view header) { return DecodeActionRecordAndAdd(header); },
      [this, upload](int type, std::string_view payload, int n) {
        if (upload) {
          QelListBox1->setCurrentRow(type - 1);
          Log(QStringLiteral("qelpagecontrol1.TabIndex:%1").arg(QelPageControl1->TabIndex()));
        }
        return DecodeEventAndAdd(type, payload, n);
      },
      [this](const std::string& line) { Log(Utf8(line)); },
  };
}

namespace {

QString DatFilter(const Variant& v) { return Utf8(v.SaveAsFilter); }

size_t ProjectHash(const Variant& v, const ConfigModel& m) { return std::hash<std::string>{}(BuildSaveAsFile(v, m)); }

void LogFrames(TForm1& f, const ConfigModel& m) {
  for (int a = 1; a <= m.ActionCount; ++a)
    for (int e = 1; e <= m.Actions[a].EventCount; ++e) {
      // Two lines an event, thousands a save: made straight from ASCII.
      const std::string& frame = m.Actions[a].Events[e].Frame;
      const std::string length = "len" + std::to_string(frame.size());
      f.Log(QString::fromLatin1(length.data(), static_cast<qsizetype>(length.size())));
      const std::string hex = BytesToSpacedHex(frame);
      f.Log(QString::fromLatin1(hex.data(), static_cast<qsizetype>(hex.size())));
    }
}

}  // namespace

bool TForm1::ProjectChanged() const { return ProjectHash(F.V, Model) != keptProject_; }

void TForm1::MarkProjectKept() { keptProject_ = ProjectHash(F.V, Model); }

// Before the project is thrown away: with changes, asks to save them first.
// False when the user stopped it (Cancel, or a save that did not happen).
bool TForm1::MayDiscardProject() {
  if (!ProjectChanged()) return true;
  switch (F.S.Boxes->AskSaveChanges(this, Utf8(F.V.BoxCaption), Utf8(kAskSaveChanges))) {
    case MessageBoxes::SaveAnswer::Save: return SaveAs();
    case MessageBoxes::SaveAnswer::Discard: return true;
    case MessageBoxes::SaveAnswer::Cancel: break;
  }
  return false;
}

void TForm1::Save1Click() {
  const FileNetwork net{ToGbkOrEmpty(IPEdit1->IPString()), ToGbkOrEmpty(IPEdit2->IPString()),
                        ToGbkOrEmpty(IPEdit3->IPString()), ToGbkOrEmpty(QelEdit1->text())};
  std::vector<std::string> devices;
  for (int r = 0; r < ListView3->Count(); ++r) devices.push_back(ToGbkOrEmpty(ListView3->SubItem(r, 0)));
  const std::optional<std::string> bytes = BuildSaveFile(F.V, net, devices, Model);
  if (!bytes) {
    F.Warn(Utf8(kTextTooLong));
    return;
  }
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  if (!F.WriteUserFile(this, Utf8(F.V.BoxCaption), LibraryFolderPath(F.Config, "File", true) / SaveFileName(local),
                       *bytes))
    return;
  MarkProjectKept();
  LogFrames(*this, Model);
  FlushLog();  // two lines an event: at once, not paced as a flood
}

void TForm1::Saveas1Click() { SaveAs(); }

bool TForm1::SaveAs() {
  const QString name =
      F.S.Files->SaveFileName(this, QString::fromStdString(F.Config.ProgramDir.string()), DatFilter(F.V));
  if (name.isEmpty()) return false;
  // ".dat" is added unless it is there; the question is about the file really written.
  std::filesystem::path path(name.toStdString());
  if (path.extension() != ".dat") path += ".dat";
  std::error_code ec;
  if (std::filesystem::exists(path, ec) &&
      !F.S.Boxes->Confirm(this, Utf8(F.V.BoxCaption), Utf8(kAskReplaceFile).arg(QString::fromStdString(path.string()))))
    return false;
  if (!F.WriteUserFile(this, Utf8(F.V.BoxCaption), path, BuildSaveAsFile(F.V, Model))) return false;
  MarkProjectKept();
  return true;
}

void TForm1::Open1Click() {
  if (!MayDiscardProject()) return;
  const QString name = F.S.Files->OpenFileName(
      this, QString::fromStdString(LibraryFolderPath(F.Config, "File", true).string()), DatFilter(F.V));
  if (name.isEmpty()) return;
  const std::filesystem::path path(name.toStdString());
  if (path.extension() != ".dat") return;
  const std::optional<std::string> bytes = F.ReadUserFile(this, Utf8(F.V.BoxCaption), path);
  if (!bytes) return;
  // Judged before anything is cleared: a file that is no project of this build changes nothing.
  ProjectReadResult read = ReadProjectFile(F.V, *bytes);
  if (!HoldsProject(F.V, read)) {
    F.Warn(Utf8(kCannotOpenFile).arg(name, Utf8(kNoProjectOfThisProgram).arg(Utf8(F.V.BoxCaption))));
    return;
  }
  EndUpload();
  LoadProject(read);
  if (read.EndsEarly) F.Warn(Utf8(kProjectEndsEarly).arg(name));
}

// The combo ends as if each name had been added and selected in turn.
void TForm1::PutHeldIrFunctions() {
  if (heldIrFunctions_.isEmpty()) return;
  QelComboBox8->addItems(heldIrFunctions_);
  heldIrFunctions_.clear();
  QelComboBox8->setCurrentIndex(QelComboBox8->count() - 1);
}

void TForm1::LoadProject(std::string_view bytes) { LoadProject(ReadProjectFile(F.V, bytes)); }

void TForm1::LoadProject(const ProjectReadResult& read) {
  QelButton8Click();
  Log(QStringLiteral("upload start"));
  Libs.IrDecodeCount = 0;
  QelComboBox8->clear();
  for (const std::string& line : read.Log) Log(Utf8(line));

  // A damaged file could refuse thousands of events: each message once, after the load.
  F.BeginCollectingWarnings();
  // The window repaints once at the end, not for every page and row on the way.
  setUpdatesEnabled(false);
  // The memos show only the last event's text: written once, at the end.
  const std::array<MemoBytes*, 3> memos{Memo1Bytes, Memo2Bytes, Memo3Bytes};
  if (HoldDuringLoads)
    for (MemoBytes* m : memos) m->Hold(true);
  batchLoading_ = true;
  lastDecodedPage_ = -1;
  Import.Begin(transfer::ImportRoad::File);
  const transfer::ImportSink sink = RecordSink();
  for (const ProjectRecord& rec : read.Records) {
    if (const auto* net = std::get_if<FileNetwork>(&rec)) {
      IPEdit1->SetIPString(FromGbk(net->Ip));
      IPEdit2->SetIPString(FromGbk(net->Mask));
      IPEdit3->SetIPString(FromGbk(net->Gateway));
      QelEdit1->setText(FromGbk(net->Port));
    } else if (const auto* dev = std::get_if<FileDevice>(&rec)) {
      Devices.AddIfAbsent(FromGbk(dev->Name).toStdString());
    } else if (const auto* h = std::get_if<FileHeader>(&rec)) {
      Import.Action(*h, sink);
    } else if (const auto* e = std::get_if<FileEvent>(&rec)) {
      Import.Event(*e, sink);
    }
  }
  batchLoading_ = false;
  UpdateLinkLamp();  // the file's panel fields
  PutHeldIrFunctions();
  for (MemoBytes* m : memos) m->Hold(false);
  if (HoldDuringLoads) {
    // The list shows the last action's events, as when each row was added on the way.
    const bool live = Model.CurrentAction >= 1 && Model.CurrentAction <= Model.ActionCount;
    for (int e = 1; live && e <= Model.CurrentEventCount; ++e) AddEventRow(e);
  }
  if (lastDecodedPage_ >= 0) QelPageControl1->SetTabIndex(lastDecodedPage_);
  setUpdatesEnabled(true);
  MarkProjectKept();
  // Thousands of lines: into the memo now, rather than wait out the flood pacing.
  FlushLog();
  F.EndCollectingWarnings();
}
