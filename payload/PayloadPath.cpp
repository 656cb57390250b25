#include "PayloadPath.h"

#ifdef _WIN32
#include <direct.h>

#include <cerrno>
#include <cstdlib>

#include "LongPathForm.h"
#else
#include <cerrno>
#include <system_error>
#endif

namespace {

#ifdef _WIN32
std::wstring CurrentDirectory()
{
    wchar_t* text = _wgetcwd(nullptr, 0);
    if (text == nullptr)
        return std::wstring();
    std::wstring current(text);
    std::free(text);
    return current;
}

bool CreateChain(std::wstring folder, size_t volumeLength)
{
    while (folder.size() > volumeLength && folder.back() == L'\\')
        folder.pop_back();
    if (folder.size() <= volumeLength || _wmkdir(folder.c_str()) == 0 || errno == EEXIST)
        return true;
    if (errno != ENOENT)
        return false;
    const size_t slash = folder.find_last_of(L'\\');
    if (slash == std::wstring::npos || slash + 1 < volumeLength || !CreateChain(folder.substr(0, slash), volumeLength))
        return false;
    return _wmkdir(folder.c_str()) == 0 || errno == EEXIST;
}
#endif

} // namespace

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

CPayloadPath CPayloadPath::ForSystem() const
{
#ifdef _WIN32
    return CPayloadPath(CLongPathForm::Make(m_strText, CurrentDirectory()));
#else
    return *this;
#endif
}

bool CPayloadPath::CreateFolders() const
{
#ifdef _WIN32
    const std::wstring target = ForSystem().Native();
    return !target.empty() && CreateChain(target, CLongPathForm::VolumeLength(target));
#else
    std::error_code ec;
    std::filesystem::create_directories(ToFilesystemPath(), ec);
    if (!ec)
        return true;
    errno = ec.value();
    return false;
#endif
}
