#include "model/listedit.h"

#include <algorithm>
#include <utility>

bool AppendEvent(ConfigModel& m, EventKind kind, const Encoded& e) {
  if (m.CurrentAction < 1 || m.CurrentAction > m.ActionCount) return false;
  TActionList& a = m.Actions[m.CurrentAction];
  if (a.EventCount >= kMaxEvents) return false;
  const int n = ++a.EventCount;
  m.CurrentEventCount = n;
  TEventList& ev = a.Events[n];
  ev.Index = std::to_string(n);
  ev.EventKind = kEventKindNames[static_cast<int>(kind)];
  ev.ListText = e.ListText;
  ev.Frame = e.Frame;
  return true;
}

int MoveEvent(ConfigModel& m, int row, bool up) {
  if (m.CurrentAction < 1 || m.CurrentAction > m.ActionCount) return row;
  TActionList& a = m.Actions[m.CurrentAction];
  const int other = up ? row - 1 : row + 1;
  if (row < 1 || row > a.EventCount || other < 1 || other > a.EventCount) return row;
  // Whole records move, old index texts and frame index bytes included.
  std::swap(a.Events[row], a.Events[other]);
  return other;
}

bool DeleteEvent(ConfigModel& m, int row) {
  if (m.CurrentAction < 1 || m.CurrentAction > m.ActionCount) return false;
  TActionList& a = m.Actions[m.CurrentAction];
  if (row < 1 || row > a.EventCount) return false;
  std::rotate(a.Events.begin() + row, a.Events.begin() + row + 1, a.Events.begin() + a.EventCount + 1);
  --a.EventCount;
  m.CurrentEventCount = a.EventCount;
  return true;
}

void ClearEvents(ConfigModel& m) {
  if (m.CurrentAction >= 1 && m.CurrentAction <= m.ActionCount) {
    TActionList& a = m.Actions[m.CurrentAction];
    for (int i = 1; i <= a.EventCount; ++i) a.Events[i] = TEventList{};
    a.EventCount = 0;
  }
  m.CurrentEventCount = 0;
}

namespace {

// Removes the records whose `keep` is false, keeping the order of the rest.
Renumbering Compact(ConfigModel& m, const std::vector<bool>& keep) {
  Renumbering r;
  r.NewNumber.assign(static_cast<size_t>(m.ActionCount) + 1, 0);
  int next = 1;
  for (int old = 1; old <= m.ActionCount; ++old) {
    if (!keep[old]) continue;
    if (next != old) std::swap(m.Actions[next], m.Actions[old]);
    m.Actions[next].Index = std::to_string(next);
    r.NewNumber[old] = next++;
  }
  m.ActionCount = next - 1;
  if (m.CurrentAction >= 1 && m.CurrentAction < static_cast<int>(r.NewNumber.size())) {
    m.CurrentAction = r.NewNumber[m.CurrentAction];
  }
  if (m.CurrentAction == 0) m.CurrentEventCount = 0;
  return r;
}

}  // namespace

Renumbering DeleteAction(ConfigModel& m, int n) {
  std::vector<bool> keep(static_cast<size_t>(m.ActionCount) + 1, true);
  if (n >= 1 && n <= m.ActionCount) keep[n] = false;
  return Compact(m, keep);
}

Renumbering DeleteEmptyActions(ConfigModel& m) {
  std::vector<bool> keep(static_cast<size_t>(m.ActionCount) + 1, true);
  for (int n = 1; n <= m.ActionCount; ++n) keep[n] = m.Actions[n].EventCount != 0;
  return Compact(m, keep);
}

void ClearAllActions(ConfigModel& m) {
  for (int n = 1; n <= m.ActionCount; ++n) m.Actions[n].EventCount = 0;
  m.ActionCount = 0;
  m.CurrentAction = 0;
  m.CurrentEventCount = 0;
}
