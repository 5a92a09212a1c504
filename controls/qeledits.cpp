#include "controls/qeledits.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMetaMethod>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QTextBlock>
#include <QWheelEvent>
#include <limits>

using namespace qel;

namespace {

constexpr int kFrameRing = 2;  // the frame the styled frame covers

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

}  // namespace

// --- Edit ---

TQelCustomEdit::TQelCustomEdit(QWidget* parent) : QLineEdit(parent), TextFrame(this, FocusTracking::InControlFlag) {
  SetMaxLength(0);
}

void TQelCustomEdit::SetAlignment(TLeftRight v) {
  if (v == alignment_) return;
  alignment_ = v;
  Recreate();
}

int TQelCustomEdit::MaxLength() const {
  const int n = maxLength();
  return n == std::numeric_limits<int>::max() ? 0 : n;
}

void TQelCustomEdit::SetMaxLength(int v) { setMaxLength(v <= 0 ? std::numeric_limits<int>::max() : v); }

void TQelCustomEdit::SetDropButtonShown(bool v) {
  if (v == dropButtonShown_) return;
  dropButtonShown_ = v;
  if (!v) {
    buttonDown_ = overButton_ = false;
    setCursor(Qt::IBeamCursor);
  }
  Recreate();
}

void TQelCustomEdit::ApplyFrameVisible() { Recreate(); }

void TQelCustomEdit::Recreate() {
  setAlignment((alignment_ == taRightJustify ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  // With the styled frame Qt draws none and the text keeps clear of the
  // 2-pixel ring; the button takes its strip inside the border.
  setFrame(!FrameVisible());
  int ring = kFrameRing;
  if (!FrameVisible()) {
    QStyleOptionFrame option;
    initStyleOption(&option);
    ring = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
  }
  const int inset = FrameVisible() ? kFrameRing : 0;
  const int button = dropButtonShown_ ? kVScrollBarWidth + std::max(kFrameRing - ring, 0) : 0;
  const bool rtl = isRightToLeft();
  setTextMargins(inset + (rtl ? button : 0), inset, inset + (rtl ? 0 : button), inset);
  setMouseTracking(dropButtonShown_);
  update();
}

void TQelCustomEdit::WriteButtonState(bool down) {
  if (!dropButtonShown_ || down == buttonDown_) return;
  buttonDown_ = down;
  update();
}

void TQelCustomEdit::DropDown() {
  if (dropped_) return;
  dropped_ = true;
  WriteButtonState(true);
  emit ButtonDropDown();
  emit ButtonCloseUp();
  WriteButtonState(false);
  dropped_ = false;
}

void TQelCustomEdit::RepaintForHotState() {
  if (dropButtonShown_) {
    if ((FlatButtons() || FrameHotTrack()) && !buttonDown_) RepaintButtonStrip(FrameHotTrack());
  } else if (FrameHotTrack()) {
    RedrawFrame();
  }
}

void TQelCustomEdit::PaintDropButton(Canvas& canvas, const TRect& r) {
  const bool enabled = isEnabled();
  if (FlatButtons()) {
    const TColor rest = Focused() ? FocusColor() : NormalColor();
    PaintFlatDropButton(canvas, r, InControl() || OverControl(), buttonDown_, rest);
    return;
  }
  canvas.FillRect(r, clBtnFace);
  const TRect inside = buttonDown_ ? PaintEdgeLines(canvas, r, clBtnShadow, sdAllSides, clBtnShadow)
                                   : PaintButtonBorder(canvas, r, false);
  PaintDropArrow(canvas, inside, false, enabled, buttonDown_);
}

bool TQelCustomEdit::OverButton(const QPoint& pos) const {
  if (!dropButtonShown_) return false;
  return Contains(DropButtonRect(), pos);
}

void TQelCustomEdit::TrackPointer(const QPoint& pos) {
  const bool over = OverButton(pos);
  if (over == overButton_) return;
  overButton_ = over;
  setCursor(over ? Qt::ArrowCursor : Qt::IBeamCursor);
}

bool TQelCustomEdit::ButtonPress(QMouseEvent* e) {
  TrackPointer(e->position().toPoint());
  if (!overButton_) return false;
  if (e->button() == Qt::LeftButton) {
    if (!hasFocus()) setFocus(Qt::MouseFocusReason);
    DropDown();
  }
  e->accept();
  return true;
}

void TQelCustomEdit::ButtonRelease() {
  if (!dropped_) WriteButtonState(false);
}

bool TQelCustomEdit::event(QEvent* e) {
  // The button has no context menu of the text's.
  if (e->type() == QEvent::ContextMenu && OverButton(static_cast<QContextMenuEvent*>(e)->pos())) {
    e->accept();
    return true;
  }
  const bool handled = QLineEdit::event(e);
  if (e->type() == QEvent::FocusOut) ButtonRelease();
  if (e->type() == QEvent::EnabledChange) update();  // the button's look
  if (e->type() == QEvent::LayoutDirectionChange) Recreate();
  FrameEvent(e);
  return handled;
}

void TQelCustomEdit::paintEvent(QPaintEvent* e) {
  QLineEdit::paintEvent(e);
  if (!FrameShown() && !dropButtonShown_) return;
  Canvas canvas = FrameCanvas();
  PaintFrame(canvas);
  if (dropButtonShown_) PaintDropButton(canvas, DropButtonRect());
  DrawOver(canvas);
}

void TQelCustomEdit::keyPressEvent(QKeyEvent* e) {
  if (TabOnEnter() && IsEnter(e)) {
    qel::PostTabKey(this);
    e->accept();
    return;
  }
  QLineEdit::keyPressEvent(e);
  if (dropButtonShown_ && e->key() == Qt::Key_Down && e->modifiers() == Qt::AltModifier) {
    DropDown();
    e->accept();
  }
}

void TQelCustomEdit::mousePressEvent(QMouseEvent* e) {
  if (ButtonPress(e)) return;
  QLineEdit::mousePressEvent(e);
  if (e->button() == Qt::LeftButton && !hasFocus()) ButtonRelease();
}

void TQelCustomEdit::mouseDoubleClickEvent(QMouseEvent* e) {
  if (ButtonPress(e)) return;
  QLineEdit::mouseDoubleClickEvent(e);
}

void TQelCustomEdit::mouseMoveEvent(QMouseEvent* e) {
  TrackPointer(e->position().toPoint());
  QLineEdit::mouseMoveEvent(e);
}

void TQelCustomEdit::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) ButtonRelease();
  QLineEdit::mouseReleaseEvent(e);
}

