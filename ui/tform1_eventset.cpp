// The Event Set pages of the main window: their controls, what they hold,
// changes put back into them, and their "Add" buttons.
#include <QScrollBar>

#include "model/hex.h"
#include "model/listedit.h"
#include "model/texts.h"
#include "ui/layout.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"

using namespace layout;

namespace {

TQelComboBox* Combo(QWidget* parent, const char* name, const std::vector<std::string>& list, int index,
                    const QRect& r) {
  auto* c = Place(new TQelComboBox(parent), name, r);
  for (const std::string& item : list) c->addItem(FromGbk(item));
  c->setCurrentIndex(index);
  return c;
}

// keyPress, when given, filters what is typed into the edit.
TQelEdit* Edit(QWidget* parent, const char* name, const QString& text, const QRect& r,
               std::function<bool(const QString&)> keyPress = {}) {
  auto* e = Place(new KeyFiltered<TQelEdit>(parent), name, r);
  e->KeyPress = std::move(keyPress);
  e->setText(text);
  return e;
}

// The text the edit already shows is not set again: a load sets thousands,
// and each setting lays the edit out anew.
void SetText(QLineEdit* e, const std::optional<std::string>& text) {
  if (!text) return;
  const QString t = FromGbk(*text);
  if (e->text() != t) e->setText(t);
}

// Every item equal to the text is selected in turn, so the last one stays.
void SelectItemText(QComboBox* c, const std::optional<std::string>& text) {
  if (!text) return;
  const QString t = FromGbk(*text);
  for (int i = c->count() - 1; i >= 0; --i)
    if (c->itemText(i) == t) {
      c->setCurrentIndex(i);
      return;
    }
}

struct RowNames {
  const char* Label;
  const char* Edit;
  const char* Bar;
};

// One repeat setting: its label, its digits-only edit and the track bar kept with it.
void RepeatRow(QWidget* p, int y, const QString& caption, const RowNames& n, TQelLabel*& label, TQelEdit*& edit,
               TQelDBTrackBar*& bar) {
  label = Place(new TQelLabel(caption, p), n.Label, QRect(8, y, 196, 22));
  edit = Edit(p, n.Edit, QStringLiteral("1"), QRect(206, y, 44, 22), DecimalKeyFilter);
  // See-through and without ticks; 26 high rather than the usual 41 so that
  // it keeps to its row, with groove and thumb moved up level with the edit.
  bar = Place(new TQelDBTrackBar(p), n.Bar, QRect(258, y - 2, 145, 26));
  bar->SetThumbStyle(TQelTrackBar::tsXPBox);
  bar->SetTickStyle(TQelTrackBar::tkOwnerDraw);
  bar->SetTransparent(true);
  bar->SetTrackOffset(8);
  new EditTrackPair(edit, bar);
}

struct DataControls {
  TQelRadioButton* Ascii;
  TQelRadioButton* Hex;
  TQelComboBox* EndChar;
  MemoBytes* Memo;
};

DataPart ReadData(const DataControls& d) {
  return DataPart{d.Hex->isChecked(), d.EndChar->currentIndex(), d.Memo->Bytes()};
}

// A paste or drop that would take the event past what it carries is refused
// before the memo lays its text out.
void LimitPastes(Forms& f, EventKind kind, const DataControls& d) {
  new PasteLimit(
      d.Memo->Memo(),
      [&f, kind, d](const std::string& bytes) {
        return DataEventFits(f.V, kind, DataPart{d.Hex->isChecked(), d.EndChar->currentIndex(), bytes});
      },
      [&f] { f.Warn(Utf8(kPasteTooLong).arg(kMaxEventPayload)); }, [&f] { f.Warn(Utf8(kNotLegal)); });
}

void ApplyData(const DataControls& d, const DataPartChange& c) {
  if (c.Hex) (*c.Hex ? d.Hex : d.Ascii)->setChecked(true);
  SetComboIndex(d.EndChar, c.EndChar);
  if (c.Memo) d.Memo->SetBytes(*c.Memo);
}

// What the pages hold.

Rs232Settings ReadRs232Page(const Rs232PageControls& p) {
  Rs232Settings s;
  s.LibName = ToGbkOrEmpty(p.QelEdit2->text());
  if (p.QelComboBox1->currentIndex() >= 0) s.Function = ToGbkOrEmpty(p.QelComboBox1->currentText());
  s.Port = p.QelComboBox3->currentIndex();
  s.Baud = p.QelComboBox4->currentIndex();
  s.DataBits = p.QelComboBox5->currentIndex();
  s.StopBits = p.QelComboBox6->currentIndex();
  s.Parity = p.QelComboBox19->currentIndex();
  s.RepeatMode = p.QelComboBox2->currentIndex();
  s.Count = ToGbkOrEmpty(p.QelEdit4->text());
  s.Interval = ToGbkOrEmpty(p.QelEdit5->text());
  s.Data = ReadData({p.QelRadioButton1, p.QelRadioButton2, p.QelComboBox7, p.Memo1Bytes});
  return s;
}

IrSettings ReadIrPage(const IrPageControls& p) {
  IrSettings s;
  s.LibName = ToGbkOrEmpty(p.QelEdit3->text());
  s.Function = ToGbkOrEmpty(p.QelComboBox8->currentText());
  s.FunctionIndex = p.QelComboBox8->currentIndex();
  s.Port = p.QelComboBox10->currentIndex();
  s.Carrier = p.QelComboBox11->currentIndex();
  s.RepeatMode = p.QelComboBox9->currentIndex();
  s.Count = ToGbkOrEmpty(p.QelEdit6->text());
  s.Interval = ToGbkOrEmpty(p.QelEdit7->text());
  return s;
}

TcpSettings ReadTcpPage(const TcpPageControls& p) {
  return TcpSettings{ToGbkOrEmpty(p.QelEdit8->text()), ToGbkOrEmpty(p.QelEdit9->text()),
                     ReadData({p.QelRadioButton3, p.QelRadioButton4, p.QelComboBox12, p.Memo2Bytes})};
}

DelaySettings ReadDelayPage(const DelayPageControls& p) {
  return DelaySettings{ToGbkOrEmpty(p.QelEdit10->text()), ToGbkOrEmpty(p.QelEdit11->text()),
                       ToGbkOrEmpty(p.QelEdit12->text())};
}

CompareSettings ReadComparePage(const ComparePageControls& p) {
  return CompareSettings{p.QelComboBox13->currentIndex(),
                         ReadData({p.QelRadioButton5, p.QelRadioButton6, p.QelComboBox14, p.Memo3Bytes})};
}

LedSettings ReadLedPage(const LedPageControls& p) {
  return LedSettings{p.QelComboBox15->currentIndex(), p.QelComboBox16->currentIndex()};
}

ToggleSettings ReadTogglePage(const TogglePageControls& p) {
  return ToggleSettings{p.QelComboBox17->currentIndex(), p.QelComboBox18->currentIndex()};
}

// Checks every Add makes before it reads its page; the event's 1-based
// number, or 0 when nothing may be added.
int NextEventNumber(Forms& f, QWidget* window, const ConfigModel& m, const std::string& noActionCaption) {
  if (m.CurrentAction < 1 || m.CurrentAction > m.ActionCount) {
    f.Warn(window, Utf8(noActionCaption), Utf8(kNoAction));
    return 0;
  }
  if (m.Actions[m.CurrentAction].EventCount >= kMaxEvents) {
    f.Warn(Utf8(kEventListFull));
    return 0;
  }
  return m.Actions[m.CurrentAction].EventCount + 1;
}

}  // namespace

