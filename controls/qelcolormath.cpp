#include "controls/qelcolormath.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// Halves go to even, as the drawing code always rounded.
int RoundEven(double x) { return int(std::nearbyint(x)); }

int ToChannel(double unit) { return std::clamp(RoundEven(unit * 255), 0, 255); }

}  // namespace

void RgbToHueLumSat(TColor color, std::uint8_t& hue, std::uint8_t& saturation, std::uint8_t& luminance) {
  const TColor rgb = ColorToRGB(color);
  const double r = GetRValue(rgb) / 255.0;
  const double g = GetGValue(rgb) / 255.0;
  const double b = GetBValue(rgb) / 255.0;
  const double max = std::max({r, g, b});
  const double min = std::min({r, g, b});
  const double l = (max + min) / 2;
  double h = 0;
  double s = 0;
  if (max != min) {
    const double d = max - min;
    s = l < 0.5 ? d / (max + min) : d / (2 - max - min);
    if (r == max)
      h = (g - b) / d;
    else if (g == max)
      h = (b - r) / d + 2;
    else
      h = (r - g) / d + 4;
    h /= 6;
    if (h < 0) h += 1;
  }
  hue = std::uint8_t(RoundEven(240 * h));
  saturation = std::uint8_t(RoundEven(240 * s));
  luminance = std::uint8_t(RoundEven(240 * l));
}

std::uint8_t HueOfColor(TColor color) {
  std::uint8_t h, s, l;
  RgbToHueLumSat(color, h, s, l);
  return h;
}

TColor HueLumSatToRgb(std::uint8_t hue, std::uint8_t saturation, std::uint8_t luminance) {
  // 239, not 240: the hues the controls were tuned with come from this divisor.
  const double h = hue / 239.0;
  const double s = saturation / 240.0;
  const double l = luminance / 240.0;
  const double v = l < 0.5 ? l * (1 + s) : l + s - l * s;
  if (v <= 0) return RGB(0, 0, 0);
  // A saturation above 240 makes m negative; ToChannel clamps it to 0.
  const double m = 2 * l - v;
  const double sv = (v - m) / v;
  const double h6 = h * 6;
  const int sextant = int(h6);
  const double f = h6 - sextant;
  const double vsf = v * sv * f;
  const double mid1 = m + vsf;
  const double mid2 = v - vsf;
  double red, green, blue;
  switch (sextant) {
    case 1: red = mid2, green = v, blue = m; break;
    case 2: red = m, green = v, blue = mid1; break;
    case 3: red = m, green = mid2, blue = v; break;
    case 4: red = mid1, green = m, blue = v; break;
    case 5: red = v, green = m, blue = mid2; break;
    default: red = v, green = mid1, blue = m; break;  // 0, and 6 from hue 239 up
  }
  return RGB(ToChannel(std::min(red, 1.0)), ToChannel(std::min(green, 1.0)), ToChannel(std::min(blue, 1.0)));
}

TColor ShadeColor(TColor color, std::uint8_t amount) {
  std::uint8_t h, s, l;
  RgbToHueLumSat(color, h, s, l);
  return HueLumSatToRgb(h, s, std::uint8_t(std::max(int(l) - amount, 0)));
}

TColor TintColor(TColor color, std::uint8_t amount) {
  std::uint8_t h, s, l;
  RgbToHueLumSat(color, h, s, l);
  // Up to 255, past 240: the channel clamp turns that into full intensity.
  return HueLumSatToRgb(h, s, std::uint8_t(std::min(int(l) + amount, 255)));
}

TColor AdjustColorBy(TColor color, int amount) {
  if (amount < 0) return ShadeColor(color, std::uint8_t(std::min(-amount, 255)));
  if (amount > 0) return TintColor(color, std::uint8_t(std::min(amount, 255)));
  return color;
}

TColor MixColors(TColor color1, TColor color2, std::uint8_t weight) {
  const TColor c1 = ColorToRGB(color1);
  const TColor c2 = ColorToRGB(color2);
  // The weight is single precision on purpose: it decides some halves.
  const float w = weight / 255.0f;
  const double wd = w;
  auto mix = [&](int a, int b) { return RoundEven(a * wd + (1 - wd) * b); };
  return RGB(mix(GetRValue(c1), GetRValue(c2)), mix(GetGValue(c1), GetGValue(c2)), mix(GetBValue(c1), GetBValue(c2)));
}

bool ColorsNearlyEqual(TColor foreground, TColor background) {
  std::uint8_t h1, s1, l1, h2, s2, l2;
  RgbToHueLumSat(foreground, h1, s1, l1);
  RgbToHueLumSat(background, h2, s2, l2);
  return std::abs(int(h1) - int(h2)) < 20 && std::abs(int(l1) - int(l2)) < 60;
}
