#include "ui/tform2.h"

#include "model/hex.h"
#include "model/keyactions.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"

TForm2::TForm2(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("Dialog"));
  setFixedSize(300, 196);

  auto* kindLabel = new QLabel(QStringLiteral("Key Tpye:"), this);
  kindLabel->setGeometry(16, 16, 70, 22);
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->addItems({QStringLiteral("Press"), QStringLiteral("Release"), QStringLiteral("Toggle")});
  ComboBox1->setCurrentIndex(0);
  ComboBox1->setGeometry(92, 16, 190, 24);

  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setGeometry(8, 50, 284, 92);
  auto* groupLabel = new QLabel(QStringLiteral("Key Group"), panel);
  groupLabel->setGeometry(8, 10, 70, 22);
  ComboBox3 = new QComboBox(panel);
  ComboBox3->setObjectName(QStringLiteral("ComboBox3"));
  ComboBox3->addItem(QStringLiteral("--"));
  for (int g = 1; g <= F.V.GroupCount; ++g) ComboBox3->addItem(QStringLiteral("Group %1").arg(g));
  ComboBox3->setCurrentIndex(0);
  ComboBox3->setGeometry(84, 10, 190, 24);
  auto* nameLabel = new QLabel(QStringLiteral("Key Name"), panel);
  nameLabel->setGeometry(8, 52, 70, 22);
  Edit1 = new TEdit(panel);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setGeometry(84, 52, 110, 24);
  Edit1->KeyPress = [this](const QString& typed) { return Edit1KeyPress(typed); };
  Button2 = new QPushButton(QStringLiteral("Set"), panel);
  Button2->setObjectName(QStringLiteral("Button2"));
  Button2->setAutoDefault(false);
  Button2->setGeometry(200, 51, 74, 26);

  Button1 = new QPushButton(QStringLiteral("Add"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setAutoDefault(false);
  Button1->setGeometry(60, 154, 80, 28);
  Button3 = new QPushButton(QStringLiteral("Cancel"), this);
  Button3->setObjectName(QStringLiteral("Button3"));
  Button3->setAutoDefault(false);
  Button3->setGeometry(160, 154, 80, 28);

  connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
}

bool ReportAddOutcome(Forms& f, AddActionOutcome outcome) {
  switch (outcome) {
    case AddActionOutcome::Added:
    case AddActionOutcome::Duplicate:
      return true;
    case AddActionOutcome::IllegalKind:
      f.Warn(QStringLiteral("Data is not legal"));
      return false;
    case AddActionOutcome::Full:
      f.Warn(QString::fromLatin1(kActionListFull));
      return true;
  }
  return true;
}

void TForm2::Button1Click() {
  TForm1& f1 = *F.Form1;
  std::string kind;
  if (!ToGbk(ComboBox1->currentText(), &kind)) kind.clear();  // no code: refused below
  const AddActionOutcome outcome =
      AddKeyAction(f1.Model, F.V, f1.Model.CurrentKey, kind, ComboBox3->currentIndex());
  if (outcome == AddActionOutcome::Added) f1.AppendActionRow(f1.Model.CurrentAction);
  if (ReportAddOutcome(F, outcome)) close();
}

void TForm2::Button2Click() {
  TForm1& f1 = *F.Form1;
  const int key = f1.Model.CurrentKey;
  if (key < 1 || key > 9) return;
  // A pasted character the key-name file cannot hold is refused up front.
  std::string name;
  if (!ToGbk(Edit1->text(), &name)) {
    F.Warn(QStringLiteral("Data is not legal"));
    return;
  }
  if (key <= 6)
    if (TQelButton* b = f1.KeyButton(key)) b->setText(Edit1->text());

  const uint8_t config = KeyConfigByte(key, ComboBox3->currentIndex());
  f1.Model.KeyConfig[key] = config;

  std::string why;
  if (!f1.KeyNameIni.WriteString("Key Name", "K-N-" + std::to_string(key), name, &why)) {
    F.Log(QStringLiteral("QuilletInfo.ini write failed"));
    F.Warn(QStringLiteral("Cannot write the file ") + QString::fromStdString(f1.KeyNameIni.Path().string()) +
           QStringLiteral(": ") + QString::fromStdString(why));
  }

  const std::string byte(1, static_cast<char>(config));
  F.Log(Utf8(BytesToSpacedHex(byte)));
  F.Log(QStringLiteral("form1.KeyNum%1...%2").arg(key).arg(Utf8(BytesToHex(byte))));
  const int a = f1.Model.CurrentAction;
  if (a >= 1 && a <= f1.Model.ActionCount) F.Log(Utf8(BytesToSpacedHex(f1.Model.Actions[a].Header)));
}

bool TForm2::Edit1KeyPress(const QString& typed) const {
  const int length = GbkLength(Edit1->text() + typed);
  return length >= 0 && length <= 4;
}
