#pragma once
// The main window's controls under the names the window is built from,
// grouped as the window shows them. TForm1 derives from Form1Controls, so
// each keeps its own name (Form1->QelButton12).
#include <array>

#include "controls/qelbitbtn.h"
#include "controls/qelbmpbutton.h"
#include "controls/qelbuttons.h"
#include "controls/qeledits.h"
#include "controls/qellabel.h"
#include "controls/qellists.h"
#include "controls/qelpanels.h"
#include "controls/qelradiobutton.h"
#include "controls/qeltabs.h"
#include "controls/qeltrackbars.h"
#include "ipedit/tipedit.h"
#include "ui/pagecontrols.h"
#include "ui/widgets.h"

class QAction;
class QDialog;
class QMenu;
class QScrollBar;
class QTimer;
class LinkServer;

struct PanelSetControls {
  TQelPanel* QelPanel1 = nullptr;
  TQelGroupBox* GroupControl = nullptr;
  TQelGroupBox* GroupDisplay = nullptr;  // 9-key build only
  TQelGroupBox* GroupAudio = nullptr;    // 9-key build only
  TQelButton* QelButton1 = nullptr;
  TQelButton* QelButton2 = nullptr;
  TQelButton* QelButton3 = nullptr;
  TQelButton* QelButton4 = nullptr;
  TQelButton* QelButton5 = nullptr;
  TQelButton* QelButton6 = nullptr;
  TQelButton* QelButton25 = nullptr;  // "ON"
  TQelButton* QelButton26 = nullptr;  // "OFF"
  TQelButton* QelButton27 = nullptr;  // "MUTE"
  TQelButton* QelButton28 = nullptr;  // "XN"
  TIPEdit* IPEdit1 = nullptr;
  TIPEdit* IPEdit2 = nullptr;
  TIPEdit* IPEdit3 = nullptr;
  TQelEdit* QelEdit1 = nullptr;            // port
  TQelBmpButton* QelBmpButton1 = nullptr;  // link indicator
  TQelGroupBox* GroupTcpIp = nullptr;
  TListView* ListView3 = nullptr;    // device list
  TQelBitBtn* QelBitBtn1 = nullptr;  // add device
  TQelBitBtn* QelBitBtn2 = nullptr;  // delete device
  TQelButton* QelButton7 = nullptr;  // "Clear All" devices
};

struct ActionListControls {
  TListView* ListView1 = nullptr;
  TQelBitBtn* QelBitBtn3 = nullptr;  // delete action
  TQelBitBtn* QelBitBtn4 = nullptr;  // delete empty actions
  TQelButton* QelButton8 = nullptr;  // "Clear All"
};

struct EventListControls {
  TListView* ListView2 = nullptr;
  TQelBitBtn* QelBitBtn5 = nullptr;   // delete event
  TQelBitBtn* QelBitBtn6 = nullptr;   // move up
  TQelBitBtn* QelBitBtn7 = nullptr;   // move down
  TQelButton* QelButton24 = nullptr;  // "Clear All"
};

// The Event Set: the kind list, the pages, and each page's controls. A
// memo's MemoBytes holds the bytes the memo shows.
struct EventSetControls {
  TQelListBox* QelListBox1 = nullptr;
  TQelPageControl* QelPageControl1 = nullptr;
  std::array<TQelTabSheet*, 7> EventPages{};
};

struct Rs232PageControls {
  TQelEdit* QelEdit2 = nullptr;           // library name
  TQelComboBox* QelComboBox1 = nullptr;   // function
  TQelComboBox* QelComboBox3 = nullptr;   // port
  TQelComboBox* QelComboBox4 = nullptr;   // baud
  TQelComboBox* QelComboBox5 = nullptr;   // data bits
  TQelComboBox* QelComboBox6 = nullptr;   // stop bits
  TQelComboBox* QelComboBox19 = nullptr;  // parity
  TQelComboBox* QelComboBox2 = nullptr;   // repeat mode
  TQelLabel* QelLabel12 = nullptr;
  TQelEdit* QelEdit4 = nullptr;  // count
  TQelDBTrackBar* QelDBTrackBar1 = nullptr;
  TQelLabel* QelLabel13 = nullptr;
  TQelEdit* QelEdit5 = nullptr;  // interval
  TQelDBTrackBar* QelDBTrackBar2 = nullptr;
  TQelRadioButton* QelRadioButton1 = nullptr;  // "ASCII"
  TQelRadioButton* QelRadioButton2 = nullptr;  // "HEX"
  TQelComboBox* QelComboBox7 = nullptr;        // end character
  TQelMemo* QelMemo1 = nullptr;
  MemoBytes* Memo1Bytes = nullptr;
  TQelButton* QelButton9 = nullptr;   // "Change Lib"
  TQelButton* QelButton10 = nullptr;  // "Edit Lib"
  TQelButton* QelButton11 = nullptr;  // "Clear"
  TQelButton* QelButton12 = nullptr;  // "Add"
};

