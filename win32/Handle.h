#pragma once

#include <windows.h>

#include <utility>

// One move-only owner per handle kind. Each kind names its own invalid value:
// file handles are invalid at INVALID_HANDLE_VALUE, most others at NULL.
template <typename T, T (*Invalid)(), void (*Close)(T)>
class CUniqueHandle
{
public:
    CUniqueHandle() noexcept : m_h(Invalid()) {}
    explicit CUniqueHandle(T h) noexcept : m_h(h) {}
    ~CUniqueHandle() { Reset(); }

    CUniqueHandle(const CUniqueHandle&) = delete;
    CUniqueHandle& operator=(const CUniqueHandle&) = delete;
    CUniqueHandle(CUniqueHandle&& other) noexcept : m_h(other.Release()) {}
    CUniqueHandle& operator=(CUniqueHandle&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    T Get() const noexcept { return m_h; }
    bool IsValid() const noexcept { return m_h != Invalid(); }
    explicit operator bool() const noexcept { return IsValid(); }

    // For a call that hands out a new handle through a pointer: the one held is closed
    // first, and the call's failure leaves the owner empty.
    T* Put() noexcept
    {
        Reset();
        return &m_h;
    }

    T Release() noexcept { return std::exchange(m_h, Invalid()); }
    void Reset(T h = Invalid()) noexcept
    {
        if (IsValid())
            Close(m_h);
        m_h = h;
    }

private:
    T m_h;
};

namespace HandleTraits {
inline HANDLE NullHandle() { return nullptr; }
inline HANDLE InvalidHandle() { return INVALID_HANDLE_VALUE; }
inline void CloseKernelHandle(HANDLE h) { ::CloseHandle(h); }
inline void CloseFind(HANDLE h) { ::FindClose(h); }
inline HKEY NullKey() { return nullptr; }
inline void CloseKey(HKEY h) { ::RegCloseKey(h); }
inline HMODULE NullModule() { return nullptr; }
inline void UnloadModule(HMODULE h) { ::FreeLibrary(h); }
inline HGLOBAL NullGlobal() { return nullptr; }
inline void FreeGlobal(HGLOBAL h) { ::GlobalFree(h); }
inline HBITMAP NullBitmap() { return nullptr; }
inline void DeleteBitmapObject(HBITMAP h) { ::DeleteObject(h); }
inline HFONT NullFont() { return nullptr; }
inline void DeleteFontObject(HFONT h) { ::DeleteObject(h); }
inline HBRUSH NullBrush() { return nullptr; }
inline void DeleteBrushObject(HBRUSH h) { ::DeleteObject(h); }
inline HHOOK NullHook() { return nullptr; }
inline void UnhookHook(HHOOK h) { ::UnhookWindowsHookEx(h); }
inline HDC NullDC() { return nullptr; }
inline void DeleteMemoryDC(HDC h) { ::DeleteDC(h); }
inline HLOCAL NullLocal() { return nullptr; }
inline void FreeLocal(HLOCAL h) { ::LocalFree(h); }
} // namespace HandleTraits

// Process, thread, event: invalid at NULL.
using CKernelHandle = CUniqueHandle<HANDLE, HandleTraits::NullHandle, HandleTraits::CloseKernelHandle>;
// CreateFileW: invalid at INVALID_HANDLE_VALUE.
using CFileHandle = CUniqueHandle<HANDLE, HandleTraits::InvalidHandle, HandleTraits::CloseKernelHandle>;
// FindFirstFileW: invalid at INVALID_HANDLE_VALUE, closed with FindClose.
using CFindHandle = CUniqueHandle<HANDLE, HandleTraits::InvalidHandle, HandleTraits::CloseFind>;
using CRegKeyHandle = CUniqueHandle<HKEY, HandleTraits::NullKey, HandleTraits::CloseKey>;
using CModuleHandle = CUniqueHandle<HMODULE, HandleTraits::NullModule, HandleTraits::UnloadModule>;
using CGlobalHandle = CUniqueHandle<HGLOBAL, HandleTraits::NullGlobal, HandleTraits::FreeGlobal>;
// GDI objects by kind, so a font can never be handed where a bitmap is expected. They
// own and delete what they hold, hence "Owned": a bitmap or font merely borrowed (from
// a control, a device context or the stock objects) is a bare HBITMAP or HFONT.
using COwnedBitmap = CUniqueHandle<HBITMAP, HandleTraits::NullBitmap, HandleTraits::DeleteBitmapObject>;
using COwnedFont = CUniqueHandle<HFONT, HandleTraits::NullFont, HandleTraits::DeleteFontObject>;
using COwnedBrush = CUniqueHandle<HBRUSH, HandleTraits::NullBrush, HandleTraits::DeleteBrushObject>;
// SetWindowsHookExW: removed with UnhookWindowsHookEx.
using CHookHandle = CUniqueHandle<HHOOK, HandleTraits::NullHook, HandleTraits::UnhookHook>;
// CreateCompatibleDC: deleted with DeleteDC, unlike the contexts GetDC hands out.
using CMemoryDCHandle = CUniqueHandle<HDC, HandleTraits::NullDC, HandleTraits::DeleteMemoryDC>;
// What the system allocates for its caller (FormatMessageW's buffer, CommandLineToArgvW's
// list, a converted security descriptor): freed with LocalFree.
using CLocalHandle = CUniqueHandle<HLOCAL, HandleTraits::NullLocal, HandleTraits::FreeLocal>;
