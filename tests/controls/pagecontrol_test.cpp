#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/qeltabs.h"
#include "tests/controls/events.h"

namespace {

using qel::TRect;
using Log = std::vector<std::string>;

const char* const kCaptions[] = {"RS232/485", "IR", "TCP/IP", "Delay", "Compare", "LED", "Toggle"};

QPoint Middle(const TRect& r) { return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2 + 2}; }

// A page control in an active window beside a line edit of its own; each
// sheet holds one edit. Changing and Change are logged; veto refuses a tab.
struct PageControl : ::testing::Test {
  void SetUp() override {
    window.resize(600, 400);
    outside = new QLineEdit(&window);
    outside->setGeometry(480, 10, 100, 24);
    pages = new TQelPageControl(&window);
    pages->setGeometry(0, 0, 468, 344);
    QObject::connect(pages, &TQelCustomTabControl::Changing, [this](int i, bool& allow) {
      log.push_back("Changing " + std::to_string(i));
      if (i == veto) allow = false;
    });
    QObject::connect(pages, &TQelCustomTabControl::Change,
                     [this] { log.push_back("Change " + std::to_string(pages->TabIndex())); });
  }
  // n sheets named after the program's pages, an edit on each; the first
  // active.
  void Build(int n) {
    for (int i = 0; i < n; ++i) {
      TQelTabSheet* s = pages->AddSheet(QString::fromLatin1(kCaptions[i]));
      edits.push_back(new QLineEdit(s));
      edits.back()->setGeometry(10, 10, 80, 22);
    }
    pages->SetActivePage(pages->Page(0));
    ShowActive(&window);
    outside->setFocus();
    log.clear();
  }
  TQelTabSheet* Sheet(int i) const { return pages->Page(i); }
  // The sheets shown, by page index.
  std::vector<int> Shown() const {
    std::vector<int> shown;
    for (int i = 0; i < pages->PageCount(); ++i)
      if (Sheet(i)->isVisibleTo(pages)) shown.push_back(i);
    return shown;
  }
  void CtrlTab(QWidget* focus, Qt::KeyboardModifiers extra = Qt::NoModifier) {
    QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier | extra);
  }

  QWidget window;
  QLineEdit* outside = nullptr;
  TQelPageControl* pages = nullptr;
  std::vector<QLineEdit*> edits;
  Log log;
  int veto = -1;
};

// --- Built as the program builds it ---

TEST_F(PageControl, LoadedAsTheMainWindowsPages) {
  ShowActive(&window);
  pages->beginLoad();
  for (const char* c : kCaptions) pages->AddSheet(QString::fromLatin1(c));
  pages->SetFlatColor(clAqua);
  pages->SetTabStyle(qel::tsDoubleSlant);
  pages->SetTransparent(true);
  pages->SetColor(clWindow);
  pages->SetActivePage(Sheet(0));
  pages->SetTabIndex(0);
  EXPECT_EQ(pages->ActivePage(), Sheet(0));  // only stored while loading
  pages->finishLoad();

  EXPECT_EQ(Shown(), std::vector<int>{0});
  EXPECT_EQ(pages->TabIndex(), 0);
  EXPECT_EQ(pages->ActivePage(), Sheet(0));
  EXPECT_EQ(log, Log{});
  EXPECT_FALSE(pages->UseColoredTabs());
  ASSERT_EQ(pages->count(), 7);
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(Sheet(i)->Color(), clWindow);
    EXPECT_EQ(pages->tabText(i), QString::fromLatin1(kCaptions[i]));
  }

  pages->SetTabIndex(3);
  EXPECT_EQ(Shown(), std::vector<int>{3});
  EXPECT_EQ(pages->tabText(3), "Delay");
  EXPECT_EQ(log, (Log{"Changing 3", "Change 3"}));
  QApplication::processEvents();
  EXPECT_FALSE(pages->ScrollNeeded());
  const QRect client = qel::ToQRect(pages->CardClientRect());
  for (int i = 0; i < 7; ++i) EXPECT_EQ(Sheet(i)->geometry(), client) << i;
}

