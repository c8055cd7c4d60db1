// The Document API beyond the shared conformance cases: value encodings, names that cannot be
// stored, encodings kept, files that cannot be read or written.
#include "storage/profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "storage/file_io.h"

namespace corvane::profile {
namespace {

namespace fs = std::filesystem;

struct HexCase {
  const char* value;  // nullptr: no key
  uint32_t want;
};

class GetHexTest : public ::testing::TestWithParam<HexCase> {};

TEST_P(GetHexTest, ReadsAsTheSettingsDo) {
  const HexCase& c = GetParam();
  const std::string file =
      c.value ? std::string("[Hardware]\r\nVID=") + c.value + "\r\n" : "[Hardware]\r\n";
  EXPECT_EQ(c.want, Document::Parse(file).GetHex(u"Hardware", u"VID", 0x3a7c)) << file;
}

INSTANTIATE_TEST_SUITE_P(
    Values, GetHexTest,
    ::testing::Values(HexCase{"3a7c", 0x3a7c}, HexCase{"3A7C", 0x3a7c}, HexCase{"0x1f", 0x1f},
                      HexCase{"0X1F", 0x1f}, HexCase{"\" 0x40075\"", 0x40075},
                      HexCase{"4007b", 0x4007b}, HexCase{"12g4", 0x12}, HexCase{"zz", 0},
                      HexCase{"-1", 0}, HexCase{"", 0}, HexCase{"0x", 0},
                      HexCase{"123456789", 0x23456789},  // low 16 bits: the last four digits
                      HexCase{"fffffffff", 0xffffffff}, HexCase{nullptr, 0x3a7c},
                      // Only the first 63 characters count.
                      HexCase{"000000000000000000000000000000000000000000000000000000000000fff"
                              "f",
                              0xfff}));

TEST(Document, IntegersAndHexWriteAsPrintfDoes) {
  Document d;
  EXPECT_TRUE(d.SetInt(u"Hardware", u"Delay", -32));
  EXPECT_TRUE(d.SetInt(u"Hardware", u"Min", INT32_MIN));
  EXPECT_TRUE(d.SetHex(u"Recording", u"RecordingHotkey", 0x4007b));
  EXPECT_TRUE(d.SetHex(u"Recording", u"Zero", 0));
  EXPECT_EQ(
      "[Hardware]\r\nDelay=-32\r\nMin=-2147483648\r\n"
      "[Recording]\r\nRecordingHotkey=4007b\r\nZero=0\r\n",
      d.Serialize());
  EXPECT_EQ(-32, d.GetInt(u"hardware", u"delay", 0));
  EXPECT_EQ(INT32_MIN, d.GetInt(u"Hardware", u"Min", 0));
  EXPECT_EQ(0x4007bu, d.GetHex(u"Recording", u"RecordingHotkey", 1));
}

TEST(Document, StructuresRoundTripAndFailWithoutTouchingTheRecord) {
  unsigned char rec[280];
  for (size_t i = 0; i < sizeof rec; ++i) rec[i] = static_cast<unsigned char>(i * 7 + 1);
  Document d;
  ASSERT_TRUE(d.SetStruct(u"Buttons", u"1", rec, sizeof rec));
  const std::u16string value = *d.Get(u"Buttons", u"1");
  EXPECT_EQ(562u, value.size());
  EXPECT_EQ(u"0108", value.substr(0, 4));
  EXPECT_EQ(std::u16string::npos, value.find_first_of(u"abcdef"));

  unsigned char back[280] = {};
  ASSERT_TRUE(Document::Parse(d.Serialize()).GetStruct(u"Buttons", u"1", back, sizeof back));
  EXPECT_EQ(0, std::memcmp(rec, back, sizeof rec));

  unsigned char keep[8];
  std::memset(keep, 0xAA, sizeof keep);
  EXPECT_FALSE(d.GetStruct(u"Buttons", u"1", keep, sizeof keep));  // wrong size
  EXPECT_FALSE(d.GetStruct(u"Buttons", u"2", keep, sizeof keep));  // missing
  for (unsigned char b : keep) EXPECT_EQ(0xAA, b);

  Document empty;
  EXPECT_TRUE(empty.SetStruct(u"A", u"none", nullptr, 0));
  EXPECT_EQ(u"00", *empty.Get(u"A", u"none"));
  EXPECT_TRUE(empty.GetStruct(u"A", u"none", nullptr, 0));
}

TEST(Document, RefusesNamesThatCannotBeStored) {
  const std::string file = "[A]\r\nk=1\r\n";
  struct Bad {
    std::u16string section, key;
  };
  const Bad bad[] = {{u"", u"k"},
                     {u"A", u""},
                     {u"  ", u"k"},
                     {u"A", u" \t "},
                     {u"A\r\nB", u"k"},
                     {u"A", u"k\nx"},
                     {u"A", u"[B]"},
                     {u"A", u"k=v"},
                     {u"A", std::u16string(u"k\0x", 3)},
                     {std::u16string(u"A\0", 2) + u"B", u"k"}};
  for (const Bad& b : bad) {
    Document d = Document::Parse(file);
    EXPECT_FALSE(d.Set(b.section, b.key, u"2"));
    EXPECT_FALSE(d.Modified());
    EXPECT_EQ(file, d.Serialize());
    EXPECT_FALSE(d.Get(b.section, b.key).has_value());
  }
}

TEST(Document, ValueCannotAddLines) {
  Document d = Document::Parse("[A]\r\nk=1\r\n");
  ASSERT_TRUE(d.Set(u"A", u"k", u"2\r\n[B]\r\nx=3"));
  EXPECT_EQ("[A]\r\nk=2\r\n", d.Serialize());
  ASSERT_TRUE(d.Set(u"A", u"j", std::u16string(u"4\0[C]", 5)));
  EXPECT_EQ("[A]\r\nk=2\r\nj=4\r\n", d.Serialize());
}

TEST(Document, NewKeyFollowsTheLastNonBlankLineOfItsSection) {
  Document d = Document::Parse("[A]\r\nk=1\r\n; about B\r\n\r\n[B]\r\n[C]");
  ASSERT_TRUE(d.Set(u"a", u"j", u"2"));
  ASSERT_TRUE(d.Set(u"C", u"x", u"3"));
  ASSERT_TRUE(d.Set(u"B", u"y", u"4"));
  EXPECT_EQ("[A]\r\nk=1\r\n; about B\r\nj=2\r\n\r\n[B]\r\ny=4\r\n[C]\r\nx=3\r\n", d.Serialize());
  EXPECT_EQ(u"2", d.Get(u"A", u"J"));
}

TEST(Document, KeysBeforeTheFirstSectionStayUntouched) {
  Document d = Document::Parse("k=0\r\n");
  EXPECT_FALSE(d.Get(u"k", u"k").has_value());
  ASSERT_TRUE(d.Set(u"A", u"k", u"1"));
  EXPECT_EQ("k=0\r\n[A]\r\nk=1\r\n", d.Serialize());
}

TEST(Document, ModifiedOnlyByAChange) {
  Document d = Document::Parse("[A]\r\nk = \"1\" \r\n");
  EXPECT_TRUE(d.Exists());
  EXPECT_TRUE(d.Set(u"A", u"k", u"\"1\""));
  EXPECT_FALSE(d.Modified());
  EXPECT_TRUE(d.Set(u"A", u"k", u"1"));
  EXPECT_TRUE(d.Modified());
  EXPECT_EQ("[A]\r\nk = 1\r\n", d.Serialize());
}

struct UnicodeCase {
  const char* name;
  text::Encoding encoding;
  bool bom;
};

class UnicodeRoundTrip : public ::testing::TestWithParam<UnicodeCase> {};

TEST_P(UnicodeRoundTrip, NamesAndValuesSurviveInTheirEncoding) {
  const UnicodeCase& c = GetParam();
  const std::string start = text::Encode(u"[Macros]\r\nNumbers=0\r\n", c.encoding, c.bom);
  Document d = Document::Parse(start);
  ASSERT_EQ(c.encoding, d.encoding());
  ASSERT_TRUE(d.Set(u"Сохранить", u"宏 1", u"значение \U0001F600"));
  ASSERT_TRUE(d.Set(u"Macros", u"1", u"宏 1"));
  const Document back = Document::Parse(d.Serialize());
  EXPECT_EQ(c.encoding, back.encoding());
  EXPECT_EQ(c.bom, back.has_bom());
  EXPECT_EQ(u"значение \U0001F600", back.GetString(u"сохранить", u" 宏 1 ", u""));
  EXPECT_EQ(u"宏 1", back.GetString(u"MACROS", u"1", u""));
  EXPECT_EQ(text::Encode(u"[Macros]\r\nNumbers=0\r\n1=宏 1\r\n[Сохранить]\r\n宏 1=значение "
                         u"\U0001F600\r\n",
                         c.encoding, c.bom),
            d.Serialize());
}

INSTANTIATE_TEST_SUITE_P(Encodings, UnicodeRoundTrip,
                         ::testing::Values(UnicodeCase{"Utf8", text::Encoding::kUtf8, false},
                                           UnicodeCase{"Utf8Bom", text::Encoding::kUtf8, true},
                                           UnicodeCase{"Utf16Le", text::Encoding::kUtf16Le, true}),
                         [](const ::testing::TestParamInfo<UnicodeCase>& info) {
                           return std::string(info.param.name);
                         });

// Lines a save does not change keep their bytes, even those the encoding cannot decode: a broken
// byte in a marked UTF-8 file, the odd last byte of a UTF-16LE file.
struct UntouchedCase {
  const char* name;
  std::string before;
  std::string after;  // after setting [A] k=2 and adding [A] j=3
};

class UntouchedLines : public ::testing::TestWithParam<UntouchedCase> {};

TEST_P(UntouchedLines, KeepTheirBytes) {
  Document d = Document::Parse(GetParam().before);
  ASSERT_TRUE(d.Set(u"A", u"k", u"2"));
  ASSERT_TRUE(d.Set(u"A", u"j", u"3"));
  EXPECT_EQ(GetParam().after, d.Serialize());
}

std::string Utf16(std::u16string_view s) {
  return text::Encode(s, text::Encoding::kUtf16Le, false);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, UntouchedLines,
    ::testing::Values(
        UntouchedCase{"Utf8BomBrokenByte", "\xEF\xBB\xBF[B]\r\nx=caf\xE9\r\n[A]\r\nk=1\r\n",
                      "\xEF\xBB\xBF[B]\r\nx=caf\xE9\r\n[A]\r\nk=2\r\nj=3\r\n"},
        UntouchedCase{"Utf8BomBrokenByteOnTheLastLine", "\xEF\xBB\xBF[A]\r\nk=1\r\nx=\xFF\xFE",
                      "\xEF\xBB\xBF[A]\r\nk=2\r\nx=\xFF\xFE\r\nj=3\r\n"},
        UntouchedCase{"Utf16OddLastByte", "\xFF\xFE" + Utf16(u"[A]\r\nk=1\r\n[B]\r\nx=1") + "\x41",
                      "\xFF\xFE" + Utf16(u"[A]\r\nk=2\r\nj=3\r\n[B]\r\nx=1") + "\x41"},
        UntouchedCase{"MixedLineBreaks", "[A]\nk=1\r[B]\r\nx=y\n",
                      "[A]\nk=2\rj=3\r\n[B]\r\nx=y\n"}),
    [](const ::testing::TestParamInfo<UntouchedCase>& info) {
      return std::string(info.param.name);
    });

TEST(Document, NewDocumentIsUtf8WithoutMark) {
  Document d;
  EXPECT_FALSE(d.Exists());
  EXPECT_EQ("", d.Serialize());
  ASSERT_TRUE(d.Set(u"Сохранить", u"k", u"é"));
  EXPECT_EQ(
      "[\xD0\xA1\xD0\xBE\xD1\x85\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB8\xD1\x82\xD1\x8C]\r\nk="
      "\xC3\xA9\r\n",
      d.Serialize());
}

TEST(Document, MacroFileOfManyEvents) {
  Document d;
  for (uint32_t i = 1; i <= 512; ++i) {
    const uint32_t ev[2] = {256 + i % 2, i};
    std::string key = std::to_string(i);
    ASSERT_TRUE(d.SetStruct(u"Events", std::u16string(key.begin(), key.end()), ev, sizeof ev));
  }
  const Document back = Document::Parse(d.Serialize());
  for (uint32_t i = 1; i <= 512; ++i) {
    uint32_t ev[2] = {};
    std::string key = std::to_string(i);
    ASSERT_TRUE(back.GetStruct(u"Events", std::u16string(key.begin(), key.end()), ev, sizeof ev));
    EXPECT_EQ(i, ev[1]);
  }
}

class ProfileFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string tmp = ::testing::TempDir();
    dir_ = std::u16string(tmp.begin(), tmp.end()) + u"corvane-profile-" +
           Ascii(std::to_string(std::random_device{}() & 0xFFFFFF));
    fs::create_directories(file_io::ToFsPath(dir_));
    path_ = file_io::JoinPath(dir_, u"Corvane.ini");
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(file_io::ToFsPath(path_), fs::perms::owner_all, ec);
    fs::remove_all(file_io::ToFsPath(dir_), ec);
  }
  static std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }
  void Put(const std::string& bytes) {
    std::ofstream out(file_io::ToFsPath(path_), std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string Contents() const {
    std::ifstream in(file_io::ToFsPath(path_), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::u16string dir_;
  std::u16string path_;
};

TEST_F(ProfileFileTest, EveryCallSeesTheFileAsItStands) {
  Put("[A]\r\nk=1\r\n");
  EXPECT_EQ(1, ReadInt(path_, u"A", u"k", 0));
  Put("[A]\r\nk=2\r\n");
  EXPECT_EQ(2, ReadInt(path_, u"A", u"k", 0));
  ASSERT_TRUE(WriteInt(path_, u"A", u"j", 3));
  Put(Contents() + "x=4\r\n");
  EXPECT_EQ(4, ReadInt(path_, u"A", u"x", 0));
  EXPECT_EQ(3, ReadInt(path_, u"A", u"j", 0));
}

TEST_F(ProfileFileTest, OneShotHelpersOnAMissingFile) {
  unsigned char rec[4] = {9, 9, 9, 9};
  EXPECT_EQ(u"def", ReadString(path_, u"A", u"k", u"def"));
  EXPECT_EQ(7, ReadInt(path_, u"A", u"k", 7));
  EXPECT_EQ(0x40070u, ReadHex(path_, u"A", u"k", 0x40070));
  EXPECT_FALSE(ReadStruct(path_, u"A", u"k", rec, sizeof rec));
  EXPECT_EQ(9, rec[0]);
  EXPECT_FALSE(file_io::FileExists(path_));
  ASSERT_TRUE(WriteHex(path_, u"Hardware", u"VID", 0x3a7c));
  ASSERT_TRUE(WriteStruct(path_, u"Buttons", u"1", "\x01\x02", 2));
  EXPECT_EQ("[Hardware]\r\nVID=3a7c\r\n[Buttons]\r\n1=010203\r\n", Contents());
}

TEST_F(ProfileFileTest, ReadOnlyFileFailsEveryChangingWrite) {
  Put("[A]\r\nk=1\r\n");
  fs::permissions(file_io::ToFsPath(path_), fs::perms::owner_read);
  EXPECT_FALSE(WriteString(path_, u"A", u"k", u"2"));
  EXPECT_FALSE(WriteInt(path_, u"B", u"k", 2));
  EXPECT_FALSE(Document::Load(path_).Save(path_));
  EXPECT_EQ("[A]\r\nk=1\r\n", Contents());
  // Nothing to change, nothing to write: the value is there, as the system reports too.
  EXPECT_TRUE(WriteString(path_, u"A", u"k", u"1"));
}

TEST_F(ProfileFileTest, SomethingUnreadableIsNeverReplaced) {
  const std::u16string sub = file_io::JoinPath(dir_, u"sub.ini");
  fs::create_directory(file_io::ToFsPath(sub));
  const Document d = Document::Load(sub);
  EXPECT_FALSE(d.Exists());
  EXPECT_TRUE(d.Unreadable());
  EXPECT_FALSE(d.Save(path_));
  EXPECT_FALSE(WriteString(sub, u"A", u"k", u"1"));
  EXPECT_TRUE(file_io::DirectoryExists(sub));
  EXPECT_FALSE(file_io::FileExists(path_));
}

TEST_F(ProfileFileTest, LegacyFileWrittenBackInItsCodePage) {
  Put("[A]\r\nk=caf\xE9\r\n");
  EXPECT_EQ(u"café", ReadString(path_, u"A", u"k", u""));
  ASSERT_TRUE(WriteString(path_, u"A", u"k", u"\u20AC 5"));
  EXPECT_EQ("[A]\r\nk=\x80 5\r\n", Contents());
  ASSERT_TRUE(WriteString(path_, u"A", u"k", u"Сохранить"));
  EXPECT_EQ(
      "\xEF\xBB\xBF[A]\r\nk="
      "\xD0\xA1\xD0\xBE\xD1\x85\xD1\x80\xD0\xB0\xD0\xBD\xD0\xB8\xD1\x82\xD1\x8C\r\n",
      Contents());
  EXPECT_EQ(u"Сохранить", ReadString(path_, u"A", u"k", u""));
}

TEST_F(ProfileFileTest, DocumentSavesOnceForManyKeys) {
  Document d = Document::Load(path_);
  for (int i = 1; i <= 7; ++i) {
    ASSERT_TRUE(d.SetInt(u"ButtonsDefault", Ascii(std::to_string(i)), i - 1));
  }
  ASSERT_TRUE(d.Save(path_));
  const Document back = Document::Load(path_);
  EXPECT_TRUE(back.Exists());
  EXPECT_EQ(6, back.GetInt(u"ButtonsDefault", u"7", 0));
}

}  // namespace
}  // namespace corvane::profile
