// Reads the input as a merged dictionary. What reads without error writes back to
// bytes that read to the same keys and texts and write again to the same bytes;
// a language it holds decodes through its code page.
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <set>
#include <vector>

#include "FuzzCheck.h"
#include "framework/localization/LocalizationDictionary.h"
#include "framework/localization/MemoryWriteArchive.h"
#include "framework/localization/MergedLocalizationDictionary.h"

namespace {

std::vector<unsigned char> Written(CMergedLocalizationDictionary& dictionary)
{
    CMemoryWriteArchive archive;
    dictionary.Serialize(archive);
    return archive.GetBytes();
}

// Keys and the texts of known languages; an unknown language is written as none.
bool SameTexts(const CEntryMap& read, const CEntryMap& reread)
{
    if (read.size() != reread.size())
        return false;
    for (const auto& [key, translations] : read) {
        const auto found = reread.find(key);
        if (found == reread.end())
            return false;
        for (const auto& [language, text] : translations) {
            if (!language.IsValid())
                continue;
            const auto other = found->second.find(language);
            if (other == found->second.end() || other->second != text)
                return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CMergedLocalizationDictionary dictionary;
    if (!dictionary.Load(data, size))
        return 0;
    const std::vector<unsigned char> bytes = Written(dictionary);

    CMergedLocalizationDictionary reread;
    Check(reread.Load(bytes.data(), bytes.size()));
    Check(SameTexts(dictionary.GetEntries(), reread.GetEntries()));
    Check(Written(reread) == bytes);

    std::set<CLanguage> languages;
    for (const auto& [key, translations] : dictionary.GetEntries())
        for (const auto& [language, text] : translations)
            languages.insert(language);
    for (const CLanguage& language : languages)
        Check(dictionary.HasLanguage(language) == (language.IsValid() || language.IsNeutral()));
    // Decoding goes through the host's converter, slow enough to take one language per input.
    if (languages.empty())
        return 0;
    const CLanguage language = *std::next(languages.begin(), static_cast<std::ptrdiff_t>(size % languages.size()));
    CLocalizationDictionary table;
    Check(dictionary.LoadLanguage(language, table) == language.IsValid());
    return 0;
}
