#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>

#include "controls/qeltablayout.h"

namespace {

using qel::TPoint;
using qel::TRect;

// A layout over its own list, measured by the recording engine: 7 pixels a
// character, lines 13 high, fonts 11 pixels.
struct TabLayoutBase : ::testing::Test {
  TabLayoutBase() { layout.SetTextEngine(&engine); }
  void Captions(std::initializer_list<const char*> captions) {
    tabs.Clear();
    for (const char* c : captions) tabs.Add().Caption = QString::fromLatin1(c);
  }
  qel::TabLayoutSettings& S() { return layout.Settings(); }
  TRect Rect(int i) const { return tabs.Items(i).TabRect; }
  std::vector<int> Rows() const {
    std::vector<int> rows;
    for (int i = 0; i < tabs.Count(); ++i) rows.push_back(tabs.Items(i).Row);
    return rows;
  }
  std::vector<bool> Shown() const {
    std::vector<bool> shown;
    for (int i = 0; i < tabs.Count(); ++i) shown.push_back(layout.IsTabShown(i));
    return shown;
  }

  qel::RecordingTextEngine engine;
  TQelTabDataList tabs;
  qel::TabLayout layout{tabs};
};

// The program's page control: seven double-slant tabs on top.
struct TabLayoutProgram : TabLayoutBase {
  void SetUp() override {
    Captions({"RS232/485", "IR", "TCP/IP", "Delay", "Compare", "LED", "Toggle"});
    S().TabStyle = qel::tsDoubleSlant;
    S().Margin = 0;
    layout.SetTabIndex(0);
    Size(468, 344);
  }
  void Size(int w, int h) {
    layout.SetClientSize(w, h);
    layout.UpdateLayout();
  }
};

TEST_F(TabLayoutProgram, WideEnoughForEveryTab) {
  EXPECT_EQ(layout.FixedDimension(), 19);
  const TRect expected[] = {{0, 0, 99, 19},    {81, 0, 131, 19},  {113, 0, 191, 19}, {173, 0, 244, 19},
                            {226, 0, 311, 19}, {293, 0, 350, 19}, {332, 0, 410, 19}};
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(Rect(i), expected[i]) << "tab " << i;
    EXPECT_EQ(tabs.Items(i).Row, 0);
    if (i > 0) {
      EXPECT_EQ(Rect(i - 1).Right - Rect(i).Left, 18) << "overlap before tab " << i;
    }
  }
  EXPECT_EQ(layout.RowCount(), 1);
  EXPECT_FALSE(layout.ScrollNeeded());
  EXPECT_EQ(layout.FirstShownTab(), 0);
  EXPECT_EQ(layout.ScrollOffset(), 0);
  EXPECT_EQ(Shown(), std::vector<bool>(7, true));
  EXPECT_EQ(layout.TabStripRect(), (TRect{0, 0, 465, 19}));
  EXPECT_EQ(layout.CardRect(0), (TRect{0, 19, 467, 343}));
  EXPECT_EQ(layout.CardClientRect(), (TRect{1, 20, 465, 341}));
  EXPECT_EQ(layout.TabClientRect(3), (TRect{173, 0, 244, 19}));
}

TEST_F(TabLayoutProgram, StoredFixedDimensionHoldsUntilTheFirstLayout) {
  TQelTabDataList list;
  qel::TabLayout fresh(list);
  fresh.SetFixedDimension(20);
  EXPECT_EQ(fresh.FixedDimension(), 20);
  EXPECT_EQ(layout.FixedDimension(), 19);
}

