#include "controls/qeltrackbars.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/qelcolormath.h"
#include "controls/qeldraw.h"

using qel::TRect;

namespace {

// The handlers' errors stop here: Qt's event loop must never see one.
template <class F>
std::optional<QString> ErrorOf(F&& work) {
  try {
    work();
  } catch (const std::exception& e) {
    return QString::fromUtf8(e.what());
  } catch (...) {
    return QStringLiteral("Unknown error");
  }
  return std::nullopt;
}

// --- Thumb pictures ---
//
// Drawn as character maps, one character a pixel. The 16-colour sets use
// the key colours below, which the colour table then turns into the colours
// of the moment; '.' lies outside the thumb (black in the image, white in
// the mask).

using Map = std::vector<std::string>;

constexpr TColor kKeyColors[16] = {clBlack,  clMaroon, clGreen, clOlive,  clNavy, clPurple,  clTeal, clGray,
                                   clSilver, clRed,    clLime,  clYellow, clBlue, clFuchsia, clAqua, clWhite};

int KeyIndex(char c) {
  switch (c) {
    case 'm': return 1;   // maroon: hot dark
    case 'G': return 2;   // green: shadow tinted
    case 'o': return 3;   // olive: 3-D dark shadow
    case 'n': return 4;   // navy: highlight shaded
    case 'p': return 5;   // purple: shadow shaded
    case 't': return 6;   // teal: shadow
    case 'g': return 7;   // gray: shadow
    case 's': return 8;   // silver: face
    case 'r': return 9;   // red: hot base
    case 'l': return 10;  // lime: shadow tinted
    case 'y': return 11;  // yellow: 3-D light
    case 'b': return 12;  // blue: highlight
    case 'f': return 13;  // fuchsia: hot light
    case 'a': return 14;  // aqua: highlight tinted
    case 'w': return 15;  // white
    default: return 0;    // '.' and 'k': black
  }
}

// The same picture with some characters swapped: the hot and disabled
// looks of a normal one.
Map Swapped(Map m, std::initializer_list<std::pair<char, char>> swaps) {
  for (std::string& row : m)
    for (char& c : row)
      for (const auto& [from, to] : swaps)
        if (c == from) {
          c = to;
          break;
        }
  return m;
}

Map HotLook(const Map& m) { return Swapped(m, {{'a', 'f'}, {'b', 'r'}, {'n', 'm'}}); }
Map DisabledLook(const Map& m) { return Swapped(m, {{'a', 'y'}, {'b', 's'}, {'n', 'l'}, {'k', 'g'}}); }

Map Transposed(const Map& m) {
  if (m.empty()) return m;
  Map t(m[0].size(), std::string(m.size(), '.'));
  for (std::size_t y = 0; y < m.size(); ++y)
    for (std::size_t x = 0; x < m[y].size(); ++x) t[x][y] = m[y][x];
  return t;
}

// A w x h picture whose pixel at (x, y) is pixel(x, y).
template <class F>
Map Drawn(int w, int h, F pixel) {
  Map m(std::size_t(h), std::string(std::size_t(w), '.'));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) m[std::size_t(y)][std::size_t(x)] = pixel(x, y);
  return m;
}

// Light edges top and left, dark ones bottom and right, a face in the
// highlight colours (lighter at its top-left, darker at its bottom-right).
Map RaisedBox(int w, int h) {
  return Drawn(w, h, [&](int x, int y) {
    if (y == h - 1 || x == w - 1) return 'o';
    if (y == 0 || x == 0) return 'w';
    if (y == h - 2 || x == w - 2) return 'g';
    if (y == 1 || x == 1) return 'y';
    if (y == 2 || x == 2) return 'a';
    if (y == h - 3 || x == w - 3) return 'n';
    return 'b';
  });
}

// Engraved lines across the middle of a box's face.
void Grip(Map& m, int lines) {
  const int h = int(m.size()), w = int(m[0].size());
  const int first = h / 2 - (lines - 1);
  for (int i = 0; i < lines; ++i)
    for (int x = 3; x < w - 3; ++x) {
      m[std::size_t(first + 2 * i)][std::size_t(x)] = 'n';
      m[std::size_t(first + 2 * i + 1)][std::size_t(x)] = 'w';
    }
}

