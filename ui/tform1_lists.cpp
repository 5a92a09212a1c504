// The Action List and Event List of the main window: selecting, moving,
// deleting and clearing, with the model kept in step.
#include "model/listedit.h"
#include "model/texts.h"
#include "ui/textcodec.h"
#include "ui/tform1.h"

namespace {

// The caption's number, or 0 when it is none.
int NumberOf(const QString& caption) {
  bool ok = false;
  const int n = caption.toInt(&ok);
  return ok ? n : 0;
}

}  // namespace

// Steps 2 to 4 of the key dialogs' "Add": the new row, the Toggle page's key
// for a "Toggle" action, then an empty Event List.
void TForm1::AppendActionRow(int action) {
  const TActionList& a = Model.Actions[action];
  ListView1->AddRow(FromGbk(a.Index), {FromGbk(a.KeyName), FromGbk(a.ActionKind)});
  // A toggled key shows itself on the Toggle page.
  const int key = KeyCodeOfName(a.KeyName);
  if (a.ActionKind == kToggle && key >= 1 && key <= QelComboBox17->count()) QelComboBox17->setCurrentIndex(key - 1);
  ListView2->Clear();
}

int TForm1::ActionRowOf(int n) const {
  for (int r = 0; r < ListView1->Count(); ++r)
    if (NumberOf(ListView1->Caption(r)) == n) return r;
  return -1;
}

void TForm1::AddEventRow(int e) {
  const TEventList& ev = Model.Actions[Model.CurrentAction].Events[e];
  ListView2->AddRow(QString::number(e), {FromGbk(ev.EventKind), FromGbk(ev.ListText)});
}

// Event List rows from the current action's records; `select` is a 1-based
// row to select (0: none), which becomes CurrentEvent.
void TForm1::ReloadEventList(int select) {
  ListView2->Clear();
  const bool live = Model.CurrentAction >= 1 && Model.CurrentAction <= Model.ActionCount;
  const int count = live ? Model.Actions[Model.CurrentAction].EventCount : 0;
  for (int e = 1; e <= count; ++e) AddEventRow(e);
  if (select >= 1 && select <= count) {
    ListView2->Select(select - 1);
    Model.CurrentEvent = select;
  } else {
    Model.CurrentEvent = 0;
  }
}

void TForm1::ListView1Click() {
  const int row = ListView1->Selected();
  if (row < 0) return;
  const int n = NumberOf(ListView1->Caption(row));
  // A caption that names no record selects nothing, so no stale count survives.
  if (n < 1 || n > Model.ActionCount || FromGbk(Model.Actions[n].Index) != ListView1->Caption(row)) {
    Model.CurrentAction = 0;
    Model.CurrentEventCount = 0;
    ReloadEventList(0);
    return;
  }
  Model.CurrentAction = n;
  Model.CurrentEventCount = Model.Actions[n].EventCount;
  ReloadEventList(0);
  if (Model.Actions[n].ActionKind == kToggle) {
    const int key = KeyCodeOfName(Model.Actions[n].KeyName);
    if (key >= 1 && key <= QelComboBox17->count()) QelComboBox17->setCurrentIndex(key - 1);
  }
}

void TForm1::ListView2Click() {
  const int row = ListView2->Selected();
  if (row < 0) return;
  Model.CurrentEvent = NumberOf(ListView2->Caption(row));
  // The row's record decides the page and gives its list text, whose bytes
  // the widget may not show exactly; a row without one has only its cells.
  std::string kind = ToGbkOrEmpty(ListView2->SubItem(row, 0));
  std::string text = ToGbkOrEmpty(ListView2->SubItem(row, 1));
  const int e = Model.CurrentEvent;
  if (Model.CurrentAction >= 1 && Model.CurrentAction <= Model.ActionCount && e >= 1 &&
      e <= Model.Actions[Model.CurrentAction].EventCount) {
    const TEventList& ev = Model.Actions[Model.CurrentAction].Events[e];
    kind = ev.EventKind;
    text = ev.ListText;
  }
  const int page = EventKindIndexOf(kind);
  if (page >= 0) QelPageControl1->SetTabIndex(page);
  QelListBox1->setCurrentRow(QelPageControl1->TabIndex());

  switch (static_cast<EventKind>(QelPageControl1->TabIndex())) {
    case EventKind::Rs232: ApplyRs232(ParseRs232ListText(F.V, text)); break;
    case EventKind::Ir: ApplyIr(ParseIrListText(F.V, text)); break;
    case EventKind::TcpIp: ApplyTcp(ParseTcpListText(F.V, text)); break;
    case EventKind::Delay: ApplyDelay(ParseDelayListText(F.V, text)); break;
    case EventKind::Compare: ApplyCompare(ParseCompareListText(F.V, text)); break;
    case EventKind::Led: ApplyLed(ParseLedListText(F.V, text)); break;
    case EventKind::Toggle: ApplyToggle(ParseToggleListText(F.V, text)); break;
  }
}

