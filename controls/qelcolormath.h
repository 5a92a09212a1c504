#pragma once

#include <cstdint>

#include "controls/qelcolor.h"

// Hue, saturation and luminance on a 0..240 scale, and the shades, tints and
// blends the styled controls derive from one base colour. Every input colour
// is resolved with ColorToRGB first, so system colours work.
void RgbToHueLumSat(TColor color, std::uint8_t& hue, std::uint8_t& saturation, std::uint8_t& luminance);
std::uint8_t HueOfColor(TColor color);
TColor HueLumSatToRgb(std::uint8_t hue, std::uint8_t saturation, std::uint8_t luminance);

TColor ShadeColor(TColor color, std::uint8_t amount);
TColor TintColor(TColor color, std::uint8_t amount);
// 0 returns the colour itself, unresolved: a system colour stays one.
TColor AdjustColorBy(TColor color, int amount);
// weight 0..255 goes to color1.
TColor MixColors(TColor color1, TColor color2, std::uint8_t weight);
bool ColorsNearlyEqual(TColor foreground, TColor background);
// Depth of the primary screen above 8 bits; true without a screen.
bool ScreenHasFullColor();
