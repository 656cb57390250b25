#pragma once

#include "PatchBlock.h"

// Defined in its own translation unit and volatile: the packaging tool rewrites
// these bytes in the finished executable, so they must be read, never folded.
extern const volatile unsigned char g_sfxPatchBlock[PatchLayout::kSize];
