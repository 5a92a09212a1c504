#pragma once
// Key-action dialog of key 10 ("XN"): left- or right-handed.
#include <QDialog>

#include "controls/qelbuttons.h"
#include "controls/qellabel.h"
#include "controls/qellists.h"
#include "ui/forms.h"

class TForm12 : public QDialog {
 public:
  explicit TForm12(Forms& forms);

  TQelComboBox* QelComboBox1 = nullptr;
  TQelButton* QelButton1 = nullptr;  // "Add"
  TQelButton* QelButton2 = nullptr;  // "Cancel"

  void QelButton1Click();
  void QelButton2Click() { close(); }

 private:
  Forms& F;
};
