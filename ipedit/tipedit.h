#pragma once
// Four-field IPv4 address edit: one TIPFieldEdit per octet in a bordered box,
// with the dots painted in the gaps between the fields.
#include <QWidget>
#include <array>
#include <functional>

#include "ipedit/tipfieldedit.h"

class TIPEdit : public QWidget {
 public:
  enum TBorderStyle { bsNone, bsSingle };
  // The sender is the IP edit's parent, not the edit; field is the index 0..3.
  using TIPErrorEvent = std::function<void(QWidget* sender, int field)>;
  using TNotifyEvent = std::function<void(QWidget* sender)>;

  explicit TIPEdit(QWidget* parent = nullptr);

  // Built from the fields' last valid values, not their texts.
  QString IPString() const;
  // Malformed addresses (missing dots, fewer than four numbers) are ignored;
  // a bad number becomes 255. Never raises OnChange.
  void SetIPString(const QString& ip);
  bool Error() const;

  TIPFieldEdit* FieldAt(int index) const;  // nullptr outside 0..3
  // Empties the four texts; IPString keeps reporting the old address.
  void clear();
  // Every field shows a number: an emptied field shows no address, whatever
  // IPString reports.
  bool ShowsAddress() const;

  void FocusNextField(bool selectAll);
  void FocusPrevField(bool selectAll);
  int FocusedFieldIndex() const;  // -1 when no field has the focus
  void LayoutIPFields();

  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle style);
  bool ReadOnly() const { return fields_[0]->isReadOnly(); }
  void SetReadOnly(bool readOnly);
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool tabStop);
  void SetCursor(const QCursor& cursor);
  QColor Color() const { return palette().color(QPalette::Base); }
  void SetColor(const QColor& color);

  TIPErrorEvent OnError;
  TNotifyEvent OnChange;

  QSize sizeHint() const override { return {125, 21}; }

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;

 private:
  friend class TIPFieldEdit;
  struct Geometry {
    int W, G, X0;  // field width, gap, left of field 0
  };
  Geometry Metrics() const;
  QFont DotFont() const;
  int BorderWidth() const;
  bool FieldHasFocus(int index) const;
  void RaiseError(int field);
  void RaiseChange();

  std::array<TIPFieldEdit*, 4> fields_{};
  TBorderStyle borderStyle_ = bsSingle;
  bool tabStop_ = true;
};
