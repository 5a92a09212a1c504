#pragma once
// The main window's list-editing buttons' pictures: 32 x 16, the normal
// picture and then its greyed copy, on the olive key colour.
#include <QImage>

namespace glyphs {

QImage Add();
QImage Delete();
QImage DeleteEmpty();
QImage Up();
QImage Down();

}  // namespace glyphs
