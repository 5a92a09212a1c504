#include "ui/tform3.h"

#include "model/devicelist.h"
#include "model/texts.h"
#include "ui/layout.h"

using namespace layout;

TForm3::TForm3(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form3"));
  setWindowTitle(Utf8(kTcpIp));
  setFixedSize(286, 190);

  MakeLabel(this, Utf8(kIpAddressLabel), QRect(20, 18, 80, 22));
  IPEdit1 = Place(new TIPEdit(this), "IPEdit1", QRect(108, 18, 150, 22));
  MakeLabel(this, Utf8(kNetMaskLabel), QRect(20, 48, 80, 22));
  IPEdit2 = Place(new TIPEdit(this), "IPEdit2", QRect(108, 48, 150, 22));
  MakeLabel(this, Utf8(kGatewayLabel), QRect(20, 78, 80, 22));
  IPEdit3 = Place(new TIPEdit(this), "IPEdit3", QRect(108, 78, 150, 22));
  MakeLabel(this, Utf8(kPortIdLabel), QRect(20, 108, 80, 22));
  Edit1 = Place(new TEdit(this), "Edit1", QRect(108, 108, 150, 22));
  Edit1->KeyPress = DecimalKeyFilter;

  Button2 = MakeButton<TQelButton>(this, "Button2", Utf8(kAdd), QRect(52, 146, 80, 28));
  Button1 = MakeButton<TQelButton>(this, "Button1", Utf8(kCancel), QRect(154, 146, 80, 28));
  connect(Button2, &QPushButton::clicked, this, &TForm3::Button2Click);
  connect(Button1, &QPushButton::clicked, this, &TForm3::Button1Click);
}

void TForm3::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
}

void TForm3::FormShow() {
  for (TIPEdit* e : {IPEdit1, IPEdit2, IPEdit3}) e->clear();
  Edit1->clear();
  Edit1->setAlignment(Qt::AlignCenter);
  IPEdit1->FieldAt(0)->setFocus();
}

void TForm3::Button2Click() {
  const QString ip = IPEdit1->IPString(), mask = IPEdit2->IPString(), gateway = IPEdit3->IPString();
  const QString port = Edit1->text();
  if (!ip.isEmpty() && !mask.isEmpty() && !gateway.isEmpty() && !port.isEmpty()) {
    F.Devices->Add((ip + u' ' + mask + u' ' + gateway + u' ' + port + u';').toStdString());
  }
  hide();
}
