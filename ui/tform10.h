#pragma once
// "System Message": a click on a caption asks the linked panel; the
// dispatcher writes the answer into the value label beside it.
#include <QDialog>
#include <array>

#include "controls/qellabel.h"
#include "ui/forms.h"

class TForm10 : public QDialog {
 public:
  explicit TForm10(Forms& forms);

  // The clickable captions.
  TQelLabel* Label1 = nullptr;  // "Link Status"
  TQelLabel* Label2 = nullptr;  // "Machine Type"
  TQelLabel* Label3 = nullptr;  // "Software Version"
  TQelLabel* Label4 = nullptr;  // "IP Info"
  TQelLabel* Label5 = nullptr;  // "MAC"
  // The value labels the panel's answers fill.
  TQelLabel* Label6 = nullptr;   // link status
  TQelLabel* Label7 = nullptr;   // machine type
  TQelLabel* Label8 = nullptr;   // software version
  TQelLabel* Label9 = nullptr;   // IP information, four lines
  TQelLabel* Label10 = nullptr;  // MAC

  // Caption k (1..5) clicked.
  void LabelClick(int k);

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  Forms& F;
  std::array<TQelLabel*, 5> captions_{};
};
