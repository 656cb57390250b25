#include "ConditionalMessageText.h"

namespace {

std::wstring ReplaceAll(std::wstring text, const std::wstring& what, const std::wstring& with)
{
    for (std::size_t at = text.find(what); at != std::wstring::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

// A "<" without a ">" after it ends the removal: it and the rest stay.
std::wstring WithoutTags(const std::wstring& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != L'<') {
            out.push_back(text[i]);
            continue;
        }
        const std::size_t close = text.find(L'>', i);
        if (close == std::wstring::npos) {
            out.append(text, i, std::wstring::npos);
            break;
        }
        i = close;
    }
    return out;
}

} // namespace

SConditionalMessageForms DeriveConditionalMessageForms(const std::wstring& message)
{
    SConditionalMessageForms forms;
    forms.plain = ReplaceAll(message, L"\n", L"\n ");
    forms.markup = ReplaceAll(forms.plain, L"\n", L"<br>");
    forms.plain = WithoutTags(ReplaceAll(forms.plain, L"<br>", L"\n") + L"\n");
    return forms;
}
