#include "model/actions.h"
#include "model/keyactions.h"

#include <gtest/gtest.h>

#include "bytes.h"

namespace {

TEST(Codes, KeyAndActionCodes) {
  EXPECT_EQ(ActionCodeOfKind("Press"), 1);
  EXPECT_EQ(ActionCodeOfKind("Release"), 2);
  EXPECT_EQ(ActionCodeOfKind("Toggle"), 3);
  EXPECT_EQ(ActionCodeOfKind("Left-handed"), 1);
  EXPECT_EQ(ActionCodeOfKind("Right-handed"), 2);
  EXPECT_EQ(ActionCodeOfKind("press"), 0);
  EXPECT_EQ(KeyCodeOfName("Key1"), 1);
  EXPECT_EQ(KeyCodeOfName("Key10"), 10);
  EXPECT_EQ(KeyCodeOfName("Key11"), 0);
  EXPECT_EQ(KeyCodeOfName("key1"), 0);
}

TEST(Codes, LookupsOutsideTheRowsGiveZero) {
  ConfigModel m;
  ASSERT_EQ(AddKeyAction(m, kVantor, 4, "Release", 0), AddActionOutcome::Added);
  EXPECT_EQ(KeyCodeOf(m, 1), 4);
  EXPECT_EQ(ActionCodeOf(m, 1), 2);
  EXPECT_EQ(KeyCodeOf(m, 0), 0);
  EXPECT_EQ(KeyCodeOf(m, 2), 0);
  EXPECT_EQ(ActionCodeOf(m, 101), 0);
}

struct HeaderCase {
  const Variant* v;
  int key;
  const char* kind;
  int group;
  std::string header;
};

TEST(KeyActions, HeaderBytesOfBothBuilds) {
  const HeaderCase cases[] = {
      {&kVantor, 2, "Toggle", 4, B({0x02, 0x04, 0x03})},
      {&kVantor, 9, "Press", 9, B({0x09, 0x09, 0x01})},
      {&kVantor, 1, "Release", 0, B({0x01, 0x00, 0x02})},
      {&kVantor, 10, "Right-handed", 5, B({0x0A, 0x02, 0x00})},  // group ignored
      {&kVantor, 10, "Left-handed", 0, B({0x0A, 0x01, 0x00})},
      {&kQuillet, 2, "Toggle", 4, B({2 * 32 + 4 * 4 + 3})},
      {&kQuillet, 6, "Release", 6, B({(6 * 32 + 6 * 4 + 2) & 0xFF})},
      {&kQuillet, 1, "Press", 0, B({0x21})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.v->Name) + " key " + std::to_string(c.key) + " " + c.kind);
    ConfigModel m;
    ASSERT_EQ(AddKeyAction(m, *c.v, c.key, c.kind, c.group), AddActionOutcome::Added);
    EXPECT_EQ(m.Actions[1].Header, c.header);
    EXPECT_EQ(m.Actions[1].KeyName, "Key" + std::to_string(c.key));
    EXPECT_EQ(m.Actions[1].Index, "1");
    EXPECT_EQ(m.CurrentAction, 1);
    EXPECT_EQ(m.CurrentEventCount, 0);
  }
}

TEST(KeyActions, DuplicateRuleComparesTheWholeKeyName) {
  ConfigModel m;
  EXPECT_EQ(AddKeyAction(m, kVantor, 3, "Press", 0), AddActionOutcome::Added);
  EXPECT_EQ(AddKeyAction(m, kVantor, 3, "Press", 2), AddActionOutcome::Duplicate);
  EXPECT_EQ(AddKeyAction(m, kVantor, 3, "Release", 0), AddActionOutcome::Added);
  EXPECT_EQ(m.ActionCount, 2);
  // A key 10 action must not block key 1, nor the other way round.
  EXPECT_EQ(AddKeyAction(m, kVantor, 10, "Left-handed", 0), AddActionOutcome::Added);
  EXPECT_EQ(AddKeyAction(m, kVantor, 1, "Left-handed", 0), AddActionOutcome::Added);
  EXPECT_EQ(AddKeyAction(m, kVantor, 10, "Left-handed", 0), AddActionOutcome::Duplicate);
  EXPECT_EQ(m.ActionCount, 4);
  EXPECT_EQ(m.CurrentAction, 4);
}

TEST(KeyActions, KindWithoutCodeOrGroupOutsideTheComboIsRefused) {
  ConfigModel m;
  EXPECT_EQ(AddKeyAction(m, kVantor, 1, "Hold", 0), AddActionOutcome::IllegalKind);
  EXPECT_EQ(AddKeyAction(m, kVantor, 1, "", 0), AddActionOutcome::IllegalKind);
  EXPECT_EQ(AddKeyAction(m, kQuillet, 1, "Press", 7), AddActionOutcome::IllegalKind);
  EXPECT_EQ(AddKeyAction(m, kVantor, 1, "Press", -1), AddActionOutcome::IllegalKind);
  EXPECT_EQ(m.ActionCount, 0);
  EXPECT_EQ(m.CurrentAction, 0);
}

TEST(KeyActions, HundredthActionIsStoredAndTheNextRefused) {
  ConfigModel m;
  // The dialogs' duplicate rule stops at 29 actions; fill the records directly.
  m.ActionCount = 99;
  for (int n = 1; n <= 99; ++n) {
    m.Actions[n].KeyName = "Key1";
    m.Actions[n].ActionKind = "Kind" + std::to_string(n);
  }
  m.Actions[100].EventCount = 7;  // a reused slot
  ASSERT_EQ(AddKeyAction(m, kVantor, 2, "Press", 1), AddActionOutcome::Added);
  EXPECT_EQ(m.ActionCount, 100);
  EXPECT_EQ(m.CurrentAction, 100);
  EXPECT_EQ(m.Actions[100].Index, "100");
  EXPECT_EQ(m.Actions[100].EventCount, 0);
  EXPECT_EQ(m.Actions[100].Header, B({2, 1, 1}));
  EXPECT_EQ(AddKeyAction(m, kVantor, 2, "Release", 1), AddActionOutcome::Full);
  EXPECT_EQ(m.ActionCount, 100);
  EXPECT_EQ(m.CurrentAction, 100);
}

TEST(KeyActions, KeyConfigByte) {
  EXPECT_EQ(KeyConfigByte(1, 0), 0x20);
  EXPECT_EQ(KeyConfigByte(3, 2), 3 * 32 + 8);
  EXPECT_EQ(KeyConfigByte(9, 9), (9 * 32 + 36) & 0xFF);  // low 8 bits
}

}  // namespace
