#include "model/projectfile.h"

#include <algorithm>
#include <cstdio>

#include "model/decoders.h"
#include "model/hex.h"

namespace {

constexpr unsigned char kRecordStart = 0xF5;
constexpr unsigned char kRecordEnd = 0xF6;
constexpr unsigned char kEventStart = 0xF3;
constexpr unsigned char kEventEnd = 0xF4;
constexpr unsigned char kHeaderLetter = 0x51;   // "Q"
constexpr unsigned char kDeviceLetter = 0x55;   // "U"
constexpr unsigned char kNetworkLetter = 0x56;  // "V"
constexpr size_t kMaxText = 255;                // one length byte
constexpr size_t kMaxDevices = 0xFFFF;          // two count bytes
constexpr size_t kEventOverhead = 7;            // F3, index (2), type, length (2), F4
constexpr size_t kHeaderCrcSpan = 8;

// The sum of the four text lengths that open a panel-settings frame.
size_t TextLengths(std::string_view lengths) {
  return size_t{ByteAt(lengths, 0)} + ByteAt(lengths, 1) + ByteAt(lengths, 2) + ByteAt(lengths, 3);
}

// The writers never reach past the model's arrays, whatever its counters say.
int LiveActions(const ConfigModel& m) { return std::clamp(m.ActionCount, 0, static_cast<int>(m.Actions.size()) - 1); }

int LiveEvents(const TActionList& a) { return std::clamp(a.EventCount, 0, static_cast<int>(a.Events.size()) - 1); }

void SetIndexBytes(std::string& frame, int index) {
  if (frame.size() < 3) return;
  SetWordAt(frame, 1, index);
}

std::string NetworkFrame(const FileNetwork& n) {
  std::string f{static_cast<char>(kRecordStart), static_cast<char>(kNetworkLetter)};
  for (const std::string* t : {&n.Ip, &n.Mask, &n.Gateway, &n.Port}) PutByte(f, t->size());
  f += n.Ip + n.Mask + n.Gateway + n.Port;
  f += static_cast<char>(kRecordEnd);
  return f;
}

std::string DeviceFrame(int count, int row, const std::string& name) {
  std::string f{static_cast<char>(kRecordStart), static_cast<char>(kDeviceLetter)};
  PutWord(f, count);
  PutWord(f, row);
  PutByte(f, name.size());
  f += name;
  f += static_cast<char>(kRecordEnd);
  return f;
}

// Reads frames by their length fields. A frame whose structure does not
// hold is read byte by byte from its start (a record ends at its end mark
// once its length has been collected), and reading by length resumes
// after it, so a file with marks inside its data still reads whole.
class Reader {
 public:
  Reader(const Variant& v, std::string_view in)
      : in_(in),
        headerBody_(4 + static_cast<size_t>(std::max(v.HeaderLength, 0))),
        saveAs_(!(in.size() >= 2 && ByteAt(in, 0) == kRecordStart && ByteAt(in, 1) == kNetworkLetter)) {}

  ProjectReadResult Run() {
    while (pos_ < in_.size()) Step();
    Finish();
    return std::move(out_);
  }

 private:
  enum class State { Idle, Start, InHeader, AwaitEvent, InEvent, InDevice, InNetwork };

  void Step() {
    const int b = ByteAt(in_, pos_);
    switch (state_) {
      case State::Idle:
        ++pos_;
        if (b == kRecordStart) state_ = State::Start;
        break;
      case State::Start:
        ++pos_;
        if (b == kHeaderLetter) {
          if (!TakeHeader()) Fallback(State::InHeader, "header");
        } else if (b == kDeviceLetter) {
          if (!TakeDevice()) Fallback(State::InDevice, "device");
        } else if (b == kNetworkLetter) {
          if (!TakeNetwork()) Fallback(State::InNetwork, "network");
        }
        break;
      case State::InHeader:
        ++pos_;
        if (b == kRecordEnd) {
          if (buf_.size() >= 5) HeaderComplete(buf_);
        } else {
          buf_ += static_cast<char>(b);
        }
        break;
      case State::AwaitEvent:
        if (b == kEventStart && TakeEvent()) break;
        ++pos_;
        if (b == kEventStart) Fallback(State::InEvent, "event");
        break;
      case State::InEvent:
        ++pos_;
        if (b == kEventEnd && buf_.size() > dataLength_ + 4) {
          EventComplete(buf_, nullptr);
        } else {
          buf_ += static_cast<char>(b);
          if (buf_.size() == 5) dataLength_ = WordAt(buf_, 3);
        }
        break;
      case State::InDevice:
        ++pos_;
        if (b == kRecordEnd && buf_.size() > dataLength_) {
          DeviceComplete(buf_);
        } else {
          buf_ += static_cast<char>(b);
          if (buf_.size() == 5) dataLength_ = ByteAt(buf_, 4);
        }
        break;
      case State::InNetwork:
        ++pos_;
        if (b == kRecordEnd && buf_.size() > dataLength_) {
          NetworkComplete(buf_);
        } else {
          buf_ += static_cast<char>(b);
          if (buf_.size() == 4) dataLength_ = TextLengths(buf_);
        }
        break;
    }
  }

