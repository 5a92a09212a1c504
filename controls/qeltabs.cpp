#include "controls/qeltabs.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMetaMethod>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QPaintEvent>
#include <QShortcutEvent>
#include <QToolTip>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "controls/qelborders.h"
#include "controls/qelcolormath.h"
#include "controls/qeldraw.h"

using qel::TPoint;
using qel::TRect;

namespace {

void Inset(TRect& r, int dx, int dy) { r = {r.Left + dx, r.Top + dy, r.Right - dx, r.Bottom - dy}; }
void Shift(TRect& r, int dx, int dy) { r = {r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy}; }
bool Meets(const TRect& a, const TRect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

// The letter a caption's accelerator takes: the one after the first '&'
// of a line, unless that '&' is doubled or ends the line.
QChar AcceleratorOf(const QString& caption) {
  for (const QString& line : qel::TabLayout::SplitCaptionLines(caption)) {
    const qsizetype at = line.indexOf(QLatin1Char('&'));
    if (at < 0 || at + 1 >= line.size()) continue;
    const QChar next = line[at + 1];
    if (next != QLatin1Char('&')) return next.toUpper();
  }
  return {};
}

// Offset of a length within a span by an alignment of its own start, centre
// or end (the end being where the span's last value lies).
int Along(int spare, bool centre, bool end) { return centre ? spare / 2 : end ? spare : 0; }

std::function<QPoint()>& CursorHook() {
  static std::function<QPoint()> hook;
  return hook;
}

}  // namespace

// --- Construction ---

TQelCustomTabControl::TQelCustomTabControl(QWidget* parent) : QWidget(parent), StyledControl(this) {
  resize(300, 100);
  setFocusPolicy(Qt::TabFocus);
  setMouseTracking(true);
  // Painting covers everything: nothing to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  S().Font = font();
  hotTimer_.setInterval(60);
  connect(&hotTimer_, &QTimer::timeout, this, &TQelCustomTabControl::HotTimerTick);
  setParentColor(true);
  MarkLayoutDirty(true);
}

TQelCustomTabControl::~TQelCustomTabControl() { hotTimer_.stop(); }

std::function<QPoint()> TQelCustomTabControl::SetCursorHook(std::function<QPoint()> hook) {
  return std::exchange(CursorHook(), std::move(hook));
}

bool TQelCustomTabControl::applyLegacyProperty(const QString& name, const QVariant& value) {
  if (name == QLatin1String("FixedDimension")) {
    layout_.SetFixedDimension(value.toInt());
    return true;
  }
  return StyledControl::applyLegacyProperty(name, value);
}

void TQelCustomTabControl::loaded() {
  savedHint_ = toolTip();
  MarkLayoutDirty(true);
  // The index read while loading is applied now, with its events, from
  // the index the control had when it was made.
  const int read = TabIndex();
  if (read != creationTabIndex_) layout_.SetTabIndex(creationTabIndex_);
  SetTabIndex(read);
}

// --- Selection ---

bool TQelCustomTabControl::CanChange(int index) {
  if (index < 0 || index >= tabs_.Count()) return false;
  const TQelTabData& tab = tabs_.Items(index);
  bool allow = tab.Visible && tab.Enabled;
  if (allow && index != TabIndex()) FireChanging(index, allow);
  return allow;
}

void TQelCustomTabControl::SetTabIndex(int value) {
  if (isLoading()) {
    layout_.SetTabIndex(value);
    return;
  }
  if (value < 0 || value >= tabs_.Count()) {
    layout_.SetTabIndex(-1);
    InvalidateTabs();
  } else if (value == TabIndex() || changeConfirmed_ || CanChange(value)) {
    const int oldIndex = TabIndex(), oldFirst = layout_.FirstShownTab();
    layout_.SetTabIndex(value);
    if (!layout_.ScrollNeeded()) {
      layout_.BringRowToFront();
    } else if (value < oldFirst) {
      layout_.SetFirstShownTab(value);
    } else {
      for (int first = oldFirst; first < value && !layout_.IsTabShown(value);) layout_.SetFirstShownTab(++first);
    }
    if (layout_.FirstShownTab() != oldFirst || value != oldIndex) {
      InvalidateTabs();
      if (scroller_) scroller_->update();
      if (value != oldIndex) FireChange();
    }
  }
  // Its inactive look follows TabIndex.
  if (closeButton_ && ShowCloseButton()) closeButton_->update();
}

void TQelCustomTabControl::SelectByKey(int tab) {
  changeConfirmed_ = true;
  SetTabIndex(tab);
  changeConfirmed_ = false;
  FireTabClick();
}

bool TQelCustomTabControl::CanClose() {
  bool allow = false;
  emit Close(allow);
  return allow;
}

void TQelCustomTabControl::CloseClicked() {
  if (TabIndex() != -1 && CanClose()) CloseCurrentTab();
}

// --- Writers ---

void TQelCustomTabControl::SetAlignTabs(bool v) {
  if (v == S().AlignTabs) return;
  S().AlignTabs = v;
  if (MultiLine()) RequestLayout();
}

void TQelCustomTabControl::SetCutCornerSize(int v) {
  if (v < 0 || v == S().CutCornerSize) return;
  S().CutCornerSize = v;
  if (TabStyle() == qel::tsCutCorner) RequestLayout();
}

void TQelCustomTabControl::SetImages(TQelImageList* images) {
  if (images == images_) return;
  disconnect(imagesChange_);
  disconnect(imagesGone_);
  images_ = images;
  if (images) {
    imagesChange_ = connect(images, &TQelImageList::Change, this, [this] { InvalidateTabs(); });
    imagesGone_ = connect(images, &QObject::destroyed, this, [this] {
      images_ = nullptr;
      RequestLayout();
    });
  }
  RequestLayout();
}

void TQelCustomTabControl::SetShowCloseButton(bool v) {
  if (v == S().ShowCloseButton) return;
  S().ShowCloseButton = v;
  if (v && !closeButton_) {
    closeButton_ = new TQelTabCloseButton(this, this);
    closeButton_->hide();
    PushFrameColor();
    connect(closeButton_, &TQelTabCloseButton::Close, this, &TQelCustomTabControl::CloseClicked);
  }
  // Shown where the next layout places it.
  if (closeButton_ && !v) closeButton_->hide();
  RequestLayout();
  InvalidateTabs();
}

void TQelCustomTabControl::SetShowFullFrame(bool v) {
  if (v == S().ShowFullFrame) return;
  S().ShowFullFrame = v;
  if (!v) S().ShowShadow = false;
  RequestLayout();
}

void TQelCustomTabControl::SetShowShadow(bool v) {
  if (v == S().ShowShadow) return;
  S().ShowShadow = v;
  if (v) S().ShowFullFrame = true;
  RequestLayout();
  InvalidateTabs();
}

void TQelCustomTabControl::SetTabOrientation(qel::TQelTabOrientation v) {
  if (v == S().TabOrientation) return;
  S().TabOrientation = v;
  // Loading lays out once at its end.
  if (!isLoading()) RequestLayout();
}

void TQelCustomTabControl::SetBackgroundColor(TColor v) {
  if (v == backgroundColor_) return;
  backgroundColor_ = v;
  setParentColor(false);
  InvalidateTabs();
}

void TQelCustomTabControl::parentColorChanged(TColor color) {
  if (color == backgroundColor_) return;
  backgroundColor_ = color;
  InvalidateTabs();
}

void TQelCustomTabControl::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  ColorChanged();
}

void TQelCustomTabControl::ColorChanged() {
  qel::NotifyChildrenOfColor(this, color_);
  // Coloured tabs and their card do not show Color.
  if (!useColoredTabs_) InvalidateTabs();
}

TColor TQelCustomTabControl::AdjustedFlatColor() const { return AdjustColorBy(flatColor_, flatColorAdjustment_); }

void TQelCustomTabControl::PushFrameColor() {
  if (scroller_) scroller_->SetFrameColor(AdjustedFlatColor());
  if (closeButton_) closeButton_->SetFrameColor(AdjustedFlatColor());
}

