#pragma once
// The RS232 editor (TForm6) and its name dialog (TForm5) of one program,
// shared by its tests and the screenshot program.
#include <QStringList>
#include <filesystem>
#include <string>

#include "ui/tform5.h"
#include "ui/tform6.h"
#include "ui_fixture.h"

namespace rs232test {

// "遥控" (remote control) in code page 936.
inline const std::string kGbkName = "\xD2\xA3\xBF\xD8";

inline std::string F(const std::string& text) { return "\x01" + text + "\x04"; }

struct Editor {
  explicit Editor(const Variant& v) : P(v), E(*P.W().Form6), N(*P.W().Form5) {}
  TestProgram P;
  TForm6& E;
  TForm5& N;

  std::filesystem::path Folder() const { return P.Dir.Path() / "Library" / "RS232"; }
  // The user types a name into the name dialog and presses "Ok".
  void Name(const QString& name) {
    N.Edit1->setText(name);
    N.Button1Click();
  }
  void NewLib(const QString& name) {
    E.Button2Click();
    Name(name);
  }
  void NewFunction(const QString& name) {
    E.Button3Click();
    Name(name);
  }
  void Open(const std::string& bytes, const std::string& file = "t.rss") {
    std::filesystem::create_directories(Folder());
    P.Dir.Write("Library/RS232/" + file, bytes);
    P.Files.NextOpen = QString::fromStdString((Folder() / file).string());
    E.Button1Click();
  }
  std::string Saved(const std::string& file) const { return P.Dir.Read("Library/RS232/" + file); }
  bool Exists(const std::filesystem::path& p) const { return std::filesystem::exists(p); }
  QStringList Texts() const {
    QStringList t;
    for (const RecordedBox& b : P.Boxes.Boxes) t << b.Text;
    return t;
  }
  QStringList Items() const {
    QStringList t;
    for (int i = 0; i < E.ComboBox1->count(); ++i) t << E.ComboBox1->itemText(i);
    return t;
  }
};

}  // namespace rs232test
