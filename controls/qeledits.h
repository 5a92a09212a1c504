#pragma once
#include <QLineEdit>
#include <QPlainTextEdit>

class TQelEdit : public QLineEdit {
 public:
  explicit TQelEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
};

class TQelMemo : public QPlainTextEdit {
 public:
  explicit TQelMemo(QWidget* parent = nullptr) : QPlainTextEdit(parent) {}
};
