#pragma once
// The main window: owns the model and the link state for the life of the
// program; its handlers stay thin and call the core.
#include <QMainWindow>
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
#include "ui/forms.h"
#include "ui/widgets.h"

class TForm1 : public QMainWindow {
  Q_OBJECT
 public:
  explicit TForm1(Forms& forms);

  Forms& F;

  // The model (records addressed from 1) and its cursors.
  ConfigModel Model;
  IniFile KeyNameIni;

  // Counters the link and the access-code entry start from.
  int AccessCodeEntry = 0;
  int LocateOrdinal = 1;
  int NewDeviceRow = 0;
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

  // One line at the end of the debug log.
  void Log(const QString& line);

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

  // Steps 2 and 4 of the key dialogs' "Add": the new row, then an empty Event List.
  void AppendActionRow(int action);

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildPanelSet(QWidget* parent);
  void BuildActionList(QWidget* parent);
  void BuildEventSet(QWidget* parent);
  void BuildEventList(QWidget* parent);
  void ShowClock();

  bool shown_ = false;
  bool closing_ = false;
  std::array<TQelButton*, 11> keyButtons_{};
};

// The date and time as the status bar shows them.
QString DateTimeText();
