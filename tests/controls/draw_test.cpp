#include <gtest/gtest.h>

#include <QPainter>
#include <QWidget>
#include <cstdlib>
#include <string>
#include <vector>

#include "controls/qeldraw.h"

namespace qel {
namespace {

TColor FromHex(std::uint32_t rrggbb) { return RGB(int(rrggbb >> 16), int(rrggbb >> 8), int(rrggbb)); }

// Every column of row y has one colour; returns it.
TColor RowColour(const Canvas& c, int y) {
  const TColor first = c.Pixel(0, y);
  for (int x = 1; x < c.Width(); ++x) EXPECT_EQ(c.Pixel(x, y), first) << "row " << y << " column " << x;
  return first;
}

Canvas Gradient(int w, int h, TGradientDirection d, TSmoothFactor smoothing = 1, TColor a = clRed, TColor b = clBlue) {
  Canvas c(w, h);
  c.FillRect({0, 0, w, h}, clWhite);
  PaintGradientRect(c, {0, 0, w, h}, d, smoothing, a, b);
  return c;
}

TEST(Gradient, MergeCounts) {
  struct Case {
    int smoothing;
    bool box;
    int merge;
  };
  const Case cases[] = {{0, false, 0},  {1, false, 0},   {2, false, 1},  {8, false, 7},
                        {9, false, 28}, {16, false, 15}, {16, true, 16}, {255, false, 1}};
  for (const Case& c : cases)
    EXPECT_EQ(MergeCount(TSmoothFactor(c.smoothing), c.box), c.merge) << c.smoothing << (c.box ? " box" : "");
}

struct RowsCase {
  TGradientDirection direction;
  int height;
  std::vector<std::uint32_t> rows;  // top down, as RRGGBB
};

TEST(Gradient, LinearRowsFromRedToBlue) {
  const RowsCase cases[] = {
      {gdHorizontalEnd, 4, {0x3F00BF, 0x7F007F, 0xBF003F, 0xFF0000}},
      {gdHorizontalCenter, 1, {0xFF0000}},
      // The second pass paints the lower row blue over the first pass's red.
      {gdHorizontalCenter, 2, {0x7F007F, 0x0000FF}},
      {gdHorizontalCenter, 5, {0x5500AA, 0xAA0055, 0xFF0000, 0x7F007F, 0x0000FF}},
  };
  for (const RowsCase& rc : cases)
    for (int width : {1, 7, 20}) {
      const Canvas c = Gradient(width, rc.height, rc.direction);
      for (int y = 0; y < rc.height; ++y)
        EXPECT_EQ(RowColour(c, y), FromHex(rc.rows[std::size_t(y)]))
            << "direction " << rc.direction << " height " << rc.height << " width " << width << " row " << y;
    }
}

TEST(Gradient, EveryDirectionAtEverySmallSizeEnds) {
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d)
    for (int w = 0; w <= 4; ++w)
      for (int h = 0; h <= 4; ++h) {
        Canvas c(5, 5);
        c.FillRect({0, 0, 5, 5}, clWhite);
        PaintGradientRect(c, {0, 0, w, h}, TGradientDirection(d), 1, clRed, clBlue);
        // Nothing outside the rectangle, nothing white inside it.
        for (int y = 0; y < 5; ++y)
          for (int x = 0; x < 5; ++x)
            EXPECT_EQ(c.Pixel(x, y) == clWhite, x >= w || y >= h)
                << d << " " << w << "x" << h << " at " << x << "," << y;
      }
}

TEST(Gradient, FillersDoNothingWithoutArea) {
  std::vector<CanvasCall> calls;
  Canvas c(4, 4);
  c.SetRecorder(&calls);
  PaintLinearGradient(c, 0, -1, 1, clRed, clBlue, 0);
  PaintLinearGradient(c, 2, 0, 1, clRed, clBlue, 0);
  PaintGradientBox(c, 0, 4, 1, clRed, clBlue, 0, 0);
  PaintGradientBox(c, 4, 0, 1, clRed, clBlue, 0, 0);
  PaintDiagonalGradient(c, 0, 0, 1, clRed, clBlue);
  PaintDiagonalGradient(c, 4, 0, 1, clRed, clBlue);
  PaintGradientRect(c, {2, 2, 2, 4}, gdDiagonalUp, 1, clRed, clBlue);
  EXPECT_TRUE(calls.empty());
}

// The box painter is public: any size and inset paints its quarter (the
// upper-left part up to the centre) in colours between the two, never
// outside it and never a crash.
TEST(Gradient, BoxTakesAnySizeAndInset) {
  for (int w = -1; w <= 6; ++w)
    for (int h = -1; h <= 6; ++h)
      for (int insetY = -3; insetY <= 5; ++insetY)
        for (int insetX = -3; insetX <= 5; ++insetX)
          for (int smoothing : {0, 1, 2, 9, 255}) {
            Canvas c(8, 8);
            c.FillRect({0, 0, 8, 8}, clWhite);
            PaintGradientBox(c, w, h, TSmoothFactor(smoothing), clRed, clBlue, insetY, insetX);
            const int quarterW = w < 1 || h < 1 ? 0 : (w - 1) / 2 + 1, quarterH = quarterW ? (h - 1) / 2 + 1 : 0;
            for (int y = 0; y < 8; ++y)
              for (int x = 0; x < 8; ++x) {
                const TColor p = c.Pixel(x, y);
                const bool inside = x < quarterW && y < quarterH;
                const bool between = GetGValue(p) == 0 && GetRValue(p) + GetBValue(p) >= 254;
                ASSERT_EQ(p == clWhite, !inside) << w << "x" << h << " insets " << insetY << "," << insetX
                                                 << " smoothing " << smoothing << " at " << x << "," << y;
                if (inside) ASSERT_TRUE(between) << w << "x" << h << " insets " << insetY << "," << insetX;
              }
          }
}

TEST(Gradient, EqualColoursFillADiagonalSolid) {
  for (TGradientDirection d : {gdDiagonalUp, gdDiagonalDown}) {
    const Canvas c = Gradient(13, 7, d, 1, clBtnFace, RGB(0xD4, 0xD0, 0xC8));
    for (int y = 0; y < 7; ++y) EXPECT_EQ(RowColour(c, y), RGB(0xD4, 0xD0, 0xC8)) << d;
  }
}

bool Near(TColor actual, TColor expected, int tolerance) {
  return std::abs(GetRValue(actual) - GetRValue(expected)) <= tolerance &&
         std::abs(GetGValue(actual) - GetGValue(expected)) <= tolerance &&
         std::abs(GetBValue(actual) - GetBValue(expected)) <= tolerance;
}

struct Placement {
  TGradientDirection direction;
  // Points as fractions of the last pixel: 0 the first, 2 the middle, 4 the last.
  std::vector<std::pair<int, int>> atA, atB;
};

TEST(Gradient, PlacementOfTheTwoColours) {
  const Placement cases[] = {
      {gdHorizontalEnd, {{0, 4}, {4, 4}}, {{0, 0}, {4, 0}}},
      {gdVerticalEnd, {{4, 0}, {4, 4}}, {{0, 0}, {0, 4}}},
      {gdHorizontalCenter, {{0, 2}, {4, 2}}, {{0, 0}, {4, 0}, {0, 4}, {4, 4}}},
      {gdVerticalCenter, {{2, 0}, {2, 4}}, {{0, 0}, {4, 0}, {0, 4}, {4, 4}}},
      {gdHorizontalBox, {{2, 2}}, {{0, 0}, {4, 0}, {0, 4}, {4, 4}}},
      {gdVerticalBox, {{2, 2}}, {{0, 0}, {4, 0}, {0, 4}, {4, 4}}},
      {gdSquareBox, {{2, 2}}, {{0, 0}, {4, 0}, {0, 4}, {4, 4}}},
      {gdBigSquareBox, {{2, 2}}, {{0, 0}, {4, 0}, {0, 4}, {4, 4}}},
      {gdDiagonalUp, {{4, 0}}, {{0, 4}}},
      {gdDiagonalDown, {{4, 4}}, {{0, 0}}},
  };
  for (const Placement& p : cases)
    for (auto [w, h] : {std::pair{64, 20}, std::pair{20, 64}}) {
      const Canvas c = Gradient(w, h, p.direction);
      // One step of the coarsest layout here: 255 over 8 positions.
      const int step = 32;
      auto at = [&](std::pair<int, int> f) { return c.Pixel(f.first * (w - 1) / 4, f.second * (h - 1) / 4); };
      for (auto f : p.atA)
        EXPECT_TRUE(Near(at(f), clRed, step)) << p.direction << " " << w << "x" << h << " A at " << f.first << ","
                                              << f.second << ": " << std::hex << at(f);
      for (auto f : p.atB)
        EXPECT_TRUE(Near(at(f), clBlue, step)) << p.direction << " " << w << "x" << h << " B at " << f.first << ","
                                               << f.second << ": " << std::hex << at(f);
    }
}

TEST(Gradient, BoxLayoutsAreSymmetric) {
  for (TGradientDirection d : {gdHorizontalBox, gdVerticalBox, gdSquareBox, gdBigSquareBox})
    for (int w = 1; w <= 9; ++w)
      for (int h = 1; h <= 9; ++h) {
        const Canvas c = Gradient(w, h, d);
        for (int y = 0; y < h; ++y)
          for (int x = 0; x < w; ++x) {
            ASSERT_EQ(c.Pixel(x, y), c.Pixel(w - 1 - x, y)) << d << " " << w << "x" << h << " at " << x << "," << y;
            ASSERT_EQ(c.Pixel(x, y), c.Pixel(x, h - 1 - y)) << d << " " << w << "x" << h << " at " << x << "," << y;
          }
      }
}

TEST(Gradient, SmoothingMergesBands) {
  // 16 positions merged into bands of 16: one colour over the whole strip.
  const Canvas merged = Gradient(4, 16, gdHorizontalEnd, 16);
  const Canvas fine = Gradient(4, 16, gdHorizontalEnd, 1);
  EXPECT_EQ(RowColour(merged, 0), clRed);
  EXPECT_EQ(RowColour(merged, 15), clRed);
  EXPECT_NE(RowColour(fine, 0), RowColour(fine, 15));
}

TEST(Replicate, DoublesTheBlockUntilItCovers) {
  const std::vector<BlockCopy> copies = ReplicateSteps(10, 8, 10, 100);
  ASSERT_EQ(copies.size(), 4u);
  EXPECT_EQ(copies[0].toX, 8);
  EXPECT_EQ(copies[3].toX, 64);
  EXPECT_EQ(copies[3].width, 36);  // cut to what is left
  EXPECT_EQ(ReplicateSteps(1, 1, 4, 4).size(), 4u);
  EXPECT_TRUE(ReplicateSteps(0, 8, 10, 100).empty());
  EXPECT_TRUE(ReplicateSteps(10, 0, 10, 100).empty());
}

TEST(Tiling, CutsTheLastRowAndColumn) {
  const std::vector<Tile> tiles = TileRects({0, 0, 25, 15}, 10, 10);
  ASSERT_EQ(tiles.size(), 6u);
  EXPECT_EQ(tiles[2].dest, (TRect{20, 0, 25, 10}));
  EXPECT_EQ(tiles[2].width, 5);
  EXPECT_EQ(tiles[5].dest, (TRect{20, 10, 25, 15}));
  EXPECT_EQ(tiles[5].height, 5);
  EXPECT_TRUE(TileRects({0, 0, 25, 15}, 0, 10).empty());
  EXPECT_TRUE(TileRects({0, 0, 25, 15}, 10, 0).empty());

  // Unscaled: the last tile shows the image's top-left 5 x 5.
  Canvas image(10, 10);
  image.FillRect({0, 0, 10, 10}, clWhite);
  image.SetPixel(4, 4, clRed);
  image.SetPixel(5, 5, clBlue);
  Canvas c(30, 20);
  c.FillRect({0, 0, 30, 20}, clGreen);
  TileGraphic(c, image, {0, 0, 25, 15});
  EXPECT_EQ(c.Pixel(24, 14), clRed);
  EXPECT_EQ(c.Pixel(15, 15), clGreen);
  EXPECT_EQ(c.Pixel(25, 0), clGreen);
  EXPECT_EQ(c.Pixel(15, 5), clBlue);
}

TEST(Tiling, KeyColourKeepsTheDestination) {
  for (TColor key : {clBlack, clFuchsia}) {
    Canvas image(2, 1);
    image.FillRect({0, 0, 1, 1}, key);
    image.FillRect({1, 0, 2, 1}, clRed);
    Canvas c(5, 1);
    c.FillRect({0, 0, 5, 1}, clGreen);
    TileTransparentBitmap(c, image, {0, 0, 5, 1}, key);
    EXPECT_EQ(c.Pixel(0, 0), clGreen) << key;
    EXPECT_EQ(c.Pixel(1, 0), clRed) << key;
    EXPECT_EQ(c.Pixel(2, 0), clGreen) << key;
    EXPECT_EQ(c.Pixel(3, 0), clRed) << key;
    EXPECT_EQ(c.Pixel(4, 0), clGreen) << key;

    Canvas s(4, 1);
    s.FillRect({0, 0, 4, 1}, clGreen);
    StretchTransparentBitmap(s, image, {0, 0, 4, 1}, key);
    EXPECT_EQ(s.Pixel(1, 0), clGreen) << key;
    EXPECT_EQ(s.Pixel(2, 0), clRed) << key;

    Canvas m(2, 1);
    m.FillRect({0, 0, 2, 1}, clGreen);
    BlitMaskedBitmap(m, image, {0, 0, 2, 1}, key, {0, 0, 2, 1});
    EXPECT_EQ(m.Pixel(0, 0), clGreen) << key;
    EXPECT_EQ(m.Pixel(1, 0), clRed) << key;
  }
}

class Painted : public QWidget {
 public:
  using QWidget::QWidget;
  QColor colour = Qt::red;

