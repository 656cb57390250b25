#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/localization/Archive.h"
#include "framework/localization/LocalizationDictionary.h"
#include "framework/localization/MemoryReadArchive.h"
#include "framework/localization/MemoryWriteArchive.h"
#include "framework/localization/MergedLocalizationDictionary.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Builds dictionary bytes field by field, the way a foreign writer might.
class CBytesBuilder
{
public:
    CBytesBuilder& U32(uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes.push_back(static_cast<unsigned char>(value >> (8 * i)));
        return *this;
    }
    CBytesBuilder& Raw(const std::string& text)
    {
        m_bytes.insert(m_bytes.end(), text.begin(), text.end());
        return *this;
    }
    CBytesBuilder& String(const std::string& text) { return U32(static_cast<uint32_t>(text.size())).Raw(text); }
    CBytesBuilder& Header(uint32_t entries, const std::string& magic = CMergedLocalizationDictionary::kMagic)
    {
        return String(magic).U32(CMergedLocalizationDictionary::kVersion).U32(entries);
    }
    CBytesBuilder& Translation(const std::string& code, const std::string& text) { return Raw(code).String(text); }
    const Bytes& Get() const { return m_bytes; }

private:
    Bytes m_bytes;
};

CLanguage Code(const wchar_t* code)
{
    return CLanguage::FromCode(code, false);
}

Bytes Written(CMergedLocalizationDictionary& dictionary)
{
    CMemoryWriteArchive archive;
    dictionary.Serialize(archive);
    return archive.GetBytes();
}

CMergedLocalizationDictionary Sample()
{
    CMergedLocalizationDictionary dictionary;
    auto& entries = dictionary.GetEntries();
    entries["Welcome"].emplace(Code(L"DEU"), "Willkommen");
    entries["Welcome"].emplace(Code(L"ENU"), "Welcome");
    entries["Cancel"].emplace(Code(L"ELL"), "\xC1\xEA\xFD\xF1\xF9\xF3\xE7");
    entries["Cancel"].emplace(Code(L"DEU"), "Abbrechen");
    entries["Cancel"].emplace(Code(L"CHS"), "\xC8\xA1\xCF\xFB");
    return dictionary;
}

TEST(MergedDictionaryFormat, WritesHeaderEntriesAndTranslationsInOrder)
{
    CMergedLocalizationDictionary dictionary = Sample();
    const Bytes expected = CBytesBuilder()
                               .Header(2)
                               .String("Cancel")
                               .U32(3)
                               .Translation("CHS", "\xC8\xA1\xCF\xFB")
                               .Translation("DEU", "Abbrechen")
                               .Translation("ELL", "\xC1\xEA\xFD\xF1\xF9\xF3\xE7")
                               .String("Welcome")
                               .U32(2)
                               .Translation("DEU", "Willkommen")
                               .Translation("ENU", "Welcome")
                               .Get();
    EXPECT_EQ(Written(dictionary), expected);
    EXPECT_EQ(Bytes(expected.begin(), expected.begin() + 4), (Bytes{36, 0, 0, 0}));
    EXPECT_EQ(Bytes(expected.begin() + 40, expected.begin() + 44), (Bytes{0, 0, 0, 1}));
}

TEST(MergedDictionaryFormat, KeysSortBytewiseWithShorterKeysFirst)
{
    CMergedLocalizationDictionary dictionary;
    for (const char* key : {"b", "\xE9t\xE9", "ab", "a", "B"})
        dictionary.GetEntries()[key].emplace(Code(L"DEU"), "x");
    std::vector<std::string> keys;
    for (const auto& [key, translations] : dictionary.GetEntries())
        keys.push_back(key);
    EXPECT_EQ(keys, (std::vector<std::string>{"B", "a", "ab", "b", "\xE9t\xE9"}));
}

TEST(MergedDictionaryFormat, ReadThenWriteGivesTheSameBytes)
{
    CMergedLocalizationDictionary source = Sample();
    const Bytes first = Written(source);
    CMergedLocalizationDictionary read;
    ASSERT_TRUE(read.Load(first.data(), first.size()));
    EXPECT_EQ(Written(read), first);
}

