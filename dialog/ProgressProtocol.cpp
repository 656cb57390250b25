#include "ProgressProtocol.h"

volatile uint8_t g_bCancelExtraction = 0;

static_assert(WM_SFX_EXTRACTED == 0x8065 && WM_SFX_FAILED == 0x8066 && WM_SFX_PROGRESS == 0x8067);
