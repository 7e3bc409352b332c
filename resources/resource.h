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

// ---- Dialog templates ---------------------------------------------------------------
#define IDD_ABOUT                 100
#define IDD_SETTINGS              102
#define IDD_BAR                   144
#define IDD_HOST_FRAME            160
#define IDD_CONTEXT               183
#define IDD_WINDOW_TITLE          184

// ---- Menus --------------------------------------------------------------------------
#define IDR_SETTINGS_MENU         138
#define IDR_TRAY_MENU             139

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

// Tray icon: identifier and callback message number.
#define ORVALE_TRAY_ID            126
#define ORVALE_TRAY_MESSAGE       126

// ---- Timers (each window numbers its own) ----------------------------------------------------
#define IDT_TRACKER_TICK          1     // tracker clock: the 50 ms tick, while it has work
#define IDT_BUTTON_HOVER          1     // bar button: ends the hover edge, every 5 ms

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
