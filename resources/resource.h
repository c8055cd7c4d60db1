// Resource identifiers of Corvane.exe. Only #defines: the file is read by both the C++ compiler
// and windres. String identifiers live in resources/strings.def (one X-macro list shared by the
// string table and the core), not here.
#pragma once

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif

// ---- Dialog templates -------------------------------------------------------------------------
#define IDD_ABOUTBOX       100
#define IDD_CORVANE_DIALOG 101
#define IDD_OVERVIEW       134
#define IDD_BUTTONS        135
#define IDD_POINTER        136
#define IDD_SCROLLING      137
#define IDD_MACROS         138

// ---- Icons and bitmaps ------------------------------------------------------------------------
#define IDI_CORVANE           128  // program and window icon (16 x 16 and 32 x 32)
#define IDB_DROPDOWN_ARROW    151  // 16 x 16 32-bit alpha bitmap: light-green triangle down
#define IDB_DROPDOWN_ARROW_LARGE 152  // the same at 32 x 32, scaled down above 96 DPI
#define IDI_EVENT_KEYBOARD    154  // event category: keyboard
#define IDI_EVENT_MOUSE       155  // event category: mouse
#define IDI_EVENT_YELLOW_DOWN 156  // event action: key down
#define IDI_EVENT_YELLOW_UP   157  // event action: key up
#define IDI_EVENT_BLUE_DOWN   158  // event action: mouse button down
#define IDI_EVENT_BLUE_UP     159  // event action: mouse button up
#define IDI_EVENT_GREY_DOWN   160  // event action: wheel backward
#define IDI_EVENT_GREY_UP     161  // event action: wheel forward
#define IDI_EVENT_ALARM_CLOCK 164  // event category (and action image slot): delay

// ---- Menus ------------------------------------------------------------------------------------
#define IDR_MACRO_LIST_MENU 129  // context menu of the macro list
#define IDR_EVENT_LIST_MENU 130  // context menu of the event list
#define IDR_FUNCTION_MENU   131  // function menu of the Buttons page's menu buttons

// Macro list context menu (129), same order as buttons 1092..1098.
#define ID_MACRO_NEW    32771
#define ID_MACRO_DELETE 32772
#define ID_MACRO_RENAME 32773
#define ID_MACRO_SAVE   32774
#define ID_MACRO_IMPORT 32775
#define ID_MACRO_EXPORT 32776

// Event list context menu (130).
#define ID_EVENT_RECORD_BEFORE 32777
#define ID_EVENT_RECORD_AFTER  32778
#define ID_EVENT_INSERT_DELAY  32779
#define ID_EVENT_EDIT          32780
#define ID_EVENT_DELETE        32781

// Function menu (131): command = ID_FUNCTION_FIRST + entry of the function name table.
// Entries 14..18 (Copy, Paste, Cut, Redo, Undo: 32806..32810) have no menu item.
#define ID_FUNCTION_FIRST             32792
#define ID_FUNCTION_LEFT_CLICK        32792
#define ID_FUNCTION_RIGHT_CLICK       32793
#define ID_FUNCTION_MIDDLE_CLICK      32794
#define ID_FUNCTION_BACKWARD          32795
#define ID_FUNCTION_FORWARD           32796
#define ID_FUNCTION_SCROLL_LEFT       32797
#define ID_FUNCTION_SCROLL_RIGHT      32798
#define ID_FUNCTION_LEFT_DOUBLE       32799
#define ID_FUNCTION_LEFT_TRIPLE       32800
#define ID_FUNCTION_DPI_UP            32801
#define ID_FUNCTION_DPI_DOWN          32802
#define ID_FUNCTION_DPI_CYCLE         32803
#define ID_FUNCTION_HOTKEY            32804
#define ID_FUNCTION_DESKTOP           32805
#define ID_FUNCTION_CLOSE             32811
#define ID_FUNCTION_ZOOM_IN           32812
#define ID_FUNCTION_ZOOM_OUT          32813
#define ID_FUNCTION_MY_COMPUTER       32814
#define ID_FUNCTION_CALCULATOR        32815
#define ID_FUNCTION_SEND_MAIL         32816
#define ID_FUNCTION_BROWSER_HOME      32817
#define ID_FUNCTION_BROWSER_SEARCH    32818
#define ID_FUNCTION_BROWSER_FAVORITES 32819
#define ID_FUNCTION_BROWSER_BACKWARD  32820
#define ID_FUNCTION_BROWSER_FORWARD   32821
#define ID_FUNCTION_NEXT_TRACK        32822
#define ID_FUNCTION_PREVIOUS_TRACK    32823
#define ID_FUNCTION_STOP              32824
#define ID_FUNCTION_PLAY_PAUSE        32825
#define ID_FUNCTION_MUTE              32826
#define ID_FUNCTION_VOLUME_UP         32827
#define ID_FUNCTION_VOLUME_DOWN       32828
#define ID_FUNCTION_MACRO             32829
#define ID_FUNCTION_LAST              32829

