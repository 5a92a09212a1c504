#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"

namespace qel {

// Sides of a border, as a set of bits.
using TSides = unsigned;
enum : unsigned { sdLeft = 1, sdTop = 2, sdRight = 4, sdBottom = 8 };
constexpr TSides sdAllSides = sdLeft | sdTop | sdRight | sdBottom;

// The frame enumerations, known to the meta-object system so that a frame
// controller (or a form) sets them by number or by name ("fsLowered").
namespace FrameTypes {
Q_NAMESPACE

enum TFrameStyleEx {
  fsNone,
  fsFlat,
  fsGroove,
  fsBump,
  fsLowered,
  fsButtonDown,
  fsRaised,
  fsButtonUp,
  fsStatus,
  fsPopup,
  fsFlatBold,
  fsFlatRounded,
};
Q_ENUM_NS(TFrameStyleEx)

// Whether a control prefers the platform's themed frame to its styled one.
enum TFramingPreference { fpCustomFraming, fpXPThemes };
Q_ENUM_NS(TFramingPreference)

}  // namespace FrameTypes

using FrameTypes::TFrameStyleEx;
using enum FrameTypes::TFrameStyleEx;
// The styles with a colour table row: fsNone to fsFlatBold.
using TFrameStyle = TFrameStyleEx;
constexpr bool IsFrameStyle(int v) { return v >= fsNone && v <= fsFlatBold; }
// The TFrameStyle of that name, as old forms write it; nullopt for any
// other name, fsFlatRounded included.
std::optional<TFrameStyle> FrameStyleNamed(const QString& name);

enum TArrowDirection { adUp = 0, adDown = 1, adLeft = 2, adRight = 3 };

// Every painter hands back the rectangle left inside its border, so that
// callers stack borders from the outside in. clNone lines are not drawn but
// still take their pixel.
// r with each chosen side moved in by by.
TRect InsetSides(TRect r, TSides sides, int by);

TRect PaintEdgeLines(Canvas& canvas, const TRect& r, TColor upperLeft, TSides sides, TColor lowerRight);
TRect PaintBevelLines(Canvas& canvas, const TRect& r, TColor upperLeft, TSides sides, int count, TColor lowerRight);
TRect PaintCtl3DEdges(Canvas& canvas, const TRect& r, bool sunken, TSides sides);
TRect PaintButtonBorderSides(Canvas& canvas, const TRect& r, bool down, TSides sides);
TRect PaintButtonBorder(Canvas& canvas, const TRect& r, bool down);
TRect PaintColoredButtonBorderSides(Canvas& canvas, const TRect& r, TColor base, TSides sides, bool down);
TRect PaintColoredButtonBorder(Canvas& canvas, const TRect& r, TColor base, bool down);
// A style outside fsNone..fsFlatBold draws nothing and returns r.
TRect PaintFrameStyleBorder(Canvas& canvas, const TRect& r, TFrameStyle style, TSides sides);
TRect PaintBorder(Canvas& canvas, const TRect& r, TFrameStyle style);
TRect PaintColoredFrameBorder(Canvas& canvas, const TRect& r, TColor base, TSides sides, TFrameStyleEx style);
TRect PaintColoredBorder(Canvas& canvas, const TRect& r, TColor base, TFrameStyleEx style);
void DottedHorizontalLine(int x1, int x2, int y, Canvas& canvas);
void DottedVerticalLine(int y1, int y2, int x, Canvas& canvas);
TRect PaintFocusFrame(Canvas& canvas, const TRect& r);
TRect PaintRoundedFlatFrame(Canvas& canvas, const TRect& r, TColor color, TSides sides);

struct DoubleBorder {
  TFrameStyleEx outerStyle = fsNone;
  bool squareInner = false;
  bool transparent = false;
  TColor parentColor = clBtnFace;
  TColor controlColor = clWindow;
  int flatColorAdjustment = 0;
  TColor flatColor = clBtnShadow;
  TColor shadowColor = clBtnShadow;
  TColor highlightColor = clBtnHighlight;
  TColor borderColor = clBtnFace;
  int bevelWidth = 1;
  TSides sides = sdAllSides;
  int borderWidth = 0;
  TFrameStyleEx innerStyle = fsNone;
};
TRect PaintDoubleBorder(Canvas& canvas, const TRect& r, const DoubleBorder& border);

void PaintControlFrame(Canvas& canvas, int width, int height, bool keepInterior, TSides sides, TColor frameColor,
                       TColor controlColor, TFrameStyleEx style);

void PaintDropArrow(Canvas& canvas, const TRect& r, bool themed, bool enabled, bool pressed);
void PaintDirectionArrow(Canvas& canvas, const TRect& r, bool themed, bool enabled, bool pressed, int direction);

}  // namespace qel
