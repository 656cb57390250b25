#pragma once

#include <cstddef>
#include <string>

// Windows paths in the form the system takes at any length. The classic form is held
// to MAX_PATH (folders to 248 units, room for an 8.3 name); the "\\?\" form is not,
// but the system takes it literally: no separator conversion, no "." or "..", no
// trimming. So the text is first normalized as the system would normalize the
// classic form, and only then prefixed. Works on text alone, so it is tested natively.
class CLongPathForm
{
public:
    // Paths this long or longer get the "\\?\" form.
    static constexpr size_t kClassicLimit = 248;

    // The absolute, normalized path: "\\?\C:\..." or "\\?\UNC\server\share\..." from
    // kClassicLimit units on, the classic form below (unless the system's own
    // normalization would change it again). A relative path is resolved against
    // `currentDirectory` (absolute). Paths already in a device form ("\\?\", "\\.\") are
    // taken as they are. Empty when the path names nothing: a relative path without a
    // current directory, a share without its name, a component the trimming would turn
    // into "." or "..".
    static std::wstring Make(const std::wstring& path, const std::wstring& currentDirectory);

    // The absolute, normalized classic form, whatever its length; empty as for Make.
    static std::wstring Normalize(const std::wstring& path, const std::wstring& currentDirectory);

    // A path from Make or Normalize in the device form whatever its length, for a walk
    // whose paths grow below it. Empty stays empty.
    static std::wstring ToDeviceForm(const std::wstring& madePath);

    // Units of a made path that name its volume, with the separator after it: "C:\",
    // "\\?\C:\", "\\server\share\", "\\?\UNC\server\share\". 0 for anything else.
    static size_t VolumeLength(const std::wstring& madePath);
};
