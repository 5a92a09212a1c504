#include "ui/tform13.h"

#include "link/panellink.h"
#include "link/protocol.h"
#include "ui/layout.h"
#include "ui/textcodec.h"
#include "ui/widgets.h"

using namespace layout;

TForm13::TForm13(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form13"));
  setWindowTitle(QStringLiteral("Modify"));
  setFixedSize(268, 112);

  Label1 = Place(new TQelLabel(QStringLiteral("Type:"), this), "Label1", QRect(16, 20, 48, 22));
  Edit1 = Place(new TEdit(this), "Edit1", QRect(68, 19, 182, 24));
  Edit1->setMaxLength(16);
  Edit1->KeyPress = GbkKeyFilter;
  Button1 = MakeButton<TQelButton>(this, "Button1", QStringLiteral("OK"), QRect(44, 66, 80, 28));
  Button2 = MakeButton<TQelButton>(this, "Button2", QStringLiteral("Cancel"), QRect(144, 66, 80, 28));
  connect(Button1, &QPushButton::clicked, this, &TForm13::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm13::Button2Click);
}

void TForm13::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
}

void TForm13::Button1Click() {
  std::string text;
  // Pasted text passes no key filter.
  if (!ToGbk(Edit1->text(), &text)) {
    F.Warn(this, Utf8(F.V.BoxCaption), QStringLiteral("Data is not legal"));
    return;
  }
  const QString label = Label1->text();
  if (label == QStringLiteral("Type:"))
    F.Link->SendCommandData(cmd::SetType, text);
  else if (label == QStringLiteral("Name:"))
    F.Link->SendCommandData(cmd::SetName, text);
  else if (label == QStringLiteral("Data:"))
    F.Link->SendCommandData(cmd::PownData, std::string{'\x01', '\x02', static_cast<char>(text.size() & 0xFF)} + text);
  accept();
}
