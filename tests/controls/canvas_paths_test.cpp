// The canvas's fast roads against plain references: polygons and fills
// through clips, origins and ratios pixel for pixel against QPainter's own
// aliased winding fill on a mask of the whole canvas tested pixel by pixel,
// and a layer against a copy of the whole canvas.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "controls/qelcanvas.h"
#include "controls/qeldraw.h"

namespace qel {
namespace {

using Points = std::vector<TPoint>;

struct Look {
  int width, height, ratio;
  TRect clip;  // logical, before the origin moves
  TPoint origin;
  bool pattern;
  bool seeThrough;
};

// A canvas with a picture on it, so that a pixel left alone shows.
Canvas Painted(const Look& s) {
  Canvas c(s.width, s.height, s.seeThrough, s.ratio);
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x) c.SetPixel(x, y, RGB(x * 7 % 256, y * 11 % 256, (x + y) % 3 ? 40 : 200));
  c.SetOrigin(s.origin.X, s.origin.Y);
  c.IntersectClipRect(s.clip);
  c.Brush.Color = RGB(250, 10, 130);
  if (s.pattern) {
    c.Brush.HasPattern = true;
    c.Brush.Pattern = {0x81, 0x42, 0x24, 0x18, 0xF0, 0x0F, 0xAA, 0x55};
    c.Brush.PatternBack = RGB(5, 90, 15);
  }
  return c;
}

// Empty when the images match, else the first device pixel that differs.
std::string FirstDifference(const QImage& got, const QImage& expected) {
  if (got.size() != expected.size()) return "size";
  for (int y = 0; y < got.height(); ++y)
    for (int x = 0; x < got.width(); ++x)
      if (got.pixel(x, y) != expected.pixel(x, y))
        return std::to_string(x) + "," + std::to_string(y) + ": " + std::to_string(got.pixel(x, y)) + " for " +
               std::to_string(expected.pixel(x, y));
  return {};
}

// The brush at an image pixel, as the canvas documents it.
std::uint32_t BrushPixel(const CanvasBrush& b, int x, int y) {
  if (!b.HasPattern) return ColorToQRgb(b.Color);
  const bool set = (b.Pattern[std::size_t(y & 7)] >> (7 - (x & 7))) & 1;
  return ColorToQRgb(set ? b.Color : b.PatternBack);
}

// The polygon as QPainter fills it on a mask of the whole canvas, then
// taken inside the clip pixel by pixel.
QImage ReferencePolygon(const Canvas& before, const Points& points) {
  QImage mask(before.Width(), before.Height(), QImage::Format_Grayscale8);
  mask.fill(0);
  {
    QPainter p(&mask);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPolygon poly;
    for (const TPoint& pt : points) poly << QPoint(pt.X + before.Origin().X, pt.Y + before.Origin().Y);
    p.drawPolygon(poly, Qt::WindingFill);
  }
  QImage out = before.Image().copy();
  const int r = before.Ratio();
  for (int y = 0; y < before.Height(); ++y)
    for (int x = 0; x < before.Width(); ++x) {
      if (!mask.constScanLine(y)[x] || !before.Clip().contains(QPoint(x, y))) continue;
      for (int dy = 0; dy < r; ++dy)
        for (int dx = 0; dx < r; ++dx) out.setPixel(x * r + dx, y * r + dy, BrushPixel(before.Brush, x, y));
    }
  return out;
}

const Look kSetups[] = {
    {40, 30, 1, {0, 0, 40, 30}, {0, 0}, false, false},   {40, 30, 1, {5, 4, 31, 22}, {0, 0}, false, false},
    {40, 30, 1, {-3, 2, 20, 40}, {6, -4}, false, true},  {40, 30, 1, {0, 0, 40, 30}, {0, 0}, true, false},
    {33, 21, 2, {0, 0, 33, 21}, {0, 0}, false, false},   {33, 21, 2, {3, 3, 30, 17}, {-2, 5}, true, true},
    {40, 30, 1, {10, 10, 10, 20}, {0, 0}, false, false},  // empty clip
};

// Shapes whose edges run through pixel centres, cross the canvas's sides,
// wind twice, or have nothing inside; then a deterministic crowd.
std::vector<Points> Shapes() {
  std::vector<Points> shapes = {
      {{1, 1}, {9, 1}, {9, 9}, {1, 9}},
      {{0, 0}, {39, 29}, {0, 29}},
      {{-15, -5}, {60, 12}, {20, 50}},
      {{5, 25}, {35, 3}, {38, 28}, {2, 6}},              // self-crossing
      {{20, 2}, {26, 26}, {6, 10}, {34, 10}, {14, 26}},  // star: the middle winds twice
      {{0, 8}, {0, 12}, {12, 30}, {8, 30}},              // a diagonal band as the gradients draw
      {{40, 0}, {40, 30}, {-1, 30}, {-1, 0}},            // the whole canvas and beyond
      {{3, 3}, {20, 20}, {30, 30}},                      // collinear
      {{7, 7}, {7, 7}, {7, 7}},                          // one point
      {{-30, -30}, {-10, -30}, {-20, -10}},              // outside
      {{2, 2}, {39, 3}, {3, 29}, {38, 28}, {20, 1}, {1, 20}},
  };
  std::mt19937 random(30);
  std::uniform_int_distribution<int> x(-12, 52), y(-12, 42), count(3, 7);
  for (int i = 0; i < 150; ++i) {
    Points p;
    for (int k = count(random); k > 0; --k) p.push_back({x(random), y(random)});
    shapes.push_back(p);
  }
  return shapes;
}

TEST(CanvasPaths, PolygonsMatchQPaintersFillOnTheWholeCanvas) {
  const std::vector<Points> shapes = Shapes();
  for (std::size_t s = 0; s < std::size(kSetups); ++s)
    for (std::size_t i = 0; i < shapes.size(); ++i) {
      Canvas c = Painted(kSetups[s]);
      const QImage expected = ReferencePolygon(c, shapes[i]);
      c.Polygon(shapes[i]);
      ASSERT_EQ(FirstDifference(c.Image(), expected), "") << "setup " << s << ", shape " << i;
    }
}

// Gradient bands on a large canvas take the road straight onto the image.
TEST(CanvasPaths, WideBandsMatchQPaintersFill) {
  const Look large{300, 170, 1, {0, 0, 300, 170}, {0, 0}, false, false};
  for (int k = 1; k < 40; ++k) {
    const int a = k * 300 / 40, b = (k + 1) * 300 / 40, ya = 170 - k * 170 / 40, yb = 170 - (k + 1) * 170 / 40;
    for (const Points& band :
         {Points{{0, yb}, {0, ya}, {a, 170}, {b, 170}}, Points{{a, 0}, {b, 0}, {300, ya}, {300, yb}}}) {
      Canvas c = Painted(large);
      const QImage expected = ReferencePolygon(c, band);
      c.Polygon(band);
      ASSERT_EQ(FirstDifference(c.Image(), expected), "") << "band " << k;
    }
  }
}

TEST(CanvasPaths, FillsMatchPixelByPixelThroughTheClip) {
  const TRect rects[] = {{0, 0, 40, 30}, {-5, -5, 100, 100}, {3, 2, 17, 29}, {12, 12, 13, 13}, {20, 5, 10, 9}};
  for (std::size_t s = 0; s < std::size(kSetups); ++s)
    for (const TRect& r : rects) {
      Canvas c = Painted(kSetups[s]);
      QImage expected = c.Image().copy();
      const int ratio = c.Ratio();
      for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x) {
          if (!c.Clip().contains(QPoint(x, y)) || !Contains(Moved(r, c.Origin().X, c.Origin().Y), QPoint(x, y)))
            continue;
          for (int d = 0; d < ratio * ratio; ++d)
            expected.setPixel(x * ratio + d % ratio, y * ratio + d / ratio, BrushPixel(c.Brush, x, y));
        }
      c.FillRect(r);
      ASSERT_EQ(FirstDifference(c.Image(), expected), "")
          << "setup " << s << ", rect " << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom;
    }
}

