#include "macros/event_row.h"

#include <cstdint>
#include <limits>

#include "storage/strings.h"

namespace corvane {
namespace {

constexpr EventRowLook Row(uint32_t text, int32_t category, int32_t action) {
  return {text, false, category, action, 0};
}

}  // namespace

EventRowLook DescribeEvent(const MacroEvent& e) {
  const int32_t d = e.Data;
  switch (e.Message) {
    case kMsgKeyDown:
    case kMsgSysKeyDown:
    case kMsgKeyUp:
    case kMsgSysKeyUp: {
      // Only virtual-key codes have names; other numbers would reach unrelated strings.
      uint32_t text = d >= 0 && d <= 255 ? kKeyNameBase + static_cast<uint32_t>(d) : 0;
      bool down = e.Message == kMsgKeyDown || e.Message == kMsgSysKeyDown;
      return Row(text, kCategoryKeyboard, down ? kActionYellowDown : kActionYellowUp);
    }
    case kMsgLButtonDown: return Row(IDS_EVENT_LBUTTON_DOWN, kCategoryMouse, kActionBlueDown);
    case kMsgLButtonUp: return Row(IDS_EVENT_LBUTTON_UP, kCategoryMouse, kActionBlueUp);
    case kMsgRButtonDown: return Row(IDS_EVENT_RBUTTON_DOWN, kCategoryMouse, kActionBlueDown);
    case kMsgRButtonUp: return Row(IDS_EVENT_RBUTTON_UP, kCategoryMouse, kActionBlueUp);
    case kMsgMButtonDown: return Row(IDS_EVENT_MBUTTON_DOWN, kCategoryMouse, kActionBlueDown);
    case kMsgMButtonUp: return Row(IDS_EVENT_MBUTTON_UP, kCategoryMouse, kActionBlueUp);
    case kMsgMouseWheel:
      return d > 0 ? Row(IDS_EVENT_WHEEL_FORWARD, kCategoryMouse, kActionGreyUp)
                   : Row(IDS_EVENT_WHEEL_BACKWARD, kCategoryMouse, kActionGreyDown);
    case kMsgXButtonDown:
      return Row(d == 1 ? IDS_EVENT_XBUTTON1_DOWN : IDS_EVENT_XBUTTON2_DOWN, kCategoryMouse,
                 kActionBlueDown);
    case kMsgXButtonUp:
      return Row(d == 1 ? IDS_EVENT_XBUTTON1_UP : IDS_EVENT_XBUTTON2_UP, kCategoryMouse,
                 kActionBlueUp);
    case kMsgLButtonDblClk: return Row(IDS_EVENT_LBUTTON_DBLCLK, kCategoryNone, kActionNone);
    case kMsgRButtonDblClk: return Row(IDS_EVENT_RBUTTON_DBLCLK, kCategoryNone, kActionNone);
    case kMsgMButtonDblClk: return Row(IDS_EVENT_MBUTTON_DBLCLK, kCategoryNone, kActionNone);
    case kMsgXButtonDblClk:
      return Row(d == 1 ? IDS_EVENT_XBUTTON1_DBLCLK : IDS_EVENT_XBUTTON2_DBLCLK, kCategoryNone,
                 kActionNone);
    case kMsgMouseHWheel:
      return Row(d > 0 ? IDS_EVENT_WHEEL_RIGHT : IDS_EVENT_WHEEL_LEFT, kCategoryNone, kActionNone);
    case kMsgDelay: return {IDS_EVENT_DELAY, true, kCategoryAlarmClock, kActionNone, kMsgDelay};
  }
  return Row(0, kCategoryNone, kActionNone);
}

std::u16string DelayDigits(int32_t milliseconds) {
  std::string digits = std::to_string(milliseconds);
  return std::u16string(digits.begin(), digits.end());
}

std::u16string FormatDelayText(std::u16string_view delayWord, int32_t milliseconds) {
  std::u16string text(delayWord);
  text += u' ';
  text += DelayDigits(milliseconds);
  text += u" ms";
  return text;
}

int32_t ParseDelayText(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  int64_t value = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > int64_t{1} << 32) value = int64_t{1} << 32;  // held: the result saturates below
  }
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(value);
}

}  // namespace corvane
