#pragma once

#include <cstdint>
#include <filesystem>

class IPayloadHost;

// The payload pipeline's entry as the dialog calls it: the stub's own path, the
// stream offset, a 256-byte error text buffer and the host. Returns 0, 13 when
// cancelled, or another code with the text in the buffer.
using ExtractPayloadFn = int (*)(const std::filesystem::path& stubPath, uint32_t streamOffset, char* errorText,
                                 IPayloadHost* host);

namespace PayloadErrorText {
constexpr size_t kBytes = 256;
constexpr int kCancelled = 13;
} // namespace PayloadErrorText