void TForm1::BuildEventSet(QWidget* parent) {
  auto* box = new TQelGroupBox(Utf8(kEventSet), parent);
  box->setGeometry(436, 4, 576, 370);
  QelListBox1 = Place(new TQelListBox(box), "QelListBox1", QRect(8, 22, 86, 340));
  for (const char* k : kEventKindNames) QelListBox1->addItem(Utf8(k));
  QelPageControl1 = Place(new TQelPageControl(box), "QelPageControl1", QRect(100, 18, 468, 344));
  // Each page is captioned with its event kind, the RS232 page by the build.
  for (int i = 0; i < 7; ++i) {
    EventPages[i] = QelPageControl1->AddSheet(i == 0 ? Utf8(F.V.Rs232PageCaption) : Utf8(kEventKindNames[i]));
    EventPages[i]->setObjectName(QStringLiteral("TabSheet%1").arg(i + 1));
  }
  QelPageControl1->SetFlatColor(clAqua);
  QelPageControl1->SetTabStyle(qel::tsDoubleSlant);
  QelPageControl1->SetTransparent(true);
  // Every page takes it: a page coloured first would colour the tabs.
  QelPageControl1->SetColor(clWindow);
  BuildRs232Page(EventPages[0]);
  BuildIrPage(EventPages[1]);
  BuildTcpPage(EventPages[2]);
  BuildDelayPage(EventPages[3]);
  BuildComparePage(EventPages[4]);
  BuildLedPage(EventPages[5]);
  BuildTogglePage(EventPages[6]);

  // The kind list and the pages follow each other.
  connect(QelListBox1, &QListWidget::itemClicked, this, &TForm1::QelListBox1Click);
  connect(QelListBox1, &QListWidget::currentRowChanged, this, [this](int row) {
    if (row >= 0) QelPageControl1->SetTabIndex(row);
  });
  connect(QelPageControl1, &TQelPageControl::Change, this,
          [this] { QelListBox1->setCurrentRow(QelPageControl1->TabIndex()); });
  connect(QelPageControl1, &TQelPageControl::Click, this, &TForm1::QelPageControl1Click);
}

