#pragma once

#include <cstdint>

// The only things that cross between the extraction worker and the dialog: three
// posted messages and a one-byte cancel flag. Portable, so the payload code that
// posts progress builds without Windows headers.
namespace ProgressProtocol {
constexpr unsigned kWmApp = 0x8000;
constexpr unsigned kFullScale = 500;  // units of 0.2 percent
constexpr unsigned kDataPhaseEnd = 250;
} // namespace ProgressProtocol

constexpr unsigned WM_SFX_EXTRACTED = ProgressProtocol::kWmApp + 0x65;
constexpr unsigned WM_SFX_FAILED = ProgressProtocol::kWmApp + 0x66;
constexpr unsigned WM_SFX_PROGRESS = ProgressProtocol::kWmApp + 0x67;

// Written by the main thread only (0 before the worker starts, 1 on Cancel), polled
// by the worker without a lock: it changes at most once per run.
extern volatile uint8_t g_bCancelExtraction;
