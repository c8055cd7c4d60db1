#include "model/macro.h"

#include "model/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace corvane {
namespace {

// Events as (Message, Data) pairs, compared with the first EventCount events of a macro.
using Events = std::vector<std::pair<int32_t, int32_t>>;

Events Valid(const Macro& m) {
  Events out;
  for (int i = 0; i < m.EventCount; ++i) out.emplace_back(m.Events[i].Message, m.Events[i].Data);
  return out;
}

class MacroEdits : public ::testing::Test {
 protected:
  std::unique_ptr<Macro> m = std::make_unique<Macro>();

  void Fill(int count) {
    for (int i = 0; i < count; ++i) m->Events[i] = MacroEvent{kMsgKeyDown, i};
    m->EventCount = count;
    m->Modified = 0;
  }
  // Everything behind the valid events stays zero.
  void ExpectZeroTail() {
    for (int i = m->EventCount; i < kMaxEvents; ++i) {
      ASSERT_EQ(0, m->Events[i].Message) << i;
      ASSERT_EQ(0, m->Events[i].Data) << i;
    }
  }
};

TEST_F(MacroEdits, ClearMacroEmptiesEverything) {
  CopyName(m->Name, u"Name");
  Fill(kMaxEvents);
  m->Modified = 1;
  ClearMacro(*m);
  EXPECT_EQ(u"", NameView(m->Name));
  EXPECT_EQ(0, m->EventCount);
  EXPECT_EQ(0, m->Modified);
  unsigned char zero[sizeof(Macro)] = {};
  EXPECT_EQ(0, std::memcmp(zero, m.get(), sizeof(Macro)));
}

TEST_F(MacroEdits, AppendStoresAtTheEnd) {
  EXPECT_EQ(1, AppendEvent(*m, kMsgKeyDown, 65));
  EXPECT_EQ(1, m->Modified);
  EXPECT_EQ(2, AppendEvent(*m, kMsgDelay, 300));
  EXPECT_EQ(3, AppendEvent(*m, kMsgKeyUp, 65));
  EXPECT_EQ((Events{{256, 65}, {1280, 300}, {257, 65}}), Valid(*m));
  ExpectZeroTail();
}

TEST_F(MacroEdits, InsertShiftsUpAndAcceptsEveryIndexUpToTheCount) {
  Fill(3);  // {256,0} {256,1} {256,2}
  struct Case {
    int index;
    Events want;
  };
  const Case cases[] = {
      {0, {{1, 9}, {256, 0}, {256, 1}, {256, 2}}},
      {1, {{256, 0}, {1, 9}, {256, 1}, {256, 2}}},
      {3, {{256, 0}, {256, 1}, {256, 2}, {1, 9}}},  // index == EventCount appends
  };
  for (const Case& c : cases) {
    Fill(3);
    ASSERT_EQ(4, InsertEvent(*m, c.index, 1, 9)) << c.index;
    EXPECT_EQ(c.want, Valid(*m)) << c.index;
    EXPECT_EQ(1, m->Modified);
  }
}

TEST_F(MacroEdits, DeleteShiftsDownAndZeroesTheFreedEntry) {
  struct Case {
    int index;
    Events want;
  };
  const Case cases[] = {
      {0, {{256, 1}, {256, 2}}},
      {1, {{256, 0}, {256, 2}}},
      {2, {{256, 0}, {256, 1}}},
  };
  for (const Case& c : cases) {
    Fill(3);
    ASSERT_EQ(2, DeleteEvent(*m, c.index)) << c.index;
    EXPECT_EQ(c.want, Valid(*m)) << c.index;
    EXPECT_EQ(1, m->Modified);
    ExpectZeroTail();
  }
  Fill(kMaxEvents);
  ASSERT_EQ(kMaxEvents - 1, DeleteEvent(*m, kMaxEvents - 1));
  EXPECT_EQ(kMaxEvents - 1, m->EventCount);
  ExpectZeroTail();
}

TEST_F(MacroEdits, RefusalsLeaveTheMacroUntouched) {
  struct Case {
    const char* what;
    int count;
    int (*edit)(Macro&);
  };
  const Case cases[] = {
      {"append to a full macro", kMaxEvents, [](Macro& x) { return AppendEvent(x, 256, 1); }},
      {"insert into a full macro", kMaxEvents, [](Macro& x) { return InsertEvent(x, 0, 256, 1); }},
      {"insert past the count", 3, [](Macro& x) { return InsertEvent(x, 4, 256, 1); }},
      {"insert at a negative index", 3, [](Macro& x) { return InsertEvent(x, -1, 256, 1); }},
      {"delete from an empty macro", 0, [](Macro& x) { return DeleteEvent(x, 0); }},
      {"delete at the count", 3, [](Macro& x) { return DeleteEvent(x, 3); }},
      {"delete at a negative index", 3, [](Macro& x) { return DeleteEvent(x, -1); }},
      {"append to a damaged count", kMaxEvents + 1, [](Macro& x) { return AppendEvent(x, 1, 1); }},
      {"insert into a negative count", -1, [](Macro& x) { return InsertEvent(x, 0, 1, 1); }},
      {"delete from a negative count", -1, [](Macro& x) { return DeleteEvent(x, 0); }},
      {"delete from a damaged count", 100000, [](Macro& x) { return DeleteEvent(x, 99999); }},
  };
  for (const Case& c : cases) {
    Fill(c.count < 0 ? 0 : (c.count > kMaxEvents ? kMaxEvents : c.count));
    m->EventCount = c.count;
    const auto before = std::make_unique<Macro>(*m);
    EXPECT_EQ(-1, c.edit(*m)) << c.what;
    EXPECT_EQ(0, std::memcmp(before.get(), m.get(), sizeof(Macro))) << c.what;
  }
}

TEST_F(MacroEdits, FillsToExactlyTheLimit) {
  for (int i = 0; i < kMaxEvents; ++i) ASSERT_EQ(i + 1, AppendEvent(*m, kMsgDelay, i)) << i;
  EXPECT_EQ(kMaxEvents, m->EventCount);
  EXPECT_EQ(-1, AppendEvent(*m, kMsgDelay, 0));
  EXPECT_EQ(kMaxEvents - 1, m->Events[kMaxEvents - 1].Data);
}

}  // namespace
}  // namespace corvane