// System menu commands of the About item and of the two that follow it, backing up and
// restoring the whole configuration (low four bits are the system's).
#define IDM_ABOUTBOX              0x0010
#define IDM_BACKUP_CONFIGURATION  0x0020
#define IDM_RESTORE_CONFIGURATION 0x0030

// ---- Main window (101) ------------------------------------------------------------------------
#define IDC_TAB             1000
#define IDC_NOTICE_ICON     1100  // the template leaves it empty: set IDI_ERROR at run time
#define IDC_NOTICE          1101
#define IDC_UPLOAD_PROGRESS 1150
#define ID_HELP             57670
#define ID_APPLY_NOW        12321

// ---- Row controls shared by the Overview (134) and Buttons (135) pages -----------------------
// Row k (0 = left .. 7 = general 3) uses FIRST + k.
#define IDC_ROW_LABEL_FIRST       1002
#define IDC_LABEL_LEFT_BUTTON     1002
#define IDC_LABEL_RIGHT_BUTTON    1003
#define IDC_LABEL_MIDDLE_BUTTON   1004
#define IDC_LABEL_FORWARD_BUTTON  1005
#define IDC_LABEL_BACKWARD_BUTTON 1006
#define IDC_LABEL_GENERAL1        1007
#define IDC_LABEL_GENERAL2        1008
#define IDC_LABEL_GENERAL3        1009  // Buttons page only

// ---- Overview page (134) ----------------------------------------------------------------------
#define IDC_GROUP_BUTTONS          1001
#define IDC_ROW_VALUE_FIRST        1010
#define IDC_VALUE_LEFT_BUTTON      1010
#define IDC_VALUE_RIGHT_BUTTON     1011
#define IDC_VALUE_MIDDLE_BUTTON    1012
#define IDC_VALUE_FORWARD_BUTTON   1013
#define IDC_VALUE_BACKWARD_BUTTON  1014
#define IDC_VALUE_GENERAL1         1015
#define IDC_VALUE_GENERAL2         1016
#define IDC_GROUP_POINTER          1018
#define IDC_LABEL_X_DPI            1019
#define IDC_LABEL_Y_DPI            1020
#define IDC_LABEL_SPEED            1021  // also on the Pointer page
#define IDC_LABEL_ACCELERATION     1022  // also on the Pointer page
#define IDC_LABEL_REPORT_RATE      1023  // a group box "Report Rate" on the Pointer page
#define IDC_VALUE_X_DPI            1024
#define IDC_VALUE_Y_DPI            1025
#define IDC_VALUE_SPEED            1026
#define IDC_VALUE_ACCELERATION     1027
#define IDC_VALUE_REPORT_RATE      1028
#define IDC_GROUP_SCROLLING        1029
#define IDC_LABEL_HORIZONTAL_SPEED 1030  // also on the Scrolling page
#define IDC_LABEL_VERTICAL_SPEED   1031  // also on the Scrolling page
#define IDC_VALUE_HORIZONTAL_SPEED 1032
#define IDC_VALUE_VERTICAL_SPEED   1033
#define IDC_MODIFY_BUTTONS         1034  // Modify buttons: id - 1033 is the tab to select
#define IDC_MODIFY_POINTER         1035
#define IDC_MODIFY_SCROLLING       1036

