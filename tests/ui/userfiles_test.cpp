// Files the user chooses that are not what they should be, saving over
// what is there, and work that was never saved.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QPlainTextEdit>
#include <QTest>
#include <fstream>
#include <functional>

#include "bytes.h"
#include "fakepanel.h"
#include "link/server.h"
#include "model/projectfile.h"
#include "project_fixture.h"
#include "ui/tform2.h"
#include "ui/tform4.h"
#include "ui/tform6.h"
#include "ui_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string Field(const std::string& s) { return "\x01" + s + "\x04"; }

// Everything of the project a bad file must leave alone.
std::string ProjectState(TForm1& f) {
  std::string s = BuildSaveAsFile(f.F.V, *f.F.Model) + "|" + std::to_string(f.ListView1->Count()) + "|" +
                  f.IPEdit1->IPString().toStdString() + "|" + f.QelEdit1->text().toStdString();
  for (int r = 0; r < f.ListView3->Count(); ++r) s += "|" + f.ListView3->SubItem(r, 0).toStdString();
  return s;
}

void MakeSmallProject(TestProgram& p) {
  AddKeyActionThroughDialog(p.W(), 2, 1);
  AddEveryKind(*p.W().Form1, 1);
  p.W().Form1->IPEdit1->SetIPString("192.168.1.5");
  p.W().Form1->QelEdit1->setText("4001");
}

// The bad files of every kind, made in `dir` under a name ending in `ext`.
struct BadFile {
  const char* name;
  std::function<fs::path(const fs::path& dir, const std::string& ext)> make;
  const char* why;  // what the warning says of it
};

const BadFile kBadFiles[] = {
    {"a folder",
     [](const fs::path& d, const std::string& ext) {
       fs::create_directory(d / ("folder" + ext));
       return d / ("folder" + ext);
     },
     "it is a folder"},
    {"a FIFO",
     [](const fs::path& d, const std::string& ext) {
       ::mkfifo((d / ("fifo" + ext)).c_str(), 0600);
       return d / ("fifo" + ext);
     },
     "it is not a regular file"},
    {"a device",
     [](const fs::path& d, const std::string& ext) {
       fs::create_symlink("/dev/zero", d / ("zero" + ext));
       return d / ("zero" + ext);
     },
     "it is not a regular file"},
    {"a file past the size bound",
     [](const fs::path& d, const std::string& ext) {
       std::ofstream(d / ("big" + ext)).put('x');
       fs::resize_file(d / ("big" + ext), kMaxUserFileBytes + 1);
       return d / ("big" + ext);
     },
     "it is larger than"},
};

// ---------------------------------------------------------------------------
// Open

TEST(BadProjectFiles, AreRefusedWithOneWarningAndChangeNothing) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    TestProgram other(v == &kVantor ? kQuillet : kVantor);
    MakeSmallProject(other);
    other.Files.NextSave = QString::fromStdString((other.Dir.Path() / "other").string());
    other.W().Form1->Saveas1Click();

    TestProgram p(*v);
    MakeSmallProject(p);
    TForm1& f = *p.W().Form1;
    const fs::path dir = p.Dir.Path();
    std::vector<std::pair<std::string, fs::path>> cases;
    for (const BadFile& b : kBadFiles) cases.emplace_back(b.why, b.make(dir, ".dat"));
    p.Dir.Write("empty.dat", "");
    cases.emplace_back("holds no project", dir / "empty.dat");
    p.Dir.Write("noise.dat", std::string(3000, '\xF5') + "random \xF3\x01 bytes");
    cases.emplace_back("holds no project", dir / "noise.dat");
    cases.emplace_back("holds no project", other.Dir.Path() / "other.dat");

    const std::string before = ProjectState(f);
    for (const auto& [why, path] : cases) {
      SCOPED_TRACE(v->Name + ": " + path.filename().string());
      p.Boxes.Boxes.clear();
      p.Files.NextOpen = QString::fromStdString(path.string());
      f.Open1Click();
      ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
      EXPECT_TRUE(p.Boxes.Boxes[0].Text.contains(QString::fromStdString(path.string())));
      EXPECT_TRUE(p.Boxes.Boxes[0].Text.contains(QString::fromStdString(why))) << p.Boxes.Boxes[0].Text.toStdString();
      EXPECT_EQ(ProjectState(f), before);
    }
  }
}

