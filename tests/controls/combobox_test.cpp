#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QWheelEvent>
#include <functional>
#include <string>
#include <vector>

#include "controls/qelframecontroller.h"
#include "controls/qellists.h"
#include "tests/controls/events.h"

namespace {

void Wheel(QWidget* w, int delta) {
  const QPointF at(5, 5);
  QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                false);
  QApplication::sendEvent(w, &e);
}

// A window with one combo box (and an edit to move the focus to); every
// event and beep the combo box gives is logged in order.
struct Combo : ::testing::Test {
  void SetUp() override {
    window.resize(300, 120);
    combo = new TQelComboBox(&window);
    combo->setGeometry(10, 10, 140, 22);
    other = new QLineEdit(&window);
    other->setGeometry(160, 10, 80, 22);
    QObject::connect(combo, &TQelCustomComboBox::Click, [this] { log.push_back("Click"); });
    QObject::connect(combo, &QComboBox::activated,
                     [this](int i) { log.push_back("Change(" + std::to_string(i) + ")"); });
    QObject::connect(combo, &TQelCustomComboBox::Match, [this] { log.push_back("Match"); });
    QObject::connect(combo, &TQelCustomComboBox::NotInList, [this] { log.push_back("NotInList"); });
    QObject::connect(combo, &TQelCustomComboBox::SelEndOk, [this] { log.push_back("SelEndOk"); });
    QObject::connect(combo, &TQelCustomComboBox::SelEndCancel, [this] { log.push_back("SelEndCancel"); });
    oldBeep = qel::SetBeepHook([this] { log.push_back("Beep"); });
    ShowActive(&window);
    combo->setFocus();
  }
  void TearDown() override { qel::SetBeepHook(oldBeep); }

  // Items, then no selection and an empty text, as a window's empty combo.
  void Fill(const QStringList& items) {
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    log.clear();
  }
  void Type(const QString& keys) {
    for (QChar c : keys) QTest::keyClick(combo, c.toLatin1());
  }
  QString Selected() const { return combo->lineEdit()->selectedText(); }

  QWidget window;
  TQelComboBox* combo = nullptr;
  QLineEdit* other = nullptr;
  std::vector<std::string> log;
  std::function<void()> oldBeep;
};

using Log = std::vector<std::string>;

TEST_F(Combo, DefaultsAreAnEditableComboWithoutQtsHelpers) {
  EXPECT_EQ(combo->Style(), TQelCustomComboBox::csDropDown);
  ASSERT_NE(combo->lineEdit(), nullptr);
  EXPECT_EQ(combo->completer(), nullptr);
  EXPECT_EQ(combo->insertPolicy(), QComboBox::NoInsert);
  EXPECT_EQ(combo->Color(), clWindow);
  EXPECT_FALSE(combo->FrameVisible());
}

