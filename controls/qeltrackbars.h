#pragma once
#include <QSlider>

class TQelDBTrackBar : public QSlider {
 public:
  explicit TQelDBTrackBar(QWidget* parent = nullptr) : QSlider(Qt::Horizontal, parent) {}
};
