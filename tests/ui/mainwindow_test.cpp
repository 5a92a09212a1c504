#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QTest>

#include "ui/tform10.h"
#include "ui/tform11.h"
#include "ui/tform13.h"
#include "ui/tform3.h"
#include "ui/tform8.h"
#include "ui/tform9.h"
#include "ui/tform7.h"
#include "ui/tform4.h"
#include "ui/tform5.h"
#include "ui/tform6.h"
#include "ui/tform1.h"
#include "ui/tform12.h"
#include "ui/tform2.h"
#include "ui_fixture.h"

namespace {

class BothBuilds : public ::testing::TestWithParam<const Variant*> {};

INSTANTIATE_TEST_SUITE_P(Builds, BothBuilds, ::testing::Values(&kVantor, &kQuillet),
                         [](const auto& info) { return info.param->Name; });

TEST_P(BothBuilds, WindowsExistInOrderWithTheirCaptions) {
  const Variant& v = *GetParam();
  TestProgram p(v);
  Forms& w = p.W();
  EXPECT_EQ(w.Form1->windowTitle(), Utf8(v.Name));
  EXPECT_EQ(w.Form2->windowTitle(), "Dialog");
  EXPECT_EQ(w.Form3->windowTitle(), "TCP/IP");
  EXPECT_EQ(w.Form4->windowTitle(), "IR Edit");
  EXPECT_EQ(w.Form5->windowTitle(), "Dialog");
  EXPECT_EQ(w.Form6->windowTitle(), "Dialog");
  EXPECT_EQ(w.Form7->windowTitle(), "Download");
  EXPECT_EQ(w.Form8->windowTitle(), "Set IP");
  EXPECT_EQ(w.Form9->windowTitle(), "Set MAC");
  EXPECT_EQ(w.Form10->windowTitle(), "System Message");
  EXPECT_EQ(w.Form11->windowTitle(), "EEPROM Table");
  if (v.HasKey10Dialog) {
    ASSERT_NE(w.Form12, nullptr);
    EXPECT_EQ(w.Form12->windowTitle(), "Form12");
    ASSERT_NE(w.Form13, nullptr);
    EXPECT_EQ(w.Form13->windowTitle(), "Modify");
  } else {
    EXPECT_EQ(w.Form12, nullptr);
    EXPECT_EQ(w.Form13, nullptr);
  }
}

TEST_P(BothBuilds, MainWindowFacts) {
  const Variant& v = *GetParam();
  TestProgram p(v);
  TForm1& f = *p.W().Form1;
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));

  // Fixed size: minimum and maximum are the design size, no maximise button.
  EXPECT_EQ(f.size(), QSize(1018, 725));
  EXPECT_EQ(f.minimumSize(), QSize(1018, 725));
  EXPECT_EQ(f.maximumSize(), QSize(1018, 725));
  EXPECT_FALSE(f.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(f.windowFlags() & Qt::WindowMinimizeButtonHint);

  struct Col {
    TListView* list;
    int column;
    const char* caption;
    int width;
  };
  const Col cols[] = {{f.ListView1, 0, "Key", 40},  {f.ListView1, 1, "Type", 60}, {f.ListView1, 2, "Data", 300},
                      {f.ListView2, 0, "Num", 40},  {f.ListView2, 1, "Type", 60}, {f.ListView3, 0, "Num", 40},
                      {f.ListView3, 1, "Data", 150}};
  for (const Col& c : cols) {
    SCOPED_TRACE(c.list->objectName().toStdString() + " " + c.caption);
    EXPECT_EQ(c.list->ColumnCaption(c.column), c.caption);
    EXPECT_EQ(c.list->ColumnWidth(c.column), c.width);
  }
  EXPECT_EQ(f.ListView2->ColumnCaption(2), "Data");
  EXPECT_EQ(f.ListView1->columnCount(), 3);
  EXPECT_EQ(f.ListView3->columnCount(), 2);

  ASSERT_EQ(f.StatusBar1->PanelCount(), 6);
  const int widths[] = {150, 150, 150, 200, 200, 50};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(f.StatusBar1->PanelWidth(i), widths[i]) << i;
  EXPECT_GE(f.StatusBar1->PanelWidth(5), widths[5]);  // the last one reaches the right edge
  EXPECT_FALSE(f.StatusBar1->PanelText(0).isEmpty());
  EXPECT_EQ(f.StatusBar1->PanelText(1), "TCP Status: Disconnected");
  EXPECT_EQ(f.StatusBar1->PanelText(2), "UDP Status: Activated");
  EXPECT_EQ(f.StatusBar1->PanelText(3), QString::fromUtf8("Local IP\xEF\xBC\x9A"
                                                          "127.0.0.1"));
  EXPECT_TRUE(f.StatusBar1->PanelText(4).isEmpty());

  EXPECT_FALSE(f.Memo2->isVisible());
  EXPECT_TRUE(f.LogText().startsWith("Memo2\n"));
  EXPECT_EQ(f.QelPageControl1->count(), 7);
  EXPECT_EQ(f.QelPageControl1->tabText(0), Utf8(v.Rs232PageCaption));
  EXPECT_EQ(f.QelPageControl1->TabIndex(), 0);
  EXPECT_EQ(f.QelListBox1->count(), 7);
  EXPECT_EQ(f.QelListBox1->currentRow(), 0);
  EXPECT_EQ(f.F.Model->CurrentAction, 0);
  EXPECT_EQ(f.F.Model->CurrentEventCount, 0);
  EXPECT_TRUE(f.QelPanel1->hasFocus());
  EXPECT_TRUE(f.QelEdit1->alignment() & Qt::AlignHCenter);
}

