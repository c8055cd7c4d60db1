#include "storage/choice_tables.h"

#include <iterator>

#include "model/function_names.h"
#include "storage/strings.h"

namespace corvane {
namespace {

// The texts are the stage's DPI: 200 and 1000 come from the report-rate numbers of the table.
constexpr Choice kDpiStages[] = {
    {0, IDS_NUM_200},   {1, IDS_NUM_400},   {2, IDS_NUM_600},   {3, IDS_NUM_800},
    {4, IDS_NUM_1000},  {5, IDS_NUM_1200},  {6, IDS_NUM_1400},  {7, IDS_NUM_1600},
    {8, IDS_NUM_1800},  {9, IDS_NUM_2000},  {10, IDS_NUM_2200}, {11, IDS_NUM_2400},
    {12, IDS_NUM_2600}, {13, IDS_NUM_2800}, {14, IDS_NUM_3000}, {15, IDS_NUM_3200},
};

constexpr Choice kReportRates[] = {
    {1, IDS_NUM_1000}, {2, IDS_NUM_500},  {4, IDS_NUM_250}, {5, IDS_NUM_200},
    {8, IDS_NUM_125},  {10, IDS_NUM_100}, {20, IDS_NUM_50},
};

constexpr Choice kRecordingHotkeys[] = {
    {0x40070, IDS_ALT_F1}, {0x40071, IDS_ALT_F2},  {0x40072, IDS_ALT_F3},  {0x40073, IDS_ALT_F4},
    {0x40074, IDS_ALT_F5}, {0x40075, IDS_ALT_F6},  {0x40076, IDS_ALT_F7},  {0x40077, IDS_ALT_F8},
    {0x40078, IDS_ALT_F9}, {0x40079, IDS_ALT_F10}, {0x4007A, IDS_ALT_F11}, {0x4007B, IDS_ALT_F12},
};

struct ButtonFunctions {
  Choice Entries[kFunctionNameCount];
};
constexpr ButtonFunctions MakeButtonFunctions() {
  ButtonFunctions f{};
  for (int i = 0; i < kFunctionNameCount; ++i) {
    f.Entries[i] = {FunctionNameTable[i].Code, FunctionNameTable[i].StringId};
  }
  return f;
}
constexpr ButtonFunctions kButtonFunctions = MakeButtonFunctions();

}  // namespace

const ChoiceTable kDpiStageChoices{kDpiStages, std::size(kDpiStages)};
const ChoiceTable kReportRateChoices{kReportRates, std::size(kReportRates)};
const ChoiceTable kRecordingHotkeyChoices{kRecordingHotkeys, std::size(kRecordingHotkeys)};
const ChoiceTable kButtonFunctionChoices{kButtonFunctions.Entries, kFunctionNameCount};

int FindChoice(const std::vector<int32_t>& itemData, int32_t value) {
  for (size_t i = 0; i < itemData.size(); ++i) {
    if (itemData[i] == value) return static_cast<int>(i);
  }
  return -1;
}

std::vector<int32_t> ChoiceValues(const ChoiceTable& table) {
  std::vector<int32_t> values;
  values.reserve(table.Count);
  for (const Choice& c : table) values.push_back(c.Value);
  return values;
}

std::u16string ChoiceText(const ChoiceTable& table, int32_t value, uint32_t language,
                          size_t capacity) {
  for (const Choice& c : table) {
    if (c.Value == value) return LoadLocalizedString(c.StringId, language, capacity);
  }
  return {};
}

}  // namespace corvane
