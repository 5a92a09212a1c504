#include "controls/qelbuttons.h"

#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcutEvent>
#include <vector>

#include "controls/qelborders.h"
#include "controls/qelcolormath.h"
#include "controls/qeldraw.h"

using qel::TRect;

namespace {

constexpr char kModalResult[] = "qelModalResult";
const QLatin1String kDialogKeysName("qelDialogKeys");

void Line(qel::Canvas& c, TColor color, std::initializer_list<qel::TPoint> points) {
  c.Pen.Color = color;
  c.Pen.Clear = false;
  auto p = points.begin();
  c.MoveTo(p->X, p->Y);
  for (++p; p != points.end(); ++p) c.LineTo(p->X, p->Y);
}

// The hot-track look's frame: four sides, corners left out.
void CutCornerFrame(qel::Canvas& c, const TRect& q, TColor color) {
  const int L = q.Left, T = q.Top, R = q.Right, B = q.Bottom;
  Line(c, color, {{L, T + 1}, {L, B - 1}});
  Line(c, color, {{L + 1, T}, {R - 1, T}});
  Line(c, color, {{R - 1, T + 1}, {R - 1, B - 1}});
  Line(c, color, {{L + 1, B - 1}, {R - 1, B - 1}});
}

}  // namespace

// Enter and Esc that no focused control used, offered to the window's styled
// buttons before the window's own handling (a QDialog's Esc closes it).
class QelDialogKeys : public QObject {
 public:
  explicit QelDialogKeys(QWidget* window) : QObject(window), window_(window) {
    setObjectName(kDialogKeysName);
    window->installEventFilter(this);
  }

