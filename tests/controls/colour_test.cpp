#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "controls/qelcolor.h"
#include "controls/qelcolormath.h"

namespace {

TColor FromHex(std::uint32_t rrggbb) { return RGB(int(rrggbb >> 16), int(rrggbb >> 8), int(rrggbb)); }

struct SystemCase {
  TColor color;
  std::uint32_t rrggbb;
  const char* name;
};

TEST(ColorValues, SystemColoursResolveThroughTheFixedTable) {
  const SystemCase cases[] = {
      {clScrollBar, 0xD4D0C8, "ScrollBar"},
      {clBackground, 0x3A6EA5, "Background"},
      {clActiveCaption, 0x0A246A, "ActiveCaption"},
      {clInactiveCaption, 0x808080, "InactiveCaption"},
      {clMenu, 0xD4D0C8, "Menu"},
      {clWindow, 0xFFFFFF, "Window"},
      {clWindowFrame, 0x000000, "WindowFrame"},
      {clMenuText, 0x000000, "MenuText"},
      {clWindowText, 0x000000, "WindowText"},
      {clCaptionText, 0xFFFFFF, "CaptionText"},
      {clActiveBorder, 0xD4D0C8, "ActiveBorder"},
      {clInactiveBorder, 0xD4D0C8, "InactiveBorder"},
      {clAppWorkSpace, 0x808080, "AppWorkSpace"},
      {clHighlight, 0x0A246A, "Highlight"},
      {clHighlightText, 0xFFFFFF, "HighlightText"},
      {clBtnFace, 0xD4D0C8, "BtnFace"},
      {clBtnShadow, 0x808080, "BtnShadow"},
      {clGrayText, 0x808080, "GrayText"},
      {clBtnText, 0x000000, "BtnText"},
      {clInactiveCaptionText, 0xD4D0C8, "InactiveCaptionText"},
      {clBtnHighlight, 0xFFFFFF, "BtnHighlight"},
      {cl3DDkShadow, 0x404040, "3DDkShadow"},
      {cl3DLight, 0xD4D0C8, "3DLight"},
      {clInfoText, 0x000000, "InfoText"},
      {clInfoBk, 0xFFFFE1, "InfoBk"},
      {clSystemColor | 25, 0x000000, "index 25"},
      {clHotLight, 0x000080, "HotLight"},
      {clGradientActiveCaption, 0xA6CAF0, "GradientActiveCaption"},
      {clGradientInactiveCaption, 0xC0C0C0, "GradientInactiveCaption"},
      {clMenuHighlight, 0x0A246A, "MenuHighlight"},
      {clMenuBar, 0xD4D0C8, "MenuBar"},
  };
  static_assert(sizeof cases / sizeof cases[0] == 31);
  for (const SystemCase& c : cases) {
    EXPECT_EQ(ColorToRGB(c.color), FromHex(c.rrggbb)) << c.name;
    EXPECT_EQ(ColorToQRgb(c.color), 0xFF000000u | c.rrggbb) << c.name;
  }
}

TEST(ColorValues, NonSystemValuesPassAndPaintAsTheirLow24Bits) {
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(clRed), clRed);
  const TColor paletteRelative = 0x02000000 | RGB(0x12, 0x34, 0x56);
  EXPECT_EQ(ColorToRGB(paletteRelative), paletteRelative);
  EXPECT_EQ(PaintRGB(paletteRelative), RGB(0x12, 0x34, 0x56));
  EXPECT_EQ(ColorToQRgb(paletteRelative), 0xFF123456u);
  EXPECT_EQ(PaintRGB(clBtnFace), RGB(0xD4, 0xD0, 0xC8));
  // Red is the low byte, unlike QRgb.
  EXPECT_EQ(clRed, 0x0000FFu);
  EXPECT_EQ(QRgbToColor(0xFFFF0000u), clRed);
}

struct HlsCase {
  TColor color;
  int hue, saturation, luminance;
  const char* name;
};

TEST(ColorMaths, RgbToHueLumSatEdgeCases) {
  const HlsCase cases[] = {
      {clBlack, 0, 0, 0, "black"},     {clWhite, 0, 0, 240, "white"},
      {clGray, 0, 0, 120, "grey"},     {RGB(42, 42, 42), 0, 0, 40, "dark grey"},
      {clRed, 0, 240, 120, "red"},     {clLime, 80, 240, 120, "green"},
      {clBlue, 160, 240, 120, "blue"}, {clBtnFace, 27, 29, 194, "system colour resolved"},
  };
  for (const HlsCase& c : cases) {
    std::uint8_t h = 99, s = 99, l = 99;
    RgbToHueLumSat(c.color, h, s, l);
    EXPECT_EQ(h, c.hue) << c.name;
    EXPECT_EQ(s, c.saturation) << c.name;
    EXPECT_EQ(l, c.luminance) << c.name;
    EXPECT_EQ(HueOfColor(c.color), c.hue) << c.name;
  }
}

