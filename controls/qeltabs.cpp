#include "controls/qeltabs.h"

TQelPageControl::TQelPageControl(QWidget* parent) : QTabWidget(parent) {}

TQelTabSheet* TQelPageControl::AddSheet(const QString& caption) {
  auto* sheet = new TQelTabSheet;
  addTab(sheet, caption);
  return sheet;
}
