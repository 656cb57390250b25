#pragma once

#include <memory>

class COfcUserInterfaceLocalization;

// The process's localization provider, chosen by a kind when the application
// object is constructed.
enum ELocalizationKind : int {
    kNoLocalization = 0,        // CNonLocalized
    kResourceFileLocalization = 1,  // CResourceFileLocalization
    kDictionaryLocalization = 2,    // CDictionaryLocalization
    kMUILocalization = 3,       // CMUILocalization
};

// Creates the provider of a kind. An unknown kind stores a CNonLocalized and gives
// FALSE; a null `out` gives FALSE.
int CreateLocalization(int kind, COfcUserInterfaceLocalization** out);
// Installs a provider for the kind in place of the current one; the kind is kept
// only when it is known.
int InitLocalization(int kind);
// Installs `provider` (null after a failed allocation, as InitLocalization may) in
// place of the current one, for a program that links only the provider it uses. The
// kind is kept only when it is known; the result is InitLocalization's.
[[nodiscard]] int InstallLocalization(int kind, std::unique_ptr<COfcUserInterfaceLocalization> provider);
// Deletes the installed provider if InitLocalization or InstallLocalization created it.
void ReleaseLocalization();
int GetLocalizationKind();
COfcUserInterfaceLocalization* GetLocalization();
// Applies the system's default language (GetSystemDefaultLangID, no fallback)
// through the installed provider: the result of its SetLanguage, FALSE without one.
int ApplySystemDefaultLanguage();
