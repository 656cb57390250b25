#pragma once

#include <windows.h>

#include <cstdint>

// Wine keeps icons inside the process that loaded them: another process gets no
// answer to WM_GETICON and cannot read an icon handle. The probe DLL is hooked into
// the window's thread, and there answers a registered message by reading the
// window's icon and copying its colour pixels into a named mapping.
namespace IconProbe {

constexpr wchar_t kMessage[] = L"OvraIconProbe";
constexpr wchar_t kMapping[] = L"Local\\OvraIconProbe";
constexpr char kHookProc[] = "OvraIconProbeHook";
constexpr int kMaximumSize = 256;

struct SResult
{
    uint32_t nAnswered = 0;  // set by the probe
    uint32_t nHasIcon = 0;
    int32_t nWidth = 0;
    int32_t nHeight = 0;
    uint32_t pixels[kMaximumSize * kMaximumSize] = {};  // top-down rows, 0x00RRGGBB plus alpha
};

} // namespace IconProbe
