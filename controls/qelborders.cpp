#include "controls/qelborders.h"

#include <QMetaEnum>
#include <vector>

#include "controls/qelcolormath.h"

namespace qel {

TRect InsetSides(TRect r, TSides sides, int by) {
  if (sides & sdLeft) r.Left += by;
  if (sides & sdTop) r.Top += by;
  if (sides & sdRight) r.Right -= by;
  if (sides & sdBottom) r.Bottom -= by;
  return r;
}

std::optional<TFrameStyle> FrameStyleNamed(const QString& name) {
  bool ok = false;
  const int style = QMetaEnum::fromType<TFrameStyleEx>().keyToValue(name.toLatin1().constData(), &ok);
  if (!ok || !IsFrameStyle(style)) return std::nullopt;
  return TFrameStyle(style);
}

namespace {

struct Ring {
  TColor upperLeft, lowerRight;
};

// Upper-left and lower-right colour of the one-ring styles.
constexpr Ring kFrameColors[fsFlatBold + 1] = {
    {clWindow, clWindow},          {cl3DDkShadow, cl3DDkShadow},
    {clBtnShadow, clBtnHighlight}, {clBtnHighlight, clBtnShadow},
    {clBtnShadow, clBtnHighlight}, {clNone, clNone},
    {cl3DDkShadow, clBtnFace},     {clNone, clNone},
    {clBtnShadow, clBtnHighlight}, {clBtnHighlight, clBtnShadow},
    {clBtnShadow, clBtnShadow},
};

struct TwoRings {
  Ring outer, inner;
};
constexpr TwoRings kRaised = {{cl3DLight, cl3DDkShadow}, {clBtnHighlight, clBtnShadow}};
constexpr TwoRings kSunken = {{clBtnShadow, clBtnHighlight}, {cl3DDkShadow, cl3DLight}};
constexpr TwoRings kButtonUp = {{clBtnHighlight, cl3DDkShadow}, {cl3DLight, clBtnShadow}};
constexpr TwoRings kButtonDown = {{clBtnText, clBtnText}, {clBtnShadow, clBtnShadow}};

TRect PaintRings(Canvas& canvas, const TRect& r, const TwoRings& rings, TSides sides) {
  const TRect inner = PaintEdgeLines(canvas, r, rings.outer.upperLeft, sides, rings.outer.lowerRight);
  return PaintBevelLines(canvas, inner, rings.inner.upperLeft, sides, 1, rings.inner.lowerRight);
}

TRect PaintEtchedEdge(Canvas& canvas, const TRect& r, TColor up, TColor down, TSides sides) {
  const bool left = sides & sdLeft, top = sides & sdTop, right = sides & sdRight, bottom = sides & sdBottom;
  if (right) canvas.SetPixel(r.Right - 1, r.Top, down);
  if (top && !right) canvas.SetPixel(r.Right - 1, r.Top, up);
  if (bottom) canvas.SetPixel(r.Left, r.Bottom - 1, down);
  if (left && !bottom) canvas.SetPixel(r.Left, r.Bottom - 1, up);
  if (top && !left) canvas.SetPixel(r.Left, r.Top + 1, down);
  if (left && !top) canvas.SetPixel(r.Left + 1, r.Top, down);
  if (bottom && !right) canvas.SetPixel(r.Right - 1, r.Bottom - 2, up);
  if (right && !bottom) canvas.SetPixel(r.Right - 2, r.Bottom - 1, up);
  PaintEdgeLines(canvas, {r.Left + 1, r.Top + 1, r.Right, r.Bottom}, down, sides, down);
  PaintEdgeLines(canvas, {r.Left, r.Top, r.Right - 1, r.Bottom - 1}, up, sides, up);
  return InsetSides(r, sides, 2);
}

void Line(Canvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

// A ring of one colour on all four sides, inside r.
TRect Ring1(Canvas& canvas, const TRect& r, TColor color) {
  return PaintEdgeLines(canvas, r, color, sdAllSides, color);
}

void FillArrow(Canvas& canvas, bool enabled, const std::vector<TPoint>& points) {
  const CanvasBrush keep = canvas.Brush;
  // No theme to sample here: an enabled arrow is black.
  canvas.Brush = CanvasBrush{};
  canvas.Brush.Color = enabled ? clBlack : clBtnShadow;
  canvas.Polygon(points);
  canvas.Brush = keep;
}

TPoint ArrowCentre(const TRect& r) {
  const int h = r.Bottom - r.Top;
  return {r.Left + (r.Right - r.Left) / 2, r.Top + h / 2 - (h % 2 == 0 ? 1 : 0)};
}

}  // namespace

TRect PaintEdgeLines(Canvas& canvas, const TRect& r, TColor upperLeft, TSides sides, TColor lowerRight) {
  if (upperLeft != clNone) {
    canvas.Pen.Color = upperLeft;
    if (sides & sdLeft) Line(canvas, r.Left, r.Top, r.Left, r.Bottom);
    if (sides & sdTop) Line(canvas, r.Left, r.Top, r.Right, r.Top);
  }
  if (lowerRight != clNone) {
    canvas.Pen.Color = lowerRight;
    if (sides & sdRight) Line(canvas, r.Right - 1, r.Top, r.Right - 1, r.Bottom);
    if (sides & sdBottom) Line(canvas, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
  }
  return InsetSides(r, sides, 1);
}

TRect PaintBevelLines(Canvas& canvas, const TRect& r, TColor upperLeft, TSides sides, int count, TColor lowerRight) {
  canvas.Pen.Clear = false;
  TRect inner = r;
  for (int i = 0; i < count; ++i) inner = PaintEdgeLines(canvas, inner, upperLeft, sides, lowerRight);
  return inner;
}

TRect PaintCtl3DEdges(Canvas& canvas, const TRect& r, bool sunken, TSides sides) {
  return PaintRings(canvas, r, sunken ? kSunken : kRaised, sides);
}

TRect PaintButtonBorderSides(Canvas& canvas, const TRect& r, bool down, TSides sides) {
  return PaintRings(canvas, r, down ? kButtonDown : kButtonUp, sides);
}

TRect PaintButtonBorder(Canvas& canvas, const TRect& r, bool down) {
  return PaintButtonBorderSides(canvas, r, down, sdAllSides);
}

TRect PaintColoredButtonBorderSides(Canvas& canvas, const TRect& r, TColor base, TSides sides, bool down) {
  const TwoRings rings =
      down ? TwoRings{{ShadeColor(base, 100), ShadeColor(base, 100)}, {ShadeColor(base, 50), ShadeColor(base, 50)}}
           : TwoRings{{TintColor(base, 100), ShadeColor(base, 100)}, {TintColor(base, 40), ShadeColor(base, 50)}};
  return PaintRings(canvas, r, rings, sides);
}

TRect PaintColoredButtonBorder(Canvas& canvas, const TRect& r, TColor base, bool down) {
  return PaintColoredButtonBorderSides(canvas, r, base, sdAllSides, down);
}

TRect PaintFrameStyleBorder(Canvas& canvas, const TRect& r, TFrameStyle style, TSides sides) {
  if (style < fsNone || style > fsFlatBold) return r;
  const Ring ring = kFrameColors[style];
  switch (style) {
    case fsNone: return r;
    case fsFlat:
    case fsStatus:
    case fsPopup: return PaintEdgeLines(canvas, r, ring.upperLeft, sides, ring.lowerRight);
    case fsFlatBold: return PaintBevelLines(canvas, r, ring.upperLeft, sides, 2, ring.lowerRight);
    case fsLowered:
    case fsRaised: return PaintCtl3DEdges(canvas, r, style == fsLowered, sides);
    case fsButtonDown:
    case fsButtonUp: return PaintButtonBorderSides(canvas, r, style == fsButtonDown, sides);
    case fsGroove:
    case fsBump: return PaintEtchedEdge(canvas, r, ring.upperLeft, ring.lowerRight, sides);
    case fsFlatRounded: break;
  }
  return r;
}

TRect PaintBorder(Canvas& canvas, const TRect& r, TFrameStyle style) {
  return PaintFrameStyleBorder(canvas, r, style, sdAllSides);
}

TRect PaintColoredFrameBorder(Canvas& canvas, const TRect& r, TColor base, TSides sides, TFrameStyleEx style) {
  const TColor sh50 = ShadeColor(base, 50), sh100 = ShadeColor(base, 100);
  const TColor ti50 = TintColor(base, 50), ti100 = TintColor(base, 100);
  switch (style) {
    case fsNone: return r;
    case fsFlat: return PaintEdgeLines(canvas, r, sh50, sides, sh50);
    case fsGroove: return PaintEtchedEdge(canvas, r, sh50, ti100, sides);
    case fsBump:
    case fsFlatRounded: return PaintEtchedEdge(canvas, r, ti100, sh50, sides);
    case fsLowered: return PaintRings(canvas, r, {{sh50, ti100}, {sh100, ti50}}, sides);
    case fsRaised: return PaintRings(canvas, r, {{ti50, sh100}, {ti100, sh50}}, sides);
    case fsButtonDown:
    case fsButtonUp: return PaintColoredButtonBorderSides(canvas, r, base, sides, style == fsButtonDown);
    case fsStatus: return PaintEdgeLines(canvas, r, sh50, sides, ti100);
    case fsPopup: return PaintEdgeLines(canvas, r, ti100, sides, sh50);
    case fsFlatBold: return PaintBevelLines(canvas, r, sh50, sides, 2, sh50);
  }
  return r;
}

TRect PaintColoredBorder(Canvas& canvas, const TRect& r, TColor base, TFrameStyleEx style) {
  return PaintColoredFrameBorder(canvas, r, base, sdAllSides, style);
}

void DottedHorizontalLine(int x1, int x2, int y, Canvas& canvas) {
  for (int x = x1 + 1; x < x2; x += 2) canvas.SetPixel(x, y, clBlack);
}

void DottedVerticalLine(int y1, int y2, int x, Canvas& canvas) {
  for (int y = y1 + 1; y < y2; y += 2) canvas.SetPixel(x, y, clBlack);
}

TRect PaintFocusFrame(Canvas& canvas, const TRect& r) {
  DottedVerticalLine(r.Top, r.Bottom, r.Left, canvas);
  DottedVerticalLine(r.Top, r.Bottom, r.Right - 1, canvas);
  DottedHorizontalLine(r.Left, r.Right, r.Top, canvas);
  DottedHorizontalLine(r.Left, r.Right, r.Bottom - 1, canvas);
  return {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

TRect PaintRoundedFlatFrame(Canvas& canvas, const TRect& r, TColor color, TSides sides) {
  const bool left = sides & sdLeft, top = sides & sdTop, right = sides & sdRight, bottom = sides & sdBottom;
  const TRect inner{left ? r.Left + 2 : r.Left, top ? r.Top + 2 : r.Top, right ? r.Right - 2 : r.Right,
                    bottom ? r.Bottom - 2 : r.Bottom};
  canvas.Pen.Color = color;
  if (left) Line(canvas, r.Left, inner.Top, r.Left, inner.Bottom);
  if (top) Line(canvas, inner.Left, r.Top, inner.Right, r.Top);
  if (right) Line(canvas, r.Right - 1, inner.Top, r.Right - 1, inner.Bottom);
  if (bottom) Line(canvas, inner.Left, r.Bottom - 1, inner.Right, r.Bottom - 1);
  if (left && top) canvas.SetPixel(r.Left + 1, r.Top + 1, color);
  if (top && right) canvas.SetPixel(r.Right - 2, r.Top + 1, color);
  if (right && bottom) canvas.SetPixel(r.Right - 2, r.Bottom - 2, color);
  if (left && bottom) canvas.SetPixel(r.Left + 1, r.Bottom - 2, color);
  return inner;
}

TRect PaintDoubleBorder(Canvas& canvas, const TRect& rect, const DoubleBorder& b) {
  const TColor flat = AdjustColorBy(b.flatColor, b.flatColorAdjustment);
  const bool ringInside = b.borderWidth > 0 || b.innerStyle != fsNone;
  TRect r = rect;
  switch (b.outerStyle) {
    case fsFlat: r = PaintBevelLines(canvas, r, flat, b.sides, 1, flat); break;
    case fsFlatBold: r = PaintBevelLines(canvas, r, flat, b.sides, 2, flat); break;
    case fsFlatRounded:
      if (!b.transparent)
        Ring1(canvas, Ring1(canvas, r, b.parentColor), ringInside ? b.borderColor : b.controlColor);
      else if (ringInside)
        Ring1(canvas, {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}, b.borderColor);
      r = PaintRoundedFlatFrame(canvas, r, flat, b.sides);
      break;
    case fsStatus: r = PaintBevelLines(canvas, r, b.shadowColor, b.sides, b.bevelWidth, b.highlightColor); break;
    case fsPopup: r = PaintBevelLines(canvas, r, b.highlightColor, b.sides, b.bevelWidth, b.shadowColor); break;
    default: r = PaintFrameStyleBorder(canvas, r, b.outerStyle, b.sides); break;
  }
  if (b.borderWidth > 0) r = PaintBevelLines(canvas, r, b.borderColor, b.sides, b.borderWidth, b.borderColor);
  switch (b.innerStyle) {
    case fsFlat:
      if (b.squareInner) {
        canvas.Pen.Color = flat;
        Line(canvas, r.Left, r.Top + 1, r.Left, r.Bottom - 1);
        Line(canvas, r.Left + 1, r.Top, r.Right - 1, r.Top);
        Line(canvas, r.Right - 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
        Line(canvas, r.Left + 1, r.Bottom - 1, r.Right - 1, r.Bottom - 1);
        r = {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
      } else {
        r = PaintBevelLines(canvas, r, flat, b.sides, 1, flat);
      }
      break;
    case fsFlatBold: r = PaintBevelLines(canvas, r, flat, b.sides, 2, flat); break;
    case fsFlatRounded:
      if (!b.transparent)
        Ring1(canvas, Ring1(canvas, r, b.borderColor), b.controlColor);
      else
        Ring1(canvas, r, b.borderColor);
      r = PaintRoundedFlatFrame(canvas, r, flat, b.sides);
      break;
    case fsStatus: r = PaintBevelLines(canvas, r, b.shadowColor, b.sides, b.bevelWidth, b.highlightColor); break;
    case fsPopup: r = PaintBevelLines(canvas, r, b.highlightColor, b.sides, b.bevelWidth, b.shadowColor); break;
    default: r = PaintFrameStyleBorder(canvas, r, b.innerStyle, b.sides); break;
  }
  return r;
}

void PaintControlFrame(Canvas& canvas, int width, int height, bool keepInterior, TSides sides, TColor frameColor,
                       TColor controlColor, TFrameStyleEx style) {
  const TRect r{0, 0, width, height};
  if (!keepInterior) PaintBevelLines(canvas, r, controlColor, sdAllSides, 2, controlColor);
  if (style == fsFlat)
    PaintEdgeLines(canvas, r, frameColor, sides, frameColor);
  else if (style == fsFlatBold)
    PaintBevelLines(canvas, r, frameColor, sides, 2, frameColor);
  else if (controlColor == clWindow)  // the value, not white
    PaintFrameStyleBorder(canvas, r, style, sides);
  else
    PaintColoredFrameBorder(canvas, r, controlColor, sides, style);
}

void PaintDropArrow(Canvas& canvas, const TRect& r, bool themed, bool enabled, bool pressed) {
  TPoint c = ArrowCentre(r);
  c.Y += themed ? 4 : 2;
  if (pressed) ++c.X, ++c.Y;
  const int cx = c.X, cy = c.Y;
  if (themed)
    FillArrow(canvas, enabled,
              {{cx, cy}, {cx - 4, cy - 5}, {cx - 3, cy - 7}, {cx, cy - 3}, {cx + 3, cy - 7}, {cx + 5, cy - 5}});
  else
    FillArrow(canvas, enabled, {{cx, cy}, {cx - 3, cy - 4}, {cx + 4, cy - 4}});
}

void PaintDirectionArrow(Canvas& canvas, const TRect& r, bool themed, bool enabled, bool pressed, int direction) {
  if (direction < adUp || direction > adRight) return;
  const TPoint c = ArrowCentre(r);
  int cx = c.X, f = c.Y;
  if (direction == adUp || direction == adDown)
    f += 2;
  else
    cx -= 2;
  if (enabled && pressed) ++f, ++cx;
  std::vector<TPoint> points;
  if (themed) {
    // Our chevrons: the drop chevron's size, pointing each way.
    switch (direction) {
      case adUp: points = {{cx, f - 7}, {cx - 4, f - 2}, {cx - 3, f}, {cx, f - 4}, {cx + 3, f}, {cx + 5, f - 2}}; break;
      case adDown:
        points = {{cx, f + 1}, {cx - 4, f - 4}, {cx - 3, f - 6}, {cx, f - 2}, {cx + 3, f - 6}, {cx + 5, f - 4}};
        break;
      case adLeft:
        points = {{cx, f}, {cx + 5, f - 4}, {cx + 7, f - 3}, {cx + 3, f}, {cx + 7, f + 3}, {cx + 5, f + 5}};
        break;
      default: points = {{cx + 7, f}, {cx + 2, f - 4}, {cx, f - 3}, {cx + 4, f}, {cx, f + 3}, {cx + 2, f + 5}}; break;
    }
  } else {
    switch (direction) {
      case adUp: points = {{cx, f - 5}, {cx + 4, f}, {cx - 4, f}}; break;
      case adDown: points = {{cx, f + 1}, {cx - 3, f - 3}, {cx + 4, f - 3}}; break;
      case adLeft: points = {{cx, f}, {cx + 4, f - 4}, {cx + 4, f + 4}}; break;
      default: points = {{cx + 4, f}, {cx, f + 4}, {cx, f - 4}}; break;
    }
  }
  FillArrow(canvas, enabled, points);
}

}  // namespace qel
