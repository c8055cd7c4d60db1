// CPicture: the bordered box on the Buttons page that shows one picture of the mouse, centred at
// its natural size (a larger picture is cut equally on all sides). It points at a slot that the
// page owns (ui/device_pictures.h shows the page's side) and never owns a picture itself.
#pragma once

#include <windows.h>

#include "ui/device_pictures.h"

namespace corvane::ui {

class CPicture {
 public:
  CPicture() = default;
  ~CPicture() { Detach(); }
  CPicture(const CPicture&) = delete;
  CPicture& operator=(const CPicture&) = delete;

  // Takes over the painting of the dialog's static control id. False when there is no such
  // control.
  bool Attach(HWND dialog, int id);
  void Detach();
  HWND Handle() const { return hwnd_; }

  // Gives the control a client area three quarters as wide as it is high (3 * h / 4, truncated),
  // keeping its top, height, right edge and border.
  void Shape();

  // Shows the picture (nullptr or an empty slot: the blank box) and repaints at once. The picture
  // must outlive the control, or be replaced before it goes.
  void Show(const DevicePicture* picture);
  const DevicePicture* Shown() const { return picture_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR self);
  void Paint(HDC dc) const noexcept;

  HWND hwnd_ = nullptr;
  const DevicePicture* picture_ = nullptr;
};

}  // namespace corvane::ui
