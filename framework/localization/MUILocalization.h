#pragma once

#include "UserInterfaceLocalization.h"

// The system's MUI mechanism supplies the texts; the provider only checks that a
// folder for the language exists in the current directory.
class CMUILocalization final : public COfcUserInterfaceLocalization
{
public:
    int ApplyLanguage(const CLanguage& language) override;
    int IsLanguageAvailable(const CLanguage& language) override;
};
