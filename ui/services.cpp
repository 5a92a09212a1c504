#include "ui/services.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>
#include <map>
#include <utility>

#include "link/netguard.h"
#include "model/texts.h"

namespace {

class DesktopBoxes : public MessageBoxes {
 public:
  void Warning(QWidget* parent, const QString& caption, const QString& text) override {
    QMessageBox::warning(parent, caption, text);
  }
  void Notice(QWidget* parent, const QString& caption, const QString& text) override {
    // A panel repeating a warning raises one box, not one per message.
    const std::pair<QString, QString> key{caption, text};
    const auto [at, fresh] = openNotices_.try_emplace(key, nullptr);
    if (!fresh) return;
    auto* box = new QMessageBox(QMessageBox::Warning, caption, text, QMessageBox::Ok, parent);
    at->second = box;
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Finished when answered; destroyed unanswered when its parent goes. An
    // answered box is deleted later, when the same text may be up again.
    const auto forget = [this, key, box] {
      const auto it = openNotices_.find(key);
      if (it != openNotices_.end() && it->second == box) openNotices_.erase(it);
    };
    QObject::connect(box, &QDialog::finished, forget);
    QObject::connect(box, &QObject::destroyed, forget);
    box->open();
  }
  SaveAnswer AskSaveChanges(QWidget* parent, const QString& caption, const QString& text) override {
    switch (QMessageBox::question(parent, caption, text, QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                  QMessageBox::Save)) {
      case QMessageBox::Save: return SaveAnswer::Save;
      case QMessageBox::Discard: return SaveAnswer::Discard;
      default: return SaveAnswer::Cancel;
    }
  }
  bool Confirm(QWidget* parent, const QString& caption, const QString& text) override {
    return QMessageBox::question(parent, caption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
  }

 private:
  std::map<std::pair<QString, QString>, QMessageBox*> openNotices_;  // by caption and text, the notices on screen
};

class DesktopFiles : public FileDialogs {
 public:
  QString OpenFileName(QWidget* parent, const QString& dir, const QString& filter) override {
    return QFileDialog::getOpenFileName(parent, QString(), dir, filter);
  }
  QString SaveFileName(QWidget* parent, const QString& dir, const QString& filter) override {
    return QFileDialog::getSaveFileName(parent, QString(), dir, filter, nullptr, QFileDialog::DontConfirmOverwrite);
  }
};

class DesktopDialogs : public DialogRunner {
 public:
  int Run(QDialog* dialog) override { return dialog->exec(); }
};

class DesktopOpener : public ShellOpener {
 public:
  DesktopOpener(std::function<bool()> onlyLoopback, std::function<bool(const QUrl&)> open)
      : onlyLoopback_(std::move(onlyLoopback)), open_(std::move(open)) {}
  bool OpenFile(const QString& path) override { return open_(QUrl::fromLocalFile(path)); }
  bool OpenPage(const QUrl& url, QString* why) override {
    // Inside the private namespace there is no LAN for the page to be on.
    if (onlyLoopback_()) {
      if (why) *why = QString::fromUtf8(kOnlyLoopback);
      return false;
    }
    if (open_(url)) return true;
    if (why) *why = QString::fromUtf8(kNoBrowser);
    return false;
  }

 private:
  std::function<bool()> onlyLoopback_;
  std::function<bool(const QUrl&)> open_;
};

}  // namespace

std::unique_ptr<ShellOpener> MakeDesktopOpener(std::function<bool()> onlyLoopback,
                                               std::function<bool(const QUrl&)> open) {
  return std::make_unique<DesktopOpener>(std::move(onlyLoopback), std::move(open));
}

Services DesktopServices() {
  static DesktopBoxes boxes;
  static DesktopFiles files;
  static DesktopDialogs dialogs;
  static const std::unique_ptr<ShellOpener> opener =
      MakeDesktopOpener([] { return netguard::LoopbackOnly() || netguard::OnlyLoopbackInterfaces(); },
                        [](const QUrl& u) { return QDesktopServices::openUrl(u); });
  return Services{&boxes, &files, &dialogs, opener.get()};
}
