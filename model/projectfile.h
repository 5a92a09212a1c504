#pragma once
// Project files ("*.dat"): frames written one after another. "Save" writes
// the panel's address settings, the device list and every action with its
// events; "Save as" writes the actions only, each event followed by its CRC.
// The reader turns a file back into records for the decoders.
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/actions.h"
#include "model/fileio.h"
#include "model/variant.h"

struct FileNetwork {
  std::string Ip, Mask, Gateway, Port;  // the four texts, in this order
};

struct FileDevice {
  std::string Name;  // the device row's text
};

struct FileHeader {
  int ActionSum = 0;    // A: actions announced
  int ActionIndex = 0;  // i: this action's number
  // What the action decoder takes: event count (2 bytes, high first), then
  // the header bytes (3, or 1 packed in the 6-key build).
  // Always 3 bytes or more; exactly 2 + HeaderLength when well-formed.
  std::string Bytes;
  int EventCount() const;
};

struct FileEvent {
  int Index = 0;        // the frame's index bytes
  int Type = 0;         // 1..7 for the known kinds
  int LengthField = 0;  // the frame's payload length field
  std::string Payload;  // the bytes after the length field, F4 excluded
  // Payload holds exactly LengthField bytes when the frame is well-formed;
  // a malformed frame, read byte by byte, holds at least that many.
};

using ProjectRecord = std::variant<FileNetwork, FileDevice, FileHeader, FileEvent>;

struct ProjectReadResult {
  std::vector<ProjectRecord> Records;  // in file order
  std::vector<std::string> Log;        // debug-log lines (CRC mismatches and the like)
  bool EndsEarly = false;              // inside a frame, or before every announced event
  bool NetworkFirst = false;           // begins with a whole panel-settings frame, as "Save" writes
};

// A file that does not begin with F5 56 is a "Save as" file: its event
// frames are followed by their CRC. CRC mismatches are logged, never refused.
ProjectReadResult ReadProjectFile(const Variant& v, std::string_view bytes);

// Whether what was read is a project this build can open: at least one
// action header of the build's length whose key the build has, or, in a
// file with no header at all, the panel settings "Save" writes first.
// Random bytes and the other build's files are not.
bool HoldsProject(const Variant& v, const ProjectReadResult& read);

// F5 51 A i count(2) header F6 CRC; the CRC covers the first 8 bytes.
std::string ActionHeaderFrame(const Variant& v, int actionSum, int index, const TActionList& a);

// "Save": sets each stored frame's index bytes to its position (the model
// keeps them) and returns the file; nothing when a text or name is longer
// than 255 bytes.
std::optional<std::string> BuildSaveFile(const Variant& v, const FileNetwork& net,
                                         const std::vector<std::string>& devices, ConfigModel& m);
// "Save as": the actions only, events at their positions 1..n, each
// followed by its CRC. The model is not changed.
std::string BuildSaveAsFile(const Variant& v, const ConfigModel& m);

// "yymmddhhnnss.dat" for a local time.
std::string SaveFileName(const std::tm& local);
