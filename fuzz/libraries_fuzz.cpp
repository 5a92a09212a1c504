// Arbitrary bytes as an RS232 library (".rss") and an IR library (".irr")
// of both builds. Besides the sanitizers, checks that what is read is
// bounded by the input, that the writer takes everything the reader gives,
// that the written file reads back the same, and that saving it again
// changes no byte.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "model/irlib.h"
#include "model/rs232lib.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

// Vantor adds the end bytes a function lacked, so only the 6-key build
// keeps the flag from one reading to the next.
bool SameFunction(const Variant& v, const Rs232Function& a, const Rs232Function& b) {
  return a.Number == b.Number && a.Name == b.Name && a.Baud == b.Baud && a.DataBits == b.DataBits &&
         a.StopBits == b.StopBits && a.Format == b.Format && a.EndChar == b.EndChar && a.Data == b.Data &&
         (v.Rs232LibEndBytes || a.EndBytesInFile == b.EndBytesInFile);
}

void Rs232(const Variant& v, std::string_view in) {
  const Rs232LibraryRead r = ReadRs232Library(v, in);
  const Rs232Library& lib = r.Library;
  Check(lib.Functions.size() <= static_cast<size_t>(kMaxLibraryEntries), "more than 500 functions");
  size_t read = lib.Name.size();
  for (size_t i = 0; i < lib.Functions.size(); ++i) {
    const Rs232Function& f = lib.Functions[i];
    Check(f.Number == static_cast<int32_t>(i + 1), "function number");
    read += f.Name.size() + f.Baud.size() + f.DataBits.size() + f.StopBits.size() + f.Format.size() + f.EndChar.size() +
            f.Data.size();
  }
  Check(read <= in.size(), "fields larger than the input");

  const LibraryWrite w = WriteRs232Library(v, lib);
  Check(w.Ok(), "the writer refused what the reader produced");
  // Framing for every field, and at most two end bytes per function.
  Check(w.Bytes.size() <= read + 2 + lib.Functions.size() * (7 * 2 + 2), "written file too large");

  const Rs232LibraryRead again = ReadRs232Library(v, w.Bytes);
  Check(!again.Warnings.TooMany && !again.Warnings.Truncated, "a written file warns on reading");
  Check(again.Library.Name == lib.Name, "library name");
  Check(again.Library.Functions.size() == lib.Functions.size(), "function count");
  for (size_t i = 0; i < lib.Functions.size(); ++i)
    Check(SameFunction(v, again.Library.Functions[i], lib.Functions[i]), "function");

  const LibraryWrite twice = WriteRs232Library(v, again.Library);
  Check(twice.Ok() && twice.Bytes == w.Bytes, "open then save changed the file");
}

void Ir(const Variant& v, std::string_view in) {
  const IrLibraryRead r = ReadIrLibrary(v, in);
  const IrLibrary& lib = r.Library;
  Check(lib.Rows.size() <= static_cast<size_t>(kMaxLibraryEntries), "more than 500 rows");
  size_t read = lib.Name.size();
  for (const TIR& row : lib.Rows) read += row.Number.size() + row.Name.size() + row.Data.size();
  Check(read <= in.size(), "fields larger than the input");

  const LibraryWrite w = WriteIrLibrary(v, lib);
  Check(w.Ok(), "the writer refused what the reader produced");
  Check(w.Bytes.size() == read + 2 + lib.Rows.size() * 3 * 2, "written file size");

  const IrLibraryRead again = ReadIrLibrary(v, w.Bytes);
  Check(!again.Warnings.TooMany && !again.Warnings.Truncated, "a written file warns on reading");
  Check(again.Library.Name == lib.Name && again.Library.Rows.size() == lib.Rows.size(), "library");
  for (size_t i = 0; i < lib.Rows.size(); ++i) {
    const TIR& a = again.Library.Rows[i];
    const TIR& b = lib.Rows[i];
    Check(a.Number == b.Number && a.Name == b.Name && a.Data == b.Data, "row");
  }
  const LibraryWrite twice = WriteIrLibrary(v, again.Library);
  Check(twice.Ok() && twice.Bytes == w.Bytes, "open then save changed the file");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  for (const Variant* v : {&kVantor, &kQuillet}) {
    Rs232(*v, in);
    Ir(*v, in);
  }
  // The input as a library name, as the name dialog would pass it on.
  (void)IsLibraryFileName(in);
  return 0;
}
