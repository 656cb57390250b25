#include "Archive.h"

#include "Language.h"

#include <cstring>
#include <new>
#include <vector>

namespace {
constexpr unsigned kLanguageBytes = 3;
}

void IArchive::WriteUInt32(uint32_t value)
{
    const uint8_t bytes[4] = {static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8),
                              static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 24)};
    Write(bytes, sizeof(bytes));
}

uint32_t IArchive::ReadUInt32()
{
    uint8_t bytes[4] = {};
    Read(bytes, sizeof(bytes));
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

void IArchive::WriteString(const char* text)
{
    const size_t length = std::strlen(text);
    WriteUInt32(static_cast<uint32_t>(length));
    Write(text, static_cast<unsigned>(length));
}

void IArchive::ReadString(std::string& text)
{
    const uint32_t length = ReadUInt32();
    // Checked before allocating: a hostile length must not reserve gigabytes.
    if (length > Available())
        throw kTruncated;
    std::vector<char> buffer;
    try {
        buffer.resize(static_cast<size_t>(length) + 1);
    } catch (const std::bad_alloc&) {
        throw kStringAllocation;
    }
    Read(buffer.data(), length);
    text.assign(buffer.data());
}

void IArchive::WriteLanguage(const CLanguage& language)
{
    char bytes[kLanguageBytes] = {};
    if (language.IsValid()) {
        const std::wstring code = language.GetCode();
        for (unsigned i = 0; i < kLanguageBytes && i < code.size(); ++i)
            bytes[i] = static_cast<char>(code[i]);
    }
    Write(bytes, kLanguageBytes);
}

void IArchive::ReadLanguage(CLanguage& language)
{
    char bytes[kLanguageBytes + 1] = {};
    Read(bytes, kLanguageBytes);
    // Codes are ASCII; any other byte makes the code unknown.
    std::wstring code;
    for (const char* c = bytes; *c != '\0'; ++c)
        code.push_back(static_cast<unsigned char>(*c) < 0x80 ? static_cast<wchar_t>(*c) : L'?');
    language = CLanguage::FromCode(code.c_str(), false);
}
