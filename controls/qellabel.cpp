#include "controls/qellabel.h"

#include <QEnterEvent>
#include <QMetaProperty>
#include <QPainter>
#include <QStyle>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "controls/qelcolormath.h"
#include "controls/qeldraw.h"

using qel::TPoint;
using qel::TRect;

// --- The shared blink timer. ---

namespace {

TQelBlinkingControlsList* g_blinkList = nullptr;

// Rounds half to even, as the old arithmetic did.
int Round(double v) { return int(std::nearbyint(v)); }

// How far a border of this style moves each of its sides in.
int BorderInset(qel::TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case qel::fsFlat: return 1;
    case qel::fsStatus:
    case qel::fsPopup: return bevelWidth;
    case qel::fsGroove:
    case qel::fsBump:
    case qel::fsLowered:
    case qel::fsButtonDown:
    case qel::fsRaised:
    case qel::fsButtonUp: return 2;
    default: return 0;
  }
}

enum class HAlign { Left, Right, Center };

HAlign HorizontalOf(Qt::Alignment a) {
  if (a & Qt::AlignHCenter) return HAlign::Center;
  if (a & Qt::AlignRight) return HAlign::Right;
  return HAlign::Left;
}

}  // namespace

TQelBlinkingControlsList::TQelBlinkingControlsList() {
  QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
  timer_.start(off_);
}

TQelBlinkingControlsList* TQelBlinkingControlsList::Instance() { return g_blinkList; }

void TQelBlinkingControlsList::Register(IBlinkingControl* control) {
  if (!g_blinkList) g_blinkList = new TQelBlinkingControlsList;
  g_blinkList->controls_.push_back(control);
}

void TQelBlinkingControlsList::Unregister(IBlinkingControl* control) {
  if (!g_blinkList) return;
  std::erase(g_blinkList->controls_, control);
  // A tick under way frees the list itself when it ends.
  if (g_blinkList->Count() == 0 && g_blinkList->ticking_ == 0) {
    delete g_blinkList;
    g_blinkList = nullptr;
  }
}

void TQelBlinkingControlsList::Tick() {
  if (phase_ == 0) {
    phase_ = 1;
    timer_.setInterval(on_);
  } else {
    phase_ = 0;
    timer_.setInterval(off_);
  }
  // A repaint may run anything, destroying controls not yet reached: only
  // those still registered are asked.
  ++ticking_;
  const std::vector<IBlinkingControl*> controls = controls_;
  for (IBlinkingControl* control : controls)
    if (std::find(controls_.begin(), controls_.end(), control) != controls_.end() && control->BlinkQuery())
      control->BlinkNotify(phase_);
  if (--ticking_ > 0 || Count() > 0) return;
  // The last control went during the tick.
  if (g_blinkList == this) g_blinkList = nullptr;
  delete this;
}

// --- The label. ---

TQelLabel::TQelLabel(const QString& caption, QWidget* parent) : QLabel(caption, parent), StyledControl(this) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setFocusPolicy(Qt::NoFocus);
  SetParentColor(true);
  color_ = clBtnFace;
  initialising_ = false;
  // Qt hands the parent to the constructor, where the class library's label
  // is given it afterwards and then takes its colour.
  TakeParentColorNow();
  TQelBlinkingControlsList::Register(this);
  UpdateSeeThrough();
  AdjustBounds();
}

TQelLabel::~TQelLabel() {
  if (frameController_) frameController_->RemoveControl(this);
  TQelBlinkingControlsList::Unregister(this);
}

void TQelLabel::setText(const QString& text) {
  if (text == QLabel::text()) return;
  QLabel::setText(text);
  AdjustBounds();
  if (!isLoading()) repaint();
}

void TQelLabel::setWordWrap(bool on) {
  if (on == wordWrap()) return;
  QLabel::setWordWrap(on);
  AdjustBounds();
  refresh();
}

// --- Writers. ---

