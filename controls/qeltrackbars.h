#pragma once
#include <QImage>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>

#include "controls/qelborders.h"
#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"
#include "controls/qelcommon.h"

// An owner-drawn slider: a framed groove, optional ticks and a thumb drawn
// from four images (normal, hot, mask, disabled) picked by ThumbStyle,
// PointerType and the orientation. Moved by dragging the thumb, by holding
// the left button on the groove (paging) and by the keyboard.
//
// Background, groove and ticks live in an off-screen image that is rebuilt
// only when stale (a resize, a writer that changes them, Color, enabled);
// a position change repaints just the thumb's old and new areas from it.
// Max is always above Min; the bounds pull Position in through its writer
// (which OnChanging may refuse).
//
// Positions are ints, but every difference, product and step between them
// is taken in 64 bits, so the whole int range works.
class TQelTrackBar : public QWidget, public qel::StyledControl {
  Q_OBJECT
  Q_PROPERTY(TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)

 public:
  enum TOrientation { orHorizontal, orVertical };
  enum TTickStyle { tkStandard, tkOwnerDraw };
  enum TThumbStyle { tsBox, tsCustom, tsMixer, tsPointer, tsFlat, tsXPPointer, tsXPBox };
  enum TPointerType { ptStandard, ptWin95 };
  enum TQelHotTrackColorType { htctComplement, htctActual };
  enum TThumbImage { tiNormal, tiHot, tiMask, tiDisabled };

  // Asked before every position change; allowChange starts true.
  using TPositionChangingEvent = std::function<void(TQelTrackBar* sender, int newPos, bool& allowChange)>;
  // Draws the tick of value index at location: (x, 0) on a horizontal bar,
  // (0, y) on a vertical one.
  using TDrawTickEvent =
      std::function<void(TQelTrackBar* trackBar, qel::Canvas& canvas, qel::TPoint location, int index)>;

  // The fixed space at both ends of the groove.
  static constexpr int kMargin = 4;

  explicit TQelTrackBar(QWidget* parent = nullptr);
  ~TQelTrackBar() override;

  int Position() const { return position_; }
  void SetPosition(int v) { WritePosition(v); }
  // Writing Min at or above Max puts Min at Max - 1; writing Max at or
  // below Min puts Max at Min + 1. Position follows either.
  int Min() const { return min_; }
  void SetMin(int v);
  int Max() const { return max_; }
  void SetMax(int v);
  std::uint16_t PageSize() const { return pageSize_; }
  void SetPageSize(std::uint16_t v) { pageSize_ = v; }
  // Set from the shape on every resize: vertical when taller than wide.
  TOrientation Orientation() const { return orientation_; }
  void SetOrientation(TOrientation v);

  TTickStyle TickStyle() const { return tickStyle_; }
  void SetTickStyle(TTickStyle v) { AssignStale(tickStyle_, v); }
  TColor TickColor() const { return tickColor_; }
  void SetTickColor(TColor v) { AssignStale(tickColor_, v); }
  // A tick at every multiple; values below 1 are ignored.
  int TickStep() const { return tickStep_; }
  void SetTickStep(int v);
  bool ShowTicks() const { return showTicks_; }
  void SetShowTicks(bool v) { AssignStale(showTicks_, v); }

  TThumbStyle ThumbStyle() const { return thumbStyle_; }
  // Outside loading also sets TrackWidth: 6 for tsMixer and tsFlat, else 8.
  void SetThumbStyle(TThumbStyle v);
  TPointerType PointerType() const { return pointerType_; }
  void SetPointerType(TPointerType v) { AssignImages(pointerType_, v); }
  // Images of three equal-width parts: normal (also hot), mask, disabled.
  // Setting one switches ThumbStyle to tsCustom.
  const QImage& CustomThumb() const { return customThumb_; }
  void SetCustomThumb(const QImage& v);
  TColor HighlightColor() const { return highlightColor_; }
  void SetHighlightColor(TColor v) { AssignImages(highlightColor_, v); }
  TColor HotTrackColor() const { return hotTrackColor_; }
  void SetHotTrackColor(TColor v) { AssignImages(hotTrackColor_, v); }
  TQelHotTrackColorType HotTrackColorType() const { return hotTrackColorType_; }
  void SetHotTrackColorType(TQelHotTrackColorType v) { AssignImages(hotTrackColorType_, v); }

