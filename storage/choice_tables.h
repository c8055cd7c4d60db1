// The fixed lists of value and text pairs from which drop-down lists are filled: each item shows
// the text of StringId and carries Value as its item data, in table order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace corvane {

struct Choice {
  int32_t Value;
  uint32_t StringId;
};

struct ChoiceTable {
  const Choice* Entries;
  size_t Count;
  const Choice* begin() const { return Entries; }
  const Choice* end() const { return Entries + Count; }
};

// DPI stage codes 0..15, shown as (code + 1) x 200.
extern const ChoiceTable kDpiStageChoices;
// Report-rate codes (milliseconds between reports), shown as reports per second.
extern const ChoiceTable kReportRateChoices;
// Recording start/stop hot keys Alt+F1..Alt+F12 as RecordingHotkey values 0x40070 + i.
extern const ChoiceTable kRecordingHotkeyChoices;
// FunctionNameTable as a choice table: item data the function code.
extern const ChoiceTable kButtonFunctionChoices;

// Index of the first item whose data equals value, or -1: what a filled list would select.
int FindChoice(const std::vector<int32_t>& itemData, int32_t value);

// The item data of a list filled from table, item i being entry i.
std::vector<int32_t> ChoiceValues(const ChoiceTable& table);

// Text of the first entry with value, looked up in language, or the empty text when no entry
// has it.
std::u16string ChoiceText(const ChoiceTable& table, int32_t value, uint32_t language,
                          size_t capacity = 128);

}  // namespace corvane
