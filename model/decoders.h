#pragma once
// Stored frames back into changes of the key dialog and the Event Set
// pages. The window applies a change and presses the page's own "Add", so
// a decoded event is checked and stored exactly as a user's would be.
#include <optional>
#include <string>
#include <string_view>

#include "model/events.h"
#include "model/variant.h"

struct ActionRecordChange {
  int McuEventSum = 0;           // the event count the header announces
  std::optional<int> Key;        // CurrentKey; unset when the byte names no key of the build
  std::optional<int> Group;      // group combo index
  std::optional<int> KindIndex;  // kind combo item (of the key-10 dialog when Key10)
  bool Key10 = false;            // re-created through the key-10 dialog
};

// bytes: event count (2, high first), then the header bytes (3, or 1 packed).
ActionRecordChange DecodeActionRecord(const Variant& v, std::string_view bytes);

// n is the frame's length field; only payload positions 1..n are read, and
// never past the bytes present.
Rs232Change DecodeRs232Event(const Variant& v, std::string_view payload, int n);

struct IrDecoded {
  IrChange Change;   // lib name "update", port, carrier, repeat settings
  std::string Code;  // the code with its own two length bytes, as raw bytes
};
IrDecoded DecodeIrEvent(const Variant& v, std::string_view payload, int n);

TcpChange DecodeTcpEvent(const Variant& v, std::string_view payload, int n);
DelayChange DecodeDelayEvent(const Variant& v, std::string_view payload);
CompareChange DecodeCompareEvent(const Variant& v, std::string_view payload, int n);
LedChange DecodeLedEvent(const Variant& v, std::string_view payload);
ToggleChange DecodeToggleEvent(const Variant& v, std::string_view payload);
