#include <gtest/gtest.h>

#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>
#include <filesystem>

#include "link/netguard.h"
#include "simpanel_fixture.h"
#include "ui/tform10.h"
#include "ui/tform11.h"
#include "ui/tform13.h"
#include "ui/tform8.h"
#include "ui/tform9.h"

namespace {

// Every item as "Menu/Item/Subitem", in order, hidden menus included.
QStringList MenuPaths(QWidget* menuOwner, const QList<QAction*>& actions, const QString& prefix = {}) {
  QStringList out;
  for (QAction* a : actions) {
    if (a->isSeparator()) continue;
    const QString path = prefix.isEmpty() ? a->text() : prefix + u'/' + a->text();
    out << path;
    if (a->menu()) out << MenuPaths(menuOwner, a->menu()->actions(), path);
  }
  return out;
}

TEST(Menus, EveryItemOfBothBuilds) {
  auto items = [](const char* version, bool nineKeys) {
    QStringList l = {"File",
                     "File/Open",
                     "File/Save",
                     "File/Save as",
                     "System",
                     QString("System/") + version,
                     "System/Message",
                     "System/Software Update",
                     "System/Factory Default",
                     "Connection",
                     "Connection/TCP/IP",
                     "Connection/TCP/IP/Reconnect",
                     "Connection/TCP/IP/Setting",
                     "Connection/Upload",
                     "Connection/Download",
                     "Help",
                     "Help/about ",
                     "Test",
                     "Test/Debug",
                     "Test/Debug Data Clear",
                     "Test/STM32  Debug",
                     "Test/STM32  Debug/On",
                     "Test/STM32  Debug/Off",
                     "Test/TCP/TP Reconnet",
                     "Test/EERom Clear",
                     "Test/EERom Read",
                     "Test/EE Tab"};
    if (nineKeys)
      l << "Test/Modify"
        << "Test/Modify/Type"
        << "Test/Modify/Name"
        << "Test/Key Lock"
        << "Test/Key Lock/Lock"
        << "Test/Key Lock/UnLock"
        << "Test/POWN Function";
    l << "Test/Local Data"
      << "Test/Set Mac";
    return l;
  };
  const QStringList vantor = items("Version ", true), quillet = items("Version 6", false);
  for (const auto& [v, expected] : {std::pair{&kVantor, vantor}, std::pair{&kQuillet, quillet}}) {
    TestProgram p(*v);
    TForm1& f = *p.W().Form1;
    EXPECT_EQ(MenuPaths(&f, f.menuBar()->actions()), expected) << v->Name;
    EXPECT_FALSE(f.TestMenuVisible());
  }
}

struct VantorMenus : SimulatedPanel, ::testing::Test {
  VantorMenus() : SimulatedPanel(kVantor) {}
};

TEST_F(VantorMenus, CommandItemsSendTheirFrames) {
  const struct {
    QAction* Item;
    const char* Frame;
  } cases[] = {{F1.FactoryDefalt1, "F1 14 F2 0D 0A "}, {F1.On1, "F1 15 F2 0D 0A "},
               {F1.off1, "F1 16 F2 0D 0A "},           {F1.CPTPReconnet1, "F1 63 00 56 00 03 F2 0D 0A "},
               {F1.EERomRead1, "F1 20 F2 0D 0A "},     {F1.EERomclear1, "30 30 0D 0A "},
               {F1.LocK1, "F1 64 01 F2 0D 0A "},       {F1.UnLock1, "F1 64 00 F2 0D 0A "}};
  for (const auto& c : cases) {
    c.Item->trigger();
    EXPECT_EQ(NextFrame(), c.Frame) << c.Item->text().toStdString();
  }
  EXPECT_TRUE(P.Boxes.Boxes.empty());  // nothing asked, "Factory Default" included
}

TEST_F(VantorMenus, DialogItemsShowTheirDialogs) {
  const struct {
    QAction* Item;
    QDialog* Dialog;
    const char* Label;  // the Modify dialog's label
  } cases[] = {{F1.Message1, P.W().Form10, nullptr},     {F1.Reset1, P.W().Form8, nullptr},
               {F1.EETab1, P.W().Form11, nullptr},       {F1.SetMac1, P.W().Form9, nullptr},
               {F1.Name1, P.W().Form13, "Type:"},        {F1.Name2, P.W().Form13, "Name:"},
               {F1.POWNFunction1, P.W().Form13, "Data:"}};
  for (const auto& c : cases) {
    P.Dialogs.Shown.clear();
    c.Item->trigger();
    ASSERT_EQ(P.Dialogs.Shown.size(), 1u) << c.Item->text().toStdString();
    EXPECT_EQ(P.Dialogs.Shown[0], c.Dialog);
    if (c.Label) {
      EXPECT_EQ(P.W().Form13->Label1->text(), c.Label);
    }
  }
  EXPECT_TRUE(Quiet());
}

TEST_F(VantorMenus, DebugLogItems) {
  F1.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&F1));
  EXPECT_FALSE(F1.Memo2->isVisible());
  F1.Debug1->trigger();
  EXPECT_TRUE(F1.Memo2->isVisible());
  F1.Debug1->trigger();
  EXPECT_FALSE(F1.Memo2->isVisible());
  F1.Log("pending line");
  F1.DebugDataClear1->trigger();
  EXPECT_TRUE(F1.LogText().isEmpty());
  F1.Log("x");
  F1.UpdateTest1->trigger();  // the model's dump replaces the log
  EXPECT_FALSE(F1.LogText().contains("x"));
}