  bool eventFilter(QObject* watched, QEvent* e) override {
    if (watched != window_ || e->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(e);
    const int k = key->key();
    if ((k != Qt::Key_Return && k != Qt::Key_Enter && k != Qt::Key_Escape) || qel::HasModifier(key)) return false;
    std::vector<QPointer<TQelButton>> order;
    auto* focused = qobject_cast<TQelButton*>(QApplication::focusWidget());
    if (focused && focused->window() == window_) order.emplace_back(focused);
    for (TQelButton* b : window_->findChildren<TQelButton*>())
      if (b != focused && b->window() == window_) order.emplace_back(b);
    for (const QPointer<TQelButton>& b : order)
      if (b && b->DialogKey(k)) {
        key->accept();
        return true;
      }
    return false;
  }

 private:
  QWidget* window_;
};

namespace qel {

bool HasModifier(const QKeyEvent* e) {
  return e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

int FormModalResult(const QWidget* window) { return window ? window->property(kModalResult).toInt() : 0; }

void ModalClick(QAbstractButton* button, int modalResult) {
  if (!button->isEnabled()) return;
  QPointer<QAbstractButton> self(button);
  QWidget* form = button->window();
  if (form != button) form->setProperty(kModalResult, modalResult);
  emit button->clicked(false);
  // As a modal loop would: the window closes after the click, when a
  // non-zero result is left.
  if (!self) return;
  auto* dialog = qobject_cast<QDialog*>(form);
  const int result = FormModalResult(form);
  if (dialog && dialog->isModal() && dialog->isVisible() && result != 0) dialog->done(result);
}

bool TakeAccelerator(QEvent* e, QWidget* button, const std::function<bool()>& canFocus,
                     const std::function<void()>& activate) {
  if (e->type() != QEvent::Shortcut) return false;
  if (static_cast<QShortcutEvent*>(e)->isAmbiguous()) {
    if (canFocus()) button->setFocus(Qt::ShortcutFocusReason);
  } else {
    activate();
  }
  return true;
}

bool IsSpacePress(const QKeyEvent* e) { return e->key() == Qt::Key_Space && !(e->modifiers() & Qt::AltModifier); }

bool AcceptUnrepeated(QKeyEvent* e) {
  e->accept();
  return !e->isAutoRepeat();
}

}  // namespace qel

// --- TQelCustomButton ---

TQelCustomButton::TQelCustomButton(QWidget* parent) : QAbstractButton(parent), StyledControl(this) {
  resize(115, 17);
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TQelCustomButton::setText(const QString& text) {
  // The same caption again draws nothing new, and callers set it often.
  if (text == this->text()) return;
  QAbstractButton::setText(text);
  RedrawButton();
}

void TQelCustomButton::SetColor(TColor v) {
  setParentColor(false);
  assign(color_, v);
}

void TQelCustomButton::parentColorChanged(TColor color) { assign(color_, color); }

void TQelCustomButton::SetTransparent(bool v) {
  if (transparent_ == v) return;
  transparent_ = v;
  setAttribute(Qt::WA_OpaquePaintEvent, !v);
  refresh();
}

bool TQelCustomButton::CanFocus() const { return isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus; }

void TQelCustomButton::PaintBackground(qel::Canvas& canvas) {
  if (SeeThrough())
    qel::PaintParentImage(this, canvas);
  else
    canvas.FillRect({0, 0, width(), height()}, color_);
}

qel::Canvas TQelCustomButton::Paint() {
  qel::Canvas canvas = qel::CanvasFor(this);
  PaintBackground(canvas);
  PaintAll(canvas);
  return canvas;
}

void TQelCustomButton::paintEvent(QPaintEvent*) {
  const qel::Canvas canvas = Paint();
  QPainter p(this);
  qel::ShowCanvas(p, canvas);
}

void TQelCustomButton::DrawCaption3D(qel::Canvas& canvas, TRect r, unsigned flags) {
  canvas.Brush.Clear = true;
  canvas.Font = CaptionFont();
  const QString caption = text();
  const int h = qel::Text()
                    .Measure(canvas.Font, caption, r.Width(),
                             qel::tfCenter | qel::tfVCenter | qel::tfWordBreak | qel::tfExpandTabs)
                    .Height();
  switch (alignmentVertical_) {
    case avCenter:
      r.Top = (r.Top + r.Bottom - h) / 2;
      r.Bottom = r.Top + h;
      break;
    case avBottom: r.Top = r.Bottom - h - 1; break;
    case avTop: break;
  }
  if (layoutDirection() == Qt::RightToLeft) flags |= qel::tfRight | qel::tfRtlReading;
  auto draw = [&](const TRect& at, TColor color) {
    canvas.Font.Color = color;
    canvas.TextRect(at, caption, flags);
  };
  if (isEnabled()) {
    if (textStyle_ == tsRaised || textStyle_ == tsRecessed) {
      const bool raised = textStyle_ == tsRaised;
      const TColor a = raised ? textShadowColor_ : textHighlightColor_;
      const TColor b = raised ? textHighlightColor_ : textShadowColor_;
      if (!raised || !lightTextStyle_) draw(Moved(r, 1, 1), a);
      if (raised || !lightTextStyle_) draw(Moved(r, -1, -1), b);
    } else if (textStyle_ == tsShadow) {
      const int dx = (flags & qel::tfRight) ? 0 : textShadowDepth_;
      draw(Moved(r, dx, textShadowDepth_), textShadowColor_);
    }
    if (flags & qel::tfRight) r = Moved(r, -textShadowDepth_, 0);
    draw(r, fontColor_);
  } else {
    draw(Moved(r, 1, 1), clBtnHighlight);
    draw(r, clBtnShadow);
  }
  canvas.Brush.Clear = false;
}

void TQelCustomButton::PointerOverColors(TColor& light, TColor& dark) const {
  if (hotTrackColorType_ == htctComplement) {
    const int hue = HueOfColor(hotTrackColor_);
    light = HueLumSatToRgb(std::uint8_t(hue >= 120 ? hue - 120 : hue + 120), 220, 180);
    dark = ShadeColor(light, 30);
  } else {
    light = TintColor(hotTrackColor_, 30);
    dark = ShadeColor(hotTrackColor_, 30);
  }
}

void TQelCustomButton::ButtonGroupMessage(int, TQelCustomButton*) {}

void TQelCustomButton::BroadcastToSiblings(int groupIndex) {
  QWidget* parent = parentWidget();
  if (!parent) return;
  for (QObject* child : parent->children())
    if (auto* b = qobject_cast<TQelCustomButton*>(child)) b->ButtonGroupMessage(groupIndex, this);
}

bool TQelCustomButton::event(QEvent* e) {
  if (qel::TakeAccelerator(
          e, this, [this] { return CanFocus(); }, [this] { DialogChar(); }))
    return true;
  return QAbstractButton::event(e);
}

void TQelCustomButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !isEnabled()) {
    QWidget::mousePressEvent(e);
    return;
  }
  e->accept();
  setFocus(Qt::MouseFocusReason);
  // A window that is not active yet still gives this button its focus.
  if (!hasFocus() && window()->focusWidget() != this) return;
  showPressed_ = true;
  DisplayChanged();
  pressing_ = true;
}

void TQelCustomButton::mouseMoveEvent(QMouseEvent* e) {
  if (!pressing_) {
    QWidget::mouseMoveEvent(e);
    return;
  }
  const QPoint p = e->position().toPoint();
  const bool inside = p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() < height();
  if (inside == showPressed_) return;
  showPressed_ = inside;
  DisplayChanged();
}

void TQelCustomButton::mouseReleaseEvent(QMouseEvent* e) {
  if (!pressing_ || e->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(e);
    return;
  }
  pressing_ = false;
  showPressed_ = false;
  const QPoint p = e->position().toPoint();
  QPointer<TQelCustomButton> self(this);
  if (p.x() >= 0 && p.x() < width() && p.y() >= 0 && p.y() < height()) PerformClick();
  if (self) DisplayChanged();
}

void TQelCustomButton::keyPressEvent(QKeyEvent* e) { QWidget::keyPressEvent(e); }

void TQelCustomButton::keyReleaseEvent(QKeyEvent* e) { QWidget::keyReleaseEvent(e); }

void TQelCustomButton::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  RedrawButton();
}

