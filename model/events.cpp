// Placeholder: being written.
#include "model/events.h"

int EventKindIndexOf(std::string_view name) {
  for (size_t i = 0; i < kEventKindNames.size(); ++i)
    if (name == kEventKindNames[i]) return static_cast<int>(i);
  return -1;
}
namespace items {
std::vector<std::string> SerialPorts(const Variant& v) {
  std::vector<std::string> r;
  for (int i = 1; i <= v.SerialPortCount; ++i) r.push_back("Port" + std::to_string(i));
  return r;
}
std::vector<std::string> PanelKeys(const Variant& v) {
  std::vector<std::string> r;
  for (int i = 1; i <= (v.KeyCount >= 10 ? 9 : 6); ++i) r.push_back("Key" + std::to_string(i));
  return r;
}
int IndexOf(const std::vector<std::string>& list, std::string_view text) {
  for (size_t i = 0; i < list.size(); ++i)
    if (list[i] == text) return static_cast<int>(i);
  return -1;
}
}  // namespace items
Encoded EncodeRs232(const Variant&, const Rs232Settings&, int) { return {}; }
Encoded EncodeIr(const Variant&, const IrSettings&, const IrCode*, int) { return {}; }
Encoded EncodeTcp(const Variant&, const TcpSettings&, int) { return {}; }
Encoded EncodeDelay(const Variant&, const DelaySettings&, int) { return {}; }
Encoded EncodeCompare(const Variant&, const CompareSettings&, int) { return {}; }
Encoded EncodeLed(const Variant&, const LedSettings&, int) { return {}; }
Encoded EncodeToggle(const Variant&, const ToggleSettings&, int) { return {}; }
Rs232Change ParseRs232ListText(const Variant&, std::string_view) { return {}; }
IrChange ParseIrListText(const Variant&, std::string_view) { return {}; }
TcpChange ParseTcpListText(const Variant&, std::string_view) { return {}; }
DelayChange ParseDelayListText(const Variant&, std::string_view) { return {}; }
CompareChange ParseCompareListText(const Variant&, std::string_view) { return {}; }
LedChange ParseLedListText(const Variant&, std::string_view) { return {}; }
ToggleChange ParseToggleListText(const Variant&, std::string_view) { return {}; }
std::optional<long long> ParseDecimal(std::string_view) { return std::nullopt; }
