// The mouse's configuration memory image: 8-byte frames (each one HID output report) holding the
// report rate, TurboLo, the DPI stages and one record per programmable button.
#pragma once

#include "model/records.h"

#include <cstddef>
#include <cstdint>

namespace corvane {

inline constexpr size_t kDeviceImageSize = 2048;
inline constexpr size_t kMaxPayload = 2 + 252 * 6;  // 1514

struct DeviceImage {
  uint8_t Bytes[kDeviceImageSize];
};

struct EncodeResult {
  size_t Length = 0;         // bytes to send (multiple of 8, >= 32); 0 when it does not fit
  size_t PayloadLength = 0;  // payload bytes the configuration needs (also when it does not fit)
  size_t Overflow = 0;       // PayloadLength - kMaxPayload when it does not fit, else 0
  bool Fits() const { return Overflow == 0; }
};

// resX/resY: the first four stage codes of each axis; buttons: assignments from button 2 on;
// count: ButtonCount - 1. The library resolves MacroLink slots. image is zero-filled by the caller
// (the function may zero it itself too). Never writes past the image; when the payload does not fit
// the image content is unspecified/zero and Length is 0: nothing may be sent.
EncodeResult EncodeDeviceImage(const int32_t resX[4], const int32_t resY[4],
                               const ButtonAssignment* buttons, int count, int32_t reportRate,
                               uint8_t turboLo, const MacroLibrary& library, DeviceImage& image);

}  // namespace corvane
