// How one macro event looks as a row of the Macros page's event list: its text, its category
// icon (the list's state image) and its action icon (its small image). Rows look the same
// whether the recorder added them live or they were built from a stored macro.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "model/records.h"
#include "storage/strings.h"  // kKeyNameBase

namespace corvane {

// Images of the category list (state images). The list holds keyboard, keyboard, mouse, mouse,
// mouse, mouse, alarm clock: category image i belongs to action image i.
enum CategoryImage : int32_t {
  kCategoryNone = -1,
  kCategoryKeyboard = 0,
  kCategoryMouse = 2,
  kCategoryAlarmClock = 6,
};
// Images of the action list (small images): icons 156 to 161, then 164.
enum ActionImage : int32_t {
  kActionNone = -1,
  kActionYellowDown = 0,
  kActionYellowUp = 1,
  kActionBlueDown = 2,
  kActionBlueUp = 3,
  kActionGreyDown = 4,
  kActionGreyUp = 5,
};

struct EventRowLook {
  // The row's text: the string with this identifier (0: none, the text is empty), or, for a
  // delay, the string "Delay" composed with Data by FormatDelayText.
  uint32_t TextId;
  bool IsDelay;
  int32_t Category;  // CategoryImage
  int32_t Action;    // ActionImage
  int32_t ItemData;  // 1280 on delay rows, else 0
};

EventRowLook DescribeEvent(const MacroEvent& event);

// "%s %d ms": the word for a delay, a space, the milliseconds, " ms".
std::u16string FormatDelayText(std::u16string_view delayWord, int32_t milliseconds);

// The decimal digits of a delay ("%d"), as the delay editor shows it.
std::u16string DelayDigits(int32_t milliseconds);

// Reads the delay editor's text as a decimal integer: leading blanks and one sign allowed,
// reading stops at the first other character, no digits give 0; values beyond the int32 range
// are held to it.
int32_t ParseDelayText(std::u16string_view text);

}  // namespace corvane