 protected:
  void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), colour); }
};

// A green canvas of the control's size with the parent's image painted in.
Canvas UnderControl(const QWidget& control, int ratio = 1) {
  Canvas c(control.width(), control.height(), false, ratio);
  c.FillRect({0, 0, control.width(), control.height()}, clGreen);
  PaintParentImage(&control, c);
  return c;
}

TEST(ParentImage, WithoutParentDrawsNothing) {
  QWidget control;
  control.resize(4, 4);
  std::vector<CanvasCall> calls;
  Canvas c(4, 4);
  c.FillRect({0, 0, 4, 4}, clGreen);
  c.SetRecorder(&calls);
  PaintParentImage(&control, c);
  EXPECT_TRUE(calls.empty());
  EXPECT_EQ(c.Pixel(0, 0), clGreen);
}

TEST(ParentImage, ShowsWhatTheParentPaints) {
  Painted parent;
  parent.resize(40, 30);
  QWidget control(&parent);
  control.setGeometry(5, 5, 10, 10);
  const Canvas c = UnderControl(control);
  EXPECT_EQ(c.Pixel(0, 0), clRed);
  EXPECT_EQ(c.Pixel(9, 9), clRed);
}

TEST(ParentImage, LooksThroughASeeThroughMiddle) {
  Painted top;
  top.resize(40, 30);
  QWidget middle(&top);
  middle.setGeometry(10, 10, 20, 15);
  ASSERT_TRUE(IsSeeThrough(&middle));
  QWidget control(&middle);
  control.setGeometry(2, 2, 5, 5);
  const Canvas c = UnderControl(control, 2);
  EXPECT_EQ(c.Pixel(0, 0), clRed);
  EXPECT_EQ(c.Pixel(4, 4), clRed);
}

