#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <initializer_list>
#include <string>
#include <vector>

#include "controls/qelcolormath.h"
#include "controls/qelpanels.h"
#include "controls/qeltabs.h"
#include "tests/controls/events.h"

namespace {

using qel::TPoint;
using qel::TRect;

// The tab control with a tab list of its own; records what a page control
// would do on close and move.
class TestTabs : public TQelCustomTabControl {
 public:
  using TQelCustomTabControl::TQelCustomTabControl;
  void SetCaptions(std::initializer_list<const char*> captions) {
    TabData().Clear();
    for (const char* c : captions) TabData().Add().Caption = QString::fromLatin1(c);
    RequestLayout();
  }
  TQelTabData& Tab(int i) { return TabData().Items(i); }
  void SetTabEnabled(int i, bool on) {
    Tab(i).Enabled = on;
    RequestLayout();
  }
  int closed = 0;
  std::vector<int> movedTo;

 protected:
  void CloseCurrentTab() override { ++closed; }
  void MoveCurrentTabTo(int target) override { movedTo.push_back(target); }
};

// The recording engine, also noting whether each piece was underlined.
struct Engine : qel::RecordingTextEngine {
  std::vector<bool> underlined;
  void Draw(qel::Canvas& canvas, const QString& text, const TRect& place, const qel::FontValue& font,
            unsigned flags) override {
    RecordingTextEngine::Draw(canvas, text, place, font, flags);
    underlined.push_back(font.Font.underline());
  }
};

TColor At(const qel::Canvas& c, int x, int y) { return c.Pixel(x, y); }

// The program's page control: seven double-slant tabs on top, 468 x 344,
// the card in clWindow, tab 0 current; the events in order.
struct TabControlProgram : ::testing::Test {
  TabControlProgram() { previous = qel::SetTextEngine(&engine); }
  ~TabControlProgram() override { qel::SetTextEngine(previous); }
  void SetUp() override {
    window.resize(600, 400);
    tabs = new TestTabs(&window);
    tabs->setGeometry(0, 0, 468, 344);
    tabs->SetCaptions({"RS232/485", "IR", "TCP/IP", "&Delay", "Compare", "LED", "Toggle"});
    tabs->SetTabStyle(qel::tsDoubleSlant);
    tabs->SetColor(clWindow);
    tabs->SetTabIndex(0);
    other = new QLineEdit(&window);
    other->setGeometry(480, 10, 100, 24);
    QObject::connect(tabs, &TQelCustomTabControl::Changing, [this](int i, bool& allow) {
      log.push_back("Changing " + std::to_string(i));
      if (i == veto) allow = false;
    });
    QObject::connect(tabs, &TQelCustomTabControl::Change,
                     [this] { log.push_back("Change " + std::to_string(tabs->TabIndex())); });
    QObject::connect(tabs, &TQelCustomTabControl::TabClick, [this] { log.push_back("TabClick"); });
    QObject::connect(tabs, &TQelCustomTabControl::Click, [this] { log.push_back("Click"); });
    ShowActive(&window);
    other->setFocus();
    tabs->UpdateLayout();
    log.clear();
  }
  using Log = std::vector<std::string>;
  // The caption pieces drawn inside a rectangle, in order.
  std::vector<std::size_t> DrawnIn(const TRect& r) const {
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < engine.Drawn.size(); ++i) {
      const TRect& p = engine.Drawn[i].place;
      if (p.Left >= r.Left && p.Left < r.Right && p.Top >= r.Top && p.Top < r.Bottom) found.push_back(i);
    }
    return found;
  }
  void Paint() {
    engine.Drawn.clear();
    engine.underlined.clear();
    canvas = tabs->Paint();
  }

  Engine engine;
  qel::TextEngine* previous = nullptr;
  QWidget window;
  TestTabs* tabs = nullptr;
  QLineEdit* other = nullptr;
  Log log;
  int veto = -1;
  qel::Canvas canvas{0, 0};
};

// --- Selection ---

TEST_F(TabControlProgram, WriteTabIndex) {
  tabs->SetTabIndex(7);
  EXPECT_EQ(tabs->TabIndex(), -1);
  EXPECT_EQ(log, Log{});

  tabs->SetTabIndex(0);
  veto = 3;
  log.clear();
  tabs->SetTabIndex(3);
  EXPECT_EQ(tabs->TabIndex(), 0);
  EXPECT_EQ(log, Log{"Changing 3"});

  log.clear();
  tabs->SetTabIndex(2);
  EXPECT_EQ(log, (Log{"Changing 2", "Change 2"}));
  log.clear();
  tabs->SetTabIndex(2);
  EXPECT_EQ(log, Log{});
}

