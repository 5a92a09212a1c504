#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>

#include "controls/qeltabdata.h"
#include "controls/qeltablayout.h"
#include "tests/controls/events.h"

namespace {

using qel::TRect;

// A tab control as the tab parts see it.
struct FakeOwner : TQelTabOwner {
  void InvalidateTabs() override { ++invalidations; }
  qel::TQelTabOrientation TabOrientation() const override { return orientation; }
  qel::TQelTabSequence TabSequence() const override { return sequence; }
  bool CanScrollBackward() const override { return backward; }
  bool CanScrollForward() const override { return forward; }
  int TabIndex() const override { return tabIndex; }

  int invalidations = 0;
  qel::TQelTabOrientation orientation = qel::toTop;
  qel::TQelTabSequence sequence = qel::tsStandard;
  bool backward = true, forward = true;
  int tabIndex = 0;
};

// --- Tab data ---

TEST(TabData, AssignCopiesTheDescriptionNotTheLayout) {
  TQelTabData source;
  source.Caption = QStringLiteral("&Delay");
  source.Color = clYellow;
  source.DisabledIndex = 3;
  source.Enabled = false;
  source.Hint = QStringLiteral("hint");
  source.ImageIndex = 2;
  source.Visible = false;
  source.TabRect = {1, 2, 3, 4};
  source.Row = 2;
  TQelTabData copy;
  copy.TabRect = {5, 6, 7, 8};
  copy.Row = 1;
  copy.Assign(source);
  EXPECT_EQ(copy.Caption, source.Caption);
  EXPECT_EQ(copy.Color, clYellow);
  EXPECT_EQ(copy.DisabledIndex, 3);
  EXPECT_FALSE(copy.Enabled);
  EXPECT_EQ(copy.Hint, source.Hint);
  EXPECT_EQ(copy.ImageIndex, 2);
  EXPECT_FALSE(copy.Visible);
  EXPECT_EQ(copy.TabRect, (TRect{5, 6, 7, 8}));
  EXPECT_EQ(copy.Row, 1);
}

TEST(TabData, CopiedListsAreIndependent) {
  TQelTabDataList source;
  for (const char* caption : {"IR", "TCP/IP", "LED"}) source.Add().Caption = QString::fromLatin1(caption);
  TQelTabDataList assigned;
  assigned.Add().Caption = QStringLiteral("old");
  assigned.Assign(source);
  TQelTabDataList copied(source);
  for (TQelTabDataList* copy : {&assigned, &copied}) {
    ASSERT_EQ(copy->Count(), 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(copy->Items(i).Caption, source.Items(i).Caption);
      EXPECT_NE(&copy->Items(i), &source.Items(i));
    }
    copy->Items(0).Caption = QStringLiteral("changed");
    copy->Items(1).Visible = false;
  }
  EXPECT_EQ(source.Items(0).Caption, QStringLiteral("IR"));
  EXPECT_TRUE(source.Items(1).Visible);
  // Changing the source later leaves the copies alone too.
  source.Items(2).Caption = QStringLiteral("x");
  EXPECT_EQ(copied.Items(2).Caption, QStringLiteral("LED"));
  // A list assigned to itself keeps its items.
  TQelTabDataList& self = source;
  source.Assign(self);
  EXPECT_EQ(source.Count(), 3);
}

TEST(TabData, WriteItemReplacesTheItem) {
  TQelTabDataList list;
  list.Add().Caption = QStringLiteral("a");
  list.Add().Caption = QStringLiteral("b");
  auto item = std::make_unique<TQelTabData>();
  item->Caption = QStringLiteral("new");
  TQelTabData* given = item.get();
  list.WriteItem(1, std::move(item));
  EXPECT_EQ(&list.Items(1), given);
  EXPECT_EQ(list.Items(1).Caption, QStringLiteral("new"));
  EXPECT_THROW(list.WriteItem(2, nullptr), std::out_of_range);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

// --- Colour sets ---

TEST(TabColors, DefaultsAndWritersRepaintOncePerChange) {
  FakeOwner owner;
  TQelTabColors tab(&owner);
  TQelTextColors text(&owner);
  struct Case {
    const char* name;
    TColor initial;
    std::function<TColor()> read;
    std::function<void(TColor)> write;
  };
  const Case cases[] = {
      {"HighlightBar", clHighlight, [&] { return tab.HighlightBar(); }, [&](TColor c) { tab.SetHighlightBar(c); }},
      {"Shadow", clBtnFace, [&] { return tab.Shadow(); }, [&](TColor c) { tab.SetShadow(c); }},
      {"Unselected", clWindow, [&] { return tab.Unselected(); }, [&](TColor c) { tab.SetUnselected(c); }},
      {"DisabledHighlight", clBtnHighlight, [&] { return text.DisabledHighlight(); },
       [&](TColor c) { text.SetDisabledHighlight(c); }},
      {"DisabledShadow", clBtnShadow, [&] { return text.DisabledShadow(); },
       [&](TColor c) { text.SetDisabledShadow(c); }},
      {"Selected", clBtnText, [&] { return text.Selected(); }, [&](TColor c) { text.SetSelected(c); }},
      {"text Unselected", clBtnText, [&] { return text.Unselected(); }, [&](TColor c) { text.SetUnselected(c); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    owner.invalidations = 0;
    EXPECT_EQ(c.read(), c.initial);
    c.write(c.initial);
    EXPECT_EQ(owner.invalidations, 0);
    c.write(clRed);
    EXPECT_EQ(c.read(), clRed);
    EXPECT_EQ(owner.invalidations, 1);
    c.write(clRed);
    EXPECT_EQ(owner.invalidations, 1);
    c.write(clBlue);
    EXPECT_EQ(owner.invalidations, 2);
  }
}

TEST(TabColors, AssignCopiesEveryColour) {
  FakeOwner owner;
  TQelTabColors tab(&owner), tabSource;
  tabSource.SetHighlightBar(clRed);
  tabSource.SetShadow(clGreen);
  tabSource.SetUnselected(clBlue);
  tab.Assign(tabSource);
  EXPECT_EQ(tab.HighlightBar(), clRed);
  EXPECT_EQ(tab.Shadow(), clGreen);
  EXPECT_EQ(tab.Unselected(), clBlue);
  EXPECT_EQ(owner.invalidations, 1);
  tab.Assign(tabSource);
  EXPECT_EQ(owner.invalidations, 1);

  TQelTextColors text(&owner), textSource;
  textSource.SetDisabledHighlight(clRed);
  textSource.SetDisabledShadow(clGreen);
  textSource.SetSelected(clBlue);
  textSource.SetUnselected(clYellow);
  text.Assign(textSource);
  EXPECT_EQ(text.DisabledHighlight(), clRed);
  EXPECT_EQ(text.DisabledShadow(), clGreen);
  EXPECT_EQ(text.Selected(), clBlue);
  EXPECT_EQ(text.Unselected(), clYellow);
  EXPECT_EQ(owner.invalidations, 2);
}

// --- Region cache ---

const TRect kA{0, 0, 10, 10}, kB{10, 0, 20, 10}, kC{20, 0, 30, 10};
QRegion RegionOf(const TRect& r) { return QRegion(r.Left, r.Top, r.Width(), r.Height()); }

TEST(RegionCache, CapacityOneKeepsTheNewest) {
  TQelTabRegionCache cache;
  EXPECT_EQ(cache.Capacity(), 1);
  EXPECT_FALSE(cache.FindRegion(kA));
  cache.StoreRegion(kA, RegionOf(kA));
  ASSERT_TRUE(cache.FindRegion(kA));
  EXPECT_EQ(*cache.FindRegion(kA), RegionOf(kA));
  cache.StoreRegion(kB, RegionOf(kB));
  EXPECT_FALSE(cache.FindRegion(kA));
  EXPECT_EQ(*cache.FindRegion(kB), RegionOf(kB));
  EXPECT_EQ(cache.Count(), 1);
}

TEST(RegionCache, UnboundedUntilClearAndShrinkDropsTheOldest) {
  TQelTabRegionCache cache;
  cache.SetCapacity(-1);
  for (const TRect& r : {kA, kB, kC}) cache.StoreRegion(r, RegionOf(r));
  EXPECT_EQ(cache.Rects(), (std::vector<TRect>{kC, kB, kA}));
  // Lookups leave the order; storing a held rectangle moves it to the
  // front and keeps the region it had.
  ASSERT_TRUE(cache.FindRegion(kA));
  EXPECT_EQ(cache.Rects(), (std::vector<TRect>{kC, kB, kA}));
  cache.StoreRegion(kA, RegionOf(kC));
  EXPECT_EQ(cache.Rects(), (std::vector<TRect>{kA, kC, kB}));
  EXPECT_EQ(*cache.FindRegion(kA), RegionOf(kA));
  cache.SetCapacity(2);
  EXPECT_EQ(cache.Rects(), (std::vector<TRect>{kA, kC}));
  cache.StoreRegion(kB, RegionOf(kB));
  EXPECT_EQ(cache.Rects(), (std::vector<TRect>{kB, kA}));
  cache.Clear();
  EXPECT_EQ(cache.Count(), 0);
}

TEST(RegionCache, BadCapacityThrowsAndChangesNothing) {
  TQelTabRegionCache cache;
  cache.SetCapacity(2);
  cache.StoreRegion(kA, RegionOf(kA));
  cache.StoreRegion(kB, RegionOf(kB));
  for (int bad : {0, -2, -100}) {
    SCOPED_TRACE(bad);
    try {
      cache.SetCapacity(bad);
      ADD_FAILURE() << "no exception";
    } catch (const std::invalid_argument& e) {
      EXPECT_STREQ(e.what(), "Capacity must be -1 (to cache all regions) or > 0");
    }
    EXPECT_EQ(cache.Capacity(), 2);
    EXPECT_EQ(cache.Count(), 2);
  }
  // The tab control's own setting ignores such values without a word.
  TQelTabDataList tabs;
  qel::TabLayout layout(tabs);
  for (int bad : {0, -2}) EXPECT_NO_THROW(layout.SetRegionCacheCapacity(bad));
  EXPECT_EQ(layout.RegionCacheCapacity(), 1);
  layout.SetRegionCacheCapacity(-1);
  EXPECT_EQ(layout.RegionCacheCapacity(), -1);
  layout.SetRegionCacheCapacity(4);
  EXPECT_EQ(layout.RegionCacheCapacity(), 4);
}

// --- Scroller ---

TEST(TabScroller, UpRightHalfScrollsForward) {
  struct Case {
    qel::TQelTabOrientation orientation;
    qel::TQelTabSequence sequence;
    bool forward;
  };
  const Case cases[] = {
      {qel::toTop, qel::tsStandard, true},    {qel::toLeft, qel::tsStandard, true},
      {qel::toBottom, qel::tsStandard, true}, {qel::toRight, qel::tsStandard, false},
      {qel::toTop, qel::tsReverse, false},    {qel::toLeft, qel::tsReverse, false},
      {qel::toBottom, qel::tsReverse, false}, {qel::toRight, qel::tsReverse, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(qel::UpRightScrollsForward(c.orientation, c.sequence), c.forward)
        << "orientation " << c.orientation << " sequence " << c.sequence;
}

enum Step { PressA, MoveOther, MoveFar, MoveBack, Release };

// The events of one drag on a widget; a (the press point), the other half,
// far outside beside a, and back to a.
struct Drag {
  QPoint a, other, far;
};

void RunDrag(QWidget* w, const Drag& d, const std::vector<Step>& steps, Qt::MouseButton button,
             const std::function<void(std::size_t)>& after) {
  QPoint last = d.a;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    switch (steps[i]) {
      case PressA: MousePress(w, last = d.a, button); break;
      case MoveOther: MouseMove(w, last = d.other, button); break;
      case MoveFar: MouseMove(w, last = d.far, button); break;
      case MoveBack: MouseMove(w, last = d.a, button); break;
      case Release: MouseRelease(w, last, button); break;
    }
    after(i);
  }
}

TEST(TabScroller, ClickCountsOnlyInsideThePressedHalf) {
  struct Case {
    const char* name;
    qel::TOrientation orientation;
    int half;  // pressed
    std::vector<Step> steps;
    std::vector<bool> inside;  // after each step
    bool fires;
    Qt::MouseButton button = Qt::LeftButton;
  };
  const std::vector<Step> dragAround{PressA, MoveOther, MoveFar, MoveBack, Release};
  const Case cases[] = {
      {"right half", qel::orHorizontal, 1, {PressA, Release}, {true, false}, true},
      {"left half, right button", qel::orHorizontal, 0, {PressA, Release}, {true, false}, true, Qt::RightButton},
      {"top half", qel::orVertical, 1, {PressA, Release}, {true, false}, true},
      {"bottom half", qel::orVertical, 0, {PressA, Release}, {true, false}, true},
      {"released on the other half", qel::orHorizontal, 1, {PressA, MoveOther, Release}, {true, false, false}, false},
      // Far outside, level with the pressed half: the split alone says
      // "in the half", the control is not under the pointer.
      {"released far outside", qel::orHorizontal, 0, {PressA, MoveFar, Release}, {true, false, false}, false},
      {"released far outside, vertical", qel::orVertical, 1, {PressA, MoveFar, Release}, {true, false, false}, false},
      {"out and back in", qel::orHorizontal, 1, dragAround, {true, false, false, true, false}, true},
      {"out and back in, vertical", qel::orVertical, 0, dragAround, {true, false, false, true, false}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeOwner owner;
    QWidget host;
    auto* s = new TQelTabScroller(&owner, &host);
    s->SetOrientation(c.orientation);
    Drag d;
    if (c.orientation == qel::orHorizontal) {
      s->setGeometry(10, 10, 33, 17);
      d.a = c.half == 1 ? QPoint(25, 8) : QPoint(5, 8);
      d.other = c.half == 1 ? QPoint(5, 8) : QPoint(25, 8);
      d.far = QPoint(d.a.x(), 300);
    } else {
      s->setGeometry(10, 10, 17, 33);
      d.a = c.half == 1 ? QPoint(8, 5) : QPoint(8, 25);
      d.other = c.half == 1 ? QPoint(8, 25) : QPoint(8, 5);
      d.far = QPoint(-300, d.a.y());
    }
    host.show();
    int upRight = 0, downLeft = 0;
    QObject::connect(s, &TQelTabScroller::UpRightClick, [&] { ++upRight; });
    QObject::connect(s, &TQelTabScroller::DownLeftClick, [&] { ++downLeft; });
    RunDrag(s, d, c.steps, c.button, [&](std::size_t i) {
      EXPECT_EQ(s->Inside(), c.inside[i]) << "step " << i;
      if (i == 0) {
        EXPECT_EQ(s->PressedHalf(), c.half);
      }
    });
    EXPECT_FALSE(s->Pressed());
    EXPECT_EQ(upRight, c.fires && c.half == 1 ? 1 : 0);
    EXPECT_EQ(downLeft, c.fires && c.half == 0 ? 1 : 0);
  }
}

// Interior pixels of a half (inside its frame).
TRect Interior(const TRect& r) { return {r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1}; }

int CountIn(const qel::Canvas& c, const TRect& r, TColor color) {
  int n = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) n += c.Pixel(x, y) == ColorToRGB(color);
  return n;
}

bool SameIn(const qel::Canvas& a, const qel::Canvas& b, const TRect& r) {
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (a.Pixel(x, y) != b.Pixel(x, y)) return false;
  return true;
}

TEST(TabScroller, PushedHalfMovesItsArrow) {
  FakeOwner owner;
  QWidget host;
  auto* s = new TQelTabScroller(&owner, &host);
  s->setGeometry(0, 0, 33, 17);
  host.show();
  EXPECT_EQ(s->HalfRect(0), (TRect{0, 0, 17, 17}));
  EXPECT_EQ(s->HalfRect(1), (TRect{16, 0, 33, 17}));
  const qel::Canvas normal = s->Paint();
  MousePress(s, QPoint(25, 8));
  const qel::Canvas pushed = s->Paint();
  const TRect in = Interior(s->HalfRect(1));
  ASSERT_GT(CountIn(normal, in, clBlack), 10);
  EXPECT_EQ(CountIn(pushed, in, clBlack), CountIn(normal, in, clBlack));
  for (int y = in.Top; y + 1 < in.Bottom; ++y)
    for (int x = in.Left; x + 1 < in.Right; ++x)
      EXPECT_EQ(pushed.Pixel(x + 1, y + 1), normal.Pixel(x, y)) << x << "," << y;
  EXPECT_TRUE(SameIn(normal, pushed, s->HalfRect(0)));
  // Dragged off the half, the arrow comes back up.
  MouseMove(s, QPoint(5, 8), Qt::LeftButton);
  EXPECT_TRUE(SameIn(normal, s->Paint(), {0, 0, 33, 17}));
  MouseRelease(s, QPoint(5, 8));
}

TEST(TabScroller, HalfThatCannotScrollIsDisabled) {
  struct Case {
    qel::TQelTabOrientation orientation;
    qel::TQelTabSequence sequence;
    bool backward, forward;
    int disabledHalf;
  };
  const Case cases[] = {
      {qel::toTop, qel::tsStandard, true, false, 1},   {qel::toTop, qel::tsStandard, false, true, 0},
      {qel::toTop, qel::tsReverse, true, false, 0},    {qel::toLeft, qel::tsStandard, true, false, 1},
      {qel::toRight, qel::tsStandard, true, false, 0}, {qel::toRight, qel::tsReverse, true, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << " sequence " << c.sequence);
    FakeOwner owner;
    owner.orientation = c.orientation;
    owner.sequence = c.sequence;
    QWidget host;
    auto* s = new TQelTabScroller(&owner, &host);
    const bool horizontal = c.orientation == qel::toTop || c.orientation == qel::toBottom;
    s->SetOrientation(horizontal ? qel::orHorizontal : qel::orVertical);
    s->setGeometry(0, 0, horizontal ? 33 : 17, horizontal ? 17 : 33);
    const qel::Canvas enabled = s->Paint();
    owner.backward = c.backward;
    owner.forward = c.forward;
    const qel::Canvas disabled = s->Paint();
    const int off = c.disabledHalf, on = 1 - off;
    EXPECT_FALSE(s->HalfEnabled(off));
    EXPECT_TRUE(s->HalfEnabled(on));
    const TRect dim = Interior(s->HalfRect(off));
    EXPECT_EQ(CountIn(disabled, dim, clBlack), 0);
    EXPECT_EQ(CountIn(disabled, dim, clBtnShadow), CountIn(enabled, dim, clBlack));
    EXPECT_TRUE(SameIn(enabled, disabled, Interior(s->HalfRect(on))));
  }
}

TEST(TabScroller, FrameColorFramesEachHalf) {
  QWidget host;
  auto* s = new TQelTabScroller(nullptr, &host);
  s->setGeometry(0, 0, 33, 17);
  s->SetFrameColor(clRed);
  const qel::Canvas c = s->Paint();
  for (int y = 0; y < 17; ++y)
    for (int x : {0, 16, 32}) EXPECT_EQ(c.Pixel(x, y), clRed) << x << "," << y;
  for (int x = 0; x < 33; ++x)
    for (int y : {0, 16}) EXPECT_EQ(c.Pixel(x, y), clRed) << x << "," << y;
  for (int half : {0, 1}) EXPECT_EQ(CountIn(c, Interior(s->HalfRect(half)), clRed), 0);
  // Vertical: the halves share the middle row.
  s->SetOrientation(qel::orVertical);
  s->setGeometry(0, 0, 17, 33);
  EXPECT_EQ(s->HalfRect(1), (TRect{0, 0, 17, 17}));
  EXPECT_EQ(s->HalfRect(0), (TRect{0, 16, 17, 33}));
  const qel::Canvas v = s->Paint();
  for (int x = 0; x < 17; ++x)
    for (int y : {0, 16, 32}) EXPECT_EQ(v.Pixel(x, y), clRed) << x << "," << y;
}

// --- Close button ---

TEST(TabCloseButton, ClosesOnlyWhenReleasedInside) {
  struct Case {
    const char* name;
    std::vector<Step> steps;
    std::vector<bool> inside;
    bool fires;
  };
  const Case cases[] = {
      {"click", {PressA, Release}, {true, false}, true},
      {"released outside", {PressA, MoveOther, Release}, {true, false, false}, false},
      {"released far outside", {PressA, MoveFar, Release}, {true, false, false}, false},
      {"out and back in", {PressA, MoveOther, MoveFar, MoveBack, Release}, {true, false, false, true, false}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeOwner owner;
    owner.tabIndex = -1;  // the owner decides; the button still fires
    QWidget host;
    auto* b = new TQelTabCloseButton(&owner, &host);
    b->setGeometry(10, 10, 17, 17);
    host.show();
    int closes = 0;
    QObject::connect(b, &TQelTabCloseButton::Close, [&] { ++closes; });
    RunDrag(b, {QPoint(8, 8), QPoint(20, 8), QPoint(8, -300)}, c.steps, Qt::LeftButton,
            [&](std::size_t i) { EXPECT_EQ(b->Inside(), c.inside[i]) << "step " << i; });
    EXPECT_FALSE(b->Pressed());
    EXPECT_EQ(closes, c.fires ? 1 : 0);
  }
}

TEST(TabCloseButton, GlyphPushedInactiveAndFrame) {
  FakeOwner owner;
  QWidget host;
  auto* b = new TQelTabCloseButton(&owner, &host);
  b->setGeometry(0, 0, 17, 17);
  b->SetFrameColor(clRed);
  host.show();
  const TRect in{1, 1, 16, 16};
  const qel::Canvas active = b->Paint();
  // An x: both diagonals 2 pixels wide over the middle half.
  EXPECT_EQ(CountIn(active, in, clBlack), 26);
  for (auto [x, y] : {std::pair{4, 5}, {5, 5}, {10, 5}, {11, 5}, {4, 11}, {11, 11}, {7, 8}, {8, 8}})
    EXPECT_EQ(active.Pixel(x, y), clBlack) << x << "," << y;
  for (int i = 0; i < 17; ++i)
    for (auto [x, y] : {std::pair{i, 0}, {i, 16}, {0, i}, {16, i}}) EXPECT_EQ(active.Pixel(x, y), clRed);

  MousePress(b, QPoint(8, 8));
  const qel::Canvas pushed = b->Paint();
  for (int y = in.Top; y + 1 < in.Bottom; ++y)
    for (int x = in.Left; x + 1 < in.Right; ++x) EXPECT_EQ(pushed.Pixel(x + 1, y + 1), active.Pixel(x, y));
  MouseRelease(b, QPoint(40, 40));

  owner.tabIndex = -1;
  const qel::Canvas inactive = b->Paint();
  EXPECT_FALSE(b->Active());
  EXPECT_EQ(CountIn(inactive, in, clBlack), 0);
  // Shadow where the black was, highlight beside it one pixel right and
  // down; the frame stays.
  for (int y = in.Top; y < in.Bottom; ++y)
    for (int x = in.Left; x < in.Right; ++x) {
      if (active.Pixel(x, y) == clBlack) {
        EXPECT_EQ(inactive.Pixel(x, y), ColorToRGB(clBtnShadow));
      } else if (active.Pixel(x - 1, y - 1) == clBlack) {
        EXPECT_EQ(inactive.Pixel(x, y), ColorToRGB(clBtnHighlight)) << x << "," << y;
      }
    }
  EXPECT_EQ(inactive.Pixel(0, 0), clRed);
}

}  // namespace
