// The Scrolling page: the system's wheel scrolling speeds, horizontal and vertical.
#pragma once

#include <cstdint>

#include "ui/framework/controls.h"
#include "ui/ids.h"
#include "ui/page.h"

namespace corvane::ui {

class CScrollingDlg : public Page {
 public:
  explicit CScrollingDlg(PageHost& host) : Page(host, kTemplateScrolling) {}

  // Called by Apply after the Pointer page's step: both wheel values go to the system.
  void ApplyWheelSettings();

  int32_t HorizontalSpeed() const { return horizontal_; }
  int32_t VerticalSpeed() const { return vertical_; }

  // The trackbar's value for a system wheel-lines value (scrolling by pages is the top end).
  static int32_t VerticalSpeedOf(uint32_t systemLines);

 protected:
  bool OnInitDialog() override;
  bool OnPageCommand(int id, int code, HWND control) override;
  bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, INT_PTR& result) override;

 private:
  void ReadHorizontal();
  void ReadVertical();

  int32_t horizontal_ = 0;
  int32_t vertical_ = 0;
  Trackbar horizontalBar_;
  Trackbar verticalBar_;
};

}  // namespace corvane::ui
