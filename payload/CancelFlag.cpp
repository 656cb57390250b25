#include "CancelFlag.h"

std::atomic<uint8_t> g_bCancelExtraction{0};

static_assert(sizeof(g_bCancelExtraction) == 1 && std::atomic<uint8_t>::is_always_lock_free);
