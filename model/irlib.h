#pragma once
// IR code libraries ("*.irr"): 01 name 04, then per row its number text,
// function name and code as hex text, each as 01 field 04. Framing, checks
// and refusals are model/libraries.h's, shared with the RS232 library.
#include <string>
#include <string_view>
#include <vector>

#include "model/libraries.h"
#include "model/variant.h"

inline constexpr int kUnlearnedIrCodeBytes = 300;

// "FF" 300 times: the code of a row that was never learned.
std::string UnlearnedIrCode();

// Number, Name and Data (the code's hex text) as the file holds them; the
// writer writes them back unchanged, so renumbering is the editor's.
struct IrLibrary {
  std::string Name;
  std::vector<TIR> Rows;
};

struct IrLibraryRead {
  IrLibrary Library;
  LibraryReadWarnings Warnings;
};

// Keeps at most 500 rows; a row cut off by the end of the file keeps the
// fields it has.
IrLibraryRead ReadIrLibrary(const Variant& v, std::string_view bytes);

// A refusal names the row by its position.
LibraryWrite WriteIrLibrary(const Variant& v, const IrLibrary& lib);

// "New Function": row `number` (1-based), not learned yet.
TIR NewIrRow(int number, std::string name);
