#pragma once

#include "Wnd.h"

#include <commctrl.h>

// A progress bar of a dialog template.
class CProgressCtrl : public CWnd
{
public:
    CProgressCtrl() = default;
    ~CProgressCtrl() override;

    // PBM_SETRANGE carries 16-bit bounds.
    void SetRange(short lower, short upper);
    int SetPos(int position);
    int GetPos() const;
};
