#pragma once
#include <QFrame>
#include <QGroupBox>

class TQelPanel : public QFrame {
 public:
  explicit TQelPanel(QWidget* parent = nullptr) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setFocusPolicy(Qt::StrongFocus);  // the key panel takes the focus when the window shows
  }
};

class TQelGroupBox : public QGroupBox {
 public:
  explicit TQelGroupBox(const QString& caption = {}, QWidget* parent = nullptr) : QGroupBox(caption, parent) {}
};

class TQelBackground : public QWidget {
 public:
  explicit TQelBackground(QWidget* parent = nullptr) : QWidget(parent) {}
};