namespace {

void LogSwap(TForm1& f, const ConfigModel& m, int from, int to) {
  const TActionList& a = m.Actions[m.CurrentAction];
  f.Log(QStringLiteral("change1:line.%1,Row.%2").arg(m.CurrentAction).arg(from));
  for (int e : {from, to}) f.Log(FromGbk(a.Events[e].Index) + QLatin1Char(' ') + FromGbk(a.Events[e].ListText));
}

// The Action List's captions follow the records' new numbers; a row whose
// record went is removed.
void ApplyRenumbering(TForm1& f, const Renumbering& r) {
  TListView* list = f.ListView1;
  for (int row = list->Count() - 1; row >= 0; --row) {
    const int n = NumberOf(list->Caption(row));
    const int now = n >= 1 && n < static_cast<int>(r.NewNumber.size()) ? r.NewNumber[n] : n;
    if (now == 0) {
      list->removeRow(row);
    } else if (now != n) {
      list->SetCaption(row, QString::number(now));
      f.Log(QString::number(now));
    }
  }
}

}  // namespace

void TForm1::MoveSelectedEvent(bool up) {
  // Moves follow the selected row, so shown order and stored order stay one.
  const int row = ListView2->Selected();
  if (ListView2->Count() < 2 || row < 0) return;
  const int moved = MoveEvent(Model, row + 1, up);
  if (moved == row + 1) return;
  LogSwap(*this, Model, row + 1, moved);
  ReloadEventList(moved);
  ListView2->setFocus();
}

void TForm1::QelBitBtn6Click() { MoveSelectedEvent(true); }

void TForm1::QelBitBtn7Click() { MoveSelectedEvent(false); }

void TForm1::QelBitBtn5Click() {
  const int row = ListView2->Selected();
  if (row < 0) return;
  const int p = row + 1;
  if (!DeleteEvent(Model, p)) return;
  const int count = Model.CurrentEventCount;
  Log(QStringLiteral("Delete event %1, count %2").arg(p).arg(count));
  ReloadEventList(p > 1 ? p - 1 : (count >= 1 ? 1 : 0));
  ListView2->setFocus();
}

void TForm1::QelBitBtn3Click() {
  const int row = ListView1->Selected();
  if (row < 0) return;
  const int n = NumberOf(ListView1->Caption(row));
  // The neighbour to select once the row is gone: the one above, else the one below.
  const int neighbour = row > 0 ? row - 1 : (ListView1->Count() > 1 ? 0 : -1);
  ApplyRenumbering(*this, DeleteAction(Model, n));
  ListView2->Clear();
  ListView1->Select(neighbour);
  ListView1->setFocus();
  if (neighbour >= 0) {
    ListView1Click();
  } else {
    Model.CurrentAction = 0;
    Model.CurrentEventCount = 0;
    Model.CurrentEvent = 0;
  }
}

void TForm1::QelBitBtn4Click() {
  const int current = Model.CurrentAction;
  ApplyRenumbering(*this, DeleteEmptyActions(Model));
  if (current != 0 && Model.CurrentAction == 0) ReloadEventList(0);
}

void TForm1::QelButton8Click() {
  ClearAllActions(Model);
  ListView1->Clear();
  ListView2->Clear();
  Model.CurrentEvent = 0;
}

void TForm1::QelButton24Click() {
  ClearEvents(Model);
  ListView2->Clear();
  Model.CurrentEvent = 0;
}
