#include <gtest/gtest.h>

#include "bytes.h"

#include <QTest>

#include "model/hex.h"
#include "ui/tform1.h"
#include "ui/tform12.h"
#include "ui/tform2.h"
#include "ui_fixture.h"

namespace {

struct KeyDialogs : ::testing::Test {
  TestProgram P{kVantor};
  TForm1& F1 = *P.W().Form1;
  TForm2& F2 = *P.W().Form2;

  void Add(int key, const QString& kind, int group = 0) {
    F1.F.Model->CurrentKey = key;
    F2.ComboBox1->setCurrentText(kind);
    F2.ComboBox3->setCurrentIndex(group);
    F2.Button1Click();
  }
};

TEST_F(KeyDialogs, AddAppendsARowAndARecord) {
  F1.ListView2->AddRow("1", {"RS232", "old"});
  Add(2, "Toggle", 4);
  ASSERT_EQ(F1.ListView1->Count(), 1);
  EXPECT_EQ(F1.ListView1->Row(0), (QStringList{"1", "Key2", "Toggle"}));
  EXPECT_EQ(F1.ListView2->Count(), 0);
  EXPECT_EQ(F1.F.Model->CurrentAction, 1);
  EXPECT_EQ(F1.F.Model->Actions[1].Header, B({2, 4, 3}));
  EXPECT_TRUE(F1.ListView1->selectionModel()->selectedRows().isEmpty());
  EXPECT_TRUE(P.Boxes.Boxes.empty());
}

TEST_F(KeyDialogs, DuplicatesAreSilentAndKeyTenDoesNotBlockKeyOne) {
  Add(3, "Press");
  Add(3, "Press");
  Add(3, "Release");
  EXPECT_EQ(F1.ListView1->Count(), 2);

  F1.F.Model->CurrentKey = 10;
  TForm12& f12 = *P.W().Form12;
  f12.QelComboBox1->setCurrentIndex(1);
  f12.QelButton1Click();
  ASSERT_EQ(F1.ListView1->Count(), 3);
  EXPECT_EQ(F1.ListView1->Row(2), (QStringList{"3", "Key10", "Right-handed"}));
  EXPECT_EQ(F1.F.Model->Actions[3].Header, B({0x0A, 0x02, 0x00}));
  f12.QelButton1Click();  // same key and kind again
  EXPECT_EQ(F1.ListView1->Count(), 3);

  Add(1, "Press");  // "Key10" row must not count as key 1
  EXPECT_EQ(F1.ListView1->Count(), 4);
  EXPECT_TRUE(P.Boxes.Boxes.empty());
}

TEST_F(KeyDialogs, TypedKindWithoutCodeIsRefused) {
  Add(1, "Hold");
  EXPECT_EQ(F1.ListView1->Count(), 0);
  EXPECT_EQ(F1.F.Model->ActionCount, 0);
  ASSERT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(P.Boxes.Boxes[0].Text, "Data is not legal");
  EXPECT_EQ(P.Boxes.Boxes[0].Caption, "Vantor V1.0.1");
}

TEST_F(KeyDialogs, TheHundredAndFirstActionIsRefusedBeforeItsRow) {
  // Past what the duplicate rule allows through the dialog: fill the model directly.
  for (int n = 1; n <= 99; ++n) {
    F1.F.Model->Actions[n].KeyName = "Key9";
    F1.F.Model->Actions[n].ActionKind = "K" + std::to_string(n);
    F1.ListView1->AddRow(QString::number(n), {"Key9", "K"});
  }
  F1.F.Model->ActionCount = 99;
  Add(1, "Press");
  EXPECT_EQ(F1.ListView1->Count(), 100);
  EXPECT_EQ(F1.F.Model->Actions[100].KeyName, "Key1");
  Add(1, "Release");
  EXPECT_EQ(F1.ListView1->Count(), 100);
  ASSERT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(P.Boxes.Boxes[0].Text, "Action List is full");
}

TEST_F(KeyDialogs, SetNamesTheKeyInTheIniFile) {
  F1.F.Model->CurrentKey = 3;
  F2.Edit1->setText(QString::fromUtf8("\xE5\x89\x8D\xE7\x81\xAF"));  // 前灯
  F2.ComboBox3->setCurrentIndex(2);
  F2.Button2Click();
  EXPECT_EQ(F1.QelButton3->text(), QString::fromUtf8("\xE5\x89\x8D\xE7\x81\xAF"));
  EXPECT_EQ(F1.F.Model->KeyConfig[3], 3 * 32 + 2 * 4);
  EXPECT_EQ(P.Dir.Read("QuilletInfo.ini"), "[Key Name]\r\nK-N-3=\xC7\xB0\xB5\xC6\r\n");
  // No action yet: no header line, and nothing read from a record that is not there.
  const QString log = F1.LogText();
  EXPECT_TRUE(log.contains("\n68 \n")) << log.toStdString();
  EXPECT_TRUE(log.endsWith("form1.KeyNum3...68")) << log.toStdString();

  // Key 8: written to the file, no caption changes.
  F1.F.Model->CurrentKey = 8;
  F2.Edit1->setText("Menu");
  F2.Button2Click();
  EXPECT_EQ(F1.QelButton26->text(), "OFF");
  EXPECT_EQ(P.Dir.Read("QuilletInfo.ini"), "[Key Name]\r\nK-N-3=\xC7\xB0\xB5\xC6\r\nK-N-8=Menu\r\n");

  // With a current action its header is logged, and "Set" leaves it alone.
  Add(5, "Release", 1);
  F1.F.Model->CurrentKey = 5;
  F2.ComboBox3->setCurrentIndex(7);
  F2.Edit1->setText("");
  F2.Button2Click();
  EXPECT_EQ(F1.F.Model->Actions[1].Header, B({5, 1, 2}));
  EXPECT_TRUE(F1.LogText().endsWith("05 01 02 "));
  EXPECT_EQ(F1.QelButton5->text(), "");
  EXPECT_NE(P.Dir.Read("QuilletInfo.ini").find("K-N-5=\r\n"), std::string::npos);
}

TEST_F(KeyDialogs, KeyNameFilterStopsTypingAtFourCharacters) {
  P.W().Form2->show();
  F2.Edit1->setFocus();
  F2.Edit1->clear();
  QTest::keyClicks(F2.Edit1, "Light");
  EXPECT_EQ(F2.Edit1->text(), "Ligh");
  QTest::keyClick(F2.Edit1, Qt::Key_Backspace);
  EXPECT_EQ(F2.Edit1->text(), "Lig");
  QTest::keyClicks(F2.Edit1, "ht");
  EXPECT_EQ(F2.Edit1->text(), "Ligh");
  // Captions set by the program are never cut.
  F2.Edit1->setText("Projector");
  EXPECT_EQ(F2.Edit1->text(), "Projector");
  // Two Chinese characters fill the four bytes of a key name.
  F2.Edit1->setText(QString::fromUtf8("\xE5\x89\x8D"));
  EXPECT_TRUE(F2.Edit1KeyPress(QString::fromUtf8("\xE7\x81\xAF")));
  EXPECT_TRUE(F2.Edit1KeyPress("ab"));
  EXPECT_FALSE(F2.Edit1KeyPress("abc"));
  EXPECT_FALSE(F2.Edit1KeyPress(QString::fromUtf8("\xF0\x9F\x98\x80")));  // not in code page 936
}

TEST(KeyDialogsQuillet, GroupsStopAtSixAndHeaderIsPacked) {
  TestProgram p(kQuillet);
  TForm2& f2 = *p.W().Form2;
  ASSERT_EQ(f2.ComboBox3->count(), 7);
  EXPECT_EQ(f2.ComboBox3->itemText(0), "--");
  EXPECT_EQ(f2.ComboBox3->itemText(6), "Group 6");
  p.W().Model->CurrentKey = 2;
  f2.ComboBox1->setCurrentIndex(2);
  f2.ComboBox3->setCurrentIndex(4);
  f2.Button1Click();
  EXPECT_EQ(p.W().Model->Actions[1].Header, B({2 * 32 + 4 * 4 + 3}));
}

}  // namespace
