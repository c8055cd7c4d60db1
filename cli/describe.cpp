#include "cli/describe.h"

#include "model/function_names.h"
#include "model/macro_links.h"
#include "model/text.h"
#include "storage/choice_tables.h"
#include "storage/key_names.h"
#include "storage/strings.h"

namespace corvane::cli {
namespace {

std::u16string Text(uint32_t id, uint32_t language) {
  return LoadLocalizedString(id, language, kListItemCapacity);
}

}  // namespace

std::u16string Decimal(int64_t value) {
  std::u16string digits;
  const bool negative = value < 0;
  uint64_t magnitude = negative ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  do {
    digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  if (negative) digits.insert(digits.begin(), u'-');
  return digits;
}

std::u16string FunctionText(const ButtonAssignment& assignment, const MacroLibrary& library,
                            uint32_t language) {
  switch (assignment.FunctionCode) {
    case kFunctionHotKey:
      return Text(IDS_HOT_KEY, language) + u" " +
             HotKeyText(assignment.HotKeyVk, assignment.HotKeyModifiers, language);
    case kFunctionMacro: {
      std::u16string text = Text(IDS_MACRO, language) + u" ";
      const std::u16string_view name = NameView(assignment.MacroName);
      if (name.empty()) return text + u"(none)";
      text.append(name);
      const int32_t mode = assignment.ExecutionMode;
      text += u" (" + Text(mode == kModeManual    ? IDS_MANUAL
                           : mode == kModeOneShot ? IDS_ONE_SHOT
                                                  : IDS_AUTO,
                           language);
      if (mode != kModeOneShot) text += u", " + Decimal(assignment.ExecutionInterval) + u" ms";
      text += u")";
      if (LinkedMacro(assignment, library) == nullptr) {
        text += u" - " + FormatMessageText(BuiltinString(IDS_MACRO_NOT_FOUND), name);
      }
      return text;
    }
    default: {
      const uint32_t id = FunctionNameId(assignment.FunctionCode);
      if (id != 0) return Text(id, language);
      return u"no function (code " + Decimal(assignment.FunctionCode) + u")";
    }
  }
}

std::u16string DpiText(int32_t code) {
  std::u16string text = ChoiceText(kDpiStageChoices, code, 0);
  return text.empty() ? u"invalid (code " + Decimal(code) + u")" : text;
}

std::u16string ReportRateText(int32_t code) {
  std::u16string text = ChoiceText(kReportRateChoices, code, 0);
  return text.empty() ? u"not set (code " + Decimal(code) + u")" : text + u" reports per second";
}

std::u16string ButtonLabel(int row, uint32_t language) {
  if (row >= 0 && row < 8) return Text(IDS_LEFT_BUTTON + static_cast<uint32_t>(row), language);
  return u"Button " + Decimal(row + 1) + u":";
}

}  // namespace corvane::cli
