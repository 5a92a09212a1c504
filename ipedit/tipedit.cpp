#include "ipedit/tipedit.h"

TIPEdit::TIPEdit(QWidget* parent) : QLineEdit(parent) {
  setAlignment(Qt::AlignCenter);
}
