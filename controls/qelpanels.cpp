#include "controls/qelpanels.h"

#include <QCoreApplication>
#include <QCursor>
#include <QEnterEvent>
#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>
#include <algorithm>
#include <functional>

#include "controls/qelcolormath.h"

using qel::TRect;

namespace {

// How far a border of this style moves each of its sides in.
int BorderInset(qel::TFrameStyleEx style, int bevelWidth) {
  switch (style) {
    case qel::fsNone: return 0;
    case qel::fsFlat: return 1;
    case qel::fsStatus:
    case qel::fsPopup: return bevelWidth;
    default: return 2;
  }
}

void Line(qel::Canvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

std::vector<QWidget*> ChildWidgets(const QWidget* parent) {
  std::vector<QWidget*> widgets;
  for (QObject* child : parent->children())
    if (auto* w = qobject_cast<QWidget*>(child); w && !w->isWindow()) widgets.push_back(w);
  return widgets;
}

// The caption as it shows: "&x" is an underlined x, "&&" one ampersand.
QString ShownCaption(const QString& caption) {
  QString shown;
  shown.reserve(caption.size());
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&') && i + 1 < caption.size()) ++i;
    shown += caption[i];
  }
  return shown;
}

// Runs paint once for each part of whole that lies outside hole, clipped to
// it: what paint draws leaves hole alone.
void PaintAround(qel::Canvas& canvas, const TRect& whole, const TRect& hole, const std::function<void()>& paint) {
  if (hole.IsEmpty()) {
    paint();
    return;
  }
  const TRect parts[] = {{whole.Left, whole.Top, hole.Left, whole.Bottom},
                         {hole.Right, whole.Top, whole.Right, whole.Bottom},
                         {hole.Left, whole.Top, hole.Right, hole.Top},
                         {hole.Left, hole.Bottom, hole.Right, whole.Bottom}};
  for (const TRect& part : parts) {
    if (part.IsEmpty()) continue;
    canvas.Save();
    canvas.IntersectClipRect(part);
    paint();
    canvas.Restore();
  }
}

}  // namespace

// --- The panel. ---

TQelCustomPanel::TQelCustomPanel(QWidget* parent) : QWidget(parent), StyledControl(this) {
  resize(185, 41);
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TQelCustomPanel::~TQelCustomPanel() {
  if (frameController_) frameController_->RemoveControl(this);
}

void TQelCustomPanel::SetCaption(const QString& v) {
  if (v == caption_) return;
  caption_ = v;
  CaptionChanged();
  refresh();
}

void TQelCustomPanel::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  setParentColor(false);
  qel::NotifyChildrenOfColor(this, v);
  refresh();
}

void TQelCustomPanel::parentColorChanged(TColor color) {
  if (color == color_) return;
  color_ = color;
  qel::NotifyChildrenOfColor(this, color);
  refresh();
}

void TQelCustomPanel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  setAttribute(Qt::WA_OpaquePaintEvent, !v);
  // Children that show their parent's image show something else now.
  for (QWidget* child : ChildWidgets(this)) child->update();
  refresh();
}

void TQelCustomPanel::SetFrameController(TQelFrameController* v) {
  if (frameController_) frameController_->RemoveControl(this);
  frameController_ = v;  // a destroyed controller leaves the pointer null
  if (v) v->AddControl(this);
}

bool TQelCustomPanel::applyLegacyProperty(const QString& name, const QVariant& value) {
  return qel::TakeBorderLegacyProperty(*this, name, value);
}

void TQelCustomPanel::ApplyControllerFrame() {
  if (qel::TakeControllerBorder(
          *this, frameController_,
          {borderOuter_, borderSides_, flatColor_, flatColorAdjustment_, borderHighlight_, borderShadow_}))
    refresh();
}

// --- Geometry. ---

TRect TQelCustomPanel::InnerBorderRect(TRect rect, bool includeBorderWidth) const {
  if (includeBorderWidth) rect = qel::InsetSides(rect, qel::sdAllSides, borderWidth_);
  rect = qel::InsetSides(rect, borderSides_, BorderInset(borderOuter_, bevelWidth_));
  return qel::InsetSides(rect, borderSides_, BorderInset(borderInner_, bevelWidth_));
}

