// The operating system's pointer and wheel parameters, behind a seam so the pages can be
// tested without changing the test machine's settings (and because Wine does not read back
// the pointer speed and acceleration).
#pragma once

#include <cstdint>

namespace corvane::ui {

struct MouseParameters {
  int32_t Threshold1 = 0;
  int32_t Threshold2 = 0;
  int32_t Acceleration = 0;
};

// The wheel-lines value that means one screen per notch.
inline constexpr uint32_t kWheelPageScroll = 0xFFFFFFFFu;

class SystemPointer {
 public:
  virtual ~SystemPointer() = default;
  virtual int32_t Speed() = 0;
  virtual void SetSpeed(int32_t speed) = 0;
  virtual MouseParameters Mouse() = 0;
  virtual void SetMouse(const MouseParameters& p) = 0;
  virtual uint32_t WheelLines() = 0;
  virtual void SetWheelLines(uint32_t lines) = 0;
  virtual uint32_t WheelChars() = 0;
  virtual void SetWheelChars(uint32_t chars) = 0;
};

// SystemParametersInfoW; every set persists and broadcasts the change.
SystemPointer& Win32SystemPointer();

}  // namespace corvane::ui
