#include <gtest/gtest.h>

#include <windows.h>

#include "LocalizationTestSupport.h"
#include "framework/localization/Localization.h"
#include "framework/localization/LocalizationDictionary.h"
#include "framework/localization/LocalizedString.h"
#include "framework/localization/UserInterfaceLocalization.h"
#include "framework/localization/WindowLocalization.h"
#include "resources/resource.h"

#include <string>

// A process's system language is fixed when it starts, and Wine takes it from the
// Unix locale of a process started from the host, not of one started by another
// Wine process. So CTest runs this program once per language with the locale in
// its environment (and LOCPATH naming locales generated for the tests); each run
// picks one suite, and the other runs skip it.
namespace {

bool RunsInLocale(const wchar_t* locale)
{
    wchar_t value[64] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"OVRA_L10N_SYSTEM_LOCALE", value, 64);
    return length > 0 && length < 64 && std::wstring(value) == locale;
}

// The start-up of the installer: the provider of its kind, then the system language.
class SystemLanguage : public ::testing::Test
{
protected:
    std::wstring Loaded(UINT id) { return LoadText(id); }

    std::wstring Translated(const wchar_t* key)
    {
        std::wstring text = key;
        GetDictionary().Translate(key, text);
        return text;
    }

    CTestApp m_app{2};
};

#define OVRA_ONLY_IN_LOCALE(locale) \
    if (!RunsInLocale(locale))      \
        GTEST_SKIP() << "runs with the system locale " locale;

class InGermanSystem : public SystemLanguage {};
class InGreekSystem : public SystemLanguage {};
class InJapaneseSystem : public SystemLanguage {};
class InSpanishSystem : public SystemLanguage {};
class InUkrainianSystem : public SystemLanguage {};

TEST_F(InGermanSystem, StringsDialogsAndMessageBoxesSpeakGerman)
{
    OVRA_ONLY_IN_LOCALE(L"de_DE.UTF-8");
    ASSERT_EQ(::GetSystemDefaultLangID(), 0x0407);
    EXPECT_TRUE(ApplySystemDefaultLanguage());
    EXPECT_EQ(GetLocalization()->GetLanguage().GetCode(), L"DEU");
    EXPECT_EQ(Loaded(IDS_WELCOME), L"Willkommen");
    EXPECT_EQ(Loaded(IDS_EXTRACTION_FAILED), L"Extrahieren fehlgeschlagen");

    CTestDialog dialog;
    ASSERT_NE(dialog.Get(), nullptr);
    LocalizeWindow(dialog.Get(), nullptr);
    EXPECT_EQ(dialog.ItemText(IDCANCEL), L"Abbrechen");

    CMessageBoxCatcher catcher;
    AfxMessageBox(L"Cancel", MB_OK);
    EXPECT_EQ(catcher.Text(), L"Abbrechen");
}

TEST_F(InGreekSystem, TextsDecodeFromCodePage1253)
{
    OVRA_ONLY_IN_LOCALE(L"el_GR.UTF-8");
    ASSERT_EQ(::GetSystemDefaultLangID(), 0x0408);
    EXPECT_TRUE(ApplySystemDefaultLanguage());
    EXPECT_EQ(GetDictionary().GetCodePage(), 1253u);
    EXPECT_EQ(Translated(L"Cancel"), L"\u0391\u03BA\u03CD\u03C1\u03C9\u03C3\u03B7");
    EXPECT_EQ(Loaded(IDS_WELCOME), L"\u039A\u03B1\u03BB\u03CE\u03C2 \u03BF\u03C1\u03AF\u03C3\u03B1\u03C4\u03B5");
}

TEST_F(InJapaneseSystem, TextsDecodeFromCodePage932)
{
    OVRA_ONLY_IN_LOCALE(L"ja_JP.UTF-8");
    ASSERT_EQ(::GetSystemDefaultLangID(), 0x0411);
    EXPECT_TRUE(ApplySystemDefaultLanguage());
    EXPECT_EQ(GetDictionary().GetCodePage(), 932u);
    EXPECT_EQ(Translated(L"Cancel"), L"\u30AD\u30E3\u30F3\u30BB\u30EB");
    EXPECT_EQ(Loaded(IDS_WELCOME), L"\u3088\u3046\u3053\u305D");
    EXPECT_EQ(Loaded(IDS_EXTRACTING_PERCENT), L"\u5C55\u958B\u4E2D %d %%");
}

TEST_F(InSpanishSystem, ModernSortUsesTheTextsStoredUnderTraditionalSort)
{
    OVRA_ONLY_IN_LOCALE(L"es_ES.UTF-8");
    ASSERT_EQ(::GetSystemDefaultLangID(), 0x0C0A);
    EXPECT_TRUE(ApplySystemDefaultLanguage());
    EXPECT_EQ(GetLocalization()->GetLanguage().GetCode(), L"ESN");
    EXPECT_EQ(m_app.GetUILanguage(), L"es-ES");
    EXPECT_EQ(Loaded(IDS_WELCOME), L"Bienvenido");
    EXPECT_EQ(Translated(L"Cancel"), L"Cancelar");
}

TEST_F(InUkrainianSystem, StaysEnglishWithTheNeutralLanguage)
{
    OVRA_ONLY_IN_LOCALE(L"uk_UA.UTF-8");
    ASSERT_EQ(::GetSystemDefaultLangID(), 0x0422);
    EXPECT_FALSE(ApplySystemDefaultLanguage());
    EXPECT_TRUE(GetLocalization()->GetLanguage().IsNeutral());
    EXPECT_EQ(m_app.GetUILanguage(), L"");
    EXPECT_EQ(GetDictionary().GetCount(), 0u);
    EXPECT_EQ(Loaded(IDS_WELCOME), L"Welcome");

    CTestDialog dialog;
    LocalizeWindow(dialog.Get(), nullptr);
    EXPECT_EQ(dialog.ItemText(IDCANCEL), L"Cancel");
}

} // namespace
