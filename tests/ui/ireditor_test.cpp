#include <gtest/gtest.h>

#include "fakepanel.h"

#include <QTcpSocket>
#include <QTest>
#include <filesystem>
#include <memory>

#include "bytes.h"
#include "link/netguard.h"
#include "link/server.h"
#include "model/hex.h"
#include "model/irlib.h"
#include "ui/tform1.h"
#include "ui/tform4.h"
#include "ui/tform5.h"
#include "ireditor_fixture.h"
#include "ui_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string Field(const std::string& s) { return "\x01" + s + "\x04"; }

std::string Row(const std::string& number, const std::string& name, const std::string& code) {
  return Field(number) + Field(name) + Field(code);
}

using irtest::Editor;

struct IREditor : ::testing::Test, Editor {
  IREditor() : Editor(kVantor) {}
};

struct IREditorQuillet : ::testing::Test, Editor {
  IREditorQuillet() : Editor(kQuillet) {}
};

TEST_F(IREditor, HasTheNamedControls) {
  EXPECT_EQ(E.windowTitle(), "IR Edit");
  EXPECT_TRUE(E.Edit1->isReadOnly());
  const std::vector<std::pair<QAbstractButton*, const char*>> buttons = {{E.Button1, "Open Lib"},
                                                                         {E.Button2, "Creat Lib"},
                                                                         {E.Button3, "New Function"},
                                                                         {E.Button4, "Delete Function"},
                                                                         {E.Button5, "Rename For Function"},
                                                                         {E.Button6, "Learn"},
                                                                         {E.Button7, "Save Edit"},
                                                                         {E.Button8, "Save as"},
                                                                         {E.Button9, "Ok"},
                                                                         {E.Button10, "Exit"}};
  for (const auto& [b, caption] : buttons) EXPECT_EQ(b->text(), caption);
  EXPECT_TRUE(E.Button9->isHidden());
  ASSERT_EQ(E.ListView1->columnCount(), 3);
  EXPECT_EQ(E.ListView1->ColumnCaption(0), "No.");
  EXPECT_EQ(E.ListView1->ColumnWidth(0), 40);
  EXPECT_EQ(E.ListView1->ColumnCaption(1), "name");
  EXPECT_EQ(E.ListView1->ColumnWidth(1), 100);
  EXPECT_EQ(E.ListView1->ColumnCaption(2), "Data");
  EXPECT_EQ(E.ListView1->ColumnWidth(2), 500);
  EXPECT_EQ(E.IrEditRow, 0);
  E.SetupIrColumns();  // a second showing adds no columns
  EXPECT_EQ(E.ListView1->columnCount(), 3);
}

TEST(IREditorBuilds, CreatLibNewFunctionsSaveEditWritesTheExactBytes) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    SCOPED_TRACE(v->Name);
    Editor t(*v);
    t.CreatLib("TV");
    EXPECT_EQ(t.E.Edit1->text(), "TV");
    t.NewFunction("A");
    EXPECT_EQ(t.E.IrEditRow, 1);
    t.NewFunction("B");
    EXPECT_EQ(t.E.IrEditRow, 2);  // on the row just made
    ASSERT_EQ(t.E.ListView1->Count(), 2);
    EXPECT_EQ(t.E.ListView1->Row(1), (QStringList{"2", "B", QString(600, QLatin1Char('F'))}));
    t.E.Button7Click();
    const std::string ff(600, 'F');
    EXPECT_EQ(t.Saved("TV.irr"), Field("TV") + Row("1", "A", ff) + Row("2", "B", ff));
    ASSERT_EQ(t.E.IrEditRecords.size(), 2u);
    EXPECT_EQ(t.E.IrEditRecords[1], Row("2", "B", ff));
    EXPECT_TRUE(t.P.Boxes.Boxes.empty());
  }
}

