#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QWindow>
#include <functional>
#include <QTest>

#include "bytes.h"
#include "model/hex.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform2.h"
#include "ui_fixture.h"

namespace {

// A program with one "Press" action of key 1, as a user makes it.
struct EventSet : ::testing::Test {
  explicit EventSet(const Variant& v = kVantor) : P(v) {
    F1.show();
    AddAction(1, "Press");
  }
  TestProgram P;
  TForm1& F1 = *P.W().Form1;

  void AddAction(int key, const QString& kind, int group = 0) {
    F1.F.Model->CurrentKey = key;
    P.W().Form2->ComboBox1->setCurrentText(kind);
    P.W().Form2->ComboBox3->setCurrentIndex(group);
    P.W().Form2->Button1Click();
  }
  const TEventList& Event(int e) const { return F1.F.Model->Actions[F1.F.Model->CurrentAction].Events[e]; }
  int Count() const { return F1.F.Model->Actions[F1.F.Model->CurrentAction].EventCount; }
  void ClickEvent(int row) {
    F1.ListView2->Select(row - 1);
    F1.ListView2Click();
  }
  void ClickAction(int row) {
    F1.ListView1->Select(row - 1);
    F1.ListView1Click();
  }
  std::vector<QString> Warnings() const {
    std::vector<QString> t;
    for (const auto& b : P.Boxes.Boxes) t.push_back(b.Text);
    return t;
  }
  // Shown and stored order agree: row r shows record r of the current action.
  void ExpectListMirrorsModel() const {
    ASSERT_EQ(F1.ListView2->Count(), Count());
    for (int r = 0; r < F1.ListView2->Count(); ++r) {
      EXPECT_EQ(F1.ListView2->Caption(r), QString::number(r + 1));
      EXPECT_EQ(F1.ListView2->SubItem(r, 1), FromGbk(Event(r + 1).ListText)) << r;
    }
  }
};

TEST_F(EventSet, Rs232AddThroughTheWidgets) {
  QTest::keyClicks(F1.QelMemo1, "HELLO");
  F1.QelComboBox7->setCurrentIndex(1);  // "CR"
  QTest::mouseClick(F1.QelButton12, Qt::LeftButton);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Event(1).Frame, B({0xF3, 0x00, 0x01, 0x01, 0x00, 0x0B, 0x01, 0x30, 0x00, 0x00, 0x00, 0x48, 0x45, 0x4C, 0x4C,
                               0x4F, 0x0D, 0xF4}));
  EXPECT_EQ(Event(1).ListText, "Port:1,9600bps 8 1,Send Once,Frt:asc,CR,Len:5,Data:HELLO");
  EXPECT_EQ(Event(1).EventKind, "RS232");
  EXPECT_EQ(Event(1).Index, "1");
  ASSERT_EQ(F1.ListView2->Count(), 1);
  EXPECT_EQ(F1.ListView2->Row(0),
            (QStringList{"1", "RS232", "Port:1,9600bps 8 1,Send Once,Frt:asc,CR,Len:5,Data:HELLO"}));
  EXPECT_EQ(F1.F.Model->CurrentEventCount, 1);
}

TEST_F(EventSet, AddRefusals) {
  // Nothing typed: a required input is missing, silently.
  F1.QelButton12Click();
  F1.QelButton17Click();
  EXPECT_EQ(Count(), 0);
  EXPECT_TRUE(P.Boxes.Boxes.empty());

  // A malformed HEX memo: one message, nothing added.
  F1.QelRadioButton2->setChecked(true);
  F1.Memo1Bytes->SetBytes("01 GG 02 HH");
  F1.QelButton12Click();
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(Warnings(), std::vector<QString>{"Data is not legal"});

  // A repeat count that is no number, in mode "Set".
  P.Boxes.Boxes.clear();
  F1.QelRadioButton1->setChecked(true);
  F1.Memo1Bytes->SetBytes("AT");
  F1.QelComboBox2->setCurrentIndex(1);
  F1.QelEdit4->setText("x1");
  F1.QelButton12Click();
  EXPECT_EQ(Count(), 0);
  EXPECT_EQ(Warnings(), std::vector<QString>{"Data is not legal"});

  // No current action: the caption of the build; the Delay page has its own.
  P.Boxes.Boxes.clear();
  F1.F.Model->CurrentAction = 0;
  F1.QelButton22Click();
  F1.QelButton19Click();
  ASSERT_EQ(P.Boxes.Boxes.size(), 2u);
  EXPECT_EQ(P.Boxes.Boxes[0].Text, "Please add a Action in Action List");
  EXPECT_EQ(P.Boxes.Boxes[0].Caption, "Vantor V1.0.1");
  EXPECT_EQ(P.Boxes.Boxes[1].Caption, "Quillet V1.0.0");
}

TEST_F(EventSet, TheFiveHundredAndFirstEventIsRefused) {
  for (int i = 0; i < 500; ++i) F1.QelButton22Click();
  ASSERT_EQ(Count(), 500);
  EXPECT_EQ(Event(500).Frame.substr(1, 2), B({0x01, 0xF4}));
  F1.QelButton22Click();
  EXPECT_EQ(Count(), 500);
  EXPECT_EQ(F1.ListView2->Count(), 500);
  EXPECT_EQ(Warnings(), std::vector<QString>{"Event List is full"});
}

