#include "MarkupText.h"

#include <cwchar>

namespace MarkupText {

namespace {
void ReplaceAll(std::wstring& text, const std::wstring& what, const std::wstring& with)
{
    for (size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
}

bool StartsWithAt(const std::wstring& text, size_t at, const wchar_t* prefix)
{
    return text.compare(at, std::wcslen(prefix), prefix) == 0;
}
} // namespace

std::wstring PlainText(const std::wstring& markup)
{
    std::wstring plain = markup;
    ReplaceAll(plain, L"\n", L" ");
    ReplaceAll(plain, L"<br>", L" ");
    for (;;) {
        const size_t open = plain.find(L'<');
        if (open == std::wstring::npos)
            break;
        const size_t close = plain.find(L'>', open);
        if (close == std::wstring::npos)
            break;
        plain.erase(open, close - open + 1);
    }
    return plain;
}

std::wstring ResolveWebLinkIds(const std::wstring& markup, const std::function<std::wstring(int)>& lookUp)
{
    static constexpr size_t kTagLength = 13;
    std::wstring result = markup;
    for (size_t at = result.find(L'<'); at != std::wstring::npos; at = result.find(L'<', at + 1)) {
        if (!StartsWithAt(result, at, L"<a weblinkid=") && !StartsWithAt(result, at, L"<A WEBLINKID="))
            continue;
        const size_t close = result.find(L'>', at + kTagLength);
        if (close == std::wstring::npos)
            break;
        const size_t idStart = at + kTagLength;
        const std::wstring idText = result.substr(idStart, close - idStart);
        const std::wstring address = lookUp(static_cast<int>(std::wcstol(idText.c_str(), nullptr, 10)));
        if (address.empty())
            continue;
        const std::wstring tag = L"<a href=" + address;
        result.replace(at, close - at, tag);
        // The address is text: a tag written inside it is not resolved again.
        at += tag.size() - 1;
    }
    return result;
}

} // namespace MarkupText