// An unlearned and a learned row, names in code page 936 and one byte that
// is no character at all: open then save changes no byte.
TEST(IREditorBuilds, OpenThenSaveKeepsEveryByte) {
  const std::string learned = BytesToHex(B({0x00, 0x04, 0x12, 0x34, 0xAB, 0xCD}));
  const std::string file = Field("TV") + Row("1", "Power", UnlearnedIrCode()) +
                           Row("7", "\xB5\xE7\xD4\xB4\x80", learned);  // "电源" and a stray 80
  for (const Variant* v : {&kVantor, &kQuillet}) {
    SCOPED_TRACE(v->Name);
    Editor t(*v);
    t.Open(t.Put("TV.irr", file));
    EXPECT_EQ(t.E.Edit1->text(), "TV");
    ASSERT_EQ(t.E.ListView1->Count(), 2);
    EXPECT_EQ(t.E.ListView1->Caption(1), "7");  // as the file has it
    EXPECT_TRUE(t.E.ListView1->SubItem(1, 0).startsWith(QString::fromUtf8("\xE7\x94\xB5\xE6\xBA\x90")));
    EXPECT_EQ(t.E.ListView1->SubItem(1, 1), QString::fromLatin1(learned));

    fs::remove(t.LibDir() / "TV.irr");
    t.E.Button7Click();
    EXPECT_EQ(t.Saved("TV.irr"), file);

    // "Save as" writes the same bytes and always appends the extension.
    t.P.Files.NextSave = QString::fromStdString((t.P.Dir.Path() / "copy.irr").string());
    t.E.Button8Click();
    EXPECT_EQ(t.P.Dir.Read("copy.irr.irr"), file);
    EXPECT_TRUE(t.P.Boxes.Boxes.empty());
  }
}

TEST_F(IREditor, OpenLibIgnoresOtherExtensionsAndCancelLeavesItEmpty) {
  CreatLib("Old");
  NewFunction("A");
  for (const char* name : {"TV.IRR", "TV.irr.txt", "TV.rss"}) {
    SCOPED_TRACE(name);
    Open(Put(name, Field("TV") + Row("1", "A", "00")));
    EXPECT_TRUE(E.Edit1->text().isEmpty());
    EXPECT_EQ(E.ListView1->Count(), 0);
    EXPECT_TRUE(E.Library().Rows.empty());
  }
  Open(QString());
  EXPECT_EQ(E.ListView1->Count(), 0);
  EXPECT_TRUE(P.Boxes.Boxes.empty());
}

TEST_F(IREditor, OpenLibPointsNoRowAtTheNewRows) {
  CreatLib("Old");
  NewFunction("A");
  NewFunction("B");
  Click(1);
  ASSERT_EQ(E.IrEditRow, 2);
  ASSERT_EQ(E.IrRenameRow, 2);
  Open(Put("TV.irr", Field("TV") + Row("1", "X", "00") + Row("2", "Y", "11")));
  EXPECT_EQ(E.IrEditRow, 0);
  EXPECT_EQ(E.IrRenameRow, 0);
  EXPECT_FALSE(E.PutLearnedCode(B({0x00, 0x01, 0x55})));
  EXPECT_EQ(E.Library().Rows[1].Data, "11");
  E.Button5Click();                       // "Rename For Function" without a click: nothing to rename
  EXPECT_EQ(P.Dialogs.Shown.size(), 3u);  // "Creat Lib" and two "New Function", none since
}

TEST_F(IREditor, LearnedCodeGoesIntoIrEditRowOnly) {
  const std::string code = B({0x00, 0x03, 0x9A, 0x0B, 0xFF});
  CreatLib("TV");
  EXPECT_FALSE(E.PutLearnedCode(code));  // no rows, IrEditRow 0
  NewFunction("A");
  NewFunction("B");
  Click(0);
  EXPECT_TRUE(E.PutLearnedCode(code));
  EXPECT_EQ(E.ListView1->SubItem(0, 1), "00039A0BFF");
  EXPECT_EQ(E.Library().Rows[0].Data, "00039A0BFF");
  EXPECT_EQ(E.Library().Rows[1].Data, UnlearnedIrCode());

  E.IrEditRow = 0;
  EXPECT_FALSE(E.PutLearnedCode(B({0x00, 0x01, 0x11})));
  E.IrEditRow = 3;  // past the last row
  EXPECT_FALSE(E.PutLearnedCode(B({0x00, 0x01, 0x11})));
  EXPECT_EQ(E.Library().Rows[0].Data, "00039A0BFF");
  EXPECT_EQ(E.Library().Rows[1].Data, UnlearnedIrCode());

  E.IrEditRow = 2;
  E.Button7Click();
  EXPECT_EQ(Saved("TV.irr"), Field("TV") + Row("1", "A", "00039A0BFF") + Row("2", "B", UnlearnedIrCode()));
}