// --- Memo ---

TQelMemo::TQelMemo(QWidget* parent) : QPlainTextEdit(parent), TextFrame(this, FocusTracking::PlatformFocus) {
  connect(this, &QPlainTextEdit::textChanged, this, &TQelMemo::NotifyLineCol);
}

QString TQelMemo::Text() const { return toPlainText().replace(QLatin1Char('\n'), QLatin1String("\r\n")); }

void TQelMemo::SetText(const QString& text) {
  QString plain = text;
  plain.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  setPlainText(plain);
}

int TQelMemo::Line() const { return document()->findBlock(textCursor().position()).blockNumber() + 1; }

int TQelMemo::Column() const { return textCursor().positionInBlock() + 1; }

void TQelMemo::SetColumn(int c) {
  if (c < 1) return;  // before the line's first character: not a column of it
  const QTextBlock line = document()->findBlockByNumber(Line() - 1);
  if (c > line.length()) return;  // length() counts the line break: the last column
  QTextCursor cursor = textCursor();
  cursor.setPosition(line.position() + c - 1);
  setTextCursor(cursor);
  NotifyLineCol();
}

void TQelMemo::SetLine(int n) {
  if (n < 1 || n > blockCount()) return;
  const QTextBlock line = document()->findBlockByNumber(n - 1);
  QTextCursor cursor = textCursor();
  cursor.setPosition(line.position());
  setTextCursor(cursor);
  if (Line() != n) return;
  verticalScrollBar()->setValue(line.firstLineNumber());
  NotifyLineCol();
}