void TQelCustomButton::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  RedrawButton();
}

void TQelCustomButton::PointerMoved(bool over) {
  mouseOver_ = over;
  if (over)
    emit MouseEnter();
  else
    emit MouseLeave();
  if (hotTrack_) {
    const TRect r = HotTrackArea();
    update(qel::ToQRect(r));
  }
}

void TQelCustomButton::enterEvent(QEnterEvent* e) {
  QWidget::enterEvent(e);
  PointerMoved(true);
}

void TQelCustomButton::leaveEvent(QEvent* e) {
  QWidget::leaveEvent(e);
  PointerMoved(false);
}

void TQelCustomButton::changeEvent(QEvent* e) {
  QAbstractButton::changeEvent(e);
  if (e->type() == QEvent::EnabledChange || e->type() == QEvent::FontChange) update();
}

// --- TQelButton ---

TQelButton::TQelButton(const QString& caption, QWidget* parent) : TQelCustomButton(parent) {
  resize(75, 25);
  QAbstractButton::setText(caption);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (now && now->window() == window()) TrackFocus(now);
  });
}

void TQelButton::click() { qel::ModalClick(this, modalResult_); }

void TQelButton::PerformClick() {
  if (groupIndex_ == 0)
    DisplayChanged();
  else
    SetDown(!down_);
  QPointer<TQelButton> self(this);
  clicking_ = true;
  try {
    click();
  } catch (...) {
    if (self) clicking_ = false;
    throw;
  }
  if (self) clicking_ = false;
}

bool TQelButton::DialogKey(int key) {
  const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
  const bool wanted = enter ? activeDefault_ : key == Qt::Key_Escape && cancel_;
  if (!wanted || !CanFocus()) return false;
  click();
  return true;
}

void TQelButton::DialogChar() {
  if (CanFocus()) click();
}

void TQelButton::SetDefault(bool v) {
  default_ = v;
  if (shown_) TrackFocus(window()->focusWidget());
}

void TQelButton::TrackFocus(QWidget* now) {
  if (qobject_cast<TQelButton*>(now) || qobject_cast<QPushButton*>(now))
    SetActiveDefault(now == this);
  else
    SetActiveDefault(default_);
}

void TQelButton::SetActiveDefault(bool v) {
  if (activeDefault_ == v) return;
  activeDefault_ = v;
  if (!isLoading()) repaint();
}

void TQelButton::SetAllowAllUp(bool v) {
  if (allowAllUp_ == v) return;
  allowAllUp_ = v;
  NotifyGroup();
}

void TQelButton::SetGroupIndex(int v) {
  if (groupIndex_ == v) return;
  groupIndex_ = v;
  NotifyGroup();
}

void TQelButton::SetDown(bool v) {
  const bool value = groupIndex_ != 0 && v;
  if (value == down_) return;
  // The down button of a group stays down unless the group allows all up.
  if (down_ && !allowAllUp_ && groupIndex_ != 0) return;
  down_ = value;
  refresh();
  if (value) NotifyGroup();
}

