#include "Language.h"

#include "LanguageTable.h"
#include "LocalePlatform.h"

#include <cwchar>

namespace {

constexpr uint16_t kPrimaryMask = 0x3FF;
constexpr int32_t kRowCount = static_cast<int32_t>(LanguageTable::kRowCount);

// Case conversion of the "C" locale: only ASCII letters change.
wchar_t ToUpper(wchar_t c)
{
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

wchar_t ToLower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring Upper(std::wstring_view text)
{
    std::wstring result(text);
    for (wchar_t& c : result)
        c = ToUpper(c);
    return result;
}

std::wstring Lower(std::wstring_view text)
{
    std::wstring result(text);
    for (wchar_t& c : result)
        c = ToLower(c);
    return result;
}

int CompareIgnoringCase(std::wstring_view a, std::wstring_view b)
{
    const std::wstring upperA = Upper(a);
    const std::wstring upperB = Upper(b);
    return upperA.compare(upperB);
}

uint16_t LangIdOf(int32_t row)
{
    return static_cast<uint16_t>(LanguageTable::Row(static_cast<size_t>(row)).langId);
}

template <typename Predicate>
int32_t FirstRow(Predicate matches)
{
    for (int32_t row = 0; row < kRowCount; ++row)
        if (matches(LanguageTable::Row(static_cast<size_t>(row))))
            return row;
    return CLanguage::kInvalid;
}

} // namespace

CLanguage CLanguage::FromLangID(uint16_t id, bool fallback)
{
    int32_t row = FirstRow([id](const SLanguageRow& r) { return r.langId == id; });
    if (row < 0 && fallback) {
        row = FirstRow([id](const SLanguageRow& r) { return (r.langId & kPrimaryMask) == (id & kPrimaryMask); });
        if (row < 0)
            row = 0;
    }
    return CLanguage(row);
}

CLanguage CLanguage::FromSystemDefaultLangID(bool fallback)
{
    return FromLangID(LocalePlatform().DefaultLangID(ILocalePlatform::LangIdSource::SystemDefault), fallback);
}

CLanguage CLanguage::FromUserDefaultLangID(bool fallback)
{
    return FromLangID(LocalePlatform().DefaultLangID(ILocalePlatform::LangIdSource::UserDefault), fallback);
}

CLanguage CLanguage::FromSystemDefaultUILanguage(bool fallback)
{
    return FromLangID(LocalePlatform().DefaultLangID(ILocalePlatform::LangIdSource::SystemDefaultUI), fallback);
}

CLanguage CLanguage::FromUserDefaultUILanguage(bool fallback)
{
    return FromLangID(LocalePlatform().DefaultLangID(ILocalePlatform::LangIdSource::UserDefaultUI), fallback);
}

CLanguage CLanguage::FromCultureName(const wchar_t* name, bool fallback)
{
    constexpr size_t kShortest = 5;
    constexpr size_t kLongest = 19;
    if (name == nullptr)
        return CLanguage(kInvalid);
    const std::wstring_view view(name);
    if (view.empty())
        return CLanguage(kNeutral);
    if (view.size() < kShortest || view.size() > kLongest)
        return CLanguage(kInvalid);
    const std::wstring upper = Upper(view);
    const int32_t row = FirstRow([&upper](const SLanguageRow& r) { return Upper(r.cultureName) == upper; });
    if (row >= 0)
        return CLanguage(row);
    if (fallback)
        return CLanguage(FromTwoLetterName(std::wstring(view.substr(0, 2)).c_str()));
    return CLanguage(kInvalid);
}

CLanguage CLanguage::FromCode(const wchar_t* code, bool fallback)
{
    constexpr size_t kCodeLength = 3;
    if (code == nullptr)
        return CLanguage(kInvalid);
    const std::wstring_view view(code);
    if (view.empty())
        return CLanguage(kNeutral);
    if (view.size() != kCodeLength)
        return CLanguage(kInvalid);
    const std::wstring upper = Upper(view);
    const int32_t row = FirstRow([&upper](const SLanguageRow& r) { return upper == r.code; });
    if (row >= 0)
        return CLanguage(row);
    if (fallback)
        return CLanguage(FromTwoLetterName(std::wstring(view.substr(0, 2)).c_str()));
    return CLanguage(kInvalid);
}

int32_t CLanguage::FromTwoLetterName(const wchar_t* letters)
{
    if (letters == nullptr || std::wcslen(letters) != 2)
        return 0;
    const std::wstring lower = Lower(letters);
    const int32_t row =
        FirstRow([&lower](const SLanguageRow& r) { return std::wstring_view(r.cultureName).starts_with(lower); });
    return row >= 0 ? row : 0;
}

CLanguage CLanguage::FromString(const wchar_t* text, bool fallback)
{
    const CLanguage byCode = FromCode(text, false);
    if (byCode.IsValid())
        return byCode;
    return FromCultureName(text, fallback);
}

CLanguage CLanguage::GetFallbackLanguage(bool toDefault) const
{
    if (!IsValid())
        return toDefault ? g_defaultLanguage : *this;
    const SLanguageRow& row = LanguageTable::Row(static_cast<size_t>(m_nIndex));
    if (row.fallbackCulture[0] != L'\0')
        return FromCultureName(row.fallbackCulture, true);
    const uint16_t id = GetLangID();
    const int32_t first =
        FirstRow([id](const SLanguageRow& r) { return (r.langId & kPrimaryMask) == (id & kPrimaryMask); });
    if (!toDefault)
        return CLanguage(first);
    return LangIdOf(first) == id ? g_defaultLanguage : CLanguage(first);
}

bool CLanguage::IsDefault() const
{
    return *this == g_defaultLanguage;
}

bool CLanguage::IsEnglish() const
{
    const std::wstring code = GetCode();
    return CompareIgnoringCase(code, L"ENU") == 0 || CompareIgnoringCase(code, L"ENG") == 0 ||
           CompareIgnoringCase(code, L"ENA") == 0;
}

bool CLanguage::HasSamePrimaryLanguage(const CLanguage& other) const
{
    return (GetLangID() & kPrimaryMask) == (other.GetLangID() & kPrimaryMask);
}

bool CLanguage::operator<(const CLanguage& other) const
{
    return CompareIgnoringCase(GetCode(), other.GetCode()) < 0;
}

uint16_t CLanguage::GetLangID() const
{
    return IsValid() ? LangIdOf(m_nIndex) : 0;
}

std::wstring CLanguage::GetCode() const
{
    return IsValid() ? LanguageTable::Row(static_cast<size_t>(m_nIndex)).code : L"";
}

std::wstring CLanguage::GetCultureName() const
{
    return IsValid() ? LanguageTable::Row(static_cast<size_t>(m_nIndex)).cultureName : L"";
}

unsigned CLanguage::GetAnsiCodePage() const
{
    return IsValid() ? LocalePlatform().AnsiCodePage(GetLangID()) : 0;
}

#define OVRA_ROW_COLUMN(getter, column)                                                     \
    const wchar_t* CLanguage::getter() const                                                \
    {                                                                                       \
        return IsValid() ? LanguageTable::Row(static_cast<size_t>(m_nIndex)).column : nullptr; \
    }

OVRA_ROW_COLUMN(GetLangName, langName)
OVRA_ROW_COLUMN(GetSubLangName, subLangName)
OVRA_ROW_COLUMN(GetCountry, country)
OVRA_ROW_COLUMN(GetIso639B, iso639B)
OVRA_ROW_COLUMN(GetIso639T, iso639T)
OVRA_ROW_COLUMN(GetEnglishName, englishName)
#undef OVRA_ROW_COLUMN

const wchar_t* CLanguage::GetNativeName() const
{
    if (!IsValid())
        return nullptr;
    const SLanguageRow& row = LanguageTable::Row(static_cast<size_t>(m_nIndex));
    return row.nativeName[0] != L'\0' ? row.nativeName : row.englishName;
}

int32_t CLanguage::GetGroup() const
{
    return IsValid() ? LanguageTable::Row(static_cast<size_t>(m_nIndex)).group : 0;
}
