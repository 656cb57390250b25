#include <gtest/gtest.h>

#include <set>
#include <string>

#include "framework/localization/Language.h"
#include "framework/localization/LanguageTable.h"

namespace {

int32_t Row(const CLanguage& language)
{
    return language.GetIndex();
}

TEST(LanguageTable, HasSeventyThreeRowsWithUniqueIdsCodesAndCultures)
{
    std::set<uint32_t> ids;
    std::set<std::wstring> codes;
    std::set<std::wstring> cultures;
    for (size_t i = 0; i < LanguageTable::kRowCount; ++i) {
        const SLanguageRow& row = LanguageTable::Row(i);
        ids.insert(row.langId);
        codes.insert(row.code);
        cultures.insert(row.cultureName);
        EXPECT_EQ(std::wstring(row.code).size(), 3u) << i;
        EXPECT_TRUE(row.nativeName[0] == L'\0') << i;
        EXPECT_TRUE(row.group >= 1 && row.group <= 3) << i;
    }
    EXPECT_EQ(ids.size(), 73u);
    EXPECT_EQ(codes.size(), 73u);
    EXPECT_EQ(cultures.size(), 73u);
}

TEST(LanguageTable, StoredValuesOfNotableRows)
{
    const struct {
        size_t row;
        uint32_t id;
        const wchar_t* code;
        const wchar_t* culture;
        const wchar_t* country;
    } rows[] = {
        {0, 0x0409, L"ENU", L"en-US", L"US"},      {1, 0x0809, L"ENG", L"en-GB", L"UK"},
        {2, 0x1009, L"ENC", L"en-CA", L"US"},      {4, 0x0422, L"UKR", L"uk-UK", L"UA"},
        {9, 0x0C0C, L"FRC", L"fr-CA", L"FR"},      {11, 0x0416, L"PTB", L"pt-BR", L"PT"},
        {24, 0x0414, L"NOR", L"nb-NO", L"NO"},     {32, 0x0C0A, L"ESN", L"es-ES", L"ES"},
        {33, 0x040A, L"ESP", L"es-ES_tradnl", L"ES"}, {52, 0x0403, L"CAT", L"ca-ES", L"CA"},
        {70, 0x040D, L"HEB", L"he-HE", L"IL"},     {72, 0x043E, L"MSL", L"ms-MY", L"MY"},
    };
    for (const auto& expected : rows) {
        const SLanguageRow& row = LanguageTable::Row(expected.row);
        EXPECT_EQ(row.langId, expected.id) << expected.row;
        EXPECT_STREQ(row.code, expected.code) << expected.row;
        EXPECT_STREQ(row.cultureName, expected.culture) << expected.row;
        EXPECT_STREQ(row.country, expected.country) << expected.row;
    }
    EXPECT_STREQ(LanguageTable::Row(52).fallbackCulture, L"es-ES");
    for (size_t i = 0; i < LanguageTable::kRowCount; ++i) {
        if (i != 52) {
            EXPECT_STREQ(LanguageTable::Row(i).fallbackCulture, L"") << i;
        }
    }
}

TEST(Language, DefaultConstructedIsNeutralAndDefaultLanguageIsUsEnglish)
{
    const CLanguage neutral;
    EXPECT_TRUE(neutral.IsNeutral());
    EXPECT_FALSE(neutral.IsValid());
    EXPECT_EQ(Row(g_defaultLanguage), 0);
    EXPECT_EQ(g_defaultLanguage, CLanguage::FromCode(L"ENU", false));
    EXPECT_TRUE(CLanguage::FromLangID(0x0409, false).IsDefault());
    EXPECT_FALSE(CLanguage::FromLangID(0x0809, false).IsDefault());
}

TEST(Language, FromLangIdMatchesAllSixteenBitsAndFallsBackToThePrimaryLanguage)
{
    EXPECT_EQ(Row(CLanguage::FromLangID(0x0407, false)), 7);
    EXPECT_EQ(Row(CLanguage::FromLangID(0x0807, false)), CLanguage::kInvalid);
    EXPECT_EQ(Row(CLanguage::FromLangID(0x0807, true)), 7);
    EXPECT_EQ(Row(CLanguage::FromLangID(0x0C07, true)), 7);
    EXPECT_EQ(Row(CLanguage::FromLangID(0x0C0A, true)), 32);
    EXPECT_EQ(Row(CLanguage::FromLangID(0x0418, true)), 0);
    EXPECT_EQ(Row(CLanguage::FromLangID(0x0418, false)), CLanguage::kInvalid);
    // Several rows share a primary language: the first of them wins.
    EXPECT_EQ(Row(CLanguage::FromLangID(0x4C04, true)), 15);
    EXPECT_EQ(Row(CLanguage::FromLangID(0x0000, true)), 0);
}

TEST(Language, FromCultureNameComparesWithoutCaseAndChecksLength)
{
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"de-DE", false)), 7);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"DE-de", false)), 7);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"es-ES_tradnl", false)), 33);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"es-ES", false)), 32);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"es", true)), CLanguage::kInvalid);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"xx-YY", true)), 0);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"xx-YY", false)), CLanguage::kInvalid);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"de-AT", true)), 7);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"uk-UA", false)), CLanguage::kInvalid);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"uk-UA", true)), 4);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"de-DE-xxxxxxxxxxxxx", true)), 7);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"de-DE-xxxxxxxxxxxxxx", true)), CLanguage::kInvalid);
    EXPECT_EQ(Row(CLanguage::FromCultureName(L"", true)), CLanguage::kNeutral);
    EXPECT_EQ(Row(CLanguage::FromCultureName(nullptr, true)), CLanguage::kInvalid);
}

