#include <gtest/gtest.h>

#include "model/fileio.h"

#include "bytes.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/rs232lib.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform5.h"
#include "ui/tform6.h"
#include "rs232editor_fixture.h"
#include "ui_fixture.h"

namespace {

using rs232test::Editor;
using rs232test::F;
using rs232test::kGbkName;

// Typed characters one by one, also ones with no key of their own.
void Type(QWidget* w, const QString& text) {
  for (QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QCoreApplication::sendEvent(w, &press);
  }
}

// ---------------------------------------------------------------------------
// Building a library in the editor

struct NewLibCase {
  const Variant* V;
  std::string DataField;  // the Quillet build writes no end bytes
};

void PrintTo(const NewLibCase& c, std::ostream* os) { *os << c.V->Name; }

class RS232EditorNew : public ::testing::TestWithParam<NewLibCase> {};

TEST_P(RS232EditorNew, NewLibNewFunctionSaveWritesTheExactBytes) {
  Editor e(*GetParam().V);
  e.NewLib("Lib1");
  e.NewFunction("Power");
  EXPECT_EQ(e.P.Dialogs.Shown, (std::vector<QDialog*>{&e.N, &e.N}));
  e.E.ComboBox4->setCurrentText("9600");
  e.E.ComboBox5->setCurrentText("8");
  e.E.ComboBox6->setCurrentText("1");
  e.E.RadioButton2->setChecked(true);
  e.E.ComboBox7->setCurrentText("CR");
  QTest::keyClicks(e.E.Edit3, "PWR");
  e.E.Button6Click();
  EXPECT_TRUE(e.P.Boxes.Boxes.empty()) << e.Texts().join("|").toStdString();
  EXPECT_EQ(e.Saved("Lib1.rss"),
            F("Lib1") + F("Power") + F("9600") + F("8") + F("1") + F("asc") + F("CR") + F(GetParam().DataField));
}

INSTANTIATE_TEST_SUITE_P(RS232Editor, RS232EditorNew,
                         ::testing::Values(NewLibCase{&kVantor, "PWR\r"}, NewLibCase{&kQuillet, "PWR"}),
                         [](const auto& info) { return info.param.V->Name; });

TEST(RS232Editor, NewFunctionStartsEmptyAndEveryFunctionIsSavedInOrder) {
  Editor e(kVantor);
  e.NewLib("L");
  e.NewFunction("On");
  QTest::keyClicks(e.E.Edit3, "ON");
  e.E.ComboBox4->setCurrentIndex(0);
  emit e.E.ComboBox4->activated(0);  // the baud change rebuilds the function
  e.NewFunction("Off");
  EXPECT_EQ(e.E.Edit3->text(), "");
  EXPECT_EQ(e.E.Rs232EditCurrent, 2);
  e.E.RadioButton1->setChecked(true);
  QTest::keyClicks(e.E.Edit3, "02 0d ff");
  e.E.Button6Click();
  EXPECT_TRUE(e.P.Boxes.Boxes.empty()) << e.Texts().join("|").toStdString();
  EXPECT_EQ(e.Saved("L.rss"), F("L") + F("On") + F("2400") + F("8") + F("1") + F("asc") + F("NULL") + F("ON") +
                                  F("Off") + F("2400") + F("8") + F("1") + F("hex") + F("NULL") +
                                  F(B({0x02, 0x0D, 0xFF})));
}

// ---------------------------------------------------------------------------
// Open Lib then Save

struct RoundTrip {
  const Variant* V;
  std::string AscData;  // as the file holds it, end bytes or none
};

void PrintTo(const RoundTrip& r, std::ostream* os) { *os << r.V->Name; }

class RS232EditorRoundTrip : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(RS232EditorRoundTrip, OpenThenSaveChangesNoByteAndLosesNoFunction) {
  // An ASCII function with a byte no character stands for, and a HEX one
  // holding CR, LF and 1A; names in code page 936.
  const std::string asc = "PWR\xFF ok";
  const std::string file = F(kGbkName) + F(kGbkName + "1") + F("9600") + F("8") + F("1") + F("asc") + F("CR") +
                           F(GetParam().AscData) + F("Hex") + F("115200") + F("7") + F("1.5") + F("hex") + F("LF+CR") +
                           F(B({0x0D, 0x0A, 0x1A, 0x00, 0xFF}));
  for (int shown : {0, 1}) {
    SCOPED_TRACE(shown);
    Editor e(*GetParam().V);
    e.Open(file);
    EXPECT_EQ(e.E.Edit1->text(), FromGbk(kGbkName));
    EXPECT_EQ(e.Items(), (QStringList{FromGbk(kGbkName + "1"), "Hex"}));
    EXPECT_EQ(e.E.Rs232EditCurrent, 1);
    EXPECT_TRUE(e.E.RadioButton2->isChecked());
    EXPECT_EQ(e.E.ComboBox7->currentText(), "CR");
    if (shown == 1) {
      e.E.ComboBox1->setCurrentIndex(1);
      emit e.E.ComboBox1->activated(1);
      EXPECT_EQ(e.E.Rs232EditCurrent, 2);
      EXPECT_TRUE(e.E.RadioButton1->isChecked());
      EXPECT_EQ(e.E.Edit3->text(), "0D 0A 1A 00 FF ");  // the hex helper's spacing
      EXPECT_EQ(e.E.ComboBox4->currentText(), "115200");
      EXPECT_EQ(e.E.ComboBox6->currentText(), "1.5");
    }
    e.E.Button6Click();
    EXPECT_TRUE(e.P.Boxes.Boxes.empty()) << e.Texts().join("|").toStdString();
    const std::filesystem::path saved = e.Folder() / (FromGbk(kGbkName) + ".rss").toStdString();
    ASSERT_TRUE(e.Exists(saved));
    EXPECT_EQ(ReadFileBytes(saved).value_or(std::string{}), file);

    e.P.Files.NextSave = QString::fromStdString((e.Folder() / "copy").string());
    e.E.Button7Click();
    EXPECT_EQ(e.Saved("copy.rss"), file);
  }
}

INSTANTIATE_TEST_SUITE_P(RS232Editor, RS232EditorRoundTrip,
                         ::testing::Values(RoundTrip{&kVantor, "PWR\xFF ok\r"}, RoundTrip{&kQuillet, "PWR\xFF ok\r"},
                                           RoundTrip{&kQuillet, "PWR\xFF ok"}),
                         [](const auto& info) {
                           return info.param.V->Name + (info.param.AscData.ends_with('\r') ? "EndBytes" : "NoEndBytes");
                         });

TEST(RS232Editor, AsciiDataShowsItsEndBytesStrippedAndControlBytesVisibly) {
  Editor e(kVantor);
  e.Open(F("L") + F("f") + F("9600") + F("8") + F("1") + F("asc") + F("LF") + F("A\rB\n\n"));
  // One copy of the end bytes is the end character; the rest is data.
  EXPECT_EQ(e.E.Edit3->text(), QString::fromUtf8("A\u240DB\u240A"));
  e.E.Edit3->setCursorPosition(1);
  QTest::keyClicks(e.E.Edit3, "x");
  EXPECT_EQ(e.E.Edit3->text(), QString::fromUtf8("Ax\u240DB\u240A"));
  e.E.Button6Click();
  EXPECT_EQ(e.Saved("L.rss"), F("L") + F("f") + F("9600") + F("8") + F("1") + F("asc") + F("LF") + F("Ax\rB\n\n"));
}

TEST(RS232Editor, OpenIgnoresAFileWithAnotherExtension) {
  for (const char* file : {"t.RSS", "t.rs", "t.rss.bak", "t"}) {
    SCOPED_TRACE(file);
    Editor e(kVantor);
    e.NewLib("Old");
    e.NewFunction("f");
    e.Open(F("L") + F("g") + F("9600") + F("8") + F("1") + F("asc") + F("NULL") + F("x"), file);
    EXPECT_EQ(e.E.Edit1->text(), "");
    EXPECT_EQ(e.E.ComboBox1->count(), 0);
    EXPECT_EQ(e.E.Rs232EditCurrent, 0);
    EXPECT_TRUE(e.P.Boxes.Boxes.empty());
  }
}

// ---------------------------------------------------------------------------
// Names

TEST(RS232Editor, UnsafeLibraryNamesAreRefusedWhereTyped) {
  for (const char* name : {"", ".", "..", "a/b", "a\\b", "c:", "a*", "a?", "\"a\"", "<a", "a>", "a|b", "a\tb"}) {
    SCOPED_TRACE(name);
    Editor e(kVantor);
    e.NewLib("Good");
    e.NewLib(QString::fromLatin1(name));
    ASSERT_EQ(e.P.Boxes.Boxes.size(), 1u);
    EXPECT_EQ(e.P.Boxes.Boxes[0].Text, "Please create a new lib name");
    EXPECT_EQ(e.P.Boxes.Boxes[0].Caption, "Quillet V1.0.0");
    EXPECT_EQ(e.E.Edit1->text(), "Good");
    EXPECT_EQ(e.N.Edit1->text(), QString::fromLatin1(name));  // the dialog keeps the text to correct it
  }
}

TEST(RS232Editor, FunctionNamesAreNoFileNames) {
  Editor e(kQuillet);
  e.NewLib(QString::fromUtf8("遥控"));
  e.NewFunction("on/off: 1*2");
  EXPECT_TRUE(e.P.Boxes.Boxes.empty());
  EXPECT_EQ(e.Items(), QStringList{"on/off: 1*2"});
  EXPECT_EQ(e.E.Rs232LibName, kGbkName);
}

TEST(RS232Editor, NamesWithFieldMarksAreNotLegal) {
  for (const char* name : {"a\x01", "\x04"}) {
    Editor e(kVantor);
    e.NewLib(QString::fromLatin1(name));
    e.NewFunction(QString::fromLatin1(name));
    EXPECT_EQ(e.Texts(), (QStringList{"Data is not legal", "Data is not legal"}));
    EXPECT_EQ(e.E.Edit1->text(), "");
    EXPECT_EQ(e.E.ComboBox1->count(), 0);
  }
}

TEST(RS232Editor, TypedCharactersTheCodePageCannotHoldAreDropped) {
  Editor e(kVantor);
  // U+1100 (a Hangul letter) is not in code page 936; 遥 is.
  Type(e.N.Edit1, QString::fromUtf8("a\u1100遥"));
  EXPECT_EQ(e.N.Edit1->text(), QString::fromUtf8("a遥"));
  Type(e.E.Edit3, QString::fromUtf8("b\u1100c"));
  EXPECT_EQ(e.E.Edit3->text(), "bc");
  Type(e.E.ComboBox1->lineEdit(), QString::fromUtf8("d\u1100e"));
  EXPECT_EQ(e.E.ComboBox1->currentText(), "de");
}

TEST(RS232Editor, SaveRefusesAnUnsafeNameReadFromAFileAndSaveAsStillWritesIt) {
  Editor e(kVantor);
  const std::string file = F("..") + F("f") + F("9600") + F("8") + F("1") + F("asc") + F("NULL") + F("x");
  e.Open(file);
  EXPECT_EQ(e.E.Edit1->text(), "..");  // kept as read
  e.E.Button6Click();
  EXPECT_EQ(e.Texts(), QStringList{"Please create a new lib name"});
  EXPECT_FALSE(e.Exists(e.P.Dir.Path() / "Library" / "...rss"));
  EXPECT_FALSE(e.Exists(e.Folder() / "...rss"));

  e.P.Files.NextSave = QString::fromStdString((e.Folder() / "safe").string());
  e.E.Button7Click();
  EXPECT_EQ(e.Saved("safe.rss"), file);
  EXPECT_EQ(e.P.Boxes.Boxes.size(), 1u);
}

TEST(RS232Editor, SaveNamesWhatIsMissing) {
  struct Case {
    const Variant* V;
    bool Lib, Function;
    const char* Text;
    const char* Caption;
  };
  for (const Case& c : {Case{&kVantor, false, false, "Please create a new lib name", "Quillet V1.0.0"},
                        Case{&kQuillet, false, true, "Please create a new lib name", "Quillet V1.0.5"},
                        Case{&kVantor, true, false, "Please create a new Function name", "Quillet V1.0.0"}}) {
    Editor e(*c.V);
    if (c.Lib) e.NewLib("L");
    if (c.Function) e.E.ComboBox1->setEditText("f");
    e.E.Button6Click();
    ASSERT_EQ(e.P.Boxes.Boxes.size(), 1u);
    EXPECT_EQ(e.P.Boxes.Boxes[0].Text, c.Text);
    EXPECT_EQ(e.P.Boxes.Boxes[0].Caption, c.Caption);
    EXPECT_FALSE(e.Exists(e.Folder() / "L.rss"));
  }
}

TEST(RS232Editor, SaveLogsTheUpdateInQuilletOnly) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    Editor e(*v);
    e.NewLib("L");
    e.NewFunction("f");
    e.E.Button6Click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(e.Exists(e.Folder() / "L.rss"));
    EXPECT_EQ(e.P.W().Form1->LogText().contains("update data"), v == &kQuillet) << v->Name;
  }
}

