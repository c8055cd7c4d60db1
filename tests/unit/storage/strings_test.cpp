#include "storage/strings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "storage/app_folder.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// A private application folder with an optional Languages folder, removed afterwards.
class LocalizedStringTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() / (std::string("corvane-strings-") + info->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    SetAppFolder(folder_.u16string());
  }
  void TearDown() override {
    SetAppFolder(u"");
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }
  // Writes Languages/<lcid>.ini as UTF-8 with the given lines.
  void WriteLanguageFile(uint32_t lcid, const std::string& content) {
    fs::create_directories(folder_ / "Languages");
    std::ofstream file(folder_ / "Languages" / (std::to_string(lcid) + ".ini"), std::ios::binary);
    file << content;
  }
  fs::path folder_;
};

TEST(BuiltinStringTest, HoldsTheEnglishTexts) {
  struct Case {
    uint32_t id;
    std::u16string_view text;
  } cases[] = {
      {IDS_ABOUTBOX, u"&About Corvane..."},
      {169, u"&About Corvane..."},
      {221, u"Slow"},
      {305, u"Left-click"},
      {342, u"Macro..."},
      {512 + 0x41, u"A"},
      {512 + 0x30, u"0"},
      {512 + 0x69, u"NUM 9"},
      {512 + 0x7B, u"F12"},
      {732, u"\\|"},  // one backslash and the bar
      {734, u"'"},
      {256, u"Alt+F1"},
      {267, u"Alt+F12"},
      {771, u"Macro %1 is not found."},
      {IDS_CONFIG_TOO_LARGE,
       u"The settings do not fit in the mouse's memory: they are %1 bytes too large. Shorten "
       u"or remove a macro, then apply again."},
  };
  for (const Case& c : cases) EXPECT_EQ(BuiltinString(c.id), c.text) << c.id;
}

TEST(BuiltinStringTest, UnknownIdentifiersAreEmpty) {
  for (uint32_t id : {0u, 168u, 170u, 512u + 0x07, 999u, 0xFFFFFFFFu}) {
    EXPECT_TRUE(BuiltinString(id).empty()) << id;
  }
}

TEST(BuiltinStringTest, NotConnectedNoticeHasTwoLineBreaks) {
  EXPECT_EQ(BuiltinString(IDS_NOT_CONNECTED),
            u"Gaming mouse is not connected.\n\nPlease check your hardware connection.");
}

TEST(BuiltinStringTest, KeyNamesCoverDigitsLettersAndFunctionKeys) {
  for (char16_t d = u'0'; d <= u'9'; ++d) EXPECT_EQ(BuiltinString(512 + d), std::u16string(1, d));
  for (char16_t c = u'A'; c <= u'Z'; ++c) EXPECT_EQ(BuiltinString(512 + c), std::u16string(1, c));
  for (int f = 1; f <= 12; ++f) {
    std::u16string name = u"F";
    for (char ch : std::to_string(f)) name += static_cast<char16_t>(ch);
    EXPECT_EQ(BuiltinString(512 + 0x6F + f), name);
    EXPECT_EQ(BuiltinString(255 + f), u"Alt+" + name);
  }
}

TEST_F(LocalizedStringTest, LanguageZeroIgnoresEveryFile) {
  WriteLanguageFile(0, "[Strings]\n221=Langsam\n");
  EXPECT_EQ(LoadLocalizedString(221, 0, 256), u"Slow");
}

TEST_F(LocalizedStringTest, TranslationReplacesOnlyItsKey) {
  WriteLanguageFile(1031, "[Strings]\n221=Langsam\n");
  EXPECT_EQ(LoadLocalizedString(221, 1031, 256), u"Langsam");
  EXPECT_EQ(LoadLocalizedString(222, 1031, 256), u"Fast");
  EXPECT_EQ(LoadLocalizedString(IDS_NOT_CONNECTED, 1031, 256), BuiltinString(IDS_NOT_CONNECTED));
  EXPECT_EQ(LoadLocalizedString(999, 1031, 256), u"");
}

