#include "controls/qeltablayout.h"

#include <QPolygon>
#include <algorithm>
#include <cstdlib>
#include <optional>

namespace qel {

// --- Measuring ---

FontValue TabLayout::TabFont(bool bold) const {
  FontValue f;
  f.Font = settings_.Font;
  f.Font.setWeight(bold ? QFont::Bold : QFont::Normal);
  f.Color = clBtnText;
  if (VerticalText()) f.Escapement = settings_.TabOrientation == toRight ? 2700 : 900;
  return f;
}

QStringList TabLayout::SplitCaptionLines(const QString& caption) {
  QStringList lines = caption.split(QStringLiteral("\r\n"));
  // A closing line break starts no further line.
  if (lines.last().isEmpty()) lines.removeLast();
  return lines;
}

QString TabLayout::WithoutAccelerator(const QString& line) {
  const qsizetype at = line.indexOf(QLatin1Char('&'));
  if (at < 0 || at == line.size() - 1) return line;
  QString shown = line;
  shown.remove(at, 1);
  return shown;
}

TPoint TabLayout::MeasureText(const QString& caption, bool bold) const {
  const FontValue font = TabFont(bold);
  TPoint size;
  for (const QString& line : SplitCaptionLines(caption)) {
    const TPoint e = Engine().Extent(font, WithoutAccelerator(line));
    if (VerticalText()) {
      // Each line's extent turned: lines stand side by side.
      size.X += e.Y;
      size.Y = std::max(size.Y, e.X);
    } else {
      size.X = std::max(size.X, e.X);
      size.Y += e.Y;
    }
  }
  return size;
}

TPoint TabLayout::MinimumContent() const {
  const FontValue font = TabFont(settings_.BoldCurrentTab);
  const QString sample = settings_.TabStyle == tsRoundCorners ? QStringLiteral("AAA") : QStringLiteral("A");
  const int along = Engine().Extent(font, sample).X;
  const int pixels = Engine().PixelSize(font);
  return VerticalText() ? TPoint{pixels, along} : TPoint{along, pixels};
}

TPoint TabLayout::TabContentSize(int index) const {
  if (!ValidIndex(index)) return {};
  const TQelTabData& tab = tabs_.Items(index);
  if (!tab.Visible) return {};
  const TPoint text = MeasureText(tab.Caption, settings_.BoldCurrentTab);
  // As drawn: the margin belongs to a tab that has an image.
  const bool hasImage = tab.ImageIndex != -1;
  const TPoint image = hasImage ? TPoint{settings_.ImageWidth, settings_.ImageHeight} : TPoint{};
  const int margin = hasImage ? settings_.ImageMargin : 0;
  TPoint size;
  switch (settings_.ImagePosition) {
    case ipLeft:
    case ipRight: size = {margin + image.X + text.X, std::max(image.Y, text.Y)}; break;
    case ipTop:
    case ipBottom: size = {std::max(image.X, text.X), margin + image.Y + text.Y}; break;
    case ipBack: size = {std::max(image.X, text.X), std::max(image.Y, text.Y)}; break;
    case ipStretch: size = text; break;
  }
  const TPoint least = MinimumContent();
  if (settings_.TabWidth == 0) size.X = std::max(size.X, least.X);
  if (settings_.TabHeight == 0) size.Y = std::max(size.Y, least.Y);
  return size;
}

int TabLayout::SlantOffset(TQelTabStyle style, int depth) {
  switch (style) {
    case tsSingleSlant: return depth / 2;
    case tsDoubleSlant: return depth;
    default: return -1;
  }
}

TPoint TabLayout::TabSizeForContent(TPoint content) const {
  const int cw = content.X, ch = content.Y;
  const int th = settings_.TabHeight, cut = settings_.CutCornerSize;
  const bool across = Horizontal();
  switch (settings_.TabStyle) {
    case tsSingleSlant:
      if (across) return {2 * SlantOffset(ch + 6) + cw + 2 + th / 2 + 4, ch + 6};
      return {cw + 6, ch + 2 + 2 * SlantOffset(cw + 6) + th / 2 + 4};
    case tsDoubleSlant:
      if (across) return {2 * SlantOffset(ch + 2) + cw + 2 + th + 4, ch + 6};
      return {cw + 6, ch + 2 + 2 * SlantOffset(cw + 2) + th + 4};
    case tsCutCorner:
      if (!VerticalText()) return across ? TPoint{2 * cut + cw + 8, ch + 7} : TPoint{cw + 2 + cut + 5, ch + 10};
      return across ? TPoint{cw + 10, ch + 2 + cut + 5} : TPoint{cw + 7, ch + 2 + 2 * cut + 6};
    case tsRoundCorners: return VerticalText() ? TPoint{cw + 6, ch + 16} : TPoint{cw + 16, ch + 6};
  }
  return {};
}

TPoint TabLayout::TabSize(int index) const {
  TPoint content = TabContentSize(index);
  // Every tab of a strip is as deep as the deepest.
  if (Horizontal())
    content.Y = std::max(content.Y, largestContent_.Y);
  else
    content.X = std::max(content.X, largestContent_.X);
  TPoint size = TabSizeForContent(content);
  if (settings_.TabWidth > 0) size.X = settings_.TabWidth;
  if (settings_.TabHeight > 0) size.Y = settings_.TabHeight;
  return size;
}

int TabLayout::FirstVisibleTab() const {
  for (int i = 0; i < tabs_.Count(); ++i)
    if (tabs_.Items(i).Visible) return i;
  return -1;
}

int TabLayout::LastVisibleTab() const {
  for (int i = tabs_.Count() - 1; i >= 0; --i)
    if (tabs_.Items(i).Visible) return i;
  return -1;
}

// --- Layout ---

void TabLayout::FindFixedDimension() {
  const TPoint least = MinimumContent();
  TPoint largest;
  for (int i = 0; i < tabs_.Count(); ++i) {
    if (!tabs_.Items(i).Visible) continue;
    TPoint content = TabContentSize(i);
    content.X = std::max(content.X, least.X);
    content.Y = std::max(content.Y, least.Y);
    const TPoint size = TabSizeForContent(content);
    largest.X = std::max(largest.X, size.X);
    largest.Y = std::max(largest.Y, size.Y);
  }
  if (settings_.TabWidth > 0) largest.X = settings_.TabWidth;
  if (settings_.TabHeight > 0) largest.Y = settings_.TabHeight;
  fixedDimension_ = Horizontal() ? largest.Y : largest.X;
}

int TabLayout::AvailableLength(int rows) const {
  int length = TabStripLength() - 2 * settings_.Margin;
  if (settings_.MultiLine) return length - (rows - 1) * settings_.RowIndent;
  if (settings_.ShowCloseButton) length -= CloseButtonSize() + 2;
  return length - (2 * ScrollerButtonSize() + 2);
}

int TabLayout::AvailableLength() const { return AvailableLength(rowCount_); }

int TabLayout::ClampedLength(int index, int available) const {
  const int limit = available - (settings_.TabStyle == tsRoundCorners ? 4 : 0);
  return std::min(LengthAlong(TabSize(index)), limit);
}

// Rows needed: a pass over the tabs with j rows allowed; a tab that fits no
// row left restarts the pass with one row more (each row shorter by the
// indent). The row count being tried is the one tab lengths are clamped
// by, so the result does not depend on an earlier layout. A tab too long
// for an empty row stands alone in it; j stays bounded because each tab
// moves on by at most two rows.
int TabLayout::CountRows() {
  const int margin = settings_.Margin;
  const int step = SlantOffset(fixedDimension_);
  const int last = LastVisibleTab();
  int room = TabStripLength() - 2 * margin;
  int x = margin, allowed = 1, row = 1;
  int i = 0;
  while (i < tabs_.Count()) {
    if (!tabs_.Items(i).Visible) {
      ++i;
      continue;
    }
    const int length = ClampedLength(i, AvailableLength(allowed));
    if (x + length < room) {
      x += length - step + 1;
      ++i;
    } else if (row < allowed) {
      ++row;
      if (x == margin) ++i;  // alone in the row it did not fit
      x = margin;
    } else if (x > margin || (x == margin && i < last)) {
      ++allowed;
      row = 1;
      room -= settings_.RowIndent;
      x = margin;
      i = 0;
    } else {
      ++i;
      x = margin;
    }
  }
  return row;
}

void TabLayout::PlaceTabs() {
  const int depth = fixedDimension_;
  const int step = SlantOffset(depth);
  const int available = AvailableLength();
  const bool reverse = settings_.TabSequence == tsReverse;
  const int start = reverse ? -settings_.Margin : settings_.Margin;
  int band = TabStripDepth() - depth;
  int row = 0;
  int x = start;
  auto nextRow = [&] {
    band -= depth - settings_.RowOverlap;
    ++row;
    x = start;
  };
  for (int i = 0; i < tabs_.Count(); ++i) {
    TQelTabData& tab = tabs_.Items(i);
    if (!tab.Visible) continue;
    const int length = ClampedLength(i, available);
    const bool full = settings_.MultiLine && (reverse ? x - length <= -available : x + length >= available);
    if (full && x != start) {
      nextRow();
      --i;  // tried again in the new row
      continue;
    }
    tab.Row = row;
    if (reverse) {
      tab.TabRect = {x - length, band, x, band + depth};
      x = x - length + step - 1;
    } else {
      tab.TabRect = {x, band, x + length, band + depth};
      x += length - step + 1;
    }
    if (full) nextRow();  // too long for any row: it stands alone
  }
  if (reverse) {
    const int shift = settings_.MultiLine ? width_ : std::abs(x);
    for (int i = 0; i < tabs_.Count(); ++i) {
      TQelTabData& tab = tabs_.Items(i);
      if (!tab.Visible) continue;
      tab.TabRect.Left += shift;
      tab.TabRect.Right += shift;
    }
  }
}

// Each row's spare length shared out over its tabs: spare div n each, the
// first spare mod n one pixel more.
void TabLayout::AlignRows() {
  const bool reverse = settings_.TabSequence == tsReverse;
  const int length = TabStripLength() - 2 * settings_.Margin - (rowCount_ - 1) * settings_.RowIndent -
                     (settings_.TabStyle == tsRoundCorners ? 4 : 0);
  std::vector<int> run;
  auto alignRun = [&] {
    if (run.empty()) return;
    const TRect& first = tabs_.Items(run.front()).TabRect;
    const TRect& last = tabs_.Items(run.back()).TabRect;
    const int used = reverse ? first.Right - last.Left : last.Right - first.Left;
    const int spare = length - used;
    if (spare >= 1) {
      const int n = int(run.size());
      int moved = 0;
      for (int k = 0; k < n; ++k) {
        const int grow = spare / n + (k < spare % n ? 1 : 0);
        TRect& r = tabs_.Items(run[std::size_t(k)]).TabRect;
        if (reverse) {
          r.Right -= moved;
          r.Left -= moved + grow;
        } else {
          r.Left += moved;
          r.Right += moved + grow;
        }
        moved += grow;
      }
    }
    run.clear();
  };
  for (int i = 0; i < tabs_.Count(); ++i) {
    const TQelTabData& tab = tabs_.Items(i);
    if (!tab.Visible) continue;
    if (!run.empty() && tabs_.Items(run.back()).Row != tab.Row) alignRun();
    run.push_back(i);
  }
  alignRun();
}

void TabLayout::LayoutTabs() {
  largestContent_ = {};
  for (int i = 0; i < tabs_.Count(); ++i) {
    const TPoint content = TabContentSize(i);
    largestContent_.X = std::max(largestContent_.X, content.X);
    largestContent_.Y = std::max(largestContent_.Y, content.Y);
  }
  FindFixedDimension();
  rowCount_ = settings_.MultiLine ? CountRows() : 1;
  PlaceTabs();
  const bool lengthFixed = Horizontal() ? settings_.TabWidth != 0 : settings_.TabHeight != 0;
  if (settings_.AlignTabs && settings_.MultiLine && !lengthFixed) AlignRows();
  regionCache_.Clear();
}

void TabLayout::UpdateLayout() {
  LayoutTabs();
  const int first = FirstVisibleTab();
  const int count = tabs_.Count();
  scrollNeeded_ = false;
  if (!settings_.MultiLine && first >= 0) {
    const int room = TabStripLength() - 2 * settings_.Margin - CloseButtonSize();
    const int end = settings_.TabSequence == tsReverse ? first : LastVisibleTab();
    scrollNeeded_ = room < tabs_.Items(end).TabRect.Right;
  }
  if (!scrollNeeded_) {
    firstShownTab_ = first;
    return;
  }
  // The first tab that shows whole when the strip starts at it: from the
  // old start forwards, else backwards. A list shrunk since the old start
  // was chosen starts from its last tab.
  const int old = std::min(firstShownTab_, count - 1);
  for (int i = std::max(old, 0); i < count; ++i) {
    firstShownTab_ = i;
    if (IsTabShown(i)) return;
  }
  for (int i = old - 1; i >= 0; --i) {
    firstShownTab_ = i;
    if (IsTabShown(i)) return;
  }
  firstShownTab_ = first;
}

void TabLayout::BringRowToFront() {
  if (!settings_.MultiLine || !ValidIndex(tabIndex_) || !tabs_.Items(tabIndex_).Visible) return;
  int last = 0;
  for (int i = 0; i < tabs_.Count(); ++i)
    if (tabs_.Items(i).Visible) last = std::max(last, tabs_.Items(i).Row);
  // Each row's band, from its first tab.
  std::vector<std::optional<TRect>> bands(std::size_t(last) + 1);
  for (int i = 0; i < tabs_.Count(); ++i) {
    const TQelTabData& tab = tabs_.Items(i);
    if (tab.Visible && tab.Row >= 0 && !bands[std::size_t(tab.Row)]) bands[std::size_t(tab.Row)] = tab.TabRect;
  }
  const int current = tabs_.Items(tabIndex_).Row;
  for (int i = 0; i < tabs_.Count(); ++i) {
    TQelTabData& tab = tabs_.Items(i);
    if (!tab.Visible) continue;
    tab.Row = (tab.Row + last - current + 1) % (last + 1);
    if (const auto& band = bands[std::size_t(tab.Row)]) {
      tab.TabRect.Top = band->Top;
      tab.TabRect.Bottom = band->Bottom;
    }
  }
}

// --- Strip and cards ---

int TabLayout::TabStripDepth() const {
  const bool round = settings_.TabStyle == tsRoundCorners;
  if (settings_.CardVisible)
    return (round ? 3 : 0) + fixedDimension_ + (fixedDimension_ - settings_.RowOverlap) * (rowCount_ - 1);
  const bool far = settings_.TabOrientation == toBottom || settings_.TabOrientation == toRight;
  return (Horizontal() ? height_ - 1 : width_ - 1) - (round && far ? 1 : 0);
}

TRect TabLayout::TabStripRect() const {
  const int d = TabStripDepth(), w = width_, h = height_;
  switch (settings_.TabOrientation) {
    case toTop: return {0, 0, w - 1 - (settings_.ShowShadow ? 2 : 0), d};
    case toLeft: return {0, 0, d, h - 1};
    case toBottom: return {0, h - 1 - d, w - 1, h - 1};
    case toRight: return {w - 1 - d, 0, w - 1, h - 1};
  }
  return {};
}

int TabLayout::TabStripLength() const {
  const TRect r = TabStripRect();
  return Horizontal() ? r.Right - r.Left : r.Bottom - r.Top;
}

TRect TabLayout::CardRect(int row) const {
  const int w = width_, h = height_;
  const TRect whole{0, 0, w - 1, h - 1};
  if (tabs_.Count() == 0 && settings_.CardVisible) return whole;
  const int i = row * settings_.RowIndent;
  const int k = row * (fixedDimension_ - settings_.RowOverlap);
  const int d = TabStripDepth() - k;
  const int j = settings_.RowIndent * (rowCount_ - row - 1);
  const bool reverse = settings_.TabSequence == tsReverse;
  // The start of the strip is indented by i, its end by j.
  const int s = reverse ? j : i, e = reverse ? i : j;
  TRect r;
  switch (settings_.TabOrientation) {
    case toTop: r = {s, d, w - 1 - e, h - 1 - k}; break;
    case toLeft: r = {d, e, w - 1 - k, h - 1 - s}; break;
    case toBottom: r = {s, k, w - 1 - e, h - 1 - d}; break;
    case toRight: r = {k, s, w - 1 - d, h - 1 - e}; break;
  }
  if (r.Right < r.Left || r.Bottom < r.Top) return {};
  if (!settings_.CardVisible) {
    // Pushed out of sight past the three edges away from the strip.
    switch (settings_.TabOrientation) {
      case toTop: r = {r.Left - 3, r.Top, r.Right + 3, r.Bottom + 3}; break;
      case toLeft: r = {r.Left, r.Top - 3, r.Right + 3, r.Bottom + 3}; break;
      case toBottom: r = {r.Left - 3, r.Top - 3, r.Right + 3, r.Bottom}; break;
      case toRight: r = {r.Left - 3, r.Top - 3, r.Right, r.Bottom + 3}; break;
    }
  }
  return r;
}

TRect TabLayout::CardClientRect() const {
  if (!settings_.CardVisible) return {-2, -2, -1, -1};
  TRect r = CardRect(0);
  if (!settings_.ShowCardFrame) {
    ++r.Right;
    ++r.Bottom;
  }
  if (settings_.ShowFullFrame) {
    ++r.Left;
    ++r.Top;
    if (settings_.TabOrientation == toTop && settings_.TabSequence == tsStandard && settings_.ShowShadow) {
      r.Right -= 2;
      r.Bottom -= 2;
    }
  }
  if (settings_.ShowCardFrame && !settings_.ShowFullFrame) {
    if (settings_.TabOrientation != toRight) ++r.Top;
    ++r.Right;
    ++r.Bottom;
  }
  return r;
}

// --- Scrolling ---

int TabLayout::ScrollOffset() const {
  // Before the next layout the list may have shrunk below the first shown
  // tab: nothing to measure from.
  if (!ValidIndex(firstShownTab_)) return 0;
  const TRect& r = tabs_.Items(firstShownTab_).TabRect;
  const int inset = settings_.Margin + (settings_.TabStyle == tsRoundCorners ? 2 : 0);
  return settings_.TabSequence == tsReverse ? r.Right + inset : r.Left - inset;
}

bool TabLayout::IsTabShown(int index) const {
  if (!ValidIndex(index) || !tabs_.Items(index).Visible) return false;
  if (!scrollNeeded_) return true;
  if (!ValidIndex(firstShownTab_)) return false;
  const int s = ScrollOffset();
  const int room = TabStripLength() - 2 * ScrollerButtonSize() - 2 * settings_.Margin - CloseButtonSize();
  const TRect& r = tabs_.Items(index).TabRect;
  if (settings_.TabSequence == tsReverse) return r.Right <= s && s - r.Left <= room;
  return r.Left >= s && r.Right - s <= room;
}

int TabLayout::ScrollerButtonSize() const {
  const int size = Engine().Extent(TabFont(false), QStringLiteral("A")).Y + (VerticalText() ? 2 : 4);
  // Kept within the row unless a fixed depth was asked for.
  const bool within =
      Horizontal() ? VerticalText() || settings_.TabHeight < 1 : !VerticalText() || settings_.TabWidth < 1;
  return within ? std::min(size, fixedDimension_ - 2) : std::max(size, fixedDimension_ - 2);
}

int TabLayout::CloseButtonSize() const {
  return settings_.ShowCloseButton && tabs_.Count() > 0 ? ScrollerButtonSize() : 0;
}

TOrientation TabLayout::ScrollerOrientation() const { return Horizontal() ? orHorizontal : orVertical; }

TRect TabLayout::ScrollerRect() const {
  const TRect r = TabStripRect();
  const int a = ScrollerButtonSize();
  const int w = Horizontal() ? 2 * a - 1 : a, h = Horizontal() ? a : 2 * a - 1;
  const int c = CloseButtonSize(), m = settings_.Margin;
  const bool close = settings_.ShowCloseButton;
  // Room left for the close button and the margin at the strip's far end.
  const int room = close ? c + m + 2 : m;
  TPoint at;
  if (settings_.TabSequence == tsStandard) {
    switch (settings_.TabOrientation) {
      case toTop: at = {r.Right - w + (settings_.ShowShadow ? -1 : 1) - room, r.Bottom - h - 2}; break;
      case toLeft: at = {r.Right - w - 2, r.Top + room}; break;
      case toBottom: at = {close ? r.Right - w - c - m - 1 : r.Right - w - m + 1, r.Top + 2}; break;
      case toRight: at = {r.Left + 2, r.Bottom - h + 1 - room}; break;
    }
  } else {
    switch (settings_.TabOrientation) {
      case toTop: at = {r.Left + room, r.Bottom - h - 2}; break;
      case toLeft: at = {r.Right - w - 2, r.Bottom - h + 1 - room}; break;
      case toBottom: at = {r.Left + room, r.Top + 2}; break;
      case toRight: at = {r.Left + 2, r.Top + room}; break;
    }
  }
  return {at.X, at.Y, at.X + w, at.Y + h};
}

TRect TabLayout::CloseButtonRect() const {
  const TRect r = TabStripRect();
  const int c = CloseButtonSize(), m = settings_.Margin;
  TPoint at;
  if (settings_.TabSequence == tsStandard) {
    switch (settings_.TabOrientation) {
      case toTop: at = {r.Right - c - m - 1 + (settings_.ShowShadow ? 0 : 2), r.Bottom - c - 2}; break;
      case toLeft: at = {r.Right - c - 2, r.Top + m}; break;
      case toBottom: at = {r.Right - c - m + 1, r.Top + 2}; break;
      case toRight: at = {r.Left + 2, r.Bottom - c - m + 1}; break;
    }
  } else {
    switch (settings_.TabOrientation) {
      case toTop: at = {r.Left + m, r.Bottom - c - 2}; break;
      case toLeft: at = {r.Right - c - 2, r.Bottom - c - m + 1}; break;
      case toBottom: at = {r.Left + m, r.Top + 2}; break;
      case toRight: at = {r.Left + 2, r.Top + m}; break;
    }
  }
  return {at.X, at.Y, at.X + c, at.Y + c};
}

bool TabLayout::CanScrollBackward() const { return ValidIndex(firstShownTab_) && firstShownTab_ > 0; }

bool TabLayout::CanScrollForward() const {
  const int last = LastVisibleTab();
  return last >= 0 && !IsTabShown(last);
}

// --- Tabs on the client ---

TPoint TabLayout::LogicalToClient(TPoint p) const {
  const int s = ScrollOffset();
  const TRect r = TabStripRect();
  const bool reverse = settings_.TabSequence == tsReverse;
  switch (settings_.TabOrientation) {
    case toTop: return {p.X - s + (reverse ? r.Right : r.Left), p.Y + r.Top};
    case toLeft: return {p.Y + r.Left, (reverse ? r.Top : r.Bottom) + s - p.X};
    case toBottom: return {p.X - s + (reverse ? r.Right : r.Left), r.Bottom - p.Y};
    case toRight: return {r.Right - p.Y, reverse ? r.Bottom + p.X - s : p.X - s + r.Top};
  }
  return p;
}

TRect TabLayout::TabLogicalRect(int index) const {
  if (!ValidIndex(index)) return {};
  const TQelTabData& tab = tabs_.Items(index);
  TRect r = tab.TabRect;
  if (tab.Row > 0) {
    const int shift = tab.Row * settings_.RowIndent * (settings_.TabSequence == tsReverse ? -1 : 1);
    r.Left += shift;
    r.Right += shift;
  }
  if (settings_.TabStyle == tsRoundCorners && index == tabIndex_) r = {r.Left - 2, r.Top - 2, r.Right + 2, r.Bottom};
  return r;
}

TRect TabLayout::TabClientRect(int index) const {
  if (!ValidIndex(index)) return {};
  const TRect r = TabLogicalRect(index);
  const TPoint a = LogicalToClient({r.Left, r.Top}), b = LogicalToClient({r.Right, r.Bottom});
  return {std::min(a.X, b.X), std::min(a.Y, b.Y), std::max(a.X, b.X), std::max(a.Y, b.Y)};
}

std::vector<TPoint> TabLayout::TabOutlinePoints(int index) const {
  if (!ValidIndex(index)) return {};
  const TRect r = TabLogicalRect(index);
  const int l = r.Left, t = r.Top, rt = r.Right, b = r.Bottom, h = b - t;
  const int cut = settings_.CutCornerSize;
  switch (settings_.TabStyle) {
    case tsSingleSlant: return {{l, b}, {l, t + 2}, {l + 2, t}, {rt - h, t}, {rt, b}};
    case tsDoubleSlant: return {{l, b}, {l + h, t}, {rt - h, t}, {rt, b}};
    case tsCutCorner: return {{l, b}, {l, t}, {rt - cut, t}, {rt, t + cut}, {rt, b}};
    case tsRoundCorners: return {{l, b}, {l, t + 2}, {l + 2, t}, {rt - 2, t}, {rt, t + 2}, {rt, b}};
  }
  return {};
}

std::vector<TPoint> TabLayout::TabClientOutline(int index) const {
  std::vector<TPoint> points = TabOutlinePoints(index);
  for (TPoint& p : points) p = LogicalToClient(p);
  return points;
}

QRegion TabLayout::TabRegion(int index) const {
  if (!ValidIndex(index)) return {};
  const TRect key = TabClientRect(index);
  if (std::optional<QRegion> held = regionCache_.FindRegion(key)) return *held;
  const std::vector<TPoint> points = TabClientOutline(index);
  if (points.size() < 3) return {};
  QPolygon polygon;
  for (const TPoint& p : points) polygon << QPoint(p.X, p.Y);
  const QRegion region(polygon, Qt::OddEvenFill);
  regionCache_.StoreRegion(key, region);
  return region;
}

int TabLayout::TabIndexAtPoint(TPoint p) const {
  const int count = tabs_.Count();
  // A start past the end belongs to a longer list than this one.
  if (count == 0 || !ValidIndex(firstShownTab_)) return -1;
  auto hit = [&](int i) {
    if (!IsTabShown(i)) return false;
    const TRect r = TabClientRect(i);
    if (p.X < r.Left || p.X >= r.Right || p.Y < r.Top || p.Y >= r.Bottom) return false;
    return TabRegion(i).contains(QPoint(p.X, p.Y));
  };
  // The current tab lies on top of its neighbours.
  if (ValidIndex(tabIndex_) && hit(tabIndex_)) return tabIndex_;
  for (int k = 0; k < count; ++k) {
    const int i = (firstShownTab_ + k) % count;
    if (i != tabIndex_ && hit(i)) return i;
  }
  return -1;
}

void TabLayout::SetRegionCacheCapacity(int capacity) {
  if (capacity == -1 || capacity > 0) regionCache_.SetCapacity(capacity);
}

}  // namespace qel
