#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "controls/qelborders.h"
#include "controls/qelcolormath.h"

namespace qel {
namespace {

// A canvas in a colour no border uses, and its pixels as letters.
Canvas Blank(int w, int h) {
  Canvas c(w, h);
  c.FillRect({0, 0, w, h}, clLime);
  return c;
}

std::vector<std::string> Picture(const Canvas& c, const std::map<TColor, char>& letters) {
  std::vector<std::string> rows;
  for (int y = 0; y < c.Height(); ++y) {
    std::string row;
    for (int x = 0; x < c.Width(); ++x) {
      const auto it = letters.find(c.Pixel(x, y));
      row += it == letters.end() ? '?' : it->second;
    }
    rows.push_back(row);
  }
  return rows;
}

const std::map<TColor, char> kSystemLetters = {
    {clLime, '.'},
    {PaintRGB(clBtnShadow), 'S'},
    {PaintRGB(clBtnHighlight), 'H'},
    {PaintRGB(cl3DDkShadow), 'D'},
    {PaintRGB(cl3DLight), 'L'},
    {clBlack, 'K'},
    {clRed, 'r'},
    {clBlue, 'b'},
};

TRect Shrunk(const TRect& r, TSides sides, int n) {
  return {r.Left + ((sides & sdLeft) ? n : 0), r.Top + ((sides & sdTop) ? n : 0), r.Right - ((sides & sdRight) ? n : 0),
          r.Bottom - ((sides & sdBottom) ? n : 0)};
}

TEST(Borders, ReturnedRectanglesOfEveryStyleAndSide) {
  const int widths[] = {0, 1, 2, 2, 2, 2, 2, 2, 1, 1, 2};  // fsNone .. fsFlatBold
  const TRect r{0, 0, 10, 10};
  for (int style = fsNone; style <= fsFlatBold; ++style)
    for (TSides sides : {sdAllSides, TSides(sdLeft), TSides(sdTop), TSides(sdRight), TSides(sdBottom),
                         TSides(sdLeft | sdTop), TSides(0)}) {
      Canvas c = Blank(10, 10);
      EXPECT_EQ(PaintFrameStyleBorder(c, r, TFrameStyle(style), sides), Shrunk(r, sides, widths[style]))
          << "style " << style << " sides " << sides;
      Canvas colored = Blank(10, 10);
      EXPECT_EQ(PaintColoredFrameBorder(colored, r, clBtnFace, sides, TFrameStyleEx(style)),
                Shrunk(r, sides, widths[style]))
          << "coloured style " << style << " sides " << sides;
    }
  Canvas c = Blank(10, 10);
  EXPECT_EQ(PaintBorder(c, r, fsGroove), (TRect{2, 2, 8, 8}));
  EXPECT_EQ(PaintBorder(c, r, fsNone), r);
  EXPECT_EQ(PaintColoredBorder(c, r, clBtnFace, fsFlatRounded), (TRect{2, 2, 8, 8}));
}

TEST(Borders, StylesWithoutATableRowDrawNothing) {
  std::vector<CanvasCall> calls;
  Canvas c = Blank(10, 10);
  c.SetRecorder(&calls);
  const TRect r{0, 0, 10, 10};
  EXPECT_EQ(PaintFrameStyleBorder(c, r, fsFlatRounded, sdAllSides), r);
  EXPECT_EQ(PaintFrameStyleBorder(c, r, TFrameStyle(-1), sdAllSides), r);
  EXPECT_EQ(PaintFrameStyleBorder(c, r, TFrameStyle(42), sdAllSides), r);
  EXPECT_EQ(PaintFrameStyleBorder(c, r, fsNone, sdAllSides), r);
  EXPECT_TRUE(calls.empty());
}

TEST(Borders, EdgeLinesEndBeforeRightAndBottom) {
  Canvas c = Blank(6, 5);
  EXPECT_EQ(PaintEdgeLines(c, {0, 0, 5, 4}, clRed, sdAllSides, clBlue), (TRect{1, 1, 4, 3}));
  EXPECT_EQ(Picture(c, kSystemLetters), (std::vector<std::string>{"rrrrb.", "r...b.", "r...b.", "bbbbb.", "......"}));

  Canvas none = Blank(6, 5);
  EXPECT_EQ(PaintEdgeLines(none, {0, 0, 5, 4}, clNone, sdLeft | sdBottom, clNone), (TRect{1, 0, 5, 3}));
  EXPECT_EQ(Picture(none, kSystemLetters), (std::vector<std::string>(5, "......")));
}

TEST(Borders, EtchedCorners) {
  Canvas all = Blank(6, 6);
  PaintBorder(all, {0, 0, 6, 6}, fsGroove);
  EXPECT_EQ(Picture(all, kSystemLetters),
            (std::vector<std::string>{"SSSSSH", "SHHHSH", "SH..SH", "SH..SH", "SSSSSH", "HHHHHH"}));

  Canvas top = Blank(6, 4);
  EXPECT_EQ(PaintFrameStyleBorder(top, {0, 0, 6, 4}, fsGroove, sdTop), (TRect{0, 2, 6, 4}));
  EXPECT_EQ(Picture(top, kSystemLetters), (std::vector<std::string>{"SSSSSS", "HHHHHH", "......", "......"}));

  Canvas bump = Blank(4, 4);
  PaintBorder(bump, {0, 0, 4, 4}, fsBump);
  EXPECT_EQ(Picture(bump, kSystemLetters), (std::vector<std::string>{"HHHS", "HSHS", "HHHS", "SSSS"}));
}

TEST(Borders, TwoRingStyles) {
  Canvas lowered = Blank(5, 5);
  PaintBorder(lowered, {0, 0, 5, 5}, fsLowered);
  EXPECT_EQ(Picture(lowered, kSystemLetters), (std::vector<std::string>{"SSSSH", "SDDLH", "SD.LH", "SLLLH", "HHHHH"}));
  Canvas raised = Blank(5, 5);
  PaintBorder(raised, {0, 0, 5, 5}, fsRaised);
  EXPECT_EQ(Picture(raised, kSystemLetters), (std::vector<std::string>{"LLLLD", "LHHSD", "LH.SD", "LSSSD", "DDDDD"}));
}

TEST(Borders, FocusFrameOfFiveByFive) {
  Canvas c = Blank(5, 5);
  EXPECT_EQ(PaintFocusFrame(c, {0, 0, 5, 5}), (TRect{1, 1, 4, 4}));
  EXPECT_EQ(Picture(c, kSystemLetters), (std::vector<std::string>{".K.K.", "K...K", ".....", "K...K", ".K.K."}));
}

TEST(Borders, RoundedFlatFrames) {
  Canvas top = Blank(6, 5);
  EXPECT_EQ(PaintRoundedFlatFrame(top, {0, 0, 6, 5}, clRed, sdTop), (TRect{0, 2, 6, 5}));
  EXPECT_EQ(Picture(top, kSystemLetters), (std::vector<std::string>{"rrrrrr", "......", "......", "......", "......"}));

  Canvas all = Blank(6, 6);
  EXPECT_EQ(PaintRoundedFlatFrame(all, {0, 0, 6, 6}, clRed, sdAllSides), (TRect{2, 2, 4, 4}));
  EXPECT_EQ(Picture(all, kSystemLetters),
            (std::vector<std::string>{"..rr..", ".r..r.", "r....r", "r....r", ".r..r.", "..rr.."}));
}

TEST(Borders, ArrowsAreShadowWhenDisabledAndBlackWhenEnabled) {
  for (bool enabled : {false, true})
    for (bool themed : {false, true})
      for (bool pressed : {false, true})
        for (int kind = -1; kind <= 3; ++kind) {
          Canvas c = Blank(20, 20);
          c.Brush.Color = clRed;
          if (kind < 0)
            PaintDropArrow(c, {0, 0, 20, 20}, themed, enabled, pressed);
          else
            PaintDirectionArrow(c, {0, 0, 20, 20}, themed, enabled, pressed, kind);
          int painted = 0;
          const TColor expected = enabled ? clBlack : PaintRGB(clBtnShadow);
          for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 20; ++x)
              if (c.Pixel(x, y) != clLime) {
                ++painted;
                EXPECT_EQ(c.Pixel(x, y), expected) << enabled << themed << pressed << kind;
              }
          EXPECT_GT(painted, 5) << enabled << themed << pressed << kind;
          EXPECT_EQ(c.Brush.Color, clRed);  // restored
        }
  Canvas none = Blank(20, 20);
  PaintDirectionArrow(none, {0, 0, 20, 20}, false, true, false, 4);
  EXPECT_EQ(Picture(none, kSystemLetters), (std::vector<std::string>(20, std::string(20, '.'))));
}

TEST(Borders, ControlFrameTellsClWindowFromWhite) {
  Canvas system = Blank(6, 6);
  PaintControlFrame(system, 6, 6, false, sdAllSides, clBlack, clWindow, fsLowered);
  EXPECT_EQ(system.Pixel(0, 0), PaintRGB(clBtnShadow));
  EXPECT_EQ(system.Pixel(1, 1), PaintRGB(cl3DDkShadow));

  Canvas white = Blank(6, 6);
  PaintControlFrame(white, 6, 6, false, sdAllSides, clBlack, clWhite, fsLowered);
  EXPECT_EQ(white.Pixel(0, 0), ShadeColor(clWhite, 50));
  EXPECT_EQ(white.Pixel(1, 1), ShadeColor(clWhite, 100));

  // A flat frame leaves the control colour's second ring showing, unless kept.
  Canvas flat = Blank(6, 6);
  PaintControlFrame(flat, 6, 6, false, sdAllSides, clRed, clBlue, fsFlat);
  EXPECT_EQ(Picture(flat, kSystemLetters)[1], "rbbbbr");
  Canvas kept = Blank(6, 6);
  PaintControlFrame(kept, 6, 6, true, sdAllSides, clRed, clBlue, fsFlat);
  EXPECT_EQ(Picture(kept, kSystemLetters)[1], "r....r");
}

TEST(Borders, DoubleBorderStacksOuterWidthAndInner) {
  Canvas c = Blank(12, 12);
  DoubleBorder b;
  b.outerStyle = fsFlat;
  b.flatColor = clRed;
  b.borderColor = clBlue;
  b.borderWidth = 2;
  b.innerStyle = fsFlat;
  b.squareInner = true;
  b.sides = sdLeft;  // the square inner frame draws all four sides anyway
  EXPECT_EQ(PaintDoubleBorder(c, {0, 0, 12, 12}, b), (TRect{4, 1, 11, 11}));
  const std::vector<std::string> p = Picture(c, kSystemLetters);
  // The square frame's corners are left out.
  EXPECT_EQ(p[0], "rbb.rrrrrrr.");
  EXPECT_EQ(p[1], "rbbr.......r");
  EXPECT_EQ(p[10], "rbbr.......r");
  EXPECT_EQ(p[11], "rbb.rrrrrrr.");
}

}  // namespace
}  // namespace qel