TEST_F(PageControl, AfterLoadingTheDefaultPageShowsWithoutEvents) {
  pages->beginLoad();
  for (int i = 0; i < 3; ++i) pages->AddSheet(QString::fromLatin1(kCaptions[i]));
  pages->SetActivePage(Sheet(1));
  pages->SetActivePage(Sheet(0));
  pages->SetActivePageDefault(Sheet(2));
  pages->finishLoad();
  ShowActive(&window);
  EXPECT_EQ(pages->ActivePage(), Sheet(2));
  EXPECT_EQ(pages->TabIndex(), 2);
  EXPECT_EQ(Shown(), std::vector<int>{2});
  EXPECT_EQ(log, Log{});
}

TEST_F(PageControl, DefaultsAndNames) {
  TQelPageControl fresh;
  EXPECT_EQ(fresh.height(), 150);
  EXPECT_FALSE(fresh.UseColoredTabs());
  EXPECT_EQ(fresh.ActivePage(), nullptr);
  EXPECT_EQ(fresh.ActivePageIndex(), -1);
  TQelTabSheet* s = fresh.AddSheet("One");
  EXPECT_TRUE(s->isHidden());
  EXPECT_EQ(s->parentWidget(), &fresh);
  EXPECT_EQ(qel::AlignOf(s), qel::alClient);
  EXPECT_EQ(s->Color(), clBtnFace);
  EXPECT_EQ(s->PageIndex(), 0);
  // A sheet made with a page control as parent is listed in it.
  auto* second = new TQelTabSheet(&fresh);
  EXPECT_EQ(second->PageControl(), &fresh);
  EXPECT_EQ(fresh.count(), 2);
  TQelTabSheet alone;
  EXPECT_EQ(alone.PageIndex(), -1);
  EXPECT_EQ(alone.VisibleTabIndex(), -1);
  alone.SetPageIndex(5);  // nothing without a page control
}

// --- The edge cases of the tabs ---

TEST_F(PageControl, HidingTheActiveTabKeepsItsSheetShown) {
  Build(3);
  pages->SetTabIndex(1);
  Sheet(1)->SetTabVisible(false);
  EXPECT_EQ(pages->TabIndex(), -1);
  EXPECT_EQ(pages->ActivePage(), Sheet(1));
  EXPECT_EQ(Shown(), std::vector<int>{1});
  Sheet(1)->SetTabVisible(true);
  EXPECT_EQ(pages->TabIndex(), 1);
}

