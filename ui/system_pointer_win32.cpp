#include <windows.h>

#include "ui/system_pointer.h"

namespace corvane::ui {
namespace {

constexpr UINT kPersist = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

// The results of these calls are not looked at: a parameter the system refuses keeps its value.
class Win32Pointer final : public SystemPointer {
 public:
  int32_t Speed() override {
    int v = 0;
    SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &v, 0);
    return v;
  }
  void SetSpeed(int32_t speed) override {
    SystemParametersInfoW(SPI_SETMOUSESPEED, 0,
                          reinterpret_cast<void*>(static_cast<INT_PTR>(speed)), kPersist);
  }
  MouseParameters Mouse() override {
    int v[3] = {0, 0, 0};
    SystemParametersInfoW(SPI_GETMOUSE, 0, v, 0);
    return {v[0], v[1], v[2]};
  }
  void SetMouse(const MouseParameters& p) override {
    int v[3] = {p.Threshold1, p.Threshold2, p.Acceleration};
    SystemParametersInfoW(SPI_SETMOUSE, 0, v, kPersist);
  }
  uint32_t WheelLines() override {
    UINT v = 0;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &v, 0);
    return v;
  }
  void SetWheelLines(uint32_t lines) override {
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, lines, nullptr, kPersist);
  }
  uint32_t WheelChars() override {
    UINT v = 0;
    SystemParametersInfoW(SPI_GETWHEELSCROLLCHARS, 0, &v, 0);
    return v;
  }
  void SetWheelChars(uint32_t chars) override {
    SystemParametersInfoW(SPI_SETWHEELSCROLLCHARS, chars, nullptr, kPersist);
  }
};

}  // namespace

SystemPointer& Win32SystemPointer() {
  static Win32Pointer pointer;
  return pointer;
}

}  // namespace corvane::ui