// One row of a pointer's tip, r pixels either side of the middle column.
std::string TipRow(int w, int r, char point) {
  std::string row(std::size_t(w), '.');
  const int mid = w / 2, c0 = mid - r, c1 = mid + r;
  if (r == 0) {
    row[std::size_t(mid)] = point;
    return row;
  }
  for (int x = c0; x <= c1; ++x) row[std::size_t(x)] = 'b';
  if (c0 + 2 <= c1 - 2) {
    row[std::size_t(c0 + 2)] = 'a';
    if (c1 - 2 > c0 + 2) row[std::size_t(c1 - 2)] = 'n';
  }
  if (c1 - 1 > c0 + 1) row[std::size_t(c1 - 1)] = 'g';
  row[std::size_t(c0 + 1)] = 'y';
  row[std::size_t(c0)] = 'w';
  row[std::size_t(c1)] = 'o';
  return row;
}

// A box whose top (up) or bottom end narrows to a point over tip rows.
Map PointerMap(int w, int h, bool up) {
  const int tip = w / 2, body = h - tip;
  Map box = RaisedBox(w, body + 3);
  Grip(box, 2);
  Map m;
  if (up) {
    for (int r = 0; r < tip; ++r) m.push_back(TipRow(w, r, 'w'));
    m.insert(m.end(), box.begin() + 3, box.end());
  } else {
    m.assign(box.begin(), box.begin() + body);
    for (int r = tip - 1; r >= 0; --r) m.push_back(TipRow(w, r, 'o'));
  }
  return m;
}

Map BoxMap(int w, int h) {
  Map m = RaisedBox(w, h);
  Grip(m, 3);
  return m;
}

// A fader knob: a raised box with ridges and a black line in the middle.
Map MixerMap(int w, int h) {
  Map m = RaisedBox(w, h);
  for (int y = 3; y < h - 3; ++y) {
    for (int x : {5, 7, w - 8, w - 6}) m[std::size_t(y)][std::size_t(x)] = 'n';
    m[std::size_t(y)][std::size_t(w / 2)] = 'k';
  }
  return m;
}

// A flat plate framed in the dark highlight colour.
Map FlatMap(int w, int h) {
  return Drawn(w, h, [&](int x, int y) {
    if (y == 0 || x == 0 || y == h - 1 || x == w - 1) return 'n';
    return y == 1 || x == 1 ? 'a' : 'b';
  });
}

// The true-colour sets: B border, 1 2 3 the face from light to shaded,
// T and V the coloured lines at the ends across the track.
Map XpBoxMap(int w, int h) {
  return Drawn(w, h, [&](int x, int y) {
    const bool edgeX = x == 0 || x == w - 1, edgeY = y == 0 || y == h - 1;
    if (edgeX && edgeY) return '.';
    if (edgeX || edgeY) return 'B';
    if (y == 1) return 'T';
    if (y == h - 2) return 'V';
    return x == 1 ? '1' : x == w - 2 ? '3' : '2';
  });
}

Map XpPointerMap(int w, int h) {
  const int tip = w / 2;
  Map m = XpBoxMap(w, h);
  for (int r = 0; r < tip; ++r) {
    std::string& row = m[std::size_t(r)];
    row.assign(std::size_t(w), '.');
    const int c0 = tip - r, c1 = tip + r;
    for (int x = c0; x <= c1; ++x) row[std::size_t(x)] = x == c0 || x == c1 ? 'B' : x == c0 + 1 ? '1' : '2';
  }
  // The slope meets the straight sides.
  m[std::size_t(tip)][0] = m[std::size_t(tip)][std::size_t(w - 1)] = 'B';
  for (int x = 1; x < w - 1; ++x) m[std::size_t(tip)][std::size_t(x)] = x == 1 ? '1' : x == w - 2 ? '3' : '2';
  return m;
}

QImage IndexedImage(const Map& m) {
  QImage image(int(m[0].size()), int(m.size()), QImage::Format_Indexed8);
  image.setColorCount(16);
  for (int i = 0; i < 16; ++i) image.setColor(i, ColorToQRgb(kKeyColors[i]));
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, uint(KeyIndex(m[std::size_t(y)][std::size_t(x)])));
  return image;
}

// White outside the thumb, black on it.
QImage MaskImage(const Map& m, QImage::Format format) {
  QImage mask(int(m[0].size()), int(m.size()), format);
  mask.setColorCount(2);
  mask.setColor(0, 0xFF000000u);
  mask.setColor(1, 0xFFFFFFFFu);
  for (int y = 0; y < mask.height(); ++y)
    for (int x = 0; x < mask.width(); ++x) mask.setPixel(x, y, m[std::size_t(y)][std::size_t(x)] == '.' ? 1u : 0u);
  return mask;
}

struct XpColors {
  TColor border, light, face, shaded, lineLight, lineDark;
};

