#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "bytes.h"
#include "model/hex.h"
#include "model/irlib.h"
#include "model/rs232lib.h"

namespace {

// ---------------------------------------------------------------------------
// Helpers

const Variant* const kBoth[] = {&kVantor, &kQuillet};

std::string F(std::string_view text) { return B({0x01}) + std::string(text) + B({0x04}); }

std::string Rss(std::string_view name, const std::vector<std::vector<std::string>>& functions) {
  std::string s = F(name);
  for (const auto& fn : functions)
    for (const auto& field : fn) s += F(field);
  return s;
}

// A function as one line, so a failing comparison shows which field differs.
std::string Line(const Rs232Function& f, bool withoutFlag = false) {
  std::string s = std::to_string(f.Number);
  for (const std::string* t : {&f.Name, &f.Baud, &f.DataBits, &f.StopBits, &f.Format, &f.EndChar, &f.Data})
    s += "|" + Escaped(*t);
  return s + (f.EndBytesInFile && !withoutFlag ? "|+end" : "");
}

std::vector<std::string> Lines(const Rs232Library& lib, bool withoutFlag = false) {
  std::vector<std::string> out;
  for (const auto& f : lib.Functions) out.push_back(Line(f, withoutFlag));
  return out;
}

std::string Line(const TIR& r) { return Escaped(r.Number) + "|" + Escaped(r.Name) + "|" + Escaped(r.Data); }

std::vector<std::string> Lines(const IrLibrary& lib) {
  std::vector<std::string> out;
  for (const auto& r : lib.Rows) out.push_back(Line(r));
  return out;
}

Rs232Function Fn(std::string name, std::string format, std::string endChar, std::string data) {
  Rs232Function f;
  f.Name = std::move(name);
  f.Baud = "9600";
  f.DataBits = "8";
  f.StopBits = "1";
  f.Format = std::move(format);
  f.EndChar = std::move(endChar);
  f.Data = std::move(data);
  return f;
}

std::string MustWrite(const Variant& v, const Rs232Library& lib) {
  const LibraryWrite w = WriteRs232Library(v, lib);
  EXPECT_TRUE(w.Ok()) << "refused entry " << w.Refusal->Entry << " " << w.Refusal->Field;
  return w.Bytes;
}

std::string MustWrite(const Variant& v, const IrLibrary& lib) {
  const LibraryWrite w = WriteIrLibrary(v, lib);
  EXPECT_TRUE(w.Ok()) << "refused entry " << w.Refusal->Entry << " " << w.Refusal->Field;
  return w.Bytes;
}

// Open, then save: the bytes that would go back to the file.
std::string Resaved(const Variant& v, std::string_view file) {
  const Rs232LibraryRead r = ReadRs232Library(v, file);
  EXPECT_FALSE(r.Warnings.TooMany || r.Warnings.Truncated);
  return MustWrite(v, r.Library);
}

std::string ResavedIr(const Variant& v, std::string_view file) {
  const IrLibraryRead r = ReadIrLibrary(v, file);
  EXPECT_FALSE(r.Warnings.TooMany || r.Warnings.Truncated);
  return MustWrite(v, r.Library);
}

// ---------------------------------------------------------------------------
// RS232 library: hand-made files

TEST(Rs232Library, PowerExampleIsWrittenByteForByte) {
  Rs232Library lib{.Name = "TV", .Functions = {Fn("Power", "asc", "CR", "PWR")}};
  const std::string head = F("TV") + F("Power") + F("9600") + F("8") + F("1") + F("asc") + F("CR");
  EXPECT_EQ(Escaped(MustWrite(kVantor, lib)), Escaped(head + F("PWR\r")));
  // The 6-key build writes no end bytes for a function made in its editor.
  EXPECT_EQ(Escaped(MustWrite(kQuillet, lib)), Escaped(head + F("PWR")));

  // Read back, the data is what the editor showed and one 0D is gone.
  for (const Variant* v : kBoth) {
    SCOPED_TRACE(v->Name);
    const Rs232LibraryRead r = ReadRs232Library(*v, head + F("PWR\r"));
    EXPECT_EQ(r.Library.Name, "TV");
    EXPECT_EQ(Lines(r.Library), std::vector<std::string>{"1|Power|9600|8|1|asc|CR|PWR|+end"});
    EXPECT_EQ(Escaped(Resaved(*v, head + F("PWR\r"))), Escaped(head + F("PWR\r")));
  }
}

TEST(Rs232Library, AsciiAndHexFunctionsReadAndWrittenBack) {
  // The hex data holds 1A, 00, 0D and FF: all plain data to the reader; the
  // library name holds code page 936 bytes and a 1A.
  const std::string name = B({0xB5, 0xE7, 0xCA, 0xD3, 0x1A});
  const std::string file = Rss(name, {{"On", "19200", "7", "1.5", "asc", "LF+CR", "ON\x1A!\n\r"},
                                      {"Vol", "115200", "6", "2", "hex", "CR", B({0xA0, 0x1A, 0x00, 0x0D, 0xFF})}});
  for (const Variant* v : kBoth) {
    SCOPED_TRACE(v->Name);
    const Rs232LibraryRead r = ReadRs232Library(*v, file);
    EXPECT_EQ(r.Library.Name, name);
    EXPECT_EQ(Lines(r.Library), (std::vector<std::string>{"1|On|19200|7|1.5|asc|LF+CR|ON\\x1A!|+end",
                                                          "2|Vol|115200|6|2|hex|CR|\\xA0\\x1A\\x00\\x0D\\xFF"}));
    EXPECT_EQ(Rs232DataText(r.Library.Functions[0]), "ON\x1A!");
    EXPECT_EQ(Rs232DataText(r.Library.Functions[1]), "A0 1A 00 0D FF ");
    EXPECT_EQ(Escaped(Resaved(*v, file)), Escaped(file));
  }
}

// One trailing copy of the end character's bytes, "asc" only; the order of
// LF+CR matters; another format or end text leaves the data alone.
TEST(Rs232Library, EndBytesStrippedOnceOnReading) {
  struct Case {
    const char* format;
    const char* endChar;
    std::string inFile, read;
    bool stripped;
  } cases[] = {
      {"asc", "NULL", "AT\r", "AT\r", false},
      {"asc", "LF", "AT\n", "AT", true},
      {"asc", "CR", "AT\r\r", "AT\r", true},
      {"asc", "CR", "AT", "AT", false},
      {"asc", "CR", "\r", "", true},
      {"asc", "LF+CR", "AT\n\r", "AT", true},
      {"asc", "LF+CR", "AT\r\n", "AT\r\n", false},
      {"asc", "LF+CR", "AT\n", "AT\n", false},
      {"asc", "cr", "AT\r", "AT\r", false},
      {"ASC", "CR", "AT\r", "AT\r", false},
      {"hex", "CR", B({0x41, 0x0D}), B({0x41, 0x0D}), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + c.endChar + " " + Escaped(c.inFile));
    const std::string file = Rss("L", {{"f", "9600", "8", "1", c.format, c.endChar, c.inFile}});
    for (const Variant* v : kBoth) {
      SCOPED_TRACE(v->Name);
      const Rs232LibraryRead r = ReadRs232Library(*v, file);
      ASSERT_EQ(r.Library.Functions.size(), 1u);
      EXPECT_EQ(Escaped(r.Library.Functions[0].Data), Escaped(c.read));
      EXPECT_EQ(r.Library.Functions[0].EndBytesInFile, c.stripped);
    }
    // Vantor puts one copy back on every "asc" function, so a file that
    // had them comes back as it was.
    if (c.stripped || std::string(c.format) != "asc" || Rs232EndBytes(c.endChar).empty()) {
      EXPECT_EQ(Escaped(Resaved(kVantor, file)), Escaped(file));
    }
    // Quillet writes exactly what it read.
    EXPECT_EQ(Escaped(Resaved(kQuillet, file)), Escaped(file));
  }
}

TEST(Rs232Library, AsciiDataFromEachBuildWithEveryEndCharacter) {
  struct Case {
    const char* endChar;
    const char* ends;
  } cases[] = {{"NULL", ""}, {"LF", "\n"}, {"CR", "\r"}, {"LF+CR", "\n\r"}, {"", ""}, {"CR+LF", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.endChar);
    EXPECT_EQ(Rs232EndBytes(c.endChar), c.ends);
    // Data the user typed may itself end in the end bytes (the edit takes CR
    // and LF): each build's file opens to the same data and saves unchanged.
    for (const std::string data : {"AT", "AT\r\n", "\n\r", ""}) {
      const Rs232Library lib{.Name = "L", .Functions = {Fn("f", "asc", c.endChar, data)}};
      for (const Variant* v : kBoth) {
        SCOPED_TRACE(v->Name + " " + Escaped(data));
        const std::string file = MustWrite(*v, lib);
        EXPECT_EQ(
            Escaped(file),
            Escaped(Rss("L", {{"f", "9600", "8", "1", "asc", c.endChar, data + (v->Rs232LibEndBytes ? c.ends : "")}})));
        const Rs232LibraryRead r = ReadRs232Library(*v, file);
        ASSERT_EQ(r.Library.Functions.size(), 1u);
        if (v->Rs232LibEndBytes) {
          EXPECT_EQ(Escaped(r.Library.Functions[0].Data), Escaped(data));
        }
        EXPECT_EQ(Escaped(MustWrite(*v, r.Library)), Escaped(file));
      }
    }
  }
}

TEST(Rs232Library, FilesMovedBetweenBuilds) {
  const std::string head = F("TV") + F("Power") + F("9600") + F("8") + F("1") + F("asc") + F("CR");
  // A Vantor library saved by Quillet keeps its end bytes...
  EXPECT_EQ(Escaped(Resaved(kQuillet, head + F("PWR\r"))), Escaped(head + F("PWR\r")));
  // ...and a Quillet library saved by Vantor gets them, as Vantor writes
  // every "asc" function.
  EXPECT_EQ(Escaped(Resaved(kVantor, head + F("PWR"))), Escaped(head + F("PWR\r")));
}

// The reading rule itself: 01 restarts a field, bytes outside 01 ... 04 are
// lost, a file without 01 still reads.
TEST(Rs232Library, ReadingRule) {
  const std::vector<std::string> fn = {"f", "9600", "8", "1", "hex", "NULL"};
  struct Case {
    const char* what;
    std::string file;
    std::string name, data;
  } cases[] = {
      {"01 restarts the field", B({0x01}) + "xx" + F("L") + Rss("", {fn}).substr(2) + F("D"), "L", "D"},
      {"bytes between fields", F("L") + "junk" + Rss("", {fn}).substr(2) + "\x1A" + F("D"), "L", "D"},
      {"no 01 at all",
       "L\x04"
       "f\x04"
       "9600\x04"
       "8\x04"
       "1\x04"
       "hex\x04"
       "NULL\x04"
       "D\x04",
       "L", "D"},
      {"hex data after a 01 byte", Rss("L", {fn}) + B({0x01, 0x11, 0x01, 0x22, 0x04}), "L", B({0x22})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const Rs232LibraryRead r = ReadRs232Library(kVantor, c.file);
    EXPECT_EQ(r.Library.Name, c.name);
    ASSERT_EQ(r.Library.Functions.size(), 1u);
    EXPECT_EQ(Escaped(r.Library.Functions[0].Data), Escaped(c.data));
    EXPECT_FALSE(r.Warnings.Truncated);
  }
}

// Every cut of a two-function file: the functions that were complete come
// out whole, one cut off keeps what it has, nothing is made up.
TEST(Rs232Library, TruncatedFiles) {
  const std::vector<std::string> a = {"A", "9600", "8", "1", "asc", "CR", "X\r"};
  const std::vector<std::string> b = {"B", "2400", "7", "2", "hex", "NULL", B({0x0D, 0x0A})};
  const std::string file = Rss("L", {a, b});
  for (const Variant* v : kBoth) {
    SCOPED_TRACE(v->Name);
    for (size_t n = 0; n <= file.size(); ++n) {
      SCOPED_TRACE(n);
      const std::string cut = file.substr(0, n);
      const Rs232LibraryRead r = ReadRs232Library(*v, cut);
      const auto fields = SplitLibraryFields(cut).Fields.size();  // complete fields before the cut
      const bool atBoundary = (n == 0 || file[n - 1] == '\x04') && (fields == 0 || (fields - 1) % 7 == 0);
      EXPECT_EQ(r.Warnings.Truncated, !atBoundary);
      EXPECT_FALSE(r.Warnings.TooMany);
      EXPECT_EQ(r.Library.Name, fields ? "L" : "");
      ASSERT_EQ(r.Library.Functions.size(), fields <= 1 ? 0 : (fields - 2) / 7 + 1);
      if (fields >= 8) {
        EXPECT_EQ(Line(r.Library.Functions[0]), "1|A|9600|8|1|asc|CR|X|+end");
      }
      const Rs232Function& last = r.Library.Functions.empty() ? Rs232Function{} : r.Library.Functions.back();
      if (fields >= 2 && fields < 9) {
        EXPECT_EQ(last.Name, "A");
      }
      if (fields == 7) {
        EXPECT_EQ(last.Data, "");  // the data field itself was cut off
      }
      if (fields >= 9 && fields < 16) {
        EXPECT_EQ(last.Name, "B");
      }

      // What was read can be saved, reads back the same and saves the same.
      // (Vantor's flag may change: it adds the end bytes a cut-off function
      // had lost, and the flag says what the file held.)
      const std::string saved = MustWrite(*v, r.Library);
      const Rs232LibraryRead again = ReadRs232Library(*v, saved);
      EXPECT_EQ(Lines(again.Library, v->Rs232LibEndBytes), Lines(r.Library, v->Rs232LibEndBytes));
      EXPECT_EQ(Escaped(MustWrite(*v, again.Library)), Escaped(saved));
    }
  }
}

// ---------------------------------------------------------------------------
// RS232 library: refusals and limits

TEST(Rs232Library, FieldMarksAreRefused) {
  const char* const fieldNames[] = {"name", "baud", "data bits", "stop bits", "format", "end character", "data"};
  for (const Variant* v : kBoth) {
    for (int mark : {0x01, 0x04}) {
      for (int j = 0; j < 8; ++j) {
        SCOPED_TRACE(v->Name + " byte " + std::to_string(mark) + " in field " + std::to_string(j));
        Rs232Library lib{.Name = "L", .Functions = {Fn("a", "asc", "CR", "x"), Fn("b", "hex", "NULL", "y")}};
        Rs232Function& second = lib.Functions[1];
        std::string* fields[] = {&second.Name,   &second.Baud,    &second.DataBits, &second.StopBits,
                                 &second.Format, &second.EndChar, &second.Data,     &lib.Name};
        *fields[j] = "a" + B({mark}) + "b";
        const LibraryWrite w = WriteRs232Library(*v, lib);
        ASSERT_FALSE(w.Ok());
        EXPECT_EQ(w.Bytes, "");
        EXPECT_EQ(w.Refusal->Fault, LibraryFault::FieldMark);
        EXPECT_EQ(w.Refusal->Entry, j == 7 ? 0 : 2);
        EXPECT_EQ(w.Refusal->Field, j == 7 ? "library name" : fieldNames[j]);
        if (j < 7) {
          second.Number = 9;
          const LibraryWrite one = Rs232FunctionRecord(*v, second);
          ASSERT_FALSE(one.Ok());
          EXPECT_EQ(one.Refusal->Entry, 9);
        }
      }
    }
  }
}

// The editor's texts become a function; hex text that converts to 01 or 04
// is caught by the writer, not by the conversion.
TEST(Rs232Library, FunctionsBuiltFromTheEditorsTexts) {
  struct Case {
    const Variant* v;
    bool hex;
    const char* text;
    std::string data;
    int badGroups;
    bool writable;
  } cases[] = {
      {&kVantor, false, "AT 01", "AT 01", 0, true},
      {&kVantor, true, "0a ff 1A", B({0x0A, 0xFF, 0x1A}), 0, true},
      {&kVantor, true, "0a zz ff", B({0x0A, 0xFF}), 1, true},
      {&kQuillet, true, "0a zz ff", "", 1, true},
      {&kVantor, true, "02 01 03", B({0x02, 0x01, 0x03}), 0, false},
      {&kQuillet, true, "04", B({0x04}), 0, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.v->Name + " " + c.text);
    const Rs232FunctionBuilt b = BuildRs232Function(
        *c.v,
        {.Name = "f", .Baud = "4800", .DataBits = "7", .StopBits = "2", .Hex = c.hex, .EndChar = "LF", .Data = c.text});
    EXPECT_EQ(b.Function.Format, c.hex ? "hex" : "asc");
    EXPECT_EQ(Escaped(b.Function.Data), Escaped(c.data));
    EXPECT_EQ(b.BadGroups, c.badGroups);
    EXPECT_FALSE(b.Function.EndBytesInFile);
    const LibraryWrite w = Rs232FunctionRecord(*c.v, b.Function);
    EXPECT_EQ(w.Ok(), c.writable);
    if (c.writable) {
      EXPECT_EQ(Escaped(w.Bytes), Escaped(Rss("", {{"f", "4800", "7", "2", c.hex ? "hex" : "asc", "LF",
                                                    c.data + (!c.hex && c.v->Rs232LibEndBytes ? "\n" : "")}})
                                              .substr(2)));
    }
  }
}

TEST(Rs232Library, FiveHundredFunctions) {
  const std::vector<std::string> fn = {"f", "9600", "8", "1", "asc", "CR", "x\r"};
  for (const Variant* v : kBoth) {
    SCOPED_TRACE(v->Name);
    for (int count : {499, 500, 501, 700}) {
      SCOPED_TRACE(count);
      const std::string file = Rss("L", std::vector<std::vector<std::string>>(count, fn));
      const Rs232LibraryRead r = ReadRs232Library(*v, file);
      EXPECT_EQ(r.Library.Functions.size(), static_cast<size_t>(std::min(count, 500)));
      EXPECT_EQ(r.Warnings.TooMany, count > 500);
      EXPECT_FALSE(r.Warnings.Truncated);
      EXPECT_EQ(r.Library.Functions.back().Number, std::min(count, 500));
      // Saved again: the first 500, unchanged.
      const std::string kept = Rss("L", std::vector<std::vector<std::string>>(std::min(count, 500), fn));
      EXPECT_EQ(MustWrite(*v, r.Library), kept);
    }
    Rs232Library big{.Name = "L", .Functions = std::vector<Rs232Function>(501, Fn("f", "asc", "CR", "x"))};
    const LibraryWrite w = WriteRs232Library(*v, big);
    ASSERT_FALSE(w.Ok());
    EXPECT_EQ(w.Refusal->Fault, LibraryFault::TooMany);
  }
}

// Libraries made of random fields: written, opened and saved again, every
// function and every byte survives, in both builds.
TEST(Rs232Library, OpenThenSaveRandomLibraries) {
  std::mt19937 rng(1107);
  const auto pick = [&](const std::vector<std::string>& from) { return from[rng() % from.size()]; };
  const auto bytes = [&](size_t max) {
    std::string s(rng() % (max + 1), '\0');
    for (char& c : s) {
      do c = static_cast<char>(rng() % 4 == 0 ? "\r\n\x1A\x00"[rng() % 4] : rng() % 256);
      while (c == '\x01' || c == '\x04');
    }
    return s;
  };
  for (int round = 0; round < 200; ++round) {
    Rs232Library lib{.Name = bytes(6), .Functions = {}};
    const int n = static_cast<int>(rng() % 12);
    for (int i = 0; i < n; ++i) {
      Rs232Function f = Fn(bytes(8), rng() % 5 ? pick({"asc", "hex"}) : bytes(3),
                           rng() % 5 ? pick(rs232lib::kEndChars) : bytes(3), bytes(10));
      f.Baud = pick(rs232lib::kBauds);
      f.EndBytesInFile = rng() % 2;
      lib.Functions.push_back(f);
    }
    for (const Variant* v : kBoth) {
      SCOPED_TRACE(v->Name + " round " + std::to_string(round));
      const std::string file = MustWrite(*v, lib);
      const Rs232LibraryRead r = ReadRs232Library(*v, file);
      ASSERT_EQ(r.Library.Functions.size(), lib.Functions.size());
      EXPECT_EQ(r.Library.Name, lib.Name);
      for (size_t i = 0; i < lib.Functions.size(); ++i) {
        const Rs232Function& want = lib.Functions[i];
        const Rs232Function& got = r.Library.Functions[i];
        EXPECT_EQ(got.Number, static_cast<int>(i + 1));
        EXPECT_EQ(got.Name, want.Name);
        EXPECT_EQ(got.EndChar, want.EndChar);
        const std::string end = want.Format == "asc" ? Rs232EndBytes(want.EndChar) : "";
        if (!end.empty() && (v->Rs232LibEndBytes || want.EndBytesInFile)) {
          EXPECT_TRUE(got.EndBytesInFile);
          EXPECT_EQ(Escaped(got.Data), Escaped(want.Data));
        } else {
          // Without end bytes written, data that itself ends in them reads
          // with one copy fewer, and still saves to the same bytes.
          EXPECT_EQ(Escaped(got.Data + (got.EndBytesInFile ? end : "")), Escaped(want.Data));
        }
      }
      EXPECT_EQ(Escaped(MustWrite(*v, r.Library)), Escaped(file));
    }
  }
}

// ---------------------------------------------------------------------------
// A function put into the main window's RS232 page

std::string Show(const std::optional<int>& i) { return i ? std::to_string(*i) : "-"; }

// Every field of the change, so one set by mistake shows.
std::string Show(const Rs232Change& c) {
  std::string s = "baud " + Show(c.Baud) + ", bits " + Show(c.DataBits) + ", stop " + Show(c.StopBits);
  s += ", hex " + (c.Data.Hex ? std::to_string(*c.Data.Hex) : "-") + ", end " + Show(c.Data.EndChar);
  s += ", memo " + (c.Data.Memo ? "[" + Escaped(*c.Data.Memo) + "]" : "-");
  if (c.LibName || c.Function || c.Port || c.Parity || c.RepeatMode || c.Count || c.Interval) s += ", more";
  return s;
}

TEST(Rs232Library, FunctionOnTheRs232Page) {
  struct Case {
    TRs232 f;  // Name, Baud, DataBits, StopBits, Format, EndChar, Data
    const char* vantor;
    const char* quillet = nullptr;  // none: as the 9-key build
  } cases[] = {
      // Each end character the page has, by its own list ("CR" second).
      {{0, "a", "9600", "8", "1", "asc", "NULL", "PWR"}, "baud 2, bits 0, stop 0, hex 0, end 0, memo [PWR]"},
      {{0, "a", "9600", "8", "1", "asc", "CR", "PWR"}, "baud 2, bits 0, stop 0, hex 0, end 1, memo [PWR]"},
      {{0, "a", "9600", "8", "1", "asc", "LF", "PWR"}, "baud 2, bits 0, stop 0, hex 0, end 2, memo [PWR]"},
      {{0, "a", "9600", "8", "1", "asc", "CR+LF", "PWR"}, "baud 2, bits 0, stop 0, hex 0, end 3, memo [PWR]"},
      // "LF+CR" is no end character of the page: the 9-key build keeps the
      // bytes in "asc" data, the 6-key build shows "CR+LF".
      {{0, "a", "9600", "8", "1", "asc", "LF+CR", "PWR"},
       "baud 2, bits 0, stop 0, hex 0, end 0, memo [PWR\\x0A\\x0D]",
       "baud 2, bits 0, stop 0, hex 0, end 3, memo [PWR]"},
      {{0, "a", "9600", "8", "1", "hex", "LF+CR", B({0xAA, 0x0D})},
       "baud 2, bits 0, stop 0, hex 1, end 0, memo [AA 0D ]",
       "baud 2, bits 0, stop 0, hex 1, end 3, memo [AA 0D ]"},
      {{0, "a", "9600", "8", "1", "bin", "LF+CR", "x"},
       "baud 2, bits 0, stop 0, hex -, end 0, memo -",
       "baud 2, bits 0, stop 0, hex -, end 3, memo -"},
      // Another format leaves the radio and the memo as they are.
      {{0, "a", "9600", "8", "1", "", "CR", "x"}, "baud 2, bits 0, stop 0, hex -, end 1, memo -"},
      {{0, "a", "9600", "8", "1", "hex", "NULL", B({0x00, 0x1A})},
       "baud 2, bits 0, stop 0, hex 1, end 0, memo [00 1A ]"},
      // An end character the page lacks: kept by the 9-key build, "NULL" in the 6-key one.
      {{0, "a", "9600", "8", "1", "asc", "TAB", "T"},
       "baud 2, bits 0, stop 0, hex 0, end -, memo [T]",
       "baud 2, bits 0, stop 0, hex 0, end 0, memo [T]"},
      {{0, "a", "9600", "8", "1", "hex", "", ""},
       "baud 2, bits 0, stop 0, hex 1, end -, memo []",
       "baud 2, bits 0, stop 0, hex 1, end 0, memo []"},
      // The page's own lists: 38400 and 5 data bits are there, not in the editor.
      {{0, "a", "38400", "5", "1.5", "asc", "NULL", ""}, "baud 4, bits 3, stop 1, hex 0, end 0, memo []"},
      {{0, "a", "1234", "9", "", "asc", "NULL", ""}, "baud -, bits -, stop -, hex 0, end 0, memo []"},
      // As code page 936 shows it, a lead byte at the end is nothing; a whole
      // double-byte character is not.
      {{0, "a", "9600" + B({0x81}), "7" + B({0xFE}), "2" + B({0x81, 0x81}), "asc", "NULL", ""},
       "baud 2, bits 1, stop -, hex 0, end 0, memo []"},
  };
  for (const Case& c : cases)
    for (const Variant* v : kBoth)
      EXPECT_EQ(Show(Rs232PageChange(*v, c.f)), v == &kQuillet && c.quillet ? c.quillet : c.vantor)
          << v->Name << ": " << c.f.Format << " " << c.f.EndChar << " " << Escaped(c.f.Baud);
}

// ---------------------------------------------------------------------------
// Library names as file names

TEST(LibraryNames, FileNameCheck) {
  struct Case {
    std::string name;
    bool ok;
  } cases[] = {
      {"TV", true},
      {"Sony TV-1 (hall)", true},
      {"a.b", true},
      {"...", true},
      {B({0xB5, 0xE7, 0xCA, 0xD3}), true},  // two double-byte characters
      {B({0xB0, 0x5C}), true},              // a character whose second byte is "\"
      {B({0x81, 0x5C, 0xD5, 0x7C}), true},  // and "|"
      {"", false},
      {".", false},
      {"..", false},
      {"../x", false},
      {"a/b", false},
      {"a\\b", false},
      {"c:", false},
      {"*", false},
      {"a?", false},
      {"\"q\"", false},
      {"<", false},
      {">", false},
      {"a|b", false},
      {"a\tb", false},
      {"a\rb", false},
      {B({0x41, 0x00}), false},
      {B({0x7F}), false},
      {"a" + B({0x1F}), false},
      {B({0x01}), false},
      {B({0x81, 0x2F}), false},        // a lead byte does not hide a following "/"
      {B({0x81, 0x81, 0x5C}), false},  // one character, then a real "\"
  };
  for (const auto& c : cases) EXPECT_EQ(IsLibraryFileName(c.name), c.ok) << Escaped(c.name);
}

// ---------------------------------------------------------------------------
// IR library

TEST(IrLibrary, TwoUnlearnedFunctionsByteForByte) {
  const std::string ff(600, 'F');
  EXPECT_EQ(UnlearnedIrCode(), ff);
  const IrLibrary lib{.Name = "TV", .Rows = {NewIrRow(1, "A"), NewIrRow(2, "B")}};
  const std::string file = F("TV") + F("1") + F("A") + F(ff) + F("2") + F("B") + F(ff);
  for (const Variant* v : kBoth) {
    SCOPED_TRACE(v->Name);
    EXPECT_EQ(MustWrite(*v, lib), file);
    EXPECT_EQ(Lines(ReadIrLibrary(*v, file).Library), Lines(lib));
  }
}

TEST(IrLibrary, UnlearnedAndLearnedRowsReadAndWrittenBack) {
  const std::string learned = BytesToHex(B({0x00, 0x03, 0xA1, 0xB2, 0x01, 0x04, 0x1A}));
  // Numbers are kept as the file has them, even out of order.
  const std::string name = B({0xB9, 0xA6, 0xC4, 0xDC});
  const std::string file = F("Air") + F("1") + F(name) + F(UnlearnedIrCode()) + F("7") + F("Cool\x1A") + F(learned);
  for (const Variant* v : kBoth) {
    SCOPED_TRACE(v->Name);
    const IrLibraryRead r = ReadIrLibrary(*v, file);
    EXPECT_EQ(r.Library.Name, "Air");
    EXPECT_EQ(Lines(r.Library), (std::vector<std::string>{"1|" + Escaped(name) + "|" + std::string(600, 'F'),
                                                          "7|Cool\\x1A|0003A1B201041A"}));
    EXPECT_FALSE(r.Warnings.TooMany || r.Warnings.Truncated);
    EXPECT_EQ(ResavedIr(*v, file), file);
  }
}

TEST(IrLibrary, FieldMarksAreRefused) {
  for (const Variant* v : kBoth) {
    for (int mark : {0x01, 0x04}) {
      for (int j = 0; j < 4; ++j) {
        SCOPED_TRACE(v->Name + " byte " + std::to_string(mark) + " in field " + std::to_string(j));
        IrLibrary lib{.Name = "L", .Rows = {NewIrRow(1, "a"), NewIrRow(2, "b")}};
        std::string* fields[] = {&lib.Rows[1].Number, &lib.Rows[1].Name, &lib.Rows[1].Data, &lib.Name};
        *fields[j] += B({mark});
        const LibraryWrite w = WriteIrLibrary(*v, lib);
        ASSERT_FALSE(w.Ok());
        EXPECT_EQ(w.Bytes, "");
        EXPECT_EQ(w.Refusal->Fault, LibraryFault::FieldMark);
        EXPECT_EQ(w.Refusal->Entry, j == 3 ? 0 : 2);
        const char* const names[] = {"number", "name", "code", "library name"};
        EXPECT_EQ(w.Refusal->Field, names[j]);
      }
    }
  }
}

TEST(IrLibrary, FiveHundredRows) {
  for (const Variant* v : kBoth) {
    SCOPED_TRACE(v->Name);
    for (int count : {500, 501, 650}) {
      SCOPED_TRACE(count);
      IrLibrary lib{.Name = "L", .Rows = {}};
      for (int i = 1; i <= count; ++i) lib.Rows.push_back(TIR{std::to_string(i), "f" + std::to_string(i), "0A1A"});
      std::string file = F("L");
      for (const TIR& row : lib.Rows) file += F(row.Number) + F(row.Name) + F(row.Data);

      const IrLibraryRead r = ReadIrLibrary(*v, file);
      EXPECT_EQ(r.Library.Rows.size(), 500u);
      EXPECT_EQ(r.Warnings.TooMany, count > 500);
      EXPECT_EQ(r.Library.Rows.back().Name, "f500");
      const LibraryWrite all = WriteIrLibrary(*v, lib);
      EXPECT_EQ(all.Ok(), count <= 500);
      if (!all.Ok()) {
        EXPECT_EQ(all.Refusal->Fault, LibraryFault::TooMany);
      }
      lib.Rows.resize(500);
      EXPECT_EQ(MustWrite(*v, r.Library), MustWrite(*v, lib));
    }
  }
}

TEST(IrLibrary, TruncatedFiles) {
  const std::string file = F("L") + F("1") + F("A") + F("0A0B") + F("2") + F("B") + F("FFFF");
  for (size_t n = 0; n <= file.size(); ++n) {
    SCOPED_TRACE(n);
    const std::string cut = file.substr(0, n);
    const IrLibraryRead r = ReadIrLibrary(kQuillet, cut);
    const size_t fields = SplitLibraryFields(cut).Fields.size();
    const bool atBoundary = (n == 0 || file[n - 1] == '\x04') && (fields == 0 || (fields - 1) % 3 == 0);
    EXPECT_EQ(r.Warnings.Truncated, !atBoundary);
    ASSERT_EQ(r.Library.Rows.size(), fields <= 1 ? 0 : (fields - 2) / 3 + 1);
    if (fields >= 7) {
      EXPECT_EQ(Line(r.Library.Rows[0]), "1|A|0A0B");
    }
    if (fields == 6) {
      EXPECT_EQ(Line(r.Library.Rows[1]), "2|B|");
    }
    EXPECT_EQ(Lines(ReadIrLibrary(kQuillet, MustWrite(kQuillet, r.Library)).Library), Lines(r.Library));
  }
}

}  // namespace