void TQelCustomTabControl::SetFlatColor(TColor v) {
  if (v == flatColor_) return;
  flatColor_ = v;
  PushFrameColor();
  InvalidateTabs();
}

void TQelCustomTabControl::SetFlatColorAdjustment(int v) {
  if (v == flatColorAdjustment_) return;
  flatColorAdjustment_ = v;
  PushFrameColor();
  InvalidateTabs();
}

void TQelCustomTabControl::SetHotTrack(bool v) {
  if (v == hotTrack_) return;
  hotTrack_ = v;
  if (!v && !tabHints_) EndHotTracking();
  InvalidateTabs();
}

void TQelCustomTabControl::SetTabHints(bool v) {
  if (v == tabHints_) return;
  tabHints_ = v;
  if (!v && !hotTrack_) EndHotTracking();
}

void TQelCustomTabControl::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  setAttribute(Qt::WA_OpaquePaintEvent, !v);
  InvalidateTabs();
}

void TQelCustomTabControl::SetHint(const QString& v) {
  // The hint to go back to once a tab's hint is no longer shown.
  savedHint_ = v;
  setToolTip(v);
}

// --- Layout ---

void TQelCustomTabControl::InvalidateTabs() {
  hotRepaint_ = false;
  refresh();
}

void TQelCustomTabControl::MarkLayoutDirty(bool needed) {
  layoutNeeded_ = needed;
  if (!needed) return;
  // Qt folds pending layout requests into one.
  QCoreApplication::postEvent(this, new QEvent(QEvent::LayoutRequest));
  InvalidateTabs();
}

void TQelCustomTabControl::UpdateLayout() {
  // A handler asked during the choice of the current tab may query the
  // geometry: the layout in progress answers.
  if (!layoutNeeded_ || inLayout_ || isLoading()) return;
  inLayout_ = true;
  MarkLayoutDirty(false);
  layout_.SetClientSize(width(), height());
  S().ImageWidth = images_ ? images_->Width() : 0;
  S().ImageHeight = images_ ? images_->Height() : 0;
  layout_.UpdateLayout();
  StoreLayoutValue(layout_.RowCount());
  GrabAccelerators();

  // The current tab: the first acceptable one from TabIndex on, else
  // backwards. A list that shrank may leave TabIndex past its end.
  int chosen = -1;
  const int count = tabs_.Count(), current = TabIndex();
  if (layout_.FirstVisibleTab() >= 0 && current >= 0) {
    for (int i = current; i < count && chosen < 0; ++i)
      if (CanChange(i)) chosen = i;
    for (int i = std::min(current, count - 1); i >= 0 && chosen < 0; --i)
      if (CanChange(i)) chosen = i;
  }
  changeConfirmed_ = chosen != current;
  SetTabIndex(chosen);
  changeConfirmed_ = false;

  if (layout_.CardClientRect() != lastCardRect_)
    AlignInsideBorders();
  else
    PlaceButtons();
  inLayout_ = false;
}

void TQelCustomTabControl::AlignInsideBorders() {
  PlaceButtons();
  const TRect r = layout_.CardClientRect();
  qel::AlignChildren(this, qel::ToQRect(r));
  lastCardRect_ = r;
}

void TQelCustomTabControl::PlaceButtons() {
  if (isLoading()) return;
  auto place = [](QWidget* w, const TRect& r) {
    w->setGeometry(r.Left, r.Top, r.Width(), r.Height());
    w->show();
    w->raise();
  };
  if (ShowCloseButton() && closeButton_) place(closeButton_, layout_.CloseButtonRect());
  if (layout_.ScrollNeeded()) {
    if (!scroller_) {
      scroller_ = new TQelTabScroller(this, this);
      PushFrameColor();
      connect(scroller_, &TQelTabScroller::UpRightClick, this,
              [this] { ScrollTabs(qel::UpRightScrollsForward(TabOrientation(), TabSequence())); });
      connect(scroller_, &TQelTabScroller::DownLeftClick, this,
              [this] { ScrollTabs(!qel::UpRightScrollsForward(TabOrientation(), TabSequence())); });
    }
    scroller_->SetOrientation(layout_.ScrollerOrientation());
    place(scroller_, layout_.ScrollerRect());
    scroller_->update();
  } else if (scroller_) {
    scroller_->hide();
  }
}

int TQelCustomTabControl::FixedDimension() {
  UpdateLayout();
  return layout_.FixedDimension();
}

int TQelCustomTabControl::RowCount() {
  UpdateLayout();
  return rowCount_;
}

int TQelCustomTabControl::FirstShownTab() {
  UpdateLayout();
  return layout_.FirstShownTab();
}

bool TQelCustomTabControl::ScrollNeeded() {
  UpdateLayout();
  return layout_.ScrollNeeded();
}

TRect TQelCustomTabControl::TabStripRect() {
  UpdateLayout();
  return layout_.TabStripRect();
}

TRect TQelCustomTabControl::CardRect(int row) {
  UpdateLayout();
  return layout_.CardRect(row);
}

TRect TQelCustomTabControl::CardClientRect() {
  UpdateLayout();
  return layout_.CardClientRect();
}

TRect TQelCustomTabControl::TabClientRect(int index) {
  UpdateLayout();
  return layout_.TabClientRect(index);
}

bool TQelCustomTabControl::IsTabShown(int index) {
  UpdateLayout();
  return layout_.IsTabShown(index);
}

int TQelCustomTabControl::TabIndexAtPoint(TPoint p) {
  UpdateLayout();
  return layout_.TabIndexAtPoint(p);
}

bool TQelCustomTabControl::ScrollTabs(bool forward) {
  UpdateLayout();
  const int count = tabs_.Count(), old = layout_.FirstShownTab();
  if (!layout_.ScrollNeeded() || old < 0) return false;
  int i = old;
  if (forward) {
    const int last = layout_.LastVisibleTab();
    if (old >= count - 1 || layout_.IsTabShown(last)) return false;
    while (++i < count) {
      layout_.SetFirstShownTab(i);
      if (layout_.IsTabShown(i)) break;
    }
    if (i >= count) {
      layout_.SetFirstShownTab(old);
      return false;
    }
  } else {
    if (old == 0 || layout_.IsTabShown(layout_.FirstVisibleTab())) return false;
    while (--i >= 0) {
      layout_.SetFirstShownTab(i);
      if (layout_.IsTabShown(i)) break;
    }
    if (i < 0) {
      layout_.SetFirstShownTab(old);
      return false;
    }
  }
  InvalidateTabs();
  if (scroller_) scroller_->update();
  return true;
}

// --- Events ---

bool TQelCustomTabControl::event(QEvent* e) {
  switch (e->type()) {
    case QEvent::LayoutRequest:
      // Ours, or an aligned child's: the children are placed again too.
      if (!isLoading()) {
        UpdateLayout();
        AlignInsideBorders();
      }
      return true;
    case QEvent::Shortcut: {
      const auto found = accelerators_.find(static_cast<QShortcutEvent*>(e)->shortcutId());
      if (found == accelerators_.end()) break;
      TakeAccelerator(TabForAccelerator(found->second));
      return true;
    }
    default: break;
  }
  return QWidget::event(e);
}

void TQelCustomTabControl::changeEvent(QEvent* e) {
  QWidget::changeEvent(e);
  if (e->type() == QEvent::FontChange) {
    S().Font = font();
    RequestLayout();
  } else if (e->type() == QEvent::EnabledChange) {
    InvalidateTabs();
  }
}

void TQelCustomTabControl::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  RequestLayout();
}

void TQelCustomTabControl::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  InvalidateTabs();
}

void TQelCustomTabControl::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  InvalidateTabs();
}

void TQelCustomTabControl::GrabAccelerators() {
  QString captions;
  for (int i = 0; i < tabs_.Count(); ++i) captions += tabs_.Items(i).Caption + QLatin1Char('\n');
  if (captions == acceleratorCaptions_) return;
  acceleratorCaptions_ = captions;
  for (const auto& [id, letter] : accelerators_) releaseShortcut(id);
  accelerators_.clear();
  for (int i = 0; i < tabs_.Count(); ++i) {
    const QChar letter = AcceleratorOf(tabs_.Items(i).Caption);
    const bool taken = std::any_of(accelerators_.begin(), accelerators_.end(),
                                   [&](const auto& entry) { return entry.second == letter; });
    if (letter.isNull() || taken) continue;
    accelerators_[grabShortcut(QKeySequence::mnemonic(QLatin1Char('&') + letter))] = letter;
  }
}

