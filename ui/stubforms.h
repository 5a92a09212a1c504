#pragma once
// A captioned window whose contents come with their own work (for now the
// "Download" dialog). The dialogs that had their stubs here have their own
// headers; they are included for the files that still name this one.
#include <QDialog>

#include "ui/forms.h"
#include "ui/tform10.h"
#include "ui/tform3.h"

class StubForm : public QDialog {
 public:
  StubForm(Forms& forms, const char* name, const QString& caption);

 protected:
  Forms& F;
};