TEST_F(EventSet, ToggleActionShowsItsKeyOnTheTogglePage) {
  AddAction(2, "Toggle", 4);
  EXPECT_EQ(F1.QelComboBox17->currentText(), "Key2");
  F1.QelComboBox17->setCurrentIndex(6);
  ClickAction(1);  // a "Press" action leaves it
  EXPECT_EQ(F1.QelComboBox17->currentText(), "Key7");
  ClickAction(2);
  EXPECT_EQ(F1.QelComboBox17->currentText(), "Key2");
}

// Clicking an event of each kind puts its settings back so that Add makes
// the same frame again, apart from its index bytes.
TEST_F(EventSet, EveryKindComesBackFromItsListText) {
  // RS232: Port5, 115200, 5 data bits, stop 1.5, Space, repeat 3 x 2, HEX.
  F1.QelComboBox3->setCurrentIndex(4);
  F1.QelComboBox4->setCurrentIndex(6);
  F1.QelComboBox5->setCurrentIndex(3);
  F1.QelComboBox6->setCurrentIndex(1);
  F1.QelComboBox19->setCurrentIndex(4);
  F1.QelComboBox2->setCurrentIndex(1);
  F1.QelEdit4->setText("3");
  F1.QelEdit5->setText("2");
  F1.QelRadioButton2->setChecked(true);
  F1.Memo1Bytes->SetBytes("01 02 0D");
  F1.QelButton12Click();
  // TCP/IP, ASCII with CR+LF and a two-line memo.
  F1.QelEdit8->setText("10.0.0.1");
  F1.QelEdit9->setText("502");
  F1.QelComboBox12->setCurrentIndex(3);
  F1.Memo2Bytes->SetBytes("GET\r\nX");
  F1.QelButton17Click();
  // Delay.
  F1.QelEdit10->setText("23");
  F1.QelEdit11->setText("59");
  F1.QelEdit12->setText("7");
  F1.QelButton19Click();
  // Compare on TCP/IP, empty memo.
  F1.QelComboBox13->setCurrentIndex(3);
  F1.Memo3Bytes->SetBytes("");
  F1.QelButton21Click();
  // LED and Toggle.
  F1.QelComboBox15->setCurrentIndex(8);
  F1.QelComboBox16->setCurrentIndex(3);
  F1.QelButton22Click();
  F1.QelComboBox17->setCurrentIndex(5);
  F1.QelComboBox18->setCurrentIndex(1);
  F1.QelButton23Click();
  // IR from a loaded library entry.
  F1.LibraryEntries().IrLib[2] = TIR{"2", "Power", "0003A1B2C3"};
  F1.LibraryEntries().IrCodeRaw = 0;
  F1.QelEdit3->setText("TV");
  F1.QelComboBox8->addItems({"Mute", "Power"});
  F1.QelComboBox8->setCurrentIndex(1);
  F1.QelComboBox10->setCurrentIndex(1);
  F1.QelComboBox11->setCurrentIndex(1);
  F1.QelComboBox9->setCurrentIndex(1);
  F1.QelEdit6->setText("4");
  F1.QelEdit7->setText("9");
  F1.QelButton15Click();
  const int n = Count();
  ASSERT_EQ(n, 7) << (P.Boxes.Boxes.empty() ? "" : P.Boxes.Boxes[0].Text.toStdString());

  // Scramble the pages, then restore each event and add it again.
  const std::vector<std::function<void()>> adds = {[&] { F1.QelButton12Click(); }, [&] { F1.QelButton17Click(); },
                                                   [&] { F1.QelButton19Click(); }, [&] { F1.QelButton21Click(); },
                                                   [&] { F1.QelButton22Click(); }, [&] { F1.QelButton23Click(); },
                                                   [&] { F1.QelButton15Click(); }};
  for (int e = 1; e <= n; ++e) {
    SCOPED_TRACE(Event(e).ListText);
    F1.QelComboBox3->setCurrentIndex(0);
    F1.QelComboBox6->setCurrentIndex(0);
    F1.QelComboBox2->setCurrentIndex(0);
    F1.QelRadioButton1->setChecked(true);
    F1.QelRadioButton3->setChecked(true);
    F1.QelComboBox12->setCurrentIndex(0);
    F1.QelComboBox13->setCurrentIndex(0);
    F1.Memo3Bytes->SetBytes("junk");
    F1.QelComboBox15->setCurrentIndex(0);
    F1.QelComboBox18->setCurrentIndex(0);
    F1.QelComboBox9->setCurrentIndex(0);
    F1.QelEdit10->setText("0");
    ClickEvent(e);
    EXPECT_EQ(F1.QelPageControl1->TabIndex(), EventKindIndexOf(Event(e).EventKind));
    EXPECT_EQ(F1.QelListBox1->currentRow(), F1.QelPageControl1->TabIndex());
    EXPECT_EQ(F1.F.Model->CurrentEvent, e);
    adds[static_cast<size_t>(e - 1)]();
    ASSERT_EQ(Count(), n + e);
    const std::string before = Event(e).Frame, again = Event(n + e).Frame;
    ASSERT_EQ(again.size(), before.size());
    EXPECT_EQ(BytesToSpacedHex(again.substr(3)), BytesToSpacedHex(before.substr(3)));
    EXPECT_EQ(Event(n + e).ListText, Event(e).ListText);
  }
  EXPECT_TRUE(P.Boxes.Boxes.empty());
}

