#pragma once
// What a whole panel message means, and what the program does with it. Plain
// C++: the window side is a sink, so the fuzz target can drive every road.
#include <cstdint>
#include <string>
#include <string_view>

#include "model/variant.h"

// A panel's network settings as texts: "192.168.1.20", "3000" ...
struct NetSettings {
  std::string Ip, Port, Mask, Gateway;
};

class DispatchSink {
 public:
  virtual ~DispatchSink() = default;
  // A debug-log line (UTF-8).
  virtual void Log(const std::string& line) = 0;
  // A label followed by bytes from the wire (code page 936 text).
  virtual void LogBytes(const std::string& label, std::string_view bytes) = 0;

  // The IR editor has a row waiting for a learned code.
  virtual bool IrEditRowSelected() = 0;
  // The two length bytes and the code, for the waiting row.
  virtual void IrLearned(std::string_view lengthAndCode) = 0;
  // A refusal (00) or, in the 6-key build, a long press (02).
  virtual void IrLearnRefused(uint8_t status) = 0;

  // Bytes to write, raw, to every connection of the address.
  virtual void Relay(const std::string& ip, const std::string& bytes) = 0;
  virtual void NetConfig(const NetSettings& s) = 0;
  // 0x41..0x45 and the text for its label (0x44: four lines split by CR).
  virtual void SystemInfo(uint8_t which, const std::string& text) = 0;

  virtual void TransferAck(std::string_view message) = 0;
  // False when no upload takes records from this connection: the message
  // is then logged as unclassified.
  virtual bool ActionRecord(std::string_view record) = 0;
  virtual bool EventRecord(std::string_view record) = 0;

  // The message cannot be read (a short or non-hex fixed field): the
  // connection fails.
  virtual void Malformed(const std::string& reason) = 0;
};

// One whole message (as the framer cuts it), logged, offered to the IR
// editor and handed on by its first two bytes.
void DispatchMessage(const Variant& v, std::string_view message, DispatchSink& sink);

// The F5 11 / F5 44 layout: four hex fields from offset 4. False when the
// message is too short for them or holds a non-hex digit.
bool ParseNetSettings(std::string_view message, NetSettings* out);
