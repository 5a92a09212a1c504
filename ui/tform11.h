#pragma once
// "EEPROM Table": a local 16 x 16 table of hex bytes, linked to no device.
#include <QDialog>
#include <QGroupBox>
#include <QTableWidget>
#include <optional>

#include "controls/qelbuttons.h"
#include "controls/qeledits.h"
#include "ui/forms.h"

class TForm11;

// The grid: typed keys pass its filter before they reach a cell.
class TStringGrid : public QTableWidget {
 public:
  TStringGrid(int cols, int rows, TForm11* form, QWidget* parent);

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  TForm11* form_;
};

class TForm11 : public QDialog {
 public:
  explicit TForm11(Forms& forms);

  TStringGrid* StringGrid1 = nullptr;
  TQelButton* Button1 = nullptr;   // "置0"
  TQelButton* Button2 = nullptr;   // "置1"
  TQelButton* Button3 = nullptr;   // "导出"
  TQelButton* Button4 = nullptr;   // "编程"
  TQelButton* Button5 = nullptr;   // "退出"
  QGroupBox* GroupBox1 = nullptr;  // "设置"
  TQelEdit* Edit1 = nullptr;       // "起始地址："
  TQelEdit* Edit2 = nullptr;       // "字节总数："
  TQelButton* Button6 = nullptr;   // "读取"

  QString Cell(int col, int row) const;
  void Fill(const QString& text);
  void Button1Click() { Fill(QStringLiteral("00")); }
  void Button2Click() { Fill(QStringLiteral("FF")); }
  void Button5Click() { reject(); }
  void StringGrid1SelectCell();
  // A character typed into the grid or a cell: what passes (a-f turned
  // into capitals), or nothing after the out-of-range message.
  std::optional<QChar> StringGrid1KeyPress(QChar c);

 private:
  Forms& F;
};
