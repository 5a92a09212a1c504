#include "model/events.h"

#include <charconv>
#include <cstring>
#include <initializer_list>
#include <map>

#include "model/hex.h"

int EventKindIndexOf(std::string_view name) {
  for (size_t i = 0; i < kEventKindNames.size(); ++i)
    if (name == kEventKindNames[i]) return static_cast<int>(i);
  return -1;
}

namespace items {
namespace {
// "<prefix>1" .. "<prefix>count"; the lists below are asked for by every event
// encoded or decoded, so each is made once.
std::vector<std::string> Numbered(const char* prefix, int count) {
  std::vector<std::string> r;
  for (int i = 1; i <= count; ++i) r.push_back(prefix + std::to_string(i));
  return r;
}
}  // namespace

const std::vector<std::string>& SerialPorts(const Variant& v) {
  static std::map<int, const std::vector<std::string>> made;  // a build's list stays where it is
  auto it = made.find(v.SerialPortCount);
  if (it == made.end()) it = made.emplace(v.SerialPortCount, Numbered("Port", v.SerialPortCount)).first;
  return it->second;
}
const std::vector<std::string>& PanelKeys(const Variant& v) {
  static const std::vector<std::string> nine = Numbered("Key", 9), six = Numbered("Key", 6);
  return v.KeyCount >= 10 ? nine : six;
}
int IndexOf(const std::vector<std::string>& list, std::string_view text) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == text) return static_cast<int>(i);
  return -1;
}
}  // namespace items

