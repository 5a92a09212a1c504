#include "ui/tform2.h"

#include "model/hex.h"
#include "model/keyactions.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"

using namespace layout;

TForm2::TForm2(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(Utf8(kDialogTitle));
  setFixedSize(300, 196);

  MakeLabel(this, Utf8(kKeyTypeLabel), QRect(16, 16, 70, 22));
  ComboBox1 = Place(new QComboBox(this), "ComboBox1", QRect(92, 16, 190, 24));
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->addItems({Utf8(kPress), Utf8(kRelease), Utf8(kToggle)});
  ComboBox1->setCurrentIndex(0);

  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setGeometry(8, 50, 284, 92);
  MakeLabel(panel, Utf8(kKeyGroupLabel), QRect(8, 10, 70, 22));
  ComboBox3 = Place(new QComboBox(panel), "ComboBox3", QRect(84, 10, 190, 24));
  ComboBox3->addItem(Utf8(kNoGroup));
  for (int g = 1; g <= F.V.GroupCount; ++g) ComboBox3->addItem(Utf8(kGroupItem).arg(g));
  ComboBox3->setCurrentIndex(0);
  MakeLabel(panel, Utf8(kKeyNameLabel), QRect(8, 52, 70, 22));
  Edit1 = Place(new TEdit(panel), "Edit1", QRect(84, 52, 110, 24));
  Edit1->KeyPress = [this](const QString& typed) { return Edit1KeyPress(typed); };
  Button2 = MakeButton<TQelButton>(panel, "Button2", Utf8(kSet), QRect(200, 51, 74, 26));

  Button1 = MakeButton<TQelButton>(this, "Button1", Utf8(kAdd), QRect(60, 154, 80, 28));
  Button3 = MakeButton<TQelButton>(this, "Button3", Utf8(kCancel), QRect(160, 154, 80, 28));

  connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
  connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);
}

bool ReportAddOutcome(Forms& f, AddActionOutcome outcome) {
  switch (outcome) {
    case AddActionOutcome::Added:
    case AddActionOutcome::Duplicate: return true;
    case AddActionOutcome::IllegalKind: f.Warn(Utf8(kNotLegal)); return false;
    case AddActionOutcome::Full: f.Warn(Utf8(kActionListFull)); return true;
  }
  return true;
}

void TForm2::Button1Click() {
  ConfigModel& m = *F.Model;
  std::string kind;
  if (!ToGbk(ComboBox1->currentText(), &kind)) kind.clear();  // no code: refused below
  const AddActionOutcome outcome = AddKeyAction(m, F.V, m.CurrentKey, kind, ComboBox3->currentIndex());
  if (outcome == AddActionOutcome::Added) F.Form1->AppendActionRow(m.CurrentAction);
  if (ReportAddOutcome(F, outcome)) close();
}

void TForm2::Button2Click() {
  ConfigModel& m = *F.Model;
  const int key = m.CurrentKey;
  if (key < 1 || key > 9) return;
  // A pasted character the key-name file cannot hold is refused up front.
  std::string name;
  if (!ToGbk(Edit1->text(), &name)) {
    F.Warn(Utf8(kNotLegal));
    return;
  }
  if (key <= 6)
    if (TQelButton* b = F.Form1->KeyButton(key)) b->setText(Edit1->text());

  const uint8_t config = KeyConfigByte(key, ComboBox3->currentIndex());
  m.KeyConfig[key] = config;

  std::string why;
  if (!F.KeyNameIni->WriteString("Key Name", "K-N-" + std::to_string(key), name, &why)) {
    F.Log(QStringLiteral("QuilletInfo.ini write failed"));
    F.Warn(Utf8(kCannotWriteFile).arg(QString::fromStdString(F.KeyNameIni->Path().string()), Utf8(why)));
  }

  const std::string byte(1, static_cast<char>(config));
  F.Log(Utf8(BytesToSpacedHex(byte)));
  F.Log(QStringLiteral("form1.KeyNum%1...%2").arg(key).arg(Utf8(BytesToHex(byte))));
  const int a = m.CurrentAction;
  if (a >= 1 && a <= m.ActionCount) F.Log(Utf8(BytesToSpacedHex(m.Actions[a].Header)));
}

bool TForm2::Edit1KeyPress(const QString& typed) const {
  const int length = GbkLength(Edit1->text() + typed);
  return length >= 0 && length <= 4;
}
