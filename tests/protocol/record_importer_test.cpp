// "Open" and "Upload" through the one importer: the same records reach the
// sink as the same adds, and each road writes the log lines it always wrote.
#include "link/importer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "bytes.h"
#include "model/hex.h"
#include "model/projectfile.h"
#include "panelsim_frames.h"

namespace {

using simtest::EventFrame;
using simtest::Word;
using transfer::ImportRoad;
using transfer::RecordImporter;

// What the sink was asked, in order; answers as told.
struct Recorder {
  std::vector<std::string> Adds;      // "action <hex>", "event <type> <n> <hex>"
  std::vector<std::string> Lines;     // the debug log
  std::vector<std::string> Payloads;  // each event payload as handed over
  int RefuseAction = 0;               // the nth AddAction makes no action (0: none)
  bool AddEvents = true;
  int actionCalls = 0;

  transfer::ImportSink Sink() {
    return {
        [this](std::string_view header) {
          Adds.push_back("action " + BytesToSpacedHex(header));
          return ++actionCalls != RefuseAction;
        },
        [this](int type, std::string_view payload, int n) {
          // Compared through n; from a panel the closing F4 follows (Payloads).
          Adds.push_back("event " + std::to_string(type) + " " + std::to_string(n) + " " +
                         BytesToSpacedHex(payload.substr(0, static_cast<size_t>(n))));
          Payloads.emplace_back(payload);
          return AddEvents;
        },
        [this](const std::string& line) { Lines.push_back(line); },
    };
  }
};

std::string KeyHeader(const Variant& v, int key) { return v.PackedHeader ? B({key * 32 + 4 + 1}) : B({key, 1, 1}); }

// Two actions: a Delay and an LED event, then an RS232 event.
ConfigModel TwoActions(const Variant& v) {
  ConfigModel m;
  m.ActionCount = 2;
  m.Actions[1].Header = KeyHeader(v, 2);
  m.Actions[1].EventCount = 2;
  m.Actions[1].Events[1].Frame = EventFrame(1, 4, B({1, 2, 3}));
  m.Actions[1].Events[2].Frame = EventFrame(2, 6, B({3, 1}));
  m.Actions[2].Header = KeyHeader(v, 3);
  m.Actions[2].EventCount = 1;
  m.Actions[2].Events[1].Frame = EventFrame(1, 1, B({0x01, 0x38, 200, 150, 0x00, 'A'}));
  return m;
}

// The records a panel sends for the model: F5 51 A i count header F6 CRC,
// and each event frame with its CRC.
std::vector<std::string> PanelRecords(const ConfigModel& m) {
  std::vector<std::string> out;
  for (int a = 1; a <= m.ActionCount; ++a) {
    const TActionList& act = m.Actions[a];
    std::string r = B({0xF5, 0x51, m.ActionCount, a}) + Word(act.EventCount) + act.Header + B({0xF6});
    out.push_back(r + Crc16Bytes(r));
    for (int e = 1; e <= act.EventCount; ++e) out.push_back(act.Events[e].Frame + Crc16Bytes(act.Events[e].Frame));
  }
  return out;
}

// "Open" of the model's "Save as" file.
void ThroughFile(const Variant& v, RecordImporter& imp, const ConfigModel& m, Recorder& rec) {
  const ProjectReadResult read = ReadProjectFile(v, BuildSaveAsFile(v, m));
  EXPECT_TRUE(read.Log.empty());
  const transfer::ImportSink sink = rec.Sink();
  imp.Begin(ImportRoad::File);
  for (const ProjectRecord& r : read.Records) {
    if (const auto* h = std::get_if<FileHeader>(&r)) imp.Action(*h, sink);
    if (const auto* e = std::get_if<FileEvent>(&r)) imp.Event(*e, sink);
  }
}

// The upload of the same records, asking after each event as the window does
// once it has answered; returns how many times the upload was complete.
int ThroughUpload(const Variant& v, RecordImporter& imp, const ConfigModel& m, Recorder& rec) {
  const transfer::ImportSink sink = rec.Sink();
  imp.Begin(ImportRoad::Upload);
  int complete = 0;
  for (const std::string& r : PanelRecords(m)) {
    if (static_cast<uint8_t>(r[0]) == 0xF5) {
      EXPECT_TRUE(transfer::CheckActionRecord(v, r).Ok());
      imp.Action(transfer::ParseActionRecord(r), sink);
    } else {
      EXPECT_TRUE(transfer::CheckEventRecord(r).Ok());
      imp.Event(transfer::ParseEventRecord(r), sink);
      complete += imp.Complete(sink);
    }
  }
  return complete;
}

// Either road; the times an upload was complete (a file: 0).
int Through(ImportRoad road, const Variant& v, RecordImporter& imp, const ConfigModel& m, Recorder& rec) {
  if (road == ImportRoad::Upload) return ThroughUpload(v, imp, m, rec);
  ThroughFile(v, imp, m, rec);
  return 0;
}

std::vector<std::string> LinesWith(const Recorder& rec, const char* word) {
  std::vector<std::string> out;
  for (const std::string& l : rec.Lines)
    if (l.find(word) != std::string::npos) out.push_back(l);
  return out;
}

TEST(ImportRoads, FileAndUploadHandTheSameRecordsToTheSink) {
  for (const Variant* v : {&kVantor, &kQuillet}) {
    SCOPED_TRACE(v->Name);
    const ConfigModel m = TwoActions(*v);
    const ConfigModel target;  // the window's model, empty: nothing is dropped
    RecordImporter fileRoad(target), uploadRoad(target);
    Recorder file, upload;
    ThroughFile(*v, fileRoad, m, file);
    EXPECT_EQ(ThroughUpload(*v, uploadRoad, m, upload), 1);

    const std::string h1 = BytesToSpacedHex(Word(2) + KeyHeader(*v, 2));
    const std::string h2 = BytesToSpacedHex(Word(1) + KeyHeader(*v, 3));
    const std::vector<std::string> adds = {"action " + h1, "event 4 3 01 02 03 ", "event 6 2 03 01 ", "action " + h2,
                                           "event 1 6 01 38 C8 96 00 41 "};
    EXPECT_EQ(file.Adds, adds);
    EXPECT_EQ(upload.Adds, adds);
    // From a panel the closing F4 rides along, as it always did.
    ASSERT_EQ(upload.Payloads.size(), file.Payloads.size());
    for (size_t i = 0; i < file.Payloads.size(); ++i) EXPECT_EQ(upload.Payloads[i], file.Payloads[i] + "\xF4");

    for (const RecordImporter* imp : {&fileRoad, &uploadRoad}) {
      EXPECT_EQ(imp->McuActionSum, 2);
      EXPECT_EQ(imp->McuActionIndex, 2);
      EXPECT_EQ(imp->McuEventSum, 1);
      EXPECT_EQ(imp->McuEventIndex, 1);
    }
  }
}

TEST(ImportRoads, EachRoadWritesItsOwnLogLines) {
  const ConfigModel m = TwoActions(kVantor);
  const ConfigModel target;
  const std::vector<std::string> recs = PanelRecords(m);
  auto ss = [&](size_t i) { return "ss" + BytesToSpacedHex(recs[i]); };
  struct Case {
    ImportRoad road;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {ImportRoad::File,
       {"McuActionSum2McuActionindex1 00 02 02 01 01 ", "McuEventindex1", "itype4", "len:3", "McuEventindex2", "itype6",
        "len:2", "McuActionSum2McuActionindex2 00 01 03 01 01 ", "McuEventindex1", "itype1", "len:6",
        "upload complete!!!"}},
      {ImportRoad::Upload,
       {"McuActionSum2McuActionindex1", ss(0), "McuEventindex1", "itype4len:3", ss(1), "McuEventindex2", "itype6len:2",
        ss(2), "McuActionSum2McuActionindex2", ss(3), "McuEventindex1", "itype1len:6", ss(4), "upload complete!!!"}},
  };
  for (const Case& c : cases) {
    RecordImporter imp(target);
    Recorder rec;
    Through(c.road, kVantor, imp, m, rec);
    EXPECT_EQ(rec.Lines, c.lines) << static_cast<int>(c.road);
  }
}

// An action the sink does not make takes its events with it; a file then
// never reports the end when that action was the last, an upload does.
TEST(ImportRoads, EventsOfAnActionNotMadeAreSkipped) {
  struct Case {
    ImportRoad road;
    int refuse;
    std::vector<std::string> skipLines;  // the lines about the skipping, in order
    size_t adds;
    bool complete;
  };
  const Case cases[] = {
      {ImportRoad::File, 1, {"action 1 not added: its events are skipped"}, 3, true},
      {ImportRoad::File, 2, {"action 2 not added: its events are skipped"}, 4, false},
      {ImportRoad::Upload,
       1,
       {"action 1 not added: its events are skipped", "event 1 skipped", "event 2 skipped"},
       3,
       true},
      {ImportRoad::Upload, 2, {"action 2 not added: its events are skipped", "event 1 skipped"}, 4, true},
  };
  const ConfigModel m = TwoActions(kQuillet);
  const ConfigModel target;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.road) << " refusing " << c.refuse);
    RecordImporter imp(target);
    Recorder rec;
    rec.RefuseAction = c.refuse;
    Through(c.road, kQuillet, imp, m, rec);
    EXPECT_EQ(LinesWith(rec, "skipped"), c.skipLines);
    EXPECT_EQ(rec.Adds.size(), c.adds);  // two actions tried, the refused one's events not
    EXPECT_EQ(!rec.Lines.empty() && rec.Lines.back() == "upload complete!!!", c.complete);
  }
}

