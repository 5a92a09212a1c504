#include <QApplication>
#include <QWidget>
#include <functional>
#include <vector>

#include "controls/qellists.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

constexpr int kCell = 130;
constexpr int kComboRow = 34;
constexpr int kListTop = 6 + 4 * kComboRow;
constexpr int kListHeight = 110;

using ComboSetup = std::function<void(TQelComboBox&)>;
using ListSetup = std::function<void(TQelListBox&)>;

QRect ComboCell(int column, int row) { return {6 + column * kCell, 6 + row * kComboRow, kCell - 10, 22}; }

QStringList Bauds() {
  return {QStringLiteral("2400"), QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200")};
}

QStringList Kinds() {
  return {QStringLiteral("RS232"),   QStringLiteral("IR"),  QStringLiteral("TCP/IP"), QStringLiteral("Delay"),
          QStringLiteral("Compare"), QStringLiteral("LED"), QStringLiteral("Toggle")};
}

// A control painted with the focus, over its place on the sheet.
void FocusedOver(qel::Canvas& sheet, QWidget* w) {
  w->setFocus();
  QApplication::processEvents();
  sheet.DrawImage(w->x(), w->y(), w->grab().toImage());
}

}  // namespace

// Rows: combo boxes with Qt's frame (edit, focused, under the mouse,
// disabled, on a colour, drop-down list focused and read-only); the styled
// frame in several styles; hot tracking; flat buttons (at rest, hot, in a
// colour), read-only and owner-drawn looks; then list boxes: the kind
// list, focused, disabled, framed, on a colour, group headers.
qel::Canvas ComboListSheet() {
  QWidget host;
  host.resize(6 + 6 * kCell, kListTop + kListHeight + 6);
  FaceBackground(host);
  std::vector<QWidget*> focused, hovered;

  auto combo = [&](const QRect& r, const ComboSetup& setup) {
    auto* c = new TQelComboBox(&host);
    c->setGeometry(r);
    c->addItems(Bauds());
    c->setCurrentIndex(2);
    setup(*c);
    return c;
  };

  const ComboSetup plain[] = {
      [](TQelComboBox&) {},
      [&](TQelComboBox& c) {
        c.SetFocusColor(clInfoBk);
        focused.push_back(&c);
      },
      [&](TQelComboBox& c) {
        c.SetFlatButtons(true);
        hovered.push_back(&c);
      },
      [](TQelComboBox& c) { c.setEnabled(false); },
      [](TQelComboBox& c) { c.SetColor(clMoneyGreen); },
      [&](TQelComboBox& c) {
        c.SetStyle(TQelCustomComboBox::csDropDownList);
        focused.push_back(&c);
      },
  };
  for (int i = 0; i < 6; ++i) combo(ComboCell(i, 0), plain[i]);

  const struct {
    qel::TFrameStyle style;
    TColor color;
  } styled[] = {{qel::fsFlat, clWindow},   {qel::fsFlatBold, clWindow}, {qel::fsLowered, clWindow},
                {qel::fsLowered, clWhite}, {qel::fsBump, clInfoBk},     {qel::fsNone, clSkyBlue}};
  for (int i = 0; i < 6; ++i)
    combo(ComboCell(i, 1), [&](TQelComboBox& c) {
      c.SetFrameStyle(styled[i].style);
      c.SetColor(styled[i].color);
      c.SetFrameVisible(true);
    });

  const ComboSetup hot[] = {
      [](TQelComboBox&) {},
      [&](TQelComboBox& c) { hovered.push_back(&c); },
      [&](TQelComboBox& c) {
        c.SetFrameHotStyle(qel::fsLowered);
        c.SetFrameHotColor(clRed);
        c.SetFlatButtons(true);
        hovered.push_back(&c);
      },
      [](TQelComboBox& c) { c.SetFrameSides(qel::sdTop | qel::sdBottom); },
      [](TQelComboBox& c) {
        c.SetStyle(TQelCustomComboBox::csDropDownList);
        c.SetFlatButtons(true);
      },
      [](TQelComboBox& c) { c.setEnabled(false); },
  };
  for (int i = 0; i < 6; ++i)
    combo(ComboCell(i, 2), [&](TQelComboBox& c) {
      c.SetFrameHotTrack(true);
      hot[i](c);
    });

  const ComboSetup buttons[] = {
      [](TQelComboBox& c) { c.SetFlatButtons(true); },
      [&](TQelComboBox& c) {
        c.SetFlatButtons(true);
        c.SetFlatButtonColor(clSkyBlue);
        hovered.push_back(&c);
      },
      [](TQelComboBox& c) { c.SetReadOnly(true); },
      [](TQelComboBox& c) {
        c.SetStyle(TQelCustomComboBox::csDropDownList);
        c.SetReadOnly(true);
      },
      [](TQelComboBox& c) {
        c.SetStyle(TQelCustomComboBox::csDropDownList);
        c.SetReadOnly(true);
        c.SetFrameVisible(true);
      },
      [](TQelComboBox& c) {
        c.SetStyle(TQelCustomComboBox::csOwnerDrawFixed);
        QObject::connect(&c, &TQelCustomComboBox::DrawItem,
                         [&c](qel::Canvas* canvas, int index, qel::TRect r, unsigned) {
                           canvas->FillRect(r);
                           canvas->FillRect({r.Left + 2, r.Top + 3, r.Left + 12, r.Bottom - 3}, clNavy);
                           canvas->Brush.Clear = true;
                           canvas->TextRect({r.Left + 16, r.Top, r.Right, r.Bottom}, c.itemText(index),
                                            qel::tfSingleLine | qel::tfVCenter);
                           canvas->Brush.Clear = false;
                         });
      },
  };
  for (int i = 0; i < 6; ++i) combo(ComboCell(i, 3), buttons[i]);

  auto list = [&](int column, const ListSetup& setup) {
    auto* l = new TQelListBox(&host);
    l->setGeometry(6 + column * kCell, kListTop, kCell - 30, kListHeight);
    l->addItems(Kinds());
    l->setCurrentRow(3);
    setup(*l);
    return l;
  };
  const ListSetup lists[] = {
      [](TQelListBox&) {},
      [&](TQelListBox& l) { focused.push_back(&l); },
      [](TQelListBox& l) { l.setEnabled(false); },
      [](TQelListBox& l) {
        l.SetFrameStyle(qel::fsLowered);
        l.SetColor(clInfoBk);
        l.SetFrameVisible(true);
      },
      [](TQelListBox& l) {
        l.clear();
        l.addItems({QStringLiteral("//Inputs"), QStringLiteral("Key 1"), QStringLiteral("Key 2"),
                    QStringLiteral("//Outputs"), QStringLiteral("Relay 1"), QStringLiteral("Relay 2 on a long name")});
        l.SetShowGroups(true);
        l.SetOwnerDrawIndent(8);
        l.SetGroupColor(clSkyBlue);
        l.setCurrentRow(2);
      },
      [](TQelListBox& l) {
        l.SetFrameHotTrack(true);
        l.SetHorzScrollBar(true);
        l.addItem(QStringLiteral("A kind with a much longer name"));
      },
  };
  for (int i = 0; i < 6; ++i) list(i, lists[i]);

  host.show();
  host.activateWindow();
  QApplication::processEvents();
  for (QWidget* w : hovered) Hover(w);
  host.setFocus();
  QApplication::processEvents();
  qel::Canvas sheet = Grabbed(host);
  for (QWidget* w : focused) FocusedOver(sheet, w);
  return sheet;
}

}  // namespace gallery
