#include <gtest/gtest.h>

#include "bytes.h"
#include "link/dispatcher.h"
#include "link/framer.h"
#include "model/hex.h"

namespace {

// Writes down every call, in order, as one text each.
class RecordingSink : public DispatchSink {
 public:
  bool RowSelected = false;
  bool TakesRecords = true;
  std::vector<std::string> Lines;  // log lines
  std::vector<std::string> Calls;  // everything else

  void Log(const std::string& line) override { Lines.push_back(line); }
  void LogBytes(const std::string& label, std::string_view bytes) override {
    Lines.push_back(label + std::string(bytes));
  }
  bool IrEditRowSelected() override { return RowSelected; }
  void IrLearned(std::string_view code) override { Calls.push_back("learned " + BytesToHex(code)); }
  void IrLearnRefused(uint8_t status) override { Calls.push_back("refused " + std::to_string(status)); }
  void Relay(const std::string& ip, const std::string& bytes) override {
    Calls.push_back("relay " + ip + " " + BytesToHex(bytes));
  }
  void NetConfig(const NetSettings& s) override {
    Calls.push_back("net " + s.Ip + " " + s.Port + " " + s.Mask + " " + s.Gateway);
  }
  void SystemInfo(uint8_t which, const std::string& text) override {
    Calls.push_back("info " + BytesToHex(std::string(1, static_cast<char>(which))) + " " + text);
  }
  void TransferAck(std::string_view m) override { Calls.push_back("ack " + BytesToHex(m)); }
  bool ActionRecord(std::string_view r) override {
    Calls.push_back("action " + BytesToHex(r));
    return TakesRecords;
  }
  bool EventRecord(std::string_view r) override {
    Calls.push_back("event " + BytesToHex(r));
    return TakesRecords;
  }
  void Malformed(const std::string&) override { Calls.push_back("malformed"); }

