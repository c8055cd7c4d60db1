// The shipped language files, checked against the built-in string table, and the check itself
// on files broken on purpose.
#include "storage/language_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "storage/strings.h"
#include "storage/text_encoding.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

// The languages Corvane ships; the README lists the same.
const std::set<std::string> kShipped = {"1031.ini", "1036.ini", "3082.ini", "1040.ini", "1046.ini",
                                        "1045.ini", "1049.ini", "1041.ini", "2052.ini", "1042.ini"};

std::string ReadBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One line per problem: file, identifier, what is wrong.
std::string Table(const std::vector<std::pair<std::string, LanguageProblem>>& rows) {
  std::ostringstream out;
  out << "file      | id  | problem\n";
  for (const auto& [file, p] : rows)
    out << file << std::string(file.size() < 9 ? 9 - file.size() : 0, ' ') << " | "
        << (p.Id ? std::to_string(p.Id) : std::string("-  ")) << " | " << p.What << "\n";
  return out.str();
}

TEST(ShippedLanguagesTest, EveryFileIsCompleteAndSound) {
  fs::path folder = fs::path(CORVANE_DATA_DIR) / "Languages";
  std::set<std::string> found;
  std::vector<std::pair<std::string, LanguageProblem>> rows;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".ini") continue;
    found.insert(name);
    for (LanguageProblem& p : CheckLanguageFile(name, ReadBytes(entry.path())))
      rows.emplace_back(name, std::move(p));
  }
  for (const std::string& name : kShipped)
    if (!found.count(name)) rows.emplace_back(name, LanguageProblem{0, "not shipped"});
  EXPECT_TRUE(rows.empty()) << rows.size() << " problems\n" << Table(rows);
  EXPECT_EQ(found, kShipped) << "data/Languages holds a language the README does not list";
}

// ---- the check on broken files ------------------------------------------------------------

constexpr uint32_t kBuiltinIds[] = {
#define CORVANE_STRING(id, sym, text) id,
#include "resources/strings.def"
#undef CORVANE_STRING
};

// A complete file: every text a language must translate, as the built-in text.
std::map<uint32_t, std::string> CompleteTexts() {
  std::map<uint32_t, std::string> texts;
  for (uint32_t id : kBuiltinIds) {
    if (TranslationOf(id) != Translation::kRequired) continue;
    std::string t = text::Utf16ToUtf8(BuiltinString(id));
    for (size_t at; (at = t.find('\n')) != std::string::npos;) t.replace(at, 1, " ");
    texts[id] = t;
  }
  return texts;
}

std::string FileOf(const std::map<uint32_t, std::string>& texts, const std::string& extra = "",
                   const std::string& before = "") {
  std::string out = "\xEF\xBB\xBF" + before + "; a comment\r\n[Strings]\r\n";
  for (const auto& [id, t] : texts) out += std::to_string(id) + "=" + t + "\r\n";
  return out + extra;
}

struct Expected {
  uint32_t Id;
  const char* WhatHas;
};

TEST(LanguageCheckTest, FindsWhatIsBrokenOnPurpose) {
  struct Case {
    const char* Name;
    std::map<uint32_t, std::string> Replace;  // an empty text: the line is left out
    std::string Extra;                        // raw lines after the texts
    std::vector<Expected> Problems;
    const char* FileName = "1031.ini";
    std::string Before = "";  // raw lines before the file
  };
  const std::string wide(256, 'x');
  const Case cases[] = {
      {"complete", {}, "", {}},
      {"a key name and a comment", {}, "604=Rechte WIN\r\n;221=x\r\n", {}},
      {"missing", {{221, ""}}, "", {{221, "missing (English: \"Slow\")"}}},
      {"empty", {{222, "\"\""}}, "", {{222, "empty"}}},  // quotes stripped: nothing left
      {"unknown identifier", {}, "9999=x\r\n", {{9999, "no text has this identifier"}}},
      {"tab label", {}, "176=Übersicht\r\n", {{176, "always shows the built-in text"}}},
      {"list text", {}, "238=zweihundert\r\n", {{238, "always shows the built-in text"}}},
      {"message box", {}, "771=Makro %1 fehlt.\r\n", {{771, "always shows the built-in text"}}},
      {"too long caption", {{220, wide}}, "", {{220, "256 characters, more than the 255"}}},
      {"too long list item", {{305, std::string(128, 'y')}}, "", {{305, "more than the 127"}}},
      {"longest caption", {{220, std::string(255, 'x')}}, "", {}},
      {"duplicate", {}, "221=Langsam\r\n", {{221, "given again on line"}}},
      {"not a number", {}, "abc=x\r\n", {{0, "key \"abc\" is not an identifier"}}},
      {"leading zero", {}, "0221=x\r\n", {{0, "key \"0221\""}}},
      {"no equals sign", {}, "221 Langsam\r\n", {{0, "not <identifier>=<text>"}}},
      {"other section", {}, "[Other]\r\n221=x\r\n", {{0, "section [Other]"}}},
      {"before any section", {}, "", {{0, "line 1: outside [Strings]"}}, "1031.ini", "221=x\r\n"},
      {"second strings", {}, "[strings]\r\n221=x\r\n", {{0, "a second [Strings]"}}},
      {"escaped line break", {{768, "Nicht verbunden.\\nBitte prüfen."}}, "", {{768, "holds \\n"}}},
      {"mnemonic", {{221, "&Langsam"}}, "", {{221, "an &"}}},
      {"bad name", {}, "", {{0, "the name is not"}}, "german.ini"},
  };
  for (const Case& c : cases) {
    auto texts = CompleteTexts();
    for (const auto& [id, t] : c.Replace) {
      if (t.empty())
        texts.erase(id);
      else
        texts[id] = t;
    }
    std::string file = FileOf(texts, c.Extra, c.Before);
    std::vector<LanguageProblem> got = CheckLanguageFile(c.FileName, file);
    std::vector<std::pair<std::string, LanguageProblem>> rows;
    for (const auto& p : got) rows.emplace_back(c.FileName, p);
    ASSERT_EQ(got.size(), c.Problems.size()) << c.Name << "\n" << Table(rows);
    for (size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].Id, c.Problems[i].Id) << c.Name;
      EXPECT_NE(got[i].What.find(c.Problems[i].WhatHas), std::string::npos)
          << c.Name << ": " << got[i].What;
    }
  }
}

