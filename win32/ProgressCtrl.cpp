#include "ProgressCtrl.h"

CProgressCtrl::~CProgressCtrl() = default;

void CProgressCtrl::SetRange(short lower, short upper)
{
    SendMessage(PBM_SETRANGE, 0, MAKELPARAM(lower, upper));
}

int CProgressCtrl::SetPos(int position)
{
    return static_cast<int>(SendMessage(PBM_SETPOS, static_cast<WPARAM>(position)));
}

int CProgressCtrl::GetPos() const
{
    return static_cast<int>(SendMessage(PBM_GETPOS));
}
