#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "controls/qellists.h"
#include "tests/controls/events.h"

namespace {

using qel::RecordingTextEngine;

// The Event Set page's kind list in a dialog; OnClick, OnMatch and beeps
// logged in order.
struct ListBox : ::testing::Test {
  void SetUp() override {
    dialog.resize(200, 200);
    list = new TQelListBox(&dialog);
    list->setGeometry(8, 8, 86, 180);
    list->addItems({QStringLiteral("RS232"), QStringLiteral("IR"), QStringLiteral("TCP/IP"), QStringLiteral("Delay"),
                    QStringLiteral("Compare"), QStringLiteral("LED"), QStringLiteral("Toggle")});
    QObject::connect(list, &QListWidget::itemClicked, [this] { log.push_back("Click"); });
    QObject::connect(list, &TQelCustomListBox::Match, [this] { log.push_back("Match"); });
    oldBeep = qel::SetBeepHook([this] { log.push_back("Beep"); });
    ShowActive(&dialog);
    list->setFocus();
    list->setCurrentRow(0);
  }
  void TearDown() override { qel::SetBeepHook(oldBeep); }
  void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) QTest::keyClick(list, *k);
  }

  QDialog dialog;
  TQelListBox* list = nullptr;
  std::vector<std::string> log;
  std::function<void()> oldBeep;
};

using Log = std::vector<std::string>;

