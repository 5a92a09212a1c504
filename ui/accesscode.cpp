#include "ui/accesscode.h"

#include "model/texts.h"

namespace {
constexpr int kBackspace = 0x08;
constexpr int kEnter = 0x0D;
constexpr size_t kLongest = 7;
}  // namespace

AccessCodeEntry::Step AccessCodeEntry::KeyDown(int vk, bool ctrl, bool testVisible) {
  Step s;
  const int low = vk & 0xFF;
  if (entering_) {
    if (low != kEnter) buffer_ += static_cast<char>(vk >= 0x60 && vk <= 0x69 ? '0' + (vk - 0x60) : low);
    if (buffer_.size() > kLongest) buffer_.clear();
    // Backspace takes its own character and the one before it.
    if (low == kBackspace && !buffer_.empty()) buffer_.resize(buffer_.size() >= 2 ? buffer_.size() - 2 : 0);
    if ((buffer_ == "kvr5830" || buffer_ == "KVR5830") && low == kEnter) {
      s.ShowTest = true;
      testVisible = true;
      entering_ = false;
      buffer_.clear();
    }
    s.SetStatus = true;
    s.Status = kAccessCodePrompt + buffer_;
  }
  if (ctrl && (low == 0x4B || low == 0x6B)) {
    if (entering_) {
      if (testVisible) entering_ = false;
      buffer_.clear();
      s.HideTest = true;
      s.Status.clear();
    } else {
      entering_ = true;
      buffer_.clear();
      s.Status = kAccessCodePrompt;
    }
    s.SetStatus = true;
  }
  return s;
}

int VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers) {
  const bool keypad = modifiers & Qt::KeypadModifier;
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return key;  // the same codes, capitals
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return (keypad ? 0x60 : 0x30) + (key - Qt::Key_0);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return 0x70 + (key - Qt::Key_F1);
  if (keypad) {
    switch (key) {
      case Qt::Key_Asterisk: return 0x6A;
      case Qt::Key_Plus: return 0x6B;
      case Qt::Key_Comma: return 0x6C;
      case Qt::Key_Minus: return 0x6D;
      case Qt::Key_Period: return 0x6E;
      case Qt::Key_Slash: return 0x6F;
      default: break;
    }
  }
  struct Code {
    int Qt, Vk;
  };
  // A shifted character names the key it is on (a US keyboard).
  static const Code codes[] = {
      {Qt::Key_Backspace, 0x08},    {Qt::Key_Tab, 0x09},        {Qt::Key_Backtab, 0x09},     {Qt::Key_Return, 0x0D},
      {Qt::Key_Enter, 0x0D},        {Qt::Key_Shift, 0x10},      {Qt::Key_Control, 0x11},     {Qt::Key_Alt, 0x12},
      {Qt::Key_AltGr, 0x12},        {Qt::Key_Pause, 0x13},      {Qt::Key_CapsLock, 0x14},    {Qt::Key_Escape, 0x1B},
      {Qt::Key_Space, 0x20},        {Qt::Key_PageUp, 0x21},     {Qt::Key_PageDown, 0x22},    {Qt::Key_End, 0x23},
      {Qt::Key_Home, 0x24},         {Qt::Key_Left, 0x25},       {Qt::Key_Up, 0x26},          {Qt::Key_Right, 0x27},
      {Qt::Key_Down, 0x28},         {Qt::Key_Print, 0x2C},      {Qt::Key_Insert, 0x2D},      {Qt::Key_Delete, 0x2E},
      {Qt::Key_Meta, 0x5B},         {Qt::Key_Menu, 0x5D},       {Qt::Key_NumLock, 0x90},     {Qt::Key_ScrollLock, 0x91},
      {Qt::Key_ParenRight, 0x30},   {Qt::Key_Exclam, 0x31},     {Qt::Key_At, 0x32},          {Qt::Key_NumberSign, 0x33},
      {Qt::Key_Dollar, 0x34},       {Qt::Key_Percent, 0x35},    {Qt::Key_AsciiCircum, 0x36}, {Qt::Key_Ampersand, 0x37},
      {Qt::Key_Asterisk, 0x38},     {Qt::Key_ParenLeft, 0x39},  {Qt::Key_Semicolon, 0xBA},   {Qt::Key_Colon, 0xBA},
      {Qt::Key_Equal, 0xBB},        {Qt::Key_Plus, 0xBB},       {Qt::Key_Comma, 0xBC},       {Qt::Key_Less, 0xBC},
      {Qt::Key_Minus, 0xBD},        {Qt::Key_Underscore, 0xBD}, {Qt::Key_Period, 0xBE},      {Qt::Key_Greater, 0xBE},
      {Qt::Key_Slash, 0xBF},        {Qt::Key_Question, 0xBF},   {Qt::Key_QuoteLeft, 0xC0},   {Qt::Key_AsciiTilde, 0xC0},
      {Qt::Key_BracketLeft, 0xDB},  {Qt::Key_BraceLeft, 0xDB},  {Qt::Key_Backslash, 0xDC},   {Qt::Key_Bar, 0xDC},
      {Qt::Key_BracketRight, 0xDD}, {Qt::Key_BraceRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},  {Qt::Key_QuoteDbl, 0xDE},
  };
  for (const Code& c : codes)
    if (c.Qt == key) return c.Vk;
  return 0;
}
