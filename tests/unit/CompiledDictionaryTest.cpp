#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "framework/localization/LocalizationDictionary.h"
#include "framework/localization/MemoryReadArchive.h"
#include "framework/localization/MemoryWriteArchive.h"
#include "framework/localization/MergedLocalizationDictionary.h"
#include "framework/localization/PortableLocalePlatform.h"
#include "tools/ovradict/FormatConversions.h"

// The dictionary the build compiled from the catalogs: what the stub carries.
namespace {

using Bytes = std::vector<unsigned char>;

const char* const kLanguages[] = {"CHS", "CHT", "CSY", "DAN", "DEU", "ELL", "ENU", "ESP", "FIN", "FRA", "HUN", "ITA",
                                  "JPN", "KOR", "NLD", "NOR", "PLK", "PTB", "PTG", "RUS", "SVE", "THA", "TRK"};

const char* const kKeys[] = {
    "Cancel",
    "Could not open file.",
    "Extracting %d %%",
    "Extraction failed",
    "The Ovra Installation Wizard will guide you through the installation process.",
    "The Ovra Installation Wizard...",
    "There is insufficient hard disk space left on drive %s to start the installation process. Please free up %.2f "
    "MB hard disk space and restart the installation.",
    "Unable to open the output file %s.",
    "Welcome",
};

Bytes CompiledBytes()
{
    std::ifstream in(OVRA_DICTIONARY_FILE, std::ios::binary);
    return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class CompiledDictionary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_bytes = CompiledBytes();
        ASSERT_FALSE(m_bytes.empty()) << OVRA_DICTIONARY_FILE;
        CMemoryReadArchive archive(m_bytes.data(), m_bytes.size());
        ASSERT_NO_THROW(m_dictionary.Serialize(archive));
        EXPECT_EQ(archive.GetPosition(), m_bytes.size()) << "the last byte read is the last byte";
    }

    std::wstring Text(const wchar_t* code, const char* key)
    {
        CLocalizationDictionary table;
        EXPECT_TRUE(m_dictionary.LoadLanguage(CLanguage::FromCode(code, false), table));
        std::wstring text;
        const std::string narrow(key);
        EXPECT_TRUE(table.Translate(std::wstring(narrow.begin(), narrow.end()).c_str(), text)) << key;
        return text;
    }

    Bytes m_bytes;
    CMergedLocalizationDictionary m_dictionary;
};

TEST_F(CompiledDictionary, HoldsTheNineKeysInTheTwentyThreeLanguagesInOrder)
{
    std::vector<std::string> keys;
    for (const auto& [key, translations] : m_dictionary.GetEntries()) {
        keys.push_back(key);
        std::vector<std::string> codes;
        for (const auto& [language, text] : translations) {
            const std::wstring code = language.GetCode();
            codes.emplace_back(code.begin(), code.end());
            EXPECT_FALSE(text.empty()) << key;
        }
        EXPECT_EQ(codes, std::vector<std::string>(std::begin(kLanguages), std::end(kLanguages))) << key;
        EXPECT_EQ(translations.at(CLanguage::FromCode(L"ENU", false)), key);
    }
    EXPECT_EQ(keys, std::vector<std::string>(std::begin(kKeys), std::end(kKeys)));
    EXPECT_EQ(std::string(m_bytes.begin() + 4, m_bytes.begin() + 40), CMergedLocalizationDictionary::kMagic);
    EXPECT_EQ(Bytes(m_bytes.begin() + 40, m_bytes.begin() + 48), (Bytes{0, 0, 0, 1, 9, 0, 0, 0}));
}

TEST_F(CompiledDictionary, WritingWhatWasReadGivesTheSameBytes)
{
    CMemoryWriteArchive archive;
    m_dictionary.Serialize(archive);
    EXPECT_EQ(archive.GetBytes(), m_bytes);
}

TEST_F(CompiledDictionary, EveryTranslationKeepsItsKeysConversionsAndDecodes)
{
    const CPortableLocalePlatform platform;
    for (const auto& [key, translations] : m_dictionary.GetEntries())
        for (const auto& [language, text] : translations) {
            EXPECT_EQ(FormatConversions::Of(text), FormatConversions::Of(key)) << key;
            EXPECT_FALSE(platform.Decode(text, language.GetAnsiCodePage()).empty()) << key;
        }
}

TEST_F(CompiledDictionary, GermanGreekAndJapaneseTexts)
{
    EXPECT_EQ(Text(L"DEU", "Cancel"), L"Abbrechen");
    EXPECT_EQ(Text(L"DEU", "Welcome"), L"Willkommen");
    EXPECT_EQ(Text(L"DEU", "Extracting %d %%"), L"%d %% extrahieren");
    EXPECT_EQ(Text(L"DEU", "Could not open file."), L"Die Datei konnte nicht ge\u00F6ffnet werden.");
    EXPECT_EQ(Text(L"ELL", "Cancel"), L"\u0391\u03BA\u03CD\u03C1\u03C9\u03C3\u03B7");
    EXPECT_EQ(Text(L"JPN", "Cancel"), L"\u30AD\u30E3\u30F3\u30BB\u30EB");
    EXPECT_EQ(Text(L"ENU", "Welcome"), L"Welcome");
    CLocalizationDictionary table;
    EXPECT_TRUE(m_dictionary.LoadLanguage(CLanguage::FromCode(L"DEU", false), table));
    EXPECT_EQ(table.GetCount(), 9u);
}

TEST_F(CompiledDictionary, SpanishIsStoredUnderTheTraditionalSortOnly)
{
    EXPECT_TRUE(m_dictionary.HasLanguage(CLanguage::FromCode(L"ESP", false)));
    EXPECT_FALSE(m_dictionary.HasLanguage(CLanguage::FromCode(L"ESN", false)));
    EXPECT_FALSE(m_dictionary.HasLanguage(CLanguage::FromCode(L"UKR", false)));
    EXPECT_EQ(Text(L"ESP", "Cancel"), L"Cancelar");
}

} // namespace