TEST_F(TabLayoutProgram, NarrowStripScrolls) {
  Size(300, 344);
  ASSERT_TRUE(layout.ScrollNeeded());
  EXPECT_EQ(layout.ScrollerButtonSize(), 17);
  EXPECT_EQ(layout.ScrollerOrientation(), qel::orHorizontal);
  EXPECT_EQ(layout.ScrollerRect(), (TRect{263, 0, 296, 17}));
  EXPECT_EQ(layout.FirstShownTab(), 0);
  EXPECT_EQ(Shown(), (std::vector<bool>{true, true, true, true, false, false, false}));
  EXPECT_FALSE(layout.CanScrollBackward());
  EXPECT_TRUE(layout.CanScrollForward());

  layout.SetFirstShownTab(1);
  EXPECT_EQ(layout.ScrollOffset(), 81);
  EXPECT_EQ(Shown(), (std::vector<bool>{false, true, true, true, true, false, false}));
  EXPECT_EQ(layout.TabClientRect(1), (TRect{0, 0, 50, 19}));
  // A later layout keeps a start that still shows a whole tab.
  layout.UpdateLayout();
  EXPECT_EQ(layout.FirstShownTab(), 1);
  // The last tab shown whole: nothing more to scroll towards.
  layout.SetFirstShownTab(4);
  EXPECT_EQ(Shown(), (std::vector<bool>{false, false, false, false, true, true, true}));
  EXPECT_TRUE(layout.CanScrollBackward());
  EXPECT_FALSE(layout.CanScrollForward());
}

TEST_F(TabLayoutProgram, HitTests) {
  struct Case {
    int width, tabIndex;
    TPoint at;
    int hit;
  };
  const Case cases[] = {
      {468, 0, {90, 15}, 0},                         // in both outlines: the current tab is on top
      {468, 1, {90, 15}, 1},  {468, 0, {97, 5}, 1},  // in tab 0's rectangle, outside its slant
      {468, 0, {3, 2}, -1},                          // left of tab 0's slant
      {468, 0, {50, 19}, -1},                        // the bottom edge belongs to the card
      {468, 0, {395, 15}, 6}, {468, 0, {420, 5}, -1}, {300, 0, {240, 10}, -1},  // on tab 4, which is not shown whole
      {300, 0, {200, 10}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "width " << c.width << " at " << c.at.X << "," << c.at.Y);
    layout.SetTabIndex(c.tabIndex);
    Size(c.width, 344);
    EXPECT_EQ(layout.TabIndexAtPoint(c.at), c.hit);
  }
}

TEST_F(TabLayoutProgram, RegionsComeFromTheCacheUntilTheNextLayout) {
  EXPECT_EQ(layout.RegionCache().Count(), 0);
  const QRegion region = layout.TabRegion(1);
  EXPECT_TRUE(region.contains(QPoint(105, 10)));
  EXPECT_FALSE(region.contains(QPoint(84, 2)));  // outside the left slant
  EXPECT_EQ(layout.RegionCache().Rects(), std::vector<TRect>{layout.TabClientRect(1)});
  EXPECT_EQ(layout.TabRegion(1), region);
  layout.UpdateLayout();
  EXPECT_EQ(layout.RegionCache().Count(), 0);
  EXPECT_TRUE(layout.TabRegion(99).isEmpty());
}

// The page control rebuilds its list at once and lays out later: until
// then a start past the end of the list shows nothing and hits nothing.
TEST_F(TabLayoutProgram, FirstShownTabPastTheEndOfAShrunkList) {
  Size(300, 344);
  layout.SetFirstShownTab(6);
  layout.UpdateLayout();
  ASSERT_EQ(layout.FirstShownTab(), 6);
  Captions({"RS232/485", "IR", "TCP/IP", "Delay", "Compare"});
  layout.SetTabIndex(-1);
  EXPECT_EQ(layout.ScrollOffset(), 0);
  EXPECT_EQ(Shown(), std::vector<bool>(5, false));
  EXPECT_EQ(layout.TabIndexAtPoint({20, 10}), -1);
  EXPECT_FALSE(layout.CanScrollBackward());

  ASSERT_NO_THROW(layout.UpdateLayout());
  EXPECT_TRUE(layout.ScrollNeeded());
  EXPECT_EQ(layout.FirstShownTab(), 4);
  EXPECT_EQ(layout.ScrollOffset(), 226);
  EXPECT_EQ(Shown(), (std::vector<bool>{false, false, false, false, true}));
  // In range, the old start is kept as before.
  layout.SetFirstShownTab(2);
  layout.UpdateLayout();
  EXPECT_EQ(layout.FirstShownTab(), 2);
}

