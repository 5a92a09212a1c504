// The main window's menus, the hidden "Test" menu with its access code, the
// version box and the help file.
#include <QDialog>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>

#include "link/protocol.h"
#include "link/server.h"
#include "model/fileio.h"
#include "model/texts.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"
#include "ui/tform10.h"
#include "ui/tform11.h"
#include "ui/tform13.h"
#include "ui/tform8.h"
#include "ui/tform9.h"

namespace fs = std::filesystem;

namespace {

const QString kServerRestarted = QString::fromUtf8(
    "\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8\xE9\x87\x8D\xE6\x96\xB0\xE5\x90\xAF\xE5\x8A\xA8\xEF\xBC\x81");  // 服务器重新启动！

// The panel's own page, at the address a panel has on its LAN out of the box.
const char* const kPanelPage = "http://192.168.1.100/";

// Twelve lines, each ended by CR LF, as the file is written.
std::string BuiltInHelpText(const Variant& v) {
  const std::string lines[] = {
      "Version: " + v.Version,
      "Functions:",
      "1. This software is used to configure the wall-plate control panel.",
      "2. Panel Set: " + std::to_string(v.HelpKeyCount) +
          " customizable keys; key types Press, Release and Toggle; key groups for the LED setting.",
      "3. TCP/TP: the IP addresses of all devices in the system.",
      "4. Action List: all added key actions.",
      "5. Event Set: the functions of each key action (RS232, IR, TCP/IP, Delay, Compare, LED, Toggle).",
      "6. Event List: all events of the selected key action, at most 100.",
      "7. TCP/IP events talk to other devices on the LAN; when offline, " + v.HelpPanelName +
          " acts as the client that sends the network data.",
      "8. File menu: save and load configurations.",
      "9. System menu: software information, software update, factory default.",
      "10. Connection menu: IP setting, upload and download of the configuration.",
  };
  std::string text;
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

template <class Handler>
QAction* Item(QMenu* menu, const char* name, const char* caption, TForm1* w, Handler h) {
  QAction* a = menu->addAction(Utf8(caption), w, h);
  a->setObjectName(QString::fromLatin1(name));
  return a;
}

QMenu* Submenu(QMenu* menu, const char* name, const char* caption) {
  QMenu* m = menu->addMenu(Utf8(caption));
  m->setObjectName(QString::fromLatin1(name));
  m->menuAction()->setObjectName(QString::fromLatin1(name));
  return m;
}

// The help text in the window's own viewer, made at its first showing.
void ShowHelpText(TForm1& w, const std::string& text) {
  QDialog*& help = w.HelpWindow;
  if (!help) {
    help = new QDialog(&w);
    help->setObjectName(QStringLiteral("HelpWindow"));
    help->setWindowTitle(Utf8(kHelpFile));
    help->resize(780, 300);
    auto* memo = new QPlainTextEdit(help);
    memo->setObjectName(QStringLiteral("HelpText"));
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(help);
    layout->addWidget(memo);
  }
  QString shown = Utf8(text);
  shown.remove(u'\r');
  help->findChild<QPlainTextEdit*>(QStringLiteral("HelpText"))->setPlainText(shown);
  w.F.S.Dialogs->Run(help);
}

}  // namespace

QUrl TForm1::PanelPage() { return QUrl(QString::fromLatin1(kPanelPage)); }

void TForm1::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto top = [bar](const char* name, const char* caption) {
    QMenu* m = bar->addMenu(Utf8(caption));
    m->setObjectName(QString::fromLatin1(name));
    m->menuAction()->setObjectName(QString::fromLatin1(name));
    return m;
  };

  File1 = top("File1", kMenuFile);
  Open1 = Item(File1, "Open1", kMenuOpen, this, &TForm1::Open1Click);
  Save1 = Item(File1, "Save1", kSave, this, &TForm1::Save1Click);
  Saveas1 = Item(File1, "Saveas1", kSaveAs, this, &TForm1::Saveas1Click);

