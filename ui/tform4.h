#pragma once
// "IR Edit": builds an IR code library row by row; "Learn" asks the panel
// for a code and the receive dispatcher puts the answer into IrEditRow.
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "controls/qelbuttons.h"
#include "model/irlib.h"
#include "ui/forms.h"
#include "ui/widgets.h"

class TForm4 : public QDialog {
 public:
  explicit TForm4(Forms& forms);
  // Row is 1-based and names a row of the list.
  bool RowNamed(int row) const { return row > 0 && row <= static_cast<int>(lib_.Rows.size()); }

  QLineEdit* Edit1 = nullptr;      // "IR Lib Name:", read-only
  TQelButton* Button1 = nullptr;   // "Open Lib"
  TQelButton* Button2 = nullptr;   // "Creat Lib"
  QGroupBox* GroupBox1 = nullptr;  // "Edit"
  TListView* ListView1 = nullptr;  // "No.", "name", "Data"
  TQelButton* Button3 = nullptr;   // "New Function"
  TQelButton* Button4 = nullptr;   // "Delete Function"
  TQelButton* Button5 = nullptr;   // "Rename For Function"
  TQelButton* Button6 = nullptr;   // "Learn"
  TQelButton* Button7 = nullptr;   // "Save Edit"
  TQelButton* Button8 = nullptr;   // "Save as"
  TQelButton* Button9 = nullptr;   // "Ok", hidden
  TQelButton* Button10 = nullptr;  // "Exit"

  // 1-based row a learned code goes into; 0 none. Read by the receive dispatcher.
  int32_t IrEditRow = 0;
  // 1-based row "Rename For Function" renames; 0 none.
  int32_t IrRenameRow = 0;
  // What the name dialog was opened for: 1 new library, 2 new function, 3 rename.
  int32_t IrNameRequest = 0;
  // Each row's 01 field 04 record, built just before saving.
  std::vector<std::string> IrEditRecords;

  // The library as bytes; the list shows it decoded. Rows[i] is list row i.
  const IrLibrary& Library() const { return lib_; }

  // GUI thread only. A learned code (the answer's length bytes and code)
  // becomes row IrEditRow's data as hex text; false when IrEditRow names no row.
  bool PutLearnedCode(std::string_view code);
  // The message of a learn answer's status: 00 "IR Learn Fail!", and in the
  // 6-key build 02 "Please don't long press button"; shown (and logged) only
  // while IrEditRow names a row. False when nothing was shown.
  bool ShowLearnAnswer(uint8_t status);

  void SetupIrColumns();
  void BuildIrRecords();

  void FormShow();
  void ListView1Click();
  void Button1Click();  // "Open Lib"
  void Button2Click();  // "Creat Lib"
  void Button3Click();  // "New Function"
  void Button4Click();  // "Delete Function"
  void Button5Click();  // "Rename For Function"
  void Button6Click();  // "Learn"
  void Button7Click();  // "Save Edit"
  void Button8Click();  // "Save as"
  void Button9Click() { close(); }
  void Button10Click() { close(); }

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void AddListRow(const TIR& row);
  void ClearLibrary();
  bool WriteLibrary(const QString& path);
  void WarnSaveBox(const QString& text);

  Forms& F;
  IrLibrary lib_;
};
