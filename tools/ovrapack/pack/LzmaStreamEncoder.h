#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// Compresses a byte source of known size into an LZMA stream with the 13-byte
// header the stub reads: properties, dictionary size, decoded size.
class CLzmaStreamEncoder
{
public:
    struct SSettings
    {
        int nLc = 0;
        int nLp = 0;
        int nPb = 2;
        uint32_t nDictionary = 128u << 20;
        int nFastBytes = 64;
        // 2 runs the match finder in a thread of its own. Each count gives the same
        // bytes on every run; on large inputs the two counts can differ slightly
        // (the threaded finder works in blocks), never in what is extracted, so the
        // count is no part of a package's derived identifier.
        int nThreads = 2;
    };

    static constexpr uint32_t kMinimumDictionary = 4096;
    static uint32_t MaximumDictionary();

    // Fills the buffer with up to size bytes; got 0 means the source has ended.
    using FRead = std::function<bool(uint8_t* buffer, size_t size, size_t& got, std::string& error)>;
    using FWrite = std::function<bool(const uint8_t* data, size_t size, std::string& error)>;
    using FProgress = std::function<void(uint64_t consumed)>;

    // The dictionary is shrunk to fit the data, as a larger one only costs the
    // installing machine memory. Fails when the source delivers another size.
    [[nodiscard]] static bool Encode(const SSettings& settings, uint64_t size, const FRead& read, const FWrite& write,
                                     const FProgress& progress, std::string& error);

    // The dictionary size the header will announce for this much data.
    static uint32_t EffectiveDictionary(const SSettings& settings, uint64_t size);
};