void TQelLabel::SetAngle(int v) {
  if (v == angle_) return;
  angle_ = v < 0 ? 360 + v : v % 360;
  if (!isLoading() && v != 0) UseTrueTypeFont();
  if (angle_ != 0 && rotation_ == roNone) rotation_ = roFlat;
  AdjustBounds();
  refresh();
}

void TQelLabel::SetRotation(TRotation v) {
  if (v == rotation_) return;
  rotation_ = v;
  if (!isLoading() && v != roNone) UseTrueTypeFont();
  if (v == roNone) angle_ = 0;
  if (v == roFlat) {
    angle_ = 0;
    centerPoint_ = cpCenter;
  }
  refresh();
}

void TQelLabel::SetAutoSize(bool v) {
  if (v == autoSize_) return;
  autoSize_ = v;
  AdjustBounds();
}

void TQelLabel::SetBlinking(bool v) {
  if (v == blinking_) return;
  blinking_ = v;
  if (!v) {
    currentColor_ = restColor_;
    if (!isLoading()) repaint();
  }
}

std::uint16_t TQelLabel::BlinkIntervalOff() const { return TQelBlinkingControlsList::Instance()->BlinkIntervalOff(); }

void TQelLabel::SetBlinkIntervalOff(std::uint16_t ms) { TQelBlinkingControlsList::Instance()->SetBlinkIntervalOff(ms); }

std::uint16_t TQelLabel::BlinkIntervalOn() const { return TQelBlinkingControlsList::Instance()->BlinkIntervalOn(); }

void TQelLabel::SetBlinkIntervalOn(std::uint16_t ms) { TQelBlinkingControlsList::Instance()->SetBlinkIntervalOn(ms); }

void TQelLabel::SetCondenseCaption(TQelCondenseCaption v) {
  if (v == condenseCaption_) return;
  condenseCaption_ = v;
  if (v != ccNone) SetAutoSize(false);
  refresh();
}

void TQelLabel::SetFrameController(TQelFrameController* v) {
  if (frameController_) frameController_->RemoveControl(this);
  frameController_ = v;  // a destroyed controller leaves the pointer null
  if (v) v->AddControl(this);
}

void TQelLabel::SetFlyByEnabled(bool v) {
  if (v == flyByEnabled_) return;
  flyByEnabled_ = v;
  if (!v) RestoreEntryColor();
  refresh();
}

TQelLabel::TTextLayout TQelLabel::Layout() const {
  const Qt::Alignment a = alignment();
  if (a & Qt::AlignVCenter) return tlCenter;
  if (a & Qt::AlignBottom) return tlBottom;
  return tlTop;
}

void TQelLabel::SetLayout(TTextLayout v) {
  const Qt::Alignment vertical = v == tlCenter ? Qt::AlignVCenter : v == tlBottom ? Qt::AlignBottom : Qt::AlignTop;
  setAlignment((alignment() & ~Qt::AlignVertical_Mask) | vertical);
  refresh();
}

void TQelLabel::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  StyledControl::setParentColor(false);
  UpdateSeeThrough();
  qel::NotifyChildrenOfColor(this, v);
  refresh();
}

void TQelLabel::SetParentColor(bool v) {
  StyledControl::setParentColor(v);
  UpdateSeeThrough();
  refresh();
}

void TQelLabel::SetFontColor(TColor v) {
  if (v == fontColor_) return;
  fontColor_ = v;
  FontChanged();
}

void TQelLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  UpdateSeeThrough();
  refresh();
}

bool TQelLabel::applyLegacyProperty(const QString& name, const QVariant& value) {
  return qel::TakeBorderLegacyProperty(*this, name, value);
}

void TQelLabel::ApplyControllerFrame() {
  if (qel::TakeControllerBorder(
          *this, frameController_,
          {borderOuter_, borderSides_, flatColor_, flatColorAdjustment_, borderHighlight_, borderShadow_}))
    refresh();
}

// --- Notifications. ---

void TQelLabel::ApplyBlinkState(int phase) {
  currentColor_ = phase != 0 ? blinkColor_ : restColor_;
  repaint();
}

void TQelLabel::BlinkNotify(int phase) {
  if (blinking_) ApplyBlinkState(phase);
}