// ---------------------------------------------------------------------------
// 01 and 04

TEST(RS232Editor, FieldMarksInTheDataAreRefused) {
  Editor e(kVantor);
  e.NewLib("L");
  e.NewFunction("f");
  QTest::keyClicks(e.E.Edit3, "ab");
  for (const char* mark : {"\x01", "\x04", "x\x04y"}) {
    e.E.Edit3->setCursorPosition(1);
    e.E.Edit3->insert(QString::fromLatin1(mark));  // as a paste does
    EXPECT_EQ(e.E.Edit3->text(), "ab");
  }
  QCoreApplication::processEvents();
  EXPECT_EQ(e.Texts(), (QStringList{"Data is not legal", "Data is not legal", "Data is not legal"}));
  e.E.Button6Click();
  EXPECT_EQ(e.Saved("L.rss"), F("L") + F("f") + F("9600") + F("8") + F("1") + F("asc") + F("NULL") + F("ab"));
}

TEST(RS232Editor, AFieldMarkInAFunctionTextWritesNothing) {
  Editor e(kVantor);
  e.NewLib("L");
  e.NewFunction("f");
  e.E.Button6Click();
  const std::string before = e.Saved("L.rss");
  e.E.ComboBox4->setEditText(
      QString::fromLatin1("96\x04"
                          "00"));
  e.E.Button6Click();
  EXPECT_EQ(e.Texts(), QStringList{"Data is not legal"});
  EXPECT_EQ(e.Saved("L.rss"), before);
  EXPECT_EQ(e.E.Rs232EditFunctions[0].Baud, "9600");
}

