// The device bytes of the 41 standard button functions, indexed by FunctionCode 0..40.
#pragma once

#include <cstdint>

namespace corvane {

inline constexpr int kFunctionCodeRows = 41;

struct FunctionCodeRow {
  uint8_t Count;      // 4 to 24
  uint8_t Bytes[24];  // the record; its first byte gets the device button number ORed in
};

extern const FunctionCodeRow FunctionCodeTable[kFunctionCodeRows];

}  // namespace corvane
