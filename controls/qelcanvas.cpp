#include "controls/qelcanvas.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cstdlib>

namespace qel {

namespace {

std::uint32_t ToDevice(TColor c) { return ColorToQRgb(c); }

std::uint32_t Combine(std::uint32_t dest, std::uint32_t src, CopyMode mode) {
  switch (mode) {
    case CopyMode::SrcAnd: return dest & src;
    case CopyMode::SrcPaint: return dest | src;
    case CopyMode::MergePaint: return ~src | dest;
    case CopyMode::SrcInvert: return dest ^ src;
    case CopyMode::Copy: break;
  }
  return src;
}

// Rows apart: any order gives the same pixels.
void OpaqueCopy(std::uint32_t* __restrict to, const std::uint32_t* __restrict from, int n) {
  for (int i = 0; i < n; ++i) to[i] = from[i] | 0xFF000000u;
}

}  // namespace

Canvas::Canvas(int width, int height, bool seeThrough, int devicePixelRatio)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      ratio_(std::max(devicePixelRatio, 1)),
      image_(width_ * ratio_, height_ * ratio_,
             seeThrough ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32),
      held_{0, 0, width_, height_} {
  image_.setDevicePixelRatio(ratio_);
  image_.fill(seeThrough ? 0u : 0xFFFFFFFFu);
  ResetClip();
}

void Canvas::Resize(int width, int height) {
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  image_ = QImage(width_ * ratio_, height_ * ratio_, image_.format());
  image_.setDevicePixelRatio(ratio_);
  image_.fill(image_.hasAlphaChannel() ? 0u : 0xFFFFFFFFu);
  held_ = {0, 0, width_, height_};
  saved_.clear();
  origin_ = {};
  ResetClip();
}

void Canvas::ResetClip() {
  clip_ = QRegion(0, 0, width_, height_);
  ClipChanged();
}

void Canvas::ClipChanged() {
  drawClip_ = clip_ & QRegion(ToQRect(held_));
  drawIsRect_ = drawClip_.rectCount() <= 1;
  drawRect_ = ToTRect(drawClip_.boundingRect());
}

Canvas Canvas::Layer(const TRect& area) const {
  Canvas layer = *this;
  const QRect part = area.IsEmpty() ? QRect() : ToQRect(area) & ToQRect(held_);
  layer.held_ = part.isEmpty() ? TRect{} : ToTRect(part);
  const QRect device(part.x() - held_.Left, part.y() - held_.Top, part.width(), part.height());
  layer.image_ = image_.copy(QRect(device.topLeft() * ratio_, device.size() * ratio_));
  layer.image_.setDevicePixelRatio(ratio_);
  layer.ClipChanged();
  return layer;
}

void Canvas::TakeLayer(const Canvas& layer, const QRegion& region) {
  QPainter p(&image_);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  if (held_.Left || held_.Top) p.translate(-held_.Left, -held_.Top);
  p.setClipRegion(region & QRegion(ToQRect(layer.held_)));
  p.drawImage(layer.held_.Left, layer.held_.Top, layer.image_);
}

void Canvas::Record(std::string op, std::vector<TPoint> points, TColor color) {
  if (recorder_) recorder_->push_back({std::move(op), std::move(points), color});
}

std::uint32_t Canvas::DevicePixel(int x, int y) const {
  return reinterpret_cast<const std::uint32_t*>(
      image_.constScanLine((y - held_.Top) * ratio_))[(x - held_.Left) * ratio_];
}

std::uint32_t* Canvas::RowAt(int y) {
  return reinterpret_cast<std::uint32_t*>(image_.scanLine((y - held_.Top) * ratio_));
}

void Canvas::PutSpan(int y, int left, int right, std::uint32_t rgb) {
  std::uint32_t* row = RowAt(y);
  const qsizetype stride = Stride();
  for (int dy = 0; dy < ratio_; ++dy, row += stride)
    std::fill(row + (left - held_.Left) * ratio_, row + (right - held_.Left) * ratio_, rgb);
}

void Canvas::PutBlock(std::uint32_t* row, qsizetype stride, int x, std::uint32_t rgb) const {
  std::uint32_t* at = row + (x - held_.Left) * ratio_;
  for (int dy = 0; dy < ratio_; ++dy, at += stride)
    for (int dx = 0; dx < ratio_; ++dx) at[dx] = rgb;
}

void Canvas::PutPixel(int x, int y, std::uint32_t rgb) {
  if (InClip(x, y)) PutBlock(RowAt(y), Stride(), x, rgb);
}

std::uint32_t Canvas::BrushAt(int x, int y) const {
  if (!Brush.HasPattern) return ToDevice(Brush.Color);
  const bool set = (Brush.Pattern[std::size_t(y & 7)] >> (7 - (x & 7))) & 1;
  return ToDevice(set ? Brush.Color : Brush.PatternBack);
}

void Canvas::BeginPainter(QPainter& p) const {
  if (held_.Left || held_.Top) p.translate(-held_.Left, -held_.Top);
  p.setClipRegion(clip_);
  p.translate(origin_.X, origin_.Y);
}

void Canvas::MoveTo(int x, int y) {
  pen_ = {x, y};
  Record("MoveTo", {pen_}, clNone);
}

void Canvas::LineTo(int x, int y) {
  const TPoint from = pen_;
  pen_ = {x, y};
  Record("LineTo", {from, pen_}, Pen.Color);
  if (Pen.Clear) return;
  const std::uint32_t rgb = ToDevice(Pen.Color);
  if (from.Y == y && from.X != x) {
    // A row: the span from the start up to the end point, through each
    // clip rectangle.
    const int left = std::min(from.X, x + 1) + origin_.X, right = std::max(from.X + 1, x) + origin_.X;
    const int row = y + origin_.Y;
    for (const QRect& part : drawClip_) {
      const int l = std::max(left, part.left()), r = std::min(right, part.left() + part.width());
      if (row >= part.top() && row < part.top() + part.height() && l < r) PutSpan(row, l, r, rgb);
    }
    return;
  }
  // Bresenham without the end point, as the old drawing code expects.
  std::uint32_t* const bits = reinterpret_cast<std::uint32_t*>(image_.bits());
  const qsizetype stride = Stride();
  int cx = from.X, cy = from.Y;
  const int dx = std::abs(x - cx), sx = cx < x ? 1 : -1;
  const int dy = -std::abs(y - cy), sy = cy < y ? 1 : -1;
  int err = dx + dy;
  while (cx != x || cy != y) {
    const int px = cx + origin_.X, py = cy + origin_.Y;
    if (InClip(px, py)) PutBlock(bits + (py - held_.Top) * ratio_ * stride, stride, px, rgb);
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, cx += sx;
    if (e2 <= dx) err += dx, cy += sy;
  }
}

void Canvas::FillRect(const TRect& r) {
  Record("FillRect", {{r.Left, r.Top}, {r.Right, r.Bottom}}, Brush.Color);
  if (Brush.Clear || r.IsEmpty()) return;
  const QRect target = ToQRect(Moved(r, origin_.X, origin_.Y));
  // Clip rectangles never overlap, so each pixel is written once.
  for (const QRect& part : drawClip_) {
    const TRect f = ToTRect(part & target);
    if (f.IsEmpty()) continue;
    for (int y = f.Top; y < f.Bottom; ++y) {
      if (!Brush.HasPattern) {
        PutSpan(y, f.Left, f.Right, ToDevice(Brush.Color));
        continue;
      }
      std::uint32_t* row = RowAt(y);
      const qsizetype stride = Stride();
      for (int x = f.Left; x < f.Right; ++x) PutBlock(row, stride, x, BrushAt(x, y));
    }
  }
}

void Canvas::FillRect(const TRect& r, TColor color) {
  const CanvasBrush keep = Brush;
  Brush = CanvasBrush{};
  Brush.Color = color;
  FillRect(r);
  Brush = keep;
}

namespace {

// Qt's aliased winding fill of the points, moved by (dx, dy).
void FillPolygon(QPainter& p, const std::vector<TPoint>& points, int dx, int dy) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  QPolygon poly;
  poly.reserve(qsizetype(points.size()));
  for (const TPoint& pt : points) poly << QPoint(pt.X + dx, pt.Y + dy);
  p.drawPolygon(poly, Qt::WindingFill);
}

}  // namespace

