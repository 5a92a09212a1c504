#pragma once
#include <QComboBox>
#include <QFont>
#include <QListWidget>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "controls/qelcanvas.h"
#include "controls/qeltextframe.h"

class QAbstractItemDelegate;
class QLineEdit;

namespace qel {

// State of an owner-drawn item, by the classic bit values.
enum TOwnerDrawState : unsigned {
  odSelected = 0x1,
  odGrayed = 0x2,
  odDisabled = 0x4,
  odChecked = 0x8,
  odFocused = 0x10,
  odComboBoxEdit = 0x1000,  // the closed combo box's own text area
};

// Index of the first of count texts that begins with prefix (not
// case-sensitive), searching from the start; -1 when none. An empty prefix
// begins every text.
int FindPrefix(int count, const std::function<QString(int)>& text, const QString& prefix);

// Whether a list item whose text is textWidth pixels wide gets the hint
// that shows it whole: only while the application is active.
bool ShowsItemHint(int clientWidth, int textWidth, bool applicationActive);

}  // namespace qel

// Combo box with the styled frame, a flat drop-down button, an incremental
// search that completes typed text from the items, a read-only mode and
// item-deletion and selection-end notifications.
//
// Events: OnChange is QComboBox's activated(index), emitted by Qt for a
// popup choice and the arrow keys and by the control for its search,
// completion, Backspace, Esc and wheel steps (index -1 included). Writes by
// the program (setCurrentIndex, setEditText, SetText) fire nothing.
class TQelCustomComboBox : public QComboBox, public qel::TextFrame {
  Q_OBJECT

 public:
  enum TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
  Q_ENUM(TComboBoxStyle)

  explicit TQelCustomComboBox(QWidget* parent = nullptr);
  ~TQelCustomComboBox() override;

  // csDropDown and csSimple have an edit part (csSimple looks like
  // csDropDown); the others show the chosen item.
  TComboBoxStyle Style() const { return style_; }
  void SetStyle(TComboBoxStyle v);
  bool AutoComplete() const { return autoComplete_; }
  void SetAutoComplete(bool v) { autoComplete_ = v; }
  bool AllowEdit() const { return allowEdit_; }
  void SetAllowEdit(bool v) { allowEdit_ = v; }
  bool BeepOnInvalidKey() const { return beepOnInvalidKey_; }
  void SetBeepOnInvalidKey(bool v) { beepOnInvalidKey_ = v; }
  bool KeepSearchCase() const { return keepSearchCase_; }
  void SetKeepSearchCase(bool v) { keepSearchCase_ = v; }
  bool AutoDropDown() const { return autoDropDown_; }
  void SetAutoDropDown(bool v) { autoDropDown_ = v; }
  // The popup's minimum width; 0 leaves Qt's.
  int DropDownWidth() const { return dropDownWidth_; }
  void SetDropDownWidth(int v);
  // The selection cannot be changed with the mouse; the edit part is
  // read-only and the button is not shown.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool v);
  // 0: no limit. A key typed at the limit with nothing selected beeps.
  int MaxLength() const { return maxLength_; }
  void SetMaxLength(int v);
  // Taken only by the owner-drawn styles; the others keep Qt's height.
  int ItemHeight() const;
  void SetItemHeight(int v);
  int ItemIndex() const { return currentIndex(); }
  void SetItemIndex(int v) { setCurrentIndex(v); }
  bool DroppedDown() const;

  // The edit part's text (without one: the chosen item's).
  QString Text() const { return currentText(); }
  // Sets the text; on csDropDown with AutoComplete it then completes it
  // from the items: an equal item, else the first that begins with it, is
  // selected with its remainder highlighted. An empty text completes nothing.
  void SetText(const QString& v);
  // Sets the text without completing it.
  virtual void WriteTextQuietly(const QString& text);
  virtual int IndexOfItem(const QString& text) const;  // equal, not case-sensitive
  virtual int FindItemPrefix(const QString& text) const;
  void ClearItems() { clear(); }

  // The edit part's cut and paste as requests to the control.
  void Cut();
  void Paste();

  QString SearchText() const { return searchText_; }
  const QTimer& SearchTimer() const { return searchTimer_; }
  // One tick of the search timer.
  void SearchTimerTick();

  // OnKeyPress: sees (and may change or empty) each character that reaches
  // the key-press stage.
  std::function<void(QString& key)> OnKeyPress;

  void showPopup() override;
  void hidePopup() override;
  void setModel(QAbstractItemModel* model) override;

