#pragma once
// The main window: owns the model and the link state for the life of the
// program; its handlers stay thin and call the core. Its controls and
// handlers keep the names the window is built from; its state is its own.
#include <QMainWindow>
#include <deque>
#include <string_view>

#include "model/actions.h"
#include "model/devicelist.h"
#include "model/events.h"
#include "model/inifile.h"
#include "model/texts.h"
#include "link/dispatcher.h"
#include "link/importer.h"
#include "link/panellink.h"
#include "link/transfer.h"
#include "ui/accesscode.h"
#include "ui/debuglog.h"
#include "ui/forms.h"
#include "ui/pagelibraries.h"
#include "ui/tform1_controls.h"

class QUrl;
struct ProjectReadResult;

class TForm1 : public QMainWindow, public Form1Controls {
  Q_OBJECT
 public:
  explicit TForm1(Forms& forms);

  Forms& F;

  // Handlers.
  void FormCreate();
  void FormShow();
  void FormDestroy();
  // One key-down, as its virtual-key code, seen before the window's controls.
  void FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
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
  // The Action List, the Event List and the device list.
  void ListView1Click();
  void ListView1ColumnClick(int column);
  static QColor ListView1CustomDrawItem(int row);
  void ListView2Click();
  void ListView3Click();
  void QelBitBtn1Click();  // add device
  void QelBitBtn2Click();  // delete device
  void QelBitBtn3Click();
  void QelBitBtn4Click();
  void QelBitBtn5Click();
  void QelBitBtn6Click();
  void QelBitBtn7Click();
  void QelButton7Click();  // "Clear All" devices
  void QelButton8Click();
  void QelButton24Click();
  // The Event Set: library buttons, "Add", "Clear" and the repeat modes.
  void QelButton9Click();
  void QelButton10Click();
  void QelButton13Click();
  void QelButton14Click();
  void QelComboBox1Change(int index);
  void QelButton12Click();
  void QelButton15Click();
  void QelButton17Click();
  void QelButton19Click();
  void QelButton21Click();
  void QelButton22Click();
  void QelButton23Click();
  void QelButton11Click() { Memo1Bytes->SetBytes({}); }
  void QelButton16Click() { Memo2Bytes->SetBytes({}); }
  void QelButton20Click() { Memo3Bytes->SetBytes({}); }
  void QelButton18Click();
  void UpdateRs232RepeatControls();
  void UpdateIrRepeatControls();
  void QelListBox1Click();
  void QelPageControl1Click();
  // The server's connections; one whole message from connection `link`.
  void IdTCPServer1Connect(int index);
  void IdTCPServer1Execute(int link, const QByteArray& message);
  void IdTCPServer1Disconnect(int index);
  void IdTCPServer1Exception(int index, const QString& reason);
  void Timer1Timer();
  // Menus.
  void Open1Click();
  void Save1Click();
  void Saveas1Click();
  void N500816V1Click();
  void Message1Click();
  void SoftWareUpdate1Click();
  void FactoryDefalt1Click();
  void Reconnect1Click();
  void Reset1Click();
  void Download1Click();  // Connection > "Upload"
  void Download2Click();  // Connection > "Download": the dialog
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

  // What the other windows use: TForm2 renames key buttons, the key dialogs'
  // "Add" appends the row, the download's "Start" ends a running upload.
  TQelButton* KeyButton(int key) const;  // key 1..10, null where the build has none
  void AppendActionRow(int action);
  void EndUpload();
  // The lamp's rule: the panel fields show an address, and the connection
  // at SelectedLink is open with that address as its peer.
  bool ShownPanelLinked() const;
  // A command the user gives goes only to the panel shown as linked;
  // otherwise one warning over `parent` (the window when null), and false.
  // `noConnection` is the warning when no panel is connected at all.
  bool MayCommandPanel(QWidget* parent = nullptr, const char* noConnection = kDownloadNoPanel);
  // A data-less command the user gives, to the panel shown as linked.
  void CommandPanel(uint8_t command, QWidget* parent = nullptr);

  // The debug log: Forms::Log writes to its store; the memo Memo2 shows it
  // (Test > "Debug") and takes its lines only while shown.
  static constexpr int kLogLines = static_cast<int>(DebugLog::kLines);
  void Log(const QString& line);
  QString LogText() const { return Log_.Text(); }
  bool LogShown() const { return Memo2 && !Memo2->isHidden(); }
  bool LogPending() const { return LogShown() && Log_.Added() > memoAdded_; }  // lines waiting for the loop
  // Off: a load writes the memos and repaints record by record (tests compare the two).
  bool HoldDuringLoads = true;
  void FlushLog();

