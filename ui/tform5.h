#pragma once
// The name dialog the RS232 and IR library editors share. It acts only for
// the editor that opened it: the opener says what "Ok" does.
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <functional>
#include <string>

#include "ui/forms.h"

class TForm5 : public QDialog {
 public:
  explicit TForm5(Forms& forms);

  QLineEdit* Edit1 = nullptr;       // "Name:"
  QPushButton* Button1 = nullptr;   // "Ok"
  QPushButton* Button2 = nullptr;   // "Cancel"

  // Shows the dialog for one request; `ok` gets the name (8-bit bytes) when
  // the user presses "Ok" and the name is accepted.
  void Ask(std::function<void(const std::string& name)> ok);

  void Button1Click();
  void Button2Click() { close(); }

 private:
  Forms& F;
  std::function<void(const std::string&)> ok_;
};
