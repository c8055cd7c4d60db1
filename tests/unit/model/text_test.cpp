#include "model/text.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

TEST(NameView, StopsAtNulOrCapacity) {
  const char16_t withNul[6] = {u'a', u'b', u'\0', u'x', u'y', u'z'};
  EXPECT_EQ(u"ab", NameView(withNul));
  const char16_t full[3] = {u'a', u'b', u'c'};  // no terminator: never read past the field
  EXPECT_EQ(u"abc", NameView(full));
  EXPECT_EQ(u"", NameView(nullptr, 10));
  EXPECT_EQ(u"", NameView(full, 0));
}

TEST(CopyName, CutsTerminatesAndZeroesTheRest) {
  struct Case {
    std::u16string src;
    std::u16string stored;
  };
  const Case cases[] = {
      {u"", u""},
      {u"abc", u"abc"},
      {u"abcd", u"abcd"},                               // exactly capacity - 1
      {u"abcdef", u"abcd"},                             // cut
      {std::u16string(u"abc\xD83D\xDE00", 5), u"abc"},  // pair would be split: dropped whole
      {std::u16string(u"ab\xD83D\xDE00", 4), std::u16string(u"ab\xD83D\xDE00", 4)},
  };
  for (const Case& c : cases) {
    char16_t field[5];
    for (char16_t& u : field) u = u'#';
    CopyName(field, c.src);
    EXPECT_EQ(c.stored, NameView(field)) << std::string(c.src.begin(), c.src.end());
    for (size_t i = c.stored.size(); i < 5; ++i) EXPECT_EQ(u'\0', field[i]) << i;
  }
}

TEST(CopyName, IgnoresEmptyOrNullFields) {
  char16_t one[1] = {u'#'};
  CopyName(one, u"abc");
  EXPECT_EQ(u'\0', one[0]);
  CopyName(nullptr, 4, u"abc");  // must not crash
  CopyName(one, 0, u"abc");
}

TEST(NameEquals, ExactAndCaseSensitive) {
  char16_t field[8];
  CopyName(field, u"Macro");
  EXPECT_TRUE(NameEquals(field, u"Macro"));
  EXPECT_FALSE(NameEquals(field, u"macro"));
  EXPECT_FALSE(NameEquals(field, u"Macro "));
  EXPECT_FALSE(NameEquals(field, u"Macr"));
}

}  // namespace
}  // namespace corvane