TRect TQelCustomPanel::AdjustForBorders(TRect rect) const {
  return qel::InsetSides(rect, qel::sdAllSides, borderWidth_);
}

void TQelCustomPanel::AlignInsideBorders(TRect rect) {
  const TRect r = InnerBorderRect(rect, false);
  qel::AlignChildren(this, qel::ToQRect(r));
}

void TQelCustomPanel::Realign() {
  if (isLoading()) return;
  AlignInsideBorders(AdjustForBorders(PlainClientRect()));
}

void TQelCustomPanel::KeepAlignedEdge(int left, int top, int width, int height) {
  const qel::TAlign align = Align();
  if (align == qel::alBottom && height != this->height()) top = y() + this->height() - height;
  if (align == qel::alRight && width != this->width()) left = x() + this->width() - width;
  setGeometry(left, top, width, height);
  // As a new size of an aligned child does: the parent places it again.
  if (align != qel::alNone && parentWidget()) {
    QEvent request(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(parentWidget(), &request);
  }
}

QPoint TQelCustomPanel::CursorClientPos() const { return mapFromGlobal(QCursor::pos()); }

// --- Events. ---

bool TQelCustomPanel::event(QEvent* e) {
  if (e->type() == QEvent::LayoutRequest) Realign();
  return QWidget::event(e);
}

void TQelCustomPanel::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::EnabledChange) EnabledChanged();
  if (e->type() == QEvent::LayoutDirectionChange) update();
}

// Qt also reports a change when an ancestor is disabled or enabled: only
// the panel's own flag moves its children.
void TQelCustomPanel::EnabledChanged() {
  const bool own = !testAttribute(Qt::WA_ForceDisabled);
  if (own != ownEnabled_) {
    ownEnabled_ = own;
    const std::vector<QWidget*> children = ChildWidgets(this);
    if (!own) {
      enabledList_.clear();
      // A child's own flag: isEnabled() is already false under a disabled panel.
      for (QWidget* child : children)
        enabledList_.push_back(
            {child->testAttribute(Qt::WA_ForceDisabled) ? QStringLiteral("0") : QStringLiteral("1"), child});
      for (QWidget* child : children) child->setEnabled(false);
    } else {
      for (QWidget* child : children) {
        const auto entry = std::find_if(enabledList_.begin(), enabledList_.end(),
                                        [&](const EnabledEntry& e) { return e.Object == child; });
        if (entry == enabledList_.end() || entry->Text == QLatin1String("1")) child->setEnabled(true);
      }
    }
  }
  update();
}

void TQelCustomPanel::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  Realign();
  update();
}

void TQelCustomPanel::enterEvent(QEnterEvent* e) {
  QWidget::enterEvent(e);
  Q_EMIT MouseEnter();
}

void TQelCustomPanel::leaveEvent(QEvent* e) {
  QWidget::leaveEvent(e);
  Q_EMIT MouseLeave();
}

// --- Painting. ---

qel::Canvas TQelCustomPanel::Paint() {
  qel::Canvas canvas = qel::CanvasFor(this);
  if (!transparent_) canvas.FillRect(WholeRect(), color_);
  PaintAll(canvas);
  return canvas;
}

void TQelCustomPanel::paintEvent(QPaintEvent*) {
  const qel::Canvas canvas = Paint();
  QPainter p(this);
  qel::ShowCanvas(p, canvas);
}

void TQelCustomPanel::PaintAll(qel::Canvas& canvas) {
  qel::DoubleBorder border;
  border.outerStyle = borderOuter_;
  border.transparent = transparent_;
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
  const TRect inner = qel::PaintDoubleBorder(canvas, WholeRect(), border);
  if (!transparent_) canvas.FillRect(inner, color_);
  if (showGrid_) PaintGrid(canvas, inner);
  canvas.Brush.Clear = true;
  PaintCaptionText(canvas, inner);
  canvas.Brush.Clear = false;
  Q_EMIT Painted(canvas);
}

