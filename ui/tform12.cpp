#include "ui/tform12.h"

#include "model/keyactions.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform2.h"

TForm12::TForm12(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form12"));
  setWindowTitle(Utf8(kKey10Title));
  setFixedSize(280, 120);
  layout::MakeLabel(this, Utf8(kKeyTypeLabel), QRect(16, 20, 70, 24));
  QelComboBox1 = new TQelComboBox(this);
  QelComboBox1->setObjectName(QStringLiteral("QelComboBox1"));
  QelComboBox1->addItems({Utf8(kLeftHanded), Utf8(kRightHanded)});
  QelComboBox1->setCurrentIndex(0);
  QelComboBox1->setGeometry(92, 20, 170, 24);
  QelButton1 = new TQelButton(Utf8(kAdd), this);
  QelButton1->setObjectName(QStringLiteral("QelButton1"));
  QelButton1->setGeometry(50, 74, 80, 28);
  QelButton2 = new TQelButton(Utf8(kCancel), this);
  QelButton2->setObjectName(QStringLiteral("QelButton2"));
  QelButton2->setGeometry(150, 74, 80, 28);
  connect(QelButton1, &QPushButton::clicked, this, &TForm12::QelButton1Click);
  connect(QelButton2, &QPushButton::clicked, this, &TForm12::QelButton2Click);
}

void TForm12::QelButton1Click() {
  const std::string kind = ToGbkOrEmpty(QelComboBox1->currentText());
  const AddActionOutcome outcome = AddKeyAction(*F.Model, F.V, 10, kind, 0);
  if (outcome == AddActionOutcome::Added) F.Form1->AppendActionRow(F.Model->CurrentAction);
  if (ReportAddOutcome(F, outcome)) close();
}
