#include "PayloadPath.h"

bool CPayloadPath::IsSeparator(value_type c)
{
#ifdef _WIN32
    return c == L'\\' || c == L'/';
#else
    return c == '/';
#endif
}

CPayloadPath CPayloadPath::Join(const CPayloadPath& name) const
{
    string_type text = m_strText;
    if (!text.empty() && !IsSeparator(text.back()))
        text += kSeparator;
    text += name.m_strText;
    return CPayloadPath(std::move(text));
}

CPayloadPath CPayloadPath::Parent() const
{
    size_t end = m_strText.size();
    while (end > 0 && !IsSeparator(m_strText[end - 1]))
        --end;
    // Keep a root's own separator ("/" or "C:\"), drop those before a name.
    while (end > 1 && IsSeparator(m_strText[end - 1]) && IsSeparator(m_strText[end - 2]))
        --end;
    if (end > 1 && IsSeparator(m_strText[end - 1])) {
#ifdef _WIN32
        if (!(end == 3 && m_strText[1] == L':'))
            --end;
#else
        --end;
#endif
    }
    return CPayloadPath(m_strText.substr(0, end));
}

bool CPayloadPath::IsPlainRelative() const
{
    if (m_strText.empty() || IsSeparator(m_strText.front()))
        return false;
#ifdef _WIN32
    // "C:name" is relative to the drive's current folder: not inside ours either.
    if (m_strText.size() >= 2 && m_strText[1] == L':')
        return false;
#endif
    size_t start = 0;
    while (true) {
        size_t end = start;
        while (end < m_strText.size() && !IsSeparator(m_strText[end]))
            ++end;
        const size_t length = end - start;
        if (length == 0 && end < m_strText.size()) {
            // Doubled separators read as one.
            start = end + 1;
            continue;
        }
        if (length == 0 || (length <= 2 && m_strText.compare(start, length, string_type(length, '.')) == 0))
            return false;
        if (end == m_strText.size())
            return true;
        start = end + 1;
    }
}