struct IrPageControls {
  TQelEdit* QelEdit3 = nullptr;          // library name
  TQelComboBox* QelComboBox8 = nullptr;  // function
  TQelComboBox* QelComboBox9 = nullptr;  // repeat mode
  TQelLabel* QelLabel18 = nullptr;
  TQelEdit* QelEdit6 = nullptr;
  TQelDBTrackBar* QelDBTrackBar3 = nullptr;
  TQelLabel* QelLabel21 = nullptr;
  TQelEdit* QelEdit7 = nullptr;
  TQelDBTrackBar* QelDBTrackBar4 = nullptr;
  TQelComboBox* QelComboBox10 = nullptr;  // port
  TQelComboBox* QelComboBox11 = nullptr;  // carrier
  TQelButton* QelButton13 = nullptr;      // "Change Lib"
  TQelButton* QelButton14 = nullptr;      // "Edit Lib"
  TQelButton* QelButton15 = nullptr;      // "Add"
};

struct TcpPageControls {
  TQelEdit* QelEdit8 = nullptr;
  TQelEdit* QelEdit9 = nullptr;
  TQelRadioButton* QelRadioButton3 = nullptr;
  TQelRadioButton* QelRadioButton4 = nullptr;
  TQelComboBox* QelComboBox12 = nullptr;
  TQelMemo* QelMemo2 = nullptr;
  MemoBytes* Memo2Bytes = nullptr;
  TQelButton* QelButton16 = nullptr;
  TQelButton* QelButton17 = nullptr;
};

struct DelayPageControls {
  TQelEdit* QelEdit10 = nullptr;
  TQelEdit* QelEdit11 = nullptr;
  TQelEdit* QelEdit12 = nullptr;
  QScrollBar* ScrollBar1 = nullptr;
  QScrollBar* ScrollBar2 = nullptr;
  QScrollBar* ScrollBar3 = nullptr;
  TQelButton* QelButton18 = nullptr;  // "Reset"
  TQelButton* QelButton19 = nullptr;
};

struct ComparePageControls {
  TQelComboBox* QelComboBox13 = nullptr;
  TQelRadioButton* QelRadioButton5 = nullptr;
  TQelRadioButton* QelRadioButton6 = nullptr;
  TQelComboBox* QelComboBox14 = nullptr;
  TQelMemo* QelMemo3 = nullptr;
  MemoBytes* Memo3Bytes = nullptr;
  TQelButton* QelButton20 = nullptr;
  TQelButton* QelButton21 = nullptr;
};

struct LedPageControls {
  TQelComboBox* QelComboBox15 = nullptr;
  TQelComboBox* QelComboBox16 = nullptr;
  TQelButton* QelButton22 = nullptr;
};

struct TogglePageControls {
  TQelComboBox* QelComboBox17 = nullptr;
  TQelComboBox* QelComboBox18 = nullptr;
  TQelButton* QelButton23 = nullptr;
};

struct MainMenus {
  QMenu* File1 = nullptr;
  QAction* Open1 = nullptr;
  QAction* Save1 = nullptr;
  QAction* Saveas1 = nullptr;
  QMenu* System1 = nullptr;
  QAction* N500816V1 = nullptr;  // "Version "
  QAction* Message1 = nullptr;
  QAction* SoftWareUpdate1 = nullptr;
  QAction* FactoryDefalt1 = nullptr;
  QMenu* Connection1 = nullptr;
  QMenu* TCPIP1 = nullptr;
  QAction* Reconnect1 = nullptr;
  QAction* Reset1 = nullptr;  // "Setting"
  QAction* Download1 = nullptr;
  QAction* Download2 = nullptr;
  QMenu* Help1 = nullptr;
  QAction* about1 = nullptr;
  QMenu* est1 = nullptr;  // "Test", hidden until the access code
  QAction* Debug1 = nullptr;
  QAction* DebugDataClear1 = nullptr;
  QMenu* STM32Debug1 = nullptr;
  QAction* On1 = nullptr;
  QAction* off1 = nullptr;
  QAction* CPTPReconnet1 = nullptr;
  QAction* EERomclear1 = nullptr;
  QAction* EERomRead1 = nullptr;
  QAction* EETab1 = nullptr;
  QMenu* Modify1 = nullptr;   // 9-key build only
  QAction* Name1 = nullptr;   // "Type"
  QAction* Name2 = nullptr;   // "Name"
  QMenu* KeyLock1 = nullptr;  // 9-key build only
  QAction* LocK1 = nullptr;
  QAction* UnLock1 = nullptr;
  QAction* POWNFunction1 = nullptr;  // 9-key build only
  QAction* UpdateTest1 = nullptr;    // "Local Data"
  QAction* SetMac1 = nullptr;
};

struct Form1Controls : PanelSetControls,
                       ActionListControls,
                       EventListControls,
                       EventSetControls,
                       Rs232PageControls,
                       IrPageControls,
                       TcpPageControls,
                       DelayPageControls,
                       ComparePageControls,
                       LedPageControls,
                       TogglePageControls,
                       MainMenus {
  TQelMemo* Memo2 = nullptr;  // hidden debug log
  TStatusBar* StatusBar1 = nullptr;
  QDialog* HelpWindow = nullptr;  // the help text when the help file cannot be written
  // The server (it lives in the window's PanelLink) and the 100 ms tick
  // whose every tenth runs discovery.
  LinkServer* IdTCPServer1 = nullptr;
  QTimer* Timer1 = nullptr;
};