  System1 = top("System1", kMenuSystem);
  N500816V1 = System1->addAction(Utf8(F.V.VersionMenuCaption), this, &TForm1::N500816V1Click);
  N500816V1->setObjectName(QStringLiteral("N500816V1"));
  Message1 = Item(System1, "Message1", kMenuMessage, this, &TForm1::Message1Click);
  SoftWareUpdate1 = Item(System1, "SoftWareUpdate1", kMenuSoftwareUpdate, this, &TForm1::SoftWareUpdate1Click);
  FactoryDefalt1 = Item(System1, "FactoryDefalt1", kMenuFactoryDefault, this, &TForm1::FactoryDefalt1Click);

  Connection1 = top("Connection1", kMenuConnection);
  TCPIP1 = Submenu(Connection1, "com1", kTcpIp);
  Reconnect1 = Item(TCPIP1, "Reconnect1", kMenuReconnect, this, &TForm1::Reconnect1Click);
  Reset1 = Item(TCPIP1, "Reset1", kMenuSetting, this, &TForm1::Reset1Click);
  Download1 = Item(Connection1, "Download1", kMenuUpload, this, &TForm1::Download1Click);
  Download2 = Item(Connection1, "Download2", kDownload, this, &TForm1::Download2Click);

  Help1 = top("Help1", kMenuHelp);
  about1 = Item(Help1, "about1", kMenuAbout, this, &TForm1::about1Click);

  est1 = top("est1", kMenuTest);
  Debug1 = Item(est1, "Debug1", kMenuDebug, this, &TForm1::Debug1Click);
  DebugDataClear1 = Item(est1, "DebugDataClear1", kMenuDebugDataClear, this, &TForm1::DebugDataClear1Click);
  STM32Debug1 = Submenu(est1, "STM32Debug1", kMenuStm32Debug);
  On1 = Item(STM32Debug1, "On1", kMenuOn, this, &TForm1::On1Click);
  off1 = Item(STM32Debug1, "off1", kMenuOff, this, &TForm1::off1Click);
  CPTPReconnet1 = Item(est1, "CPTPReconnet1", kMenuTcpReconnect, this, &TForm1::CPTPReconnet1Click);
  EERomclear1 = Item(est1, "EERomclear1", kMenuEepromClear, this, &TForm1::EERomclear1Click);
  EERomRead1 = Item(est1, "EERomRead1", kMenuEepromRead, this, &TForm1::EERomRead1Click);
  EETab1 = Item(est1, "EETab1", kMenuEepromTable, this, &TForm1::EETab1Click);
  if (F.V.HasModifyDialog) {
    Modify1 = Submenu(est1, "Modify1", kModify);
    Name1 = Item(Modify1, "Name1", kType, this, &TForm1::Name1Click);
    Name2 = Item(Modify1, "Name2", kMenuName, this, &TForm1::Name2Click);
  }
  if (F.V.HasKeyLockMenu) {
    KeyLock1 = Submenu(est1, "KeyLock1", kMenuKeyLock);
    LocK1 = Item(KeyLock1, "LocK1", kMenuLock, this, &TForm1::LocK1Click);
    UnLock1 = Item(KeyLock1, "UnLock1", kMenuUnlock, this, &TForm1::UnLock1Click);
  }
  if (F.V.HasModifyDialog)
    POWNFunction1 = Item(est1, "POWNFunction1", kMenuPownFunction, this, &TForm1::POWNFunction1Click);
  UpdateTest1 = Item(est1, "UpdateTest1", kMenuLocalData, this, &TForm1::UpdateTest1Click);
  SetMac1 = Item(est1, "SetMac1", kMenuSetMac, this, &TForm1::SetMac1Click);
  // Hidden until the access code is typed.
  est1->menuAction()->setVisible(false);
}

bool TForm1::TestMenuVisible() const { return est1->menuAction()->isVisible(); }

// "System"

void TForm1::N500816V1Click() {
  F.Warn(this, Utf8(F.V.Name), Utf8(F.V.Name + " " + F.V.Version) + u'\n' + Utf8(F.V.VersionDate));
}

void TForm1::Message1Click() { F.S.Dialogs->Run(F.Form10); }