TEST(BadProjectFiles, AFileThatEndsEarlyOpensUpToThereWithOneWarning) {
  TestProgram a(kVantor);
  MakeSmallProject(a);
  AddKeyActionThroughDialog(a.W(), 3, 0);
  AddEveryKind(*a.W().Form1, 2);
  a.Files.NextSave = QString::fromStdString((a.Dir.Path() / "whole").string());
  a.W().Form1->Saveas1Click();
  const std::string whole = a.Dir.Read("whole.dat");
  a.Dir.Write("cut.dat", whole.substr(0, whole.size() - 3));  // inside the last event

  TestProgram b(kVantor);
  b.Files.NextOpen = QString::fromStdString((a.Dir.Path() / "cut.dat").string());
  b.W().Form1->Open1Click();
  TForm1& f = *b.W().Form1;
  ASSERT_EQ(f.F.Model->ActionCount, 2);
  EXPECT_EQ(f.F.Model->Actions[1].EventCount, 7);
  EXPECT_EQ(f.F.Model->Actions[2].EventCount, 6);
  ASSERT_EQ(b.Boxes.Boxes.size(), 1u);
  EXPECT_TRUE(b.Boxes.Boxes[0].Text.contains("cut.dat ends early"));
}

// ---------------------------------------------------------------------------
// Code libraries, on each of the four roads that open one

struct LibraryRoad {
  const char* name;
  const char* sub;
  std::string ext, good;
  std::function<void(Forms&)> open;
  std::function<std::string(Forms&)> state;  // what the road shows of its library
};

std::string ComboItems(QComboBox* c) {
  std::string s;
  for (int i = 0; i < c->count(); ++i) s += c->itemText(i).toStdString() + ";";
  return s;
}

std::vector<LibraryRoad> LibraryRoads() {
  const std::string rs232 = Field("TV") + Field("Power") + Field("9600") + Field("8") + Field("1") + Field("asc") +
                            Field("CR") + Field("PWR") + Field("Menu") + Field("19200") + Field("7") + Field("2") +
                            Field("asc") + Field("NULL") + Field("MENU");
  const std::string ir =
      Field("Amp") + Field("1") + Field("On") + Field("0003A1B2C3") + Field("2") + Field("Off") + Field("0003A1B2C4");
  return {
      {"Change Lib, RS232 page", "RS232", ".rss", rs232, [](Forms& w) { w.Form1->QelButton9Click(); },
       [](Forms& w) { return w.Form1->QelEdit2->text().toStdString() + "|" + ComboItems(w.Form1->QelComboBox1); }},
      {"Change Lib, IR page", "IR", ".irr", ir, [](Forms& w) { w.Form1->QelButton13Click(); },
       [](Forms& w) { return w.Form1->QelEdit3->text().toStdString() + "|" + ComboItems(w.Form1->QelComboBox8); }},
      {"RS232 editor", "RS232", ".rss", rs232, [](Forms& w) { w.Form6->Button1Click(); },
       [](Forms& w) { return w.Form6->Rs232LibName + "|" + ComboItems(w.Form6->ComboBox1); }},
      {"IR editor", "IR", ".irr", ir, [](Forms& w) { w.Form4->Button1Click(); },
       [](Forms& w) {
         return w.Form4->Edit1->text().toStdString() + "|" + std::to_string(w.Form4->ListView1->Count());
       }},
  };
}

TEST(BadLibraryFiles, AreRefusedWithOneWarningAndKeepTheLibrary) {
  for (const LibraryRoad& road : LibraryRoads()) {
    TestProgram p(kVantor);
    Forms& w = p.W();
    const fs::path dir = p.Dir.Path() / "Library" / road.sub;
    fs::create_directories(dir);
    p.Dir.Write(std::string("Library/") + road.sub + "/good" + road.ext, road.good);
    p.Files.NextOpen = QString::fromStdString((dir / ("good" + road.ext)).string());
    road.open(w);
    const std::string loaded = road.state(w);
    ASSERT_NE(loaded.find("|"), 0u) << road.name;
    ASSERT_TRUE(p.Boxes.Boxes.empty()) << road.name;

    for (const BadFile& bad : kBadFiles) {
      SCOPED_TRACE(std::string(road.name) + ": " + bad.name);
      const fs::path path = bad.make(dir, road.ext);
      p.Boxes.Boxes.clear();
      p.Files.NextOpen = QString::fromStdString(path.string());
      road.open(w);
      ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
      EXPECT_TRUE(p.Boxes.Boxes[0].Text.contains(QString::fromStdString(path.string())));
      EXPECT_TRUE(p.Boxes.Boxes[0].Text.contains(bad.why)) << p.Boxes.Boxes[0].Text.toStdString();
      EXPECT_EQ(road.state(w), loaded);
    }

    // Cut inside its last field: the entries before it are read, with one warning.
    SCOPED_TRACE(road.name);
    p.Dir.Write(std::string("Library/") + road.sub + "/cut" + road.ext, road.good.substr(0, road.good.size() - 2));
    p.Boxes.Boxes.clear();
    p.Files.NextOpen = QString::fromStdString((dir / ("cut" + road.ext)).string());
    road.open(w);
    ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
    EXPECT_TRUE(p.Boxes.Boxes[0].Text.contains("cut" + QString::fromStdString(road.ext) + " ends early"));
    EXPECT_FALSE(road.state(w).empty());
  }
}

