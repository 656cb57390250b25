#include <gtest/gtest.h>

#include <windows.h>

#include "LocalizationTestResources.h"
#include "LocalizationTestSupport.h"
#include "framework/localization/AnsiCodePageTable.h"
#include "framework/localization/DictionaryLocalization.h"
#include "framework/localization/DictionaryResource.h"
#include "framework/localization/LanguageTable.h"
#include "framework/localization/Localization.h"
#include "framework/localization/LocalizationDictionary.h"
#include "framework/localization/LocalizationTextCache.h"
#include "framework/localization/LocalizedString.h"
#include "framework/localization/MUILocalization.h"
#include "framework/localization/MergedLocalizationDictionary.h"
#include "framework/localization/NonLocalized.h"
#include "framework/localization/ResourceFileLocalization.h"
#include "framework/localization/UserInterfaceLocalization.h"
#include "framework/localization/WindowLocalization.h"
#include "resources/resource.h"
#include "win32/ComboBox.h"
#include "win32/FileSystemPath.h"
#include "win32/StringFormat.h"

#include <memory>

namespace {

std::wstring Loaded(UINT id)
{
    return LoadText(id);
}

TEST(WindowsLocaleData, AnsiCodePagesAgreeWithThePortableTable)
{
    for (size_t i = 0; i < LanguageTable::kRowCount; ++i) {
        const CLanguage language = CLanguage::FromIndex(static_cast<int32_t>(i));
        EXPECT_EQ(language.GetAnsiCodePage(), AnsiCodePageTable::Lookup(language.GetLangID())) << i;
    }
    EXPECT_EQ(CLanguage::FromCode(L"CHS", false).GetAnsiCodePage(), 936u);
    EXPECT_EQ(CLanguage().GetAnsiCodePage(), 0u);
}

TEST(DictionaryResource, TheEmbeddedDictionaryReadsCompletely)
{
    EXPECT_EQ(LoadMergedDictionary(::GetModuleHandleW(nullptr), IDR_DICTIONARY), 1);
    const auto& entries = GetMergedDictionary().GetEntries();
    EXPECT_EQ(entries.size(), 9u);
    for (const auto& [key, translations] : entries)
        EXPECT_EQ(translations.size(), 23u) << key;
    EXPECT_EQ(LoadMergedDictionary(::GetModuleHandleW(nullptr), 4242), 0);
}

TEST(LocalizationProviders, CreateLocalizationMakesTheProviderOfEachKind)
{
    EXPECT_EQ(CreateLocalization(2, nullptr), 0);
    const auto created = [](int kind, int expectedResult) {
        COfcUserInterfaceLocalization* provider = nullptr;
        EXPECT_EQ(CreateLocalization(kind, &provider), expectedResult) << kind;
        return std::unique_ptr<COfcUserInterfaceLocalization>(provider);
    };
    EXPECT_NE(dynamic_cast<CNonLocalized*>(created(0, 1).get()), nullptr);
    EXPECT_NE(dynamic_cast<CResourceFileLocalization*>(created(1, 1).get()), nullptr);
    EXPECT_NE(dynamic_cast<CDictionaryLocalization*>(created(2, 1).get()), nullptr);
    EXPECT_NE(dynamic_cast<CMUILocalization*>(created(3, 1).get()), nullptr);
    EXPECT_NE(dynamic_cast<CNonLocalized*>(created(7, 0).get()), nullptr);
    EXPECT_NE(dynamic_cast<CNonLocalized*>(created(-1, 0).get()), nullptr);
}

TEST(LocalizationProviders, AnUnknownKindInstallsNoLocalizationAndKeepsTheKind)
{
    CTestApp app(2);
    EXPECT_EQ(GetLocalizationKind(), 2);
    EXPECT_EQ(InitLocalization(7), 0);
    EXPECT_NE(dynamic_cast<CNonLocalized*>(GetLocalization()), nullptr);
    EXPECT_EQ(GetLocalizationKind(), 2);
    ReleaseLocalization();
    EXPECT_EQ(GetLocalization(), nullptr);
}

TEST(LocalizationProviders, InstallLocalizationInstallsTheGivenProviderAsInitLocalizationWould)
{
    auto given = std::make_unique<CNonLocalized>();
    const COfcUserInterfaceLocalization* installed = given.get();
    ASSERT_EQ(InstallLocalization(kNoLocalization, std::move(given)), 1);
    EXPECT_EQ(GetLocalization(), installed);
    EXPECT_EQ(GetLocalizationKind(), kNoLocalization);
    EXPECT_EQ(InstallLocalization(7, std::make_unique<CDictionaryLocalization>()), 0);
    EXPECT_NE(dynamic_cast<CDictionaryLocalization*>(GetLocalization()), nullptr);
    EXPECT_EQ(GetLocalizationKind(), kNoLocalization);
    ASSERT_EQ(InstallLocalization(kDictionaryLocalization, nullptr), 1);
    EXPECT_EQ(GetLocalization(), nullptr);
    EXPECT_EQ(GetLocalizationKind(), kDictionaryLocalization);
    ReleaseLocalization();
}

TEST(LocalizationProviders, NonLocalizedAcceptsOnlyTheNeutralLanguage)
{
    CNonLocalized provider;
    EXPECT_TRUE(provider.ApplyLanguage(CLanguage()));
    EXPECT_FALSE(provider.ApplyLanguage(CLanguage::FromCode(L"ENU", false)));
    EXPECT_FALSE(provider.IsLanguageAvailable(CLanguage::FromCode(L"XYZ", false)));
}

TEST(LocalizationProviders, DictionaryProviderAvailability)
{
    CTestApp app(2);
    COfcUserInterfaceLocalization* provider = GetLocalization();
    EXPECT_TRUE(provider->IsLanguageAvailable(CLanguage()));
    EXPECT_TRUE(provider->IsLanguageAvailable(CLanguage::FromCode(L"DEU", false)));
    EXPECT_TRUE(provider->IsLanguageAvailable(CLanguage::FromCode(L"ESN", false)));
    EXPECT_FALSE(provider->IsLanguageAvailable(CLanguage::FromCode(L"UKR", false)));
    EXPECT_FALSE(provider->IsLanguageAvailable(CLanguage::FromCode(L"XYZ", false)));
}

TEST(LocalizationProviders, DictionaryProviderWithoutItsResourceFailsAndKeepsEnglish)
{
    CTestApp app(2);
    GetLocalization()->SetDictionaryResourceId(4242);
    EXPECT_EQ(app.SetUILanguage(L"deu", L""), COfcWinApp::kLanguageFailed);
    EXPECT_TRUE(GetLocalization()->GetLanguage().IsNeutral());
    EXPECT_EQ(Loaded(IDS_WELCOME), L"Welcome");
}

TEST(UILanguage, SetUILanguageAppliesCodesAndCultureNames)
{
    CTestApp app(2);
    EXPECT_EQ(app.GetUILanguage(), L"");
    EXPECT_EQ(app.SetUILanguage(L"deu", L""), COfcWinApp::kLanguageApplied);
    EXPECT_EQ(app.GetUILanguage(), L"de-DE");
    EXPECT_EQ(Loaded(IDS_WELCOME), L"Willkommen");
    EXPECT_EQ(app.SetUILanguage(L"xx", L""), COfcWinApp::kLanguageFailed);
    EXPECT_EQ(app.GetUILanguage(), L"de-DE");
    EXPECT_EQ(app.SetUILanguage(L"fr-FR", L""), COfcWinApp::kLanguageApplied);
    EXPECT_EQ(Loaded(IDS_WELCOME), L"Bienvenue");
    EXPECT_EQ(app.SetUILanguage(L"uk-UK", L""), COfcWinApp::kLanguageFailed);
    EXPECT_EQ(app.GetUILanguage(), L"fr-FR");
    EXPECT_EQ(Loaded(IDS_WELCOME), L"Welcome") << "a failed apply leaves the table empty";
    EXPECT_EQ(app.SetUILanguage(L"", L""), COfcWinApp::kLanguageApplied);
    EXPECT_EQ(app.GetUILanguage(), L"");
}

TEST(UILanguage, ResultCodesWithoutLocalization)
{
    CTestApp app(0);
    EXPECT_EQ(app.SetUILanguage(L"deu", L""), COfcWinApp::kNotLocalized);
    ReleaseLocalization();
    EXPECT_EQ(app.SetUILanguage(L"deu", L""), COfcWinApp::kNoProvider);
    EXPECT_EQ(app.GetUILanguage(), L"");
}

TEST(StringLoading, TranslatesThenFormatsWithTheEnglishArguments)
{
    CTestApp app(2);
    ASSERT_EQ(app.SetUILanguage(L"DEU", L""), COfcWinApp::kLanguageApplied);
    EXPECT_EQ(FormatString(Loaded(IDS_EXTRACTING_PERCENT).c_str(), 40), L"40 % extrahieren");
    EXPECT_EQ(FormatString(Loaded(IDS_NO_DISK_SPACE).c_str(), L"C:", 12.5),
              L"Auf Laufwerk C: ist nicht gen\u00FCgend Speicherplatz vorhanden, um die Installation zu starten. "
              L"Geben Sie 12.50 MB Speicherplatz frei, und starten Sie die Installation erneut.");
}

TEST(StringLoading, AMissingStringLeavesTheTextAlone)
{
    CTestApp app(2);
    std::wstring text = L"before";
    EXPECT_FALSE(LoadLocalizedString(text, 4242));
    EXPECT_EQ(text, L"before");
}

TEST(StringLoading, WithoutAProviderTheEnglishStringIsLoadedButFalse)
{
    CTestApp app(2);
    ReleaseLocalization();
    std::wstring text;
    EXPECT_FALSE(LoadLocalizedString(text, IDS_WELCOME));
    EXPECT_EQ(text, L"Welcome");
}

TEST(StringLoading, OtherLoadersUseTheSameTable)
{
    CTestApp app(2);
    ASSERT_EQ(app.SetUILanguage(L"DEU", L""), COfcWinApp::kLanguageApplied);
    const HINSTANCE module = ::GetModuleHandleW(nullptr);

    wchar_t buffer[6] = {};
    EXPECT_EQ(LoadStringLocalized(module, IDS_WELCOME, buffer, 6), 5);
    EXPECT_STREQ(buffer, L"Willk");
    wchar_t wide[64] = {};
    EXPECT_EQ(LoadStringLocalized(module, IDS_WELCOME, wide, 64), 10);
    EXPECT_STREQ(wide, L"Willkommen");
    EXPECT_EQ(LoadStringLocalized(module, 4242, wide, 64), 0);

    std::wstring text;
    EXPECT_TRUE(LoadTableString(module, IDS_EXTRACTION_FAILED, text));
    EXPECT_EQ(text, L"Extrahieren fehlgeschlagen");
    EXPECT_TRUE(LoadTableString(module, IDS_WIZARD_GUIDE, text));
    EXPECT_EQ(text, L"Der Ovra-Installations-Assistent f\u00FChrt Sie durch den Installationsvorgang.");
    EXPECT_FALSE(LoadTableString(module, 4242, text));
    EXPECT_FALSE(LoadTableString(module, 137, text)) << "an empty entry of an existing block";

    EXPECT_TRUE(TranslateText(L"&Cancel", text));
    EXPECT_EQ(text, L"Abbrechen");
    EXPECT_FALSE(TranslateText(L"Not in the dictionary", text));
    EXPECT_EQ(text, L"Not in the dictionary");
}

class WindowLocalization : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(m_dialog.Get(), nullptr);
        ASSERT_TRUE(m_combo.SubclassDlgItem(IDC_L10N_COMBO, &m_dialogWnd));
        ASSERT_TRUE(m_comboWithData.SubclassDlgItem(IDC_L10N_COMBO_DATA, &m_dialogWnd));
        for (const wchar_t* item : {L"Cancel", L"Welcome", L"Not in the dictionary"}) {
            m_combo.AddString(item);
            m_comboWithData.AddString(item);
        }
        m_combo.SetCurSel(1);
        m_comboWithData.SetItemData(2, 77);
        m_comboWithData.SetCurSel(0);
    }

    // Lets the subclassed combo boxes find the dialog by its handle.
    class CDialogHandle : public CWnd
    {
    public:
        explicit CDialogHandle(HWND hWnd) { m_hWnd = hWnd; }
        ~CDialogHandle() override { m_hWnd = nullptr; }
    };

    CTestApp m_app{2};
    CTestDialog m_dialog;
    CDialogHandle m_dialogWnd{m_dialog.Get()};
    CComboBox m_combo;
    CComboBox m_comboWithData;
};