void TQelCustomPanel::PaintCaptionText(qel::Canvas& canvas, TRect rect) {
  if (caption_.isEmpty()) return;
  canvas.Font = CaptionFont();
  TRect r = rect;
  r.Left += 1;
  // Wrapped text is placed here, not by the engine: it is drawn from the top.
  const unsigned flags = (alignment_ == taLeftJustify    ? qel::tfLeft
                          : alignment_ == taRightJustify ? qel::tfRight
                                                         : qel::tfCenter) |
                         qel::tfWordBreak | qel::tfExpandTabs;
  const int c = qel::Text().Measure(canvas.Font, caption_, r.Width(), flags | qel::tfCalcRect).Height();
  switch (alignmentVertical_) {
    case avCenter:
      // Floor halving: a caption taller than r stays centred on it.
      r.Top = (r.Top + r.Bottom - c) >> 1;
      r.Bottom = r.Top + c;
      break;
    case avBottom: r.Top = r.Bottom - c - 1; break;
    case avTop: break;
  }
  canvas.Brush.Clear = true;
  if (!isEnabled()) {
    canvas.Font.Color = clBtnHighlight;
    canvas.TextRect(Moved(r, 1, 1), caption_, flags);
    canvas.Font.Color = clBtnShadow;
  }
  canvas.TextRect(r, caption_, flags);
}

void TQelCustomPanel::PaintGrid(qel::Canvas& canvas, const TRect& rect) {
  const int gx = gridXSize_, gy = gridYSize_;
  const int nx = gx ? rect.Width() / gx : 0;
  const int ny = gy ? rect.Height() / gy : 0;
  canvas.Pen.Color = gridColor_;
  canvas.Pen.Clear = false;
  const auto column = [&](int i) { return rect.Left - 1 + i * gx; };
  const auto row = [&](int j) { return rect.Top - 1 + j * gy; };
  switch (gridStyle_) {
    case gsDots:
      for (int i = 1; i <= nx; ++i)
        for (int j = 1; j <= ny; ++j) canvas.SetPixel(column(i), row(j), gridColor_);
      break;
    case gsSolidLines:
      for (int i = 1; i <= nx; ++i) Line(canvas, column(i), rect.Top, column(i), rect.Bottom);
      for (int j = 1; j <= ny; ++j) Line(canvas, rect.Left, row(j), rect.Right, row(j));
      break;
    case gsDottedLines:
      for (int i = 1; i <= nx; ++i)
        for (int y = rect.Top + 1; y < rect.Bottom; y += 2) canvas.SetPixel(column(i), y, gridColor_);
      for (int j = 1; j <= ny; ++j)
        for (int x = rect.Left + 1; x < rect.Right; x += 2) canvas.SetPixel(x, row(j), gridColor_);
      break;
  }
}

// --- The group box. ---

TQelCustomGroupBox::TQelCustomGroupBox(const QString& caption, QWidget* parent) : TQelCustomPanel(parent) {
  borderOuter_ = qel::fsNone;
  borderInner_ = qel::fsNone;
  alignment_ = taLeftJustify;
  alignmentVertical_ = avTop;
  resize(width(), 105);
  SetCaption(caption);
}

void TQelCustomGroupBox::SetGroupStyle(TQelGroupBoxStyle v) {
  if (v == groupStyle_) return;
  groupStyle_ = v;
  if (v == gsCustom || v == gsTopLine) SetThemeAware(false);
  refresh();
}

TRect TQelCustomGroupBox::AdjustForBorders(TRect rect) const {
  TRect r = TQelCustomPanel::AdjustForBorders(rect);
  const int h = qel::Text().Extent(CaptionFont(), QStringLiteral("Yy")).Y;
  if (groupStyle_ == gsCustom) {
    r.Top += h;
    return qel::InsetSides(r, qel::sdAllSides, 2);
  }
  const int half = h / 2 - 1;
  r.Top += half < BorderWidth() ? half : h - BorderWidth();
  return qel::InsetSides(r, qel::sdAllSides, groupStyle_ == gsStandard ? 2 : 1);
}