void TForm1::BuildRs232Page(QWidget* p) {
  auto refused = [this] { F.Warn(Utf8(kNotLegal)); };
  MakeLabel(p, Utf8(kLibNameLabel), QRect(8, 10, 64, 22));
  QelEdit2 = Place(new TQelEdit(p), "QelEdit2", QRect(74, 10, 120, 22));
  QelEdit2->setReadOnly(true);
  MakeLabel(p, Utf8(kFunctionLabel), QRect(206, 10, 60, 22));
  QelComboBox1 = Place(new TQelComboBox(p), "QelComboBox1", QRect(268, 10, 186, 22));

  MakeLabel(p, Utf8(kPortLabel), QRect(8, 40, 64, 22));
  QelComboBox3 = Combo(p, "QelComboBox3", items::SerialPorts(F.V), 0, QRect(74, 40, 80, 22));
  MakeLabel(p, Utf8(kBaudLabel), QRect(164, 40, 50, 22));
  QelComboBox4 = Combo(p, "QelComboBox4", items::kBauds, kBaudDefault, QRect(216, 40, 84, 22));
  MakeLabel(p, Utf8(kParityLabel), QRect(310, 40, 56, 22));
  QelComboBox19 = Combo(p, "QelComboBox19", items::kParities, 0, QRect(370, 40, 84, 22));
  MakeLabel(p, Utf8(kDataBitsLabel), QRect(8, 68, 64, 22));
  QelComboBox5 = Combo(p, "QelComboBox5", items::kDataBits, 0, QRect(74, 68, 80, 22));
  MakeLabel(p, Utf8(kStopBitsLabel), QRect(164, 68, 60, 22));
  QelComboBox6 = Combo(p, "QelComboBox6", items::kStopBits, 0, QRect(226, 68, 74, 22));
  MakeLabel(p, Utf8(kDelaySendLabel), QRect(304, 68, 80, 22));
  QelComboBox2 = Combo(p, "QelComboBox2", items::kRepeatModes, 0, QRect(386, 68, 68, 22));

  RepeatRow(p, 98, Utf8(kRepeatCountLabel), {"QelLabel12", "QelEdit4", "QelDBTrackBar1"}, QelLabel12, QelEdit4,
            QelDBTrackBar1);
  RepeatRow(p, 124, Utf8(kRepeatIntervalLabel), {"QelLabel13", "QelEdit5", "QelDBTrackBar2"}, QelLabel13, QelEdit5,
            QelDBTrackBar2);

  QelRadioButton1 = Place(new TQelRadioButton(Utf8(kAscii), p), "QelRadioButton1", QRect(8, 154, 70, 22));
  QelRadioButton2 = Place(new TQelRadioButton(Utf8(kHexRadio), p), "QelRadioButton2", QRect(80, 154, 60, 22));
  QelRadioButton1->setChecked(true);
  MakeLabel(p, Utf8(kEndCharForAscii), QRect(206, 154, 120, 22));
  QelComboBox7 = Combo(p, "QelComboBox7", items::kEndChars, 0, QRect(330, 154, 124, 22));

  QelMemo1 = Place(new TQelMemo(p), "QelMemo1", QRect(8, 182, 446, 94));
  QelMemo1->SetScrollBars(TQelMemo::ssVertical);
  Memo1Bytes = new MemoBytes(QelMemo1, refused);
  LimitPastes(F, EventKind::Rs232, {QelRadioButton1, QelRadioButton2, QelComboBox7, Memo1Bytes});
  QelButton11 = MakeButton<TQelButton>(p, "QelButton11", Utf8(kClear), QRect(8, 284, 80, 26));
  QelButton12 = MakeButton<TQelButton>(p, "QelButton12", Utf8(kAdd), QRect(374, 284, 80, 26));

  QelButton9 = MakeButton<TQelButton>(p, "QelButton9", Utf8(kChangeLib), QRect(100, 284, 90, 26));
  QelButton10 = MakeButton<TQelButton>(p, "QelButton10", Utf8(kEditLib), QRect(196, 284, 90, 26));
  connect(QelButton9, &QPushButton::clicked, this, &TForm1::QelButton9Click);
  connect(QelButton10, &QPushButton::clicked, this, &TForm1::QelButton10Click);
  connect(QelComboBox1, &QComboBox::activated, this, &TForm1::QelComboBox1Change);
  connect(QelComboBox2, &QComboBox::activated, this, &TForm1::UpdateRs232RepeatControls);
  connect(QelButton11, &QPushButton::clicked, this, &TForm1::QelButton11Click);
  connect(QelButton12, &QPushButton::clicked, this, &TForm1::QelButton12Click);
}

