#include "controls/qeldraw.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>
#include <cmath>

namespace qel {

int MergeCount(TSmoothFactor smoothing, bool box) {
  if (smoothing > 8) return (box ? 256 : 255) / smoothing;
  return std::max(int(smoothing) - 1, 0);
}

ColorAccumulator::ColorAccumulator(TColor start, TColor end, int steps) {
  const TColor a = ColorToRGB(start), b = ColorToRGB(end);
  const int from[3] = {GetRValue(a), GetGValue(a), GetBValue(a)};
  const int to[3] = {GetRValue(b), GetGValue(b), GetBValue(b)};
  for (int i = 0; i < 3; ++i) {
    channel[i] = from[i] << 16;
    // Integer division truncates toward zero, as the bands were tuned with.
    delta[i] = steps > 0 ? ((to[i] << 16) - (from[i] << 16)) / steps : 0;
  }
}

void ColorAccumulator::Step() {
  for (int i = 0; i < 3; ++i) channel[i] += delta[i];
}

TColor ColorAccumulator::Shown() const {
  return RGB((channel[0] >> 16) & 0xFF, (channel[1] >> 16) & 0xFF, (channel[2] >> 16) & 0xFF);
}

std::vector<Tile> TileRects(const TRect& area, int imageWidth, int imageHeight) {
  std::vector<Tile> tiles;
  // An empty image would step by 0 for ever.
  if (imageWidth < 1 || imageHeight < 1) return tiles;
  for (int y = area.Top; y < area.Bottom; y += imageHeight)
    for (int x = area.Left; x < area.Right; x += imageWidth) {
      const int w = std::min(imageWidth, area.Right - x), h = std::min(imageHeight, area.Bottom - y);
      tiles.push_back({{x, y, x + w, y + h}, w, h});
    }
  return tiles;
}

std::vector<BlockCopy> ReplicateSteps(int height, int width, int fullHeight, int fullWidth) {
  std::vector<BlockCopy> copies;
  // Doubling an empty block never covers anything.
  if (height < 1 || width < 1) return copies;
  height = std::min(height, fullHeight);
  width = std::min(width, fullWidth);
  bool down = height < fullHeight;
  while (height < fullHeight || width < fullWidth) {
    if (down) {
      copies.push_back({width, std::min(height, fullHeight - height), 0, height});
      height = std::min(2 * height, fullHeight);
      down = width >= fullWidth;
    } else {
      copies.push_back({std::min(width, fullWidth - width), height, width, 0});
      width = std::min(2 * width, fullWidth);
      down = height < fullHeight;
    }
  }
  return copies;
}

void BlitMaskedBitmap(Canvas& canvas, const Canvas& bitmap, const TRect& dest, TColor transparent,
                      const TRect& source) {
  canvas.CopyRectKeyed(dest, bitmap, source, transparent);
}

void BlitTransparentColor(Canvas& canvas, const Canvas& bitmap, const TRect& dest, TColor transparent,
                          const TRect& source) {
  const int dw = dest.Width(), dh = dest.Height();
  if (dw < 1 || dh < 1) return;
  const TRect whole{0, 0, dw, dh};
  Canvas colour(dw, dh);
  colour.CopyRect(whole, bitmap, source);
  // White where the key colour is; its inverse blacks those pixels out of
  // the colour copy, so the OR pass leaves the destination there.
  const TColor key = PaintRGB(transparent);
  Canvas mask(dw, dh), inverse(dw, dh);
  for (int y = 0; y < dh; ++y)
    for (int x = 0; x < dw; ++x) {
      const bool keyed = colour.Pixel(x, y) == key;
      mask.SetPixel(x, y, keyed ? clWhite : clBlack);
      inverse.SetPixel(x, y, keyed ? clBlack : clWhite);
    }
  if (key != clBlack) colour.CopyRect(whole, inverse, whole, CopyMode::SrcAnd);
  canvas.CopyRect(dest, mask, whole, CopyMode::SrcAnd);
  canvas.CopyRect(dest, colour, whole, CopyMode::SrcPaint);
}

void TileTransparentBitmap(Canvas& canvas, const Canvas& bitmap, const TRect& rect, TColor transparent) {
  for (const Tile& t : TileRects(rect, bitmap.Width(), bitmap.Height()))
    BlitTransparentColor(canvas, bitmap, t.dest, transparent, {0, 0, t.width, t.height});
}

void StretchTransparentBitmap(Canvas& canvas, const Canvas& bitmap, const TRect& rect, TColor transparent) {
  BlitTransparentColor(canvas, bitmap, rect, transparent, {0, 0, bitmap.Width(), bitmap.Height()});
}

void TileGraphic(Canvas& canvas, const Canvas& graphic, const TRect& rect) {
  for (const Tile& t : TileRects(rect, graphic.Width(), graphic.Height()))
    canvas.CopyRect(t.dest, graphic, {0, 0, t.width, t.height});
}

void ReplicateBlock(Canvas& canvas, int x, int y, CopyMode mode, int height, int width, int fullHeight, int fullWidth) {
  for (const BlockCopy& c : ReplicateSteps(height, width, fullHeight, fullWidth))
    canvas.CopyRect({x + c.toX, y + c.toY, x + c.toX + c.width, y + c.toY + c.height}, canvas,
                    {x, y, x + c.width, y + c.height}, mode);
}

void MirrorQuadrant(Canvas& canvas, int x, int y, CopyMode mode, int height, int width) {
  // Column i goes to width - 1 - i, then row j to height - 1 - j: symmetric
  // boxes at every width, odd or even.
  for (int i = 0; i < width / 2; ++i) {
    const int to = width - 1 - i;
    canvas.CopyRect({x + to, y, x + to + 1, y + (height + 1) / 2}, canvas, {x + i, y, x + i + 1, y + (height + 1) / 2},
                    mode);
  }
  for (int j = 0; j < height / 2; ++j) {
    const int to = height - 1 - j;
    canvas.CopyRect({x, y + to, x + width, y + to + 1}, canvas, {x, y + j, x + width, y + j + 1}, mode);
  }
}

namespace {

// One pass of the linear fill: bands from position p down to low.
void LinearPass(Canvas& canvas, bool horizontal, int p, int low, int merge, TColor start, TColor end) {
  ColorAccumulator colour(start, end, p - low + 1);
  do {
    const int bandStart = p;
    const TColor bandColour = colour.Shown();
    int steps = 0;
    do {
      colour.Step();
      --p;
      ++steps;
    } while ((colour.Shown() == bandColour || steps < merge + 1) && p >= low);
    canvas.FillRect(horizontal ? TRect{p, 0, bandStart, 8} : TRect{0, p, 8, bandStart}, bandColour);
  } while (p >= low);
}

void LinearGradient(Canvas& canvas, bool horizontal, int given, TSmoothFactor smoothing, TColor colorA, TColor colorB,
                    int extent) {
  if (extent < 1) return;
  const int merge = MergeCount(smoothing, false);
  LinearPass(canvas, horizontal, given < 0 ? extent : given + 1, 1, merge, colorA, colorB);
  if (given > 0) LinearPass(canvas, horizontal, extent, given + 2, merge, colorB, colorA);
}

void SolidPolygon(Canvas& canvas, TColor colour, std::vector<TPoint> points) {
  canvas.Brush = CanvasBrush{};
  canvas.Brush.Color = colour;
  canvas.Polygon(points);
}

}  // namespace

void PaintLinearGradient(Canvas& canvas, int x, int y, TSmoothFactor smoothing, TColor colorA, TColor colorB,
                         int extent) {
  if (x != 0)
    LinearGradient(canvas, true, x, smoothing, colorA, colorB, extent);
  else
    LinearGradient(canvas, false, y, smoothing, colorA, colorB, extent);
}

void PaintGradientBox(Canvas& canvas, int width, int height, TSmoothFactor smoothing, TColor colorA, TColor colorB,
                      int insetY, int insetX) {
  if (width < 1 || height < 1) return;
  int hx = (width - 1) >> 1, hy = (height - 1) >> 1;
  const int innerX = hx + 1, innerY = hy + 1;
  // An inset past the centre leaves the bar of colour A across the quarter.
  hx = std::max(hx - insetX, 0);
  hy = std::max(hy - insetY, 0);
  const int n = std::max(hx, hy) + 1;
  const int merge = MergeCount(smoothing, true);
  ColorAccumulator colour(colorA, colorB, n);
  std::int32_t x = std::int32_t(hx) << 16, y = std::int32_t(hy) << 16;
  const std::int32_t dx = (std::int32_t(hx) << 16) / n, dy = (std::int32_t(hy) << 16) / n;
  int prevX = innerX, prevY = innerY;
  int taken = 0;
  while (x >= 0 || y >= 0) {
    const TColor bandColour = colour.Shown();
    // A negative inset starts the rings outside the quarter: only what lies
    // inside is painted.
    const int px = std::min(x >> 16, innerX), py = std::min(y >> 16, innerY);
    if (py != prevY) canvas.FillRect({px, py, innerX, prevY}, bandColour);
    if (px != prevX) canvas.FillRect({px, prevY, prevX, innerY}, bandColour);
    prevX = px;
    prevY = py;
    // A half of 0 never goes below 0: the fill ends after its n steps.
    if (taken >= n) break;
    int steps = 0;
    do {
      colour.Step();
      x -= dx;
      y -= dy;
      ++steps;
      ++taken;
    } while ((colour.Shown() == bandColour || steps < merge + 1) && (x >= 0 || y >= 0) && taken < n);
  }
}

void PaintDiagonalGradient(Canvas& canvas, int width, int height, TSmoothFactor smoothing, TColor colorA,
                           TColor colorB) {
  if (width == 0 || height < 1) return;
  const bool right = width > 0;
  const int w = std::abs(width);
  const TColor start = right ? colorB : colorA, end = right ? colorA : colorB;
  const int x0 = right ? 0 : w, xf = right ? w : 0, dir = right ? 1 : -1;
  const int n = int(std::sqrt(double(w) * w + double(height) * height)) + 1;
  const int half = n / 2;
  const int merge = MergeCount(smoothing, false);
  ColorAccumulator colour(start, end, n);
  const std::int32_t xStep = (std::int32_t(w) << 16) / half, yStep = (std::int32_t(height) << 16) / half;

  // Bands of one phase; draw(bandColour, x, y, prevX, prevY, closing) makes
  // the polygon. Each phase restarts the positions at (x0, H).
  auto phase = [&](auto draw) {
    std::int32_t x = std::int32_t(x0) << 16, y = std::int32_t(height) << 16;
    int prevX = x0, prevY = height;
    while (true) {
      const TColor bandColour = colour.Shown();
      int steps = 0;
      do {
        colour.Step();
        x += dir * xStep;
        y -= yStep;
        ++steps;
      } while ((colour.Shown() == bandColour || steps < merge + 1) && y >= 0);
      const int px = x >> 16, py = y >> 16;
      if (y < 0) {
        if (prevY != 0 || prevX != xf) draw(bandColour, px, py, prevX, prevY, true);
        return;
      }
      if (px != prevX || py != prevY) draw(bandColour, px, py, prevX, prevY, false);
      prevX = px;
      prevY = py;
    }
  };
  // Phase 1: sweep lines from the start corner (x0, H) to the diagonal.
  phase([&](TColor c, int px, int py, int prevX, int prevY, bool closing) {
    if (closing)
      SolidPolygon(canvas, c, {{x0, 0}, {x0, prevY}, {prevX, height}, {xf, height}});
    else
      SolidPolygon(canvas, c, {{x0, py}, {x0, prevY}, {prevX, height}, {px, height}});
  });
  // Phase 2: from the diagonal to the far corner (xf, 0), colour continuing.
  phase([&](TColor c, int px, int py, int prevX, int prevY, bool closing) {
    SolidPolygon(canvas, c, {{px, 0}, {prevX, 0}, {xf, prevY}, {xf, closing ? 0 : py}});
  });
}

void PaintGradientRect(Canvas& canvas, const TRect& rect, TGradientDirection direction, TSmoothFactor smoothing,
                       TColor colorA, TColor colorB) {
  const int w = rect.Width(), h = rect.Height();
  if (w < 1 || h < 1) return;
  const TColor a = ColorToRGB(colorA), b = ColorToRGB(colorB);
  Canvas image(w, h);
  switch (direction) {
    case gdDiagonalUp:
    case gdDiagonalDown:
      if (a == b)
        image.FillRect({0, 0, w, h}, b);
      else
        PaintDiagonalGradient(image, direction == gdDiagonalUp ? w : -w, h, smoothing, a, b);
      break;
    case gdHorizontalEnd:
      LinearGradient(image, false, -1, smoothing, a, b, h);
      ReplicateBlock(image, 0, 0, CopyMode::Copy, h, 8, h, w);
      break;
    case gdHorizontalCenter:
      LinearGradient(image, false, h / 2, smoothing, a, b, h);
      ReplicateBlock(image, 0, 0, CopyMode::Copy, h, 8, h, w);
      break;
    case gdVerticalEnd:
      LinearGradient(image, true, -1, smoothing, a, b, w);
      ReplicateBlock(image, 0, 0, CopyMode::Copy, 8, w, h, w);
      break;
    case gdVerticalCenter:
      // The mode goes by direction, so a width of 1 still fills its column.
      LinearGradient(image, true, w / 2, smoothing, a, b, w);
      ReplicateBlock(image, 0, 0, CopyMode::Copy, 8, w, h, w);
      break;
    case gdHorizontalBox:
      PaintGradientBox(image, w, h, smoothing, a, b, 0, w / 4);
      MirrorQuadrant(image, 0, 0, CopyMode::Copy, h, w);
      break;
    case gdVerticalBox:
      PaintGradientBox(image, w, h, smoothing, a, b, h / 4, 0);
      MirrorQuadrant(image, 0, 0, CopyMode::Copy, h, w);
      break;
    case gdSquareBox:
      PaintGradientBox(image, w, h, smoothing, a, b, 0, 0);
      MirrorQuadrant(image, 0, 0, CopyMode::Copy, h, w);
      break;
    case gdBigSquareBox:
      PaintGradientBox(image, w, h, smoothing, a, b, h / 4, w / 4);
      MirrorQuadrant(image, 0, 0, CopyMode::Copy, h, w);
      break;
  }
  canvas.CopyRect(rect, image, {0, 0, w, h});
}

bool IsSeeThrough(const QWidget* widget) {
  return !widget->isWindow() && !widget->autoFillBackground() && !widget->testAttribute(Qt::WA_OpaquePaintEvent);
}

namespace {

// What a widget's own painting looks like over what lies beneath it, for
// area (widget coordinates; the image has area's size, white outside the
// widget). Only that area is rendered: a control repaints often, its parent
// is large.
QImage OwnImage(const QWidget* widget, int ratio, const QRect& area) {
  QImage image(area.size() * ratio, QImage::Format_RGB32);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::white);
  const QRect inside = area & widget->rect();
  if (inside.isEmpty()) return image;
  QWidget::RenderFlags flags = QWidget::DrawWindowBackground;
  if (IsSeeThrough(widget)) {
    // Rendered alone it would fill itself with its palette colour.
    flags = {};
    if (const QWidget* parent = widget->parentWidget()) {
      QPainter p(&image);
      p.drawImage(0, 0, OwnImage(parent, ratio, area.translated(widget->pos())));
    }
  }
  const_cast<QWidget*>(widget)->render(&image, inside.topLeft() - area.topLeft(), QRegion(inside), flags);
  return image;
}

}  // namespace

