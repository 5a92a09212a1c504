// The access-code entry on its own, key codes in, steps out: no window.
#include <gtest/gtest.h>

#include "ui/accesscode.h"

namespace {

// Plays keys ("^K" is Ctrl+K, "\r" Enter, "\b" Backspace, "+" keypad +;
// letters are their capitals' codes) and tracks what the window would show.
struct Driver {
  void Keys(const std::string& keys) {
    for (size_t i = 0; i < keys.size(); ++i) {
      if (keys.compare(i, 2, "^K") == 0) {
        Apply(entry.KeyDown(0x4B, true, testVisible));
        ++i;
        continue;
      }
      const char c = keys[i];
      const int vk = c == '+' ? 0x6B : (c >= 'a' && c <= 'z') ? c - 32 : static_cast<unsigned char>(c);
      Apply(entry.KeyDown(vk, false, testVisible));
    }
  }
  void Apply(const AccessCodeEntry::Step& s) {
    if (s.ShowTest) testVisible = true;
    if (s.HideTest) testVisible = false;
    if (s.SetStatus) status = s.Status;
  }
  AccessCodeEntry entry;
  bool testVisible = false;
  std::string status;
};

TEST(AccessCodeEntry, KeySequences) {
  const struct {
    const char* keys;
    std::string status;
    bool entering, testVisible;
  } cases[] = {
      {"KVR5830\r", "", false, false},  // no entry started
      {"^K", "Key:", true, false},
      {"^KKVR5830\r", "Key:", false, true},
      {"^KKVR5830\r^K", "Key:", true, true},  // a new entry, the menu kept
      {"^KKVR5830\r^K^K", "", false, false},  // a second Ctrl+K hides it
      {"^KKV^K", "", true, false},            // hidden: the entry only empties
      {"^KKVX\b", "Key:KV", true, false},     // Backspace takes itself and one more
      {"^KKVR58301", "Key:", true, false},    // an eighth character empties the buffer
      {"^K\b", "Key:", true, false},
      {"^K+", "Key:k", true, false},                // keypad + is the code of "k"
      {"^KKVR5831\r", "Key:KVR5831", true, false},  // a wrong code stays
  };
  for (const auto& c : cases) {
    Driver d;
    d.Keys(c.keys);
    EXPECT_EQ(d.status, c.status) << c.keys;
    EXPECT_EQ(d.entry.Entering(), c.entering) << c.keys;
    EXPECT_EQ(d.testVisible, c.testVisible) << c.keys;
  }
}

}  // namespace
