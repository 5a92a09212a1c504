#pragma once
// What the tab control keeps beside its own painting: one record per tab,
// the two colour sets, the cache of tab regions, and its two small child
// controls (the scroll arrows of an overflowing strip and the close button).
#include <QRegion>
#include <QString>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "controls/qelcanvas.h"
#include "controls/qelcolor.h"

namespace qel {

// The edge the tab strip runs along.
enum TQelTabOrientation { toTop, toLeft, toBottom, toRight };
// Standard: tabs run left to right on top and bottom strips, bottom up on a
// left strip, top down on a right strip; reverse: the other way round.
enum TQelTabSequence { tsStandard, tsReverse };
enum TQelTabStyle { tsSingleSlant, tsDoubleSlant, tsCutCorner, tsRoundCorners };
enum TQelImagePosition { ipLeft, ipTop, ipRight, ipBottom, ipBack, ipStretch };
enum TOrientation { orHorizontal, orVertical };

// Whether the scroller's up/right half scrolls towards the later tabs; the
// down/left half always does the opposite.
bool UpRightScrollsForward(TQelTabOrientation orientation, TQelTabSequence sequence);

}  // namespace qel

// What the tab parts ask of the tab control that owns them.
class TQelTabOwner {
 public:
  virtual ~TQelTabOwner() = default;
  // A colour changed: the tabs repaint.
  virtual void InvalidateTabs() = 0;
  virtual qel::TQelTabOrientation TabOrientation() const = 0;
  virtual qel::TQelTabSequence TabSequence() const = 0;
  // Whether a click on the half that scrolls back (towards tab 0), or on
  // the one that scrolls forward, would move the strip.
  virtual bool CanScrollBackward() const = 0;
  virtual bool CanScrollForward() const = 0;
  // -1: no current tab.
  virtual int TabIndex() const = 0;
};

// One tab. TabRect and Row are the layout's; everything else is the
// owner's description of the tab.
struct TQelTabData {
  QString Caption;  // may hold CR LF line breaks and one '&' accelerator
  TColor Color = clBtnFace;
  int DisabledIndex = -1;  // image while disabled; -1: none
  bool Enabled = true;
  QString Hint;
  int ImageIndex = -1;  // -1: no image
  qel::TRect TabRect;   // strip coordinates (see qeltablayout.h)
  bool Visible = true;  // an invisible tab takes no place and is never hit
  int Row = 0;          // 0: the row next to the card

  // Copies the description, not the layout (TabRect and Row).
  void Assign(const TQelTabData& source);
};

// The tabs in order, owned. A copy is a list of independent fresh copies
// (description only, as Assign).
class TQelTabDataList {
 public:
  TQelTabDataList() = default;
  TQelTabDataList(const TQelTabDataList& other) { Assign(other); }
  TQelTabDataList& operator=(const TQelTabDataList& other) {
    Assign(other);
    return *this;
  }

  int Count() const { return int(items_.size()); }
  // Throws std::out_of_range outside 0..Count() - 1.
  TQelTabData& Items(int index) { return *items_.at(std::size_t(index)); }
  const TQelTabData& Items(int index) const { return *items_.at(std::size_t(index)); }
  // Frees the item at index and stores item there (a fresh one for null).
  void WriteItem(int index, std::unique_ptr<TQelTabData> item);
  // Appends item (a fresh one for null) and hands it back.
  TQelTabData& Add(std::unique_ptr<TQelTabData> item = nullptr);
  void Clear() { items_.clear(); }
  // Replaces this list by fresh copies of source's items; a list assigned
  // to itself keeps its items.
  void Assign(const TQelTabDataList& source);

 private:
  std::vector<std::unique_ptr<TQelTabData>> items_;
};

namespace qel {

// A set of N colours with the writers' rule: a new value is stored and the
// owner repaints its tabs; an unchanged value does nothing.
template <std::size_t N>
class TabColorSet {
 public:
  TabColorSet(const TabColorSet&) = delete;
  TabColorSet& operator=(const TabColorSet&) = delete;

 protected:
  TabColorSet(TQelTabOwner* owner, const std::array<TColor, N>& defaults) : owner_(owner), colors_(defaults) {}
  TColor Get(std::size_t i) const { return colors_[i]; }
  void Set(std::size_t i, TColor v) {
    if (colors_[i] == v) return;
    colors_[i] = v;
    Changed();
  }
  // Every colour copied; the owner repaints once when any changed.
  void CopyFrom(const TabColorSet& source) {
    if (colors_ == source.colors_) return;
    colors_ = source.colors_;
    Changed();
  }

 private:
  void Changed() {
    if (owner_) owner_->InvalidateTabs();
  }

  TQelTabOwner* owner_;
  std::array<TColor, N> colors_;
};

}  // namespace qel

// Colours of the tabs themselves.
class TQelTabColors : public qel::TabColorSet<3> {
 public:
  explicit TQelTabColors(TQelTabOwner* owner = nullptr) : TabColorSet(owner, {clHighlight, clBtnFace, clWindow}) {}

  // The bar on the current tab while hot tracking.
  TColor HighlightBar() const { return Get(0); }
  void SetHighlightBar(TColor v) { Set(0, v); }
  // The far end of an unselected tab's gradient.
  TColor Shadow() const { return Get(1); }
  void SetShadow(TColor v) { Set(1, v); }
  TColor Unselected() const { return Get(2); }
  void SetUnselected(TColor v) { Set(2, v); }

