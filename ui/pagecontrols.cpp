#include "ui/pagecontrols.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "controls/qeltrackbars.h"
#include "model/events.h"
#include "ui/textcodec.h"

void SetComboIndex(QComboBox* combo, const std::optional<int>& index) {
  if (!index || *index < 0) return;
  // Choosing the item already shown changes nothing, yet an editable combo
  // lays out its edit again each time: a load chooses thousands. The current
  // index is in range, so the count is asked only for another.
  if (*index == combo->currentIndex()) {
    const QLineEdit* edit = combo->lineEdit();
    if (!edit || edit->text() == combo->itemText(*index)) return;
  } else if (*index >= combo->count()) {
    return;
  }
  combo->setCurrentIndex(*index);
}

namespace {

// How bytes look in a plain-text widget, which keeps only LF line breaks.
QString Shown(const std::string& bytes) {
  QString t = FromGbk(bytes);
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

}  // namespace

MemoBytes::MemoBytes(QPlainTextEdit* memo, std::function<void()> refused)
    : QObject(memo), memo_(memo), refused_(std::move(refused)) {
  connect(memo_, &QPlainTextEdit::textChanged, this, &MemoBytes::UserEdited);
  shown_ = memo_->toPlainText();
  ToGbk(QString(shown_).replace(QLatin1Char('\n'), QLatin1String("\r\n")), &bytes_);
}

void MemoBytes::SetBytes(std::string bytes) {
  bytes_ = std::move(bytes);
  if (held_) {
    stale_ = true;
    return;
  }
  setting_ = true;
  memo_->setPlainText(Shown(bytes_));
  setting_ = false;
  shown_ = memo_->toPlainText();
}

void MemoBytes::Hold(bool on) {
  held_ = on;
  if (on || !stale_) return;
  stale_ = false;
  SetBytes(bytes_);
}

void MemoBytes::UserEdited() {
  if (setting_) return;
  const QString now = memo_->toPlainText();
  if (now == shown_) return;
  std::string bytes;
  QString withBreaks = now;
  withBreaks.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  if (ToGbk(withBreaks, &bytes)) {
    bytes_ = std::move(bytes);
    shown_ = now;
    return;
  }
  // Undo the edit; the box comes after the widget has settled.
  const int cursor = std::clamp(memo_->textCursor().position() - 1, 0, static_cast<int>(shown_.size()));
  setting_ = true;
  memo_->setPlainText(shown_);
  QTextCursor c = memo_->textCursor();
  c.setPosition(cursor);
  memo_->setTextCursor(c);
  setting_ = false;
  if (refused_) QTimer::singleShot(0, this, [this] { refused_(); });
}

EditTrackPair::EditTrackPair(QLineEdit* edit, TQelTrackBar* bar) : QObject(edit), edit_(edit), bar_(bar) {
  bar_->setRange(0, 99);
  connect(bar_, &TQelTrackBar::valueChanged, edit_, [this](int pos) { edit_->setText(QString::number(pos + 1)); });
  connect(edit_, &QLineEdit::textChanged, this, &EditTrackPair::EditChanged);
}

void EditTrackPair::EditChanged() {
  const QString t = edit_->text();
  if (t.isEmpty() || t == QLatin1String("0")) return;
  const auto n = ParseDecimal(t.toStdString());
  if (!n) return;  // pasted text that is no number: both stay as they are
  const long long wanted = *n - 1;
  const int current = bar_->value();
  if (wanted == current) return;
  const int kept = static_cast<int>(std::clamp<long long>(wanted, bar_->minimum(), bar_->maximum()));
  bar_->setValue(kept);
  if (kept == current) edit_->setText(QString::number(kept + 1));  // no bar change to write it back
}

EditScrollPair::EditScrollPair(QLineEdit* edit, QScrollBar* bar) : QObject(edit), edit_(edit), bar_(bar) {
  connect(bar_, &QScrollBar::valueChanged, edit_, [this](int pos) { edit_->setText(QString::number(pos)); });
  connect(edit_, &QLineEdit::textChanged, this, &EditScrollPair::EditChanged);
}

void EditScrollPair::EditChanged() {
  const QString t = edit_->text();
  if (t.isEmpty()) return;
  const auto n = ParseDecimal(t.toStdString());
  if (!n) return;
  const int current = bar_->value();
  if (*n == current) return;
  const int kept = static_cast<int>(std::clamp<long long>(*n, bar_->minimum(), bar_->maximum()));
  bar_->setValue(kept);
  if (kept == current) edit_->setText(QString::number(kept));
}
