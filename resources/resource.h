// Every resource and control id of the program, named once. Shared by the .rc files and C++.
#pragma once

// ---- Icons --------------------------------------------------------------------------
#define IDI_ORVALE                128
#define IDI_SWAP_WINDOWS          145
#define IDI_NEXT_DOCUMENT         146
#define IDI_PREVIOUS_DOCUMENT     147
#define IDI_START_MENU            165
#define IDI_MINIMIZE_WINDOW       166
#define IDI_MAXIMIZE_WINDOW       167
#define IDI_ALWAYS_ON_TOP         168
#define IDI_SEPARATOR             169
#define IDI_CLOSE_APPLICATION     175
#define IDI_DROP_FILES            198

// ---- Dialog templates ---------------------------------------------------------------
#define IDD_ABOUT                 100
#define IDD_SETTINGS              102
#define IDD_BAR                   144
#define IDD_HOST_FRAME            160
#define IDD_BAR_PROPERTIES        162
#define IDD_TASKBAR_PROPERTIES    164
#define IDD_CONTEXT               183
#define IDD_WINDOW_TITLE          184

// ---- Data ---------------------------------------------------------------------------
// The settings a first start writes when there is no settings file (RCDATA).
#define IDR_STARTER_SETTINGS      300

// ---- Menus --------------------------------------------------------------------------
#define IDR_SETTINGS_MENU         138
#define IDR_TRAY_MENU             139
#define IDR_ADD_MENU              164

// ---- Host frame ("OV32 Frame") --------------------------------------------------------
#define IDC_FRAME_CLOSE           1029
#define IDC_FRAME_HIDE            1041

// ---- Settings window ("Orvale") and its menus -----------------------------------------
#define IDC_HELP_CONTENTS         1011
#define IDC_APPLY                 1012
#define IDC_TASKBAR_ENABLE        1024
#define IDC_GLOBAL_ENABLE         1028
#define IDC_TASKBAR_SETTINGS      1033
#define IDC_EXIT                  1035
#define IDC_CONTEXT_SETTINGS      1036
#define IDC_CONTEXT_LIST_BUTTON   1037
#define IDC_GLOBAL_SETTINGS       1038
#define IDC_CONTEXT_BARS          1055
#define IDC_GLOBAL_BARS           1056
#define IDC_ABOUT_MENU            1099
#define IDC_TABS                  1104
#define IDC_TAB_DESCRIPTION       1107
#define IDC_TITLE_ANCHOR          1006
#define IDC_HELP_STANDARD         57670
#define IDM_TRAY_EXIT             32805
#define IDM_TRAY_SETTINGS         32806
#define IDM_ENABLE                32807
#define IDM_TRAY_ABOUT            32808
#define IDM_START_WITH_WINDOWS    32809

// Tray icon: identifier and callback message number.
#define ORVALE_TRAY_ID            126
#define ORVALE_TRAY_MESSAGE       126

// ---- Timers (each window numbers its own) ----------------------------------------------------
#define IDT_TRACKER_TICK          1     // tracker clock: the 50 ms tick, while it has work
#define IDT_BUTTON_HOVER          1     // bar button: ends the hover edge, every 5 ms
#define IDT_BUTTON_RELEASE        2     // bar button: the release of a press that closed a menu
#define IDT_BUTTON_STATES         1     // bar editor: enables its buttons, every 100 ms
#define IDT_HIDE_BARS             2     // bar editors: move the bars away once no button is held
#define IDT_TRAY_MENU             1     // settings window: the tray menu, once, after a right press

// ---- Commands between the hook library, the settings window and the tracker -------------
#define IDC_START_MENU_SEARCH     114

// ---- Bar window commands --------------------------------------------------------------
#define IDC_BAR_SWITCH_WINDOWS    115
#define IDC_BAR_SWITCH_STEP2      116
#define IDC_BAR_START_MENU        119
#define IDC_BAR_NEXT_DOCUMENT     120
#define IDC_BAR_PREVIOUS_DOCUMENT 121
#define IDC_BAR_MINIMIZE          122
#define IDC_BAR_MAXIMIZE          123
#define IDC_BAR_ALWAYS_ON_TOP     124
#define IDC_BAR_SEPARATOR         125
#define IDC_BAR_EDIT              132
#define IDC_BAR_CLOSE_APPLICATION 133
#define IDC_TASK_BUTTON_FIRST     150
#define IDC_TASK_BUTTON_LAST      213
#define IDC_ITEM_BUTTON_FIRST     400
#define IDC_ITEM_BUTTON_LAST      799

