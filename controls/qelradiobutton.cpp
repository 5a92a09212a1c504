#include "controls/qelradiobutton.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QMetaProperty>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <vector>

#include "controls/qelborders.h"
#include "controls/qelcolormath.h"
#include "controls/qeldraw.h"
#include "controls/qelpictures.h"

using qel::TRect;

namespace {

// Indexes into TQelRadioButton::kRadioKeyColors.
enum RadioKey { White, Black, Green, Gray, Purple, Maroon, Lime, Red, Fuchsia, Yellow, Navy, Blue };

// The hot-track picture, in the 12 key colours: w white, k black, G green,
// g gray, p purple, m maroon, L lime, r red, f fuchsia, y yellow, n navy,
// b blue; '.' lies outside the circle. Upper-left parts take the lighter
// pointer-over colours, lower-right parts the darker ones. The dot is n and
// b, white when unchecked.
QImage HotTrackPicture(qel::PictureLegend legend) {
  return qel::PictureFromMap(
      {
          "...GkkkkkG...",
          "..kkfffffkk..",
          ".kpLyyyyyLpk.",
          "GkLyywwwyymkG",
          "kfyywbnbwyyrk",
          "kfywbnnnbwyrk",
          "kfywnnnnnwyrk",
          "kfywbnnnbwyrk",
          "kfyywbnbwyyrk",
          "GkLyywwwyymkG",
          ".kgmyyyyymgk.",
          "..kkrrrrrkk..",
          "...GkkkkkG...",
      },
      legend);
}

// The classic radio: outer ring s (upper-left) and h (lower-right), inner
// ring d and l, inside w, the dot x, '.' outside.
QImage ClassicPicture(qel::PictureLegend legend) {
  return qel::PictureFromMap(
      {
          "....sssss....",
          "..ssdddddss..",
          ".ssdwwwwwdsh.",
          ".sdwwwwwwwlh.",
          "sdwwwxxxwwwlh",
          "sdwwxxxxxwwlh",
          "sdwwxxxxxwwlh",
          "sdwwxxxxxwwlh",
          "sdwwwxxxwwwlh",
          ".sdwwwwwwwlh.",
          ".shlwwwwwlhh.",
          "..hhlllllhh..",
          "....hhhhh....",
      },
      legend);
}

}  // namespace

// --- TQelCustomGlyphButton ---

TQelCustomGlyphButton::TQelCustomGlyphButton(QWidget* parent) : TQelCustomButton(parent) {}

TQelCustomGlyphButton::~TQelCustomGlyphButton() {
  if (frameController_) frameController_->RemoveControl(this);
}

void TQelCustomGlyphButton::SetCustomGlyphs(const QImage& strip) {
  customGlyphs_ = strip;
  backgroundStale_ = true;
  if (useCustomGlyphs_ == !strip.isNull())
    FitGlyphSize();  // a new strip may have another size
  else
    SetUseCustomGlyphs(!strip.isNull());
  refresh();
}

void TQelCustomGlyphButton::SetUseCustomGlyphs(bool v) {
  if (useCustomGlyphs_ == v) return;
  useCustomGlyphs_ = v;
  FitGlyphSize();
  refresh();
}

void TQelCustomGlyphButton::FitGlyphSize() {
  if (useCustomGlyphs_) {
    glyphWidth_ = customGlyphs_.width() / numStates_;
    glyphHeight_ = customGlyphs_.height();
  } else {
    glyphWidth_ = glyphHeight_ = 13;
  }
}

void TQelCustomGlyphButton::SetNumStates(int v) {
  numStates_ = std::max(v, 1);
  FitGlyphSize();
}

void TQelCustomGlyphButton::SetFrameController(TQelFrameController* v) {
  if (frameController_) frameController_->RemoveControl(this);
  frameController_ = v;  // a destroyed controller leaves the pointer null
  if (v) v->AddControl(this);
}

void TQelCustomGlyphButton::ApplyControllerFrame() {
  if (!frameController_ || !frameController_->FrameVisible()) return;
  frameColor_ = frameController_->FrameColor();
  disabledColor_ = frameController_->DisabledColor();
  refresh();
}

bool TQelCustomGlyphButton::applyLegacyProperty(const QString& name, const QVariant& value) {
  if (name == QLatin1String("Flat")) {
    SetHotTrack(value.toBool());
    return true;
  }
  return TQelCustomButton::applyLegacyProperty(name, value);
}