void TForm1::BuildIrPage(QWidget* p) {
  MakeLabel(p, Utf8(kLibNameLabel), QRect(8, 10, 64, 22));
  QelEdit3 = Place(new TQelEdit(p), "QelEdit3", QRect(74, 10, 120, 22));
  QelEdit3->setReadOnly(true);
  MakeLabel(p, Utf8(kFunctionLabel), QRect(206, 10, 60, 22));
  QelComboBox8 = Place(new TQelComboBox(p), "QelComboBox8", QRect(268, 10, 186, 22));

  MakeLabel(p, Utf8(kPortLabel), QRect(8, 40, 64, 22));
  QelComboBox10 = Combo(p, "QelComboBox10", items::kIrPorts, 0, QRect(74, 40, 80, 22));
  MakeLabel(p, Utf8(kCarrierLabel), QRect(164, 40, 50, 22));
  QelComboBox11 = Combo(p, "QelComboBox11", items::kCarriers, 0, QRect(216, 40, 84, 22));
  MakeLabel(p, Utf8(kDelaySendLabel), QRect(304, 40, 80, 22));
  QelComboBox9 = Combo(p, "QelComboBox9", items::kRepeatModes, 0, QRect(386, 40, 68, 22));

  RepeatRow(p, 70, Utf8(kRepeatCountLabel), {"QelLabel18", "QelEdit6", "QelDBTrackBar3"}, QelLabel18, QelEdit6,
            QelDBTrackBar3);
  RepeatRow(p, 96, Utf8(kRepeatIntervalLabel), {"QelLabel21", "QelEdit7", "QelDBTrackBar4"}, QelLabel21, QelEdit7,
            QelDBTrackBar4);

  QelButton15 = MakeButton<TQelButton>(p, "QelButton15", Utf8(kAdd), QRect(374, 284, 80, 26));
  QelButton13 = MakeButton<TQelButton>(p, "QelButton13", Utf8(kChangeLib), QRect(8, 284, 90, 26));
  QelButton14 = MakeButton<TQelButton>(p, "QelButton14", Utf8(kEditLib), QRect(104, 284, 90, 26));
  connect(QelButton13, &QPushButton::clicked, this, &TForm1::QelButton13Click);
  connect(QelButton14, &QPushButton::clicked, this, &TForm1::QelButton14Click);
  connect(QelComboBox9, &QComboBox::activated, this, &TForm1::UpdateIrRepeatControls);
  connect(QelButton15, &QPushButton::clicked, this, &TForm1::QelButton15Click);
}

