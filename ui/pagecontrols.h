#pragma once
// Behaviour shared by the Event Set pages: memos that hold bytes, and an
// edit kept in step with a track bar or scroll bar. Their typed keys are
// filtered as the dialogs' are (KeyFiltered, ui/widgets.h).
#include <QObject>
#include <functional>
#include <optional>
#include <string>

class QComboBox;
class QContextMenuEvent;
class QDragMoveEvent;
class QDropEvent;
class QLineEdit;
class QPlainTextEdit;
class QScrollBar;
class TQelTrackBar;

// Selects item `index` when one is given and the combo has it; otherwise
// the combo stays as it was.
void SetComboIndex(QComboBox* combo, const std::optional<int>& index);

// A memo whose contents are 8-bit bytes. The widget shows them decoded;
// bytes set by the program are kept exactly, even where they are not valid
// code page 936 text, until the user edits. A line break typed is 0D 0A.
class MemoBytes : public QObject {
 public:
  // refused: called (later, from the event loop) when a typed or pasted
  // character cannot be held in code page 936; the edit is undone.
  MemoBytes(QPlainTextEdit* memo, std::function<void()> refused);
  const std::string& Bytes() const { return bytes_; }
  void SetBytes(std::string bytes);
  // While held, the widget is written once, on release, with the last bytes set.
  void Hold(bool on);
  QPlainTextEdit* Memo() const { return memo_; }

 private:
  void UserEdited();
  QPlainTextEdit* memo_;
  std::function<void()> refused_;
  std::string bytes_;
  QString shown_;
  bool setting_ = false;
  bool held_ = false;
  bool stale_ = false;  // bytes set while held, not yet shown
};

// Refuses, before the memo takes it, a paste or drop whose text would make
// the memo's bytes more than `fits` accepts: the paste keys, the context
// menu's "Paste", the middle button's paste of the selection and a drop
// from elsewhere. A drop is also refused when code page 936 cannot hold its
// text, so that its source is never told it moved. The memo stays as it
// was; `refused` (too long) or `notLegal` is called once per refusal,
// later, from the event loop.
class PasteLimit : public QObject {
 public:
  PasteLimit(QPlainTextEdit* memo, std::function<bool(const std::string& bytes)> fits, std::function<void()> refused,
             std::function<void()> notLegal);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  enum class Verdict { Fits, TooLong, NotLegal };
  // The memo's text with `inserted` put in place of [from, to).
  Verdict Judge(const QString& inserted, int from, int to) const;
  bool Fits(const QString& inserted, int from, int to) const { return Judge(inserted, from, to) != Verdict::TooLong; }
  bool SelectionFits(const QString& inserted) const;
  void Refuse(Verdict why);
  void Paste();
  bool ContextMenu(QContextMenuEvent* e);
  bool MovedWithin(const QDropEvent* d) const;
  // What a drag or drop would put in.
  Verdict JudgeDrop(const QDropEvent* d) const;
  // A drag entering or moving over the memo; true when it was answered here.
  bool Drag(QDragMoveEvent* d, bool entering);
  QPlainTextEdit* memo_;
  std::function<bool(const std::string&)> fits_;
  std::function<void()> refused_, notLegal_;
  Verdict drag_ = Verdict::Fits;  // the text of the drag over the memo, as it entered
};

// An edit showing a track bar's position + 1 (range 0..99 shown as 1..100).
// A number typed (or written by the program) moves the bar; when it asks
// for another position, the kept position + 1 is written back, so 150
// becomes 100. Empty, "0" and text that is no number leave the bar alone.
class EditTrackPair : public QObject {
 public:
  EditTrackPair(QLineEdit* edit, TQelTrackBar* bar);

 private:
  void EditChanged();
  QLineEdit* edit_;
  TQelTrackBar* bar_;
};

// An edit showing a scroll bar's position as it is (the Delay fields).
class EditScrollPair : public QObject {
 public:
  EditScrollPair(QLineEdit* edit, QScrollBar* bar);

 private:
  void EditChanged();
  QLineEdit* edit_;
  QScrollBar* bar_;
};
