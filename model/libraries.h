#pragma once
// Library entries loaded into the main window for the RS232 and IR pages.
#include <cstdint>
#include <string>

constexpr int kMaxLibraryEntries = 500;

struct TIR {
  std::string Number, Name, Data;
};

struct TRs232 {
  int32_t Number = 0;
  std::string Name, Baud, DataBits, StopBits, Format, EndChar, Data;
};
