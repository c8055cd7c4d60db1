// The resource and control numbers the program's code uses, under the code's names. The numbers
// themselves live once, in resources/resource.h, which the templates use too; string numbers
// live in resources/strings.def (StringId in storage/strings.h).
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
inline constexpr int kBitmapDropDownArrow = IDB_DROPDOWN_ARROW;
inline constexpr int kBitmapDropDownArrowLarge = IDB_DROPDOWN_ARROW_LARGE;
inline constexpr int kMenuFunctions = IDR_FUNCTION_MENU;

enum MainControl : int {
  kIdTab = IDC_TAB,
  kIdNoticeIcon = IDC_NOTICE_ICON,
  kIdNotice = IDC_NOTICE,
  kIdHelp = ID_HELP,
  kIdApply = ID_APPLY_NOW,
  kIdUploadProgress = IDC_UPLOAD_PROGRESS,
};

// The items the program adds to the system menu.
inline constexpr unsigned kSysCommandAbout = IDM_ABOUTBOX;
inline constexpr unsigned kSysCommandBackup = IDM_BACKUP_CONFIGURATION;
inline constexpr unsigned kSysCommandRestore = IDM_RESTORE_CONFIGURATION;

enum TabIndex : int { kTabOverview = 0, kTabButtons, kTabPointer, kTabScrolling, kTabMacros };
inline constexpr int kTabCount = 5;

// Row k of the Overview and Buttons pages (0 = left button) uses FIRST + k.
enum RowControl : int {
  kIdRowLabel0 = IDC_ROW_LABEL_FIRST,
  kIdRowValue0 = IDC_ROW_VALUE_FIRST,  // Overview
  kIdRowCombo0 = IDC_ROW_COMBO_FIRST,  // Buttons, combo-box mode
  kIdRowMenu0 = IDC_ROW_MENU_FIRST,    // Buttons, menu-button mode
};

enum OverviewControl : int {
  kIdGroupButtons = IDC_GROUP_BUTTONS,
  kIdGroupPointer = IDC_GROUP_POINTER,
  kIdLabelXDpi = IDC_LABEL_X_DPI,
  kIdLabelYDpi = IDC_LABEL_Y_DPI,
  kIdLabelSpeed = IDC_LABEL_SPEED,
  kIdLabelAcceleration = IDC_LABEL_ACCELERATION,
  kIdLabelReportRate = IDC_LABEL_REPORT_RATE,
  kIdValueXDpi = IDC_VALUE_X_DPI,
  kIdValueYDpi = IDC_VALUE_Y_DPI,
  kIdValueSpeed = IDC_VALUE_SPEED,
  kIdValueAcceleration = IDC_VALUE_ACCELERATION,
  kIdValueReportRate = IDC_VALUE_REPORT_RATE,
  kIdGroupScrolling = IDC_GROUP_SCROLLING,
  kIdLabelHorizontal = IDC_LABEL_HORIZONTAL_SPEED,
  kIdLabelVertical = IDC_LABEL_VERTICAL_SPEED,
  kIdValueHorizontal = IDC_VALUE_HORIZONTAL_SPEED,
  kIdValueVertical = IDC_VALUE_VERTICAL_SPEED,
  kIdModifyButtons = IDC_MODIFY_BUTTONS,
  kIdModifyPointer = IDC_MODIFY_POINTER,
  kIdModifyScrolling = IDC_MODIFY_SCROLLING,
};

enum ButtonsControl : int {
  kIdPicture = IDC_PICTURE,
  kIdRestoreDefaults = IDC_RESTORE_DEFAULTS,
  kIdLabelHotKey = IDC_LABEL_HOTKEY,
  kIdHotKey = IDC_HOTKEY,
  kIdLabelMacro = IDC_LABEL_MACRO,
  kIdMacroChoice = IDC_MACRO_CHOICE,
  kIdEditMacro = IDC_EDIT_MACRO,
  kIdLabelExecutionMode = IDC_LABEL_EXECUTION_MODE,
  kIdModeAuto = IDC_MODE_AUTO,  // kIdModeAuto + ExecutionMode
  kIdModeManual = IDC_MODE_MANUAL,
  kIdModeOneShot = IDC_MODE_ONE_SHOT,
  kIdLabelInterval = IDC_LABEL_INTERVAL,
  kIdInterval = IDC_INTERVAL,
  kIdLabelMs = IDC_LABEL_MS,
};

