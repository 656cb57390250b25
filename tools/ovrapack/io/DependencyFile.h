#pragma once

#include <filesystem>
#include <string>
#include <vector>

// A make-syntax rule naming what an output was made from, for build tools that
// rebuild the output when one of them changes. Folders are listed too: a file added
// to or removed from one changes the folder's time.
class CDependencyFile
{
public:
    explicit CDependencyFile(std::filesystem::path target) : m_target(std::move(target)) {}

    void Add(const std::filesystem::path& input) { m_inputs.push_back(input); }
    std::string Text() const;
    [[nodiscard]] bool Write(const std::filesystem::path& file, std::string& error) const;

    // A path as make reads it: blanks and '#' behind a backslash, '$' doubled.
    static std::string Escape(const std::filesystem::path& path);

private:
    std::filesystem::path m_target;
    std::vector<std::filesystem::path> m_inputs;
};
