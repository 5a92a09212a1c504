#pragma once
// "TCP/IP": a device entered by hand into the main window's device list.
// Shown without waiting; hidden, never closed.
#include <QDialog>

#include "controls/qelbuttons.h"
#include "ipedit/tipedit.h"
#include "ui/forms.h"
#include "ui/widgets.h"

class TForm3 : public QDialog {
 public:
  explicit TForm3(Forms& forms);

  TIPEdit* IPEdit1 = nullptr;     // "IP Address:"
  TIPEdit* IPEdit2 = nullptr;     // "Net Mask:"
  TIPEdit* IPEdit3 = nullptr;     // "Gateway:"
  TEdit* Edit1 = nullptr;         // "Port ID:", digits only
  TQelButton* Button2 = nullptr;  // "Add"
  TQelButton* Button1 = nullptr;  // "Cancel"

  void FormShow();
  void Button2Click();
  void Button1Click() { hide(); }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  Forms& F;
};