TEST(QuilletMenus, ClearIsCommand21AndReconnectRestartsTheServer) {
  SimulatedPanel s(kQuillet);
  s.F1.EERomclear1->trigger();
  EXPECT_EQ(s.NextFrame(), "F1 21 F2 0D 0A ");
  s.F1.CPTPReconnet1->trigger();
  EXPECT_TRUE(s.Quiet());
  EXPECT_TRUE(s.F1.IdTCPServer1->IsListening());
  EXPECT_EQ(s.F1.IdTCPServer1->Count(), 1);  // the connection stays
  EXPECT_TRUE(s.F1.LogText().contains(QString::fromUtf8("服务器重新启动！")));
  EXPECT_EQ(s.F1.Modify1, nullptr);
  EXPECT_EQ(s.F1.KeyLock1, nullptr);
  EXPECT_EQ(s.F1.POWNFunction1, nullptr);
}

TEST(QuilletMenus, ReconnectListensAgainOnceThePortIsFree) {
  auto first = std::make_unique<TestProgram>(kQuillet);
  const quint16 port = first->W().Form1->IdTCPServer1->Port();
  TestProgram second(kQuillet, port);
  TForm1& f = *second.W().Form1;
  ASSERT_FALSE(f.IdTCPServer1->IsListening());
  first.reset();
  f.CPTPReconnet1->trigger();
  EXPECT_TRUE(f.IdTCPServer1->IsListening());
  EXPECT_EQ(f.IdTCPServer1->Port(), port);
}

TEST(VersionBox, BothBuilds) {
  const struct {
    const Variant* V;
    const char* Caption;
    const char* Text;
  } cases[] = {{&kVantor, "Vantor", "Vantor V1.0.1\n  2017.9.15 "},
               {&kQuillet, "Quillet", "Quillet V1.0.5\n  2017.9.20 "}};
  for (const auto& c : cases) {
    TestProgram p(*c.V);
    p.W().Form1->N500816V1->trigger();
    ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
    EXPECT_EQ(p.Boxes.Boxes[0].Caption, c.Caption);
    EXPECT_EQ(p.Boxes.Boxes[0].Text, c.Text);
  }
}

TEST(Help, WrittenOnceThenOpenedAsItStands) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    TestProgram p(*v);
    TForm1& f = *p.W().Form1;
    f.about1->trigger();
    const std::string text = p.Dir.Read("help.txt");
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.rfind("Version: " + v->Version + "\r\nFunctions:\r\n1. ", 0), 0u);
    size_t lines = 0;
    for (size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 12u);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
    EXPECT_NE(text.find(v == &kVantor ? "9 customizable keys" : "6 customizable keys"), std::string::npos);
    EXPECT_NE(text.find(v == &kVantor ? "offline, Vantor acts" : "offline, Tessary acts"), std::string::npos);
    EXPECT_TRUE(f.LogText().contains("Help file not exist"));
    ASSERT_EQ(p.Opener.Files.size(), 1u);
    EXPECT_EQ(std::filesystem::path(p.Opener.Files[0].toStdString()), p.Dir.Path() / "help.txt");

    // A user's edits survive.
    p.Dir.Write("help.txt", "mine");
    f.DebugDataClear1Click();
    f.about1->trigger();
    EXPECT_EQ(p.Dir.Read("help.txt"), "mine");
    EXPECT_FALSE(f.LogText().contains("Help file not exist"));
    EXPECT_EQ(p.Opener.Files.size(), 2u);
  }
}

