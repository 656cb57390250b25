#pragma once

// Result codes of the payload pipeline: the LZMA SDK's numbering plus three of our own.
namespace PayloadResult {
constexpr int kOk = 0;
constexpr int kDataError = 1;
constexpr int kOutOfMemory = 2;
constexpr int kUnsupported = 4;
constexpr int kInputEof = 6;
constexpr int kReadError = 8;
constexpr int kWriteError = 9;
constexpr int kCancelled = 13;
constexpr int kOpenFailed = 35;
// Everything was written, but the temporary data file could not be deleted.
constexpr int kRemoveFailed = 36;
} // namespace PayloadResult
