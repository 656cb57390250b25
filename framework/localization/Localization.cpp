#include "Localization.h"

#include "DictionaryLocalization.h"
#include "MUILocalization.h"
#include "NonLocalized.h"
#include "ResourceFileLocalization.h"

#include <new>

namespace {
int g_nLocalizationKind = 0;
COfcUserInterfaceLocalization* g_pLocalization = nullptr;
int g_bOwnsLocalization = 0;

COfcUserInterfaceLocalization* NewProvider(int kind)
{
    switch (kind) {
    case kNoLocalization:
        return new (std::nothrow) CNonLocalized;
    case kResourceFileLocalization:
        return new (std::nothrow) CResourceFileLocalization;
    case kDictionaryLocalization:
        return new (std::nothrow) CDictionaryLocalization;
    case kMUILocalization:
        return new (std::nothrow) CMUILocalization;
    default:
        return nullptr;
    }
}
} // namespace

int CreateLocalization(int kind, COfcUserInterfaceLocalization** out)
{
    if (out == nullptr)
        return 0;
    if (kind < kNoLocalization || kind > kMUILocalization) {
        *out = new (std::nothrow) CNonLocalized;
        return 0;
    }
    *out = NewProvider(kind);
    return 1;
}

int InitLocalization(int kind)
{
    COfcUserInterfaceLocalization* provider = nullptr;
    static_cast<void>(CreateLocalization(kind, &provider));
    return InstallLocalization(kind, std::unique_ptr<COfcUserInterfaceLocalization>(provider));
}

int InstallLocalization(int kind, std::unique_ptr<COfcUserInterfaceLocalization> provider)
{
    const int known = kind >= kNoLocalization && kind <= kMUILocalization;
    if (g_pLocalization != nullptr && g_bOwnsLocalization)
        delete g_pLocalization;
    g_pLocalization = provider.release();
    if (known)
        g_nLocalizationKind = kind;
    g_bOwnsLocalization = 1;
    return known;
}

void ReleaseLocalization()
{
    if (g_bOwnsLocalization)
        delete g_pLocalization;
    g_pLocalization = nullptr;
    g_bOwnsLocalization = 0;
}

int GetLocalizationKind()
{
    return g_nLocalizationKind;
}

COfcUserInterfaceLocalization* GetLocalization()
{
    return g_pLocalization;
}

int ApplySystemDefaultLanguage()
{
    COfcUserInterfaceLocalization* localization = GetLocalization();
    if (localization == nullptr)
        return 0;
    const CLanguage language = CLanguage::FromSystemDefaultLangID(false);
    // Reads the dictionary on first use; a language it lacks leaves every text English.
    static_cast<void>(localization->ApplyLanguage(language));
    return localization->SetLanguage(language, std::wstring());
}
