#include "FormatConversions.h"

#include <cctype>
#include <cstring>

namespace {
constexpr char kFlags[] = "-+ #0";
constexpr char kLengthModifiers[] = "hlLqjztI";
} // namespace

std::vector<std::string> FormatConversions::Of(const std::string& text)
{
    std::vector<std::string> conversions;
    size_t i = 0;
    while ((i = text.find('%', i)) != std::string::npos) {
        size_t end = i + 1;
        while (end < text.size() && std::strchr(kFlags, text[end]) != nullptr)
            ++end;
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '*' ||
                                     text[end] == '.'))
            ++end;
        while (end < text.size() && std::strchr(kLengthModifiers, text[end]) != nullptr) {
            // The Windows runtime's sized integers: %I64d, %I32u.
            const bool sized = text[end] == 'I';
            ++end;
            while (sized && end < text.size() && std::isdigit(static_cast<unsigned char>(text[end])))
                ++end;
        }
        // A "%" at the very end has no conversion letter; it is kept as it stands.
        end = end < text.size() ? end + 1 : text.size();
        conversions.push_back(text.substr(i, end - i));
        i = end;
    }
    return conversions;
}
