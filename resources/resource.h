#pragma once

// Resource identifiers; the numbers are part of the stub's resource format.
#define IDD_OVRASFX_DIALOG 102
#define IDB_DEFAULT_BACKGROUND 129
#define IDR_MAINFRAME 131
#define IDR_DICTIONARY 137

#define IDS_NO_DISK_SPACE 138
#define IDS_EXTRACTING_PERCENT 139
#define IDS_COULD_NOT_OPEN_FILE 140
#define IDS_EXTRACTION_FAILED 141
#define IDS_UNABLE_TO_OPEN_OUTPUT 142
#define IDS_WELCOME 143
#define IDS_WIZARD_GUIDE 144

#define IDC_PROGRESS 1000
#define IDC_WELCOME 1005
#define IDC_GUIDE 1006
#define IDC_BACKGROUND 1007
