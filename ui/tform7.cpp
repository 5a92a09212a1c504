#include "ui/tform7.h"

#include <QCloseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "link/panellink.h"
#include "link/protocol.h"
#include "link/server.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/tform1.h"

namespace {

constexpr int kAfterAckMs = 5;
constexpr qint64 kNsPerMs = 1000000;

}  // namespace

TForm7::TForm7(Forms& forms) : QDialog(nullptr), Download(forms.V), F(forms) {
  setObjectName(QStringLiteral("Form7"));
  setWindowTitle(Utf8(kDownload));
  setFixedSize(360, 132);

  ProgressBar1 = layout::Place(new QProgressBar(this), "ProgressBar1", QRect(16, 16, 328, 22));
  ProgressBar1->setTextVisible(false);
  ProgressBar1->setRange(0, 2);
  ProgressBar1->setValue(0);
  Label1 = layout::Place(new TQelLabel(Utf8(transfer::DoneTextOf(0)), this), "Label1", QRect(16, 46, 328, 22));
  Label1->setAlignment(Qt::AlignCenter);

  using layout::MakeButton;
  Button1 = MakeButton<TQelButton>(this, "Button1", QString(), QRect(78, 84, 96, 30));
  SetStage(Stage::Ready);
  Button2 = MakeButton<TQelButton>(this, "Button2", Utf8(kCancel), QRect(186, 84, 96, 30));
  Button3 = MakeButton<TQelButton>(this, "Button3", Utf8(kSaveAs), QRect(16, 84, 56, 30));
  Button4 = MakeButton<TQelButton>(this, "Button4", Utf8(kSave), QRect(288, 84, 56, 30));
  Button3->hide();
  Button4->hide();

  Timer1 = new QTimer(this);
  Timer1->setInterval(200);
  sendTimer_ = new QTimer(this);
  sendTimer_->setSingleShot(true);
  // The gap between frames is a floor: a coarse timer may fire early.
  sendTimer_->setTimerType(Qt::PreciseTimer);
  clock_.start();

  connect(Button1, &QPushButton::clicked, this, &TForm7::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm7::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm7::Button3Click);
  connect(Button4, &QPushButton::clicked, this, &TForm7::Button4Click);
  connect(Timer1, &QTimer::timeout, this, &TForm7::Timer1Timer);
  connect(sendTimer_, &QTimer::timeout, this, &TForm7::WriteDue);
}

void TForm7::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
}

void TForm7::FormShow() {
  Label1->setText(Utf8(transfer::DoneTextOf(0)));
  SetStage(Stage::Ready);
  ProgressBar1->setValue(0);
}

void TForm7::SetStage(Stage stage) {
  stage_ = stage;
  const char* caption = stage == Stage::Ready ? kStart : stage == Stage::Sending ? kDownloading : kSuccess;
  Button1->setText(Utf8(caption));
}

void TForm7::closeEvent(QCloseEvent* e) {
  // A shown dialog closes through done(); a hidden one only comes here.
  if (!isVisible()) FormClose();
  QDialog::closeEvent(e);
}

void TForm7::done(int result) {
  FormClose();
  QDialog::done(result);
}

void TForm7::FormClose() {
  Halt();
  F.Log(QStringLiteral("form7.close!"));
}

void TForm7::Button1Click() {
  switch (stage_) {
    case Stage::Ready: Start(); break;
    case Stage::Sending:  // the panel's acknowledgements drive it
      break;
    case Stage::Succeeded:
      Halt();
      close();
      break;
  }
}

void TForm7::Button2Click() {
  Halt();
  close();
}

void TForm7::Button3Click() { F.Form1->Saveas1Click(); }
void TForm7::Button4Click() { F.Form1->Save1Click(); }

void TForm7::Halt() {
  sendTimer_->stop();
  Timer1->stop();
  Download.Stop();
  FlushLog();
}

