#pragma once
// The configuration model: key actions, their events, and the cursors that
// say which key, action and event the user is working on. Records are
// addressed from 1; action record n belongs to Action List row caption n.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/variant.h"

constexpr int kMaxActions = 100;
constexpr int kMaxEvents = 500;

struct TEventList {
  std::string Index;      // Event List caption when it was added
  std::string EventKind;  // "RS232", "IR", "TCP/IP", "Delay", "Compare", "LED", "Toggle"
  std::string ListText;   // the Event List's "Data" column
  std::string Frame;      // the event's frame bytes
};

struct TActionList {
  TActionList() : Events(kMaxEvents + 1) {}
  int32_t EventCount = 0;
  std::string Index;               // Action List caption
  std::string KeyName;             // "Key1" .. "Key10"
  std::string ActionKind;          // the dialog's kind text
  std::vector<TEventList> Events;  // [1..500]; [0] unused
  std::string Header;              // header bytes: 3 (9-key build) or 1 packed (6-key build)
};

struct ConfigModel {
  ConfigModel() : Actions(kMaxActions + 1) {}
  std::vector<TActionList> Actions;     // [1..100]; [0] unused
  int ActionCount = 0;                  // Action List rows; records 1..ActionCount are live
  std::array<uint8_t, 11> KeyConfig{};  // [1..10]
  int CurrentKey = 0;
  int CurrentAction = 0;
  int CurrentEventCount = 0;
  int CurrentEvent = 0;
};

// "Press" 1, "Release" 2, "Toggle" 3, "Left-handed" 1, "Right-handed" 2, else 0.
int ActionCodeOfKind(const std::string& kind);
// "Key1".."Key10" give 1..10, any other text 0.
int KeyCodeOfName(const std::string& keyName);
std::string KeyNameOf(int key);

// Lookups by 1-based action number; 0 outside 1..ActionCount.
uint8_t KeyCodeOf(const ConfigModel& m, int action);
uint8_t ActionCodeOf(const ConfigModel& m, int action);

// Header bytes of an action of keys 1-9 (or 1-6).
std::string MakeHeader(const Variant& v, int keyCode, int groupIndex, int actionCode);
// Header of a key 10 action: key, action, 00.
std::string MakeKey10Header(int actionCode);

// The per-key byte "Set" computes: group index x 4 + key x 32, low 8 bits.
uint8_t KeyConfigByte(int key, int groupIndex);

// Test > "Local Data": a line for each of the first `actions` actions and
// one for each of its events, in code page 936.
std::vector<std::string> LocalDataLines(const ConfigModel& m, int actions);
