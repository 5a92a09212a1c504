#pragma once
// "Set MAC": six hex fields that move on by themselves while typing.
#include <QDialog>
#include <QGroupBox>
#include <array>

#include "controls/qelbuttons.h"
#include "ui/forms.h"
#include "ui/widgets.h"

class TForm9 : public QDialog {
 public:
  explicit TForm9(Forms& forms);

  QGroupBox* GroupBox1 = nullptr;  // "Mac address"
  std::array<TEdit*, 6> Edits{};   // Edit1 .. Edit6
  TQelButton* Button1 = nullptr;   // "Ok"
  TQelButton* Button2 = nullptr;   // "Cancel"

  // Typed character in field k (0..5); false drops it.
  bool EditKeyPress(int k, const QString& typed);
  // Field k (1..5) became empty: back to the field before.
  void EditChange(int k);
  void Button1Click();
  void Button2Click() { reject(); }

 private:
  Forms& F;
};
