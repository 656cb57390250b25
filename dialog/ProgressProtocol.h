#pragma once

#include "payload/CancelFlag.h"
#include "payload/ProgressScale.h"

// The only things that cross between the extraction worker and the dialog: three
// posted messages (progress on the payload's scale) and the one-byte cancel flag.
namespace ProgressProtocol {
constexpr unsigned kWmApp = 0x8000;
} // namespace ProgressProtocol

constexpr unsigned WM_SFX_EXTRACTED = ProgressProtocol::kWmApp + 0x65;
constexpr unsigned WM_SFX_FAILED = ProgressProtocol::kWmApp + 0x66;
constexpr unsigned WM_SFX_PROGRESS = ProgressProtocol::kWmApp + 0x67;
