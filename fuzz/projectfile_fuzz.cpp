// Arbitrary bytes into the project file reader of both builds. Besides the
// sanitizers, checks that what comes out is bounded by what went in, and
// that the records, written again, read back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "model/decoders.h"
#include "model/projectfile.h"

namespace {

void Check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "invariant broken: %s\n", what);
  std::abort();
}

std::string Frame(int index, int type, const std::string& payload) {
  const size_t n = payload.size();
  std::string f{'\xF3',
                static_cast<char>(index >> 8),
                static_cast<char>(index),
                static_cast<char>(type),
                static_cast<char>(n >> 8),
                static_cast<char>(n)};
  return f + payload + '\xF4';
}

// The records as the writers would produce them again: events renumbered
// and their length fields made true.
struct Project {
  bool HasNetwork = false;
  FileNetwork Net;
  std::vector<std::string> Devices;
  std::vector<std::string> Headers;                   // header bytes only
  std::vector<std::vector<const FileEvent*>> Events;  // per header
};

Project Collect(const Variant& v, const ProjectReadResult& r, size_t inputSize) {
  Project p;
  size_t consumed = 0;
  for (const ProjectRecord& rec : r.Records) {
    if (const auto* n = std::get_if<FileNetwork>(&rec)) {
      consumed += n->Ip.size() + n->Mask.size() + n->Gateway.size() + n->Port.size() + 3;
      p.HasNetwork = true;
      p.Net = *n;
    } else if (const auto* d = std::get_if<FileDevice>(&rec)) {
      consumed += d->Name.size() + 3;
      p.Devices.push_back(d->Name);
    } else if (const auto* h = std::get_if<FileHeader>(&rec)) {
      Check(h->Bytes.size() >= 3, "header shorter than count and one header byte");
      Check(h->ActionSum >= 0 && h->ActionSum <= 0xFF && h->ActionIndex >= 0 && h->ActionIndex <= 0xFF, "A or i");
      consumed += h->Bytes.size() + 5;
      std::string header = h->Bytes.substr(2);
      header.resize(static_cast<size_t>(v.HeaderLength), '\0');
      p.Headers.push_back(header);
      p.Events.emplace_back();
    } else {
      const auto& e = std::get<FileEvent>(rec);
      Check(!p.Headers.empty(), "event before any header");
      Check(e.Payload.size() >= static_cast<size_t>(e.LengthField), "payload shorter than its length field");
      Check(e.Index >= 0 && e.Index <= 0xFFFF && e.Type >= 0 && e.Type <= 0xFF && e.LengthField >= 0 &&
                e.LengthField <= 0xFFFF,
            "event fields");
      consumed += e.Payload.size() + 7;
      p.Events.back().push_back(&e);
    }
  }
  Check(consumed <= inputSize, "records larger than the input");
  Check(r.Log.size() <= 2 * r.Records.size() + 3, "log lines");
  return p;
}

ConfigModel& SharedModel() {
  static ConfigModel m;  // built once: a model is large
  return m;
}

