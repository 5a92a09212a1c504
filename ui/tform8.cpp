#include "ui/tform8.h"

#include <algorithm>

#include "link/panellink.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/tform1.h"

using namespace layout;

namespace {
constexpr int kPortTyped = 4;
}

TForm8::TForm8(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form8"));
  setWindowTitle(Utf8(kSetIpTitle));
  setFixedSize(270, 196);

  const struct {
    TQelEdit** Edit;
    const char* Name;
    const char* Caption;
  } dotted[] = {{&MaskEdit1, "MaskEdit1", kIpAddressLabel},
                {&MaskEdit2, "MaskEdit2", kNetMaskCapitalsLabel},
                {&MaskEdit3, "MaskEdit3", kGatewayLabel}};
  int y = 18;
  for (const auto& d : dotted) {
    MakeLabel(this, Utf8(d.Caption), QRect(20, y, 80, 22));
    *d.Edit = Place(new TQelEdit(this), d.Name, QRect(104, y, 140, 22));
    (*d.Edit)->setInputMask(QStringLiteral("000.000.000.000; "));
    y += 30;
  }
  MakeLabel(this, Utf8(kPortLabel), QRect(20, y, 80, 22));
  MaskEdit4 = Place(new TQelEdit(this), "MaskEdit4", QRect(104, y, 140, 22));
  MaskEdit4->setMaxLength(kPortTyped);

  Button1 = MakeButton<TQelButton>(this, "Button1", Utf8(kOk), QRect(40, 152, 80, 28));
  Button2 = MakeButton<TQelButton>(this, "Button2", Utf8(kCannel), QRect(150, 152, 80, 28));
  connect(Button1, &QPushButton::clicked, this, &TForm8::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
}

void TForm8::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  FormShow();
}

void TForm8::FormShow() {
  const TForm1& f1 = *F.Form1;
  MaskEdit1->setText(f1.IPEdit1->IPString());
  MaskEdit2->setText(f1.IPEdit2->IPString());
  MaskEdit3->setText(f1.IPEdit3->IPString());
  // The limit is for typing: a longer port the panel reported is kept whole
  // rather than cut to a different port.
  const QString port = f1.QelEdit1->text();
  MaskEdit4->setMaxLength(std::max<int>(kPortTyped, port.size()));
  MaskEdit4->setText(port);
}

void TForm8::Button1Click() {
  // Refused texts, or no panel linked, leave the dialog open.
  if (!F.Form1->MayCommandPanel(this)) return;
  if (!F.Link->SendSetIpFrame(MaskEdit1->text(), MaskEdit2->text(), MaskEdit3->text(), MaskEdit4->text())) return;
  accept();
}
