#pragma once
// Four-field IPv4 address edit. For now a single line edit holding the dotted
// text; the per-octet fields come with their own work.
#include <QLineEdit>

class TIPEdit : public QLineEdit {
 public:
  explicit TIPEdit(QWidget* parent = nullptr);
  QString IPString() const { return text(); }
  void SetIPString(const QString& ip) { setText(ip); }
};