int TQelCustomTabControl::TabForAccelerator(QChar c) const {
  for (int i = 0; i < tabs_.Count(); ++i) {
    const TQelTabData& tab = tabs_.Items(i);
    if (tab.Enabled && tab.Visible && AcceleratorOf(tab.Caption) == c) return i;
  }
  return -1;
}

void TQelCustomTabControl::TakeAccelerator(int tab) {
  UpdateLayout();
  if (tab < 0 || !isEnabled() || !isVisible() || focusPolicy() == Qt::NoFocus) return;
  setFocus(Qt::ShortcutFocusReason);
  if (!hasFocus()) return;
  SetTabIndex(tab);
  if (TabIndex() == tab) FireTabClick();
}

void TQelCustomTabControl::keyPressEvent(QKeyEvent* e) {
  UpdateLayout();
  const int count = tabs_.Count(), current = TabIndex();
  const bool reverse = TabSequence() == qel::tsReverse;
  const int key = e->key();
  if (dragging_ && key == Qt::Key_Escape) {
    EndDrag({}, false);
    return;
  }
  int found = -1;
  switch (key) {
    case Qt::Key_Home:
      for (int i = 0; i < count && i != current && found < 0; ++i)
        if (CanChange(i)) found = i;
      break;
    case Qt::Key_End:
      for (int i = count - 1; i >= 0 && i != current && found < 0; --i)
        if (CanChange(i)) found = i;
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const bool forward = (key == Qt::Key_Right || key == Qt::Key_Down) != reverse;
      const int step = forward ? 1 : count - 1;
      // One round at most: from the tab after the current one, or with no
      // current tab from the first (forwards) or the last (backwards).
      int i = current >= 0 ? current : (forward ? count - 1 : 0);
      for (int k = current >= 0 ? 1 : 0; k < count && found < 0; ++k) {
        i = (i + step) % count;
        if (CanChange(i)) found = i;
      }
      break;
    }
    default: QWidget::keyPressEvent(e); return;
  }
  e->accept();
  if (found >= 0 && found != TabIndex()) SelectByKey(found);
}

void TQelCustomTabControl::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(e);
    return;
  }
  UpdateLayout();
  const QPoint at = e->position().toPoint();
  pressed_ = true;
  pressAt_ = at;
  dragging_ = false;
  const int t = layout_.TabIndexAtPoint({at.x(), at.y()});
  if (t < 0 || !tabs_.Items(t).Enabled) return;
  if (t == TabIndex() && TabStop()) {
    setFocus(Qt::MouseFocusReason);
    if (!hasFocus()) return;
  }
  SetTabIndex(t);
  if (TabIndex() == t) FireTabClick();
}

void TQelCustomTabControl::mouseMoveEvent(QMouseEvent* e) {
  UpdateLayout();
  const QPoint at = e->position().toPoint();
  if (hotTrack_ || tabHints_) HotTrackAt(at);
  if (!allowTabDragging_ || !pressed_ || !(e->buttons() & Qt::LeftButton)) return;
  if (!dragging_) {
    // The press picked the tab that moves: it must have been on one.
    if ((at - pressAt_).manhattanLength() < QApplication::startDragDistance() ||
        layout_.TabIndexAtPoint({pressAt_.x(), pressAt_.y()}) < 0 || TabIndex() < 0)
      return;
    dragging_ = true;
    dragTarget_ = -1;
  }
  DragTo(at);
}

void TQelCustomTabControl::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton || !pressed_) {
    QWidget::mouseReleaseEvent(e);
    return;
  }
  pressed_ = false;
  const QPoint at = e->position().toPoint();
  if (dragging_) {
    EndDrag(at, true);
    return;
  }
  if (rect().contains(at)) emit Click();
}

// --- Hot tracking and hints ---

void TQelCustomTabControl::HotTrackAt(const QPoint& p) {
  const int t = layout_.TabIndexAtPoint({p.x(), p.y()});
  const TRect s = layout_.TabStripRect();
  const bool inStrip = p.x() >= s.Left && p.x() <= s.Right && p.y() >= s.Top && p.y() <= s.Bottom;
  if (t < 0) {
    QString aside;
    if (tabHints_) {
      if (hotTabIndex_ != -1 || inStrip) QToolTip::hideText();
      // Over bare strip no hint shows; outside it the control's own does.
      if (inStrip) aside = std::exchange(savedHint_, QString());
    }
    EndHotTracking();
    if (tabHints_ && inStrip) savedHint_ = aside;
    return;
  }
  if (t == hotTabIndex_) return;
  hotTabIndex_ = t;
  if (hotTrack_) {
    hotRepaint_ = true;
    update(s.Left, s.Top, s.Width() + 1, s.Height() + 1);
  }
  if (tabHints_) {
    QToolTip::hideText();
    if (!tabs_.Items(t).Hint.isEmpty()) setToolTip(tabs_.Items(t).Hint);
  }
  if (!hotTimer_.isActive()) hotTimer_.start();
}

void TQelCustomTabControl::EndHotTracking() {
  hotTimer_.stop();
  if (hotTabIndex_ != -1) {
    hotTabIndex_ = -1;
    const TRect s = layout_.TabStripRect();
    hotRepaint_ = true;
    update(s.Left, s.Top, s.Width() + 1, s.Height() + 1);
  }
  setToolTip(savedHint_);
}

void TQelCustomTabControl::HotTimerTick() {
  if (!hotTimer_.isActive()) return;
  const QPoint global = CursorHook() ? CursorHook()() : QCursor::pos();
  const QPoint p = mapFromGlobal(global);
  UpdateLayout();
  if (layout_.TabIndexAtPoint({p.x(), p.y()}) < 0) EndHotTracking();
}

// --- Dragging ---

TRect TQelCustomTabControl::DragMarkRect(int target) {
  const TRect r = TabClientRect(target);
  const int half = layout_.FixedDimension() / 2;
  const qel::TQelTabStyle style = TabStyle();
  const bool doubleSlant = style == qel::tsDoubleSlant;
  const bool slanted = doubleSlant || style == qel::tsSingleSlant;
  const bool leading = TabSequence() == qel::tsStandard ? target < TabIndex() : target > TabIndex();
  // Along the strip: the leading edge's span, or the trailing edge's.
  int from, to;
  auto span = [&](int edge, int before, int after, int shift) {
    from = edge - before + shift;
    to = edge + after + shift;
  };
  const int trailingShift = slanted ? -half : 1;
  switch (TabOrientation()) {
    case qel::toTop:
    case qel::toBottom:
      if (leading)
        span(r.Left, 8, 7, doubleSlant ? half : 0);
      else
        span(r.Right, 7, 8, trailingShift);
      if (TabOrientation() == qel::toTop) return {from, r.Top - 2, to, r.Top + 6};
      return {from, r.Bottom - 6, to, r.Bottom + 2};
    case qel::toLeft:
      if (leading)
        span(r.Bottom, 7, 8, doubleSlant ? -half : slanted ? 0 : 1);
      else
        span(r.Top, 8, 7, slanted ? half : 0);
      return {r.Left - 2, from, r.Left + 6, to};
    case qel::toRight:
      if (leading)
        span(r.Top, 8, 7, doubleSlant ? half + 1 : 0);
      else
        span(r.Bottom, 7, 8, trailingShift);
      return {r.Right - 5, from, r.Right + 3, to};
  }
  return {};
}

void TQelCustomTabControl::PaintDragInsertMark(const TRect& rect) {
  // As an exclusive-or copy: the same rectangle again takes the mark away.
  const auto drawn = std::find(dragMarks_.begin(), dragMarks_.end(), rect);
  if (drawn != dragMarks_.end())
    dragMarks_.erase(drawn);
  else
    dragMarks_.push_back(rect);
  update(rect.Left, rect.Top, rect.Width(), rect.Height());
}