  size_t Left() const { return in_.size() - pos_; }

  void Fallback(State s, const char* what) {
    out_.Log.push_back(std::string("malformed ") + what + " frame at byte " + std::to_string(frameStart_) +
                       ", read byte by byte");
    buf_.clear();
    state_ = s;
  }

  // pos_ is just after the record letter.
  bool TakeHeader() {
    frameStart_ = pos_ - 2;
    if (Left() < headerBody_ + 1 || ByteAt(in_, pos_ + headerBody_) != kRecordEnd) return false;
    const std::string_view body = in_.substr(pos_, headerBody_);
    pos_ += headerBody_ + 1;
    HeaderComplete(body);
    return true;
  }

  bool TakeDevice() {
    frameStart_ = pos_ - 2;
    if (Left() < 5) return false;
    const size_t len = ByteAt(in_, pos_ + 4);
    if (Left() < 5 + len + 1 || ByteAt(in_, pos_ + 5 + len) != kRecordEnd) return false;
    const std::string_view body = in_.substr(pos_, 5 + len);
    pos_ += 5 + len + 1;
    dataLength_ = len;
    DeviceComplete(body);
    return true;
  }

  bool TakeNetwork() {
    frameStart_ = pos_ - 2;
    if (Left() < 4) return false;
    const size_t sum = TextLengths(in_.substr(pos_));
    if (Left() < 4 + sum + 1 || ByteAt(in_, pos_ + 4 + sum) != kRecordEnd) return false;
    const std::string_view body = in_.substr(pos_, 4 + sum);
    pos_ += 4 + sum + 1;
    dataLength_ = sum;
    if (frameStart_ == 0) out_.NetworkFirst = true;
    NetworkComplete(body);
    return true;
  }

  // pos_ is at F3.
  bool TakeEvent() {
    frameStart_ = pos_;
    if (Left() < kEventOverhead) return false;
    const size_t len = WordAt(in_, pos_ + 4);
    if (Left() < len + kEventOverhead || ByteAt(in_, pos_ + 6 + len) != kEventEnd) return false;
    const std::string_view frame = in_.substr(pos_, len + kEventOverhead);
    pos_ += frame.size();
    dataLength_ = len;
    EventComplete(frame.substr(1, len + 5), &frame);
    return true;
  }

  // Takes the two CRC bytes after a frame and says whether they match.
  void CheckCrc(std::string_view covered, const std::string& what) {
    const std::string_view got = in_.substr(pos_, std::min<size_t>(2, Left()));
    pos_ += got.size();
    if (got.size() < 2) {
      out_.Log.push_back(what + ": CRC missing");
      return;
    }
    const std::string want = Crc16Bytes(covered);
    if (got != want) out_.Log.push_back(what + ": CRC " + BytesToHex(got) + ", expected " + BytesToHex(want));
  }

  void HeaderComplete(std::string_view body) {
    FileHeader h;
    h.ActionSum = ByteAt(body, 0);
    h.ActionIndex = ByteAt(body, 1);
    h.Bytes = std::string(body.substr(2));
    ++actions_;
    events_ = 0;
    remaining_ = h.EventCount();

    // Every header, however it was read, is followed by its CRC.
    std::string frame{static_cast<char>(kRecordStart), static_cast<char>(kHeaderLetter)};
    frame.append(body.substr(0, kHeaderCrcSpan - 2));
    if (frame.size() < kHeaderCrcSpan) frame += static_cast<char>(kRecordEnd);
    out_.Records.emplace_back(std::move(h));
    CheckCrc(frame, "header " + std::to_string(actions_));

    buf_.clear();
    state_ = remaining_ > 0 ? State::AwaitEvent : State::Idle;
  }

  // body: index (2), type, length (2), payload. frame: F3 .. F4 when it
  // lies in the input as it was read.
  void EventComplete(std::string_view body, const std::string_view* frame) {
    FileEvent e;
    e.Index = WordAt(body, 0);
    e.Type = ByteAt(body, 2);
    e.LengthField = WordAt(body, 3);
    e.Payload = std::string(body.substr(5));
    out_.Records.emplace_back(std::move(e));
    ++events_;

    if (saveAs_) {
      const std::string what = "action " + std::to_string(actions_) + " event " + std::to_string(events_);
      if (frame) {
        CheckCrc(*frame, what);
      } else {
        std::string whole(1, static_cast<char>(kEventStart));
        whole.append(body);
        whole += static_cast<char>(kEventEnd);
        CheckCrc(whole, what);
      }
    }

    buf_.clear();
    --remaining_;
    state_ = remaining_ > 0 ? State::AwaitEvent : State::Idle;
  }

  // body: N (2), h (2), name length, name.
  void DeviceComplete(std::string_view body) {
    FileDevice d;
    if (body.size() > 5) d.Name = std::string(body.substr(5, dataLength_));
    out_.Records.emplace_back(std::move(d));
    buf_.clear();
    state_ = State::Idle;
  }

