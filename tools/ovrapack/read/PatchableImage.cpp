#include "PatchableImage.h"

#include "tools/ovrapack/io/FileBytes.h"
#include "tools/ovrapack/io/PathText.h"

bool CPatchableImage::Load(const std::filesystem::path& path, std::string& error)
{
    m_path = path;
    std::vector<uint8_t> bytes;
    if (!FileBytes::Read(path, bytes, error))
        return false;
    if (!Bind(std::move(bytes), error)) {
        error = PathText::Display(path) + ": " + error;
        return false;
    }
    return true;
}

bool CPatchableImage::Bind(std::vector<uint8_t> bytes, std::string& error)
{
    m_editor.reset();
    m_bytes = std::move(bytes);
    m_editor = CPatchBlockEditor::Locate(m_bytes, error);
    return m_editor.has_value();
}

bool CPatchableImage::Save(std::string& error) const
{
    return FileBytes::WriteAtomically(m_path, m_bytes, error);
}
