#include "storage/macro_name.h"

#include <gtest/gtest.h>

#include <string>

#include "app_folder_fixture.h"
#include "model/text.h"

namespace corvane {
namespace {

std::string Trace(std::u16string_view s) {
  std::string out;
  for (char16_t c : s) out += c < 0x80 ? std::string(1, static_cast<char>(c)) : "?";
  return out;
}

TEST(MacroNameTest, RefusesNamesThatAreNotPlainFilesInTheMacrosFolder) {
  const std::u16string longest(63, u'x');
  struct Case {
    std::u16string name;
    bool valid;
  } cases[] = {
      {u"Fire", true},
      {u"New Macro (2)", true},
      {u"a.b", true},
      {u"Сохранить", true},
      {u"宏 1", true},
      {u"\U0001F600 smile", true},
      {u"x'", true},
      {u"'x", true},
      {u"COM10", true},
      {u"CONSOLE", true},
      {u"LPT", true},
      {u"nul1", true},
      {u"CON (2)", true},
      {longest, true},
      {u"..x", true},
      {u"", false},
      {longest + u"x", false},
      {u"..\\Corvane", false},
      {u"../Corvane", false},
      {u"a/b", false},
      {u"a\\b", false},
      {u"C:x", false},
      {u"a*", false},
      {u"a?", false},
      {u"a\"b", false},
      {u"<a", false},
      {u"a>", false},
      {u"a|b", false},
      {u"a\tb", false},
      {std::u16string(u"a\0b", 3), false},
      {u"a\nb", false},
      {u"\x1F", false},
      {u"a.", false},
      {u"a ", false},
      {u".", false},
      {u"..", false},
      {u" a", false},
      {u"'a'", false},
      {u"CON", false},
      {u"con", false},
      {u"Prn", false},
      {u"AUX", false},
      {u"NUL", false},
      {u"nul.txt", false},
      {u"CON .x", false},
      {u"COM1", false},
      {u"com9", false},
      {u"COM0", false},
      {u"LPT1", false},
      {u"lpt9.ini", false},
      {u"COM\u00B9", false},
      {u"LPT\u00B3", false},
      {u"CONIN$", false},
      {u"conout$", false},
      {u"a\xD800", false},
      {u"\xDC00"
       u"a",
       false},
      {u"\xDC00\xD800", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Trace(c.name));
    EXPECT_EQ(c.valid, IsValidMacroName(c.name));
  }
}

TEST(MacroNameTest, ComparesWithoutRegardToCase) {
  struct Case {
    std::u16string_view a, b;
    bool same;
  } cases[] = {
      {u"Fire", u"FIRE", true},
      {u"fire", u"fIrE", true},
      {u"Fire", u"Fire ", false},
      {u"Ärger", u"äRGER", true},
      {u"çÿ", u"ÇŸ", true},
      {u"÷", u"×", false},
      {u"Сохранить", u"СОХРАНИТЬ", true},
      {u"ёж", u"ЁЖ", true},
      {u"ΣΟΦΊΑ", u"σοφία", true},
      {u"ς", u"Σ", true},
      {u"Łódź", u"ŁÓDŹ", true},
      {u"ａｂ", u"ＡＢ", true},
      {u"宏 1", u"宏 1", true},
      {u"宏 1", u"宏 2", false},
      {u"i", u"İ", false},
      {u"A", u"B", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Trace(c.a));
    EXPECT_EQ(c.same, SameMacroName(c.a, c.b));
    EXPECT_EQ(c.same, SameMacroName(c.b, c.a));
  }
}

TEST(MacroNameTest, UniqueNamesTakeTheFirstFreeNumber) {
  auto library = testing::NewLibrary();
  const std::u16string names[] = {u"New Macro", u"new macro (2)", u"NEW MACRO (4)", u"Fire"};
  for (int i = 0; i < 4; ++i) CopyName(library->Macros[i].Name, names[i]);
  library->MacroCount = 4;
  EXPECT_EQ(u"New Macro (3)", UniqueMacroName(*library, u"New Macro"));
  EXPECT_EQ(u"fire (2)", UniqueMacroName(*library, u"fire"));
  EXPECT_EQ(u"Ice", UniqueMacroName(*library, u"Ice"));
  EXPECT_EQ(u"Fire", UniqueMacroName(*library, u"Fire", 3)) << "an entry may keep its own name";
  EXPECT_EQ(u"CON (2)", UniqueMacroName(*library, u"CON"));
  EXPECT_EQ(u"New Macro (3)", UniqueMacroName(*library, u""));
  EXPECT_EQ(u"New Macro (3)", UniqueMacroName(*library, u" . "));

  // The suffix fits into 63 units: the base is cut, never a surrogate pair halved.
  const std::u16string long63(63, u'L');
  CopyName(library->Macros[4].Name, long63);
  library->MacroCount = 5;
  const std::u16string unique = UniqueMacroName(*library, long63 + u"tail");
  EXPECT_EQ(std::u16string(59, u'L') + u" (2)", unique);
  std::u16string pairs;
  for (int i = 0; i < 32; ++i) pairs += u"\U0001F600";  // 64 units
  EXPECT_EQ(62u, UniqueMacroName(*library, pairs).size());
  // Entries beyond MacroCount do not count.
  library->MacroCount = 0;
  EXPECT_EQ(u"New Macro", UniqueMacroName(*library, u"New Macro"));
}

TEST(MacroNameTest, NamesFromPathsAndUnusableCharacters) {
  const char16_t sep = kFolderSeparator;
  const std::u16string dir = std::u16string(u"x") + sep + u"y.d" + sep;
  EXPECT_EQ(u"Fire", MacroNameFromPath(dir + u"Fire.mcr"));
  EXPECT_EQ(u"Fire.backup", MacroNameFromPath(dir + u"Fire.backup.mcr"));
  EXPECT_EQ(u"Fire", MacroNameFromPath(u"Fire"));
  EXPECT_EQ(u"", MacroNameFromPath(dir + u".mcr"));
  EXPECT_EQ(u"宏 1", MacroNameFromPath(dir + u"宏 1.mcr"));

  EXPECT_EQ(u"a_b_c", UsableMacroName(u"a:b*c"));
  EXPECT_EQ(u"a_b", UsableMacroName(u"a\nb"));
  EXPECT_EQ(u"x", UsableMacroName(u"  x. . "));
  EXPECT_EQ(u"New Macro", UsableMacroName(u""));
  EXPECT_EQ(u"_a", UsableMacroName(u"\xD800"
                                   u"a"));
  EXPECT_EQ(std::u16string(63, u'n'), UsableMacroName(std::u16string(80, u'n')));
  EXPECT_EQ(std::u16string(40, u'n'),
            UsableMacroName(std::u16string(40, u'n') + u" " + std::u16string(30, u'.')));
}

}  // namespace
}  // namespace corvane