TEST_F(EventSet, RepeatControlsFollowTheMode) {
  EXPECT_FALSE(F1.QelEdit4->isVisible());
  EXPECT_FALSE(F1.QelLabel13->isVisible());
  F1.QelComboBox2->setCurrentIndex(1);
  emit F1.QelComboBox2->activated(1);
  EXPECT_TRUE(F1.QelEdit4->isVisible());
  EXPECT_TRUE(F1.QelDBTrackBar2->isVisible());
  EXPECT_FALSE(F1.QelEdit6->isVisible());  // the IR page's stay as they are
}

TEST_F(EventSet, EditAndTrackBarPairs) {
  F1.QelComboBox2->setCurrentIndex(1);
  F1.UpdateRs232RepeatControls();
  F1.QelEdit4->setText("");
  QTest::keyClicks(F1.QelEdit4, "150");
  EXPECT_EQ(F1.QelEdit4->text(), "100");
  EXPECT_EQ(F1.QelDBTrackBar1->value(), 99);
  F1.QelEdit4->setText("150");  // bar already at 99: still written back
  EXPECT_EQ(F1.QelEdit4->text(), "100");
  F1.QelEdit4->setText("0");
  EXPECT_EQ(F1.QelDBTrackBar1->value(), 99);
  F1.QelEdit4->setText("1x");  // pasted: no number, both stay
  EXPECT_EQ(F1.QelEdit4->text(), "1x");
  EXPECT_EQ(F1.QelDBTrackBar1->value(), 99);
  F1.QelDBTrackBar1->setValue(4);
  EXPECT_EQ(F1.QelEdit4->text(), "5");
  // Typed letters never reach the edit.
  F1.QelEdit5->setText("");
  QTest::keyClicks(F1.QelEdit5, "a7b");
  EXPECT_EQ(F1.QelEdit5->text(), "7");
  EXPECT_EQ(F1.QelDBTrackBar2->value(), 6);
}

TEST_F(EventSet, DelayFieldsAndTheHourFilter) {
  F1.QelPageControl1->SetTabIndex(3);
  F1.QelEdit10->setText("");
  QTest::keyClicks(F1.QelEdit10, "2");
  QTest::keyClicks(F1.QelEdit10, "7");
  EXPECT_EQ(F1.QelEdit10->text(), "23");
  EXPECT_EQ(F1.ScrollBar1->value(), 23);
  QTest::keyClicks(F1.QelEdit10, "0");  // 230: refused
  EXPECT_EQ(F1.QelEdit10->text(), "23");
  F1.QelEdit11->setText("75");
  EXPECT_EQ(F1.QelEdit11->text(), "59");
  F1.ScrollBar3->setValue(12);
  EXPECT_EQ(F1.QelEdit12->text(), "12");
  F1.QelButton18Click();
  EXPECT_EQ(F1.QelEdit10->text(), "0");
  EXPECT_EQ(F1.ScrollBar1->value(), 0);
  EXPECT_EQ(F1.ScrollBar2->value(), 0);
}

TEST_F(EventSet, MemosHoldBytes) {
  F1.QelMemo1->setFocus();
  QTest::keyClicks(F1.QelMemo1, "A");
  QTest::keyClick(F1.QelMemo1, Qt::Key_Return);
  QTest::keyClicks(F1.QelMemo1, "B");
  EXPECT_EQ(F1.Memo1Bytes->Bytes(), "A\r\nB");
  // A character code page 936 cannot hold is refused, and said so once.
  F1.QelMemo1->insertPlainText(QString::fromUtf8("\xF0\x9F\x98\x80"));
  EXPECT_EQ(F1.Memo1Bytes->Bytes(), "A\r\nB");
  EXPECT_EQ(F1.QelMemo1->toPlainText(), "A\nB");
  QTest::qWait(10);
  EXPECT_EQ(Warnings(), std::vector<QString>{"Data is not legal"});
  // Bytes put in by the program stay exactly, even a lone CR or invalid text.
  const std::string raw = B({'X', 0x0D, 0xFF, 0x0A});
  F1.Memo1Bytes->SetBytes(raw);
  EXPECT_EQ(F1.Memo1Bytes->Bytes(), raw);
  F1.QelButton12Click();
  EXPECT_EQ(Event(1).Frame.substr(11, 4), raw);
  EXPECT_NE(Event(1).ListText.find("Len:4,"), std::string::npos);
  F1.QelButton11Click();
  EXPECT_EQ(F1.Memo1Bytes->Bytes(), "");
  EXPECT_TRUE(F1.QelMemo1->toPlainText().isEmpty());
}