// --- Measuring ---

using TabLayoutMeasure = TabLayoutBase;

TEST_F(TabLayoutMeasure, CaptionLinesAndAccelerators) {
  struct Case {
    const char* caption;
    TPoint horizontal, vertical;
  };
  const Case cases[] = {
      {"", {0, 0}, {0, 0}},
      {"Delay", {35, 13}, {13, 35}},
      {"&Delay", {35, 13}, {13, 35}},
      {"A&&B", {21, 13}, {13, 21}},   // one '&' shown
      {"AB&", {21, 13}, {13, 21}},    // a closing '&' stays
      {"A&B&C", {28, 13}, {13, 28}},  // only the first is taken out
      {"Long line\r\nOK", {63, 26}, {26, 63}},
      {"Two\r\n", {21, 13}, {13, 21}},  // no empty line after a closing break
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.caption);
    S().TextOrientation = qel::orHorizontal;
    EXPECT_EQ(layout.MeasureText(QString::fromLatin1(c.caption), false), c.horizontal);
    S().TextOrientation = qel::orVertical;
    EXPECT_EQ(layout.MeasureText(QString::fromLatin1(c.caption), false), c.vertical);
  }
}

TEST_F(TabLayoutMeasure, ContentByImagePosition) {
  Captions({"IR", "IR", "I"});
  tabs.Items(0).ImageIndex = 0;
  S().ImageWidth = 16;
  S().ImageHeight = 16;
  S().ImageMargin = 2;
  struct Case {
    qel::TQelImagePosition position;
    TPoint withImage;
  };
  const Case cases[] = {
      {qel::ipLeft, {32, 16}},   {qel::ipRight, {32, 16}}, {qel::ipTop, {16, 31}},
      {qel::ipBottom, {16, 31}}, {qel::ipBack, {16, 16}},  {qel::ipStretch, {14, 13}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    S().ImagePosition = c.position;
    EXPECT_EQ(layout.TabContentSize(0), c.withImage);
    // Without an image the margin takes no room either.
    EXPECT_EQ(layout.TabContentSize(1), (TPoint{14, 13}));
  }
  // Raised to the minimum: "A" wide, the font's pixel size high.
  engine.LineHeight = 9;
  EXPECT_EQ(layout.TabContentSize(2), (TPoint{7, 11}));
  S().TabStyle = qel::tsRoundCorners;  // "AAA"
  EXPECT_EQ(layout.TabContentSize(2), (TPoint{21, 11}));
  S().TabHeight = 5;  // a fixed size is not raised
  EXPECT_EQ(layout.TabContentSize(2), (TPoint{21, 9}));
  tabs.Items(2).Visible = false;
  EXPECT_EQ(layout.TabContentSize(2), (TPoint{0, 0}));
}

TEST_F(TabLayoutMeasure, TabSizeForContent) {
  struct Case {
    qel::TQelTabStyle style;
    qel::TOrientation text;
    int tabHeight;
    TPoint top, side;
  };
  const Case cases[] = {
      {qel::tsSingleSlant, qel::orHorizontal, 0, {54, 19}, {36, 55}},
      {qel::tsSingleSlant, qel::orHorizontal, 10, {59, 19}, {36, 60}},
      {qel::tsDoubleSlant, qel::orHorizontal, 0, {66, 19}, {36, 83}},
      {qel::tsDoubleSlant, qel::orHorizontal, 10, {76, 19}, {36, 93}},
      {qel::tsCutCorner, qel::orHorizontal, 0, {50, 20}, {43, 23}},
      {qel::tsCutCorner, qel::orVertical, 0, {40, 26}, {37, 33}},
      {qel::tsRoundCorners, qel::orHorizontal, 0, {46, 19}, {46, 19}},
      {qel::tsRoundCorners, qel::orVertical, 0, {36, 29}, {36, 29}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " text " << c.text << " TabHeight " << c.tabHeight);
    S().TabStyle = c.style;
    S().TextOrientation = c.text;
    S().TabHeight = c.tabHeight;
    S().CutCornerSize = 6;
    for (auto [orientation, expected] :
         {std::pair{qel::toTop, c.top}, {qel::toBottom, c.top}, {qel::toLeft, c.side}, {qel::toRight, c.side}}) {
      S().TabOrientation = orientation;
      EXPECT_EQ(layout.TabSizeForContent({30, 13}), expected) << "orientation " << orientation;
    }
  }
}

TEST_F(TabLayoutMeasure, AutomaticSizeSharesTheDepthOnly) {
  Captions({"A", "Compare", "Two\r\nlines"});
  layout.SetClientSize(400, 300);
  // Top: one height (the tallest content's), widths by caption.
  layout.UpdateLayout();
  EXPECT_EQ(layout.FixedDimension(), 26 + 6);
  const int widths[] = {2 * 16 + 7 + 6, 2 * 16 + 49 + 6, 2 * 16 + 35 + 6};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Rect(i).Bottom - Rect(i).Top, 32);
    EXPECT_EQ(Rect(i).Right - Rect(i).Left, widths[i]);
  }
  // Left: one width (the widest content's), lengths by caption.
  S().TabOrientation = qel::toLeft;
  layout.UpdateLayout();
  EXPECT_EQ(layout.FixedDimension(), 49 + 6);
  const int lengths[] = {13 + 2 + 2 * 27 + 4, 13 + 2 + 2 * 27 + 4, 26 + 2 + 2 * 27 + 4};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(Rect(i).Bottom - Rect(i).Top, 55);
    EXPECT_EQ(Rect(i).Right - Rect(i).Left, lengths[i]);
  }
  EXPECT_EQ(layout.TabClientRect(0), (TRect{0, 299 - 73, 55, 299}));  // running up from the bottom
  // Fixed sizes replace both.
  S().TabWidth = 40;
  S().TabHeight = 30;
  layout.UpdateLayout();
  EXPECT_EQ(layout.FixedDimension(), 40);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Rect(i), (TRect{11 * i, 0, 11 * i + 30, 40}));
}