void TForm7::Fail() {
  Halt();
  SetStage(Stage::Ready);
  Warn(Utf8(kDownloadFail));
}

void TForm7::Warn(const QString& text) { F.Warn(this, Utf8(F.V.BoxCaption), text); }

void TForm7::Start() {
  if (Download.Running()) return;
  if (!F.Form1->MayCommandPanel(this)) return;
  LinkServer& server = *F.Link->Server();
  const int n = F.Link->SelectedLink;
  switch (transfer::CheckDownload(*F.Model)) {
    case transfer::DownloadCheck::Ok: break;
    case transfer::DownloadCheck::NoEvents: Warn(Utf8(kDownloadNoEvents)); return;
    case transfer::DownloadCheck::PastEeprom: Warn(Utf8(kDownloadPastEeprom)); return;
  }
  // Records arriving from here on are not the answer to any upload.
  F.Form1->EndUpload();
  link_ = server.LinkId(n);
  Timer1->start();
  Download.Start(*F.Model);
  FlushLog();
  F.Link->SendCommand(cmd::TransferClear, n);
  lastWriteNs_ = clock_.nsecsElapsed();
  ShowProgress();
}

void TForm7::Ack(int link, std::string_view message) {
  const bool own = link_ != 0 && F.Link->Server()->LinkId(link) == link_;
  const auto outcome = Download.OnAck(*F.Model, message, own);
  FlushLog();
  using O = transfer::DownloadMachine::AckOutcome;
  switch (outcome) {
    case O::Ignored: break;
    case O::Accepted: {
      const qint64 now = clock_.nsecsElapsed();
      dueNs_ = std::max(now + kAfterAckMs * kNsPerMs, lastWriteNs_ + F.Config.FrameGapMs * kNsPerMs);
      WriteDue();
      break;
    }
    case O::Refused: Fail(); break;
    case O::Complete:
      Timer1->stop();
      SetStage(Stage::Succeeded);
      break;
  }
}

void TForm7::WriteDue() {
  const qint64 now = clock_.nsecsElapsed();
  if (now < dueNs_) {
    sendTimer_->start(static_cast<int>((dueNs_ - now + kNsPerMs - 1) / kNsPerMs));
    return;
  }
  LinkServer& server = *F.Link->Server();
  const int n = server.IndexOfLink(link_);
  if (n < 0) {
    LinkRemoved();
    return;
  }
  const std::optional<std::string> frame = Download.Next(*F.Model);
  FlushLog();
  if (!frame) {
    if (Download.State() == transfer::DownloadMachine::Phase::Failed) {
      Forms::NonBlockingWarnings nonBlocking(F);
      Fail();
    }
    return;
  }
  // A failed write closes the connection, and LinkRemoved ends the download,
  // at once when the write met a reset.
  if (!server.WriteLine(n, *frame) && !Download.Running()) return;
  // The next frame's gap counts from the write itself, not from before the
  // frame was built and the log flushed.
  lastWriteNs_ = clock_.nsecsElapsed();
  if (!Download.ClosingSent()) SetStage(Stage::Sending);
  ShowProgress();
}

void TForm7::LinkRemoved() {
  if (!Download.Running() || F.Link->Server()->IndexOfLink(link_) >= 0) return;
  // Not the user's doing: nothing here may wait for the user.
  Forms::NonBlockingWarnings nonBlocking(F);
  Halt();
  F.Log(QStringLiteral("download stopped: the panel's connection closed"));
  SetStage(Stage::Ready);
  Warn(Utf8(kDownloadConnectionClosed));
}

void TForm7::ShowProgress() {
  ProgressBar1->setMaximum(Download.Maximum());
  ProgressBar1->setValue(Download.Progress());
  Label1->setText(QString::fromStdString(Download.DoneText()));
}

void TForm7::FlushLog() {
  for (const std::string& line : Download.TakeLog()) F.Log(Utf8(line));
}
