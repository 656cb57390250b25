#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "PatchBlock.h"

// Finds the patch block in an executable's bytes by its markers and rewrites its
// values in place. Used by the packaging tool and by tests that patch a built stub.
class CPatchBlockEditor
{
public:
    // Offsets of every place where all five markers stand at their layout offsets.
    static std::vector<size_t> FindBlocks(const std::vector<uint8_t>& image);

    // Binds to the one block in the image; fails with a reason when there is none or several.
    static std::optional<CPatchBlockEditor> Locate(std::vector<uint8_t>& image, std::string& error);

    size_t Offset() const { return m_nOffset; }
    CPatchBlock View() const;

    // Setters refuse values that do not fit their slot (a terminator included).
    bool SetBuildId(const std::string& id, std::string& error);
    void SetStreamOffset(uint32_t offset);
    bool SetSetupName(const std::string& name, std::string& error);
    void SetRequiredBytes(uint64_t bytes);
    void SetPictureOffset(uint32_t offset);

private:
    CPatchBlockEditor(std::vector<uint8_t>& image, size_t offset) : m_pImage(&image), m_nOffset(offset) {}
    bool WriteText(size_t offset, size_t slot, const std::string& text, const char* what, std::string& error);
    uint8_t* At(size_t offset) { return m_pImage->data() + m_nOffset + offset; }

    std::vector<uint8_t>* m_pImage;
    size_t m_nOffset;
};
