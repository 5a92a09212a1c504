#include "ui/tform4.h"

TForm4::TForm4(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form4"));
  setWindowTitle(QStringLiteral("IR Edit"));
}
