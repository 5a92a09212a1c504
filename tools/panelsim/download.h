#pragma once
// What a download leaves in the simulated panel, and the checks each frame
// of a download passes before the panel acknowledges it. No Qt.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace panelsim {

struct StoredAction {
  uint16_t Number = 0;              // the action number its frames carried
  std::string Header;               // 3 bytes, or 1 packed byte in the 6-key build
  std::vector<std::string> Events;  // event frames F3 ... F4, as they arrived
};
using StoredConfig = std::vector<StoredAction>;

struct Verdict {
  bool Ok = true;
  std::string Why;  // empty when Ok
};

// 90 + the sum over the actions of 6 + 2 x events + 3: where the first
// record goes when no action is empty.
uint32_t FirstRecordAddress(const StoredConfig& actions);

class DownloadChecker {
 public:
  // headerLength: 3, or 1 in the 6-key build.
  explicit DownloadChecker(int headerLength) : headerLength_(headerLength) {}

  // The clear (command 21) was accepted: a new download starts empty.
  void Begin();
  void Abort();
  bool Running() const { return running_; }

  // One whole command-00 frame, CR LF included: its ending, CRC, marker,
  // event frame, action and event order, and address. Accepted frames are
  // staged; a refused one changes nothing.
  Verdict Event(std::string_view frame);
  // The closing frame (command 1F): its address must follow the last
  // record and the first record's address must fit the actions seen. On
  // success the staged actions become Committed() and the download ends;
  // a refused closing leaves the download open for a second try.
  Verdict Close(std::string_view frame);

  const StoredConfig& Staged() const { return staged_; }
  const StoredConfig& Committed() const { return committed_; }

 private:
  Verdict CheckFirstAddress(uint32_t first) const;

  int headerLength_;
  bool running_ = false;
  StoredConfig staged_;
  StoredConfig committed_;
  uint32_t first_ = 0;  // address of the first staged record
  uint32_t next_ = 0;   // address after the last staged record
};

}  // namespace panelsim