// The data memos take no paste or drop whose text would carry the event
// past 65,535 payload bytes: the page's settings bytes, the format byte, the
// data (HEX decoded) and the end characters. The window refuses it before
// the memo lays the text out, with one warning, and the memo keeps its text.
struct MemoPastes : EventSet {
  struct Memo {
    const char* Name;
    int Page;
    TQelMemo* Edit;
    MemoBytes* Bytes;
    TQelRadioButton* Ascii;
    TQelRadioButton* Hex;
    TQelComboBox* End;
    int Room;  // data bytes that fit with "ASCII" and "NULL"
  };
  std::vector<Memo> Memos() {
    return {{"RS232", 0, F1.QelMemo1, F1.Memo1Bytes, F1.QelRadioButton1, F1.QelRadioButton2, F1.QelComboBox7,
             65535 - 4 - 1},
            {"TCP/IP", 2, F1.QelMemo2, F1.Memo2Bytes, F1.QelRadioButton3, F1.QelRadioButton4, F1.QelComboBox12,
             65535 - 6 - 1},
            {"Compare", 4, F1.QelMemo3, F1.Memo3Bytes, F1.QelRadioButton5, F1.QelRadioButton6, F1.QelComboBox14,
             65535 - 1 - 1}};
  }
  // Text the memo holds as exactly `bytes` bytes, in short lines (a line
  // break is CR LF there).
  static QString Text(int bytes) {
    QString t;
    for (; bytes >= 64; bytes -= 64) t += QString(62, u'x') + u'\n';
    return t + QString(bytes, u'y');
  }
  void PasteKey(const Memo& m, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QTest::keyClick(m.Edit, Qt::Key_V, Qt::ControlModifier);
  }
  void PasteFromMenu(const Memo& m, const QString& text) {
    QGuiApplication::clipboard()->setText(text);
    QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(10, 10), m.Edit->viewport()->mapToGlobal(QPoint(10, 10)));
    QCoreApplication::sendEvent(m.Edit->viewport(), &e);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QAction* paste = menu->findChild<QAction*>(QStringLiteral("edit-paste"));
    ASSERT_NE(paste, nullptr);
    paste->trigger();
    menu->close();
  }
  void Drop(const Memo& m, const QString& text) {
    QMimeData data;
    data.setText(text);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m.Edit->viewport(), &enter);
    QDragMoveEvent move(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m.Edit->viewport(), &move);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(m.Edit->viewport(), &drop);
  }
  void PasteSelection(const Memo& m, const QString& text) {
    QGuiApplication::clipboard()->setText(text, QClipboard::Selection);
    QTest::mouseClick(m.Edit->viewport(), Qt::MiddleButton, {}, QPoint(10, 10));
  }
  void Show(const Memo& m) {
    F1.QelPageControl1->SetTabIndex(m.Page);
    m.Bytes->SetBytes({});
    m.Edit->setFocus();
  }
  // The memo shown holding "ab" as typed, no warning yet; its viewport.
  QWidget* ShowTyped(const Memo& m) {
    Show(m);
    QTest::keyClicks(m.Edit, "ab");
    P.Boxes.Boxes.clear();
    return m.Edit->viewport();
  }
  // Warnings shown once the event loop has run.
  std::vector<QString> SettledWarnings() {
    QTest::qWait(10);
    return Warnings();
  }
  const QString kTooLong = "The data is too long for one event: an event carries at most 65535 bytes";
};

TEST_F(MemoPastes, EveryRoadIsRefusedPastTheLimit) {
  const std::pair<const char*, void (MemoPastes::*)(const Memo&, const QString&)> roads[] = {
      {"keys", &MemoPastes::PasteKey},
      {"menu", &MemoPastes::PasteFromMenu},
      {"drop", &MemoPastes::Drop},
      {"selection", &MemoPastes::PasteSelection}};
  for (const Memo& m : Memos()) {
    for (const auto& [road, paste] : roads) {
      SCOPED_TRACE(std::string(m.Name) + " by " + road);
      if (paste == &MemoPastes::PasteSelection && !QGuiApplication::clipboard()->supportsSelection()) continue;
      Show(m);
      QTest::keyClicks(m.Edit, "ab");
      P.Boxes.Boxes.clear();
      (this->*paste)(m, Text(m.Room - 1));
      EXPECT_EQ(m.Bytes->Bytes(), "ab");
      EXPECT_EQ(m.Edit->toPlainText(), "ab");
      EXPECT_EQ(SettledWarnings(), std::vector<QString>{kTooLong});
      // What fits goes in by the same road.
      P.Boxes.Boxes.clear();
      (this->*paste)(m, "cd");
      EXPECT_EQ(m.Bytes->Bytes().size(), 4u);
      EXPECT_TRUE(SettledWarnings().empty());
    }
  }
}

TEST_F(MemoPastes, TheLimitCountsTheEventsBytes) {
  for (const Memo& m : Memos()) {
    SCOPED_TRACE(m.Name);
    Show(m);
    P.Boxes.Boxes.clear();
    // "ASCII" and "NULL": the room to the byte, line breaks counted as CR LF.
    PasteKey(m, Text(m.Room));
    EXPECT_EQ(m.Bytes->Bytes().size(), static_cast<size_t>(m.Room));
    PasteKey(m, "z");
    EXPECT_EQ(m.Bytes->Bytes().size(), static_cast<size_t>(m.Room));
    EXPECT_EQ(SettledWarnings(), std::vector<QString>{kTooLong});
    // A paste over a selection counts what it replaces.
    m.Edit->selectAll();
    PasteKey(m, Text(m.Room));
    EXPECT_EQ(m.Bytes->Bytes().size(), static_cast<size_t>(m.Room));
    EXPECT_EQ(SettledWarnings().size(), 1u);

    // "CR+LF" takes two bytes of the room.
    m.End->setCurrentIndex(3);
    Show(m);
    PasteKey(m, Text(m.Room - 1));
    EXPECT_TRUE(m.Edit->toPlainText().isEmpty());
    EXPECT_EQ(SettledWarnings().size(), 2u);
    PasteKey(m, Text(m.Room - 2));
    EXPECT_EQ(m.Bytes->Bytes().size(), static_cast<size_t>(m.Room - 2));
    m.End->setCurrentIndex(0);

    // "HEX" counts the bytes the text stands for.
    m.Hex->setChecked(true);
    Show(m);
    QString hex;
    for (int i = 0; i <= m.Room; ++i) hex += QStringLiteral("0A ");
    PasteKey(m, hex);
    EXPECT_TRUE(m.Edit->toPlainText().isEmpty());
    EXPECT_EQ(SettledWarnings().size(), 3u);
    // More characters than the room, a third as many bytes.
    PasteKey(m, hex.left(3 * (m.Room / 2 + 1)));
    EXPECT_GT(m.Bytes->Bytes().size(), static_cast<size_t>(m.Room));
    EXPECT_EQ(SettledWarnings().size(), 3u);
    m.Ascii->setChecked(true);
    m.Bytes->SetBytes({});
    P.Boxes.Boxes.clear();
  }
}

