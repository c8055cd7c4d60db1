// CPicture: the bordered box on the Buttons page that shows one picture of the mouse, centred at
// its natural size (a larger picture is cut equally on all sides). It points at a slot that the
// page owns (ui/device_pictures.h shows the page's side) and never owns a picture itself.
#pragma once

#include <windows.h>

#include "ui/device_pictures.h"
#include "ui/framework/subclass.h"

namespace corvane::ui {

// Attach it to the page's static control (Subclass::Attach(dialog, id)); it paints the control
// from then on.
class CPicture : public Subclass {
 public:
  // Gives the control a client area three quarters as wide as it is high (3 * h / 4, truncated),
  // keeping its top, height, right edge and border.
  void Shape();

  // Shows the picture (nullptr or an empty slot: the blank box) and repaints at once. The picture
  // must outlive the control, or be replaced before it goes.
  void Show(const DevicePicture* picture);
  const DevicePicture* Shown() const { return picture_; }

 protected:
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

 private:
  void Paint(HDC dc) const noexcept;

  const DevicePicture* picture_ = nullptr;
};

}  // namespace corvane::ui
