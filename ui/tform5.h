#pragma once
// The name dialog the RS232 and IR library editors share. It acts only for
// the editor that opened it: the opener says what "Ok" does.
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <functional>
#include <string>

#include "controls/qelbuttons.h"
#include "ui/forms.h"
#include "ui/textcodec.h"

// What the asked name becomes. A library name becomes a file name, so it
// must be one that stays inside the library folder.
enum class NameUse { Function, Library };

class TForm5 : public QDialog {
 public:
  explicit TForm5(Forms& forms);

  QLabel* Label1 = nullptr;       // "Name:"
  QLineEdit* Edit1 = nullptr;     // a TEdit: typed characters outside code page 936 are dropped
  TQelButton* Button1 = nullptr;  // "Ok"
  TQelButton* Button2 = nullptr;  // "Cancel"

  // Shows the dialog for one request; `ok` gets the name (code page 936
  // bytes) when the user presses "Ok" and the name is accepted. A refused
  // name leaves the dialog open with its text.
  void Ask(std::function<void(const std::string& name)> ok, NameUse use = NameUse::Function);

  void Button1Click();
  void Button2Click() { close(); }

 private:
  Forms& F;
  std::function<void(const std::string&)> ok_;
  NameUse use_ = NameUse::Function;
};

// Caption of the library editors' warning boxes: both builds use the one
// they give the Delay page's box.
inline QString LibraryBoxCaption(const Variant& v) { return Utf8(v.DelayBoxCaption); }
