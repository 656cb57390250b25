#pragma once

#include "SerializableMap.h"

#include <cstddef>

class CLocalizationDictionary;

// Every English key with its translations into every language, as the DICTIONARY
// resource holds them: keys in Windows-1252, texts in their language's ANSI code page.
class CMergedLocalizationDictionary : public ISerializableObject
{
public:
    static constexpr char kMagic[] = "PolyLexicator merged dictionary file";
    static constexpr uint32_t kVersion = 0x01000000;

    void Serialize(IArchive& archive) override;
    ~CMergedLocalizationDictionary() override = default;

    // Reads the format from a block of bytes on top of what is held; false when the
    // data is rejected or cut short (entries read before that stay).
    [[nodiscard]] bool Load(const void* data, size_t size);

    // Fills the lookup table with one language; true if at least one pair was added.
    bool LoadLanguage(const CLanguage& language, CLocalizationDictionary& table) const;
    bool HasLanguage(const CLanguage& language) const;

    CEntryMap& GetEntries() { return m_entries; }
    const CEntryMap& GetEntries() const { return m_entries; }

private:
    CEntryMap m_entries;
};

// The process's one merged dictionary.
CMergedLocalizationDictionary& GetMergedDictionary();
