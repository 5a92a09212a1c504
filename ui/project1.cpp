#include "ui/project1.h"

#include <QApplication>
#include <QMessageBox>

#include "link/netguard.h"
#include "model/fileio.h"
#include "model/rs232lib.h"
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

void Forms::Warn(const QString& text) { Warn(Form1, Utf8(V.BoxCaption), text); }

void Forms::Log(const QString& line) {
  if (Form1) Form1->Log(line);
}

void Forms::Warn(QWidget* parent, const QString& caption, const QString& text) {
  if (!collecting_) {
    if (nonBlocking_)
      S.Boxes->Notice(parent, caption, text);
    else
      S.Boxes->Warning(parent, caption, text);
    return;
  }
  for (const Collected& c : collected_)
    if (c.Text == text) return;
  collected_.push_back({parent, caption, text});
}

std::optional<std::string> Forms::ReadUserFile(QWidget* parent, const QString& caption,
                                               const std::filesystem::path& path) {
  FileRead read = ReadRegularFile(path);
  if (!read.Bytes)
    Warn(parent, caption,
         QStringLiteral("Cannot open the file ") + QString::fromStdString(path.string()) + QStringLiteral(": ") +
             QString::fromStdString(read.Why));
  return std::move(read.Bytes);
}

bool Forms::WriteUserFile(QWidget* parent, const QString& caption, const std::filesystem::path& path,
                          std::string_view bytes) {
  std::string why;
  if (WriteFileReplacing(path, bytes, &why)) return true;
  Warn(parent, caption,
       QStringLiteral("Cannot write the file ") + QString::fromStdString(path.string()) + QStringLiteral(": ") +
           QString::fromStdString(why));
  return false;
}

void WarnAboutLibraryRead(Forms& f, QWidget* parent, const QString& caption, const QString& name,
                          const LibraryReadWarnings& w) {
  if (w.TooMany)
    f.Warn(parent, caption,
           QStringLiteral("The library holds more than %1 entries: the first %1 were read").arg(kMaxLibraryEntries));
  if (w.Truncated)
    f.Warn(parent, caption,
           QStringLiteral("The file ") + name + QStringLiteral(" ends early: what it holds up to there was read"));
}

void Forms::BeginCollectingWarnings() {
  collecting_ = true;
  collected_.clear();
}

void Forms::EndCollectingWarnings() {
  collecting_ = false;
  const std::vector<Collected> shown = std::move(collected_);
  collected_.clear();
  for (const Collected& c : shown) S.Boxes->Warning(c.Parent, c.Caption, c.Text);
}

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