TEST_F(WindowLocalization, GermanTranslatesTheDialogItsChildrenMenuAndComboBox)
{
    ASSERT_EQ(m_app.SetUILanguage(L"DEU", L""), COfcWinApp::kLanguageApplied);
    LocalizeWindow(m_dialog.Get(), nullptr);
    EXPECT_EQ(m_dialog.ItemText(IDCANCEL), L"Abbrechen");
    EXPECT_EQ(m_dialog.ItemText(IDC_L10N_ACCELERATED), L"Abbrechen");
    EXPECT_EQ(m_dialog.ItemText(IDC_L10N_WELCOME), L"Willkommen");
    EXPECT_EQ(m_dialog.ItemText(IDC_L10N_GUIDE), L"Der Ovra-Installations-Assistent...");
    EXPECT_EQ(m_dialog.ItemText(IDC_L10N_OTHER), L"Not in the dictionary");
    wchar_t caption[128] = {};
    ::GetWindowTextW(m_dialog.Get(), caption, 128);
    EXPECT_STREQ(caption, L"Der Ovra-Installations-Assistent...");

    EXPECT_EQ(m_dialog.MenuText(IDM_L10N_CANCEL), L"Abbrechen");
    EXPECT_EQ(m_dialog.MenuText(IDM_L10N_FAILED), L"Extrahieren fehlgeschlagen");
    EXPECT_EQ(m_dialog.MenuText(IDM_L10N_OTHER), L"Not in the dictionary");
    wchar_t popup[64] = {};
    ::GetMenuStringW(::GetMenu(m_dialog.Get()), 1, popup, 64, MF_BYPOSITION);
    EXPECT_STREQ(popup, L"Willkommen");
    EXPECT_NE(::GetSubMenu(::GetMenu(m_dialog.Get()), 1), nullptr) << "the popup keeps its submenu";

    EXPECT_EQ(m_combo.GetLBText(0), L"Abbrechen");
    EXPECT_EQ(m_combo.GetLBText(1), L"Willkommen");
    EXPECT_EQ(m_combo.GetLBText(2), L"Not in the dictionary");
    EXPECT_EQ(m_combo.GetCurSel(), 1);
    EXPECT_EQ(m_comboWithData.GetLBText(0), L"Cancel") << "items with data stay untouched";
    EXPECT_EQ(m_comboWithData.GetCurSel(), 0);
}

