#include "ipedit/tipfieldedit.h"

#include <QKeyEvent>
#include <algorithm>
#include <utility>

#include "ipedit/tipedit.h"

std::optional<long long> OctetTextToInteger(const QString& s) {
  const qsizetype n = s.size();
  qsizetype i = 0;
  while (i < n && s[i] == u' ') ++i;
  bool negative = false;
  if (i < n && (s[i] == u'+' || s[i] == u'-')) negative = s[i++] == u'-';
  int base = 10;
  if (i < n && s[i] == u'$') {
    base = 16;
    ++i;
  } else if (i + 1 < n && s[i] == u'0' && (s[i + 1] == u'x' || s[i + 1] == u'X')) {
    base = 16;
    i += 2;
  }
  if (i == n) return std::nullopt;
  long long value = 0;
  for (; i < n; ++i) {
    const char16_t ch = s[i].unicode();
    int digit = -1;
    if (ch >= u'0' && ch <= u'9')
      digit = ch - u'0';
    else if (base == 16 && ch >= u'a' && ch <= u'f')
      digit = ch - u'a' + 10;
    else if (base == 16 && ch >= u'A' && ch <= u'F')
      digit = ch - u'A' + 10;
    if (digit < 0) return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFLL) return std::nullopt;  // far beyond any octet; stop before it overflows
  }
  return negative ? -value : value;
}

TIPFieldEdit::TIPFieldEdit(TIPEdit* owner, int index) : QLineEdit(owner), owner_(owner), index_(index) {
  setText(QStringLiteral("0"));
  setMaxLength(3);
  setFrame(false);
  setAlignment(Qt::AlignCenter);
  setInputMethodHints(Qt::ImhDigitsOnly);
  // The box paints one background, frame and focus line for all four fields;
  // only the base is dropped here, every other colour still comes from the box.
  QPalette see;
  see.setBrush(QPalette::Base, Qt::transparent);
  setPalette(see);
  connect(this, &QLineEdit::textEdited, this, [this] { edited_ = true; });
  // textEdited comes just before textChanged for the same change.
  connect(this, &QLineEdit::textChanged, this, [this] { ValidateOctetText(); });
}

void TIPFieldEdit::SetFieldValue(std::uint8_t value) {
  fieldValue_ = value;
  setText(QString::number(value));
}

int TIPFieldEdit::CaretColumn() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void TIPFieldEdit::SetCaretColumn(int column) { setCursorPosition(std::clamp<int>(column, 0, text().size())); }

void TIPFieldEdit::ValidateOctetText() {
  const bool typed = std::exchange(edited_, false);
  const QString t = text();
  if (!t.isEmpty()) {
    const std::optional<long long> v = OctetTextToInteger(t);
    if (!v || *v < minValue_ || *v > maxValue_) {
      inError_ = true;
      owner_->RaiseError(index_);
      setText(QStringLiteral("255"));  // validates again, nested, and clears inError_
      SetCaretColumn(0);
    } else {
      inError_ = false;
      if (*v != fieldValue_) {
        fieldValue_ = static_cast<std::uint8_t>(*v);
        owner_->RaiseChange();
      }
    }
  }
  // QLineEdit leaves the caret at the end after setText, so only the user's
  // own edits may advance.
  if (typed && !inError_ && text().size() == 3 && CaretColumn() == 3) owner_->FocusNextField(true);
}

void TIPFieldEdit::keyPressEvent(QKeyEvent* e) {
  const int key = e->key();
  if (key == Qt::Key_Right && CaretColumn() >= text().size()) {
    SetCaretColumn(CaretColumn());
    owner_->FocusNextField(false);
    e->accept();
    return;
  }
  if (key == Qt::Key_Left && CaretColumn() == 0) {
    SetCaretColumn(0);
    owner_->FocusPrevField(false);
    e->accept();
    return;
  }
  if (key == Qt::Key_Backspace) {
    if (CaretColumn() == 0) owner_->FocusPrevField(false);
    QLineEdit::keyPressEvent(e);  // this field's caret is at 0: nothing to delete unless selected
    return;
  }
  const QString t = e->text();
  const bool ctrl = e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier);
  const bool ctrlLetter = ctrl && key >= Qt::Key_A && key <= Qt::Key_Z;
  // Keys that are not characters keep their usual editing (Home, End, Delete,
  // Shift+Insert...); Return, Escape and Tab go on to the window.
  const bool passOn = key == Qt::Key_Delete || key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape ||
                      key == Qt::Key_Tab || key == Qt::Key_Backtab;
  if (passOn || (t.isEmpty() && !ctrlLetter)) {
    QLineEdit::keyPressEvent(e);
    return;
  }
  const QChar c = t.isEmpty() ? QChar() : t[0];
  if (!ctrl && c >= u'0' && c <= u'9') {
    QLineEdit::keyPressEvent(e);
    return;
  }
  if (!ctrl && c == u'.' && !hasSelectedText() && !text().isEmpty()) owner_->FocusNextField(true);
  // Every other character, control characters (Ctrl+V, Ctrl+C...) included, is dropped.
  e->accept();
}

void TIPFieldEdit::focusInEvent(QFocusEvent* e) {
  QLineEdit::focusInEvent(e);
  owner_->update();  // the box shows the focus of any of its fields
}

void TIPFieldEdit::focusOutEvent(QFocusEvent* e) {
  QLineEdit::focusOutEvent(e);
  owner_->update();
}
