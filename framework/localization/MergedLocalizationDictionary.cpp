#include "MergedLocalizationDictionary.h"

#include "Archive.h"
#include "LocalePlatform.h"
#include "LocalizationDictionary.h"
#include "MemoryReadArchive.h"

namespace {
constexpr unsigned kKeyCodePage = 1252;
}

void CMergedLocalizationDictionary::Serialize(IArchive& archive)
{
    if (archive.IsStoring()) {
        archive.WriteString(kMagic);
        archive.WriteUInt32(kVersion);
    } else {
        std::string magic;
        archive.ReadString(magic);
        archive.ReadUInt32();
        if (magic != kMagic)
            throw IArchive::kBadMagic;
    }
    m_entries.Serialize(archive);
}

bool CMergedLocalizationDictionary::Load(const void* data, size_t size)
{
    CMemoryReadArchive archive(data, size);
    try {
        Serialize(archive);
    } catch (IArchive::EXCEPTION) {
        return false;
    }
    return true;
}

bool CMergedLocalizationDictionary::LoadLanguage(const CLanguage& language, CLocalizationDictionary& table) const
{
    table.Clear();
    table.SetLanguage(language);
    // Texts of unknown codes are kept under the invalid language; they belong to no language.
    if (!language.IsValid())
        return false;
    const unsigned codePage = language.GetAnsiCodePage();
    const ILocalePlatform& platform = LocalePlatform();
    bool added = false;
    for (const auto& [key, translations] : m_entries) {
        const auto found = translations.find(language);
        if (found == translations.end())
            continue;
        const std::wstring text = platform.Decode(found->second, codePage);
        const std::wstring wideKey = platform.Decode(key, kKeyCodePage);
        table.Add(wideKey.c_str(), text.c_str());
        added = true;
    }
    return added;
}

bool CMergedLocalizationDictionary::HasLanguage(const CLanguage& language) const
{
    if (language.IsNeutral())
        return true;
    if (!language.IsValid())
        return false;
    for (const auto& [key, translations] : m_entries)
        if (translations.contains(language))
            return true;
    return false;
}

CMergedLocalizationDictionary& GetMergedDictionary()
{
    static CMergedLocalizationDictionary dictionary;
    return dictionary;
}