TEST_F(WindowLocalization, UsEnglishWithoutCacheLeavesTheDialogAlone)
{
    ASSERT_EQ(m_app.SetUILanguage(L"ENU", L""), COfcWinApp::kLanguageApplied);
    LocalizeWindow(m_dialog.Get(), nullptr);
    EXPECT_EQ(m_dialog.ItemText(IDC_L10N_ACCELERATED), L"&Cancel");
    EXPECT_EQ(Loaded(IDS_WELCOME), L"Welcome");
}

TEST_F(WindowLocalization, TheCacheTranslatesAgainFromTheSourceTexts)
{
    CLocalizationTextCache cache;
    ASSERT_EQ(m_app.SetUILanguage(L"DEU", L""), COfcWinApp::kLanguageApplied);
    LocalizeWindow(m_dialog.Get(), &cache);
    EXPECT_EQ(m_dialog.ItemText(IDCANCEL), L"Abbrechen");
    ASSERT_EQ(m_app.SetUILanguage(L"FRA", L""), COfcWinApp::kLanguageApplied);
    LocalizeWindow(m_dialog.Get(), &cache);
    EXPECT_EQ(m_dialog.ItemText(IDCANCEL), L"Annuler");
    EXPECT_EQ(m_combo.GetLBText(1), L"Bienvenue");
    ASSERT_EQ(m_app.SetUILanguage(L"", L""), COfcWinApp::kLanguageApplied);
    LocalizeWindow(m_dialog.Get(), &cache);
    EXPECT_EQ(m_dialog.ItemText(IDCANCEL), L"Cancel");
    EXPECT_EQ(m_dialog.ItemText(IDC_L10N_ACCELERATED), L"&Cancel");
    EXPECT_EQ(m_combo.GetLBText(0), L"Cancel");
}

