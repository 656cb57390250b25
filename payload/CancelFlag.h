#pragma once

#include <atomic>
#include <cstdint>

// Set once, from 0 to 1, by whoever cancels (the dialog's Cancel); polled by the
// extraction between blocks and between files. One byte, read without a lock.
extern std::atomic<uint8_t> g_bCancelExtraction;
