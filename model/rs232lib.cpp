#include "model/rs232lib.h"

#include <algorithm>
#include <utility>

#include "model/hex.h"

namespace {

constexpr int kRs232Fields = 7;

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

std::optional<LibraryRefusal> CheckField(std::string_view text, int entry, const char* field) {
  if (!HoldsFieldMark(text)) return std::nullopt;
  return LibraryRefusal{.Entry = entry, .Field = field, .Fault = LibraryFault::FieldMark};
}

bool WritesEndBytes(const Variant& v, const Rs232Function& f) {
  return f.Format == rs232lib::kAsc && (v.Rs232LibEndBytes || f.EndBytesInFile);
}

}  // namespace

LibraryFields SplitLibraryFields(std::string_view bytes) {
  LibraryFields r;
  std::string collected;
  bool opened = false;
  for (char c : bytes) {
    if (c == kLibFieldStart) {
      collected.clear();
      opened = true;
    } else if (c == kLibFieldEnd) {
      r.Fields.push_back(std::move(collected));
      collected.clear();
      opened = false;
    } else {
      collected += c;
    }
  }
  r.DroppedTail = opened || !collected.empty();
  return r;
}

std::string LibraryField(std::string_view text) {
  std::string f;
  f.reserve(text.size() + 2);
  f += kLibFieldStart;
  f += text;
  f += kLibFieldEnd;
  return f;
}

bool HoldsFieldMark(std::string_view text) {
  return text.find_first_of(std::string_view("\x01\x04", 2)) != std::string_view::npos;
}

bool IsLibraryFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  constexpr std::string_view kRefused = "/\\:*?\"<>|";
  for (size_t i = 0; i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (IsLeadByte(c) && i + 1 < name.size() && IsTrailByte(static_cast<unsigned char>(name[i + 1]))) {
      ++i;  // one double-byte character
      continue;
    }
    if (c < 0x20 || c == 0x7F || kRefused.find(static_cast<char>(c)) != std::string_view::npos) return false;
  }
  return true;
}

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
      {&f.Name, "name"},     {&f.Baud, "baud"},         {&f.DataBits, "data bits"}, {&f.StopBits, "stop bits"},
      {&f.Format, "format"}, {&f.EndChar, "end character"}, {&f.Data, "data"}};
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
