#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

#include "controls/qelbmpbutton.h"
#include "controls/qelpictures.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

enum State { Up, Hot, Focused, Pressed, StayDown, Disabled, kStates };

// A right-pointing arrow on the olive key colour, in the colour given.
QImage Arrow(TColor fill) {
  return qel::PictureFromMap(
      {
          "................",
          "......#.........",
          "......##........",
          "......#x#.......",
          "......#xx#......",
          "#######xxx#.....",
          "#xxxxxxxxxx#....",
          "#xxxxxxxxxxx#...",
          "#xxxxxxxxxxx#...",
          "#xxxxxxxxxx#....",
          "#######xxx#.....",
          "......#xx#......",
          "......#x#.......",
          "......##........",
          "......#.........",
          "................",
      },
      {{'.', clOlive}, {'#', clBlack}, {'x', fill}});
}

void Send(TQelBmpButton* b, State state) {
  switch (state) {
    case Up: break;
    case Hot: {
      QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
      QApplication::sendEvent(b, &enter);
      break;
    }
    case Focused: {
      // The host is never the active window: the focus arrives by hand.
      b->setFocus();
      QFocusEvent in(QEvent::FocusIn, Qt::TabFocusReason);
      QApplication::sendEvent(b, &in);
      break;
    }
    case Pressed: {
      b->setFocus();
      QMouseEvent press(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QApplication::sendEvent(b, &press);
      break;
    }
    case StayDown:
      b->SetGroupIndex(1);
      b->SetDown(true);
      break;
    case Disabled: b->setEnabled(false); break;
    case kStates: break;
  }
}

// One button on a host of the window colour; setup gives it its settings.
template <class Setup>
qel::Canvas Button(State state, Setup setup) {
  QWidget host;
  host.resize(120, 80);
  FaceBackground(host);
  auto* b = new TQelBmpButton(&host);
  b->move(10, 10);
  setup(b);
  host.show();
  Send(b, state);
  return b->Paint();
}

void SetArrows(TQelBmpButton* b) {
  TQelButtonBitmaps* p = b->Bitmaps();
  p->SetUp(Arrow(RGB(0x30, 0x70, 0xE0)));
  p->SetHot(Arrow(RGB(0x80, 0xC0, 0xFF)));
  p->SetUpAndFocused(Arrow(RGB(0xF0, 0xD0, 0x30)));
  p->SetDown(Arrow(RGB(0x10, 0x30, 0x80)));
}

}  // namespace

// Rows 1-4: each border (none, single, button new and old) sized to its
// picture, in every state (up, hot, focused, pressed, stay-down, disabled).
// Row 5: a caption in the four layouts beside an unscaled picture, then the
// picture stretched and tiled. Row 6: the caption focused, pressed and
// disabled. Row 7: the link indicator enabled, disabled, and disabled
// without its Disabled picture.
qel::Canvas BmpButtonSheet() {
  const int cell = 30, wide = 76, tall = 48;
  qel::Canvas sheet(4 + 6 * wide, 4 + 4 * cell + 2 * tall + 34);
  sheet.FillRect({0, 0, sheet.Width(), sheet.Height()}, clBtnFace);
  using B = TQelBmpButton;
  const std::pair<B::TButtonBorder, B::TButtonStyle> borders[] = {
      {B::bbNone, B::bsNew}, {B::bbSingle, B::bsNew}, {B::bbButton, B::bsNew}, {B::bbButton, B::bsWin31}};
  int y = 4;
  for (auto [border, style] : borders) {
    for (int s = 0; s < kStates; ++s)
      sheet.DrawImage(4 + s * cell, y, Button(State(s), [&](B* b) {
                                         b->SetButtonBorder(border);
                                         b->SetButtonStyle(style);
                                         SetArrows(b);
                                       }).Image());
    y += cell;
  }
  const B::TButtonLayout layouts[] = {B::blGlyphLeft, B::blGlyphRight, B::blGlyphTop, B::blGlyphBottom};
  auto captioned = [&](B::TButtonLayout layout, B::TBtnSize size) {
    return [=](B* b) {
      b->SetButtonBorder(B::bbButton);
      b->SetButtonSize(size);
      b->resize(wide - 6, tall - 6);
      b->SetLayout(layout);
      SetArrows(b);
      if (size == B::bszNeither) b->setText(QStringLiteral("&Play"));
    };
  };
  int x = 4;
  for (auto layout : layouts) {
    sheet.DrawImage(x, y, Button(Up, captioned(layout, B::bszNeither)).Image());
    x += wide;
  }
  for (auto size : {B::bszStretchToButton, B::bszTileToButton}) {
    sheet.DrawImage(x, y, Button(Up, captioned(B::blGlyphLeft, size)).Image());
    x += wide;
  }
  y += tall;
  x = 4;
  for (State s : {Focused, Pressed, StayDown, Disabled}) {
    sheet.DrawImage(x, y, Button(s, captioned(B::blGlyphLeft, B::bszNeither)).Image());
    x += wide;
  }
  y += tall;
  x = 4;
  for (int i = 0; i < 3; ++i) {
    sheet.DrawImage(x, y, Button(i == 0 ? Up : Disabled, [&](B* b) {
                            b->Bitmaps()->SetUp(qel::LinkIndicatorUp());
                            if (i < 2) b->Bitmaps()->SetDisabled(qel::LinkIndicatorDisabled());
                          }).Image());
    x += cell + 4;
  }
  return sheet;
}

}  // namespace gallery
