#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "payload/PatchBlock.h"

// Finds the one patch block of a packaged installer on disk without reading the
// payload into memory: only the stub part in front of the appended regions is searched.
class CPatchBlockScanner
{
public:
    struct SFound
    {
        uint64_t nOffset;
        std::array<unsigned char, PatchLayout::kSize> block;
        uint64_t nFileSize;
    };

    static std::optional<SFound> Scan(const std::filesystem::path& path, std::string& error);
};
