#include "ui/project1.h"

#include <QApplication>

#include "link/netguard.h"
#include "ui/tform10.h"
#include "ui/tform11.h"
#include "ui/tform13.h"
#include "ui/tform3.h"
#include "ui/tform7.h"
#include "ui/tform8.h"
#include "ui/tform9.h"
#include "ui/tform4.h"
#include "ui/tform5.h"
#include "ui/tform6.h"
#include "ui/tform1.h"
#include "ui/tform12.h"
#include "ui/tform2.h"

Project1::Project1(const Variant& v, AppConfig config, Services services)
    : forms_(std::make_unique<Forms>(v, std::move(config), services)) {
  Forms& f = *forms_;
  if (f.Config.TestMode) netguard::SetLoopbackOnly(true);
  f.Form1 = new TForm1(f);
  f.Form2 = new TForm2(f);
  f.Form3 = new TForm3(f);
  f.Form4 = new TForm4(f);
  f.Form5 = new TForm5(f);
  f.Form6 = new TForm6(f);
  f.Form7 = new TForm7(f);
  f.Form8 = new TForm8(f);
  f.Form9 = new TForm9(f);
  f.Form10 = new TForm10(f);
  f.Form11 = new TForm11(f);
  if (v.HasKey10Dialog) f.Form12 = new TForm12(f);
  if (v.HasModifyDialog) f.Form13 = new TForm13(f);
}

Project1::~Project1() {
  Forms& f = *forms_;
  // Reverse order of creation; the main window last.
  delete f.Form13;
  delete f.Form12;
  delete f.Form11;
  delete f.Form10;
  delete f.Form9;
  delete f.Form8;
  delete f.Form7;
  delete f.Form6;
  delete f.Form5;
  delete f.Form4;
  delete f.Form3;
  delete f.Form2;
  delete f.Form1;
}

int RunProject1(const Variant& v, int argc, char** argv) {
  QApplication app(argc, argv);
  app.setApplicationName(Utf8(v.Name));
  app.setQuitOnLastWindowClosed(true);
  Project1 project(v, MakeProgramConfig(), DesktopServices());
  project.Windows().Form1->show();
  return app.exec();
}
