// The profile conformance cases: file bytes, one operation, and what it must give. The same table
// runs natively against the engine and, under Wine, against both the engine and the system's
// GetPrivateProfile*W / WritePrivateProfile*W, so the engine is pinned to the system's behaviour.
//
// A case whose wine_note is set runs on the engine everywhere and is skipped only for the system
// functions under Wine; the note says why the engine does otherwise.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace corvane::conformance {

enum class ProfileOp { kReadString, kReadInt, kReadStruct, kWriteString, kWriteStruct };

struct ProfileCase {
  std::string name;                 // letters, digits and '_': it names the test
  std::optional<std::string> file;  // the bytes before the operation; none: no file at all
  ProfileOp op = ProfileOp::kReadString;
  std::u16string section;
  std::u16string key;
  std::u16string text;  // read: the default; write: the value
  int32_t number = 0;   // ReadInt: the default
  std::string data;     // ReadStruct: the bytes expected on success; WriteStruct: the bytes
  size_t size = 0;      // ReadStruct: the record size

  std::u16string want_text;
  int32_t want_int = 0;
  bool want_ok = true;                   // ReadStruct, and every write
  std::optional<std::string> want_file;  // writes: the file bytes afterwards
  std::string wine_note;

  // file and want_file are written here as UTF-8; store both as UTF-16LE with byte-order mark.
  ProfileCase& AsUtf16();
  ProfileCase& WineDiffers(std::string why) {
    wine_note = std::move(why);
    return *this;
  }
};

// UTF-8 text as UTF-16LE bytes with byte-order mark (valid UTF-8 only; enough for the table).
inline std::string Utf16LeWithBom(const std::string& utf8) {
  std::string out = "\xFF\xFE";
  for (size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    char32_t cp;
    size_t len;
    if (b < 0x80)
      cp = b, len = 1;
    else if (b < 0xE0)
      cp = b & 0x1F, len = 2;
    else if (b < 0xF0)
      cp = b & 0x0F, len = 3;
    else
      cp = b & 0x07, len = 4;
    for (size_t k = 1; k < len && i + k < utf8.size(); ++k) {
      cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    }
    i += len;
    auto unit = [&out](char32_t u) {
      out.push_back(static_cast<char>(u & 0xFF));
      out.push_back(static_cast<char>((u >> 8) & 0xFF));
    };
    if (cp >= 0x10000) {
      unit(0xD800 + ((cp - 0x10000) >> 10));
      unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      unit(cp);
    }
  }
  return out;
}

inline ProfileCase& ProfileCase::AsUtf16() {
  if (file) file = Utf16LeWithBom(*file);
  if (want_file) want_file = Utf16LeWithBom(*want_file);
  return *this;
}

namespace cases {

inline ProfileCase ReadString(std::string name, std::optional<std::string> file,
                              std::u16string section, std::u16string key, std::u16string def,
                              std::u16string want) {
  ProfileCase c;
  c.name = std::move(name);
  c.file = std::move(file);
  c.op = ProfileOp::kReadString;
  c.section = std::move(section);
  c.key = std::move(key);
  c.text = std::move(def);
  c.want_text = std::move(want);
  return c;
}

inline ProfileCase ReadInt(std::string name, std::optional<std::string> file,
                           std::u16string section, std::u16string key, int32_t def, int32_t want) {
  ProfileCase c;
  c.name = std::move(name);
  c.file = std::move(file);
  c.op = ProfileOp::kReadInt;
  c.section = std::move(section);
  c.key = std::move(key);
  c.number = def;
  c.want_int = want;
  return c;
}

// want: the bytes read, or none when the read must fail.
inline ProfileCase ReadStruct(std::string name, std::optional<std::string> file,
                              std::u16string section, std::u16string key, size_t size,
                              std::optional<std::string> want) {
  ProfileCase c;
  c.name = std::move(name);
  c.file = std::move(file);
  c.op = ProfileOp::kReadStruct;
  c.section = std::move(section);
  c.key = std::move(key);
  c.size = size;
  c.want_ok = want.has_value();
  c.data = want.value_or(std::string());
  return c;
}

inline ProfileCase WriteString(std::string name, std::optional<std::string> file,
                               std::u16string section, std::u16string key, std::u16string value,
                               std::string want_file) {
  ProfileCase c;
  c.name = std::move(name);
  c.file = std::move(file);
  c.op = ProfileOp::kWriteString;
  c.section = std::move(section);
  c.key = std::move(key);
  c.text = std::move(value);
  c.want_file = std::move(want_file);
  return c;
}

inline ProfileCase WriteStruct(std::string name, std::optional<std::string> file,
                               std::u16string section, std::u16string key, std::string bytes,
                               std::string want_file) {
  ProfileCase c;
  c.name = std::move(name);
  c.file = std::move(file);
  c.op = ProfileOp::kWriteStruct;
  c.section = std::move(section);
  c.key = std::move(key);
  c.data = std::move(bytes);
  c.size = c.data.size();
  c.want_file = std::move(want_file);
  return c;
}

}  // namespace cases

