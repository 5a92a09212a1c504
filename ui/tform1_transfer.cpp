// The main window's side of the transfers: "Download" and "Upload", and the
// acknowledgements and records the dispatcher hands over.
#include <QTimer>

#include "link/protocol.h"
#include "link/server.h"
#include "model/hex.h"
#include "model/texts.h"
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
  // Without the panel shown to answer, clearing the model would only lose it.
  if (!MayCommandPanel(nullptr, kUploadNoPanel)) return;
  if (!MayDiscardProject()) return;
  EndUpload();
  Link->SendCommand(cmd::Upload, SelectedLink);
  Upload.Begin(IdTCPServer1->LinkId(SelectedLink));
  HoldPaintingWhileRecordsCome();
  Import.Begin(transfer::ImportRoad::Upload);
  Libs.IrDecodeCount = 0;
  QelComboBox8->clear();
  QelComboBox8->clearEditText();
  QelButton8Click();
  MarkProjectKept();
}

void TForm1::EndUpload() {
  Upload.End();
  if (paintHoldTimer_) paintHoldTimer_->stop();
  HoldPainting(false);
}

void TForm1::HoldPainting(bool on) {
  if (on == paintHeld_ || (on && !HoldDuringLoads)) return;
  paintHeld_ = on;
  // Held below the window itself, which keeps painting its menu bar and
  // status bar. Qt, handling an update request while a top-level window's
  // updates are off, leaves the window's dirty widgets listed, and while
  // they stay listed no later update asks for a paint again: the window
  // would paint nothing until it is exposed. An "Upload" chosen from the
  // menu comes with such a request pending (the closing menu's).
  centralWidget()->setUpdatesEnabled(!on);
}

// Each record would otherwise repaint the page, the memo and the Event List
// before the next arrives; the window is drawn once the records stop coming
// (the end, or a panel pausing).
void TForm1::HoldPaintingWhileRecordsCome() {
  if (!HoldDuringLoads || !Upload.Running()) return;
  if (!paintHoldTimer_) {
    paintHoldTimer_ = new QTimer(this);
    paintHoldTimer_->setSingleShot(true);
    paintHoldTimer_->setInterval(250);
    connect(paintHoldTimer_, &QTimer::timeout, this, [this] { HoldPainting(false); });
  }
  HoldPainting(true);
  paintHoldTimer_->start();
}

// A connection left the server: a transfer on it ends with a warning.
void TForm1::TransfersLinkRemoved() {
  if (F.Form7) F.Form7->LinkRemoved();
  if (!Upload.Running() || IdTCPServer1->IndexOfLink(Upload.Link) >= 0) return;
  // Not the user's doing: nothing here may wait for the user.
  Forms::NonBlockingWarnings nonBlocking(F);
  Log(QStringLiteral("upload incomplete: the panel's connection closed"));
  QString text = Utf8(kUploadConnectionClosed);
  if (Import.DroppedActions || Import.DroppedEvents)
    text += Utf8(kUploadDroppedPart).arg(Import.DroppedActions).arg(Import.DroppedEvents);
  EndUpload();
  F.Warn(text);
}

// What the dispatcher hands over from connection `link`; the record handlers
// return false when no upload takes records from it.
void TForm1::TransferAck(int link, std::string_view message) {
  if (F.Form7) F.Form7->Ack(link, message);
}

bool TForm1::UploadActionRecord(int link, std::string_view r) {
  if (!Upload.From(IdTCPServer1->LinkId(link))) return false;
  HoldPaintingWhileRecordsCome();
  const transfer::RecordCheck c = transfer::CheckActionRecord(F.V, r);
  LogCrc(*this, c);
  if (!c.Ok()) {
    Log(c.LengthOk ? Utf8(kLogCrcError) : QStringLiteral("crc err: action record of %1 bytes").arg(r.size()));
    AnswerRecord(*this, link, false, false);
    return true;
  }
  Import.Action(transfer::ParseActionRecord(r), RecordSink());
  AnswerRecord(*this, link, false, true);
  return true;
}

bool TForm1::UploadEventRecord(int link, std::string_view r) {
  if (!Upload.From(IdTCPServer1->LinkId(link))) return false;
  HoldPaintingWhileRecordsCome();
  const transfer::RecordCheck c = transfer::CheckEventRecord(r);
  LogCrc(*this, c);
  if (!c.Ok()) {
    Log(c.LengthOk ? Utf8(kLogCrcError)
                   : QStringLiteral("crc err: length field %1 in an event record of %2 bytes")
                         .arg(r.size() >= 6 ? WordAt(r, 4) : -1)
                         .arg(r.size()));
    AnswerRecord(*this, link, true, false);
    return true;
  }
  const transfer::ImportSink sink = RecordSink();
  Import.Event(transfer::ParseEventRecord(r), sink);
  AnswerRecord(*this, link, true, true);
  if (Import.Complete(sink)) {
    Libs.IrDecodeCount = 0;
    QelListBox1->setCurrentRow(0);
    QelPageControl1->SetTabIndex(0);
    MarkProjectKept();
    EndUpload();
    if (Import.DroppedActions || Import.DroppedEvents)
      F.Warn(Utf8(kUploadDropped).arg(Import.DroppedActions).arg(Import.DroppedEvents));
  }
  return true;
}
