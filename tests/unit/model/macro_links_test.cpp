#include "model/macro_links.h"

#include "model/text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace corvane {
namespace {

class MacroLinks : public ::testing::Test {
 protected:
  // A library is 530 KiB: keep it off the stack.
  std::unique_ptr<MacroLibrary> lib = std::make_unique<MacroLibrary>();
  ButtonAssignment buttons[kMaxAssignments] = {};

  void SetUp() override {
    for (ButtonAssignment& a : buttons) {
      a.MacroIndex = 77;  // stale bytes from another run
      a.MacroLink = 0xDEADBEEF;
    }
  }
  void SetNames(const std::vector<std::u16string>& names) {
    for (size_t i = 0; i < names.size(); ++i) CopyName(lib->Macros[i].Name, names[i]);
    lib->MacroCount = static_cast<int32_t>(names.size());
  }
  void Name(int button, std::u16string_view name) { CopyName(buttons[button].MacroName, name); }
};

TEST_F(MacroLinks, ResolvesByExactNameTakingTheFirstMatch) {
  SetNames({u"Alpha", u"Beta", u"alpha", u"Beta"});
  struct Case {
    std::u16string name;
    int index;
  };
  const Case cases[] = {
      {u"Alpha", 0},  {u"alpha", 2}, {u"Beta", 1},  // duplicate: the first entry wins
      {u"ALPHA", -1}, {u"Alph", -1}, {u"Alpha ", -1}, {u"", -1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) Name(static_cast<int>(i), cases[i].name);
  ResolveMacroLinks(buttons, kMaxAssignments, *lib);
  for (size_t i = 0; i < std::size(cases); ++i) {
    const ButtonAssignment& a = buttons[i];
    SCOPED_TRACE(std::string(cases[i].name.begin(), cases[i].name.end()));
    EXPECT_EQ(cases[i].index, a.MacroIndex);
    EXPECT_EQ(static_cast<MacroRef>(cases[i].index + 1), a.MacroLink);
    EXPECT_EQ(cases[i].name, NameView(a.MacroName));  // kept also when nothing matched
    const Macro* m = LinkedMacro(a, *lib);
    EXPECT_EQ(cases[i].index < 0 ? nullptr : &lib->Macros[cases[i].index], m);
  }
}

TEST_F(MacroLinks, EntriesBeyondMacroCountAreIgnored) {
  SetNames({u"One", u"Two"});
  lib->MacroCount = 1;
  Name(0, u"Two");
  ResolveMacroLinks(buttons, 1, *lib);
  EXPECT_EQ(-1, buttons[0].MacroIndex);
  EXPECT_EQ(kNoMacroLink, buttons[0].MacroLink);
}

TEST_F(MacroLinks, MatchCopiesTheEntryNameBackOverStaleUnits) {
  SetNames({u"Fire"});
  for (char16_t& u : buttons[0].MacroName) u = u'#';
  buttons[0].MacroName[4] = u'\0';
  buttons[0].MacroName[0] = u'F';
  buttons[0].MacroName[1] = u'i';
  buttons[0].MacroName[2] = u'r';
  buttons[0].MacroName[3] = u'e';
  ResolveMacroLinks(buttons, 1, *lib);
  ASSERT_EQ(0, buttons[0].MacroIndex);
  for (int i = 4; i < kAssignmentNameUnits; ++i) EXPECT_EQ(u'\0', buttons[0].MacroName[i]) << i;
}

TEST_F(MacroLinks, CountIsClamped) {
  SetNames({u"M"});
  for (int i = 0; i < kMaxAssignments; ++i) Name(i, u"M");
  struct Case {
    int count;
    int resolved;
  };
  for (const Case c : {Case{-5, 0}, Case{0, 0}, Case{3, 3}, Case{16, 16}, Case{1000, 16}}) {
    // The array sits inside a larger one whose tail must stay untouched.
    ButtonAssignment wide[kMaxAssignments + 2] = {};
    for (int i = 0; i < kMaxAssignments + 2; ++i) {
      CopyName(wide[i].MacroName, u"M");
      wide[i].MacroIndex = 77;
    }
    ResolveMacroLinks(wide, c.count, *lib);
    for (int i = 0; i < kMaxAssignments + 2; ++i)
      EXPECT_EQ(i < c.resolved ? 0 : 77, wide[i].MacroIndex) << c.count << " at " << i;
  }
  ResolveMacroLinks(nullptr, 4, *lib);  // must not crash
}

TEST_F(MacroLinks, DamagedMacroCountIsLimited) {
  SetNames({u"A"});
  Name(0, u"A");
  lib->MacroCount = -3;
  ResolveMacroLinks(buttons, 1, *lib);
  EXPECT_EQ(-1, buttons[0].MacroIndex);
  lib->MacroCount = 100000;
  ResolveMacroLinks(buttons, 1, *lib);
  EXPECT_EQ(0, buttons[0].MacroIndex);
  EXPECT_EQ(kMaxMacros, MacroCountInUse(*lib));
}

TEST_F(MacroLinks, AssignAndClear) {
  SetNames({u"First", u"Second"});
  ButtonAssignment& a = buttons[0];
  AssignMacro(a, *lib, 1);
  EXPECT_EQ(u"Second", NameView(a.MacroName));
  EXPECT_EQ(1, a.MacroIndex);
  EXPECT_EQ(2u, a.MacroLink);
  EXPECT_EQ(&lib->Macros[1], LinkedMacro(a, *lib));

  ClearMacroAssignment(a);
  EXPECT_EQ(u"", NameView(a.MacroName));
  EXPECT_EQ(-1, a.MacroIndex);
  EXPECT_EQ(kNoMacroLink, a.MacroLink);
  EXPECT_EQ(nullptr, LinkedMacro(a, *lib));

  for (int bad : {-1, 2, kMaxMacros, 1 << 30}) {
    AssignMacro(a, *lib, 0);
    AssignMacro(a, *lib, bad);  // no such entry: cleared, not linked to garbage
    EXPECT_EQ(u"", NameView(a.MacroName)) << bad;
    EXPECT_EQ(-1, a.MacroIndex) << bad;
    EXPECT_EQ(kNoMacroLink, a.MacroLink) << bad;
  }
}

TEST_F(MacroLinks, LinkedMacroRejectsLinksOutsideTheEntriesInUse) {
  SetNames({u"A", u"B"});
  ButtonAssignment a{};
  struct Case {
    MacroRef link;
    int index;
  };
  for (const Case c :
       {Case{0, -1}, Case{1, 0}, Case{2, 1}, Case{3, -1}, Case{129, -1}, Case{0xFFFFFFFFu, -1}}) {
    a.MacroLink = c.link;
    EXPECT_EQ(c.index < 0 ? nullptr : &lib->Macros[c.index], LinkedMacro(a, *lib)) << c.link;
  }
}

// The Macros page removes and renames entries while buttons are linked to them: each button must
// stay on its own macro, as a fresh resolve by name after saving would find it.
TEST_F(MacroLinks, ButtonsStayOnTheirMacroWhenAnotherIsRemovedOrOneIsRenamed) {
  SetNames({u"A", u"B", u"C", u"D"});
  for (int b = 0; b < 4; ++b) AssignMacro(buttons[b], *lib, b);
  ClearMacroAssignment(buttons[4]);

  // RemoveMacro(1) as the store does it: B leaves, C and D move down.
  lib->Macros[1] = lib->Macros[2];
  lib->Macros[2] = lib->Macros[3];
  lib->MacroCount = 3;
  UnlinkRemovedMacro(buttons, 5, 1);
  const struct {
    const char16_t* name;    // what the button keeps
    const char16_t* linked;  // the macro it now encodes, null for none
  } afterRemove[] = {{u"A", u"A"}, {u"B", nullptr}, {u"C", u"C"}, {u"D", u"D"}, {u"", nullptr}};
  for (int b = 0; b < 5; ++b) {
    SCOPED_TRACE(b);
    EXPECT_EQ(afterRemove[b].name, NameView(buttons[b].MacroName));
    const Macro* m = LinkedMacro(buttons[b], *lib);
    if (afterRemove[b].linked == nullptr) {
      EXPECT_EQ(nullptr, m);
      EXPECT_EQ(-1, buttons[b].MacroIndex);
    } else {
      ASSERT_NE(nullptr, m);
      EXPECT_EQ(afterRemove[b].linked, NameView(m->Name));
      EXPECT_EQ(m - lib->Macros, buttons[b].MacroIndex);
    }
  }

  CopyName(lib->Macros[1].Name, u"Charlie");
  RenameLinkedMacro(buttons, 5, *lib, 1);
  EXPECT_EQ(u"Charlie", NameView(buttons[2].MacroName));
  EXPECT_EQ(u"B", NameView(buttons[1].MacroName)) << "an unlinked button keeps its name";
  ResolveMacroLinks(buttons, 5, *lib);
  EXPECT_EQ(1, buttons[2].MacroIndex) << "resolving by name keeps the renamed macro";
  EXPECT_EQ(2, buttons[3].MacroIndex);
  EXPECT_EQ(-1, buttons[1].MacroIndex);

  // Out of range or without assignments: nothing changes.
  const ButtonAssignment before = buttons[0];
  UnlinkRemovedMacro(buttons, 5, -1);
  UnlinkRemovedMacro(nullptr, 5, 0);
  RenameLinkedMacro(buttons, 5, *lib, 3);
  EXPECT_EQ(0, std::memcmp(&before, &buttons[0], sizeof before));
}

}  // namespace
}  // namespace corvane