void TForm1::BuildTcpPage(QWidget* p) {
  MakeLabel(p, Utf8(kIpLabel), QRect(8, 10, 40, 22));
  QelEdit8 = Place(new TQelEdit(p), "QelEdit8", QRect(50, 10, 150, 22));
  MakeLabel(p, Utf8(kPortLabel), QRect(216, 10, 40, 22));
  QelEdit9 = Place(new TQelEdit(p), "QelEdit9", QRect(258, 10, 80, 22));
  QelRadioButton3 = Place(new TQelRadioButton(Utf8(kAscii), p), "QelRadioButton3", QRect(8, 42, 70, 22));
  QelRadioButton4 = Place(new TQelRadioButton(Utf8(kHexRadio), p), "QelRadioButton4", QRect(80, 42, 60, 22));
  QelRadioButton3->setChecked(true);
  MakeLabel(p, Utf8(kEndCharForAscii), QRect(206, 42, 120, 22));
  QelComboBox12 = Combo(p, "QelComboBox12", items::kEndChars, 0, QRect(330, 42, 124, 22));
  QelMemo2 = Place(new TQelMemo(p), "QelMemo2", QRect(8, 72, 446, 204));
  QelMemo2->SetScrollBars(TQelMemo::ssVertical);
  Memo2Bytes = new MemoBytes(QelMemo2, [this] { F.Warn(Utf8(kNotLegal)); });
  LimitPastes(F, EventKind::TcpIp, {QelRadioButton3, QelRadioButton4, QelComboBox12, Memo2Bytes});
  QelButton16 = MakeButton<TQelButton>(p, "QelButton16", Utf8(kClear), QRect(8, 284, 80, 26));
  QelButton17 = MakeButton<TQelButton>(p, "QelButton17", Utf8(kAdd), QRect(374, 284, 80, 26));
  connect(QelButton16, &QPushButton::clicked, this, &TForm1::QelButton16Click);
  connect(QelButton17, &QPushButton::clicked, this, &TForm1::QelButton17Click);
}

