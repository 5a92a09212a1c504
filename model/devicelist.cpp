#include "model/devicelist.h"

#include <algorithm>
#include <utility>

namespace {

// Characters as the list counts them: UTF-16 units of a UTF-8 text, so a
// four-byte character counts twice.
size_t ShownLength(std::string_view utf8) {
  size_t n = 0;
  for (const char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    if ((c & 0xC0) == 0x80) continue;
    n += c >= 0xF0 ? 2 : 1;
  }
  return n;
}

}  // namespace

bool DeviceList::IsFullRow(std::string_view row) { return ShownLength(row) > kLongestShortRow; }

bool DeviceList::IsShownRow(std::string_view row) { return ShownLength(row) > kShownRowOver; }

std::string DeviceList::ShortRow(std::string_view ip, std::string_view port) {
  return std::string(ip) + ' ' + std::string(port) + ' ';
}

std::string DeviceList::FullRow(const DeviceNet& s) { return s.Ip + ' ' + s.Mask + ' ' + s.Gateway + ' ' + s.Port; }

std::string_view DeviceList::AddressOf(std::string_view row) { return row.substr(0, row.find(' ')); }

DeviceList::ShortRowParts DeviceList::SplitShortRow(std::string_view row) {
  const size_t blank = row.find(' ');
  if (blank == std::string_view::npos) return {std::string(row), {}};
  std::string port(row.substr(blank + 1));
  if (!port.empty() && port.back() == ' ') port.pop_back();
  return {std::string(row.substr(0, blank)), std::move(port)};
}

void DeviceList::Assign(std::vector<std::string> rows) { rows_ = std::move(rows); }

void DeviceList::Add(std::string row) {
  rows_.push_back(std::move(row));
  Tell(Change::Added, Count() - 1);
}

bool DeviceList::Lists(std::string_view text) const {
  return std::find(rows_.begin(), rows_.end(), text) != rows_.end();
}

bool DeviceList::AddIfAbsent(std::string row) {
  if (Lists(row)) return false;
  Add(std::move(row));
  return true;
}

bool DeviceList::AddConnection(const std::string& ip, unsigned port) {
  if (Lists(ip)) return false;
  Add(ShortRow(ip, std::to_string(port)));
  return true;
}

void DeviceList::Remove(int r) {
  if (r < 0 || r >= Count()) return;
  rows_.erase(rows_.begin() + r);
  Tell(Change::Removed, r);
}

void DeviceList::Clear() {
  rows_.clear();
  Tell(Change::Cleared, -1);
}

bool DeviceList::HasFullRow(std::string_view ip) const {
  return std::any_of(rows_.begin(), rows_.end(),
                     [ip](const std::string& row) { return IsFullRow(row) && AddressOf(row) == ip; });
}

int DeviceList::ShownRow() const {
  const auto shown = std::find_if(rows_.begin(), rows_.end(), [](const std::string& row) { return IsShownRow(row); });
  return shown != rows_.end() ? static_cast<int>(shown - rows_.begin()) : Count() - 1;
}

DeviceList::NetMerge DeviceList::MergeNetSettings(const DeviceNet& s) {
  const std::string full = FullRow(s);
  const std::string shortRow = ShortRow(s.Ip, s.Port);
  NetMerge m;
  m.NewDeviceRow = true;
  for (int r = 0; r < Count();) {
    const std::string& text = Row(r);
    if (text == full) {
      m.NewDeviceRow = false;
      break;
    }
    Say(shortRow);
    Say(text);
    if (text == shortRow)
      Remove(r);
    else
      ++r;
  }
  if (!m.NewDeviceRow) {
    Say("err");
    return m;
  }
  Add(full);
  m.Shown = ShownRow();
  return m;
}

void DeviceList::Tell(Change::Kind what, int row) {
  if (Changed) Changed(Change{what, row});
}

void DeviceList::Say(const std::string& line) {
  if (Log) Log(line);
}
