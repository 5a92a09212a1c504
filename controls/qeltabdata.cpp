#include "controls/qeltabdata.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <stdexcept>

#include "controls/qelborders.h"
#include "controls/qeldraw.h"

using qel::TRect;

namespace qel {

bool UpRightScrollsForward(TQelTabOrientation orientation, TQelTabSequence sequence) {
  // A right strip runs top down, so its up arrow points back towards tab 0.
  return (orientation == toRight) == (sequence == tsReverse);
}

void PaintCloseGlyph(Canvas& canvas, const TRect& r, bool pushed, bool active) {
  // Rows of two pixel pairs, one pair per diagonal: m columns, m - 1 rows.
  const int m = r.Width() / 2;
  if (m < 2) return;
  const int x0 = r.Left + (r.Width() - m) / 2, y0 = r.Top + (r.Height() - (m - 1)) / 2;
  const int shift = pushed ? 1 : 0;
  auto cross = [&](TColor color, int d) {
    for (int i = 0; i + 1 < m; ++i) {
      const int y = y0 + i + d;
      for (int x : {x0 + i, x0 + i + 1, x0 + m - 2 - i, x0 + m - 1 - i}) canvas.SetPixel(x + d, y, color);
    }
  };
  if (active) {
    cross(clBlack, shift);
  } else {
    cross(clBtnHighlight, shift + 1);
    cross(clBtnShadow, shift);
  }
}

}  // namespace qel

// --- Tab data ---

void TQelTabData::Assign(const TQelTabData& source) {
  Caption = source.Caption;
  DisabledIndex = source.DisabledIndex;
  ImageIndex = source.ImageIndex;
  Color = source.Color;
  Enabled = source.Enabled;
  Visible = source.Visible;
  Hint = source.Hint;
}

void TQelTabDataList::WriteItem(int index, std::unique_ptr<TQelTabData> item) {
  auto& slot = items_.at(std::size_t(index));
  slot = item ? std::move(item) : std::make_unique<TQelTabData>();
}

TQelTabData& TQelTabDataList::Add(std::unique_ptr<TQelTabData> item) {
  items_.push_back(item ? std::move(item) : std::make_unique<TQelTabData>());
  return *items_.back();
}

void TQelTabDataList::Assign(const TQelTabDataList& source) {
  // Clearing first would empty a list assigned to itself.
  if (&source == this) return;
  Clear();
  for (const auto& item : source.items_) Add().Assign(*item);
}

// --- Region cache ---

void TQelTabRegionCache::SetCapacity(int capacity) {
  if (capacity < -1 || capacity == 0) throw std::invalid_argument("Capacity must be -1 (to cache all regions) or > 0");
  if (capacity == capacity_) return;
  capacity_ = capacity;
  Trim();
}

void TQelTabRegionCache::Trim() {
  if (capacity_ == -1) return;
  while (int(items_.size()) > capacity_) items_.pop_back();
}

std::optional<QRegion> TQelTabRegionCache::FindRegion(const TRect& rect) const {
  for (const Item& item : items_)
    if (item.rect == rect) return item.region;
  return std::nullopt;
}

void TQelTabRegionCache::StoreRegion(const TRect& rect, const QRegion& region) {
  const auto held = std::find_if(items_.begin(), items_.end(), [&](const Item& item) { return item.rect == rect; });
  if (held != items_.end()) {
    std::rotate(items_.begin(), held, held + 1);
    return;
  }
  items_.insert(items_.begin(), Item{rect, region});
  Trim();
}

std::vector<TRect> TQelTabRegionCache::Rects() const {
  std::vector<TRect> rects;
  rects.reserve(items_.size());
  for (const Item& item : items_) rects.push_back(item.rect);
  return rects;
}

// --- The small buttons ---

TQelTabButtonBase::TQelTabButtonBase(TQelTabOwner* owner, QWidget* parent) : QWidget(parent), owner_(owner) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TQelTabButtonBase::SetFrameColor(TColor v) {
  if (frameColor_ == v) return;
  frameColor_ = v;
  update();
}