// A solid polygon wholly inside a rectangular clip, on a canvas that holds
// all its pixels at one device pixel each, goes straight onto the image: the
// device is the one the mask would have, so Qt rasterises it alike.
bool Canvas::PolygonDirect(const std::vector<TPoint>& points, const TRect& bounds) {
  if (Brush.HasPattern || ratio_ != 1 || !drawIsRect_ || held_ != TRect{0, 0, width_, height_}) return false;
  const QRect inside = ToQRect(bounds) & QRect(0, 0, width_, height_);
  if (!inside.isEmpty() && !ToQRect(drawRect_).contains(inside)) return false;
  QPainter p(&image_);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  p.setBrush(QColor::fromRgba(ToDevice(Brush.Color)));
  FillPolygon(p, points, origin_.X, origin_.Y);
  return true;
}

void Canvas::Polygon(const std::vector<TPoint>& points) {
  Record("Polygon", points, Brush.Color);
  if (Brush.Clear || points.size() < 3) return;
  // The pixels the polygon may cover, with a margin: the mask's sides lie
  // where the canvas's do or clear of the polygon, so that whatever Qt does
  // at its device's sides happens where it did on a mask of the whole canvas.
  TRect bounds{points[0].X, points[0].Y, points[0].X, points[0].Y};
  for (const TPoint& pt : points) {
    bounds.Left = std::min(bounds.Left, pt.X);
    bounds.Top = std::min(bounds.Top, pt.Y);
    bounds.Right = std::max(bounds.Right, pt.X);
    bounds.Bottom = std::max(bounds.Bottom, pt.Y);
  }
  bounds = Moved({bounds.Left - 2, bounds.Top - 2, bounds.Right + 3, bounds.Bottom + 3}, origin_.X, origin_.Y);
  if (PolygonDirect(points, bounds)) return;
  // Rasterised at logical resolution on a mask, then filled through the
  // clip, so a ratio of 2 gives whole 2 x 2 pixels.
  const QRect area = ToQRect(bounds) & QRect(0, 0, width_, height_);
  const TRect shown = ToTRect(area & ToQRect(drawRect_));
  if (shown.IsEmpty()) return;
  QImage mask(area.size(), QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter p(&mask);
    p.setBrush(Qt::white);
    FillPolygon(p, points, origin_.X - area.x(), origin_.Y - area.y());
  }
  const qsizetype stride = Stride();
  for (int y = shown.Top; y < shown.Bottom; ++y) {
    const uchar* line = mask.constScanLine(y - area.y());
    std::uint32_t* row = RowAt(y);
    for (int x = shown.Left; x < shown.Right; ++x)
      if (line[x - area.x()] && InClip(x, y)) PutBlock(row, stride, x, BrushAt(x, y));
  }
}

