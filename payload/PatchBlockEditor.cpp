#include "PatchBlockEditor.h"

#include <cstring>

#include "ContainerLayout.h"

namespace {

bool MarkersAt(const std::vector<uint8_t>& image, size_t offset)
{
    for (size_t i = 0; i < 5; ++i) {
        const size_t at = offset + PatchLayout::kMarkerOffsets[i];
        if (std::memcmp(image.data() + at, PatchLayout::kMarkers[i], PatchLayout::kMarkerLength) != 0)
            return false;
    }
    return true;
}

} // namespace

std::vector<size_t> CPatchBlockEditor::FindBlocks(const std::vector<uint8_t>& image)
{
    std::vector<size_t> found;
    if (image.size() < PatchLayout::kSize)
        return found;
    const char* first = PatchLayout::kMarkers[0];
    const size_t last = image.size() - PatchLayout::kSize;
    for (size_t offset = 0; offset <= last; ++offset) {
        if (image[offset] == static_cast<uint8_t>(first[0]) && MarkersAt(image, offset))
            found.push_back(offset);
    }
    return found;
}

std::optional<CPatchBlockEditor> CPatchBlockEditor::Locate(std::vector<uint8_t>& image, std::string& error)
{
    const std::vector<size_t> blocks = FindBlocks(image);
    if (blocks.empty()) {
        error = "no patch block found (is this an OvraSFX stub?)";
        return std::nullopt;
    }
    if (blocks.size() > 1) {
        error = "found " + std::to_string(blocks.size()) + " patch blocks; expected exactly one";
        return std::nullopt;
    }
    return CPatchBlockEditor(image, blocks.front());
}

CPatchBlock CPatchBlockEditor::View() const
{
    return CPatchBlock(m_pImage->data() + m_nOffset);
}

bool CPatchBlockEditor::SetBuildId(const std::string& id, std::string& error)
{
    return WriteText(PatchLayout::kBuildIdOffset, PatchLayout::kBuildIdSlot, id, "build identifier", error);
}

void CPatchBlockEditor::SetStreamOffset(uint32_t offset)
{
    LittleEndian::WriteU32(At(PatchLayout::kStreamOffsetOffset), offset);
}

bool CPatchBlockEditor::SetSetupName(const std::string& name, std::string& error)
{
    return WriteText(PatchLayout::kSetupNameOffset, PatchLayout::kSetupNameSlot, name, "setup name", error);
}

void CPatchBlockEditor::SetRequiredBytes(uint64_t bytes)
{
    LittleEndian::WriteU64(At(PatchLayout::kRequiredBytesOffset), bytes);
}

void CPatchBlockEditor::SetPictureOffset(uint32_t offset)
{
    LittleEndian::WriteU32(At(PatchLayout::kPictureOffsetOffset), offset);
}

bool CPatchBlockEditor::WriteText(size_t offset, size_t slot, const std::string& text, const char* what,
                                  std::string& error)
{
    if (text.size() >= slot) {
        error = std::string(what) + " \"" + text + "\" is too long: at most " + std::to_string(slot - 1) +
                " characters";
        return false;
    }
    if (text.find('\0') != std::string::npos) {
        error = std::string(what) + " must not contain a NUL character";
        return false;
    }
    uint8_t* at = At(offset);
    std::memset(at, 0, slot);
    std::memcpy(at, text.data(), text.size());
    return true;
}