QImage XpImage(const Map& m, const XpColors& c) {
  QImage image(int(m[0].size()), int(m.size()), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      TColor color = clBlack;
      switch (m[std::size_t(y)][std::size_t(x)]) {
        case 'B': color = c.border; break;
        case '1': color = c.light; break;
        case '2': color = c.face; break;
        case '3': color = c.shaded; break;
        case 'T': color = c.lineLight; break;
        case 'V': color = c.lineDark; break;
        default: break;
      }
      image.setPixel(x, y, ColorToQRgb(color));
    }
  return image;
}

constexpr XpColors kXpNormal = {RGB(0x55, 0x6E, 0x8C), RGB(0xFF, 0xFF, 0xFF), RGB(0xF1, 0xF1, 0xEC),
                                RGB(0xD2, 0xD2, 0xC8), RGB(0x8C, 0xE0, 0x8C), RGB(0x2F, 0xA8, 0x36)};
constexpr XpColors kXpHot = {RGB(0x55, 0x6E, 0x8C), RGB(0xFF, 0xFF, 0xFF), RGB(0xF1, 0xF1, 0xEC),
                             RGB(0xD2, 0xD2, 0xC8), RGB(0xFF, 0xD8, 0x80), RGB(0xF0, 0x9A, 0x20)};
constexpr XpColors kXpDisabled = {RGB(0xB8, 0xB6, 0xAB), RGB(0xF4, 0xF3, 0xEE), RGB(0xF4, 0xF3, 0xEE),
                                  RGB(0xE6, 0xE5, 0xDE), RGB(0xE0, 0xDE, 0xD6), RGB(0xE0, 0xDE, 0xD6)};

// Red one step up, or down at FF: a colour near the highlight that never
// carries into green.
TColor RedPlusOne(TColor c) {
  const TColor rgb = PaintRGB(c);
  const int red = GetRValue(rgb);
  return (rgb & ~TColor(0xFF)) | TColor(red == 0xFF ? red - 1 : red + 1);
}

}  // namespace

// --- TQelTrackBar ---

TQelTrackBar::TQelTrackBar(QWidget* parent) : QWidget(parent), StyledControl(this), pagingTimer_(new QTimer(this)) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  resize(200, 35);
  pagingTimer_->setInterval(200);
  connect(pagingTimer_, &QTimer::timeout, this, &TQelTrackBar::PagingTick);
  LoadThumbImages();
  setParentColor(true);
}

TQelTrackBar::~TQelTrackBar() = default;

void TQelTrackBar::SetMin(int v) {
  if (v == min_) return;
  min_ = v >= max_ ? max_ - 1 : v;
  if (position_ < min_) WritePosition(min_);
  MarkStale();  // the ticks move
}

void TQelTrackBar::SetMax(int v) {
  if (v == max_) return;
  max_ = min_ >= v ? min_ + 1 : v;
  if (max_ < position_) WritePosition(max_);
  MarkStale();
}

void TQelTrackBar::setRange(int min, int max) {
  // The order that never pushes one bound off by the other.
  if (min < max_) {
    SetMin(min);
    SetMax(max);
  } else {
    SetMax(max);
    SetMin(min);
  }
}

void TQelTrackBar::SetOrientation(TOrientation v) { AssignImages(orientation_, v); }

void TQelTrackBar::SetTickStep(int v) {
  if (v < 1) return;  // no multiples to step through
  AssignStale(tickStep_, v);
}

void TQelTrackBar::SetThumbStyle(TThumbStyle v) {
  if (v == thumbStyle_) return;
  thumbStyle_ = v;
  if (!isLoading()) trackWidth_ = v == tsMixer || v == tsFlat ? 6 : 8;
  LoadThumbImages();
  MarkStale();
}

void TQelTrackBar::SetCustomThumb(const QImage& v) {
  customThumb_ = v;
  thumbStyle_ = tsCustom;
  LoadThumbImages();
  MarkStale();
}

void TQelTrackBar::SetTrackWidth(std::uint16_t v) { AssignStale(trackWidth_, std::max<std::uint16_t>(v, 4)); }

void TQelTrackBar::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  setAttribute(Qt::WA_OpaquePaintEvent, !v);
  MarkStale();
}

void TQelTrackBar::SetColor(TColor v) {
  setParentColor(false);
  AssignStale(color_, v);
}

void TQelTrackBar::parentColorChanged(TColor color) {
  color_ = color;
  MarkStale();
}

void TQelTrackBar::MarkStale() {
  imageStale_ = true;
  refresh();
}

void TQelTrackBar::loaded() {
  LoadThumbImages();
  imageStale_ = true;
}