TEST(Help, AFolderThatCannotBeWrittenShowsTheTextInAWindow) {
  TestProgram p(kVantor);
  TForm1& f = *p.W().Form1;
  p.W().Config.ProgramDir = p.Dir.Path() / "gone";  // no folder to write into
  f.about1->trigger();
  EXPECT_TRUE(p.Opener.Files.empty());
  ASSERT_EQ(p.Dialogs.Shown.size(), 1u);
  ASSERT_EQ(p.Dialogs.Shown[0], f.HelpWindow);
  const QString shown = f.HelpWindow->findChild<QPlainTextEdit*>()->toPlainText();
  EXPECT_TRUE(shown.startsWith("Version: V1.0.1\nFunctions:\n"));
  EXPECT_EQ(shown.count(u'\n'), 12);
}

TEST(SoftwareUpdate, OpensThePanelPageThroughTheOpener) {
  TestProgram p(kVantor);
  p.W().Form1->SoftWareUpdate1->trigger();
  ASSERT_EQ(p.Opener.Pages.size(), 1u);
  EXPECT_EQ(p.Opener.Pages[0], TForm1::PanelPage());
  EXPECT_TRUE(TForm1::PanelPage().isValid());
}

TEST(SoftwareUpdate, TheDesktopOpenerOpensNoPageWithOnlyLoopback) {
  std::vector<QUrl> opened;
  bool onlyLoopback = true;
  auto opener = MakeDesktopOpener([&] { return onlyLoopback; },
                                  [&](const QUrl& u) {
                                    opened.push_back(u);
                                    return true;
                                  });
  QString why;
  EXPECT_FALSE(opener->OpenPage(TForm1::PanelPage(), &why));
  EXPECT_TRUE(opened.empty());
  EXPECT_FALSE(why.isEmpty());
  onlyLoopback = false;
  EXPECT_TRUE(opener->OpenPage(TForm1::PanelPage(), &why));
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened[0], TForm1::PanelPage());
}

TEST(SoftwareUpdate, ANotOpenedPageIsLogged) {
  struct Refusing : RecordingOpener {
    bool OpenPage(const QUrl&, QString* why) override {
      *why = "no network besides loopback";
      return false;
    }
  } refusing;
  TestProgram p(kVantor);
  p.W().S.Opener = &refusing;
  p.W().Form1->SoftWareUpdate1->trigger();
  EXPECT_TRUE(
      p.W().Form1->LogText().contains(TForm1::PanelPage().toString() + " not opened (no network besides loopback)"));
}

TEST(SoftwareUpdate, APageNotOpenedIsReportedOnceWithTheOpenersReason) {
  const QString page = TForm1::PanelPage().toString();
  for (const bool onlyLoopback : {true, false}) {
    SCOPED_TRACE(onlyLoopback);
    // The desktop opener on a machine with only loopback, or with no browser.
    auto opener = MakeDesktopOpener([&] { return onlyLoopback; }, [](const QUrl&) { return false; });
    TestProgram p(kVantor);
    p.W().S.Opener = opener.get();
    p.W().Form1->SoftWareUpdate1->trigger();
    const QString why = onlyLoopback ? "no network besides loopback" : "no browser took it";
    ASSERT_EQ(p.Boxes.Boxes.size(), 1u);
    EXPECT_EQ(p.Boxes.Boxes[0].Text, "Cannot open the page " + page + ": " + why);
    EXPECT_EQ(p.Boxes.Boxes[0].Caption, "Vantor V1.0.1");
    EXPECT_TRUE(p.W().Form1->LogText().contains(page + " not opened (" + why + ")"));
  }
  // An opened page says nothing.
  TestProgram p(kVantor);
  p.W().Form1->SoftWareUpdate1->trigger();
  EXPECT_TRUE(p.Boxes.Boxes.empty());
}

// The access code, typed as keys reach the main window.
struct AccessCode : ::testing::Test {
  AccessCode() {
    F.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&F));
  }
  QWidget* Target() { return F.focusWidget() ? F.focusWidget() : static_cast<QWidget*>(&F); }
  void Key(Qt::Key k, Qt::KeyboardModifiers m = {}) { QTest::keyClick(Target(), k, m); }
  void Type(const char* text) {
    for (const char* c = text; *c; ++c) QTest::keyClicks(Target(), QString(QChar(*c)));
  }
  void CtrlK() { Key(Qt::Key_K, Qt::ControlModifier); }
  QString Status() { return F.StatusBar1->PanelText(5); }
  TestProgram P{kVantor};
  TForm1& F = *P.W().Form1;
};

