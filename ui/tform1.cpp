#include "ui/tform1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <algorithm>
#include <chrono>

#include "model/hex.h"
#include "model/texts.h"
#include "ui/glyphs.h"
#include "ui/layout.h"
#include "ui/textcodec.h"
#include "ui/tform12.h"
#include "ui/tform2.h"

namespace {

constexpr int kWidth = 1018;
constexpr int kHeight = 725;

void SetupActionListColumns(TListView* list) {
  list->AddColumn(Utf8(kKeyColumn), 40);
  list->AddColumn(Utf8(kType), 60);
  list->AddColumn(Utf8(kData), 300);
}

void SetupEventListColumns(TListView* list) {
  list->AddColumn(Utf8(kNumColumn), 40);
  list->AddColumn(Utf8(kType), 60);
  list->AddColumn(Utf8(kData), 300);
}

void SetupDeviceListColumns(TListView* list) {
  list->AddColumn(Utf8(kNumColumn), 40);
  list->AddColumn(Utf8(kData), 150);
}

// CompareText: case-insensitive, so captions sort as text ("10" before "2").
int ListItemCompare(const QStringList& a, const QStringList& b, int column) {
  const QString x = column < a.size() ? a[column] : QString();
  const QString y = column < b.size() ? b[column] : QString();
  return QString::compare(x, y, Qt::CaseInsensitive);
}

// The frames as the window was drawn: each set by its caption, all of them
// over the window's own surface.
void StyleGroupBoxes(QWidget* central) {
  struct Style {
    const char* caption;
    TColor flatColor;
  };
  const Style styles[] = {{kPanelSet, clLime}, {kGroupControl, clBlue}, {kGroupDisplay, clBlue}, {kGroupAudio, clBlue},
                          {kTcpIp, clNavy},    {kActionList, clLime},   {kEventSet, clLime},     {kEventList, clLime}};
  for (TQelGroupBox* box : central->findChildren<TQelGroupBox*>())
    for (const Style& s : styles) {
      if (box->Caption() != Utf8(s.caption)) continue;
      box->SetFlatColor(s.flatColor);
      box->SetTransparent(true);
      if (box->Caption() == Utf8(kPanelSet)) {
        box->SetBorderOuter(qel::fsFlat);
        box->SetBorderWidth(1);
        box->SetBorderColor(clLime);
      }
      if (box->Caption() == Utf8(kGroupControl)) {
        box->SetBorderColor(clLime);
        box->SetThemeAware(false);
        box->setLayoutDirection(Qt::LeftToRight);
      }
    }
}

}  // namespace

using namespace layout;

