#include "ui/stubforms.h"

StubForm::StubForm(Forms& forms, const char* name, const QString& caption) : QDialog(nullptr), F(forms) {
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(caption);
}
