#include "ui/tform5.h"

#include "model/rs232lib.h"
#include "ui/textcodec.h"
#include "ui/widgets.h"

bool GbkKeyFilter(const QString& typed) { return GbkLength(typed) >= 0; }

TForm5::TForm5(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("Dialog"));
  setFixedSize(268, 112);

  Label1 = new QLabel(QStringLiteral("Name:"), this);
  Label1->setGeometry(16, 20, 48, 22);
  auto* edit = new TEdit(this);
  edit->KeyPress = GbkKeyFilter;
  Edit1 = edit;
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(68, 19, 182, 24);
  Label1->setBuddy(Edit1);

  Button1 = new QPushButton(QStringLiteral("Ok"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAutoDefault(false);
  Button1->setDefault(true);
  Button1->setGeometry(44, 66, 80, 28);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setAutoDefault(false);
  Button2->setGeometry(144, 66, 80, 28);
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
    F.Warn(this, LibraryBoxCaption(F.V), QStringLiteral("Data is not legal"));
    return;
  }
  if (use_ == NameUse::Library && !IsLibraryFileName(name)) {
    F.Warn(this, LibraryBoxCaption(F.V), QStringLiteral("Please create a new lib name"));
    return;
  }
  auto ok = std::move(ok_);
  ok_ = nullptr;
  Edit1->clear();
  close();
  if (ok) ok(name);
}