TEST(IREditorBuilds, LearnAnswerMessages) {
  struct Case {
    const Variant* V;
    uint8_t Status;
    const char* Text;  // nullptr: nothing shown
  };
  const Case cases[] = {
      {&kVantor, 0x00, "IR Learn Fail!"}, {&kQuillet, 0x00, "IR Learn Fail!"},
      {&kVantor, 0x02, nullptr},          {&kQuillet, 0x02, "Please don't long press button"},
      {&kVantor, 0x01, nullptr},          {&kQuillet, 0x01, nullptr},
      {&kQuillet, 0x03, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.V->Name + " status " + std::to_string(c.Status));
    Editor t(*c.V);
    EXPECT_FALSE(t.E.ShowLearnAnswer(c.Status));  // no row: nothing, whatever the status
    t.CreatLib("TV");
    t.NewFunction("A");
    EXPECT_EQ(t.E.ShowLearnAnswer(c.Status), c.Text != nullptr);
    if (!c.Text) {
      EXPECT_TRUE(t.P.Boxes.Boxes.empty());
      continue;
    }
    ASSERT_EQ(t.P.Boxes.Boxes.size(), 1u);
    EXPECT_EQ(t.P.Boxes.Boxes[0].Text, c.Text);
    EXPECT_EQ(t.P.Boxes.Boxes[0].Caption, Utf8(c.V->BoxCaption));
    EXPECT_TRUE(t.P.W().Form1->LogText().contains(c.Text));
  }
}

TEST_F(IREditor, LearnSendsCommand10ToTheSelectedPanel) {
  TForm1& f1 = *P.W().Form1;
  ASSERT_TRUE(f1.IdTCPServer1->IsListening());
  E.Button6Click();  // nobody connected: nothing to send
  ASSERT_EQ(Texts(), std::vector<QString>{"No panel is linked: nothing was sent"});
  P.Boxes.Boxes.clear();

  FakePanel a("127.0.0.2", f1.IdTCPServer1->Port());
  ASSERT_TRUE(QTest::qWaitFor([&] { return f1.IdTCPServer1->Count() == 1; }, 2000));
  FakePanel b("127.0.0.3", f1.IdTCPServer1->Port());
  ASSERT_TRUE(QTest::qWaitFor([&] { return f1.IdTCPServer1->Count() == 2; }, 2000));
  ASSERT_TRUE(LinkPanelAt(f1, "127.0.0.3"));
  E.Button6Click();
  ASSERT_TRUE(QTest::qWaitFor([&] { return b.received.size() >= 5; }, 2000));
  QTest::qWait(20);
  EXPECT_EQ(BytesToSpacedHex(b.received.toStdString()), "F1 10 F2 0D 0A ");
  EXPECT_TRUE(a.received.isEmpty());
  EXPECT_TRUE(P.Boxes.Boxes.empty());
}

TEST_F(IREditor, NewFunctionMovesIrEditRowOnlyOnOk) {
  CreatLib("TV");
  NewFunction("A");
  NewFunction("B");
  Click(0);
  E.Button3Click();
  P.W().Form5->Button2Click();  // "Cancel"
  EXPECT_EQ(E.IrEditRow, 1);
  EXPECT_EQ(E.IrRenameRow, 1);
  EXPECT_EQ(E.ListView1->Count(), 2);

  NewFunction("C");
  EXPECT_EQ(E.IrEditRow, 3);
  EXPECT_EQ(E.IrNameRequest, 2);
}

TEST_F(IREditor, RenameRightAfterNewFunctionRenamesRowOne) {
  CreatLib("TV");
  NewFunction("A");
  NewFunction("B");
  E.Button5Click();
  Answer(QString::fromUtf8("\xE7\x94\xB5\xE6\xBA\x90"));  // "电源"
  EXPECT_EQ(E.IrNameRequest, 3);
  EXPECT_EQ(E.Library().Rows[0].Name, "\xB5\xE7\xD4\xB4");
  EXPECT_EQ(E.ListView1->SubItem(0, 0), QString::fromUtf8("\xE7\x94\xB5\xE6\xBA\x90"));
  EXPECT_EQ(E.Library().Rows[1].Name, "B");
}

