// The macro tool's resources: its own ids, apart from Orvale's, since it is a program of its own.
#pragma once

#define IDI_OVMACRO               100

#define IDD_OVM_SELECT            101
#define IDD_OVM_EDIT              102
#define IDD_OVM_RECORDING         103

#define IDC_OVM_HEADING           1001
#define IDC_OVM_MACROS            1002
#define IDC_OVM_STEPS             1003
#define IDC_OVM_HINT              1004
