#include "ui/services.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

namespace {

class DesktopBoxes : public MessageBoxes {
 public:
  void Warning(QWidget* parent, const QString& caption, const QString& text) override {
    QMessageBox::warning(parent, caption, text);
  }
  void Notice(QWidget* parent, const QString& caption, const QString& text) override {
    auto* box = new QMessageBox(QMessageBox::Warning, caption, text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  }
};

class DesktopFiles : public FileDialogs {
 public:
  QString OpenFileName(QWidget* parent, const QString& dir, const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, QString(), dir, filter);
  }
  QString SaveFileName(QWidget* parent, const QString& dir, const QString& filter) override {
    return QFileDialog::getSaveFileName(parent, QString(), dir, filter);
  }
};

class DesktopDialogs : public DialogRunner {
 public:
  int Run(QDialog* dialog) override { return dialog->exec(); }
};

}  // namespace

Services DesktopServices() {
  static DesktopBoxes boxes;
  static DesktopFiles files;
  static DesktopDialogs dialogs;
  return Services{&boxes, &files, &dialogs};
}
