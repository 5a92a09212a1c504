#pragma once
// The program body: every window created in order, then the event loop.
#include <memory>

#include "ui/forms.h"

// Creates the windows in their order (the 6-key build stops after TForm11).
// The caller keeps the QApplication; the result owns the windows.
class Project1 {
 public:
  Project1(const Variant& v, AppConfig config, Services services);
  ~Project1();
  Forms& Windows() { return *forms_; }

 private:
  std::unique_ptr<Forms> forms_;
};

// main() of both programs.
int RunProject1(const Variant& v, int argc, char** argv);
