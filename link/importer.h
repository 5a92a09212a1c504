#pragma once
// One road for the records "Open" reads from a project file and "Upload"
// takes from a panel: the counters, what is skipped or dropped, and the
// debug-log lines are kept here; the window's sink only presses the pages'
// own "Add". Each road keeps the log texts it always wrote.
#include <functional>
#include <string>
#include <string_view>

#include "link/transfer.h"
#include "model/actions.h"
#include "model/projectfile.h"

namespace transfer {

enum class ImportRoad {
  File,    // "Open": the records of a project file
  Upload,  // records a panel sends after "Upload"
};

struct ImportSink {
  // Event count (2) + header; whether an action was made.
  std::function<bool(std::string_view header)> AddAction;
  // n is the length field; whether the event was added.
  std::function<bool(int type, std::string_view payload, int n)> AddEvent;
  std::function<void(const std::string& line)> Log;
};

class RecordImporter {
 public:
  // The model is only read: an upload drops what it could not hold.
  explicit RecordImporter(const ConfigModel& m) : m_(m) {}

  // A load or an upload starts; the four counters carry over, as they always did.
  void Begin(ImportRoad road);
  ImportRoad Road() const { return road_; }

  void Action(const ActionFields& a, const ImportSink& sink);
  void Event(const EventFields& e, const ImportSink& sink);
  void Action(const FileHeader& h, const ImportSink& sink);
  void Event(const FileEvent& e, const ImportSink& sink);

  // Whether the last event of the last action announced has come; logs
  // "upload complete!!!" when it has. An upload asks after answering the
  // record; a file asks after each event it adds.
  bool Complete(const ImportSink& sink) const;

  // What the last records announced.
  int McuActionSum = 0;
  int McuActionIndex = 0;
  int McuEventSum = 0;
  int McuEventIndex = 0;
  bool SkipEvents = true;  // no action was made for the events that come now
  int DroppedActions = 0;  // upload: past the kMaxActions the model holds
  int DroppedEvents = 0;   // upload: past the kMaxEvents an action holds

 private:
  const ConfigModel& m_;
  ImportRoad road_ = ImportRoad::Upload;
};

}  // namespace transfer