TEST(MergedDictionaryFormat, ReadersAcceptAnyOrderAndKeepFirstOccurrences)
{
    const Bytes bytes = CBytesBuilder()
                            .Header(3)
                            .String("Welcome")
                            .U32(3)
                            .Translation("ENU", "Welcome")
                            .Translation("DEU", "Willkommen")
                            .Translation("deu", "Hallo")
                            .String("Cancel")
                            .U32(1)
                            .Translation("DEU", "Abbrechen")
                            .String("Welcome")
                            .U32(1)
                            .Translation("FRA", "Bienvenue")
                            .Get();
    CMergedLocalizationDictionary dictionary;
    ASSERT_TRUE(dictionary.Load(bytes.data(), bytes.size()));
    const auto& entries = dictionary.GetEntries();
    ASSERT_EQ(entries.size(), 2u);
    const auto& welcome = entries.at("Welcome");
    EXPECT_EQ(welcome.size(), 2u);
    EXPECT_EQ(welcome.at(Code(L"DEU")), "Willkommen");
    EXPECT_FALSE(welcome.contains(Code(L"FRA")));
}

TEST(MergedDictionaryFormat, VersionIsIgnoredAndStringsEndAtTheirFirstZeroByte)
{
    Bytes bytes = CBytesBuilder()
                      .String(CMergedLocalizationDictionary::kMagic)
                      .U32(0xDEADBEEF)
                      .U32(1)
                      .String(std::string("Can\0cel", 7))
                      .U32(1)
                      .Translation("DEU", std::string("Ab\0x", 4))
                      .Get();
    CMergedLocalizationDictionary dictionary;
    ASSERT_TRUE(dictionary.Load(bytes.data(), bytes.size()));
    ASSERT_TRUE(dictionary.GetEntries().contains("Can"));
    EXPECT_EQ(dictionary.GetEntries().at("Can").at(Code(L"DEU")), "Ab");
}

TEST(MergedDictionaryFormat, RejectsAWrongMagicOrOneInAnotherCase)
{
    for (const std::string& magic : {std::string("PolyLexicator Merged Dictionary File"),
                                    std::string("polylexicator merged dictionary file"),
                                    std::string("PolyLexicator merged dictionary fil"), std::string("")}) {
        const Bytes bytes =
            CBytesBuilder().Header(1, magic).String("Cancel").U32(1).Translation("DEU", "Abbrechen").Get();
        CMergedLocalizationDictionary dictionary;
        EXPECT_FALSE(dictionary.Load(bytes.data(), bytes.size())) << magic;
        EXPECT_TRUE(dictionary.GetEntries().empty()) << magic;
    }
}

TEST(MergedDictionaryFormat, WrongMagicIsThrownAsExceptionOne)
{
    const Bytes bytes = CBytesBuilder().Header(0, "PolyLexicator merged dictionary FILE").Get();
    CMemoryReadArchive archive(bytes.data(), bytes.size());
    CMergedLocalizationDictionary dictionary;
    try {
        dictionary.Serialize(archive);
        FAIL() << "no exception";
    } catch (IArchive::EXCEPTION e) {
        EXPECT_EQ(e, IArchive::kBadMagic);
        EXPECT_EQ(static_cast<int>(e), 1);
    }
}

TEST(MergedDictionaryFormat, DataCutAtAnyOffsetFailsAndKeepsWhatWasRead)
{
    CMergedLocalizationDictionary source = Sample();
    const Bytes whole = Written(source);
    for (size_t size = 0; size < whole.size(); ++size) {
        const Bytes cut(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(size));
        CMergedLocalizationDictionary dictionary;
        EXPECT_FALSE(dictionary.Load(cut.data(), cut.size())) << size;
        // Whatever was read is a prefix of the source, translation by translation.
        for (const auto& [key, translations] : dictionary.GetEntries()) {
            ASSERT_TRUE(source.GetEntries().contains(key)) << size;
            for (const auto& [language, text] : translations)
                EXPECT_EQ(source.GetEntries().at(key).at(language), text) << size;
        }
    }
    // Cut inside the second entry's last translation: the first entry is whole, the
    // second keeps its first translation.
    const Bytes cut(whole.begin(), whole.end() - 2);
    CMergedLocalizationDictionary dictionary;
    EXPECT_FALSE(dictionary.Load(cut.data(), cut.size()));
    EXPECT_EQ(dictionary.GetEntries().at("Cancel").size(), 3u);
    EXPECT_EQ(dictionary.GetEntries().at("Welcome").size(), 1u);
}

