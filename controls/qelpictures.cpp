#include "controls/qelpictures.h"

#include <QPainter>
#include <cstring>

namespace qel {

QImage PictureFromMap(std::initializer_list<const char*> rows, PictureLegend legend) {
  const int height = int(rows.size());
  const int width = height ? int(std::strlen(*rows.begin())) : 0;
  QImage image(width, height, QImage::Format_RGB32);
  int y = 0;
  for (const char* row : rows) {
    for (int x = 0; x < width && row[x]; ++x) {
      TColor color = clNone;
      for (const auto& [c, value] : legend)
        if (c == row[x]) color = value;
      image.setPixel(x, y, ColorToQRgb(color));
    }
    ++y;
  }
  return image;
}

QImage GreyedPicture(const QImage& picture, TColor key) {
  const int w = picture.width(), h = picture.height();
  const std::uint32_t keyRgb = ColorToQRgb(key);
  QImage out(w, h, QImage::Format_RGB32);
  out.fill(keyRgb);
  auto dark = [&](int x, int y) {
    const QRgb p = picture.pixel(x, y) | 0xFF000000u;
    if (p == keyRgb || qAlpha(picture.pixel(x, y)) == 0) return false;
    return (30 * qRed(p) + 59 * qGreen(p) + 11 * qBlue(p)) / 100 < 128;
  };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (dark(x, y) && x + 1 < w && y + 1 < h) out.setPixel(x + 1, y + 1, ColorToQRgb(clBtnHighlight));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (dark(x, y)) out.setPixel(x, y, ColorToQRgb(clBtnShadow));
  return out;
}

QImage SideBySide(const QImage& left, const QImage& right) {
  QImage both(left.width() + right.width(), std::max(left.height(), right.height()), QImage::Format_RGB32);
  QPainter p(&both);
  p.drawImage(0, 0, left);
  p.drawImage(left.width(), 0, right);
  return both;
}

}  // namespace qel