void TQelLabel::loaded() {
  if (rotation_ == roNone && angle_ != 0) rotation_ = roFlat;
  if (rotation_ != roNone) UseTrueTypeFont();
  restColor_ = fontColor_;
  currentColor_ = fontColor_;
  AdjustBounds();
}

void TQelLabel::parentColorChanged(TColor color) {
  if (initialising_) return;
  color_ = color;
  refresh();
}

void TQelLabel::TakeParentColorNow() {
  if (parentColor() && parentWidget()) parentColorChanged(qel::ParentColorOf(this));
}

void TQelLabel::FontChanged() {
  if (isLoading()) return;
  // While blinking the colour shown waits for the next font-colour phase.
  restColor_ = fontColor_;
  if (!blinking_) currentColor_ = fontColor_;
  if (angle_ != 0 && !qel::IsTrueTypeFont(CaptionFont())) angle_ = 0;
  AdjustBounds();
  refresh();
}

void TQelLabel::UseTrueTypeFont() {
  if (qel::IsTrueTypeFont(CaptionFont())) return;
  QFont f = font();
  f.setFamily(QStringLiteral("Verdana"));
  setFont(f);
}

void TQelLabel::RestoreEntryColor() {
  if (!entryColor_) return;
  const TColor saved = *entryColor_;
  entryColor_.reset();
  SetFontColor(saved);
}

bool TQelLabel::event(QEvent* e) {
  // Without ShowAccelChar '&' is plain text: the buddy has no accelerator.
  if (e->type() == QEvent::Shortcut && !showAccelChar_) return true;
  const bool done = QLabel::event(e);
  // The new parent's colour came through the shared ground's watcher.
  if (e->type() == QEvent::ParentChange) UpdateSeeThrough();
  return done;
}

void TQelLabel::changeEvent(QEvent* e) {
  QLabel::changeEvent(e);
  if (e->type() == QEvent::FontChange) FontChanged();
}

void TQelLabel::enterEvent(QEnterEvent* e) {
  QLabel::enterEvent(e);
  if (flyByEnabled_ && !entryColor_) {
    entryColor_ = fontColor_;
    SetFontColor(flyByColor_);
  }
  Q_EMIT MouseEnter();
}

void TQelLabel::leaveEvent(QEvent* e) {
  QLabel::leaveEvent(e);
  if (flyByEnabled_) RestoreEntryColor();
  Q_EMIT MouseLeave();
}

// --- Geometry. ---

qel::FontValue TQelLabel::CaptionFont() const { return {font(), currentColor_, 0}; }

unsigned TQelLabel::CondenseFlag() const {
  switch (condenseCaption_) {
    case ccAtEnd: return qel::tfEndEllipsis;
    case ccWithinPath: return qel::tfPathEllipsis;
    case ccNone: break;
  }
  return 0;
}

unsigned TQelLabel::TextFlags() const {
  const HAlign h = HorizontalOf(alignment());
  unsigned flags = (h == HAlign::Right    ? qel::tfRight
                    : h == HAlign::Center ? qel::tfCenter
                                          : qel::tfLeft) |
                   qel::tfExpandTabs;
  if (layoutDirection() == Qt::RightToLeft) flags |= qel::tfRight | qel::tfRtlReading;
  if (wordWrap()) flags |= qel::tfWordBreak;
  if (!showAccelChar_) flags |= qel::tfNoPrefix;
  return flags | CondenseFlag();
}

bool TQelLabel::AnchoredRight() const {
  // Right to left swaps the two ends.
  const HAlign far = layoutDirection() == Qt::RightToLeft ? HAlign::Left : HAlign::Right;
  return HorizontalOf(alignment()) == far;
}

TRect TQelLabel::CalcTextRect(TRect r, bool withBorderWidth) const {
  if (withBorderWidth) r = qel::InsetSides(r, qel::sdAllSides, borderWidth_);
  r = qel::InsetSides(r, borderSides_, BorderInset(borderOuter_, bevelWidth_));
  return qel::InsetSides(r, borderSides_, BorderInset(borderInner_, bevelWidth_));
}