TEST(MergedDictionaryFormat, HugeLengthsAndCountsFailWithoutReadingPastTheEnd)
{
    const Bytes hugeKey = CBytesBuilder().Header(1).U32(0xFFFFFFFF).Raw("Cancel").Get();
    const Bytes hugeText = CBytesBuilder().Header(1).String("Cancel").U32(1).Raw("DEU").U32(0xFFFFFFF0).Get();
    const Bytes hugeEntryCount = CBytesBuilder().Header(0xFFFFFFFF).String("Cancel").U32(0).Get();
    const Bytes hugeTranslationCount =
        CBytesBuilder().Header(1).String("Cancel").U32(0x7FFFFFFF).Translation("DEU", "Abbrechen").Get();
    const Bytes hugeMagic = CBytesBuilder().U32(0xFFFFFFFF).Raw(CMergedLocalizationDictionary::kMagic).Get();
    for (const Bytes* bytes : {&hugeKey, &hugeText, &hugeEntryCount, &hugeTranslationCount, &hugeMagic}) {
        CMemoryReadArchive archive(bytes->data(), bytes->size());
        CMergedLocalizationDictionary dictionary;
        try {
            dictionary.Serialize(archive);
            ADD_FAILURE() << "no exception";
        } catch (IArchive::EXCEPTION e) {
            EXPECT_EQ(e, IArchive::kTruncated);
        }
        EXPECT_LE(archive.GetPosition(), bytes->size());
    }
    CMergedLocalizationDictionary dictionary;
    EXPECT_FALSE(dictionary.Load(hugeTranslationCount.data(), hugeTranslationCount.size()));
    EXPECT_EQ(dictionary.GetEntries().at("Cancel").at(Code(L"DEU")), "Abbrechen");
}

TEST(MergedDictionaryFormat, UnknownAndEmptyLanguageCodesAreKeptApart)
{
    const Bytes bytes = CBytesBuilder()
                            .Header(1)
                            .String("Cancel")
                            .U32(4)
                            .Translation("XYZ", "Unknown")
                            .Translation(std::string("\0\0\0", 3), "Neutral")
                            .Translation(std::string("DE\0", 3), "Short")
                            .Translation("DEU", "Abbrechen")
                            .Get();
    CMergedLocalizationDictionary dictionary;
    ASSERT_TRUE(dictionary.Load(bytes.data(), bytes.size()));
    const auto& translations = dictionary.GetEntries().at("Cancel");
    // Invalid and neutral languages share the empty code, so the first of them stays.
    EXPECT_EQ(translations.size(), 2u);
    EXPECT_EQ(translations.at(CLanguage::FromCode(L"XYZ", false)), "Unknown");

    CLocalizationDictionary table;
    EXPECT_FALSE(dictionary.LoadLanguage(CLanguage::FromCode(L"XYZ", false), table));
    EXPECT_EQ(table.GetCount(), 0u);
    EXPECT_TRUE(dictionary.LoadLanguage(Code(L"DEU"), table));
    EXPECT_EQ(table.GetCount(), 1u);
    EXPECT_FALSE(dictionary.HasLanguage(CLanguage::FromCode(L"XYZ", false)));
    EXPECT_FALSE(dictionary.HasLanguage(Code(L"FRA")));
}

TEST(MergedDictionaryFormat, ALanguageIsWrittenAsThreeBytes)
{
    CMemoryWriteArchive archive;
    archive.WriteLanguage(Code(L"DEU"));
    archive.WriteLanguage(CLanguage());
    archive.WriteLanguage(CLanguage::FromCode(L"XYZ", false));
    EXPECT_EQ(archive.GetBytes(), (Bytes{'D', 'E', 'U', 0, 0, 0, 0, 0, 0}));

    const Bytes read = {'d', 'e', 'u', 0, 0, 0, 'E', 'S', 'N'};
    CMemoryReadArchive reader(read.data(), read.size());
    CLanguage language;
    reader.ReadLanguage(language);
    EXPECT_EQ(language, Code(L"DEU"));
    reader.ReadLanguage(language);
    EXPECT_TRUE(language.IsNeutral());
    reader.ReadLanguage(language);
    EXPECT_EQ(language, Code(L"ESN"));
}

