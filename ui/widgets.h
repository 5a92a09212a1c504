#pragma once
// The plain (not styled) controls the windows use: report-view lists, the
// status bar with fixed panels, and the one way typed keys are filtered.
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStatusBar>
#include <QStringList>
#include <QTableWidget>
#include <functional>
#include <vector>

class QLabel;

// A report-view list: row caption in column 0, sub-items after it.
class TListView : public QTableWidget {
  Q_OBJECT
 public:
  explicit TListView(QWidget* parent = nullptr);

  void AddColumn(const QString& caption, int width);
  void SetColumnWidth(int column, int width) { setColumnWidth(column, width); }
  int ColumnWidth(int column) const { return columnWidth(column); }
  QString ColumnCaption(int column) const;

  int Count() const { return rowCount(); }
  // Appends a row and returns its position.
  int AddRow(const QString& caption, const QStringList& subItems);
  QString Caption(int row) const { return Cell(row, 0); }
  QString SubItem(int row, int index) const { return Cell(row, index + 1); }
  void SetCaption(int row, const QString& text) { SetCell(row, 0, text); }
  void SetSubItem(int row, int index, const QString& text) { SetCell(row, index + 1, text); }
  QStringList Row(int row) const;
  void SetRow(int row, const QStringList& cells);
  void Clear() { setRowCount(0); }
  // First selected row, or -1.
  int Selected() const;
  void Select(int row);

  // Background of each row by its position, painted under the row.
  void SetRowColours(std::function<QColor(int row)> colourOf);

  // A row clicked or moved to is scrolled into view only up or down: the
  // columns stay where the user scrolled them.
  void KeepColumnsInPlace() { keepColumns_ = true; }
  void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;

 signals:
  void ColumnClick(int column);

 private:
  QString Cell(int row, int column) const;
  void SetCell(int row, int column, const QString& text);
  bool keepColumns_ = false;
};

class TStatusBar : public QStatusBar {
 public:
  explicit TStatusBar(const std::vector<int>& widths, QWidget* parent = nullptr);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  QString PanelText(int i) const;
  void SetPanelText(int i, const QString& text);
  int PanelWidth(int i) const;

 private:
  std::vector<QLabel*> panels_;
};

// Whether KeyPress drops what a key press types: printable text, not an
// editing key, that the filter refuses.
bool DropsTypedKey(const std::function<bool(const QString&)>& keyPress, const QKeyEvent* e);

// A line edit whose typed characters go through a filter first; the filter
// returns false to drop them. Text set by the program is not filtered.
// Every window filters its typed keys this way only: the dialogs' TEdit,
// and the Event Set pages' styled edits as KeyFiltered<TQelEdit>.
template <class Edit>
class KeyFiltered : public Edit {
 public:
  explicit KeyFiltered(QWidget* parent = nullptr) : Edit(parent) {}
  std::function<bool(const QString& typed)> KeyPress;

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (DropsTypedKey(KeyPress, e)) {
      e->accept();
      return;
    }
    Edit::keyPressEvent(e);
  }
  void inputMethodEvent(QInputMethodEvent* e) override {
    if (KeyPress && !e->commitString().isEmpty() && !KeyPress(e->commitString())) {
      QInputMethodEvent dropped(e->preeditString(), e->attributes());
      Edit::inputMethodEvent(&dropped);
      return;
    }
    Edit::inputMethodEvent(e);
  }
};

using TEdit = KeyFiltered<QLineEdit>;

// The filters windows give KeyPress.
bool DecimalKeyFilter(const QString& typed);  // one character 0..9
bool HexKeyFilter(const QString& typed);      // one character 0..9, A..F or a..f
bool GbkKeyFilter(const QString& typed);      // any text code page 936 can hold
