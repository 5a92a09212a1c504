#pragma once
// Small pictures drawn from character maps in source: one character a pixel,
// each character's colour given by a legend.
#include <QImage>
#include <initializer_list>
#include <utility>

#include "controls/qelcolor.h"

namespace qel {

using PictureLegend = std::initializer_list<std::pair<char, TColor>>;

// Rows of equal length; a character missing from the legend paints clNone's
// RGB, which a map never should use. Opaque RGB32.
QImage PictureFromMap(std::initializer_list<const char*> rows, PictureLegend legend);

// The greyed copy of a picture: pixels darker than the middle, and not of
// the key colour, turn clBtnShadow over a clBtnHighlight copy one pixel right
// and down; the rest become the key colour.
QImage GreyedPicture(const QImage& picture, TColor key);

// Two pictures of one size side by side.
QImage SideBySide(const QImage& left, const QImage& right);

}  // namespace qel
