#include "ui/tform9.h"

#include "link/panellink.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/tform1.h"

using namespace layout;

TForm9::TForm9(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form9"));
  setWindowTitle(Utf8(kSetMac));
  setFixedSize(318, 136);

  GroupBox1 = Place(new QGroupBox(Utf8(kMacAddress), this), "GroupBox1", QRect(12, 8, 294, 66));
  const char* names[] = {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6"};
  for (int k = 0; k < 6; ++k) {
    const int x = 14 + k * 46;
    Edits[k] = Place(new TEdit(GroupBox1), names[k], QRect(x, 28, 32, 24));
    Edits[k]->setAlignment(Qt::AlignCenter);
    Edits[k]->KeyPress = [this, k](const QString& typed) { return EditKeyPress(k, typed); };
    if (k < 5) MakeLabel(GroupBox1, Utf8(kMacSeparator), QRect(x + 35, 28, 8, 24));
    if (k > 0) connect(Edits[k], &QLineEdit::textChanged, this, [this, k] { EditChange(k); });
  }
  Edits[0]->setMaxLength(3);
  Edits[5]->setMaxLength(2);

  Button1 = MakeButton<TQelButton>(this, "Button1", Utf8(kOk), QRect(64, 90, 80, 28));
  Button2 = MakeButton<TQelButton>(this, "Button2", Utf8(kCancel), QRect(174, 90, 80, 28));
  connect(Button1, &QPushButton::clicked, this, &TForm9::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm9::Button2Click);
}

bool TForm9::EditKeyPress(int k, const QString& typed) {
  if (!HexKeyFilter(typed)) return false;
  if (Edits[k]->text().size() < 2) return true;
  if (k == 5) {
    Button1->setFocus();
    return false;
  }
  TEdit* next = Edits[k + 1];
  next->setText(typed);
  next->setFocus();
  next->setCursorPosition(1);
  return false;
}

void TForm9::EditChange(int k) {
  if (!Edits[k]->text().isEmpty()) return;
  TEdit* before = Edits[k - 1];
  before->setFocus();
  before->setCursorPosition(before->text().size());
}

void TForm9::Button1Click() {
  if (!F.Form1->MayCommandPanel(this)) return;
  std::array<QString, 6> fields;
  for (int k = 0; k < 6; ++k) {
    fields[k] = Edits[k]->text();
    if (fields[k].isEmpty()) {
      F.Warn(this, Utf8(kSetMac), Utf8(kMacFieldsMissing));
      return;
    }
  }
  // A pasted field that is not hex is refused there; the dialog stays open.
  if (F.Link->SendSetMacFrame(fields)) accept();
}
