#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/ovradict/DictionaryCompiler.h"
#include "tools/ovradict/DictionaryDump.h"
#include "tools/ovradict/FormatConversions.h"

namespace {

using Translations = std::vector<std::pair<std::string, std::string>>;

TEST(FormatConversions, ListsConversionsInOrder)
{
    using List = std::vector<std::string>;
    EXPECT_EQ(FormatConversions::Of("Extracting %d %%"), (List{"%d", "%%"}));
    EXPECT_EQ(FormatConversions::Of("drive %s ... %.2f MB"), (List{"%s", "%.2f"}));
    EXPECT_EQ(FormatConversions::Of("%-08.3lf|%ls|%I64u|%"), (List{"%-08.3lf", "%ls", "%I64u", "%"}));
    EXPECT_EQ(FormatConversions::Of("none"), List{});
    EXPECT_NE(FormatConversions::Of("%.2f %s"), FormatConversions::Of("%s %.2f"));
}

class DictionaryCompiler : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_compiler.SetKeys({"Cancel", "Extracting %d %%"}));
    }

    CDictionaryCompiler m_compiler;
};

TEST_F(DictionaryCompiler, ConvertsEachLanguageToItsCodePage)
{
    ASSERT_TRUE(m_compiler.AddSourceLanguage(L"ENU"));
    ASSERT_TRUE(m_compiler.AddLanguage(L"ell", "ell.po",
                                       Translations{{"Cancel", "Ακύρωση"}, {"Extracting %d %%", "Αποσυμπίεση %d %%"}}));
    ASSERT_TRUE(m_compiler.AddLanguage(L"JPN", "jpn.po",
                                       Translations{{"Cancel", "キャンセル"}, {"Extracting %d %%", "展開中 %d %%"}}));
    const auto& entries = m_compiler.GetDictionary().GetEntries();
    EXPECT_EQ(entries.at("Cancel").at(CLanguage::FromCode(L"ELL", false)), "\xC1\xEA\xFD\xF1\xF9\xF3\xE7");
    EXPECT_EQ(entries.at("Cancel").at(CLanguage::FromCode(L"JPN", false)), "\x83\x4C\x83\x83\x83\x93\x83\x5A\x83\x8B");
    EXPECT_EQ(entries.at("Cancel").at(CLanguage::FromCode(L"ENU", false)), "Cancel");
    const std::string dump = DictionaryDump::Text(m_compiler.GetDictionary());
    EXPECT_NE(dump.find("key \"Cancel\"\n  ELL \"Ακύρωση\"\n  ENU \"Cancel\"\n  JPN \"キャンセル\"\n"), std::string::npos)
        << dump;
}

TEST_F(DictionaryCompiler, RejectsTranslationsThatChangeTheConversions)
{
    EXPECT_FALSE(m_compiler.AddLanguage(L"DEU", "deu.po",
                                        Translations{{"Cancel", "Abbrechen"}, {"Extracting %d %%", "%d extrahieren"}}));
    EXPECT_FALSE(m_compiler.GetErrors().empty());
}

TEST_F(DictionaryCompiler, RejectsMissingExtraAndUnconvertibleTexts)
{
    EXPECT_FALSE(m_compiler.AddLanguage(L"DEU", "deu.po", Translations{{"Cancel", "Abbrechen"}}));
    EXPECT_FALSE(m_compiler.AddLanguage(
        L"FRA", "fra.po",
        Translations{{"Cancel", "Annuler"}, {"Extracting %d %%", "Extraction %d %%"}, {"Other", "Autre"}}));
    EXPECT_FALSE(m_compiler.AddLanguage(L"RUS", "rus.po",
                                        Translations{{"Cancel", "Отмена ✓"}, {"Extracting %d %%", "Извлечение %d %%"}}));
    EXPECT_EQ(m_compiler.GetErrors().size(), 3u) << ::testing::PrintToString(m_compiler.GetErrors());
}

TEST_F(DictionaryCompiler, RejectsUnknownAndRepeatedLanguages)
{
    const Translations texts{{"Cancel", "Abbrechen"}, {"Extracting %d %%", "%d %% extrahieren"}};
    EXPECT_FALSE(m_compiler.AddLanguage(L"XYZ", "xyz.po", texts));
    EXPECT_TRUE(m_compiler.AddLanguage(L"DEU", "deu.po", texts));
    EXPECT_FALSE(m_compiler.AddLanguage(L"deu", "deu2.po", texts));
}

TEST(DictionaryCompilerKeys, KeysMustBeUniqueWindows1252Texts)
{
    CDictionaryCompiler compiler;
    EXPECT_FALSE(compiler.SetKeys({"Cancel", "Cancel"}));
    CDictionaryCompiler other;
    EXPECT_FALSE(other.SetKeys({"Отмена"}));
    CDictionaryCompiler latin;
    EXPECT_TRUE(latin.SetKeys({"Caf\xC3\xA9"}));
    EXPECT_TRUE(latin.GetDictionary().GetEntries().contains("Caf\xE9"));
}

} // namespace