// Writes what was read and reads it again; both must agree exactly.
void RoundTrip(const Variant& v, const Project& p) {
  if (p.Headers.size() > static_cast<size_t>(kMaxActions)) return;
  ConfigModel& m = SharedModel();
  m.ActionCount = static_cast<int>(p.Headers.size());
  for (size_t i = 0; i < p.Headers.size(); ++i) {
    if (p.Events[i].size() > static_cast<size_t>(kMaxEvents)) return;
    TActionList& a = m.Actions[i + 1];
    a.Header = p.Headers[i];
    a.EventCount = static_cast<int>(p.Events[i].size());
    for (size_t j = 0; j < p.Events[i].size(); ++j) {
      const FileEvent& e = *p.Events[i][j];
      if (e.Payload.size() > 0xFFFF) return;
      a.Events[j + 1].Frame = Frame(static_cast<int>(j + 1), e.Type, e.Payload);
    }
  }

  std::string file;
  if (p.HasNetwork || !p.Devices.empty()) {
    const auto save = BuildSaveFile(v, p.Net, p.Devices, m);
    Check(save.has_value(), "Save refused texts the reader produced");
    file = *save;
  } else {
    file = BuildSaveAsFile(v, m);
  }
  const ProjectReadResult again = ReadProjectFile(v, file);
  Check(again.Log.empty(), "a written file logs on reading");

  size_t k = 0;
  const auto next = [&]() -> const ProjectRecord& {
    Check(k < again.Records.size(), "records missing after writing");
    return again.Records[k++];
  };
  if (p.HasNetwork || !p.Devices.empty()) {
    const auto* n = std::get_if<FileNetwork>(&next());
    Check(n && n->Ip == p.Net.Ip && n->Mask == p.Net.Mask && n->Gateway == p.Net.Gateway && n->Port == p.Net.Port,
          "network texts");
    for (const std::string& d : p.Devices) {
      const auto* got = std::get_if<FileDevice>(&next());
      Check(got && got->Name == d, "device name");
    }
  }
  for (size_t i = 0; i < p.Headers.size(); ++i) {
    const auto* h = std::get_if<FileHeader>(&next());
    Check(h && h->ActionSum == static_cast<int>(p.Headers.size() & 0xFF) && h->ActionIndex == static_cast<int>(i + 1) &&
              h->EventCount() == static_cast<int>(p.Events[i].size()) && h->Bytes.substr(2) == p.Headers[i],
          "header");
    for (size_t j = 0; j < p.Events[i].size(); ++j) {
      const auto* e = std::get_if<FileEvent>(&next());
      const FileEvent& want = *p.Events[i][j];
      Check(e && e->Index == static_cast<int>(j + 1) && e->Type == want.Type && e->Payload == want.Payload &&
                e->LengthField == static_cast<int>(want.Payload.size()),
            "event");
    }
  }
  Check(k == again.Records.size(), "extra records after writing");
}

}  // namespace

// Every record of a read goes on to the decoders, as "Open" does; a decoder
// must never read past the payload whatever its length field says.
void Decode(const Variant& v, const ProjectReadResult& r) {
  for (const ProjectRecord& rec : r.Records) {
    if (const auto* h = std::get_if<FileHeader>(&rec)) {
      (void)DecodeActionRecord(v, h->Bytes);
    } else if (const auto* e = std::get_if<FileEvent>(&rec)) {
      const std::string p = e->Payload;  // an exact copy, so ASan sees any overread
      switch (e->Type) {
        case 1: (void)DecodeRs232Event(v, p, e->LengthField); break;
        case 2: (void)DecodeIrEvent(v, p, e->LengthField); break;
        case 3: (void)DecodeTcpEvent(v, p, e->LengthField); break;
        case 4: (void)DecodeDelayEvent(v, p); break;
        case 5: (void)DecodeCompareEvent(v, p, e->LengthField); break;
        case 6: (void)DecodeLedEvent(v, p); break;
        case 7: (void)DecodeToggleEvent(v, p); break;
        default: break;
      }
    }
  }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  for (const Variant* v : {&kVantor, &kQuillet}) {
    const ProjectReadResult r = ReadProjectFile(*v, in);
    Decode(*v, r);
    RoundTrip(*v, Collect(*v, r, size));
  }
  // The decoders on their own, over the raw bytes as a payload.
  for (const Variant* v : {&kVantor, &kQuillet})
    if (size >= 2) {
      const std::string p(in.substr(2));
      const int n = data[0] * 256 + data[1];
      (void)DecodeRs232Event(*v, p, n);
      (void)DecodeIrEvent(*v, p, n);
      (void)DecodeTcpEvent(*v, p, n);
      (void)DecodeCompareEvent(*v, p, n);
      (void)DecodeActionRecord(*v, p);
    }
  return 0;
}