TEST_F(TabLayoutMeasure, CutCornerTabsStandTwoApart) {
  Captions({"IR", "Delay", "LED"});
  S().TabStyle = qel::tsCutCorner;
  layout.SetClientSize(400, 300);
  layout.UpdateLayout();
  EXPECT_EQ(layout.FixedDimension(), 20);
  EXPECT_EQ(Rect(0), (TRect{0, 0, 34, 20}));
  for (int i = 1; i < 3; ++i) EXPECT_EQ(Rect(i).Left - Rect(i - 1).Right, 2);
  // An invisible tab takes no place.
  tabs.Items(1).Visible = false;
  layout.UpdateLayout();
  EXPECT_EQ(Rect(2).Left - Rect(0).Right, 2);
  // Where the hidden tab stood, the next one is hit.
  EXPECT_EQ(layout.TabIndexAtPoint({40, 10}), 2);
}

// --- Mapping to the client ---

TEST_F(TabLayoutBase, LogicalToClientForEveryEdgeAndSequence) {
  Captions({"IR"});
  S().TabStyle = qel::tsDoubleSlant;
  S().ShowShadow = false;
  layout.SetClientSize(200, 100);
  struct Case {
    qel::TQelTabOrientation orientation;
    qel::TQelTabSequence sequence;
    TRect strip;
    TPoint point;  // of strip point (10, 3)
    TRect tab;
  };
  const Case cases[] = {
      {qel::toTop, qel::tsStandard, {0, 0, 199, 19}, {10, 3}, {0, 0, 50, 19}},
      {qel::toTop, qel::tsReverse, {0, 0, 199, 19}, {177, 3}, {149, 0, 199, 19}},
      {qel::toLeft, qel::tsStandard, {0, 0, 20, 99}, {3, 89}, {0, 48, 20, 99}},
      {qel::toLeft, qel::tsReverse, {0, 0, 20, 99}, {3, 22}, {0, 0, 20, 51}},
      {qel::toBottom, qel::tsStandard, {0, 80, 199, 99}, {10, 96}, {0, 80, 50, 99}},
      {qel::toBottom, qel::tsReverse, {0, 80, 199, 99}, {177, 96}, {149, 80, 199, 99}},
      {qel::toRight, qel::tsStandard, {179, 0, 199, 99}, {196, 10}, {179, 0, 199, 51}},
      {qel::toRight, qel::tsReverse, {179, 0, 199, 99}, {196, 77}, {179, 48, 199, 99}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << " sequence " << c.sequence);
    S().TabOrientation = c.orientation;
    S().TabSequence = c.sequence;
    layout.UpdateLayout();
    EXPECT_EQ(layout.TabStripRect(), c.strip);
    EXPECT_EQ(layout.LogicalToClient({10, 3}), c.point);
    EXPECT_EQ(layout.TabClientRect(0), c.tab);
    // The tab's middle hits it wherever it lies.
    const TRect& t = c.tab;
    EXPECT_EQ(layout.TabIndexAtPoint({(t.Left + t.Right) / 2, (t.Top + t.Bottom) / 2}), 0);
  }
}

