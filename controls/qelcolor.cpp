#include "controls/qelcolor.h"

namespace {

// Indexes 0..30 of the system colours, as 0xRRGGBB (the classic grey scheme).
constexpr std::uint32_t kSystemColors[31] = {
    0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000, 0x000000, 0xFFFFFF, 0xD4D0C8,
    0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8, 0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040,
    0xD4D0C8, 0x000000, 0xFFFFE1, 0x000000, 0x000080, 0xA6CAF0, 0xC0C0C0, 0x0A246A, 0xD4D0C8,
};

}  // namespace

TColor ColorToRGB(TColor c) {
  if (!IsSystemColor(c)) return c;
  const unsigned index = c & 0xFF;
  if (index >= sizeof kSystemColors / sizeof kSystemColors[0]) return clBlack;
  return QRgbToColor(kSystemColors[index]);
}

TColor PaintRGB(TColor c) { return ColorToRGB(c) & 0xFFFFFF; }

std::uint32_t ColorToQRgb(TColor c) {
  const TColor rgb = PaintRGB(c);
  return 0xFF000000u | (std::uint32_t(GetRValue(rgb)) << 16) | (std::uint32_t(GetGValue(rgb)) << 8) |
         std::uint32_t(GetBValue(rgb));
}

TColor QRgbToColor(std::uint32_t rgb) { return RGB(int(rgb >> 16), int(rgb >> 8), int(rgb)); }