void TForm1::BuildDelayPage(QWidget* p) {
  const char* labels[] = {kHourLabel, kMinuteLabel, kSecondLabel};
  const char* edits[] = {"QelEdit10", "QelEdit11", "QelEdit12"};
  const char* bars[] = {"ScrollBar1", "ScrollBar2", "ScrollBar3"};
  const int maxima[] = {23, 59, 59};
  TQelEdit** e[] = {&QelEdit10, &QelEdit11, &QelEdit12};
  QScrollBar** s[] = {&ScrollBar1, &ScrollBar2, &ScrollBar3};
  // Hours: digits only, and never a text of 60 or more; minutes and seconds
  // take what is typed.
  const std::function<bool(const QString&)> filters[] = {
      [this](const QString& typed) { return DecimalKeyFilter(typed) && (QelEdit10->text() + typed).toLongLong() < 60; },
      {},
      {}};
  for (int i = 0; i < 3; ++i) {
    const int y = 24 + i * 40;
    MakeLabel(p, Utf8(labels[i]), QRect(24, y, 60, 22));
    *e[i] = Edit(p, edits[i], QStringLiteral("0"), QRect(88, y, 50, 22), filters[i]);
    *s[i] = Place(new QScrollBar(Qt::Horizontal, p), bars[i], QRect(150, y, 240, 20));
    (*s[i])->setRange(0, maxima[i]);
    new EditScrollPair(*e[i], *s[i]);
  }
  QelButton18 = MakeButton<TQelButton>(p, "QelButton18", Utf8(kReset), QRect(8, 284, 80, 26));
  QelButton19 = MakeButton<TQelButton>(p, "QelButton19", Utf8(kAdd), QRect(374, 284, 80, 26));
  connect(QelButton18, &QPushButton::clicked, this, &TForm1::QelButton18Click);
  connect(QelButton19, &QPushButton::clicked, this, &TForm1::QelButton19Click);
}

void TForm1::BuildComparePage(QWidget* p) {
  MakeLabel(p, Utf8(kSourceLabel), QRect(8, 10, 50, 22));
  QelComboBox13 = Combo(p, "QelComboBox13", items::kCompareSources, 0, QRect(60, 10, 100, 22));
  QelRadioButton5 = Place(new TQelRadioButton(Utf8(kAscii), p), "QelRadioButton5", QRect(8, 42, 70, 22));
  QelRadioButton6 = Place(new TQelRadioButton(Utf8(kHexRadio), p), "QelRadioButton6", QRect(80, 42, 60, 22));
  QelRadioButton5->setChecked(true);
  MakeLabel(p, Utf8(kEndCharForAscii), QRect(206, 42, 120, 22));
  QelComboBox14 = Combo(p, "QelComboBox14", items::kEndChars, 0, QRect(330, 42, 124, 22));
  QelMemo3 = Place(new TQelMemo(p), "QelMemo3", QRect(8, 72, 446, 204));
  QelMemo3->SetScrollBars(TQelMemo::ssVertical);
  Memo3Bytes = new MemoBytes(QelMemo3, [this] { F.Warn(Utf8(kNotLegal)); });
  LimitPastes(F, EventKind::Compare, {QelRadioButton5, QelRadioButton6, QelComboBox14, Memo3Bytes});
  QelButton20 = MakeButton<TQelButton>(p, "QelButton20", Utf8(kClear), QRect(8, 284, 80, 26));
  QelButton21 = MakeButton<TQelButton>(p, "QelButton21", Utf8(kAdd), QRect(374, 284, 80, 26));
  connect(QelButton20, &QPushButton::clicked, this, &TForm1::QelButton20Click);
  connect(QelButton21, &QPushButton::clicked, this, &TForm1::QelButton21Click);
}

void TForm1::BuildLedPage(QWidget* p) {
  MakeLabel(p, Utf8(kKeyLabel), QRect(24, 24, 90, 22));
  QelComboBox15 = Combo(p, "QelComboBox15", items::PanelKeys(F.V), 0, QRect(120, 24, 140, 22));
  MakeLabel(p, Utf8(kLightLabel), QRect(24, 64, 90, 22));
  QelComboBox16 = Combo(p, "QelComboBox16", items::kLightActions, 0, QRect(120, 64, 140, 22));
  QelButton22 = MakeButton<TQelButton>(p, "QelButton22", Utf8(kAdd), QRect(374, 284, 80, 26));
  connect(QelButton22, &QPushButton::clicked, this, &TForm1::QelButton22Click);
}