// ---- Buttons page (135) -----------------------------------------------------------------------
#define IDC_ROW_COMBO_FIRST       1037  // drop-down lists, combo-box mode
#define IDC_COMBO_LEFT_BUTTON     1037
#define IDC_COMBO_RIGHT_BUTTON    1038
#define IDC_COMBO_MIDDLE_BUTTON   1039
#define IDC_COMBO_FORWARD_BUTTON  1040
#define IDC_COMBO_BACKWARD_BUTTON 1041
#define IDC_COMBO_GENERAL1        1042
#define IDC_COMBO_GENERAL2        1043
#define IDC_COMBO_GENERAL3        1044
#define IDC_ROW_MENU_FIRST        1103  // flat menu buttons, menu-button mode
#define IDC_MENU_LEFT_BUTTON      1103
#define IDC_MENU_RIGHT_BUTTON     1104
#define IDC_MENU_MIDDLE_BUTTON    1105
#define IDC_MENU_FORWARD_BUTTON   1106
#define IDC_MENU_BACKWARD_BUTTON  1107
#define IDC_MENU_GENERAL1         1108
#define IDC_MENU_GENERAL2         1109
#define IDC_MENU_GENERAL3         1110
#define IDC_PICTURE               1045  // device picture (CPicture), bordered static
#define IDC_RESTORE_DEFAULTS      1046
#define IDC_LABEL_HOTKEY          1047
#define IDC_HOTKEY                1048  // edit control the hot key field (CHotKey) attaches to
#define IDC_LABEL_MACRO           1049
#define IDC_MACRO_CHOICE          1050
#define IDC_EDIT_MACRO            1051
#define IDC_LABEL_EXECUTION_MODE  1052
#define IDC_MODE_AUTO             1053  // 1053 + ExecutionMode
#define IDC_MODE_MANUAL           1054
#define IDC_MODE_ONE_SHOT         1055
#define IDC_LABEL_INTERVAL        1056
#define IDC_INTERVAL              1057
#define IDC_LABEL_MS              1058

// ---- Pointer page (136) -----------------------------------------------------------------------
#define IDC_GROUP_DPI      1059
#define IDC_DPI_X_FIRST    1060  // X stage k is 1060 + k, k = 0..4
#define IDC_DPI_X1         1060
#define IDC_DPI_X2         1061
#define IDC_DPI_X3         1062
#define IDC_DPI_X4         1063
#define IDC_DPI_X5         1064  // hidden in the template
#define IDC_DPI_Y_FIRST    1065  // Y stage k is 1065 + k, k = 0..4
#define IDC_DPI_Y1         1065
#define IDC_DPI_Y2         1066
#define IDC_DPI_Y3         1067
#define IDC_DPI_Y4         1068
#define IDC_DPI_Y5         1069  // hidden in the template
#define IDC_X_EQUALS_Y     1070
#define IDC_GROUP_MOVEMENT 1071
#define IDC_REPORT_RATE    1080

// Trackbar ends, shared by the Pointer and Scrolling pages: first and second trackbar.
#define IDC_LABEL_SLOW1      1072
#define IDC_LABEL_FAST1      1073
#define IDC_LABEL_SLOW2      1075
#define IDC_LABEL_FAST2      1076
#define IDC_SPEED            1074  // trackbar, pointer speed 1..20
#define IDC_ACCELERATION     1077  // trackbar, acceleration 0..1
#define IDC_CONTROLLED_BY_OS 1078  // shared by the Pointer and Scrolling pages
#define IDC_CONTROL_PANEL    1079  // shared by the Pointer and Scrolling pages

// ---- Scrolling page (137) ---------------------------------------------------------------------
#define IDC_HORIZONTAL_SPEED 1081  // trackbar, wheel characters 1..10
#define IDC_VERTICAL_SPEED   1082  // trackbar, wheel lines 1..10

// ---- Macros page (138) ------------------------------------------------------------------------
#define IDC_MACRO_LIST              1083
#define IDC_EVENT_LIST              1084
#define IDC_LABEL_RECORDING_OPTIONS 1085
#define IDC_RECORD_MOUSE            1086
#define IDC_RECORD_KEYBOARD         1087
#define IDC_RECORD_DELAY            1088
#define IDC_RECORD_MINIMIZE         1089
#define IDC_RECORD_USE_HOTKEY       1090
#define IDC_RECORD_HOTKEY           1091
#define IDC_MACRO_NEW               1092
#define IDC_MACRO_DELETE            1093
#define IDC_MACRO_RENAME            1095
#define IDC_MACRO_SAVE              1096
#define IDC_MACRO_IMPORT            1097
#define IDC_MACRO_EXPORT            1098
#define IDC_RECORD                  1099  // "Start Recording" / "Stop Recording"