TColor TQelTrackBar::KeyColorReplacement(TColor key) const {
  TColor hotBase, hotDark, hotLight;
  if (hotTrackColorType_ == htctActual) {
    hotBase = hotTrackColor_;
    hotDark = ShadeColor(hotTrackColor_, 30);
    hotLight = TintColor(hotTrackColor_, 30);
  } else {
    const int hue = HueOfColor(hotTrackColor_);
    hotLight = HueLumSatToRgb(std::uint8_t(hue < 120 ? hue + 120 : hue - 120), 220, 180);
    hotDark = ShadeColor(hotLight, 30);
    hotBase = ShadeColor(hotLight, 15);
  }
  switch (key) {
    case clSilver: return clBtnFace;
    case clGray: return clBtnShadow;
    case clOlive: return cl3DDkShadow;
    case clYellow: return cl3DLight;
    case clGreen: return TintColor(clBtnShadow, 30);
    case clBlue: return RedPlusOne(highlightColor_);
    case clNavy: return ShadeColor(highlightColor_, 30);
    case clAqua: return TintColor(highlightColor_, 30);
    case clRed: return hotBase;
    case clMaroon: return hotDark;
    case clFuchsia: return hotLight;
    case clTeal: return clBtnShadow;
    case clPurple: return ShadeColor(clBtnShadow, 30);
    case clLime: return TintColor(clBtnShadow, 30);
    default: return key;
  }
}

void TQelTrackBar::LoadThumbImages() {
  const bool vertical = orientation_ == orVertical;
  QImage* images = images_;
  if (thumbStyle_ == tsCustom) {
    const int w = customThumb_.width() / 3, h = customThumb_.height();
    const QImage strip = customThumb_.convertToFormat(QImage::Format_RGB32);
    images[tiNormal] = images[tiHot] = strip.copy(0, 0, w, h);
    images[tiMask] = strip.copy(w, 0, w, h);
    images[tiDisabled] = strip.copy(2 * w, 0, w, h);
  } else if (thumbStyle_ == tsXPBox || thumbStyle_ == tsXPPointer) {
    Map m = thumbStyle_ == tsXPBox ? XpBoxMap(11, 21) : XpPointerMap(11, 21);
    if (vertical) m = Transposed(m);
    images[tiNormal] = XpImage(m, kXpNormal);
    images[tiHot] = XpImage(m, kXpHot);
    images[tiDisabled] = XpImage(m, kXpDisabled);
    images[tiMask] = MaskImage(m, QImage::Format_Mono);
  } else {
    // Drawn horizontal; the vertical set is the same picture turned over
    // its diagonal, so light still falls from the top left.
    Map m;
    switch (thumbStyle_) {
      case tsBox: m = BoxMap(11, 21); break;
      case tsMixer: m = MixerMap(21, 16); break;
      case tsFlat: m = FlatMap(10, 20); break;
      default: m = PointerMap(11, 21, vertical || pointerType_ == ptStandard); break;
    }
    if (vertical) m = Transposed(m);
    images[tiNormal] = IndexedImage(m);
    images[tiHot] = IndexedImage(HotLook(m));
    images[tiDisabled] = IndexedImage(DisabledLook(m));
    images[tiMask] = MaskImage(m, QImage::Format_Indexed8);
    for (TThumbImage which : {tiNormal, tiHot, tiDisabled})
      for (int i = 0; i < 16; ++i) images[which].setColor(i, ColorToQRgb(KeyColorReplacement(kKeyColors[i])));
  }
  const QImage& normal = images[tiNormal];
  thumbThickness_ = vertical ? normal.width() : normal.height();
  thumbLength_ = vertical ? normal.height() : normal.width();
}

int TQelTrackBar::PointerShift() const {
  if (thumbStyle_ != tsPointer && thumbStyle_ != tsXPPointer) return 0;
  return orientation_ == orHorizontal && pointerType_ == ptWin95 ? 0 : 2;
}

int TQelTrackBar::Travel() const {
  return (orientation_ == orHorizontal ? width() : height()) - thumbLength_ - 2 * kMargin;
}

TRect TQelTrackBar::TrackRect() const {
  const int half = HalfThumb();
  if (orientation_ == orHorizontal)
    return {kMargin + half, trackOffset_, width() - kMargin - half, trackOffset_ + trackWidth_};
  return {trackOffset_, kMargin + half, trackOffset_ + trackWidth_, height() - kMargin - half};
}

TRect TQelTrackBar::ThumbRect() const {
  const std::int64_t along =
      std::int64_t(Travel()) * (std::int64_t(position_) - min_) / (std::int64_t(max_) - min_) + kMargin;
  const int across = (trackWidth_ - thumbThickness_) / 2 + trackOffset_ - PointerShift();
  if (orientation_ == orHorizontal) {
    const int left = int(along);
    return {left, across, left + thumbLength_, across + thumbThickness_};
  }
  const int bottom = height() - int(along);
  return {across, bottom - thumbLength_, across + thumbThickness_, bottom};
}