// ---------------------------------------------------------------------------
// 500 functions

TEST(RS232Editor, MoreThan500FunctionsReadsTheFirst500AndNewFunctionIsRefused) {
  Editor e(kVantor);
  std::string file = F("Big");
  for (int i = 1; i <= 501; ++i)
    file += F("f" + std::to_string(i)) + F("9600") + F("8") + F("1") + F("asc") + F("NULL") + F("d");
  e.Open(file);
  EXPECT_EQ(e.E.ComboBox1->count(), 500);
  EXPECT_EQ(e.E.Rs232EditCount(), 500);
  ASSERT_EQ(e.P.Boxes.Boxes.size(), 1u);
  EXPECT_NE(e.P.Boxes.Boxes[0].Text.indexOf("500"), -1);

  e.E.Button3Click();
  EXPECT_TRUE(e.P.Dialogs.Shown.empty());
  EXPECT_EQ(e.P.Boxes.Boxes.size(), 2u);
  EXPECT_EQ(e.E.Rs232EditCount(), 500);

  e.E.Button6Click();
  const std::string saved = e.Saved("Big.rss");
  EXPECT_EQ(saved, file.substr(0, saved.size()));
  EXPECT_EQ(saved.size(),
            file.size() - (F("f501") + F("9600") + F("8") + F("1") + F("asc") + F("NULL") + F("d")).size());
}