// --- Multi-line ---

// Seven cut-corner tabs 55 long in a strip 199 long: three rows.
struct TabLayoutMultiLine : TabLayoutBase {
  void SetUp() override {
    Captions({"Alpha", "Bravo", "Charl", "Delta", "Echo_", "Foxtr", "Golf_"});
    S().TabStyle = qel::tsCutCorner;
    S().MultiLine = true;
    S().ShowShadow = false;
    layout.SetClientSize(200, 100);
    layout.SetTabIndex(0);
  }
  // Client rectangles of every tab.
  std::vector<TRect> ClientRects() {
    std::vector<TRect> rects;
    for (int i = 0; i < tabs.Count(); ++i) rects.push_back(layout.TabClientRect(i));
    return rects;
  }
};

TEST_F(TabLayoutMultiLine, ThreeRows) {
  layout.UpdateLayout();
  EXPECT_EQ(layout.RowCount(), 3);
  EXPECT_EQ(layout.FixedDimension(), 20);
  EXPECT_FALSE(layout.ScrollNeeded());
  EXPECT_EQ(Rows(), (std::vector<int>{0, 0, 0, 1, 1, 1, 2}));
  // Bands FixedDimension - RowOverlap apart, row 0 next to the card.
  EXPECT_EQ(layout.TabStripDepth(), 50);
  EXPECT_EQ(Rect(0), (TRect{0, 30, 55, 50}));
  EXPECT_EQ(Rect(2), (TRect{114, 30, 169, 50}));
  EXPECT_EQ(Rect(3), (TRect{0, 15, 55, 35}));
  EXPECT_EQ(Rect(6), (TRect{0, 0, 55, 20}));
  // Each row further out starts one indent further in.
  EXPECT_EQ(layout.TabClientRect(3), (TRect{5, 15, 60, 35}));
  EXPECT_EQ(layout.TabClientRect(6), (TRect{10, 0, 65, 20}));
  EXPECT_EQ(layout.CardRect(0), (TRect{0, 50, 189, 99}));
  EXPECT_EQ(layout.CardRect(1), (TRect{5, 35, 194, 84}));
  EXPECT_EQ(layout.CardRect(2), (TRect{10, 20, 199, 69}));
  // The indent moves hit testing too.
  EXPECT_EQ(layout.TabIndexAtPoint({7, 17}), 3);
  EXPECT_EQ(layout.TabIndexAtPoint({2, 17}), -1);
}