void TQelLabel::GrowExtentByBorders(int& width, int& height) const {
  const auto grow = [&](int by) {
    width += by * (((borderSides_ & qel::sdLeft) ? 1 : 0) + ((borderSides_ & qel::sdRight) ? 1 : 0));
    height += by * (((borderSides_ & qel::sdTop) ? 1 : 0) + ((borderSides_ & qel::sdBottom) ? 1 : 0));
  };
  grow(BorderInset(borderOuter_, bevelWidth_));
  grow(borderWidth_);
  grow(BorderInset(borderInner_, bevelWidth_));
  if (rotation_ == roNone && textStyle_ == tsShadow) {
    width += shadowDepth_;
    height += shadowDepth_;
  }
  if (rotation_ == roFlat && angle_ != 0 && angle_ != 180) {
    if (textStyle_ == tsShadow) {
      width += shadowDepth_ / 2;
      height += shadowDepth_ / 2;
    }
    // The box of the turned extent, for every quadrant.
    const double a = angle_ * std::numbers::pi / 180;
    const double c = std::abs(std::cos(a)), s = std::abs(std::sin(a));
    const int w = Round(c * width + s * height);
    height = Round(s * width + c * height);
    width = w;
  }
}

void TQelLabel::AdjustBounds() {
  if (isLoading() || !autoSize_) return;
  const TRect box = Box();
  const TRect inner = CalcTextRect({0, 0, box.Width(), box.Height()}, true);
  QString caption = CaptionToDraw();
  // An empty line still has a height.
  if (caption.isEmpty() || (showAccelChar_ && caption == QLatin1String("&"))) caption += QLatin1Char(' ');
  unsigned flags = qel::tfCalcRect | qel::tfExpandTabs | CondenseFlag();
  if (wordWrap()) flags |= qel::tfWordBreak;
  if (!showAccelChar_) flags |= qel::tfNoPrefix;
  const TRect m = qel::Text().Measure(CaptionFont(), caption, wordWrap() ? inner.Width() : 0, flags);
  int w = m.Width(), h = m.Height();
  GrowExtentByBorders(w, h);
  w += width() - box.Width();
  h += height() - box.Height();
  const int left = AnchoredRight() ? x() + width() - w : x();
  setGeometry(left, y(), w, h);
}

// --- Painting. ---

TRect TQelLabel::Box() const {
  QRect box = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
  // QLabel's own indent: on a framed label without one, half an "x" on
  // the sides the text is aligned to.
  int m = indent();
  if (m < 0 && frameWidth() > 0) m = qel::Text().Extent(CaptionFont(), QStringLiteral("x")).X / 2 - margin();
  if (m > 0) {
    const Qt::Alignment a = QStyle::visualAlignment(layoutDirection(), alignment());
    if (a & Qt::AlignLeft) box.setLeft(box.left() + m);
    if (a & Qt::AlignRight) box.setRight(box.right() - m);
    if (a & Qt::AlignTop) box.setTop(box.top() + m);
    if (a & Qt::AlignBottom) box.setBottom(box.bottom() - m);
  }
  return {box.left(), box.top(), box.right() + 1, box.bottom() + 1};
}

bool TQelLabel::SeeThrough() const {
  if (transparent_) return true;
  // Under a parent Qt paints (a tab page, a group box) its palette colour
  // need not be what shows, so what lies beneath shows instead.
  const QWidget* parent = parentWidget();
  return parentColor() && parent && !qel::HasStyledColor(parent);
}

void TQelLabel::UpdateSeeThrough() { setAttribute(Qt::WA_OpaquePaintEvent, !SeeThrough()); }

void TQelLabel::paintEvent(QPaintEvent*) {
  qel::Canvas canvas = qel::CanvasFor(this);
  PaintAll(canvas);
  QPainter p(this);
  qel::ShowCanvas(p, canvas);
  if (frameShape() != QFrame::NoFrame) drawFrame(&p);
}

