#include "PayloadNameRules.h"

#include <array>
#include <cctype>

namespace {

bool IsForbiddenCharacter(unsigned char c)
{
    // '/' is a separator on Windows; ':' names drives and alternate data streams.
    constexpr std::string_view kForbidden = "<>:\"/|?*";
    return c < 0x20 || kForbidden.find(static_cast<char>(c)) != std::string_view::npos;
}

std::string Upper(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return result;
}

} // namespace

bool CPayloadNameRules::IsSafeName(std::string_view name, std::string& reason)
{
    if (name.empty()) {
        reason = "empty file name";
        return false;
    }
    for (unsigned char c : name) {
        if (IsForbiddenCharacter(c)) {
            reason = "file name with a character Windows forbids";
            return false;
        }
    }
    if (IsTemporaryDataName(name)) {
        reason = "file name that the temporary data file needs";
        return false;
    }
    size_t start = 0;
    while (true) {
        const size_t end = name.find('\\', start);
        const std::string_view component =
            name.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!IsSafeComponent(component, reason))
            return false;
        if (end == std::string_view::npos)
            return true;
        start = end + 1;
    }
}

bool CPayloadNameRules::IsSafeComponent(std::string_view component, std::string& reason)
{
    if (component.empty()) {
        reason = "file name with a leading, trailing or doubled separator";
        return false;
    }
    if (component == "." || component == "..") {
        reason = "file name with a \".\" or \"..\" component";
        return false;
    }
    // Windows drops trailing dots and spaces, which would turn "..." into "..".
    if (component.back() == '.' || component.back() == ' ') {
        reason = "file name component ending in a dot or space";
        return false;
    }
    if (IsReservedDeviceName(component)) {
        reason = "file name that Windows reserves for a device";
        return false;
    }
    return true;
}

bool CPayloadNameRules::IsReservedDeviceName(std::string_view component)
{
    const std::string stem = Upper(component.substr(0, component.find('.')));
    static constexpr std::array<std::string_view, 4> kPlain = {"CON", "PRN", "AUX", "NUL"};
    for (std::string_view reserved : kPlain) {
        if (stem == reserved)
            return true;
    }
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '1' &&
           stem[3] <= '9';
}

bool CPayloadNameRules::IsTemporaryDataName(std::string_view name)
{
    return Upper(name) == Upper(kTemporaryDataName);
}

bool CPayloadNameRules::IsSafeRelativePath(const CPayloadPath& path)
{
    return path.IsPlainRelative();
}

std::string CPayloadNameRules::Printable(std::string_view name)
{
    std::string result;
    for (unsigned char c : name) {
        if (c < 0x20 || c == 0x7F || c == '"') {
            result += "\\x";
            result += "0123456789abcdef"[c >> 4];
            result += "0123456789abcdef"[c & 15];
        } else {
            result += static_cast<char>(c);
        }
    }
    return result;
}
