// Help display and the framework's language sources against the prefix: help files
// found for the interface language, the English-help notice, files opened through an
// association that records its command line, and the language values kept in the
// registry and shared memory.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include "DialogWatcher.h"
#include "LocalizationTestSupport.h"
#include "ShellAssociation.h"
#include "framework/controls/OfcConditionalMessageBox.h"
#include "framework/localization/FrameworkResources.h"
#include "framework/localization/HelpFiles.h"
#include "framework/localization/HelpFolderQuery.h"
#include "framework/localization/LanguageSources.h"
#include "framework/localization/Localization.h"
#include "framework/localization/ResourceFileLocalization.h"
#include "framework/application/ShowHelp.h"
#include "framework/localization/UserInterfaceLocalization.h"
#include "win32/FileSystemPath.h"
#include "win32/TextConversion.h"

#include <filesystem>
#include <fstream>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr wchar_t kSharedKey[] = L"Software\\Ovra\\Suite 2019\\Office\\Shared";
constexpr wchar_t kHelpClass[] = L"OvraTestHelp";

// What a watcher thread saw while help was shown: the first box, its texts, and the
// answer it gave (after ticking the check box when asked).
struct SWatchedBox {
    bool shown = false;
    bool hadCheckBox = false;
    std::wstring text;
    std::wstring checkText;
};

class HelpDisplay : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        EnableHelpDisplay();
        const fs::path recorder =
            fs::path(FileSystemPath::ModulePath(nullptr)).parent_path().parent_path() / "tools" / "SampleSetup.exe";
        ASSERT_TRUE(SetClassDefault(L".chm", kHelpClass));
        ASSERT_TRUE(SetClassDefault(std::wstring(kHelpClass) + L"\\shell\\open\\command",
                                    L"\"" + recorder.wstring() + L"\" -help \"%1\""));
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH, temp);
        s_folder = fs::path(temp) / "OvraHelpTest";
        s_record = fs::path(temp) / "OvraHelpRecord.txt";
        ::SetEnvironmentVariableW(L"OVRA_SETUP_RECORD", s_record.wstring().c_str());
    }

    static void TearDownTestSuite()
    {
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, kHelpClass);
        ::RegDeleteTreeW(HKEY_CLASSES_ROOT, L".chm");
        ::SetEnvironmentVariableW(L"OVRA_SETUP_RECORD", nullptr);
    }

    void SetUp() override
    {
        std::error_code ignored;
        fs::remove_all(s_folder, ignored);
        fs::create_directories(s_folder);
        fs::remove(s_record, ignored);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSharedKey);
    }

    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(s_folder, ignored);
        ::RegDeleteTreeW(HKEY_CURRENT_USER, kSharedKey);
    }

    static std::wstring Touch(const wchar_t* name)
    {
        std::ofstream(s_folder / name) << "help";
        return (s_folder / name).wstring();
    }

    // Runs `show` while a second thread answers the first box that appears (ticking
    // its check box when `tick`), or gives up after `wait` milliseconds.
    static SWatchedBox Watch(const std::function<void()>& show, bool tick, DWORD wait = 15000)
    {
        SWatchedBox seen;
        const DWORD threadId = ::GetCurrentThreadId();
        std::thread watcher([&] {
            const HWND box = WaitForThreadDialog(threadId, wait);
            if (box == nullptr)
                return;
            ::Sleep(200);
            seen.shown = true;
            seen.text = DialogItemText(box, 0xFFFF);
            const HWND check = ::GetDlgItem(box, COfcConditionalMessageBox::kCheckBoxId);
            seen.hadCheckBox = check != nullptr;
            seen.checkText = DialogItemText(box, COfcConditionalMessageBox::kCheckBoxId);
            if (tick && check != nullptr)
                ::SendMessageW(check, BM_CLICK, 0, 0);
            ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        });
        show();
        watcher.join();
        return seen;
    }

    // The help target the association was started with; empty when it was not.
    static std::wstring OpenedTarget()
    {
        for (int i = 0; i < 150 && !fs::exists(s_record); ++i)
            ::Sleep(100);
        ::Sleep(200);
        const std::vector<std::wstring> arguments = ReadRecordedArguments(s_record);
        if (arguments.empty())
            return {};
        std::wstring target = arguments.size() == 3 && arguments[1] == L"-help" ? arguments[2] : L"";
        std::error_code ignored;
        fs::remove(s_record, ignored);
        return target;
    }

    static inline fs::path s_folder;
    static inline fs::path s_record;
};

