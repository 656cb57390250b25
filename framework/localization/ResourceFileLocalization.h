#pragma once

#include "UserInterfaceLocalization.h"

#include <windows.h>

#include <array>
#include <string>

// Texts from a satellite resource library per language beside the program
// (MyTool_de-DE.NLS or MyTool-DEU.NLS), which becomes the resource module. A
// library is used only when its product version is exactly the program's.
class CResourceFileLocalization final : public COfcUserInterfaceLocalization
{
public:
    using Version = std::array<WORD, 4>;

    ~CResourceFileLocalization() override;

    int ApplyLanguage(const CLanguage& language) override;
    int IsLanguageAvailable(const CLanguage& language) override;

    // The library for the language, loaded; null when there is none with the right version.
    HMODULE LoadLanguageLibrary(const CLanguage& language) const;
    // The two file names tried for a language, in order.
    static std::array<std::wstring, 2> CandidateNames(const std::wstring& modulePath, const CLanguage& language);
    // The product version of a file's version resource; 0.0.0.0 without one.
    static Version ProductVersionOf(const std::wstring& path);

private:
    HMODULE m_hLanguageLibrary = nullptr;
};
