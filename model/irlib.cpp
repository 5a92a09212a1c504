#include "model/irlib.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kIrFields = 3;

}  // namespace

std::string UnlearnedIrCode() {
  std::string code;
  code.reserve(2 * kUnlearnedIrCodeBytes);
  for (int i = 0; i < kUnlearnedIrCodeBytes; ++i) code += "FF";
  return code;
}

IrLibraryRead ReadIrLibrary(const Variant&, std::string_view bytes) {
  IrLibraryRead r;
  const LibraryFields split = SplitLibraryFields(bytes);
  const std::vector<std::string>& f = split.Fields;
  r.Warnings.Truncated = split.DroppedTail;
  if (f.empty()) return r;
  r.Library.Name = f[0];

  const size_t rows = (f.size() - 1 + kIrFields - 1) / kIrFields;
  if (rows > static_cast<size_t>(kMaxLibraryEntries)) r.Warnings.TooMany = true;
  if ((f.size() - 1) % kIrFields != 0) r.Warnings.Truncated = true;
  const size_t kept = std::min(rows, static_cast<size_t>(kMaxLibraryEntries));
  r.Library.Rows.reserve(kept);

  for (size_t k = 0; k < kept; ++k) {
    TIR row;
    std::string* fields[kIrFields] = {&row.Number, &row.Name, &row.Data};
    const size_t first = 1 + k * kIrFields;
    for (size_t j = 0; j < kIrFields && first + j < f.size(); ++j) *fields[j] = f[first + j];
    r.Library.Rows.push_back(std::move(row));
  }
  return r;
}

LibraryWrite WriteIrLibrary(const Variant&, const IrLibrary& lib) {
  LibraryWrite w;
  if (lib.Rows.size() > static_cast<size_t>(kMaxLibraryEntries)) {
    w.Refusal = LibraryRefusal{.Entry = kMaxLibraryEntries + 1, .Field = "", .Fault = LibraryFault::TooMany};
    return w;
  }
  const auto refuse = [&](int entry, const char* field) {
    w.Bytes.clear();
    w.Refusal = LibraryRefusal{.Entry = entry, .Field = field, .Fault = LibraryFault::FieldMark};
    return w;
  };
  if (HoldsFieldMark(lib.Name)) return refuse(0, "library name");
  w.Bytes = LibraryField(lib.Name);
  for (size_t i = 0; i < lib.Rows.size(); ++i) {
    const TIR& row = lib.Rows[i];
    const int entry = static_cast<int>(i + 1);
    if (HoldsFieldMark(row.Number)) return refuse(entry, "number");
    if (HoldsFieldMark(row.Name)) return refuse(entry, "name");
    if (HoldsFieldMark(row.Data)) return refuse(entry, "code");
    w.Bytes += LibraryField(row.Number);
    w.Bytes += LibraryField(row.Name);
    w.Bytes += LibraryField(row.Data);
  }
  return w;
}

TIR NewIrRow(int number, std::string name) { return TIR{std::to_string(number), std::move(name), UnlearnedIrCode()}; }
