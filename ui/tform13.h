#pragma once
// "Modify": a type text, a name text or a "POWN" data text for the linked
// panel. The dialog acts for the field it was asked for; its label shows it.
#include <QDialog>

#include "controls/qelbuttons.h"
#include "controls/qellabel.h"
#include "ui/forms.h"
#include "ui/widgets.h"

class TForm13 : public QDialog {
 public:
  explicit TForm13(Forms& forms);

  TQelLabel* Label1 = nullptr;    // "Type:", "Name:" or "Data:": the field asked for
  TEdit* Edit1 = nullptr;         // 16 characters at most
  TQelButton* Button1 = nullptr;  // "OK"
  TQelButton* Button2 = nullptr;  // "Cancel"

  enum class Field { None, Type, Name, Data };
  // Shows the dialog for one field; "OK" sends that field, and once the
  // dialog is done it sends nothing until asked again.
  void Ask(Field field);

  void FormShow() { Edit1->clear(); }
  void Button1Click();
  void Button2Click() { reject(); }

 protected:
  void showEvent(QShowEvent* e) override;
  void done(int result) override;

 private:
  Forms& F;
  Field field_ = Field::None;
};
