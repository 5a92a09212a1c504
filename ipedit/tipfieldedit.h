#pragma once
// One octet of a TIPEdit: a centred, frameless line edit of at most three
// digits that checks its value and hands the focus to its neighbours.
#include <QLineEdit>
#include <cstdint>
#include <optional>

class TIPEdit;

// Integer conversion of an octet text: leading blanks, a sign and a "$" or
// "0x" hexadecimal prefix are accepted, anything else fails.
std::optional<long long> OctetTextToInteger(const QString& s);

class TIPFieldEdit : public QLineEdit {
 public:
  TIPFieldEdit(TIPEdit* owner, int index);

  bool InError() const { return inError_; }
  int MinValue() const { return minValue_; }
  int MaxValue() const { return maxValue_; }
  // The last valid octet; what IPString reports, whatever the text shows.
  int FieldValue() const { return fieldValue_; }
  // Stores the value before the text changes, so no OnChange follows.
  void SetFieldValue(std::uint8_t value);
  int Index() const { return index_; }

  int CaretColumn() const;
  void SetCaretColumn(int column);

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void ValidateOctetText();

  TIPEdit* owner_;
  int index_;
  bool inError_ = false;
  std::uint8_t minValue_ = 0;
  std::uint8_t maxValue_ = 255;
  std::uint8_t fieldValue_ = 0;
  // Set by the user's edits (keys, paste) just before the change reaches
  // ValidateOctetText; a write by code must never move the focus.
  bool edited_ = false;
};