// Copies as the canvas made them pixel by pixel: row by row, each left to
// right, the source read through its origin just before each write, so that
// a copy onto itself further along repeats what it has written.
void ReferenceCopy(Canvas& c, const TRect& dest, const Canvas& src, const TRect& from) {
  const int dw = dest.Width(), dh = dest.Height(), sw = from.Width(), sh = from.Height();
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return;
  for (int j = 0; j < dh; ++j)
    for (int i = 0; i < dw; ++i) {
      const int sx = from.Left + i * sw / dw, sy = from.Top + j * sh / dh;
      if (src.Pixel(sx, sy) == clNone) continue;
      c.SetRawPixel(dest.Left + i, dest.Top + j, src.RawPixel(sx, sy) | 0xFF000000u);
    }
}

TEST(CanvasPaths, CopiesMatchPixelByPixel) {
  struct Copy {
    TRect dest, from;
    bool itself;
  };
  const Copy copies[] = {
      {{2, 3, 22, 13}, {0, 0, 20, 10}, false},
      {{-6, -4, 30, 20}, {-2, 0, 34, 24}, false},  // both sides beyond the images
      {{1, 0, 31, 1}, {0, 0, 30, 1}, true},        // one pixel on: the first one repeats
      {{0, 0, 30, 1}, {1, 0, 31, 1}, true},        // one pixel back
      {{5, 6, 25, 20}, {3, 4, 23, 18}, true},      // overlapping down and right
      {{3, 4, 23, 18}, {5, 6, 25, 20}, true},
      {{0, 10, 40, 20}, {0, 0, 40, 10}, true},
      {{2, 2, 32, 17}, {0, 0, 10, 5}, false},  // stretched
      {{4, 4, 9, 7}, {0, 0, 40, 30}, true},    // shrunk
      {{8, 8, 8, 20}, {0, 0, 5, 5}, false},    // empty
  };
  Canvas other(36, 26, true);
  for (int y = 0; y < 26; ++y)
    for (int x = 0; x < 36; ++x) other.SetRawPixel(x, y, qRgba(x * 5, 255 - y * 9, 60, 255 - x));
  for (std::size_t s = 0; s < std::size(kSetups); ++s)
    for (std::size_t k = 0; k < std::size(copies); ++k) {
      const Copy& cp = copies[k];
      Canvas c = Painted(kSetups[s]);
      Canvas expected = c;
      ReferenceCopy(expected, cp.dest, cp.itself ? expected : other, cp.from);
      c.CopyRect(cp.dest, cp.itself ? c : other, cp.from);
      ASSERT_EQ(FirstDifference(c.Image(), expected.Image()), "") << "setup " << s << ", copy " << k;
    }
}