TEST_F(MemoPastes, AMebibyteLineIsRefusedAtOnce) {
  const Memo m = Memos()[0];
  Show(m);
  QElapsedTimer t;
  t.start();
  PasteKey(m, QString(1 << 20, u'x'));
  EXPECT_TRUE(m.Edit->toPlainText().isEmpty());
  EXPECT_EQ(SettledWarnings(), std::vector<QString>{kTooLong});
  EXPECT_LT(t.elapsed(), 2000);  // the memo's layout of such a line took 30 s
}

TEST_F(MemoPastes, HexTextTooLongForAnyEventIsRefusedAtOnce) {
  for (const Memo& m : Memos()) {
    SCOPED_TRACE(m.Name);
    m.Hex->setChecked(true);
    Show(m);
    P.Boxes.Boxes.clear();
    // No hex digit in it, so it decodes to no byte at all.
    QElapsedTimer t;
    t.start();
    PasteKey(m, QString(1 << 20, u'x'));
    EXPECT_TRUE(m.Edit->toPlainText().isEmpty());
    EXPECT_EQ(SettledWarnings(), std::vector<QString>{kTooLong});
    EXPECT_LT(t.elapsed(), 2000);
    // The most data an event carries still goes in, in both formats.
    QString hex;
    for (int i = 0; i < m.Room; ++i) hex += QStringLiteral("0A ");
    PasteKey(m, hex);
    EXPECT_EQ(m.Bytes->Bytes().size(), hex.size());
    F1.QelPageControl1->SetTabIndex(m.Page);
    m.Ascii->setChecked(true);
    Show(m);
    PasteKey(m, Text(m.Room));
    EXPECT_EQ(m.Bytes->Bytes().size(), static_cast<size_t>(m.Room));
    EXPECT_EQ(SettledWarnings().size(), 1u);
    m.Bytes->SetBytes({});
  }
}

// The spaced hex of a full event, copied with its line end, is what the
// decoder reads: the memo takes it, and its event is saved and opened whole.
TEST_F(MemoPastes, AFullHexEventWithItsLineEndIsTakenSavedAndOpened) {
  const Memo m = Memos()[0];
  m.Hex->setChecked(true);
  Show(m);
  QString hex;
  for (int i = 0; i < m.Room; ++i) hex += QStringLiteral("0A ");
  hex.chop(1);
  hex += QStringLiteral("\r\n");
  ASSERT_EQ(hex.size(), 196591);
  PasteKey(m, hex);
  EXPECT_EQ(m.Bytes->Bytes().size(), 196591u);
  EXPECT_TRUE(SettledWarnings().empty());
  QTest::mouseClick(F1.QelButton12, Qt::LeftButton);
  ASSERT_EQ(Count(), 1);
  const std::string frame = Event(1).Frame;
  ASSERT_EQ(frame.size(), 7u + 65535u);  // F3, index, type, length, the payload, F4
  EXPECT_EQ(frame.substr(frame.size() - 3), B({0x0A, 0x0A, 0xF4}));

  P.Files.NextSave = QString::fromStdString((P.Dir.Path() / "full").string());
  F1.Saveas1Click();
  EXPECT_GT(P.Dir.Read("full.dat").size(), frame.size());
  F1.QelButton8Click();
  P.Files.NextOpen = QString::fromStdString((P.Dir.Path() / "full.dat").string());
  F1.Open1Click();
  ASSERT_EQ(F1.F.Model->ActionCount, 1);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Event(1).Frame, frame);
  EXPECT_TRUE(SettledWarnings().empty());

  // As many characters with no hex digit in them stay refused at once.
  Show(m);
  QElapsedTimer t;
  t.start();
  PasteKey(m, QString(hex.size(), u'x'));
  EXPECT_TRUE(m.Edit->toPlainText().isEmpty());
  EXPECT_EQ(SettledWarnings(), std::vector<QString>{kTooLong});
  EXPECT_LT(t.elapsed(), 2000);
}

// A drag from another program, handed to the window as Qt's platform layer
// hands it: an entry, moves that carry the last answer, the drop.
class WindowDrag {
 public:
  WindowDrag(QWidget* window, const QString& text, Qt::DropActions actions, Qt::DropAction proposed)
      : window_(window->windowHandle()), actions_(actions), proposed_(proposed) {
    data_.setText(text);
  }
  // The action the source is told, after a move to `at` of `widget`.
  Qt::DropAction MoveTo(QWidget* widget, QPoint at) {
    const QPoint p = widget->mapTo(widget->window(), at);
    if (!entered_) {
      entered_ = true;
      QDragEnterEvent e(p, actions_, &data_, Qt::LeftButton, Modifiers());
      QCoreApplication::sendEvent(window_, &e);
      answer_ = e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
    }
    QDragMoveEvent e(p, actions_, &data_, Qt::LeftButton, Modifiers());
    if (answer_ != Qt::IgnoreAction && (actions_ & answer_)) {
      e.setDropAction(answer_);
      e.accept();
    }
    QCoreApplication::sendEvent(window_, &e);
    answer_ = e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
    return answer_;
  }
  // What the source offers, which it may change while it drags.
  QMimeData& Data() { return data_; }
  // What the drop ends as: the action the source is told.
  Qt::DropAction DropAt(QWidget* widget, QPoint at) {
    QDropEvent e(QPointF(widget->mapTo(widget->window(), at)), actions_, &data_, Qt::LeftButton, Modifiers());
    QCoreApplication::sendEvent(window_, &e);
    return e.isAccepted() ? e.dropAction() : Qt::IgnoreAction;
  }