 Q_SIGNALS:
  void Click();
  void Match();
  void NotInList();
  void SelEndOk();
  void SelEndCancel();
  void DropDown();
  void CloseUp();
  // An item that carries data (its Qt::UserRole value) is being removed.
  void DeleteItem(const QVariant& item);
  void MouseEnter();
  void MouseLeave();
  // Owner-drawn styles: when connected, draws the item instead of the
  // plain text (canvas brush and font already set for the state).
  void DrawItem(qel::Canvas* canvas, int index, qel::TRect rect, unsigned state);
  // csOwnerDrawVariable: the item's height, preset to ItemHeight.
  void MeasureItem(int index, int* height);

 protected:
  virtual void InvalidKeyBeep();
  // Selects the first item beginning with text (csDropDownList search).
  virtual void SelectSearchMatch(const QString& text, const QString& key);
  // Completes text from the items; false when no item begins with it.
  virtual bool IncrementalSearch(const QString& text, const QString& key);
  virtual void FireDeleteItem(const QVariant& item);
  // The class library's key-press stage: TabOnEnter, MaxLength, OnKeyPress,
  // AutoDropDown. key comes back empty when it was eaten.
  virtual void KeyPressStage(QString& key);
  // Paints an owner-drawn item: brush, font and selection colours, the
  // item, its focus frame.
  virtual void PaintOwnerItem(qel::Canvas& canvas, int index, const qel::TRect& rect, unsigned state);
  virtual void DrawOneItem(qel::Canvas& canvas, int index, const qel::TRect& rect, unsigned state);

  bool Focused() const override { return focusFlag_; }
  void RepaintForHotState() override;
  void ApplyFrameVisible() override { update(); }
  void RedrawFrame() override { update(); }

  bool event(QEvent* e) override;
  // The open list's Tab reaches the key-press stage.
  bool eventFilter(QObject* watched, QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;

 private:
  class Edit;
  friend class Edit;
  // Marks the control's own writes of the index or the text while it lives.
  struct OwnChange {
    explicit OwnChange(int& depth) : depth_(depth) { ++depth_; }
    ~OwnChange() { --depth_; }
    int& depth_;
  };

  bool HasEditPart() const { return style_ == csDropDown || style_ == csSimple; }
  bool OwnerDrawn() const { return style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable; }
  void MakeEditPart();
  int SelStart() const;
  int SelLength() const;
  // ItemIndex as the platform sets it: the edit part shows the item's text
  // (nothing for -1) even when the index stays.
  void SelectItem(int index);
  void SetEditTextRaw(const QString& text);
  // Any other write of the index or the text, and a choice in the list,
  // start the search from the text shown.
  void ProgramWrote();
  void SearchFromText();
  // Qt's handling, whose index and text changes are the control's own.
  void QtKeyPress(QKeyEvent* e);
  void QtInputMethod(QInputMethodEvent* e);
  void FireChange();  // OnChange alone
  void FireClickChange();
  void NotifyKeyPress(const QString& key);
  void EditKeyPress(QKeyEvent* e);
  // What a typed character does in the edit part; true when it was eaten.
  bool EditCharacter(QKeyEvent* e, const QString& typed);
  void ListKeyPress(QKeyEvent* e);
  // Passes a key on as typed (or as changed by the key-press stage).
  void PassKeyOn(QKeyEvent* e, const QString& typed);
  void AfterEditKey(const QString& typed);
  void EditMousePressed();
  void WheelStep(bool up);
  void RowsAboutToGo(const QModelIndex& parent, int first, int last);
  void Activated();
  void PopupFinished();
  void ConnectModel();
  qel::TRect TextArea() const;
  // The button's place and what Qt paints beside it, in Color.
  void FillButtonArea(qel::Canvas& canvas) const;
  void PaintTextArea(qel::Canvas& canvas);

  TComboBoxStyle style_ = csDropDown;
  bool autoComplete_ = true;
  bool allowEdit_ = true;
  bool beepOnInvalidKey_ = true;
  bool keepSearchCase_ = false;
  bool autoDropDown_ = false;
  int dropDownWidth_ = 0;
  bool readOnly_ = false;
  int maxLength_ = 0;
  int itemHeight_ = 16;

  QString searchText_;
  bool enterFlag_ = false;
  int ownChange_ = 0;
  bool pastePending_ = false;
  int keyBusy_ = 0;
  QTimer searchTimer_;
  bool focusFlag_ = false;
  bool firing_ = false;  // activated comes from the control, Click already sent
  enum class Popup { Closed, Open, Closing } popup_ = Popup::Closed;
  int wheelDelta_ = 0;
  QPointer<QAbstractItemDelegate> qtDelegate_;
  QAbstractItemDelegate* ownerDelegate_ = nullptr;  // the owner-drawn styles'
  QMetaObject::Connection modelRemoval_, modelReset_;
};

class TQelComboBox : public TQelCustomComboBox {
  Q_OBJECT
  QEL_TEXT_FRAME_PROPERTIES
  QEL_FLAT_BUTTON_PROPERTIES
  Q_PROPERTY(TComboBoxStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(bool AutoComplete READ AutoComplete WRITE SetAutoComplete)
  Q_PROPERTY(bool AllowEdit READ AllowEdit WRITE SetAllowEdit)
  Q_PROPERTY(bool BeepOnInvalidKey READ BeepOnInvalidKey WRITE SetBeepOnInvalidKey)
  Q_PROPERTY(bool KeepSearchCase READ KeepSearchCase WRITE SetKeepSearchCase)
  Q_PROPERTY(int DropDownWidth READ DropDownWidth WRITE SetDropDownWidth)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)

