#include "HelpFiles.h"

#include "HelpFolderQuery.h"

#include <algorithm>
#include <cwctype>

namespace {

bool EndsWithNoCase(const std::wstring& text, const std::wstring& ending)
{
    if (text.size() < ending.size())
        return false;
    return std::equal(ending.begin(), ending.end(), text.end() - static_cast<std::ptrdiff_t>(ending.size()),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

bool StartsWithNoCase(const std::wstring& text, const std::wstring& start)
{
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

// The first entry the folder lists with the extension. The program's folder is often a
// downloads folder of thousands of files: the listing ends at the first match.
std::wstring FirstWithExtension(const IHelpFolderQuery& query, const std::wstring& folder,
                                const std::wstring& extension)
{
    std::wstring first;
    query.ListMatching(folder, extension, [&](const std::wstring& name) {
        if (!EndsWithNoCase(name, extension))
            return true;
        first = name;
        return false;
    });
    return first;
}

// The conversion of an insert, "!...!" included, that reads one string argument and
// nothing else: flags, width and precision given as digits, then "s", "ls" or "ws".
bool IsOneStringConversion(const std::wstring& conversion)
{
    if (conversion.empty())
        return true;
    if (conversion.size() < 3 || conversion.front() != L'!' || conversion.back() != L'!')
        return false;
    std::wstring body = conversion.substr(1, conversion.size() - 2);
    const std::size_t end = body.find_first_not_of(L"-+ #0123456789.");
    if (end == std::wstring::npos)
        return false;
    body.erase(0, end);
    return body == L"s" || body == L"ls" || body == L"ws";
}

} // namespace

bool FindHelpFile(std::wstring* found, const wchar_t* folder, const wchar_t* baseA, const wchar_t* baseB,
                  CLanguage language, const wchar_t* plainName)
{
    return FindHelpFile(HelpFolderQuery(), found, folder, baseA, baseB, language, plainName);
}

bool FindHelpFile(const IHelpFolderQuery& query, std::wstring* found, const wchar_t* folder, const wchar_t* baseA,
                  const wchar_t* baseB, CLanguage language, const wchar_t* plainName)
{
    if (found == nullptr)
        return false;
    std::wstring dir = folder != nullptr ? folder : L"";
    if (!dir.empty() && dir.back() != L'\\' && dir.back() != L'/')
        dir += L'\\';
    const std::wstring a = baseA != nullptr ? baseA : L"";
    const std::wstring b = baseB != nullptr ? baseB : L"";

    const CLanguage fallback = language.GetFallbackLanguage(false);
    const CLanguage english = CLanguage::FromCode(L"ENU", false);
    const std::wstring suffixes[] = {
        language.GetCultureName(), fallback.IsValid() ? fallback.GetCultureName() : std::wstring(),
        english.GetCultureName(),  language.GetCode(),
        fallback.IsValid() ? fallback.GetCode() : std::wstring(), english.GetCode(),
    };
    std::wstring result;
    for (const std::wstring& suffix : suffixes) {
        for (const std::wstring& candidate : {dir + a + suffix + L".shlp", dir + b + suffix + L".shlp",
                                              dir + a + suffix + L".chm", dir + b + suffix + L".chm"}) {
            if (query.Exists(candidate)) {
                result = candidate;
                break;
            }
        }
        if (!result.empty())
            break;
    }
    if (result.empty() && plainName != nullptr && query.Exists(dir + plainName))
        result = dir + plainName;
    for (const wchar_t* extension : {L".shlp", L".chm"}) {
        if (!result.empty())
            break;
        const std::wstring name = FirstWithExtension(query, dir, extension);
        if (!name.empty())
            result = dir + name;
    }
    if (result.empty())
        return false;
    *found = result;
    return true;
}

std::wstring HelpBaseName(const std::wstring& name, const CLanguage& language)
{
    std::wstring base = language.IsNeutral() ? name : name + L"_";
    base.erase(std::remove(base.begin(), base.end(), L' '), base.end());
    return base;
}

CLanguage HelpFileLanguage(const std::wstring& helpPath)
{
    if (helpPath.size() >= 7) {
        const CLanguage byCode = CLanguage::FromCode(helpPath.substr(helpPath.size() - 7, 3).c_str(), false);
        if (byCode.IsValid())
            return byCode;
    }
    if (helpPath.size() >= 9)
        return CLanguage::FromCultureName(helpPath.substr(helpPath.size() - 9, 5).c_str(), false);
    return CLanguage::FromIndex(CLanguage::kInvalid);
}

std::wstring OneArgumentMessageFormat(const std::wstring& format)
{
    std::wstring result;
    result.reserve(format.size() + 8);
    for (std::size_t at = 0; at < format.size(); ++at) {
        result += format[at];
        if (format[at] != L'%' || at + 1 == format.size())
            continue;
        if (format[at + 1] < L'1' || format[at + 1] > L'9') {
            // An escape ("%%", "%n", "%0", ...) takes no argument.
            result += format[++at];
            continue;
        }
        // An insert number has one or two digits; a conversion may follow in "!...!".
        std::size_t end = at + 2;
        if (end < format.size() && format[end] >= L'0' && format[end] <= L'9')
            ++end;
        std::size_t conversionEnd = end;
        if (end < format.size() && format[end] == L'!') {
            const std::size_t close = format.find(L'!', end + 1);
            conversionEnd = close == std::wstring::npos ? format.size() : close + 1;
        }
        if (end == at + 2 && format[at + 1] == L'1' &&
            IsOneStringConversion(format.substr(end, conversionEnd - end))) {
            result.append(format, at + 1, conversionEnd - at - 1);
            at = conversionEnd - 1;
        } else {
            result += L'%';
        }
    }
    return result;
}

bool IsHelpAddress(const std::wstring& helpPath)
{
    return StartsWithNoCase(helpPath, L"http://") || StartsWithNoCase(helpPath, L"ftp://") ||
           StartsWithNoCase(helpPath, L"mail:");
}

void AppendLanguagePieces(std::list<std::wstring>& languages, const std::wstring& text)
{
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t end = std::min(text.find_first_of(L";, ", start), text.size());
        const std::wstring piece = text.substr(start, end - start);
        if ((piece.size() == 3 || piece.size() == 5) &&
            std::find(languages.begin(), languages.end(), piece) == languages.end())
            languages.push_back(piece);
        start = end + 1;
    }
}
