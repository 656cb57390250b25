#pragma once

#include <lzma/LzmaDec.h>

// The runtime heap behind the LZMA SDK's coders, for the installer and the packaging
// tool alike: allocating 0 bytes gives no block.
ISzAlloc* LzmaHeapAllocator();
