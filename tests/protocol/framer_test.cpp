#include "link/framer.h"

#include <gtest/gtest.h>

#include "bytes.h"
#include "model/hex.h"

namespace {

std::vector<std::string> Hex(const std::vector<std::string>& messages) {
  std::vector<std::string> h;
  for (const auto& m : messages) h.push_back(BytesToSpacedHex(m));
  return h;
}

std::string Relay(const std::string& digits) {
  // F5 30, an address and port as 12 hex digits, the length as 4, then the data digits.
  char len[5];
  std::snprintf(len, sizeof len, "%04X", static_cast<unsigned>(digits.size() / 2));
  return B({0xF5, 0x30}) + "7F0000030FA1" + "00" + len + digits;
}

TEST(Framer, KnownLengths) {
  struct Case {
    const char* name;
    std::string message;
  };
  const std::string net = B({0xF5, 0x11}) + std::string(30, '0');
  const Case cases[] = {
      {"ack 21", B({0xF5, 0x21, 0x01})},
      {"ack 00", B({0xF5, 0x00, 0x00})},
      {"ack 1F", B({0xF5, 0x1F, 0x01})},
      {"action record", B({0xF5, 0x51, 1, 1, 0, 1, 2, 4, 3, 0xF6, 0x44, 0xB8})},
      {"ir code", B({0xF5, 0x10, 0x01, 0x00, 0x03, 0xA1, 0xB2, 0xC3})},
      {"ir refused", B({0xF5, 0x10, 0x00})},
      {"net config", net},
      {"ip info", B({0xF5, 0x44}) + std::string(30, '1')},
      {"relay", Relay("AABBCC")},
      {"machine type", B({0xF5, 0x42, 0, 0}) + "Vantor "},
      {"version", B({0xF5, 0x43, 0, 0}) + "V1.0.1"},
      {"mac", B({0xF5, 0x45, 0, 0}) + "00-1A-2B-3C-4D-5E"},
      {"event record", B({0xF3, 0, 1, 6, 0, 2, 9, 3, 0xF4, 0x12, 0x34})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Whole, byte by byte, and two in one read.
    MessageFramer whole(kVantor);
    EXPECT_EQ(whole.Feed(c.message), std::vector<std::string>{c.message});
    EXPECT_EQ(whole.Pending(), MessageFramer::Waiting::Nothing);
    MessageFramer bytes(kVantor);
    std::vector<std::string> got;
    for (char ch : c.message)
      for (auto& m : bytes.Feed(std::string_view(&ch, 1))) got.push_back(m);
    EXPECT_EQ(got, std::vector<std::string>{c.message});
    MessageFramer joined(kVantor);
    EXPECT_EQ(joined.Feed(c.message + c.message), (std::vector<std::string>{c.message, c.message}));
  }
  // The 6-key build's action records are two bytes shorter.
  MessageFramer q(kQuillet);
  const std::string rec = B({0xF5, 0x51, 1, 1, 0, 1, 0x53, 0xF6, 0x11, 0x22});
  EXPECT_EQ(q.Feed(rec + B({0xF5, 0x21, 0x01})), (std::vector<std::string>{rec, B({0xF5, 0x21, 0x01})}));
}

TEST(Framer, SplitAnswersWaitForTheirRest) {
  MessageFramer f(kVantor);
  const std::string mac = B({0xF5, 0x45, 0, 0}) + "00-1A-2B-3C-4D-5E";
  EXPECT_TRUE(f.Feed(mac.substr(0, 9)).empty());
  EXPECT_EQ(f.Pending(), MessageFramer::Waiting::Unfinished);
  EXPECT_EQ(f.Feed(mac.substr(9)), std::vector<std::string>{mac});
  // Still short when patience runs out: handled as it stands.
  EXPECT_TRUE(f.Feed(B({0xF5, 0x11, '0'})).empty());
  EXPECT_EQ(f.Flush(), B({0xF5, 0x11, '0'}));
  EXPECT_EQ(f.Pending(), MessageFramer::Waiting::Nothing);
}

TEST(Framer, UnknownBytesWaitForQuiet) {
  MessageFramer f(kVantor);
  // An answer followed by garbage: the answer now, the garbage after the quiet.
  EXPECT_EQ(Hex(f.Feed(B({0xF5, 0x21, 0x01, 0x99, 0x98}))), std::vector<std::string>{"F5 21 01 "});
  EXPECT_EQ(f.Pending(), MessageFramer::Waiting::Quiet);
  EXPECT_TRUE(f.Feed(B({0xF5, 0x21, 0x01})).empty());  // part of the unknown message until quiet
  EXPECT_EQ(f.Flush(), B({0x99, 0x98, 0xF5, 0x21, 0x01}));
  // F5 41 has no length.
  EXPECT_TRUE(f.Feed(B({0xF5, 0x41, 0x01})).empty());
  EXPECT_EQ(f.Pending(), MessageFramer::Waiting::Quiet);
  f.Flush();
  // An F3 whose length field does not end at F4 is no event record.
  EXPECT_TRUE(f.Feed(B({0xF3, 0, 1, 6, 0, 2, 9, 3, 0x00, 0x12, 0x34})).empty());
  EXPECT_EQ(f.Pending(), MessageFramer::Waiting::Quiet);
  f.Flush();
  // A lying IR length waits (it is handled as it stands later), never reads past the bytes.
  EXPECT_TRUE(f.Feed(B({0xF5, 0x10, 0x01, 0x00, 0x09, 0xA1})).empty());
  EXPECT_EQ(f.Pending(), MessageFramer::Waiting::Unfinished);
  EXPECT_EQ(f.Flush().size(), 6u);
  // A relay whose length digits are not hex is cut at its fixed part.
  const std::string bad = B({0xF5, 0x30}) + "7F0000030FA100ZZZZ";
  EXPECT_EQ(f.Feed(bad + B({0xF5, 0x21, 0x01})), (std::vector<std::string>{bad, B({0xF5, 0x21, 0x01})}));
}

TEST(Framer, TheBufferIsBounded) {
  MessageFramer f(kVantor, 64);
  EXPECT_TRUE(f.Feed(std::string(100, '\x99')).empty());
  EXPECT_EQ(f.Dropped(), 36u);
  EXPECT_EQ(f.Flush().size(), 64u);
  // The longest relay fits the default bound.
  MessageFramer big(kVantor);
  const std::string relay = Relay(std::string(2 * 65535, 'A'));
  ASSERT_EQ(relay.size(), MessageFramer::kLongest);
  EXPECT_EQ(big.Feed(relay).size(), 1u);
  EXPECT_EQ(big.Dropped(), 0u);
}

// Whole messages of every known kind, `count` of them in turn.
std::vector<std::string> Mixed(size_t count) {
  const std::vector<std::string> kinds = {
      B({0xF5, 0x21, 0x01}),
      B({0xF5, 0x11}) + "00C0A801140BB8FFFFFF00C0A80101",
      B({0xF5, 0x00, 0x00}),
      B({0xF3, 0, 1, 6, 0, 2, 9, 3, 0xF4, 0x12, 0x34}),
      B({0xF5, 0x10, 0x01, 0x00, 0x03, 0xA1, 0xB2, 0xC3}),
      Relay("AABBCC"),
      B({0xF5, 0x45, 0, 0}) + "00-1A-2B-3C-4D-5E",
      B({0xF5, 0x51, 1, 1, 0, 1, 2, 4, 3, 0xF6, 0x44, 0xB8}),
  };
  std::vector<std::string> m;
  for (size_t i = 0; i < count; ++i) m.push_back(kinds[i % kinds.size()]);
  return m;
}

std::string Joined(const std::vector<std::string>& messages) {
  std::string s;
  for (const auto& m : messages) s += m;
  return s;
}

TEST(Framer, OneLargeReadOfWholeMessagesLosesNone) {
  struct Case {
    const char* name;
    std::vector<std::string> messages;
    size_t limit;
  };
  const Case cases[] = {
      {"70,000 acks, default bound", std::vector<std::string>(70000, B({0xF5, 0x21, 0x01})), MessageFramer::kLongest},
      {"mixed, default bound", Mixed(20000), MessageFramer::kLongest},
      // A bound barely above the longest message of the mix: every piece still ends in whole messages.
      {"mixed, small bound", Mixed(5000), 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string read = Joined(c.messages);
    ASSERT_GT(read.size(), c.limit);
    MessageFramer f(kVantor, c.limit);
    const std::vector<std::string> got = f.Feed(read);
    EXPECT_EQ(f.Dropped(), 0u);
    EXPECT_EQ(f.Pending(), MessageFramer::Waiting::Nothing);
    ASSERT_EQ(got.size(), c.messages.size());
    EXPECT_TRUE(got == c.messages);
  }
  // The read may end inside a message: its head waits for the next read.
  MessageFramer f(kVantor);
  const std::string read = Joined(std::vector<std::string>(70000, B({0xF5, 0x21, 0x01})));
  EXPECT_EQ(f.Feed(read + B({0xF5, 0x11, '0'})).size(), 70000u);
  EXPECT_EQ(f.Pending(), MessageFramer::Waiting::Unfinished);
  EXPECT_EQ(f.Feed(std::string(29, '0')), std::vector<std::string>{B({0xF5, 0x11}) + std::string(30, '0')});
  EXPECT_EQ(f.Dropped(), 0u);
}

TEST(Framer, TheBoundDropsOnlyWhatCannotFitBehindAnUnfinishedMessage) {
  const std::string ack = B({0xF5, 0x21, 0x01});
  // A relay that announces 100 data bytes (200 digits) and never brings them.
  const std::string longRelayHead = B({0xF5, 0x30}) + "7F0000030FA1" + "0064";
  struct Case {
    const char* name;
    std::string read;
    size_t messages;  // whole messages before the unfinished one
    MessageFramer::Waiting waiting;
  };
  const Case cases[] = {
      {"unfinished after acks", Joined(std::vector<std::string>(50, ack)) + longRelayHead + std::string(300, 'A'), 50,
       MessageFramer::Waiting::Unfinished},
      {"unknown after acks", Joined(std::vector<std::string>(50, ack)) + std::string(300, '\x99') + ack, 50,
       MessageFramer::Waiting::Quiet},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageFramer f(kVantor, 64);
    EXPECT_EQ(f.Feed(c.read).size(), c.messages);
    EXPECT_EQ(f.Pending(), c.waiting);
    // The buffer holds the bound's worth of the message; the rest was dropped and counted.
    EXPECT_EQ(f.Dropped(), c.read.size() - 3 * c.messages - 64);
    EXPECT_EQ(f.Flush(), c.read.substr(3 * c.messages, 64));
    // Afterwards whole messages pass again, whatever their number.
    EXPECT_EQ(f.Feed(Joined(std::vector<std::string>(100, ack))).size(), 100u);
  }
}

}  // namespace
