#include "storage/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane::text {
namespace {

struct DecodeCase {
  const char* name;
  std::string bytes;
  Encoding encoding;
  bool bom;
  std::u16string text;
};

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, DetectsEncodingAndText) {
  const DecodeCase& c = GetParam();
  const DecodedText d = Decode(c.bytes);
  EXPECT_EQ(c.encoding, d.encoding);
  EXPECT_EQ(c.bom, d.bom);
  EXPECT_TRUE(c.text == d.text);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, DecodeTest,
    ::testing::Values(
        DecodeCase{"Empty", "", Encoding::kUtf8, false, u""},
        DecodeCase{"Ascii", "[A]\r\n", Encoding::kUtf8, false, u"[A]\r\n"},
        DecodeCase{"Utf8", "\xE5\xAE\x8F \xD0\xAF", Encoding::kUtf8, false, u"宏 Я"},
        DecodeCase{"Utf8Astral", "\xF0\x9F\x98\x80", Encoding::kUtf8, false, u"\U0001F600"},
        DecodeCase{"Utf8Bom", "\xEF\xBB\xBFk=\xC3\xA9", Encoding::kUtf8, true, u"k=é"},
        DecodeCase{"Utf8BomBrokenByte", "\xEF\xBB\xBF\xE9", Encoding::kUtf8, true, u"\uFFFD"},
        DecodeCase{"Utf16Le", std::string("\xFF\xFE[\0\x8F\x5B]\0", 8), Encoding::kUtf16Le, true,
                   u"[宏]"},
        DecodeCase{"Utf16LeOddByte",
                   std::string("\xFF\xFE"
                               "A\0B",
                               5),
                   Encoding::kUtf16Le, true, u"A\uFFFD"},
        DecodeCase{"Latin1Letter", "caf\xE9", Encoding::kWindows1252, false, u"café"},
        DecodeCase{"EuroSign", "\x80", Encoding::kWindows1252, false, u"€"},
        DecodeCase{"UndefinedByteKept", "\x81\x9D", Encoding::kWindows1252, false, u"\u0081\u009D"},
        DecodeCase{"OverlongIsNotUtf8", "\xC0\x80", Encoding::kWindows1252, false, u"À€"},
        DecodeCase{"SurrogateIsNotUtf8", "\xED\xA0\x80", Encoding::kWindows1252, false,
                   u"í\u00A0€"},
        DecodeCase{"BeyondUnicodeIsNotUtf8", "\xF4\x90\x80\x80", Encoding::kWindows1252, false,
                   u"ô\u0090€€"},
        DecodeCase{"TruncatedIsNotUtf8", "a\xE5\xAE", Encoding::kWindows1252, false, u"aå®"}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
  std::string back;
  ASSERT_TRUE(EncodeWindows1252(Windows1252ToUtf16(all), &back));
  EXPECT_EQ(all, back);
}

TEST(Windows1252, RefusesCharactersOutsideTheCodePage) {
  std::string out;
  EXPECT_TRUE(EncodeWindows1252(u"€é", &out));
  EXPECT_EQ("\x80\xE9", out);
  EXPECT_FALSE(EncodeWindows1252(u"a宏", &out));
  EXPECT_FALSE(EncodeWindows1252(u"\u0100", &out));
  EXPECT_EQ("a?", Encode(u"a宏", Encoding::kWindows1252, false));
}

TEST(Utf8, UnpairedSurrogateEncodesAsReplacement) {
  EXPECT_EQ(
      "a\xEF\xBF\xBD"
      "b",
      Utf16ToUtf8(u"a\xD800"
                  u"b"));
  EXPECT_EQ("\xEF\xBF\xBD", Utf16ToUtf8(std::u16string(1, u'\xDC00')));
  EXPECT_EQ("\xF0\x9F\x98\x80", Utf16ToUtf8(u"\U0001F600"));
  EXPECT_TRUE(IsValidUtf8(Utf16ToUtf8(u"\xDBFF")));
}

TEST(Encode, WritesMarksAndDecodesBack) {
  const std::u16string text = u"[Сохранить]\r\n宏 1=\U0001F600\r\n";
  EXPECT_EQ(std::string("\xFF\xFE[\0", 4), Encode(u"[", Encoding::kUtf16Le, true));
  EXPECT_EQ("\xEF\xBB\xBF[", Encode(u"[", Encoding::kUtf8, true));
  for (Encoding e : {Encoding::kUtf8, Encoding::kUtf16Le}) {
    for (bool bom : {false, true}) {
      if (e == Encoding::kUtf16Le && !bom) continue;  // only a marked UTF-16 file is detected
      const DecodedText d = Decode(Encode(text, e, bom));
      EXPECT_EQ(e, d.encoding);
      EXPECT_EQ(bom, d.bom);
      EXPECT_TRUE(text == d.text);
    }
  }
}

}  // namespace
}  // namespace corvane::text