// The system's answers to the help-file search, counted.
class CCountingSystemQuery final : public IHelpFolderQuery
{
public:
    bool Exists(const std::wstring& path) const override { return HelpFolderQuery().Exists(path); }

    void ListMatching(const std::wstring& folder, const std::wstring& extension,
                      const EntryVisitor& visit) const override
    {
        ++m_listings;
        HelpFolderQuery().ListMatching(folder, extension, [&](const std::wstring& name) {
            ++m_entriesRead;
            return visit(name);
        });
    }

    mutable int m_listings = 0;
    mutable std::size_t m_entriesRead = 0;
};

// A copy of this program as the French language library, its string 2500 replaced by
// `text`; empty when the copy could not be made.
std::wstring WriteFrenchLibrary(const std::wstring& text)
{
    const std::wstring program = FileSystemPath::ModulePath(nullptr);
    const std::wstring library =
        CResourceFileLocalization::CandidateNames(program, CLanguage::FromCode(L"FRA", false))[0];
    if (!::CopyFileW(program.c_str(), library.c_str(), FALSE))
        return {};
    // A string block holds sixteen counted strings; 2500 is the fifth of its block.
    constexpr UINT kBlockSize = 16;
    std::vector<WORD> block;
    for (UINT id = IDS_OFC_HELP_OPEN_FAILED / kBlockSize * kBlockSize; block.size() < kBlockSize * 2; ++id) {
        if (id != IDS_OFC_HELP_OPEN_FAILED) {
            block.push_back(0);
            continue;
        }
        block.push_back(static_cast<WORD>(text.size()));
        block.insert(block.end(), text.begin(), text.end());
    }
    const HANDLE update = ::BeginUpdateResourceW(library.c_str(), FALSE);
    if (update == nullptr)
        return {};
    const WORD blockId = IDS_OFC_HELP_OPEN_FAILED / kBlockSize + 1;
    const bool written = ::UpdateResourceW(update, RT_STRING, MAKEINTRESOURCEW(blockId),
                                           MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), block.data(),
                                           static_cast<DWORD>(block.size() * sizeof(WORD))) != FALSE;
    if (::EndUpdateResourceW(update, written ? FALSE : TRUE) == FALSE || !written) {
        ::DeleteFileW(library.c_str());
        return {};
    }
    return library;
}

TEST_F(HelpDisplay, GermanInterfaceFindsTheEnglishCultureHelpFile)
{
    CTestApp app(kDictionaryLocalization);
    app.m_strAppName = L"My Tool";
    app.m_strExeName = L"mytool";
    app.m_strHelpFilePath = L"C:\\previous.hlp";
    ASSERT_EQ(app.SetUILanguage(L"DEU", s_folder.wstring()), COfcWinApp::kLanguageApplied);
    EXPECT_EQ(app.m_strHelpFilePath, L"C:\\previous.hlp") << "no help file: the path stays";

    const std::wstring english = Touch(L"MyTool_en-US.chm");
    ASSERT_EQ(app.SetUILanguage(L"DEU", s_folder.wstring()), COfcWinApp::kLanguageApplied);
    EXPECT_EQ(app.m_strHelpFilePath, english);

    const std::wstring german = Touch(L"mytool_DEU.shlp");
    ASSERT_EQ(app.SetUILanguage(L"de-DE", s_folder.wstring() + L"\\"), COfcWinApp::kLanguageApplied);
    EXPECT_EQ(app.m_strHelpFilePath, english) << "the English culture name comes before any code";
    ASSERT_EQ(app.SetUILanguage(L"ENU", s_folder.wstring()), COfcWinApp::kLanguageApplied);
    EXPECT_EQ(app.m_strHelpFilePath, english);
    static_cast<void>(german);
}