TEST(MergedDictionaryLookup, LoadLanguageConvertsFromTheLanguagesCodePage)
{
    CMergedLocalizationDictionary dictionary = Sample();
    CLocalizationDictionary table;
    ASSERT_TRUE(dictionary.LoadLanguage(Code(L"ELL"), table));
    std::wstring text;
    ASSERT_TRUE(table.Translate(L"Cancel", text));
    EXPECT_EQ(text, L"\u0391\u03BA\u03CD\u03C1\u03C9\u03C3\u03B7");
    EXPECT_EQ(table.GetLanguage(), Code(L"ELL"));
    EXPECT_EQ(table.GetCodePage(), 1253u);
    EXPECT_FALSE(table.Translate(L"Welcome", text));

    ASSERT_TRUE(dictionary.LoadLanguage(Code(L"CHS"), table));
    ASSERT_TRUE(table.Translate(L"Cancel", text));
    EXPECT_EQ(text, L"\u53D6\u6D88");
}

TEST(MergedDictionaryLookup, ALanguageWithoutTextsGivesAnEmptyTable)
{
    CMergedLocalizationDictionary dictionary = Sample();
    CLocalizationDictionary table;
    ASSERT_TRUE(dictionary.LoadLanguage(Code(L"DEU"), table));
    EXPECT_FALSE(dictionary.LoadLanguage(Code(L"UKR"), table));
    EXPECT_EQ(table.GetCount(), 0u);
    EXPECT_EQ(table.GetLanguage(), Code(L"UKR"));
}

TEST(MergedDictionaryLookup, HasLanguage)
{
    CMergedLocalizationDictionary dictionary = Sample();
    EXPECT_TRUE(dictionary.HasLanguage(CLanguage()));
    EXPECT_TRUE(dictionary.HasLanguage(Code(L"CHS")));
    EXPECT_FALSE(dictionary.HasLanguage(Code(L"ESP")));
    EXPECT_FALSE(dictionary.HasLanguage(CLanguage::FromCode(L"XYZ", false)));
    EXPECT_FALSE(CMergedLocalizationDictionary().HasLanguage(Code(L"DEU")));
}

TEST(LocalizationDictionary, TranslateFindsKeysWithoutTheirAcceleratorMarkers)
{
    CLocalizationDictionary table;
    table.Add(L"Cancel", L"&Abbrechen");
    table.Add(L"&Next", L"&Weiter");
    std::wstring text = L"untouched";
    EXPECT_TRUE(table.Translate(L"&Cancel", text));
    EXPECT_EQ(text, L"&Abbrechen");
    EXPECT_TRUE(table.Translate(L"Can&cel", text));
    text = L"untouched";
    EXPECT_FALSE(table.Translate(L"Next", text));
    EXPECT_EQ(text, L"untouched");
    EXPECT_TRUE(table.Translate(L"&Next", text));
    EXPECT_EQ(text, L"&Weiter");
    EXPECT_FALSE(table.Translate(L"cancel", text));
    EXPECT_FALSE(table.Translate(nullptr, text));
}

TEST(LocalizationDictionary, AddKeepsTheFirstTextAndSetLanguageNeedsAnEmptyTable)
{
    CLocalizationDictionary table;
    EXPECT_TRUE(table.SetLanguage(Code(L"DEU")));
    table.Add(L"Cancel", L"Abbrechen");
    table.Add(L"Cancel", L"Stopp");
    std::wstring text;
    ASSERT_TRUE(table.Translate(L"Cancel", text));
    EXPECT_EQ(text, L"Abbrechen");
    EXPECT_FALSE(table.SetLanguage(Code(L"FRA")));
    EXPECT_EQ(table.GetLanguage(), Code(L"DEU"));
    table.Clear();
    EXPECT_TRUE(table.SetLanguage(Code(L"JPN")));
    EXPECT_EQ(table.GetCodePage(), 932u);
}

} // namespace
