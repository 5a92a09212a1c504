#pragma once
// The "Download" dialog: writes the model into the panel frame by frame on
// the GUI thread. Each accepted acknowledgement schedules the next frame;
// a timer, not a thread, waits out the gap, so nothing runs while the panel
// is silent.
#include <QDialog>
#include <QElapsedTimer>
#include <string_view>

#include "controls/qelbuttons.h"
#include "controls/qellabel.h"
#include "link/transfer.h"
#include "ui/forms.h"

class QProgressBar;
class QTimer;

class TForm7 : public QDialog {
 public:
  explicit TForm7(Forms& forms);

  QProgressBar* ProgressBar1 = nullptr;
  TQelLabel* Label1 = nullptr;    // "Done:" and the percentage
  TQelButton* Button1 = nullptr;  // shows the stage: "Start", "Downloading", "Success"
  TQelButton* Button2 = nullptr;  // "Cancel"
  TQelButton* Button3 = nullptr;  // hidden: the main window's "Save as"
  TQelButton* Button4 = nullptr;  // hidden: the main window's "Save"
  QTimer* Timer1 = nullptr;       // 200 ms, on while a download runs; does nothing

  // The counters and the state of the download.
  transfer::DownloadMachine Download;

  // What Button1 does, and so what it shows: Ready starts a download
  // ("Start"; a running one is left alone), Sending does nothing while the
  // panel's acknowledgements drive the frames ("Downloading"), Succeeded
  // closes the dialog ("Success").
  enum class Stage { Ready, Sending, Succeeded };

  void FormShow();
  void FormClose();
  void Button1Click();
  void Button2Click();
  void Button3Click();
  void Button4Click();
  void Timer1Timer() {}

  // A TransferAck that connection `link` sent.
  void Ack(int link, std::string_view message);
  // A connection left the server: the download ends if it was its own.
  void LinkRemoved();

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void done(int result) override;

 private:
  void SetStage(Stage stage);
  void Start();
  void WriteDue();
  void Halt();
  // The panel refused or nothing is left to send: "Download Fail!", "Start" again.
  void Fail();
  void Warn(const QString& text);
  void ShowProgress();
  void FlushLog();

  Forms& F;
  QTimer* sendTimer_ = nullptr;  // single shot: the next frame's time
  QElapsedTimer clock_;
  qint64 lastWriteNs_ = 0;
  qint64 dueNs_ = 0;
  quint64 link_ = 0;  // the connection the download was started on
  Stage stage_ = Stage::Ready;
};
