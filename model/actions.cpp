#include "model/actions.h"

#include <algorithm>

#include "model/hex.h"
#include "model/texts.h"

int ActionCodeOfKind(const std::string& kind) {
  if (kind == kPress) return 1;
  if (kind == kRelease) return 2;
  if (kind == kToggle) return 3;
  if (kind == kLeftHanded) return 1;
  if (kind == kRightHanded) return 2;
  return 0;
}

std::string KeyNameOf(int key) { return "Key" + std::to_string(key); }

int KeyCodeOfName(const std::string& keyName) {
  for (int k = 1; k <= 10; ++k)
    if (keyName == KeyNameOf(k)) return k;
  return 0;
}

uint8_t KeyCodeOf(const ConfigModel& m, int action) {
  if (action <= 0 || action > m.ActionCount || action > kMaxActions) return 0;
  return static_cast<uint8_t>(KeyCodeOfName(m.Actions[action].KeyName));
}

uint8_t ActionCodeOf(const ConfigModel& m, int action) {
  if (action <= 0 || action > m.ActionCount || action > kMaxActions) return 0;
  return static_cast<uint8_t>(ActionCodeOfKind(m.Actions[action].ActionKind));
}

std::string MakeHeader(const Variant& v, int keyCode, int groupIndex, int actionCode) {
  if (v.PackedHeader) return std::string(1, static_cast<char>((keyCode * 32 + groupIndex * 4 + actionCode) & 0xFF));
  return std::string{static_cast<char>(keyCode & 0xFF), static_cast<char>(groupIndex & 0xFF),
                     static_cast<char>(actionCode & 0xFF)};
}

std::string MakeKey10Header(int actionCode) {
  return std::string{static_cast<char>(10), static_cast<char>(actionCode & 0xFF), '\0'};
}

uint8_t KeyConfigByte(int key, int groupIndex) { return static_cast<uint8_t>((groupIndex * 4 + key * 32) & 0xFF); }

std::vector<std::string> LocalDataLines(const ConfigModel& m, int actions) {
  std::vector<std::string> lines;
  const int live = std::clamp(actions, 0, static_cast<int>(m.Actions.size()) - 1);
  for (int i = 1; i <= live; ++i) {
    const TActionList& a = m.Actions[i];
    lines.push_back("ID:" + a.Index + " Type:" + a.KeyName + " Data:" + a.ActionKind +
                    " CMD:" + BytesToSpacedHex(a.Header));
    for (int e = 1; e <= std::clamp(a.EventCount, 0, static_cast<int>(a.Events.size()) - 1); ++e) {
      const TEventList& ev = a.Events[e];
      lines.push_back("EevntID:" + ev.Index + " Type:" + ev.EventKind + " Data:" + ev.ListText +
                      " CMD:" + BytesToSpacedHex(ev.Frame));
    }
  }
  return lines;
}
