#pragma once
// What each Event Set page holds, the encoders that turn it into an event
// frame and its Event List text, and the parse of a list text back into a
// change of the page. Plain data over 8-bit byte strings.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/variant.h"

// Event kinds, in the order of the kind list; the frame's type byte is index + 1.
enum class EventKind { Rs232 = 0, Ir, TcpIp, Delay, Compare, Led, Toggle };
inline constexpr std::array<const char*, 7> kEventKindNames = {"RS232",   "IR",  "TCP/IP", "Delay",
                                                               "Compare", "LED", "Toggle"};
// -1 for a text that names no kind.
int EventKindIndexOf(std::string_view name);

// The fixed items of the pages' combos. Port and key lists depend on the build.
namespace items {
const std::vector<std::string>& SerialPorts(const Variant& v);  // "Port1".."Port5" (6-key build: ..3)
inline const std::vector<std::string> kBauds = {"2400", "4800", "9600", "19200", "38400", "57600", "115200"};
inline const std::vector<std::string> kDataBits = {"8", "7", "6", "5"};
inline const std::vector<std::string> kStopBits = {"1", "1.5", "2"};
inline const std::vector<std::string> kParities = {"None", "odd", "Even", "Mark", "Space"};
inline const std::vector<std::string> kRepeatModes = {"None", "Set"};
inline const std::vector<std::string> kEndChars = {"NULL", "CR", "LF", "CR+LF"};
inline const std::vector<std::string> kIrPorts = {"Port1", "Port2"};
inline const std::vector<std::string> kCarriers = {"On", "Off"};
inline const std::vector<std::string> kCompareSources = {"Port1", "Port2", "Port3", "TCP/IP"};
const std::vector<std::string>& PanelKeys(const Variant& v);  // "Key1".."Key9" (6-key build: ..6)
inline const std::vector<std::string> kLightActions = {"On", "Off", "On/Other Off", "On/Group Off"};
inline const std::vector<std::string> kToggleStarts = {"1", "2"};
// Index of text in list, or -1.
int IndexOf(const std::vector<std::string>& list, std::string_view text);
}  // namespace items

constexpr int kBaudDefault = 2;  // "9600"

// Combo selections are item indexes (-1: the combo holds no item). Edits
// are kept as their texts: list texts repeat them as typed, frames take
// their numbers.
struct DataPart {
  bool Hex = false;  // the "HEX" radio, else "ASCII"
  int EndChar = 0;   // kEndChars
  std::string Memo;  // the memo's bytes
};

struct Rs232Settings {
  std::string LibName;                  // the library the data came from
  std::optional<std::string> Function;  // the library function chosen, if any
  int Port = 0, Baud = kBaudDefault, DataBits = 0, StopBits = 0, Parity = 0;
  int RepeatMode = 0;
  std::string Count = "1";     // how many times the string is sent
  std::string Interval = "1";  // the delay between two sends
  DataPart Data;
};

// One IR library entry as the IR page's Add reads it.
struct IrCode {
  std::string Data;  // hex text, or raw bytes when Raw
  bool Raw = false;
};

struct IrSettings {
  std::string LibName;   // the library the code came from
  std::string Function;  // the function's name as typed or chosen
  int FunctionIndex = -1;
  int Port = 0, Carrier = 0, RepeatMode = 0;
  std::string Count = "1";     // how many times the code is sent
  std::string Interval = "1";  // the delay between two sends
};

struct TcpSettings {
  std::string Ip;  // where the data goes
  std::string Port;
  DataPart Data;
};

struct DelaySettings {
  std::string Hour = "0", Minute = "0", Second = "0";
};

struct CompareSettings {
  int Source = 0;
  DataPart Data;
};

struct LedSettings {
  int Key = 0, Light = 0;
};

struct ToggleSettings {
  int Key = 0, Start = 0;
};

enum class EncodeStatus {
  Ok,
  MissingInput,  // a required input is empty: nothing happens, no message
  NotLegal,      // "Data is not legal": nothing is added
};

struct Encoded {
  EncodeStatus Status = EncodeStatus::Ok;
  std::string Frame;     // F3, index (2), type, length (2), payload, F4
  std::string ListText;  // 8-bit text of the Event List's "Data" column
};

// The most payload one event carries: its length field is 16 bits.
inline constexpr size_t kMaxEventPayload = 0xFFFF;
// The payload an RS232, TCP/IP or Compare event would have with this data
// part: the page's settings bytes before it, the format byte, the data
// (HEX text decoded, malformed groups left out) and the end characters.
size_t DataEventPayloadSize(const Variant& v, EventKind kind, const DataPart& d);
// Whether the data part could be that of one event: its payload within
// kMaxEventPayload and, for HEX, no more characters than the spaced hex text
// of the most data bytes an event carries (text with few hex digits decodes
// to few bytes, however long it is), not counting the blanks and control
// characters the decoder trims from its ends, of which it may have at most
// as many again.
bool DataEventFits(const Variant& v, EventKind kind, const DataPart& d);

// eventIndex: the Event List caption the new row will get (1-based).
Encoded EncodeRs232(const Variant& v, const Rs232Settings& s, int eventIndex);
// code: the library entry of s.FunctionIndex + 1, or null when there is none.
Encoded EncodeIr(const Variant& v, const IrSettings& s, const IrCode* code, int eventIndex);
Encoded EncodeTcp(const Variant& v, const TcpSettings& s, int eventIndex);
Encoded EncodeDelay(const Variant& v, const DelaySettings& s, int eventIndex);
Encoded EncodeCompare(const Variant& v, const CompareSettings& s, int eventIndex);
Encoded EncodeLed(const Variant& v, const LedSettings& s, int eventIndex);
Encoded EncodeToggle(const Variant& v, const ToggleSettings& s, int eventIndex);

// Changes to a page: only the fields that are set change a control.
struct DataPartChange {
  std::optional<bool> Hex;
  std::optional<int> EndChar;
  std::optional<std::string> Memo;
};

struct Rs232Change {
  std::optional<std::string> LibName;
  std::optional<std::string> Function;  // select the item(s) with this text
  std::optional<int> Port, Baud, DataBits, StopBits, Parity, RepeatMode;
  std::optional<std::string> Count, Interval;
  DataPartChange Data;
};

struct IrChange {
  std::optional<std::string> LibName;
  std::optional<std::string> Function;
  std::optional<int> Port, Carrier, RepeatMode;
  std::optional<std::string> Count, Interval;
};

struct TcpChange {
  std::optional<std::string> Ip, Port;
  DataPartChange Data;
};

struct DelayChange {
  std::optional<std::string> Hour, Minute, Second;
};

struct CompareChange {
  std::optional<int> Source;
  DataPartChange Data;
};

struct LedChange {
  std::optional<int> Key, Light;
};

struct ToggleChange {
  std::optional<int> Key, Start;
};

// The Event List click: a list text back into its page.
Rs232Change ParseRs232ListText(const Variant& v, std::string_view text);
IrChange ParseIrListText(const Variant& v, std::string_view text);
TcpChange ParseTcpListText(const Variant& v, std::string_view text);
DelayChange ParseDelayListText(const Variant& v, std::string_view text);
CompareChange ParseCompareListText(const Variant& v, std::string_view text);
LedChange ParseLedListText(const Variant& v, std::string_view text);
ToggleChange ParseToggleListText(const Variant& v, std::string_view text);

// A decimal integer as typed: optional sign and digits only.
std::optional<long long> ParseDecimal(std::string_view text);