TEST_F(PageControl, CtrlTabWalksThePagesWithATab) {
  Build(3);
  Sheet(1)->SetTabVisible(false);
  EXPECT_EQ(Sheet(2)->VisibleTabIndex(), 1);
  EXPECT_EQ(pages->SheetForTab(1), Sheet(2));
  EXPECT_EQ(pages->SheetForTab(2), nullptr);
  EXPECT_EQ(pages->SheetForTab(-1), nullptr);

  edits[0]->setFocus();
  CtrlTab(edits[0]);
  EXPECT_EQ(pages->ActivePage(), Sheet(2));
  EXPECT_EQ(pages->TabIndex(), 1);
  EXPECT_EQ(QApplication::focusWidget(), edits[2]);
  CtrlTab(edits[2]);  // wraps to the first
  EXPECT_EQ(pages->ActivePage(), Sheet(0));
  // Backwards from the first: the last sheet with a tab. Platforms send
  // Ctrl+Shift+Tab as Tab or as Backtab.
  CtrlTab(edits[0], Qt::ShiftModifier);
  EXPECT_EQ(pages->ActivePage(), Sheet(2));
  QTest::keyClick(edits[2], Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_EQ(pages->ActivePage(), Sheet(0));
  EXPECT_EQ(Shown(), std::vector<int>{0});

  // The focus outside the page control: Ctrl+Tab is not its.
  outside->setFocus();
  CtrlTab(outside);
  EXPECT_EQ(pages->ActivePage(), Sheet(0));
}

TEST_F(PageControl, FindNextPage) {
  Build(3);
  Sheet(0)->SetTabVisible(false);
  Sheet(1)->SetTabVisible(false);
  // From none the walk starts past the end and tests the last sheet last.
  EXPECT_EQ(pages->FindNextPage(nullptr, true, true), Sheet(2));
  EXPECT_EQ(pages->FindNextPage(nullptr, false, true), Sheet(2));
  EXPECT_EQ(pages->FindNextPage(nullptr, true, false), Sheet(0));
  EXPECT_EQ(pages->FindNextPage(Sheet(2), true, true), Sheet(2));
  EXPECT_EQ(pages->FindNextPage(Sheet(2), false, false), Sheet(1));
  pages->HideAllTabs();
  EXPECT_EQ(pages->FindNextPage(Sheet(0), true, true), nullptr);
  EXPECT_EQ(pages->Tabs().Count(), 0);
  pages->ShowAllTabs();
  EXPECT_EQ(pages->Tabs().Count(), 3);
  TQelPageControl empty;
  EXPECT_EQ(empty.FindNextPage(nullptr, true, false), nullptr);

  // The only sheet with a tab: Ctrl+Tab stays on it.
  Sheet(1)->SetTabVisible(false);
  Sheet(2)->SetTabVisible(false);
  edits[0]->setFocus();
  log.clear();
  CtrlTab(edits[0]);
  EXPECT_EQ(pages->ActivePage(), Sheet(0));
  EXPECT_EQ(log, Log{});
}

TEST_F(PageControl, ClosingTheCurrentTab) {
  Build(4);
  pages->SetShowCloseButton(true);
  QObject::connect(pages, &TQelCustomTabControl::Close, [](bool& allow) { allow = true; });
  pages->SetTabIndex(2);
  QPointer<TQelTabSheet> closed = Sheet(2);
  emit pages->CloseButton()->Close();
  EXPECT_TRUE(closed.isNull());
  EXPECT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->TabIndex(), 1);
  EXPECT_EQ(pages->ActivePage(), Sheet(1));

  pages->SetTabIndex(0);
  closed = Sheet(0);
  emit pages->CloseButton()->Close();
  EXPECT_TRUE(closed.isNull());
  EXPECT_EQ(pages->TabIndex(), 0);
  EXPECT_EQ(pages->ActivePage(), Sheet(0));
  EXPECT_EQ(pages->tabText(0), "IR");
  EXPECT_EQ(Shown(), std::vector<int>{0});
}

TEST_F(PageControl, SheetColorsAndColoredTabs) {
  Build(3);
  pages->SetColor(clWindow);
  EXPECT_FALSE(pages->UseColoredTabs());
  EXPECT_EQ(Sheet(1)->Color(), clWindow);
  Sheet(1)->SetColor(clYellow);
  EXPECT_TRUE(pages->UseColoredTabs());
  EXPECT_EQ(pages->Tabs().Items(1).Color, clYellow);
  pages->SetUseColoredTabs(false);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Sheet(i)->Color(), clWindow) << i;
  // The page control's own colour is no reason for coloured tabs.
  Sheet(2)->SetColor(clWindow);
  EXPECT_FALSE(pages->UseColoredTabs());
}

TEST_F(PageControl, CardAndSheetPaintTheActivePagesColor) {
  Build(2);
  Sheet(0)->SetColor(clYellow);
  pages->UpdateLayout();
  const TRect card = pages->CardRect(0);
  qel::Canvas c = pages->Paint();
  EXPECT_EQ(c.Pixel(card.Left + 4, card.Bottom - 4), clYellow);
  const QImage sheet = Sheet(0)->grab().toImage();
  EXPECT_EQ(sheet.pixel(3, 3), ColorToQRgb(clYellow));
  QObject::connect(Sheet(0), &TQelTabSheet::PaintBackground, [](qel::Canvas& canvas, const TRect& r, bool& handled) {
    canvas.FillRect(r, clRed);
    handled = true;
  });
  EXPECT_EQ(Sheet(0)->grab().toImage().pixel(3, 3), ColorToQRgb(clRed));
}

TEST_F(PageControl, MovingASheetMovesItsTab) {
  Build(3);
  Sheet(2)->SetPageIndex(0);
  EXPECT_EQ(pages->tabText(0), "TCP/IP");
  EXPECT_EQ(pages->Tabs().Items(0).Caption, "TCP/IP");
  // The active page keeps its tab.
  EXPECT_EQ(pages->ActivePage()->Caption(), "RS232/485");
  EXPECT_EQ(pages->TabIndex(), 1);
}

