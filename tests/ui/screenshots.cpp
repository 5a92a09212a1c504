// Pictures of every window and page of both programs, for a look by eye:
// scripts/screenshots DIR, or ui_screenshots with SCREENSHOT_DIR set. Not a
// test of ctest; a picture that cannot be written fails the run.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <cstdlib>
#include <utility>
#include <vector>

#include "bytes.h"
#include "ipedit/tipedit.h"
#include "ireditor_fixture.h"
#include "linked_fixture.h"
#include "rs232editor_fixture.h"
#include "ui/tform1.h"
#include "ui/tform10.h"
#include "ui/tform11.h"
#include "ui/tform12.h"
#include "ui/tform13.h"
#include "ui/tform2.h"
#include "ui/tform3.h"
#include "ui/tform8.h"
#include "ui/tform9.h"
#include "ui_fixture.h"

namespace {

QString gDir;

// The folder is made before the first picture; without one nothing runs.
class PictureFolder : public ::testing::Environment {
 public:
  void SetUp() override {
    const char* dir = std::getenv("SCREENSHOT_DIR");
    ASSERT_TRUE(dir && *dir) << "set SCREENSHOT_DIR to the folder for the pictures";
    gDir = QString::fromLocal8Bit(dir);
    ASSERT_TRUE(QDir().mkpath(gDir)) << dir;
  }
};
[[maybe_unused]] ::testing::Environment* const kFolder = ::testing::AddGlobalTestEnvironment(new PictureFolder);

void Save(QWidget* w, const QString& name) {
  const QString path = QStringLiteral("%1/%2.png").arg(gDir, name);
  EXPECT_TRUE(w->grab().save(path)) << path.toStdString();
}

// The program's name before each picture's own.
QString Named(const Variant& v, const QString& name) { return QStringLiteral("%1-%2").arg(Utf8(v.Name), name); }

const Variant* const kBoth[] = {&kVantor, &kQuillet};

// The Event Set pages, with the repeat fields of RS232 and IR shown.
TEST(Screenshots, EventSetPages) {
  for (const Variant* v : kBoth) {
    TestProgram p(*v);
    TForm1& f = *p.W().Form1;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    f.QelComboBox2->setCurrentIndex(1);
    f.UpdateRs232RepeatControls();
    f.QelComboBox9->setCurrentIndex(1);
    f.UpdateIrRepeatControls();
    for (int page = 0; page < 7; ++page) {
      f.QelPageControl1->SetTabIndex(page);
      QTest::qWait(20);
      Save(&f, Named(*v, QStringLiteral("page%1").arg(page)));
    }
  }
}

// The key dialogs as a key button opens them.
TEST(Screenshots, KeyDialogs) {
  for (const Variant* v : kBoth) {
    TestProgram p(*v);
    Forms& w = p.W();
    p.Dialogs.ShowThem = true;
    w.Form1->QelButton1Click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.Form2));
    QTest::qWait(20);
    Save(w.Form2, Named(*v, "keydialog"));
    w.Form2->hide();
    if (!w.Form12) continue;
    w.Form1->QelButton28Click();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.Form12));
    QTest::qWait(20);
    Save(w.Form12, Named(*v, "key10dialog"));
    w.Form12->hide();
  }
}

// The access code as typed, every menu, and the help text's own window.
// "Software Update" is never triggered here.
TEST(Screenshots, Menus) {
  for (const Variant* v : kBoth) {
    TestProgram p(*v);
    TForm1& f = *p.W().Form1;
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTest::keyClick(f.focusWidget(), Qt::Key_K, Qt::ControlModifier);
    for (const char* c = "KVR5830"; *c; ++c) QTest::keyClicks(f.focusWidget(), QString(QChar(*c)));
    QTest::qWait(20);
    Save(&f, Named(*v, "accesscode"));
    QTest::keyClick(f.focusWidget(), Qt::Key_Return);
    for (QMenu* m :
         {f.File1, f.System1, f.Connection1, f.TCPIP1, f.Help1, f.est1, f.STM32Debug1, f.Modify1, f.KeyLock1}) {
      if (!m) continue;
      m->popup(f.mapToGlobal(QPoint(20, 20)));
      QTest::qWait(50);
      Save(m, Named(*v, "menu-" + m->objectName()));
      m->hide();
    }
    Save(&f, Named(*v, "menubar"));

    // For a folder that cannot be written, the help text has its own window.
    p.W().Config.ProgramDir = p.Dir.Path() / "gone";
    p.Dialogs.ShowThem = true;
    f.about1->trigger();
    ASSERT_TRUE(f.HelpWindow && QTest::qWaitForWindowExposed(f.HelpWindow));
    QTest::qWait(20);
    Save(f.HelpWindow, Named(*v, "helpwindow"));
  }
}

