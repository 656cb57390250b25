#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The 256-byte record the packaging tool patches inside the stub: five
// marker-prefixed values at fixed offsets, the rest ASCII spaces.
namespace PatchLayout {
constexpr size_t kSize = 256;
constexpr size_t kMarkerLength = 10;

constexpr size_t kBuildIdMarker = 0;
constexpr size_t kBuildIdOffset = 10;
constexpr size_t kBuildIdSlot = 18;
constexpr size_t kStreamOffsetMarker = 32;
constexpr size_t kStreamOffsetOffset = 42;
constexpr size_t kSetupNameMarker = 48;
constexpr size_t kSetupNameOffset = 58;
constexpr size_t kSetupNameSlot = 11;
constexpr size_t kRequiredBytesMarker = 80;
constexpr size_t kRequiredBytesOffset = 90;
constexpr size_t kPictureOffsetMarker = 112;
constexpr size_t kPictureOffsetOffset = 122;

constexpr const char* kMarkers[5] = {"SFXFIELD1:", "SFXFIELD2:", "SFXFIELD3:", "SFXFIELD4:", "SFXFIELD5:"};
constexpr size_t kMarkerOffsets[5] = {kBuildIdMarker, kStreamOffsetMarker, kSetupNameMarker,
                                      kRequiredBytesMarker, kPictureOffsetMarker};
} // namespace PatchLayout

// A read-only view of one patch block. Every value is read from the bytes at the
// moment it is asked for: the stub's own block is volatile, so no build can fold
// the compiled-in values into the code and ignore what the packaging tool wrote.
class CPatchBlock
{
public:
    explicit CPatchBlock(const volatile unsigned char* block) : m_pBlock(block) {}

    // The block compiled into this program.
    static CPatchBlock Current();

    std::string BuildId() const;        // field 1
    uint32_t StreamOffset() const;      // field 2
    std::string SetupName() const;      // field 3
    uint64_t RequiredBytes() const;     // field 4
    uint32_t PictureOffset() const;     // field 5

private:
    std::string ReadText(size_t offset, size_t slot) const;
    uint64_t ReadLittleEndian(size_t offset, size_t length) const;

    const volatile unsigned char* m_pBlock;
};
