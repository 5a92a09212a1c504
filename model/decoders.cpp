#include "model/decoders.h"

#include <algorithm>

#include "model/hex.h"

namespace {

// The payload positions 1..n that are really there.
std::string_view Bounded(std::string_view payload, int n) {
  return payload.substr(0, static_cast<size_t>(std::clamp<int>(n, 0, static_cast<int>(payload.size()))));
}

std::optional<int> InRange(int value, int lo, int hi, int offset = 0) {
  if (value < lo || value > hi) return std::nullopt;
  return value + offset;
}

// The data part from its format byte on: ASCII loses its end characters to
// the end-character combo, HEX becomes spaced hex text.
DataPartChange DecodeData(std::string_view p, size_t formatAt) {
  DataPartChange c;
  c.Memo = std::string{};  // the memo is cleared first in every case
  if (formatAt >= p.size()) return c;
  const std::string_view data = p.substr(formatAt + 1);
  const uint8_t format = ByteAt(p, formatAt);
  if (format == 0x01) {
    c.Hex = true;
    c.Memo = BytesToSpacedHex(data);
    return c;
  }
  if (format != 0x00) return c;
  c.Hex = false;
  size_t keep = data.size();
  int end = 0;
  if (keep >= 2 && data[keep - 2] == '\r' && data[keep - 1] == '\n') {
    end = 3, keep -= 2;
  } else if (keep >= 1 && data[keep - 1] == '\n') {
    end = 2, keep -= 1;
  } else if (keep >= 1 && data[keep - 1] == '\r') {
    end = 1, keep -= 1;
  }
  // Data made only of end characters keeps them, or Add would find no data.
  if (keep == 0 && !data.empty()) end = 0, keep = data.size();
  c.EndChar = end;
  c.Memo = std::string(data.substr(0, keep));
  return c;
}

}  // namespace

ActionRecordChange DecodeActionRecord(const Variant& v, std::string_view bytes) {
  ActionRecordChange c;
  if (bytes.size() >= 2) c.McuEventSum = WordAt(bytes, 0);
  if (v.PackedHeader) {
    if (bytes.size() < 3) return c;
    const uint8_t h = ByteAt(bytes, 2);
    c.Key = InRange(GetBitField(h, 5, 3), 1, v.KeyCount);
    c.Group = InRange(GetBitField(h, 2, 3), 0, v.GroupCount);
    c.KindIndex = InRange(GetBitField(h, 0, 2), 1, 3, -1);
    return c;
  }
  if (bytes.size() < 5) return c;
  const int key = ByteAt(bytes, 2);
  c.Key = InRange(key, 1, v.KeyCount);
  if (key == 10 && v.HasKey10Dialog) {
    c.Key10 = true;
    c.KindIndex = InRange(ByteAt(bytes, 3), 1, 2, -1);
    return c;
  }
  c.Group = InRange(ByteAt(bytes, 3), 0, v.GroupCount);
  c.KindIndex = InRange(ByteAt(bytes, 4), 1, 3, -1);
  return c;
}

Rs232Change DecodeRs232Event(const Variant& v, std::string_view payload, int n) {
  const std::string_view p = Bounded(payload, n);
  Rs232Change c;
  if (p.size() >= 1) {
    const uint8_t s = ByteAt(p, 0);
    if (v.PackedHeader) {
      c.Port = InRange(GetBitField(s, 0, 2), 1, v.SerialPortCount, -1);
      c.DataBits = InRange(GetBitField(s, 2, 2), 0, 3);
      c.StopBits = InRange(GetBitField(s, 4, 2), 0, 2);
    } else {
      const int port = GetBitField(s, 0, 3);
      c.Port = InRange(port, 1, v.SerialPortCount, -1);
      // Data bits and stop bits share bit 4; this split re-encodes to the same byte.
      const int u = s >> 3;
      const int stop = std::min(u >> 1, 2);
      const int data = u - 2 * stop;
      if (data <= 3) c.DataBits = data, c.StopBits = stop;
    }
  }
  if (p.size() >= 2) {
    const uint8_t t = ByteAt(p, 1);
    c.Parity = InRange(GetBitField(t, 0, 3), 0, 4);
    c.RepeatMode = GetBitField(t, 3, 1);
    c.Baud = InRange(GetBitField(t, 4, 4), 1, 7, -1);
  }
  // Stored interval first, count second; only a "Set" frame carries them.
  if (p.size() >= 4 && c.RepeatMode == 1) {
    c.Interval = std::to_string(ByteAt(p, 2));
    c.Count = std::to_string(ByteAt(p, 3));
  }
  c.Data = DecodeData(p, 4);
  return c;
}

IrDecoded DecodeIrEvent(const Variant&, std::string_view payload, int n) {
  const std::string_view p = Bounded(payload, n);
  IrDecoded d;
  d.Change.LibName = "update";
  if (p.size() >= 1) {
    const uint8_t s = ByteAt(p, 0);
    d.Change.Port = InRange(GetBitField(s, 0, 2), 1, 2, -1);
    d.Change.RepeatMode = GetBitField(s, 2, 1);
    d.Change.Carrier = GetBitField(s, 3, 1);
  }
  if (p.size() >= 3 && d.Change.RepeatMode == 1) {
    d.Change.Interval = std::to_string(ByteAt(p, 1));
    d.Change.Count = std::to_string(ByteAt(p, 2));
  }
  if (p.size() > 3) d.Code = std::string(p.substr(3));
  return d;
}

TcpChange DecodeTcpEvent(const Variant&, std::string_view payload, int n) {
  const std::string_view p = Bounded(payload, n);
  TcpChange c;
  if (p.size() >= 4)
    c.Ip = std::to_string(ByteAt(p, 0)) + "." + std::to_string(ByteAt(p, 1)) + "." + std::to_string(ByteAt(p, 2)) +
           "." + std::to_string(ByteAt(p, 3));
  if (p.size() >= 6) c.Port = std::to_string(WordAt(p, 4));
  c.Data = DecodeData(p, 6);
  return c;
}

DelayChange DecodeDelayEvent(const Variant&, std::string_view p) {
  DelayChange c;
  if (p.size() >= 1) c.Hour = std::to_string(ByteAt(p, 0));
  if (p.size() >= 2) c.Minute = std::to_string(ByteAt(p, 1));
  if (p.size() >= 3) c.Second = std::to_string(ByteAt(p, 2));
  return c;
}

CompareChange DecodeCompareEvent(const Variant&, std::string_view payload, int n) {
  const std::string_view p = Bounded(payload, n);
  CompareChange c;
  if (p.size() >= 1) c.Source = InRange(ByteAt(p, 0), 1, 4, -1);
  c.Data = DecodeData(p, 1);
  return c;
}

LedChange DecodeLedEvent(const Variant& v, std::string_view p) {
  LedChange c;
  const int keys = static_cast<int>(items::PanelKeys(v).size());
  if (p.size() >= 1) c.Key = InRange(ByteAt(p, 0), 1, keys, -1);
  if (p.size() >= 2) c.Light = InRange(ByteAt(p, 1), 1, 4, -1);
  return c;
}

ToggleChange DecodeToggleEvent(const Variant& v, std::string_view p) {
  ToggleChange c;
  const int keys = static_cast<int>(items::PanelKeys(v).size());
  if (p.size() >= 1) c.Key = InRange(ByteAt(p, 0), 1, keys, -1);
  if (p.size() >= 2) c.Start = InRange(ByteAt(p, 1), 1, 2, -1);
  return c;
}
