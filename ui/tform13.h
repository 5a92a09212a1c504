#pragma once
// "Modify": a type text, a name text or a "POWN" data text for the linked
// panel; the label says which.
#include <QDialog>

#include "controls/qelbuttons.h"
#include "controls/qellabel.h"
#include "ui/forms.h"
#include "ui/widgets.h"

class TForm13 : public QDialog {
 public:
  explicit TForm13(Forms& forms);

  TQelLabel* Label1 = nullptr;  // "Type:", "Name:" or "Data:"
  TEdit* Edit1 = nullptr;       // 16 characters at most
  TQelButton* Button1 = nullptr;  // "OK"
  TQelButton* Button2 = nullptr;  // "Cancel"

  void FormShow() { Edit1->clear(); }
  void Button1Click();
  void Button2Click() { reject(); }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  Forms& F;
};