// Typing into csDropDown with the items Port1 and Port2.
TEST_F(Combo, TypingCompletesFromTheItems) {
  struct Case {
    const char* name;
    bool keepCase, allowEdit;
    QString keys;
    QString text, selected;
    int index;
    Log events;
  };
  const Case cases[] = {
      {"p completes Port1",
       false,
       true,
       QStringLiteral("p"),
       QStringLiteral("Port1"),
       QStringLiteral("ort1"),
       0,
       {"Click", "Change(0)", "Match"}},
      {"KeepSearchCase keeps the typed p",
       true,
       true,
       QStringLiteral("p"),
       QStringLiteral("port1"),
       QStringLiteral("ort1"),
       -1,
       {"Click", "Change(-1)", "Match"}},
      {"po2 narrows to Port2",
       false,
       true,
       QStringLiteral("port2"),
       QStringLiteral("Port2"),
       QString(),
       1,
       {"Click", "Change(0)", "Match", "Click", "Change(0)", "Match", "Click", "Change(0)", "Match", "Click",
        "Change(0)", "Match", "Click", "Change(1)", "Match"}},
      {"a miss is typed as it is", false, true, QStringLiteral("x"), QStringLiteral("x"), QString(), -1, {}},
      {"a miss after a completion drops the tail",
       false,
       true,
       QStringLiteral("px"),
       QStringLiteral("px"),
       QString(),
       0,
       {"Click", "Change(0)", "Match"}},
      {"AllowEdit False beeps and keeps the text",
       false,
       false,
       QStringLiteral("x"),
       QString(),
       QString(),
       -1,
       {"Beep"}},
      {"AllowEdit False still completes",
       false,
       false,
       QStringLiteral("px"),
       QStringLiteral("Port1"),
       QStringLiteral("ort1"),
       0,
       {"Click", "Change(0)", "Match", "Beep"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    combo->clear();
    Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
    combo->SetKeepSearchCase(c.keepCase);
    combo->SetAllowEdit(c.allowEdit);
    combo->SetText(QString());
    Type(c.keys);
    EXPECT_EQ(combo->Text(), c.text);
    EXPECT_EQ(Selected(), c.selected);
    EXPECT_EQ(combo->currentIndex(), c.index);
    EXPECT_EQ(log, c.events);
    combo->lineEdit()->clear();
    combo->SetKeepSearchCase(false);
    combo->SetAllowEdit(true);
    other->setFocus();  // the search text goes with the focus
    combo->setFocus();
  }
}

TEST_F(Combo, ACompletionReachesABoundHandler) {
  Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
  int handled = -2;
  QObject::connect(combo, &QComboBox::activated, [&](int i) { handled = i; });
  Type(QStringLiteral("p"));
  EXPECT_EQ(handled, 0);
}

TEST_F(Combo, DeleteWithoutAllowEditTakesOnlyTheWholeText) {
  Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
  combo->SetAllowEdit(false);
  combo->setCurrentIndex(0);
  combo->lineEdit()->setSelection(1, 2);
  QTest::keyClick(combo, Qt::Key_Delete);
  EXPECT_EQ(combo->Text(), QStringLiteral("Port1"));
  combo->lineEdit()->selectAll();
  QTest::keyClick(combo, Qt::Key_Delete);
  EXPECT_EQ(combo->Text(), QString());
}

TEST_F(Combo, BackspaceTable) {
  struct Case {
    const char* name;
    QString typed;  // before the Backspace
    QString text, selected;
    int index;
    Log events;  // of the Backspace
  };
  const Case cases[] = {
      // Back to an empty search text: no selection, then the empty text
      // begins every item, so the first is completed again.
      {"to an empty search text",
       QStringLiteral("p"),
       QStringLiteral("Port1"),
       QStringLiteral("Port1"),
       0,
       {"Change(0)", "Click", "Change(-1)", "Click", "Change(0)", "Match"}},
      {"one character back",
       QStringLiteral("port"),
       QStringLiteral("Port1"),
       QStringLiteral("t1"),
       0,
       {"Change(0)", "Click", "Change(0)", "Match"}},
      {"on an empty search text it beeps first",
       QString(),
       QStringLiteral("Port1"),
       QStringLiteral("Port1"),
       0,
       {"Beep", "Click", "Change(0)", "Match"}},
      {"a free text loses its last character",
       QStringLiteral("xy"),
       QStringLiteral("x"),
       QString(),
       -1,
       {"Change(-1)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    combo->clear();
    Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
    Type(c.typed);
    log.clear();
    QTest::keyClick(combo, Qt::Key_Backspace);
    EXPECT_EQ(combo->Text(), c.text);
    EXPECT_EQ(Selected(), c.selected);
    EXPECT_EQ(combo->currentIndex(), c.index);
    EXPECT_EQ(log, c.events);
    other->setFocus();
    combo->setFocus();
  }
}

TEST_F(Combo, EscapeIsTakenAndClearsOrSelectsTheFirstItem) {
  QDialog dialog;
  auto* box = new TQelComboBox(&dialog);
  box->addItems({QStringLiteral("Port1"), QStringLiteral("Port2")});
  QObject::connect(box, &TQelCustomComboBox::Click, [this] { log.push_back("Click"); });
  QObject::connect(box, &QComboBox::activated, [this](int i) { log.push_back("Change(" + std::to_string(i) + ")"); });
  ShowActive(&dialog);
  box->setFocus();
  struct Case {
    TQelCustomComboBox::TComboBoxStyle style;
    int index;
    QString text;
    Log events;
  };
  const Case cases[] = {
      {TQelCustomComboBox::csDropDown, -1, QString(), {"Click", "Change(-1)"}},
      {TQelCustomComboBox::csDropDownList, 0, QStringLiteral("Port1"), {"Click", "Change(0)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.style));
    box->SetStyle(c.style);
    box->setCurrentIndex(1);
    log.clear();
    QTest::keyClick(box, Qt::Key_Escape);
    EXPECT_EQ(box->currentIndex(), c.index);
    EXPECT_EQ(box->currentText(), c.text);
    EXPECT_EQ(log, c.events);
    EXPECT_TRUE(dialog.isVisible());  // the dialog never saw the Esc
  }
}

TEST_F(Combo, DropDownListSearchesAndStartsAgainAfterAPause) {
  combo->SetStyle(TQelCustomComboBox::csDropDownList);
  combo->addItems({QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Bravo")});
  combo->setCurrentIndex(0);
  log.clear();
  Type(QStringLiteral("br"));
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(combo->SearchText(), QStringLiteral("br"));
  EXPECT_TRUE(combo->SearchTimer().isActive());
  EXPECT_EQ(log, (Log{"Click", "Change(1)", "Click", "Change(2)"}));

  // Within the pause the next key extends the search; a miss beeps and
  // keeps it.
  log.clear();
  Type(QStringLiteral("x"));
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(combo->SearchText(), QStringLiteral("br"));
  EXPECT_EQ(log, (Log{"Beep"}));

  combo->SearchTimerTick();
  EXPECT_FALSE(combo->SearchTimer().isActive());
  log.clear();
  Type(QStringLiteral("a"));
  EXPECT_EQ(combo->currentIndex(), 0);
  EXPECT_EQ(log, (Log{"Click", "Change(0)"}));
}

TEST_F(Combo, ReadOnlyDropDownList) {
  combo->SetStyle(TQelCustomComboBox::csDropDownList);
  combo->SetReadOnly(true);
  combo->addItems({QStringLiteral("Key1"), QStringLiteral("Key2"), QStringLiteral("Key3")});
  combo->setCurrentIndex(0);
  log.clear();
  MousePress(combo, QPoint(combo->width() - 8, 10));
  MousePress(combo, QPoint(10, 10));
  EXPECT_FALSE(combo->DroppedDown());
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(combo->currentIndex(), 1);
  Type(QStringLiteral("k"));
  EXPECT_EQ(combo->currentIndex(), 0);
  EXPECT_EQ(log, (Log{"Click", "Change(1)", "Click", "Change(0)"}));

  // The button is not shown: its place is filled with Color.
  combo->SetColor(RGB(0x20, 0xC0, 0x40));
  const QImage shot = combo->grab().toImage();
  const qel::TRect b = combo->DropButtonRect();
  for (int x = b.Left; x < b.Right; x += 3)
    for (int y = b.Top; y < b.Bottom; y += 3)
      ASSERT_EQ(shot.pixel(x, y), ColorToQRgb(RGB(0x20, 0xC0, 0x40))) << x << "," << y;
}

TEST_F(Combo, ProgramTextCompletes) {
  struct Case {
    const char* name;
    QStringList items;
    int startIndex;
    QString written;
    QString text, selected;
    int index;
  };
  const Case cases[] = {
      {"the beginning of an item", {"2400", "4800", "9600", "19200"}, -1, "19", "19200", "200", 3},
      {"an equal item wins over an earlier prefix", {"Power On", "Power"}, -1, "Power", "Power", "", 1},
      {"an empty text completes nothing", {"Power On", "Power"}, 1, "", "", "", 1},
      {"no item begins with it", {"2400", "4800"}, 0, "7", "7", "", 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    combo->clear();
    combo->addItems(c.items);
    combo->setCurrentIndex(c.startIndex);
    log.clear();
    combo->SetText(c.written);
    EXPECT_EQ(combo->Text(), c.text);
    EXPECT_EQ(Selected(), c.selected);
    EXPECT_EQ(combo->currentIndex(), c.index);
    EXPECT_TRUE(log.empty());
  }
  // Qt's own writes and the quiet writer never complete.
  combo->setEditText(QStringLiteral("24"));
  EXPECT_EQ(combo->Text(), QStringLiteral("24"));
  combo->WriteTextQuietly(QStringLiteral("48"));
  EXPECT_EQ(combo->Text(), QStringLiteral("48"));
}

TEST_F(Combo, ProgramIndexWritesFireNothing) {
  combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
  log.clear();
  combo->setCurrentIndex(1);
  combo->SetItemIndex(0);
  EXPECT_EQ(combo->currentText(), QStringLiteral("a"));
  EXPECT_TRUE(log.empty());
}

TEST_F(Combo, ReturnAddsNoItemAndSelectsNothing) {
  Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
  combo->setCurrentIndex(1);
  combo->lineEdit()->selectAll();
  Type(QStringLiteral("xyz"));
  log.clear();
  QTest::keyClick(combo, Qt::Key_Return);
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(combo->Text(), QStringLiteral("xyz"));
  // An item's text, then Return and leaving: still nothing selected by Qt.
  combo->setCurrentIndex(1);
  combo->setEditText(QStringLiteral("Port1"));
  QTest::keyClick(combo, Qt::Key_Return);
  other->setFocus();
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(combo->count(), 2);
  EXPECT_EQ(log, Log{});
}

// The Enter flag lasts for its own key: the program's next text is taken
// as it is written, not as a completion of what was typed before.
TEST_F(Combo, EnterEndsWithItsKey) {
  Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
  Type(QStringLiteral("p"));
  QTest::keyClick(combo, Qt::Key_Return);
  combo->SetText(QStringLiteral("Port2"));
  EXPECT_EQ(combo->Text(), QStringLiteral("Port2"));
  EXPECT_EQ(combo->currentIndex(), 1);
}

// After the program writes the index or the text, or the user chooses in
// the list, the next key goes on from the text shown, not from the search
// typed before.
TEST_F(Combo, WritesAndListChoicesStartTheSearchFromTheText) {
  auto choose = [this](int row) {
    combo->showPopup();
    QCoreApplication::processEvents();  // the popup's activation comes first
    QAbstractItemView* view = combo->view();
    view->setCurrentIndex(view->model()->index(row, 0));
    QTest::keyClick(view, Qt::Key_Return);
    QCoreApplication::processEvents();
  };
  const struct {
    const char* name;
    std::function<void()> write;
    QString text;
  } cases[] = {
      {"SetItemIndex", [this] { combo->SetItemIndex(1); }, "Port2q"},
      {"QComboBox::setCurrentIndex", [this] { combo->setCurrentIndex(1); }, "Port2q"},
      {"QComboBox::setEditText", [this] { combo->setEditText(QStringLiteral("Port2")); }, "Port2q"},
      {"WriteTextQuietly", [this] { combo->WriteTextQuietly(QStringLiteral("Port2")); }, "Port2q"},
      {"SetText without AutoComplete",
       [this] {
         combo->SetAutoComplete(false);
         combo->SetText(QStringLiteral("Port2"));
         combo->SetAutoComplete(true);
       },
       "Port2q"},
      {"a choice in the list", [&] { choose(1); }, "Port2q"},
      {"the completed item chosen in the list", [&] { choose(0); }, "Port1q"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    combo->clear();
    Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
    Type(QStringLiteral("p"));
    ASSERT_EQ(combo->SearchText(), QStringLiteral("p"));
    c.write();
    EXPECT_EQ(combo->SearchText(), combo->Text());
    combo->lineEdit()->end(false);
    Type(QStringLiteral("q"));
    EXPECT_EQ(combo->Text(), c.text);
    combo->lineEdit()->clear();
  }
}

// With AutoDropDown, Tab in the open list closes it; the key goes through
// the key-press stage and the focus stays on the combo box.
TEST_F(Combo, TabClosesTheOpenListWithAutoDropDown) {
  combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
  combo->setCurrentIndex(0);
  std::vector<QString> pressed;
  combo->OnKeyPress = [&](QString& key) { pressed.push_back(key); };
  for (bool autoDropDown : {false, true}) {
    SCOPED_TRACE(autoDropDown ? "AutoDropDown" : "without AutoDropDown");
    combo->SetAutoDropDown(autoDropDown);
    pressed.clear();
    combo->showPopup();
    ASSERT_TRUE(combo->DroppedDown());
    QTest::keyClick(combo->view(), Qt::Key_Tab);
    EXPECT_EQ(combo->DroppedDown(), !autoDropDown);
    EXPECT_EQ(pressed, std::vector<QString>{QStringLiteral("\t")});
    combo->hidePopup();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.focusWidget(), combo);
    EXPECT_EQ(combo->currentIndex(), 0);
  }
}

TEST_F(Combo, WheelTable) {
  struct Case {
    const char* name;
    int start;
    int delta;
    int index;
    Log events;
  };
  const Case cases[] = {
      {"down to the next item", 0, -120, 1, {"Click", "Change(1)"}},
      {"down stops at the last item", 2, -120, 2, {}},
      {"up to the item before", 2, 120, 1, {"Click", "Change(1)"}},
      {"up at the first item", 0, 120, 0, {}},
      {"up without a selection takes the first quietly", -1, 120, 0, {}},
      {"half a notch does nothing yet", 0, -60, 0, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    combo->clear();
    combo->addItems({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    combo->setCurrentIndex(c.start);
    log.clear();
    Wheel(combo, c.delta);
    EXPECT_EQ(combo->currentIndex(), c.index);
    EXPECT_EQ(log, c.events);
    Wheel(combo, -c.delta);  // leaves no half notch behind
  }
  // Down at the last item, then the page's Add still finds an item.
  combo->setCurrentIndex(2);
  Wheel(combo, -120);
  Wheel(combo, -120);
  EXPECT_EQ(combo->currentIndex(), 2);
  EXPECT_EQ(combo->currentText(), QStringLiteral("c"));
}

// A wheel step is a choice like any other: what is typed next goes on from
// the item it shows, not from the text before it.
TEST_F(Combo, TypingAfterTheWheelGoesOnFromTheItemShown) {
  struct Case {
    const char* name;
    int start;
    int delta;
    QString keys;
    std::string text;
    int index;
  };
  const Case cases[] = {
      {"down, then a miss", 0, -120, QStringLiteral("x"), "Port2x", 1},
      {"up, then a miss", 2, 120, QStringLiteral("x"), "Port2x", 1},
      {"up from no selection takes the first", -1, 120, QStringLiteral("x"), "Port1x", 0},
      {"down, then a longer item", 0, -120, QStringLiteral("1"), "Port21", 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    combo->clear();
    combo->addItems(
        {QStringLiteral("Port1"), QStringLiteral("Port2"), QStringLiteral("Port3"), QStringLiteral("Port21")});
    combo->setCurrentIndex(c.start);
    Wheel(combo, c.delta);
    ASSERT_EQ(combo->Text().toStdString(), combo->itemText(c.start < 0 ? 0 : c.start - c.delta / 120).toStdString());
    // Not the End key: it takes the text as the search itself.
    combo->lineEdit()->end(false);
    QTest::keyClicks(combo, c.keys);
    EXPECT_EQ(combo->Text().toStdString(), c.text);
    EXPECT_EQ(combo->currentIndex(), c.index);
  }
}

TEST_F(Combo, ItemHeightOnlyForOwnerDrawnStyles) {
  const int before = combo->ItemHeight();
  ASSERT_NE(before, 13);
  combo->SetItemHeight(13);  // as every form gives it
  EXPECT_EQ(combo->ItemHeight(), before);
  combo->SetStyle(TQelCustomComboBox::csOwnerDrawFixed);
  combo->SetItemHeight(13);
  EXPECT_EQ(combo->ItemHeight(), 13);
}

TEST_F(Combo, NotInListWhenLeavingWithAForeignText) {
  Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
  combo->setEditText(QStringLiteral("port2"));
  other->setFocus();
  EXPECT_TRUE(log.empty());  // equal but for case: in the list
  combo->setFocus();
  combo->setEditText(QStringLiteral("COM9"));
  other->setFocus();
  EXPECT_EQ(log, Log{"NotInList"});
}

TEST_F(Combo, DeleteItemForItemsWithData) {
  std::vector<int> deleted;
  QObject::connect(combo, &TQelCustomComboBox::DeleteItem, [&](const QVariant& v) { deleted.push_back(v.toInt()); });
  combo->addItem(QStringLiteral("a"), 5);
  combo->addItem(QStringLiteral("b"));
  combo->addItem(QStringLiteral("c"), 7);
  combo->addItem(QStringLiteral("d"), 9);
  combo->removeItem(3);
  EXPECT_EQ(deleted, (std::vector<int>{9}));
  combo->ClearItems();
  EXPECT_EQ(deleted, (std::vector<int>{9, 5, 7}));
}

TEST_F(Combo, PopupEndsWithOkOrCancel) {
  combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
  combo->setCurrentIndex(0);
  log.clear();
  combo->showPopup();
  ASSERT_TRUE(combo->DroppedDown());
  combo->hidePopup();
  QCoreApplication::processEvents();
  EXPECT_EQ(log, Log{"SelEndCancel"});

  log.clear();
  combo->showPopup();
  QAbstractItemView* view = combo->view();
  view->setCurrentIndex(view->model()->index(1, 0));
  QTest::keyClick(view, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_FALSE(combo->DroppedDown());
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(log, (Log{"SelEndOk", "Click", "Change(1)"}));
}

TEST_F(Combo, PasteCompletesAndReadOnlyTakesNoTyping) {
  Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
  QGuiApplication::clipboard()->setText(QStringLiteral("Port2"));
  combo->Paste();
  EXPECT_EQ(combo->currentIndex(), 1);
  EXPECT_EQ(log, (Log{"Click", "Change(1)", "Match"}));

  combo->SetAllowEdit(false);
  combo->lineEdit()->clear();
  combo->Paste();
  EXPECT_EQ(combo->Text(), QString());
  combo->SetAllowEdit(true);

  combo->SetReadOnly(true);
  EXPECT_TRUE(combo->lineEdit()->isReadOnly());
  log.clear();
  Type(QStringLiteral("p"));
  QTest::keyClick(combo, Qt::Key_Down);
  EXPECT_EQ(combo->Text(), QString());
  EXPECT_TRUE(log.empty());
}

TEST_F(Combo, ContextMenuPasteTakesTheControlsRoad) {
  Fill({QStringLiteral("Port1"), QStringLiteral("Port2")});
  QGuiApplication::clipboard()->setText(QStringLiteral("Po"));
  QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(5, 5), combo->mapToGlobal(QPoint(5, 5)));
  QApplication::sendEvent(combo, &request);
  QMenu* menu = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* m = qobject_cast<QMenu*>(w); m && m->isVisible()) menu = m;
  ASSERT_NE(menu, nullptr);
  auto* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
  ASSERT_NE(paste, nullptr);
  paste->trigger();
  menu->close();
  EXPECT_EQ(combo->Text(), QStringLiteral("Port1"));
  EXPECT_EQ(Selected(), QStringLiteral("rt1"));
  EXPECT_EQ(log, (Log{"Click", "Change(0)", "Match"}));
}

TEST_F(Combo, FramePropertiesByNameAndFromAController) {
  EXPECT_TRUE(combo->setProperty("FrameStyle", QStringLiteral("fsLowered")));
  EXPECT_EQ(combo->FrameStyle(), qel::fsLowered);
  EXPECT_TRUE(combo->setProperty("FrameSides", QStringLiteral("[sdLeft,sdTop]")));
  EXPECT_EQ(combo->FrameSides(), qel::sdLeft | qel::sdTop);

  TQelFrameController controller;
  controller.SetFrameVisible(true);
  controller.SetFlatButtons(true);
  controller.SetFrameColor(clRed);
  combo->SetFrameController(&controller);
  EXPECT_TRUE(combo->FrameVisible());
  EXPECT_TRUE(combo->FlatButtons());
  EXPECT_EQ(combo->FrameColor(), clRed);
  controller.SetFrameStyle(qel::fsBump);
  EXPECT_EQ(combo->FrameStyle(), qel::fsBump);
  combo->SetFrameController(nullptr);
}

TEST_F(Combo, TabOnEnterMovesTheFocus) {
  Fill({QStringLiteral("Port1")});
  combo->SetTabOnEnter(true);
  QTest::keyClick(combo, Qt::Key_Return);
  QCoreApplication::processEvents();
  EXPECT_TRUE(other->hasFocus());
  EXPECT_TRUE(log.empty());
}

TEST_F(Combo, DropDownWidthIsThePopupsLeast) {
  combo->addItems({QStringLiteral("a"), QStringLiteral("b")});
  combo->SetDropDownWidth(260);
  combo->showPopup();
  EXPECT_GE(combo->view()->window()->width(), 260);
  combo->hidePopup();
}

struct ComboDrawing : Combo {
  void SetUp() override {
    Combo::SetUp();
    old = qel::SetTextEngine(&engine);
  }
  void TearDown() override {
    qel::SetTextEngine(old);
    Combo::TearDown();
  }
  qel::RecordingTextEngine engine;
  qel::TextEngine* old = nullptr;
};

// Qt paints a combo box without an edit part as a button; ours paints the
// text area in Color, the chosen item's text on it.
TEST_F(ComboDrawing, DropDownListTextAreaInColor) {
  combo->SetStyle(TQelCustomComboBox::csDropDownList);
  combo->addItems({QStringLiteral("Key1"), QStringLiteral("Key2")});
  combo->setCurrentIndex(1);
  combo->SetColor(RGB(0x30, 0x60, 0x90));
  other->setFocus();
  const QImage shot = combo->grab().toImage();
  EXPECT_EQ(shot.pixel(12, combo->height() / 2), ColorToQRgb(RGB(0x30, 0x60, 0x90)));
  ASSERT_FALSE(engine.Drawn.empty());
  EXPECT_EQ(engine.Drawn.back().text, QStringLiteral("Key2"));
  EXPECT_EQ(engine.Drawn.back().color, clWindowText);
}

TEST_F(ComboDrawing, OwnerDrawnItemsWithoutAHandlerShowTheirText) {
  combo->SetStyle(TQelCustomComboBox::csOwnerDrawFixed);
  combo->addItems({QStringLiteral("Key1"), QStringLiteral("Key2")});
  combo->setCurrentIndex(0);
  combo->grab();
  ASSERT_FALSE(engine.Drawn.empty());
  EXPECT_EQ(engine.Drawn.back().text, QStringLiteral("Key1"));
  EXPECT_EQ(engine.Drawn.back().color, clHighlightText);  // focused: selected
  // Back to Qt's delegate and again to ours: both still there.
  combo->SetStyle(TQelCustomComboBox::csDropDown);
  combo->SetStyle(TQelCustomComboBox::csOwnerDrawVariable);
  combo->showPopup();
  combo->hidePopup();
}

TEST_F(Combo, ColourFollowsTheState) {
  combo->SetFocusColor(clInfoBk);
  EXPECT_EQ(combo->Color(), clInfoBk);  // focused
  other->setFocus();
  EXPECT_EQ(combo->Color(), clWindow);
  combo->setEnabled(false);
  EXPECT_EQ(combo->Color(), clBtnFace);
  EXPECT_EQ(combo->palette().color(QPalette::Disabled, QPalette::Base).rgb(), ColorToQRgb(clBtnFace));
  combo->setEnabled(true);
  EXPECT_EQ(combo->Color(), clWindow);
}

}  // namespace