struct RgbCase {
  int hue, saturation, luminance;
  TColor expected;
  const char* name;
};

TEST(ColorMaths, HueLumSatToRgbCases) {
  const RgbCase cases[] = {
      // Divided by 239, the hue lands a little past the primary.
      {80, 240, 120, RGB(0, 255, 2), "green"},
      {160, 240, 120, RGB(4, 0, 255), "blue"},
      {0, 240, 120, RGB(255, 0, 0), "red"},
      // 42.5 goes to the even neighbour.
      {0, 0, 40, RGB(42, 42, 42), "grey 42"},
      {0, 0, 240, clWhite, "white"},
      {123, 200, 0, clBlack, "luminance 0"},
      {255, 240, 0, clBlack, "luminance 0, every hue"},
      // Hue 239 and up fall past the last sextant and wrap to the first.
      {239, 240, 120, RGB(255, 0, 0), "hue 239"},
      // Saturation above 240 pushes a channel below 0: clamped, not wrapped.
      {0, 255, 120, RGB(255, 0, 0), "saturation 255"},
  };
  for (const RgbCase& c : cases)
    EXPECT_EQ(HueLumSatToRgb(std::uint8_t(c.hue), std::uint8_t(c.saturation), std::uint8_t(c.luminance)), c.expected)
        << c.name;
}

TEST(ColorMaths, SaturationAbove240StaysAnRgbValue) {
  for (int s = 241; s <= 255; ++s)
    for (int h = 0; h <= 255; ++h)
      for (int l = 0; l <= 255; ++l) {
        const TColor c = HueLumSatToRgb(std::uint8_t(h), std::uint8_t(s), std::uint8_t(l));
        ASSERT_EQ(c & 0xFF000000u, 0u) << h << "/" << s << "/" << l;
      }
}

TEST(ColorMaths, ShadesTintsAndAdjust) {
  const TColor lum40 = HueLumSatToRgb(0, 0, 40);
  EXPECT_EQ(ShadeColor(lum40, 50), clBlack);
  EXPECT_EQ(TintColor(clWhite, 100), clWhite);
  // Past 240 the channels saturate to white.
  EXPECT_EQ(TintColor(clGray, 255), clWhite);
  EXPECT_EQ(ShadeColor(clGray, 0), clGray);

  EXPECT_EQ(AdjustColorBy(clBtnFace, 0), clBtnFace);
  EXPECT_EQ(AdjustColorBy(clBtnFace, -30), ShadeColor(clBtnFace, 30));
  EXPECT_EQ(AdjustColorBy(clBtnFace, 30), TintColor(clBtnFace, 30));
  EXPECT_FALSE(IsSystemColor(AdjustColorBy(clBtnFace, -30)));
  EXPECT_EQ(AdjustColorBy(clWhite, -1000), clBlack);
}

TEST(ColorMaths, MixAndContrast) {
  EXPECT_EQ(MixColors(clRed, clBlue, 255), clRed);
  EXPECT_EQ(MixColors(clRed, clBlue, 0), clBlue);
  EXPECT_EQ(MixColors(clBtnFace, clWhite, 255), RGB(0xD4, 0xD0, 0xC8));
  EXPECT_EQ(MixColors(clBlack, clWhite, 128), RGB(127, 127, 127));

  EXPECT_TRUE(ColorsNearlyEqual(clBtnFace, clBtnFace));
  EXPECT_TRUE(ColorsNearlyEqual(clBtnFace, cl3DLight));
  EXPECT_FALSE(ColorsNearlyEqual(clBlack, clWhite));
  // Saturation is not compared: grey and a pale red of one luminance match.
  EXPECT_TRUE(ColorsNearlyEqual(clGray, HueLumSatToRgb(0, 60, 120)));
  EXPECT_FALSE(ColorsNearlyEqual(clRed, clLime));
}

TEST(ColorMaths, OffscreenScreenHasFullColor) { EXPECT_TRUE(ScreenHasFullColor()); }

}  // namespace
