#include "ProgressProtocol.h"

static_assert(WM_SFX_EXTRACTED == 0x8065 && WM_SFX_FAILED == 0x8066 && WM_SFX_PROGRESS == 0x8067);