// ---------------------------------------------------------------------------
// The key-name file

TEST(KeyNameFile, SetWritesNothingOverAFileItCannotReadAndWarnsWhenItCannotWrite) {
  const std::string ini = "[Key Name]\r\nK-N-1=Power\r\nK-N-2=Menu\r\n";
  TestProgram p(kVantor, ini);
  Forms& w = p.W();
  const fs::path path = w.Config.IniPath();
  const auto set = [&](int key, const QString& name) {
    w.Model->CurrentKey = key;
    w.Form2->Edit1->setText(name);
    w.Form2->Button2Click();
  };

  // Read-only: refused, with a warning.
  ::chmod(path.c_str(), 0444);
  set(3, "Vol");
  ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
  EXPECT_TRUE(p.Boxes.Boxes[0].Text.contains("QuilletInfo.ini"));
  EXPECT_TRUE(p.Boxes.Boxes[0].Text.contains("read-only"));
  EXPECT_EQ(p.Dir.Read("QuilletInfo.ini"), ini);

  // One that cannot be read is never replaced by the single key written.
  for (const auto& [what, make] : std::vector<std::pair<std::string, std::function<void()>>>{
           {"a FIFO", [&] { ::mkfifo(path.c_str(), 0600); }},
           {"a folder", [&] { fs::create_directory(path); }},
       }) {
    SCOPED_TRACE(what);
    fs::remove(path);
    make();
    p.Boxes.Boxes.clear();
    set(3, "Vol");
    ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
    EXPECT_TRUE(p.Boxes.Boxes[0].Text.contains("cannot be read"));
    EXPECT_EQ(fs::status(path).type(), what == "a FIFO" ? fs::file_type::fifo : fs::file_type::directory);
    fs::remove(path);
  }
}

// ---------------------------------------------------------------------------
// Save as

TEST(SaveAs, AsksAboutTheFileItWillReallyWrite) {
  TestProgram p(kVantor);
  MakeSmallProject(p);
  TForm1& f = *p.W().Form1;
  p.Dir.Write("x.dat", "old");
  const fs::path x = p.Dir.Path() / "x.dat";

  for (const char* typed : {"x.dat", "x"}) {
    SCOPED_TRACE(typed);
    p.Files.NextSave = QString::fromStdString((p.Dir.Path() / typed).string());
    p.Boxes.Questions.clear();
    p.Boxes.NextConfirm = false;
    f.Saveas1Click();
    ASSERT_EQ(p.Boxes.Questions.size(), 1u);
    EXPECT_TRUE(p.Boxes.Questions[0].Text.startsWith(QString::fromStdString(x.string()) + " already exists"));
    EXPECT_EQ(p.Dir.Read("x.dat"), "old");

    p.Boxes.NextConfirm = true;
    f.Saveas1Click();
    EXPECT_EQ(p.Dir.Read("x.dat"), BuildSaveAsFile(kVantor, *f.F.Model));
    p.Dir.Write("x.dat", "old");
  }
  EXPECT_FALSE(fs::exists(p.Dir.Path() / "x.dat.dat"));

  // A new name asks nothing.
  p.Boxes.Questions.clear();
  p.Files.NextSave = QString::fromStdString((p.Dir.Path() / "fresh").string());
  f.Saveas1Click();
  EXPECT_TRUE(p.Boxes.Questions.empty());
  EXPECT_TRUE(fs::exists(p.Dir.Path() / "fresh.dat"));
}

// ---------------------------------------------------------------------------
// Unsaved work

struct Road {
  const char* name;
  // Runs the road; says whether the project was thrown away.
  std::function<bool(TestProgram&, FakePanel*)> run;
};