void PaintParentImage(const QWidget* control, Canvas& canvas) {
  const QWidget* parent = control->parentWidget();
  if (!parent) return;
  canvas.Save();
  const int x = control->x(), y = control->y();
  canvas.IntersectClipRect({-x, -y, parent->width() - x, parent->height() - y});
  canvas.DrawImage(0, 0, OwnImage(parent, canvas.Ratio(), QRect(x, y, canvas.Width(), canvas.Height())));
  canvas.Restore();
}

int RatioFor(const QWidget* widget) { return int(std::ceil(widget->devicePixelRatioF())); }

Canvas CanvasFor(const QWidget* widget) {
  return Canvas(widget->width(), widget->height(), IsSeeThrough(widget), RatioFor(widget));
}

void ShowCanvas(QPainter& p, const Canvas& canvas) {
  const QImage& image = canvas.Image();
  const int ratio = canvas.Ratio();
  // Device rows of a band, whole logical rows: one row at least, however
  // many device rows it covers.
  const int band = std::max(1, 16 / ratio) * ratio;
  for (int top = 0; top < image.height(); top += band)
    p.drawImage(QPointF(0, top / ratio), image, QRectF(0, top, image.width(), std::min(band, image.height() - top)));
}

FontValue MakeAngledFont(const FontValue& font, int angle) {
  FontValue angled = font;
  // Turned text knows two weights only.
  angled.Font.setWeight(font.Font.bold() ? QFont::Bold : QFont::Normal);
  angled.Escapement = angle * 10;
  return angled;
}

bool IsTrueTypeFont(const FontValue& font) { return Text().IsOutlineFont(font); }

int FontLineHeight(const FontValue& font) { return Text().Height(font) + 2; }

}  // namespace qel
