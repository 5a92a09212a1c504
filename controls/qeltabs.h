#pragma once
#include <QTabWidget>

class TQelTabSheet : public QWidget {
 public:
  explicit TQelTabSheet(QWidget* parent = nullptr) : QWidget(parent) {}
};

// Pages are addressed by tab index, as the handlers do.
class TQelPageControl : public QTabWidget {
 public:
  explicit TQelPageControl(QWidget* parent = nullptr);
  TQelTabSheet* AddSheet(const QString& caption);
  int TabIndex() const { return currentIndex(); }
  void SetTabIndex(int index) { setCurrentIndex(index); }
};