TEST_F(AccessCode, CtrlKThenTheCodeAndEnterShowsTest) {
  Type("kvr5830");
  Key(Qt::Key_Return);
  EXPECT_FALSE(F.TestMenuVisible());  // no entry started
  EXPECT_TRUE(Status().isEmpty());

  CtrlK();
  EXPECT_TRUE(F.AccessCode().Entering());
  EXPECT_EQ(Status(), "Key:");
  Type("kvr");  // letter keys add capitals
  EXPECT_EQ(Status(), "Key:KVR");
  Key(Qt::Key_5, Qt::KeypadModifier);  // the keypad's digits are digits
  Type("830");
  EXPECT_EQ(Status(), "Key:KVR5830");
  Key(Qt::Key_Return);
  EXPECT_TRUE(F.TestMenuVisible());
  EXPECT_FALSE(F.AccessCode().Entering());
  EXPECT_EQ(Status(), "Key:");

  // Ctrl+K starts a new entry with the menu kept; a second one hides it.
  CtrlK();
  EXPECT_TRUE(F.TestMenuVisible());
  EXPECT_TRUE(F.AccessCode().Entering());
  CtrlK();
  EXPECT_FALSE(F.TestMenuVisible());
  EXPECT_FALSE(F.AccessCode().Entering());
  EXPECT_TRUE(Status().isEmpty());
}

TEST_F(AccessCode, BackspaceAndTheSevenCharacterLimit) {
  CtrlK();
  Type("KVX");
  Key(Qt::Key_Backspace);  // takes itself and the X
  EXPECT_EQ(Status(), "Key:KV");
  Type("R58301");  // an eighth character empties the buffer
  EXPECT_EQ(Status(), "Key:");
  Type("KVR5830");
  Key(Qt::Key_Backspace);  // the eighth character again: all gone
  EXPECT_EQ(Status(), "Key:");
  Key(Qt::Key_Backspace);  // on an empty buffer
  EXPECT_EQ(Status(), "Key:");
  Type("KVR5830");
  Key(Qt::Key_Return);
  EXPECT_TRUE(F.TestMenuVisible());
}

TEST_F(AccessCode, CtrlKWhileHiddenOnlyEmptiesTheEntry) {
  CtrlK();
  Type("KV");
  CtrlK();
  EXPECT_TRUE(F.AccessCode().Entering());
  EXPECT_TRUE(Status().isEmpty());
  EXPECT_FALSE(F.TestMenuVisible());
  Type("KVR5830");
  EXPECT_EQ(Status(), "Key:KVR5830");
  Key(Qt::Key_Return);
  EXPECT_TRUE(F.TestMenuVisible());
}

TEST_F(AccessCode, TheLowerCaseFormAndKeysThatAreNotCharacters) {
  // "kvr" are the codes of keypad +, F7 and F3; Ctrl with keypad + is Ctrl+K.
  Key(Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
  EXPECT_TRUE(F.AccessCode().Entering());
  Key(Qt::Key_Plus, Qt::KeypadModifier);
  Key(Qt::Key_F7);
  Key(Qt::Key_F3);
  EXPECT_EQ(Status(), "Key:kvr");
  Type("5830");
  Key(Qt::Key_Return);
  EXPECT_TRUE(F.TestMenuVisible());

  // Keys typed into a control reach it as well.
  F.QelEdit1->setFocus();
  CtrlK();
  Type("12");
  EXPECT_EQ(Status(), "Key:12");
  EXPECT_EQ(F.QelEdit1->text(), "12");
}

TEST(VirtualKeys, FromQtKeys) {
  const struct {
    Qt::Key Key;
    Qt::KeyboardModifiers Mods;
    int Vk;
  } cases[] = {{Qt::Key_K, {}, 0x4B},
               {Qt::Key_K, Qt::ShiftModifier, 0x4B},
               {Qt::Key_7, {}, 0x37},
               {Qt::Key_7, Qt::KeypadModifier, 0x67},
               {Qt::Key_Ampersand, {}, 0x37},
               {Qt::Key_Plus, Qt::KeypadModifier, 0x6B},
               {Qt::Key_Plus, {}, 0xBB},
               {Qt::Key_Return, {}, 0x0D},
               {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
               {Qt::Key_Backspace, {}, 0x08},
               {Qt::Key_Control, Qt::ControlModifier, 0x11},
               {Qt::Key_Shift, {}, 0x10},
               {Qt::Key_F1, {}, 0x70},
               {Qt::Key_Delete, {}, 0x2E},
               {Qt::Key_unknown, {}, 0}};
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyOf(c.Key, c.Mods), c.Vk) << c.Key;
}

}  // namespace
