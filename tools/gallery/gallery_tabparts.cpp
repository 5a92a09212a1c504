#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

#include "controls/qelborders.h"
#include "controls/qeltabdata.h"
#include "controls/qeltablayout.h"
#include "tools/gallery/sheets.h"

namespace gallery {

namespace {

struct Owner : TQelTabOwner {
  void InvalidateTabs() override {}
  qel::TQelTabOrientation TabOrientation() const override { return qel::toTop; }
  qel::TQelTabSequence TabSequence() const override { return qel::tsStandard; }
  bool CanScrollBackward() const override { return backward; }
  bool CanScrollForward() const override { return forward; }
  int TabIndex() const override { return tabIndex; }
  bool backward = true, forward = true;
  int tabIndex = 0;
};

void Send(QWidget* w, QEvent::Type type, QPoint at) {
  QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)),
                type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(w, &e);
}

enum ScrollerState {
  Normal,
  PushedDownLeft,
  PushedUpRight,
  PressedOutside,
  NoBack,
  NoForward,
  NoneEnabled,
  Aqua,
  kStates
};

// Half 1 (the down/left arrow scrolls back here) and half 0 pressed by
// points inside them; "outside" presses and drags off the control.
qel::Canvas Scroller(qel::TOrientation orientation, ScrollerState state) {
  Owner owner;
  QWidget host;
  host.resize(80, 80);
  auto* s = new TQelTabScroller(&owner, &host);
  s->SetOrientation(orientation);
  const bool horizontal = orientation == qel::orHorizontal;
  s->setGeometry(4, 4, horizontal ? 33 : 17, horizontal ? 17 : 33);
  host.show();
  const QPoint downLeft = horizontal ? QPoint(5, 8) : QPoint(8, 25);
  const QPoint upRight = horizontal ? QPoint(25, 8) : QPoint(8, 5);
  switch (state) {
    case PushedDownLeft: Send(s, QEvent::MouseButtonPress, downLeft); break;
    case PushedUpRight: Send(s, QEvent::MouseButtonPress, upRight); break;
    case PressedOutside:
      Send(s, QEvent::MouseButtonPress, upRight);
      Send(s, QEvent::MouseMove, QPoint(60, 60));
      break;
    case NoBack: owner.backward = false; break;
    case NoForward: owner.forward = false; break;
    case NoneEnabled: owner.backward = owner.forward = false; break;
    case Aqua: s->SetFrameColor(clAqua); break;
    default: break;
  }
  return s->Paint();
}

enum CloseState { CloseNormal, ClosePushed, CloseInactive, CloseInactivePushed, CloseAqua, kCloseStates };

qel::Canvas CloseButton(CloseState state) {
  Owner owner;
  owner.tabIndex = state == CloseInactive || state == CloseInactivePushed ? -1 : 0;
  QWidget host;
  host.resize(40, 40);
  auto* b = new TQelTabCloseButton(&owner, &host);
  b->setGeometry(4, 4, 17, 17);
  host.show();
  if (state == ClosePushed || state == CloseInactivePushed) Send(b, QEvent::MouseButtonPress, QPoint(8, 8));
  if (state == CloseAqua) b->SetFrameColor(clAqua);
  return b->Paint();
}

void Polyline(qel::Canvas& c, const std::vector<qel::TPoint>& points, TColor color) {
  if (points.empty()) return;
  c.Pen.Color = color;
  c.MoveTo(points.front().X, points.front().Y);
  for (std::size_t i = 1; i < points.size(); ++i) c.LineTo(points[i].X, points[i].Y);
}

// The engine's geometry of a strip, drawn plainly: the card, every shown
// tab's outline (the current one red), the scroller and close button in
// their places.
qel::Canvas Strip(qel::TQelTabOrientation orientation, qel::TQelTabStyle style, int width, int height) {
  TQelTabDataList tabs;
  for (const char* caption : {"RS232/485", "IR", "TCP/IP", "Delay", "Compare", "LED", "Toggle"})
    tabs.Add().Caption = QString::fromLatin1(caption);
  qel::TabLayout layout(tabs);
  layout.Settings().TabOrientation = orientation;
  layout.Settings().TabStyle = style;
  layout.Settings().ShowCloseButton = true;
  layout.SetClientSize(width, height);
  layout.SetTabIndex(1);
  layout.UpdateLayout();
  qel::Canvas c(width, height);
  c.FillRect({0, 0, width, height}, clBtnFace);
  const qel::TRect card = layout.CardRect(0);
  c.FillRect({card.Left, card.Top, card.Right + 1, card.Bottom + 1}, clWindow);
  qel::PaintEdgeLines(c, {card.Left, card.Top, card.Right + 1, card.Bottom + 1}, clBtnShadow, qel::sdAllSides,
                      clBtnShadow);
  for (int i = tabs.Count() - 1; i >= 0; --i)
    if (layout.IsTabShown(i) && i != layout.TabIndex()) Polyline(c, layout.TabClientOutline(i), clBlack);
  Polyline(c, layout.TabClientOutline(layout.TabIndex()), clRed);
  Owner owner;
  owner.backward = layout.CanScrollBackward();
  owner.forward = layout.CanScrollForward();
  QWidget host;
  auto* scroller = new TQelTabScroller(&owner, &host);
  scroller->SetOrientation(layout.ScrollerOrientation());
  auto* close = new TQelTabCloseButton(&owner, &host);
  auto place = [&](auto* w, const qel::TRect& r) {
    w->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    c.DrawImage(r.Left, r.Top, w->Paint().Image());
  };
  if (layout.ScrollNeeded()) place(scroller, layout.ScrollerRect());
  place(close, layout.CloseButtonRect());
  return c;
}

}  // namespace

// Rows 1 and 2: the scroller, horizontal and vertical, at rest, each half
// pushed, pressed and dragged off, the back half disabled, the forward
// half disabled, both disabled, an aqua frame. Row 3: the close button at
// rest, pushed, inactive, inactive and pushed, an aqua frame. Row 4: the
// engine's places for a scrolling top strip (double slant) and a left one
// (cut corners).
qel::Canvas TabPartsSheet() {
  const int cell = 44;
  qel::Canvas sheet(4 + kStates * cell, 4 + 28 + 44 + 28 + 210);
  sheet.FillRect({0, 0, sheet.Width(), sheet.Height()}, clWindow);
  int y = 4;
  for (int s = 0; s < kStates; ++s)
    sheet.DrawImage(4 + s * cell, y, Scroller(qel::orHorizontal, ScrollerState(s)).Image());
  y += 28;
  for (int s = 0; s < kStates; ++s)
    sheet.DrawImage(4 + s * cell, y, Scroller(qel::orVertical, ScrollerState(s)).Image());
  y += 44;
  for (int s = 0; s < kCloseStates; ++s) sheet.DrawImage(4 + s * cell, y, CloseButton(CloseState(s)).Image());
  y += 28;
  sheet.DrawImage(4, y, Strip(qel::toTop, qel::tsDoubleSlant, 220, 60).Image());
  sheet.DrawImage(4 + 230, y, Strip(qel::toLeft, qel::tsCutCorner, 110, 200).Image());
  return sheet;
}

}  // namespace gallery