TEST_F(LocalizedStringTest, FileFormatRulesApply) {
  WriteLanguageFile(1031,
                    "[strings]\n"
                    "221=\"Langsam\"\n"            // quotes are stripped
                    "222=\n"                       // empty: the built-in text
                    "305=\"\"\n"                   // empty after stripping: built-in too
                    "768=Maus nicht verbunden.\n"  // one line instead of three
                    "324=Schlie\xC3\x9F"
                    "en\n"              // UTF-8
                    "999=Nur hier\n");  // no built-in text, translated anyway
  EXPECT_EQ(LoadLocalizedString(221, 1031, 256), u"Langsam");
  EXPECT_EQ(LoadLocalizedString(222, 1031, 256), u"Fast");
  EXPECT_EQ(LoadLocalizedString(305, 1031, 256), u"Left-click");
  EXPECT_EQ(LoadLocalizedString(768, 1031, 256), u"Maus nicht verbunden.");
  EXPECT_EQ(LoadLocalizedString(324, 1031, 256), u"Schlie\u00DFen");
  EXPECT_EQ(LoadLocalizedString(999, 1031, 256), u"Nur hier");
}

TEST_F(LocalizedStringTest, MissingFileOrFolderFallsBack) {
  EXPECT_EQ(LoadLocalizedString(221, 1031, 256), u"Slow");  // no Languages folder
  WriteLanguageFile(1036, "[Strings]\n221=Lent\n");
  EXPECT_EQ(LoadLocalizedString(221, 1031, 256), u"Slow");  // another language's file
  WriteLanguageFile(1031, "[Other]\n221=Langsam\n");
  EXPECT_EQ(LoadLocalizedString(221, 1031, 256), u"Slow");  // no "Strings" section
}

TEST_F(LocalizedStringTest, TextIsCutToCapacity) {
  WriteLanguageFile(1031, "[Strings]\n221=Langsam\n");
  struct Case {
    uint32_t id, language;
    size_t capacity;
    std::u16string_view text;
  } cases[] = {
      {173, 0, 3, u"OK"},  // fits exactly with its terminator
      {174, 0, 4, u"Can"}, {174, 0, 1, u""},
      {174, 0, 0, u""},    {221, 1031, 5, u"Lang"},  // translations are cut too
      {221, 1031, 1, u""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadLocalizedString(c.id, c.language, c.capacity), c.text)
        << c.id << " capacity " << c.capacity;
  }
}

TEST_F(LocalizedStringTest, CutNeverSplitsASurrogatePair) {
  WriteLanguageFile(1031,
                    "[Strings]\n221=ab\xF0\x9F\x90\xAD"
                    "c\n");  // a b U+1F42D c
  EXPECT_EQ(LoadLocalizedString(221, 1031, 4), u"ab");
  EXPECT_EQ(LoadLocalizedString(221, 1031, 5), u"ab\U0001F42D");
}

TEST_F(LocalizedStringTest, FileIsReadAfreshForEveryLookup) {
  WriteLanguageFile(1031, "[Strings]\n221=Langsam\n");
  EXPECT_EQ(LoadLocalizedString(221, 1031, 256), u"Langsam");
  WriteLanguageFile(1031,
                    "[Strings]\n221=Gem\xC3\xA4"
                    "chlich\n");
  EXPECT_EQ(LoadLocalizedString(221, 1031, 256), u"Gem\u00E4chlich");
}

TEST_F(LocalizedStringTest, KeyNamesAreTheStringsFrom512AndStopAt255) {
  WriteLanguageFile(1031, "[Strings]\n577=A (de)\n767=Taste 255\n768=nicht verbunden\n");
  struct Case {
    uint32_t vk, language;
    std::u16string_view name;
  } cases[] = {
      {0x41, 0, u"A"},
      {0x41, 1031, u"A (de)"},  // a language file names keys like any text
      {0xA0, 0, u"Left SHIFT"},
      {0x07, 0, u""},  // no string: no name
      {0xFF, 1031, u"Taste 255"},
      {0x100, 0, u""},  // 768 is the "not connected" notice, not a key
      {0x100, 1031, u""},
      {0xFFFFFFFF, 0, u""},  // no wrap-around into the low identifiers
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadKeyName(c.vk, c.language), c.name) << c.vk << " " << c.language;
  }
}

TEST(FormatMessageTextTest, InsertsTheArgument) {
  struct Case {
    std::u16string_view text, arg, result;
  } cases[] = {
      {u"Macro %1 is not found.", u"Fire", u"Macro Fire is not found."},
      {u"%1%1", u"x", u"xx"},
      {u"no argument", u"x", u"no argument"},
      {u"100% sure %", u"x", u"100% sure %"},
      {u"Macro %1 is not found.", u"", u"Macro  is not found."},
      {u"%1", u"%1", u"%1"},  // the inserted text is not scanned again
  };
  for (const Case& c : cases) EXPECT_EQ(FormatMessageText(c.text, c.arg), c.result);
}

}  // namespace
}  // namespace corvane