void TQelButton::NotifyGroup() {
  if (groupIndex_ != 0 && parentWidget()) BroadcastToSiblings(groupIndex_);
}

void TQelButton::ButtonGroupMessage(int groupIndex, TQelCustomButton* sender) {
  auto* other = qobject_cast<TQelButton*>(sender);
  if (!other || other == this || groupIndex != groupIndex_) return;
  if (other->down_ && down_) {
    down_ = false;
    refresh();
  }
  allowAllUp_ = other->allowAllUp_;
}

void TQelButton::SetHotTrack(bool v) {
  TQelCustomButton::SetHotTrack(v);
  SetTransparent(v);
}

bool TQelButton::applyLegacyProperty(const QString& name, const QVariant& value) {
  if (name == QLatin1String("FrameFlat")) {
    SetHotTrack(value.toBool());
    return true;
  }
  return TQelCustomButton::applyLegacyProperty(name, value);
}

void TQelButton::keyPressEvent(QKeyEvent* e) {
  if (!qel::IsSpacePress(e)) {
    TQelCustomButton::keyPressEvent(e);
    return;
  }
  if (!qel::AcceptUnrepeated(e)) return;
  spaceDown_ = true;
  showPressed_ = true;
  DisplayChanged();
}

void TQelButton::keyReleaseEvent(QKeyEvent* e) {
  if (e->key() != Qt::Key_Space) {
    TQelCustomButton::keyReleaseEvent(e);
    return;
  }
  if (!qel::AcceptUnrepeated(e)) return;
  showPressed_ = false;
  // Only a Space that went down here clicks.
  const bool click = std::exchange(spaceDown_, false);
  QPointer<TQelButton> self(this);
  if (click) PerformClick();
  if (self) DisplayChanged();
}

void TQelButton::focusOutEvent(QFocusEvent* e) {
  spaceDown_ = false;
  if (!Pressing()) showPressed_ = false;
  TQelCustomButton::focusOutEvent(e);
}

void TQelButton::showEvent(QShowEvent* e) {
  TQelCustomButton::showEvent(e);
  if (!shown_) {
    shown_ = true;
    SetActiveDefault(default_);
  }
  InstallDialogKeys();
}

void TQelButton::changeEvent(QEvent* e) {
  TQelCustomButton::changeEvent(e);
  if (e->type() == QEvent::ParentChange && isVisible()) InstallDialogKeys();
}

void TQelButton::InstallDialogKeys() {
  QWidget* form = window();
  if (form == this || form->findChild<QObject*>(kDialogKeysName, Qt::FindDirectChildrenOnly)) return;
  new QelDialogKeys(form);
}

qel::CanvasBrush TQelButton::FillDownPattern(TColor color) {
  return qel::CheckerBrush(ColorToRGB(color) == clSilver ? clGray : clSilver, color);
}

TRect TQelButton::FaceTextRect() const {
  const TRect r = qel::InsetSides({0, 0, width(), height()}, qel::sdAllSides, 5);
  return !HotTrack() && (down_ || showPressed_) ? Moved(r, 1, 1) : r;
}

void TQelButton::PaintCaption(qel::Canvas& canvas) {
  const unsigned align = alignment_ == taLeftJustify    ? qel::tfLeft
                         : alignment_ == taRightJustify ? qel::tfRight
                                                        : qel::tfCenter;
  DrawCaption3D(canvas, FaceTextRect(), align | qel::tfWordBreak | qel::tfExpandTabs);
}