std::optional<long long> ParseDecimal(std::string_view text) {
  size_t digitsAt = 0;
  if (!text.empty() && (text[0] == '+' || text[0] == '-')) digitsAt = 1;
  if (digitsAt == text.size()) return std::nullopt;
  for (size_t i = digitsAt; i < text.size(); ++i)
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  // from_chars takes the minus but not the plus.
  const size_t from = text[0] == '+' ? 1 : 0;
  long long value = 0;
  const auto [end, ec] = std::from_chars(text.data() + from, text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

namespace {

constexpr char kNoData[] = "\xCE\xDE";  // "无" in code page 936
// The end characters' bytes, by the combo's index.
constexpr const char* kEnds[] = {"", "\r", "\n", "\r\n"};

bool IsItem(int index, size_t count) { return index >= 0 && static_cast<size_t>(index) < count; }

// One byte for each value: its low 8 bits.
std::string ByteString(std::initializer_list<long long> values) {
  std::string bytes;
  for (const long long v : values) PutByte(bytes, v);
  return bytes;
}

Encoded Refuse(EncodeStatus status) {
  Encoded e;
  e.Status = status;
  return e;
}

Encoded Finish(EventKind kind, int eventIndex, const std::string& payload, unsigned length, std::string listText) {
  // A longer payload could not be read back.
  if (payload.size() > kMaxEventPayload) return Refuse(EncodeStatus::NotLegal);
  Encoded e;
  e.Frame += '\xF3';
  PutWord(e.Frame, eventIndex);
  PutByte(e.Frame, static_cast<int>(kind) + 1);
  PutWord(e.Frame, length);
  e.Frame += payload;
  e.Frame += '\xF4';
  e.ListText = std::move(listText);
  return e;
}

// The ASCII data is the memo's bytes as they are; only the HEX text is checked.
bool AppendDataPart(const Variant& v, const DataPart& d, std::string& payload) {
  if (d.Hex) {
    const SpacedHexResult r = SpacedHexToBytes(d.Memo, v.SpacedHexStopsAtFirstBadGroup);
    if (r.BadGroups > 0) return false;
    payload += '\x01';
    payload += r.Bytes;
    return true;
  }
  if (!IsItem(d.EndChar, items::kEndChars.size())) return false;
  payload += '\x00';
  payload += d.Memo;
  payload += kEnds[d.EndChar];
  return true;
}

std::string FormatPart(const DataPart& d) {
  return d.Hex ? std::string("Frt:hex,") : "Frt:asc," + items::kEndChars[d.EndChar] + ",";
}

// The interval byte, then the count byte. Mode "None" sends once and
// ignores the edits, whatever they hold.
std::optional<std::string> ReadRepeat(int mode, const std::string& count, const std::string& interval) {
  if (mode == 0) return std::string(2, '\x00');
  const auto c = ParseDecimal(count);
  const auto i = ParseDecimal(interval);
  if (!c || !i) return std::nullopt;
  return ByteString({*i, *c});
}

std::string RepeatPart(int mode, const std::string& count, const std::string& interval) {
  if (mode == 0) return "Send Once,";
  return "Send No.:" + count + ",Times:" + interval + ",";
}

// Reads of a list text by its markers. A read next to a marker that is not
// there is empty; every copy is clipped at the end of the text.
class Marked {
 public:
  explicit Marked(std::string_view t) : t_(t) {}

  std::string_view Text() const { return t_; }

  // count characters from offset past the start of marker m.
  std::string At(std::string_view m, size_t offset, size_t count) const {
    const size_t p = t_.find(m);
    if (p == std::string_view::npos || p + offset >= t_.size()) return {};
    return std::string(t_.substr(p + offset, count));
  }

  // From just after the first m1 up to just before the first m2.
  std::string Between(std::string_view m1, std::string_view m2) const {
    const size_t p1 = t_.find(m1);
    const size_t p2 = t_.find(m2);
    if (p1 == std::string_view::npos || p2 == std::string_view::npos) return {};
    return Span(p1 + m1.size(), p2);
  }

  std::string After(std::string_view m) const {
    const size_t p = t_.find(m);
    if (p == std::string_view::npos) return {};
    return std::string(t_.substr(p + m.size()));
  }

  // [from, to) of the text, empty when it holds nothing.
  std::string Span(size_t from, size_t to) const {
    if (to == std::string_view::npos || from >= to || from >= t_.size()) return {};
    return std::string(t_.substr(from, to - from));
  }

 private:
  std::string_view t_;
};

std::optional<int> ItemOf(const std::vector<std::string>& list, std::string_view text) {
  const int i = items::IndexOf(list, text);
  if (i < 0) return std::nullopt;
  return i;
}

std::string DropLast(std::string s) {
  if (!s.empty()) s.pop_back();
  return s;
}

// The format radio and end character; "asc" is the only ASCII mark.
void ParseFormat(const Marked& t, std::string_view endMarker, DataPartChange& d) {
  if (t.At("Frt:", 4, 3) == "asc") {
    d.Hex = false;
    d.EndChar = ItemOf(items::kEndChars, t.Between("asc,", endMarker));
  } else {
    d.Hex = true;
    d.EndChar = 0;
  }
}

// Split at the dots, blanks dropped from all parts but the last, empty parts
// skipped. Anything but four octets would shift the port and data in the frame.
std::optional<std::string> IpBytes(std::string_view ip) {
  std::vector<std::string> parts;
  size_t from = 0;
  for (;;) {
    const size_t dot = ip.find('.', from);
    std::string part(ip.substr(from, dot == std::string_view::npos ? std::string_view::npos : dot - from));
    if (dot == std::string_view::npos) {
      if (!part.empty()) parts.push_back(part);
      break;
    }
    std::erase(part, ' ');
    if (!part.empty()) parts.push_back(part);
    from = dot + 1;
  }
  if (parts.size() != 4) return std::nullopt;
  std::string bytes;
  for (const auto& p : parts) {
    const auto n = ParseDecimal(p);
    if (!n || *n < 0 || *n > 255) return std::nullopt;
    PutByte(bytes, *n);
  }
  return bytes;
}

}  // namespace

size_t DataEventPayloadSize(const Variant& v, EventKind kind, const DataPart& d) {
  // Settings bytes: serial settings, transmit settings and the two repeat
  // bytes; the address and port; the compare source.
  const size_t settings = kind == EventKind::Rs232 ? 4 : kind == EventKind::TcpIp ? 6 : 1;
  size_t data = 0;
  if (d.Hex)
    data = SpacedHexToBytes(d.Memo, v.SpacedHexStopsAtFirstBadGroup).Bytes.size();
  else
    data = d.Memo.size() + (IsItem(d.EndChar, items::kEndChars.size()) ? std::strlen(kEnds[d.EndChar]) : 0);
  return settings + 1 + data;
}

bool DataEventFits(const Variant& v, EventKind kind, const DataPart& d) {
  if (d.Hex) {
    // Two digits and a separator a byte, counted as the decoder reads the
    // text: less the blanks and line breaks around it. Those may come at
    // most as many again, so that no flood of them reaches the memo.
    const size_t text = 3 * (kMaxEventPayload - DataEventPayloadSize(v, kind, DataPart{true, d.EndChar, {}}));
    if (TrimBlanks(d.Memo).size() > text || d.Memo.size() > 2 * text) return false;
  }
  return DataEventPayloadSize(v, kind, d) <= kMaxEventPayload;
}

Encoded EncodeRs232(const Variant& v, const Rs232Settings& s, int eventIndex) {
  if (s.Data.Memo.empty()) return Refuse(EncodeStatus::MissingInput);
  const auto& ports = items::SerialPorts(v);
  if (!IsItem(s.Port, ports.size()) || !IsItem(s.Baud, items::kBauds.size()) ||
      !IsItem(s.DataBits, items::kDataBits.size()) || !IsItem(s.StopBits, items::kStopBits.size()) ||
      !IsItem(s.Parity, items::kParities.size()) || !IsItem(s.RepeatMode, items::kRepeatModes.size()))
    return Refuse(EncodeStatus::NotLegal);
  const auto repeat = ReadRepeat(s.RepeatMode, s.Count, s.Interval);
  if (!repeat) return Refuse(EncodeStatus::NotLegal);

  std::string payload;
  PutByte(payload, (s.Port + 1) + s.DataBits * v.SerialDataBitsWeight + s.StopBits * 16);
  PutByte(payload, s.Parity + s.RepeatMode * 8 + (s.Baud + 1) * 16);
  payload += *repeat;
  if (!AppendDataPart(v, s.Data, payload)) return Refuse(EncodeStatus::NotLegal);

  std::string text;
  if (!s.LibName.empty() && s.Function) text += "Lib name:" + s.LibName + " Function:" + *s.Function + " ";
  text += "Port:";
  text += ports[s.Port][4];
  text +=
      "," + items::kBauds[s.Baud] + "bps " + items::kDataBits[s.DataBits] + " " + items::kStopBits[s.StopBits] + ",";
  text += RepeatPart(s.RepeatMode, s.Count, s.Interval);
  text += FormatPart(s.Data);
  text += "Len:" + std::to_string(s.Data.Memo.size()) + ",Data:" + s.Data.Memo;
  return Finish(EventKind::Rs232, eventIndex, payload, static_cast<unsigned>(payload.size()), std::move(text));
}

Encoded EncodeIr(const Variant&, const IrSettings& s, const IrCode* code, int eventIndex) {
  if (s.LibName.empty() || s.Function.empty()) return Refuse(EncodeStatus::MissingInput);
  if (!code || s.FunctionIndex < 0 || !IsItem(s.Port, items::kIrPorts.size()) ||
      !IsItem(s.Carrier, items::kCarriers.size()) || !IsItem(s.RepeatMode, items::kRepeatModes.size()))
    return Refuse(EncodeStatus::NotLegal);
  const auto repeat = ReadRepeat(s.RepeatMode, s.Count, s.Interval);
  if (!repeat) return Refuse(EncodeStatus::NotLegal);

  std::string bytes;
  if (code->Raw) {
    bytes = code->Data;
  } else {
    const HexResult r = HexToBytes(code->Data);
    if (r.OddLength) return Refuse(EncodeStatus::NotLegal);
    bytes = r.Bytes;
  }
  // The frame length is taken from the code's own length, so a code whose
  // length does not count its bytes would make the panel read past it.
  if (bytes.size() < 2) return Refuse(EncodeStatus::NotLegal);
  const unsigned own = WordAt(bytes, 0);
  if (own != bytes.size() - 2) return Refuse(EncodeStatus::NotLegal);

  std::string payload;
  PutByte(payload, (s.Port + 1) + s.RepeatMode * 4 + s.Carrier * 8);
  payload += *repeat;
  payload += bytes;

  std::string text = "Lib name:" + s.LibName + " Function:" + s.Function + " Port:";
  text += items::kIrPorts[s.Port][4];
  text += " Carrier:" + items::kCarriers[s.Carrier] + ",";
  text += RepeatPart(s.RepeatMode, s.Count, s.Interval);
  text += "Data:" + (code->Raw ? BytesToHex(code->Data) : code->Data);
  return Finish(EventKind::Ir, eventIndex, payload, (own + 5) & 0xFFFF, std::move(text));
}

Encoded EncodeTcp(const Variant& v, const TcpSettings& s, int eventIndex) {
  if (s.Ip.empty() || s.Port.empty() || s.Data.Memo.empty()) return Refuse(EncodeStatus::MissingInput);
  const auto ip = IpBytes(s.Ip);
  const auto port = ParseDecimal(s.Port);
  if (!ip || !port || *port < 0 || *port > 0xFFFF) return Refuse(EncodeStatus::NotLegal);

  std::string payload = *ip;
  PutWord(payload, *port);
  if (!AppendDataPart(v, s.Data, payload)) return Refuse(EncodeStatus::NotLegal);

  std::string text = "IP:" + s.Ip + ",Port:" + s.Port + "," + FormatPart(s.Data) + "Data:" + s.Data.Memo + ";";
  return Finish(EventKind::TcpIp, eventIndex, payload, static_cast<unsigned>(payload.size()), std::move(text));
}

Encoded EncodeDelay(const Variant&, const DelaySettings& s, int eventIndex) {
  if (s.Hour.empty() || s.Minute.empty() || s.Second.empty()) return Refuse(EncodeStatus::MissingInput);
  const auto h = ParseDecimal(s.Hour);
  const auto m = ParseDecimal(s.Minute);
  const auto sec = ParseDecimal(s.Second);
  if (!h || !m || !sec) return Refuse(EncodeStatus::NotLegal);

  const std::string payload = ByteString({*h, *m, *sec, 0});
  std::string text = "Hour:" + s.Hour + " Minute:" + s.Minute + " Second:" + s.Second;
  return Finish(EventKind::Delay, eventIndex, payload, static_cast<unsigned>(payload.size()), std::move(text));
}

Encoded EncodeCompare(const Variant& v, const CompareSettings& s, int eventIndex) {
  if (!IsItem(s.Source, items::kCompareSources.size())) return Refuse(EncodeStatus::NotLegal);
  std::string payload = ByteString({s.Source + 1});
  if (!AppendDataPart(v, s.Data, payload)) return Refuse(EncodeStatus::NotLegal);

  std::string text = items::kCompareSources[s.Source] + "," + FormatPart(s.Data) +
                     "Data:" + (s.Data.Memo.empty() ? std::string(kNoData) : s.Data.Memo) + ";";
  return Finish(EventKind::Compare, eventIndex, payload, static_cast<unsigned>(payload.size()), std::move(text));
}

Encoded EncodeLed(const Variant& v, const LedSettings& s, int eventIndex) {
  const auto& keys = items::PanelKeys(v);
  if (!IsItem(s.Key, keys.size()) || !IsItem(s.Light, items::kLightActions.size()))
    return Refuse(EncodeStatus::NotLegal);
  const std::string payload = ByteString({s.Key + 1, s.Light + 1});
  return Finish(EventKind::Led, eventIndex, payload, 2, keys[s.Key] + " " + items::kLightActions[s.Light]);
}

Encoded EncodeToggle(const Variant& v, const ToggleSettings& s, int eventIndex) {
  const auto& keys = items::PanelKeys(v);
  if (!IsItem(s.Key, keys.size()) || !IsItem(s.Start, items::kToggleStarts.size()))
    return Refuse(EncodeStatus::NotLegal);
  const std::string payload = ByteString({s.Key + 1, s.Start + 1});
  return Finish(EventKind::Toggle, eventIndex, payload, 2,
                keys[s.Key] + ",Toggle Start No." + items::kToggleStarts[s.Start]);
}

Rs232Change ParseRs232ListText(const Variant& v, std::string_view text) {
  const Marked t(text);
  Rs232Change c;
  c.LibName = t.Between("Lib name:", " Function");
  c.Function = t.Between("Function:", " Port");

  const std::string d = t.At("Port:", 5, 1);
  if (d.size() == 1 && d[0] >= '1' && d[0] < '1' + v.SerialPortCount) c.Port = d[0] - '1';
  const size_t port = text.find("Port:");
  if (port != std::string_view::npos) c.Baud = ItemOf(items::kBauds, t.Span(port + 7, text.find("bps")));

  // By tokens, so that the three characters of "1.5" do not shift the rest.
  const size_t bps = text.find("bps ");
  if (bps != std::string_view::npos) {
    const size_t dataAt = bps + 4;
    const size_t blank = text.find(' ', dataAt);
    const size_t comma = blank == std::string_view::npos ? blank : text.find(',', blank + 1);
    if (comma != std::string_view::npos) {
      c.DataBits = ItemOf(items::kDataBits, t.Span(dataAt, blank));
      c.StopBits = ItemOf(items::kStopBits, t.Span(blank + 1, comma));
      const Marked rest(text.substr(comma + 1));
      if (rest.Text().starts_with("Send Once")) {
        c.RepeatMode = 0;
      } else {
        c.RepeatMode = 1;
        c.Count = rest.Between("No.:", ",Times:");
        c.Interval = rest.Between(",Times:", ",Frt:");
      }
    }
  }

  ParseFormat(t, ",Len:", c.Data);
  c.Data.Memo = t.After("Data:");
  return c;
}

IrChange ParseIrListText(const Variant&, std::string_view text) {
  const Marked t(text);
  IrChange c;
  c.LibName = t.Between("Lib name:", " Function");
  c.Function = t.Between("Function:", " Port");
  const auto port = ParseDecimal(t.Between("Port:", " Carrier:"));
  if (port && *port >= 1 && *port <= static_cast<long long>(items::kIrPorts.size()))
    c.Port = static_cast<int>(*port - 1);
  c.Carrier = t.Between("Carrier:", ",Send") == "On" ? 0 : 1;
  // ",Send " with its blank only stands before "Once,".
  if (t.At(",Send ", 6, 5) != "Once,") {
    c.RepeatMode = 1;
    c.Count = t.Between("Send No.:", ",Times:");
    c.Interval = t.Between(",Times:", ",Data:");
  } else {
    c.RepeatMode = 0;
  }
  return c;
}

TcpChange ParseTcpListText(const Variant&, std::string_view text) {
  const Marked t(text);
  TcpChange c;
  c.Ip = t.Between("IP:", ",");
  c.Port = t.Between("Port:", ",Frt");
  const std::string format = t.At("Frt:", 4, 3);
  if (format == "asc" || format == "hex") ParseFormat(t, ",Data:", c.Data);
  c.Data.Memo = DropLast(t.After("Data:"));  // the closing ";"
  return c;
}

DelayChange ParseDelayListText(const Variant&, std::string_view text) {
  const Marked t(text);
  DelayChange c;
  c.Hour = t.Between("Hour:", " Minute:");
  c.Minute = t.Between("Minute:", " Second:");
  c.Second = t.After("Second:");
  return c;
}

CompareChange ParseCompareListText(const Variant&, std::string_view text) {
  const Marked t(text);
  CompareChange c;
  // The digit of "Port1".."Port3"; "TCP/IP" (and anything else) is the last source.
  const std::string s = t.Span(4, text.find(",Frt"));
  c.Source = s.size() == 1 && s[0] >= '1' && s[0] <= '3' ? s[0] - '1' : 3;
  ParseFormat(t, ",Data:", c.Data);
  // "无" stands for an empty memo; it is never the memo itself.
  std::string memo = DropLast(t.After(",Data:"));
  if (memo == kNoData) memo.clear();
  c.Data.Memo = memo;
  return c;
}

LedChange ParseLedListText(const Variant& v, std::string_view text) {
  LedChange c;
  const size_t blank = text.find(' ');
  if (blank == std::string_view::npos) return c;
  c.Key = ItemOf(items::PanelKeys(v), text.substr(0, blank));
  c.Light = ItemOf(items::kLightActions, text.substr(blank + 1));
  return c;
}

ToggleChange ParseToggleListText(const Variant& v, std::string_view text) {
  constexpr std::string_view kMarker = ",Toggle Start No.";
  ToggleChange c;
  const size_t at = text.find(kMarker);
  if (at == std::string_view::npos) return c;
  c.Key = ItemOf(items::PanelKeys(v), text.substr(0, at));
  c.Start = ItemOf(items::kToggleStarts, text.substr(at + kMarker.size()));
  return c;
}
