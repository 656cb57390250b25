#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The stand-in stub (TestStub, PE32) with a third section of resources behind its
// patch block, and optionally a fourth section behind the resources, the way MinGW
// places its base relocations.
namespace ResourceStub {

enum class ETrailer
{
    None,
    Relocations,  // discardable, named by the base-relocation directory
    Data,         // ordinary data that code would address
};

constexpr uint32_t kResourceRva = 0x3000;
constexpr size_t kResourceRaw = 0x600;
constexpr uint32_t kRelocationBlockSize = 12;

// `section` is the resource section's content for a section at kResourceRva.
std::vector<uint8_t> Make(const std::vector<uint8_t>& section, ETrailer trailer);

// Offsets in the PE32 headers of the stand-in stub.
constexpr size_t kSectionTable = 0x138;
constexpr size_t kSectionHeaderSize = 40;
constexpr size_t kDirectoryTable = 0xB8;
constexpr size_t kSizeOfImage = 0x58 + 56;

} // namespace ResourceStub
