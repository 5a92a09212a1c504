#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "bytes.h"
#include "model/hex.h"
#include "model/projectfile.h"
#include "project_fixture.h"
#include "ui_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::filesystem::path& p) { return ReadFileBytes(p).value_or(std::string{}); }

fs::path OnlyFileIn(const fs::path& dir) {
  fs::path found;
  for (const auto& e : fs::directory_iterator(dir)) found = e.path();
  return found;
}

class ProjectRoad : public ::testing::TestWithParam<const Variant*> {
 protected:
  // Two key actions with every kind of event, one empty action, panel fields and two devices.
  void MakeProject(TestProgram& p) {
    Forms& w = p.W();
    TForm1& f = *w.Form1;
    AddKeyActionThroughDialog(w, 2, 2, 4);
    AddEveryKind(f, 1);
    AddEveryKind(f, 2);
    AddKeyActionThroughDialog(w, 3, 0, 1);
    if (w.V.HasKey10Dialog) {
      AddKeyActionThroughDialog(w, 10, 1);
      AddEveryKind(f, 3);
    }
    AddKeyActionThroughDialog(w, 1, 1);
    AddEveryKind(f, 4);
    f.IPEdit1->SetIPString("192.168.1.5");
    f.IPEdit2->SetIPString("255.255.255.0");
    f.IPEdit3->SetIPString("192.168.1.1");
    f.QelEdit1->setText("4001");
    f.F.Devices->Add("192.168.1.5 4001 ");
    f.F.Devices->Add("192.168.1.9 4001 255.255.255.0 192.168.1.1");
    ASSERT_TRUE(p.Boxes.Boxes.empty()) << p.Boxes.Boxes[0].Text.toStdString();
  }
};

INSTANTIATE_TEST_SUITE_P(Builds, ProjectRoad, ::testing::Values(&kVantor, &kQuillet),
                         [](const auto& info) { return info.param->Name; });

TEST_P(ProjectRoad, SaveOpenSaveGivesTheSameBytes) {
  const Variant& v = *GetParam();
  TestProgram a(v);
  MakeProject(a);
  a.W().Form1->Save1Click();
  const fs::path first = OnlyFileIn(a.Dir.Path() / "Library" / "File");
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(first.extension(), ".dat");
  EXPECT_EQ(first.stem().string().size(), 12u);
  const std::string saved = Slurp(first);

  TestProgram b(v);
  b.Files.NextOpen = QString::fromStdString(first.string());
  b.W().Form1->Open1Click();
  EXPECT_TRUE(b.Boxes.Boxes.empty());
  TForm1& f = *b.W().Form1;
  EXPECT_EQ(f.ListView1->Count(), a.W().Form1->ListView1->Count());
  EXPECT_EQ(f.IPEdit2->IPString(), "255.255.255.0");
  EXPECT_EQ(f.QelEdit1->text(), "4001");
  EXPECT_EQ(f.ListView3->Count(), 2);
  fs::remove(first);
  f.Save1Click();
  EXPECT_EQ(BytesToSpacedHex(Slurp(OnlyFileIn(b.Dir.Path() / "Library" / "File"))), BytesToSpacedHex(saved));
}

TEST_P(ProjectRoad, SaveAsOpenSaveAsGivesTheSameBytes) {
  const Variant& v = *GetParam();
  TestProgram a(v);
  MakeProject(a);
  // Move and delete events first, so stored index bytes are stale.
  TForm1& fa = *a.W().Form1;
  fa.ListView1->Select(0);
  fa.ListView1Click();
  fa.ListView2->Select(3);
  fa.QelBitBtn6Click();
  fa.ListView2->Select(0);
  fa.QelBitBtn5Click();
  const fs::path name = a.Dir.Path() / "project";
  a.Files.NextSave = QString::fromStdString(name.string());
  fa.Saveas1Click();
  const std::string saved = Slurp(a.Dir.Path() / "project.dat");
  ASSERT_FALSE(saved.empty());

  TestProgram b(v);
  b.W().Form1->IPEdit1->SetIPString("10.0.0.7");
  b.Files.NextOpen = QString::fromStdString((a.Dir.Path() / "project.dat").string());
  b.W().Form1->Open1Click();
  EXPECT_EQ(b.W().Form1->IPEdit1->IPString(), "10.0.0.7");  // a "Save as" file has no panel fields
  b.Files.NextSave = QString::fromStdString((b.Dir.Path() / "again").string());
  b.W().Form1->Saveas1Click();
  EXPECT_EQ(BytesToSpacedHex(Slurp(b.Dir.Path() / "again.dat")), BytesToSpacedHex(saved));
  EXPECT_TRUE(b.Boxes.Boxes.empty());
}

