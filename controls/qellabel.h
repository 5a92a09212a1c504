#pragma once
#include <QLabel>

class TQelLabel : public QLabel {
 public:
  explicit TQelLabel(const QString& caption = {}, QWidget* parent = nullptr) : QLabel(caption, parent) {}
};
