#pragma once

#include <cstddef>
#include <cstdint>

// One row of the framework's language table. The rows are constant data; a
// CLanguage is an index into them.
struct SLanguageRow
{
    uint32_t langId;             // primary language in bits 0-9, sub-language in bits 10-15
    const wchar_t* langName;     // the SDK's LANG_ constant
    const wchar_t* subLangName;  // the SDK's SUBLANG_ constant
    const wchar_t* cultureName;
    const wchar_t* code;         // three upper-case letters
    wchar_t country[4];
    const wchar_t* iso639B;
    const wchar_t* iso639T;
    const wchar_t* englishName;
    const wchar_t* nativeName;   // empty: the English name stands in
    int32_t group;
    const wchar_t* fallbackCulture;
};

namespace LanguageTable {
inline constexpr size_t kRowCount = 73;
const SLanguageRow& Row(size_t index);
} // namespace LanguageTable
