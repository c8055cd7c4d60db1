#include "macros/event_row.h"

#include <gtest/gtest.h>

#include <limits>

#include "storage/strings.h"

namespace corvane {
namespace {

TEST(EventRow, EveryMessageHasItsTextAndIcons) {
  const struct {
    MacroEvent Event;
    uint32_t Text;
    int32_t Category, Action;
  } cases[] = {
      {{256, 65}, 512 + 65, kCategoryKeyboard, kActionYellowDown},
      {{260, 164}, IDS_KEY_LMENU, kCategoryKeyboard, kActionYellowDown},
      {{257, 65}, 512 + 65, kCategoryKeyboard, kActionYellowUp},
      {{261, 164}, 512 + 164, kCategoryKeyboard, kActionYellowUp},
      {{256, 0}, 512, kCategoryKeyboard, kActionYellowDown},
      {{256, 255}, 512 + 255, kCategoryKeyboard, kActionYellowDown},
      // No virtual-key code: no name (512 + 256 would be another text).
      {{256, 256}, 0, kCategoryKeyboard, kActionYellowDown},
      {{257, -1}, 0, kCategoryKeyboard, kActionYellowUp},
      {{513, 0}, IDS_EVENT_LBUTTON_DOWN, kCategoryMouse, kActionBlueDown},
      {{514, 0}, IDS_EVENT_LBUTTON_UP, kCategoryMouse, kActionBlueUp},
      {{516, 0}, IDS_EVENT_RBUTTON_DOWN, kCategoryMouse, kActionBlueDown},
      {{517, 0}, IDS_EVENT_RBUTTON_UP, kCategoryMouse, kActionBlueUp},
      {{519, 0}, IDS_EVENT_MBUTTON_DOWN, kCategoryMouse, kActionBlueDown},
      {{520, 0}, IDS_EVENT_MBUTTON_UP, kCategoryMouse, kActionBlueUp},
      {{522, 120}, IDS_EVENT_WHEEL_FORWARD, kCategoryMouse, kActionGreyUp},
      {{522, -120}, IDS_EVENT_WHEEL_BACKWARD, kCategoryMouse, kActionGreyDown},
      {{522, 0}, IDS_EVENT_WHEEL_BACKWARD, kCategoryMouse, kActionGreyDown},
      {{523, 1}, IDS_EVENT_XBUTTON1_DOWN, kCategoryMouse, kActionBlueDown},
      {{523, 2}, IDS_EVENT_XBUTTON2_DOWN, kCategoryMouse, kActionBlueDown},
      {{524, 1}, IDS_EVENT_XBUTTON1_UP, kCategoryMouse, kActionBlueUp},
      {{524, 7}, IDS_EVENT_XBUTTON2_UP, kCategoryMouse, kActionBlueUp},
      {{515, 0}, IDS_EVENT_LBUTTON_DBLCLK, kCategoryNone, kActionNone},
      {{518, 0}, IDS_EVENT_RBUTTON_DBLCLK, kCategoryNone, kActionNone},
      {{521, 0}, IDS_EVENT_MBUTTON_DBLCLK, kCategoryNone, kActionNone},
      {{525, 1}, IDS_EVENT_XBUTTON1_DBLCLK, kCategoryNone, kActionNone},
      {{525, 2}, IDS_EVENT_XBUTTON2_DBLCLK, kCategoryNone, kActionNone},
      {{526, 120}, IDS_EVENT_WHEEL_RIGHT, kCategoryNone, kActionNone},
      {{526, -120}, IDS_EVENT_WHEEL_LEFT, kCategoryNone, kActionNone},
      {{512, 0}, 0, kCategoryNone, kActionNone},
      {{0, 0}, 0, kCategoryNone, kActionNone},
      {{1281, 5}, 0, kCategoryNone, kActionNone},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Event.Message << "/" << c.Event.Data);
    EventRowLook look = DescribeEvent(c.Event);
    EXPECT_EQ(c.Text, look.TextId);
    EXPECT_EQ(c.Category, look.Category);
    EXPECT_EQ(c.Action, look.Action);
    EXPECT_FALSE(look.IsDelay);
    EXPECT_EQ(0, look.ItemData);
  }
  EventRowLook delay = DescribeEvent({1280, 250});
  EXPECT_TRUE(delay.IsDelay);
  EXPECT_EQ(IDS_EVENT_DELAY, delay.TextId);
  EXPECT_EQ(kCategoryAlarmClock, delay.Category);
  EXPECT_EQ(kActionNone, delay.Action);
  EXPECT_EQ(1280, delay.ItemData);
  EXPECT_EQ(u"Left ALT", BuiltinString(DescribeEvent({260, 164}).TextId));
}

TEST(EventRow, DelayTexts) {
  EXPECT_EQ(u"Delay 128 ms", FormatDelayText(u"Delay", 128));
  EXPECT_EQ(u"Pause 0 ms", FormatDelayText(u"Pause", 0));
  EXPECT_EQ(u"Delay -5 ms", FormatDelayText(u"Delay", -5));
  EXPECT_EQ(u"99999", DelayDigits(99999));
  EXPECT_EQ(u"-2147483648", DelayDigits(std::numeric_limits<int32_t>::min()));
}

TEST(EventRow, DelayEditorTextReadsAsADecimalNumber) {
  const struct {
    const char16_t* Text;
    int32_t Value;
  } cases[] = {
      {u"128", 128},
      {u"0", 0},
      {u"", 0},
      {u"abc", 0},
      {u"  42", 42},
      {u"\t+7", 7},
      {u"-3", -3},
      {u"12x5", 12},
      {u"100000", 100000},
      {u"007", 7},
      {u"+", 0},
      {u"- 4", 0},
      {u"99999999999999", std::numeric_limits<int32_t>::max()},
      {u"-99999999999999", std::numeric_limits<int32_t>::min()},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.Value, ParseDelayText(c.Text)) << std::u16string(c.Text).size();
}

}  // namespace
}  // namespace corvane
