#pragma once
// The "Download" dialog: the transfer of the model to the panel.
#include "ui/stubforms.h"

class TForm7 : public StubForm {
 public:
  explicit TForm7(Forms& f) : StubForm(f, "Form7", QStringLiteral("Download")) {}
};
