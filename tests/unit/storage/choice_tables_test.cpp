#include "storage/choice_tables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/function_names.h"
#include "storage/app_folder.h"
#include "storage/strings.h"

namespace corvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::u16string> Texts(const ChoiceTable& table, uint32_t language) {
  std::vector<std::u16string> texts;
  for (const Choice& c : table) texts.push_back(LoadLocalizedString(c.StringId, language, 128));
  return texts;
}

TEST(FindChoiceTest, FindsTheFirstMatchOrNone) {
  const std::vector<int32_t> data{5, 1, 5, -1};
  EXPECT_EQ(FindChoice(data, 5), 0);
  EXPECT_EQ(FindChoice(data, 1), 1);
  EXPECT_EQ(FindChoice(data, -1), 3);
  EXPECT_EQ(FindChoice(data, 7), -1);
  EXPECT_EQ(FindChoice({}, 0), -1);
}

TEST(ChoiceTablesTest, DpiStagesShowTheirDpi) {
  ASSERT_EQ(kDpiStageChoices.Count, 16u);
  auto texts = Texts(kDpiStageChoices, 0);
  for (int k = 0; k < 16; ++k) {
    EXPECT_EQ(kDpiStageChoices.Entries[k].Value, k);
    std::u16string expected;
    for (char ch : std::to_string((k + 1) * 200)) expected += static_cast<char16_t>(ch);
    EXPECT_EQ(texts[k], expected) << k;
  }
}

TEST(ChoiceTablesTest, ReportRatesShowReportsPerSecond) {
  EXPECT_EQ(ChoiceValues(kReportRateChoices), (std::vector<int32_t>{1, 2, 4, 5, 8, 10, 20}));
  EXPECT_EQ(Texts(kReportRateChoices, 0),
            (std::vector<std::u16string>{u"1000", u"500", u"250", u"200", u"125", u"100", u"50"}));
  EXPECT_EQ(ChoiceText(kReportRateChoices, 2000, 0), u"");  // the settings default: no entry
  EXPECT_EQ(FindChoice(ChoiceValues(kReportRateChoices), 2000), -1);
}

TEST(ChoiceTablesTest, RecordingHotkeysAreAltFunctionKeys) {
  ASSERT_EQ(kRecordingHotkeyChoices.Count, 12u);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(kRecordingHotkeyChoices.Entries[i].Value, 0x40070 + i);
    EXPECT_EQ(BuiltinString(kRecordingHotkeyChoices.Entries[i].StringId).substr(0, 5), u"Alt+F");
  }
  EXPECT_EQ(ChoiceText(kRecordingHotkeyChoices, 0x40075, 0), u"Alt+F6");
}

// The DPI list is filled with language 0, so a translation of its numbers never shows.
TEST(ChoiceTablesTest, ListsOfLanguageZeroIgnoreTranslations) {
  fs::path folder = fs::temp_directory_path() / "corvane-choices-language";
  fs::remove_all(folder);
  fs::create_directories(folder / "Languages");
  std::ofstream(folder / "Languages" / "1031.ini") << "[Strings]\n238=zweihundert\n";
  SetAppFolder(folder.u16string());
  EXPECT_EQ(ChoiceText(kDpiStageChoices, 0, 0), u"200");
  EXPECT_EQ(ChoiceText(kDpiStageChoices, 4, 0), u"1000");
  EXPECT_EQ(ChoiceText(kDpiStageChoices, 0, 1031), u"zweihundert");
  SetAppFolder(u"");
  fs::remove_all(folder);
}

TEST(FunctionNameTableTest, OffersThirtyEightFunctionsInPageOrder) {
  const auto values = ChoiceValues(kButtonFunctionChoices);
  ASSERT_EQ(values.size(), 38u);
  EXPECT_EQ(FindChoice(values, 1), 0);
  EXPECT_EQ(FindChoice(values, 12), 11);
  EXPECT_EQ(FindChoice(values, kFunctionHotKey), 12);
  EXPECT_EQ(FindChoice(values, 13), 13);
  EXPECT_EQ(FindChoice(values, 36), 36);
  EXPECT_EQ(FindChoice(values, kFunctionMacro), 37);
  for (int32_t unoffered : {0, 37, 38, 39, 40, 41, 253, 256, -1}) {
    EXPECT_EQ(FindChoice(values, unoffered), -1) << unoffered;
    EXPECT_EQ(FunctionNameIndex(unoffered), -1) << unoffered;
  }
  for (int i = 0; i < kFunctionNameCount; ++i) {
    const FunctionName& f = FunctionNameTable[i];
    EXPECT_EQ(f.StringId, 305u + i);  // names are listed in table order
    EXPECT_FALSE(BuiltinString(f.StringId).empty()) << i;
    EXPECT_EQ(f.MenuCommand, (i >= 14 && i <= 18) ? 0u : 32792u + i) << i;
    EXPECT_EQ(FunctionNameId(f.Code), f.StringId);
  }
}

TEST(FunctionNameTableTest, NamesTheRowsThePageDoesNotOffer) {
  struct Case {
    int32_t code;
    std::u16string_view name;
  } cases[] = {
      {0, u"Disabled"},
      {37, u"Bass Up"},
      {38, u"Bass Down"},
      {39, u"Treble Up"},
      {40, u"Treble Down"},
      {14, u"Copy"},
      {254, u"Hotkey..."},
      {255, u"Macro..."},
      {41, u""},
      {253, u""},
      {-1, u""},
  };
  for (const Case& c : cases) EXPECT_EQ(BuiltinString(FunctionNameId(c.code)), c.name) << c.code;
}

}  // namespace
}  // namespace corvane