TColor Canvas::Pixel(int x, int y) const {
  x += origin_.X;
  y += origin_.Y;
  if (!Holds(x, y)) return clNone;
  return QRgbToColor(DevicePixel(x, y));
}

void Canvas::SetPixel(int x, int y, TColor color) {
  x += origin_.X;
  y += origin_.Y;
  if (!Holds(x, y)) return;
  PutPixel(x, y, ToDevice(color));
}

std::uint32_t Canvas::RawPixel(int x, int y) const {
  x += origin_.X;
  y += origin_.Y;
  if (!Holds(x, y)) return 0;
  return DevicePixel(x, y);
}

void Canvas::SetRawPixel(int x, int y, std::uint32_t argb) {
  x += origin_.X;
  y += origin_.Y;
  if (!Holds(x, y)) return;
  PutPixel(x, y, argb);
}

template <class Put>
void Canvas::ForEachStretched(const TRect& dest, const Canvas& src, const TRect& srcRect, Put put) {
  if (dest.IsEmpty() || srcRect.IsEmpty()) return;
  // Detached before a source row is taken, so that a copy within the
  // canvas reads what it has already written.
  image_.bits();
  const qsizetype stride = Stride();
  const int dw = dest.Width(), dh = dest.Height();
  const int sw = srcRect.Width(), sh = srcRect.Height();
  // Unstretched, i * sw / dw is i.
  const auto pick = [](int k, int from, int to) { return from == to ? k : k * from / to; };
  for (int j = 0; j < dh; ++j) {
    const int y = dest.Top + j + origin_.Y;
    const int sy = srcRect.Top + pick(j, sh, dh) + src.origin_.Y;
    if (y < drawRect_.Top || y >= drawRect_.Bottom || sy < src.held_.Top || sy >= src.held_.Bottom) continue;
    const auto* from =
        reinterpret_cast<const std::uint32_t*>(src.image_.constScanLine((sy - src.held_.Top) * src.ratio_));
    std::uint32_t* row = RowAt(y);
    for (int i = 0; i < dw; ++i) {
      const int x = dest.Left + i + origin_.X;
      const int sx = srcRect.Left + pick(i, sw, dw) + src.origin_.X;
      if (sx < src.held_.Left || sx >= src.held_.Right || !InClip(x, y)) continue;
      put(row, stride, x, from[(sx - src.held_.Left) * src.ratio_] | 0xFF000000u);
    }
  }
}