  void Assign(const TQelTabColors& source) { CopyFrom(source); }
};

// Colours of the captions.
class TQelTextColors : public qel::TabColorSet<4> {
 public:
  explicit TQelTextColors(TQelTabOwner* owner = nullptr)
      : TabColorSet(owner, {clBtnHighlight, clBtnShadow, clBtnText, clBtnText}) {}

  TColor DisabledHighlight() const { return Get(0); }
  void SetDisabledHighlight(TColor v) { Set(0, v); }
  TColor DisabledShadow() const { return Get(1); }
  void SetDisabledShadow(TColor v) { Set(1, v); }
  TColor Selected() const { return Get(2); }
  void SetSelected(TColor v) { Set(2, v); }
  TColor Unselected() const { return Get(3); }
  void SetUnselected(TColor v) { Set(3, v); }

  void Assign(const TQelTextColors& source) { CopyFrom(source); }
};

// Clip regions of tab shapes by their client rectangle, newest first.
// Building a polygon region for every hit test and paint is what this
// saves; one region (the current tab's, usually) is enough by default.
class TQelTabRegionCache {
 public:
  // -1 keeps every region until Clear.
  int Capacity() const { return capacity_; }
  // Throws std::invalid_argument for 0 or below -1, changing nothing. A
  // smaller capacity drops the oldest regions.
  void SetCapacity(int capacity);
  int Count() const { return int(items_.size()); }

  // The region stored for exactly this rectangle; the order stays.
  std::optional<QRegion> FindRegion(const qel::TRect& rect) const;
  // A rectangle already held only moves to the front (its region is kept);
  // a new one goes in front, dropping the oldest past Capacity.
  void StoreRegion(const qel::TRect& rect, const QRegion& region);
  void Clear() { items_.clear(); }

  // The rectangles held, newest first.
  std::vector<qel::TRect> Rects() const;

 private:
  struct Item {
    qel::TRect rect;
    QRegion region;
  };
  void Trim();

  std::vector<Item> items_;  // newest first
  int capacity_ = 1;
};

// What the tab control's two small buttons share: a press held until the
// release, the pushed look while the pointer stays inside, a frame colour,
// and painting through Paint().
class TQelTabButtonBase : public QWidget {
  Q_OBJECT

 public:
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor v);

  bool Pressed() const { return pressed_; }
  // Drawn pushed: the pointer is inside what was pressed.
  bool Inside() const { return inside_; }

  // The control as it paints now, for tests and the gallery.
  virtual qel::Canvas Paint() = 0;

 protected:
  TQelTabButtonBase(TQelTabOwner* owner, QWidget* parent);
  // Whether a point counts as inside what was pressed.
  virtual bool InsideAt(const QPoint& p) const = 0;
  // A press begins at p.
  virtual void Pressing(const QPoint&) {}
  // Released inside.
  virtual void Clicked() = 0;

  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

  TQelTabOwner* owner_;

 private:
  TColor frameColor_ = clBtnShadow;
  bool pressed_ = false;
  bool inside_ = false;
};

// The two arrow buttons of a strip whose tabs do not fit, side by side
// (horizontal) or stacked (vertical). Half 0 is the left or bottom one and
// fires DownLeftClick; half 1 the right or top one, UpRightClick. Any
// mouse button presses; a click counts when the pointer is released inside
// the control and in the half it pressed.
class TQelTabScroller : public TQelTabButtonBase {
  Q_OBJECT

 public:
  explicit TQelTabScroller(TQelTabOwner* owner, QWidget* parent = nullptr);

  qel::TOrientation Orientation() const { return orientation_; }
  void SetOrientation(qel::TOrientation v);

  int PressedHalf() const { return pressedHalf_; }
  // The half a point falls in by the split along the control alone.
  int HalfAt(const QPoint& p) const;
  // The rectangle each half paints; the two share their middle line.
  qel::TRect HalfRect(int half) const;
  // Whether a click on the half could move the strip, as the owner tells
  // (enabled without an owner).
  bool HalfEnabled(int half) const;

  qel::Canvas Paint() override;

 signals:
  void UpRightClick();
  void DownLeftClick();

 protected:
  bool InsideAt(const QPoint& p) const override;
  void Pressing(const QPoint& p) override { pressedHalf_ = HalfAt(p); }
  void Clicked() override;

 private:
  qel::TOrientation orientation_ = qel::orHorizontal;
  int pressedHalf_ = 0;
};

// The small button that closes the current tab. Drawn inactive while the
// owner has no current tab (it still fires: the owner decides).
class TQelTabCloseButton : public TQelTabButtonBase {
  Q_OBJECT

 public:
  explicit TQelTabCloseButton(TQelTabOwner* owner, QWidget* parent = nullptr);

  // Inactive: the owner has no current tab.
  bool Active() const;

  qel::Canvas Paint() override;

 signals:
  void Close();

 protected:
  bool InsideAt(const QPoint& p) const override { return rect().contains(p); }
  void Clicked() override { emit Close(); }
};

namespace qel {

// The close glyph: an x of two diagonals 2 pixels wide over the middle
// half of r; pushed moves it 1 pixel right and down, inactive embosses it.
void PaintCloseGlyph(Canvas& canvas, const TRect& r, bool pushed, bool active);

}  // namespace qel
