#pragma once
// Library entries the main window's RS232 and IR pages read: filled by
// "Change Lib", and on the IR page by decoded events.
#include <vector>

#include "model/libraries.h"

struct PageLibraries {
  std::vector<TRs232> Rs232Lib = std::vector<TRs232>(kMaxLibraryEntries + 1);
  std::vector<TIR> IrLib = std::vector<TIR>(kMaxLibraryEntries + 1);
  int IrCodeRaw = 0;      // 1: IrLib data are raw bytes, 0: hex text
  int IrDecodeCount = 0;  // IR entries decoded since the last "Open" or "Upload"
};