TEST(ImportRoads, ARefusedEventNamesItsAction) {
  for (ImportRoad road : {ImportRoad::File, ImportRoad::Upload}) {
    const ConfigModel m = TwoActions(kVantor);
    const ConfigModel target;
    RecordImporter imp(target);
    Recorder rec;
    rec.AddEvents = false;
    Through(road, kVantor, imp, m, rec);
    EXPECT_EQ(LinesWith(rec, "refused"),
              (std::vector<std::string>{"event 1 of action 1 refused", "event 2 of action 1 refused",
                                        "event 1 of action 2 refused"}))
        << static_cast<int>(road);
  }
}

// An event of an unknown kind: a file still offers it to the pages (which
// refuse it); an upload answers it without decoding.
TEST(ImportRoads, UnknownKindsReachThePagesOnlyFromAFile) {
  ConfigModel m = TwoActions(kVantor);
  m.Actions[2].Events[1].Frame = EventFrame(1, 9, B({7}));
  const ConfigModel target;
  for (ImportRoad road : {ImportRoad::File, ImportRoad::Upload}) {
    RecordImporter imp(target);
    Recorder rec;
    rec.AddEvents = road == ImportRoad::Upload;
    const int complete = Through(road, kVantor, imp, m, rec);
    const bool offered = rec.Adds.back() == "event 9 1 07 ";
    const bool refused = std::count(rec.Lines.begin(), rec.Lines.end(), "event 1 of action 2 refused") == 1;
    EXPECT_EQ(offered, road == ImportRoad::File);
    EXPECT_EQ(refused, road == ImportRoad::File);
    // The end comes on both roads, a refusal or not.
    EXPECT_EQ(rec.Lines.back(), "upload complete!!!");
    EXPECT_EQ(complete, road == ImportRoad::Upload ? 1 : 0);
  }
}