TEST_F(IREditor, DeleteFunctionAimsLearnAtTheRowSelectedAfterIt) {
  CreatLib("TV");
  for (const char* n : {"A", "B", "C"}) NewFunction(n);
  Click(1);
  E.Button4Click();
  ASSERT_EQ(E.ListView1->Count(), 2);
  EXPECT_EQ(E.ListView1->Caption(0), "1");
  EXPECT_EQ(E.ListView1->Caption(1), "2");
  EXPECT_EQ(E.ListView1->SubItem(1, 0), "C");
  EXPECT_EQ(E.Library().Rows[1].Number, "2");
  EXPECT_EQ(E.ListView1->Selected(), 1);
  EXPECT_EQ(E.IrEditRow, 2);  // "C", now selected
  EXPECT_EQ(E.IrRenameRow, 1);

  // The last row deleted: the new last row is selected.
  E.Button4Click();
  EXPECT_EQ(E.ListView1->Count(), 1);
  EXPECT_EQ(E.ListView1->Selected(), 0);
  EXPECT_EQ(E.IrEditRow, 1);

  // The only row deleted: a learned code goes nowhere.
  E.Button4Click();
  EXPECT_EQ(E.ListView1->Count(), 0);
  EXPECT_EQ(E.IrEditRow, 0);
  EXPECT_FALSE(E.PutLearnedCode(B({0x00, 0x01, 0x11})));
}

TEST_F(IREditor, DeleteFunctionWithNothingSelectedDoesNothing) {
  CreatLib("TV");
  for (const char* n : {"A", "B", "C"}) NewFunction(n);
  Click(2);
  E.ListView1->clearSelection();
  E.Button4Click();
  EXPECT_EQ(E.ListView1->Count(), 3);
  EXPECT_EQ(E.IrEditRow, 3);
  EXPECT_EQ(E.IrRenameRow, 3);
}

TEST(IREditorBuilds, UnsafeLibraryNamesAreRefusedWhereTyped) {
  const char* refused[] = {".",   "..",   "a/b", "../up", "a\\b", "a:b",  "a*b",
                           "a?b", "a\"b", "a<b", "a>b",   "a|b",  "a\tb", ""};
  for (const Variant* v : {&kVantor, &kQuillet}) {
    Editor t(*v);
    t.CreatLib("TV");
    t.NewFunction("A");
    for (const char* name : refused) {
      SCOPED_TRACE(v->Name + " " + name);
      t.P.Boxes.Boxes.clear();
      t.CreatLib(QString::fromLatin1(name));
      ASSERT_EQ(t.P.Boxes.Boxes.size(), 1u);
      EXPECT_EQ(t.P.Boxes.Boxes[0].Text, "Please create a new lib name");
      EXPECT_EQ(t.P.Boxes.Boxes[0].Caption, v == &kVantor ? "Quillet V1.0.0" : "Quillet V1.0.5");
      EXPECT_EQ(t.E.Edit1->text(), "TV");
      EXPECT_EQ(t.E.Library().Name, "TV");
      EXPECT_EQ(t.E.ListView1->Count(), 1);
    }
    // A character code page 936 cannot hold, and the field marks, are not legal.
    for (const QString& name :
         {QString::fromUtf8("\xF0\x9F\x98\x80"), QStringLiteral("a\x01"), QStringLiteral("\x04")}) {
      t.P.Boxes.Boxes.clear();
      t.CreatLib(name);
      EXPECT_EQ(t.Texts(), std::vector<QString>{"Data is not legal"});
      EXPECT_EQ(t.E.Library().Name, "TV");
      EXPECT_EQ(t.E.ListView1->Count(), 1);
    }
    t.P.Boxes.Boxes.clear();
    // Names in code page 936 are kept as its bytes.
    t.CreatLib(QString::fromUtf8("\xE7\x94\xB5\xE8\xA7\x86"));  // "电视"
    EXPECT_EQ(t.E.Library().Name, "\xB5\xE7\xCA\xD3");
    EXPECT_EQ(t.E.ListView1->Count(), 0);
    t.NewFunction("A");
    t.E.Button7Click();
    EXPECT_EQ(t.P.Dir.Read("Library/IR/\xE7\x94\xB5\xE8\xA7\x86.irr"),
              Field("\xB5\xE7\xCA\xD3") + Row("1", "A", UnlearnedIrCode()));
    EXPECT_TRUE(t.P.Boxes.Boxes.empty());
  }
}