void TQelCustomTabControl::DragTo(const QPoint& p) {
  if (!rect().contains(p)) {
    if (!dragMarks_.empty()) PaintDragInsertMark(dragMarks_.back());
    dragTarget_ = -1;
    return;
  }
  const int target = layout_.TabIndexAtPoint({p.x(), p.y()});
  if (target == dragTarget_) return;
  dragTarget_ = target;
  if (!dragMarks_.empty()) PaintDragInsertMark(dragMarks_.back());
  if (target != -1 && target != TabIndex()) PaintDragInsertMark(DragMarkRect(target));
}

void TQelCustomTabControl::EndDrag(const QPoint& p, bool drop) {
  dragging_ = false;
  pressed_ = false;
  if (!dragMarks_.empty()) PaintDragInsertMark(dragMarks_.back());
  if (!drop || !rect().contains(p)) return;
  const int target = layout_.TabIndexAtPoint({p.x(), p.y()});
  if (target != -1 && target != TabIndex()) MoveCurrentTabTo(target);
}

// --- Painting ---

void TQelCustomTabControl::PrepareBuffer() {
  const bool seeThrough = qel::IsSeeThrough(this);
  const int ratio = qel::RatioFor(this);
  if (buffer_.Width() != width() || buffer_.Height() != height() || buffer_.Ratio() != ratio ||
      buffer_.Image().hasAlphaChannel() != seeThrough)
    buffer_ = qel::CanvasFor(this);
  else if (seeThrough)
    buffer_.Image().fill(0u);
}

qel::Canvas TQelCustomTabControl::Paint() {
  UpdateLayout();
  PrepareBuffer();
  PaintAll(buffer_, false);
  return buffer_;
}

void TQelCustomTabControl::paintEvent(QPaintEvent* e) {
  UpdateLayout();
  // A hot repaint may leave out the card shadow, which lies outside the
  // strip; a paint that reaches further draws it.
  const TRect s = layout_.TabStripRect();
  const bool hotOnly = hotRepaint_ && QRect(s.Left, s.Top, s.Width() + 1, s.Height() + 1).contains(e->rect());
  PrepareBuffer();
  PaintAll(buffer_, hotOnly);
  QPainter p(this);
  qel::ShowCanvas(p, buffer_);
}

void TQelCustomTabControl::PaintAll(qel::Canvas& buffer, bool hotOnly) {
  const TRect whole{0, 0, width(), height()};
  bool handled = false;
  FirePaintBackground(buffer, whole, handled);
  // Transparent: the buffer stays clear and Qt shows what lies beneath.
  if (!handled && !transparent_) buffer.FillRect(whole, backgroundColor_);
  PaintTabsAndCards(buffer, hotOnly);
  PaintDragMarks(buffer);
}

void TQelCustomTabControl::PaintTabsAndCards(qel::Canvas& c, bool hotOnly) {
  const int count = tabs_.Count(), current = TabIndex(), first = layout_.FirstShownTab();
  int card = layout_.RowCount() - 1;
  if (count > 0) {
    int start = 0;
    for (int i = 0; i < count; ++i)
      if (tabs_.Items(i).Visible && tabs_.Items(i).Row == 0) {
        start = i;
        break;
      }
    // Back to front: from the tab before the first of the front row
    // downwards round to it, each row's card before the row in front.
    for (int k = 0; k < count; ++k) {
      const int i = ((start - 1 - k) % count + count) % count;
      const TQelTabData& tab = tabs_.Items(i);
      if (!tab.Visible || !layout_.IsTabShown(i) || i < first || i == current) continue;
      if (tab.Row < card && card > 0) {
        PaintCard(c, card, hotOnly);
        card = tab.Row;
      }
      PaintTab(c, i);
    }
    if (card == 1) PaintCard(c, 1, hotOnly);
    if (current >= 0 && current >= first && layout_.IsTabShown(current)) PaintTab(c, current);
  }
  PaintCard(c, 0, hotOnly);
}

void TQelCustomTabControl::PaintCard(qel::Canvas& c, int row, bool hotOnly) {
  TRect r = layout_.CardRect(row);
  if (r == TRect{}) return;
  if (CardVisible()) {
    ++r.Right;
    ++r.Bottom;
  }
  bool handled = false;
  FirePaintCardBackground(c, row, handled, r);
  if (!handled) c.FillRect(r, useColoredTabs_ && TabIndex() >= 0 ? tabs_.Items(TabIndex()).Color : color_);
  if (!ShowCardFrame()) return;
  outline_.clear();
  Record(2, 1, row);
  BuildCardFrame(row, hotOnly);
  RunOutlineCommands(c);
}

void TQelCustomTabControl::PaintTab(qel::Canvas& c, int t) {
  const TRect r = layout_.TabClientRect(t);
  if (!Meets(r, {0, 0, c.Width(), c.Height()})) return;
  const QRegion region = layout_.TabRegion(t);
  if (!region.isEmpty()) {
    // Drawn on a layer of the tab's rectangle, then taken over inside the
    // tab's shape only.
    qel::Canvas layer = c.Layer(Moved(r, c.Origin().X, c.Origin().Y));
    layer.IntersectClipRect(r);
    PaintTabBackgroundArea(layer, t, r);
    PaintTabContent(layer, t, r);
    c.TakeLayer(layer, region & c.Clip());
  }
  outline_.clear();
  Record(2, 0, t);
  BuildTabOutline(t);
  RunOutlineCommands(c);
}

void TQelCustomTabControl::PaintTabBackgroundArea(qel::Canvas& c, int t, const TRect& r) {
  bool handled = false;
  FirePaintTabBackground(c, t, handled, r);
  if (handled) return;
  const TQelTabData& tab = tabs_.Items(t);
  const TColor base = useColoredTabs_ ? tab.Color : color_;
  const TColor unselected = useColoredTabs_ ? tab.Color : tabColors_.Unselected();
  const TColor shadow = useColoredTabs_ ? ShadeColor(tab.Color, 30) : tabColors_.Shadow();
  if (t == TabIndex()) {
    c.FillRect(r, base);
  } else if (useGradients_ && ScreenHasFullColor()) {
    // The shadow end lies next to the card.
    switch (TabOrientation()) {
      case qel::toTop: qel::PaintGradientRect(c, r, qel::gdHorizontalEnd, 1, shadow, unselected); break;
      case qel::toLeft: qel::PaintGradientRect(c, r, qel::gdVerticalEnd, 1, shadow, unselected); break;
      case qel::toBottom: qel::PaintGradientRect(c, r, qel::gdHorizontalEnd, 1, unselected, shadow); break;
      case qel::toRight: qel::PaintGradientRect(c, r, qel::gdVerticalEnd, 1, unselected, shadow); break;
    }
  } else {
    c.FillRect(r, unselected);
  }
}