TEST_F(TabLayoutMultiLine, AlignTabsSharesTheSpare) {
  S().AlignTabs = true;
  layout.UpdateLayout();
  // Row length 189, used 169: 20 spare over 3 tabs, 7 + 7 + 6.
  EXPECT_EQ(Rect(0), (TRect{0, 30, 62, 50}));
  EXPECT_EQ(Rect(1), (TRect{64, 30, 126, 50}));
  EXPECT_EQ(Rect(2), (TRect{128, 30, 189, 50}));
  EXPECT_EQ(Rect(5), (TRect{128, 15, 189, 35}));
  EXPECT_EQ(Rect(6), (TRect{0, 0, 189, 20}));  // alone: takes the whole row
  // A fixed length along the strip is not stretched.
  S().TabWidth = 55;
  layout.UpdateLayout();
  EXPECT_EQ(Rect(0), (TRect{0, 30, 55, 50}));
}

TEST_F(TabLayoutMultiLine, ReverseIsTheMirrorImage) {
  for (bool align : {false, true}) {
    SCOPED_TRACE(align ? "aligned" : "not aligned");
    S().AlignTabs = align;
    S().TabSequence = qel::tsStandard;
    layout.UpdateLayout();
    const std::vector<TRect> standard = ClientRects();
    const TRect card2 = layout.CardRect(2);
    S().TabSequence = qel::tsReverse;
    layout.UpdateLayout();
    EXPECT_EQ(Rows(), (std::vector<int>{0, 0, 0, 1, 1, 1, 2}));
    const std::vector<TRect> reverse = ClientRects();
    for (std::size_t i = 0; i < reverse.size(); ++i) {
      const TRect& s = standard[i];
      EXPECT_EQ(reverse[i], (TRect{199 - s.Right, s.Top, 199 - s.Left, s.Bottom})) << "tab " << i;
    }
    EXPECT_EQ(layout.CardRect(2), (TRect{199 - card2.Right, card2.Top, 199 - card2.Left, card2.Bottom}));
  }
}

TEST_F(TabLayoutMultiLine, TabLongerThanAnyRowStandsAlone) {
  Captions({"Alpha", "Bravo", "This caption is far longer than a row", "Delta"});
  layout.UpdateLayout();
  EXPECT_EQ(layout.RowCount(), 3);
  EXPECT_EQ(Rows(), (std::vector<int>{0, 0, 1, 2}));
  EXPECT_EQ(Rect(2), (TRect{0, 15, 189, 35}));  // cut to the row's length
  EXPECT_EQ(Rect(3), (TRect{0, 0, 55, 20}));
}

TEST_F(TabLayoutMultiLine, BringRowToFrontFromTheOutermostRow) {
  layout.UpdateLayout();
  layout.SetTabIndex(6);
  layout.BringRowToFront();
  EXPECT_EQ(Rows(), (std::vector<int>{1, 1, 1, 2, 2, 2, 0}));
  EXPECT_EQ(Rect(6), (TRect{0, 30, 55, 50}));
  EXPECT_EQ(Rect(0), (TRect{0, 15, 55, 35}));
  EXPECT_EQ(Rect(4), (TRect{57, 0, 112, 20}));
  // Next to the card, the current tab takes no indent.
  EXPECT_EQ(layout.TabClientRect(6), (TRect{0, 30, 55, 50}));
  layout.SetTabIndex(3);
  layout.BringRowToFront();
  EXPECT_EQ(Rows(), (std::vector<int>{2, 2, 2, 0, 0, 0, 1}));
}

// --- Strip, card and child places ---