void TQelButton::PaintHotTrack(qel::Canvas& c, TRect& q) {
  const TColor color = Color();
  if (!isEnabled()) {
    const TColor frame = color == clBtnFace ? TintColor(clBtnShadow, 30) : ShadeColor(color, 80);
    q = qel::InsetSides(q, qel::sdAllSides, 1);
    CutCornerFrame(c, q, frame);
    q = qel::InsetSides(q, qel::sdAllSides, 1);
    c.FillRect(q, color);
    return;
  }
  {
    const int L = q.Left, T = q.Top, R = q.Right, B = q.Bottom;
    const TColor dark = ShadeColor(clBtnFace, 20), light = TintColor(clBtnFace, 20);
    Line(c, dark, {{L, T + 2}, {L, B - 2}});
    Line(c, dark, {{L + 2, T}, {R - 2, T}});
    Line(c, light, {{R - 1, T + 2}, {R - 1, B - 2}});
    Line(c, light, {{L + 2, B - 1}, {R - 2, B - 1}});
    c.SetPixel(L + 1, T + 1, dark);
    c.SetPixel(R - 2, T + 1, dark);
    c.SetPixel(L + 1, B - 2, dark);
    c.SetPixel(R - 2, B - 2, light);
  }
  q = qel::InsetSides(q, qel::sdAllSides, 1);
  CutCornerFrame(c, q, color == clBtnFace ? cl3DDkShadow : ShadeColor(color, 150));
  q = qel::InsetSides(q, qel::sdAllSides, 1);
  if (down_ || showPressed_) {
    c.FillRect(q, ShadeColor(color, 10));
    return;
  }
  TColor c1 = clNone, c2 = clNone;
  if (MouseOver()) {
    PointerOverColors(c1, c2);
  } else if (groupIndex_ == 0 && (activeDefault_ || hasFocus())) {
    c1 = HueLumSatToRgb(HueOfColor(HighlightColor()), 220, 220);
    c2 = ShadeColor(c1, 30);
  }
  if (c1 != clNone) {
    const TRect r1 = qel::PaintBevelLines(c, q, c1, qel::sdAllSides, 1, c2);
    const TRect r2 = qel::PaintBevelLines(c, r1, ShadeColor(c1, 10), qel::sdAllSides, 1, TintColor(c2, 10));
    c.FillRect(r2, color);
    return;
  }
  const int L = q.Left, T = q.Top, R = q.Right, B = q.Bottom;
  Line(c, TintColor(color, 20), {{L, T}, {R, T}});
  Line(c, TintColor(color, 15), {{L, T + 1}, {R, T + 1}});
  Line(c, TintColor(color, 10), {{L, T + 2}, {R, T + 2}});
  Line(c, ShadeColor(color, 10), {{L, B - 3}, {R - 2, B - 3}, {R - 2, T + 2}});
  Line(c, ShadeColor(color, 20), {{L, B - 2}, {R - 1, B - 2}, {R - 1, T + 2}});
  Line(c, ShadeColor(color, 30), {{L, B - 1}, {R, B - 1}});
  c.FillRect({L, T + 3, R - 2, B - 3}, color);
}

void TQelButton::PaintClassic(qel::Canvas& c, TRect& q) {
  const TColor color = Color();
  const bool pressed = down_ || showPressed_;
  if (groupIndex_ == 0 && (((activeDefault_ || hasFocus()) && !showPressed_) || clicking_))
    q = qel::PaintEdgeLines(c, q, clWindowFrame, qel::sdAllSides, clWindowFrame);
  if (color == clBtnFace) {
    q = groupIndex_ != 0 ? qel::PaintBorder(c, q, pressed ? qel::fsLowered : qel::fsButtonUp)
                         : qel::PaintButtonBorder(c, q, showPressed_);
  } else if (groupIndex_ == 0) {
    q = qel::PaintColoredButtonBorder(c, q, color, showPressed_);
  } else {
    q = pressed ? qel::PaintColoredBorder(c, q, color, qel::fsLowered)
                : qel::PaintColoredButtonBorder(c, q, color, false);
  }
}

void TQelButton::PaintAll(qel::Canvas& canvas) {
  const bool pressed = down_ || showPressed_;
  TRect focus = qel::InsetSides({0, 0, width(), height()}, qel::sdAllSides, HotTrack() ? 3 : 4);
  if (groupIndex_ != 0 && pressed) focus = Moved(focus, 1, 1);
  TRect q{0, 0, width(), height()};
  if (HotTrack())
    PaintHotTrack(canvas, q);
  else
    PaintClassic(canvas, q);
  if (groupIndex_ != 0 && down_ && showDownPattern_) {
    const qel::CanvasBrush keep = canvas.Brush;
    canvas.Brush = FillDownPattern(Color());
    canvas.FillRect(q);
    canvas.Brush = keep;
  }
  canvas.Font = CaptionFont();
  canvas.Brush.Color = Color();
  PaintCaption(canvas);
  if (hasFocus() && showFocusRect_) qel::PaintFocusFrame(canvas, focus);
}
