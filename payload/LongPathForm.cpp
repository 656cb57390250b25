#include "LongPathForm.h"

#include <vector>

namespace {

constexpr wchar_t kDevicePrefix[] = L"\\\\?\\";
constexpr wchar_t kUncDevicePrefix[] = L"\\\\?\\UNC\\";

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

wchar_t UpperLetter(wchar_t c)
{
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool HasDrive(const std::wstring& path)
{
    return path.size() >= 2 && IsDriveLetter(path[0]) && path[1] == L':';
}

bool IsUnc(const std::wstring& path)
{
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

// "\\?\", "\\.\" and the kernel's "\??\": the caller already speaks to the system directly.
bool IsDevicePath(const std::wstring& path)
{
    if (path.size() < 4 || !IsSeparator(path[3]))
        return false;
    if (IsSeparator(path[0]) && IsSeparator(path[1]) && (path[2] == L'?' || path[2] == L'.'))
        return true;
    return path[0] == L'\\' && path[1] == L'?' && path[2] == L'?';
}

bool StartsWith(const std::wstring& text, const wchar_t* prefix)
{
    return text.compare(0, std::char_traits<wchar_t>::length(prefix), prefix) == 0;
}

// Past "server\share" from `pos`, and the separator after it when there is one; npos
// when a name is missing.
size_t SkipShare(const std::wstring& path, size_t pos)
{
    for (int name = 0; name < 2; ++name) {
        const size_t start = pos;
        while (pos < path.size() && !IsSeparator(path[pos]))
            ++pos;
        if (pos == start)
            return std::wstring::npos;
        if (name == 0) {
            while (pos < path.size() && IsSeparator(path[pos]))
                ++pos;
        }
    }
    return pos < path.size() ? pos + 1 : pos;
}

// The path as absolute text, separators and dots still as given.
std::wstring Absolute(const std::wstring& path, const std::wstring& currentDirectory)
{
    if (IsUnc(path) || (HasDrive(path) && path.size() > 2 && IsSeparator(path[2])))
        return path;
    const std::wstring current =
        currentDirectory.empty() ? std::wstring() : CLongPathForm::Normalize(currentDirectory, std::wstring());
    if (HasDrive(path)) {
        // "C:name" is relative to that drive's current folder; only ours is known.
        const std::wstring relative = path.substr(2);
        if (HasDrive(current) && UpperLetter(current[0]) == UpperLetter(path[0]))
            return current + L'\\' + relative;
        return path.substr(0, 2) + L'\\' + relative;
    }
    if (current.empty())
        return std::wstring();
    if (!path.empty() && IsSeparator(path[0]))
        return current.substr(0, CLongPathForm::VolumeLength(current)) + path.substr(1);
    return current + L'\\' + path;
}

// As the system trims a classic path: one dot off a folder's name, all dots and spaces
// off the last name unless a separator follows it. False when that leaves "." or "..".
bool Trim(std::wstring& component, bool last)
{
    if (last) {
        while (!component.empty() && (component.back() == L'.' || component.back() == L' '))
            component.pop_back();
    } else if (!component.empty() && component.back() == L'.') {
        component.pop_back();
    }
    return component != L"." && component != L"..";
}

} // namespace

std::wstring CLongPathForm::Normalize(const std::wstring& path, const std::wstring& currentDirectory)
{
    if (IsDevicePath(path))
        return path;
    if (path.empty())
        return std::wstring();
    const std::wstring absolute = Absolute(path, currentDirectory);
    if (absolute.empty())
        return absolute;

    std::wstring root;
    size_t pos = 0;
    if (IsUnc(absolute)) {
        pos = SkipShare(absolute, 2);
        if (pos == std::wstring::npos)
            return std::wstring();
        root = L"\\\\";
        for (size_t i = 2; i < pos; ++i) {
            if (!IsSeparator(absolute[i]))
                root += absolute[i];
            else if (root.back() != L'\\')
                root += L'\\';
        }
        if (root.back() == L'\\')
            root.pop_back();
    } else {
        root = absolute.substr(0, 2);
        pos = 2;
    }

    std::vector<std::wstring> components;
    bool endsInFolder = absolute.size() > pos && IsSeparator(absolute.back());
    while (pos < absolute.size()) {
        while (pos < absolute.size() && IsSeparator(absolute[pos]))
            ++pos;
        const size_t start = pos;
        while (pos < absolute.size() && !IsSeparator(absolute[pos]))
            ++pos;
        if (pos == start)
            break;
        std::wstring component = absolute.substr(start, pos - start);
        if (component == L".")
            continue;
        if (component == L"..") {
            if (!components.empty())
                components.pop_back();
            continue;
        }
        const bool last = pos == absolute.size();
        if (!Trim(component, last))
            return std::wstring();
        if (component.empty())
            endsInFolder = true;
        else
            components.push_back(std::move(component));
    }

    std::wstring normalized = root + L'\\';
    for (size_t i = 0; i < components.size(); ++i) {
        if (i > 0)
            normalized += L'\\';
        normalized += components[i];
    }
    if (endsInFolder && !components.empty())
        normalized += L'\\';
    return normalized;
}

std::wstring CLongPathForm::Make(const std::wstring& path, const std::wstring& currentDirectory)
{
    const std::wstring normalized = Normalize(path, currentDirectory);
    if (normalized.empty() || IsDevicePath(normalized))
        return normalized;
    // The system normalizes a classic path again: "a..\" became "a.\" here and would
    // become "a\" there. Such a path keeps its meaning only in the device form.
    if (normalized.size() < kClassicLimit && Normalize(normalized, std::wstring()) == normalized)
        return normalized;
    return ToDeviceForm(normalized);
}

std::wstring CLongPathForm::ToDeviceForm(const std::wstring& madePath)
{
    if (madePath.empty() || IsDevicePath(madePath))
        return madePath;
    if (IsUnc(madePath))
        return kUncDevicePrefix + madePath.substr(2);
    return kDevicePrefix + madePath;
}

size_t CLongPathForm::VolumeLength(const std::wstring& madePath)
{
    if (StartsWith(madePath, kUncDevicePrefix)) {
        const size_t end = SkipShare(madePath, std::char_traits<wchar_t>::length(kUncDevicePrefix));
        return end == std::wstring::npos ? 0 : end;
    }
    std::wstring rest = madePath;
    size_t prefix = 0;
    if (StartsWith(madePath, kDevicePrefix)) {
        prefix = std::char_traits<wchar_t>::length(kDevicePrefix);
        rest = madePath.substr(prefix);
    } else if (IsUnc(madePath)) {
        const size_t end = SkipShare(madePath, 2);
        return end == std::wstring::npos ? 0 : end;
    }
    if (HasDrive(rest) && rest.size() > 2 && rest[2] == L'\\')
        return prefix + 3;
    return 0;
}
