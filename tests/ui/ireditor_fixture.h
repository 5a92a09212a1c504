#pragma once
// The IR editor (TForm4) of one program, shared by its tests and the
// screenshot program.
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "ui/tform4.h"
#include "ui/tform5.h"
#include "ui_fixture.h"

namespace irtest {

namespace fs = std::filesystem;

// The editor of one program, driven as the user would.
struct Editor {
  explicit Editor(const Variant& v) : P(v) {}

  // The name dialog as the user answers it: the test runner returns at once,
  // so the typing and the "Ok" come after the handler that asked.
  void Answer(const QString& name) {
    ASSERT_FALSE(P.Dialogs.Shown.empty());
    ASSERT_EQ(P.Dialogs.Shown.back(), P.W().Form5);
    P.W().Form5->Edit1->setText(name);
    P.W().Form5->Button1Click();
  }
  void CreatLib(const QString& name) {
    E.Button2Click();
    Answer(name);
  }
  void NewFunction(const QString& name) {
    E.Button3Click();
    Answer(name);
  }
  void Click(int row) {
    E.ListView1->Select(row);
    E.ListView1Click();
  }
  fs::path LibDir() const { return P.Dir.Path() / "Library" / "IR"; }
  // A hand-made library file in Library/IR.
  QString Put(const std::string& file, const std::string& bytes) {
    fs::create_directories(LibDir());
    P.Dir.Write("Library/IR/" + file, bytes);
    return QString::fromStdString((LibDir() / file).string());
  }
  void Open(const QString& path) {
    P.Files.NextOpen = path;
    E.Button1Click();
  }
  std::string Saved(const std::string& file) const { return P.Dir.Read("Library/IR/" + file); }
  std::vector<QString> Texts() const {
    std::vector<QString> t;
    for (const RecordedBox& b : P.Boxes.Boxes) t.push_back(b.Text);
    return t;
  }

  TestProgram P;
  TForm4& E = *P.W().Form4;
};

}  // namespace irtest
