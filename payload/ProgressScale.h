#pragma once

// Extraction progress in units of 0.2 percent: decoding the stream fills the first
// half, writing the files the second. The dialog's bar has exactly this range.
namespace ProgressScale {
constexpr unsigned kFullScale = 500;
constexpr unsigned kDataPhaseEnd = 250;
} // namespace ProgressScale
