#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The version information an installer shows in its file properties: six strings
// in one US English, Unicode string table, and the fixed version numbers taken from
// FileVersion and ProductVersion when they are numeric ("1.2.3.4").
class CVersionInfo
{
public:
    static constexpr std::array<std::string_view, 6> kKeys = {"CompanyName",    "FileDescription", "FileVersion",
                                                              "LegalCopyright", "ProductName",     "ProductVersion"};
    static constexpr uint16_t kLanguage = 0x0409;
    static constexpr uint16_t kCodePage = 1200;
    // The block's lengths are 16-bit byte counts.
    static constexpr size_t kMaximumBlock = 0xFFFF;
    static constexpr size_t kFixedInfoSize = 52;

    // Takes "KEY=VALUE" with a UTF-8 value; the key is matched without regard to case.
    [[nodiscard]] bool Set(const std::string& assignment, std::string& error);
    bool Empty() const;

    // The VS_VERSIONINFO resource; fails when the values do not fit its 16-bit lengths.
    [[nodiscard]] bool Build(std::vector<uint8_t>& block, std::string& error) const;

private:
    struct SFixedVersion
    {
        uint32_t nMost = 0;
        uint32_t nLeast = 0;
    };

    std::array<std::optional<std::u16string>, kKeys.size()> m_values;
    SFixedVersion m_fileVersion;
    SFixedVersion m_productVersion;
};
