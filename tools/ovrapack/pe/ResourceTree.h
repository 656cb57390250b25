#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The resources of an executable: a tree of types, names and languages, read from a
// resource section and laid out anew for one. Named entries keep the order they were
// read in; numbered ones are kept in ascending order, as the loader's search needs.
class CResourceTree
{
public:
    // A type or name: a number, or a string when `name` is not empty.
    struct SKey
    {
        uint16_t nId = 0;
        std::u16string name;

        static SKey Id(uint16_t id) { return SKey{id, {}}; }
        bool IsName() const { return !name.empty(); }
        bool operator==(const SKey& other) const = default;
    };

    struct SResource
    {
        SKey type;
        SKey name;
        uint16_t nLanguage = 0;
        uint32_t nCodePage = 0;
        std::vector<uint8_t> data;
    };

    static constexpr size_t kDirectorySize = 16;
    static constexpr size_t kEntrySize = 8;
    static constexpr size_t kDataEntrySize = 16;
    static constexpr size_t kDataAlignment = 8;

    // `section` holds the section's bytes, which the loader maps at `sectionRva`;
    // every directory, string and datum must lie inside them.
    [[nodiscard]] static std::optional<CResourceTree> Parse(const std::vector<uint8_t>& section, uint32_t sectionRva,
                                                            std::string& error);

    // The section's bytes for a section mapped at `sectionRva`.
    std::vector<uint8_t> Serialize(uint32_t sectionRva) const;

    // In directory order: by type, then name, then language.
    const std::vector<SResource>& Resources() const { return m_resources; }
    const SResource* Find(const SKey& type, const SKey& name, uint16_t language) const;

    // Adds a resource, or replaces the one with the same type, name and language.
    void Put(SResource resource);
    // Removes every language of one name; returns how many resources went.
    size_t Remove(const SKey& type, const SKey& name);

private:
    struct SDirectoryHeader
    {
        uint32_t nCharacteristics = 0;
        uint32_t nTimeDateStamp = 0;
        uint16_t nMajorVersion = 0;
        uint16_t nMinorVersion = 0;
    };

    [[nodiscard]] bool ParseDirectory(const std::vector<uint8_t>& section, uint32_t sectionRva, size_t offset,
                                      SResource& path, int level, std::string& error);
    [[nodiscard]] static bool ParseKey(const std::vector<uint8_t>& section, uint32_t field, SKey& key,
                                       std::string& error);
    void WriteDirectory(std::vector<uint8_t>& bytes, size_t offset, size_t named, size_t numbered) const;

    std::vector<SResource> m_resources;
    SDirectoryHeader m_header;
};
