#pragma once
#include <QDialog>

#include "ui/forms.h"

class TForm6 : public QDialog {
 public:
  explicit TForm6(Forms& forms);

 private:
  Forms& F;
};
