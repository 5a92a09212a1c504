#pragma once
// The bytes a simulated panel reads and writes: the framer of what the
// configurator sends and the builders of the panel's answers. Plain byte
// strings and no Qt, so the tests of every frame run fast.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace panelsim {

enum class FrameKind {
  Command,     // F1 cmd ... F2 CR LF
  RecordAck,   // F5 51|53 status F6 CR LF
  EeromClear,  // the line "00" CR LF
  Raw,         // fits nothing above: relayed data, garbage, a frame cut short
};

struct Frame {
  FrameKind Kind = FrameKind::Raw;
  std::string Bytes;
  // The command byte of a Command, 51 or 53 of a RecordAck, else 0.
  uint8_t Code() const;
};

enum class CutResult { Whole, NeedMore, NoMatch };

struct Cut {
  CutResult Result = CutResult::NeedMore;
  size_t Length = 0;  // Whole only
  FrameKind Kind = FrameKind::Raw;
};

// Whether s ends F2 0D 0A, as every command line does.
bool EndsLine(std::string_view s);

// The frame at the front of buf, by the known lengths of what the
// configurator sends. packedHeader: the 6-key build, whose DownloadFrame is
// two bytes shorter. Lengths only: a frame's content is checked by whoever
// handles it.
Cut CutFrame(std::string_view buf, bool packedHeader);

// Cuts the byte stream of one connection into frames. Bytes that fit no
// frame are held until the line has been quiet (the caller's timer) and
// then handed over as one raw frame; so is a frame still unfinished after
// a longer quiet.
class CommandFramer {
 public:
  explicit CommandFramer(bool packedHeader) : packed_(packedHeader) {}

  std::vector<Frame> Feed(std::string_view bytes);
  std::vector<Frame> Flush();

  enum class Waiting { Nothing, Raw, Unfinished };
  Waiting Pending() const;
  void Reset();

  // A 60 or 61 text with no end would otherwise grow without bound.
  static constexpr size_t kMaxBuffer = 1 << 20;

 private:
  bool packed_;
  bool raw_ = false;
  std::string buf_;
};

// IPv4 addresses as 32-bit values, first octet in the high byte.
bool InLoopbackNet(uint32_t address);
// Strict dotted quad: four decimal octets 0..255, no leading zeros.
std::optional<uint32_t> ParseDotted(std::string_view text);
std::string DottedText(uint32_t address);

// The address a discovery datagram names: exactly " IP:a.b.c.d;" with
// a.b.c.d in 127.0.0.0/8, else nothing.
std::optional<uint32_t> DiscoveryAddress(std::string_view datagram);

// F5 cmd 01 (accepted) or F5 cmd 00 (refused): commands 21, 00 and 1F.
std::string TransferAck(uint8_t command, bool accepted);

// F5 11 (answer to 11) or F5 44 (answer to 44): 32 bytes, the fields as
// upper-case hex digits. Bytes 2-3 are not read by the configurator: 00 00.
std::string NetSettingsAnswer(uint8_t code, uint32_t ip, uint16_t port, uint32_t mask, uint32_t gateway);

// F5 41 01: the link status answer, whose content nobody reads.
std::string LinkStatusAnswer();
// F5 code 00 00 and the text cut or blank-padded to width: 42 (7), 43 (6), 45 (17).
std::string SystemTextAnswer(uint8_t code, std::string_view text, size_t width);

// F5 10 01, the code length (2 bytes, high first, plus lengthDelta) and the code.
std::string IrCodeAnswer(std::string_view code, int lengthDelta = 0);
// F5 10 and a bare status: 00 refused, 02 (6-key build) the key was held too long.
std::string IrStatusAnswer(uint8_t status);

// F5 30 00 00, destination, port and data length as hex digits (8, 4, 4),
// then the data as 2n hex digits. lengthDelta makes the length field lie.
std::string RelayFrame(uint32_t destination, uint16_t port, std::string_view data, int lengthDelta = 0);

// F5 51, sum, index, event count (2 bytes), header, F6, then the CRC over
// every byte before it.
std::string ActionRecord(uint8_t sum, uint8_t index, uint16_t eventCount, std::string_view header);
// The stored event frame followed by its CRC.
std::string EventRecord(std::string_view eventFrame);
// The event frame with its payload length field (bytes 4-5) off by delta.
std::string WithLengthDelta(std::string_view eventFrame, int delta);

}  // namespace panelsim