// ---------------------------------------------------------------------------
// Delete and Clear

TEST(RS232Editor, DeleteWithNothingSelectedDoesNothing) {
  Editor e(kVantor);
  e.E.Button4Click();  // an empty editor
  e.NewLib("L");
  e.NewFunction("a");
  e.NewFunction("b");
  e.E.ComboBox1->setCurrentIndex(-1);
  e.E.Button4Click();
  EXPECT_EQ(e.Items(), (QStringList{"a", "b"}));
  EXPECT_EQ(e.E.Rs232EditCount(), 2);
  EXPECT_TRUE(e.P.Boxes.Boxes.empty());
}

TEST(RS232Editor, DeleteRemovesTheSelectedFunctionAndShowsTheFirst) {
  Editor e(kVantor);
  e.Open(F("L") + F("a") + F("2400") + F("8") + F("1") + F("asc") + F("NULL") + F("A") + F("b") + F("4800") + F("8") +
         F("1") + F("asc") + F("NULL") + F("B") + F("c") + F("9600") + F("8") + F("1") + F("asc") + F("NULL") + F("C"));
  e.E.ComboBox1->setCurrentIndex(1);
  emit e.E.ComboBox1->activated(1);
  e.E.Button4Click();
  EXPECT_EQ(e.Items(), (QStringList{"a", "c"}));
  EXPECT_EQ(e.E.Rs232EditCurrent, 1);
  EXPECT_EQ(e.E.Edit3->text(), "A");
  EXPECT_EQ(e.E.Rs232EditFunctions[1].Number, 2);
  e.E.Button4Click();
  e.E.Button4Click();
  EXPECT_EQ(e.E.Rs232EditCount(), 0);
  EXPECT_EQ(e.E.Rs232EditCurrent, 0);
  EXPECT_EQ(e.E.ComboBox1->currentText(), "");
  EXPECT_EQ(e.E.Edit3->text(), "");
}