inline std::vector<ProfileCase> ProfileCases() {
  using namespace cases;
  const std::nullopt_t kNoFile = std::nullopt;
  // A record of four bytes; its sum is 0x105, so the checksum pair is 05.
  const std::string rec("\x01\x02\x03\xFF", 4);
  const std::string buttons = "[Buttons]\r\nUseComboBox=1\r\nIntervalMin=70\r\n";
  std::vector<ProfileCase> v = {
      // Names: case, trimming, first match.
      ReadString("SectionAndKeyIgnoreCase", buttons, u"bUTTONS", u"usecombobox", u"d", u"1"),
      ReadString("NamesAndValueTrimmed", "[A]\r\n \t Key \t=  some value \t\r\n", u"A", u"Key",
                 u"d", u"some value"),
      ReadString("QueryNamesTrimmed", "[A]\r\nKey=v\r\n", u"  A ", u" Key\t", u"d", u"v"),
      ReadString("HeaderIndented", "  [A]  \r\nk=v\r\n", u"A", u"k", u"d", u"v"),
      ReadString("DuplicateKeyFirstWins", "[A]\r\nk=1\r\nK=2\r\n", u"A", u"k", u"d", u"1"),
      ReadString("DuplicateSectionOnlyFirstSearched", "[A]\r\nx=1\r\n[B]\r\n[a]\r\nk=2\r\n", u"A",
                 u"k", u"d", u"d"),
      ReadString("DuplicateSectionFirstWins", "[A]\r\nk=1\r\n[a]\r\nk=2\r\n", u"a", u"k", u"d",
                 u"1"),
      ReadString("KeyBeforeAnySectionUnreachable", "k=1\r\n[A]\r\n", u"A", u"k", u"d", u"d"),
      ReadString("LineWithoutEqualsIsNoKey", "[A]\r\nk\r\n", u"A", u"k", u"d", u"d"),
      ReadString("SemicolonLineIsAnOrdinaryKey", "[A]\r\n;x=1\r\n", u"A", u";x", u"d", u"1"),
      ReadString("ValueMayHoldEquals", "[A]\r\nk=a=b\r\n", u"A", u"k", u"d", u"a=b"),
      ReadString("KeyOfOtherSectionNotFound", "[A]\r\nk=1\r\n[B]\r\n", u"B", u"k", u"d", u"d"),
      // Quotes: one matching pair, after trimming.
      ReadString("DoubleQuotesStripped", "[A]\r\nk=\"a b\"\r\n", u"A", u"k", u"d", u"a b"),
      ReadString("SingleQuotesStripped", "[A]\r\nk='a b'\r\n", u"A", u"k", u"d", u"a b"),
      ReadString("QuotesKeepInnerBlanks", "[A]\r\nk=\" a \"\r\n", u"A", u"k", u"d", u" a "),
      ReadString("OnlyOnePairStripped", "[A]\r\nk=\"\"x\"\"\r\n", u"A", u"k", u"d", u"\"x\""),
      ReadString("MismatchedQuotesKept", "[A]\r\nk=\"x'\r\n", u"A", u"k", u"d", u"\"x'"),
      ReadString("LoneQuoteKept", "[A]\r\nk=\"\r\n", u"A", u"k", u"d", u"\""),
      // Missing things and empty values.
      ReadString("MissingFileGivesDefault", kNoFile, u"A", u"k", u"def", u"def"),
      ReadString("MissingSectionGivesDefault", buttons, u"Other", u"k", u"def", u"def"),
      ReadString("MissingKeyGivesDefault", buttons, u"Buttons", u"k", u"def", u"def"),
      ReadString("EmptyValueIsNotTheDefault", "[A]\r\nk=\r\n", u"A", u"k", u"def", u""),
      ReadString("DefaultLosesTrailingSpaces", buttons, u"Buttons", u"k", u" def  ", u" def"),
      // Line ends.
      ReadString("LfLines", "[A]\nk=1\nj=2\n", u"A", u"j", u"d", u"2"),
      ReadString("CrOnlyLines", "[A]\rk=1\rj=2\r[B]\rj=3\r", u"A", u"j", u"d", u"2"),
      ReadString("LastLineWithoutBreak", "[A]\r\nk=1", u"A", u"k", u"d", u"1"),
      // Encodings.
      ReadString("Utf16LeWithBom", "[Сохранить]\r\nМакрос=宏 1\r\n", u"Сохранить", u"Макрос", u"d",
                 u"宏 1")
          .AsUtf16(),
      ReadString("Utf16CyrillicIgnoresCase", "[Сохранить]\r\nk=1\r\n", u"СОХРАНИТЬ", u"K", u"d",
                 u"1")
          .AsUtf16()
          .WineDiffers("Wine ignores the case of ASCII letters only; Windows folds the case of "
                       "every letter"),
      ReadString("Utf8WithBom", "\xEF\xBB\xBF[Сохранить]\r\n宏 1=значение\r\n", u"Сохранить",
                 u"宏 1", u"d", u"значение"),
      ReadString("Windows1252", "[A]\r\nk=caf\xE9\r\n", u"A", u"k", u"d", u"café"),
      ReadString("Utf8WithoutBom", "[Сохранить]\r\n宏 1=значение\r\n", u"Сохранить", u"宏 1", u"d",
                 u"значение")
          .WineDiffers("the system reads a file without byte-order mark in the ANSI code page; "
                       "the engine recognises valid UTF-8, the encoding it writes new files in"),
      // Integers.
      ReadInt("IntMinusOne", "[A]\r\nk=-1\r\n", u"A", u"k", 5, -1),
      ReadInt("IntPlusSign", "[A]\r\nk=+1\r\n", u"A", u"k", 5, 1),
      ReadInt("IntWrapsAt32Bits", "[A]\r\nk=4294967296\r\n", u"A", u"k", 5, 0),
      ReadInt("IntTwoToThe31IsNegative", "[A]\r\nk=2147483648\r\n", u"A", u"k", 5, INT32_MIN),
      ReadInt("IntStopsAtLetter", "[A]\r\nk=42A9\r\n", u"A", u"k", 5, 42),
      ReadInt("IntLetterFirstIsZero", "[A]\r\nk=B42\r\n", u"A", u"k", 5, 0),
      ReadInt("IntSignAloneIsZero", "[A]\r\nk=-\r\n", u"A", u"k", 5, 0),
      ReadInt("IntEmptyGivesDefault", "[A]\r\nk=\r\n", u"A", u"k", 5, 5),
      ReadInt("IntEmptyQuotesGiveDefault", "[A]\r\nk=\"\"\r\n", u"A", u"k", 5, 5),
      ReadInt("IntMissingGivesDefault", "[A]\r\nk=1\r\n", u"A", u"j", -7, -7),
      ReadInt("IntQuotedWithBlank", "[A]\r\nk=\" 12\"\r\n", u"A", u"k", 5, 12),
      ReadInt("IntReadsFirst29Characters", "[A]\r\nk=\"" + std::string(29, ' ') + "5\"\r\n", u"A",
              u"k", 5, 0),
      ReadInt("IntHexPrefix", "[A]\r\nk=0x1F\r\n", u"A", u"k", 5, 31),
      ReadInt("IntUpperHexPrefixIsZero", "[A]\r\nk=0X1F\r\n", u"A", u"k", 5, 0),
      // Structures of four bytes.
      ReadStruct("StructUpperCase", "[A]\r\nk=010203FF05\r\n", u"A", u"k", 4, rec),
      ReadStruct("StructLowerCase", "[A]\r\nk=010203ff05\r\n", u"A", u"k", 4, rec),
      ReadStruct("StructChecksumOff", "[A]\r\nk=010203FF06\r\n", u"A", u"k", 4, std::nullopt),
      ReadStruct("StructTooShort", "[A]\r\nk=0102FF05\r\n", u"A", u"k", 4, std::nullopt),
      ReadStruct("StructOneDigitTooMany", "[A]\r\nk=010203FF005\r\n", u"A", u"k", 4, std::nullopt),
      ReadStruct("StructTooLongByTwo", "[A]\r\nk=00010203FF05\r\n", u"A", u"k", 4, std::nullopt),
      ReadStruct("StructNotHex", "[A]\r\nk=0102 3FF05\r\n", u"A", u"k", 4, std::nullopt),
      ReadStruct("StructLetterPastF", "[A]\r\nk=0102G3FF05\r\n", u"A", u"k", 4, std::nullopt)
          .WineDiffers("Wine takes letters past F as digits; Windows rejects the value"),
      ReadStruct("StructMissing", "[A]\r\n", u"A", u"k", 4, std::nullopt),
      ReadStruct("StructIgnoresCase", "[A]\r\nKey=010203FF05\r\n", u"a", u"KEY", 4, rec),
      // Writes: in place, new keys, new sections, new files.
      WriteString("WriteCreatesFile", kNoFile, u"A", u"k", u"v", "[A]\r\nk=v\r\n"),
      WriteString("WriteReplacesInPlace", "[A]\r\nk=1\r\nj=2\r\n[B]\r\nk=3\r\n", u"a", u"K", u"9",
                  "[A]\r\nk=9\r\nj=2\r\n[B]\r\nk=3\r\n"),
      WriteString("WriteReplacesFirstOfDuplicates", "[A]\r\nk=1\r\nk=2\r\n", u"A", u"k", u"3",
                  "[A]\r\nk=3\r\nk=2\r\n"),
      WriteString("WriteNewKeyEndsItsSection", "[A]\r\nk=1\r\n[B]\r\nx=2\r\n", u"A", u"j", u"5",
                  "[A]\r\nk=1\r\nj=5\r\n[B]\r\nx=2\r\n"),
      WriteString("WriteNewSectionEndsFile", "[A]\r\nk=1\r\n", u"B", u"x", u"2",
                  "[A]\r\nk=1\r\n[B]\r\nx=2\r\n"),
      WriteString("WriteSameValueChangesNothing", "[A]\r\nk=1\r\n", u"A", u"k", u"1",
                  "[A]\r\nk=1\r\n"),
      WriteString("WriteDropsLeadingBlanksOfValue", "[A]\r\nk=1\r\n", u"A", u"k", u"  2",
                  "[A]\r\nk=2\r\n"),
      WriteString("WriteUtf16KeepsEncoding", "[A]\r\nk=1\r\n", u"Сохранить", u"宏 1", u"значение",
                  "[A]\r\nk=1\r\n[Сохранить]\r\n宏 1=значение\r\n")
          .AsUtf16(),
      WriteString("Write1252KeepsEncoding", "[A]\r\nk=caf\xE9\r\n", u"A", u"j", u"\u00E9t\u00E9",
                  "[A]\r\nk=caf\xE9\r\nj=\xE9t\xE9\r\n"),
      WriteStruct("WriteStructUpperCaseWithSum", "[A]\r\n", u"A", u"k", rec,
                  "[A]\r\nk=010203FF05\r\n"),
      WriteStruct("WriteStructReplaces", "[A]\r\nk=00\r\nj=1\r\n", u"A", u"k", rec,
                  "[A]\r\nk=010203FF05\r\nj=1\r\n"),
      // Writes where Wine rewrites the whole file.
      WriteString("WriteNewKeyBeforeTrailingBlankLines", "[A]\r\nk=1\r\n\r\n\r\n[B]\r\nx=2\r\n",
                  u"A", u"j", u"5", "[A]\r\nk=1\r\nj=5\r\n\r\n\r\n[B]\r\nx=2\r\n")
          .WineDiffers("Wine rewrites the whole file and drops blank lines"),
      WriteString("WriteKeepsEveryOtherLine",
                  "; note\r\n[A]\r\n  k = 1  \r\nno key here\r\n\r\n[B]\r\n", u"A", u"k", u"2",
                  "; note\r\n[A]\r\n  k = 2\r\nno key here\r\n\r\n[B]\r\n")
          .WineDiffers("Wine rewrites the whole file, so spacing and blank lines are lost"),
      WriteString("WriteKeepsLfLines", "[A]\nk=1\n", u"A", u"j", u"2", "[A]\nk=1\nj=2\r\n")
          .WineDiffers("Wine rewrites every line with CRLF"),
      WriteString("WriteAfterLastLineWithoutBreak", "[A]\r\nk=1", u"B", u"x", u"2",
                  "[A]\r\nk=1\r\n[B]\r\nx=2\r\n"),
      WriteString("Write1252UnmappableBecomesUtf8", "[A]\r\nk=caf\xE9\r\n", u"A", u"j", u"宏",
                  "\xEF\xBB\xBF[A]\r\nk=caf\xC3\xA9\r\nj=宏\r\n")
          .WineDiffers("the system writes '?' for a character its code page lacks; the engine "
                       "keeps the text and stores the file as UTF-8 with byte-order mark"),
      WriteString("WriteUtf8WithBomKeepsBom", "\xEF\xBB\xBF[A]\r\nk=1\r\n", u"A", u"宏 1", u"é",
                  "\xEF\xBB\xBF[A]\r\nk=1\r\n宏 1=é\r\n"),
  };
  return v;
}

}  // namespace corvane::conformance
