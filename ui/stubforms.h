#pragma once
// A captioned window whose contents come with their own work (for now the
// "Download" dialog).
#include <QDialog>

#include "ui/forms.h"

class StubForm : public QDialog {
 public:
  StubForm(Forms& forms, const char* name, const QString& caption);

 protected:
  Forms& F;
};
