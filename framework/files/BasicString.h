#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <string_view>

// The file library's string. The buffer is always terminated and zero behind the text;
// it starts with room for 6 characters and, when a text of n characters does not fit,
// is replaced by one of 2n + 2, so that appending piece by piece copies rarely.
template <typename TChar>
class CBasicString
{
public:
    using View = std::basic_string_view<TChar>;
    static constexpr std::size_t kInitialCapacity = 6;

    CBasicString() : m_pBuffer(new TChar[kInitialCapacity]()), m_nCapacity(kInitialCapacity) {}
    CBasicString(const TChar* pText) : CBasicString(View(pText)) {}
    CBasicString(View text) : CBasicString() { Append(text); }

    CBasicString(const CBasicString& other) : CBasicString(other.GetView()) {}
    CBasicString(CBasicString&& other) noexcept : CBasicString() { Swap(other); }
    CBasicString& operator=(CBasicString other) noexcept
    {
        Swap(other);
        return *this;
    }

    const TChar* c_str() const { return m_pBuffer.get(); }
    View GetView() const { return View(m_pBuffer.get(), m_nLength); }
    std::size_t GetLength() const { return m_nLength; }
    std::size_t GetCapacity() const { return m_nCapacity; }
    bool IsEmpty() const { return m_nLength == 0; }
    TChar operator[](std::size_t nIndex) const { return m_pBuffer[nIndex]; }

    CBasicString& Append(View text)
    {
        // The text may lie inside this very buffer: the old one lives until it is copied.
        std::unique_ptr<TChar[]> pOld = Reserve(m_nLength + text.size());
        std::copy(text.begin(), text.end(), m_pBuffer.get() + m_nLength);
        m_nLength += text.size();
        return *this;
    }
    CBasicString& Append(TChar character) { return Append(View(&character, 1)); }
    CBasicString& operator+=(View text) { return Append(text); }
    CBasicString& operator+=(TChar character) { return Append(character); }

    // Cuts the text to at most nLength characters.
    void Truncate(std::size_t nLength)
    {
        if (nLength >= m_nLength)
            return;
        std::fill(m_pBuffer.get() + nLength, m_pBuffer.get() + m_nLength, TChar{});
        m_nLength = nLength;
    }

    friend bool operator==(const CBasicString& left, View right) { return left.GetView() == right; }

private:
    // Returns the replaced buffer, if any.
    std::unique_ptr<TChar[]> Reserve(std::size_t nLength)
    {
        if (nLength < m_nCapacity)
            return nullptr;
        const std::size_t nCapacity = 2 * nLength + 2;
        std::unique_ptr<TChar[]> pBuffer(new TChar[nCapacity]());
        std::copy(m_pBuffer.get(), m_pBuffer.get() + m_nLength, pBuffer.get());
        std::swap(m_pBuffer, pBuffer);
        m_nCapacity = nCapacity;
        return pBuffer;
    }

    void Swap(CBasicString& other) noexcept
    {
        std::swap(m_pBuffer, other.m_pBuffer);
        std::swap(m_nCapacity, other.m_nCapacity);
        std::swap(m_nLength, other.m_nLength);
    }

    std::unique_ptr<TChar[]> m_pBuffer;
    std::size_t m_nCapacity;
    std::size_t m_nLength = 0;
};

using CPathString = CBasicString<wchar_t>;
