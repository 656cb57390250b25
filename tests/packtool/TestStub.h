#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A minimal PE executable that carries a patch block with its initial values in
// its second section, as a stand-in for the real stub where only its layout
// matters.
namespace TestStub {

struct SShape
{
    bool bPe32Plus = false;
    size_t nOverlay = 0;           // bytes after the last section (e.g. an old signature)
    bool bCertificateEntry = false; // point the certificate directory at the overlay
    bool bPatchBlock = true;
};

constexpr size_t kRawEnd = 0x600;
constexpr size_t kPatchBlockOffset = 0x410;

std::vector<uint8_t> Make(const SShape& shape);

} // namespace TestStub
