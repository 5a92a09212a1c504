// The six dialogs that open and save code libraries: where each starts, its
// filter, which chosen names each window reads, and the caption of its boxes;
// and a library function put into the RS232 page.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "ui/tform1.h"
#include "ui/tform4.h"
#include "ui/tform6.h"
#include "ui_fixture.h"

namespace {

namespace fs = std::filesystem;

std::string Field(const std::string& s) { return "\x01" + s + "\x04"; }

// The scripted answers, and where each dialog started with which filter.
class RecordingFiles : public ScriptedFiles {
 public:
  struct Asked {
    QString Dir, Filter;
  };
  QString OpenFileName(QWidget* parent, const QString& dir, const QString& filter) override {
    Asks.push_back({dir, filter});
    return ScriptedFiles::OpenFileName(parent, dir, filter);
  }
  QString SaveFileName(QWidget* parent, const QString& dir, const QString& filter) override {
    Asks.push_back({dir, filter});
    return ScriptedFiles::SaveFileName(parent, dir, filter);
  }
  std::vector<Asked> Asks;
};

struct Program {
  explicit Program(const Variant& v) : P(v) { P.W().S.Files = &Files; }
  fs::path Folder(const char* sub) const { return P.Dir.Path() / "Library" / sub; }
  // A file in Library/<sub>, to be the next one the open dialog returns.
  void Choose(const char* sub, const std::string& file, const std::string& bytes) {
    fs::create_directories(Folder(sub));
    P.Dir.Write(std::string("Library/") + sub + "/" + file, bytes);
    Files.NextOpen = QString::fromStdString((Folder(sub) / file).string());
  }
  TestProgram P;
  RecordingFiles Files;
};

struct Road {
  const char* Name;
  const char* Sub;
  const char* Ext;
  std::function<void(Forms&)> Run;
  // The library name the window shows.
  std::function<QString(Forms&)> Shown;
};

const Road kOpenRoads[] = {
    {"Change Lib, RS232 page", "RS232", ".rss", [](Forms& w) { w.Form1->QelButton9Click(); },
     [](Forms& w) { return w.Form1->QelEdit2->text(); }},
    {"Change Lib, IR page", "IR", ".irr", [](Forms& w) { w.Form1->QelButton13Click(); },
     [](Forms& w) { return w.Form1->QelEdit3->text(); }},
    {"RS232 editor, Open Lib", "RS232", ".rss", [](Forms& w) { w.Form6->Button1Click(); },
     [](Forms& w) { return w.Form6->Edit1->text(); }},
    {"IR editor, Open Lib", "IR", ".irr", [](Forms& w) { w.Form4->Button1Click(); },
     [](Forms& w) { return w.Form4->Edit1->text(); }},
};

TEST(LibraryDialogs, StartInTheLibraryFolderWithTheBuildsFilter) {
  const Road saveRoads[] = {
      {"RS232 editor, Save as", "RS232", ".rss", [](Forms& w) { w.Form6->Button7Click(); }, nullptr},
      {"IR editor, Save as", "IR", ".irr", [](Forms& w) { w.Form4->Button8Click(); }, nullptr},
  };
  std::vector<Road> roads(std::begin(kOpenRoads), std::end(kOpenRoads));
  roads.insert(roads.end(), std::begin(saveRoads), std::end(saveRoads));
  const struct {
    const Variant* V;
    const char* Rss;
    const char* Irr;
  } builds[] = {
      {&kVantor, "\xE6\x96\x87\xE6\x9C\xAC\xE6\x96\x87\xE4\xBB\xB6(*.rss)",
       "\xE6\x96\x87\xE6\x9C\xAC\xE6\x96\x87\xE4\xBB\xB6(*.irr)"},
      {&kQuillet, "text file(*.rss)", "text file(*.irr)"},
  };
  for (const auto& build : builds)
    for (const Road& road : roads) {
      SCOPED_TRACE(build.V->Name + ": " + road.Name);
      Program p(*build.V);
      const bool irSaveAs = std::string(road.Name) == "IR editor, Save as";
      road.Run(p.P.W());
      ASSERT_EQ(p.Files.Asks.size(), 1u);
      EXPECT_EQ(p.Files.Asks[0].Filter, QString::fromUtf8(std::string(road.Ext) == ".rss" ? build.Rss : build.Irr));
      // Every dialog makes the folder it starts in but the IR "Save as",
      // which starts beside the program until the folder is there.
      EXPECT_EQ(fs::exists(p.Folder(road.Sub)), !irSaveAs);
      EXPECT_EQ(p.Files.Asks[0].Dir, QString::fromStdString((irSaveAs ? p.P.Dir.Path() : p.Folder(road.Sub)).string()));
      if (irSaveAs) {
        fs::create_directories(p.Folder(road.Sub));
        road.Run(p.P.W());
        ASSERT_EQ(p.Files.Asks.size(), 2u);
        EXPECT_EQ(p.Files.Asks[1].Dir, QString::fromStdString(p.Folder(road.Sub).string()));
      }
      EXPECT_TRUE(p.P.Boxes.Boxes.empty());
    }
}

// The IR editor takes a name that ends in ".irr" exactly; the others take a
// path whose extension is the library's, which a bare ".irr" has not.
TEST(LibraryDialogs, WhichNamesEachWindowReads) {
  const struct {
    std::function<std::string(const std::string& ext)> File;
    bool ReadBy[4];  // kOpenRoads' order
  } cases[] = {
      {[](const std::string& ext) { return "tv" + ext; }, {true, true, true, true}},
      {[](const std::string&) { return "tv.txt"; }, {false, false, false, false}},
      {[](const std::string& ext) { return "TV" + QString::fromStdString(ext).toUpper().toStdString(); },
       {false, false, false, false}},
      {[](const std::string& ext) { return ext; }, {false, false, false, true}},
  };
  for (const auto& c : cases)
    for (size_t r = 0; r < std::size(kOpenRoads); ++r) {
      const Road& road = kOpenRoads[r];
      const std::string file = c.File(road.Ext);
      SCOPED_TRACE(std::string(road.Name) + ": " + file);
      Program p(kVantor);
      p.Choose(road.Sub, file, Field("Lib"));
      road.Run(p.P.W());
      EXPECT_EQ(road.Shown(p.P.W()), c.ReadBy[r] ? "Lib" : "");
      EXPECT_TRUE(p.P.Boxes.Boxes.empty());
    }
}

TEST(LibraryDialogs, EachWindowWarnsUnderItsOwnCaption) {
  const struct {
    const Variant* V;
    const char* Captions[4];  // kOpenRoads' order
  } builds[] = {
      {&kVantor, {"Vantor V1.0.1", "Vantor V1.0.1", "Quillet V1.0.0", "Vantor V1.0.1"}},
      {&kQuillet, {"Quillet V1.0.5", "Quillet V1.0.5", "Quillet V1.0.5", "Quillet V1.0.5"}},
  };
  for (const auto& build : builds)
    for (size_t r = 0; r < std::size(kOpenRoads); ++r) {
      const Road& road = kOpenRoads[r];
      SCOPED_TRACE(build.V->Name + ": " + road.Name);
      Program p(*build.V);
      // A folder with the library's name cannot be read; a file cut inside
      // a field is read up to there.
      p.Choose(road.Sub, "ok" + std::string(road.Ext), Field("Kept"));
      road.Run(p.P.W());
      fs::create_directories(p.Folder(road.Sub) / ("dir" + std::string(road.Ext)));
      p.Files.NextOpen = QString::fromStdString((p.Folder(road.Sub) / ("dir" + std::string(road.Ext))).string());
      road.Run(p.P.W());
      EXPECT_EQ(road.Shown(p.P.W()), "Kept");
      p.Choose(road.Sub, "cut" + std::string(road.Ext), Field("Cut") + "\x01Po");
      road.Run(p.P.W());
      EXPECT_EQ(road.Shown(p.P.W()), "Cut");
      ASSERT_EQ(p.P.Boxes.Boxes.size(), 2u);
      for (const RecordedBox& b : p.P.Boxes.Boxes) EXPECT_EQ(b.Caption, build.Captions[r]) << b.Text.toStdString();
    }
}

// What a cancelled dialog leaves: the pages keep their library's name, the
// editors start empty.
TEST(LibraryDialogs, CancelClearsWhatEachWindowClears) {
  for (size_t r = 0; r < std::size(kOpenRoads); ++r) {
    const Road& road = kOpenRoads[r];
    SCOPED_TRACE(road.Name);
    Program p(kVantor);
    Forms& w = p.P.W();
    p.Choose(road.Sub, "tv" + std::string(road.Ext),
             std::string(road.Sub) == "IR" ? Field("TV") + Field("1") + Field("On") + Field("00")
                                           : Field("TV") + Field("On") + Field("9600") + Field("8") + Field("1") +
                                                 Field("asc") + Field("CR") + Field("ON"));
    road.Run(w);
    ASSERT_EQ(road.Shown(w), "TV");
    w.Form1->LibraryEntries().IrCodeRaw = 1;
    p.Files.NextOpen.clear();
    road.Run(w);
    const bool page = r < 2;
    EXPECT_EQ(road.Shown(w), page ? "TV" : "");
    const int entries[] = {w.Form1->QelComboBox1->count(), w.Form1->QelComboBox8->count(), w.Form6->ComboBox1->count(),
                           w.Form4->ListView1->Count()};
    EXPECT_EQ(entries[r], 0);
    EXPECT_EQ(w.Form1->LibraryEntries().IrCodeRaw, 1);  // only a library read sets it back
    EXPECT_TRUE(p.P.Boxes.Boxes.empty());
  }
}

// ---------------------------------------------------------------------------
// A library function put into the RS232 page

std::string PageState(TForm1& f) {
  return std::to_string(f.QelComboBox1->currentIndex()) + "|" + std::to_string(f.QelComboBox4->currentIndex()) + "|" +
         std::to_string(f.QelComboBox5->currentIndex()) + "|" + std::to_string(f.QelComboBox6->currentIndex()) + "|" +
         (f.QelRadioButton2->isChecked() ? "hex" : "asc") + "|" + std::to_string(f.QelComboBox7->currentIndex()) + "|" +
         f.Memo1Bytes->Bytes();
}

TEST(LibraryEntryOnTheRs232Page, SetsWhatTheEntryNames) {
  struct Fn {
    std::string Name, Baud, DataBits, StopBits, Format, EndChar, Data;
  };
  const struct {
    Fn F;
    // Function, baud, data bits, stop bits, radio, end character, memo;
    // from a page left at -1|5|3|2|hex|2|prev.
    const char* Vantor;
    const char* Quillet;
  } cases[] = {
      {{"Power", "9600", "8", "1", "asc", "CR", "PWR\r"}, "0|2|0|0|asc|1|PWR", "0|2|0|0|asc|1|PWR"},
      {{"Menu", "19200", "7", "2", "asc", "LF+CR", "MENU\n\r"}, "1|3|1|2|asc|0|MENU\n\r", "1|3|1|2|asc|3|MENU"},
      {{"Raw", "115200", "6", "1.5", "hex", "LF+CR", "\xAA\x0D"}, "2|6|2|1|hex|0|AA 0D ", "2|6|2|1|hex|3|AA 0D "},
      {{"Bin", "38400", "7", "1", "bin", "CR", "xyz"}, "3|4|1|0|hex|1|prev", "3|4|1|0|hex|1|prev"},
      {{"Tab", "2400", "8", "1", "asc", "TAB", "T"}, "4|0|0|0|asc|2|T", "4|0|0|0|asc|0|T"},
      {{"Odd", "1234", "9", "3", "hex", "", "\x05"}, "5|5|3|2|hex|2|05 ", "5|5|3|2|hex|0|05 "},
      // The combos find a text as code page 936 shows it: a lead byte at
      // the end shows as nothing.
      {{"Lead", "9600\x81", "7\xFE", "1\x81\x81", "asc", "NULL", "L"}, "6|2|1|2|asc|0|L", "6|2|1|2|asc|0|L"},
      // Names are looked up too: the first function of a name is selected.
      {{"Power", "4800", "8", "1", "asc", "CR", "P2"}, "0|1|0|0|asc|1|P2", "0|1|0|0|asc|1|P2"},
  };
  for (const Variant* v : {&kVantor, &kQuillet}) {
    Program p(*v);
    TForm1& f = *p.P.W().Form1;
    std::string file = Field("Lib");
    for (const auto& c : cases)
      for (const std::string* t :
           {&c.F.Name, &c.F.Baud, &c.F.DataBits, &c.F.StopBits, &c.F.Format, &c.F.EndChar, &c.F.Data})
        file += Field(*t);
    p.Choose("RS232", "lib.rss", file);
    f.QelButton9Click();
    ASSERT_EQ(f.QelComboBox1->count(), static_cast<int>(std::size(cases)));
    for (size_t i = 0; i < std::size(cases); ++i) {
      SCOPED_TRACE(v->Name + ": function " + std::to_string(i + 1));
      f.QelComboBox1->setCurrentIndex(-1);
      f.QelComboBox4->setCurrentIndex(5);
      f.QelComboBox5->setCurrentIndex(3);
      f.QelComboBox6->setCurrentIndex(2);
      f.QelRadioButton2->setChecked(true);
      f.QelComboBox7->setCurrentIndex(2);
      f.Memo1Bytes->SetBytes("prev");
      f.QelComboBox1Change(static_cast<int>(i));
      EXPECT_EQ(PageState(f), v == &kVantor ? cases[i].Vantor : cases[i].Quillet);
    }
    EXPECT_TRUE(p.P.Boxes.Boxes.empty());
  }
}

}  // namespace
