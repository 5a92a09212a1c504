#pragma once

#include <QFont>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QRegion>
#include <QString>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "controls/qelcolor.h"

class QPainter;

namespace qel {

// Left, Top, Right, Bottom; Right and Bottom are exclusive (QRect's right()
// is inclusive, so the controls never use QRect for their geometry).
struct TRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool operator==(const TRect&) const = default;
};

struct TPoint {
  int X = 0, Y = 0;
  bool operator==(const TPoint&) const = default;
};

inline TRect Moved(const TRect& r, int dx, int dy) { return {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }
// The right and bottom edges are outside.
inline bool Contains(const TRect& r, const QPoint& p) {
  return p.x() >= r.Left && p.x() < r.Right && p.y() >= r.Top && p.y() < r.Bottom;
}
inline QRect ToQRect(const TRect& r) { return {r.Left, r.Top, r.Width(), r.Height()}; }
inline TRect ToTRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

// Raster operations of the block copies, by their classic codes.
enum class CopyMode : std::uint32_t {
  Copy = 0x00CC0020,
  SrcAnd = 0x008800C6,
  SrcPaint = 0x00EE0086,
  MergePaint = 0x00BB0226,
  SrcInvert = 0x00660046,
};

// One drawing call as tests see it.
struct CanvasCall {
  std::string op;
  std::vector<TPoint> points;
  TColor color = clNone;
  bool operator==(const CanvasCall&) const = default;
};

struct CanvasPen {
  TColor Color = clBlack;
  bool Clear = false;
};

// A solid brush, or an 8 x 8 pattern: a set bit paints Color, a clear bit
// PatternBack (rows top down, bit 7 leftmost).
struct CanvasBrush {
  TColor Color = clWhite;
  bool Clear = false;
  bool HasPattern = false;
  std::array<std::uint8_t, 8> Pattern{};
  TColor PatternBack = clBlack;
};

// A one-pixel checkerboard: set where row and column have the same parity,
// back elsewhere.
inline CanvasBrush CheckerBrush(TColor set, TColor back) {
  CanvasBrush brush;
  brush.HasPattern = true;
  brush.Color = set;
  brush.PatternBack = back;
  for (std::size_t row = 0; row < 8; ++row) brush.Pattern[row] = row % 2 == 0 ? 0xAA : 0x55;
  return brush;
}

// Font value: Qt fonts carry no colour, and the angle is ours to apply.
struct FontValue {
  QFont Font;
  TColor Color = clWindowText;
  int Escapement = 0;  // tenths of a degree, counter-clockwise
};

// Text flags of TextRect, by their classic values.
enum TextFlag : unsigned {
  tfLeft = 0,
  tfCenter = 1,
  tfRight = 2,
  tfVCenter = 4,
  tfBottom = 8,
  tfWordBreak = 0x10,
  tfSingleLine = 0x20,
  tfExpandTabs = 0x40,
  tfCalcRect = 0x400,
  tfNoPrefix = 0x800,  // without it "&x" underlines x and "&&" is "&"
  tfPathEllipsis = 0x4000,
  tfEndEllipsis = 0x8000,
  tfRtlReading = 0x20000,
  // Point text (TextOut): place's top left is the reference point, which the
  // flags below move from the text's left and top.
  tfAnchorCenter = 0x1000000,    // horizontal middle of the text
  tfAnchorRight = 0x2000000,     // right end of the text
  tfAnchorBaseline = 0x4000000,  // on the baseline rather than the top
};

// Reference point of TextOut, by the classic values.
enum TextAlign : unsigned { taLeft = 0, taTop = 0, taRight = 2, taCenter = 6, taBaseline = 24 };

// Shortens text to width with "...": at its end, or (path) keeping the last
// part after a slash or backslash and shortening what comes before it.
QString ElideEnd(const FontValue& font, const QString& text, int width);
QString ElidePath(const FontValue& font, const QString& text, int width);

class Canvas;

// Everything about text goes through one engine so that tests can check
// captions as (text, place, colour, flags, angle) instead of font pixels.
class TextEngine {
 public:
  virtual ~TextEngine() = default;
  virtual void Draw(Canvas& canvas, const QString& text, const TRect& place, const FontValue& font, unsigned flags) = 0;
  // Width and height of one line of text.
  virtual TPoint Extent(const FontValue& font, const QString& text) = 0;
  // Rectangle the text needs when wrapped at width (no wrapping below 1).
  virtual TRect Measure(const FontValue& font, const QString& text, int width, unsigned flags) = 0;
  virtual int Height(const FontValue& font) = 0;  // character cell height
  virtual int PixelSize(const FontValue& font) = 0;
  virtual bool IsOutlineFont(const FontValue& font) = 0;
};

// The engine in use; SetTextEngine returns the one it replaces (nullptr
// restores the Qt engine).
TextEngine& Text();
TextEngine* SetTextEngine(TextEngine* engine);

// A GDI-like canvas over an image: logical pixels, exclusive rectangle ends,
// lines without their end point, no antialiasing. The image carries a device
// pixel ratio; a logical pixel covers ratio x ratio device pixels.
class Canvas {
 public:
  Canvas(int width, int height, bool seeThrough = false, int devicePixelRatio = 1);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Ratio() const { return ratio_; }
  const QImage& Image() const { return image_; }
  QImage& Image() { return image_; }
  void Resize(int width, int height);

  CanvasPen Pen;
  CanvasBrush Brush;
  FontValue Font;

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  TPoint PenPos() const { return pen_; }
  void FillRect(const TRect& r);                    // with Brush
  void FillRect(const TRect& r, TColor color);      // solid
  void Polygon(const std::vector<TPoint>& points);  // filled with Brush, no pen
  // Reads outside the image give clNone; writes there do nothing.
  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  // The stored value with its alpha, for blends the colour type cannot
  // carry: 0 outside; writes through clip and origin.
  std::uint32_t RawPixel(int x, int y) const;
  void SetRawPixel(int x, int y, std::uint32_t argb);

  // Copies src's rectangle into dest, stretched by nearest pixel.
  void CopyRect(const TRect& dest, const Canvas& src, const TRect& srcRect, CopyMode mode = CopyMode::Copy);
  // As CopyRect, but source pixels of the key colour leave dest unchanged.
  void CopyRectKeyed(const TRect& dest, const Canvas& src, const TRect& srcRect, TColor key);

  // An image of this canvas's pixel ratio, at (x, y), through clip and origin.
  void DrawImage(int x, int y, const QImage& image);

  // At a point placed by TextAlignment; the clipped form draws only inside
  // clip.
  void TextOut(int x, int y, const QString& text);
  void TextOutClipped(const TRect& clip, int x, int y, const QString& text);
  // Ellipsis flags shorten the text here, so every engine draws what a
  // user sees.
  void TextRect(const TRect& r, const QString& text, unsigned flags);
  unsigned TextAlignment = taLeft;  // TextAlign flags

  void Save();
  void Restore();
  void IntersectClipRect(const TRect& r);
  void SetOrigin(int x, int y);  // where logical (0, 0) lands on the image
  TPoint Origin() const { return origin_; }
  // Region that drawing may touch, in image pixels (logical).
  const QRegion& Clip() const { return clip_; }

  // Recording for tests: every call with its points and colour.
  void SetRecorder(std::vector<CanvasCall>* calls) { recorder_ = calls; }
  void Record(std::string op, std::vector<TPoint> points, TColor color);

  // A copy that holds only the pixels of area (image coordinates) and draws
  // nothing outside them, at the cost of that area alone. Everything else
  // reads as on this canvas: size, origin, clip, pen, brush, font, the
  // saved states and the recorder. Its Image() begins at ImageOffset().
  Canvas Layer(const TRect& area) const;
  TPoint ImageOffset() const { return {held_.Left, held_.Top}; }
  // Puts a layer's pixels back inside region (image coordinates) as they
  // are, alpha included; not recorded.
  void TakeLayer(const Canvas& layer, const QRegion& region);

 private:
  friend class QtTextEngine;
  std::uint32_t DevicePixel(int x, int y) const;                // logical image coordinates
  void PutPixel(int x, int y, std::uint32_t rgb);               // clipped, image coordinates
  void PutSpan(int y, int left, int right, std::uint32_t rgb);  // unclipped
  // The first device row of a logical image row (the image detached);
  // PutBlock writes the ratio x ratio device pixels of x there, unclipped.
  std::uint32_t* RowAt(int y);
  qsizetype Stride() const { return image_.bytesPerLine() / 4; }
  void PutBlock(std::uint32_t* row, qsizetype stride, int x, std::uint32_t rgb) const;
  bool InClip(int x, int y) const {
    return drawIsRect_ ? Contains(drawRect_, QPoint(x, y)) : drawClip_.contains(QPoint(x, y));
  }
  std::uint32_t BrushAt(int x, int y) const;
  void ResetClip();
  void ClipChanged();
  bool Holds(int x, int y) const { return x >= held_.Left && y >= held_.Top && x < held_.Right && y < held_.Bottom; }
  // A painter on the image, in logical image coordinates through the clip.
  void BeginPainter(QPainter& p) const;
  // The fast roads; false where they do not apply.
  bool PolygonDirect(const std::vector<TPoint>& points, const TRect& bounds);
  bool CopyRows(const TRect& dest, const Canvas& src, const TRect& srcRect, CopyMode mode);
  // Calls put(row, stride, x, source pixel) for each destination pixel
  // inside the clip (row as RowAt gives it), the source picked by nearest
  // pixel.
  template <class Put>
  void ForEachStretched(const TRect& dest, const Canvas& src, const TRect& srcRect, Put put);

  int width_, height_, ratio_;
  QImage image_;
  TRect held_;  // the logical image pixels image_ holds: all, or a layer's
  TPoint pen_;
  TPoint origin_;
  QRegion clip_;
  // The clip within the pixels held, and its one rectangle when it is one:
  // most clips are, and a rectangle is tested without the region.
  QRegion drawClip_;
  TRect drawRect_;
  bool drawIsRect_ = true;
  struct State {
    TPoint origin;
    QRegion clip;
  };
  std::vector<State> saved_;
  std::vector<CanvasCall>* recorder_ = nullptr;
};

// Test engine: records every draw and measures from set metrics.
class RecordingTextEngine : public TextEngine {
 public:
  struct Entry {
    QString text;
    TRect place;
    TColor color;
    unsigned flags;
    int escapement;
  };
  int CharWidth = 7;
  int LineHeight = 13;
  int FontPixelSize = 11;
  bool OutlineFonts = true;
  std::vector<Entry> Drawn;

  void Draw(Canvas& canvas, const QString& text, const TRect& place, const FontValue& font, unsigned flags) override;
  TPoint Extent(const FontValue& font, const QString& text) override;
  TRect Measure(const FontValue& font, const QString& text, int width, unsigned flags) override;
  int Height(const FontValue&) override { return LineHeight; }
  int PixelSize(const FontValue&) override { return FontPixelSize; }
  bool IsOutlineFont(const FontValue&) override { return OutlineFonts; }
};

}  // namespace qel
