#include "ui/overview_page.h"

#include <algorithm>
#include <string>

#include "storage/strings.h"
#include "ui/buttons_page.h"
#include "ui/localized.h"
#include "ui/pointer_page.h"
#include "ui/scrolling_page.h"

namespace corvane::ui {
namespace {

// A row's value is cut to what a 256-unit buffer holds.
constexpr size_t kValueChars = 255;
constexpr int kShownStages = 4;

std::u16string Number(int64_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

struct ReportRate {
  int32_t Code;
  int32_t PerSecond;
};

// Code 0 reads as the fastest rate, like code 1.
constexpr ReportRate kReportRates[] = {{0, 1000}, {1, 1000}, {2, 500},  {4, 250},
                                       {5, 200},  {8, 125},  {10, 100}, {20, 50}};

}  // namespace

std::u16string COverviewDlg::StageList(const int32_t (&stages)[kMaxStages]) {
  std::u16string text;
  for (int k = 0; k < kShownStages; ++k) {
    if (k) text += u"   ";
    // In 64 bits: a hand-edited file can hold any 32-bit code, and its DPI must not overflow.
    text += Number(k + 1) + u": " + Number((int64_t{stages[k]} + 1) * 200);
  }
  return text;
}

int32_t COverviewDlg::ReportsPerSecond(int32_t code) {
  for (const ReportRate& r : kReportRates)
    if (r.Code == code) return r.PerSecond;
  return 0;
}

bool COverviewDlg::OnInitDialog() {
  Refresh();
  return true;
}

bool COverviewDlg::OnMessage(UINT msg, WPARAM wp, LPARAM, INT_PTR&) {
  if (msg == WM_SHOWWINDOW && wp) Refresh();
  return false;
}

bool COverviewDlg::OnPageCommand(int id, int code, HWND) {
  int tab = id == kIdModifyButtons     ? kTabButtons
            : id == kIdModifyPointer   ? kTabPointer
            : id == kIdModifyScrolling ? kTabScrolling
                                       : -1;
  if (tab < 0) return false;
  if (code == BN_CLICKED) SwitchToTab(tab);
  return true;
}

void COverviewDlg::Refresh() {
  uint32_t language = host_.Language();
  auto caption = [&](int id, uint32_t string) {
    SetLocalizedCaption(Handle(), id, string, language);
  };

  caption(kIdGroupButtons, IDS_BUTTONS);
  if (const CButtonsDlg* buttons = host_.ButtonsPage()) {
    int rows = std::clamp(host_.Hardware().ButtonCount, 0, kRows);
    for (int k = 0; k < rows; ++k) {
      caption(kButtonRowIds[k].Label, kButtonRowIds[k].LabelString);
      std::u16string value = buttons->SelectorText(k);
      if (value.size() > kValueChars) value.resize(kValueChars);
      SetItemText(kIdRowValue0 + k, value);
    }
    // No line for a button the mouse lacks: the template's placeholders would name functions
    // of buttons that do not exist.
    for (int k = 0; k < kRows; ++k) {
      ShowItem(kButtonRowIds[k].Label, k < rows);
      ShowItem(kIdRowValue0 + k, k < rows);
    }
  }

  caption(kIdGroupPointer, IDS_POINTER);
  caption(kIdLabelXDpi, IDS_X_DPI);
  const CPointerDlg* pointer = host_.PointerPage();
  if (pointer) SetItemText(kIdValueXDpi, StageList(pointer->Settings().ResolutionX));
  caption(kIdLabelYDpi, IDS_Y_DPI);
  if (pointer) SetItemText(kIdValueYDpi, StageList(pointer->Settings().ResolutionY));
  caption(kIdLabelSpeed, IDS_SPEED);
  if (pointer) SetItemText(kIdValueSpeed, Number(pointer->PointerSpeed()));
  caption(kIdLabelAcceleration, IDS_ACCELERATION);
  if (pointer) SetItemText(kIdValueAcceleration, Number(pointer->AccelerationPosition()));
  caption(kIdLabelReportRate, IDS_REPORT_RATE);
  if (pointer) {
    // A code the mouse does not know (the default 2000 among them) has no rate to show.
    int32_t perSecond = ReportsPerSecond(pointer->Settings().ReportRate);
    SetItemText(kIdValueReportRate,
                perSecond ? Number(perSecond) : Localized(IDS_REPORT_RATE_NOT_SET, language));
  }

  caption(kIdGroupScrolling, IDS_SCROLLING);
  caption(kIdLabelHorizontal, IDS_HORIZONTAL_SPEED);
  const CScrollingDlg* scrolling = host_.ScrollingPage();
  if (scrolling) SetItemText(kIdValueHorizontal, Number(scrolling->HorizontalSpeed()));
  caption(kIdLabelVertical, IDS_VERTICAL_SPEED);
  if (scrolling) SetItemText(kIdValueVertical, Number(scrolling->VerticalSpeed()));

  for (int id : {kIdModifyButtons, kIdModifyPointer, kIdModifyScrolling}) caption(id, IDS_MODIFY);
}

}  // namespace corvane::ui
