// What the windows share: warnings (shown, gathered or not waited for),
// the files a user chooses, and the main window's debug log.
#include "ui/forms.h"

#include "model/fileio.h"
#include "model/libraries.h"
#include "model/texts.h"
#include "ui/tform1.h"

void Forms::Warn(const QString& text) { Warn(Form1, Utf8(V.BoxCaption), text); }

void Forms::Log(const QString& line) {
  if (Form1) Form1->Log(line);
}

void Forms::Warn(QWidget* parent, const QString& caption, const QString& text) {
  if (!collecting_) {
    if (nonBlocking_)
      S.Boxes->Notice(parent, caption, text);
    else
      S.Boxes->Warning(parent, caption, text);
    return;
  }
  for (const Collected& c : collected_)
    if (c.Text == text) return;
  collected_.push_back({parent, caption, text});
}

std::optional<std::string> Forms::ReadUserFile(QWidget* parent, const QString& caption,
                                               const std::filesystem::path& path) {
  FileRead read = ReadRegularFile(path);
  if (!read.Bytes)
    Warn(parent, caption, Utf8(kCannotOpenFile).arg(QString::fromStdString(path.string()), Utf8(read.Why)));
  return std::move(read.Bytes);
}

bool Forms::WriteUserFile(QWidget* parent, const QString& caption, const std::filesystem::path& path,
                          std::string_view bytes) {
  std::string why;
  if (WriteFileReplacing(path, bytes, &why)) return true;
  Warn(parent, caption, Utf8(kCannotWriteFile).arg(QString::fromStdString(path.string()), Utf8(why)));
  return false;
}

void WarnAboutLibraryRead(Forms& f, QWidget* parent, const QString& caption, const QString& name,
                          const LibraryReadWarnings& w) {
  if (w.TooMany) f.Warn(parent, caption, Utf8(kLibraryTooMany).arg(kMaxLibraryEntries));
  if (w.Truncated) f.Warn(parent, caption, Utf8(kLibraryEndsEarly).arg(name));
}

void Forms::BeginCollectingWarnings() {
  collecting_ = true;
  collected_.clear();
}

void Forms::EndCollectingWarnings() {
  collecting_ = false;
  const std::vector<Collected> shown = std::move(collected_);
  collected_.clear();
  for (const Collected& c : shown) S.Boxes->Warning(c.Parent, c.Caption, c.Text);
}
