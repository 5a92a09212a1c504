#pragma once
// The RS232 code library editor: builds and edits "*.rss" libraries in
// Library/RS232 beside the program. Kept for the whole run, so a library
// stays in memory between showings until "Open Lib" or "New Lib".
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controls/qelbuttons.h"
#include "model/rs232lib.h"
#include "ui/forms.h"

// A one-line edit whose contents are 8-bit bytes, any but 01 and 04 (CR and
// LF included). Control bytes are shown as their control pictures, so a
// line break stays visible and comes back as the same byte. Bytes set by
// the program are kept exactly, even where they are no code page 936 text:
// an edit replaces only the bytes of the characters it changed.
class LineBytes : public QObject {
 public:
  // refused: a typed or pasted 01 or 04; the edit is undone first. A
  // character code page 936 cannot hold is undone silently.
  LineBytes(QLineEdit* edit, std::function<void()> refused);
  std::string Bytes() const;
  void SetBytes(std::string_view bytes);

 private:
  struct Piece {
    QChar Shown;
    std::string Bytes;
  };
  void UserEdited(const QString& now);
  void Show();
  QLineEdit* edit_;
  std::function<void()> refused_;
  std::vector<Piece> pieces_;
};

class TForm6 : public QDialog {
 public:
  explicit TForm6(Forms& forms);

  QLineEdit* Edit1 = nullptr;            // library name, read-only
  QComboBox* ComboBox1 = nullptr;        // function
  QComboBox* ComboBox4 = nullptr;        // baud
  QComboBox* ComboBox5 = nullptr;        // data bits
  QComboBox* ComboBox6 = nullptr;        // stop bits
  QRadioButton* RadioButton1 = nullptr;  // "HEX"
  QRadioButton* RadioButton2 = nullptr;  // "ASCII"
  QComboBox* ComboBox7 = nullptr;        // end character
  QLineEdit* Edit3 = nullptr;            // data
  LineBytes* Edit3Bytes = nullptr;
  TQelButton* Button1 = nullptr;  // "Open Lib"
  TQelButton* Button2 = nullptr;  // "New Lib"
  TQelButton* Button3 = nullptr;  // "New Function"
  TQelButton* Button4 = nullptr;  // "Delete Function"
  TQelButton* Button5 = nullptr;  // "Clear"
  TQelButton* Button6 = nullptr;  // "Save"
  TQelButton* Button7 = nullptr;  // "Save as"
  TQelButton* Button8 = nullptr;  // "OK"
  TQelButton* Button9 = nullptr;  // "Cancel"

  // The library being edited. Names and fields are code page 936 bytes as
  // read or built, so an opened library is written back byte for byte.
  std::string Rs232LibName;
  std::vector<Rs232Function> Rs232EditFunctions;  // function n at [n - 1]
  int Rs232EditCount() const { return static_cast<int>(Rs232EditFunctions.size()); }
  int Rs232EditCurrent = 0;  // the function shown, 0 for none
  int Rs232NameRequest = 0;  // 1 new function, 2 new library

  // Rebuilds function Rs232EditCurrent from the controls and returns its
  // record; nothing when no function is current or its data is refused.
  std::string BuildRs232FunctionRecord();
  void ShowRs232Function(int n);

  void Button1Click();              // "Open Lib"
  void Button2Click();              // "New Lib"
  void Button3Click();              // "New Function"
  void Button4Click();              // "Delete Function"
  void Button5Click();              // "Clear"
  void Button6Click();              // "Save"
  void Button7Click();              // "Save as"
  void Button8Click() { close(); }  // "OK": closing saves nothing
  void Button9Click() { close(); }  // "Cancel"
  void ComboBox1Change(int index);
  void ComboBox4Change() { BuildRs232FunctionRecord(); }
  void ComboBox7Change() { BuildRs232FunctionRecord(); }

 private:
  // Nothing: none current, or refused. legal, when given, is false after
  // the data's "Data is not legal".
  std::optional<std::string> BuildCurrent(bool* legal = nullptr);
  // Before another function is shown or made: the current one rebuilt from
  // the controls, with `name` as its name; false when its data is not legal.
  bool KeepCurrent(const QString& name);
  void NameChosen(const std::string& name);
  void SetLibName(const std::string& name);
  // The file's bytes, or nothing when refused (the message is shown).
  std::optional<std::string> LibraryBytes();
  bool WriteLibrary(const std::filesystem::path& path);
  Forms& F;
  // The current function's name as the user left it: choosing another
  // function writes that one's name into the combo before the choice arrives.
  QString shownName_;
};
