#pragma once
// The main window: owns the model and the link state for the life of the
// program; its handlers stay thin and call the core.
#include <QMainWindow>
#include <deque>
#include <filesystem>
#include <string_view>
#include <array>

#include "controls/qelbuttons.h"
#include "controls/qeledits.h"
#include "controls/qellabel.h"
#include "controls/qellists.h"
#include "controls/qelpanels.h"
#include "controls/qeltabs.h"
#include "ipedit/tipedit.h"
#include "model/actions.h"
#include "model/inifile.h"
#include "model/devicelist.h"
#include "model/listedit.h"
#include "controls/qeltrackbars.h"
#include "model/events.h"
#include "model/libraries.h"
#include "link/dispatcher.h"
#include "link/importer.h"
#include "link/panellink.h"
#include "link/transfer.h"
#include "ui/accesscode.h"
#include "ui/forms.h"
#include "ui/pagecontrols.h"
#include "ui/widgets.h"

class QAction;
class QDialog;
class QUrl;
class QTimer;
class LinkServer;
struct ProjectReadResult;
class QMenu;
class QScrollBar;

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(Forms& forms);

  Forms& F;

  // The model (records addressed from 1) and its cursors.
  ConfigModel Model;
  IniFile KeyNameIni;

  // Ticks of Timer1 since the last discovery run.
  int DiscoveryTicks = 0;

  // "Panel Set"
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
  TQelEdit* QelEdit1 = nullptr;  // port
  TQelBmpButton* QelBmpButton1 = nullptr;  // link indicator
  TQelGroupBox* GroupTcpIp = nullptr;
  TListView* ListView3 = nullptr;  // device list
  TQelBitBtn* QelBitBtn1 = nullptr;  // add device
  TQelBitBtn* QelBitBtn2 = nullptr;  // delete device
  TQelButton* QelButton7 = nullptr;  // "Clear All" devices

  // "Action List"
  TListView* ListView1 = nullptr;
  TQelBitBtn* QelBitBtn3 = nullptr;  // delete action
  TQelBitBtn* QelBitBtn4 = nullptr;  // delete empty actions
  TQelButton* QelButton8 = nullptr;  // "Clear All"

  // "Event Set"
  TQelListBox* QelListBox1 = nullptr;
  TQelPageControl* QelPageControl1 = nullptr;
  std::array<TQelTabSheet*, 7> EventPages{};

  // "RS232/485" page
  TQelEdit* QelEdit2 = nullptr;          // library name
  TQelComboBox* QelComboBox1 = nullptr;  // function
  TQelComboBox* QelComboBox3 = nullptr;  // port
  TQelComboBox* QelComboBox4 = nullptr;  // baud
  TQelComboBox* QelComboBox5 = nullptr;  // data bits
  TQelComboBox* QelComboBox6 = nullptr;  // stop bits
  TQelComboBox* QelComboBox19 = nullptr; // parity
  TQelComboBox* QelComboBox2 = nullptr;  // repeat mode
  TQelLabel* QelLabel12 = nullptr;
  TQelEdit* QelEdit4 = nullptr;          // count
  TQelDBTrackBar* QelDBTrackBar1 = nullptr;
  TQelLabel* QelLabel13 = nullptr;
  TQelEdit* QelEdit5 = nullptr;          // interval
  TQelDBTrackBar* QelDBTrackBar2 = nullptr;
  TQelRadioButton* QelRadioButton1 = nullptr;  // "ASCII"
  TQelRadioButton* QelRadioButton2 = nullptr;  // "HEX"
  TQelComboBox* QelComboBox7 = nullptr;  // end character
  TQelMemo* QelMemo1 = nullptr;
  MemoBytes* Memo1Bytes = nullptr;
  TQelButton* QelButton11 = nullptr;     // "Clear"
  TQelButton* QelButton12 = nullptr;     // "Add"

  // "IR" page
  TQelEdit* QelEdit3 = nullptr;
  TQelComboBox* QelComboBox8 = nullptr;
  TQelComboBox* QelComboBox9 = nullptr;  // repeat mode
  TQelLabel* QelLabel18 = nullptr;
  TQelEdit* QelEdit6 = nullptr;
  TQelDBTrackBar* QelDBTrackBar3 = nullptr;
  TQelLabel* QelLabel21 = nullptr;
  TQelEdit* QelEdit7 = nullptr;
  TQelDBTrackBar* QelDBTrackBar4 = nullptr;
  TQelComboBox* QelComboBox10 = nullptr;  // port
  TQelComboBox* QelComboBox11 = nullptr;  // carrier
  TQelButton* QelButton15 = nullptr;

  // "TCP/IP" page
  TQelEdit* QelEdit8 = nullptr;
  TQelEdit* QelEdit9 = nullptr;
  TQelRadioButton* QelRadioButton3 = nullptr;
  TQelRadioButton* QelRadioButton4 = nullptr;
  TQelComboBox* QelComboBox12 = nullptr;
  TQelMemo* QelMemo2 = nullptr;
  MemoBytes* Memo2Bytes = nullptr;
  TQelButton* QelButton16 = nullptr;
  TQelButton* QelButton17 = nullptr;

  // "Delay" page
  TQelEdit* QelEdit10 = nullptr;
  TQelEdit* QelEdit11 = nullptr;
  TQelEdit* QelEdit12 = nullptr;
  QScrollBar* ScrollBar1 = nullptr;
  QScrollBar* ScrollBar2 = nullptr;
  QScrollBar* ScrollBar3 = nullptr;
  TQelButton* QelButton18 = nullptr;  // "Reset"
  TQelButton* QelButton19 = nullptr;

  // "Compare" page
  TQelComboBox* QelComboBox13 = nullptr;
  TQelRadioButton* QelRadioButton5 = nullptr;
  TQelRadioButton* QelRadioButton6 = nullptr;
  TQelComboBox* QelComboBox14 = nullptr;
  TQelMemo* QelMemo3 = nullptr;
  MemoBytes* Memo3Bytes = nullptr;
  TQelButton* QelButton20 = nullptr;
  TQelButton* QelButton21 = nullptr;

  // "LED" page
  TQelComboBox* QelComboBox15 = nullptr;
  TQelComboBox* QelComboBox16 = nullptr;
  TQelButton* QelButton22 = nullptr;

  // "Toggle" page
  TQelComboBox* QelComboBox17 = nullptr;
  TQelComboBox* QelComboBox18 = nullptr;
  TQelButton* QelButton23 = nullptr;

  // Library entries the RS232 and IR pages read.
  std::vector<TRs232> Rs232Lib = std::vector<TRs232>(kMaxLibraryEntries + 1);
  std::vector<TIR> IrLib = std::vector<TIR>(kMaxLibraryEntries + 1);
  int IrCodeRaw = 0;  // 1: IrLib data are raw bytes, 0: hex text

  // What the last decoded records announced (the road "Open" and "Upload"
  // share), and the IR entries decoded.
  transfer::RecordImporter Import{Model};
  int IrDecodeCount = 0;

  // The link (link/panellink.h): the server, the connection commands go
  // to, the senders and discovery. The window owns it; Forms::Link points to it.
  PanelLink* const Link;
  // The server and the selected connection by the names the window's
  // handlers use; both live in Link.
  LinkServer* const IdTCPServer1;
  int& SelectedLink;
  QTimer* Timer1 = nullptr;            // 100 ms; every tenth tick runs discovery
  // The device list (model/devicelist.h); ListView3 mirrors it, and
  // Forms::Devices points to it.
  DeviceList Devices;

  // Menus (ui/tform1_menus.cpp).
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
  QMenu* Modify1 = nullptr;         // 9-key build only
  QAction* Name1 = nullptr;         // "Type"
  QAction* Name2 = nullptr;         // "Name"
  QMenu* KeyLock1 = nullptr;        // 9-key build only
  QAction* LocK1 = nullptr;
  QAction* UnLock1 = nullptr;
  QAction* POWNFunction1 = nullptr; // 9-key build only
  QAction* UpdateTest1 = nullptr;   // "Local Data"
  QAction* SetMac1 = nullptr;

  // The access code typed since Ctrl+K, at most 7 characters.
  AccessCodeEntry Access;
  // One key-down, as its virtual-key code, seen before the window's controls.
  void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  bool TestMenuVisible() const;

  void N500816V1Click();
  void Message1Click();
  void SoftWareUpdate1Click();
  void FactoryDefalt1Click();
  void Reset1Click();
  void about1Click();
  void Debug1Click();
  void DebugDataClear1Click();
  void On1Click();
  void off1Click();
  void CPTPReconnet1Click();
  void EERomclear1Click();
  void EERomRead1Click();
  void EETab1Click();
  void Name1Click();
  void Name2Click();
  void LocK1Click();
  void UnLock1Click();
  void POWNFunction1Click();
  void UpdateTest1Click();
  void SetMac1Click();
  // Where "Software Update" opens the panel's page.
  static QUrl PanelPage();
  // Shows the help text when the help file cannot be written.
  QDialog* HelpWindow = nullptr;

  // "Event List"
  TListView* ListView2 = nullptr;
  TQelBitBtn* QelBitBtn5 = nullptr;  // delete event
  TQelBitBtn* QelBitBtn6 = nullptr;  // move up
  TQelBitBtn* QelBitBtn7 = nullptr;  // move down
  TQelButton* QelButton24 = nullptr;  // "Clear All"

  TQelMemo* Memo2 = nullptr;  // hidden debug log
  TStatusBar* StatusBar1 = nullptr;

  // Key button n (1..10), or null where the build has none.
  TQelButton* KeyButton(int key) const;

  // The debug log keeps this many of the newest lines: a panel flooding the
  // link must not grow the process without end.
  static constexpr int kLogLines = 20000;
  // One line at the end of the debug log. Lines are gathered and put into
  // the memo together once the event loop runs (a load logs thousands).
  void Log(const QString& line);
  // The whole debug log, pending lines included.
  QString LogText();
  void FlushLog();

  // Handlers.
  void FormCreate();
  void FormShow();
  void FormDestroy();
  void KeyButtonClick(int key);
  void QelButton1Click() { KeyButtonClick(1); }
  void QelButton2Click() { KeyButtonClick(2); }
  void QelButton3Click() { KeyButtonClick(3); }
  void QelButton4Click() { KeyButtonClick(4); }
  void QelButton5Click() { KeyButtonClick(5); }
  void QelButton6Click() { KeyButtonClick(6); }
  void QelButton25Click() { KeyButtonClick(7); }
  void QelButton26Click() { KeyButtonClick(8); }
  void QelButton27Click() { KeyButtonClick(9); }
  void QelButton28Click() { KeyButtonClick(10); }
  void ListView1ColumnClick(int column);
  static QColor ListView1CustomDrawItem(int row);
  // CompareText: case-insensitive, so captions sort as text ("10" before "2").
  static int ListItemCompare(const QStringList& a, const QStringList& b, int column);

  void SetupActionListColumns();
  void SetupEventListColumns();
  void SetupDeviceListColumns();

  // Steps 2 to 4 of the key dialogs' "Add": the new row, the Toggle page's
  // key for a "Toggle" action, then an empty Event List.
  void AppendActionRow(int action);

  // Event Set pages: what each holds, and changes put back into it.
  Rs232Settings ReadRs232Page() const;
  IrSettings ReadIrPage() const;
  TcpSettings ReadTcpPage() const;
  DelaySettings ReadDelayPage() const;
  CompareSettings ReadComparePage() const;
  LedSettings ReadLedPage() const;
  ToggleSettings ReadTogglePage() const;
  void ApplyRs232(const Rs232Change& c);
  void ApplyIr(const IrChange& c);
  void ApplyTcp(const TcpChange& c);
  void ApplyDelay(const DelayChange& c);
  void ApplyCompare(const CompareChange& c);
  void ApplyLed(const LedChange& c);
  void ApplyToggle(const ToggleChange& c);

  // Code libraries.
  TQelButton* QelButton9 = nullptr;   // RS232 "Change Lib"
  TQelButton* QelButton10 = nullptr;  // RS232 "Edit Lib"
  TQelButton* QelButton13 = nullptr;  // IR "Change Lib"
  TQelButton* QelButton14 = nullptr;  // IR "Edit Lib"
  void QelButton9Click();
  void QelButton10Click();
  void QelButton13Click();
  void QelButton14Click();
  void QelComboBox1Change(int index);
  void LoadRs232LibEntry(int n);

  // The pages' "Add" buttons.
  void QelButton12Click();
  void QelButton15Click();
  void QelButton17Click();
  void QelButton19Click();
  void QelButton21Click();
  void QelButton22Click();
  void QelButton23Click();

  void UpdateRs232RepeatControls();
  void UpdateIrRepeatControls();
  void QelListBox1Click();
  void QelPageControl1Click();
  void QelButton11Click() { Memo1Bytes->SetBytes({}); }
  void QelButton16Click() { Memo2Bytes->SetBytes({}); }
  void QelButton20Click() { Memo3Bytes->SetBytes({}); }
  void QelButton18Click();
  void QelButton24Click();

  // Decoded records through the key dialogs and the pages' "Add"; true
  // when the Add stored a row.
  bool DecodeActionRecordAndAdd(std::string_view bytes);
  bool DecodeEventAndAdd(int type, std::string_view payload, int n);
  // The importer's sink for its current road: the two above, and the log.
  transfer::ImportSink RecordSink();

  // Connection events of the server.
  void IdTCPServer1Connect(int index);
  // One whole message from connection `link`.
  void IdTCPServer1Execute(int link, const QByteArray& message);
  // What the panels' answers change.
  void RelayTo(const QString& ip, const std::string& bytes);
  void NetConfigAnswer(const NetSettings& s);
  void ShowSystemInfo(uint8_t which, const std::string& text);
  // Discovery, once a second.
  void Timer1Timer();
  void DiscoveryRun();
  void IdTCPServer1Disconnect(int index);
  void IdTCPServer1Exception(int index, const QString& reason);
  void ConnectionRemoved(int index);
  // The device list and the panel fields.
  void ListView3Click();
  void QelButton7Click();   // "Clear All" devices
  void QelBitBtn1Click();   // add device
  void QelBitBtn2Click();   // delete device
  void Reconnect1Click();
  void ClearPanelNetFields();
  void SetDeviceDataWidth(int width) { ListView3->SetColumnWidth(1, width); }
  // The window's handlers send through Link.
  void SendCommand(uint8_t command, int n) { Link->SendCommand(command, n); }
  // Test > "Local Data": the model as lines in the debug log.
  void DumpLocalData();

  // Transfers. The dispatcher hands over what the connection `link` sent;
  // the record handlers return false when no upload takes records from it.
  void Download1Click();  // Connection > "Upload"
  void Download2Click();  // Connection > "Download": the dialog
  void TransferAck(int link, std::string_view message);
  bool UploadActionRecord(int link, std::string_view record);
  bool UploadEventRecord(int link, std::string_view record);
  // The upload running, if any: records are taken only from its connection.
  transfer::UploadSession Upload;
  // Ends the running upload without a word ("Open", "Upload", download "Start").
  void EndUpload();
  // A connection left the server: a transfer on it ends with a warning.
  void TransfersLinkRemoved();

  // Project files.
  void Save1Click();
  void Saveas1Click();
  void Open1Click();
  // "Open" of a file's bytes: everything cleared, then each record re-created.
  void LoadProject(std::string_view bytes);
  void LoadProject(const ProjectReadResult& read);
  // Unsaved work: whether the actions and events differ from what was last
  // saved, opened or uploaded.
  bool ProjectChanged() const;
  void MarkProjectKept();
  // Before the project is thrown away: with changes, asks to save them
  // first. False when the user stopped it (Cancel, or a save that did not happen).
  bool MayDiscardProject();

  // Lists.
  void ListView1Click();
  void ListView2Click();
  void QelBitBtn3Click();
  void QelBitBtn4Click();
  void QelBitBtn5Click();
  void QelBitBtn6Click();
  void QelBitBtn7Click();
  void QelButton8Click();
  // Event List rows from the current action's records; `select` is a
  // 1-based row to select (0: none), which becomes CurrentEvent.
  void ReloadEventList(int select);
  // Action List row whose caption is n, or -1.
  int ActionRowOf(int n) const;

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void StartSockets();
  void StopSockets();
  void BuildMenus();
  void ShowModify(const QString& label);
  void ShowHelpText(const std::string& text);
  bool SaveAs();
  // ListView3 follows each change of Devices.
  void DeviceListChanged(const DeviceList::Change& c);
  void BuildPanelSet(QWidget* parent);
  void BuildActionList(QWidget* parent);
  void BuildEventSet(QWidget* parent);
  void BuildEventList(QWidget* parent);
  void BuildRs232Page(QWidget* page);
  void BuildIrPage(QWidget* page);
  void BuildTcpPage(QWidget* page);
  void BuildDelayPage(QWidget* page);
  void BuildComparePage(QWidget* page);
  void BuildLedPage(QWidget* page);
  void BuildTogglePage(QWidget* page);
  // Common part of the Add buttons; false when the event was not added.
  bool AddEvent(EventKind kind, const Encoded& e);
  void ApplyRenumbering(const Renumbering& r);
  void MoveSelectedEvent(bool up);

  // The scheduled flush: lines of a burst go into the memo at most every
  // kLogBurstMs, since each such flush rewrites or trims the memo.
  void FlushLogLater();
  std::deque<QString> pendingLog_;  // the newest kLogLines not yet in the memo
  qint64 logFlushedMs_ = 0;         // when FlushLog last put lines into the memo
  bool batchLoading_ = false;
  int lastDecodedPage_ = -1;
  bool shown_ = false;
  bool closing_ = false;
  size_t keptProject_ = 0;  // hash of the actions and events as last kept
  std::array<TQelButton*, 11> keyButtons_{};
};

// The date and time as the status bar shows them.
QString DateTimeText();