  bool Logged(const std::string& line) const { return std::find(Lines.begin(), Lines.end(), line) != Lines.end(); }
  bool Unclassified() const { return !Lines.empty() && Lines[Lines.size() - 2].rfind("data1 len", 0) == 0; }
};

const std::string kColon = "\xEF\xBC\x9A";

std::string F5(int second, const std::string& rest) { return B({0xF5, second}) + rest; }

TEST(Dispatcher, EveryMessageIsLoggedFirst) {
  RecordingSink s;
  DispatchMessage(kVantor, B({0xF5, 0x21, 0x01}), s);
  ASSERT_GE(s.Lines.size(), 3u);
  EXPECT_EQ(s.Lines[0], "interupt");
  EXPECT_EQ(s.Lines[1], "D Len" + kColon + " 3");
  EXPECT_EQ(s.Lines[2], "Data " + kColon + " F5 21 01 ");
  EXPECT_EQ(s.Calls, std::vector<std::string>{"ack F52101"});
}

TEST(Dispatcher, NetworkSettingsAreDecoded) {
  RecordingSink s;
  // 192.168.1.20, port 3000, mask 255.255.255.0, gateway 192.168.1.1
  DispatchMessage(kVantor, F5(0x11, "00C0A801140BB8FFFFFF00C0A80101"), s);
  EXPECT_EQ(s.Calls, std::vector<std::string>{"net 192.168.1.20 3000 255.255.255.0 192.168.1.1"});
  EXPECT_TRUE(s.Logged("data4 len" + kColon + " 32"));
  EXPECT_TRUE(s.Logged("C0A801140BB8FFFFFF00C0A80101"));
  EXPECT_TRUE(s.Logged("TCP_IP" + kColon + " 192.168.1.20TCP_Port:3000TCP_Mask:255.255.255.0TCP_GW:192.168.1.1"));
}

TEST(Dispatcher, UnreadableFixedFieldsFailTheConnection) {
  const std::string good = "00C0A801140BB8FFFFFF00C0A80101";
  std::string nonHex = good;
  nonHex[20] = 'G';
  for (const std::string& m : {F5(0x11, good.substr(0, 20)), F5(0x11, nonHex), F5(0x44, good.substr(0, 29)),
                               F5(0x30, "00C0A80114"), F5(0x30, "00C0A8011400501X")}) {
    RecordingSink s;
    DispatchMessage(kVantor, m, s);
    EXPECT_EQ(s.Calls, std::vector<std::string>{"malformed"}) << BytesToSpacedHex(m);
  }
}

TEST(Dispatcher, SystemInformation) {
  struct Case {
    std::string Message, Call;
  } cases[] = {
      {F5(0x41, ""), "info 41 Normal"},
      {F5(0x42, "00Vantor1"), "info 42 Vantor1"},
      {F5(0x42, "00Van"), "info 42 Van"},  // short: taken as far as it goes
      {F5(0x43, "00V1.0.1xx"), "info 43 V1.0.1"},
      {F5(0x45, "0000-1A-2B-3C-4D-5E"), "info 45 00-1A-2B-3C-4D-5E"},
      {F5(0x44, "00C0A801140BB8FFFFFF00C0A80101"), "info 44 192.168.1.20\r255.255.255.0\r192.168.1.1\r3000"},
  };
  for (const Case& c : cases) {
    RecordingSink s;
    DispatchMessage(kVantor, c.Message, s);
    EXPECT_EQ(s.Calls, std::vector<std::string>{c.Call}) << c.Message;
  }
  RecordingSink s;
  DispatchMessage(kVantor, F5(0x44, "00C0A801140BB8FFFFFF00C0A80101"), s);
  EXPECT_TRUE(s.Logged("ssTCP_IP" + kColon + " 192.168.1.20TCP_Port:3000TCP_Mask:255.255.255.0TCP_GW:192.168.1.1"));
}

TEST(Dispatcher, RelayCarriesItsDataAsBytes) {
  RecordingSink s;
  DispatchMessage(kVantor, F5(0x30, "007F000003") + "0FA1" + "0003" + "41424G", s);
  // A pair that is not hex is skipped, as the hex helper does.
  EXPECT_EQ(s.Calls, std::vector<std::string>{"relay 127.0.0.3 4142"});
  EXPECT_TRUE(s.Logged("TCP_IP" + kColon + " 127.0.0.3TCP_Port:4001TCPDataLen:3"));

  RecordingSink shortData;
  DispatchMessage(kVantor, F5(0x30, "007F000003") + "0FA1" + "0003" + "4142", shortData);
  EXPECT_TRUE(shortData.Calls.empty());
}

TEST(Dispatcher, IrLearnAnswerReachesTheWaitingRow) {
  RecordingSink s;
  s.RowSelected = true;
  DispatchMessage(kVantor, B({0xF5, 0x10, 0x01, 0x00, 0x03, 0xA1, 0xB2, 0xC3}), s);
  EXPECT_EQ(s.Calls, std::vector<std::string>{"learned 0003A1B2C3"});
  EXPECT_TRUE(s.Logged("data2 len:8"));
  EXPECT_TRUE(s.Logged("IRLen3"));
  EXPECT_TRUE(s.Unclassified());  // it then goes through the dispatch as well

  RecordingSink six;
  six.RowSelected = true;
  DispatchMessage(kQuillet, B({0xF5, 0x10, 0x01, 0x00, 0x01, 0xA1}), six);
  EXPECT_EQ(six.Calls, std::vector<std::string>{"learned 0001A1"});
  EXPECT_TRUE(six.Logged("data2 len" + kColon + " 6"));
  EXPECT_TRUE(six.Logged("IRLen11:1"));
  EXPECT_TRUE(six.Logged("IR2:" + B({0x00, 0x01, 0xA1})));
}

TEST(Dispatcher, IrLearnAnswerNeedsARowAndItsWholeCode) {
  struct Case {
    const Variant* V;
    bool Row;
    std::string Message;
    std::vector<std::string> Calls;
  } cases[] = {
      {&kVantor, false, B({0xF5, 0x10, 0x01, 0x00, 0x01, 0xA1}), {}},
      {&kVantor, true, B({0xF5, 0x10, 0x01, 0x00, 0x05, 0xA1}), {}},  // shorter than its length says
      {&kVantor, true, B({0xF5, 0x10, 0x01, 0x00}), {}},
      {&kVantor, true, B({0xF5, 0x10, 0x00}), {"refused 0"}},
      {&kVantor, true, B({0xF5, 0x10, 0x02}), {}},
      {&kQuillet, true, B({0xF5, 0x10, 0x02}), {"refused 2"}},
      {&kQuillet, false, B({0xF5, 0x10, 0x00}), {}},
  };
  for (const Case& c : cases) {
    RecordingSink s;
    s.RowSelected = c.Row;
    DispatchMessage(*c.V, c.Message, s);
    EXPECT_EQ(s.Calls, c.Calls) << BytesToSpacedHex(c.Message);
    EXPECT_TRUE(s.Unclassified());
  }
}

TEST(Dispatcher, RecordsGoToTheUploadOrAreUnclassified) {
  const std::string action = B({0xF5, 0x51, 0x01, 0x01, 0x00, 0x01, 0x02, 0x04, 0x03, 0xF6, 0x44, 0xB8});
  const std::string event = B({0xF3, 0x00, 0x01, 0x04, 0x00, 0x01, 0x05, 0xF4, 0x12, 0x34});
  const std::string noF4 = B({0xF3, 0x00, 0x01, 0x04, 0x00, 0x01, 0x05, 0xF0, 0x12, 0x34});
  RecordingSink s;
  DispatchMessage(kVantor, action, s);
  DispatchMessage(kVantor, event, s);
  EXPECT_EQ(s.Calls, (std::vector<std::string>{"action " + BytesToHex(action), "event " + BytesToHex(event)}));
  EXPECT_FALSE(s.Unclassified());

  RecordingSink none;
  none.TakesRecords = false;
  DispatchMessage(kVantor, event, none);
  EXPECT_TRUE(none.Unclassified());

  RecordingSink bad;
  DispatchMessage(kVantor, noF4, bad);
  EXPECT_TRUE(bad.Calls.empty());
  EXPECT_TRUE(bad.Unclassified());
  EXPECT_EQ(bad.Lines.back(), "ID1" + kColon + " " + noF4);
}

TEST(Dispatcher, UnknownMessagesAreOnlyLogged) {
  for (const std::string& m : {B({0x01}), B({0xF5}), B({0xF5, 0x99, 0x01}), B({0xF3, 0xF4})}) {
    RecordingSink s;
    DispatchMessage(kVantor, m, s);
    EXPECT_TRUE(s.Calls.empty());
    EXPECT_EQ(s.Lines[s.Lines.size() - 2], "data1 len" + kColon + " " + std::to_string(m.size()));
  }
}

}  // namespace
