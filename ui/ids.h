// The resource and control numbers the program's code uses, under the code's names. The numbers
// themselves live once, in resources/resource.h, which the templates use too.
#pragma once

#include "resources/resource.h"

namespace corvane::ui {

enum TemplateId : int {
  kTemplateAbout = IDD_ABOUTBOX,
  kTemplateMain = IDD_CORVANE_DIALOG,
  kTemplateOverview = IDD_OVERVIEW,
  kTemplateButtons = IDD_BUTTONS,
  kTemplatePointer = IDD_POINTER,
  kTemplateScrolling = IDD_SCROLLING,
  kTemplateMacros = IDD_MACROS,
};

inline constexpr int kIconMain = IDI_CORVANE;

enum MainControl : int {
  kIdTab = IDC_TAB,
  kIdNoticeIcon = IDC_NOTICE_ICON,
  kIdNotice = IDC_NOTICE,
  kIdHelp = ID_HELP,
  kIdApply = ID_APPLY_NOW,
};

// The About item of the system menu.
inline constexpr unsigned kSysCommandAbout = IDM_ABOUTBOX;

enum TabIndex : int { kTabOverview = 0, kTabButtons, kTabPointer, kTabScrolling, kTabMacros };

// Shared by the Pointer and Scrolling pages.
enum PointerControl : int {
  kIdSlow1 = IDC_LABEL_SLOW1, kIdFast1 = IDC_LABEL_FAST1,
  kIdSlow2 = IDC_LABEL_SLOW2, kIdFast2 = IDC_LABEL_FAST2,
  kIdControlledByOs = IDC_CONTROLLED_BY_OS,
  kIdControlPanel = IDC_CONTROL_PANEL,
  kIdXStage0 = IDC_DPI_X_FIRST,
  kIdYStage0 = IDC_DPI_Y_FIRST,
  kIdXequalY = IDC_X_EQUALS_Y,
  kIdSpeed = IDC_SPEED,
  kIdAcceleration = IDC_ACCELERATION,
  kIdReportRate = IDC_REPORT_RATE,
  kIdHorizontal = IDC_HORIZONTAL_SPEED,
  kIdVertical = IDC_VERTICAL_SPEED,
};

inline constexpr int kIdMacroList = IDC_MACRO_LIST;

}  // namespace corvane::ui
