#include "model/libraries.h"

#include <utility>

#include "model/gbk.h"

LibraryFields SplitLibraryFields(std::string_view bytes) {
  LibraryFields r;
  std::string collected;
  bool opened = false;
  for (char c : bytes) {
    if (c == kLibFieldStart) {
      collected.clear();
      opened = true;
    } else if (c == kLibFieldEnd) {
      r.Fields.push_back(std::move(collected));
      collected.clear();
      opened = false;
    } else {
      collected += c;
    }
  }
  r.DroppedTail = opened || !collected.empty();
  return r;
}

std::string LibraryField(std::string_view text) {
  std::string f;
  f.reserve(text.size() + 2);
  f += kLibFieldStart;
  f += text;
  f += kLibFieldEnd;
  return f;
}

bool HoldsFieldMark(std::string_view text) {
  return text.find_first_of(std::string_view("\x01\x04", 2)) != std::string_view::npos;
}

bool IsLibraryFileName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  constexpr std::string_view kRefused = "/\\:*?\"<>|";
  for (size_t i = 0; i < name.size(); ++i) {
    if (GbkCharLength(name, i) == 2) {
      ++i;  // one double-byte character
      continue;
    }
    const uint8_t c = ByteAt(name, i);
    if (c < 0x20 || c == 0x7F || kRefused.find(static_cast<char>(c)) != std::string_view::npos) return false;
  }
  return true;
}