const Road kRoads[] = {
    {"close",
     [](TestProgram& p, FakePanel*) {
       TForm1& f = *p.W().Form1;
       f.close();
       return f.StatusBar1->PanelText(1) == "TCP Status: Disconnected" && f.IdTCPServer1->Count() == 0;
     }},
    {"Open",
     [](TestProgram& p, FakePanel*) {
       p.W().Form1->Open1Click();
       return p.W().Model->ActionCount == 0;  // the opened file holds no action
     }},
    {"Upload",
     [](TestProgram& p, FakePanel* panel) {
       EXPECT_TRUE(LinkPanelAt(*p.W().Form1, "127.0.0.2"));
       p.W().Form1->Download1Click();
       const bool cleared = p.W().Model->ActionCount == 0;
       const bool asked = QTest::qWaitFor([&] { return panel->received.contains("\xF1\x51"); }, 500);
       return cleared && asked;
     }},
};

TEST(UnsavedWork, IsAskedAboutOnlyWhenThereAreChangesAndEachAnswerIsKept) {
  using A = MessageBoxes::SaveAnswer;
  for (const Road& road : kRoads)
    for (const bool changed : {false, true})
      for (const A answer : {A::Save, A::Discard, A::Cancel}) {
        if (!changed && answer != A::Discard) continue;
        SCOPED_TRACE(std::string(road.name) + (changed ? ", changed, answer " : ", unchanged") +
                     std::to_string(static_cast<int>(answer)));
        TestProgram p(kVantor);
        TForm1& f = *p.W().Form1;
        f.show();
        const std::string empty =
            BuildSaveFile(kVantor, {"192.168.1.2", "255.255.255.0", "192.168.1.1", "3000"}, {}, *f.F.Model).value();
        p.Dir.Write("empty.dat", empty);
        p.Files.NextOpen = QString::fromStdString((p.Dir.Path() / "empty.dat").string());
        FakePanel panel("127.0.0.2", f.IdTCPServer1->Port());
        ASSERT_TRUE(QTest::qWaitFor([&] { return f.IdTCPServer1->Count() == 1; }, 2000));

        MakeSmallProject(p);
        if (!changed) {
          p.Files.NextSave = QString::fromStdString((p.Dir.Path() / "kept").string());
          f.Saveas1Click();
        }
        p.Files.NextSave = QString::fromStdString((p.Dir.Path() / "asked").string());
        p.Boxes.NextSaveAnswer = answer;
        const std::string before = BuildSaveAsFile(kVantor, *f.F.Model);

        const bool thrownAway = road.run(p, &panel);
        EXPECT_EQ(p.Boxes.Questions.size(), changed ? 1u : 0u);
        EXPECT_EQ(thrownAway, answer != A::Cancel);
        EXPECT_EQ(fs::exists(p.Dir.Path() / "asked.dat"), changed && answer == A::Save);
        if (changed && answer == A::Save) {
          EXPECT_EQ(p.Dir.Read("asked.dat"), before);
        }
        if (answer == A::Cancel) {
          EXPECT_EQ(BuildSaveAsFile(kVantor, *f.F.Model), before);
        }
      }
}

TEST(UnsavedWork, ASaveAsThatDoesNotHappenStopsTheRoad) {
  TestProgram p(kVantor);
  MakeSmallProject(p);
  TForm1& f = *p.W().Form1;
  p.Boxes.NextSaveAnswer = MessageBoxes::SaveAnswer::Save;
  p.Files.NextSave.clear();  // the user cancels the file dialog
  p.Files.NextOpen = "never asked for";
  f.Open1Click();
  EXPECT_EQ(f.F.Model->ActionCount, 1);
  EXPECT_TRUE(p.Boxes.Boxes.empty());
  EXPECT_EQ(p.Boxes.Questions.size(), 1u);
  p.Boxes.Questions.clear();
  // Opened and saved projects count as kept.
  EXPECT_TRUE(f.ProjectChanged());
  p.Files.NextSave = QString::fromStdString((p.Dir.Path() / "p").string());
  f.Saveas1Click();
  EXPECT_FALSE(f.ProjectChanged());
  p.Files.NextOpen = QString::fromStdString((p.Dir.Path() / "p.dat").string());
  f.Open1Click();
  EXPECT_FALSE(f.ProjectChanged());
  EXPECT_TRUE(p.Boxes.Questions.empty());
}

// ---------------------------------------------------------------------------
// Help

TEST(Help, WithoutAViewerTheTextIsShownInItsWindow) {
  TestProgram p(kQuillet);
  TForm1& f = *p.W().Form1;
  p.Opener.NoViewer = true;
  f.about1->trigger();
  ASSERT_EQ(p.Opener.Files.size(), 1u);
  ASSERT_EQ(p.Dialogs.Shown.size(), 1u);
  ASSERT_EQ(p.Dialogs.Shown[0], f.HelpWindow);
  EXPECT_TRUE(f.HelpWindow->findChild<QPlainTextEdit*>()->toPlainText().startsWith("Version: V1.0.5\n"));
}

}  // namespace