TEST_F(TabControlProgram, Keys) {
  struct Case {
    const char* name;
    int from;
    std::vector<int> disabled;
    qel::TQelTabSequence sequence;
    int key;
    int to;
  };
  const Case cases[] = {
      {"Right on the last tab wraps", 6, {0}, qel::tsStandard, Qt::Key_Right, 1},
      {"Down goes forward too", 2, {3}, qel::tsStandard, Qt::Key_Down, 4},
      {"Left wraps back to the last", 0, {}, qel::tsStandard, Qt::Key_Left, 6},
      {"all others disabled", 6, {0, 1, 2, 3, 4, 5}, qel::tsStandard, Qt::Key_Right, 6},
      {"Home", 4, {0}, qel::tsStandard, Qt::Key_Home, 1},
      {"Home stops at the current tab", 1, {0}, qel::tsStandard, Qt::Key_Home, 1},
      {"End", 2, {6}, qel::tsStandard, Qt::Key_End, 5},
      {"reverse: Right goes back", 2, {}, qel::tsReverse, Qt::Key_Right, 1},
      {"reverse: Up goes forward", 2, {}, qel::tsReverse, Qt::Key_Up, 3},
      {"none current: forward from the first", -1, {0}, qel::tsStandard, Qt::Key_Right, 1},
      {"none current: backward from the last", -1, {}, qel::tsStandard, Qt::Key_Left, 6},
      {"none current, every tab disabled", -1, {0, 1, 2, 3, 4, 5, 6}, qel::tsStandard, Qt::Key_Right, -1},
      {"none current, every tab disabled, back", -1, {0, 1, 2, 3, 4, 5, 6}, qel::tsStandard, Qt::Key_Up, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < 7; ++i) tabs->SetTabEnabled(i, true);
    tabs->SetTabSequence(c.sequence);
    tabs->SetTabIndex(c.from);
    for (int i : c.disabled) tabs->SetTabEnabled(i, false);
    log.clear();
    PressKey(tabs, c.key);
    EXPECT_EQ(tabs->TabIndex(), c.to);
    if (c.to != c.from)
      EXPECT_EQ(log, (Log{"Changing " + std::to_string(c.to), "Change " + std::to_string(c.to), "TabClick"}));
    else
      EXPECT_TRUE(std::find(log.begin(), log.end(), "TabClick") == log.end());
  }
}

TEST_F(TabControlProgram, Mouse) {
  // An unselected tab: selected, not focused, TabClick before Click.
  MouseClick(tabs, {152, 10});
  EXPECT_EQ(tabs->TabIndex(), 2);
  EXPECT_FALSE(tabs->hasFocus());
  EXPECT_EQ(log, (Log{"Changing 2", "Change 2", "TabClick", "Click"}));

  // The current tab focuses the control.
  log.clear();
  MouseClick(tabs, {152, 10});
  EXPECT_TRUE(tabs->hasFocus());
  EXPECT_EQ(log, (Log{"TabClick", "Click"}));

  // A disabled tab, and a vetoed one, change nothing.
  other->setFocus();
  tabs->SetTabEnabled(4, false);
  veto = 5;
  for (QPoint at : {QPoint(270, 10), QPoint(320, 10)}) {
    log.clear();
    MouseClick(tabs, at);
    EXPECT_EQ(tabs->TabIndex(), 2);
    EXPECT_FALSE(tabs->hasFocus());
    EXPECT_TRUE(std::find(log.begin(), log.end(), "TabClick") == log.end());
    EXPECT_TRUE(std::find(log.begin(), log.end(), "Change 2") == log.end());
  }
  // The right button does nothing.
  MousePress(tabs, {100, 10}, Qt::RightButton);
  EXPECT_EQ(tabs->TabIndex(), 2);
}