template <class F>
void TQelTrackBar::ForEachTick(bool eachPlaceOnce, F tick) const {
  const std::int64_t step = tickStep_, range = std::int64_t(max_) - min_;
  const double scale = double(Travel()) / double(range);
  // The first multiple of step at or above Min.
  std::int64_t v = min_ - ((min_ % step) + step) % step;
  if (v < min_) v += step;
  const auto offset = [&](std::int64_t value) { return std::int64_t(std::trunc(double(value - min_) * scale)); };
  while (v <= max_) {
    const std::int64_t t = offset(v);
    tick(int(t), v);
    if (!eachPlaceOnce) {
      v += step;
      continue;
    }
    // Jump close to the first value past this offset, then walk: the
    // values between draw the same line.
    const double a = std::abs(scale);
    if (a == 0) return;
    const double boundary = std::floor(double(std::abs(t) + 1) / a) - 1;
    if (boundary > double(range)) return;
    std::int64_t next = std::max(min_ + std::int64_t(std::max(boundary, 0.0)), v + step);
    if (const std::int64_t m = ((next % step) + step) % step) next += step - m;  // up to a multiple
    while (next <= max_ && offset(next) == t) next += step;
    v = next;
  }
}

void TQelTrackBar::DrawTrack(qel::Canvas& canvas) {
  const TRect r = TrackRect();
  canvas.FillRect(r, isEnabled() ? trackColor_ : clBtnFace);
  if (trackFrame_ == qel::fsFlat)
    qel::PaintEdgeLines(canvas, r, trackFrameColor_, qel::sdAllSides, trackFrameColor_);
  else
    qel::PaintFrameStyleBorder(canvas, r, trackFrame_, qel::sdAllSides);
}

void TQelTrackBar::DrawTicks(qel::Canvas& canvas) {
  const bool owner = tickStyle_ == tkOwnerDraw;
  // Nothing would be drawn: no need to walk the range.
  if (owner && !OnDrawTick) return;
  canvas.Pen.Color = tickColor_;
  canvas.Pen.Clear = false;
  const int w = width(), h = height(), half = HalfThumb();
  const bool pointer = thumbStyle_ == tsPointer;
  const auto line = [&](int x1, int y1, int x2, int y2) {
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
  };
  ForEachTick(!owner, [&](int t, std::int64_t v) {
    if (orientation_ == orHorizontal) {
      const int x = t + kMargin + half;
      if (owner) return DrawTick(canvas, {x, 0}, int(v));
      if (!(pointer && pointerType_ == ptWin95)) line(x, kMargin, x, 10);
      if (!(pointer && pointerType_ == ptStandard) && thumbStyle_ != tsXPPointer) line(x, h - 10, x, h - kMargin);
    } else {
      const int y = h - thumbLength_ - t - kMargin + half;
      if (owner) return DrawTick(canvas, {0, y}, int(v));
      line(kMargin, y, 10, y);
      if (!pointer && thumbStyle_ != tsXPPointer) line(w - 10, y, w - kMargin, y);
    }
  });
}

void TQelTrackBar::DrawTick(qel::Canvas& canvas, qel::TPoint location, int index) {
  if (OnDrawTick) OnDrawTick(this, canvas, location, index);
}

void TQelTrackBar::UpdateImage(int ratio) {
  const int w = width(), h = height();
  if (!imageStale_ && image_.Width() == w && image_.Height() == h && image_.Ratio() == ratio) return;
  image_ = qel::Canvas(w, h, false, ratio);
  if (transparent_)
    qel::PaintParentImage(this, image_);
  else
    image_.FillRect({0, 0, w, h}, color_);
  DrawTrack(image_);
  if (showTicks_) DrawTicks(image_);
  imageStale_ = false;
}

void TQelTrackBar::DrawThumb(qel::Canvas& canvas) {
  UpdateImage(canvas.Ratio());
  const TRect r = ThumbRect();
  if (r.IsEmpty()) return;
  const int ratio = canvas.Ratio();
  const QRectF whole(0, 0, r.Width(), r.Height());
  QImage scratch(r.Width() * ratio, r.Height() * ratio, QImage::Format_RGB32);
  scratch.setDevicePixelRatio(ratio);
  scratch.fill(0xFF000000u);
  const QImage& face = !isEnabled() ? images_[tiDisabled] : hot_ ? images_[tiHot] : images_[tiNormal];
  QPainter p(&scratch);
  p.drawImage(QPointF(-r.Left, -r.Top), image_.Image());
  p.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
  p.drawImage(whole, images_[tiMask].convertToFormat(QImage::Format_RGB32));
  p.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
  p.drawImage(whole, face.convertToFormat(QImage::Format_RGB32));
  p.end();
  canvas.DrawImage(r.Left, r.Top, scratch);
}