TEST(Language, FromCodeComparesWithoutCaseAndFallsBackToTheFirstTwoLetters)
{
    const CLanguage esn = CLanguage::FromCode(L"esn", false);
    EXPECT_EQ(Row(esn), 32);
    EXPECT_EQ(esn.GetCode(), L"ESN");
    EXPECT_EQ(Row(CLanguage::FromCode(L"DEA", true)), 7);
    EXPECT_EQ(Row(CLanguage::FromCode(L"DEA", false)), CLanguage::kInvalid);
    EXPECT_EQ(Row(CLanguage::FromCode(L"QQQ", true)), 0);
    EXPECT_EQ(Row(CLanguage::FromCode(L"", true)), CLanguage::kNeutral);
    EXPECT_EQ(Row(CLanguage::FromCode(L"ABCD", true)), CLanguage::kInvalid);
    EXPECT_EQ(Row(CLanguage::FromCode(L"DE", true)), CLanguage::kInvalid);
    EXPECT_EQ(Row(CLanguage::FromCode(nullptr, true)), CLanguage::kInvalid);
}

TEST(Language, FromTwoLetterNameTakesTheFirstRowOfTheLanguage)
{
    EXPECT_EQ(CLanguage::FromTwoLetterName(L"es"), 32);
    EXPECT_EQ(CLanguage::FromTwoLetterName(L"zh"), 15);
    EXPECT_EQ(CLanguage::FromTwoLetterName(L"pt"), 11);
    EXPECT_EQ(CLanguage::FromTwoLetterName(L"DE"), 7);
    EXPECT_EQ(CLanguage::FromTwoLetterName(L"xx"), 0);
    EXPECT_EQ(CLanguage::FromTwoLetterName(L"d"), 0);
    EXPECT_EQ(CLanguage::FromTwoLetterName(L"deu"), 0);
    EXPECT_EQ(CLanguage::FromTwoLetterName(nullptr), 0);
}

TEST(Language, FromStringAcceptsCodesAndCultureNames)
{
    EXPECT_EQ(Row(CLanguage::FromString(L"DEU", false)), 7);
    EXPECT_EQ(Row(CLanguage::FromString(L"deu", false)), 7);
    EXPECT_EQ(Row(CLanguage::FromString(L"de-DE", false)), 7);
    EXPECT_EQ(Row(CLanguage::FromString(L"", false)), CLanguage::kNeutral);
    EXPECT_EQ(Row(CLanguage::FromString(L"xx", false)), CLanguage::kInvalid);
    EXPECT_EQ(Row(CLanguage::FromString(L"fr-BE", true)), 8);
}

TEST(Language, FallbackLanguages)
{
    auto fallback = [](const wchar_t* code, bool toDefault) {
        return CLanguage::FromCode(code, false).GetFallbackLanguage(toDefault).GetCode();
    };
    EXPECT_EQ(fallback(L"ENG", false), L"ENU");
    EXPECT_EQ(fallback(L"PTG", false), L"PTB");
    EXPECT_EQ(fallback(L"ESP", false), L"ESN");
    EXPECT_EQ(fallback(L"CHS", false), L"CHT");
    EXPECT_EQ(fallback(L"FRC", false), L"FRA");
    EXPECT_EQ(fallback(L"DEU", false), L"DEU");
    EXPECT_EQ(fallback(L"CAT", false), L"ESN");
    EXPECT_EQ(fallback(L"CAT", true), L"ESN");
    EXPECT_EQ(fallback(L"DEU", true), L"ENU");
    EXPECT_EQ(fallback(L"ENG", true), L"ENU");
    EXPECT_EQ(fallback(L"ENU", true), L"ENU");
    EXPECT_EQ(fallback(L"ARE", true), L"ARA");

    const CLanguage invalid = CLanguage::FromCode(L"XYZ", false);
    EXPECT_EQ(invalid.GetFallbackLanguage(true), g_defaultLanguage);
    EXPECT_EQ(invalid.GetFallbackLanguage(false), invalid);
    EXPECT_TRUE(CLanguage().GetFallbackLanguage(false).IsNeutral());
}