  TColor TrackColor() const { return trackColor_; }
  void SetTrackColor(TColor v) { AssignStale(trackColor_, v); }
  // Distance of the groove from the top (horizontal) or left (vertical) edge.
  std::uint16_t TrackOffset() const { return trackOffset_; }
  void SetTrackOffset(std::uint16_t v) { AssignStale(trackOffset_, v); }
  qel::TFrameStyle TrackFrame() const { return trackFrame_; }
  void SetTrackFrame(qel::TFrameStyle v) { AssignStale(trackFrame_, v); }
  TColor TrackFrameColor() const { return trackFrameColor_; }
  void SetTrackFrameColor(TColor v) { AssignStale(trackFrameColor_, v); }
  // At least 4.
  std::uint16_t TrackWidth() const { return trackWidth_; }
  void SetTrackWidth(std::uint16_t v);

  bool ShowFocusRect() const { return showFocusRect_; }
  void SetShowFocusRect(bool v) { showFocusRect_ = v; }
  // Enter moves the focus on as Tab does.
  bool TabOnEnter() const { return tabOnEnter_; }
  void SetTabOnEnter(bool v) { tabOnEnter_ = v; }
  // The parent's image shows instead of Color; the bar is then non-opaque.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  bool ParentColor() const { return parentColor(); }
  void SetParentColor(bool v) { setParentColor(v); }
  // TabStop: Tab reaches the bar; a press focuses it either way.
  bool TabStop() const { return focusPolicy() == Qt::StrongFocus; }
  void SetTabStop(bool v) { setFocusPolicy(v ? Qt::StrongFocus : Qt::ClickFocus); }

  // The names the windows use: Position, its writer, Min, Max, and both
  // bounds at once (ending as asked whenever min < max).
  int value() const { return position_; }
  void setValue(int v) { WritePosition(v); }
  int minimum() const { return min_; }
  int maximum() const { return max_; }
  void setRange(int min, int max);

  TPositionChangingEvent OnChanging;
  // Without one, tkOwnerDraw draws no ticks.
  TDrawTickEvent OnDrawTick;

  // Geometry of the current state.
  qel::TRect TrackRect() const;
  qel::TRect ThumbRect() const;
  int ThumbLength() const { return thumbLength_; }
  int ThumbThickness() const { return thumbThickness_; }
  int HalfThumb() const { return thumbLength_ / 2; }
  bool Dragging() const { return dragging_; }
  bool Paging() const { return paging_; }
  bool Hot() const { return hot_; }
  // Between a left press and its release.
  bool MouseCaptured() const { return captured_; }
  qel::TPoint GrabOffset() const { return grab_; }
  bool ImageStale() const { return imageStale_; }
  QTimer* PagingTimer() const { return pagingTimer_; }
  // One of the four thumb images as loaded now (RGB32 or indexed).
  const QImage& ThumbImage(TThumbImage which) const { return images_[which]; }
  // What a key colour of the 16-colour thumb images becomes now; other
  // colours come back unchanged.
  TColor KeyColorReplacement(TColor key) const;

  // The whole bar as it paints now, for tests and the gallery.
  qel::Canvas Paint();

 signals:
  // After every position change, also one clamped back to the position it had.
  void valueChanged(int position);

 public slots:
  // The paging timer's tick; tests call it directly.
  void PagingTick();

