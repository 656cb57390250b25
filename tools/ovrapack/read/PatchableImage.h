#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "PatchFields.h"
#include "payload/PatchBlockEditor.h"

// An executable held in memory and bound to its one patch block. The editor points
// into the bytes, so the object stays where it was made.
class CPatchableImage
{
public:
    CPatchableImage() = default;
    CPatchableImage(const CPatchableImage&) = delete;
    CPatchableImage& operator=(const CPatchableImage&) = delete;

    // Reads the whole file and finds its block; a missing or doubled block is
    // reported after the path.
    [[nodiscard]] bool Load(const std::filesystem::path& path, std::string& error);
    // Takes bytes already read and finds their block.
    [[nodiscard]] bool Bind(std::vector<uint8_t> bytes, std::string& error);

    CPatchBlockEditor& Editor() { return *m_editor; }
    const CPatchBlockEditor& Editor() const { return *m_editor; }
    SPatchFields Fields() const { return SPatchFields::From(m_editor->View()); }

    // Writes the bytes back to the file Load read, all or nothing.
    [[nodiscard]] bool Save(std::string& error) const;

private:
    std::filesystem::path m_path;
    std::vector<uint8_t> m_bytes;
    std::optional<CPatchBlockEditor> m_editor;
};