// --- Errors ---

TEST_F(PageControl, IndexAndVisibleErrors) {
  Build(3);
  try {
    Sheet(0)->SetPageIndex(3);
    ADD_FAILURE() << "no error";
  } catch (const std::out_of_range& e) {
    EXPECT_STREQ(e.what(), "3 is an invalid PageIndex value. PageIndex must be between 0 and 2");
  }
  EXPECT_THROW(Sheet(0)->SetPageIndex(-1), std::out_of_range);
  EXPECT_THROW(pages->Page(3), std::out_of_range);
  EXPECT_THROW(pages->Page(-1), std::out_of_range);
  EXPECT_THROW(pages->SetActivePageIndex(3), std::out_of_range);
  try {
    Sheet(1)->SetVisible(true);
    ADD_FAILURE() << "no error";
  } catch (const std::logic_error& e) {
    EXPECT_STREQ(e.what(), "You cannot change the Visible property of a page");
  }
  EXPECT_EQ(Shown(), std::vector<int>{0});
  EXPECT_EQ(pages->tabText(0), "RS232/485");

  // A sheet of another page control is ignored.
  TQelPageControl other;
  TQelTabSheet* foreign = other.AddSheet("Other");
  pages->SetActivePage(foreign);
  EXPECT_EQ(pages->ActivePage(), Sheet(0));
  EXPECT_TRUE(foreign->isHidden());
}

TEST_F(PageControl, DeletingTheDefaultPageClearsIt) {
  Build(3);
  pages->SetActivePageDefault(Sheet(2));
  delete Sheet(2);
  EXPECT_EQ(pages->ActivePageDefault(), nullptr);
  EXPECT_EQ(pages->count(), 2);
}

// --- Decided faults ---

TEST_F(PageControl, DropBehindAHiddenTabLandsOnTheDroppedTab) {
  Build(4);
  Sheet(1)->SetTabVisible(false);  // tabs: RS232/485, TCP/IP, Delay
  pages->SetAllowTabDragging(true);
  pages->UpdateLayout();
  TQelTabSheet* moved = Sheet(0);
  const QPoint from = Middle(pages->TabClientRect(0)), onto = Middle(pages->TabClientRect(2));
  MousePress(pages, from);
  MouseMove(pages, from + QPoint(20, 0), Qt::LeftButton);
  MouseMove(pages, onto, Qt::LeftButton);
  MouseRelease(pages, onto);
  EXPECT_EQ(moved->PageIndex(), 3);
  EXPECT_EQ(moved->VisibleTabIndex(), 2);
  EXPECT_EQ(pages->TabIndex(), 2);
  EXPECT_EQ(pages->Tabs().Items(2).Caption, "RS232/485");
}

TEST_F(PageControl, RefusedChangesLeaveOneSheetShown) {
  Build(3);
  veto = 2;
  pages->SetActivePage(Sheet(2));
  EXPECT_EQ(pages->ActivePage(), Sheet(0));
  EXPECT_EQ(Shown(), std::vector<int>{0});
  EXPECT_EQ(log, Log{"Changing 2"});

  // Ctrl+Tab reaches a disabled tab, which refuses.
  Sheet(1)->SetTabEnabled(false);
  edits[0]->setFocus();
  CtrlTab(edits[0]);
  EXPECT_EQ(pages->ActivePage(), Sheet(0));
  EXPECT_EQ(Shown(), std::vector<int>{0});
  EXPECT_EQ(QApplication::focusWidget(), edits[0]);
}

