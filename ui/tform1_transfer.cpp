// The main window's side of the transfers: "Download" and "Upload", and the
// acknowledgements and records the dispatcher hands over.
#include "link/protocol.h"
#include "link/server.h"
#include "model/hex.h"
#include "ui/tform1.h"
#include "ui/tform7.h"

namespace {


void LogCrc(TForm1& f, const transfer::RecordCheck& c) {
  f.Log(QStringLiteral("crc1:%1crc2:%2").arg(c.Computed).arg(c.Received));
}

// Answers a record on the connection it came from.
void AnswerRecord(TForm1& f, int link, bool eventRecord, bool accepted) {
  const std::string ack = transfer::RecordAck(eventRecord, accepted);
  f.Log(Utf8(BytesToSpacedHex(ack)));
  f.IdTCPServer1->WriteLine(link, ack);
}

}  // namespace

void TForm1::Download2Click() { F.S.Dialogs->Run(F.Form7); }

void TForm1::Download1Click() {
  // Without a panel to answer, clearing the model would only lose it.
  if (!IdTCPServer1->IsOpen(SelectedLink)) {
    F.Warn(QStringLiteral("No panel is linked: the configuration was left as it is"));
    return;
  }
  if (!MayDiscardProject()) return;
  EndUpload();
  SendCommand(cmd::Upload, SelectedLink);
  Upload.Begin(IdTCPServer1->LinkId(SelectedLink));
  IrDecodeCount = 0;
  QelComboBox8->clear();
  QelComboBox8->clearEditText();
  QelButton8Click();
  MarkProjectKept();
}

void TForm1::EndUpload() { Upload.End(); }

void TForm1::TransfersLinkRemoved() {
  if (F.Form7) F.Form7->LinkRemoved();
  if (!Upload.Running() || IdTCPServer1->IndexOfLink(Upload.Link) >= 0) return;
  // Not the user's doing: nothing here may wait for the user.
  Forms::NonBlockingWarnings nonBlocking(F);
  Log(QStringLiteral("upload incomplete: the panel's connection closed"));
  QString text = QStringLiteral("The panel's connection closed: the upload is incomplete; what arrived is kept");
  if (Upload.DroppedActions || Upload.DroppedEvents)
    text += QStringLiteral(" (%1 actions and %2 events were past what the lists hold)")
                .arg(Upload.DroppedActions)
                .arg(Upload.DroppedEvents);
  Upload.End();
  F.Warn(text);
}

void TForm1::TransferAck(int link, std::string_view message) {
  if (F.Form7) F.Form7->Ack(link, message);
}

bool TForm1::UploadActionRecord(int link, std::string_view r) {
  if (!Upload.From(IdTCPServer1->LinkId(link))) return false;
  const transfer::RecordCheck c = transfer::CheckActionRecord(F.V, r);
  LogCrc(*this, c);
  if (!c.Ok()) {
    Log(c.LengthOk ? QStringLiteral("crc err") : QStringLiteral("crc err: action record of %1 bytes").arg(r.size()));
    AnswerRecord(*this, link, false, false);
    return true;
  }
  McuActionSum = ByteAt(r, 2);
  McuActionIndex = ByteAt(r, 3);
  Log(QStringLiteral("McuActionSum%1McuActionindex%2").arg(McuActionSum).arg(McuActionIndex));
  Log(QStringLiteral("ss") + Utf8(BytesToSpacedHex(r)));
  const std::string_view payload = r.substr(4, r.size() - 7);
  if (Model.ActionCount >= kMaxActions) {
    // Taken and dropped: one warning at the end rather than one per record.
    McuEventSum = WordAt(payload, 0);
    ++Upload.DroppedActions;
    Upload.SkipEvents = true;
  } else {
    // Events of a record that made no action would land in the one before.
    Upload.SkipEvents = !DecodeActionRecordAndAdd(payload);
    if (Upload.SkipEvents) Log(QStringLiteral("action %1 not added: its events are skipped").arg(McuActionIndex));
  }
  AnswerRecord(*this, link, false, true);
  return true;
}

bool TForm1::UploadEventRecord(int link, std::string_view r) {
  if (!Upload.From(IdTCPServer1->LinkId(link))) return false;
  const transfer::RecordCheck c = transfer::CheckEventRecord(r);
  LogCrc(*this, c);
  if (!c.Ok()) {
    Log(c.LengthOk ? QStringLiteral("crc err")
                   : QStringLiteral("crc err: length field %1 in an event record of %2 bytes")
                         .arg(r.size() >= 6 ? WordAt(r, 4) : -1)
                         .arg(r.size()));
    AnswerRecord(*this, link, true, false);
    return true;
  }
  McuEventIndex = WordAt(r, 1);
  const int type = ByteAt(r, 3);
  const int n = WordAt(r, 4);
  Log(QStringLiteral("McuEventindex%1").arg(McuEventIndex));
  Log(QStringLiteral("itype%1len:%2").arg(type).arg(n));
  Log(QStringLiteral("ss") + Utf8(BytesToSpacedHex(r)));
  if (type >= 1 && type <= 7) {
    const bool live = Model.CurrentAction >= 1 && Model.CurrentAction <= Model.ActionCount;
    if (Upload.SkipEvents) {
      // Decoded, it would land in no action or in the wrong one.
      Log(QStringLiteral("event %1 skipped").arg(McuEventIndex));
    } else if (live && Model.Actions[Model.CurrentAction].EventCount >= kMaxEvents) {
      ++Upload.DroppedEvents;
    } else {
      QelListBox1->setCurrentRow(type - 1);
      Log(QStringLiteral("qelpagecontrol1.TabIndex:%1").arg(QelPageControl1->TabIndex()));
      // The payload goes with its F4, as it came.
      if (!DecodeEventAndAdd(type, r.substr(6, r.size() - 8), n))
        Log(QStringLiteral("event %1 of action %2 refused").arg(McuEventIndex).arg(McuActionIndex));
    }
  }
  AnswerRecord(*this, link, true, true);
  if (McuEventSum == McuEventIndex && McuActionSum == McuActionIndex) {
    IrDecodeCount = 0;
    QelListBox1->setCurrentRow(0);
    QelPageControl1->SetTabIndex(0);
    Log(QStringLiteral("upload complete!!!"));
    MarkProjectKept();
    const int actions = Upload.DroppedActions, events = Upload.DroppedEvents;
    Upload.End();
    if (actions || events)
      F.Warn(QStringLiteral("The panel sent more than the lists hold: %1 actions and %2 events were not taken")
                 .arg(actions)
                 .arg(events));
  }
  return true;
}
