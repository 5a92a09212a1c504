#include <QApplication>
#include <QWidget>
#include <functional>

#include "controls/qeledits.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

constexpr int kCell = 130;
constexpr int kEditRow = 34;
constexpr int kMemoTop = 6 + 4 * kEditRow;

template <class Control>
Control* Put(QWidget* host, const QString& text, const QRect& r, const std::function<void(Control&)>& setup) {
  auto* c = new Control(host);
  c->setGeometry(r);
  if constexpr (std::is_base_of_v<QLineEdit, Control>)
    c->setText(text);
  else
    c->setPlainText(text);
  setup(*c);
  return c;
}

QRect EditCell(int column, int row) { return {6 + column * kCell, 6 + row * kEditRow, kCell - 10, 22}; }

}  // namespace

// Rows: edits with Qt's frame (normal, focused, hot, disabled, on a colour,
// right-aligned); the styled frame in several styles; hot tracking (at
// rest, under the mouse, focused, some sides, disabled); the drop-down
// button, raised and flat, at rest and hot; then memos the same ways.
qel::Canvas EditSheet() {
  QWidget host;
  host.resize(6 + 6 * kCell, kMemoTop + 2 * 90 + 6);
  FaceBackground(host);
  QWidget* focused = nullptr;
  std::vector<QWidget*> hovered;

  using Edit = std::function<void(TQelEdit&)>;
  const struct {
    const char* text;
    Edit setup;
  } plain[] = {
      {"Qt's frame", [](TQelEdit&) {}},
      {"Focused", [&](TQelEdit& e) { e.SetFocusColor(clInfoBk), focused = &e; }},
      {"Under the mouse", [&](TQelEdit& e) { hovered.push_back(&e); }},
      {"Disabled", [](TQelEdit& e) { e.setEnabled(false); }},
      {"clMoneyGreen", [](TQelEdit& e) { e.SetColor(clMoneyGreen); }},
      {"Right-aligned", [](TQelEdit& e) { e.SetAlignment(TQelCustomEdit::taRightJustify); }},
  };
  for (int i = 0; i < 6; ++i) Put<TQelEdit>(&host, QLatin1String(plain[i].text), EditCell(i, 0), plain[i].setup);

  const struct {
    const char* text;
    qel::TFrameStyle style;
    TColor color;
  } styled[] = {
      {"fsFlat", qel::fsFlat, clWindow},       {"fsFlatBold", qel::fsFlatBold, clWindow},
      {"fsLowered", qel::fsLowered, clWindow}, {"fsLowered, white", qel::fsLowered, clWhite},
      {"fsNone", qel::fsNone, clInfoBk},       {"fsGroove", qel::fsGroove, clSkyBlue},
  };
  for (int i = 0; i < 6; ++i)
    Put<TQelEdit>(&host, QLatin1String(styled[i].text), EditCell(i, 1), [&](TQelEdit& e) {
      e.SetFrameStyle(styled[i].style);
      e.SetColor(styled[i].color);
      e.SetFrameVisible(true);
    });

  const struct {
    const char* text;
    Edit setup;
  } hot[] = {
      {"Hot track, at rest", [](TQelEdit&) {}},
      {"Hot track, mouse", [&](TQelEdit& e) { hovered.push_back(&e); }},
      {"Hot fsLowered, red",
       [&](TQelEdit& e) {
         e.SetFrameHotStyle(qel::fsLowered);
         e.SetFrameHotColor(clRed);
         hovered.push_back(&e);
       }},
      {"Top and bottom", [](TQelEdit& e) { e.SetFrameSides(qel::sdTop | qel::sdBottom); }},
      {"Red flat, colour",
       [](TQelEdit& e) {
         e.SetFrameColor(clRed);
         e.SetColor(clCream);
       }},
      {"Disabled", [](TQelEdit& e) { e.setEnabled(false); }},
  };
  for (int i = 0; i < 6; ++i)
    Put<TQelEdit>(&host, QLatin1String(hot[i].text), EditCell(i, 2), [&](TQelEdit& e) {
      e.SetFrameHotTrack(true);
      hot[i].setup(e);
    });

  const struct {
    const char* text;
    Edit setup;
  } buttons[] = {
      {"Button", [](TQelEdit&) {}},
      {"Button, disabled", [](TQelEdit& e) { e.setEnabled(false); }},
      {"Flat, at rest", [](TQelEdit& e) { e.SetFlatButtons(true); }},
      {"Flat, hot",
       [&](TQelEdit& e) {
         e.SetFlatButtons(true);
         hovered.push_back(&e);
       }},
      {"Flat, hot, colour",
       [&](TQelEdit& e) {
         e.SetFlatButtons(true);
         e.SetFlatButtonColor(clSkyBlue);
         hovered.push_back(&e);
       }},
      {"Styled frame",
       [](TQelEdit& e) {
         e.SetFrameVisible(true);
         e.SetFlatButtons(true);
       }},
  };
  for (int i = 0; i < 6; ++i)
    Put<TQelEdit>(&host, QLatin1String(buttons[i].text), EditCell(i, 3), [&](TQelEdit& e) {
      e.SetDropButtonShown(true);
      buttons[i].setup(e);
    });

  using Memo = std::function<void(TQelMemo&)>;
  const struct {
    const char* text;
    Memo setup;
  } memos[] = {
      {"Qt's frame\nsecond line", [](TQelMemo&) {}},
      {"Scroll bar always\nColor clInfoBk",
       [](TQelMemo& m) {
         m.SetScrollBars(TQelMemo::ssVertical);
         m.SetColor(clInfoBk);
       }},
      {"Disabled\nsecond line", [](TQelMemo& m) { m.setEnabled(false); }},
      {"fsFlat\nsecond line", [](TQelMemo& m) { m.SetFrameVisible(true); }},
      {"fsFlatBold, coloured\nscroll bar",
       [](TQelMemo& m) {
         m.SetFrameStyle(qel::fsFlatBold);
         m.SetFrameColor(clNavy);
         m.SetColor(clMoneyGreen);
         m.SetScrollBars(TQelMemo::ssVertical);
         m.SetFrameVisible(true);
       }},
      {"fsLowered\nsecond line",
       [](TQelMemo& m) {
         m.SetFrameStyle(qel::fsLowered);
         m.SetFrameVisible(true);
       }},
      {"Hot track, at rest", [](TQelMemo& m) { m.SetFrameHotTrack(true); }},
      {"Hot track, mouse",
       [&](TQelMemo& m) {
         m.SetFrameHotTrack(true);
         hovered.push_back(&m);
       }},
      {"Hot fsLowered, colour\nmouse",
       [&](TQelMemo& m) {
         m.SetFrameHotTrack(true);
         m.SetFrameHotStyle(qel::fsLowered);
         m.SetColor(clCream);
         hovered.push_back(&m);
       }},
      {"fsNone\non a colour",
       [](TQelMemo& m) {
         m.SetFrameStyle(qel::fsNone);
         m.SetColor(clSkyBlue);
         m.SetFrameVisible(true);
       }},
      {"Top and bottom",
       [](TQelMemo& m) {
         m.SetFrameSides(qel::sdTop | qel::sdBottom);
         m.SetFrameVisible(true);
       }},
      {"Framed, disabled",
       [](TQelMemo& m) {
         m.SetFrameVisible(true);
         m.setEnabled(false);
       }},
  };
  for (int i = 0; i < 12; ++i)
    Put<TQelMemo>(&host, QString::fromUtf8(memos[i].text),
                  QRect(6 + (i % 6) * kCell, kMemoTop + (i / 6) * 90, kCell - 10, 80), memos[i].setup);

  host.show();
  host.activateWindow();
  QApplication::processEvents();
  if (focused) focused->setFocus();
  for (QWidget* w : hovered) Hover(w);
  QApplication::processEvents();

  return Grabbed(host);
}

}  // namespace gallery