TEST(UploadRoad, WhatTheListsCannotHoldIsCountedNotAdded) {
  const ConfigModel m = TwoActions(kVantor);

  ConfigModel fullOfActions;
  fullOfActions.ActionCount = kMaxActions;
  RecordImporter actions(fullOfActions);
  Recorder a;
  EXPECT_EQ(ThroughUpload(kVantor, actions, m, a), 1);  // the end still comes: the sums were read
  EXPECT_TRUE(a.Adds.empty());
  EXPECT_EQ(actions.DroppedActions, 2);
  EXPECT_EQ(actions.DroppedEvents, 0);
  EXPECT_EQ(std::count(a.Lines.begin(), a.Lines.end(), "event 1 skipped"), 2);
  EXPECT_EQ(std::count(a.Lines.begin(), a.Lines.end(), "action 1 not added: its events are skipped"), 0);

  ConfigModel fullOfEvents;
  fullOfEvents.ActionCount = 1;
  fullOfEvents.CurrentAction = 1;
  fullOfEvents.Actions[1].EventCount = kMaxEvents;
  RecordImporter events(fullOfEvents);
  Recorder e;
  EXPECT_EQ(ThroughUpload(kVantor, events, m, e), 1);
  EXPECT_EQ(e.Adds.size(), 2u);  // the two actions only
  EXPECT_EQ(events.DroppedActions, 0);
  EXPECT_EQ(events.DroppedEvents, 3);

  // A file leaves it to the pages, which warn; the next upload starts afresh.
  RecordImporter file(fullOfActions);
  Recorder f;
  ThroughFile(kVantor, file, m, f);
  EXPECT_EQ(f.Adds.size(), 5u);
  events.Begin(ImportRoad::Upload);
  EXPECT_EQ(events.DroppedEvents, 0);
  EXPECT_TRUE(events.SkipEvents);
}

// Events before any header: an upload has no action for them, a file still
// offers them.
TEST(ImportRoads, EventsBeforeTheFirstHeader) {
  const ConfigModel target;
  const std::string frame = EventFrame(1, 4, B({1, 2, 3}));
  for (ImportRoad road : {ImportRoad::File, ImportRoad::Upload}) {
    RecordImporter imp(target);
    Recorder rec;
    imp.Begin(road);
    if (road == ImportRoad::File) {
      imp.Event(FileEvent{1, 4, 3, B({1, 2, 3})}, rec.Sink());
    } else {
      imp.Event(transfer::ParseEventRecord(frame + Crc16Bytes(frame)), rec.Sink());
    }
    EXPECT_EQ(rec.Adds.size(), road == ImportRoad::File ? 1u : 0u);
    EXPECT_EQ(rec.Lines.back() == "event 1 skipped", road == ImportRoad::Upload);
  }
}

}  // namespace