TEST_F(TabLayoutBase, HiddenCardLetsTheStripFillTheControl) {
  Captions({"IR", "LED"});
  S().TabStyle = qel::tsDoubleSlant;
  S().CardVisible = false;
  layout.SetClientSize(200, 100);
  layout.UpdateLayout();
  EXPECT_EQ(layout.TabStripDepth(), 99);
  EXPECT_EQ(layout.TabStripRect(), (TRect{0, 0, 197, 99}));
  EXPECT_EQ(Rect(0), (TRect{0, 80, 50, 99}));
  EXPECT_EQ(layout.CardRect(0), (TRect{-3, 99, 202, 102}));
  EXPECT_EQ(layout.CardClientRect(), (TRect{-2, -2, -1, -1}));
  S().TabOrientation = qel::toRight;
  S().TabStyle = qel::tsRoundCorners;
  layout.UpdateLayout();
  EXPECT_EQ(layout.TabStripDepth(), 198);
  EXPECT_EQ(layout.TabStripRect(), (TRect{1, 0, 199, 99}));
  EXPECT_EQ(layout.CardClientRect(), (TRect{-2, -2, -1, -1}));
  // With no tabs at all and the card shown, the card is the control.
  S().CardVisible = true;
  tabs.Clear();
  layout.UpdateLayout();
  EXPECT_EQ(layout.CardRect(0), (TRect{0, 0, 199, 99}));
  EXPECT_EQ(layout.FixedDimension(), 0);
  EXPECT_EQ(layout.TabIndexAtPoint({5, 5}), -1);
}

TEST_F(TabLayoutBase, CardClientRectByFrameOptions) {
  Captions({"IR"});
  S().TabStyle = qel::tsDoubleSlant;
  layout.SetClientSize(200, 100);
  struct Options {
    const char* name;
    bool cardFrame, fullFrame, shadow;
    qel::TQelTabSequence sequence;
    TRect top, left, bottom, right;
  };
  const Options cases[] = {
      {"frame, full, shadow",
       true,
       true,
       true,
       qel::tsStandard,
       {1, 20, 197, 97},
       {21, 1, 199, 99},
       {1, 1, 199, 80},
       {1, 1, 179, 99}},
      {"frame, full, shadow, reverse",
       true,
       true,
       true,
       qel::tsReverse,
       {1, 20, 199, 99},
       {21, 1, 199, 99},
       {1, 1, 199, 80},
       {1, 1, 179, 99}},
      {"frame, full",
       true,
       true,
       false,
       qel::tsStandard,
       {1, 20, 199, 99},
       {21, 1, 199, 99},
       {1, 1, 199, 80},
       {1, 1, 179, 99}},
      {"frame only",
       true,
       false,
       false,
       qel::tsStandard,
       {0, 20, 200, 100},
       {20, 1, 200, 100},
       {0, 1, 200, 81},
       {0, 0, 180, 100}},
      {"full, shadow, no frame",
       false,
       true,
       true,
       qel::tsStandard,
       {1, 20, 198, 98},
       {21, 1, 200, 100},
       {1, 1, 200, 81},
       {1, 1, 180, 100}},
      {"no frame",
       false,
       false,
       false,
       qel::tsStandard,
       {0, 19, 200, 100},
       {20, 0, 200, 100},
       {0, 0, 200, 81},
       {0, 0, 180, 100}},
  };
  for (const Options& c : cases) {
    SCOPED_TRACE(c.name);
    S().ShowCardFrame = c.cardFrame;
    S().ShowFullFrame = c.fullFrame;
    S().ShowShadow = c.shadow;
    S().TabSequence = c.sequence;
    for (auto [orientation, expected] :
         {std::pair{qel::toTop, c.top}, {qel::toLeft, c.left}, {qel::toBottom, c.bottom}, {qel::toRight, c.right}}) {
      S().TabOrientation = orientation;
      layout.UpdateLayout();
      EXPECT_EQ(layout.CardClientRect(), expected) << "orientation " << orientation;
    }
  }
}

