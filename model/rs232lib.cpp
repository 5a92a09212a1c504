#include "model/rs232lib.h"

#include <algorithm>
#include <utility>

#include "model/gbk.h"
#include "model/hex.h"

namespace {

constexpr int kRs232Fields = 7;

std::optional<LibraryRefusal> CheckField(std::string_view text, int entry, const char* field) {
  if (!HoldsFieldMark(text)) return std::nullopt;
  return LibraryRefusal{.Entry = entry, .Field = field, .Fault = LibraryFault::FieldMark};
}

bool WritesEndBytes(const Variant& v, const Rs232Function& f) {
  return f.Format == rs232lib::kAsc && (v.Rs232LibEndBytes || f.EndBytesInFile);
}

// The page's combos find a text as code page 936 shows it, and a lead byte
// the text ends on shows as nothing. Their lists are ASCII.
std::optional<int> ShownIndexOf(const std::vector<std::string>& list, std::string_view text) {
  int i = items::IndexOf(list, text);
  if (i < 0 && !text.empty() && IsGbkLeadByte(ByteAt(text, text.size() - 1)))
    i = items::IndexOf(list, text.substr(0, text.size() - 1));
  if (i < 0) return std::nullopt;
  return i;
}

}  // namespace

std::string Rs232EndBytes(std::string_view endChar) {
  if (endChar == "LF") return "\n";
  if (endChar == "CR") return "\r";
  if (endChar == "LF+CR") return "\n\r";
  return {};
}

Rs232LibraryRead ReadRs232Library(const Variant&, std::string_view bytes) {
  Rs232LibraryRead r;
  const LibraryFields split = SplitLibraryFields(bytes);
  const std::vector<std::string>& f = split.Fields;
  r.Warnings.Truncated = split.DroppedTail;
  if (f.empty()) return r;
  r.Library.Name = f[0];

  const size_t functions = (f.size() - 1 + kRs232Fields - 1) / kRs232Fields;
  if (functions > static_cast<size_t>(kMaxLibraryEntries)) r.Warnings.TooMany = true;
  if ((f.size() - 1) % kRs232Fields != 0) r.Warnings.Truncated = true;
  const size_t kept = std::min(functions, static_cast<size_t>(kMaxLibraryEntries));
  r.Library.Functions.reserve(kept);

  for (size_t k = 0; k < kept; ++k) {
    Rs232Function fn;
    fn.Number = static_cast<int32_t>(k + 1);
    std::string* fields[kRs232Fields] = {&fn.Name,   &fn.Baud,    &fn.DataBits, &fn.StopBits,
                                         &fn.Format, &fn.EndChar, &fn.Data};
    const size_t first = 1 + k * kRs232Fields;
    for (size_t j = 0; j < kRs232Fields && first + j < f.size(); ++j) *fields[j] = f[first + j];

    if (fn.Format == rs232lib::kAsc) {
      const std::string end = Rs232EndBytes(fn.EndChar);
      if (!end.empty() && fn.Data.ends_with(end)) {
        fn.Data.resize(fn.Data.size() - end.size());
        fn.EndBytesInFile = true;
      }
    }
    r.Library.Functions.push_back(std::move(fn));
  }
  return r;
}

LibraryWrite Rs232FunctionRecord(const Variant& v, const Rs232Function& f) {
  LibraryWrite w;
  const std::pair<const std::string*, const char*> fields[kRs232Fields] = {
      {&f.Name, "name"},          {&f.Baud, "baud"},     {&f.DataBits, "data bits"},
      {&f.StopBits, "stop bits"}, {&f.Format, "format"}, {&f.EndChar, "end character"},
      {&f.Data, "data"}};
  for (const auto& [text, name] : fields)
    if ((w.Refusal = CheckField(*text, f.Number, name))) return w;

  for (int j = 0; j < kRs232Fields - 1; ++j) w.Bytes += LibraryField(*fields[j].first);
  w.Bytes += LibraryField(WritesEndBytes(v, f) ? f.Data + Rs232EndBytes(f.EndChar) : f.Data);
  return w;
}

LibraryWrite WriteRs232Library(const Variant& v, const Rs232Library& lib) {
  LibraryWrite w;
  if (lib.Functions.size() > static_cast<size_t>(kMaxLibraryEntries)) {
    w.Refusal = LibraryRefusal{.Entry = kMaxLibraryEntries + 1, .Field = "", .Fault = LibraryFault::TooMany};
    return w;
  }
  if ((w.Refusal = CheckField(lib.Name, 0, "library name"))) return w;
  w.Bytes = LibraryField(lib.Name);
  for (size_t i = 0; i < lib.Functions.size(); ++i) {
    LibraryWrite one = Rs232FunctionRecord(v, lib.Functions[i]);
    if (one.Refusal) {
      one.Refusal->Entry = static_cast<int>(i + 1);
      return LibraryWrite{.Bytes = {}, .Refusal = one.Refusal};
    }
    w.Bytes += one.Bytes;
  }
  return w;
}

Rs232FunctionBuilt BuildRs232Function(const Variant& v, const Rs232FunctionTexts& t) {
  Rs232FunctionBuilt b;
  Rs232Function& f = b.Function;
  f.Name = t.Name;
  f.Baud = t.Baud;
  f.DataBits = t.DataBits;
  f.StopBits = t.StopBits;
  f.Format = t.Hex ? rs232lib::kHex : rs232lib::kAsc;
  f.EndChar = t.EndChar;
  if (t.Hex) {
    SpacedHexResult h = SpacedHexToBytes(t.Data, v.SpacedHexStopsAtFirstBadGroup);
    f.Data = std::move(h.Bytes);
    b.BadGroups = h.BadGroups;
  } else {
    f.Data = t.Data;
  }
  return b;
}

std::optional<std::string> Rs232DataText(const TRs232& f) {
  if (f.Format == rs232lib::kAsc) return f.Data;
  if (f.Format == rs232lib::kHex) return BytesToSpacedHex(f.Data);
  return std::nullopt;
}

Rs232Change Rs232PageChange(const Variant& v, const TRs232& f) {
  Rs232Change c;
  c.Baud = ShownIndexOf(items::kBauds, f.Baud);
  c.DataBits = ShownIndexOf(items::kDataBits, f.DataBits);
  c.StopBits = ShownIndexOf(items::kStopBits, f.StopBits);
  // The library's "LF+CR" is 0A 0D, which no end character of the page makes:
  // the 9-key build keeps those bytes in "asc" data and sends no end character.
  const bool lfCr = f.EndChar == "LF+CR";
  if (std::optional<std::string> text = Rs232DataText(f)) {
    c.Data.Hex = f.Format == rs232lib::kHex;
    if (lfCr && v.Rs232LibEndBytes && !*c.Data.Hex) *text += Rs232EndBytes(f.EndChar);
    c.Data.Memo = std::move(text);
  }
  const int end = lfCr ? (v.Rs232LibEndBytes ? 0 : 3) : items::IndexOf(items::kEndChars, f.EndChar);
  if (end >= 0)
    c.Data.EndChar = end;
  else if (!v.Rs232LibEndBytes)
    c.Data.EndChar = 0;  // an end character the page lacks: the 6-key build shows "NULL"
  return c;
}
