#pragma once
// "Set IP": sends the linked panel its address, port, mask and gateway.
#include <QDialog>

#include "controls/qelbuttons.h"
#include "controls/qeledits.h"
#include "ui/forms.h"

class TForm8 : public QDialog {
 public:
  explicit TForm8(Forms& forms);

  // Four groups of three digit places, dots kept, blanks where empty.
  TQelEdit* MaskEdit1 = nullptr;  // "IP Address:"
  TQelEdit* MaskEdit2 = nullptr;  // "NET Mask:"
  TQelEdit* MaskEdit3 = nullptr;  // "Gateway:"
  TQelEdit* MaskEdit4 = nullptr;  // "Port:", 4 characters typed at most
  TQelButton* Button1 = nullptr;  // "Ok"
  TQelButton* Button2 = nullptr;  // "Cannel"

  void FormShow();
  void Button1Click();
  void Button2Click() { reject(); }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  Forms& F;
};
