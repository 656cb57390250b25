#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "framework/localization/HelpFiles.h"

#include <fstream>
#include <string>

namespace {

class HelpFolder : public ::testing::Test
{
protected:
    void Touch(const std::string& name) { std::ofstream(m_folder / name) << "help"; }
    std::wstring Folder() const { return m_folder.Path().wstring() + L"/"; }
    std::wstring Find(const wchar_t* language, const wchar_t* plainName = L"My Tool")
    {
        std::wstring found = L"none";
        if (!FindHelpFile(&found, Folder().c_str(), L"MyTool_", L"mytool_", CLanguage::FromString(language, false),
                          plainName))
            return L"none";
        return found.substr(Folder().size());
    }

    CScratchFolder m_folder{"help"};
};

TEST_F(HelpFolder, SuffixesGoFromTheLanguageToEnglishCultureThenCodes)
{
    Touch("mytool_ENU.chm");
    EXPECT_EQ(Find(L"DEU"), L"mytool_ENU.chm");
    Touch("MyTool_DEU.chm");
    EXPECT_EQ(Find(L"DEU"), L"MyTool_DEU.chm");
    Touch("MyTool_en-US.chm");
    EXPECT_EQ(Find(L"DEU"), L"MyTool_en-US.chm") << "the English culture name comes before the codes";
    Touch("mytool_de-DE.chm");
    EXPECT_EQ(Find(L"DEU"), L"mytool_de-DE.chm");
    Touch("mytool_de-DE.shlp");
    EXPECT_EQ(Find(L"DEU"), L"mytool_de-DE.shlp") << ".shlp before .chm";
    Touch("MyTool_de-DE.shlp");
    EXPECT_EQ(Find(L"DEU"), L"MyTool_de-DE.shlp") << "baseA before baseB";
}

TEST_F(HelpFolder, RegionalLanguageFallsBackToItsMainCulture)
{
    Touch("MyTool_de-DE.chm");
    EXPECT_EQ(Find(L"de-AT"), L"MyTool_de-DE.chm");
}

TEST_F(HelpFolder, WithoutMatchingNamesThePlainNameThenAnyHelpFile)
{
    EXPECT_EQ(Find(L"DEU"), L"none");
    Touch("zeta.chm");
    Touch("beta.CHM");
    EXPECT_EQ(Find(L"DEU"), L"beta.CHM");
    Touch("other.shlp");
    EXPECT_EQ(Find(L"DEU"), L"other.shlp");
    Touch("My Tool");
    EXPECT_EQ(Find(L"DEU"), L"My Tool");
    std::wstring untouched = L"kept";
    EXPECT_FALSE(FindHelpFile(nullptr, Folder().c_str(), L"a", L"b", CLanguage::FromCode(L"DEU", false), L"x"));
    EXPECT_FALSE(FindHelpFile(&untouched, (Folder() + L"missing").c_str(), L"a", L"b",
                              CLanguage::FromCode(L"DEU", false), L"x"));
    EXPECT_EQ(untouched, L"kept");
}

TEST(HelpNames, BaseNamesAndTheLanguageOfAHelpPath)
{
    EXPECT_EQ(HelpBaseName(L"My Tool", CLanguage::FromCode(L"DEU", false)), L"MyTool_");
    EXPECT_EQ(HelpBaseName(L"My Tool", CLanguage::FromIndex(CLanguage::kNeutral)), L"MyTool");
    EXPECT_EQ(HelpFileLanguage(L"C:\\Help_DEU.chm").GetCode(), L"DEU");
    EXPECT_EQ(HelpFileLanguage(L"C:\\Help_de-DE.chm").GetCode(), L"DEU");
    EXPECT_EQ(HelpFileLanguage(L"C:\\Help_ENU.chm").GetCode(), L"ENU");
    EXPECT_FALSE(HelpFileLanguage(L"C:\\Help.chm").IsValid());
    EXPECT_FALSE(HelpFileLanguage(L"a.chm").IsValid());
    EXPECT_TRUE(IsHelpAddress(L"HTTP://example.com/help"));
    EXPECT_TRUE(IsHelpAddress(L"mail:help@example.com"));
    EXPECT_FALSE(IsHelpAddress(L"https://example.com/"));
}

TEST(InstalledLanguages, PiecesOfThreeOrFiveCharactersOnceInOrder)
{
    std::list<std::wstring> languages{L"FRA"};
    AppendLanguagePieces(languages, L"DEU;en-US,, FRA;toolong;x;DEU;ja-JP ");
    EXPECT_EQ(languages, (std::list<std::wstring>{L"FRA", L"DEU", L"en-US", L"ja-JP"}));
    std::list<std::wstring> none;
    AppendLanguagePieces(none, L"");
    EXPECT_TRUE(none.empty());
}

} // namespace
