#include <gtest/gtest.h>

#include <QString>
#include <string>
#include <vector>

#include "controls/qelcanvas.h"

namespace qel {
namespace {

// Which pixels of a row have the colour, as a string of '#' and '.'.
std::string Row(const Canvas& c, int y, TColor color) {
  std::string s;
  for (int x = 0; x < c.Width(); ++x) s += c.Pixel(x, y) == color ? '#' : '.';
  return s;
}

Canvas WhiteCanvas(int w, int h, int ratio = 1) {
  Canvas c(w, h, false, ratio);
  c.FillRect({0, 0, w, h}, clWhite);
  return c;
}

TEST(Canvas, RectanglesLeaveOutRightAndBottom) {
  Canvas c = WhiteCanvas(6, 5);
  c.FillRect({1, 1, 4, 3}, clRed);
  EXPECT_EQ(Row(c, 0, clRed), "......");
  EXPECT_EQ(Row(c, 1, clRed), ".###..");
  EXPECT_EQ(Row(c, 2, clRed), ".###..");
  EXPECT_EQ(Row(c, 3, clRed), "......");
  // Empty and inverted rectangles paint nothing.
  c.FillRect({3, 3, 3, 5}, clBlue);
  c.FillRect({5, 4, 2, 1}, clBlue);
  for (int y = 0; y < 5; ++y) EXPECT_EQ(Row(c, y, clBlue), "......") << y;
}

struct LineCase {
  TPoint from, to;
  std::vector<std::string> rows;
  const char* name;
};

TEST(Canvas, LinesLeaveOutTheirEndPoint) {
  const LineCase cases[] = {
      {{0, 0}, {4, 0}, {"####.", ".....", "....."}, "right"},
      {{4, 1}, {0, 1}, {".....", ".####", "....."}, "left"},
      {{0, 0}, {0, 2}, {"#....", "#....", "....."}, "down"},
      {{0, 0}, {3, 3}, {"#....", ".#...", "..#.."}, "diagonal"},
      {{2, 2}, {2, 2}, {".....", ".....", "....."}, "zero length"},
  };
  for (const LineCase& lc : cases) {
    Canvas c = WhiteCanvas(5, 3);
    c.Pen.Color = clBlack;
    c.MoveTo(lc.from.X, lc.from.Y);
    c.LineTo(lc.to.X, lc.to.Y);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(Row(c, y, clBlack), lc.rows[std::size_t(y)]) << lc.name << " row " << y;
    EXPECT_EQ(c.PenPos(), lc.to) << lc.name;
  }
}

TEST(Canvas, PixelsOutsideTheImage) {
  Canvas c = WhiteCanvas(3, 2);
  for (TPoint p : {TPoint{-1, 0}, TPoint{3, 0}, TPoint{0, -1}, TPoint{0, 2}}) {
    EXPECT_EQ(c.Pixel(p.X, p.Y), clNone) << p.X << "," << p.Y;
    c.SetPixel(p.X, p.Y, clRed);
  }
  for (int y = 0; y < 2; ++y) EXPECT_EQ(Row(c, y, clWhite), "###");
  c.SetPixel(2, 1, clBtnShadow);
  EXPECT_EQ(c.Pixel(2, 1), RGB(0x80, 0x80, 0x80));
}

TEST(Canvas, SystemAndPaletteRelativeColoursPaintAsRgb) {
  Canvas c = WhiteCanvas(2, 1);
  c.FillRect({0, 0, 1, 1}, clBtnFace);
  c.FillRect({1, 0, 2, 1}, 0x02000000 | RGB(1, 2, 3));
  EXPECT_EQ(c.Pixel(0, 0), RGB(0xD4, 0xD0, 0xC8));
  EXPECT_EQ(c.Pixel(1, 0), RGB(1, 2, 3));
}

TEST(Canvas, PolygonFillsWithoutPen) {
  Canvas c = WhiteCanvas(6, 6);
  c.Pen.Color = clBlack;
  c.Brush.Color = clRed;
  c.Polygon({{1, 1}, {5, 1}, {5, 5}, {1, 5}});
  EXPECT_EQ(Row(c, 0, clRed), "......");
  EXPECT_EQ(Row(c, 1, clRed), ".####.");
  EXPECT_EQ(Row(c, 4, clRed), ".####.");
  EXPECT_EQ(Row(c, 5, clRed), "......");
  for (int y = 0; y < 6; ++y) EXPECT_EQ(Row(c, y, clBlack), "......") << y;
}

TEST(Canvas, PatternBrushRepeatsEveryEightPixels) {
  Canvas c = WhiteCanvas(16, 2);
  c.Brush.HasPattern = true;
  c.Brush.Pattern = {0xAA, 0x55, 0, 0, 0, 0, 0, 0};
  c.Brush.Color = clBlack;
  c.Brush.PatternBack = clWhite;
  c.FillRect({0, 0, 16, 2});
  EXPECT_EQ(Row(c, 0, clBlack), "#.#.#.#.#.#.#.#.");
  EXPECT_EQ(Row(c, 1, clBlack), ".#.#.#.#.#.#.#.#");
}

struct CopyCase {
  CopyMode mode;
  TColor dest, src, expected;
  const char* name;
};

TEST(Canvas, CopyModesCombineRgb) {
  const CopyCase cases[] = {
      {CopyMode::Copy, RGB(0x0F, 0xF0, 0x33), RGB(0x55, 0xAA, 0xFF), RGB(0x55, 0xAA, 0xFF), "copy"},
      {CopyMode::SrcAnd, RGB(0x0F, 0xF0, 0x33), RGB(0x55, 0xAA, 0xFF), RGB(0x05, 0xA0, 0x33), "and"},
      {CopyMode::SrcPaint, RGB(0x0F, 0xF0, 0x33), RGB(0x55, 0xAA, 0xFF), RGB(0x5F, 0xFA, 0xFF), "or"},
      {CopyMode::MergePaint, RGB(0x0F, 0xF0, 0x33), RGB(0x55, 0xAA, 0xFF), RGB(0xAF, 0xF5, 0x33), "merge-paint"},
      {CopyMode::SrcInvert, RGB(0x0F, 0xF0, 0x33), RGB(0x55, 0xAA, 0xFF), RGB(0x5A, 0x5A, 0xCC), "xor"},
  };
  for (const CopyCase& cc : cases) {
    Canvas src(1, 1);
    src.FillRect({0, 0, 1, 1}, cc.src);
    Canvas dest(1, 1);
    dest.FillRect({0, 0, 1, 1}, cc.dest);
    dest.CopyRect({0, 0, 1, 1}, src, {0, 0, 1, 1}, cc.mode);
    EXPECT_EQ(dest.Pixel(0, 0), cc.expected) << cc.name;
  }
}

TEST(Canvas, CopiesStretchByNearestPixel) {
  Canvas src(2, 1);
  src.FillRect({0, 0, 1, 1}, clRed);
  src.FillRect({1, 0, 2, 1}, clBlue);
  Canvas dest = WhiteCanvas(6, 1);
  dest.CopyRect({1, 0, 5, 1}, src, {0, 0, 2, 1});
  EXPECT_EQ(Row(dest, 0, clRed), ".##...");
  EXPECT_EQ(Row(dest, 0, clBlue), "...##.");
  // Shrinking picks pixels, never blends.
  Canvas small = WhiteCanvas(1, 1);
  small.CopyRect({0, 0, 1, 1}, dest, {1, 0, 5, 1});
  EXPECT_EQ(small.Pixel(0, 0), clRed);
}

TEST(Canvas, KeyColourLeavesTheDestination) {
  for (TColor key : {clBlack, clFuchsia}) {
    Canvas src(3, 1);
    src.FillRect({0, 0, 3, 1}, key);
    src.SetPixel(1, 0, key == clBlack ? clRed : clBlack);
    Canvas dest = WhiteCanvas(3, 1);
    dest.CopyRectKeyed({0, 0, 3, 1}, src, {0, 0, 3, 1}, key);
    EXPECT_EQ(Row(dest, 0, clWhite), "#.#") << key;
  }
}

TEST(Canvas, ClipOriginSaveAndRestore) {
  Canvas c = WhiteCanvas(6, 1);
  c.Save();
  c.SetOrigin(2, 0);
  c.IntersectClipRect({0, 0, 2, 1});
  c.FillRect({-2, 0, 4, 1}, clRed);
  EXPECT_EQ(Row(c, 0, clRed), "##....");  // reads go through the origin too
  c.Restore();
  EXPECT_EQ(Row(c, 0, clRed), "..##..");
  c.FillRect({0, 0, 6, 1}, clBlue);
  EXPECT_EQ(Row(c, 0, clBlue), "######");
}

TEST(Canvas, RecordsItsCalls) {
  std::vector<CanvasCall> calls;
  Canvas c(4, 4);
  c.SetRecorder(&calls);
  c.Pen.Color = clBtnShadow;
  c.MoveTo(0, 3);
  c.LineTo(3, 3);
  c.Brush.Color = clRed;
  c.Polygon({{0, 0}, {2, 0}, {0, 2}});
  c.FillRect({0, 0, 1, 1}, clBlue);
  const std::vector<CanvasCall> expected = {
      {"MoveTo", {{0, 3}}, clNone},
      {"LineTo", {{0, 3}, {3, 3}}, clBtnShadow},
      {"Polygon", {{0, 0}, {2, 0}, {0, 2}}, clRed},
      {"FillRect", {{0, 0}, {1, 1}}, clBlue},
  };
  EXPECT_EQ(calls, expected);
}

TEST(Canvas, RatioTwoDrawsEveryPixelAsTwoByTwo) {
  Canvas c = WhiteCanvas(4, 3, 2);
  EXPECT_EQ(c.Image().size(), QSize(8, 6));
  EXPECT_EQ(c.Image().devicePixelRatio(), 2.0);
  c.Pen.Color = clBlack;
  c.MoveTo(0, 1);
  c.LineTo(4, 1);
  for (int x = 0; x < 8; ++x) {
    EXPECT_EQ(c.Image().pixel(x, 1), 0xFFFFFFFFu) << x;
    EXPECT_EQ(c.Image().pixel(x, 2), 0xFF000000u) << x;
    EXPECT_EQ(c.Image().pixel(x, 3), 0xFF000000u) << x;
    EXPECT_EQ(c.Image().pixel(x, 4), 0xFFFFFFFFu) << x;
  }
  EXPECT_EQ(c.Pixel(3, 1), clBlack);
  EXPECT_EQ(c.Pixel(3, 2), clWhite);
}

// Swaps the recording engine in for one test.
class RecordedText : public ::testing::Test {
 protected:
  void SetUp() override { previous_ = SetTextEngine(&engine_); }
  void TearDown() override { SetTextEngine(previous_); }
  RecordingTextEngine engine_;
  TextEngine* previous_ = nullptr;
};

TEST_F(RecordedText, MeasuresFromItsMetrics) {
  const FontValue font;
  EXPECT_EQ(Text().Extent(font, QStringLiteral("Event Set")), (TPoint{63, 13}));
  EXPECT_EQ(Text().Height(font), 13);
  EXPECT_EQ(Text().PixelSize(font), 11);
  EXPECT_EQ(Text().Measure(font, QStringLiteral("Event Set"), 0, tfSingleLine), (TRect{0, 0, 63, 13}));
  // Wrapped at 6 characters: "Event" / "Set" / "Action" / "List".
  EXPECT_EQ(Text().Measure(font, QStringLiteral("Event Set Action List"), 42, tfWordBreak), (TRect{0, 0, 42, 52}));
  // Wide enough for two words a line.
  EXPECT_EQ(Text().Measure(font, QStringLiteral("Event Set Action List"), 84, tfWordBreak), (TRect{0, 0, 77, 26}));
  engine_.OutlineFonts = false;
  EXPECT_FALSE(Text().IsOutlineFont(font));
}

TEST_F(RecordedText, RecordsCaptionsWithPlaceColourFlagsAndAngle) {
  Canvas c(100, 50);
  c.Font.Color = clBtnText;
  c.TextRect({2, 3, 80, 20}, QStringLiteral("Key 1"), tfCenter | tfVCenter | tfSingleLine);
  c.Font.Escapement = 900;
  c.Font.Color = clRed;
  c.TextOut(10, 40, QStringLiteral("Up"));
  ASSERT_EQ(engine_.Drawn.size(), 2u);
  EXPECT_EQ(engine_.Drawn[0].text, QStringLiteral("Key 1"));
  EXPECT_EQ(engine_.Drawn[0].place, (TRect{2, 3, 80, 20}));
  EXPECT_EQ(engine_.Drawn[0].color, clBtnText);
  EXPECT_EQ(engine_.Drawn[0].flags, unsigned(tfCenter | tfVCenter | tfSingleLine));
  EXPECT_EQ(engine_.Drawn[0].escapement, 0);
  EXPECT_EQ(engine_.Drawn[1].text, QStringLiteral("Up"));
  EXPECT_EQ(engine_.Drawn[1].place, (TRect{10, 40, 24, 53}));
  EXPECT_EQ(engine_.Drawn[1].color, clRed);
  EXPECT_EQ(engine_.Drawn[1].escapement, 900);
}

TEST(QtText, DrawsCaptionPixelsInTheFontColour) {
  Canvas c = WhiteCanvas(60, 20);
  c.Font.Font.setPixelSize(14);
  c.Font.Color = clBlack;
  c.TextRect({0, 0, 60, 20}, QStringLiteral("MW"), tfLeft | tfSingleLine);
  int black = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 60; ++x) black += c.Pixel(x, y) == clBlack;
  EXPECT_GT(black, 10);
  EXPECT_GT(Text().Extent(c.Font, QStringLiteral("MW")).X, 0);
}

}  // namespace
}  // namespace qel
