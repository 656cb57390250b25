#pragma once

#include <cstdint>
#include <string>

class CPatchBlock;

// The five values of a patch block, as the packaging tool reports them.
struct SPatchFields
{
    std::string strBuildId;       // field 1
    uint32_t nStreamOffset = 0;   // field 2
    std::string strSetupName;     // field 3
    uint64_t nRequiredBytes = 0;  // field 4
    uint32_t nPictureOffset = 0;  // field 5

    static SPatchFields From(const CPatchBlock& block);
};