void Canvas::CopyRect(const TRect& dest, const Canvas& src, const TRect& srcRect, CopyMode mode) {
  Record("CopyRect", {{dest.Left, dest.Top}, {dest.Right, dest.Bottom}}, TColor(mode));
  if (CopyRows(dest, src, srcRect, mode)) return;
  ForEachStretched(dest, src, srcRect, [&](std::uint32_t* row, qsizetype stride, int x, std::uint32_t s) {
    PutBlock(row, stride, x, Combine(row[(x - held_.Left) * ratio_] | 0xFF000000u, s, mode) | 0xFF000000u);
  });
}

// A plain copy, unstretched at one device pixel a pixel through a clip
// rectangle, row by row: each row left to right as pixel by pixel, so that
// a copy within the canvas reads what it has just written alike.
bool Canvas::CopyRows(const TRect& dest, const Canvas& src, const TRect& srcRect, CopyMode mode) {
  if (mode != CopyMode::Copy || ratio_ != 1 || src.ratio_ != 1 || !drawIsRect_ || dest.Width() != srcRect.Width() ||
      dest.Height() != srcRect.Height())
    return false;
  if (dest.IsEmpty()) return true;
  std::uint32_t* const bits = reinterpret_cast<std::uint32_t*>(image_.bits());
  const qsizetype stride = Stride();
  const int shiftX = srcRect.Left + src.origin_.X - dest.Left - origin_.X;
  const int shiftY = srcRect.Top + src.origin_.Y - dest.Top - origin_.Y;
  // Destination columns whose source is held too.
  const int left = std::max({dest.Left + origin_.X, drawRect_.Left, src.held_.Left - shiftX});
  const int right = std::min({dest.Right + origin_.X, drawRect_.Right, src.held_.Right - shiftX});
  if (left >= right) return true;
  for (int y = dest.Top + origin_.Y; y < dest.Bottom + origin_.Y; ++y) {
    const int sy = y + shiftY;
    if (y < drawRect_.Top || y >= drawRect_.Bottom || sy < src.held_.Top || sy >= src.held_.Bottom) continue;
    std::uint32_t* to = bits + (y - held_.Top) * stride + (left - held_.Left);
    const auto* from = reinterpret_cast<const std::uint32_t*>(src.image_.constScanLine(sy - src.held_.Top)) +
                       (left + shiftX - src.held_.Left);
    const int n = right - left;
    if (to < from + n && from < to + n) {
      // Onto itself: pixel by pixel, reading what it has written.
      for (int i = 0; i < n; ++i) to[i] = from[i] | 0xFF000000u;
    } else {
      OpaqueCopy(to, from, n);
    }
  }
  return true;
}

void Canvas::CopyRectKeyed(const TRect& dest, const Canvas& src, const TRect& srcRect, TColor key) {
  Record("CopyRectKeyed", {{dest.Left, dest.Top}, {dest.Right, dest.Bottom}}, key);
  const std::uint32_t keyRgb = ToDevice(key);
  ForEachStretched(dest, src, srcRect, [&](std::uint32_t* row, qsizetype stride, int x, std::uint32_t s) {
    if (s != keyRgb) PutBlock(row, stride, x, s);
  });
}