QString DateTimeText() { return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")); }

TForm1::TForm1(Forms& forms)
    : QMainWindow(nullptr),
      F(forms),
      KeyNameIni(forms.Config.IniPath()),
      Link(new PanelLink(forms.Config, forms.V, this)),
      SelectedLink(Link->SelectedLink) {
  IdTCPServer1 = Link->Server();
  F.Model = &Model;
  F.KeyNameIni = &KeyNameIni;
  F.Link = Link;
  F.Devices = &Devices;
  Devices.Changed = [this](const DeviceList::Change& c) { DeviceListChanged(c); };
  Devices.Log = [this](const std::string& line) { Log(Utf8(line)); };
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Utf8(F.V.Name));
  // System menu and minimise only: no maximise, no resizing.
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
  setFixedSize(kWidth, kHeight);

  // A plain clWindow surface under every other control.
  auto* central = new TQelBackground(this);
  central->setObjectName(QStringLiteral("QelBackground1"));
  central->SetFrameColor(clWindowFrame);
  central->SetGradientColorStart(clWindow);
  central->SetGradientColorStop(clWindow);
  setCentralWidget(central);
  central->SetAlign(qel::alClient);

  BuildPanelSet(central);
  BuildActionList(central);
  BuildEventSet(central);
  BuildEventList(central);
  StyleGroupBoxes(central);

  // The debug log sits hidden over the right edge until Test > "Debug" shows it.
  Memo2 = Place(new TQelMemo(central), "Memo2", QRect(kWidth - 330, 10, 320, 600));
  Memo2->setReadOnly(true);
  Memo2->setUndoRedoEnabled(false);  // read-only: undo steps would only grow the process
  Memo2->setPlainText(Log_.Text());
  Memo2->hide();

  BuildMenus();

  StatusBar1 = new TStatusBar({150, 150, 150, 200, 200, 50}, this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  // The panels have fixed widths; a compact font keeps their texts whole.
  QFont statusFont = StatusBar1->font();
  statusFont.setPointSizeF(statusFont.pointSizeF() * 0.85);
  StatusBar1->setFont(statusFont);
  setStatusBar(StatusBar1);

  // Key preview: the window sees every key before its controls.
  qApp->installEventFilter(this);

  FormCreate();
}

void TForm1::BuildPanelSet(QWidget* parent) {
  auto* box = new TQelGroupBox(Utf8(kPanelSet), parent);
  box->setGeometry(6, 4, 424, 330);

  QelPanel1 = Place(new TQelPanel(box), "QelPanel1", QRect(8, 20, 182, 302));
  QelPanel1->SetBorderOuter(qel::fsNone);
  QelPanel1->SetBorderHighlight(clWindow);
  QelPanel1->SetTransparent(true);

  if (F.V.KeyCount >= 10) {
    GroupControl = new TQelGroupBox(Utf8(kGroupControl), QelPanel1);
    GroupControl->setGeometry(6, 4, 170, 122);
    const char* names[] = {"QelButton1", "QelButton2", "QelButton3", "QelButton4", "QelButton5", "QelButton6"};
    for (int i = 0; i < 6; ++i)
      keyButtons_[i + 1] = MakeButton<TQelButton>(GroupControl, names[i], QString::number(i + 1),
                                                  QRect(10 + (i % 3) * 52, 22 + (i / 3) * 48, 46, 42));
    GroupDisplay = new TQelGroupBox(Utf8(kGroupDisplay), QelPanel1);
    GroupDisplay->setGeometry(6, 130, 170, 80);
    keyButtons_[7] = MakeButton<TQelButton>(GroupDisplay, "QelButton25", Utf8(kKeyOn), QRect(12, 24, 68, 44));
    keyButtons_[8] = MakeButton<TQelButton>(GroupDisplay, "QelButton26", Utf8(kKeyOff), QRect(90, 24, 68, 44));
    GroupAudio = new TQelGroupBox(Utf8(kGroupAudio), QelPanel1);
    GroupAudio->setGeometry(6, 214, 170, 80);
    keyButtons_[9] = MakeButton<TQelButton>(GroupAudio, "QelButton27", Utf8(kKeyMute), QRect(12, 24, 68, 44));
    keyButtons_[10] = MakeButton<TQelButton>(GroupAudio, "QelButton28", Utf8(kKeyXn), QRect(90, 24, 68, 44));
  } else {
    // Six keys in two columns, as on the 6-key plate.
    GroupControl = new TQelGroupBox(Utf8(kGroupControl), QelPanel1);
    GroupControl->setGeometry(6, 4, 170, 290);
    const char* names[] = {"QelButton1", "QelButton2", "QelButton3", "QelButton4", "QelButton5", "QelButton6"};
    for (int i = 0; i < 6; ++i)
      keyButtons_[i + 1] = MakeButton<TQelButton>(GroupControl, names[i], QString::number(i + 1),
                                                  QRect(14 + (i % 2) * 76, 28 + (i / 2) * 86, 66, 72));
  }
  QelButton1 = keyButtons_[1];
  QelButton2 = keyButtons_[2];
  QelButton3 = keyButtons_[3];
  QelButton4 = keyButtons_[4];
  QelButton5 = keyButtons_[5];
  QelButton6 = keyButtons_[6];
  QelButton25 = keyButtons_[7];
  QelButton26 = keyButtons_[8];
  QelButton27 = keyButtons_[9];
  QelButton28 = keyButtons_[10];
  for (int k = 1; k <= 10; ++k)
    if (keyButtons_[k]) connect(keyButtons_[k], &QPushButton::clicked, this, [this, k] { KeyButtonClick(k); });

  // The panel's address fields.
  // Their labels let the box's white show through.
  const int lx = 198, ex = 272, ew = 144;
  MakeLabel(box, Utf8(kIpAddressLabel), QRect(lx, 24, 72, 22))->SetTransparent(true);
  IPEdit1 = Place(new TIPEdit(box), "IPEdit1", QRect(ex, 24, ew, 22));
  MakeLabel(box, Utf8(kNetMaskLabel), QRect(lx, 52, 72, 22))->SetTransparent(true);
  IPEdit2 = Place(new TIPEdit(box), "IPEdit2", QRect(ex, 52, ew, 22));
  MakeLabel(box, Utf8(kGatewayLabel), QRect(lx, 80, 72, 22))->SetTransparent(true);
  IPEdit3 = Place(new TIPEdit(box), "IPEdit3", QRect(ex, 80, ew, 22));
  MakeLabel(box, Utf8(kPortLabel), QRect(lx, 108, 72, 22))->SetTransparent(true);
  QelEdit1 = Place(new TQelEdit(box), "QelEdit1", QRect(ex, 108, 80, 22));
  QelBmpButton1 = Place(new TQelBmpButton(box), "QelBmpButton1", QRect(ex + 118, 106, 26, 26));
  QelBmpButton1->setToolTip(Utf8(kLinkTip));
  QelBmpButton1->Bitmaps()->SetUp(qel::LinkIndicatorUp());
  QelBmpButton1->Bitmaps()->SetDisabled(qel::LinkIndicatorDisabled());
  QelBmpButton1->Bitmaps()->SetTransparentColor(clOlive);
  QelBmpButton1->SetColor(clBtnFace);
  // The lamp follows what the address field shows, typed or set.
  for (int k = 0; k < 4; ++k) connect(IPEdit1->FieldAt(k), &QLineEdit::textChanged, this, &TForm1::UpdateLinkLamp);

  GroupTcpIp = new TQelGroupBox(Utf8(kTcpIp), box);
  GroupTcpIp->setGeometry(lx, 138, 218, 184);
  ListView3 = Place(new TListView(GroupTcpIp), "ListView3", QRect(6, 20, 206, 126));
  ListView3->KeepColumnsInPlace();
  QelBitBtn1 = MakeButton<TQelBitBtn>(GroupTcpIp, "QelBitBtn1", Utf8(kAdd), QRect(6, 152, 56, 26));
  QelBitBtn2 = MakeButton<TQelBitBtn>(GroupTcpIp, "QelBitBtn2", Utf8(kDelete), QRect(66, 152, 76, 26));
  QelButton7 = MakeButton<TQelButton>(GroupTcpIp, "QelButton7", Utf8(kClearAll), QRect(146, 152, 66, 26));
  // Widths leave each caption a line of its own beside its picture.
  QelBitBtn1->SetGlyph(glyphs::Add());
  QelBitBtn2->SetGlyph(glyphs::Delete());
  connect(ListView3, &QTableWidget::cellClicked, this, &TForm1::ListView3Click);
  connect(QelBitBtn1, &QPushButton::clicked, this, &TForm1::QelBitBtn1Click);
  connect(QelBitBtn2, &QPushButton::clicked, this, &TForm1::QelBitBtn2Click);
  connect(QelButton7, &QPushButton::clicked, this, &TForm1::QelButton7Click);
}

void TForm1::BuildActionList(QWidget* parent) {
  auto* box = new TQelGroupBox(Utf8(kActionList), parent);
  box->setGeometry(6, 338, 424, 336);
  ListView1 = Place(new TListView(box), "ListView1", QRect(8, 20, 408, 276));
  ListView1->SetRowColours(&TForm1::ListView1CustomDrawItem);
  connect(ListView1, &TListView::ColumnClick, this, &TForm1::ListView1ColumnClick);
  connect(ListView1, &QTableWidget::cellClicked, this, &TForm1::ListView1Click);
  QelBitBtn3 = MakeButton<TQelBitBtn>(box, "QelBitBtn3", Utf8(kDelete), QRect(8, 302, 90, 26));
  QelBitBtn4 = MakeButton<TQelBitBtn>(box, "QelBitBtn4", Utf8(kDeleteEmpty), QRect(104, 302, 130, 26));
  QelButton8 = MakeButton<TQelButton>(box, "QelButton8", Utf8(kClearAll), QRect(326, 302, 90, 26));
  QelBitBtn3->SetGlyph(glyphs::Delete());
  QelBitBtn4->SetGlyph(glyphs::DeleteEmpty());
  connect(QelBitBtn3, &QPushButton::clicked, this, &TForm1::QelBitBtn3Click);
  connect(QelBitBtn4, &QPushButton::clicked, this, &TForm1::QelBitBtn4Click);
  connect(QelButton8, &QPushButton::clicked, this, &TForm1::QelButton8Click);
}

void TForm1::BuildEventList(QWidget* parent) {
  auto* box = new TQelGroupBox(Utf8(kEventList), parent);
  box->setGeometry(436, 378, 576, 296);
  ListView2 = Place(new TListView(box), "ListView2", QRect(8, 20, 560, 236));
  ListView2->horizontalHeader()->setStretchLastSection(true);
  QelBitBtn5 = MakeButton<TQelBitBtn>(box, "QelBitBtn5", Utf8(kDelete), QRect(8, 262, 90, 26));
  QelBitBtn6 = MakeButton<TQelBitBtn>(box, "QelBitBtn6", Utf8(kUp), QRect(104, 262, 80, 26));
  QelBitBtn7 = MakeButton<TQelBitBtn>(box, "QelBitBtn7", Utf8(kDown), QRect(190, 262, 80, 26));
  QelBitBtn5->SetGlyph(glyphs::Delete());
  QelBitBtn6->SetGlyph(glyphs::Up());
  QelBitBtn7->SetGlyph(glyphs::Down());
  QelButton24 = MakeButton<TQelButton>(box, "QelButton24", Utf8(kClearAll), QRect(478, 262, 90, 26));
  connect(ListView2, &QTableWidget::cellClicked, this, &TForm1::ListView2Click);
  connect(QelBitBtn5, &QPushButton::clicked, this, &TForm1::QelBitBtn5Click);
  connect(QelBitBtn6, &QPushButton::clicked, this, &TForm1::QelBitBtn6Click);
  connect(QelBitBtn7, &QPushButton::clicked, this, &TForm1::QelBitBtn7Click);
  connect(QelButton24, &QPushButton::clicked, this, &TForm1::QelButton24Click);
}

TQelButton* TForm1::KeyButton(int key) const { return key >= 1 && key <= 10 ? keyButtons_[key] : nullptr; }

namespace {

// A burst: more lines than the memo trims cheaply at once (about 8 µs a line).
constexpr size_t kLogBurstLines = 1000;
constexpr qint64 kLogBurstMs = 250;

qint64 NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

// The store keeps every line; the memo, while shown, takes the new ones
// together once the event loop runs (a load logs thousands).
void TForm1::Log(const QString& line) {
  if (LogShown() && !LogPending()) QTimer::singleShot(0, this, &TForm1::FlushLogLater);
  Log_.Add(line);
}

// The scheduled flush: lines of a burst go into the memo at most every
// kLogBurstMs, since each such flush rewrites or trims the memo.
void TForm1::FlushLogLater() {
  const qint64 since = NowMs() - logFlushedMs_;
  if (LogPending() && Log_.Added() - memoAdded_ > qint64{kLogBurstLines} && since < kLogBurstMs) {
    QTimer::singleShot(static_cast<int>(kLogBurstMs - since), this, &TForm1::FlushLogLater);
    return;
  }
  FlushLog();
}

// Brings the shown memo to what the store holds: the lines the store dropped
// since are cut from its top and the new ones appended, or, when that is
// most of it, the memo is written anew.
void TForm1::FlushLog() {
  if (!LogPending()) return;
  logFlushedMs_ = NowMs();
  const qint64 fresh = Log_.Added() - memoAdded_;
  const qint64 cut = Log_.DroppedChars() - memoDroppedChars_;
  const qint64 kept = static_cast<qint64>(Log_.Count()) - fresh;
  memoAdded_ = Log_.Added();
  memoDroppedChars_ = Log_.DroppedChars();
  if (kept <= 0 || fresh > static_cast<qint64>(Log_.Count()) / 2 || Memo2->document()->isEmpty()) {
    Memo2->setPlainText(Log_.Text());
    Memo2->moveCursor(QTextCursor::End);
    return;
  }
  if (cut > 0) {
    QTextCursor top(Memo2->document());
    top.setPosition(static_cast<int>(cut), QTextCursor::KeepAnchor);
    top.removeSelectedText();
  }
  Memo2->appendPlainText(Log_.Newest(static_cast<size_t>(fresh)));
}

void TForm1::ClearLog() {
  Log_.Clear();
  Memo2->clear();
  memoAdded_ = Log_.Added();
  memoDroppedChars_ = Log_.DroppedChars();
}

void TForm1::FormCreate() {
  // Key captions 1..6 from the key-name file; a missing or empty value keeps "n".
  for (int n = 1; n <= 6; ++n) {
    const std::string key = "K-N-" + std::to_string(n);
    const std::string value = KeyNameIni.ReadString("Key Name", key, std::to_string(n));
    Log(QStringLiteral("str:") + FromGbk(value));
    if (!value.empty())
      if (TQelButton* b = KeyButton(n)) b->setText(FromGbk(value));
  }

  UpdateRs232RepeatControls();
  UpdateIrRepeatControls();
  QelPageControl1->SetTabIndex(0);
  QelListBox1->setCurrentRow(QelPageControl1->TabIndex());

  SetupActionListColumns(ListView1);
  SetupEventListColumns(ListView2);
  SetupDeviceListColumns(ListView3);

  Memo1Bytes->SetBytes({});
  Model.CurrentAction = 0;
  Model.CurrentEventCount = 0;
  MarkProjectKept();
  Access.Reset();
  StartSockets();
  DiscoveryTicks = 0;

  StatusBar1->SetPanelText(0, DateTimeText());
  StatusBar1->SetPanelText(1, Utf8(kTcpDisconnected));
  StatusBar1->SetPanelText(2, Utf8(kUdpActivated));
  StatusBar1->SetPanelText(3, Utf8(kLocalIp) + Utf8(LocalAddressOf(F.Config)));

  Timer1 = new QTimer(this);
  Timer1->setInterval(F.Config.TickMs);
  connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
  // A configuration without ticks leaves the timer to its caller (tests).
  if (F.Config.TickMs > 0) Timer1->start();
}

void TForm1::showEvent(QShowEvent* e) {
  QMainWindow::showEvent(e);
  if (!shown_) {
    shown_ = true;
    FormShow();
  }
}

void TForm1::FormShow() {
  // The panel's fields start empty until a panel is chosen.
  IPEdit1->clear();
  IPEdit2->clear();
  IPEdit3->clear();
  QelEdit1->clear();
  QelEdit1->setAlignment(Qt::AlignCenter);
  UpdateLinkLamp();
  QelPanel1->setFocus();
}

void TForm1::closeEvent(QCloseEvent* e) {
  if (!closing_ && !MayDiscardProject()) {
    e->ignore();
    return;
  }
  FormDestroy();
  e->accept();
}

void TForm1::FormDestroy() {
  if (closing_) return;
  closing_ = true;
  StatusBar1->SetPanelText(1, Utf8(kTcpDisconnected));
  Log(QString::fromUtf8(
      "\xE6\x9C\x8D\xE5\x8A\xA1\xE5\x99\xA8\xE5\xB7\xB2\xE6\x96\xAD\xE5\xBC\x80\xEF\xBC\x81"));  // 服务器已断开！
  qApp->removeEventFilter(this);
  StopSockets();
  // Nothing is left running: the other windows go with the application.
  QApplication::quit();
}

bool TForm1::eventFilter(QObject* watched, QEvent* e) {
  // Key preview: a key for this window is seen once, at the widget it is
  // sent to (the focus widget, else the window), before that widget; it
  // then goes on to it.
  if (e->type() == QEvent::KeyPress && watched->isWidgetType()) {
    const auto* w = static_cast<QWidget*>(watched);
    const QWidget* target = focusWidget() ? focusWidget() : this;
    if (w == target && w->window() == this) {
      const auto* k = static_cast<QKeyEvent*>(e);
      if (const int vk = VirtualKeyOf(k->key(), k->modifiers())) FormKeyDown(vk, k->modifiers());
    }
  }
  return false;
}

void TForm1::KeyButtonClick(int key) {
  Model.CurrentKey = key;
  if (key == 10) {
    if (F.Form12) F.S.Dialogs->Run(F.Form12);
    return;
  }
  // Keys 1..6 carry their caption into the dialog's name edit.
  if (key <= 6) F.Form2->Edit1->setText(KeyButton(key)->text());
  F.S.Dialogs->Run(F.Form2);
}

void TForm1::ListView1ColumnClick(int column) {
  // Only the rows move; each row still finds its record by its caption.
  std::vector<QStringList> rows;
  for (int r = 0; r < ListView1->Count(); ++r) rows.push_back(ListView1->Row(r));
  std::stable_sort(rows.begin(), rows.end(),
                   [column](const QStringList& a, const QStringList& b) { return ListItemCompare(a, b, column) < 0; });
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) ListView1->SetRow(r, rows[r]);
  ListView1->clearSelection();
}

QColor TForm1::ListView1CustomDrawItem(int row) {
  return row % 2 ? QColor(0xD7, 0xF0, 0xE0) : QColor(0xD7, 0xEE, 0xF0);
}
