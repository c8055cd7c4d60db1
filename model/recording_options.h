// The recording settings of the Macros page, stored in the settings file's "Recording" section.
// The fields carry the names of their keys; the initial values are the defaults used when a key
// is missing.
#pragma once

#include <cstdint>

namespace corvane {

struct RecordingOptions {
  int32_t DelayDefault = 128;  // milliseconds of a delay inserted by hand
  int32_t DelayMax = 99999;    // largest delay recorded before a key event or typed in
  int32_t DelayMaxDigits = 5;  // character limit of the delay editor
  int32_t RecordingMouse = 1;
  int32_t RecordingKeyboard = 1;
  int32_t RecordingDelay = 0;     // a delay event in front of every recorded event
  int32_t RecordingMinimize = 0;  // minimize the main window while recording
  int32_t RecordingUseHotkey = 0;
  // Start/stop hot key: modifier bits in the high word (4 = Alt), virtual-key code in the low
  // word; the page offers 0x40070 (Alt+F1) .. 0x4007B (Alt+F12).
  uint32_t RecordingHotkey = 0;
};

}  // namespace corvane