 protected:
  // The position writer; v is wide so that a step past the int range
  // still counts as a change that is clamped.
  void WritePosition(std::int64_t v);
  // Whether a user's key, paging press or drag may move to value.
  virtual bool CanChangePosition(std::int64_t value);
  // Fires OnChanging.
  virtual void Changing(int newPos, bool& allowChange);
  // Fires valueChanged.
  virtual void Change();
  // Draws one tick through OnDrawTick.
  virtual void DrawTick(qel::Canvas& canvas, qel::TPoint location, int index);
  virtual void DrawTrack(qel::Canvas& canvas);
  virtual void DrawTicks(qel::Canvas& canvas);
  virtual void DrawThumb(qel::Canvas& canvas);
  virtual void PaintAll(qel::Canvas& canvas);

  void parentColorChanged(TColor color) override;
  void loaded() override;

  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void changeEvent(QEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void leaveEvent(QEvent* e) override;

 private:
  template <class T, class U>
  void AssignStale(T& field, const U& v) {
    if (field == v) return;
    field = v;
    MarkStale();
  }
  template <class T, class U>
  void AssignImages(T& field, const U& v) {
    if (field == v) return;
    field = v;
    LoadThumbImages();
    MarkStale();
  }
  void MarkStale();
  void LoadThumbImages();
  // Draws background, groove and ticks again when stale or resized.
  void UpdateImage(int ratio);
  // Pointer shift away from the ticks of the pointer styles.
  int PointerShift() const;
  int Travel() const;
  void RedrawThumb(const qel::TRect& old);
  void SetHot(bool v);
  void UpdateCursor(const QPoint& at);
  void Press(Qt::MouseButton button, QPoint at);
  void Drag(QPoint at);
  void EndPaging();
  // The press can no longer end with a release here (hidden, disabled,
  // another window active): paging and dragging stop.
  void LoseCapture();
  // Calls tick(offset along the travel, value) for each multiple of
  // TickStep from Min to Max; with eachPlaceOnce, only for the first value
  // of each offset.
  template <class F>
  void ForEachTick(bool eachPlaceOnce, F tick) const;

  int min_ = 0;
  int max_ = 10;
  int position_ = 0;
  std::uint16_t pageSize_ = 1;
  TOrientation orientation_ = orHorizontal;
  TTickStyle tickStyle_ = tkStandard;
  TColor tickColor_ = clBtnShadow;
  int tickStep_ = 1;
  TColor highlightColor_ = clHighlight;
  TColor hotTrackColor_ = clHighlight;
  TQelHotTrackColorType hotTrackColorType_ = htctComplement;
  bool showTicks_ = true;
  bool tabOnEnter_ = false;
  TThumbStyle thumbStyle_ = tsPointer;
  TPointerType pointerType_ = ptStandard;
  TColor trackColor_ = cl3DLight;
  std::uint16_t trackOffset_ = 20;
  qel::TFrameStyle trackFrame_ = qel::fsStatus;
  TColor trackFrameColor_ = clBtnShadow;
  std::uint16_t trackWidth_ = 8;
  bool showFocusRect_ = true;
  bool transparent_ = false;
  TColor color_ = clWindow;
  QImage customThumb_;

  bool dragging_ = false;
  bool paging_ = false;
  bool pageTowardMax_ = false;
  bool captured_ = false;
  bool hot_ = false;
  QPoint pressPoint_;
  qel::TPoint grab_;
  QTimer* pagingTimer_;
  int thumbThickness_ = 0;
  int thumbLength_ = 0;
  QImage images_[4];
  qel::Canvas image_{0, 0};  // background, groove and ticks
  bool imageStale_ = true;
};

class TQelDBTrackBar;

// The value texts of a data-aware track bar, by position. Every change to
// the entries gives the bar the range 0..Count - 1 (at least 0..1).
class TQelTrackValueList {
 public:
  explicit TQelTrackValueList(TQelDBTrackBar* bar = nullptr) : bar_(bar) {}

  int Count() const { return int(items_.size()); }
  const QString& operator[](int index) const { return items_.at(index); }
  const QStringList& Strings() const { return items_; }
  void Add(const QString& s);
  void Insert(int index, const QString& s);
  void Delete(int index);
  void Clear();
  // Copies the entries without telling the bar.
  void Assign(const QStringList& list) { items_ = list; }

