#pragma once

#include "UserInterfaceLocalization.h"

// No localization: the program's own (English) resources as they are.
class CNonLocalized final : public COfcUserInterfaceLocalization
{
public:
    int ApplyLanguage(const CLanguage& language) override;
    int IsLanguageAvailable(const CLanguage& language) override;
};
