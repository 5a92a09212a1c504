#include "ui/tform5.h"

#include "ui/textcodec.h"

TForm5::TForm5(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form5"));
  setWindowTitle(QStringLiteral("Dialog"));
  Edit1 = new QLineEdit(this);
  Button1 = new QPushButton(QStringLiteral("Ok"), this);
  Button2 = new QPushButton(QStringLiteral("Cancel"), this);
  connect(Button1, &QPushButton::clicked, this, &TForm5::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm5::Button2Click);
}

void TForm5::Ask(std::function<void(const std::string&)> ok) {
  ok_ = std::move(ok);
  F.S.Dialogs->Run(this);
}

void TForm5::Button1Click() {
  std::string name;
  if (!ToGbk(Edit1->text(), &name)) return;
  auto ok = std::move(ok_);
  ok_ = nullptr;
  Edit1->clear();
  close();
  if (ok) ok(name);
}