void Canvas::DrawImage(int x, int y, const QImage& image) {
  Record("DrawImage", {{x, y}}, clNone);
  QPainter p(&image_);
  BeginPainter(p);
  p.drawImage(QPoint(x, y), image);
}

void Canvas::TextOut(int x, int y, const QString& text) {
  const TPoint size = Text().Extent(Font, text);
  unsigned flags = tfLeft | tfSingleLine | tfNoPrefix;
  if ((TextAlignment & taCenter) == taCenter)
    flags |= tfAnchorCenter;
  else if (TextAlignment & taRight)
    flags |= tfAnchorRight;
  if ((TextAlignment & taBaseline) == taBaseline) flags |= tfAnchorBaseline;
  Text().Draw(*this, text, {x, y, x + size.X, y + size.Y}, Font, flags);
}

void Canvas::TextOutClipped(const TRect& clip, int x, int y, const QString& text) {
  Save();
  IntersectClipRect(clip);
  TextOut(x, y, text);
  Restore();
}

void Canvas::TextRect(const TRect& r, const QString& text, unsigned flags) {
  QString shown = text;
  if (!(flags & tfCalcRect) && !(flags & tfWordBreak)) {
    if (flags & tfPathEllipsis)
      shown = ElidePath(Font, text, r.Width());
    else if (flags & tfEndEllipsis)
      shown = ElideEnd(Font, text, r.Width());
  }
  Text().Draw(*this, shown, r, Font, flags);
}

namespace {

int TextWidth(const FontValue& font, const QString& text) { return Text().Extent(font, text).X; }

const QString kEllipsis = QStringLiteral("...");

}  // namespace

QString ElideEnd(const FontValue& font, const QString& text, int width) {
  if (TextWidth(font, text) <= width) return text;
  // Longest front that fits with the dots; at least the dots themselves.
  qsizetype keep = text.size();
  while (keep > 0 && TextWidth(font, text.left(keep) + kEllipsis) > width) --keep;
  return text.left(keep) + kEllipsis;
}

QString ElidePath(const FontValue& font, const QString& text, int width) {
  if (TextWidth(font, text) <= width) return text;
  const qsizetype slash = std::max(text.lastIndexOf(QLatin1Char('/')), text.lastIndexOf(QLatin1Char('\\')));
  if (slash < 0) return ElideEnd(font, text, width);
  // The last part stays whole; the front loses characters from its end.
  const QString last = text.mid(slash);
  qsizetype keep = slash;
  while (keep > 0 && TextWidth(font, text.left(keep) + kEllipsis + last) > width) --keep;
  if (keep == 0 && TextWidth(font, kEllipsis + last) > width) return ElideEnd(font, kEllipsis + last, width);
  return text.left(keep) + kEllipsis + last;
}

void Canvas::Save() {
  saved_.push_back({origin_, clip_});
  Record("Save", {}, clNone);
}

void Canvas::Restore() {
  Record("Restore", {}, clNone);
  if (saved_.empty()) return;
  origin_ = saved_.back().origin;
  clip_ = saved_.back().clip;
  saved_.pop_back();
  ClipChanged();
}

void Canvas::IntersectClipRect(const TRect& r) {
  Record("IntersectClipRect", {{r.Left, r.Top}, {r.Right, r.Bottom}}, clNone);
  clip_ &= QRegion(r.Left + origin_.X, r.Top + origin_.Y, std::max(r.Width(), 0), std::max(r.Height(), 0));
  ClipChanged();
}

void Canvas::SetOrigin(int x, int y) {
  origin_ = {x, y};
  Record("SetOrigin", {origin_}, clNone);
}

