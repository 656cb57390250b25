// The hook side of IconProbe.h, loaded by Wine into the process that owns the
// probed window. wParam of the message chooses ICON_BIG or ICON_SMALL.
#include "IconProbe.h"

#include "win32/Handle.h"

namespace {

void ReadIcon(HWND window, WPARAM which, IconProbe::SResult& result)
{
    const auto icon = reinterpret_cast<HICON>(::SendMessageW(window, WM_GETICON, which, 0));
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info))
        return;
    const COwnedBitmap colour(info.hbmColor);
    const COwnedBitmap mask(info.hbmMask);
    BITMAP bitmap{};
    if (!colour || ::GetObjectW(colour.Get(), sizeof(bitmap), &bitmap) == 0 || bitmap.bmWidth > IconProbe::kMaximumSize ||
        bitmap.bmHeight > IconProbe::kMaximumSize)
        return;
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = bitmap.bmWidth;
    format.bmiHeader.biHeight = -bitmap.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    const HDC screen = ::GetDC(nullptr);
    const int rows = ::GetDIBits(screen, colour.Get(), 0, static_cast<UINT>(bitmap.bmHeight), result.pixels, &format,
                                 DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    if (rows != bitmap.bmHeight)
        return;
    result.nHasIcon = 1;
    result.nWidth = bitmap.bmWidth;
    result.nHeight = bitmap.bmHeight;
}

void Answer(HWND window, WPARAM which)
{
    const CKernelHandle mapping(::OpenFileMappingW(FILE_MAP_WRITE, FALSE, IconProbe::kMapping));
    if (!mapping)
        return;
    void* view = ::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, sizeof(IconProbe::SResult));
    if (view == nullptr)
        return;
    auto* result = static_cast<IconProbe::SResult*>(view);
    ReadIcon(window, which, *result);
    result->nAnswered = 1;
    ::UnmapViewOfFile(view);
}

} // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK OvraIconProbeHook(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == ::RegisterWindowMessageW(IconProbe::kMessage))
        Answer(call->hwnd, call->wParam);
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
