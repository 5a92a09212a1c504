#include "ui/debuglog.h"

#include <algorithm>

// The newest line is kept even alone: cut, it fits the memo's bound.
static_assert(DebugLog::kLineChars < static_cast<qsizetype>(DebugLog::kLines));

DebugLog::DebugLog(const QString& first) { Add(first); }

QString DebugLog::Kept(QString line) {
  const qsizetype length = line.size();
  // Cut first: a long line is seldom worth another pass.
  if (length > kLineChars) line = line.left(kLineChars);
  if (line.contains(QLatin1Char('\r'))) {
    line.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    line.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  }
  if (length > kLineChars) line += QStringLiteral("\u2026 (%1 characters)").arg(length);
  return line;
}

void DebugLog::Add(const QString& line) {
  // Most lines are short and plain: kept as they are, shared, not copied.
  if (line.size() <= kLineChars && !line.contains(QLatin1Char('\r')))
    lines_.push_back(line);
  else
    lines_.push_back(Kept(line));
  chars_ += lines_.back().size() + 1;
  // A line of CRs shows as thousands of lines in the memo.
  breaks_ += static_cast<size_t>(lines_.back().count(QLatin1Char('\n')));
  ++added_;
  // The newest line stays even alone past the bound; it is cut short enough.
  while (lines_.size() > 1 && (MemoLines() > kLines || Bytes() > kBytes)) {
    chars_ -= lines_.front().size() + 1;
    breaks_ -= static_cast<size_t>(lines_.front().count(QLatin1Char('\n')));
    droppedChars_ += lines_.front().size() + 1;
    lines_.pop_front();
    ++dropped_;
  }
}

void DebugLog::Clear() {
  for (const QString& l : lines_) droppedChars_ += l.size() + 1;
  dropped_ += static_cast<qint64>(lines_.size());
  lines_.clear();
  chars_ = 0;
  breaks_ = 0;
}

QString DebugLog::Newest(size_t n) const {
  n = std::min(n, lines_.size());
  const auto from = lines_.end() - static_cast<std::ptrdiff_t>(n);
  qsizetype length = 0;
  for (auto it = from; it != lines_.end(); ++it) length += it->size() + 1;
  QString text;
  text.reserve(length);
  for (auto it = from; it != lines_.end(); ++it) {
    if (it != from) text += QLatin1Char('\n');
    text += *it;
  }
  return text;
}
