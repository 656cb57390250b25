#include "LocalizedString.h"

#include "win32/WinApp.h"

BOOL LoadLocalizedString(std::wstring& text, UINT id)
{
    const wchar_t* resource = nullptr;
    const int length = ::LoadStringW(AfxGetResourceHandle(), id, reinterpret_cast<LPWSTR>(&resource), 0);
    if (length <= 0 || resource == nullptr)
        return FALSE;
    text.assign(resource, static_cast<size_t>(length));
    return TRUE;
}
