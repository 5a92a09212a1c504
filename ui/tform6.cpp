#include "ui/tform6.h"

TForm6::TForm6(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form6"));
  setWindowTitle(QStringLiteral("Dialog"));
}
