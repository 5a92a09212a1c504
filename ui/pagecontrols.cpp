#include "ui/pagecontrols.h"

#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
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

// A plain-text widget keeps only LF line breaks.
QString LineFeedsOnly(QString t) {
  t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return t;
}

// How bytes look in the memo.
QString Shown(const std::string& bytes) { return LineFeedsOnly(FromGbk(bytes)); }

// Line breaks as the memo takes a pasted text.
QString AsInserted(const QString& t) { return LineFeedsOnly(t).replace(QChar::ParagraphSeparator, QLatin1Char('\n')); }

// The memo's text as bytes, its line breaks CR LF; false when the code page
// cannot hold it.
bool MemoTextBytes(QString text, std::string* bytes) {
  text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
  return ToGbk(text, bytes);
}

QString ClipboardText(QClipboard::Mode mode) {
  const QMimeData* m = QGuiApplication::clipboard()->mimeData(mode);
  return m && m->hasText() ? m->text() : QString();
}

}  // namespace

MemoBytes::MemoBytes(QPlainTextEdit* memo, std::function<void()> refused)
    : QObject(memo), memo_(memo), refused_(std::move(refused)) {
  connect(memo_, &QPlainTextEdit::textChanged, this, &MemoBytes::UserEdited);
  shown_ = memo_->toPlainText();
  MemoTextBytes(shown_, &bytes_);
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
  if (MemoTextBytes(now, &bytes)) {
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

PasteLimit::PasteLimit(QPlainTextEdit* memo, std::function<bool(const std::string& bytes)> fits,
                       std::function<void()> refused, std::function<void()> notLegal)
    : QObject(memo), memo_(memo), fits_(std::move(fits)), refused_(std::move(refused)), notLegal_(std::move(notLegal)) {
  memo_->installEventFilter(this);
  memo_->viewport()->installEventFilter(this);
}

PasteLimit::Verdict PasteLimit::Judge(const QString& inserted, int from, int to) const {
  if (inserted.isEmpty()) return Verdict::Fits;
  const QString text = memo_->toPlainText();
  QString after = text.left(from) + AsInserted(inserted) + text.mid(to);
  std::string bytes;
  if (MemoTextBytes(after, &bytes)) return fits_(bytes) ? Verdict::Fits : Verdict::TooLong;
  // Text the code page cannot hold is measured with each of its characters
  // one byte: too long for the event is said first.
  bytes = after.replace(QLatin1Char('\n'), QLatin1String("\r\n")).toLatin1().toStdString();
  return fits_(bytes) ? Verdict::NotLegal : Verdict::TooLong;
}

bool PasteLimit::SelectionFits(const QString& inserted) const {
  const QTextCursor c = memo_->textCursor();
  return Fits(inserted, c.selectionStart(), c.selectionEnd());
}

void PasteLimit::Refuse(Verdict why) {
  const std::function<void()>& say = why == Verdict::NotLegal ? notLegal_ : refused_;
  if (say) QTimer::singleShot(0, this, [say] { say(); });
}

// A paste the code page cannot hold goes in, and the memo takes it back.
void PasteLimit::Paste() {
  if (SelectionFits(ClipboardText(QClipboard::Clipboard)))
    memo_->paste();
  else
    Refuse(Verdict::TooLong);
}

bool PasteLimit::ContextMenu(QContextMenuEvent* e) {
  // Qt's own menu, with its "Paste" through the limit.
  QMenu* menu = memo_->createStandardContextMenu(e->pos());
  menu->setAttribute(Qt::WA_DeleteOnClose);
  for (QAction* a : menu->actions()) {
    if (a->objectName() != QLatin1String("edit-paste")) continue;
    disconnect(a, &QAction::triggered, nullptr, nullptr);
    connect(a, &QAction::triggered, this, &PasteLimit::Paste);
  }
  menu->popup(e->globalPos());
  e->accept();
  return true;
}

bool PasteLimit::MovedWithin(const QDropEvent* d) const {
  return (d->source() == memo_ || d->source() == memo_->viewport()) && d->dropAction() == Qt::MoveAction;
}

// What comes in is judged the same wherever it lands.
PasteLimit::Verdict PasteLimit::JudgeDrop(const QDropEvent* d) const {
  return d->mimeData() ? Judge(d->mimeData()->text(), 0, 0) : Verdict::Fits;
}

bool PasteLimit::Drag(QDragMoveEvent* d, bool entering) {
  if (entering) drag_ = JudgeDrop(d);
  // Text moved within the memo leaves its size as it was.
  if (drag_ == Verdict::Fits || MovedWithin(d)) return false;
  // The drop will be refused with a warning, so it is let come; the source
  // is told it is a copy at most, so that it never deletes what it sent.
  if (d->possibleActions() & Qt::CopyAction) {
    d->setDropAction(Qt::CopyAction);
    d->accept();
  } else {
    d->ignore();
  }
  return true;
}

bool PasteLimit::eventFilter(QObject* watched, QEvent* e) {
  // Only these reach the memo as a whole: the viewport's other events come
  // while the memo is being destroyed too.
  switch (e->type()) {
    case QEvent::KeyPress:
    case QEvent::ContextMenu:
    case QEvent::MouseButtonRelease:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: break;
    default: return false;
  }
  if (memo_->isReadOnly()) return false;
  const bool onViewport = watched == memo_->viewport();
  switch (e->type()) {
    case QEvent::KeyPress:
      if (onViewport || !static_cast<QKeyEvent*>(e)->matches(QKeySequence::Paste) ||
          SelectionFits(ClipboardText(QClipboard::Clipboard)))
        return false;
      e->accept();
      Refuse(Verdict::TooLong);
      return true;
    case QEvent::ContextMenu: return ContextMenu(static_cast<QContextMenuEvent*>(e));
    case QEvent::MouseButtonRelease: {
      // The selection is pasted where the middle button is let go.
      const auto* m = static_cast<QMouseEvent*>(e);
      if (!onViewport || m->button() != Qt::MiddleButton || !QGuiApplication::clipboard()->supportsSelection())
        return false;
      const int at = memo_->cursorForPosition(m->position().toPoint()).position();
      if (Fits(ClipboardText(QClipboard::Selection), at, at)) return false;
      Refuse(Verdict::TooLong);
      return true;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: return onViewport && Drag(static_cast<QDragMoveEvent*>(e), e->type() == QEvent::DragEnter);
    case QEvent::Drop: {
      auto* d = static_cast<QDropEvent*>(e);
      if (!onViewport || !d->mimeData() || MovedWithin(d)) return false;
      // What the drop brings, which its source may have changed since the
      // drag entered.
      const Verdict v = JudgeDrop(d);
      if (v == Verdict::Fits) return false;
      // Ignored, so that the source keeps its text.
      d->setDropAction(Qt::IgnoreAction);
      d->ignore();
      // The drop caret Qt drew during the drag goes with it.
      QDragLeaveEvent leave;
      QCoreApplication::sendEvent(memo_->viewport(), &leave);
      Refuse(v);
      return true;
    }
    default: return false;
  }
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
