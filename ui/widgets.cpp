#include "ui/widgets.h"

#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "model/hex.h"
#include "ui/textcodec.h"

namespace {

class RowColourDelegate : public QStyledItemDelegate {
 public:
  RowColourDelegate(std::function<QColor(int)> colourOf, QObject* parent)
      : QStyledItemDelegate(parent), colourOf_(std::move(colourOf)) {}

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->backgroundBrush = colourOf_(index.row());
  }

 private:
  std::function<QColor(int)> colourOf_;
};

}  // namespace

TListView::TListView(QWidget* parent) : QTableWidget(parent) {
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(20);
  horizontalHeader()->setStretchLastSection(false);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  connect(horizontalHeader(), &QHeaderView::sectionClicked, this, &TListView::ColumnClick);
}

void TListView::AddColumn(const QString& caption, int width) {
  const int c = columnCount();
  setColumnCount(c + 1);
  setHorizontalHeaderItem(c, new QTableWidgetItem(caption));
  setColumnWidth(c, width);
}

QString TListView::ColumnCaption(int column) const {
  const QTableWidgetItem* it = horizontalHeaderItem(column);
  return it ? it->text() : QString();
}

int TListView::AddRow(const QString& caption, const QStringList& subItems) {
  const int r = rowCount();
  insertRow(r);
  SetCell(r, 0, caption);
  for (int i = 0; i < subItems.size(); ++i) SetCell(r, i + 1, subItems[i]);
  return r;
}

QStringList TListView::Row(int row) const {
  QStringList cells;
  for (int c = 0; c < columnCount(); ++c) cells << Cell(row, c);
  return cells;
}

void TListView::SetRow(int row, const QStringList& cells) {
  for (int c = 0; c < cells.size(); ++c) SetCell(row, c, cells[c]);
}

int TListView::Selected() const {
  const auto rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList{};
  int best = -1;
  for (const QModelIndex& i : rows)
    if (best < 0 || i.row() < best) best = i.row();
  return best;
}

void TListView::Select(int row) {
  if (row < 0 || row >= rowCount()) {
    clearSelection();
    return;
  }
  selectRow(row);
}

void TListView::SetRowColours(std::function<QColor(int)> colourOf) {
  setItemDelegate(new RowColourDelegate(std::move(colourOf), this));
}

void TListView::scrollTo(const QModelIndex& index, ScrollHint hint) {
  const int x = horizontalScrollBar()->value();
  QTableWidget::scrollTo(index, hint);
  // A cell wider than the list would otherwise be scrolled to its left edge.
  if (keepColumns_) horizontalScrollBar()->setValue(x);
}

QString TListView::Cell(int row, int column) const {
  const QTableWidgetItem* it = item(row, column);
  return it ? it->text() : QString();
}

void TListView::SetCell(int row, int column, const QString& text) {
  if (column >= columnCount()) return;
  if (QTableWidgetItem* it = item(row, column)) {
    it->setText(text);
    return;
  }
  auto* it = new QTableWidgetItem(text);
  it->setToolTip(QString());
  setItem(row, column, it);
}

TStatusBar::TStatusBar(const std::vector<int>& widths, QWidget* parent) : QStatusBar(parent) {
  setSizeGripEnabled(false);
  for (size_t i = 0; i < widths.size(); ++i) {
    auto* l = new QLabel(this);
    l->setFrameShape(QFrame::Panel);
    l->setFrameShadow(QFrame::Sunken);
    l->setContentsMargins(3, 0, 3, 0);
    // The last panel reaches to the bar's right edge, as the platform's
    // status bars draw it: the access-code prompt there outgrows its width.
    const bool last = i + 1 == widths.size();
    if (last)
      l->setMinimumWidth(widths[i]);
    else
      l->setFixedWidth(widths[i]);
    addWidget(l, last ? 1 : 0);
    panels_.push_back(l);
  }
}

QString TStatusBar::PanelText(int i) const { return i >= 0 && i < PanelCount() ? panels_[i]->text() : QString(); }

void TStatusBar::SetPanelText(int i, const QString& text) {
  if (i >= 0 && i < PanelCount()) panels_[i]->setText(text);
}

int TStatusBar::PanelWidth(int i) const { return i >= 0 && i < PanelCount() ? panels_[i]->width() : 0; }

bool DropsTypedKey(const std::function<bool(const QString&)>& keyPress, const QKeyEvent* e) {
  const QString t = e->text();
  const bool editingKey = e->key() == Qt::Key_Backspace || e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter ||
                          e->key() == Qt::Key_Delete;
  return keyPress && !t.isEmpty() && !editingKey && t.at(0).isPrint() && !keyPress(t);
}

bool DecimalKeyFilter(const QString& typed) { return typed.size() == 1 && typed[0] >= u'0' && typed[0] <= u'9'; }

bool HexKeyFilter(const QString& typed) {
  return typed.size() == 1 && typed[0].unicode() < 0x80 && HexValue(static_cast<char>(typed[0].unicode())) >= 0;
}

bool GbkKeyFilter(const QString& typed) { return ToGbk(typed, nullptr); }