TEST_F(WindowLocalization, OnlyTheDictionaryKindLocalizesWindows)
{
    ASSERT_EQ(m_app.SetUILanguage(L"DEU", L""), COfcWinApp::kLanguageApplied);
    ASSERT_EQ(InitLocalization(0), 1);
    LocalizeWindow(m_dialog.Get(), nullptr);
    EXPECT_EQ(m_dialog.ItemText(IDCANCEL), L"Cancel");
}

TEST(FrameworkMessageBox, TranslatesItsText)
{
    CTestApp app(2);
    ASSERT_EQ(app.SetUILanguage(L"deu", L""), COfcWinApp::kLanguageApplied);
    {
        CMessageBoxCatcher catcher;
        AfxMessageBox(L"Cancel", MB_OK);
        EXPECT_EQ(catcher.Text(), L"Abbrechen");
    }
    {
        CMessageBoxCatcher catcher;
        AfxMessageBox(L"Formatted 12 %", MB_OK);
        EXPECT_EQ(catcher.Text(), L"Formatted 12 %");
    }
}

TEST(ResourceFileLocalization, CandidateNamesAndVersions)
{
    const auto names =
        CResourceFileLocalization::CandidateNames(L"C:\\Setup\\MyTool.x.exe", CLanguage::FromCode(L"DEU", false));
    EXPECT_EQ(names[0], L"C:\\Setup\\MyTool_de-DE.NLS");
    EXPECT_EQ(names[1], L"C:\\Setup\\MyTool-DEU.NLS");
    EXPECT_EQ(CResourceFileLocalization::ProductVersionOf(L"s:\\missing.dll"), (CResourceFileLocalization::Version{}));
}