TEST(RS232Editor, ClearEmptiesTheData) {
  Editor e(kVantor);
  QTest::keyClicks(e.E.Edit3, "abc");
  e.E.Button5->click();
  EXPECT_EQ(e.E.Edit3->text(), "");
}

// ---------------------------------------------------------------------------
// Save as

TEST(RS232Editor, SaveAsAlwaysAppendsRss) {
  Editor e(kVantor);
  e.NewLib("L");
  e.NewFunction("f");
  e.P.Files.NextSave = QString();
  e.E.Button7Click();  // cancelled
  EXPECT_TRUE(std::filesystem::is_empty(e.Folder()));
  e.P.Files.NextSave = QString::fromStdString((e.Folder() / "x.rss").string());
  e.E.Button7Click();
  EXPECT_TRUE(e.Exists(e.Folder() / "x.rss.rss"));
  EXPECT_FALSE(e.Exists(e.Folder() / "x.rss"));
  EXPECT_TRUE(e.P.Boxes.Boxes.empty());
}

}  // namespace

// ---------------------------------------------------------------------------
// What was typed for a function is kept when another is made or chosen

namespace {

enum class Road { NewFunction, ChooseAnother };

struct TypedCase {
  const char* Name;
  Road Way;
  bool Hex;
  const char* Typed;
  std::optional<std::string> Stored;  // the data function "a" then holds; none: not legal
  const char* ShownAgain = "";        // its data edit once "a" is chosen again
};

void PrintTo(const TypedCase& c, std::ostream* os) { *os << c.Name; }

class RS232EditorKeepsTyped : public ::testing::TestWithParam<TypedCase> {};

TEST_P(RS232EditorKeepsTyped, TheCurrentFunctionIsRebuiltBeforeAnother) {
  using rs232test::Editor;
  using rs232test::F;
  const TypedCase& c = GetParam();
  Editor e(kVantor);
  e.Open(F("L") + F("a") + F("9600") + F("8") + F("1") + F("asc") + F("NULL") + F("A") + F("b") + F("4800") + F("8") +
         F("1") + F("asc") + F("NULL") + F("B"));
  ASSERT_EQ(e.E.Rs232EditCurrent, 1);
  // The user renames function "a", chooses the format and types new data.
  QTest::keyClicks(e.E.ComboBox1, "2");
  (c.Hex ? e.E.RadioButton1 : e.E.RadioButton2)->setChecked(true);
  e.E.Button5->click();
  QTest::keyClicks(e.E.Edit3, c.Typed);

  if (c.Way == Road::NewFunction)
    e.E.Button3Click();
  else
    QTest::keyClick(e.E.ComboBox1, Qt::Key_Down);  // function "b"

  if (!c.Stored) {
    // Nothing moves on: the typed text stays with its function.
    EXPECT_EQ(e.Texts(), QStringList{"Data is not legal"});
    EXPECT_TRUE(e.P.Dialogs.Shown.empty());
    EXPECT_EQ(e.E.Rs232EditCurrent, 1);
    EXPECT_EQ(e.E.ComboBox1->currentIndex(), 0);
    EXPECT_EQ(e.E.ComboBox1->currentText(), "a2");
    EXPECT_EQ(e.E.Edit3->text(), c.Typed);
    EXPECT_EQ(e.Items(), (QStringList{"a", "b"}));
    return;
  }
  EXPECT_TRUE(e.P.Boxes.Boxes.empty()) << e.Texts().join("|").toStdString();
  if (c.Way == Road::NewFunction) {
    e.Name("c");
    EXPECT_EQ(e.Items(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(e.E.Edit3->text(), "");
  } else {
    EXPECT_EQ(e.E.Rs232EditCurrent, 2);
    EXPECT_EQ(e.E.ComboBox1->currentText(), "b");
    EXPECT_EQ(e.E.Edit3->text(), "B");
    EXPECT_EQ(e.E.Rs232EditFunctions[1].Baud, "4800");  // "b" is as it was
  }
  const Rs232Function& a = e.E.Rs232EditFunctions[0];
  EXPECT_EQ(a.Name, "a2");
  EXPECT_EQ(a.Format, c.Hex ? "hex" : "asc");
  EXPECT_EQ(a.Data, *c.Stored);
  // Back on "a", what was typed shows again.
  e.E.ComboBox1->setCurrentIndex(0);
  emit e.E.ComboBox1->activated(0);
  EXPECT_EQ(e.E.ComboBox1->currentText(), "a2");
  EXPECT_EQ(e.E.Edit3->text(), c.ShownAgain);
}

INSTANTIATE_TEST_SUITE_P(
    RS232Editor, RS232EditorKeepsTyped,
    ::testing::Values(TypedCase{"NewFunctionAscii", Road::NewFunction, false, "PWR", "PWR", "PWR"},
                      TypedCase{"NewFunctionHex", Road::NewFunction, true, "0a 0b", B({0x0A, 0x0B}), "0A 0B "},
                      TypedCase{"NewFunctionNotLegal", Road::NewFunction, true, "0a zz", std::nullopt},
                      TypedCase{"ChooseAnotherAscii", Road::ChooseAnother, false, "PWR", "PWR", "PWR"},
                      TypedCase{"ChooseAnotherHex", Road::ChooseAnother, true, "0a 0b", B({0x0A, 0x0B}), "0A 0B "},
                      TypedCase{"ChooseAnotherNotLegal", Road::ChooseAnother, true, "0a zz", std::nullopt}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace

// ---------------------------------------------------------------------------
// "New Function" answered in the name dialog

namespace {

enum class Answer { Cancel, Ok };
enum class Then { ChooseAnother, Save };

struct NewFunctionAnswerCase {
  const char* Name;
  const Variant* V;
  Answer Given;
  Then After;
};

void PrintTo(const NewFunctionAnswerCase& c, std::ostream* os) { *os << c.Name; }

class RS232EditorNewFunctionAnswer : public ::testing::TestWithParam<NewFunctionAnswerCase> {};

// Data typed over a saved function survives a "New Function" the user
// cancels: the editor is as it was, and the next choice or "Save" stores
// what was typed. Only "Ok" starts the new function with no data.
TEST_P(RS232EditorNewFunctionAnswer, OnlyOkEmptiesTheData) {
  const NewFunctionAnswerCase& c = GetParam();
  Editor e(*c.V);
  const std::string b = F("b") + F("4800") + F("8") + F("1") + F("asc") + F("NULL") + F("B");
  const std::string head = F("L") + F("a") + F("9600") + F("8") + F("1") + F("asc") + F("NULL");
  e.Open(head + F("INP1") + b);
  ASSERT_EQ(e.E.Edit3->text(), "INP1");
  e.E.show();
  QTest::mouseClick(e.E.Button5, Qt::LeftButton);  // "Clear"
  QTest::keyClicks(e.E.Edit3, "INP2");

  e.P.Dialogs.ShowThem = true;
  e.P.Dialogs.Answer = [&](QDialog* d) {
    ASSERT_EQ(d, &e.N);
    if (c.Given == Answer::Ok) QTest::keyClicks(e.N.Edit1, "c");
    QTest::mouseClick(c.Given == Answer::Ok ? e.N.Button1 : e.N.Button2, Qt::LeftButton);
  };
  QTest::mouseClick(e.E.Button3, Qt::LeftButton);  // "New Function"
  EXPECT_EQ(e.P.Dialogs.Shown, std::vector<QDialog*>{&e.N});
  EXPECT_FALSE(e.N.isVisible());
  EXPECT_TRUE(e.P.Boxes.Boxes.empty()) << e.Texts().join("|").toStdString();
  if (c.Given == Answer::Cancel) {
    EXPECT_EQ(e.Items(), (QStringList{"a", "b"}));
    EXPECT_EQ(e.E.Rs232EditCurrent, 1);
    EXPECT_EQ(e.E.ComboBox1->currentText(), "a");
    EXPECT_EQ(e.E.Edit3->text(), "INP2");
  } else {
    EXPECT_EQ(e.Items(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(e.E.Rs232EditCurrent, 3);
    EXPECT_EQ(e.E.ComboBox1->currentText(), "c");
    EXPECT_EQ(e.E.Edit3->text(), "");
  }

  if (c.After == Then::ChooseAnother) {
    QTest::keyClick(e.E.ComboBox1, Qt::Key_Down);  // function "b"
    ASSERT_EQ(e.E.Rs232EditCurrent, 2);
    EXPECT_EQ(e.E.Edit3->text(), "B");
  }
  QTest::mouseClick(e.E.Button6, Qt::LeftButton);  // "Save"
  EXPECT_TRUE(e.P.Boxes.Boxes.empty()) << e.Texts().join("|").toStdString();
  std::string expected = head + F("INP2") + b;
  if (c.Given == Answer::Ok) expected += F("c") + F("9600") + F("8") + F("1") + F("asc") + F("NULL") + F("");
  EXPECT_EQ(e.Saved("L.rss"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    RS232Editor, RS232EditorNewFunctionAnswer,
    ::testing::Values(NewFunctionAnswerCase{"CancelThenChooseVantor", &kVantor, Answer::Cancel, Then::ChooseAnother},
                      NewFunctionAnswerCase{"CancelThenSaveVantor", &kVantor, Answer::Cancel, Then::Save},
                      NewFunctionAnswerCase{"CancelThenChooseQuillet", &kQuillet, Answer::Cancel, Then::ChooseAnother},
                      NewFunctionAnswerCase{"CancelThenSaveQuillet", &kQuillet, Answer::Cancel, Then::Save},
                      NewFunctionAnswerCase{"OkThenSaveVantor", &kVantor, Answer::Ok, Then::Save}),
    [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