// The seven tabs fit in one strip, and every page's contents lie inside
// the card.
TEST_P(BothBuilds, EventPagesFitTheirCard) {
  TestProgram p(*GetParam());
  TForm1& f = *p.W().Form1;
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  TQelPageControl* pc = f.QelPageControl1;
  EXPECT_FALSE(pc->ScrollNeeded());
  for (int i = 0; i < pc->count(); ++i) EXPECT_TRUE(pc->IsTabShown(i)) << i;
  const qel::TRect card = pc->CardClientRect();
  const QRect client(card.Left, card.Top, card.Width(), card.Height());
  for (TQelTabSheet* page : f.EventPages) {
    SCOPED_TRACE(page->Caption().toStdString());
    EXPECT_EQ(page->geometry(), client);
    for (QWidget* w : page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
      EXPECT_TRUE(page->rect().contains(w->geometry())) << w->objectName().toStdString();
  }
}

// A click on a tab shows its page; the kind list follows and takes the
// focus.
TEST_P(BothBuilds, ClickingATabShowsItsPage) {
  TestProgram p(*GetParam());
  TForm1& f = *p.W().Form1;
  f.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
  TQelPageControl* pc = f.QelPageControl1;
  const qel::TRect tab = pc->TabClientRect(3);
  QTest::mouseClick(pc, Qt::LeftButton, Qt::NoModifier, QPoint((tab.Left + tab.Right) / 2, (tab.Top + tab.Bottom) / 2));
  EXPECT_EQ(pc->TabIndex(), 3);
  EXPECT_EQ(f.QelListBox1->currentRow(), 3);
  EXPECT_TRUE(f.EventPages[3]->isVisible());
  EXPECT_FALSE(f.EventPages[0]->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), f.QelListBox1);
}

TEST_P(BothBuilds, KeyButtonsOfTheBuild) {
  const Variant& v = *GetParam();
  TestProgram p(v);
  TForm1& f = *p.W().Form1;
  for (int k = 1; k <= 6; ++k) {
    ASSERT_NE(f.KeyButton(k), nullptr);
    EXPECT_EQ(f.KeyButton(k)->text(), QString::number(k));
  }
  const char* fixed[] = {"ON", "OFF", "MUTE", "XN"};
  for (int k = 7; k <= 10; ++k) {
    if (v.KeyCount == 10) {
      ASSERT_NE(f.KeyButton(k), nullptr);
      EXPECT_EQ(f.KeyButton(k)->text(), fixed[k - 7]);
    } else {
      EXPECT_EQ(f.KeyButton(k), nullptr);
    }
  }
  EXPECT_EQ(f.findChildren<QAbstractButton*>("QelButton25").size(), v.KeyCount == 10 ? 1 : 0);
}

TEST(MainWindow, KeyCaptionsComeFromTheIniFile) {
  // GBK bytes for a Chinese caption; an empty value keeps the design caption.
  TestProgram p(kVantor, "[key name]\r\nK-N-3 = \xC7\xB0\xB5\xC6\r\nK-N-4=\r\nK-N-7=Menu\r\n");
  TForm1& f = *p.W().Form1;
  EXPECT_EQ(f.QelButton3->text(), QString::fromUtf8("\xE5\x89\x8D\xE7\x81\xAF"));  // 前灯
  EXPECT_EQ(f.QelButton4->text(), "4");
  EXPECT_EQ(f.QelButton1->text(), "1");
  EXPECT_EQ(f.QelButton25->text(), "ON");
  EXPECT_TRUE(f.LogText().contains("\nstr:\nstr:5\n"));
}

