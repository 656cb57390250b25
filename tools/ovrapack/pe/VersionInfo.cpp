#include "VersionInfo.h"

#include <algorithm>
#include <cctype>

#include "payload/ContainerLayout.h"
#include "payload/Utf8.h"

namespace {

constexpr uint32_t kFixedSignature = 0xFEEF04BD;
constexpr uint32_t kFixedStructureVersion = 0x00010000;
constexpr uint32_t kFileFlagsMask = 0x3F;
constexpr uint32_t kOsNtWindows32 = 0x00040004;
constexpr uint32_t kFileTypeApplication = 1;
constexpr uint16_t kBinaryValue = 0;
constexpr uint16_t kTextValue = 1;
constexpr size_t kFileVersionKey = 2;
constexpr size_t kProductVersionKey = 5;

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

bool Utf16FromUtf8(std::string_view text, std::u16string& wide)
{
    wide.clear();
    for (size_t i = 0; i < text.size();) {
        char32_t code = 0;
        if (!Utf8::Decode(text, i, code))
            return false;
        Utf8::AppendUtf16(wide, code);
    }
    return true;
}

enum class EVersionForm { Text, Numeric, Malformed };

// Digits and dots make a numeric version: one to four numbers up to 65535.
EVersionForm ParseNumericVersion(std::string_view text, uint32_t& most, uint32_t& least)
{
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string_view::npos)
        return EVersionForm::Text;
    uint32_t parts[4] = {};
    size_t count = 0;
    size_t start = 0;
    while (true) {
        const size_t dot = std::min(text.find('.', start), text.size());
        const std::string_view digits = text.substr(start, dot - start);
        if (count == 4 || digits.empty() || digits.size() > 5)
            return EVersionForm::Malformed;
        const unsigned long value = std::stoul(std::string(digits));
        if (value > 0xFFFF)
            return EVersionForm::Malformed;
        parts[count++] = static_cast<uint32_t>(value);
        if (dot == text.size())
            break;
        start = dot + 1;
    }
    most = (parts[0] << 16) | parts[1];
    least = (parts[2] << 16) | parts[3];
    return EVersionForm::Numeric;
}

void AppendText(std::vector<uint8_t>& bytes, std::u16string_view text)
{
    for (const char16_t c : text)
        LittleEndian::AppendU16(bytes, c);
    LittleEndian::AppendU16(bytes, 0);
}

void AlignTo4(std::vector<uint8_t>& bytes)
{
    bytes.resize((bytes.size() + 3) / 4 * 4, 0);
}

// Every block: its length, the length of its value, the value's type, its key, and
// its value and children, each starting on a 32-bit boundary.
size_t BeginBlock(std::vector<uint8_t>& bytes, std::u16string_view key, uint16_t valueLength, uint16_t type)
{
    AlignTo4(bytes);
    const size_t start = bytes.size();
    LittleEndian::AppendU16(bytes, 0);
    LittleEndian::AppendU16(bytes, valueLength);
    LittleEndian::AppendU16(bytes, type);
    AppendText(bytes, key);
    AlignTo4(bytes);
    return start;
}

void EndBlock(std::vector<uint8_t>& bytes, size_t start)
{
    LittleEndian::WriteU16(bytes.data() + start, static_cast<uint16_t>(bytes.size() - start));
}

} // namespace

bool CVersionInfo::Set(const std::string& assignment, std::string& error)
{
    const size_t equals = assignment.find('=');
    const std::string key = assignment.substr(0, equals);
    const auto known = std::find_if(kKeys.begin(), kKeys.end(), [&](std::string_view k) { return EqualIgnoringCase(k, key); });
    if (equals == std::string::npos || known == kKeys.end()) {
        error = "\"" + assignment + "\" is not KEY=VALUE with one of the keys";
        for (const std::string_view k : kKeys) {
            error += ' ';
            error += k;
        }
        return false;
    }
    const auto index = static_cast<size_t>(known - kKeys.begin());
    const std::string name(*known);
    const std::string value = assignment.substr(equals + 1);
    if (m_values[index]) {
        error = name + " is given twice";
        return false;
    }
    std::u16string wide;
    if (!Utf16FromUtf8(value, wide)) {
        error = name + ": the value is not valid UTF-8";
        return false;
    }
    SFixedVersion fixed;
    if ((index == kFileVersionKey || index == kProductVersionKey) &&
        ParseNumericVersion(value, fixed.nMost, fixed.nLeast) == EVersionForm::Malformed) {
        error = name + ": \"" + value + "\" is no version: one to four numbers from 0 to 65535, separated by dots";
        return false;
    }
    m_values[index] = std::move(wide);
    std::vector<uint8_t> block;
    std::string tooLong;
    if (!Build(block, tooLong)) {
        m_values[index].reset();
        error = name + ": the value is too long: " + tooLong;
        return false;
    }
    if (index == kFileVersionKey)
        m_fileVersion = fixed;
    else if (index == kProductVersionKey)
        m_productVersion = fixed;
    return true;
}

bool CVersionInfo::Empty() const
{
    return std::none_of(m_values.begin(), m_values.end(), [](const auto& value) { return value.has_value(); });
}

bool CVersionInfo::Build(std::vector<uint8_t>& block, std::string& error) const
{
    block.clear();
    const size_t root = BeginBlock(block, u"VS_VERSION_INFO", kFixedInfoSize, kBinaryValue);
    for (const uint32_t value : {kFixedSignature, kFixedStructureVersion, m_fileVersion.nMost, m_fileVersion.nLeast,
                                 m_productVersion.nMost, m_productVersion.nLeast, kFileFlagsMask, uint32_t(0),
                                 kOsNtWindows32, kFileTypeApplication, uint32_t(0), uint32_t(0), uint32_t(0)})
        LittleEndian::AppendU32(block, value);

    const size_t stringInfo = BeginBlock(block, u"StringFileInfo", 0, kTextValue);
    const size_t table = BeginBlock(block, u"040904B0", 0, kTextValue);
    for (size_t i = 0; i < kKeys.size(); ++i) {
        if (!m_values[i])
            continue;
        const std::u16string key(kKeys[i].begin(), kKeys[i].end());
        // The value's length counts 16-bit units with the terminating NUL.
        const size_t entry =
            BeginBlock(block, key, static_cast<uint16_t>(std::min<size_t>(m_values[i]->size() + 1, 0xFFFF)), kTextValue);
        AppendText(block, *m_values[i]);
        EndBlock(block, entry);
    }
    EndBlock(block, table);
    EndBlock(block, stringInfo);

    const size_t varInfo = BeginBlock(block, u"VarFileInfo", 0, kTextValue);
    const size_t translation = BeginBlock(block, u"Translation", 4, kBinaryValue);
    LittleEndian::AppendU16(block, kLanguage);
    LittleEndian::AppendU16(block, kCodePage);
    EndBlock(block, translation);
    EndBlock(block, varInfo);
    EndBlock(block, root);

    if (block.size() > kMaximumBlock) {
        error = "the version information would take " + std::to_string(block.size()) + " bytes; its format holds " +
                std::to_string(kMaximumBlock);
        block.clear();
        return false;
    }
    return true;
}
