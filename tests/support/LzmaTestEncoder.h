#pragma once

#include <cstdint>
#include <vector>

// Test-only: compresses bytes into the 13-byte-header LZMA form the stub decodes.
struct SLzmaTestSettings
{
    int nLc = 8;
    int nLp = 0;
    int nPb = 2;
    uint32_t nDictionary = 1 << 16;
    bool bUnknownSize = false; // all-ones size field and an end marker
};

std::vector<uint8_t> CompressForPayload(const std::vector<uint8_t>& data, const SLzmaTestSettings& settings = {});
