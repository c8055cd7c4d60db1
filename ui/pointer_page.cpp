#include "ui/pointer_page.h"

#include <iterator>

#include "storage/choice_tables.h"
#include "storage/settings.h"
#include "storage/strings.h"
#include "ui/framework/controls.h"
#include "ui/ids.h"
#include "ui/localized.h"
#include "ui/prompts.h"

namespace corvane::ui {
namespace {

constexpr CaptionEntry kCaptions[] = {
    {kIdGroupDpi, IDS_DPI_SENSITIVITY},
    {kIdGroupMovement, IDS_POINTER_MOVEMENT},
    {kIdLabelSpeed, IDS_SPEED},
    {kIdSlow1, IDS_SLOW},
    {kIdFast1, IDS_FAST},
    {kIdLabelAcceleration, IDS_ACCELERATION},
    {kIdSlow2, IDS_SLOW},
    {kIdFast2, IDS_FAST},
    {kIdControlledByOs, IDS_CONTROLLED_BY_OS},
    {kIdControlPanel, IDS_CONTROL_PANEL},
    {kIdLabelReportRate, IDS_REPORT_RATE},
};

void SetUpTrackbar(const Trackbar& t, int lo, int hi, int pos) {
  t.SetRange(lo, hi);
  t.SetLineSize(1);
  t.SetPageSize(1);
  t.SetPos(pos);
}

}  // namespace

void OpenMouseControlPanel(Prompts& prompts) {
  if (prompts.Launch("control.exe mouse") <= 31) {
    prompts.Launch("control.exe /name Microsoft.Mouse");  // its result is of no further use
  }
}

CPointerDlg::CPointerDlg(PageHost& host) : Page(host, kTemplatePointer) {}

int32_t CPointerDlg::AccelerationPositionOf(const MouseParameters& p) {
  return (p.Threshold1 == 6 && p.Threshold2 == 10 && p.Acceleration == 1) ? 0 : 1;
}

void CPointerDlg::ReadSpeed() { speed_ = host_.Pointer().Speed(); }

void CPointerDlg::ReadAcceleration() {
  acceleration_ = AccelerationPositionOf(host_.Pointer().Mouse());
}

void CPointerDlg::RefreshCaptions() { Page::RefreshCaptions(kCaptions, std::size(kCaptions)); }

bool CPointerDlg::OnInitDialog() {
  speedBar_.Attach(Handle(), kIdSpeed);
  accelerationBar_.Attach(Handle(), kIdAcceleration);
  reportRate_.Attach(Handle(), kIdReportRate);
  for (int k = 0; k < kStageLists; ++k) {
    xStages_[k].Attach(Handle(), kIdXStage0 + k);
    yStages_[k].Attach(Handle(), kIdYStage0 + k);
  }
  ReadSpeed();
  SetUpTrackbar(speedBar_, 1, 20, speed_);
  ReadAcceleration();
  SetUpTrackbar(accelerationBar_, 0, 1, acceleration_);
  LoadPointerSettings(host_.StoredSettings(), settings_);
  RefreshCaptions();
  // A stored count beyond the five lists of the page is not trusted further than the lists go.
  int lists = settings_.Resolutions < 0             ? 0
              : settings_.Resolutions > kStageLists ? kStageLists
                                                    : settings_.Resolutions;
  for (int k = 0; k < lists; ++k) {
    xStages_[k].Show(true);
    FillChoiceList(xStages_[k].Handle(), kDpiStageChoices.Entries, kDpiStageChoices.Count,
                   settings_.ResolutionX[k], 0);
    yStages_[k].Show(true);
    FillChoiceList(yStages_[k].Handle(), kDpiStageChoices.Entries, kDpiStageChoices.Count,
                   settings_.ResolutionY[k], 0);
  }
  FillChoiceList(reportRate_.Handle(), kReportRateChoices.Entries, kReportRateChoices.Count,
                 settings_.ReportRate, 0);
  CheckItem(kIdXequalY, settings_.XequalY != 0);
  CheckItem(kIdControlledByOs, true);
  return true;
}

void CPointerDlg::StageChanged(int k, bool xAxis) {
  int32_t* mine = xAxis ? settings_.ResolutionX : settings_.ResolutionY;
  int32_t* other = xAxis ? settings_.ResolutionY : settings_.ResolutionX;
  const ComboBox& list = (xAxis ? xStages_ : yStages_)[k];
  int sel = list.Selection();
  if (sel >= 0) mine[k] = static_cast<int32_t>(list.ItemData(sel));
  if (settings_.XequalY) {
    other[k] = mine[k];
    SelectChoice((xAxis ? yStages_ : xStages_)[k].Handle(), other[k]);
  }
}

bool CPointerDlg::OnPageCommand(int id, int code, HWND) {
  if (id >= kIdXStage0 && id < kIdXStage0 + kStageLists) {
    if (code == CBN_SELCHANGE) StageChanged(id - kIdXStage0, true);
    return true;
  }
  if (id >= kIdYStage0 && id < kIdYStage0 + kStageLists) {
    if (code == CBN_SELCHANGE) StageChanged(id - kIdYStage0, false);
    return true;
  }
  switch (id) {
    case kIdReportRate:
      if (code == CBN_SELCHANGE) {
        int sel = reportRate_.Selection();
        if (sel >= 0) settings_.ReportRate = static_cast<int32_t>(reportRate_.ItemData(sel));
      }
      return true;
    case kIdXequalY:
      if (code == BN_CLICKED) {
        settings_.XequalY = IsItemChecked(kIdXequalY) ? 1 : 0;
        if (settings_.XequalY) {
          int lists = settings_.Resolutions > kStageLists ? kStageLists : settings_.Resolutions;
          for (int k = 0; k < lists; ++k) {
            settings_.ResolutionY[k] = settings_.ResolutionX[k];
            SelectChoice(yStages_[k].Handle(), settings_.ResolutionY[k]);
          }
        }
      }
      return true;
    case kIdControlledByOs: CheckItem(kIdControlledByOs, true); return true;
    case kIdControlPanel:
      if (code == BN_CLICKED) OpenMouseControlPanel(host_.Asker());
      return true;
  }
  return false;
}

bool CPointerDlg::OnMessage(UINT msg, WPARAM wp, LPARAM, INT_PTR&) {
  switch (msg) {
    case WM_SHOWWINDOW:
      if (wp) RefreshCaptions();
      return false;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETMOUSESPEED) {
        ReadSpeed();
        speedBar_.SetPos(speed_);
      } else if (wp == SPI_SETMOUSE) {
        ReadAcceleration();
        accelerationBar_.SetPos(acceleration_);
      }
      return false;
  }
  return false;
}

void CPointerDlg::ApplyPointerSettings() {
  if (IsCreated()) {
    speed_ = speedBar_.Pos();
    acceleration_ = accelerationBar_.Pos();
  }
  host_.Pointer().SetSpeed(speed_);
  host_.Pointer().SetMouse(acceleration_ ? MouseParameters{0, 0, 0} : MouseParameters{6, 10, 1});
  SavePointerSettings(settings_, speed_, acceleration_);
}

}  // namespace corvane::ui
