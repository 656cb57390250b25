#pragma once

// The framework's own strings (FrameworkStrings.rc), which programs that show help or
// conditional message boxes link in.
#define IDS_OFC_HELP_OPEN_FAILED 2500
#define IDS_OFC_DO_NOT_SHOW_AGAIN 25004
#define IDS_OFC_ENGLISH_HELP_ONLY 25005
#define IDS_OFC_NO_HELP 25027
