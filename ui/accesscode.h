#pragma once
// The hidden Test menu's access code: Ctrl+K starts an entry, the code and
// Enter show the menu. Keys arrive as Windows virtual-key codes, so the
// entry keeps the quirks of those codes (keypad + is "k", F7 is "v").
#include <Qt>
#include <string>

class AccessCodeEntry {
 public:
  struct Step {
    bool SetStatus = false;  // status panel 5 gets Status
    std::string Status;      // Latin-1
    bool ShowTest = false;
    bool HideTest = false;
  };

  // One key-down; testVisible: whether the Test menu shows now.
  Step KeyDown(int vk, bool ctrl, bool testVisible);

  bool Entering() const { return entering_; }
  const std::string& Buffer() const { return buffer_; }
  void Reset() {
    entering_ = false;
    buffer_.clear();
  }

 private:
  bool entering_ = false;
  std::string buffer_;  // Latin-1, at most 7 characters
};

// The Windows virtual-key code of a Qt key (digits of the keypad 60..69
// hex, letters their capitals), the code the access code is read in; 0
// for a key that has none.
int VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers);
