#include "ui/tform11.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyledItemDelegate>
#include <algorithm>

#include "model/texts.h"
#include "ui/layout.h"
#include "ui/widgets.h"

using namespace layout;

namespace {

constexpr int kSide = 16;
constexpr int kCellWidth = 30, kCellHeight = 20;

// Cells centred on one line; a cell reading exactly "6" in red. Its editor
// passes typed keys through the form's filter.
class CellDelegate : public QStyledItemDelegate {
 public:
  CellDelegate(TForm11* form, QObject* parent) : QStyledItemDelegate(parent), form_(form) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex&) const override {
    auto* e = new TEdit(parent);
    e->setAlignment(Qt::AlignCenter);
    e->setFrame(false);
    e->KeyPress = [form = form_, e](const QString& typed) {
      if (typed.size() != 1) return false;
      const std::optional<QChar> c = form->StringGrid1KeyPress(typed[0]);
      if (!c) return false;
      if (*c == typed[0]) return true;
      e->insert(QString(*c));
      return false;
    };
    return e;
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    option->displayAlignment = Qt::AlignCenter;
    if (option->text == QStringLiteral("6")) option->palette.setColor(QPalette::Text, QColor(255, 0, 0));
  }

 private:
  TForm11* form_;
};

}  // namespace

TStringGrid::TStringGrid(int cols, int rows, TForm11* form, QWidget* parent)
    : QTableWidget(rows, cols, parent), form_(form) {}

void TStringGrid::keyPressEvent(QKeyEvent* e) {
  const QString t = e->text();
  if (t.size() == 1 && t[0].isPrint()) {
    const std::optional<QChar> c = form_->StringGrid1KeyPress(t[0]);
    if (!c) {
      e->accept();
      return;
    }
    if (*c != t[0]) {
      QKeyEvent upper(e->type(), e->key(), e->modifiers(), QString(*c), e->isAutoRepeat(), e->count());
      QTableWidget::keyPressEvent(&upper);
      return;
    }
  }
  QTableWidget::keyPressEvent(e);
}

TForm11::TForm11(Forms& forms) : QDialog(nullptr), F(forms) {
  setObjectName(QStringLiteral("Form11"));
  setWindowTitle(Utf8(kEepromTable));

  StringGrid1 = Place(new TStringGrid(kSide, kSide, this, this), "StringGrid1", QRect(12, 12, 0, 0));
  StringGrid1->horizontalHeader()->hide();
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setMinimumSectionSize(1);
  StringGrid1->verticalHeader()->setMinimumSectionSize(1);
  // Cells of 30 x 20 pixels, each with its grid line.
  StringGrid1->horizontalHeader()->setDefaultSectionSize(kCellWidth + 1);
  StringGrid1->verticalHeader()->setDefaultSectionSize(kCellHeight + 1);
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setItemDelegate(new CellDelegate(this, StringGrid1));
  const int frame = 2 * StringGrid1->frameWidth();
  StringGrid1->setFixedSize(kSide * (kCellWidth + 1) + frame, kSide * (kCellHeight + 1) + frame);
  // The grid starts on its first cell; only a choice of the user's makes it editable.
  StringGrid1->setCurrentCell(0, 0);
  connect(StringGrid1, &QTableWidget::currentCellChanged, this, &TForm11::StringGrid1SelectCell);
  connect(StringGrid1, &QTableWidget::cellPressed, this, &TForm11::StringGrid1SelectCell);

  const int gridRight = 12 + StringGrid1->width();
  const int bx = gridRight + 14, bw = 112;
  const struct {
    TQelButton** Button;
    const char* Name;
    const char* Caption;
  } buttons[] = {{&Button1, "Button1", kFillZeros},
                 {&Button2, "Button2", kFillOnes},
                 {&Button3, "Button3", kExport},
                 {&Button4, "Button4", kProgram},
                 {&Button5, "Button5", kQuit}};
  int y = 12;
  for (const auto& b : buttons) {
    *b.Button = MakeButton<TQelButton>(this, b.Name, Utf8(b.Caption), QRect(bx, y, bw, 28));
    y += 36;
  }
  connect(Button1, &QPushButton::clicked, this, &TForm11::Button1Click);
  connect(Button2, &QPushButton::clicked, this, &TForm11::Button2Click);
  connect(Button5, &QPushButton::clicked, this, &TForm11::Button5Click);

  GroupBox1 = Place(new QGroupBox(Utf8(kSettingsGroup), this), "GroupBox1", QRect(bx, y + 4, bw, 150));
  MakeLabel(GroupBox1, Utf8(kStartAddressLabel), QRect(8, 20, 96, 20));
  Edit1 = Place(new TQelEdit(GroupBox1), "Edit1", QRect(8, 40, 96, 22));
  Edit1->setText(QStringLiteral("0x0000"));
  MakeLabel(GroupBox1, Utf8(kByteCountLabel), QRect(8, 66, 96, 20));
  Edit2 = Place(new TQelEdit(GroupBox1), "Edit2", QRect(8, 86, 96, 22));
  Edit2->setText(QStringLiteral("256"));
  Button6 = MakeButton<TQelButton>(GroupBox1, "Button6", Utf8(kRead), QRect(8, 116, 96, 26));

  setFixedSize(bx + bw + 12, std::max(12 + StringGrid1->height(), y + 4 + 150) + 12);
}

QString TForm11::Cell(int col, int row) const {
  const QTableWidgetItem* it = StringGrid1->item(row, col);
  return it ? it->text() : QString();
}

void TForm11::Fill(const QString& text) {
  for (int r = 0; r < kSide; ++r)
    for (int c = 0; c < kSide; ++c) {
      if (QTableWidgetItem* it = StringGrid1->item(r, c))
        it->setText(text);
      else
        StringGrid1->setItem(r, c, new QTableWidgetItem(text));
    }
}

void TForm11::StringGrid1SelectCell() {
  // Once a cell is chosen the cells stay editable.
  StringGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
}

std::optional<QChar> TForm11::StringGrid1KeyPress(QChar c) {
  if (HexKeyFilter(QString(c))) return c.toUpper();
  if (c == QChar(8) || c == QChar(13)) return c;
  F.Warn(this, Utf8(F.V.Name), Utf8(kEepromOutOfRange));
  return std::nullopt;
}