TEST(MainWindow, IniWithoutTheSectionLeavesDefaultCaptions) {
  TestProgram p(kQuillet, "[Other]\r\nK-N-3=X\r\n");
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(p.W().Form1->KeyButton(k)->text(), QString::number(k));
}

TEST(MainWindow, SortingComparesTextAndLeavesTheRecords) {
  TestProgram p(kVantor);
  TForm1& f = *p.W().Form1;
  // Twelve actions: keys 1..6 pressed and released.
  for (int k = 1; k <= 6; ++k)
    for (const char* kind : {"Press", "Release"}) {
      f.F.Model->CurrentKey = k;
      p.W().Form2->ComboBox1->setCurrentText(kind);
      p.W().Form2->Button1Click();
    }
  ASSERT_EQ(f.ListView1->Count(), 12);
  f.ListView1ColumnClick(0);
  EXPECT_EQ(f.ListView1->Caption(0), "1");
  EXPECT_EQ(f.ListView1->Caption(1), "10");
  EXPECT_EQ(f.ListView1->Caption(4), "2");
  EXPECT_EQ(f.ListView1->SubItem(1, 0), "Key5");  // the row moved whole
  EXPECT_EQ(f.F.Model->Actions[10].KeyName, "Key5");
  EXPECT_EQ(f.F.Model->Actions[2].ActionKind, "Release");

  f.ListView1ColumnClick(2);  // by kind: every "Press" first
  for (int r = 0; r < 6; ++r) EXPECT_EQ(f.ListView1->SubItem(r, 1), "Press") << r;
  for (int r = 0; r < 12; ++r) {
    const int n = f.ListView1->Caption(r).toInt();
    EXPECT_EQ(Utf8(f.F.Model->Actions[n].KeyName), f.ListView1->SubItem(r, 0));
  }
}

TEST(MainWindow, RowsAlternateLightGreenAndLightBlue) {
  EXPECT_EQ(TForm1::ListView1CustomDrawItem(0), QColor(0xD7, 0xEE, 0xF0));
  EXPECT_EQ(TForm1::ListView1CustomDrawItem(1), QColor(0xD7, 0xF0, 0xE0));
  EXPECT_EQ(TForm1::ListView1CustomDrawItem(2), QColor(0xD7, 0xEE, 0xF0));
}

TEST(MainWindow, KeyButtonsOpenTheirDialog) {
  TestProgram p(kVantor, "[Key Name]\r\nK-N-4=Menu\r\n");
  Forms& w = p.W();
  TForm1& f = *w.Form1;
  w.Form2->Edit1->setText("old");
  f.QelButton25Click();  // "ON" leaves the name edit alone
  EXPECT_EQ(f.F.Model->CurrentKey, 7);
  EXPECT_EQ(w.Form2->Edit1->text(), "old");
  f.QelButton4->click();
  EXPECT_EQ(f.F.Model->CurrentKey, 4);
  EXPECT_EQ(w.Form2->Edit1->text(), "Menu");
  f.QelButton28->click();
  EXPECT_EQ(f.F.Model->CurrentKey, 10);
  ASSERT_EQ(p.Dialogs.Shown.size(), 3u);
  EXPECT_EQ(p.Dialogs.Shown[0], w.Form2);
  EXPECT_EQ(p.Dialogs.Shown[1], w.Form2);
  EXPECT_EQ(p.Dialogs.Shown[2], w.Form12);
}

TEST(MainWindow, ClosingLogsAndShowsDisconnected) {
  TestProgram p(kVantor);
  TForm1& f = *p.W().Form1;
  f.show();
  f.StatusBar1->SetPanelText(1, "TCP Status: Connected");
  f.close();
  EXPECT_EQ(f.StatusBar1->PanelText(1), "TCP Status: Disconnected");
  EXPECT_TRUE(f.LogText().endsWith(
      QString::fromUtf8("\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8\xE5\xB7\xB2\xE6\x96\xAD\xE5\xBC\x80\xEF\xBC\x81")));
}

}  // namespace
