#pragma once
#include <QImage>
#include <QObject>
#include <vector>

#include "controls/qelcanvas.h"

// Pictures of one size, drawn enabled or greyed; tells its users of changes.
// Pixels of the key colour (or fully transparent ones) are not drawn.
class TQelImageList : public QObject {
  Q_OBJECT

 public:
  TQelImageList(int width, int height, QObject* parent = nullptr);

  int Width() const { return width_; }
  int Height() const { return height_; }
  int Count() const { return int(images_.size()); }
  TColor KeyColor() const { return key_; }
  void SetKeyColor(TColor key);

  // A picture of another size is scaled to the list's. Returns its index.
  int Add(const QImage& image);
  void Replace(int index, const QImage& image);
  void Clear();
  const QImage& Image(int index) const { return images_.at(std::size_t(index)); }

  // Draws picture index with its top left at (x, y); nothing for an index
  // outside the list.
  void Draw(qel::Canvas& canvas, int x, int y, int index, bool enabled) const;

 signals:
  void Change();

 private:
  QImage Fitted(const QImage& image) const;

  int width_, height_;
  TColor key_ = clOlive;
  std::vector<QImage> images_;
};
