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

}  // namespace

Canvas::Canvas(int width, int height, bool seeThrough, int devicePixelRatio)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      ratio_(std::max(devicePixelRatio, 1)),
      image_(width_ * ratio_, height_ * ratio_,
             seeThrough ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32) {
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
  saved_.clear();
  origin_ = {};
  ResetClip();
}

void Canvas::ResetClip() { clip_ = QRegion(0, 0, width_, height_); }

void Canvas::Record(std::string op, std::vector<TPoint> points, TColor color) {
  if (recorder_) recorder_->push_back({std::move(op), std::move(points), color});
}

std::uint32_t Canvas::DevicePixel(int x, int y) const {
  return reinterpret_cast<const std::uint32_t*>(image_.constScanLine(y * ratio_))[x * ratio_];
}

void Canvas::PutPixel(int x, int y, std::uint32_t rgb) {
  if (!clip_.contains(QPoint(x, y))) return;
  for (int dy = 0; dy < ratio_; ++dy) {
    auto* line = reinterpret_cast<std::uint32_t*>(image_.scanLine(y * ratio_ + dy));
    for (int dx = 0; dx < ratio_; ++dx) line[x * ratio_ + dx] = rgb;
  }
}

std::uint32_t Canvas::BrushAt(int x, int y) const {
  if (!Brush.HasPattern) return ToDevice(Brush.Color);
  const bool set = (Brush.Pattern[std::size_t(y & 7)] >> (7 - (x & 7))) & 1;
  return ToDevice(set ? Brush.Color : Brush.PatternBack);
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
  // Bresenham without the end point, as the old drawing code expects.
  int cx = from.X, cy = from.Y;
  const int dx = std::abs(x - cx), sx = cx < x ? 1 : -1;
  const int dy = -std::abs(y - cy), sy = cy < y ? 1 : -1;
  int err = dx + dy;
  while (cx != x || cy != y) {
    PutPixel(cx + origin_.X, cy + origin_.Y, rgb);
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, cx += sx;
    if (e2 <= dx) err += dx, cy += sy;
  }
}

void Canvas::FillRect(const TRect& r) {
  Record("FillRect", {{r.Left, r.Top}, {r.Right, r.Bottom}}, Brush.Color);
  if (Brush.Clear) return;
  for (int y = std::max(r.Top + origin_.Y, 0); y < std::min(r.Bottom + origin_.Y, height_); ++y)
    for (int x = std::max(r.Left + origin_.X, 0); x < std::min(r.Right + origin_.X, width_); ++x)
      PutPixel(x, y, BrushAt(x, y));
}

void Canvas::FillRect(const TRect& r, TColor color) {
  const CanvasBrush keep = Brush;
  Brush = CanvasBrush{};
  Brush.Color = color;
  FillRect(r);
  Brush = keep;
}

void Canvas::Polygon(const std::vector<TPoint>& points) {
  Record("Polygon", points, Brush.Color);
  if (Brush.Clear || points.size() < 3) return;
  // Rasterised at logical resolution on a mask, then filled through the
  // clip, so a ratio of 2 gives whole 2 x 2 pixels.
  QImage mask(width_, height_, QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter p(&mask);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPolygon poly;
    for (const TPoint& pt : points) poly << QPoint(pt.X + origin_.X, pt.Y + origin_.Y);
    p.drawPolygon(poly, Qt::WindingFill);
  }
  for (int y = 0; y < height_; ++y) {
    const uchar* line = mask.constScanLine(y);
    for (int x = 0; x < width_; ++x)
      if (line[x]) PutPixel(x, y, BrushAt(x, y));
  }
}

TColor Canvas::Pixel(int x, int y) const {
  x += origin_.X;
  y += origin_.Y;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return clNone;
  return QRgbToColor(DevicePixel(x, y));
}

void Canvas::SetPixel(int x, int y, TColor color) {
  x += origin_.X;
  y += origin_.Y;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  PutPixel(x, y, ToDevice(color));
}

std::uint32_t Canvas::RawPixel(int x, int y) const {
  x += origin_.X;
  y += origin_.Y;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return DevicePixel(x, y);
}

void Canvas::SetRawPixel(int x, int y, std::uint32_t argb) {
  x += origin_.X;
  y += origin_.Y;
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  PutPixel(x, y, argb);
}

template <class Put>
void Canvas::ForEachStretched(const TRect& dest, const Canvas& src, const TRect& srcRect, Put put) {
  if (dest.IsEmpty() || srcRect.IsEmpty()) return;
  const int dw = dest.Width(), dh = dest.Height();
  for (int j = 0; j < dh; ++j) {
    const int y = dest.Top + j + origin_.Y;
    const int sy = srcRect.Top + j * srcRect.Height() / dh + src.origin_.Y;
    if (y < 0 || y >= height_ || sy < 0 || sy >= src.height_) continue;
    for (int i = 0; i < dw; ++i) {
      const int x = dest.Left + i + origin_.X;
      const int sx = srcRect.Left + i * srcRect.Width() / dw + src.origin_.X;
      if (x < 0 || x >= width_ || sx < 0 || sx >= src.width_) continue;
      put(x, y, src.DevicePixel(sx, sy) | 0xFF000000u);
    }
  }
}

void Canvas::CopyRect(const TRect& dest, const Canvas& src, const TRect& srcRect, CopyMode mode) {
  Record("CopyRect", {{dest.Left, dest.Top}, {dest.Right, dest.Bottom}}, TColor(mode));
  ForEachStretched(dest, src, srcRect, [&](int x, int y, std::uint32_t s) {
    PutPixel(x, y, Combine(DevicePixel(x, y) | 0xFF000000u, s, mode) | 0xFF000000u);
  });
}

void Canvas::CopyRectKeyed(const TRect& dest, const Canvas& src, const TRect& srcRect, TColor key) {
  Record("CopyRectKeyed", {{dest.Left, dest.Top}, {dest.Right, dest.Bottom}}, key);
  const std::uint32_t keyRgb = ToDevice(key);
  ForEachStretched(dest, src, srcRect, [&](int x, int y, std::uint32_t s) {
    if (s != keyRgb) PutPixel(x, y, s);
  });
}

void Canvas::DrawImage(int x, int y, const QImage& image) {
  Record("DrawImage", {{x, y}}, clNone);
  QPainter p(&image_);
  p.setClipRegion(clip_);
  p.translate(origin_.X, origin_.Y);
  p.drawImage(QPoint(x, y), image);
}

void Canvas::TextOut(int x, int y, const QString& text) {
  const TPoint size = Text().Extent(Font, text);
  unsigned flags = tfLeft | tfSingleLine | tfNoPrefix;
  if ((TextAlign & taCenter) == taCenter)
    flags |= tfAnchorCenter;
  else if (TextAlign & taRight)
    flags |= tfAnchorRight;
  if ((TextAlign & taBaseline) == taBaseline) flags |= tfAnchorBaseline;
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
}

void Canvas::IntersectClipRect(const TRect& r) {
  Record("IntersectClipRect", {{r.Left, r.Top}, {r.Right, r.Bottom}}, clNone);
  clip_ &= QRegion(r.Left + origin_.X, r.Top + origin_.Y, std::max(r.Width(), 0), std::max(r.Height(), 0));
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
    p.setClipRegion(canvas.clip_);
    p.translate(canvas.origin_.X, canvas.origin_.Y);
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
