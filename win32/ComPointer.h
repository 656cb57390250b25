#pragma once

#include <unknwn.h>

#include <utility>

// Owns one reference to a COM object and releases it; move-only, like the handle
// owners, so a reference is never released twice or taken without AddRef.
template <class T>
class CComPointer
{
public:
    CComPointer() = default;
    ~CComPointer() { Reset(); }
    CComPointer(const CComPointer&) = delete;
    CComPointer& operator=(const CComPointer&) = delete;
    CComPointer(CComPointer&& other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
    CComPointer& operator=(CComPointer&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_p = std::exchange(other.m_p, nullptr);
        }
        return *this;
    }

    T* Get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For a call that hands out a new reference: the old one is released first.
    T** Put()
    {
        Reset();
        return &m_p;
    }
    void Reset()
    {
        if (m_p != nullptr)
            std::exchange(m_p, nullptr)->Release();
    }

private:
    T* m_p = nullptr;
};
