#pragma once
// The code libraries' files beside the program, and the one road every
// window opens one on: the main window's RS232 and IR pages and both editors.
#include <QString>
#include <filesystem>
#include <optional>
#include <string>

#include "ui/forms.h"

// A kind of library file: its folder under "Library" and its extension.
struct LibraryFiles {
  const char* Sub;
  const char* Extension;
};
inline constexpr LibraryFiles kRs232Files{"RS232", ".rss"};
inline constexpr LibraryFiles kIrFiles{"IR", ".irr"};

// ProgramDir/Library/<sub> ("RS232", "IR", or "File" for projects), made
// first when asked; a folder that cannot be made shows when a file is used.
std::filesystem::path LibraryFolderPath(const AppConfig& config, const char* sub, bool create);

// A folder as the file dialogs take it.
QString FolderText(const std::filesystem::path& dir);

// The project files' filter text with the library's extension for ".dat".
QString LibraryFilter(const Variant& v, const LibraryFiles& kind);

// Which chosen names are read.
enum class LibraryNameRule {
  PathExtension,  // the path's extension is the library's: "tv.rss", not a bare ".rss"
  ExactEnding,    // the name ends in the extension, case and all: a bare ".irr" too
};

struct LibraryChoice {
  QString Name;                      // as the dialog gave it; empty when cancelled
  std::optional<std::string> Bytes;  // the file, when a name of the kind was chosen and read
  bool Refused = false;              // it could not be read: the warning is shown, nothing may change
};

// The open dialog in the library's folder (made first). A name of the kind
// is read whole; when it cannot be, a warning under `caption` names the
// file and the reason. Any other name, or none, reads nothing and is no
// refusal: each window decides what a cancelled choice clears.
LibraryChoice ChooseLibraryFile(Forms& f, QWidget* parent, const LibraryFiles& kind, const QString& caption,
                                LibraryNameRule rule = LibraryNameRule::PathExtension);
