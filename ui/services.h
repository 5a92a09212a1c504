#pragma once
// Modal windows go through these, so tests can answer them without a
// nested event loop.
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QDialog;
class QUrl;
class QWidget;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void Warning(QWidget* parent, const QString& caption, const QString& text) = 0;
  // The same box, returning at once: for what the link reports, which must
  // not hold up the connections' messages. While one is open, the same
  // caption and text raise no second one.
  virtual void Notice(QWidget* parent, const QString& caption, const QString& text) = 0;

  enum class SaveAnswer { Save, Discard, Cancel };
  // Unsaved changes: save them, throw them away, or stop.
  virtual SaveAnswer AskSaveChanges(QWidget* parent, const QString& caption, const QString& text) = 0;
  // Yes or no, for replacing a file.
  virtual bool Confirm(QWidget* parent, const QString& caption, const QString& text) = 0;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Empty when the user cancels. The save dialog asks nothing about an
  // existing file: the caller knows the name it will really write.
  virtual QString OpenFileName(QWidget* parent, const QString& dir, const QString& filter) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& dir, const QString& filter) = 0;
};

// Shows one of the program's own dialogs modally.
class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  virtual int Run(QDialog* dialog) = 0;
};

// Hands files and web pages to the system's own viewer and browser.
class ShellOpener {
 public:
  virtual ~ShellOpener() = default;
  // False when no viewer took the file.
  virtual bool OpenFile(const QString& path) = 0;
  // False, with the reason, when the page was not opened.
  virtual bool OpenPage(const QUrl& url, QString* why) = 0;
};

struct Services {
  MessageBoxes* Boxes = nullptr;
  FileDialogs* Files = nullptr;
  DialogRunner* Dialogs = nullptr;
  ShellOpener* Opener = nullptr;
};

// The real ones, for the programs.
Services DesktopServices();

// The desktop opener on its two seams: pages are opened only when
// `onlyLoopback` says the machine has a network besides loopback.
std::unique_ptr<ShellOpener> MakeDesktopOpener(std::function<bool()> onlyLoopback,
                                               std::function<bool(const QUrl&)> open);
