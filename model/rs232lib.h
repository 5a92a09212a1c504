#pragma once
// RS232 code libraries ("*.rss"): 01 name 04, then seven fields per function,
// each as 01 field 04 (the framing of model/libraries.h).
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/events.h"
#include "model/libraries.h"
#include "model/variant.h"

namespace rs232lib {
inline const std::vector<std::string> kBauds = {"2400", "4800", "9600", "19200", "57600", "115200"};
inline constexpr int kBaudDefault = 2;  // "9600"
inline const std::vector<std::string> kDataBits = {"8", "7", "6"};
inline const std::vector<std::string> kStopBits = {"1", "1.5", "2"};
// The editor's end characters; not the main window's list, which has "CR" first.
inline const std::vector<std::string> kEndChars = {"NULL", "LF", "CR", "LF+CR"};
inline constexpr const char* kAsc = "asc";
inline constexpr const char* kHex = "hex";
}  // namespace rs232lib

// The bytes that follow "asc" data for an end-character text: "LF" 0A,
// "CR" 0D, "LF+CR" 0A 0D; none for "NULL" or an unknown text.
std::string Rs232EndBytes(std::string_view endChar);

// Data holds what the editor shows: "asc" text without its end bytes, or
// the bytes of "hex". Number is the 1-based position; the writer ignores it.
struct Rs232Function : TRs232 {
  // The file's "asc" data ended in its end bytes and the reader took them
  // off. The writer puts them back even in a build that writes none, so an
  // opened library is saved with its bytes. A function rebuilt from the
  // editor's controls keeps the flag of the one it replaces.
  bool EndBytesInFile = false;
};

struct Rs232Library {
  std::string Name;
  std::vector<Rs232Function> Functions;
};

struct Rs232LibraryRead {
  Rs232Library Library;
  LibraryReadWarnings Warnings;
};

// Takes off one trailing copy of an "asc" function's end bytes (both
// builds: a library may come from either). Keeps at most 500 functions;
// a function cut off by the end of the file keeps the fields it has.
Rs232LibraryRead ReadRs232Library(const Variant& v, std::string_view bytes);

// One function's seven fields as the file holds them; end bytes follow
// "asc" data when the build writes them or the file had them. A refusal
// names the function by its Number.
LibraryWrite Rs232FunctionRecord(const Variant& v, const Rs232Function& f);

// The whole file: 01 name 04, then every function's record in order. A
// refusal names the function by its position.
LibraryWrite WriteRs232Library(const Variant& v, const Rs232Library& lib);

// The editor's controls as texts (code page 936 bytes).
struct Rs232FunctionTexts {
  std::string Name, Baud, DataBits, StopBits;
  bool Hex = false;
  std::string EndChar;
  std::string Data;  // the data edit: "asc" text, or spaced hex text
};

struct Rs232FunctionBuilt {
  Rs232Function Function;
  int BadGroups = 0;  // "hex" text with malformed groups: "Data is not legal"
};

// "hex" text becomes bytes as the build's hex helper makes them (the 6-key
// build keeps none after a malformed group).
Rs232FunctionBuilt BuildRs232Function(const Variant& v, const Rs232FunctionTexts& t);

// The data edit's text for a function: "asc" data, or spaced hex of the
// bytes; nothing for another format, which leaves the edit as it is.
std::optional<std::string> Rs232DataText(const TRs232& f);

// What the main window's RS232 page shows of a library function. Baud,
// data bits, stop bits and the end character are chosen from the page's own
// lists when the text is one of them; "asc" and "hex" set the radio and the
// memo. The function combo is the window's: the page selects the first item
// of the name, which Rs232Change's Function (the last) does not.
Rs232Change Rs232PageChange(const Variant& v, const TRs232& f);
