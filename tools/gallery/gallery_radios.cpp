#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QWidget>

#include "controls/qelradiobutton.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

enum State {
  Unchecked,
  Checked,
  UncheckedPressed,
  CheckedPressed,
  UncheckedDisabled,
  CheckedDisabled,
  UncheckedHot,
  CheckedHot,
  Focused,
  kStates
};
enum Look { Classic, HotTrack, Custom, HotTrackColoured, kLooks };

// Our own six-state strip: a rounded box framed in clGreen (half the frame
// colour), filled with the window mask colour, olive outside; pressed
// boxes are shaded, disabled ones face-coloured; checked ones carry a
// diamond.
QImage CustomStrip() {
  qel::Canvas strip(78, 13);
  for (int n = 0; n < 6; ++n) {
    const int x = n * 13;
    const bool checked = n % 2 == 1, pressed = n / 2 == 1, disabled = n / 2 == 2;
    strip.FillRect({x, 0, x + 13, 13}, clOlive);
    strip.FillRect({x + 1, 0, x + 12, 13}, clGreen);
    strip.FillRect({x, 1, x + 13, 12}, clGreen);
    const TColor inside = disabled ? clBtnFace : pressed ? RGB(0xD8, 0xE4, 0xF0) : clLime;
    strip.FillRect({x + 2, 1, x + 11, 12}, inside);
    strip.FillRect({x + 1, 2, x + 12, 11}, inside);
    if (!checked) continue;
    const TColor mark = disabled ? clBtnShadow : RGB(0x20, 0x60, 0xC0);
    for (int d = 0; d < 3; ++d) strip.FillRect({x + 6 - d, 4 + d, x + 7 + d, 5 + d}, mark);
    for (int d = 0; d < 2; ++d) strip.FillRect({x + 5 + d, 7 + d, x + 8 - d, 8 + d}, mark);
  }
  return strip.Image();
}

qel::Canvas Radio(Look look, State state) {
  QWidget host;
  host.resize(100, 40);
  auto* r = new TQelRadioButton(state == Focused ? QStringLiteral("&Focus") : QStringLiteral("HEX"), &host);
  r->setGeometry(10, 10, 64, 20);
  r->SetColor(look == HotTrackColoured ? RGB(0x70, 0xA0, 0xE0) : clBtnFace);
  r->SetHotTrack(look == HotTrack || look == HotTrackColoured);
  if (look == HotTrackColoured) {
    r->SetFrameColor(clNavy);
    r->SetHotTrackColorType(TQelCustomButton::htctActual);
    r->SetHotTrackColor(RGB(0xF0, 0x90, 0x20));
  }
  if (look == Custom) r->SetCustomGlyphs(CustomStrip());
  r->setChecked(state == Checked || state == CheckedPressed || state == CheckedDisabled || state == CheckedHot);
  r->setEnabled(state != UncheckedDisabled && state != CheckedDisabled);
  host.show();
  if (state == UncheckedPressed || state == CheckedPressed) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(r, &press);
  } else if (state == UncheckedHot || state == CheckedHot) {
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(r, &enter);
  } else if (state == Focused) {
    // The focus look needs the active window.
    Activate(&host);
    r->setFocus(Qt::TabFocusReason);
  }
  return r->Paint();
}

}  // namespace

// Rows: classic, hot-track, a custom strip, hot-track on a blue Color with a
// navy frame; columns: unchecked, checked, both pressed, both disabled, both
// under the pointer, focused by Tab.
qel::Canvas RadioSheet() {
  const int cellW = 70, cellH = 26;
  qel::Canvas sheet(4 + kStates * cellW, 4 + kLooks * cellH);
  sheet.FillRect({0, 0, sheet.Width(), sheet.Height()}, clBtnFace);
  for (int look = 0; look < kLooks; ++look)
    for (int s = 0; s < kStates; ++s)
      sheet.DrawImage(4 + s * cellW, 4 + look * cellH, Radio(Look(look), State(s)).Image());
  return sheet;
}

}  // namespace gallery
