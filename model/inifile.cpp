#include "model/inifile.h"

#include "model/fileio.h"

#include <optional>
#include <vector>

namespace {

struct Line {
  std::string_view Text;   // without its line break
  std::string_view Break;  // "\r\n", "\n", "\r" or empty at the end
};

std::vector<Line> SplitLines(std::string_view s) {
  std::vector<Line> lines;
  size_t at = 0;
  while (at < s.size()) {
    size_t end = s.find_first_of("\r\n", at);
    if (end == std::string_view::npos) {
      lines.push_back({s.substr(at), {}});
      break;
    }
    size_t brk = (s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n') ? 2 : 1;
    lines.push_back({s.substr(at, end - at), s.substr(end, brk)});
    at = end + brk;
  }
  return lines;
}

std::string_view TrimBlanks(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 32);
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 32);
    if (x != y) return false;
  }
  return true;
}

// The section name when the line is a section header.
std::optional<std::string_view> SectionOf(std::string_view line) {
  line = TrimBlanks(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return TrimBlanks(line.substr(1, close - 1));
}

struct KeyValue {
  std::string_view Key, Value;
};

std::optional<KeyValue> KeyValueOf(std::string_view line) {
  const std::string_view t = TrimBlanks(line);
  if (t.empty() || t.front() == ';') return std::nullopt;
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return std::nullopt;
  return KeyValue{TrimBlanks(t.substr(0, eq)), TrimBlanks(t.substr(eq + 1))};
}

}  // namespace

std::string IniFile::Read(std::string_view contents, std::string_view section, std::string_view key,
                          std::string_view def) {
  bool inSection = false;
  for (const Line& l : SplitLines(contents)) {
    if (auto s = SectionOf(l.Text)) {
      inSection = SameName(*s, section);
      continue;
    }
    if (!inSection) continue;
    if (auto kv = KeyValueOf(l.Text); kv && SameName(kv->Key, key)) return std::string(kv->Value);
  }
  return std::string(def);
}

std::string IniFile::Write(std::string_view contents, std::string_view section, std::string_view key,
                           std::string_view value) {
  const std::vector<Line> lines = SplitLines(contents);
  const std::string entry = std::string(key) + "=" + std::string(value);

  std::optional<size_t> sectionAt;   // header line of the section
  std::optional<size_t> lastFilled;  // last non-blank line inside it
  std::optional<size_t> keyAt;
  bool inSection = false;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (auto s = SectionOf(lines[i].Text)) {
      if (inSection) break;  // only the first section of that name counts
      inSection = SameName(*s, section);
      if (inSection) {
        sectionAt = i;
        lastFilled = i;
      }
      continue;
    }
    if (!inSection) continue;
    if (!TrimBlanks(lines[i].Text).empty()) lastFilled = i;
    if (auto kv = KeyValueOf(lines[i].Text); kv && SameName(kv->Key, key)) {
      keyAt = i;
      break;
    }
  }

  std::string out;
  out.reserve(contents.size() + entry.size() + section.size() + 8);
  auto emit = [&out](const Line& l, bool forceBreak) {
    out.append(l.Text);
    if (!l.Break.empty())
      out.append(l.Break);
    else if (forceBreak)
      out.append("\r\n");
  };

  if (keyAt) {
    for (size_t i = 0; i < lines.size(); ++i) {
      if (i == *keyAt) {
        out.append(entry);
        out.append(lines[i].Break);
      } else {
        emit(lines[i], false);
      }
    }
    return out;
  }
  if (sectionAt) {
    for (size_t i = 0; i < lines.size(); ++i) {
      emit(lines[i], i == *lastFilled);
      if (i == *lastFilled) out.append(entry).append("\r\n");
    }
    return out;
  }
  for (const Line& l : lines) emit(l, true);
  out.append("[").append(section).append("]\r\n").append(entry).append("\r\n");
  return out;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
  const auto contents = ReadFileBytes(path_);
  if (!contents) return std::string(def);
  return Read(*contents, section, key, def);
}

bool IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value,
                          std::string* why) const {
  FileRead old = ReadRegularFile(path_);
  std::error_code ec;
  if (!old.Bytes && std::filesystem::exists(path_, ec)) {
    if (why) *why = "it cannot be read (" + old.Why + ")";
    return false;
  }
  return WriteFileReplacing(path_, Write(old.Bytes.value_or(std::string{}), section, key, value), why);
}
