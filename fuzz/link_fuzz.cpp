// Arbitrary bytes from a panel, in arbitrary pieces, through the framer and
// the dispatcher with a window side that only counts.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "link/dispatcher.h"
#include "link/framer.h"

namespace {

class CountingSink : public DispatchSink {
 public:
  bool Row = false;
  size_t Calls = 0;
  void Log(const std::string& line) override { Calls += line.empty() ? 0 : 1; }
  void LogBytes(const std::string&, std::string_view b) override { Calls += b.size() > 0; }
  bool IrEditRowSelected() override { return Row; }
  void IrLearned(std::string_view code) override {
    if (code.size() < 2) std::abort();  // the length bytes always come with the code
    ++Calls;
  }
  void IrLearnRefused(uint8_t) override { ++Calls; }
  void Relay(const std::string& ip, const std::string&) override {
    if (ip.size() > 15) std::abort();
    ++Calls;
  }
  void NetConfig(const NetSettings&) override { ++Calls; }
  void SystemInfo(uint8_t, const std::string& text) override {
    if (text.size() > 53) std::abort();  // the longest: four addresses as text
    ++Calls;
  }
  void TransferAck(std::string_view m) override {
    if (m.size() < 2) std::abort();
    ++Calls;
  }
  bool ActionRecord(std::string_view) override { return Row; }
  bool EventRecord(std::string_view r) override {
    if (r.size() < 3) std::abort();
    return Row;
  }
  void Malformed(const std::string&) override { ++Calls; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t mode = data[0];
  const Variant& v = (mode & 1) ? kQuillet : kVantor;
  CountingSink sink;
  sink.Row = (mode & 2) != 0;
  // A small bound, so the fuzzer reaches the full buffer too.
  MessageFramer framer(v, (mode & 4) ? 64 : MessageFramer::kLongest);
  size_t taken = 0, fed = 0;
  size_t at = 1;
  // Each piece: one byte of length (bit 7: the line goes quiet after it), then the bytes.
  while (at < size) {
    const uint8_t head = data[at++];
    const size_t n = std::min<size_t>(head & 0x7F, size - at);
    for (const std::string& m : framer.Feed(std::string_view(reinterpret_cast<const char*>(data + at), n))) {
      taken += m.size();
      DispatchMessage(v, m, sink);
    }
    at += n;
    fed += n;
    if (head & 0x80) {
      const std::string m = framer.Flush();
      taken += m.size();
      if (!m.empty()) DispatchMessage(v, m, sink);
    }
  }
  const std::string rest = framer.Flush();
  taken += rest.size();
  // Nothing is made up and nothing is lost but what the bound dropped.
  if (taken + framer.Dropped() != fed) std::abort();
  return 0;
}