void TQelTrackBar::PaintAll(qel::Canvas& canvas) {
  UpdateImage(canvas.Ratio());
  // Background, groove and ticks come from the image, so a paint of the
  // thumb's old area puts them back.
  canvas.DrawImage(0, 0, image_.Image());
  if (hasFocus() && showFocusRect_) qel::PaintFocusFrame(canvas, {0, 0, width(), height()});
  DrawThumb(canvas);
}

qel::Canvas TQelTrackBar::Paint() {
  qel::Canvas canvas = qel::CanvasFor(this);
  PaintAll(canvas);
  return canvas;
}

void TQelTrackBar::paintEvent(QPaintEvent*) {
  const qel::Canvas canvas = Paint();
  QPainter p(this);
  qel::ShowCanvas(p, canvas);
}

void TQelTrackBar::WritePosition(std::int64_t v) {
  if (v == position_) return;
  const int kept = int(std::clamp<std::int64_t>(v, min_, max_));
  bool allow = true;
  Changing(kept, allow);
  if (!allow) return;
  const TRect old = ThumbRect();
  position_ = kept;
  if (!imageStale_) RedrawThumb(old);
  Change();
}

void TQelTrackBar::RedrawThumb(const TRect& old) {
  update(ToQRect(old));
  update(ToQRect(ThumbRect()));
}

bool TQelTrackBar::CanChangePosition(std::int64_t) { return true; }

void TQelTrackBar::Changing(int newPos, bool& allowChange) {
  if (OnChanging) OnChanging(this, newPos, allowChange);
}

void TQelTrackBar::Change() { emit valueChanged(position_); }

void TQelTrackBar::SetHot(bool v) {
  if (v == hot_) return;
  hot_ = v;
  update(ToQRect(ThumbRect()));
}

void TQelTrackBar::UpdateCursor(const QPoint& at) {
  if (Contains(ThumbRect(), at))
    setCursor(orientation_ == orVertical ? Qt::SizeVerCursor : Qt::SizeHorCursor);
  else
    unsetCursor();
}

bool TQelTrackBar::event(QEvent* e) {
  // What shows through changed colour.
  if (e->type() == qel::ParentColorChange && transparent_) MarkStale();
  return QWidget::event(e);
}

void TQelTrackBar::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  SetOrientation(width() < height() ? orVertical : orHorizontal);
  MarkStale();
}

void TQelTrackBar::moveEvent(QMoveEvent* e) {
  QWidget::moveEvent(e);
  if (transparent_) MarkStale();  // another part of the parent beneath
}

void TQelTrackBar::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  if (transparent_) MarkStale();  // the parent may have changed while hidden
}

void TQelTrackBar::hideEvent(QHideEvent* e) {
  QWidget::hideEvent(e);
  LoseCapture();
}

void TQelTrackBar::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::EnabledChange) {
    if (!isEnabled()) LoseCapture();
    MarkStale();
  } else if (e->type() == QEvent::ActivationChange && !isActiveWindow()) {
    LoseCapture();
  }
}

void TQelTrackBar::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  update();
}

void TQelTrackBar::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  update();
}