TEST_F(HelpDisplay, TheNoticeSpeaksTheInterfaceLanguage)
{
    CTestApp app(kDictionaryLocalization);
    ASSERT_EQ(app.SetUILanguage(L"DEU", s_folder.wstring()), COfcWinApp::kLanguageApplied);
    app.m_strHelpFilePath = Touch(L"Help_ENU.chm");
    const SWatchedBox seen = Watch([&] { app.WinHelp(0, 0); }, false);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.text,
              L"Die Hilfe zu diesem Programm gibt es nur auf Englisch.  \u00DCbersetzte Hilfe erscheint vielleicht auf "
              L"unserer Website.");
    EXPECT_EQ(seen.checkText, L"Diese Meldung nicht mehr anzeigen");
    EXPECT_EQ(OpenedTarget(), app.m_strHelpFilePath);
}

TEST_F(HelpDisplay, EnglishHelpUnderGermanShowsTheNoticeUntilItIsTicked)
{
    const std::wstring help = Touch(L"Help_ENU.chm");
    const SWatchedBox first = Watch([&] { ShowHelp(nullptr, help, 0, 0, L"de-DE", 1034, L""); }, false);
    ASSERT_TRUE(first.shown);
    EXPECT_TRUE(first.hadCheckBox);
    EXPECT_NE(first.text.find(L"English only"), std::wstring::npos) << WideToAnsi(first.text, CP_UTF8);
    EXPECT_EQ(first.text.find(L"<a"), std::wstring::npos) << "the system box shows the text without tags";
    EXPECT_EQ(OpenedTarget(), help);

    const SWatchedBox second = Watch([&] { ShowHelp(nullptr, help, 0, 0, L"de-DE", 1034, L""); }, true);
    EXPECT_TRUE(second.shown) << "not ticked the first time: shown again";
    EXPECT_EQ(OpenedTarget(), help);

    const SWatchedBox third = Watch([&] { ShowHelp(nullptr, help, 0, 0, L"de-DE", 1034, L""); }, false, 2000);
    EXPECT_FALSE(third.shown) << "ticked: the notice stays away";
    EXPECT_EQ(OpenedTarget(), help);
}

TEST_F(HelpDisplay, HelpInTheInterfaceLanguageOpensWithoutNotice)
{
    const std::wstring german = Touch(L"Help_DEU.chm");
    const std::wstring english = Touch(L"Help_ENU.chm");
    EXPECT_FALSE(Watch([&] { ShowHelp(nullptr, german, 0, 0, L"de-DE", 1034, L""); }, false, 2000).shown);
    EXPECT_EQ(OpenedTarget(), german);
    EXPECT_FALSE(Watch([&] { ShowHelp(nullptr, english, 0, 0, L"en-US", 1034, L""); }, false, 2000).shown);
    EXPECT_EQ(OpenedTarget(), english);
}

TEST_F(HelpDisplay, MissingTargetOrFailedOpeningIsShownInABox)
{
    const std::wstring missing = (s_folder / L"Missing_DEU.chm").wstring();
    const SWatchedBox gone = Watch([&] { ShowHelp(nullptr, missing, 0, 0, L"de-DE", 1034, L""); }, false);
    ASSERT_TRUE(gone.shown);
    EXPECT_FALSE(gone.hadCheckBox);
    // The markup control has taken the text over: its window text is the plain form.
    EXPECT_EQ(gone.text, L"No help is available for this program.");
    const SWatchedBox own = Watch([&] { ShowHelp(nullptr, missing, 0, 0, L"de-DE", 1034, L"Own <b>text</b>"); }, false);
    EXPECT_EQ(own.text, L"Own text");

    const std::wstring unopenable = Touch(L"Help_DEU.ovranoassoc");
    const SWatchedBox failed = Watch([&] { ShowHelp(nullptr, unopenable, 0, 0, L"de-DE", 1034, L""); }, false);
    ASSERT_TRUE(failed.shown);
    EXPECT_EQ(failed.text.rfind(L"The help could not be opened: ", 0), 0u) << WideToAnsi(failed.text, CP_UTF8);
    EXPECT_GT(failed.text.size(), 31u) << "the system's reason follows";
}

