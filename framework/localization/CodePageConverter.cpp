#include "CodePageConverter.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace {

std::string CharsetOf(unsigned codePage)
{
    return "CP" + std::to_string(codePage);
}

// Closes the descriptor whatever way the conversion ends.
class CIconvDescriptor
{
public:
    CIconvDescriptor(const char* to, const char* from) : m_cd(::iconv_open(to, from)) {}
    ~CIconvDescriptor()
    {
        if (IsValid())
            ::iconv_close(m_cd);
    }
    CIconvDescriptor(const CIconvDescriptor&) = delete;
    CIconvDescriptor& operator=(const CIconvDescriptor&) = delete;

    bool IsValid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t Get() const { return m_cd; }

private:
    iconv_t m_cd;
};

} // namespace

bool CCodePageConverter::ToWide(const std::string& text, unsigned codePage, std::wstring& wide)
{
    std::string bytes;
    if (!Convert(text, CharsetOf(codePage).c_str(), "WCHAR_T", bytes) || bytes.size() % sizeof(wchar_t) != 0)
        return false;
    wide.assign(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), bytes.data(), bytes.size());
    return true;
}

bool CCodePageConverter::ToUtf8(const std::string& text, unsigned codePage, std::string& utf8)
{
    return Convert(text, CharsetOf(codePage).c_str(), "UTF-8", utf8);
}

bool CCodePageConverter::FromUtf8(const std::string& utf8, unsigned codePage, std::string& text)
{
    return Convert(utf8, "UTF-8", CharsetOf(codePage).c_str(), text);
}

bool CCodePageConverter::Convert(const std::string& from, const char* fromCharset, const char* toCharset,
                                 std::string& to)
{
    const CIconvDescriptor cd(toCharset, fromCharset);
    if (!cd.IsValid())
        return false;
    std::vector<char> input(from.begin(), from.end());
    char* in = input.data();
    size_t inLeft = input.size();
    std::string result;
    std::vector<char> buffer(256);
    while (inLeft > 0) {
        char* out = buffer.data();
        size_t outLeft = buffer.size();
        const size_t done = ::iconv(cd.Get(), &in, &inLeft, &out, &outLeft);
        result.append(buffer.data(), buffer.size() - outLeft);
        // An approximated character counts as a failure: texts must convert exactly.
        if (done == static_cast<size_t>(-1) ? errno != E2BIG : done != 0)
            return false;
    }
    char* out = buffer.data();
    size_t outLeft = buffer.size();
    if (::iconv(cd.Get(), nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1))
        return false;
    result.append(buffer.data(), buffer.size() - outLeft);
    to = std::move(result);
    return true;
}