void TForm1::SoftWareUpdate1Click() {
  // Nobody checks that a panel is there: the page is opened at its address.
  QString why;
  if (F.S.Opener && F.S.Opener->OpenPage(PanelPage(), &why)) return;
  Log(QStringLiteral("Software Update: ") + PanelPage().toString() + QStringLiteral(" not opened") +
      (why.isEmpty() ? QString() : QStringLiteral(" (") + why + u')'));
  F.Warn(Utf8(kCannotOpenPage).arg(PanelPage().toString(), why.isEmpty() ? Utf8(kNoBrowser) : why));
}

void TForm1::FactoryDefalt1Click() { CommandPanel(cmd::FactoryDefault); }

// "Connection"

void TForm1::Reset1Click() { F.S.Dialogs->Run(F.Form8); }

// "Help"

void TForm1::about1Click() {
  const fs::path path = F.Config.ProgramDir / kHelpFile;
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    Log(QStringLiteral("Help file not exist"));
    // A folder that cannot be written still gets its help read.
    if (!WriteFileReplacing(path, BuiltInHelpText(F.V))) {
      ShowHelpText(*this, BuiltInHelpText(F.V));
      return;
    }
  }
  // Without a viewer for text files the help is still read.
  if (!F.S.Opener || !F.S.Opener->OpenFile(QString::fromStdString(path.string())))
    ShowHelpText(*this, BuiltInHelpText(F.V));
}

// "Test"

void TForm1::Debug1Click() {
  Memo2->setVisible(Memo2->isHidden());
  if (LogShown()) {
    FlushLog();
    Memo2->raise();
  }
}

void TForm1::DebugDataClear1Click() { ClearLog(); }

void TForm1::On1Click() { CommandPanel(cmd::DebugOn); }
void TForm1::off1Click() { CommandPanel(cmd::DebugOff); }

void TForm1::CPTPReconnet1Click() {
  if (!F.V.ReconnectRestartsServer) {
    if (MayCommandPanel()) Link->SendCommandData(cmd::Reconnect, std::string("\x00\x56\x00\x03", 4));
    return;
  }
  // The server listens again if it stopped; its connections stay.
  if (!IdTCPServer1->IsListening()) Link->Listen();
  Log(kServerRestarted);
}

// The 9-key build's clear goes to the first connection, whichever is linked.
void TForm1::EERomclear1Click() {
  if (!F.V.EeromClearAsCommand21 || MayCommandPanel()) Link->EERomClear();
}
void TForm1::EERomRead1Click() { CommandPanel(cmd::EepromRead); }
void TForm1::EETab1Click() { F.S.Dialogs->Run(F.Form11); }

// Test > "Modify": the dialog for the field it changes.
void TForm1::Name1Click() {
  if (F.Form13) F.Form13->Ask(TForm13::Field::Type);
}
void TForm1::Name2Click() {
  if (F.Form13) F.Form13->Ask(TForm13::Field::Name);
}
void TForm1::POWNFunction1Click() {
  if (F.Form13) F.Form13->Ask(TForm13::Field::Data);
}
void TForm1::LocK1Click() {
  if (MayCommandPanel()) Link->SendCommandData(cmd::KeyLock, std::string(1, '\x01'));
}
void TForm1::UnLock1Click() {
  if (MayCommandPanel()) Link->SendCommandData(cmd::KeyLock, std::string(1, '\x00'));
}
// The debug log emptied, then the model as lines in it.
void TForm1::UpdateTest1Click() {
  ClearLog();
  for (const std::string& line : LocalDataLines(Model, ListView1->Count())) Log(FromGbk(line));
}
void TForm1::SetMac1Click() { F.S.Dialogs->Run(F.Form9); }

// The access code

void TForm1::FormKeyDown(int key, Qt::KeyboardModifiers modifiers) {
  const AccessCodeEntry::Step s = Access.KeyDown(key, modifiers & Qt::ControlModifier, TestMenuVisible());
  if (s.ShowTest) est1->menuAction()->setVisible(true);
  if (s.HideTest) est1->menuAction()->setVisible(false);
  if (s.SetStatus) StatusBar1->SetPanelText(5, QString::fromLatin1(s.Status));
}
