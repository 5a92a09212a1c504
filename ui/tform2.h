#pragma once
// Key-action dialog of keys 1..9: adds an action, or names a key ("Set").
#include <QComboBox>
#include <QDialog>
#include <QLabel>

#include "controls/qelbuttons.h"
#include "ui/forms.h"
#include "ui/widgets.h"

class TForm2 : public QDialog {
 public:
  explicit TForm2(Forms& forms);

  QComboBox* ComboBox1 = nullptr;  // kind, editable
  QComboBox* ComboBox3 = nullptr;  // group
  TEdit* Edit1 = nullptr;          // key name
  TQelButton* Button1 = nullptr;   // "Add"
  TQelButton* Button2 = nullptr;   // "Set"
  TQelButton* Button3 = nullptr;   // "Cancel"

  void Button1Click();
  void Button2Click();
  void Button3Click() { close(); }
  // False drops the typed text: a name is at most 4 characters (of the
  // 8-bit code page) when typed.
  bool Edit1KeyPress(const QString& typed) const;

 private:
  Forms& F;
};

// What the key dialogs do with an Add outcome other than "Added"; true
// when the dialog should close.
enum class AddActionOutcome;
bool ReportAddOutcome(Forms& f, AddActionOutcome outcome);
