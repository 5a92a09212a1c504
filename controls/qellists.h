#pragma once
#include <QComboBox>
#include <QListWidget>

class TQelComboBox : public QComboBox {
 public:
  explicit TQelComboBox(QWidget* parent = nullptr) : QComboBox(parent) {}
};

class TQelListBox : public QListWidget {
 public:
  explicit TQelListBox(QWidget* parent = nullptr) : QListWidget(parent) {}
};
