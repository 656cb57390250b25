#include "DependencyFile.h"

#include "FileBytes.h"

namespace fs = std::filesystem;

std::string CDependencyFile::Escape(const fs::path& path)
{
    const std::u8string generic = fs::absolute(path).lexically_normal().generic_u8string();
    std::string escaped;
    for (const char8_t letter : generic) {
        const char c = static_cast<char>(letter);
        if (c == ' ' || c == '\t' || c == '#')
            escaped += '\\';
        else if (c == '$')
            escaped += '$';
        escaped += c;
    }
    return escaped;
}

std::string CDependencyFile::Text() const
{
    std::string text = Escape(m_target) + ":";
    for (const fs::path& input : m_inputs)
        text += " \\\n  " + Escape(input);
    return text + "\n";
}

bool CDependencyFile::Write(const fs::path& file, std::string& error) const
{
    const std::string text = Text();
    if (FileBytes::WriteAtomically(file, std::vector<uint8_t>(text.begin(), text.end()), error))
        return true;
    error = "depfile: " + error;
    return false;
}