TEST_F(TabControlProgram, AcceleratorSelectsItsTab) {
  QTest::keyClick(other, Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(tabs->TabIndex(), 3);
  EXPECT_TRUE(tabs->hasFocus());
  EXPECT_EQ(log, (Log{"Changing 3", "Change 3", "TabClick"}));

  tabs->SetTabIndex(0);
  tabs->SetTabEnabled(3, false);
  other->setFocus();
  QTest::keyClick(other, Qt::Key_D, Qt::AltModifier);
  EXPECT_EQ(tabs->TabIndex(), 0);
  EXPECT_FALSE(tabs->hasFocus());

  // New captions, new accelerators.
  tabs->SetCaptions({"One", "&Two"});
  tabs->UpdateLayout();
  QTest::keyClick(other, Qt::Key_T, Qt::AltModifier);
  EXPECT_EQ(tabs->TabIndex(), 1);
}

TEST_F(TabControlProgram, ThreeRowsBringTheCurrentRowToTheCard) {
  tabs->SetMultiLine(true);
  tabs->resize(200, 344);
  ASSERT_EQ(tabs->RowCount(), 3);
  std::vector<int> before;
  int outer = -1;
  for (int i = 0; i < 7; ++i) {
    before.push_back(tabs->Tabs().Items(i).Row);
    if (before.back() == 2 && outer < 0) outer = i;
  }
  ASSERT_GE(outer, 0);
  const TRect rect = tabs->TabClientRect(outer);
  MouseClick(tabs, {(rect.Left + rect.Right) / 2, (rect.Top + rect.Bottom) / 2});
  ASSERT_EQ(tabs->TabIndex(), outer);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(tabs->Tabs().Items(i).Row, (before[std::size_t(i)] + 1) % 3) << "tab " << i;
  // The front row lies next to the card.
  EXPECT_EQ(tabs->TabClientRect(outer).Bottom, tabs->CardRect(0).Top);
}

// A list that shrank leaves TabIndex past its end until the next layout:
// input runs that layout first, which searches back from the last tab.
TEST_F(TabControlProgram, ShrunkListIsLaidOutBeforeInput) {
  tabs->SetTabIndex(6);
  log.clear();
  tabs->SetCaptions({"RS232/485", "IR", "TCP/IP"});
  ASSERT_EQ(tabs->TabIndex(), 6);
  PressKey(tabs, Qt::Key_Left);
  EXPECT_EQ(tabs->TabIndex(), 1);
  EXPECT_EQ(log, (Log{"Changing 2", "Change 2", "Changing 1", "Change 1", "TabClick"}));

  tabs->SetTabIndex(2);
  tabs->SetCaptions({"RS232/485"});
  EXPECT_EQ(tabs->TabIndexAtPoint({50, 10}), 0);
  EXPECT_EQ(tabs->TabIndex(), 0);
}

// --- Properties ---

TEST_F(TabControlProgram, DefaultsAndCouplings) {
  TestTabs fresh;
  EXPECT_EQ(fresh.size(), QSize(300, 100));
  EXPECT_TRUE(fresh.TabStop());
  EXPECT_EQ(fresh.focusPolicy(), Qt::TabFocus);
  EXPECT_EQ(fresh.TabIndex(), -1);
  EXPECT_EQ(fresh.TabStyle(), qel::tsSingleSlant);
  EXPECT_TRUE(fresh.HotTrack());
  EXPECT_TRUE(fresh.ShowShadow());
  EXPECT_TRUE(fresh.ParentBackgroundColor());
  EXPECT_EQ(fresh.CutCornerSize(), 6);
  EXPECT_EQ(fresh.RowIndent(), 5);
  EXPECT_EQ(fresh.ImageMargin(), 2);
  EXPECT_EQ(fresh.RegionCacheCapacity(), 1);
  EXPECT_TRUE(fresh.CardVisible());

  tabs->SetShowFullFrame(false);
  EXPECT_FALSE(tabs->ShowShadow());
  tabs->SetShowShadow(true);
  EXPECT_TRUE(tabs->ShowFullFrame());

  // Negative sizes are ignored.
  for (auto set :
       {&TQelCustomTabControl::SetMargin, &TQelCustomTabControl::SetTabHeight, &TQelCustomTabControl::SetRowIndent,
        &TQelCustomTabControl::SetImageMargin, &TQelCustomTabControl::SetCutCornerSize})
    (tabs->*set)(-1);
  EXPECT_EQ(tabs->Margin(), 0);
  EXPECT_EQ(tabs->TabHeight(), 0);
  EXPECT_EQ(tabs->RowIndent(), 5);
  EXPECT_EQ(tabs->ImageMargin(), 2);
  EXPECT_EQ(tabs->CutCornerSize(), 6);
  tabs->SetRegionCacheCapacity(0);
  EXPECT_EQ(tabs->RegionCacheCapacity(), 1);

  // The corner size moves only cut corners.
  tabs->UpdateLayout();
  tabs->SetCutCornerSize(8);
  EXPECT_FALSE(tabs->LayoutNeeded());
  tabs->SetTabStyle(qel::tsCutCorner);
  tabs->UpdateLayout();
  tabs->SetCutCornerSize(9);
  EXPECT_TRUE(tabs->LayoutNeeded());
  // Multi-line only for AlignTabs.
  tabs->UpdateLayout();
  tabs->SetAlignTabs(true);
  EXPECT_FALSE(tabs->LayoutNeeded());

  // The background follows the parent until set.
  auto* panel = new TQelPanel(&window);
  auto* child = new TestTabs(panel);
  panel->SetColor(clYellow);
  EXPECT_EQ(child->BackgroundColor(), clYellow);
  child->SetBackgroundColor(clRed);
  EXPECT_FALSE(child->ParentBackgroundColor());
  panel->SetColor(clAqua);
  EXPECT_EQ(child->BackgroundColor(), clRed);
  child->SetParentBackgroundColor(true);
  EXPECT_EQ(child->BackgroundColor(), clAqua);

  // FixedDimension of an old form is taken; layout recomputes it.
  TestTabs stored;
  EXPECT_TRUE(stored.applyLegacyProperty(QStringLiteral("FixedDimension"), 23));
  stored.SetCaptions({"A"});
  EXPECT_EQ(stored.FixedDimension(), 19);
}

// A Color change tells the children; with coloured tabs that is all.
TEST_F(TabControlProgram, ColorTellsTheChildren) {
  auto* panel = new TQelPanel(tabs);
  panel->SetParentColor(true);
  tabs->SetColor(clYellow);
  EXPECT_EQ(panel->Color(), clYellow);
  tabs->SetUseColoredTabs(true);
  tabs->SetColor(clAqua);
  EXPECT_EQ(panel->Color(), clAqua);
}

TEST_F(TabControlProgram, ChildrenAlignInsideTheCard) {
  auto* child = new QWidget(tabs);
  child->show();
  qel::SetAlign(child, qel::alClient);
  EXPECT_EQ(child->geometry(), QRect(1, 20, 464, 321));
  tabs->resize(400, 300);
  tabs->UpdateLayout();
  const TRect r = tabs->CardClientRect();
  EXPECT_EQ(child->geometry(), QRect(r.Left, r.Top, r.Width(), r.Height()));
}

TEST_F(TabControlProgram, CloseButton) {
  tabs->SetShowCloseButton(true);
  tabs->UpdateLayout();
  TQelTabCloseButton* button = tabs->CloseButton();
  ASSERT_NE(button, nullptr);
  EXPECT_TRUE(button->isVisible());
  // No handler: nothing closes.
  MouseClick(button, {5, 5});
  EXPECT_EQ(tabs->closed, 0);
  int asked = 0;
  QObject::connect(tabs, &TQelCustomTabControl::Close, [&](bool& allow) {
    ++asked;
    allow = true;
  });
  MouseClick(button, {5, 5});
  EXPECT_EQ(tabs->closed, 1);
  // No current tab: not even asked.
  tabs->SetTabIndex(-1);
  MouseClick(button, {5, 5});
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(tabs->closed, 1);
  tabs->SetShowCloseButton(false);
  EXPECT_FALSE(button->isVisible());
}

TEST_F(TabControlProgram, HotTrackingEndsWhenTheTimerFindsNoTab) {
  QPoint cursor = tabs->mapToGlobal(QPoint(106, 10));
  const auto keep = TQelCustomTabControl::SetCursorHook([&] { return cursor; });
  MouseMove(tabs, {106, 10});
  EXPECT_EQ(tabs->HotTabIndex(), 1);
  EXPECT_TRUE(tabs->HotTimer().isActive());
  QTest::qWait(150);
  EXPECT_EQ(tabs->HotTabIndex(), 1);  // still over it
  cursor = tabs->mapToGlobal(QPoint(200, 200));
  for (int i = 0; i < 50 && tabs->HotTabIndex() != -1; ++i) QTest::qWait(20);
  EXPECT_EQ(tabs->HotTabIndex(), -1);
  EXPECT_FALSE(tabs->HotTimer().isActive());
  TQelCustomTabControl::SetCursorHook(keep);
}

TEST_F(TabControlProgram, TabHints) {
  tabs->SetHint(QStringLiteral("control"));
  tabs->SetTabHints(true);
  tabs->SetHotTrack(false);
  tabs->Tab(1).Hint = QStringLiteral("infra-red");
  MouseMove(tabs, {106, 10});
  EXPECT_EQ(tabs->Hint(), QStringLiteral("infra-red"));
  MouseMove(tabs, {440, 8});  // bare strip
  EXPECT_EQ(tabs->Hint(), QString());
  MouseMove(tabs, {200, 200});  // the card
  EXPECT_EQ(tabs->Hint(), QStringLiteral("control"));
  // A tab without a hint keeps the control's.
  MouseMove(tabs, {152, 10});
  EXPECT_EQ(tabs->Hint(), QStringLiteral("control"));
}

TEST_F(TabControlProgram, DragReorder) {
  tabs->SetAllowTabDragging(true);
  const QPoint from(50, 10), over(152, 10);
  MousePress(tabs, from);
  MouseMove(tabs, from + QPoint(1, 0), Qt::LeftButton);  // within the threshold
  EXPECT_TRUE(tabs->DragMarks().empty());
  MouseMove(tabs, over, Qt::LeftButton);
  ASSERT_EQ(tabs->DragMarks().size(), 1u);
  EXPECT_EQ(tabs->DragMarks()[0], tabs->DragMarkRect(2));
  MouseMove(tabs, {50, 10}, Qt::LeftButton);  // back over the dragged tab: no mark
  EXPECT_TRUE(tabs->DragMarks().empty());
  MouseMove(tabs, over, Qt::LeftButton);
  MouseMove(tabs, {700, 10}, Qt::LeftButton);  // out of the control
  EXPECT_TRUE(tabs->DragMarks().empty());
  MouseMove(tabs, over, Qt::LeftButton);
  log.clear();
  MouseRelease(tabs, over);
  EXPECT_EQ(tabs->movedTo, std::vector<int>{2});
  EXPECT_TRUE(tabs->DragMarks().empty());
  EXPECT_EQ(log, Log{});  // a drop is no click

  // Without AllowTabDragging nothing drags.
  tabs->SetAllowTabDragging(false);
  MousePress(tabs, from);
  MouseMove(tabs, over, Qt::LeftButton);
  MouseRelease(tabs, over);
  EXPECT_EQ(tabs->movedTo.size(), 1u);
}

TEST_F(TabControlProgram, DragMarkRectangles) {
  struct Case {
    qel::TQelTabOrientation orientation;
    qel::TQelTabStyle style;
    int target;
    // From the target's client rectangle and FixedDimension div 2.
    TRect (*expected)(const TRect& r, int half);
  };
  const Case cases[] = {
      {qel::toTop, qel::tsDoubleSlant, 1,
       [](const TRect& r, int h) {
         return TRect{r.Right - 7 - h, r.Top - 2, r.Right + 8 - h, r.Top + 6};
       }},
      {qel::toTop, qel::tsCutCorner, 1,
       [](const TRect& r, int) {
         return TRect{r.Right - 6, r.Top - 2, r.Right + 9, r.Top + 6};
       }},
      {qel::toBottom, qel::tsDoubleSlant, 0,
       [](const TRect& r, int h) {
         return TRect{r.Left - 8 + h, r.Bottom - 6, r.Left + 7 + h, r.Bottom + 2};
       }},
      {qel::toLeft, qel::tsDoubleSlant, 0,
       [](const TRect& r, int h) {
         return TRect{r.Left - 2, r.Bottom - 7 - h, r.Left + 6, r.Bottom + 8 - h};
       }},
      {qel::toLeft, qel::tsRoundCorners, 1,
       [](const TRect& r, int) {
         return TRect{r.Left - 2, r.Top - 8, r.Left + 6, r.Top + 7};
       }},
      {qel::toRight, qel::tsDoubleSlant, 0,
       [](const TRect& r, int h) {
         return TRect{r.Right - 5, r.Top - 8 + h + 1, r.Right + 3, r.Top + 7 + h + 1};
       }},
      {qel::toRight, qel::tsSingleSlant, 1,
       [](const TRect& r, int h) {
         return TRect{r.Right - 5, r.Bottom - 7 - h, r.Right + 3, r.Bottom + 8 - h};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "orientation " << c.orientation << " style " << c.style);
    tabs->SetTabOrientation(c.orientation);
    tabs->SetTabStyle(c.style);
    tabs->SetTabIndex(c.target == 0 ? 1 : 0);
    EXPECT_EQ(tabs->DragMarkRect(c.target), c.expected(tabs->TabClientRect(c.target), tabs->FixedDimension() / 2));
  }
}

TEST_F(TabControlProgram, DragMarkIsAnExclusiveOr) {
  Paint();
  const qel::Canvas plain = canvas;
  tabs->SetAllowTabDragging(true);
  MousePress(tabs, {50, 10});
  MouseMove(tabs, {152, 10}, Qt::LeftButton);
  ASSERT_EQ(tabs->DragMarks().size(), 1u);
  const TRect m = tabs->DragMarks()[0];
  Paint();
  // The arrow between the triangles flips by the shadow colour; inside a
  // black triangle nothing changes.
  EXPECT_EQ(At(canvas, m.Left + 7, m.Top + 3), At(plain, m.Left + 7, m.Top + 3) ^ 0x808080u);
  EXPECT_EQ(At(canvas, m.Left + 1, m.Top + 7), At(plain, m.Left + 1, m.Top + 7));
  MouseRelease(tabs, {700, 10});
  Paint();
  EXPECT_EQ(At(canvas, m.Left + 7, m.Top + 3), At(plain, m.Left + 7, m.Top + 3));
  EXPECT_TRUE(tabs->movedTo.empty());
}

TEST_F(TabControlProgram, ScrollingSingleLineTabs) {
  tabs->resize(300, 344);
  ASSERT_TRUE(tabs->ScrollNeeded());
  ASSERT_NE(tabs->Scroller(), nullptr);
  EXPECT_TRUE(tabs->Scroller()->isVisible());
  EXPECT_FALSE(tabs->ScrollTabs(false));
  EXPECT_TRUE(tabs->ScrollTabs(true));
  EXPECT_EQ(tabs->FirstShownTab(), 1);
  // Selecting a tab beyond the window scrolls it into view.
  tabs->SetTabIndex(6);
  EXPECT_TRUE(tabs->IsTabShown(6));
  tabs->SetTabIndex(0);
  EXPECT_EQ(tabs->FirstShownTab(), 0);
  tabs->resize(468, 344);
  EXPECT_FALSE(tabs->ScrollNeeded());
  EXPECT_FALSE(tabs->Scroller()->isVisible());
}

// --- Loading ---

TEST_F(TabControlProgram, FinishLoadAppliesWhatWasRead) {
  TestTabs* loading = new TestTabs(&window);
  int changes = 0, asked = 0;
  QObject::connect(loading, &TQelCustomTabControl::Changing, [&](int, bool&) { ++asked; });
  QObject::connect(loading, &TQelCustomTabControl::Change, [&] { ++changes; });
  loading->beginLoad();
  loading->SetCaptions({"One", "Two", "Three", "Four"});
  loading->SetShowCloseButton(true);
  loading->SetTabIndex(3);
  loading->SetTabOrientation(qel::toBottom);
  loading->UpdateLayout();
  EXPECT_EQ(loading->TabIndex(), 3);
  EXPECT_EQ(asked + changes, 0);
  EXPECT_TRUE(loading->LayoutNeeded());
  EXPECT_FALSE(loading->CloseButton()->isVisible());
  loading->finishLoad();
  EXPECT_EQ(loading->TabIndex(), 3);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(loading->TabStripRect().Bottom, 99);  // laid out on the bottom
  EXPECT_TRUE(loading->CloseButton()->isVisibleTo(loading));
}

// --- Pixels ---

TEST_F(TabControlProgram, CurrentTabAndCard) {
  for (int current : {0, 1}) {
    SCOPED_TRACE(current);
    tabs->SetTabIndex(current);
    Paint();
    EXPECT_EQ(At(canvas, 90, 15), clWhite);  // inside tabs 0 and 1: the current one's fill
  }
  tabs->SetTabIndex(0);
  Paint();
  EXPECT_EQ(At(canvas, 50, 19), clWhite);               // the card is open under the current tab
  EXPECT_EQ(At(canvas, 200, 19), RGB(128, 128, 128));   // and framed beside it
  EXPECT_EQ(At(canvas, 50, 2), RGB(0x0A, 0x24, 0x6A));  // the current tab's bar
  // Tab 2: Shadow next to the card, nearly Unselected at its outer edge.
  EXPECT_EQ(At(canvas, 152, 18), RGB(0xD4, 0xD0, 0xC8));
  const TColor outer = At(canvas, 152, 1);
  EXPECT_GE(GetRValue(outer), 245);
  EXPECT_GE(GetBValue(outer), 245);
  // The frame, and the card shadow mixed into the parent's grey.
  EXPECT_EQ(At(canvas, 0, 100), RGB(128, 128, 128));
  EXPECT_EQ(At(canvas, 465, 100), RGB(128, 128, 128));
  const TColor beneath = QRgbToColor(window.palette().color(QPalette::Window).rgb());
  EXPECT_EQ(At(canvas, 466, 100), MixColors(clBlack, beneath, 30));
  EXPECT_EQ(At(canvas, 467, 100), MixColors(clBlack, beneath, 15));
}

TEST_F(TabControlProgram, HotBarIsTheComplementOfHotTrackColor) {
  MouseMove(tabs, {106, 10});
  ASSERT_EQ(tabs->HotTabIndex(), 1);
  Paint();
  EXPECT_EQ(At(canvas, 106, 2), RGB(255, 197, 43));
  tabs->SetHotTrackColorType(TQelCustomTabControl::htctActual);
  Paint();
  EXPECT_EQ(At(canvas, 106, 2), RGB(0x0A, 0x24, 0x6A));
  tabs->SetHotTrackStyle(TQelCustomTabControl::htsText);
  Paint();
  EXPECT_NE(At(canvas, 106, 2), RGB(0x0A, 0x24, 0x6A));
  const auto pieces = DrawnIn(tabs->TabClientRect(1));
  ASSERT_FALSE(pieces.empty());
  EXPECT_EQ(engine.Drawn[pieces[0]].color, clHighlight);
}

TEST_F(TabControlProgram, TransparentShowsWhatLiesBeneath) {
  QWidget parent;
  parent.resize(500, 380);
  parent.setAutoFillBackground(true);
  QPalette palette;
  palette.setColor(QPalette::Window, QColor(200, 100, 50));
  parent.setPalette(palette);
  auto* control = new TestTabs(&parent);
  control->setGeometry(0, 0, 468, 344);
  control->SetCaptions({"RS232/485", "IR", "TCP/IP"});
  control->SetTabStyle(qel::tsDoubleSlant);
  control->SetColor(clWindow);
  control->SetTabIndex(0);
  control->SetTransparent(true);
  parent.show();
  const QImage image = parent.grab().toImage();
  EXPECT_EQ(image.pixelColor(466, 100), QColor(176, 88, 44));
  EXPECT_EQ(image.pixelColor(467, 100), QColor(188, 94, 47));
  EXPECT_EQ(image.pixelColor(100, 342), QColor(176, 88, 44));
  EXPECT_EQ(image.pixelColor(400, 8), QColor(200, 100, 50));     // beside the tabs
  EXPECT_EQ(image.pixelColor(200, 200), QColor(255, 255, 255));  // the card
  // Opaque again: the same shadow from the parent's image.
  control->SetTransparent(false);
  const QImage opaque = parent.grab().toImage();
  EXPECT_EQ(opaque.pixelColor(466, 100), QColor(176, 88, 44));
  EXPECT_EQ(opaque.pixelColor(400, 8), QColor(200, 100, 50));  // BackgroundColor from the parent
}

TEST_F(TabControlProgram, ColoredTabs) {
  tabs->SetUseColoredTabs(true);
  tabs->Tab(0).Color = clYellow;
  const TColor blue = RGB(64, 128, 255);
  tabs->Tab(2).Color = blue;
  Paint();
  EXPECT_EQ(At(canvas, 200, 200), RGB(255, 255, 0));
  EXPECT_EQ(At(canvas, 50, 10), RGB(255, 255, 0));
  EXPECT_EQ(At(canvas, 152, 18), ShadeColor(blue, 30));
  // Row 0 is the outline; row 1 is one band short of the colour.
  const TColor outer = At(canvas, 152, 1);
  EXPECT_LE(std::abs(GetRValue(outer) - 64), 8);
  EXPECT_LE(std::abs(GetGValue(outer) - 128), 8);
  EXPECT_LE(std::abs(GetBValue(outer) - 255), 8);
}

TEST_F(TabControlProgram, NoTabsDrawsTheFramedCardOnly) {
  tabs->SetCaptions({});
  Paint();
  EXPECT_EQ(tabs->TabIndex(), -1);
  EXPECT_EQ(At(canvas, 0, 0), RGB(128, 128, 128));
  EXPECT_EQ(At(canvas, 200, 0), RGB(128, 128, 128));
  EXPECT_EQ(At(canvas, 0, 200), RGB(128, 128, 128));
  EXPECT_EQ(At(canvas, 200, 10), clWhite);
  EXPECT_EQ(At(canvas, 200, 341), RGB(128, 128, 128));
  EXPECT_TRUE(engine.Drawn.empty());
}

// --- Captions ---

TEST_F(TabControlProgram, CaptionsThroughTheTextEngine) {
  tabs->Tab(1).Caption = QStringLiteral("A&&B");
  tabs->SetTabEnabled(2, false);
  tabs->UpdateLayout();
  Paint();
  auto texts = [&](int tab) {
    std::vector<std::string> out;
    for (std::size_t i : DrawnIn(tabs->TabClientRect(tab)))
      out.push_back(engine.Drawn[i].text.toStdString() + (engine.underlined[i] ? "_" : ""));
    return out;
  };
  EXPECT_EQ(texts(3), (std::vector<std::string>{"D_", "elay"}));
  EXPECT_EQ(texts(1), (std::vector<std::string>{"A", "&", "B"}));
  // "D" then "elay" one character on.
  const auto delay = DrawnIn(tabs->TabClientRect(3));
  EXPECT_EQ(engine.Drawn[delay[1]].place.Left, engine.Drawn[delay[0]].place.Left + 7);

  // A disabled caption twice: highlight one pixel right and down, then shadow.
  const auto disabled = DrawnIn(tabs->TabClientRect(2));
  ASSERT_EQ(disabled.size(), 2u);
  const auto& first = engine.Drawn[disabled[0]];
  const auto& second = engine.Drawn[disabled[1]];
  EXPECT_EQ(first.color, clBtnHighlight);
  EXPECT_EQ(second.color, clBtnShadow);
  EXPECT_EQ(first.place.Left, second.place.Left + 1);
  EXPECT_EQ(first.place.Top, second.place.Top + 1);
  // The program's first caption: centred in its text area.
  const auto rs = DrawnIn(tabs->TabClientRect(0));
  ASSERT_EQ(rs.size(), 1u);
  EXPECT_EQ(engine.Drawn[rs[0]].place.Left, 19);
  EXPECT_EQ(engine.Drawn[rs[0]].place.Top, 4);
}

TEST_F(TabControlProgram, GetTextColorForTheSelectedStyle) {
  QObject::connect(tabs, &TQelCustomTabControl::GetTextColor,
                   [](int, TQelCustomTabControl::TQelTextStyle style, TColor& colour, bool& handled) {
                     if (style != TQelCustomTabControl::tsSelected) return;
                     colour = clRed;
                     handled = true;
                   });
  Paint();
  for (int t = 0; t < 7; ++t)
    for (std::size_t i : DrawnIn(tabs->TabClientRect(t)))
      EXPECT_EQ(engine.Drawn[i].color, t == 0 ? clRed : clBtnText) << "tab " << t;
}

TEST_F(TabControlProgram, VerticalTextStaysInsideItsTab) {
  tabs->SetTabStyle(qel::tsCutCorner);
  tabs->SetTextOrientation(qel::orVertical);
  for (auto o : {qel::toTop, qel::toLeft, qel::toBottom, qel::toRight}) {
    SCOPED_TRACE(o);
    tabs->SetTabOrientation(o);
    Paint();
    const TRect r = tabs->TabClientRect(2);
    const auto e = *std::find_if(engine.Drawn.begin(), engine.Drawn.end(),
                                 [](const auto& d) { return d.text == QStringLiteral("TCP/IP"); });
    const int length = 6 * 7;
    // Turned up from its point (900) or down from it (2700, right strip).
    TRect box;
    if (o == qel::toRight) {
      EXPECT_EQ(e.escapement, 2700);
      box = {e.place.Left - 13, e.place.Top, e.place.Left, e.place.Top + length};
    } else {
      EXPECT_EQ(e.escapement, 900);
      box = {e.place.Left, e.place.Top - length, e.place.Left + 13, e.place.Top};
    }
    EXPECT_GE(box.Left, r.Left);
    EXPECT_LE(box.Right, r.Right);
    EXPECT_GE(box.Top, r.Top);
    EXPECT_LE(box.Bottom, r.Bottom);
  }
}

TEST_F(TabControlProgram, FocusRectangleOnTheCurrentTab) {
  Paint();
  const qel::Canvas unfocused = canvas;
  tabs->setFocus();
  Paint();
  int changed = 0;
  for (int y = 0; y < 19; ++y)
    for (int x = 0; x < 100; ++x)
      if (At(canvas, x, y) != At(unfocused, x, y)) ++changed;
  EXPECT_GT(changed, 20);
  // Only the current tab has it.
  for (int y = 0; y < 19; ++y)
    for (int x = 120; x < 200; ++x) ASSERT_EQ(At(canvas, x, y), At(unfocused, x, y));
}

}  // namespace
