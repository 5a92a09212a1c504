#include "ui/libraryfiles.h"

std::filesystem::path LibraryFolderPath(const AppConfig& config, const char* sub, bool create) {
  const std::filesystem::path dir = config.ProgramDir / "Library" / sub;
  if (create) {
    std::error_code ec;
    std::filesystem::create_directories(dir, ec);
  }
  return dir;
}

QString FolderText(const std::filesystem::path& dir) { return QString::fromStdString(dir.string()); }

QString LibraryFilter(const Variant& v, const LibraryFiles& kind) {
  return Utf8(v.SaveAsFilter).replace(QStringLiteral(".dat"), QString::fromLatin1(kind.Extension));
}

LibraryChoice ChooseLibraryFile(Forms& f, QWidget* parent, const LibraryFiles& kind, const QString& caption,
                                LibraryNameRule rule) {
  LibraryChoice c;
  c.Name = f.S.Files->OpenFileName(parent, FolderText(LibraryFolderPath(f.Config, kind.Sub, true)),
                                   LibraryFilter(f.V, kind));
  const std::filesystem::path path(c.Name.toStdString());
  const bool ofKind = rule == LibraryNameRule::ExactEnding
                          ? c.Name.endsWith(QLatin1String(kind.Extension), Qt::CaseSensitive)
                          : !c.Name.isEmpty() && path.extension() == kind.Extension;
  if (!ofKind) return c;
  c.Bytes = f.ReadUserFile(parent, caption, path);
  c.Refused = !c.Bytes;
  return c;
}