  // What a user can tell of the window's state.
  bool TestMenuVisible() const;
  bool ProjectChanged() const;  // unsaved changes since last saved, opened or uploaded
  bool Uploading() const { return Upload.Running(); }
  int ActionRowOf(int n) const;  // Action List row whose caption is n, or -1
  static QUrl PanelPage();       // where "Software Update" opens the panel's page
  // "Open" of a file's bytes: everything cleared, then each record re-created.
  void LoadProject(std::string_view bytes);
  // The importer's sink: decoded records through the key dialogs and the
  // pages' own "Add", and the debug log.
  transfer::ImportSink RecordSink();

  // For tests and benches: state no user sees, or library entries put in
  // without a library file.
  const transfer::RecordImporter& Importer() const { return Import; }
  const AccessCodeEntry& AccessCode() const { return Access; }
  PageLibraries& LibraryEntries() { return Libs; }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  class LinkSink;

  void KeyButtonClick(int key);
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
  void BuildMenus();
  void StartSockets();
  void StopSockets();

  // Changes put back into the Event Set pages: only the controls they name.
  void ApplyRs232(const Rs232Change& c);
  void ApplyIr(const IrChange& c);
  void ApplyTcp(const TcpChange& c);
  void ApplyDelay(const DelayChange& c);
  void ApplyCompare(const CompareChange& c);
  void ApplyLed(const LedChange& c);
  void ApplyToggle(const ToggleChange& c);
  void LoadRs232LibEntry(int n);
  bool AddEvent(EventKind kind, const Encoded& e);
  // Decoded records through the key dialogs and the pages' "Add"; true
  // when the Add stored a row.
  bool DecodeActionRecordAndAdd(std::string_view bytes);
  bool DecodeEventAndAdd(int type, std::string_view payload, int n);

  void ReloadEventList(int select);
  // The Event List row of the current action's event e.
  void AddEventRow(int e);
  void MoveSelectedEvent(bool up);

  void LoadProject(const ProjectReadResult& read);
  bool SaveAs();
  void MarkProjectKept();
  bool MayDiscardProject();

  // The link's side in the window: ListView3 follows each change of Devices.
  void DeviceListChanged(const DeviceList::Change& c);
  void NetConfigAnswer(const NetSettings& s);
  void ConnectionRemoved(int index);
  // The link lamp from the state, after anything that changes the fields
  // or the selected connection.
  void UpdateLinkLamp();
  void TransferAck(int link, std::string_view message);
  bool UploadActionRecord(int link, std::string_view record);
  bool UploadEventRecord(int link, std::string_view record);
  void TransfersLinkRemoved();
  void FlushLogLater();
  void HoldPainting(bool on);
  void HoldPaintingWhileRecordsCome();

  // The model (records addressed from 1) and its cursors; Forms::Model points to it.
  ConfigModel Model;
  IniFile KeyNameIni;  // Forms::KeyNameIni points to it
  PageLibraries Libs;
  // What the last decoded records announced (the road "Open" and "Upload" share).
  transfer::RecordImporter Import{Model};
  // The upload running, if any: records are taken only from its connection.
  transfer::UploadSession Upload;
  PanelLink* const Link;  // server, selected connection, senders, discovery; Forms::Link points to it
  int& SelectedLink;      // Link's selected connection
  // The device list; ListView3 mirrors it, and Forms::Devices points to it.
  DeviceList Devices;
  AccessCodeEntry Access;  // the access code typed since Ctrl+K
  int DiscoveryTicks = 0;  // ticks of Timer1 since the last discovery run

  DebugLog Log_{QStringLiteral("Memo2")};
  // The store's counts when the memo last took its lines.
  qint64 memoAdded_ = 1, memoDroppedChars_ = 0;
  qint64 logFlushedMs_ = 0;  // when FlushLog last put lines into the memo
  void ClearLog();
  bool batchLoading_ = false;
  bool paintHeld_ = false;  // an upload holds painting between records
  QTimer* paintHoldTimer_ = nullptr;
  int lastDecodedPage_ = -1;
  // A file load's IR function names, put into QelComboBox8 at its end: each
  // selection would lay out the combo's edit again.
  QStringList heldIrFunctions_;
  void PutHeldIrFunctions();
  bool shown_ = false;
  bool closing_ = false;
  size_t keptProject_ = 0;  // hash of the actions and events as last kept
  std::array<TQelButton*, 11> keyButtons_{};
};

// The date and time as the status bar shows them.
QString DateTimeText();
