#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"

class QWidget;

class QPainter;

namespace qel {

enum TGradientDirection {
  gdDiagonalUp,
  gdDiagonalDown,
  gdHorizontalEnd,
  gdHorizontalCenter,
  gdHorizontalBox,
  gdVerticalEnd,
  gdVerticalCenter,
  gdVerticalBox,
  gdSquareBox,
  gdBigSquareBox,
};

using TSmoothFactor = std::uint8_t;

// --- The geometry and arithmetic of the helpers, free of any drawing. ---

// Positions of one solid fill merged from equal colours: at least M + 1 of them.
int MergeCount(TSmoothFactor smoothing, bool box);

// 16.16 colour accumulator: the shown channel is bits 16-23.
struct ColorAccumulator {
  std::int32_t channel[3];  // r, g, b
  std::int32_t delta[3];
  ColorAccumulator(TColor start, TColor end, int steps);  // steps < 1: no movement
  void Step();
  TColor Shown() const;
};

// A tile of a tiling: where it lands and how much of the image it shows
// (the last row and column are cut, never scaled).
struct Tile {
  TRect dest;
  int width, height;
};
std::vector<Tile> TileRects(const TRect& area, int imageWidth, int imageHeight);

// One copy of ReplicateBlock: the block (0, 0, width, height) relative to
// (X, Y) copied to (toX, toY) relative to it.
struct BlockCopy {
  int width, height, toX, toY;
};
std::vector<BlockCopy> ReplicateSteps(int height, int width, int fullHeight, int fullWidth);

// --- Drawing. ---

void BlitMaskedBitmap(Canvas& canvas, const Canvas& bitmap, const TRect& dest, TColor transparent, const TRect& source);
void BlitTransparentColor(Canvas& canvas, const Canvas& bitmap, const TRect& dest, TColor transparent,
                          const TRect& source);
void TileTransparentBitmap(Canvas& canvas, const Canvas& bitmap, const TRect& rect, TColor transparent);
void StretchTransparentBitmap(Canvas& canvas, const Canvas& bitmap, const TRect& rect, TColor transparent);
void TileGraphic(Canvas& canvas, const Canvas& graphic, const TRect& rect);

void ReplicateBlock(Canvas& canvas, int x, int y, CopyMode mode, int height, int width, int fullHeight, int fullWidth);
// Mirrors the top-left quarter (the first (W + 1) / 2 columns and
// (H + 1) / 2 rows) exactly into the other three.
void MirrorQuadrant(Canvas& canvas, int x, int y, CopyMode mode, int height, int width);

void PaintGradientRect(Canvas& canvas, const TRect& rect, TGradientDirection direction, TSmoothFactor smoothing,
                       TColor colorA, TColor colorB);
// Vertical bands when x is 0, else horizontal; the strip is 8 pixels across.
void PaintLinearGradient(Canvas& canvas, int x, int y, TSmoothFactor smoothing, TColor colorA, TColor colorB,
                         int extent);
void PaintGradientBox(Canvas& canvas, int width, int height, TSmoothFactor smoothing, TColor colorA, TColor colorB,
                      int insetY, int insetX);
void PaintDiagonalGradient(Canvas& canvas, int width, int height, TSmoothFactor smoothing, TColor colorA,
                           TColor colorB);

// The parent's background and own painting (not its children) under a
// see-through control, shifted by the control's position and clipped to the
// parent. A see-through parent shows its own parent's image first.
void PaintParentImage(const QWidget* control, Canvas& canvas);
// Whether a widget lets what lies beneath show through.
bool IsSeeThrough(const QWidget* widget);

// The whole-pixel ratio a widget's canvas is drawn at: its device pixel
// ratio rounded up.
int RatioFor(const QWidget* widget);
// A canvas to paint widget on: its size and device pixel ratio (rounded
// up), with alpha when the widget is see-through so Qt composites what lies
// beneath.
Canvas CanvasFor(const QWidget* widget);
// Puts a painted canvas onto a widget at its top left, in bands of a few
// rows: Qt hands a draw of many spans (rows times clip pieces) to its thread
// pool, whose hand-offs cost more than a control's whole blend. The pixels
// are the same.
void ShowCanvas(QPainter& p, const Canvas& canvas);

FontValue MakeAngledFont(const FontValue& font, int angle);
bool IsTrueTypeFont(const FontValue& font);
int FontLineHeight(const FontValue& font);
inline int MinInt(int a, int b) { return a < b ? a : b; }
inline int MaxInt(int a, int b) { return a > b ? a : b; }
// There is no form designer to tell.
inline void NotifyDesignerModified(const QWidget*) {}

}  // namespace qel