void TQelLabel::PaintAll(qel::Canvas& canvas) {
  const bool seeThrough = SeeThrough();
  // The whole widget, so a frame's margins show the colour too.
  if (!seeThrough) canvas.FillRect({0, 0, width(), height()}, color_);
  qel::DoubleBorder border;
  border.outerStyle = borderOuter_;
  border.transparent = seeThrough;
  border.parentColor = qel::ParentColorOf(this);
  border.controlColor = color_;
  border.flatColorAdjustment = flatColorAdjustment_;
  border.flatColor = flatColor_;
  border.shadowColor = borderShadow_;
  border.highlightColor = borderHighlight_;
  border.borderColor = borderColor_;
  border.bevelWidth = bevelWidth_;
  border.sides = borderSides_;
  border.borderWidth = borderWidth_;
  border.innerStyle = borderInner_;
  qel::PaintDoubleBorder(canvas, Box(), border);
  canvas.Brush.Clear = true;
  if (rotation_ == roCurve)
    PaintArcText(canvas);
  else
    PaintLabelText(canvas);
  canvas.Brush.Clear = false;
}

TRect TQelLabel::PlaceTextByLayout(const QString& text, unsigned flags, TRect r) const {
  const TTextLayout layout = Layout();
  if (layout != tlTop) {
    const TRect m = qel::Text().Measure(CaptionFont(), text, r.Width(), flags | qel::tfCalcRect | CondenseFlag());
    int shift = Box().Bottom - borderWidth_ - (r.Top + m.Height());
    if (layout == tlCenter) shift /= 2;
    r = Moved(r, 0, shift);
  }
  if (textStyle_ == tsShadow) {
    if (flags & qel::tfRight) r = Moved(r, -shadowDepth_, 0);
    if (layout == tlBottom) r = Moved(r, 0, -shadowDepth_);
  }
  return r;
}

void TQelLabel::DrawCopies(const std::function<void(int, int, TColor)>& draw, int shadowShift, int textShift) const {
  if (!isEnabled()) {
    draw(1, 1, clBtnHighlight);
    draw(0, 0, clBtnShadow);
    return;
  }
  if (textStyle_ == tsRaised || textStyle_ == tsRecessed) {
    const bool raised = textStyle_ == tsRaised;
    const TColor first = raised ? shadowColor_ : highlightColor_;
    const TColor second = raised ? highlightColor_ : shadowColor_;
    if (!(raised && lightTextStyle_)) draw(1, 1, first);
    if (!(!raised && lightTextStyle_)) draw(-1, -1, second);
  } else if (textStyle_ == tsShadow) {
    draw(shadowShift, shadowShift, shadowColor_);
  }
  draw(-textShift, -textShift, currentColor_);
}