TRect TQelCustomGroupBox::CaptionRect() const {
  if (Caption().isEmpty() || groupStyle_ == gsCustom) return {};
  const qel::TPoint extent = qel::Text().Extent(CaptionFont(), ShownCaption(Caption()));
  TRect c{0, 0, extent.X, extent.Y};
  if (groupStyle_ != gsTopLine) c = Moved(c, 8, 0);
  if (layoutDirection() == Qt::RightToLeft) c = Moved(c, width() - 8 - c.Right, 0);
  return c;
}

void TQelCustomGroupBox::ApplyControllerFrame() {
  if (groupStyle_ == gsCustom) TQelCustomPanel::ApplyControllerFrame();
}

void TQelCustomGroupBox::PaintAll(qel::Canvas& canvas) {
  if (groupStyle_ == gsCustom) {
    TQelCustomPanel::PaintAll(canvas);
    return;
  }
  canvas.Font = CaptionFont();
  const int top = qel::Text().Extent(canvas.Font, QStringLiteral("Pp")).Y / 2 - 1;
  const TRect c = CaptionRect();
  const TRect frame{0, top, width(), height()};
  if (Transparent()) {
    PaintAround(canvas, WholeRect(), c, [&] { PaintFrame(canvas, frame); });
  } else {
    canvas.FillRect(WholeRect(), Color());
    PaintFrame(canvas, frame);
  }
  if (c.IsEmpty()) return;
  if (!Transparent()) canvas.FillRect(c, Color());
  canvas.Brush.Clear = true;
  // Both copies of a disabled caption are drawn whole: only the frame
  // leaves the caption's place alone.
  const unsigned flags = qel::tfLeft | qel::tfSingleLine;
  if (!isEnabled()) {
    canvas.Font.Color = clBtnHighlight;
    canvas.TextRect(Moved(c, 1, 1), Caption(), flags);
    canvas.Font.Color = clBtnShadow;
  }
  canvas.TextRect(c, Caption(), flags);
  canvas.Brush.Clear = false;
}

void TQelCustomGroupBox::PaintFrame(qel::Canvas& canvas, const TRect& f) {
  const TColor a = AdjustColorBy(FlatColor(), FlatColorAdjustment());
  const qel::TFrameStyleEx outer = BorderOuter();
  canvas.Pen.Color = a;
  canvas.Pen.Clear = false;
  switch (groupStyle_) {
    case gsStandard:
      if (outer == qel::fsNone)
        qel::PaintFrameStyleBorder(canvas, f, qel::fsGroove, qel::sdAllSides);
      else if (outer == qel::fsFlat || outer == qel::fsFlatBold)
        qel::PaintBevelLines(canvas, f, a, qel::sdAllSides, outer == qel::fsFlat ? 1 : 2, a);
      else
        qel::PaintFrameStyleBorder(canvas, f, outer, qel::sdAllSides);
      break;
    case gsTopLine:
      if (outer == qel::fsNone) {
        qel::PaintFrameStyleBorder(canvas, f, qel::fsGroove, qel::sdTop);
      } else if (outer == qel::fsFlat || outer == qel::fsFlatBold) {
        Line(canvas, f.Left + 2, f.Top, f.Right - 2, f.Top);
        if (outer == qel::fsFlatBold) Line(canvas, f.Left + 2, f.Top + 1, f.Right - 2, f.Top + 1);
      } else {
        qel::PaintFrameStyleBorder(canvas, f, outer, qel::sdTop);
      }
      break;
    case gsFlat:
      // A rectangle with cut corners.
      Line(canvas, f.Left, f.Top + 2, f.Left, f.Bottom - 2);
      Line(canvas, f.Left + 2, f.Top, f.Right - 2, f.Top);
      Line(canvas, f.Right - 1, f.Top + 2, f.Right - 1, f.Bottom - 2);
      Line(canvas, f.Left + 2, f.Bottom - 1, f.Right - 2, f.Bottom - 1);
      canvas.SetPixel(f.Left + 1, f.Top + 1, a);
      canvas.SetPixel(f.Right - 2, f.Top + 1, a);
      canvas.SetPixel(f.Right - 2, f.Bottom - 2, a);
      canvas.SetPixel(f.Left + 1, f.Bottom - 2, a);
      break;
    case gsCustom: break;
  }
}

