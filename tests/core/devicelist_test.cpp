#include "model/devicelist.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Every change and log line the list reports, in order, as text.
struct DeviceListChanges : ::testing::Test {
  DeviceListChanges() {
    L.Changed = [this](const DeviceList::Change& c) {
      const char* what = c.What == DeviceList::Change::Added     ? "+"
                         : c.What == DeviceList::Change::Removed ? "-"
                                                                 : "clear";
      Events.push_back(std::string(what) + (c.Row >= 0 ? std::to_string(c.Row) : ""));
    };
    L.Log = [this](const std::string& line) { Events.push_back("log " + line); };
  }
  DeviceList L;
  std::vector<std::string> Events;
};

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

TEST(DeviceRows, FullAndShownRowsByLengthAsTheListCountsIt) {
  const std::string e = "\xC3\xA9";              // two bytes, one character
  const std::string zhong = "\xE4\xB8\xAD";      // three bytes, one character
  const std::string smile = "\xF0\x9F\x98\x80";  // four bytes, two units in the list
  const struct {
    std::string row;
    bool full, shown;
  } cases[] = {
      {"255.255.255.255 65535 ", false, false},     // the longest short row
      {"255.255.255.255 65535 x", true, false},     // one longer
      {"1.1.1.1 255.0.0.0 1.1.1.1 ", true, false},  // 26
      {"1.1.1.1 255.0.0.0 1.1.1.1 1", true, true},  // 27
      {Repeat(e, 22), false, false},                // 44 bytes, 22 characters
      {Repeat(e, 23), true, false},
      {Repeat(zhong, 8) + smile + Repeat(" ", 12), false, false},  // 22 units
      {Repeat(zhong, 8) + smile + Repeat(" ", 13), true, false},
      {Repeat(zhong, 27), true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    EXPECT_EQ(DeviceList::IsFullRow(c.row), c.full);
    EXPECT_EQ(DeviceList::IsShownRow(c.row), c.shown);
  }
}

TEST(DeviceRows, ShortRowsSplitIntoAddressAndPort) {
  const struct {
    std::string row, ip, port;
  } cases[] = {
      {"127.0.0.2 4001 ", "127.0.0.2", "4001"},
      {"127.0.0.2 4001", "127.0.0.2", "4001"},
      {"127.0.0.2 4001  ", "127.0.0.2", "4001 "},  // one closing blank goes
      {"127.0.0.2", "127.0.0.2", ""},
      {"127.0.0.2 ", "127.0.0.2", ""},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.row);
    const DeviceList::ShortRowParts p = DeviceList::SplitShortRow(c.row);
    EXPECT_EQ(p.Ip, c.ip);
    EXPECT_EQ(p.Port, c.port);
  }
  EXPECT_EQ(DeviceList::AddressOf("127.0.0.2 4001 "), "127.0.0.2");
  EXPECT_EQ(DeviceList::AddressOf("127.0.0.2"), "127.0.0.2");
}

TEST_F(DeviceListChanges, AConnectionAddsItsShortRowUnlessTheBareAddressIsListed) {
  EXPECT_TRUE(L.AddConnection("127.0.0.2", 4001));
  // Its short row is not its bare address: the panel connecting again gets a second row.
  EXPECT_TRUE(L.AddConnection("127.0.0.2", 4002));
  L.Add("127.0.0.3");
  EXPECT_FALSE(L.AddConnection("127.0.0.3", 4001));
  EXPECT_EQ(L.Rows(), (std::vector<std::string>{"127.0.0.2 4001 ", "127.0.0.2 4002 ", "127.0.0.3"}));
  EXPECT_EQ(Events, (std::vector<std::string>{"+0", "+1", "+2"}));
}

TEST_F(DeviceListChanges, AProjectRecordIsAddedOnlyWhenNoRowReadsTheSame) {
  EXPECT_TRUE(L.AddIfAbsent("192.168.1.9 4001 "));
  EXPECT_FALSE(L.AddIfAbsent("192.168.1.9 4001 "));
  EXPECT_TRUE(L.AddIfAbsent("192.168.1.9 4001"));
  EXPECT_EQ(L.Count(), 2);
  EXPECT_EQ(Events, (std::vector<std::string>{"+0", "+1"}));
}