TEST(Screenshots, MaintenanceDialogs) {
  for (const Variant* v : kBoth) {
    TestProgram p(*v);
    Forms& w = p.W();
    w.Form1->IPEdit1->SetIPString("192.168.1.20");
    w.Form1->IPEdit2->SetIPString("255.255.255.0");
    w.Form1->IPEdit3->SetIPString("192.168.1.1");
    w.Form1->QelEdit1->setText("4001");
    w.Form10->Label6->setText("Normal");
    w.Form10->Label9->setText("192.168.1.20\n255.255.255.0\n192.168.1.1\n4001");
    w.Form11->Button2Click();
    w.Form11->StringGrid1->item(2, 3)->setText("6");
    std::vector<std::pair<QDialog*, const char*>> shots = {
        {w.Form3, "tcpip"}, {w.Form8, "setip"}, {w.Form9, "setmac"}, {w.Form10, "sysmsg"}, {w.Form11, "eeprom"}};
    if (w.Form13) shots.push_back({w.Form13, "modify"});
    for (auto [d, name] : shots) {
      d->show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(d));
      if (d == w.Form9) {
        for (int k = 0; k < 6; ++k) w.Form9->Edits[k]->setText(QStringLiteral("%1A").arg(k));
      }
      QTest::qWait(20);
      Save(d, Named(*v, name));
      d->hide();
    }
  }
}

// A library with a name in Chinese, one learned code.
TEST(Screenshots, IrEditor) {
  for (const Variant* v : kBoth) {
    irtest::Editor t(*v);
    t.CreatLib(QString::fromUtf8("\xE7\x94\xB5\xE8\xA7\x86"));
    t.NewFunction("Power");
    t.NewFunction(QString::fromUtf8("\xE9\x9F\xB3\xE9\x87\x8F+"));
    t.NewFunction("Mute");
    t.Click(1);
    ASSERT_TRUE(t.E.PutLearnedCode(B({0x00, 0x06, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC})));
    t.E.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&t.E));
    QTest::qWait(20);
    Save(&t.E, Named(*v, "iredit"));
    t.E.hide();
  }
}

// The RS232 editor on a library named in code page 936, and the name dialog.
TEST(Screenshots, Rs232Editor) {
  using rs232test::F;
  for (const Variant* v : kBoth) {
    rs232test::Editor e(*v);
    e.Open(F(rs232test::kGbkName) + F("Power") + F("9600") + F("8") + F("1") + F("asc") + F("CR") + F("PWR\r"));
    e.E.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e.E));
    QTest::qWait(20);
    Save(&e.E, Named(*v, "rs232editor"));
    e.N.Edit1->setText("Power");
    e.N.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&e.N));
    QTest::qWait(20);
    Save(&e.N, Named(*v, "namedialog"));
  }
}

// The download dialog before "Start" and while a silent panel holds it.
TEST(Screenshots, DownloadDialog) {
  using panelsim::Faults;
  using panelsim::Phase;
  using transfertest::Until;
  for (const Variant* v : kBoth) {
    transfertest::Linked t(*v, transfertest::One(&Faults::SilentAt, Phase::Download, 4));
    t.MakeProject();
    t.D.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&t.D));
    Save(&t.D, Named(*v, "download-start"));
    t.D.Button1Click();
    ASSERT_TRUE(Until([&] { return t.Record().size() == 4; }));
    QTest::qWait(30);
    Save(&t.D, Named(*v, "download-running"));
    t.D.Button2Click();
  }
}

// The IP edit alone: unfocused, in its window, focused, and without a border.
TEST(Screenshots, IPEdit) {
  QWidget window;
  window.resize(171, 72);
  auto* edit = new TIPEdit(&window);
  edit->setGeometry(10, 10, 151, 22);
  auto* other = new QLineEdit(&window);
  other->setGeometry(10, 40, 151, 22);
  edit->SetIPString("192.168.1.5");
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  other->setFocus();
  QTest::qWait(20);
  Save(edit, "ipedit");
  Save(&window, "ipedit-window");
  edit->FieldAt(2)->setFocus(Qt::TabFocusReason);
  QTest::qWait(20);
  Save(edit, "ipedit-focused");
  edit->FieldAt(3)->setText("300");
  edit->SetBorderStyle(TIPEdit::bsNone);
  Save(edit, "ipedit-noborder");
}

}  // namespace