void TQelCustomGroupBox::CaptionChanged() {
  if (shortcutId_ != 0) releaseShortcut(shortcutId_);
  shortcutId_ = 0;
  const QKeySequence key = QKeySequence::mnemonic(Caption());
  if (!key.isEmpty()) shortcutId_ = grabShortcut(key);
}

bool TQelCustomGroupBox::event(QEvent* e) {
  if (e->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(e)->shortcutId() == shortcutId_) {
    if (isEnabled() && isVisible()) {
      // The first child the focus chain reaches inside the box.
      for (QWidget* w = nextInFocusChain(); w && w != this; w = w->nextInFocusChain())
        if (isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisible()) {
          w->setFocus(Qt::ShortcutFocusReason);
          break;
        }
    }
    return true;
  }
  return TQelCustomPanel::event(e);
}

void TQelCustomGroupBox::changeEvent(QEvent* e) {
  TQelCustomPanel::changeEvent(e);
  if (e->type() == QEvent::FontChange) update();
}

// --- The background. ---

TQelCustomBackground::TQelCustomBackground(QWidget* parent)
    : QWidget(parent), StyledControl(this), startRgb_(ColorToRGB(startColor_)), stopRgb_(ColorToRGB(stopColor_)) {
  resize(200, 100);
  setMinimumSize(5, 5);
  lower();
}

void TQelCustomBackground::refresh() {
  painted_.reset();
  StyledControl::refresh();
}

void TQelCustomBackground::SetActive(bool v) { assign(active_, v); }

void TQelCustomBackground::SetFrameStyle(qel::TFrameStyle v) { assign(frameStyle_, v); }

void TQelCustomBackground::SetFrameColor(TColor v) { assign(frameColor_, v); }

void TQelCustomBackground::SetGradientColorStart(TColor v) {
  if (ColorToRGB(v) == startRgb_) return;
  startColor_ = v;
  startRgb_ = ColorToRGB(v);
  InvalidateArea();
}

void TQelCustomBackground::SetGradientColorStop(TColor v) {
  if (ColorToRGB(v) == stopRgb_) return;
  stopColor_ = v;
  stopRgb_ = ColorToRGB(v);
  InvalidateArea();
}

void TQelCustomBackground::SetGradientDirection(qel::TGradientDirection v) { assign(gradientDirection_, v); }

void TQelCustomBackground::SetGradientSmoothFactor(qel::TSmoothFactor v) {
  assign(smoothFactor_, std::clamp<qel::TSmoothFactor>(v, 1, 8));
}

void TQelCustomBackground::SetImage(const QImage& v) {
  image_ = v;
  if (showImage_) InvalidateArea();
}

void TQelCustomBackground::SetImageStyle(TImageStyle v) {
  if (v == imageStyle_) return;
  imageStyle_ = v;
  if (showImage_) InvalidateArea();
}

void TQelCustomBackground::SetTexture(const QImage& v) {
  texture_ = v;
  if (showTexture_) InvalidateArea();
}

void TQelCustomBackground::SetShowGradient(bool v) {
  if (v == showGradient_) return;
  showGradient_ = v;
  if (v)
    SetShowTexture(false);
  else if (!showImage_)
    SetShowTexture(true);
  InvalidateArea();
}

void TQelCustomBackground::SetShowImage(bool v) { assign(showImage_, v); }

void TQelCustomBackground::SetShowTexture(bool v) {
  if (v == showTexture_) return;
  showTexture_ = v;
  SetShowGradient(!v);
  InvalidateArea();
}