TEST_F(TabLayoutBase, ScrollerAndCloseButtonPlaces) {
  Captions({"RS232/485", "IR", "TCP/IP", "Delay", "Compare", "LED", "Toggle"});
  S().TabStyle = qel::tsDoubleSlant;
  S().Margin = 3;
  S().ShowCloseButton = true;
  layout.SetClientSize(300, 200);
  struct Case {
    qel::TQelTabOrientation orientation;
    qel::TQelTabSequence sequence;
    bool shadow;
    TRect scroller, close;
  };
  const Case cases[] = {
      {qel::toTop, qel::tsStandard, true, {241, 0, 274, 17}, {276, 0, 293, 17}},
      {qel::toTop, qel::tsStandard, false, {245, 0, 278, 17}, {280, 0, 297, 17}},
      {qel::toLeft, qel::tsStandard, true, {50, 22, 67, 55}, {50, 3, 67, 20}},
      {qel::toBottom, qel::tsStandard, true, {245, 182, 278, 199}, {280, 182, 297, 199}},
      {qel::toRight, qel::tsStandard, true, {232, 145, 249, 178}, {232, 180, 249, 197}},
      {qel::toTop, qel::tsReverse, true, {22, 0, 55, 17}, {3, 0, 20, 17}},
      {qel::toLeft, qel::tsReverse, true, {50, 145, 67, 178}, {50, 180, 67, 197}},
      {qel::toBottom, qel::tsReverse, true, {22, 182, 55, 199}, {3, 182, 20, 199}},
      {qel::toRight, qel::tsReverse, true, {232, 22, 249, 55}, {232, 3, 249, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << " sequence " << c.sequence << " shadow "
                                    << c.shadow);
    S().TabOrientation = c.orientation;
    S().TabSequence = c.sequence;
    S().ShowShadow = c.shadow;
    layout.UpdateLayout();
    EXPECT_TRUE(layout.ScrollNeeded());
    EXPECT_EQ(layout.ScrollerRect(), c.scroller);
    EXPECT_EQ(layout.CloseButtonRect(), c.close);
  }
  // Without the close button the scroller moves to the end.
  S().ShowCloseButton = false;
  S().TabOrientation = qel::toBottom;
  S().TabSequence = qel::tsStandard;
  layout.UpdateLayout();
  EXPECT_EQ(layout.CloseButtonSize(), 0);
  EXPECT_EQ(layout.ScrollerRect(), (TRect{264, 182, 297, 199}));
}

TEST_F(TabLayoutBase, ScrollerButtonSizeAgainstTheRowDepth) {
  struct Case {
    const char* name;
    qel::TQelTabOrientation orientation;
    qel::TOrientation text;
    int tabWidth, tabHeight;
    const char* caption;
    int fixed, size;
  };
  const Case cases[] = {
      {"top", qel::toTop, qel::orHorizontal, 0, 0, "Delay", 19, 17},
      {"top, low fixed height", qel::toTop, qel::orHorizontal, 0, 10, "Delay", 10, 17},
      {"top, tall fixed height", qel::toTop, qel::orHorizontal, 0, 40, "Delay", 40, 38},
      {"top, vertical text", qel::toTop, qel::orVertical, 0, 40, "Delay", 40, 15},
      {"left, narrow tabs", qel::toLeft, qel::orHorizontal, 0, 0, "I", 13, 11},
      {"left, vertical text", qel::toLeft, qel::orVertical, 0, 0, "I", 19, 15},
      {"left, vertical text, fixed width", qel::toLeft, qel::orVertical, 30, 0, "I", 30, 28},
      {"left, fixed width", qel::toLeft, qel::orHorizontal, 30, 0, "I", 30, 17},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Captions({c.caption});
    S().TabOrientation = c.orientation;
    S().TextOrientation = c.text;
    S().TabWidth = c.tabWidth;
    S().TabHeight = c.tabHeight;
    layout.SetClientSize(300, 200);
    layout.UpdateLayout();
    EXPECT_EQ(layout.FixedDimension(), c.fixed);
    EXPECT_EQ(layout.ScrollerButtonSize(), c.size);
    EXPECT_EQ(layout.ScrollerOrientation(), c.orientation == qel::toTop ? qel::orHorizontal : qel::orVertical);
  }
}

}  // namespace