TEST(ParentImage, ClipsToTheParent) {
  Painted parent;
  parent.resize(10, 10);
  QWidget control(&parent);
  control.setGeometry(6, 6, 8, 8);  // sticks out of the parent
  const Canvas c = UnderControl(control);
  EXPECT_EQ(c.Pixel(3, 3), clRed);
  EXPECT_EQ(c.Pixel(4, 4), clGreen);
}

TEST(ParentImage, CanvasForAWidgetKeepsItsSizeAndSeeThrough) {
  QWidget parent;
  QWidget opaque(&parent), clear(&parent);
  opaque.setAttribute(Qt::WA_OpaquePaintEvent);
  opaque.resize(7, 3);
  clear.resize(4, 5);
  const Canvas a = CanvasFor(&opaque), b = CanvasFor(&clear);
  EXPECT_EQ(a.Image().format(), QImage::Format_RGB32);
  EXPECT_EQ(b.Image().format(), QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ((TPoint{a.Width(), a.Height()}), (TPoint{7, 3}));
  EXPECT_EQ((TPoint{b.Width(), b.Height()}), (TPoint{4, 5}));
  EXPECT_FALSE(IsSeeThrough(&parent));  // a window
}

TEST(Fonts, AngleLineHeightAndOutline) {
  RecordingTextEngine engine;
  TextEngine* previous = SetTextEngine(&engine);
  FontValue font;
  font.Font.setBold(true);
  const FontValue angled = MakeAngledFont(font, 90);
  EXPECT_EQ(angled.Escapement, 900);
  EXPECT_TRUE(angled.Font.bold());
  EXPECT_EQ(FontLineHeight(font), 15);
  EXPECT_TRUE(IsTrueTypeFont(font));
  engine.OutlineFonts = false;
  EXPECT_FALSE(IsTrueTypeFont(font));
  SetTextEngine(previous);
  EXPECT_EQ(MinInt(3, -2), -2);
  EXPECT_EQ(MaxInt(3, -2), 3);
}

// Turned text has two weights: bold (Qt's bold, above medium) or normal.
TEST(Fonts, AngledFontIsBoldOrNormal) {
  const struct {
    int weight, angled;
  } cases[] = {{100, 400}, {300, 400}, {400, 400}, {500, 400}, {600, 700}, {700, 700}, {900, 700}};
  for (const auto& c : cases) {
    FontValue font;
    font.Font.setWeight(QFont::Weight(c.weight));
    font.Font.setItalic(true);
    const FontValue angled = MakeAngledFont(font, 45);
    EXPECT_EQ(angled.Font.weight(), c.angled) << c.weight;
    EXPECT_TRUE(angled.Font.italic());
    EXPECT_EQ(angled.Escapement, 450);
  }
}

}  // namespace
}  // namespace qel
