#include <gtest/gtest.h>

#include "ScratchFolder.h"
#include "framework/localization/HelpFiles.h"
#include "framework/localization/HelpFolderQuery.h"

#include <algorithm>
#include <cwctype>
#include <fstream>
#include <set>
#include <string>
#include <vector>

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
    Touch("notes.chmold");
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

// A folder laid out name by name, answering as the system does: a listing for "*.chm"
// passes the names, long or short, that end with ".chm", in the folder's order. It
// counts what the search makes it read.
class CCountingFolder final : public IHelpFolderQuery
{
public:
    struct SEntry {
        std::wstring name;
        std::wstring shortName;
    };

    explicit CCountingFolder(std::vector<SEntry> entries) : m_entries(std::move(entries))
    {
        for (const SEntry& entry : m_entries)
            m_paths.insert(kFolder + entry.name);
    }

    bool Exists(const std::wstring& path) const override { return m_paths.count(path) != 0; }

    void ListMatching(const std::wstring& folder, const std::wstring& extension,
                      const EntryVisitor& visit) const override
    {
        EXPECT_EQ(folder, kFolder);
        ++m_listings;
        for (const SEntry& entry : m_entries) {
            if (!EndsWithNoCase(entry.name, extension) && !EndsWithNoCase(entry.shortName, extension))
                continue;
            ++m_entriesRead;
            if (!visit(entry.name))
                return;
        }
    }

    std::wstring Find() const
    {
        std::wstring found;
        if (!FindHelpFile(*this, &found, kFolder.c_str(), L"MyTool_", L"mytool_", CLanguage::FromCode(L"DEU", false),
                          L"My Tool"))
            return L"none";
        return found.substr(kFolder.size());
    }

    static inline const std::wstring kFolder = L"C:\\Users\\me\\Downloads\\";
    mutable int m_listings = 0;
    mutable std::size_t m_entriesRead = 0;

private:
    static bool EndsWithNoCase(const std::wstring& text, const std::wstring& ending)
    {
        return text.size() >= ending.size() &&
               std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                          [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
    }

    std::vector<SEntry> m_entries;
    std::set<std::wstring> m_paths;
};

std::vector<CCountingFolder::SEntry> Downloads(std::size_t count)
{
    std::vector<CCountingFolder::SEntry> entries;
    for (std::size_t i = 0; i < count; ++i)
        entries.push_back({L"download" + std::to_wstring(i) + L".zip", L"DOWNLO~" + std::to_wstring(i) + L".ZIP"});
    return entries;
}

TEST(HelpFolderListing, AFolderOfThousandsIsReadOnlyUpToItsFirstHelpFile)
{
    std::vector<CCountingFolder::SEntry> entries = Downloads(5000);
    entries.push_back({L"notes.chmold", L"NOTES~1.CHM"});
    entries.push_back({L"Zeta.chm", L"ZETA.CHM"});
    const std::vector<CCountingFolder::SEntry> more = Downloads(5000);
    entries.insert(entries.end(), more.begin(), more.end());
    entries.push_back({L"alpha.chm", L"ALPHA.CHM"});

    const CCountingFolder folder(entries);
    EXPECT_EQ(folder.Find(), L"Zeta.chm") << "the first the folder lists, past a short-name match";
    EXPECT_EQ(folder.m_listings, 2) << "one listing for \".shlp\", one for \".chm\"";
    EXPECT_EQ(folder.m_entriesRead, 2u);

    entries.push_back({L"Guide.shlp", L"GUIDE~1.SHL"});
    const CCountingFolder withShlp(entries);
    EXPECT_EQ(withShlp.Find(), L"Guide.shlp");
    EXPECT_EQ(withShlp.m_listings, 1) << "a \".shlp\" file ends the search";
    EXPECT_EQ(withShlp.m_entriesRead, 1u);

    entries.push_back({L"mytool_ENU.chm", L"MYTOOL~1.CHM"});
    const CCountingFolder named(entries);
    EXPECT_EQ(named.Find(), L"mytool_ENU.chm");
    EXPECT_EQ(named.m_listings, 0) << "a name of the language is found without listing";
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

TEST(OneArgumentFormat, OnlyTheFirstInsertReadsAnArgument)
{
    for (const wchar_t* kept : {L"The help could not be opened: %1", L"%1!s! and %1!-20ls!, 100%% sure%n",
                                L"%0", L"%.%!%t", L"trailing %"})
        EXPECT_EQ(OneArgumentMessageFormat(kept), kept);
    EXPECT_EQ(OneArgumentMessageFormat(L"L'aide (%2) : %1"), L"L'aide (%%2) : %1");
    EXPECT_EQ(OneArgumentMessageFormat(L"%10 %12!s! %99"), L"%%10 %%12!s! %%99") << "two-digit inserts";
    EXPECT_EQ(OneArgumentMessageFormat(L"%1!*s!"), L"%%1!*s!") << "a width from the next argument";
    EXPECT_EQ(OneArgumentMessageFormat(L"%1!.*s! %1!d! %1!S! %1!s"), L"%%1!.*s! %%1!d! %%1!S! %%1!s")
        << "anything but one wide string stays text";
    EXPECT_EQ(OneArgumentMessageFormat(L"%%2 %1%2"), L"%%2 %1%%2");
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