TEST(ProjectFiles, OpenTakesOnlyTheExactExtension) {
  TestProgram p(kVantor);
  AddKeyActionThroughDialog(p.W(), 1, 0);
  p.Dir.Write("x.DAT", "");
  p.Files.NextOpen = QString::fromStdString((p.Dir.Path() / "x.DAT").string());
  p.W().Form1->Open1Click();
  EXPECT_EQ(p.W().Form1->ListView1->Count(), 1);  // nothing cleared
  p.Files.NextOpen.clear();
  p.W().Form1->Open1Click();
  EXPECT_EQ(p.W().Form1->ListView1->Count(), 1);
}

TEST(ProjectFiles, SaveAsAddsDatOnlyWhenMissing) {
  TestProgram p(kVantor);
  p.Files.NextSave = QString::fromStdString((p.Dir.Path() / "abc.dat").string());
  p.W().Form1->Saveas1Click();
  p.Files.NextSave = QString::fromStdString((p.Dir.Path() / "abc.DAT").string());
  p.W().Form1->Saveas1Click();
  EXPECT_TRUE(fs::exists(p.Dir.Path() / "abc.dat"));
  EXPECT_TRUE(fs::exists(p.Dir.Path() / "abc.DAT.dat"));
  EXPECT_FALSE(fs::exists(p.Dir.Path() / "abc.dat.dat"));
}

TEST(ProjectFiles, ABigActionAndHostileBytesOpenWhole) {
  // 246 events (count low byte F6), each LED frame followed by a CRC.
  TestProgram a(kVantor);
  AddKeyActionThroughDialog(a.W(), 5, 0);
  for (int i = 0; i < 246; ++i) {
    a.W().Form1->QelComboBox15->setCurrentIndex(i % 9);
    a.W().Form1->QelButton22Click();
  }
  AddKeyActionThroughDialog(a.W(), 6, 1);
  AddEveryKind(*a.W().Form1, 7);
  a.Files.NextSave = QString::fromStdString((a.Dir.Path() / "big").string());
  a.W().Form1->Saveas1Click();

  TestProgram b(kVantor);
  b.Files.NextOpen = QString::fromStdString((a.Dir.Path() / "big.dat").string());
  b.W().Form1->Open1Click();
  TForm1& f = *b.W().Form1;
  ASSERT_EQ(f.F.Model->ActionCount, 2);
  EXPECT_EQ(f.F.Model->Actions[1].EventCount, 246);
  EXPECT_EQ(f.F.Model->Actions[2].EventCount, 7);
  EXPECT_TRUE(f.LogText().contains("upload complete!!!"));
}

TEST(ProjectFiles, RefusedRecordsAreLoggedAndEachMessageShownOnce) {
  // Two IR events whose codes lie about their length (the page refuses
  // them), and a header of a key the build does not have, with its event.
  const std::string badIr = B({0xF3, 0x00, 0x01, 0x02, 0x00, 0x06, 0x01, 0x00, 0x00, 0x00, 0x05, 0xA1, 0xF4});
  std::string file;
  auto header = [](int a, int i, int count, std::string h) {
    std::string f = B({0xF5, 0x51, a, i, 0, count}) + h + B({0xF6});
    return f + Crc16Bytes(f.substr(0, 8));
  };
  file += header(2, 1, 2, B({1, 0, 1}));
  for (int k = 0; k < 2; ++k) file += badIr + Crc16Bytes(badIr);
  file += header(2, 2, 1, B({0x0B, 0, 1}));
  const std::string led = B({0xF3, 0x00, 0x01, 0x06, 0x00, 0x02, 0x01, 0x01, 0xF4});
  file += led + Crc16Bytes(led);

  TestProgram p(kVantor);
  p.W().Form1->LoadProject(file);
  TForm1& f = *p.W().Form1;
  EXPECT_EQ(f.F.Model->ActionCount, 1);
  EXPECT_EQ(f.F.Model->Actions[1].EventCount, 0);  // the LED never reached action 1
  ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
  EXPECT_EQ(p.Boxes.Boxes[0].Text, "Data is not legal");
  const QString log = f.LogText();
  EXPECT_EQ(log.count("refused"), 2);
  EXPECT_TRUE(log.contains("not added: its events are skipped"));
}

}  // namespace