// Shared by the Pointer and Scrolling pages.
enum PointerControl : int {
  kIdGroupDpi = IDC_GROUP_DPI,
  kIdGroupMovement = IDC_GROUP_MOVEMENT,
  kIdSlow1 = IDC_LABEL_SLOW1,
  kIdFast1 = IDC_LABEL_FAST1,
  kIdSlow2 = IDC_LABEL_SLOW2,
  kIdFast2 = IDC_LABEL_FAST2,
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

enum MacrosControl : int {
  kIdMacroList = IDC_MACRO_LIST,
  kIdEventList = IDC_EVENT_LIST,
  kIdLabelRecordingOptions = IDC_LABEL_RECORDING_OPTIONS,
  kIdRecordMouse = IDC_RECORD_MOUSE,  // the five option boxes follow in RecordingOptions order
  kIdRecordKeyboard = IDC_RECORD_KEYBOARD,
  kIdRecordDelay = IDC_RECORD_DELAY,
  kIdRecordMinimize = IDC_RECORD_MINIMIZE,
  kIdRecordUseHotkey = IDC_RECORD_USE_HOTKEY,
  kIdRecordHotkey = IDC_RECORD_HOTKEY,
  kIdMacroNew = IDC_MACRO_NEW,
  kIdMacroDelete = IDC_MACRO_DELETE,
  kIdMacroRename = IDC_MACRO_RENAME,
  kIdMacroSave = IDC_MACRO_SAVE,
  kIdMacroImport = IDC_MACRO_IMPORT,
  kIdMacroExport = IDC_MACRO_EXPORT,
  kIdRecord = IDC_RECORD,
};

// The notifications of the input hook library (macros/hook/corvane_hook.h): WM_APP + 1 and + 2.
inline constexpr unsigned WM_HOOKMOUSE = 0x8001;
inline constexpr unsigned WM_HOOKKEYBOARD = 0x8002;

// The context menus of the Macros page: the first popup of each menu resource.
inline constexpr int kMenuMacroList = IDR_MACRO_LIST_MENU;
inline constexpr int kMenuEventList = IDR_EVENT_LIST_MENU;
enum MacrosMenuCommand : int {
  kCmdMacroNew = ID_MACRO_NEW,
  kCmdMacroDelete = ID_MACRO_DELETE,
  kCmdMacroRename = ID_MACRO_RENAME,
  kCmdMacroSave = ID_MACRO_SAVE,
  kCmdMacroImport = ID_MACRO_IMPORT,
  kCmdMacroExport = ID_MACRO_EXPORT,
  kCmdRecordBefore = ID_EVENT_RECORD_BEFORE,
  kCmdRecordAfter = ID_EVENT_RECORD_AFTER,
  kCmdInsertDelay = ID_EVENT_INSERT_DELAY,
  kCmdEditDelay = ID_EVENT_EDIT,
  kCmdDeleteEvent = ID_EVENT_DELETE,
};

// Icons of the event list: categories (state images) and actions (small images).
enum EventIcon : int {
  kIconKeyboard = IDI_EVENT_KEYBOARD,
  kIconMouse = IDI_EVENT_MOUSE,
  kIconYellowDown = IDI_EVENT_YELLOW_DOWN,
  kIconYellowUp = IDI_EVENT_YELLOW_UP,
  kIconBlueDown = IDI_EVENT_BLUE_DOWN,
  kIconBlueUp = IDI_EVENT_BLUE_UP,
  kIconGreyDown = IDI_EVENT_GREY_DOWN,
  kIconGreyUp = IDI_EVENT_GREY_UP,
  kIconAlarmClock = IDI_EVENT_ALARM_CLOCK,
};

}  // namespace corvane::ui
