#include "controls/qeltextframe.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QPainter>
#include <QPalette>
#include <QRegularExpression>
#include <QWidget>

#include "controls/qeldraw.h"

namespace qel {

namespace {

constexpr int kButtonInset = 2;  // the border the drop-down button sits in

struct SideName {
  TSides side;
  const char* name;
};
constexpr SideName kSideNames[] = {{sdLeft, "sdLeft"}, {sdTop, "sdTop"}, {sdRight, "sdRight"}, {sdBottom, "sdBottom"}};

// Clears a flag on every way out.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

QString SidesToText(TSides sides) {
  QStringList names;
  for (const SideName& s : kSideNames)
    if (sides & s.side) names << QLatin1String(s.name);
  return QLatin1Char('[') + names.join(QLatin1Char(',')) + QLatin1Char(']');
}

std::optional<TSides> SidesFromText(const QString& text) {
  QString t = text.trimmed();
  bool number = false;
  const uint value = t.toUInt(&number);
  if (number) return value <= sdAllSides ? std::optional<TSides>(value) : std::nullopt;
  if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'))) t = t.mid(1, t.size() - 2);
  static const QRegularExpression separators(QStringLiteral("[\\s,|]+"));
  TSides sides = 0;
  for (const QString& part : t.split(separators, Qt::SkipEmptyParts)) {
    const auto* found = std::find_if(std::begin(kSideNames), std::end(kSideNames),
                                     [&](const SideName& s) { return part == QLatin1String(s.name); });
    if (found == std::end(kSideNames)) return std::nullopt;
    sides |= found->side;
  }
  return sides;
}

TextFrame::TextFrame(QWidget* self, FocusTracking tracking) : StyledControl(self), widget_(self), tracking_(tracking) {
  ApplyColor(color_);
}

TextFrame::~TextFrame() {
  if (frameController_) frameController_->RemoveControl(widget_);
}

// --- Properties ---

void TextFrame::SetColor(TColor v) {
  if (v == color_) return;
  if (!updatingColor_) {
    setParentColor(false);
    if (focusColor_ == normalColor_) focusColor_ = v;
    normalColor_ = v;
  }
  ApplyColor(v);
  if (FrameShown()) RedrawFrame();
}

void TextFrame::SetFocusColor(TColor v) {
  focusColor_ = v;
  if (Focused()) UpdateStateColor();
}

void TextFrame::SetDisabledColor(TColor v) {
  disabledColor_ = v;
  if (!widget_->isEnabled()) UpdateStateColor();
}

void TextFrame::SetFrameVisible(bool v) {
  if (assign(frameVisible_, v)) ApplyFrameVisible();
}

void TextFrame::SetFrameStyle(TFrameStyle v) { WriteFrame(frameStyle_, v); }
void TextFrame::SetFrameColor(TColor v) { WriteFrame(frameColor_, v); }
void TextFrame::SetFrameSides(TSides v) { WriteFrame(frameSides_, v & sdAllSides); }
void TextFrame::SetFrameHotStyle(TFrameStyle v) { WriteFrame(frameHotStyle_, v); }
void TextFrame::SetFrameHotColor(TColor v) { WriteFrame(frameHotColor_, v); }

void TextFrame::SetFrameHotTrack(bool v) {
  if (v == frameHotTrack_) return;
  frameHotTrack_ = v;
  if (v) {
    SetFrameVisible(true);
    if (!isLoading()) frameSides_ = sdAllSides;
  }
  RedrawFrame();
  refresh();
}

void TextFrame::SetFramingPreference(::TFramingPreference v) {
  if (v == framingPreference_) return;
  framingPreference_ = v;
  if (v == fpCustomFraming) RedrawFrame();
}

void TextFrame::SetFrameController(TQelFrameController* v) {
  if (frameController_) frameController_->RemoveControl(widget_);
  frameController_ = v;  // a destroyed controller leaves the pointer null
  if (v) v->AddControl(widget_);
}

void TextFrame::SetFlatButtons(bool v) { assign(flatButtons_, v); }

void TextFrame::SetFlatButtonColor(TColor v) { assign(flatButtonColor_, v); }

void TextFrame::SetFrameStyleValue(TFrameStyle v) {
  if (IsFrameStyle(v)) SetFrameStyle(v);
}

void TextFrame::SetFrameHotStyleValue(TFrameStyle v) {
  if (IsFrameStyle(v)) SetFrameHotStyle(v);
}

void TextFrame::SetFrameSidesText(const QString& v) {
  if (const std::optional<TSides> sides = SidesFromText(v))
    SetFrameSides(*sides);
  else
    ReportError(QStringLiteral("Not a set of sides: \"%1\"").arg(v));
}

bool TextFrame::applyLegacyProperty(const QString& name, const QVariant& value) {
  if (name == QLatin1String("FrameFlat")) {
    const bool flat = value.toBool();
    SetFrameHotTrack(flat);
    if (flat) {
      SetFrameStyle(fsStatus);
      SetFrameHotStyle(fsLowered);
    }
    return true;
  }
  if (name == QLatin1String("FrameFocusStyle")) {
    if (const std::optional<TFrameStyle> style = FrameStyleNamed(value.toString())) SetFrameHotStyle(*style);
    return true;
  }
  if (name == QLatin1String("FrameFlatStyle")) return true;  // no longer has a meaning
  return StyledControl::applyLegacyProperty(name, value);
}

// --- The scheme ---

void TextFrame::UpdateStateColor() {
  if (isLoading()) return;
  FlagScope guard(updatingColor_);
  const TColor state = !widget_->isEnabled() ? disabledColor_ : Focused() ? focusColor_ : normalColor_;
  SetColor(state);
}

void TextFrame::WriteHotState(bool fromMouse, bool value) {
  if (fromMouse)
    overControl_ = value;
  else if (tracking_ == FocusTracking::InControlFlag)
    inControl_ = value;
  RepaintForHotState();
  UpdateStateColor();
}

void TextFrame::RedrawFrame() {
  if (isLoading() || !widget_->isVisible()) return;
  widget_->repaint();
}

bool TextFrame::PaintsHot() const {
  if (!frameHotTrack_) return false;
  if (overControl_) return true;
  return tracking_ == FocusTracking::InControlFlag ? inControl_ : Focused();
}

bool TextFrame::Focused() const { return widget_->hasFocus(); }

void TextFrame::RepaintForHotState() {
  if (frameHotTrack_) RedrawFrame();
}

void TextFrame::ApplyFrameVisible() {
  auto* area = qobject_cast<QAbstractScrollArea*>(widget_);
  if (!area) return;
  // A plain 2-pixel panel for the styled frame to cover, else Qt's own.
  if (frameVisible_) {
    area->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    area->setLineWidth(2);
  } else {
    area->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    area->setLineWidth(1);
  }
}

void TextFrame::RepaintButtonStrip(bool whole) const {
  if (!widget_->isVisible()) return;
  if (whole) {
    widget_->repaint();
    return;
  }
  const int strip = kVScrollBarWidth + kButtonInset;
  const int left = widget_->isRightToLeft() ? 0 : widget_->width() - strip;
  widget_->repaint(left, 0, strip, widget_->height());
}

void TextFrame::loaded() {
  UpdateStateColor();
  WriteHotState(false, false);
}

void TextFrame::parentColorChanged(TColor color) {
  if (focusColor_ == normalColor_) focusColor_ = color;
  normalColor_ = color;
  // A focused or disabled control keeps its state colour.
  if (isLoading()) {
    ApplyColor(color);
    return;
  }
  UpdateStateColor();
  if (FrameShown()) RedrawFrame();
}

void TextFrame::ApplyColor(TColor v) {
  color_ = v;
  QPalette palette = widget_->palette();
  const QColor base = QColor::fromRgb(ColorToQRgb(v));
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    palette.setColor(group, QPalette::Base, base);
  widget_->setPalette(palette);
  ColorApplied();
}

void TextFrame::MouseHover(bool entered) {
  QMetaObject::invokeMethod(widget_, entered ? "MouseEnter" : "MouseLeave", Qt::DirectConnection);
}

void TextFrame::FrameEvent(QEvent* e) {
  switch (e->type()) {
    case QEvent::FocusIn: WriteHotState(false, true); break;
    case QEvent::FocusOut: WriteHotState(false, false); break;
    case QEvent::Enter:
      WriteHotState(true, true);
      MouseHover(true);
      break;
    case QEvent::Leave:
      WriteHotState(true, false);
      MouseHover(false);
      break;
    case QEvent::EnabledChange: UpdateStateColor(); break;
    case QEvent::Resize:
      if (FrameShown()) RedrawFrame();
      break;
    default: break;
  }
}

// --- Painting ---

Canvas TextFrame::FrameCanvas() const { return Canvas(widget_->width(), widget_->height(), true, RatioFor(widget_)); }

void TextFrame::EraseFrameRing(Canvas& canvas) const {
  PaintBevelLines(canvas, {0, 0, widget_->width(), widget_->height()}, color_, sdAllSides, 2, color_);
}

void TextFrame::PaintFrameLines(Canvas& canvas) const {
  const bool hot = PaintsHot();
  PaintControlFrame(canvas, widget_->width(), widget_->height(), true, frameSides_, hot ? frameHotColor_ : frameColor_,
                    color_, hot ? frameHotStyle_ : frameStyle_);
}

void TextFrame::PaintFrame(Canvas& canvas) const {
  if (!FrameShown()) return;
  EraseFrameRing(canvas);
  PaintFrameLines(canvas);
}

void TextFrame::DrawOver(const Canvas& canvas) const {
  QPainter painter(widget_);
  ShowCanvas(painter, canvas);
}

void TextFrame::PaintFrameOver() const {
  if (!FrameShown()) return;
  Canvas canvas = FrameCanvas();
  PaintFrame(canvas);
  DrawOver(canvas);
}

TRect TextFrame::DropButtonRect() const {
  const int w = widget_->width(), h = widget_->height();
  if (widget_->isRightToLeft()) return {kButtonInset, kButtonInset, kButtonInset + kVScrollBarWidth, h - kButtonInset};
  return {w - kVScrollBarWidth - kButtonInset, kButtonInset, w - kButtonInset, h - kButtonInset};
}

void TextFrame::PaintFlatDropButton(Canvas& canvas, const TRect& r, bool hot, bool pressed, TColor restColor) const {
  const bool enabled = widget_->isEnabled();
  if (!hot) {
    canvas.FillRect(r, restColor);
    PaintDropArrow(canvas, r, false, enabled, false);
    return;
  }
  const TRect inside = flatButtonColor_ == clBtnFace
                           ? PaintBevelLines(canvas, r, pressed ? clBtnShadow : clBtnHighlight, sdAllSides, 1,
                                             pressed ? clBtnHighlight : clBtnShadow)
                           : PaintColoredBorder(canvas, r, flatButtonColor_, pressed ? fsStatus : fsPopup);
  canvas.FillRect(inside, flatButtonColor_);
  PaintDropArrow(canvas, inside, false, enabled, pressed);
}

}  // namespace qel
