#pragma once
// A whole program's windows on a temporary program folder, with modal
// windows answered by recorders.
#include <QDialog>
#include <QUrl>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/project1.h"
#include "ui/services.h"

struct RecordedBox {
  QString Caption, Text;
  bool Modal = true;  // false: shown without waiting
};

class RecordingBoxes : public MessageBoxes {
 public:
  void Warning(QWidget*, const QString& caption, const QString& text) override { Boxes.push_back({caption, text}); }
  void Notice(QWidget*, const QString& caption, const QString& text) override {
    Boxes.push_back({caption, text, false});
  }
  // Questions are kept apart from the warnings, answered as the test says.
  SaveAnswer AskSaveChanges(QWidget*, const QString& caption, const QString& text) override {
    Questions.push_back({caption, text});
    return NextSaveAnswer;
  }
  bool Confirm(QWidget*, const QString& caption, const QString& text) override {
    Questions.push_back({caption, text});
    return NextConfirm;
  }
  std::vector<RecordedBox> Boxes;
  std::vector<RecordedBox> Questions;
  SaveAnswer NextSaveAnswer = SaveAnswer::Discard;
  bool NextConfirm = true;
};

class ScriptedFiles : public FileDialogs {
 public:
  QString OpenFileName(QWidget*, const QString&, const QString&) override { return NextOpen; }
  QString SaveFileName(QWidget*, const QString&, const QString&) override { return NextSave; }
  QString NextOpen, NextSave;
};

// Records which dialog was asked for and returns at once; with ShowThem
// the dialog is also shown without waiting, so a test can drive it. Answer,
// when set, is the user's answer given while the dialog is up, as a modal
// dialog returns only after it.
class RecordingDialogs : public DialogRunner {
 public:
  int Run(QDialog* d) override {
    Shown.push_back(d);
    if (ShowThem) d->show();
    if (Answer) Answer(d);
    return QDialog::Rejected;
  }
  std::vector<QDialog*> Shown;
  bool ShowThem = false;
  std::function<void(QDialog*)> Answer;
};

// Records what would have gone to the system's viewer and browser.
class RecordingOpener : public ShellOpener {
 public:
  bool OpenFile(const QString& path) override {
    Files.push_back(path);
    return !NoViewer;
  }
  bool OpenPage(const QUrl& url, QString*) override {
    Pages.push_back(url);
    return true;
  }
  std::vector<QString> Files;
  std::vector<QUrl> Pages;
  bool NoViewer = false;  // as a desktop with nothing registered for text files
};

class TempProgramDir {
 public:
  TempProgramDir();
  ~TempProgramDir();
  const std::filesystem::path& Path() const { return path_; }
  void Write(const std::string& name, const std::string& bytes) const;
  std::string Read(const std::string& name) const;

 private:
  std::filesystem::path path_;
};

class TForm1;
// Links the panel connected from `ip` the way the user does: its address in
// the panel fields, then Connection > TCP/IP > Reconnect. True when the
// lamp is lit after it.
bool LinkPanelAt(TForm1& f, const QString& ip);

// Windows built only with a test configuration: loopback addresses.
AppConfig TestConfig(const std::filesystem::path& programDir);
// A UDP port on loopback nobody listens on.
quint16 FreeUdpPort();

struct TestProgram {
  explicit TestProgram(const Variant& v, const std::string& iniBytes = {});
  // A program whose server is to listen on this port (one another may hold).
  TestProgram(const Variant& v, quint16 tcpPort);
  ~TestProgram();
  TempProgramDir Dir;
  RecordingBoxes Boxes;
  ScriptedFiles Files;
  RecordingDialogs Dialogs;
  RecordingOpener Opener;
  std::unique_ptr<Project1> Project;
  Forms& W() { return Project->Windows(); }
};