TEST_F(HelpDisplay, AnInsertOnlyTheTranslationNamesIsShownAsText)
{
    const std::wstring library = WriteFrenchLibrary(L"L'aide n'a pas pu \u00EAtre ouverte (%2) : %1");
    ASSERT_FALSE(library.empty());
    {
        CTestApp app(kResourceFileLocalization);
        ASSERT_EQ(app.SetUILanguage(L"FRA", s_folder.wstring()), COfcWinApp::kLanguageApplied);
        const std::wstring unopenable = Touch(L"Aide_FRA.ovranoassoc");
        const SWatchedBox failed = Watch([&] { ShowHelp(nullptr, unopenable, 0, 0, L"fr-FR", 1034, L""); }, false);
        ASSERT_TRUE(failed.shown);
        const std::wstring start = L"L'aide n'a pas pu \u00EAtre ouverte (%2) : ";
        EXPECT_EQ(failed.text.rfind(start, 0), 0u) << WideToAnsi(failed.text, CP_UTF8);
        EXPECT_GT(failed.text.size(), start.size()) << "the system's reason follows";
        EXPECT_TRUE(GetLocalization()->ApplyLanguage(CLanguage()));
        ReleaseLocalization();
    }
    EXPECT_TRUE(::DeleteFileW(library.c_str()));
}

TEST_F(HelpDisplay, AFullFolderIsListedOnlyUpToItsFirstHelpFile)
{
    for (int i = 0; i < 1000; ++i)
        Touch((L"download" + std::to_wstring(i) + L".zip").c_str());
    Touch(L"notes.chmold");
    const std::wstring manual = Touch(L"Manual.chm");
    CCountingSystemQuery query;
    std::wstring found;
    ASSERT_TRUE(FindHelpFile(query, &found, s_folder.wstring().c_str(), L"MyTool_", L"mytool_",
                             CLanguage::FromCode(L"DEU", false), L"My Tool"));
    EXPECT_EQ(found, manual);
    EXPECT_EQ(query.m_listings, 2) << "\".shlp\", then \".chm\"";
    EXPECT_LE(query.m_entriesRead, 2u) << "the system matches the pattern: the other files are never read";
}

TEST(LanguageSources, FamilyAndInstalledLanguagesLiveInTheCatalogueKeys)
{
    const wchar_t* installation = L"Software\\Ovra\\Suite 2019\\Office\\Installation";
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kSharedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, installation, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                                nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);

    SetFamilyLanguage(L"de-DE", 1034);
    EXPECT_EQ(GetFamilyLanguage(1034), L"de-DE");
    SetInstalledLanguages(L"DEU;fr-FR, FRA;ENU", 1034);
    std::list<std::wstring> languages;
    GetInstalledLanguages(languages, 1034, false);
    EXPECT_EQ(languages, (std::list<std::wstring>{L"DEU", L"fr-FR", L"FRA", L"ENU"}));

    ::RegSetKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Ovra\\Families\\Ovra 7\\Installation\\Languages", L"Installed",
                      REG_SZ, L"ITA", 8);
    GetInstalledLanguages(languages, 708, true);
    ASSERT_GE(languages.size(), 2u);
    EXPECT_EQ(languages.front(), L"ITA");
    EXPECT_EQ(languages.back(), L"ENU");

    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Ovra\\Suite 2019");
    ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Ovra");
}

TEST(LanguageSources, PublishedLanguageIsReadBackAtMostTenCharacters)
{
    std::wstring language;
    ClosePublishedAppLanguage();
    EXPECT_FALSE(ReadAppLanguage(language));
    ASSERT_TRUE(PublishAppLanguage(L"de-DE"));
    ASSERT_TRUE(ReadAppLanguage(language));
    EXPECT_EQ(language, L"de-DE");
    ASSERT_TRUE(PublishAppLanguage(L"0123456789ABC"));
    ASSERT_TRUE(ReadAppLanguage(language));
    EXPECT_EQ(language, L"0123456789") << "a full section has no terminator: the reader stops at ten";
    ClosePublishedAppLanguage();
    EXPECT_FALSE(ReadAppLanguage(language));
}

} // namespace
