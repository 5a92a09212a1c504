#pragma once
// Modal windows go through these, so tests can answer them without a
// nested event loop.
#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

class MessageBoxes {
 public:
  virtual ~MessageBoxes() = default;
  virtual void Warning(QWidget* parent, const QString& caption, const QString& text) = 0;
  // The same box, returning at once: for what the link reports, which must
  // not hold up the connections' messages.
  virtual void Notice(QWidget* parent, const QString& caption, const QString& text) = 0;
};

class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // Empty when the user cancels.
  virtual QString OpenFileName(QWidget* parent, const QString& dir, const QString& filter) = 0;
  virtual QString SaveFileName(QWidget* parent, const QString& dir, const QString& filter) = 0;
};

// Shows one of the program's own dialogs modally.
class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  virtual int Run(QDialog* dialog) = 0;
};

struct Services {
  MessageBoxes* Boxes = nullptr;
  FileDialogs* Files = nullptr;
  DialogRunner* Dialogs = nullptr;
};

// The real ones, for the programs.
Services DesktopServices();