TEST_F(IREditor, FunctionNamesWithFieldMarksAreNotLegal) {
  CreatLib("TV");
  NewFunction("A");
  for (const char* name : {"a\x01", "\x04"}) {
    SCOPED_TRACE(name);
    P.Boxes.Boxes.clear();
    NewFunction(QString::fromLatin1(name));
    EXPECT_EQ(Texts(), std::vector<QString>{"Data is not legal"});
    EXPECT_EQ(E.ListView1->Count(), 1);
    EXPECT_EQ(E.IrEditRow, 1);
    P.Boxes.Boxes.clear();
    E.Button5Click();
    Answer(QString::fromLatin1(name));
    EXPECT_EQ(Texts(), std::vector<QString>{"Data is not legal"});
    EXPECT_EQ(E.Library().Rows[0].Name, "A");
  }
}

// The name of a library read from a file is kept, but only "Save as" turns
// it into a file: "Save Edit" would write outside the library folder.
TEST_F(IREditor, UnsafeNameReadFromAFileIsKeptButNotSavedUnderIt) {
  const std::string file = Field("../evil") + Row("1", "A", "00");
  Open(Put("evil.irr", file));
  EXPECT_EQ(E.Edit1->text(), "../evil");
  E.Button7Click();
  EXPECT_EQ(Texts(), std::vector<QString>{"Please create a new lib name"});
  EXPECT_FALSE(fs::exists(P.Dir.Path() / "Library" / "evil.irr"));
  P.Files.NextSave = QString::fromStdString((P.Dir.Path() / "kept").string());
  E.Button8Click();
  EXPECT_EQ(P.Dir.Read("kept.irr"), file);
}

TEST_F(IREditor, SaveEditNeedsANameAndRows) {
  NewFunction("A");  // rows but no library name
  E.Button7Click();
  ASSERT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(P.Boxes.Boxes[0].Text, "Please create a new lib name");
  EXPECT_EQ(P.Boxes.Boxes[0].Caption, "Quillet V1.0.0");
  EXPECT_TRUE(fs::is_directory(LibDir()));  // made before the check

  CreatLib("Empty");
  E.Button7Click();  // a named library without rows: nothing written, nothing said
  EXPECT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_FALSE(fs::exists(LibDir() / "Empty.irr"));

  // "Save as" cancelled writes nothing.
  P.Files.NextSave.clear();
  E.Button8Click();
  EXPECT_TRUE(fs::is_empty(LibDir()));
}

TEST_F(IREditorQuillet, SaveEditBoxCaption) {
  E.Button7Click();
  ASSERT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(P.Boxes.Boxes[0].Caption, "Quillet V1.0.5");
}

std::string RowsFile(int n) {
  std::string f = Field("Big");
  for (int i = 1; i <= n; ++i) f += Row(std::to_string(i), "F" + std::to_string(i), "00");
  return f;
}

TEST_F(IREditor, MoreThan500RowsReadsTheFirst500WithOneWarning) {
  Open(Put("Big.irr", RowsFile(503)));
  EXPECT_EQ(E.ListView1->Count(), 500);
  EXPECT_EQ(E.ListView1->SubItem(499, 0), "F500");
  ASSERT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_TRUE(P.Boxes.Boxes[0].Text.contains("500"));

  // Full: "New Function" opens no dialog.
  P.Boxes.Boxes.clear();
  const size_t shown = P.Dialogs.Shown.size();
  E.Button3Click();
  EXPECT_EQ(P.Dialogs.Shown.size(), shown);
  EXPECT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(E.ListView1->Count(), 500);

  // The first 500 save as they were read.
  fs::remove(LibDir() / "Big.irr");
  E.Button7Click();
  EXPECT_EQ(Saved("Big.irr"), RowsFile(500));
}

TEST_F(IREditor, ExactlyFiveHundredRowsIsNoWarningAndOneMoreIsRefused) {
  Open(Put("Big.irr", RowsFile(499)));
  EXPECT_TRUE(P.Boxes.Boxes.empty());
  NewFunction("last");
  EXPECT_EQ(E.ListView1->Count(), 500);
  EXPECT_EQ(E.ListView1->Caption(499), "500");
  EXPECT_TRUE(P.Boxes.Boxes.empty());
  E.Button3Click();
  EXPECT_EQ(P.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(E.ListView1->Count(), 500);
}

}  // namespace
