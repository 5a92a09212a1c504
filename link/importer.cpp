#include "link/importer.h"

#include "model/hex.h"
#include "model/texts.h"

namespace transfer {

namespace {

std::string N(int v) { return std::to_string(v); }

}  // namespace

void RecordImporter::Begin(ImportRoad road) {
  road_ = road;
  // A file's events before its first header are still tried; an upload's
  // have no action to go to.
  SkipEvents = road == ImportRoad::Upload;
  DroppedActions = DroppedEvents = 0;
}

void RecordImporter::Action(const ActionFields& a, const ImportSink& sink) {
  McuActionSum = a.Sum;
  McuActionIndex = a.Index;
  // Set here too, so a dropped header still counts towards the end.
  McuEventSum = a.Header.size() >= 2 ? WordAt(a.Header, 0) : 0;
  const std::string sums = "McuActionSum" + N(McuActionSum) + "McuActionindex" + N(McuActionIndex);
  if (road_ == ImportRoad::File) {
    sink.Log(sums + " " + BytesToSpacedHex(a.Header));
  } else {
    sink.Log(sums);
    sink.Log(kLogFromPanel + BytesToSpacedHex(a.Record));
    if (m_.ActionCount >= kMaxActions) {
      // Taken and dropped: one warning at the end rather than one per record.
      ++DroppedActions;
      SkipEvents = true;
      return;
    }
  }
  // Events of a header that made no action would land in the one before.
  SkipEvents = !sink.AddAction(a.Header);
  if (SkipEvents) sink.Log("action " + N(McuActionIndex) + " not added: its events are skipped");
}

void RecordImporter::Event(const EventFields& e, const ImportSink& sink) {
  McuEventIndex = e.Index;
  sink.Log("McuEventindex" + N(McuEventIndex));
  if (road_ == ImportRoad::File) {
    sink.Log(kLogRecordType + N(e.Type));
    sink.Log(kLogRecordLength + N(e.Length));
    if (SkipEvents) return;
  } else {
    sink.Log(kLogRecordType + N(e.Type) + kLogRecordLength + N(e.Length));
    sink.Log(kLogFromPanel + BytesToSpacedHex(e.Record));
    if (e.Type < 1 || e.Type > 7) return;
    if (SkipEvents) {
      // Decoded, it would land in no action or in the wrong one.
      sink.Log("event " + N(McuEventIndex) + " skipped");
      return;
    }
    const bool live = m_.CurrentAction >= 1 && m_.CurrentAction <= m_.ActionCount;
    if (live && m_.Actions[m_.CurrentAction].EventCount >= kMaxEvents) {
      ++DroppedEvents;
      return;
    }
  }
  if (!sink.AddEvent(e.Type, e.Payload, e.Length))
    sink.Log("event " + N(McuEventIndex) + " of action " + N(McuActionIndex) + " refused");
  if (road_ == ImportRoad::File) Complete(sink);
}

void RecordImporter::Action(const FileHeader& h, const ImportSink& sink) {
  Action(ActionFields{h.ActionSum, h.ActionIndex, h.Bytes, {}}, sink);
}

void RecordImporter::Event(const FileEvent& e, const ImportSink& sink) {
  Event(EventFields{e.Index, e.Type, e.LengthField, e.Payload, {}}, sink);
}

bool RecordImporter::Complete(const ImportSink& sink) const {
  if (McuEventIndex != McuEventSum || McuActionIndex != McuActionSum) return false;
  sink.Log("upload complete!!!");
  return true;
}

}  // namespace transfer
