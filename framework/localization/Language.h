#pragma once

#include <cstdint>
#include <string>

// A user-interface language: an index into the language table, or one of the two
// markers below. Copied by value.
class CLanguage
{
public:
    static constexpr int32_t kInvalid = -1;  // asked for, but not in the table
    static constexpr int32_t kNeutral = -2;  // no language chosen

    constexpr CLanguage() = default;
    static constexpr CLanguage FromIndex(int32_t index) { return CLanguage(index); }

    static CLanguage FromLangID(uint16_t id, bool fallback);
    static CLanguage FromSystemDefaultLangID(bool fallback);
    static CLanguage FromUserDefaultLangID(bool fallback);
    static CLanguage FromSystemDefaultUILanguage(bool fallback);
    static CLanguage FromUserDefaultUILanguage(bool fallback);
    static CLanguage FromCultureName(const wchar_t* name, bool fallback);
    static CLanguage FromCode(const wchar_t* code, bool fallback);
    // A row index: the first row whose culture name begins with the two letters, else row 0.
    static int32_t FromTwoLetterName(const wchar_t* letters);
    static CLanguage FromString(const wchar_t* text, bool fallback);

    CLanguage GetFallbackLanguage(bool toDefault) const;

    int32_t GetIndex() const { return m_nIndex; }
    bool IsValid() const { return m_nIndex >= 0; }
    bool IsNeutral() const { return m_nIndex == kNeutral; }
    bool IsDefault() const;
    bool IsEnglish() const;
    bool HasSamePrimaryLanguage(const CLanguage& other) const;
    bool operator==(const CLanguage& other) const { return m_nIndex == other.m_nIndex; }
    // Orders by three-letter code without regard to case; invalid and neutral come first.
    bool operator<(const CLanguage& other) const;

    uint16_t GetLangID() const;
    std::wstring GetCode() const;
    std::wstring GetCultureName() const;
    // The language's ANSI code page; 0 for an invalid or neutral language or when unknown.
    unsigned GetAnsiCodePage() const;

    // Other columns; null (0 for the group) for an invalid or neutral language.
    const wchar_t* GetLangName() const;
    const wchar_t* GetSubLangName() const;
    const wchar_t* GetCountry() const;
    const wchar_t* GetIso639B() const;
    const wchar_t* GetIso639T() const;
    const wchar_t* GetEnglishName() const;
    const wchar_t* GetNativeName() const;
    int32_t GetGroup() const;

private:
    explicit constexpr CLanguage(int32_t index) : m_nIndex(index) {}

    int32_t m_nIndex = kNeutral;
};

// The framework's default language: English (United States), row 0.
inline constexpr CLanguage g_defaultLanguage = CLanguage::FromIndex(0);