void TForm1::BuildTogglePage(QWidget* p) {
  MakeLabel(p, Utf8(kKeyLabel), QRect(24, 24, 110, 22));
  QelComboBox17 = Combo(p, "QelComboBox17", items::PanelKeys(F.V), 0, QRect(140, 24, 120, 22));
  QelComboBox17->SetStyle(TQelComboBox::csDropDownList);
  QelComboBox17->SetReadOnly(true);
  MakeLabel(p, Utf8(kToggleStartLabel), QRect(24, 64, 110, 22));
  QelComboBox18 = Combo(p, "QelComboBox18", items::kToggleStarts, 0, QRect(140, 64, 120, 22));
  QelButton23 = MakeButton<TQelButton>(p, "QelButton23", Utf8(kAdd), QRect(374, 284, 80, 26));
  connect(QelButton23, &QPushButton::clicked, this, &TForm1::QelButton23Click);
}

// Changes put back into the pages.

void TForm1::ApplyRs232(const Rs232Change& c) {
  SetText(QelEdit2, c.LibName);
  SelectItemText(QelComboBox1, c.Function);
  SetComboIndex(QelComboBox3, c.Port);
  SetComboIndex(QelComboBox4, c.Baud);
  SetComboIndex(QelComboBox5, c.DataBits);
  SetComboIndex(QelComboBox6, c.StopBits);
  SetComboIndex(QelComboBox19, c.Parity);
  SetComboIndex(QelComboBox2, c.RepeatMode);
  SetText(QelEdit4, c.Count);
  SetText(QelEdit5, c.Interval);
  UpdateRs232RepeatControls();
  ApplyData({QelRadioButton1, QelRadioButton2, QelComboBox7, Memo1Bytes}, c.Data);
}

void TForm1::ApplyIr(const IrChange& c) {
  SetText(QelEdit3, c.LibName);
  SelectItemText(QelComboBox8, c.Function);
  SetComboIndex(QelComboBox10, c.Port);
  SetComboIndex(QelComboBox11, c.Carrier);
  SetComboIndex(QelComboBox9, c.RepeatMode);
  UpdateIrRepeatControls();
  SetText(QelEdit6, c.Count);
  SetText(QelEdit7, c.Interval);
}

void TForm1::ApplyTcp(const TcpChange& c) {
  SetText(QelEdit8, c.Ip);
  SetText(QelEdit9, c.Port);
  ApplyData({QelRadioButton3, QelRadioButton4, QelComboBox12, Memo2Bytes}, c.Data);
}

void TForm1::ApplyDelay(const DelayChange& c) {
  SetText(QelEdit10, c.Hour);
  SetText(QelEdit11, c.Minute);
  SetText(QelEdit12, c.Second);
}

void TForm1::ApplyCompare(const CompareChange& c) {
  SetComboIndex(QelComboBox13, c.Source);
  ApplyData({QelRadioButton5, QelRadioButton6, QelComboBox14, Memo3Bytes}, c.Data);
}

void TForm1::ApplyLed(const LedChange& c) {
  SetComboIndex(QelComboBox15, c.Key);
  SetComboIndex(QelComboBox16, c.Light);
}

void TForm1::ApplyToggle(const ToggleChange& c) {
  SetComboIndex(QelComboBox17, c.Key);
  SetComboIndex(QelComboBox18, c.Start);
}

// "Add".

// Common part of the Add buttons; false when the event was not added.
bool TForm1::AddEvent(EventKind kind, const Encoded& e) {
  if (e.Status == EncodeStatus::MissingInput) return false;
  if (e.Status == EncodeStatus::NotLegal) {
    F.Warn(Utf8(kNotLegal));
    return false;
  }
  if (!AppendEvent(Model, kind, e)) return false;
  // A held load writes the Event List once, at its end.
  if (!(batchLoading_ && HoldDuringLoads)) AddEventRow(Model.CurrentEventCount);
  return true;
}