TColor TQelCustomGlyphButton::AvoidMaskColor(TColor c) const {
  const TColor rgb = ColorToRGB(c);
  if (rgb != ColorToRGB(transparentColor_) && rgb != ColorToRGB(winMaskColor_) && rgb != clGray) return c;
  // Only red moves, so the value stays an RGB colour.
  const int red = GetRValue(rgb);
  return (rgb & ~TColor(0xFF)) | TColor(red == 0xFF ? red - 1 : red + 1);
}

bool TQelCustomGlyphButton::SeeThrough() const {
  if (Transparent()) return true;
  const QWidget* parent = parentWidget();
  return ParentColor() && parent && !qel::HasStyledColor(parent);
}

TRect TQelCustomGlyphButton::HotTrackArea() const {
  const int x = alignment_ == taRightJustify ? 0 : width() - glyphWidth_;
  int y = 2;
  if (AlignmentVertical() == avCenter)
    y = (height() - glyphHeight_) / 2;
  else if (AlignmentVertical() == avBottom)
    y = height() - glyphHeight_ - 2;
  return {x, y, x + glyphWidth_, y + glyphHeight_};
}

void TQelCustomGlyphButton::CutGlyphImage(int n, qel::Canvas& target, int h, int w, const QImage& strip) const {
  target.Resize(w, h);
  qel::Canvas source(strip.width(), strip.height());
  source.DrawImage(0, 0, strip);
  target.CopyRect({0, 0, w, h}, source, {w * n, 0, w * (n + 1), h});
}

void TQelCustomGlyphButton::PaintGlyph(qel::Canvas& canvas) {
  const int w = glyphWidth_, h = glyphHeight_;
  if (w <= 0 || h <= 0) return;
  const TRect place = HotTrackArea(), whole{0, 0, w, h};
  qel::Canvas glyph(w, h);
  DrawGlyph(glyph);
  qel::Canvas composed(w, h);
  if (SeeThrough())
    composed.CopyRect(whole, canvas, place);
  else
    composed.FillRect(whole, Color());
  qel::BlitMaskedBitmap(composed, glyph, whole, transparentColor_, whole);
  const TColor winMask = PaintRGB(winMaskColor_);
  const TColor frameMix = MixColors(frameColor_, canvas.Pixel(0, 0), 128);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      TColor p = composed.Pixel(x, y);
      if (p == winMask) p = ColorToRGB(clWindow);
      if (p == clGreen) p = frameMix;
      composed.SetPixel(x, y, p);
    }
  canvas.CopyRect(place, composed, whole);
}

void TQelCustomGlyphButton::PaintBackground(qel::Canvas& canvas) {
  const TRect client{0, 0, width(), height()};
  if (backgroundStale_ || background_.Width() != client.Right || background_.Height() != client.Bottom) {
    background_ = qel::Canvas(client.Right, client.Bottom, false, canvas.Ratio());
    // See-through, the canvas holds what the parent painted beneath.
    if (SeeThrough()) {
      TQelCustomButton::PaintBackground(canvas);
      background_.Image() = canvas.Image().convertToFormat(QImage::Format_RGB32);
    } else {
      background_.FillRect(client, Color());
    }
    backgroundStale_ = false;
  }
  canvas.DrawImage(0, 0, background_.Image());
}

void TQelCustomGlyphButton::PaintAll(qel::Canvas& canvas) {
  const TRect client{0, 0, width(), height()};
  canvas.Font = CaptionFont();
  canvas.Brush.Color = Color();
  PaintGlyph(canvas);
  TRect t{1, 1, client.Right - 1, client.Bottom - 1};
  if (alignment_ == taRightJustify)
    t.Left += glyphWidth_ + 4;
  else
    t.Right -= glyphWidth_ + 4;
  DrawCaption3D(canvas, t, qel::tfLeft | qel::tfWordBreak | qel::tfExpandTabs);
  if (hasFocus() && !text().isEmpty()) {
    t = {t.Left - 1, t.Top - 1, t.Right + 1, t.Bottom + 1};
    const int shown = qel::Text().Measure(CaptionFont(), text().trimmed(), 0, qel::tfSingleLine).Width();
    const int c = std::min(t.Width(), shown + 3);
    if (layoutDirection() == Qt::RightToLeft)
      t.Left = t.Right - c;
    else
      t.Right = t.Left + c;
    qel::PaintFocusFrame(canvas, t);
  }
}

void TQelCustomGlyphButton::PaintAtOnce() {
  paintingAtOnce_ = true;
  repaint();
  paintingAtOnce_ = false;
}