// What a tab's painting does: a clip of its own, fills, polygons, lines,
// copies, pictures, text, single pixels and reads, a save and a restore.
constexpr TRect kTabRect{6, 4, 30, 20};

void PaintTabLike(Canvas& c, const Canvas& picture) {
  c.IntersectClipRect(kTabRect);
  c.Save();
  c.SetOrigin(c.Origin().X + 1, c.Origin().Y + 2);
  c.FillRect({0, 0, 40, 30}, RGB(1, 2, 3));
  c.Brush.HasPattern = true;
  c.Brush.Pattern = {0xF0, 0x0F, 0xF0, 0x0F, 0x81, 0x42, 0x24, 0x18};
  c.FillRect({8, 3, 22, 12});
  c.Polygon({{4, 2}, {28, 9}, {7, 18}});
  c.Restore();
  c.Pen.Color = RGB(200, 0, 0);
  c.MoveTo(0, 0);
  c.LineTo(39, 29);
  c.CopyRect({12, 10, 20, 16}, picture, {0, 0, 4, 3});
  c.CopyRect({14, 5, 20, 9}, c, {8, 12, 14, 16}, CopyMode::SrcInvert);
  c.CopyRectKeyed({20, 14, 24, 17}, picture, {0, 0, 4, 3}, clWhite);
  QImage image(5, 4, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(c.Ratio());
  image.fill(qRgba(0, 0, 90, 120));
  c.DrawImage(25, 15, image);
  c.SetPixel(7, 5, c.Pixel(20, 12));
  c.SetRawPixel(8, 5, c.RawPixel(21, 13));
  c.SetPixel(2, 2, clBlue);  // outside the clip
  c.Font.Color = RGB(0, 120, 0);
  c.TextOut(9, 8, QStringLiteral("Tab"));
  c.TextRect({6, 12, 30, 20}, QStringLiteral("&Caption"), tfCenter | tfSingleLine);
}

TEST(CanvasPaths, ALayerDrawsAsACopyOfTheWholeCanvas) {
  Canvas picture(4, 3);
  picture.FillRect({0, 0, 2, 3}, clWhite);
  picture.FillRect({2, 0, 4, 3}, RGB(9, 200, 90));
  const QRegion shape = QRegion(7, 4, 22, 16, QRegion::Ellipse) | QRegion(0, 18, 40, 3);
  for (std::size_t s = 0; s < std::size(kSetups); ++s) {
    // The tab's rectangle, or more: the layer holds what the painting reads.
    const TRect tab = Moved(kTabRect, kSetups[s].origin.X, kSetups[s].origin.Y);
    const TRect areas[] = {tab, {0, 0, 40, 30}, {-10, -10, 60, 60}, {tab.Left - 3, tab.Top, 60, tab.Bottom + 1}};
    for (const TRect& area : areas) {
      std::vector<CanvasCall> copyCalls, layerCalls;
      // As the tabs drew before: on a copy of everything, taken back inside
      // the shape.
      Canvas expected = Painted(kSetups[s]);
      expected.SetRecorder(&copyCalls);
      {
        Canvas copy = expected;
        PaintTabLike(copy, picture);
        QPainter p(&expected.Image());
        p.setCompositionMode(QPainter::CompositionMode_Source);
        p.setClipRegion(shape & expected.Clip() & QRegion(ToQRect(area)));
        p.drawImage(0, 0, copy.Image());
      }
      Canvas c = Painted(kSetups[s]);
      c.SetRecorder(&layerCalls);
      Canvas layer = c.Layer(area);
      EXPECT_EQ(layer.Width(), c.Width());
      EXPECT_EQ(layer.Origin(), c.Origin());
      EXPECT_EQ(layer.Clip(), c.Clip());
      PaintTabLike(layer, picture);
      c.TakeLayer(layer, shape & c.Clip());
      ASSERT_EQ(FirstDifference(c.Image(), expected.Image()), "") << "setup " << s << ", area " << area.Left;
      EXPECT_EQ(layerCalls, copyCalls);
    }
  }
}

// A canvas put onto one background through a clip of many pieces, in one
// draw and through ShowCanvas. The show runs on a thread of its own, so one
// that never returns ends the run with a message instead of hanging it.
struct Shown {
  QImage whole, banded;
};

Shown ShowBothWays(const Canvas& tall) {
  const int r = tall.Ratio();
  Shown shown{QImage(tall.Width() * r, tall.Height() * r, QImage::Format_ARGB32_Premultiplied), {}};
  shown.whole.setDevicePixelRatio(r);
  shown.whole.fill(qRgba(10, 20, 30, 200));
  shown.banded = shown.whole.copy();
  QRegion clip;
  for (int k = 0; k < 9; ++k) clip |= QRegion(k * 4, k * 17, 3 + k, 40);
  {
    QPainter p(&shown.whole);
    p.setClipRegion(clip);
    p.drawImage(0, 0, tall.Image());
  }
  std::promise<void> done;
  std::future<void> returned = done.get_future();
  std::thread show([&] {
    QPainter p(&shown.banded);
    p.setClipRegion(clip);
    ShowCanvas(p, tall);
    done.set_value();
  });
  if (returned.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    std::fprintf(stderr, "ShowCanvas at ratio %d has not returned after 10 s\n", r);
    std::_Exit(1);
  }
  show.join();
  return shown;
}

Canvas Striped(int width, int height, bool seeThrough, int ratio) {
  Canvas tall(width, height, seeThrough, ratio);
  for (int y = 0; y < height; y += 3) tall.FillRect({y % 7, y, width - y % 5, y + 2}, RGB(y, 255 - y, 7 * y));
  return tall;
}

// A canvas shown in bands lands as one draw of the whole image would, at
// either ratio, opaque or see-through, through a clip of many pieces.
TEST(CanvasPaths, ShownInBandsAsInOneDraw) {
  for (const Look& look : {kSetups[0], kSetups[2], kSetups[4], kSetups[5]}) {
    const Shown shown = ShowBothWays(Striped(look.width, 150, look.seeThrough, look.ratio));
    ASSERT_EQ(FirstDifference(shown.banded, shown.whole), "")
        << "ratio " << look.ratio << ", see-through " << look.seeThrough;
  }
}

// A logical row taller than a band of 16 device rows still makes a band:
// the show returns, with the same pixels.
TEST(CanvasPaths, ShownInBandsAtAnyRatio) {
  for (const int ratio : {3, 16, 17, 40})
    for (const bool seeThrough : {false, true}) {
      const Shown shown = ShowBothWays(Striped(37, 60, seeThrough, ratio));
      ASSERT_EQ(FirstDifference(shown.banded, shown.whole), "") << "ratio " << ratio << ", see-through " << seeThrough;
    }
}

}  // namespace
}  // namespace qel