void TForm1::QelButton12Click() {
  if (const int n = NextEventNumber(F, this, Model, F.V.BoxCaption))
    AddEvent(EventKind::Rs232, EncodeRs232(F.V, ReadRs232Page(*this), n));
}

void TForm1::QelButton15Click() {
  const int n = NextEventNumber(F, this, Model, F.V.BoxCaption);
  if (!n) return;
  IrSettings s = ReadIrPage(*this);
  if (!heldIrFunctions_.isEmpty()) {
    // A file load holds its names back: the one last added is the one selected.
    s.Function = ToGbkOrEmpty(heldIrFunctions_.back());
    s.FunctionIndex = static_cast<int>(QelComboBox8->count() + heldIrFunctions_.size() - 1);
  }
  const int entry = s.FunctionIndex + 1;
  std::optional<IrCode> code;
  if (entry >= 1 && entry <= kMaxLibraryEntries) code = IrCode{Libs.IrLib[entry].Data, Libs.IrCodeRaw == 1};
  AddEvent(EventKind::Ir, EncodeIr(F.V, s, code ? &*code : nullptr, n));
}

void TForm1::QelButton17Click() {
  if (const int n = NextEventNumber(F, this, Model, F.V.BoxCaption))
    AddEvent(EventKind::TcpIp, EncodeTcp(F.V, ReadTcpPage(*this), n));
}

void TForm1::QelButton19Click() {
  if (const int n = NextEventNumber(F, this, Model, F.V.DelayBoxCaption))
    AddEvent(EventKind::Delay, EncodeDelay(F.V, ReadDelayPage(*this), n));
}

void TForm1::QelButton21Click() {
  if (const int n = NextEventNumber(F, this, Model, F.V.BoxCaption))
    AddEvent(EventKind::Compare, EncodeCompare(F.V, ReadComparePage(*this), n));
}

void TForm1::QelButton22Click() {
  if (const int n = NextEventNumber(F, this, Model, F.V.BoxCaption))
    AddEvent(EventKind::Led, EncodeLed(F.V, ReadLedPage(*this), n));
}

void TForm1::QelButton23Click() {
  if (const int n = NextEventNumber(F, this, Model, F.V.BoxCaption))
    AddEvent(EventKind::Toggle, EncodeToggle(F.V, ReadTogglePage(*this), n));
}

// Page synchronisation.

void TForm1::UpdateRs232RepeatControls() {
  const int mode = QelComboBox2->currentIndex();
  if (mode != 0 && mode != 1) return;
  for (QWidget* w :
       std::initializer_list<QWidget*>{QelLabel12, QelLabel13, QelDBTrackBar1, QelDBTrackBar2, QelEdit4, QelEdit5})
    w->setVisible(mode == 1);
}

void TForm1::UpdateIrRepeatControls() {
  const int mode = QelComboBox9->currentIndex();
  if (mode != 0 && mode != 1) return;
  for (QWidget* w :
       std::initializer_list<QWidget*>{QelLabel18, QelLabel21, QelDBTrackBar3, QelDBTrackBar4, QelEdit6, QelEdit7})
    w->setVisible(mode == 1);
}

void TForm1::QelListBox1Click() {
  if (QelListBox1->currentRow() >= 0) QelPageControl1->SetTabIndex(QelListBox1->currentRow());
}

void TForm1::QelPageControl1Click() {
  QelListBox1->setFocus();
  QelListBox1->setCurrentRow(QelPageControl1->TabIndex());
}

void TForm1::QelButton18Click() {
  QelEdit10->setText(QStringLiteral("0"));
  QelEdit11->setText(QStringLiteral("0"));
  QelEdit12->setText(QStringLiteral("0"));
}