// Ctrl+Tab passes over disabled tabs and refused changes, once round at
// most; with nothing to choose the page stays.
TEST_F(PageControl, CtrlTabPassesDisabledTabsAndRefusals) {
  Build(4);
  struct Case {
    const char* name;
    std::vector<int> disabled;
    int veto;
    bool back;
    int page;
    Log log;
  };
  const Case cases[] = {
      {"past a disabled tab", {1}, -1, false, 2, {"Changing 2", "Change 2"}},
      {"past two, backwards", {3, 2}, -1, true, 1, {"Changing 1", "Change 1"}},
      {"past a refusal", {}, 1, false, 2, {"Changing 1", "Changing 2", "Change 2"}},
      {"past a disabled tab and a refusal", {1}, 2, false, 3, {"Changing 2", "Changing 3", "Change 3"}},
      {"nothing to choose", {1, 3}, 2, false, 0, {"Changing 2"}},
      {"every other tab disabled", {1, 2, 3}, -1, true, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    veto = -1;
    for (int i = 0; i < 4; ++i) Sheet(i)->SetTabEnabled(true);
    pages->SetActivePage(Sheet(0));
    for (int i : c.disabled) Sheet(i)->SetTabEnabled(false);
    veto = c.veto;
    edits[0]->setFocus();
    log.clear();
    CtrlTab(edits[0], c.back ? Qt::ShiftModifier : Qt::NoModifier);
    EXPECT_EQ(pages->ActivePage(), Sheet(c.page));
    EXPECT_EQ(Shown(), std::vector<int>{c.page});
    EXPECT_EQ(log, c.log);
  }
}

// --- Focus ---

TEST_F(PageControl, FocusMovesWithThePage) {
  Build(3);
  // On the page that goes: to the new page's first control Tab reaches,
  // also where Qt's own move on hiding would go elsewhere.
  auto* first = new QLineEdit(Sheet(0));
  first->setFocusPolicy(Qt::ClickFocus);
  QWidget::setTabOrder(first, edits[0]);
  edits[0]->setFocus();
  pages->SetTabIndex(2);
  EXPECT_EQ(QApplication::focusWidget(), edits[2]);
  pages->SetTabIndex(0);
  EXPECT_EQ(QApplication::focusWidget(), edits[0]);
  pages->SetTabIndex(2);

  // Outside the page control: where it was.
  outside->setFocus();
  pages->SetTabIndex(1);
  EXPECT_EQ(QApplication::focusWidget(), outside);

  // A disabled page, or one without a Tab stop, leaves it on the page
  // control.
  edits[1]->setFocus();
  edits[0]->setEnabled(false);
  pages->SetTabIndex(0);
  EXPECT_EQ(QApplication::focusWidget(), pages);

  // The active page removed with the focus on it.
  edits[0]->setEnabled(true);
  edits[0]->setFocus();
  delete Sheet(0);
  EXPECT_EQ(QApplication::focusWidget(), pages);
  EXPECT_EQ(pages->ActivePage(), nullptr);
  EXPECT_EQ(pages->TabIndex(), -1);
}

TEST_F(PageControl, ShowControlShowsThroughEnclosingPages) {
  Build(2);
  auto* inner = new TQelPageControl(Sheet(1));
  TQelTabSheet* a = inner->AddSheet("A");
  TQelTabSheet* b = inner->AddSheet("B");
  inner->SetActivePage(a);
  inner->ShowControl(b);
  EXPECT_EQ(inner->ActivePage(), b);
  EXPECT_EQ(pages->ActivePage(), Sheet(1));
  EXPECT_TRUE(b->isVisible());
}

// --- Lifetime ---

TEST_F(PageControl, SheetsLeaveAndChangePageControls) {
  Build(3);
  pages->SetTabIndex(1);
  TQelPageControl other(&window);
  Sheet(1)->SetPageControl(&other);
  EXPECT_EQ(pages->count(), 2);
  EXPECT_EQ(pages->ActivePage(), nullptr);
  EXPECT_EQ(other.Page(0)->parentWidget(), &other);
  EXPECT_EQ(pages->Tabs().Count(), 2);

  delete Sheet(0);
  EXPECT_EQ(pages->count(), 1);
  EXPECT_EQ(pages->tabText(0), "TCP/IP");

  // The page control goes with its sheets; a guard on one sees it go.
  QPointer<TQelTabSheet> last = Sheet(0);
  pages->SetActivePage(Sheet(0));
  delete pages;
  pages = nullptr;
  EXPECT_TRUE(last.isNull());
}

}  // namespace
