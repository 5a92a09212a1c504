#pragma once
#include <QLineEdit>
#include <QPlainTextEdit>
#include <optional>

#include "controls/qeltextframe.h"

// Single-line edit with the shared text-control frame, left or right
// alignment, Enter as Tab and an optional drop-down button at the right
// (right-to-left: left) edge. QLineEdit's text(), setText(), textChanged
// (OnChange, program writes included), setReadOnly and input masks keep
// their meaning.
class TQelCustomEdit : public QLineEdit, public qel::TextFrame {
  Q_OBJECT
  QEL_TEXT_FRAME_PROPERTIES
  Q_PROPERTY(TLeftRight Alignment READ Alignment WRITE SetAlignment)

 public:
  enum TLeftRight { taLeftJustify, taRightJustify };
  Q_ENUM(TLeftRight)

  explicit TQelCustomEdit(QWidget* parent = nullptr);

  // Setting it re-applies the edit's own settings, so an alignment set
  // directly with setAlignment (a centring) lasts until then; the same
  // holds for DropButtonShown and FrameVisible.
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight v);
  // 0 is no limit at all (not QLineEdit's 32767, which would also cut
  // program writes).
  int MaxLength() const;
  void SetMaxLength(int v);

  bool DropButtonShown() const { return dropButtonShown_; }
  void SetDropButtonShown(bool v);
  bool ButtonDown() const { return buttonDown_; }
  bool MouseOverButton() const { return overButton_; }
  // Presses the drop-down button: ButtonDropDown, then ButtonCloseUp.
  void DropDown();

  // Hooks for descendants; the edit itself does not call them.
  virtual qel::TRect TextAreaRect() const { return {0, 0, width(), height()}; }
  virtual QString AlignedText() const { return text(); }

 Q_SIGNALS:
  void MouseEnter();
  void MouseLeave();
  void ButtonDropDown();
  void ButtonCloseUp();

 protected:
  // The drop-down button, flat or raised, in r.
  virtual void PaintDropButton(qel::Canvas& canvas, const qel::TRect& r);
  // Up or down; repaints when the button is shown and the state changes.
  void WriteButtonState(bool down);

  void RepaintForHotState() override;
  void ApplyFrameVisible() override;

  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  // What re-creating the window would reset: alignment, frame, margins.
  void Recreate();
  bool OverButton(const QPoint& pos) const;
  void TrackPointer(const QPoint& pos);
  // A press on the button: eaten (right) or dropping down (left).
  bool ButtonPress(QMouseEvent* e);
  void ButtonRelease();

  TLeftRight alignment_ = taLeftJustify;
  bool dropButtonShown_ = false;
  bool buttonDown_ = false;
  bool overButton_ = false;
  bool dropped_ = false;
};

class TQelEdit : public TQelCustomEdit {
  Q_OBJECT

 public:
  explicit TQelEdit(QWidget* parent = nullptr) : TQelCustomEdit(parent) {}
};

// Multi-line edit with the shared text-control frame, the caret's line and
// column, Enter as Tab, and notifications when the caret or the clipboard
// situation may have changed. QPlainTextEdit's toPlainText, setPlainText and
// textChanged keep their meaning (the pages keep their bytes in MemoBytes).
class TQelMemo : public QPlainTextEdit, public qel::TextFrame {
  Q_OBJECT
  QEL_TEXT_FRAME_PROPERTIES
  Q_PROPERTY(TScrollStyle ScrollBars READ ScrollBars WRITE SetScrollBars)

 public:
  enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };
  Q_ENUM(TScrollStyle)

  explicit TQelMemo(QWidget* parent = nullptr);

  // Text with CR LF line breaks; the writer takes CR LF, LF or CR.
  QString Text() const;
  void SetText(const QString& text);

  // The caret's logical line and column, 1-based. A Line outside 1..line
  // count and a Column outside 1..line length + 1 do nothing.
  int Line() const;
  void SetLine(int n);
  int Column() const;
  void SetColumn(int c);

  // ssVertical: the vertical bar always shown, no horizontal one. Until
  // set, the bars are Qt's (as needed).
  TScrollStyle ScrollBars() const { return scrollBars_.value_or(ssNone); }
  void SetScrollBars(TScrollStyle v);

 Q_SIGNALS:
  void MouseEnter();
  void MouseLeave();
  void LineColChange(int line, int column);
  void ClipboardChange(bool hasSelection, bool hasText);
  // One per wheel notch, before the memo scrolls; pos in the memo's
  // coordinates. The memo scrolls whatever a handler sets *handled to.
  void MouseWheelDown(Qt::KeyboardModifiers modifiers, QPoint pos, bool* handled);
  void MouseWheelUp(Qt::KeyboardModifiers modifiers, QPoint pos, bool* handled);

 protected:
  // LineColChange, then always the clipboard notification.
  void NotifyLineCol();
  void NotifyClipboard();

  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  // The memo puts dropped text in itself: Qt's drop brings the caret into
  // view before the line layout has taken the text in, and can read a line
  // that is not there.
  void dropEvent(QDropEvent* e) override;

 private:
  std::optional<TScrollStyle> scrollBars_;
  int wheelRest_ = 0;  // eighths of a degree short of a notch
  bool shown_ = false;
};
