#pragma once

#include <filesystem>
#include <string>

// A file system path as the system's own text: UTF-16 on Windows, bytes elsewhere.
// The stub carries no std::filesystem (on Windows its path conversions pull in the
// whole locale machinery); the few operations extraction needs are done on the text.
// Built from a std::filesystem::path without conversion, so tools and tests keep
// their own path type.
class CPayloadPath
{
public:
#ifdef _WIN32
    using value_type = wchar_t;
    static constexpr value_type kSeparator = L'\\';
#else
    using value_type = char;
    static constexpr value_type kSeparator = '/';
#endif
    using string_type = std::basic_string<value_type>;

    CPayloadPath() = default;
    CPayloadPath(string_type text) : m_strText(std::move(text)) {}
    CPayloadPath(const value_type* text) : m_strText(text) {}
    CPayloadPath(const std::filesystem::path& path) : m_strText(path.native()) {}

    const string_type& Native() const { return m_strText; }
    const value_type* c_str() const { return m_strText.c_str(); }
    bool Empty() const { return m_strText.empty(); }
    std::filesystem::path ToFilesystemPath() const { return std::filesystem::path(m_strText); }

    static bool IsSeparator(value_type c);

    // name appended after one separator (none when this path is empty or ends in one).
    [[nodiscard]] CPayloadPath Join(const CPayloadPath& name) const;
    // Everything before the last separator (and the separators before it); empty
    // when there is none.
    [[nodiscard]] CPayloadPath Parent() const;
    // Not absolute, no drive or share, and every component a real name (no empty
    // component, "." or "..").
    [[nodiscard]] bool IsPlainRelative() const;

    // The text to hand the system. On Windows the absolute form of any length
    // (LongPathForm.h) against the current directory, empty when it names nothing;
    // elsewhere the text itself.
    [[nodiscard]] CPayloadPath ForSystem() const;

    // Creates this folder and every missing one above it; true when it exists afterwards.
    // On Windows one at a time in the form of any length: the runtime's own creation
    // asks about every parent in the classic form.
    [[nodiscard]] bool CreateFolders() const;

    friend bool operator==(const CPayloadPath&, const CPayloadPath&) = default;

private:
    string_type m_strText;
};