TRect TQelCustomTabControl::TabTextArea(const TRect& tabRect) const {
  TRect r = tabRect;
  const qel::TQelTabOrientation o = TabOrientation();
  const bool side = o == qel::toLeft || o == qel::toRight;
  const bool vertical = TextOrientation() == qel::orVertical;
  const int cut = CutCornerSize();
  auto slant = [&](int depth) { return qel::TabLayout::SlantOffset(TabStyle(), depth); };
  // The last steps both slanted styles share.
  auto slantedShift = [&] {
    if (side) {
      Shift(r, 0, 1);
      (o == qel::toLeft ? r.Left : r.Right) += o == qel::toLeft ? 2 : -2;
      if (o == qel::toRight) Shift(r, 1, 0);
    } else {
      Shift(r, 1, 0);
      (o == qel::toTop ? r.Top : r.Bottom) += o == qel::toTop ? 2 : -2;
      if (o == qel::toBottom) Shift(r, 0, 1);
    }
  };
  switch (TabStyle()) {
    case qel::tsSingleSlant:
      Inset(r, 1, 1);
      if (side) {
        const int in = 2 * slant(r.Width()) + 2;
        if (o == qel::toLeft) {
          r.Top += in;
          Shift(r, 0, -2);
        } else {
          r.Bottom -= in;
          Shift(r, 0, 2);
        }
      } else {
        r.Right -= 2 * slant(r.Height()) + 2;
        Shift(r, 2, 0);
      }
      slantedShift();
      break;
    case qel::tsDoubleSlant:
      if (side) {
        Inset(r, 1, -1);
        Inset(r, 0, slant(r.Width()));
        r.Bottom += 2;
      } else {
        Inset(r, -1, 1);
        Inset(r, slant(r.Height()), 0);
      }
      slantedShift();
      break;
    case qel::tsCutCorner:
      if (side) {
        if (vertical) {
          Inset(r, 1, cut + 3);
          (o == qel::toLeft ? r.Left : r.Right) += o == qel::toLeft ? 5 : -5;
        } else {
          Inset(r, 1, 4);
          (o == qel::toLeft ? r.Left : r.Right) += o == qel::toLeft ? cut + 5 : -(cut + 5);
        }
        if (o == qel::toRight) Shift(r, 1, 0);
      } else {
        if (vertical) {
          Inset(r, 4, 1);
          (o == qel::toTop ? r.Top : r.Bottom) += o == qel::toTop ? cut + 3 : -(cut + 3);
        } else {
          Inset(r, cut + 3, 1);
          (o == qel::toTop ? r.Top : r.Bottom) += o == qel::toTop ? 3 : -3;
        }
        if (o == qel::toBottom) Shift(r, 0, 1);
      }
      break;
    case qel::tsRoundCorners:
      if (vertical)
        Inset(r, 2, 4);
      else
        Inset(r, 4, 2);
      break;
  }
  Inset(r, 1, 1);
  return r;
}

TRect TQelCustomTabControl::AlignedCaptionArea(int t, const TRect& area) const {
  const bool bold = BoldCurrentTab() && t == TabIndex();
  const TPoint block = layout_.MeasureText(tabs_.Items(t).Caption, bold);
  TRect r = area;
  if (TextOrientation() == qel::orHorizontal) {
    const int spare = r.Height() - block.Y;
    if (textAlignmentVertical_ == vaCenter) {
      r.Top += spare / 2;
      r.Bottom -= spare / 2;
    } else if (textAlignmentVertical_ == vaBottom) {
      r.Top = r.Bottom - block.Y;
    }
  } else {
    const int spare = r.Width() - block.X;
    const bool right = TabOrientation() == qel::toRight;
    if (textAlignment_ == haCenter) {
      r.Left += spare / 2;
      r.Right -= spare / 2;
    } else if (textAlignment_ == haRight && !right) {
      r.Left = r.Right - block.X;
    } else if (textAlignment_ == haLeft && right) {
      r.Right = r.Left + block.X;
    }
  }
  return r;
}

TColor TQelCustomTabControl::TextColorFor(int t, TQelTextStyle style, TColor fallback) {
  bool handled = false;
  TColor colour = fallback;
  FireGetTextColor(t, style, handled, colour);
  return handled ? colour : fallback;
}

TColor TQelCustomTabControl::HotBarColor() const {
  if (hotTrackColorType_ == htctActual) return hotTrackColor_;
  // The opposite hue, saturated and a little lighter than the middle.
  const int hue = HueOfColor(hotTrackColor_);
  return HueLumSatToRgb(std::uint8_t(hue < 120 ? hue + 120 : hue - 120), 240, 140);
}

void TQelCustomTabControl::PaintTabBar(qel::Canvas& c, const TRect& r, TColor color) {
  TRect bar{r.Left - 1, r.Top - 1, r.Right + 1, r.Bottom + 1};
  switch (TabOrientation()) {
    case qel::toTop: bar.Bottom = bar.Top + 6; break;
    case qel::toLeft: bar.Right = bar.Left + 6; break;
    case qel::toBottom: bar.Top = bar.Bottom - 4; break;
    case qel::toRight: bar.Left = bar.Right - 4; break;
  }
  c.FillRect(bar, color);
}

void TQelCustomTabControl::PaintTabContent(qel::Canvas& c, int t, const TRect& r) {
  const TQelTabData& tab = tabs_.Items(t);
  TRect text = TabTextArea(r);
  const bool hasImage = images_ && tab.ImageIndex != -1;
  const int iw = hasImage ? images_->Width() : 0, ih = hasImage ? images_->Height() : 0;
  const int margin = tab.ImageIndex != -1 ? ImageMargin() : 0;
  TRect image = text;
  switch (ImagePosition()) {
    case qel::ipLeft:
      text.Left += iw + margin;
      image.Right = image.Left + iw;
      break;
    case qel::ipTop:
      text.Top += ih + margin;
      image.Bottom = image.Top + ih;
      break;
    case qel::ipRight:
      text.Right -= iw + margin;
      image.Left = image.Right - iw;
      break;
    case qel::ipBottom:
      text.Bottom -= ih + margin;
      image.Top = image.Bottom - ih;
      break;
    case qel::ipBack:
    case qel::ipStretch: break;
  }
  if (hasImage) {
    // A tab without a disabled image shows its own image greyed.
    const bool own = tab.DisabledIndex == -1 || tab.Enabled;
    const int index = own ? tab.ImageIndex : tab.DisabledIndex;
    const bool enabled = tab.DisabledIndex != -1 || tab.Enabled;
    if (ImagePosition() == qel::ipStretch) {
      const TColor key = images_->KeyColor();
      qel::Canvas picture(iw, ih);
      picture.FillRect({0, 0, iw, ih}, key);
      images_->Draw(picture, 0, 0, index, enabled);
      c.CopyRectKeyed(image, picture, {0, 0, iw, ih}, key);
    } else {
      const int x = image.Left + Along(image.Width() - iw, imageAlignment_ == haCenter, imageAlignment_ == haRight);
      const int y = image.Top + Along(image.Height() - ih, imageAlignmentVertical_ == vaCenter,
                                      imageAlignmentVertical_ == vaBottom);
      images_->Draw(c, x, y, index, enabled);
    }
  }
  TColor colour;
  if (!tab.Enabled) {
    colour = TextColorFor(t, tsDisabledHighlight, textColors_.DisabledHighlight());
    PaintCaption(c, t, text, 1, colour);
    colour = TextColorFor(t, tsDisabledShadow, textColors_.DisabledShadow());
  } else if (hotTrack_ && t == hotTabIndex_) {
    colour = TextColorFor(t, tsHotTrack, hotTrackStyle_ == htsText ? hotTrackColor_ : textColors_.Selected());
    if (hotTrackStyle_ == htsTab) PaintTabBar(c, r, HotBarColor());
  } else if (t == TabIndex()) {
    colour = TextColorFor(t, tsSelected, textColors_.Selected());
    if (hotTrack_ && hotTrackStyle_ == htsTab) PaintTabBar(c, r, tabColors_.HighlightBar());
  } else {
    colour = TextColorFor(t, tsUnselected, textColors_.Unselected());
  }
  PaintCaption(c, t, text, 0, colour);

  if (!showFocusRect_ || t != TabIndex() || !hasFocus()) return;
  TRect f = tab.Caption.isEmpty() ? text : AlignedCaptionArea(t, text);
  const qel::TQelTabOrientation o = TabOrientation();
  if (o == qel::toTop || o == qel::toBottom)
    Inset(f, -1, 0);
  else
    Inset(f, 0, -1);
  if (TabStyle() == qel::tsRoundCorners) {
    switch (o) {
      case qel::toTop: f.Top += 1; break;
      case qel::toLeft: f.Left += 2; break;
      case qel::toBottom: f.Bottom -= 1; break;
      case qel::toRight: f.Right -= 2; break;
    }
  }
  qel::PaintFocusFrame(c, f);
}

