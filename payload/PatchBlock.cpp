#include "PatchBlock.h"

#include "PatchBlockData.h"

CPatchBlock CPatchBlock::Current()
{
    return CPatchBlock(g_sfxPatchBlock);
}

std::string CPatchBlock::BuildId() const
{
    return ReadText(PatchLayout::kBuildIdOffset, PatchLayout::kBuildIdSlot);
}

uint32_t CPatchBlock::StreamOffset() const
{
    return static_cast<uint32_t>(ReadLittleEndian(PatchLayout::kStreamOffsetOffset, 4));
}

std::string CPatchBlock::SetupName() const
{
    return ReadText(PatchLayout::kSetupNameOffset, PatchLayout::kSetupNameSlot);
}

uint64_t CPatchBlock::RequiredBytes() const
{
    return ReadLittleEndian(PatchLayout::kRequiredBytesOffset, 8);
}

uint32_t CPatchBlock::PictureOffset() const
{
    return static_cast<uint32_t>(ReadLittleEndian(PatchLayout::kPictureOffsetOffset, 4));
}

// A slot without a terminator is cut at its end rather than read past it.
std::string CPatchBlock::ReadText(size_t offset, size_t slot) const
{
    std::string text;
    for (size_t i = 0; i < slot; ++i) {
        const char c = static_cast<char>(m_pBlock[offset + i]);
        if (c == '\0')
            break;
        text += c;
    }
    return text;
}

uint64_t CPatchBlock::ReadLittleEndian(size_t offset, size_t length) const
{
    uint64_t value = 0;
    for (size_t i = length; i-- > 0;)
        value = (value << 8) | m_pBlock[offset + i];
    return value;
}
