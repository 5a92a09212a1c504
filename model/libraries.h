#pragma once
// The code libraries, RS232 ("*.rss") and IR ("*.irr"): the entries the
// main window loads, and the framing both files share. A file is fields,
// each 01 text 04, with no lengths: a field holding 01 or 04 would shift
// every later field, so the writers refuse such texts.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

constexpr int kMaxLibraryEntries = 500;

struct TIR {
  std::string Number, Name, Data;
};

struct TRs232 {
  int32_t Number = 0;
  std::string Name, Baud, DataBits, StopBits, Format, EndChar, Data;
};

inline constexpr char kLibFieldStart = '\x01';
inline constexpr char kLibFieldEnd = '\x04';

// The reading rule: 01 drops what was collected, 04 ends a field, every
// other byte (1A included) is collected.
struct LibraryFields {
  std::vector<std::string> Fields;
  bool DroppedTail = false;  // the file ends inside a field: those bytes are lost
};
LibraryFields SplitLibraryFields(std::string_view bytes);

// 01 text 04.
std::string LibraryField(std::string_view text);
bool HoldsFieldMark(std::string_view text);

struct LibraryReadWarnings {
  bool TooMany = false;    // more than kMaxLibraryEntries: the first ones were read
  bool Truncated = false;  // the last entry or field was cut off
};

enum class LibraryFault {
  FieldMark,  // "Data is not legal": the text holds 01 or 04
  TooMany,    // more than kMaxLibraryEntries entries
};

struct LibraryRefusal {
  int Entry = 0;      // 1-based function or row; 0 for the library itself
  std::string Field;  // "library name", "name", "baud", ..., "data"
  LibraryFault Fault = LibraryFault::FieldMark;
};

struct LibraryWrite {
  std::string Bytes;  // the whole file or record; empty when refused
  std::optional<LibraryRefusal> Refusal;
  bool Ok() const { return !Refusal; }
};

// Whether a library name may become "<name>.rss" / "<name>.irr" inside the
// library folder: not empty, not "." or "..", no / \ : * ? " < > | and no
// control character. The name is code page 936: the second byte of a
// double-byte character may be 5C or 7C and is not a separator.
bool IsLibraryFileName(std::string_view name);