void TQelCustomTabControl::PaintCaption(qel::Canvas& c, int t, const TRect& area, int offset, TColor color) {
  const QString& caption = tabs_.Items(t).Caption;
  if (caption.isEmpty()) return;
  qel::FontValue font = layout_.TabFont(BoldCurrentTab() && t == TabIndex());
  font.Color = color;
  const TRect block = AlignedCaptionArea(t, area);
  const bool vertical = TextOrientation() == qel::orVertical;
  const bool right = TabOrientation() == qel::toRight;
  const bool hCentre = textAlignment_ == haCenter, vCentre = textAlignmentVertical_ == vaCenter;
  int before = 0;
  for (const QString& line : qel::TabLayout::SplitCaptionLines(caption)) {
    const TPoint e = qel::Text().Extent(font, qel::TabLayout::WithoutAccelerator(line));
    // In client directions: a turned line is as wide as it is high.
    const int w = vertical ? e.Y : e.X, h = vertical ? e.X : e.Y;
    TPoint pen;
    if (!vertical) {
      pen = {block.Left + Along(block.Width() - w, hCentre, textAlignment_ == haRight), block.Top + before};
      before += h;
    } else if (right) {
      pen = {block.Right - before, block.Top + Along(block.Height() - h, vCentre, textAlignmentVertical_ == vaBottom)};
      before += w;
    } else {
      pen = {block.Left + before, block.Bottom - Along(block.Height() - h, vCentre, textAlignmentVertical_ == vaTop)};
      before += w;
    }
    pen.X += offset;
    pen.Y += offset;
    // The text before the first '&', the letter after it underlined ("&&"
    // shows one '&'), and the rest; a closing '&' is plain text.
    const qsizetype at = line.indexOf(QLatin1Char('&'));
    if (at < 0 || at + 1 >= line.size()) {
      PaintCaptionPart(c, pen, font, line);
      continue;
    }
    PaintCaptionPart(c, pen, font, line.left(at));
    const QChar next = line[at + 1];
    qel::FontValue marked = font;
    if (next != QLatin1Char('&')) marked.Font.setUnderline(true);
    PaintCaptionPart(c, pen, marked, QString(next));
    PaintCaptionPart(c, pen, font, line.mid(at + 2));
  }
}

void TQelCustomTabControl::PaintCaptionPart(qel::Canvas& c, TPoint& pen, const qel::FontValue& font,
                                            const QString& text) {
  if (text.isEmpty()) return;
  c.Font = font;
  c.Brush.Clear = true;
  c.TextAlignment = qel::taLeft;
  c.TextOut(pen.X, pen.Y, text);
  c.Brush.Clear = false;
  const int length = qel::Text().Extent(font, text).X;
  if (font.Escapement == 0)
    pen.X += length;
  else if (font.Escapement == 2700)
    pen.Y += length;
  else
    pen.Y -= length;
}

// --- Outlines ---

void TQelCustomTabControl::BuildTabOutline(int t) {
  const std::vector<TPoint> points = layout_.TabClientOutline(t);
  static constexpr std::size_t kPoints[] = {5, 4, 5, 6};
  Q_ASSERT(points.size() == kPoints[TabStyle()]);
  if (points.empty()) return;
  // The base stays open: the tab joins its card.
  Record(0);
  Record(3, points.front().X, points.front().Y);
  for (std::size_t i = 1; i < points.size(); ++i) Record(4, points[i].X, points[i].Y);
}

void TQelCustomTabControl::BuildCardFrame(int row, bool hotOnly) {
  const TRect card = layout_.CardRect(row);
  const TPoint tl{card.Left, card.Top}, tr{card.Right, card.Top}, br{card.Right, card.Bottom},
      bl{card.Left, card.Bottom};
  const qel::TQelTabOrientation o = TabOrientation();
  const bool shadowed = o == qel::toTop && TabSequence() == qel::tsStandard && ShowShadow();
  const int current = TabIndex();
  Record(0);
  // The ring with the shadow's inset on its right and bottom edges.
  auto shadowRing = [&](TPoint end) {
    Record(4, tr.X - 2, tr.Y);
    Record(4, br.X - 2, br.Y - 2);
    Record(4, bl.X, bl.Y - 2);
    Record(4, end.X, end.Y);
    if (!hotOnly) BuildCardShadow(card);
  };
  if (current == -1 || row != 0 || !layout_.IsTabShown(current)) {
    Record(3, tl.X, tl.Y);
    if (shadowed) {
      shadowRing(tl);
      return;
    }
    Record(4, tr.X, tr.Y);
    if (ShowFullFrame()) {
      Record(4, br.X, br.Y);
      Record(4, bl.X, bl.Y);
      Record(4, tl.X, tl.Y);
    }
    return;
  }
  // The span under the current tab's base stays open.
  const std::vector<TPoint> outline = layout_.TabOutlinePoints(current);
  if (outline.empty()) return;
  TPoint a = layout_.LogicalToClient({outline.front().X + 1, outline.front().Y});
  TPoint b = layout_.LogicalToClient(outline.back());
  // The ring TL, TR, BR, BL; the edge by the strip is the one with the gap.
  const TPoint ring[] = {tl, tr, br, bl, tl};
  const int gapEdge = o == qel::toTop ? 0 : o == qel::toRight ? 1 : o == qel::toBottom ? 2 : 3;
  const TPoint from = ring[gapEdge], to = ring[gapEdge + 1];
  // a is the gap's end nearer the edge's start.
  auto distance = [&](TPoint p) { return std::abs(p.X - from.X) + std::abs(p.Y - from.Y); };
  if (distance(b) < distance(a)) std::swap(a, b);
  if (!ShowFullFrame()) {
    // Only the edge by the strip: on a top strip the card's own edge up
    // to a pixel past TR, elsewhere a pixel out on the strip side.
    const int dx = o == qel::toLeft ? -1 : o == qel::toRight ? 1 : 0, dy = o == qel::toBottom ? 1 : 0;
    const int pastX = to.X == from.X ? 0 : (to.X > from.X ? 1 : -1),
              pastY = to.Y == from.Y ? 0 : (to.Y > from.Y ? 1 : -1);
    Record(3, from.X + dx, from.Y + dy);
    Record(4, a.X + dx, a.Y + dy);
    Record(3, b.X + dx, b.Y + dy);
    Record(4, to.X + dx + pastX, to.Y + dy + pastY);
    return;
  }
  if (o == qel::toTop) {
    Record(3, tl.X, tl.Y);
    Record(4, a.X, a.Y);
    Record(3, b.X, b.Y);
    if (shadowed) {
      shadowRing({tl.X, tl.Y - 1});
      return;
    }
    Record(4, tr.X, tr.Y);
    Record(4, br.X, br.Y);
    Record(4, bl.X, bl.Y);
    Record(4, tl.X, tl.Y);
    return;
  }
  Record(3, tl.X, tl.Y);
  for (int edge = 0; edge < 4; ++edge) {
    if (edge == gapEdge) {
      Record(4, a.X, a.Y);
      Record(3, b.X, b.Y);
    }
    Record(4, ring[edge + 1].X, ring[edge + 1].Y);
  }
}

void TQelCustomTabControl::BuildCardShadow(const TRect& card) {
  // Two lines along the right and bottom edges, the inner one darker.
  Record(3, card.Right - 1, card.Top + 1);
  Record(5, card.Right - 1, card.Bottom - 1);
  Record(5, card.Left, card.Bottom - 1);
  Record(3, card.Right - 1, card.Top);
  Record(6, card.Right, card.Top);
  Record(6, card.Right, card.Bottom);
  Record(6, card.Left, card.Bottom);
  Record(6, card.Left, card.Bottom - 1);
}