void TQelCustomGlyphButton::refresh() {
  backgroundStale_ = true;
  TQelCustomButton::refresh();
}

void TQelCustomGlyphButton::paintEvent(QPaintEvent* e) {
  // Only the paints at once and the pointer's glyph-only paints keep the
  // background; any other paint stands for an erase.
  const TRect g = HotTrackArea();
  if (!paintingAtOnce_ && !qel::ToQRect(g).contains(e->rect())) backgroundStale_ = true;
  TQelCustomButton::paintEvent(e);
}

void TQelCustomGlyphButton::resizeEvent(QResizeEvent* e) {
  backgroundStale_ = true;
  TQelCustomButton::resizeEvent(e);
}

void TQelCustomGlyphButton::changeEvent(QEvent* e) {
  if (e->type() == QEvent::EnabledChange) backgroundStale_ = true;
  TQelCustomButton::changeEvent(e);
}

void TQelCustomGlyphButton::keyPressEvent(QKeyEvent* e) {
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (tabOnEnter_ && enter && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    e->accept();
    qel::PostTabKey(this);
    return;
  }
  TQelCustomButton::keyPressEvent(e);
}

void TQelCustomGlyphButton::mouseDoubleClickEvent(QMouseEvent* e) {
  QPointer<TQelCustomGlyphButton> self(this);
  // Qt's default handling presses again, as the second click of a pair.
  TQelCustomButton::mouseDoubleClickEvent(e);
  if (self && e->button() == Qt::LeftButton) emit DblClick();
}

// --- TQelRadioButton ---

TQelRadioButton::TQelRadioButton(const QString& caption, QWidget* parent) : TQelCustomGlyphButton(parent) {
  setCheckable(true);
  setAutoExclusive(false);
  QAbstractButton::setText(caption);
  SetAlignmentVertical(avTop);
  SetNumStates(6);
  SetTabStop(false);
  SetParentColor(true);
  // Qt's group signals follow the button's own: idClicked ends a click that
  // nextCheckState kept quiet.
  clickEnd_ = new QButtonGroup(this);
  clickEnd_->setExclusive(false);
  clickEnd_->addButton(this);
  connect(clickEnd_, &QButtonGroup::idClicked, this, [this] {
    if (!quietClick_) return;
    quietClick_ = false;
    blockSignals(wasBlocked_);
  });
}

void TQelRadioButton::checkStateSet() {
  // Qt calls this for an unchanged value too; WriteChecked drops those.
  WriteChecked(isChecked());
}

void TQelRadioButton::nextCheckState() {
  // QAbstractButton::click() emits clicked after this; on a checked radio,
  // where PerformClick does nothing, it stays unheard.
  if (checked_ && group() == clickEnd_) {
    if (!quietClick_) wasBlocked_ = blockSignals(true);
    quietClick_ = true;
    return;
  }
  qtClicks_ = true;
  PerformClick();
  qtClicks_ = false;
}

void TQelRadioButton::WriteChecked(bool v) {
  if (v == checked_) return;
  checked_ = v;
  SetTabStop(v);
  QPointer<TQelRadioButton> self(this);
  RedrawButton();
  if (!v || !self) return;
  UncheckSiblings();
  if (self && !qtClicks_) emit clicked(true);
}

void TQelRadioButton::UncheckSiblings() {
  QWidget* parent = parentWidget();
  if (!parent) return;
  std::vector<QPointer<TQelRadioButton>> siblings;
  for (QObject* child : parent->children())
    if (auto* radio = qobject_cast<TQelRadioButton*>(child); radio && radio != this) siblings.emplace_back(radio);
  for (const QPointer<TQelRadioButton>& radio : siblings)
    if (radio) radio->SetChecked(false);
}

void TQelRadioButton::PerformClick() {
  if (!checked_) SetChecked(true);
}

void TQelRadioButton::DialogChar() {
  if (CanFocus()) setFocus(Qt::ShortcutFocusReason);
}

void TQelRadioButton::focusInEvent(QFocusEvent* e) {
  TQelCustomGlyphButton::focusInEvent(e);
  // The focus coming back with the window or after a popup is no move onto
  // this button: a radio unchecked meanwhile by code stays unchecked.
  const Qt::FocusReason reason = e->reason();
  if (!usingMouse_ && reason != Qt::MouseFocusReason && reason != Qt::ActiveWindowFocusReason &&
      reason != Qt::PopupFocusReason)
    SetChecked(true);
}

