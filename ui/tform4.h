#pragma once
#include <QDialog>

#include "ui/forms.h"

class TForm4 : public QDialog {
 public:
  explicit TForm4(Forms& forms);

 private:
  Forms& F;
};
