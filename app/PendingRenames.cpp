#include "PendingRenames.h"

#include <cstring>
#include <vector>

namespace {
constexpr size_t kPrefixLength = 4;

char16_t FoldAscii(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
} // namespace

bool CPendingRenames::LiesInTemp(const char16_t* entry, size_t length, const std::u16string& tempPath)
{
    // An entry too short to hold the whole temporary path differs from it.
    if (length - kPrefixLength < tempPath.size())
        return false;
    for (size_t i = 0; i < tempPath.size(); ++i) {
        if (FoldAscii(entry[kPrefixLength + i]) != FoldAscii(tempPath[i]))
            return false;
    }
    return true;
}

bool CPendingRenames::AnyOutsideTemp(const uint8_t* data, size_t byteCount, const std::u16string& tempPath)
{
    if (data == nullptr)
        return false;
    // The registry hands out bytes without alignment guarantees; copy into units.
    const size_t unitCount = byteCount / 2;
    std::vector<char16_t> units(unitCount);
    for (size_t i = 0; i < unitCount; ++i)
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));

    size_t pos = 0;
    while (pos < unitCount) {
        size_t end = pos;
        while (end < unitCount && units[end] != u'\0')
            ++end;
        const size_t length = end - pos;
        if (length >= kPrefixLength && !LiesInTemp(units.data() + pos, length, tempPath))
            return true;
        pos = end + 1;
    }
    return false;
}