 public:
  explicit TQelComboBox(QWidget* parent = nullptr) : TQelCustomComboBox(parent) {}
};

// List box with the styled frame, an incremental keyboard search with a
// time-out, group headers drawn across the list with a gradient, an indent
// for owner-drawn items, a horizontal extent from the widest item and a hint
// that shows an item too wide for the list. OnClick stays itemClicked;
// the search and Esc fire none.
class TQelCustomListBox : public QListWidget, public qel::TextFrame {
  Q_OBJECT

 public:
  enum TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
  Q_ENUM(TListBoxStyle)

  explicit TQelCustomListBox(QWidget* parent = nullptr);
  ~TQelCustomListBox() override;

  TListBoxStyle Style() const { return style_; }
  void SetStyle(TListBoxStyle v);
  // Virtual styles: the number of items, whose texts Data supplies.
  int Count() const { return count(); }
  void SetCount(int v);
  int ItemHeight() const { return itemHeight_; }
  void SetItemHeight(int v);
  bool MultiSelect() const { return multiSelect_; }
  void SetMultiSelect(bool v);
  bool ExtendedSelect() const { return extendedSelect_; }
  void SetExtendedSelect(bool v);
  int ItemIndex() const { return currentRow(); }
  void SetItemIndex(int v) { setCurrentRow(v); }

  bool IncrementalSearch() const { return incrementalSearch_; }
  void SetIncrementalSearch(bool v) { incrementalSearch_ = v; }
  bool BeepOnInvalidKey() const { return beepOnInvalidKey_; }
  void SetBeepOnInvalidKey(bool v) { beepOnInvalidKey_ = v; }
  bool ShowItemHints() const { return showItemHints_; }
  void SetShowItemHints(bool v);
  int OwnerDrawIndent() const { return ownerDrawIndent_; }
  void SetOwnerDrawIndent(int v) { Invalidating(ownerDrawIndent_, v); }
  // The horizontal scroll range in pixels.
  std::uint16_t HorzExtent() const { return horzExtent_; }
  void SetHorzExtent(std::uint16_t v);
  // A horizontal scroll bar, HorzExtent following the widest item.
  bool HorzScrollBar() const { return horzScrollBar_; }
  void SetHorzScrollBar(bool v);
  // True also makes the list owner-drawn with a font-high ItemHeight.
  bool ShowGroups() const { return showGroups_; }
  void SetShowGroups(bool v);
  QString GroupPrefix() const { return groupPrefix_; }
  void SetGroupPrefix(const QString& v) { Invalidating(groupPrefix_, v); }
  TColor GroupColor() const { return groupColor_; }
  void SetGroupColor(TColor v) { Invalidating(groupColor_, v); }
  const qel::FontValue& GroupFont() const { return groupFont_; }
  void SetGroupFont(const qel::FontValue& v);
  bool UseGradients() const { return useGradients_; }
  void SetUseGradients(bool v) { Invalidating(useGradients_, v); }

  // The item's text; the virtual styles ask Data.
  QString ItemText(int index) const;
  virtual int FindItemPrefix(const QString& text) const;
  virtual bool IsGroupHeader(int index) const;
  virtual int GroupHeaderAbove(int index) const;
  bool WithinGroup(int index) const { return GroupHeaderAbove(index) != -1; }
  virtual int ItemIndent() const { return ownerDrawIndent_; }
  virtual void FitItemHeight();
  virtual void SelectAllItems();
  virtual void UpdateHorzExtent();

