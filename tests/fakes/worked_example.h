// The encoder's worked example as the upload sends it: button 2 "Right-click", button 3 the hot
// key Ctrl+C, stages 1 3 7 15 on both axes, 1000 reports per second.
#pragma once

#include <cstdint>
#include <vector>

#include "model/records.h"

namespace corvane::fakes {

inline void SetWorkedExample(HardwareSettings& hardware, PointerSettings& pointer,
                             ButtonAssignment (&assignments)[kMaxAssignments]) {
  hardware.ButtonCount = 3;
  const int32_t stages[] = {1, 3, 7, 15};
  for (int i = 0; i < 4; ++i) pointer.ResolutionX[i] = pointer.ResolutionY[i] = stages[i];
  pointer.ReportRate = 1;
  assignments[0].FunctionCode = 1;
  assignments[1].FunctionCode = 2;
  assignments[2].FunctionCode = kFunctionHotKey;
  assignments[2].HotKeyVk = 0x43;
  assignments[2].HotKeyModifiers = kModLeftCtrl;
  for (int i = 3; i < kMaxAssignments; ++i) assignments[i].FunctionCode = 1;
}

// The start report and the five frames, in the order they go out.
inline const std::vector<std::vector<uint8_t>>& WorkedExampleReports() {
  static const std::vector<std::vector<uint8_t>> kReports = {
      {0x02, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // start
      {0x02, 0xFF, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // opening
      {0x02, 0x01, 0x00, 0x08, 0x04, 0x59, 0x01, 0x00},  // header
      {0x02, 0x00, 0x13, 0x7F, 0x13, 0x7F, 0xC0, 0x01},  // DPI
      {0x02, 0x00, 0x02, 0x55, 0xC1, 0x04, 0x06, 0x01},  // buttons
      {0x02, 0x03, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00},  // closing
  };
  return kReports;
}

}  // namespace corvane::fakes