TEST(LanguageCheckTest, PlaceholdersMustMatchInNumberAndKind) {
  // 771 is never translated, so the case goes through a text that has none: an added
  // placeholder is as wrong as a lost one.
  struct Case {
    std::u16string Text;
    std::vector<std::u16string> Expected;
  } cases[] = {
      {u"Macro %1 is not found.", {u"%1"}},
      {u"%s %d ms", {u"%s", u"%d"}},
      {u"100%% %5d %-3s %ld %1!s!", {u"%5d", u"%-3s", u"%ld", u"%1!s!"}},
      {u"50% off, 100 %s", {u"%s"}},
      {u"%1 of %2", {u"%1", u"%2"}},
      {u"%", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(Placeholders(c.Text), c.Expected);

  auto texts = CompleteTexts();
  texts[221] = "Langsam %s";
  std::vector<LanguageProblem> got = CheckLanguageFile("1031.ini", FileOf(texts));
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].Id, 221u);
  EXPECT_EQ(got[0].What, "placeholders %s, the English text has none");
}

TEST(LanguageCheckTest, ReadsBothEncodingsAndRefusesOthers) {
  std::string utf8 = FileOf(CompleteTexts());
  std::u16string text = text::Utf8ToUtf16(utf8.substr(3));
  std::string utf16 = text::Encode(text, text::Encoding::kUtf16Le, true);
  EXPECT_TRUE(CheckLanguageFile("1041.ini", utf16).empty());
  std::string latin1 = "[Strings]\r\n221=Lent\xE9\r\n";
  std::vector<LanguageProblem> got = CheckLanguageFile("1036.ini", latin1);
  ASSERT_EQ(got.size(), 1u);
  EXPECT_EQ(got[0].What, "neither UTF-8 nor UTF-16LE with byte-order mark");
}

TEST(LanguageCheckTest, WhatALanguageFileMayReplace) {
  struct Case {
    uint32_t Id;
    Translation Kind;
    size_t Capacity;
  } cases[] = {
      {IDS_HELP, Translation::kRequired, 256},
      {IDS_BUTTONS, Translation::kRequired, 256},  // a tab label, but also the Overview's group
      {IDS_OVERVIEW, Translation::kNone, 256},
      {IDS_ABOUTBOX, Translation::kNone, 256},
      {IDS_NUM_200, Translation::kNone, 256},
      {IDS_ALT_F12, Translation::kNone, 256},
      {IDS_NOT_CONNECTED, Translation::kRequired, 256},
      {IDS_EVENT_LBUTTON_DOWN, Translation::kRequired, 128},
      {IDS_FN_MACRO, Translation::kRequired, 128},
      {IDS_FN_BASS_UP, Translation::kRequired, 128},
      {IDS_KEY_CONTROL, Translation::kOptional, 128},
      {512 + 0xE2, Translation::kOptional, 128},  // no built-in name, but a language may give one
      {IDS_MACRO_NOT_FOUND, Translation::kNone, 256},
      {9999, Translation::kNone, 256},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TranslationOf(c.Id), c.Kind) << c.Id;
    EXPECT_EQ(LookupCapacity(c.Id), c.Capacity) << c.Id;
  }
}

}  // namespace
}  // namespace corvane
