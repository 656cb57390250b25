#include "SerializableMap.h"

#include "Archive.h"

template <>
void CTranslationMap::Serialize(IArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteUInt32(static_cast<uint32_t>(size()));
        for (const auto& [language, text] : *this) {
            archive.WriteLanguage(language);
            archive.WriteString(text.c_str());
        }
        return;
    }
    // Each translation takes at least 7 bytes: the loop ends at the data's end
    // whatever the count says.
    const uint32_t count = archive.ReadUInt32();
    for (uint32_t i = 0; i < count; ++i) {
        CLanguage language;
        archive.ReadLanguage(language);
        std::string text;
        archive.ReadString(text);
        emplace(language, std::move(text));
    }
}

template <>
void CEntryMap::Serialize(IArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteUInt32(static_cast<uint32_t>(size()));
        for (auto& [key, translations] : *this) {
            archive.WriteString(key.c_str());
            translations.Serialize(archive);
        }
        return;
    }
    const uint32_t count = archive.ReadUInt32();
    for (uint32_t i = 0; i < count; ++i) {
        std::string key;
        archive.ReadString(key);
        CTranslationMap translations;
        try {
            translations.Serialize(archive);
        } catch (IArchive::EXCEPTION) {
            // What was read of a cut-off entry is kept, like the entries before it.
            emplace(std::move(key), std::move(translations));
            throw;
        }
        emplace(std::move(key), std::move(translations));
    }
}