void TQelRadioButton::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Down && !qel::HasModifier(e) && CanFocus()) {
    e->accept();
    emit clicked(checked_);
    return;
  }
  TQelCustomGlyphButton::keyPressEvent(e);
}

void TQelRadioButton::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) usingMouse_ = true;
  TQelCustomGlyphButton::mousePressEvent(e);
}

void TQelRadioButton::mouseReleaseEvent(QMouseEvent* e) {
  QPointer<TQelRadioButton> self(this);
  TQelCustomGlyphButton::mouseReleaseEvent(e);
  if (self) usingMouse_ = false;
}

std::array<TColor, 12> TQelRadioButton::HotTrackColors() const {
  const TColor W = clWindow, F = FrameColor(), Hl = HighlightColor();
  std::array<TColor, 12> m;
  const bool full = ScreenHasFullColor();
  if (full) {
    m = {W,
         AvoidMaskColor(F),
         TintColor(F, 10),
         MixColors(F, W, 128),
         MixColors(F, W, 128),
         MixColors(F, W, 80),
         MixColors(F, W, 80),
         W,
         W,
         W,
         AvoidMaskColor(Hl),
         MixColors(Hl, W, 153)};
  } else {
    m.fill(W);
    m[Black] = m[Green] = AvoidMaskColor(F);
    m[Navy] = m[Blue] = AvoidMaskColor(Hl);
  }
  if (!isEnabled()) {
    const TColor D = DisabledColor();
    m[White] = m[Red] = m[Fuchsia] = m[Yellow] = D;
    m[Gray] = m[Purple] = MixColors(F, D, 128);
    m[Maroon] = m[Lime] = MixColors(F, D, 80);
    m[Navy] = clBtnShadow;
    m[Blue] = MixColors(Hl, D, 128);
  } else if (full && ShowPressed()) {
    const TColor P = ShadeColor(W, 20);
    m[White] = m[Red] = m[Fuchsia] = m[Yellow] = P;
    m[Gray] = m[Purple] = MixColors(F, P, 128);
    m[Maroon] = m[Lime] = MixColors(F, P, 80);
    m[Blue] = MixColors(Hl, P, 153);
  } else if (full && MouseOver()) {
    TColor Hc, Hd;
    PointerOverColors(Hc, Hd);
    m[Gray] = MixColors(F, Hd, 128);
    m[Purple] = MixColors(F, Hc, 128);
    m[Maroon] = MixColors(F, Hd, 80);
    m[Lime] = MixColors(F, Hc, 80);
    m[Red] = Hd;
    m[Fuchsia] = Hc;
    m[Yellow] = MixColors(Hc, W, 128);
  }
  return m;
}

void TQelRadioButton::DrawGlyph(qel::Canvas& glyph) {
  const bool pressed = ShowPressed(), disabled = !isEnabled();
  if (UseCustomGlyphs()) {
    const int n = (disabled ? 4 : pressed ? 2 : 0) + (checked_ ? 1 : 0);
    CutGlyphImage(n, glyph, GlyphHeight(), GlyphWidth(), CustomGlyphs());
    return;
  }
  const TColor outside = TransparentColor();
  QImage picture;
  if (HotTrack()) {
    const std::array<TColor, 12> c = HotTrackColors();
    const TColor dot = checked_ ? c[Navy] : c[White], dotEdge = checked_ ? c[Blue] : c[White];
    picture = HotTrackPicture({{'.', outside},
                               {'w', c[White]},
                               {'k', c[Black]},
                               {'G', c[Green]},
                               {'g', c[Gray]},
                               {'p', c[Purple]},
                               {'m', c[Maroon]},
                               {'L', c[Lime]},
                               {'r', c[Red]},
                               {'f', c[Fuchsia]},
                               {'y', c[Yellow]},
                               {'n', dot},
                               {'b', dotEdge}});
  } else {
    const TColor inside = pressed || disabled ? clBtnFace : clWindow;
    const TColor dot = !checked_ ? inside : disabled ? clBtnShadow : clWindowText;
    picture = ClassicPicture({{'.', outside},
                              {'s', clBtnShadow},
                              {'h', clBtnHighlight},
                              {'d', cl3DDkShadow},
                              {'l', cl3DLight},
                              {'w', inside},
                              {'x', dot}});
  }
  glyph.FillRect({0, 0, glyph.Width(), glyph.Height()}, TransparentColor());
  glyph.DrawImage(0, 0, picture);
}