void TQelLabel::PaintLabelText(qel::Canvas& canvas) {
  const TRect box = Box();
  const TRect r = CalcTextRect(box, true);
  const int half = shadowDepth_ / 2;
  const unsigned flags = TextFlags();
  const QString caption = CaptionToDraw();
  canvas.Font = CaptionFont();

  if (rotation_ != roFlat) {
    const TRect place = PlaceTextByLayout(caption, flags, r);
    DrawCopies(
        [&](int dx, int dy, TColor color) {
          canvas.Font.Color = color;
          canvas.TextRect(Moved(place, dx, dy), caption, flags);
        },
        shadowDepth_, 0);
    return;
  }

  // Turned text hangs from a point, placed by the angle and the alignment.
  const int th = qel::Text().Extent(canvas.Font, QStringLiteral("Pp")).Y;
  const double q = th * 0.25;
  const int tw = qel::Text().Extent(canvas.Font, caption).X;
  const int d = textStyle_ == tsShadow ? half : 0;
  const int hh = th + d, f = tw + d;
  const double theta = angle_ * std::numbers::pi / 180 + std::numbers::pi / 2;
  const HAlign h = HorizontalOf(alignment());
  TPoint p{box.Left + box.Width() / 2, box.Top + box.Height() / 2};
  unsigned align = qel::taBaseline;
  switch (angle_) {
    case 0:
      align = h == HAlign::Center ? qel::taCenter : qel::taLeft;
      if (h == HAlign::Right) p.X = r.Right - tw - 2 * d;
      if (h == HAlign::Left) p.X = r.Left + d;
      p.Y -= hh / 2;
      break;
    case 90:
      p.X -= Round(std::cos(theta) * q);
      p.Y = h == HAlign::Center ? r.Bottom - (r.Bottom - f) / 2 : h == HAlign::Right ? r.Top + f + d : r.Bottom - d;
      break;
    case 180:
      p.X = h == HAlign::Center ? r.Right - (r.Right - f) / 2 : h == HAlign::Right ? r.Left + f : r.Right - d;
      p.Y -= hh / 4;
      break;
    case 270:
      p.X -= Round(std::cos(theta) * q);
      p.Y = h == HAlign::Center ? (r.Bottom - f) / 2 : h == HAlign::Right ? r.Bottom - f - d : r.Top + d;
      break;
    default:
      p.X -= Round(std::cos(theta) * q);
      p.Y += Round(std::sin(theta) * q);
      align = qel::taBaseline | qel::taCenter;
      break;
  }
  canvas.TextAlignment = align;
  canvas.Font = qel::MakeAngledFont(canvas.Font, angle_);
  DrawCopies(
      [&](int dx, int dy, TColor color) {
        canvas.Font.Color = color;
        canvas.TextOutClipped(r, p.X + dx, p.Y + dy, caption);
      },
      half, textStyle_ == tsShadow ? half : 0);
  canvas.TextAlignment = qel::taLeft;
}

void TQelLabel::PaintArcText(qel::Canvas& canvas) {
  const TRect box = Box();
  const int b = borderWidth_, w = box.Width(), h = box.Height(), b2 = 2 * b;
  TPoint o;
  TPoint rd;
  switch (centerPoint_) {
    case cpUpperLeft: o = {b, b}; break;
    case cpUpperCenter: o = {w / 2, b}; break;
    case cpUpperRight: o = {w, b}; break;
    case cpLeftCenter: o = {b, h / 2}; break;
    case cpCenter: o = {w / 2, h / 2}; break;
    case cpRightCenter: o = {w - b, h / 2}; break;
    case cpLowerLeft: o = {b, h - b}; break;
    case cpLowerCenter: o = {w / 2, h - b}; break;
    case cpLowerRight: o = {w - b, h - b}; break;
  }
  switch (centerPoint_) {
    case cpUpperCenter:
    case cpLowerCenter: rd = {w / 2 - b2, h - b2}; break;
    case cpLeftCenter:
    case cpRightCenter: rd = {w - b2, h / 2 - b2}; break;
    case cpCenter: rd = {w / 2 - b2, h / 2 - b2}; break;
    default: rd = {w - b2, h - b2}; break;
  }
  // Each character's step along the arc is divided by this radius.
  if (rd.X == 0) return;
  o = {o.X + box.Left, o.Y + box.Top};

  const qel::FontValue font = CaptionFont();
  const int th = qel::Text().Extent(font, QStringLiteral("Yy")).Y;
  const double step = (qel::Text().Extent(font, QStringLiteral("w")).X + 2) / double(rd.X);
  canvas.TextAlignment = qel::taBaseline | qel::taCenter;
  const QString caption = CaptionToDraw();
  double a = angle_ * std::numbers::pi / 180;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    // A character outside the basic plane is two code units.
    const qsizetype n = caption.at(i).isHighSurrogate() && i + 1 < caption.size() ? 2 : 1;
    const QString ch = caption.mid(i, n);
    i += n - 1;
    const int x = o.X - Round(std::sin(a) * (rd.X - th));
    const int y = o.Y - Round(std::cos(a) * (rd.Y - th));
    canvas.Font = font;
    canvas.Font.Escapement = Round(a * 1800 / std::numbers::pi);
    DrawCopies(
        [&](int dx, int dy, TColor color) {
          canvas.Font.Color = color;
          canvas.TextOut(x + dx, y + dy, ch);
        },
        shadowDepth_, 0);
    a -= step;
  }
  canvas.TextAlignment = qel::taLeft;
}
