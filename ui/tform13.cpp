#include "ui/tform13.h"

#include "link/panellink.h"
#include "link/protocol.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/tform1.h"
#include "ui/textcodec.h"
#include "ui/widgets.h"

using namespace layout;

TForm13::TForm13(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form13"));
  setWindowTitle(Utf8(kModify));
  setFixedSize(268, 112);

  Label1 = Place(new TQelLabel(Utf8(kTypeLabel), this), "Label1", QRect(16, 20, 48, 22));
  Edit1 = Place(new TEdit(this), "Edit1", QRect(68, 19, 182, 24));
  Edit1->setMaxLength(16);
  Edit1->KeyPress = GbkKeyFilter;
  Button1 = MakeButton<TQelButton>(this, "Button1", Utf8(kOkCapitals), QRect(44, 66, 80, 28));
  Button2 = MakeButton<TQelButton>(this, "Button2", Utf8(kCancel), QRect(144, 66, 80, 28));
  connect(Button1, &QPushButton::clicked, this, &TForm13::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm13::Button2Click);
}

void TForm13::Ask(Field field) {
  field_ = field;
  const char* label = field == Field::Type ? kTypeLabel : field == Field::Name ? kNameLabel : kDataLabel;
  Label1->setText(Utf8(label));
  F.S.Dialogs->Run(this);
}

void TForm13::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
}

void TForm13::done(int result) {
  field_ = Field::None;
  QDialog::done(result);
}

void TForm13::Button1Click() {
  if (!F.Form1->MayCommandPanel(this)) return;
  std::string text;
  // Pasted text passes no key filter.
  if (!ToGbk(Edit1->text(), &text)) {
    F.Warn(this, Utf8(F.V.BoxCaption), Utf8(kNotLegal));
    return;
  }
  switch (field_) {
    case Field::Type: F.Link->SendCommandData(cmd::SetType, text); break;
    case Field::Name: F.Link->SendCommandData(cmd::SetName, text); break;
    case Field::Data:
      F.Link->SendCommandData(cmd::PownData, std::string{'\x01', '\x02', static_cast<char>(text.size() & 0xFF)} + text);
      break;
    case Field::None: break;
  }
  accept();
}