  // body: l1..l4, the texts.
  void NetworkComplete(std::string_view body) {
    FileNetwork n;
    size_t at = 4;
    int k = 0;
    for (std::string* t : {&n.Ip, &n.Mask, &n.Gateway, &n.Port}) {
      const size_t len = k < static_cast<int>(body.size()) ? ByteAt(body, k) : 0;
      ++k;
      if (at < body.size()) *t = std::string(body.substr(at, len));
      at += len;
    }
    out_.Records.emplace_back(std::move(n));
    buf_.clear();
    state_ = State::Idle;
  }

  void Finish() {
    switch (state_) {
      case State::InHeader:
      case State::InEvent:
      case State::InDevice:
      case State::InNetwork:
        out_.Log.push_back("file ends inside a frame");
        out_.EndsEarly = true;
        break;
      default: break;
    }
    if (remaining_ > 0) {
      out_.EndsEarly = true;
      out_.Log.push_back("action " + std::to_string(actions_) + ": " + std::to_string(remaining_) +
                         " announced events missing");
    }
  }

  const std::string_view in_;
  const size_t headerBody_;  // A, i, count (2), header bytes
  const bool saveAs_;        // event frames are followed by their CRC
  size_t pos_ = 0;
  size_t frameStart_ = 0;
  State state_ = State::Idle;
  std::string buf_;
  size_t dataLength_ = 0;  // shared by all frame kinds: a malformed frame may read the last one's
  long remaining_ = 0;     // events the current header still announces
  int actions_ = 0;
  int events_ = 0;
  ProjectReadResult out_;
};

}  // namespace

int FileHeader::EventCount() const { return Bytes.size() >= 2 ? WordAt(Bytes, 0) : 0; }

ProjectReadResult ReadProjectFile(const Variant& v, std::string_view bytes) { return Reader(v, bytes).Run(); }

bool HoldsProject(const Variant& v, const ProjectReadResult& read) {
  const size_t headerBytes = 2 + static_cast<size_t>(std::max(v.HeaderLength, 0));
  bool anyHeader = false;
  for (const ProjectRecord& rec : read.Records) {
    const auto* h = std::get_if<FileHeader>(&rec);
    if (!h) continue;
    anyHeader = true;
    if (h->Bytes.size() == headerBytes && DecodeActionRecord(v, h->Bytes).Key) return true;
  }
  return !anyHeader && read.NetworkFirst;
}

std::string ActionHeaderFrame(const Variant& v, int actionSum, int index, const TActionList& a) {
  std::string f{static_cast<char>(kRecordStart), static_cast<char>(kHeaderLetter)};
  PutByte(f, actionSum);
  PutByte(f, index);
  PutWord(f, LiveEvents(a));
  // Exactly the build's header length, so the reader finds F6 where it looks.
  std::string header = a.Header;
  header.resize(static_cast<size_t>(std::max(v.HeaderLength, 0)), '\0');
  f += header;
  f += static_cast<char>(kRecordEnd);
  f += Crc16Bytes(std::string_view(f).substr(0, kHeaderCrcSpan));
  return f;
}

std::optional<std::string> BuildSaveFile(const Variant& v, const FileNetwork& net,
                                         const std::vector<std::string>& devices, ConfigModel& m) {
  // Checked before anything is written or the model is touched.
  for (const std::string* t : {&net.Ip, &net.Mask, &net.Gateway, &net.Port})
    if (t->size() > kMaxText) return std::nullopt;
  if (devices.size() > kMaxDevices) return std::nullopt;
  for (const std::string& d : devices)
    if (d.size() > kMaxText) return std::nullopt;

  std::string out = NetworkFrame(net);
  const int n = static_cast<int>(devices.size());
  for (int h = 1; h <= n; ++h) out += DeviceFrame(n, h, devices[h - 1]);

  const int actions = LiveActions(m);
  for (int i = 1; i <= actions; ++i) {
    TActionList& a = m.Actions[i];
    out += ActionHeaderFrame(v, actions, i, a);
    const int events = LiveEvents(a);
    for (int j = 1; j <= events; ++j) {
      std::string& frame = a.Events[j].Frame;
      SetIndexBytes(frame, j);
      out += frame;
    }
  }
  return out;
}

std::string BuildSaveAsFile(const Variant& v, const ConfigModel& m) {
  std::string out;
  const int actions = LiveActions(m);
  for (int i = 1; i <= actions; ++i) {
    const TActionList& a = m.Actions[i];
    out += ActionHeaderFrame(v, actions, i, a);
    const int events = LiveEvents(a);
    for (int j = 1; j <= events; ++j) {
      // Numbered and checked in place: no copy of each frame.
      const size_t at = out.size();
      out += a.Events[j].Frame;
      if (out.size() - at >= 3) SetWordAt(out, at + 1, j);
      PutWord(out, Crc16Modbus(std::string_view(out).substr(at)));
    }
  }
  return out;
}

std::string SaveFileName(const std::tm& local) {
  const int fields[] = {
      ((local.tm_year % 100) + 100) % 100, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
  std::string name;
  for (int f : fields) {
    char two[16];
    std::snprintf(two, sizeof two, "%02d", f);
    name += two;
  }
  return name + ".dat";
}