void TQelCustomTabControl::RunOutlineCommands(qel::Canvas& c) {
  TColor outline = AdjustedFlatColor();
  // On a see-through buffer a shadow pixel is black with the weight as
  // its alpha, which Qt's compositing mixes with whatever lies beneath;
  // an opaque one mixes with the parent's image itself.
  const bool see = c.Image().hasAlphaChannel();
  std::optional<qel::Canvas> parent;
  const bool shadows =
      std::any_of(outline_.begin(), outline_.end(), [](const OutlineCommand& k) { return k.op == 5 || k.op == 6; });
  if (shadows && !see) {
    parent.emplace(width(), height());
    qel::PaintParentImage(this, *parent);
  }
  c.Pen = qel::CanvasPen{};
  for (const OutlineCommand& k : outline_) {
    switch (k.op) {
      case 0: c.Pen.Color = outline; break;
      case 2: outline = AdjustedFlatColor(); break;
      case 3: c.MoveTo(k.x, k.y); break;
      case 4: c.LineTo(k.x, k.y); break;
      case 5:
      case 6: {
        const int weight = k.op == 5 ? 30 : 15;
        const TPoint from = c.PenPos();
        const bool column = from.X == k.x;
        const int lo = column ? std::min(from.Y, k.y) : std::min(from.X, k.x);
        const int hi = column ? std::max(from.Y, k.y) : std::max(from.X, k.x);
        for (int v = lo; v <= hi; ++v) {
          const int x = column ? k.x : v, y = column ? v : from.Y;
          if (see)
            c.SetRawPixel(x, y, std::uint32_t(weight) << 24);
          else
            c.SetPixel(x, y, MixColors(clBlack, parent->Pixel(x, y), std::uint8_t(weight)));
        }
        c.MoveTo(k.x, k.y);
        break;
      }
      default: Q_ASSERT(false);
    }
  }
}

void TQelCustomTabControl::PaintDragMarks(qel::Canvas& c) const {
  const qel::TQelTabOrientation o = TabOrientation();
  using Triangle = std::vector<TPoint>;
  std::pair<Triangle, Triangle> shapes;
  switch (o) {
    case qel::toTop: shapes = {{{0, 0}, {8, 8}, {0, 8}}, {{7, 8}, {15, 0}, {15, 8}}}; break;
    case qel::toLeft: shapes = {{{1, 0}, {8, 0}, {8, 8}}, {{-1, 15}, {8, 7}, {8, 15}}}; break;
    case qel::toBottom: shapes = {{{-1, 8}, {-1, -1}, {8, -1}}, {{7, -1}, {15, 0}, {15, 8}}}; break;
    case qel::toRight: shapes = {{{0, 0}, {7, 0}, {0, 7}}, {{0, 7}, {8, 15}, {0, 15}}}; break;
  }
  for (const TRect& r : dragMarks_) {
    const int w = r.Width(), h = r.Height();
    if (w < 1 || h < 1) continue;
    // The shadow-coloured rest between two black triangles is an arrow.
    qel::Canvas mark(w, h);
    mark.FillRect({0, 0, w, h}, clBtnShadow);
    mark.Brush.Color = clBlack;
    mark.Polygon(shapes.first);
    mark.Polygon(shapes.second);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int cx = r.Left + x, cy = r.Top + y;
        if (cx < 0 || cy < 0 || cx >= c.Width() || cy >= c.Height()) continue;
        // Exclusive or over the colour; a see-through pixel becomes opaque.
        const std::uint32_t flipped = ((c.RawPixel(cx, cy) ^ mark.RawPixel(x, y)) & 0xFFFFFFu) | 0xFF000000u;
        c.SetRawPixel(cx, cy, flipped);
      }
  }
}

// --- Tab sheet ---

namespace {

std::out_of_range ListIndexError(int index) {
  return std::out_of_range(QStringLiteral("List index out of bounds (%1)").arg(index).toStdString());
}

}  // namespace

TQelTabSheet::TQelTabSheet(QWidget* parent) : QWidget(parent) {
  hide();
  // The fill covers everything.
  setAttribute(Qt::WA_OpaquePaintEvent);
  qel::SetAlign(this, qel::alClient);
  if (auto* pageControl = qobject_cast<TQelPageControl*>(parent)) SetPageControl(pageControl);
}

TQelTabSheet::~TQelTabSheet() {
  if (pageControl_) pageControl_->RemoveSheet(this);
}

void TQelTabSheet::SetPageControl(TQelPageControl* pageControl) {
  if (pageControl == pageControl_) return;
  if (pageControl_) pageControl_->RemoveSheet(this);
  setParent(pageControl);
  if (pageControl) pageControl->InsertSheet(this);
}

int TQelTabSheet::PageIndex() const {
  if (!pageControl_) return -1;
  const auto& list = pageControl_->sheets_;
  return int(std::find(list.begin(), list.end(), this) - list.begin());
}

void TQelTabSheet::SetPageIndex(int index) {
  if (!pageControl_) return;
  const int last = pageControl_->PageCount() - 1;
  if (index > last)
    throw std::out_of_range(QStringLiteral("%1 is an invalid PageIndex value. PageIndex must be between 0 and %2")
                                .arg(index)
                                .arg(last)
                                .toStdString());
  if (index < 0) throw ListIndexError(index);
  pageControl_->MoveSheet(this, index);
}

int TQelTabSheet::VisibleTabIndex() const {
  if (!tabVisible_ || !pageControl_) return -1;
  int tab = 0;
  for (const TQelTabSheet* s : pageControl_->sheets_) {
    if (s == this) return tab;
    if (s->tabVisible_) ++tab;
  }
  return -1;
}

void TQelTabSheet::Relayout() {
  if (pageControl_) pageControl_->RequestLayout();
}

template <class T>
void TQelTabSheet::Store(T& field, const T& value) {
  if (field == value) return;
  field = value;
  Relayout();
}

void TQelTabSheet::SetCaption(const QString& caption) { Store(caption_, caption); }

void TQelTabSheet::SetColor(TColor color) {
  if (color == color_) return;
  if (pageControl_ && !pageControl_->UseColoredTabs() && color != pageControl_->Color())
    pageControl_->SetUseColoredTabs(true);
  color_ = color;
  qel::NotifyChildrenOfColor(this, color);
  update();
  Relayout();
}

void TQelTabSheet::SetDisabledIndex(int index) { Store(disabledIndex_, index); }

void TQelTabSheet::SetImageIndex(int index) { Store(imageIndex_, index); }

void TQelTabSheet::SetTabEnabled(bool on) { Store(tabEnabled_, on); }

void TQelTabSheet::SetTabVisible(bool on) { Store(tabVisible_, on); }

void TQelTabSheet::SetVisible(bool) { throw std::logic_error("You cannot change the Visible property of a page"); }

void TQelTabSheet::CopySheetTo(TQelTabData& target) const {
  target.Caption = caption_;
  target.Color = color_;
  target.Enabled = tabEnabled_;
  target.Visible = tabVisible_;
  target.Hint = toolTip();
  target.ImageIndex = imageIndex_;
  target.DisabledIndex = disabledIndex_;
}

void TQelTabSheet::paintEvent(QPaintEvent*) {
  const TRect whole{0, 0, width(), height()};
  QPainter p(this);
  // A canvas only for a handler that may paint instead.
  if (isSignalConnected(QMetaMethod::fromSignal(&TQelTabSheet::PaintBackground))) {
    qel::Canvas canvas = qel::CanvasFor(this);
    bool handled = false;
    emit PaintBackground(canvas, whole, handled);
    if (!handled) canvas.FillRect(whole, color_);
    qel::ShowCanvas(p, canvas);
    return;
  }
  p.fillRect(rect(), QColor::fromRgb(ColorToQRgb(color_)));
}

// --- Page control ---

TQelPageControl::TQelPageControl(QWidget* parent) : TQelCustomTabControl(parent) {
  resize(width(), 150);
  auto walk = [this](const QKeySequence& keys, bool forward) {
    auto* shortcut = new QShortcut(keys, this);
    shortcut->setContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, forward] { SelectNextPage(forward); });
  };
  walk(QKeySequence(Qt::CTRL | Qt::Key_Tab), true);
  walk(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), false);
  walk(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), false);
}

TQelPageControl::~TQelPageControl() {
  // The sheets are deleted with the widget, no longer listed.
  for (TQelTabSheet* s : sheets_) s->pageControl_ = nullptr;
  sheets_.clear();
  activePage_ = nullptr;
}

TQelTabSheet* TQelPageControl::AddSheet(const QString& caption) {
  auto* sheet = new TQelTabSheet;
  sheet->SetCaption(caption);
  sheet->SetPageControl(this);
  return sheet;
}

TQelTabSheet* TQelPageControl::Page(int index) const {
  if (index < 0 || index >= PageCount()) throw ListIndexError(index);
  return sheets_[std::size_t(index)];
}

