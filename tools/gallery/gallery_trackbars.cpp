#include <QApplication>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>

#include "controls/qeltrackbars.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

enum State { Normal, Hot, Disabled, Focused, kStates };

struct Look {
  TQelTrackBar::TThumbStyle style;
  TQelTrackBar::TPointerType pointer;
};

constexpr Look kLooks[] = {
    {TQelTrackBar::tsBox, TQelTrackBar::ptStandard},     {TQelTrackBar::tsMixer, TQelTrackBar::ptStandard},
    {TQelTrackBar::tsPointer, TQelTrackBar::ptStandard}, {TQelTrackBar::tsPointer, TQelTrackBar::ptWin95},
    {TQelTrackBar::tsFlat, TQelTrackBar::ptStandard},    {TQelTrackBar::tsXPPointer, TQelTrackBar::ptStandard},
    {TQelTrackBar::tsXPBox, TQelTrackBar::ptStandard},   {TQelTrackBar::tsCustom, TQelTrackBar::ptStandard},
};

// Our own three-part thumb, 9 x 17 each: an orange plate with a dark rim
// (normal and hot), its mask, and a grey plate (disabled).
QImage CustomThumb() {
  const int w = 9, h = 17;
  qel::Canvas strip(3 * w, h);
  strip.FillRect({0, 0, 3 * w, h}, clBlack);
  strip.FillRect({w, 0, 2 * w, h}, clWhite);
  for (int part : {0, 2}) {
    const int x = part * w;
    const bool grey = part == 2;
    strip.FillRect({x + 1, 0, x + w - 1, h}, grey ? clBtnShadow : RGB(0x90, 0x40, 0x00));
    strip.FillRect({x, 1, x + w, h - 1}, grey ? clBtnShadow : RGB(0x90, 0x40, 0x00));
    strip.FillRect({x + 1, 1, x + w - 1, h - 1}, grey ? clBtnFace : RGB(0xF8, 0xA0, 0x30));
    strip.FillRect({x + 2, h / 2, x + w - 2, h / 2 + 1}, grey ? clBtnShadow : RGB(0x90, 0x40, 0x00));
  }
  strip.FillRect({w + 1, 0, 2 * w - 1, h}, clBlack);
  strip.FillRect({w, 1, 2 * w, h - 1}, clBlack);
  return strip.Image();
}

// A host whose background is a gradient, to show what a Transparent bar
// lets through.
class GradientHost : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    QLinearGradient g(0, 0, width(), 0);
    g.setColorAt(0, QColor(0xF0, 0xD0, 0x90));
    g.setColorAt(1, QColor(0x70, 0xA0, 0xD0));
    p.fillRect(rect(), g);
  }
};

// Paints bar (already placed in host) in state.
qel::Canvas Shot(QWidget& host, TQelTrackBar* bar, State state) {
  bar->setEnabled(state != Disabled);
  host.show();
  if (state == Hot) {
    const qel::TRect t = bar->ThumbRect();
    const QPointF at(t.Left + 2, t.Top + 4);
    QMouseEvent move(QEvent::MouseMove, at, bar->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(bar, &move);
  } else if (state == Focused) {
    Activate(&host);
    bar->setFocus(Qt::TabFocusReason);
  }
  return bar->Paint();
}

qel::Canvas Bar(const Look& look, State state, bool vertical) {
  QWidget host;
  host.resize(160, 120);
  auto* bar = new TQelTrackBar(&host);
  bar->setGeometry(0, 0, vertical ? 41 : 100, vertical ? 80 : 41);
  if (look.style == TQelTrackBar::tsCustom)
    bar->SetCustomThumb(CustomThumb());
  else
    bar->SetThumbStyle(look.style);
  bar->SetPointerType(look.pointer);
  bar->SetPosition(4);
  return Shot(host, bar, state);
}

}  // namespace

// Rows: each thumb style (tsPointer with both pointer types, tsCustom from
// a strip of our own); columns: horizontal normal, hot, disabled, focused,
// then vertical the same. Last row: TickStep 2, owner-drawn ticks, a
// coloured highlight with actual hot colours, and Transparent bars over a
// gradient (the last one as the windows' repeat rows have it).
qel::Canvas TrackBarSheet() {
  const int hCell = 104, vCell = 46, rowH = 86;
  const int width = 4 + kStates * hCell + kStates * vCell;
  const int rows = int(std::size(kLooks));
  qel::Canvas sheet(width, 4 + rows * rowH + 100);
  sheet.FillRect({0, 0, sheet.Width(), sheet.Height()}, clBtnFace);
  for (int row = 0; row < rows; ++row)
    for (int s = 0; s < kStates; ++s) {
      const int y = 4 + row * rowH;
      sheet.DrawImage(4 + s * hCell, y, Bar(kLooks[row], State(s), false).Image());
      sheet.DrawImage(4 + kStates * hCell + s * vCell, y, Bar(kLooks[row], State(s), true).Image());
    }

  int y = 4 + rows * rowH, x = 4;
  const auto place = [&](const qel::Canvas& shot) {
    sheet.DrawImage(x, y, shot.Image());
    x += shot.Width() + 6;
  };
  {
    QWidget host;
    auto* bar = new TQelTrackBar(&host);
    bar->setGeometry(0, 0, 130, 41);
    bar->SetThumbStyle(TQelTrackBar::tsBox);
    bar->SetMax(20);
    bar->SetTickStep(2);
    bar->SetPosition(6);
    place(Shot(host, bar, Normal));
  }
  {
    QWidget host;
    auto* bar = new TQelTrackBar(&host);
    bar->setGeometry(0, 0, 130, 41);
    bar->SetTickStyle(TQelTrackBar::tkOwnerDraw);
    bar->OnDrawTick = [](TQelTrackBar*, qel::Canvas& c, qel::TPoint at, int index) {
      const int size = index % 5 == 0 ? 3 : 1;
      c.FillRect({at.X - size / 2, 5, at.X - size / 2 + size, 5 + size}, clNavy);
    };
    bar->SetPosition(7);
    place(Shot(host, bar, Normal));
  }
  for (State s : {Normal, Hot}) {
    QWidget host;
    auto* bar = new TQelTrackBar(&host);
    bar->setGeometry(0, 0, 100, 41);
    bar->SetThumbStyle(TQelTrackBar::tsBox);
    bar->SetHighlightColor(RGB(0x30, 0xA0, 0x50));
    bar->SetHotTrackColorType(TQelTrackBar::htctActual);
    bar->SetHotTrackColor(RGB(0xE0, 0x60, 0x20));
    bar->SetTrackColor(RGB(0xD0, 0xF0, 0xD0));
    bar->SetPosition(3);
    place(Shot(host, bar, s));
  }
  {
    GradientHost host;
    host.resize(300, 41);
    x = 4;
    y += 50;
    auto* bar = new TQelTrackBar(&host);
    bar->setGeometry(0, 0, 130, 41);
    bar->SetTransparent(true);
    bar->SetPosition(5);
    auto* windows = new TQelDBTrackBar(&host);
    windows->setGeometry(140, 8, 145, 26);
    windows->SetThumbStyle(TQelTrackBar::tsXPBox);
    windows->SetTickStyle(TQelTrackBar::tkOwnerDraw);
    windows->SetTransparent(true);
    windows->SetTrackOffset(8);
    windows->setRange(0, 99);
    windows->SetPosition(30);
    host.show();
    qel::Canvas both(host.width(), host.height());
    both.DrawImage(0, 0, host.grab().toImage());
    place(both);
  }
  return sheet;
}

}  // namespace gallery