void TQelTrackBar::keyPressEvent(QKeyEvent* e) {
  QWidget::keyPressEvent(e);
  const bool vertical = orientation_ == orVertical, keypad = e->modifiers() & Qt::KeypadModifier;
  std::int64_t v = position_;
  const auto less = [&] {
    if (v > min_) --v;
  };
  const auto more = [&] {
    if (v < max_) ++v;
  };
  bool moves = true;
  switch (e->key()) {
    case Qt::Key_PageUp: v += pageSize_; break;
    case Qt::Key_PageDown: v -= pageSize_; break;
    case Qt::Key_End: v = vertical ? min_ : max_; break;
    case Qt::Key_Home: v = vertical ? max_ : min_; break;
    case Qt::Key_Left:
    case Qt::Key_Down: less(); break;
    case Qt::Key_Up:
    case Qt::Key_Right: more(); break;
    case Qt::Key_Minus:
      if (keypad) less();
      moves = keypad;
      break;
    case Qt::Key_Plus:
      if (keypad) more();
      moves = keypad;
      break;
    default: moves = false; break;
  }
  if (moves) e->accept();
  // Every key asks, so a bar that refuses (read-only) answers each one.
  if (const auto error = ErrorOf([&] {
        if (CanChangePosition(v)) WritePosition(v);
      }))
    qel::ReportError(*error);
  const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
  if (tabOnEnter_ && enter && !(e->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    e->accept();
    qel::PostTabKey(this);
  }
}

void TQelTrackBar::Press(Qt::MouseButton button, QPoint at) {
  if (isEnabled() && focusPolicy() != Qt::NoFocus) setFocus(Qt::MouseFocusReason);
  if (button != Qt::LeftButton) return;
  const TRect thumb = ThumbRect();
  if (Contains(thumb, at)) {
    if (paging_) EndPaging();
    dragging_ = true;
    grab_ = {at.x() - thumb.Left - thumb.Width() / 2, at.y() - thumb.Top - thumb.Height() / 2};
    return;
  }
  if (!Contains(TrackRect(), at)) return;
  if (!pagingTimer_->isActive()) pagingTimer_->start();
  pressPoint_ = at;
  const double scale = double(Travel()) / double(std::int64_t(max_) - min_);
  bool towardMax;
  if (orientation_ == orHorizontal)
    towardMax = at.x() >= std::int64_t(std::trunc(double(std::int64_t(position_) - min_) * scale)) + kMargin;
  else
    towardMax = at.y() < std::int64_t(std::trunc(double(std::int64_t(max_) - position_) * scale)) + kMargin;
  if (!paging_) {
    pageTowardMax_ = towardMax;
    paging_ = true;
  }
  if (towardMax != pageTowardMax_) {
    EndPaging();  // the thumb has passed the pointer
    return;
  }
  const std::int64_t v = std::int64_t(position_) + (towardMax ? pageSize_ : -std::int64_t(pageSize_));
  if (CanChangePosition(v)) WritePosition(v);
}

void TQelTrackBar::EndPaging() {
  pagingTimer_->stop();
  pagingTimer_->setInterval(200);
  paging_ = false;
}

void TQelTrackBar::LoseCapture() {
  EndPaging();
  captured_ = false;
  if (!dragging_) return;
  dragging_ = false;
  SetHot(false);
}

void TQelTrackBar::PagingTick() {
  pagingTimer_->setInterval(100);
  if (!captured_) return;
  if (const auto error = ErrorOf([&] { Press(Qt::LeftButton, pressPoint_); })) {
    pagingTimer_->stop();
    pagingTimer_->setInterval(200);
    qel::ReportError(*error);
  }
}

void TQelTrackBar::mousePressEvent(QMouseEvent* e) {
  QWidget::mousePressEvent(e);
  e->accept();
  if (e->button() == Qt::LeftButton) captured_ = true;
  if (const auto error = ErrorOf([&] { Press(e->button(), e->position().toPoint()); })) qel::ReportError(*error);
}

void TQelTrackBar::Drag(QPoint at) {
  const TRect t = TrackRect();
  std::int64_t d, length;
  if (orientation_ == orHorizontal) {
    d = std::int64_t(at.x()) - t.Left - grab_.X;
    length = t.Width();
  } else {
    d = std::int64_t(t.Bottom) - at.y() + grab_.Y;
    length = t.Height();
  }
  // A groove of no length maps no pointer place to a value.
  if (length <= 0) return;
  const double value = std::nearbyint(double(d) / double(length) * double(std::int64_t(max_) - min_) + min_);
  const std::int64_t v = std::int64_t(std::clamp(value, double(min_), double(max_)));
  if (CanChangePosition(v)) WritePosition(v);
}

void TQelTrackBar::mouseMoveEvent(QMouseEvent* e) {
  QWidget::mouseMoveEvent(e);
  const QPoint at = e->position().toPoint();
  if (!dragging_) {
    SetHot(Contains(ThumbRect(), at));
    UpdateCursor(at);
    return;
  }
  if (const auto error = ErrorOf([&] { Drag(at); })) qel::ReportError(*error);
}

void TQelTrackBar::mouseReleaseEvent(QMouseEvent* e) {
  QWidget::mouseReleaseEvent(e);
  EndPaging();
  if (e->button() != Qt::LeftButton) return;
  captured_ = false;
  if (!dragging_) return;
  dragging_ = false;
  hot_ = false;
  update(ToQRect(ThumbRect()));
}

void TQelTrackBar::leaveEvent(QEvent* e) {
  QWidget::leaveEvent(e);
  if (!dragging_) SetHot(false);
}

// --- TQelTrackValueList ---

void TQelTrackValueList::FitRange() {
  if (bar_) bar_->setRange(0, std::max(Count() - 1, 1));
}

void TQelTrackValueList::Add(const QString& s) {
  items_.append(s);
  FitRange();
}

void TQelTrackValueList::Insert(int index, const QString& s) {
  if (index < 0 || index > Count()) throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  items_.insert(index, s);
  FitRange();
}

void TQelTrackValueList::Delete(int index) {
  if (index < 0 || index >= Count())
    throw std::out_of_range("List index out of bounds (" + std::to_string(index) + ")");
  items_.removeAt(index);
  FitRange();
}

void TQelTrackValueList::Clear() {
  items_.clear();
  if (bar_ && !bar_->Destroying()) bar_->setRange(0, 1);
}

// --- TQelFieldDataLink ---

void TQelFieldDataLink::Reset() {
  if (OnDataChange) OnDataChange();
  // The control's change notification during the data change marks it
  // modified; what it shows now is the field's value.
  modified_ = false;
}

void TQelFieldDataLink::UpdateRecord() {
  if (!modified_) return;
  if (Field() && OnUpdateData) OnUpdateData();
  modified_ = false;
}

// --- TQelDBTrackBar ---

TQelDBTrackBar::TQelDBTrackBar(QWidget* parent) : TQelTrackBar(parent), link_(std::make_unique<TQelFieldDataLink>()) {
  ConnectLink();
}

TQelDBTrackBar::~TQelDBTrackBar() {
  destroying_ = true;
  link_->OnDataChange = nullptr;
  link_->OnUpdateData = nullptr;
  values_.Clear();
}

void TQelDBTrackBar::SetDataLink(std::unique_ptr<TQelFieldDataLink> link) {
  link_ = link ? std::move(link) : std::make_unique<TQelFieldDataLink>();
  ConnectLink();
}

void TQelDBTrackBar::ConnectLink() {
  link_->OnDataChange = [this] { DataChange(); };
  link_->OnUpdateData = [this] { UpdateData(); };
}

void TQelDBTrackBar::SetValues(const QStringList& list) {
  values_.Assign(list);
  setRange(0, std::max(values_.Count() - 1, 1));
  DataChange();
}

QString TQelDBTrackBar::PositionToValue(std::int64_t n) const {
  if (n >= 0 && n < values_.Count() && !values_[int(n)].isEmpty()) return values_[int(n)];
  if (n < Min() || n > Max()) return {};
  return QString::number(n);
}

void TQelDBTrackBar::ValueToPosition(const QString& text) {
  valueText_ = text;
  if (PositionToValue(Position()) == text) return;
  // The first match from Min is either among the entries of Values or,
  // outside them, the one position whose number is text: no need to walk
  // the whole range.
  std::optional<std::int64_t> found;
  const std::int64_t last = std::min<std::int64_t>(Max(), values_.Count() - 1);
  for (std::int64_t n = std::max(Min(), 0); n <= last; ++n)
    if (PositionToValue(n) == text) {
      found = n;
      break;
    }
  bool number = false;
  const qlonglong k = text.toLongLong(&number);
  if (number && QString::number(k) == text && PositionToValue(k) == text && (!found || k < *found)) found = k;
  if (found) WritePosition(*found);
}

void TQelDBTrackBar::DataChange() {
  const TQelField* field = LinkedField();
  ValueToPosition(field ? field->EditText() : QString());
}

void TQelDBTrackBar::UpdateData() {
  if (TQelField* field = LinkedField()) field->SetEditText(valueText_);
}

bool TQelDBTrackBar::CanChangePosition(std::int64_t) {
  if (ReadOnly())
    qel::Beep();
  else
    link_->Edit();
  return !ReadOnly();
}

void TQelDBTrackBar::Change() {
  ValueToPosition(PositionToValue(Position()));
  if (link_->Editing()) link_->Modified();
  TQelTrackBar::Change();
}

void TQelDBTrackBar::keyPressEvent(QKeyEvent* e) {
  TQelTrackBar::keyPressEvent(e);
  if (e->key() != Qt::Key_Escape) return;
  if (const auto error = ErrorOf([&] { link_->Reset(); })) qel::ReportError(*error);
}

void TQelDBTrackBar::focusOutEvent(QFocusEvent* e) {
  // Another window or a popup taking the focus is no exit from the bar.
  const Qt::FocusReason reason = e->reason();
  const bool exit = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
  const auto error = exit ? ErrorOf([&] { link_->UpdateRecord(); }) : std::nullopt;
  TQelTrackBar::focusOutEvent(e);
  if (!error) return;
  // The value could not be kept: the user stays on it.
  QMetaObject::invokeMethod(
      this, [this] { setFocus(Qt::OtherFocusReason); }, Qt::QueuedConnection);
  qel::ReportError(*error);
}
