#pragma once
// Windows that exist for the whole run but whose contents come with their
// own work: for now each is its captioned dialog.
#include <QDialog>

#include "controls/qellabel.h"
#include "ui/forms.h"

class StubForm : public QDialog {
 public:
  StubForm(Forms& forms, const char* name, const QString& caption);

 protected:
  Forms& F;
};

class TForm3 : public StubForm {  // device entry
 public:
  explicit TForm3(Forms& f) : StubForm(f, "Form3", QStringLiteral("TCP/IP")) {}
};
class TForm8 : public StubForm {
 public:
  explicit TForm8(Forms& f) : StubForm(f, "Form8", QStringLiteral("Set IP")) {}
};
class TForm9 : public StubForm {
 public:
  explicit TForm9(Forms& f) : StubForm(f, "Form9", QStringLiteral("Set MAC")) {}
};
class TForm10 : public StubForm {
 public:
  explicit TForm10(Forms& f);
  // The value labels the panel's answers fill.
  TQelLabel* Label6;   // link status
  TQelLabel* Label7;   // machine type
  TQelLabel* Label8;   // software version
  TQelLabel* Label9;   // IP information, four lines
  TQelLabel* Label10;  // MAC
};
class TForm11 : public StubForm {
 public:
  explicit TForm11(Forms& f) : StubForm(f, "Form11", QStringLiteral("EEPROM Table")) {}
};
class TForm13 : public StubForm {
 public:
  explicit TForm13(Forms& f) : StubForm(f, "Form13", QStringLiteral("Modify")) {}
};
