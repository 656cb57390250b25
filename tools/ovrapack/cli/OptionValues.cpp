#include "OptionValues.h"

#include <cctype>
#include <charconv>
#include <system_error>

namespace OptionValues {

bool ParseSize(const std::string& text, uint64_t maximum, uint64_t& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    uint64_t number = 0;
    const auto result = std::from_chars(begin, end, number);
    if (result.ec != std::errc() || result.ptr == begin)
        return false;
    std::string suffix(result.ptr, end);
    for (char& c : suffix)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    unsigned shift = 0;
    if (suffix == "k" || suffix == "kib")
        shift = 10;
    else if (suffix == "m" || suffix == "mib")
        shift = 20;
    else if (suffix == "g" || suffix == "gib")
        shift = 30;
    else if (!suffix.empty())
        return false;
    if (number > (maximum >> shift))
        return false;
    value = number << shift;
    return true;
}

bool ParseUnsigned(const std::string& text, uint64_t maximum, uint64_t& value)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        begin += 2;
    }
    uint64_t number = 0;
    const auto result = std::from_chars(begin, end, number, base);
    if (result.ec != std::errc() || result.ptr != end || begin == end || number > maximum)
        return false;
    value = number;
    return true;
}

bool ParseInteger(const std::string& text, int minimum, int maximum, int& value)
{
    int number = 0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), number);
    if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty() || number < minimum ||
        number > maximum)
        return false;
    value = number;
    return true;
}

} // namespace OptionValues