 private:
  // The modifiers that ask for the proposed action (a copy without them).
  Qt::KeyboardModifiers Modifiers() const { return proposed_ == Qt::MoveAction ? Qt::ShiftModifier : Qt::NoModifier; }
  QWindow* window_;
  QMimeData data_;
  Qt::DropActions actions_;
  Qt::DropAction proposed_;
  bool entered_ = false;
  Qt::DropAction answer_ = Qt::IgnoreAction;
};

// Five drags into a memo that holds more than it shows, each held a while
// where it is dropped, so that the memo scrolls at its edges meanwhile.
TEST_F(MemoPastes, DropsWhileTheMemoScrollsLandWhereTheyAreDroppedAndUndo) {
  QString lines;
  for (int i = 0; i < 25; ++i) lines += QString(78, QChar(u'a' + i)) + (i < 24 ? QStringLiteral("\n") : QString());
  const QString dropped(20, u'Z');
  for (int round = 0; round < 2; ++round) {
    for (const Memo& m : Memos()) {
      SCOPED_TRACE(std::string(m.Name) + " round " + std::to_string(round));
      Show(m);
      m.Bytes->SetBytes(lines.toStdString());
      m.Edit->verticalScrollBar()->setValue(0);
      QWidget* view = m.Edit->viewport();
      const int h = view->height();
      QString expected = m.Edit->toPlainText();
      for (int y : {h - 3, 3, h / 2, h - 3, 3}) {
        WindowDrag drag(&F1, dropped, Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
        drag.MoveTo(F1.QelPageControl1, QPoint(2, 2));
        const QPoint at(view->width() / 3, y);
        for (int i = 0; i < 4; ++i) {
          EXPECT_EQ(drag.MoveTo(view, at), Qt::MoveAction);
          QTest::qWait(40);
        }
        const int position = m.Edit->cursorForPosition(at).position();
        EXPECT_EQ(drag.DropAt(view, at), Qt::MoveAction);
        expected.insert(position, dropped);
        ASSERT_EQ(m.Edit->toPlainText(), expected);
        EXPECT_EQ(m.Edit->textCursor().position(), position + dropped.size());
        QTest::qWait(1);
      }
      EXPECT_EQ(m.Bytes->Bytes(), ToGbkOrEmpty(QString(expected).replace(u'\n', QStringLiteral("\r\n"))));
      // Each drop is one step back.
      for (int i = 0; i < 5; ++i) QTest::keyClick(m.Edit, Qt::Key_Z, Qt::ControlModifier);
      EXPECT_EQ(m.Edit->toPlainText(), lines);
      EXPECT_TRUE(Warnings().empty());
    }
  }
}

// A drop the limit refuses ends as ignored: a source that moves its text
// (a plain Qt editor) is told at most "copy" while it drags and "ignore" at
// the drop, so it deletes nothing. What fits is moved as the source asks.
TEST_F(MemoPastes, ARefusedMoveDragLeavesTheSourceItsText) {
  for (const Memo& m : Memos()) {
    SCOPED_TRACE(m.Name);
    QWidget* view = ShowTyped(m);
    const QPoint at(10, 10);
    WindowDrag tooLong(&F1, QString(70000, u'x'), Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    for (int i = 0; i < 3; ++i) EXPECT_NE(tooLong.MoveTo(view, at), Qt::MoveAction);
    EXPECT_EQ(tooLong.DropAt(view, at), Qt::IgnoreAction);
    EXPECT_EQ(m.Edit->toPlainText(), "ab");
    EXPECT_EQ(SettledWarnings(), std::vector<QString>{kTooLong});
    // A source that offers only a move is turned away while it drags.
    WindowDrag moveOnly(&F1, QString(70000, u'x'), Qt::MoveAction, Qt::MoveAction);
    EXPECT_EQ(moveOnly.MoveTo(view, at), Qt::IgnoreAction);
    P.Boxes.Boxes.clear();
    WindowDrag fits(&F1, QStringLiteral("cd"), Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    EXPECT_EQ(fits.MoveTo(view, at), Qt::MoveAction);
    EXPECT_EQ(fits.DropAt(view, at), Qt::MoveAction);
    EXPECT_EQ(m.Bytes->Bytes().size(), 4u);
    EXPECT_TRUE(SettledWarnings().empty());
  }
}

// A drop is judged by the text it brings: a source whose text grows after
// its drag entered the memo is refused at the drop, at once.
TEST_F(MemoPastes, ADragThatGrowsIsRefusedAtTheDrop) {
  for (const Memo& m : Memos()) {
    SCOPED_TRACE(m.Name);
    QWidget* view = ShowTyped(m);
    const QPoint at(10, 10);
    WindowDrag drag(&F1, QString(20, u'x'), Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
    EXPECT_EQ(drag.MoveTo(view, at), Qt::MoveAction);
    drag.Data().setText(QString(1 << 20, u'x'));
    drag.MoveTo(view, at);
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(drag.DropAt(view, at), Qt::IgnoreAction);
    EXPECT_EQ(m.Edit->toPlainText(), "ab");
    EXPECT_EQ(SettledWarnings(), std::vector<QString>{kTooLong});
    EXPECT_LT(t.elapsed(), 2000);
  }
}

// Text the code page cannot hold is refused as the drag enters: its source
// is told no more than "copy" and the drop ends ignored, so a source that
// moves its text keeps it.
TEST_F(MemoPastes, ADropTheCodePageCannotHoldLeavesTheSourceItsText) {
  const struct {
    const char* Name;
    QString Text;
    QByteArray Raw;  // offered as it stands, in place of Text
  } texts[] = {
      {"Hangul", QString(200, QChar(0xD55C)), {}},
      {"emoji", QString::fromUtf8("\xF0\x9F\x98\x80").repeated(100), {}},
      {"C1 controls", QString(200, QChar(0x85)), {}},
      {"invalid UTF-8", {}, QByteArray(200, '\xFF')},
  };
  for (const Memo& m : Memos()) {
    for (const auto& t : texts) {
      SCOPED_TRACE(std::string(m.Name) + " " + t.Name);
      QWidget* view = ShowTyped(m);
      const QPoint at(10, 10);
      WindowDrag drag(&F1, t.Text, Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
      if (!t.Raw.isEmpty()) drag.Data().setData(QStringLiteral("text/plain"), t.Raw);
      for (int i = 0; i < 3; ++i) EXPECT_EQ(drag.MoveTo(view, at), Qt::CopyAction);
      EXPECT_EQ(drag.DropAt(view, at), Qt::IgnoreAction);
      EXPECT_EQ(m.Edit->toPlainText(), "ab");
      EXPECT_EQ(m.Bytes->Bytes(), "ab");
      EXPECT_EQ(SettledWarnings(), std::vector<QString>{"Data is not legal"});
    }
  }
}

TEST_F(EventSet, KindListAndPagesFollowEachOther) {
  F1.QelListBox1->setCurrentRow(4);
  EXPECT_EQ(F1.QelPageControl1->TabIndex(), 4);
  F1.QelPageControl1->SetTabIndex(2);
  F1.QelPageControl1Click();
  EXPECT_EQ(F1.QelListBox1->currentRow(), 2);
  EXPECT_EQ(F1.focusWidget(), F1.QelListBox1);
}

// List editing.

struct ListEditing : EventSet {
  // Three LED events of keys 1, 2, 3 in the current action.
  void AddLeds(std::initializer_list<int> keys) {
    for (int k : keys) {
      F1.QelComboBox15->setCurrentIndex(k - 1);
      F1.QelButton22Click();
    }
  }
  std::string Keys() const {
    std::string s;
    for (int e = 1; e <= Count(); ++e) s += Event(e).ListText.substr(3, 1);
    return s;
  }
};

TEST_F(ListEditing, MovesFollowTheSelectedRow) {
  AddLeds({1, 2, 3});
  ClickEvent(3);
  F1.QelBitBtn6Click();
  EXPECT_EQ(Keys(), "132");
  EXPECT_EQ(F1.F.Model->CurrentEvent, 2);
  EXPECT_EQ(F1.ListView2->Selected(), 1);
  EXPECT_EQ(Event(2).Index, "3");  // old index text and frame bytes travel with it
  EXPECT_EQ(Event(2).Frame.substr(1, 2), B({0x00, 0x03}));
  ExpectListMirrorsModel();

  // With CurrentEvent stale (set by hand), the selected row still decides.
  F1.ListView2->Select(0);
  F1.F.Model->CurrentEvent = 3;
  F1.QelBitBtn7Click();
  EXPECT_EQ(Keys(), "312");
  EXPECT_EQ(F1.F.Model->CurrentEvent, 2);
  ExpectListMirrorsModel();

  ClickEvent(1);
  F1.QelBitBtn6Click();  // first row up: nothing
  EXPECT_EQ(Keys(), "312");
  EXPECT_EQ(F1.F.Model->CurrentEvent, 1);
  F1.ListView2->clearSelection();
  F1.QelBitBtn7Click();  // no selection: nothing
  EXPECT_EQ(Keys(), "312");
}

TEST_F(ListEditing, DeleteEventRenumbersAndSelectsTheRowAbove) {
  AddLeds({1, 2, 3, 4});
  ClickEvent(2);
  F1.QelBitBtn5Click();
  EXPECT_EQ(Keys(), "134");
  EXPECT_EQ(F1.ListView2->Selected(), 0);
  EXPECT_EQ(F1.F.Model->CurrentEvent, 1);
  EXPECT_EQ(F1.F.Model->CurrentEventCount, 3);
  ExpectListMirrorsModel();
  ClickEvent(1);
  F1.QelBitBtn5Click();  // the first: the next one becomes row 1
  EXPECT_EQ(Keys(), "34");
  EXPECT_EQ(F1.ListView2->Selected(), 0);
  // A move after a delete still moves what is shown.
  ClickEvent(2);
  F1.QelBitBtn6Click();
  EXPECT_EQ(Keys(), "43");
  ExpectListMirrorsModel();
}

TEST_F(ListEditing, ActionsAreFoundByCaptionAfterSorting) {
  AddLeds({1});
  AddAction(2, "Press");  // record 2, no events
  AddAction(3, "Release");
  AddLeds({3});
  AddAction(10, "Left-handed");  // via the key-10 dialog's rules
  ASSERT_EQ(F1.ListView1->Count(), 4);
  F1.ListView1ColumnClick(2);  // by kind: Left-handed, Press, Press, Release
  ASSERT_EQ(F1.ListView1->SubItem(0, 1), "Left-handed");

  // Delete the row of record 3 wherever it is shown.
  F1.ListView1->Select(F1.ActionRowOf(3));
  F1.QelBitBtn3Click();
  ASSERT_EQ(F1.F.Model->ActionCount, 3);
  EXPECT_EQ(F1.ListView1->Count(), 3);
  for (int r = 0; r < F1.ListView1->Count(); ++r) {
    const int n = F1.ListView1->Caption(r).toInt();
    EXPECT_EQ(Utf8(F1.F.Model->Actions[n].KeyName), F1.ListView1->SubItem(r, 0)) << r;
    EXPECT_EQ(Utf8(F1.F.Model->Actions[n].ActionKind), F1.ListView1->SubItem(r, 1)) << r;
    EXPECT_EQ(Utf8(F1.F.Model->Actions[n].Index), F1.ListView1->Caption(r));
  }
  EXPECT_EQ(F1.F.Model->Actions[3].KeyName, "Key10");
  // The selected neighbour is current and its events are shown.
  const int sel = F1.ListView1->Selected();
  ASSERT_GE(sel, 0);
  EXPECT_EQ(F1.F.Model->CurrentAction, F1.ListView1->Caption(sel).toInt());
  ExpectListMirrorsModel();
}

TEST_F(ListEditing, DeleteEmptyActionsKeepsTheCurrentOneRight) {
  // Records: 1 (1 event), 2 (0), 3 (2 events, current), 4 (0).
  AddLeds({1});
  AddAction(2, "Press");
  AddAction(3, "Press");
  AddLeds({5, 6});
  AddAction(4, "Press");
  ClickAction(3);
  F1.QelBitBtn4Click();
  EXPECT_EQ(F1.F.Model->ActionCount, 2);
  ASSERT_EQ(F1.ListView1->Count(), 2);
  EXPECT_EQ(F1.ListView1->Row(1), (QStringList{"2", "Key3", "Press"}));
  EXPECT_EQ(F1.F.Model->CurrentAction, 2);  // followed its record
  EXPECT_EQ(Keys(), "56");
  ExpectListMirrorsModel();

  // Now the current action is an empty one that goes.
  AddAction(5, "Press");
  F1.QelBitBtn4Click();
  EXPECT_EQ(F1.F.Model->CurrentAction, 0);
  EXPECT_EQ(F1.F.Model->CurrentEventCount, 0);
  EXPECT_EQ(F1.ListView2->Count(), 0);
}

TEST_F(ListEditing, DeletingTheOnlyActionLeavesNoCurrentAction) {
  AddLeds({1, 2});
  ClickAction(1);
  F1.QelBitBtn3Click();
  EXPECT_EQ(F1.ListView1->Count(), 0);
  EXPECT_EQ(F1.ListView2->Count(), 0);
  EXPECT_EQ(F1.F.Model->CurrentAction, 0);
  EXPECT_EQ(F1.F.Model->CurrentEventCount, 0);
  F1.QelButton22Click();  // no action to add to
  EXPECT_EQ(Warnings(), std::vector<QString>{"Please add a Action in Action List"});
}

TEST_F(ListEditing, ClearAllThenAddReusesRecordOne) {
  AddLeds({1, 2});
  F1.QelButton8Click();
  EXPECT_EQ(F1.ListView1->Count(), 0);
  EXPECT_EQ(F1.F.Model->CurrentAction, 0);
  AddAction(4, "Press");
  EXPECT_EQ(F1.F.Model->CurrentAction, 1);
  EXPECT_EQ(Count(), 0);
  ClickAction(1);
  EXPECT_EQ(F1.ListView2->Count(), 0);

  // Event List "Clear All" with no current action only clears the rows.
  AddLeds({7});
  F1.F.Model->CurrentAction = 0;
  F1.QelButton24Click();
  EXPECT_EQ(F1.ListView2->Count(), 0);
  EXPECT_EQ(F1.F.Model->Actions[1].EventCount, 1);
  ClickAction(1);
  F1.QelButton24Click();
  EXPECT_EQ(F1.F.Model->Actions[1].EventCount, 0);
  EXPECT_EQ(F1.F.Model->CurrentEventCount, 0);
}

TEST_F(ListEditing, CaptionNamingNoRecordSelectsNothing) {
  AddLeds({1, 2});
  F1.ListView1->SetCaption(0, "7");
  ClickAction(1);
  EXPECT_EQ(F1.F.Model->CurrentAction, 0);
  EXPECT_EQ(F1.F.Model->CurrentEventCount, 0);
  EXPECT_EQ(F1.ListView2->Count(), 0);
}

struct QuilletEventSet : EventSet {
  QuilletEventSet() : EventSet(kQuillet) {}
};

TEST_F(QuilletEventSet, PagesOfTheSixKeyBuild) {
  EXPECT_EQ(F1.QelPageControl1->tabText(0), "RS232");
  EXPECT_EQ(F1.QelComboBox3->count(), 3);
  EXPECT_EQ(F1.QelComboBox15->count(), 6);
  EXPECT_EQ(F1.QelComboBox17->count(), 6);
  F1.F.Model->CurrentAction = 0;
  F1.QelButton19Click();
  ASSERT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(P.Boxes.Boxes[0].Caption, "Quillet V1.0.5");
}

}  // namespace