bool TQelCustomBackground::event(QEvent* e) {
  const bool done = QWidget::event(e);
  // Under every other control of its parent.
  if (e->type() == QEvent::ParentChange) lower();
  return done;
}

TRect TQelCustomBackground::ImagePlace(TImageStyle style, int pictureWidth, int pictureHeight, int width, int height) {
  switch (style) {
    case isCenter: {
      // Division truncating toward zero, for pictures larger than the background too.
      const int x = (width - pictureWidth) / 2, y = (height - pictureHeight) / 2;
      return {x, y, x + pictureWidth, y + pictureHeight};
    }
    case isFill: {
      if (pictureWidth <= 0 || pictureHeight <= 0) return {};
      const double a = double(pictureHeight) / pictureWidth, c = double(height) / width;
      if (a <= c) return {0, 0, width, int(width * a)};
      return {0, 0, int(height / a), height};
    }
    case isStretch: return {0, 0, width, height};
    case isClip:
    case isTiled: break;
  }
  return {0, 0, pictureWidth, pictureHeight};
}

qel::Canvas TQelCustomBackground::Paint() {
  qel::Canvas canvas = qel::CanvasFor(this);
  PaintAll(canvas);
  return canvas;
}

void TQelCustomBackground::paintEvent(QPaintEvent*) {
  // A see-through control above repaints the background under it: the
  // layers are composed once until something changes.
  if (!painted_ || painted_->Width() != width() || painted_->Height() != height() ||
      painted_->Ratio() != qel::RatioFor(this))
    painted_ = Paint();
  QPainter p(this);
  qel::ShowCanvas(p, *painted_);
}

void TQelCustomBackground::PaintAll(qel::Canvas& canvas) {
  const int w = width(), h = height();
  qel::Canvas layers(w, h);
  if (showTexture_) PaintTexture(layers, texture_);
  if (showGradient_) PaintGradient(layers);
  if (showImage_) PaintImage(layers, image_);
  // The layers sit inside the frame; what passes the right and bottom edges is cut off.
  const int x = frameStyle_ == qel::fsNone ? 0 : BorderInset(frameStyle_, 1);
  canvas.CopyRect({x, x, x + w, x + h}, layers, {0, 0, w, h});
  if (frameStyle_ == qel::fsFlat)
    qel::PaintEdgeLines(canvas, {0, 0, w, h}, frameColor_, qel::sdAllSides, frameColor_);
  else
    qel::PaintFrameStyleBorder(canvas, {0, 0, w, h}, frameStyle_, qel::sdAllSides);
}

void TQelCustomBackground::PaintGradient(qel::Canvas& canvas) {
  if (!active_ || (showImage_ && (imageStyle_ == isStretch || imageStyle_ == isTiled))) return;
  qel::PaintGradientRect(canvas, {0, 0, width(), height()}, gradientDirection_, smoothFactor_, stopRgb_, startRgb_);
}

void TQelCustomBackground::PaintImage(qel::Canvas& canvas, const QImage& picture) {
  if (picture.isNull()) return;
  const int w = width(), h = height(), pw = picture.width(), ph = picture.height();
  const TRect place = ImagePlace(imageStyle_, pw, ph, w, h);
  switch (imageStyle_) {
    case isCenter:
    case isClip: canvas.DrawImage(place.Left, place.Top, picture); break;
    case isFill:
    case isStretch:
      if (place.IsEmpty()) return;
      canvas.DrawImage(place.Left, place.Top,
                       picture.scaled(place.Width(), place.Height(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
      break;
    case isTiled:
      canvas.DrawImage(0, 0, picture);
      qel::ReplicateBlock(canvas, 0, 0, qel::CopyMode::Copy, ph, pw, h, w);
      break;
  }
}

void TQelCustomBackground::PaintTexture(qel::Canvas& canvas, const QImage& picture) {
  if (picture.isNull()) return;
  qel::Canvas tile(picture.width(), picture.height());
  tile.DrawImage(0, 0, picture);
  qel::TileGraphic(canvas, tile, {0, 0, width(), height()});
}
