#include "ui/scrolling_page.h"

#include <iterator>

#include "storage/strings.h"
#include "ui/framework/controls.h"
#include "ui/ids.h"
#include "ui/pointer_page.h"
#include "ui/system_pointer.h"

namespace corvane::ui {
namespace {

constexpr CaptionEntry kCaptions[] = {
    {kIdLabelHorizontal, IDS_HORIZONTAL_SPEED},
    {kIdSlow1, IDS_SLOW},
    {kIdFast1, IDS_FAST},
    {kIdLabelVertical, IDS_VERTICAL_SPEED},
    {kIdSlow2, IDS_SLOW},
    {kIdFast2, IDS_FAST},
    {kIdControlledByOs, IDS_CONTROLLED_BY_OS},
    {kIdControlPanel, IDS_CONTROL_PANEL},
};

constexpr int32_t kWheelMax = 10;

void SetUpTrackbar(const Trackbar& t, int pos) {
  t.SetRange(1, kWheelMax);
  t.SetLineSize(1);
  t.SetPageSize(1);
  t.SetPos(pos);
}

// System values far beyond the range would not fit an int32 position.
int32_t Clamp(uint32_t v) { return v > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(v); }

}  // namespace

int32_t CScrollingDlg::VerticalSpeedOf(uint32_t systemLines) {
  return systemLines == kWheelPageScroll ? kWheelMax : Clamp(systemLines);
}

void CScrollingDlg::ReadHorizontal() { horizontal_ = Clamp(host_.Pointer().WheelChars()); }

void CScrollingDlg::ReadVertical() { vertical_ = VerticalSpeedOf(host_.Pointer().WheelLines()); }

bool CScrollingDlg::OnInitDialog() {
  horizontalBar_.Attach(Handle(), kIdHorizontal);
  verticalBar_.Attach(Handle(), kIdVertical);
  ReadHorizontal();
  SetUpTrackbar(horizontalBar_, horizontal_);
  ReadVertical();
  SetUpTrackbar(verticalBar_, vertical_);
  CheckItem(kIdControlledByOs, true);
  return true;
}

bool CScrollingDlg::OnPageCommand(int id, int code, HWND) {
  switch (id) {
    case kIdControlledByOs: CheckItem(kIdControlledByOs, true); return true;
    case kIdControlPanel:
      if (code == BN_CLICKED) OpenMouseControlPanel(host_.Asker());
      return true;
  }
  return false;
}

bool CScrollingDlg::OnMessage(UINT msg, WPARAM wp, LPARAM, INT_PTR&) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) RefreshCaptions(kCaptions, std::size(kCaptions));
      return false;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETWHEELSCROLLCHARS) {
        ReadHorizontal();
        horizontalBar_.SetPos(horizontal_);
      } else if (wp == SPI_SETWHEELSCROLLLINES) {
        ReadVertical();
        verticalBar_.SetPos(vertical_);
      }
      return false;
  }
  return false;
}

void CScrollingDlg::ApplyWheelSettings() {
  if (IsCreated()) {
    horizontal_ = horizontalBar_.Pos();
    vertical_ = verticalBar_.Pos();
  }
  host_.Pointer().SetWheelChars(static_cast<uint32_t>(horizontal_));
  host_.Pointer().SetWheelLines(vertical_ < kWheelMax ? static_cast<uint32_t>(vertical_)
                                                      : kWheelPageScroll);
}

}  // namespace corvane::ui
