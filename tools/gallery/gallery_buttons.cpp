#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

#include "controls/qelbuttons.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

enum State { Normal, Hot, Default, Focused, Pressed, Down, Disabled, kStates };

qel::Canvas Button(bool hotTrack, TColor color, State state, TQelCustomButton::TTextStyle style) {
  QWidget host;
  host.resize(100, 40);
  auto* b = new TQelButton(state == Down ? QStringLiteral("Down") : QStringLiteral("&Button"), &host);
  // Away from the pointer's start, which would make it hot.
  b->setGeometry(20, 10, 75, 25);
  b->SetHotTrack(hotTrack);
  b->SetColor(color);
  b->SetTextStyle(style);
  switch (state) {
    case Normal: break;
    case Hot: {
      QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
      QApplication::sendEvent(b, &enter);
      break;
    }
    case Default: b->SetDefault(true); break;
    case Focused:
      Activate(&host);
      b->setFocus();
      break;
    case Pressed: {
      QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QApplication::sendEvent(b, &press);
      break;
    }
    case Down:
      b->SetGroupIndex(1);
      b->SetDown(true);
      break;
    case Disabled: b->setEnabled(false); break;
    case kStates: break;
  }
  host.show();
  return b->Paint();
}

}  // namespace

// Rows: classic, hot-track, then both on a blue Color, then the text styles;
// columns: normal, hot, default, focused, pressed, Down, disabled.
qel::Canvas ButtonSheet() {
  const int cellW = 84, cellH = 32;
  qel::Canvas sheet(4 + kStates * cellW, 4 + 5 * cellH);
  sheet.FillRect({0, 0, sheet.Width(), sheet.Height()}, clBtnFace);
  const TColor blue = RGB(0x70, 0xA0, 0xE0);
  struct Row {
    bool hotTrack;
    TColor color;
  };
  const Row rows[] = {{false, clBtnFace}, {true, clBtnFace}, {false, blue}, {true, blue}};
  int y = 4;
  for (const Row& row : rows) {
    for (int s = 0; s < kStates; ++s)
      sheet.DrawImage(4 + s * cellW, y, Button(row.hotTrack, row.color, State(s), TQelCustomButton::tsNormal).Image());
    y += cellH;
  }
  const TQelCustomButton::TTextStyle styles[] = {TQelCustomButton::tsRaised, TQelCustomButton::tsRecessed,
                                                 TQelCustomButton::tsShadow};
  int x = 4;
  for (auto style : styles)
    for (State s : {Normal, Disabled}) {
      sheet.DrawImage(x, y, Button(false, clBtnFace, s, style).Image());
      x += cellW;
    }
  return sheet;
}

}  // namespace gallery