TEST_F(ListBox, IncrementalSearchTable) {
  struct Case {
    const char* name;
    const char* keys;
    bool pause;  // the search timer ticks before the last key
    int row;
    QString search;
    Log events;
  };
  const Case cases[] = {
      {"d selects Delay", "d", false, 3, "d", {"Match"}},
      {"dx beeps and keeps Delay", "dx", false, 3, "d", {"Match", "Beep"}},
      {"a pause starts a new search", "dt", true, 2, "t", {"Match", "Match"}},
      {"without the pause t extends it", "dt", false, 3, "d", {"Match", "Beep"}},
      {"not case-sensitive", "TC", false, 2, "TC", {"Match", "Match"}},
      {"te finds Toggle after TCP/IP", "te", false, 2, "t", {"Match", "Beep"}},
      {"to finds Toggle", "to", false, 6, "to", {"Match", "Match"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    list->setCurrentRow(0);
    list->SearchTimerTick();
    log.clear();
    const std::string keys = c.keys;
    Type(keys.substr(0, keys.size() - 1).c_str());
    if (c.pause) list->SearchTimerTick();
    Type(keys.substr(keys.size() - 1).c_str());
    EXPECT_EQ(list->currentRow(), c.row);
    EXPECT_EQ(list->SearchText(), c.search);
    EXPECT_EQ(log, c.events);
  }
}

TEST_F(ListBox, BackspaceAndEscape) {
  // On an empty search text: a beep, then the empty text finds the first item.
  list->setCurrentRow(4);
  QTest::keyClick(list, Qt::Key_Backspace);
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(log, (Log{"Beep", "Match"}));

  log.clear();
  Type("co");
  QTest::keyClick(list, Qt::Key_Backspace);
  EXPECT_EQ(list->SearchText(), QStringLiteral("c"));
  EXPECT_EQ(list->currentRow(), 4);
  QTest::keyClick(list, Qt::Key_Backspace);  // down to nothing: the first item
  EXPECT_EQ(list->SearchText(), QString());
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(log, (Log{"Match", "Match", "Match"}));

  // Esc clears the selection without OnClick; the dialog never sees it.
  log.clear();
  list->setCurrentRow(3);
  QTest::keyClick(list, Qt::Key_Escape);
  EXPECT_EQ(list->currentRow(), -1);
  EXPECT_TRUE(list->selectedItems().isEmpty());
  EXPECT_TRUE(log.empty());
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ListBox, ArrowsAndClicksEndTheSearch) {
  Type("d");
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->currentRow(), 4);
  EXPECT_EQ(list->SearchText(), QString());
  Type("t");
  const QRect r = list->visualItemRect(list->item(1));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
  EXPECT_EQ(list->SearchText(), QString());
  EXPECT_EQ(list->currentRow(), 1);
  EXPECT_EQ(log.back(), "Click");
}

TEST_F(ListBox, SearchOffLeavesQtsKeys) {
  list->SetIncrementalSearch(false);
  Type("d");
  EXPECT_EQ(list->currentRow(), 3);  // Qt's own search
  EXPECT_TRUE(log.empty());
}

struct ListBoxDrawing : ListBox {
  void SetUp() override {
    ListBox::SetUp();
    old = qel::SetTextEngine(&engine);
  }
  void TearDown() override {
    qel::SetTextEngine(old);
    ListBox::TearDown();
  }
  const RecordingTextEngine::Entry* Drawn(const QString& text) const {
    for (const auto& e : engine.Drawn)
      if (e.text == text) return &e;
    return nullptr;
  }
  RecordingTextEngine engine;
  qel::TextEngine* old = nullptr;
};

TEST_F(ListBoxDrawing, GroupHeaders) {
  list->clear();
  list->addItems({QStringLiteral("//Inputs"), QStringLiteral("Key 1"), QStringLiteral("##Outputs")});
  list->SetShowGroups(true);
  EXPECT_EQ(list->Style(), TQelCustomListBox::lbOwnerDrawFixed);
  EXPECT_TRUE(list->IsGroupHeader(0));
  EXPECT_FALSE(list->IsGroupHeader(1));
  EXPECT_EQ(list->GroupHeaderAbove(2), 0);
  EXPECT_TRUE(list->WithinGroup(1));

  list->grab();
  const auto* header = Drawn(QStringLiteral("Inputs"));
  ASSERT_NE(header, nullptr);
  const QRect r = list->visualItemRect(list->item(0));
  EXPECT_EQ(header->place.Left, r.left() + 2);
  EXPECT_EQ(header->color, clHighlight);  // GroupFont's colour
  EXPECT_NE(Drawn(QStringLiteral("##Outputs")), nullptr);

  // Another prefix: "//Inputs" is an ordinary item, "##Outputs" a header.
  engine.Drawn.clear();
  list->SetGroupPrefix(QStringLiteral("##"));
  list->grab();
  EXPECT_NE(Drawn(QStringLiteral("//Inputs")), nullptr);
  EXPECT_NE(Drawn(QStringLiteral("Outputs")), nullptr);
  EXPECT_EQ(Drawn(QStringLiteral("Inputs")), nullptr);
}

TEST_F(ListBoxDrawing, OwnerDrawnItemsAreIndentedHeadersNot) {
  list->clear();
  list->addItems({QStringLiteral("//Group"), QStringLiteral("Item")});
  list->SetShowGroups(true);
  list->SetOwnerDrawIndent(10);
  list->grab();
  ASSERT_NE(Drawn(QStringLiteral("Item")), nullptr);
  ASSERT_NE(Drawn(QStringLiteral("Group")), nullptr);
  EXPECT_EQ(Drawn(QStringLiteral("Item"))->place.Left, 10 + 2);
  EXPECT_EQ(Drawn(QStringLiteral("Group"))->place.Left, 2);
}

TEST_F(ListBoxDrawing, HorzExtentIsTheWidestItemAndAnX) {
  engine.CharWidth = 4;
  list->clear();
  list->addItems({QString(10, QLatin1Char('a')), QString(30, QLatin1Char('b'))});  // 40 and 120 pixels
  EXPECT_EQ(list->HorzExtent(), 0);  // without the scroll bar the extent is left alone
  list->SetHorzScrollBar(true);
  EXPECT_EQ(list->HorzExtent(), 120 + 4);
  list->addItem(QString(50, QLatin1Char('c')));
  EXPECT_EQ(list->HorzExtent(), 200 + 4);
  delete list->takeItem(2);
  EXPECT_EQ(list->HorzExtent(), 124);
  // The extent is the scroll range.
  QApplication::processEvents();
  EXPECT_EQ(list->horizontalScrollBar()->maximum(), qMax(0, 124 - list->viewport()->width()));
}

TEST(ListBoxHint, Decision) {
  struct Case {
    int client, text;
    bool active, shown;
  };
  const Case cases[] = {
      {80, 79, true, true},    // client width - 1
      {80, 78, true, false},   // client width - 2
      {80, 200, false, false}  // not while another application is active
  };
  for (const Case& c : cases) EXPECT_EQ(qel::ShowsItemHint(c.client, c.text, c.active), c.shown) << c.text;
}

TEST_F(ListBoxDrawing, HintOverAnItemTooWide) {
  engine.CharWidth = 1;
  const int client = list->viewport()->width();
  list->clear();
  list->addItems({QString(client - 1, QLatin1Char('w')), QString(client - 2, QLatin1Char('n'))});
  ASSERT_EQ(QGuiApplication::applicationState(), Qt::ApplicationActive);
  const QRect wide = list->visualItemRect(list->item(0));
  MouseMove(list->viewport(), wide.center());
  EXPECT_TRUE(list->ItemHintShown());
  EXPECT_EQ(list->ItemHintText(), list->item(0)->text());
  EXPECT_EQ(list->ItemHintPos().x(), list->viewport()->mapToGlobal(wide.topLeft()).x() - 1);
  MouseMove(list->viewport(), list->visualItemRect(list->item(1)).center());
  EXPECT_FALSE(list->ItemHintShown());
  MouseMove(list->viewport(), wide.center());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(list, &leave);
  EXPECT_FALSE(list->ItemHintShown());
}

TEST_F(ListBox, VirtualStyleAsksData) {
  list->SetStyle(TQelCustomListBox::lbVirtual);
  list->SetCount(3);
  QObject::connect(list, &TQelCustomListBox::Data,
                   [](int i, QString* text) { *text = QStringLiteral("row %1").arg(i); });
  EXPECT_EQ(list->ItemText(2), QStringLiteral("row 2"));
  Type("r");
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(log, Log{"Match"});
}

TEST_F(ListBox, TabOnEnterMovesTheFocus) {
  auto* next = new QListWidget(&dialog);
  next->setGeometry(100, 8, 80, 80);
  next->show();
  list->setFocus();
  list->SetTabOnEnter(true);
  QTest::keyClick(list, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_TRUE(next->hasFocus());
  EXPECT_TRUE(dialog.isVisible());
}

TEST_F(ListBox, FrameAndColourProperties) {
  EXPECT_TRUE(list->setProperty("FrameHotStyle", QStringLiteral("fsBump")));
  EXPECT_EQ(list->FrameHotStyle(), qel::fsBump);
  list->SetColor(clInfoBk);
  EXPECT_EQ(list->palette().color(QPalette::Base).rgb(), ColorToQRgb(clInfoBk));
  list->setEnabled(false);
  EXPECT_EQ(list->Color(), clBtnFace);
  list->setEnabled(true);
  EXPECT_EQ(list->Color(), clInfoBk);
}

}  // namespace