TEST_F(DeviceListChanges, RemovalsAndClearingAreToldButRowsTakenFromTheViewAreNot) {
  L.Assign({"a", "b", "c"});
  EXPECT_TRUE(Events.empty());
  L.Remove(1);
  L.Remove(5);  // names no row
  EXPECT_EQ(L.Rows(), (std::vector<std::string>{"a", "c"}));
  L.Clear();
  EXPECT_EQ(L.Count(), 0);
  EXPECT_EQ(Events, (std::vector<std::string>{"-1", "clear"}));
}

TEST(DeviceRows, OnlyAFullRowOfTheSameAddressCountsAsKnown) {
  DeviceList l;
  l.Assign({"127.0.0.2 4001 ", "127.0.0.20 255.0.0.0 127.0.0.1 4001", "127.0.0.3 255.0.0.0 127.0.0.1 4001"});
  EXPECT_FALSE(l.HasFullRow("127.0.0.2"));  // a short row, and a longer address
  EXPECT_TRUE(l.HasFullRow("127.0.0.20"));
  EXPECT_TRUE(l.HasFullRow("127.0.0.3"));
  EXPECT_FALSE(l.HasFullRow("127.0.0.4"));
}

TEST(DeviceRows, TheShownRowIsTheFirstLongOneElseTheLast) {
  DeviceList l;
  EXPECT_EQ(l.ShownRow(), -1);
  l.Assign({"127.0.0.2 4001 ", "1.1.1.1 255.0.0.0 1.1.1.1 ", "127.0.0.3 4001 "});
  EXPECT_EQ(l.ShownRow(), 2);
  l.Assign({"127.0.0.2 4001 ", "10.0.0.9 255.0.0.0 10.0.0.1 4001", "127.0.0.3 255.0.0.0 127.0.0.1 4001"});
  EXPECT_EQ(l.ShownRow(), 1);
}

const DeviceNet kPanel{.Ip = "192.168.1.20", .Mask = "255.255.255.0", .Gateway = "192.168.1.1", .Port = "3000"};
const std::string kFull = "192.168.1.20 255.255.255.0 192.168.1.1 3000";
const std::string kShort = "192.168.1.20 3000 ";

TEST_F(DeviceListChanges, SettingsReplaceThePanelsShortRowsWithItsFullRow) {
  L.Assign({"127.0.0.2 4001 ", kShort, "127.0.0.3 4001 ", kShort});
  const DeviceList::NetMerge m = L.MergeNetSettings(kPanel);
  EXPECT_TRUE(m.NewDeviceRow);
  EXPECT_EQ(L.Rows(), (std::vector<std::string>{"127.0.0.2 4001 ", "127.0.0.3 4001 ", kFull}));
  EXPECT_EQ(m.Shown, 2);
  // Two lines for each row looked at: the panel's short row, then the row.
  EXPECT_EQ(Events, (std::vector<std::string>{"log " + kShort, "log 127.0.0.2 4001 ", "log " + kShort, "log " + kShort,
                                              "-1", "log " + kShort, "log 127.0.0.3 4001 ", "log " + kShort,
                                              "log " + kShort, "-2", "+2"}));
}

TEST_F(DeviceListChanges, SettingsAlreadyListedAreRefusedAfterTheRowsBeforeThem) {
  L.Assign({kShort, kFull, kShort});
  const DeviceList::NetMerge m = L.MergeNetSettings(kPanel);
  EXPECT_FALSE(m.NewDeviceRow);
  EXPECT_EQ(m.Shown, -1);
  // The walk stops at the full row; the short row before it has gone, the one after stays.
  EXPECT_EQ(L.Rows(), (std::vector<std::string>{kFull, kShort}));
  EXPECT_EQ(Events, (std::vector<std::string>{"log " + kShort, "log " + kShort, "-0", "log err"}));
}

TEST_F(DeviceListChanges, TheFirstSettingsIntoAnEmptyListAreShown) {
  const DeviceList::NetMerge m = L.MergeNetSettings(kPanel);
  EXPECT_TRUE(m.NewDeviceRow);
  EXPECT_EQ(m.Shown, 0);
  EXPECT_EQ(Events, (std::vector<std::string>{"+0"}));
}

}  // namespace