// ---- "Context" and "Window Title" dialogs -----------------------------------------------
#define IDC_CONTEXT_ADD           1016
#define IDC_CONTEXT_EDIT          1030
#define IDC_CONTEXT_REMOVE        1086
#define IDC_CONTEXT_WINDOWS       1055
#define IDC_CONTEXT_LISTED_ONLY   1096
#define IDC_CONTEXT_ALL_EXCEPT    1097
#define IDC_WINDOW_TITLE_EDIT     1098

// ---- "Bar Properties" and "TaskBar" dialogs ---------------------------------------------------
#define IDC_BAR_ADD               1016
#define IDC_BAR_CONTEXT           1029
#define IDC_BAR_COPY              1031
#define IDC_BAR_PROPERTIES        1034
#define IDC_BAR_PASTE             1035
#define IDC_BAR_REMOVE            1046
#define IDC_BAR_ITEMS             1055
#define IDC_BAR_UP                1062
#define IDC_BAR_DOWN              1063
#define IDC_BAR_HORIZONTAL        1065
#define IDC_BAR_ENABLE            1028
#define IDC_BAR_NAME              1106

// The "Add >>" menu ("AddToMenu++") of the bar editor.
#define IDM_ADD_APPLICATION       32781
#define IDM_ADD_START_MENU        32782
#define IDM_ADD_SWITCH_WINDOWS    32783
#define IDM_ADD_NEXT_DOCUMENT     32784
#define IDM_ADD_MINIMIZE_WINDOW   32786
#define IDM_ADD_MAXIMIZE_WINDOW   32787
#define IDM_ADD_ALWAYS_ON_TOP     32788
#define IDM_ADD_PREVIOUS_DOCUMENT 32790
#define IDM_ADD_CLOSE_APPLICATION 32811
#define IDM_ADD_EMAIL             32813
#define IDM_ADD_WEB_PAGE          32814
#define IDM_ADD_EMPTY_MACRO       32816
#define IDM_ADD_RECORD_MACRO      32817
#define IDM_ADD_SELECT_MACRO      32818
#define IDM_ADD_KEY_SEQUENCE      32819
#define IDM_ADD_SELECT_FILE       32826

// ---- Item editors: one dialog class, one template per item kind ---------------------------
#define IDD_ITEM_APPLICATION      172
#define IDD_ITEM_EMAIL            225
#define IDD_ITEM_WEB_PAGE         226
#define IDD_ITEM_MACRO            227
#define IDD_ITEM_KEY_SEQUENCE     228
#define IDD_ITEM_SELECT_FILE      229
#define IDC_ITEM_SELECT_MACRO     1016
#define IDC_ITEM_SPECIAL_KEY      1017
#define IDC_ITEM_CHANGE_ICON      1029
#define IDC_ITEM_MORE_MACROS      1031
#define IDC_ITEM_EDIT_MACRO       1034
#define IDC_ITEM_RECORD_MACRO     1035
#define IDC_ITEM_WND              1077
#define IDC_ITEM_PTH              1078
#define IDC_ITEM_PAR              1079
#define IDC_ITEM_DIR              1080
#define IDC_ITEM_BROWSE           1081
#define IDC_ITEM_ICON             1082
#define IDC_ITEM_TT               1103
// The ">>" menu of likely folders.
#define IDR_BROWSE_MENU           249
#define IDM_BROWSE_START_MENU     32830
#define IDM_BROWSE_WINDOWS        32831
#define IDM_BROWSE_PROGRAM_FILES  32832
#define IDM_BROWSE_CONTROL_PANEL  32833
#define IDM_BROWSE_OTHER          32834

// ---- "Change Icon" ------------------------------------------------------------------------
#define IDD_CHANGE_ICON           170
#define IDC_ICON_LIST             1043
#define IDC_ICON_FILE             1044
#define IDC_ICON_BROWSE           1081
#define IDC_ICON_PREVIEW          1082

// ---- "Add Special Key" --------------------------------------------------------------------
#define IDD_ADD_SPECIAL_KEY       194
#define IDC_SPECIAL_KEYS          1055

// ---- "Macros" (what macros are, where the macro tool comes from) --------------------------
#define IDD_MACROS_INFO           189
#define IDC_MACROS_HOME_PAGE      1108

// ---- "Macro file" -------------------------------------------------------------------------
#define IDD_MACRO_FILE            190
#define IDC_MACRO_FILE_BROWSE     1081
#define IDC_MACRO_FILE_PATH       1105