// Qt's own text, on the image through a painter.
class QtTextEngine : public TextEngine {
 public:
  static int QtFlags(unsigned flags) {
    int f = 0;
    f |= (flags & tfCenter) ? Qt::AlignHCenter : (flags & tfRight) ? Qt::AlignRight : Qt::AlignLeft;
    f |= (flags & tfVCenter) ? Qt::AlignVCenter : (flags & tfBottom) ? Qt::AlignBottom : Qt::AlignTop;
    if (flags & tfWordBreak) f |= Qt::TextWordWrap;
    if (flags & tfSingleLine) f |= Qt::TextSingleLine;
    if (flags & tfExpandTabs) f |= Qt::TextExpandTabs;
    if (!(flags & tfNoPrefix)) f |= Qt::TextShowMnemonic;
    return f;
  }
  void Draw(Canvas& canvas, const QString& text, const TRect& place, const FontValue& font, unsigned flags) override {
    canvas.Record("Text", {{place.Left, place.Top}, {place.Right, place.Bottom}}, font.Color);
    QPainter p(&canvas.image_);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    canvas.BeginPainter(p);
    // Captions are crisp: one colour, no blending into the background.
    QFont f = font.Font;
    f.setStyleStrategy(QFont::NoAntialias);
    p.setFont(f);
    p.setPen(QColor::fromRgb(ColorToQRgb(font.Color)));
    if (font.Escapement != 0 || (flags & (tfAnchorCenter | tfAnchorRight | tfAnchorBaseline))) {
      // Point text: offsets from the reference point along the turned line.
      const QFontMetrics m(f);
      const int width = m.horizontalAdvance(text);
      const int dx = (flags & tfAnchorCenter) ? -width / 2 : (flags & tfAnchorRight) ? -width : 0;
      const int dy = (flags & tfAnchorBaseline) ? 0 : m.ascent();
      p.translate(place.Left, place.Top);
      p.rotate(-font.Escapement / 10.0);
      p.drawText(QPoint(dx, dy), text);
      return;
    }
    p.drawText(ToQRect(place), QtFlags(flags), text);
  }
  TPoint Extent(const FontValue& font, const QString& text) override {
    const QFontMetrics m(font.Font);
    return {m.horizontalAdvance(text), m.height()};
  }
  TRect Measure(const FontValue& font, const QString& text, int width, unsigned flags) override {
    const QFontMetrics m(font.Font);
    const QRect r = m.boundingRect(QRect(0, 0, std::max(width, 1), 1 << 20), QtFlags(flags), text);
    return {0, 0, r.width(), r.height()};
  }
  int Height(const FontValue& font) override { return QFontMetrics(font.Font).height(); }
  int PixelSize(const FontValue& font) override { return QFontInfo(font.Font).pixelSize(); }
  bool IsOutlineFont(const FontValue& font) override {
    const QFontInfo info(font.Font);
    // Outlines only: a bitmap font that Qt can scale turns no better.
    return QFontDatabase::isSmoothlyScalable(info.family(), info.styleName());
  }
};

namespace {
TextEngine* g_engine = nullptr;
}

TextEngine& Text() {
  static QtTextEngine qt;
  return g_engine ? *g_engine : qt;
}

TextEngine* SetTextEngine(TextEngine* engine) {
  TextEngine* old = g_engine;
  g_engine = engine;
  return old;
}

void RecordingTextEngine::Draw(Canvas& canvas, const QString& text, const TRect& place, const FontValue& font,
                               unsigned flags) {
  canvas.Record("Text", {{place.Left, place.Top}, {place.Right, place.Bottom}}, font.Color);
  Drawn.push_back({text, place, font.Color, flags, font.Escapement});
}

TPoint RecordingTextEngine::Extent(const FontValue&, const QString& text) {
  return {int(text.size()) * CharWidth, LineHeight};
}

TRect RecordingTextEngine::Measure(const FontValue& font, const QString& text, int width, unsigned flags) {
  if (!(flags & tfWordBreak) || width < 1) {
    const TPoint e = Extent(font, text);
    return {0, 0, e.X, e.Y};
  }
  // Greedy word wrap at blanks; a word longer than the width stands alone.
  const int perLine = std::max(width / CharWidth, 1);
  int lines = 0, widest = 0, used = -1;
  for (const QString& word : text.split(QLatin1Char(' '))) {
    const int len = int(word.size());
    if (used >= 0 && used + 1 + len <= perLine) {
      used += 1 + len;
    } else {
      ++lines;
      used = len;
    }
    widest = std::max(widest, used);
  }
  return {0, 0, widest * CharWidth, lines * LineHeight};
}

}  // namespace qel
