#pragma once
// The debug log's lines, kept apart from the memo that shows them: bounded
// in the memo's lines (the line breaks inside a line count too) and in
// bytes, a very long line kept cut with its length marked. The memo is
// written from here only while it is shown.
#include <QString>
#include <deque>

class DebugLog {
 public:
  static constexpr size_t kLines = 20000;                  // of the memo: a line with n breaks is n + 1
  static constexpr qsizetype kBytes = qsizetype{4} << 20;  // of text, two bytes a character, LFs counted
  static constexpr qsizetype kLineChars = 4000;            // longer lines are cut here

  explicit DebugLog(const QString& first);

  void Add(const QString& line);
  void Clear();

  size_t Count() const { return lines_.size(); }
  qsizetype Bytes() const { return chars_ * 2; }
  // Every line, joined by LF; the newest `n` alone.
  QString Text() const { return Newest(lines_.size()); }
  QString Newest(size_t n) const;
  // Lines added and lines dropped, and the characters dropped with their LF,
  // since the log began: how a memo showing an older state catches up.
  qint64 Added() const { return added_; }
  qint64 Dropped() const { return dropped_; }
  qint64 DroppedChars() const { return droppedChars_; }

  // A line as it is kept: CR and CR LF read as LF, as the memo reads them,
  // and cut past kLineChars with a mark of its length.
  static QString Kept(QString line);

 private:
  // The lines the memo shows for the kept ones.
  size_t MemoLines() const { return lines_.size() + breaks_; }

  std::deque<QString> lines_;
  qsizetype chars_ = 0;  // each line with the LF it takes in the memo
  size_t breaks_ = 0;    // LFs inside the lines
  qint64 added_ = 0, dropped_ = 0, droppedChars_ = 0;
};
