#include "controls/qelimagelist.h"

#include "controls/qelpictures.h"

TQelImageList::TQelImageList(int width, int height, QObject* parent)
    : QObject(parent), width_(std::max(width, 1)), height_(std::max(height, 1)) {}

void TQelImageList::SetKeyColor(TColor key) {
  if (key_ == key) return;
  key_ = key;
  emit Change();
}

QImage TQelImageList::Fitted(const QImage& image) const {
  // Transparent pixels become the key colour, so one rule hides both.
  QImage opaque(width_, height_, QImage::Format_RGB32);
  opaque.fill(ColorToQRgb(key_));
  const QImage scaled = image.size() == opaque.size() ? image : image.scaled(width_, height_);
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x)
      if (qAlpha(scaled.pixel(x, y)) == 255) opaque.setPixel(x, y, scaled.pixel(x, y));
  return opaque;
}

int TQelImageList::Add(const QImage& image) {
  images_.push_back(Fitted(image));
  emit Change();
  return Count() - 1;
}

void TQelImageList::Replace(int index, const QImage& image) {
  if (index < 0 || index >= Count()) return;
  images_[std::size_t(index)] = Fitted(image);
  emit Change();
}

void TQelImageList::Clear() {
  if (images_.empty()) return;
  images_.clear();
  emit Change();
}

void TQelImageList::Draw(qel::Canvas& canvas, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  const QImage picture = enabled ? Image(index) : qel::GreyedPicture(Image(index), key_);
  qel::Canvas source(width_, height_);
  source.DrawImage(0, 0, picture);
  canvas.CopyRectKeyed({x, y, x + width_, y + height_}, source, {0, 0, width_, height_}, key_);
}