TEST(ResourceFileLocalization, LoadsASatelliteLibraryOfTheSameVersion)
{
    CTestApp app(1);
    COfcUserInterfaceLocalization* provider = GetLocalization();
    const CLanguage german = CLanguage::FromCode(L"DEU", false);
    EXPECT_FALSE(provider->IsLanguageAvailable(german));
    EXPECT_FALSE(provider->ApplyLanguage(german));
    EXPECT_TRUE(provider->ApplyLanguage(CLanguage()));

    // The test program itself stands in for a satellite library: same (absent) version.
    const std::wstring program = FileSystemPath::ModulePath(nullptr);
    const std::wstring satellite = CResourceFileLocalization::CandidateNames(program, german)[1];
    ASSERT_TRUE(::CopyFileW(program.c_str(), satellite.c_str(), FALSE));
    EXPECT_TRUE(provider->IsLanguageAvailable(german));
    ASSERT_TRUE(app.SetUILanguage(L"DEU", L"") == COfcWinApp::kLanguageApplied);
    EXPECT_NE(AfxGetResourceHandle(), ::GetModuleHandleW(nullptr));
    EXPECT_EQ(Loaded(IDS_WELCOME), L"Welcome") << "this provider's texts are the library's own";
    EXPECT_TRUE(provider->ApplyLanguage(CLanguage()));
    EXPECT_EQ(AfxGetResourceHandle(), ::GetModuleHandleW(nullptr));
    ReleaseLocalization();
    EXPECT_TRUE(::DeleteFileW(satellite.c_str()));
}

TEST(MUILocalization, ChecksForALanguageFolderInTheCurrentDirectory)
{
    wchar_t previous[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, previous);
    const std::wstring base = L"s:\\l10n-mui";
    ::CreateDirectoryW(base.c_str(), nullptr);
    ::CreateDirectoryW((base + L"\\de-AT").c_str(), nullptr);
    ASSERT_TRUE(::SetCurrentDirectoryW(base.c_str()));
    CMUILocalization provider;
    EXPECT_TRUE(provider.IsLanguageAvailable(CLanguage::FromCode(L"DEU", false)));
    EXPECT_TRUE(provider.ApplyLanguage(CLanguage::FromCode(L"DEU", false)));
    EXPECT_FALSE(provider.IsLanguageAvailable(CLanguage::FromCode(L"FRA", false)));
    EXPECT_TRUE(provider.IsLanguageAvailable(CLanguage::FromCode(L"XYZ", false))) << "\"*\" finds any folder";
    ::SetCurrentDirectoryW(previous);
    ::RemoveDirectoryW((base + L"\\de-AT").c_str());
    ::RemoveDirectoryW(base.c_str());
}

} // namespace
