#include <gtest/gtest.h>

#include <QTest>

#include "simpanel_fixture.h"
#include "ui/tform10.h"
#include "ui/tform11.h"
#include "ui/tform13.h"
#include "ui/tform3.h"
#include "ui/tform8.h"
#include "ui/tform9.h"

namespace {

// Each character typed where the dialog's focus is at that moment, so the
// fields that move on by themselves are followed.
void TypeAtFocus(QWidget* dialog, const QString& text) {
  for (QChar c : text) QTest::keyClicks(dialog->focusWidget(), QString(c));
}

struct Dialogs : SimulatedPanel {
  explicit Dialogs(const Variant& v = kVantor) : SimulatedPanel(v) { P.Dialogs.ShowThem = true; }
  Forms& W() { return P.W(); }
};

struct VantorDialogs : Dialogs, ::testing::Test {};

TEST_F(VantorDialogs, SetIpSendsThePanelFieldsWithAndWithoutThePort) {
  F1.IPEdit2->SetIPString("255.0.0.0");
  F1.IPEdit3->SetIPString("127.0.0.1");
  F1.QelEdit1->setText("10001");  // longer than can be typed: kept whole
  F1.Reset1->trigger();
  TForm8& d = *W().Form8;
  ASSERT_TRUE(d.isVisible());
  EXPECT_EQ(d.MaskEdit1->displayText(), "127.0  .0  .2  ");
  EXPECT_EQ(d.MaskEdit4->text(), "10001");
  QTest::mouseClick(d.Button1, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(NextFrame(), "F1 12 7F 00 00 02 27 11 FF 00 00 00 7F 00 00 01 F2 0D 0A ");

  F1.Reset1->trigger();
  d.MaskEdit4->clear();
  QTest::mouseClick(d.Button1, Qt::LeftButton);
  EXPECT_EQ(NextFrame(), "F1 12 7F 00 00 02 FF 00 00 00 7F 00 00 01 F2 0D 0A ");
  EXPECT_TRUE(P.Boxes.Boxes.empty());
}

TEST_F(VantorDialogs, SetIpRefusesWhatIsNoAddressAndStaysOpen) {
  const struct {
    const char* Ip;
    const char* Port;
  } cases[] = {{"300.0.0.9", "4001"}, {"127.0.0.9", "40x1"}, {"", "4001"}};
  for (const auto& c : cases) {
    F1.Reset1->trigger();
    TForm8& d = *W().Form8;
    d.MaskEdit1->setText(c.Ip);
    d.MaskEdit4->setText(c.Port);
    P.Boxes.Boxes.clear();
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    ASSERT_EQ(P.Boxes.Boxes.size(), 1u) << c.Ip << " " << c.Port;
    EXPECT_EQ(P.Boxes.Boxes[0].Text, "Data is not legal");
    EXPECT_TRUE(d.isVisible());
    QTest::mouseClick(d.Button2, Qt::LeftButton);  // "Cannel"
    EXPECT_FALSE(d.isVisible());
  }
  EXPECT_TRUE(Quiet());
}

TEST(SetIpWithoutPanel, WarnsAndStaysOpen) {
  TestProgram p(kVantor);
  p.Dialogs.ShowThem = true;
  TForm1& f1 = *p.W().Form1;
  f1.IPEdit1->SetIPString("127.0.0.9");
  f1.Reset1->trigger();
  TForm8& d = *p.W().Form8;
  EXPECT_EQ(d.windowTitle(), "Set IP");
  EXPECT_EQ(d.Button2->text(), "Cannel");
  QTest::mouseClick(d.Button1, Qt::LeftButton);
  EXPECT_TRUE(d.isVisible());
  ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(p.Boxes.Boxes[0].Text, "No panel is linked: nothing was sent");
  d.close();
}

TEST_F(VantorDialogs, SetMacMovesOnWhileTypingAndSendsTheSixBytes) {
  F1.SetMac1->trigger();
  TForm9& d = *W().Form9;
  ASSERT_TRUE(d.isVisible());
  d.Edits[0]->setFocus();
  TypeAtFocus(&d, "0012AB");
  EXPECT_EQ(d.Edits[0]->text(), "00");
  EXPECT_EQ(d.Edits[1]->text(), "12");
  EXPECT_EQ(d.Edits[2]->text(), "AB");
  EXPECT_EQ(d.focusWidget(), d.Edits[2]);

  // Backspace runs back across the fields.
  QTest::keyClick(d.focusWidget(), Qt::Key_Backspace);
  QTest::keyClick(d.focusWidget(), Qt::Key_Backspace);
  EXPECT_TRUE(d.Edits[2]->text().isEmpty());
  EXPECT_EQ(d.focusWidget(), d.Edits[1]);
  EXPECT_EQ(d.Edits[1]->cursorPosition(), 2);

  d.Edits[2]->setFocus();
  TypeAtFocus(&d, "x-AbcD4d5e6");  // other keys are dropped; the sixth field's extra digit goes to "Ok"
  EXPECT_EQ(d.Edits[2]->text(), "Ab");
  EXPECT_EQ(d.Edits[3]->text(), "cD");
  EXPECT_EQ(d.Edits[4]->text(), "4d");
  EXPECT_EQ(d.Edits[5]->text(), "5e");
  EXPECT_EQ(d.focusWidget(), d.Button1);

  QTest::mouseClick(d.Button1, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(NextFrame(), "F1 13 00 12 AB CD 4D 5E F2 0D 0A ");
  EXPECT_TRUE(F1.LogText().contains("Mac:F1 13 00 12 AB CD 4D 5E F2 "));
}

TEST_F(VantorDialogs, SetMacRefusesAnEmptyOrPastedNonHexField) {
  F1.SetMac1->trigger();
  TForm9& d = *W().Form9;
  const char* filled[] = {"00", "11", "22", "33", "44", "55"};
  for (int k = 0; k < 6; ++k) d.Edits[k]->setText(filled[k]);
  d.Edits[4]->clear();
  QTest::mouseClick(d.Button1, Qt::LeftButton);
  ASSERT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(P.Boxes.Boxes[0].Caption, "Set MAC");
  EXPECT_EQ(P.Boxes.Boxes[0].Text, "Please add all Messages!");
  EXPECT_TRUE(d.isVisible());

  d.Edits[4]->setText("44");
  d.Edits[2]->setText("G2");  // pasted: no key filter saw it
  QTest::mouseClick(d.Button1, Qt::LeftButton);
  ASSERT_EQ(P.Boxes.Boxes.size(), 2u);
  EXPECT_EQ(P.Boxes.Boxes[1].Text, "Data is not legal");
  EXPECT_TRUE(d.isVisible());
  EXPECT_TRUE(Quiet());
  QTest::mouseClick(d.Button2, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
}

TEST_F(VantorDialogs, SystemMessageAsksAndShowsTheAnswers) {
  F1.Message1->trigger();
  TForm10& d = *W().Form10;
  ASSERT_TRUE(d.isVisible());
  EXPECT_EQ(d.Label6->text(), "Disnormal");
  EXPECT_EQ(d.Label10->text(), "00-00-00-00-00-00");
  const struct {
    TQelLabel* Caption;
    const char* Frame;
    TQelLabel* Value;
    const char* Shown;
  } rows[] = {{d.Label1, "F1 41 F2 0D 0A ", d.Label6, "Normal"},
              {d.Label2, "F1 42 F2 0D 0A ", d.Label7, "Vantor "},
              {d.Label3, "F1 43 F2 0D 0A ", d.Label8, "V1.0.1"},
              {d.Label4, "F1 44 F2 0D 0A ", d.Label9, "127.0.0.2\n255.0.0.0\n127.0.0.1\n4001"},
              {d.Label5, "F1 45 F2 0D 0A ", d.Label10, "00-1A-2B-3C-4D-5E"}};
  for (const auto& r : rows) {
    QTest::mouseClick(r.Caption, Qt::LeftButton);
    EXPECT_EQ(NextFrame(), r.Frame);
    EXPECT_TRUE(QTest::qWaitFor([&] { return r.Value->text() == QString::fromLatin1(r.Shown); }, 2000))
        << r.Frame << " shows " << r.Value->text().toStdString();
  }
}

TEST_F(VantorDialogs, ModifySendsTypeNameAndPownData) {
  const struct {
    QAction* Item;
    const char* Label;
    const char* Text;
    const char* Frame;
  } cases[] = {{F1.Name1, "Type:", "T1", "F1 60 54 31 F2 0D 0A "},
               {F1.Name2, "Name:", "Hall", "F1 61 48 61 6C 6C F2 0D 0A "},
               {F1.POWNFunction1, "Data:", "POWER", "F1 65 01 02 05 50 4F 57 45 52 F2 0D 0A "}};
  TForm13& d = *W().Form13;
  for (const auto& c : cases) {
    d.Edit1->setText("left over");
    c.Item->trigger();
    ASSERT_TRUE(d.isVisible());
    EXPECT_EQ(d.Label1->text(), c.Label);
    EXPECT_TRUE(d.Edit1->text().isEmpty());
    QTest::keyClicks(d.Edit1, c.Text);
    QTest::mouseClick(d.Button1, Qt::LeftButton);
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(NextFrame(), c.Frame);
  }
  // Sixteen characters at most; a label of no kind sends nothing.
  d.show();
  QTest::keyClicks(d.Edit1, "0123456789abcdefXYZ");
  EXPECT_EQ(d.Edit1->text(), "0123456789abcdef");
  d.Label1->setText("Other:");
  QTest::mouseClick(d.Button1, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_TRUE(Quiet());
}

TEST_F(VantorDialogs, DeviceEntryAddsAFullRowOnlyWithAPort) {
  F1.QelBitBtn1Click();
  TForm3& d = *W().Form3;
  ASSERT_TRUE(d.isVisible());
  EXPECT_EQ(d.focusWidget(), d.IPEdit1->FieldAt(0));
  d.IPEdit1->SetIPString("192.168.1.20");
  d.IPEdit2->SetIPString("255.255.255.0");
  d.IPEdit3->SetIPString("192.168.1.1");
  QTest::keyClicks(d.Edit1, "80a8-0");
  EXPECT_EQ(d.Edit1->text(), "8080");
  const int before = F1.ListView3->Count();
  QTest::mouseClick(d.Button2, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  ASSERT_EQ(F1.ListView3->Count(), before + 1);
  EXPECT_EQ(F1.ListView3->Row(before),
            (QStringList{QString::number(before + 1), "192.168.1.20 255.255.255.0 192.168.1.1 8080;"}));
  EXPECT_EQ(F1.ListView3->ColumnWidth(1), 300);

  // Shown again: every field empty; without a port nothing is added.
  F1.QelBitBtn1Click();
  EXPECT_TRUE(d.Edit1->text().isEmpty());
  EXPECT_TRUE(d.IPEdit1->FieldAt(0)->text().isEmpty());
  QTest::mouseClick(d.Button2, Qt::LeftButton);
  EXPECT_FALSE(d.isVisible());
  EXPECT_EQ(F1.ListView3->Count(), before + 1);
  EXPECT_TRUE(P.Boxes.Boxes.empty());
}

struct EepromTable : ::testing::Test {
  EepromTable() { P.Dialogs.ShowThem = true; }
  void ClickCell(int col, int row) {
    QTest::mouseClick(T.StringGrid1->viewport(), Qt::LeftButton, {},
                      T.StringGrid1->visualItemRect(T.StringGrid1->item(row, col)).center());
  }
  TestProgram P{kVantor};
  TForm11& T = *P.W().Form11;
};

TEST_F(EepromTable, FillsAndTheKeyFilter) {
  P.W().Form1->EETab1->trigger();
  ASSERT_TRUE(T.isVisible());
  EXPECT_EQ(T.Edit1->text(), "0x0000");
  EXPECT_EQ(T.Edit2->text(), "256");
  QTest::mouseClick(T.Button2, Qt::LeftButton);  // "置1"
  for (int r = 0; r < 16; ++r)
    for (int c = 0; c < 16; ++c) ASSERT_EQ(T.Cell(c, r), "FF") << c << "," << r;
  QTest::mouseClick(T.Button1, Qt::LeftButton);  // "置0"
  EXPECT_EQ(T.Cell(0, 0), "00");
  EXPECT_EQ(T.Cell(15, 15), "00");

  // Not editable until a cell is chosen; a key out of range is refused with the message.
  QTest::keyClick(T.StringGrid1, Qt::Key_5);
  EXPECT_EQ(T.Cell(0, 0), "00");
  QTest::keyClick(T.StringGrid1, Qt::Key_G);
  ASSERT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(P.Boxes.Boxes[0].Text, QString::fromUtf8("请输入范围内的数据!"));

  ClickCell(3, 2);
  QTest::keyClicks(T.StringGrid1, "a");
  ASSERT_NE(T.focusWidget(), T.StringGrid1);  // the cell's editor
  QTest::keyClicks(T.focusWidget(), "zb");
  QTest::keyClick(T.focusWidget(), Qt::Key_Return);
  QTest::qWait(10);  // the cell takes the editor's text once the loop runs
  EXPECT_EQ(T.Cell(3, 2), "AB");
  EXPECT_EQ(P.Boxes.Boxes.size(), 2u);

  // The cells stay between showings; "退出" closes.
  QTest::mouseClick(T.Button5, Qt::LeftButton);
  EXPECT_FALSE(T.isVisible());
  P.W().Form1->EETab1->trigger();
  EXPECT_EQ(T.Cell(3, 2), "AB");
}

TEST_F(EepromTable, CellsAreDrawnCentredAndASixInRed) {
  T.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&T));
  T.Button1Click();
  T.StringGrid1->item(1, 1)->setText("6");
  T.StringGrid1->item(1, 2)->setText("5");
  T.StringGrid1->setCurrentCell(15, 15);
  const QImage img = T.StringGrid1->viewport()->grab().toImage();
  auto redIn = [&](int col, int row, QRect* box) {
    const QRect cell = T.StringGrid1->visualItemRect(T.StringGrid1->item(row, col));
    int n = 0;
    for (int y = cell.top(); y <= cell.bottom(); ++y)
      for (int x = cell.left(); x <= cell.right(); ++x) {
        const QColor c = img.pixelColor(x * img.width() / T.StringGrid1->viewport()->width(),
                                        y * img.height() / T.StringGrid1->viewport()->height());
        if (c.red() > 180 && c.green() < 90 && c.blue() < 90) {
          ++n;
          if (box) *box |= QRect(x, y, 1, 1);
        }
      }
    return n;
  };
  QRect box;
  EXPECT_GT(redIn(1, 1, &box), 0);
  EXPECT_EQ(redIn(2, 1, nullptr), 0);
  const QRect cell = T.StringGrid1->visualItemRect(T.StringGrid1->item(1, 1));
  EXPECT_LE(std::abs(box.center().x() - cell.center().x()), 2);
  EXPECT_LE(std::abs(box.center().y() - cell.center().y()), 2);
  EXPECT_EQ(cell.size(), QSize(30, 20));
}

}  // namespace
