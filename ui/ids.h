// Resource and control numbers the program's code uses, as the templates define them.
#pragma once

namespace corvane::ui {

enum TemplateId : int {
  kTemplateAbout = 100,
  kTemplateMain = 101,
  kTemplateOverview = 134,
  kTemplateButtons = 135,
  kTemplatePointer = 136,
  kTemplateScrolling = 137,
  kTemplateMacros = 138,
};

inline constexpr int kIconMain = 128;

enum MainControl : int {
  kIdTab = 1000,
  kIdNoticeIcon = 1100,
  kIdNotice = 1101,
  kIdHelp = 57670,
  kIdApply = 12321,
};

// The About item of the system menu.
inline constexpr unsigned kSysCommandAbout = 0x10;

enum TabIndex : int { kTabOverview = 0, kTabButtons, kTabPointer, kTabScrolling, kTabMacros };

// Shared by the Pointer and Scrolling pages.
enum PointerControl : int {
  kIdSlow1 = 1072, kIdFast1 = 1073, kIdSlow2 = 1075, kIdFast2 = 1076,
  kIdControlledByOs = 1078,
  kIdControlPanel = 1079,
  kIdXStage0 = 1060,
  kIdYStage0 = 1065,
  kIdXequalY = 1070,
  kIdSpeed = 1074,
  kIdAcceleration = 1077,
  kIdReportRate = 1080,
  kIdHorizontal = 1081,
  kIdVertical = 1082,
};

inline constexpr int kIdMacroList = 1083;

}  // namespace corvane::ui
