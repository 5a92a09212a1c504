#include "ui/glyphs.h"

#include "controls/qelpictures.h"

namespace glyphs {

namespace {

const qel::PictureLegend kLegend = {
    {'.', clOlive},  {'g', clGreen}, {'l', clLime}, {'r', clRed},
    {'m', clMaroon}, {'b', clNavy},  {'u', clBlue}, {'d', clGray},
};

QImage Strip(std::initializer_list<const char*> rows) {
  const QImage normal = qel::PictureFromMap(rows, kLegend);
  return qel::SideBySide(normal, qel::GreyedPicture(normal, clOlive));
}

}  // namespace

QImage Add() {
  return Strip({"................", "................", "................", "......gggg......", "......glgg......",
                "......glgg......", "...gggglggggg...", "...gllllllllg...", "...gggglggggg...", "......glgg......",
                "......glgg......", "......gggg......", "................", "................", "................",
                "................"});
}

QImage Delete() {
  return Strip({"................", "................", "................", "....mm....mm....", "....mrm..mrm....",
                ".....mrmmrm.....", "......mrrm......", "......mrrm......", ".....mrmmrm.....", "....mrm..mrm....",
                "....mm....mm....", "................", "................", "................", "................",
                "................"});
}

QImage DeleteEmpty() {
  return Strip({"................", "................", "..dddddddddd....", "..d........d....", "..d........d....",
                "..d.....mm....mm", "..d.....mrm..mrm", "..d......mrmmrm.", "..d.......mrrm..", "..d.......mrrm..",
                "..d......mrmmrm.", "..ddddddmrm..mrm", "........mm....mm", "................", "................",
                "................"});
}

QImage Up() {
  return Strip({"................", "................", "................", ".......bb.......", "......buub......",
                ".....buuuub.....", "....buuuuuub....", "...bbbuuuubbb...", "......buub......", "......buub......",
                "......buub......", "......buub......", "......bbbb......", "................", "................",
                "................"});
}

QImage Down() {
  return Strip({"................", "................", "................", "......bbbb......", "......buub......",
                "......buub......", "......buub......", "......buub......", "...bbbuuuubbb...", "....buuuuuub....",
                ".....buuuub.....", "......buub......", ".......bb.......", "................", "................",
                "................"});
}

}  // namespace glyphs
