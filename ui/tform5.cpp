#include "ui/tform5.h"

#include "model/libraries.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/textcodec.h"
#include "ui/widgets.h"

using namespace layout;

TForm5::TForm5(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(Utf8(kDialogTitle));
  setFixedSize(268, 112);

  Label1 = MakeLabel(this, Utf8(kNameLabel), QRect(16, 20, 48, 22));
  auto* edit = Place(new TEdit(this), "Edit1", QRect(68, 19, 182, 24));
  edit->KeyPress = GbkKeyFilter;
  Edit1 = edit;
  Label1->setBuddy(Edit1);

  Button1 = MakeButton<TQelButton>(this, "Button1", Utf8(kOk), QRect(44, 66, 80, 28));
  Button1->SetDefault(true);
  Button2 = MakeButton<TQelButton>(this, "Button2", Utf8(kCancel), QRect(144, 66, 80, 28));
  connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

void TForm5::Ask(std::function<void(const std::string&)> ok, NameUse use) {
  ok_ = std::move(ok);
  use_ = use;
  Edit1->setFocus();
  F.S.Dialogs->Run(this);
}

void TForm5::Button1Click() {
  std::string name;
  // Pasted text passes no key filter; 01 and 04 would shift the library's fields.
  if (!ToGbk(Edit1->text(), &name) || HoldsFieldMark(name)) {
    F.Warn(this, LibraryBoxCaption(F.V), Utf8(kNotLegal));
    return;
  }
  if (use_ == NameUse::Library && !IsLibraryFileName(name)) {
    F.Warn(this, LibraryBoxCaption(F.V), Utf8(kNewLibName));
    return;
  }
  auto ok = std::move(ok_);
  ok_ = nullptr;
  Edit1->clear();
  close();
  if (ok) ok(name);
}