void TQelPageControl::InsertSheet(TQelTabSheet* sheet) {
  sheets_.push_back(sheet);
  sheet->pageControl_ = this;
  RequestLayout();
}

void TQelPageControl::RemoveSheet(TQelTabSheet* sheet) {
  if (sheet == activePage_) SetActivePage(nullptr);
  sheets_.erase(std::remove(sheets_.begin(), sheets_.end(), sheet), sheets_.end());
  RequestLayout();
  sheet->pageControl_ = nullptr;
}

void TQelPageControl::MoveSheet(TQelTabSheet* sheet, int index) {
  const auto from = std::find(sheets_.begin(), sheets_.end(), sheet);
  if (from == sheets_.end()) return;
  sheets_.erase(from);
  sheets_.insert(sheets_.begin() + index, sheet);
  RequestLayout();
}

void TQelPageControl::SetActivePage(TQelTabSheet* sheet) {
  if (sheet && sheet->pageControl_ != this) return;
  if (sheet) sheet->show();
  if (isLoading()) {
    activePage_ = sheet;
    return;
  }
  const int tab = sheet ? sheet->VisibleTabIndex() : -1;
  if (tab < 0) ChangeActivePage(sheet);
  SetTabIndex(tab);
  // A refused change leaves the page shown before as the only one.
  if (sheet && sheet != activePage_) sheet->hide();
}

int TQelPageControl::ActivePageIndex() const { return activePage_ ? activePage_->PageIndex() : -1; }

void TQelPageControl::SetActivePageIndex(int index) { SetActivePage(Page(index)); }

TQelTabSheet* TQelPageControl::SheetForTab(int index) const {
  int tab = 0;
  for (TQelTabSheet* s : sheets_)
    if (s->TabVisible() && tab++ == index) return s;
  return nullptr;
}

TQelTabSheet* TQelPageControl::FindNextPage(TQelTabSheet* current, bool forward, bool visibleTabsOnly) const {
  const int count = PageCount();
  if (count == 0) return nullptr;
  const auto at = std::find(sheets_.begin(), sheets_.end(), current);
  const int start = at != sheets_.end() ? int(at - sheets_.begin()) : forward ? count - 1 : 0;
  int i = start;
  do {
    i = forward ? (i + 1) % count : (i + count - 1) % count;
    TQelTabSheet* s = sheets_[std::size_t(i)];
    if (!visibleTabsOnly || s->TabVisible()) return s;
  } while (i != start);
  return nullptr;
}

void TQelPageControl::SelectNextPage(bool forward) {
  // Past disabled tabs and refused changes, once round at most.
  TQelTabSheet* const from = activePage_;
  TQelTabSheet* next = from;
  for (int i = 0; i < PageCount(); ++i) {
    next = FindNextPage(next, forward, true);
    if (!next || next == from) return;
    if (!next->TabEnabled()) continue;
    SetActivePage(next);
    if (activePage_ != from) return;
  }
}

void TQelPageControl::ShowControl(QWidget* control) {
  auto* sheet = qobject_cast<TQelTabSheet*>(control);
  if (sheet && sheet->pageControl_ == this) SetActivePage(sheet);
  for (QWidget* w = this; w && !w->isWindow(); w = w->parentWidget())
    if (auto* outer = qobject_cast<TQelPageControl*>(w->parentWidget())) {
      outer->ShowControl(w);
      return;
    }
}

namespace {

// The first widget inside container that Tab can reach, along the focus
// chain.
QWidget* FirstTabStop(QWidget* container) {
  QWidget* w = container->nextInFocusChain();
  for (int guard = 0; w && w != container && guard < 100000; w = w->nextInFocusChain(), ++guard)
    if (container->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && w->isVisibleTo(container))
      return w;
  return nullptr;
}

}  // namespace

void TQelPageControl::ChangeActivePage(TQelTabSheet* sheet) {
  if (sheet == activePage_) return;
  TQelTabSheet* old = activePage_;
  QWidget* focus = window()->focusWidget();
  // The focus on the page that goes moves before that page hides, so Qt
  // never picks a widget of its own.
  const bool handOver = old && focus && old->isAncestorOf(focus);
  QWidget* target = handOver ? this : nullptr;
  if (sheet) {
    sheet->raise();
    sheet->show();
    if (handOver && sheet->isEnabled())
      if (QWidget* first = FirstTabStop(sheet)) target = first;
  }
  if (target) target->setFocus(Qt::OtherFocusReason);
  if (old) old->hide();
  activePage_ = sheet;
}

void TQelPageControl::FireChanging(int index, bool& allow) {
  if (!loadingPages_) TQelCustomTabControl::FireChanging(index, allow);
  if (allow) ChangeActivePage(SheetForTab(index));
}

void TQelPageControl::FireChange() {
  if (!loadingPages_) TQelCustomTabControl::FireChange();
}

void TQelPageControl::RequestLayout() {
  TQelTabDataList& tabs = TabData();
  tabs.Clear();
  for (const TQelTabSheet* s : sheets_)
    if (s->TabVisible()) s->CopySheetTo(tabs.Add());
  if (activePage_) {
    const int tab = activePage_->VisibleTabIndex();
    if (tab != TabIndex()) SetTabIndex(tab);
  }
  TQelCustomTabControl::RequestLayout();
}

void TQelPageControl::FirePaintCardBackground(qel::Canvas& canvas, int row, bool& handled, const TRect& rect) {
  TQelCustomTabControl::FirePaintCardBackground(canvas, row, handled, rect);
  if (handled || row != 0 || TabIndex() < 0 || !activePage_) return;
  canvas.FillRect(rect, activePage_->Color());
  handled = true;
}

void TQelPageControl::CloseCurrentTab() {
  if (!activePage_) return;
  const int tab = TabIndex();
  delete activePage_;
  SetTabIndex(tab > 0 ? tab - 1 : tab);
}

void TQelPageControl::MoveCurrentTabTo(int tab) {
  // The drop names a tab; sheets without one count in PageIndex too.
  if (activePage_)
    if (TQelTabSheet* target = SheetForTab(tab)) activePage_->SetPageIndex(target->PageIndex());
}

void TQelPageControl::HideAllTabs() {
  for (TQelTabSheet* s : std::vector<TQelTabSheet*>(sheets_)) s->SetTabVisible(false);
}

void TQelPageControl::ShowAllTabs() {
  for (TQelTabSheet* s : std::vector<TQelTabSheet*>(sheets_)) s->SetTabVisible(true);
}

void TQelPageControl::SetUseColoredTabs(bool on) {
  TQelCustomTabControl::SetUseColoredTabs(on);
  if (parentWidget() && !UseColoredTabs()) ColorChanged();
}

void TQelPageControl::ColorChanged() {
  if (!UseColoredTabs())
    for (TQelTabSheet* s : std::vector<TQelTabSheet*>(sheets_)) s->SetColor(Color());
  TQelCustomTabControl::ColorChanged();
}

void TQelPageControl::AlignInsideBorders() {
  TQelCustomTabControl::AlignInsideBorders();
  // Hidden pages are placed where a shown one is, so each page is laid
  // out before it shows.
  QRect area = qel::ToQRect(CardClientRect());
  if (activePage_ && !activePage_->isHidden() && qel::AlignOf(activePage_) == qel::alClient)
    area = activePage_->geometry();
  for (TQelTabSheet* s : sheets_)
    if (s->isHidden() && qel::AlignOf(s) == qel::alClient) s->setGeometry(area);
}

void TQelPageControl::loaded() {
  TQelCustomTabControl::loaded();
  loadingPages_ = true;
  const auto restore = qScopeGuard([this] { loadingPages_ = false; });
  UpdateLayout();
  SetTabIndex(-1);
  TQelTabSheet* page =
      activePageDefault_ && activePageDefault_->PageControl() == this ? activePageDefault_.data() : activePage_;
  // Every page stored as active while loading was shown; one stays.
  for (TQelTabSheet* s : sheets_)
    if (s != page) s->hide();
  activePage_ = nullptr;
  RequestLayout();
  SetActivePage(page);
}
