#pragma once

// Resources of the localization test program, beside the stub's strings and dictionary.
#define IDD_L10N_TEST_DIALOG 900
#define IDR_L10N_TEST_MENU 901
#define IDM_L10N_CANCEL 2001
#define IDM_L10N_FAILED 2002
#define IDM_L10N_OTHER 2003
#define IDC_L10N_WELCOME 1005
#define IDC_L10N_GUIDE 1006
#define IDC_L10N_OTHER 1007
#define IDC_L10N_COMBO 1100
#define IDC_L10N_COMBO_DATA 1101
#define IDC_L10N_ACCELERATED 1102
