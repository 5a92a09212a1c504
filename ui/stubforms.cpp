#include "ui/stubforms.h"

StubForm::StubForm(Forms& forms, const char* name, const QString& caption) : QDialog(nullptr), F(forms) {
  setObjectName(QString::fromLatin1(name));
  setWindowTitle(caption);
}

TForm10::TForm10(Forms& f) : StubForm(f, "Form10", QStringLiteral("System Message")) {
  const struct {
    TQelLabel** Label;
    const char* Name;
    const char* Text;
  } labels[] = {{&Label6, "Label6", "Disnormal"},
                {&Label7, "Label7", "None"},
                {&Label8, "Label8", "None"},
                {&Label9, "Label9", "None"},
                {&Label10, "Label10", "00-00-00-00-00-00"}};
  for (const auto& l : labels) {
    *l.Label = new TQelLabel(QString::fromLatin1(l.Text), this);
    (*l.Label)->setObjectName(QString::fromLatin1(l.Name));
  }
}
