#include "model/keyactions.h"

AddActionOutcome AddKeyAction(ConfigModel& m, const Variant& v, int key, const std::string& kind, int groupIndex) {
  const std::string keyName = KeyNameOf(key);
  // The whole key name is compared, so "Key10" never blocks key 1.
  for (int n = 1; n <= m.ActionCount; ++n)
    if (m.Actions[n].KeyName == keyName && m.Actions[n].ActionKind == kind) return AddActionOutcome::Duplicate;

  // A kind without a code, or a group outside the combo, could not be read
  // back from a file or a panel as it was stored.
  const int code = ActionCodeOfKind(kind);
  if (code == 0) return AddActionOutcome::IllegalKind;
  if (key != 10 && (groupIndex < 0 || groupIndex > v.GroupCount)) return AddActionOutcome::IllegalKind;

  if (m.ActionCount >= kMaxActions) return AddActionOutcome::Full;

  const int n = ++m.ActionCount;
  TActionList& a = m.Actions[n];
  a.EventCount = 0;  // a reused slot keeps old event records; only the count matters
  a.Index = std::to_string(n);
  a.KeyName = keyName;
  a.ActionKind = kind;
  a.Header =
      key == 10 ? MakeKey10Header(ActionCodeOf(m, n)) : MakeHeader(v, KeyCodeOf(m, n), groupIndex, ActionCodeOf(m, n));
  m.CurrentAction = n;
  m.CurrentEventCount = 0;
  return AddActionOutcome::Added;
}