TEST(Language, OrderComparesCodesAndPutsInvalidAndNeutralFirst)
{
    const CLanguage chs = CLanguage::FromCode(L"CHS", false);
    const CLanguage deu = CLanguage::FromCode(L"DEU", false);
    EXPECT_TRUE(chs < deu);
    EXPECT_FALSE(deu < chs);
    EXPECT_FALSE(deu < deu);
    EXPECT_TRUE(CLanguage() < chs);
    EXPECT_TRUE(CLanguage::FromCode(L"XYZ", false) < chs);
    EXPECT_FALSE(CLanguage() < CLanguage::FromCode(L"XYZ", false));
}

TEST(Language, QueriesOfInvalidAndNeutralLanguagesAreEmpty)
{
    for (const CLanguage& language : {CLanguage(), CLanguage::FromCode(L"XYZ", false)}) {
        EXPECT_EQ(language.GetLangID(), 0);
        EXPECT_EQ(language.GetCode(), L"");
        EXPECT_EQ(language.GetCultureName(), L"");
        EXPECT_EQ(language.GetAnsiCodePage(), 0u);
        EXPECT_EQ(language.GetLangName(), nullptr);
        EXPECT_EQ(language.GetEnglishName(), nullptr);
        EXPECT_EQ(language.GetNativeName(), nullptr);
        EXPECT_EQ(language.GetGroup(), 0);
        EXPECT_FALSE(language.IsEnglish());
    }
}

TEST(Language, OtherColumns)
{
    const CLanguage deu = CLanguage::FromCode(L"DEU", false);
    EXPECT_STREQ(deu.GetLangName(), L"LANG_GERMAN");
    EXPECT_STREQ(deu.GetSubLangName(), L"SUBLANG_GERMAN");
    EXPECT_STREQ(deu.GetIso639B(), L"ger");
    EXPECT_STREQ(deu.GetIso639T(), L"deu");
    EXPECT_STREQ(deu.GetEnglishName(), L"German");
    EXPECT_STREQ(deu.GetNativeName(), L"German");
    EXPECT_EQ(deu.GetGroup(), 1);
    EXPECT_STREQ(CLanguage::FromCode(L"ENA", false).GetIso639B(), L"aus");
    EXPECT_STREQ(CLanguage::FromCode(L"HEB", false).GetIso639T(), L"hbr");
    EXPECT_EQ(CLanguage::FromCode(L"UKR", false).GetGroup(), 2);
    EXPECT_EQ(CLanguage::FromCode(L"ENU", false).GetGroup(), 3);
}

TEST(Language, EnglishAndPrimaryLanguage)
{
    EXPECT_TRUE(CLanguage::FromCode(L"ENU", false).IsEnglish());
    EXPECT_TRUE(CLanguage::FromCode(L"ENG", false).IsEnglish());
    EXPECT_TRUE(CLanguage::FromCode(L"ENA", false).IsEnglish());
    EXPECT_FALSE(CLanguage::FromCode(L"ENC", false).IsEnglish());
    EXPECT_TRUE(CLanguage::FromCode(L"ESN", false).HasSamePrimaryLanguage(CLanguage::FromCode(L"ESV", false)));
    EXPECT_FALSE(CLanguage::FromCode(L"ESN", false).HasSamePrimaryLanguage(CLanguage::FromCode(L"CAT", false)));
}

TEST(Language, AnsiCodePagesOfTheDictionaryLanguages)
{
    const struct {
        const wchar_t* code;
        unsigned codePage;
    } expected[] = {
        {L"CHS", 936},  {L"CHT", 950},  {L"CSY", 1250}, {L"DAN", 1252}, {L"DEU", 1252}, {L"ELL", 1253},
        {L"ENU", 1252}, {L"ESP", 1252}, {L"ESN", 1252}, {L"FIN", 1252}, {L"FRA", 1252}, {L"HUN", 1250},
        {L"ITA", 1252}, {L"JPN", 932},  {L"KOR", 949},  {L"NLD", 1252}, {L"NOR", 1252}, {L"PLK", 1250},
        {L"PTB", 1252}, {L"PTG", 1252}, {L"RUS", 1251}, {L"SVE", 1252}, {L"THA", 874},  {L"TRK", 1254},
        {L"ARA", 1256}, {L"HEB", 1255}, {L"UKR", 1251},
    };
    for (const auto& [code, codePage] : expected)
        EXPECT_EQ(CLanguage::FromCode(code, false).GetAnsiCodePage(), codePage) << std::string(code, code + 3);
    for (int32_t i = 0; i < static_cast<int32_t>(LanguageTable::kRowCount); ++i)
        EXPECT_NE(CLanguage::FromIndex(i).GetAnsiCodePage(), 0u) << i;
}

} // namespace
