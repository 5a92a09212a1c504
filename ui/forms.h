#pragma once
// Every window of the program, created once at start-up and kept for the
// whole run, with what they share: the build variant, the configuration
// and the modal-window services.
#include <QString>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "link/appconfig.h"
#include "model/variant.h"
#include "ui/services.h"
#include "ui/textcodec.h"

class QWidget;
class DeviceList;
class IniFile;
class PanelLink;
struct ConfigModel;
class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TForm8;
class TForm9;
class TForm10;
class TForm11;
class TForm12;
class TForm13;

struct LibraryReadWarnings;

struct Forms {
  Forms(const Variant& v, AppConfig config, Services services) : V(v), Config(std::move(config)), S(services) {}
  Forms(const Forms&) = delete;
  Forms& operator=(const Forms&) = delete;

  const Variant& V;
  AppConfig Config;
  Services S;

  TForm1* Form1 = nullptr;
  TForm2* Form2 = nullptr;
  TForm3* Form3 = nullptr;
  TForm4* Form4 = nullptr;
  TForm5* Form5 = nullptr;
  TForm6* Form6 = nullptr;
  TForm7* Form7 = nullptr;
  TForm8* Form8 = nullptr;
  TForm9* Form9 = nullptr;
  TForm10* Form10 = nullptr;
  TForm11* Form11 = nullptr;
  TForm12* Form12 = nullptr;  // 9-key build only
  TForm13* Form13 = nullptr;  // 9-key build only

  // What the main window owns and the dialogs share: the model the key
  // dialogs add to and the download sends, the key-name file, the link and
  // the device list. The dialogs reach these here, not through the window.
  ConfigModel* Model = nullptr;
  const IniFile* KeyNameIni = nullptr;
  PanelLink* Link = nullptr;
  DeviceList* Devices = nullptr;
  // One line at the end of the main window's debug log.
  void Log(const QString& line);

  // A warning box over the main window, with the model and version as caption.
  void Warn(const QString& text);
  void Warn(QWidget* parent, const QString& caption, const QString& text);

  // A file the user chose, read whole; a warning naming the file and the
  // reason when it cannot be (a folder, a FIFO, a device, too large).
  std::optional<std::string> ReadUserFile(QWidget* parent, const QString& caption, const std::filesystem::path& path);
  // Written through the replacing writer; a warning naming the file and the reason when it fails.
  bool WriteUserFile(QWidget* parent, const QString& caption, const std::filesystem::path& path,
                     std::string_view bytes);

  // While a load runs, warnings are gathered instead of shown; the end
  // shows each distinct text once.
  void BeginCollectingWarnings();
  void EndCollectingWarnings();

  // While one lives, warnings are shown without waiting for the user.
  class NonBlockingWarnings {
   public:
    explicit NonBlockingWarnings(Forms& f) : f_(f) { ++f_.nonBlocking_; }
    ~NonBlockingWarnings() { --f_.nonBlocking_; }
    NonBlockingWarnings(const NonBlockingWarnings&) = delete;
    NonBlockingWarnings& operator=(const NonBlockingWarnings&) = delete;

   private:
    Forms& f_;
  };

 private:
  struct Collected {
    QWidget* Parent;
    QString Caption, Text;
  };
  bool collecting_ = false;
  int nonBlocking_ = 0;
  std::vector<Collected> collected_;
};

// What reading a code library found: a warning each for entries past what
// the lists hold and for a file that ends inside an entry.
void WarnAboutLibraryRead(Forms& f, QWidget* parent, const QString& caption, const QString& name,
                          const LibraryReadWarnings& w);
