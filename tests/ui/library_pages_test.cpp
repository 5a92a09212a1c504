#include <gtest/gtest.h>

#include "bytes.h"
#include "model/rs232lib.h"
#include "ui/tform1.h"
#include "ui/tform4.h"
#include "ui/tform6.h"
#include "project_fixture.h"
#include "ui_fixture.h"

namespace {

std::string Field(const std::string& s) { return "\x01" + s + "\x04"; }

// A library of three "asc" functions (CR, LF+CR, NULL) and one "hex".
std::string Rs232File() {
  return Field("TV") + Field("Power") + Field("9600") + Field("8") + Field("1") + Field("asc") + Field("CR") +
         Field("PWR\r") + Field("Menu") + Field("19200") + Field("7") + Field("2") + Field("asc") + Field("LF+CR") +
         Field("MENU\n\r") + Field("Mute") + Field("2400") + Field("6") + Field("1.5") + Field("asc") + Field("NULL") +
         Field("MUTE") + Field("Raw") + Field("115200") + Field("8") + Field("1") + Field("hex") + Field("NULL") +
         Field(B({0xAA, 0x00, 0x1A}));
}

struct LibraryPages : ::testing::Test {
  explicit LibraryPages(const Variant& v = kVantor) : P(v) {
    AddKeyActionThroughDialog(P.W(), 1, 0);
    std::filesystem::create_directories(P.Dir.Path() / "Library" / "RS232");
    P.Dir.Write("Library/RS232/tv.rss", Rs232File());
    P.Files.NextOpen = QString::fromStdString((P.Dir.Path() / "Library" / "RS232" / "tv.rss").string());
    F1.QelButton9Click();
  }
  // The data bytes of the event made from function `index`.
  std::string EventData(int index) {
    F1.QelComboBox1->setCurrentIndex(index);
    F1.QelComboBox1Change(index);
    F1.QelButton12Click();
    const auto& a = F1.F.Model->Actions[F1.F.Model->CurrentAction];
    const std::string& frame = a.Events[a.EventCount].Frame;
    return frame.substr(10, frame.size() - 11);  // the data part: format byte, data, end bytes
  }
  TestProgram P;
  TForm1& F1 = *P.W().Form1;
};

TEST_F(LibraryPages, ChangeLibFillsTheFunctionsAndTheFirstEntry) {
  EXPECT_EQ(F1.QelEdit2->text(), "TV");
  ASSERT_EQ(F1.QelComboBox1->count(), 4);
  EXPECT_EQ(F1.QelComboBox1->currentText(), "Power");
  EXPECT_EQ(F1.QelComboBox4->currentText(), "9600");
  EXPECT_EQ(F1.QelComboBox7->currentText(), "CR");
  EXPECT_EQ(F1.Memo1Bytes->Bytes(), "PWR");
  EXPECT_EQ(F1.LibraryEntries().Rs232Lib[2].Name, "Menu");
  F1.QelComboBox1Change(3);
  EXPECT_TRUE(F1.QelRadioButton2->isChecked());
  EXPECT_EQ(F1.Memo1Bytes->Bytes(), "AA 00 1A ");
}

TEST_F(LibraryPages, EventsCarryExactlyOneSetOfEndBytes) {
  EXPECT_EQ(EventData(0), B({0x00, 'P', 'W', 'R', 0x0D}));
  EXPECT_EQ(EventData(1), B({0x00, 'M', 'E', 'N', 'U', 0x0A, 0x0D}));
  EXPECT_EQ(F1.QelComboBox7->currentText(), "NULL");
  EXPECT_EQ(EventData(2), B({0x00, 'M', 'U', 'T', 'E'}));
  EXPECT_EQ(EventData(3), B({0x01, 0xAA, 0x00, 0x1A}));
  const std::string& text = F1.F.Model->Actions[1].Events[1].ListText;
  EXPECT_EQ(text.rfind("Lib name:TV Function:Power Port:1,9600bps 8 1,", 0), 0u) << text;
}

TEST_F(LibraryPages, OtherExtensionsAreIgnored) {
  P.Dir.Write("Library/RS232/x.RSS", Field("Other"));
  P.Files.NextOpen = QString::fromStdString((P.Dir.Path() / "Library" / "RS232" / "x.RSS").string());
  F1.QelButton9Click();
  EXPECT_EQ(F1.QelEdit2->text(), "TV");
  EXPECT_EQ(F1.QelComboBox1->count(), 0);  // emptied before the dialog, as always
}

TEST_F(LibraryPages, IrChangeLibFeedsTheIrAdd) {
  std::filesystem::create_directories(P.Dir.Path() / "Library" / "IR");
  P.Dir.Write("Library/IR/tv.irr", Field("TV") + Field("1") + Field("Power") + Field("0003A1B2C3") + Field("2") +
                                       Field("Mute") + Field("0002D4E5"));
  P.Files.NextOpen = QString::fromStdString((P.Dir.Path() / "Library" / "IR" / "tv.irr").string());
  F1.LibraryEntries().IrCodeRaw = 1;
  F1.QelButton13Click();
  EXPECT_EQ(F1.QelEdit3->text(), "TV");
  ASSERT_EQ(F1.QelComboBox8->count(), 2);
  EXPECT_EQ(F1.LibraryEntries().IrCodeRaw, 0);
  F1.QelComboBox8->setCurrentIndex(1);
  F1.QelButton15Click();
  const std::string& frame = F1.F.Model->Actions[1].Events[1].Frame;
  EXPECT_EQ(frame.substr(frame.size() - 5), B({0x00, 0x02, 0xD4, 0xE5, 0xF4}));
}

TEST_F(LibraryPages, EditLibShowsTheEditors) {
  F1.QelButton10Click();
  F1.QelButton14Click();
  ASSERT_GE(P.Dialogs.Shown.size(), 2u);
  EXPECT_EQ(P.Dialogs.Shown[P.Dialogs.Shown.size() - 2], P.W().Form6);
  EXPECT_EQ(P.Dialogs.Shown.back(), P.W().Form4);
}

struct QuilletLibraryPages : LibraryPages {
  QuilletLibraryPages() : LibraryPages(kQuillet) {}
};

TEST_F(QuilletLibraryPages, LfCrSelectsTheFourthEndCharacter) {
  F1.QelComboBox1Change(1);
  EXPECT_EQ(F1.QelComboBox7->currentIndex(), 3);
  EXPECT_EQ(F1.Memo1Bytes->Bytes(), "MENU");
}

}  // namespace