void TQelTabButtonBase::paintEvent(QPaintEvent*) {
  const qel::Canvas canvas = Paint();
  QPainter p(this);
  qel::ShowCanvas(p, canvas);
}

// Any button presses; Qt's implicit grab brings the moves and the release.
void TQelTabButtonBase::mousePressEvent(QMouseEvent* e) {
  Pressing(e->position().toPoint());
  pressed_ = true;
  inside_ = true;
  update();
  e->accept();
}

void TQelTabButtonBase::mouseMoveEvent(QMouseEvent* e) {
  if (!pressed_) return;
  const bool inside = InsideAt(e->position().toPoint());
  if (inside == inside_) return;
  inside_ = inside;
  update();
}

void TQelTabButtonBase::mouseReleaseEvent(QMouseEvent* e) {
  e->accept();
  if (!pressed_) return;
  pressed_ = false;
  if (!inside_) return;
  inside_ = false;
  update();
  Clicked();
}

// --- Scroller ---

TQelTabScroller::TQelTabScroller(TQelTabOwner* owner, QWidget* parent) : TQelTabButtonBase(owner, parent) {
  resize(33, 17);
}

void TQelTabScroller::SetOrientation(qel::TOrientation v) {
  if (orientation_ == v) return;
  orientation_ = v;
  update();
}

int TQelTabScroller::HalfAt(const QPoint& p) const {
  if (orientation_ == qel::orHorizontal) return p.x() >= width() / 2 ? 1 : 0;
  return p.y() <= height() / 2 ? 1 : 0;
}

// The split alone would count a point far outside, level with the half.
bool TQelTabScroller::InsideAt(const QPoint& p) const { return rect().contains(p) && HalfAt(p) == pressedHalf_; }

void TQelTabScroller::Clicked() {
  if (pressedHalf_ == 0)
    emit DownLeftClick();
  else
    emit UpRightClick();
}

TRect TQelTabScroller::HalfRect(int half) const {
  const int w = width(), h = height();
  if (orientation_ == qel::orHorizontal) return half == 0 ? TRect{0, 0, w / 2 + 1, h} : TRect{w - w / 2 - 1, 0, w, h};
  return half == 0 ? TRect{0, h - h / 2 - 1, w, h} : TRect{0, 0, w, h / 2 + 1};
}

bool TQelTabScroller::HalfEnabled(int half) const {
  if (!owner_) return true;
  const int forward = qel::UpRightScrollsForward(owner_->TabOrientation(), owner_->TabSequence()) ? 1 : 0;
  return half == forward ? owner_->CanScrollForward() : owner_->CanScrollBackward();
}

qel::Canvas TQelTabScroller::Paint() {
  qel::Canvas c = qel::CanvasFor(this);
  c.FillRect({0, 0, width(), height()}, clBtnFace);
  const bool horizontal = orientation_ == qel::orHorizontal;
  for (int half : {0, 1}) {
    const TRect r = HalfRect(half);
    const int direction = horizontal ? (half == 0 ? qel::adLeft : qel::adRight) : (half == 0 ? qel::adDown : qel::adUp);
    const bool pushed = Pressed() && Inside() && pressedHalf_ == half;
    qel::PaintDirectionArrow(c, r, false, HalfEnabled(half), pushed, direction);
    qel::PaintEdgeLines(c, r, FrameColor(), qel::sdAllSides, FrameColor());
  }
  return c;
}

// --- Close button ---

TQelTabCloseButton::TQelTabCloseButton(TQelTabOwner* owner, QWidget* parent) : TQelTabButtonBase(owner, parent) {
  resize(17, 17);
}

bool TQelTabCloseButton::Active() const { return !owner_ || owner_->TabIndex() != -1; }

qel::Canvas TQelTabCloseButton::Paint() {
  qel::Canvas c = qel::CanvasFor(this);
  const TRect client{0, 0, width(), height()};
  c.FillRect(client, clBtnFace);
  qel::PaintCloseGlyph(c, client, Inside(), Active());
  qel::PaintEdgeLines(c, client, FrameColor(), qel::sdAllSides, FrameColor());
  return c;
}