  QString SearchText() const { return searchText_; }
  const QTimer& SearchTimer() const { return searchTimer_; }
  void SearchTimerTick();

  // The owner-drawn painting of one item (viewport coordinates).
  void PaintItem(qel::Canvas& canvas, int index, qel::TRect rect, unsigned state);

  // The item hint: visible, its text and its top left on the screen.
  bool ItemHintShown() const;
  QString ItemHintText() const;
  QPoint ItemHintPos() const;

  std::function<void(QString& key)> OnKeyPress;

 Q_SIGNALS:
  void Match();
  void DeleteItems();  // published; nothing fires it
  void MouseEnter();
  void MouseLeave();
  void DrawItem(qel::Canvas* canvas, int index, qel::TRect rect, unsigned state);
  void MeasureItem(int index, int* height);
  void Data(int index, QString* text);

 protected:
  virtual void ListChanged() {}
  virtual void DispatchDrawItem(qel::Canvas& canvas, int index, const qel::TRect& rect, unsigned state);
  virtual void DrawListItem(qel::Canvas& canvas, int index, const qel::TRect& rect, unsigned state);
  virtual void DrawPlainItem(qel::Canvas& canvas, int index, const qel::TRect& rect, unsigned state);
  virtual void KeyPressNotify(QString& key);

  void loaded() override;

  bool event(QEvent* e) override;
  bool viewportEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void updateGeometries() override;

 private:
  class HintWindow;

  template <class T>
  void Invalidating(T& field, const T& value) {
    if (field == value) return;
    field = value;
    viewport()->update();
  }
  bool OwnerDrawn() const { return style_ != lbStandard && style_ != lbVirtual; }
  bool Virtual() const { return style_ == lbVirtual || style_ == lbVirtualOwnerDraw; }
  void ApplySelectionMode();
  void ApplyStyle();
  void GroupFontChanged();
  void SelectStep(const QString& text, const QString& key);
  void UpdateHint(const QPoint& at);
  void HideHint();
  void ItemsChanged();

  TListBoxStyle style_ = lbStandard;
  int itemHeight_ = 16;
  bool multiSelect_ = false;
  bool extendedSelect_ = true;
  bool incrementalSearch_ = true;
  bool beepOnInvalidKey_ = true;
  bool showItemHints_ = true;
  int ownerDrawIndent_ = 0;
  std::uint16_t horzExtent_ = 0;
  bool horzScrollBar_ = false;
  bool showGroups_ = false;
  QString groupPrefix_ = QStringLiteral("//");
  TColor groupColor_ = clInactiveCaptionText;
  qel::FontValue groupFont_;
  bool useGradients_ = true;

  QString searchText_;
  int keyBusy_ = 0;
  QTimer searchTimer_;
  int wheelDelta_ = 0;
  HintWindow* hint_ = nullptr;
  QAbstractItemDelegate* ownerDelegate_ = nullptr;  // the owner-drawn styles'
  QPointer<QAbstractItemDelegate> qtDelegate_;
};

class TQelListBox : public TQelCustomListBox {
  Q_OBJECT
  QEL_TEXT_FRAME_PROPERTIES
  Q_PROPERTY(TListBoxStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
  Q_PROPERTY(bool IncrementalSearch READ IncrementalSearch WRITE SetIncrementalSearch)
  Q_PROPERTY(bool BeepOnInvalidKey READ BeepOnInvalidKey WRITE SetBeepOnInvalidKey)
  Q_PROPERTY(bool ShowItemHints READ ShowItemHints WRITE SetShowItemHints)
  Q_PROPERTY(int OwnerDrawIndent READ OwnerDrawIndent WRITE SetOwnerDrawIndent)
  Q_PROPERTY(bool HorzScrollBar READ HorzScrollBar WRITE SetHorzScrollBar)
  Q_PROPERTY(bool ShowGroups READ ShowGroups WRITE SetShowGroups)
  Q_PROPERTY(QString GroupPrefix READ GroupPrefix WRITE SetGroupPrefix)
  Q_PROPERTY(TColor GroupColor READ GroupColor WRITE SetGroupColor)
  Q_PROPERTY(bool UseGradients READ UseGradients WRITE SetUseGradients)

 public:
  explicit TQelListBox(QWidget* parent = nullptr) : TQelCustomListBox(parent) {}
};
