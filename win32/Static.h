#pragma once

#include "Wnd.h"

// A static control taken over from a dialog template.
class CStatic : public CWnd
{
public:
    CStatic() = default;
    ~CStatic() override;
};