void TQelMemo::SetScrollBars(TScrollStyle v) {
  scrollBars_ = v;
  const bool vertical = v == ssVertical || v == ssBoth, horizontal = v == ssHorizontal || v == ssBoth;
  setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
}

void TQelMemo::NotifyLineCol() {
  if (isSignalConnected(QMetaMethod::fromSignal(&TQelMemo::LineColChange))) emit LineColChange(Line(), Column());
  NotifyClipboard();
}

void TQelMemo::NotifyClipboard() {
  if (!isSignalConnected(QMetaMethod::fromSignal(&TQelMemo::ClipboardChange))) return;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  emit ClipboardChange(textCursor().hasSelection(), data && data->hasText());
}

bool TQelMemo::event(QEvent* e) {
  const bool handled = QPlainTextEdit::event(e);
  if (e->type() == QEvent::Paint) PaintFrameOver();
  if (e->type() == QEvent::Show && !shown_) {
    shown_ = true;
    NotifyLineCol();
    NotifyClipboard();
  }
  FrameEvent(e);
  return handled;
}

void TQelMemo::keyPressEvent(QKeyEvent* e) {
  if (TabOnEnter() && IsEnter(e)) {
    // QPlainTextEdit keeps a Tab as text: move the focus as a plain widget.
    QWidget::focusNextPrevChild(true);
    e->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(e);
  NotifyLineCol();
}

void TQelMemo::keyReleaseEvent(QKeyEvent* e) {
  QPlainTextEdit::keyReleaseEvent(e);
  NotifyLineCol();
}

void TQelMemo::mouseReleaseEvent(QMouseEvent* e) {
  QPlainTextEdit::mouseReleaseEvent(e);
  NotifyLineCol();  // the click
  NotifyClipboard();
}

void TQelMemo::dropEvent(QDropEvent* e) {
  const QMimeData* data = e->mimeData();
  if (isReadOnly() || !data || !canInsertFromMimeData(data)) {
    QPlainTextEdit::dropEvent(e);  // takes nothing in
    return;
  }
  // Qt's end of a drag: its drop caret and the scrolling at the edges stop.
  QDragLeaveEvent leave;
  QPlainTextEdit::dragLeaveEvent(&leave);
  QTextCursor at = cursorForPosition(e->position().toPoint());
  // Text moved within the memo leaves its place; both are one undo step.
  at.beginEditBlock();
  if (e->dropAction() == Qt::MoveAction && (e->source() == this || e->source() == viewport())) {
    QTextCursor moved = textCursor();
    moved.removeSelectedText();
  }
  at.insertText(data->text());
  at.endEditBlock();
  setTextCursor(at);
  ensureCursorVisible();
  e->acceptProposedAction();
}

void TQelMemo::wheelEvent(QWheelEvent* e) {
  if (e->angleDelta().y() == 0) {  // sideways: Qt's
    QPlainTextEdit::wheelEvent(e);
    return;
  }
  const int notches = TakeWheelNotches(wheelRest_, e->angleDelta().y());
  const int perNotch = e->modifiers() & Qt::ControlModifier ? QApplication::wheelScrollLines() : 1;
  // Qt hands on the viewport's event.
  const QPoint pos = viewport()->mapTo(this, e->position().toPoint());
  QPointer<TQelMemo> self(this);
  for (int n = notches; n != 0; n += n > 0 ? -1 : 1) {
    bool handled = false;
    if (n > 0)
      emit MouseWheelUp(e->modifiers(), pos, &handled);
    else
      emit MouseWheelDown(e->modifiers(), pos, &handled);
    if (!self) return;
    // A notch up (positive) shows earlier lines.
    QScrollBar* bar = verticalScrollBar();
    bar->setValue(bar->value() - (n > 0 ? perNotch : -perNotch));
  }
  e->accept();
}