 private:
  void FitRange();
  QStringList items_;
  TQelDBTrackBar* bar_;
};

// A field reduced to what the data-aware controls use: its text as edited.
class TQelField {
 public:
  virtual ~TQelField() = default;
  virtual QString EditText() const = 0;
  virtual void SetEditText(const QString& text) = 0;
};

// What a data-aware control is bound to. No data set stands behind one
// here: the windows bind none.
class TQelDataSource : public QObject {
  Q_OBJECT

 public:
  using QObject::QObject;
};

// The link between a data-aware control and its field. This base is
// unbound: it has no field, Edit never starts editing, and UpdateRecord
// writes only what was marked modified through OnUpdateData.
class TQelFieldDataLink {
 public:
  virtual ~TQelFieldDataLink() = default;

  const QString& FieldName() const { return fieldName_; }
  virtual void SetFieldName(const QString& name) { fieldName_ = name; }
  // A guarded pointer: a data source destroyed leaves none.
  TQelDataSource* DataSource() const { return dataSource_; }
  virtual void SetDataSource(TQelDataSource* source) { dataSource_ = source; }
  bool ReadOnly() const { return readOnly_; }
  virtual void SetReadOnly(bool v) { readOnly_ = v; }

  virtual TQelField* Field() const { return nullptr; }
  virtual bool Editing() const { return false; }
  // Puts the record into edit mode; true when it is in it.
  virtual bool Edit() { return Editing(); }
  // The control's value differs from the field's.
  virtual void Modified() { modified_ = true; }
  bool IsModified() const { return modified_; }
  // Shows the field's value again, dropping the control's.
  virtual void Reset();
  // Writes a modified value into the record; may throw.
  virtual void UpdateRecord();

  std::function<void()> OnDataChange;
  std::function<void()> OnUpdateData;

 protected:
  QString fieldName_;
  QPointer<TQelDataSource> dataSource_;
  bool readOnly_ = false;
  bool modified_ = false;
};

// The track bar bound to a field: each position stands for a value text,
// Values[position] when there is a non-empty one, else the position's
// number. Moving the thumb writes that text into the field; a field change
// moves the thumb to the first position whose text matches.
class TQelDBTrackBar : public TQelTrackBar {
  Q_OBJECT

 public:
  explicit TQelDBTrackBar(QWidget* parent = nullptr);
  ~TQelDBTrackBar() override;

  TQelFieldDataLink& DataLink() const { return *link_; }
  // Replaces the link (keeping nothing of the old one).
  void SetDataLink(std::unique_ptr<TQelFieldDataLink> link);
  TQelField* LinkedField() const { return link_->Field(); }
  QString DataField() const { return link_->FieldName(); }
  void SetDataField(const QString& v) { link_->SetFieldName(v); }
  TQelDataSource* DataSource() const { return link_->DataSource(); }
  void SetDataSource(TQelDataSource* v) { link_->SetDataSource(v); }
  bool ReadOnly() const { return link_->ReadOnly(); }
  void SetReadOnly(bool v) { link_->SetReadOnly(v); }

  const TQelTrackValueList& Values() const { return values_; }
  TQelTrackValueList& Values() { return values_; }
  // Copies list, sets the range 0..Count - 1 (at least 0..1) and shows the
  // field's value.
  void SetValues(const QStringList& list);

  // The value text of position n: Values[n] when it exists and is not
  // empty, "" outside Min..Max, else n in decimal.
  QString PositionToValue(std::int64_t n) const;
  const QString& ValueText() const { return valueText_; }
  // Keeps text as the value text and moves to the first position from Min
  // whose value text equals it (exactly); none leaves the position.
  void ValueToPosition(const QString& text);

  // The link's notifications.
  void DataChange();
  void UpdateData();

  bool Destroying() const { return destroying_; }

 protected:
  bool CanChangePosition(std::int64_t value) override;
  void Change() override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void ConnectLink();
  std::unique_ptr<TQelFieldDataLink> link_;
  TQelTrackValueList values_{this};
  QString valueText_;
  bool destroying_ = false;
};
