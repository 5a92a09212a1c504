#pragma once
#include <QPushButton>
#include <QRadioButton>

class TQelButton : public QPushButton {
 public:
  explicit TQelButton(const QString& caption = {}, QWidget* parent = nullptr) : QPushButton(caption, parent) {
    setAutoDefault(false);
  }
};

class TQelBitBtn : public QPushButton {
 public:
  explicit TQelBitBtn(const QString& caption = {}, QWidget* parent = nullptr) : QPushButton(caption, parent) {
    setAutoDefault(false);
  }
};

// The link indicator and similar picture buttons.
class TQelBmpButton : public QPushButton {
 public:
  explicit TQelBmpButton(QWidget* parent = nullptr) : QPushButton(parent) {
    setAutoDefault(false);
    setCheckable(true);
  }
};

class TQelRadioButton : public QRadioButton {
 public:
  explicit TQelRadioButton(const QString& caption = {}, QWidget* parent = nullptr) : QRadioButton(caption, parent) {}
};
