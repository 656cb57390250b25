#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads the system's list of file operations scheduled for the next start: a run of
// NUL-terminated UTF-16 entries. Portable, so it works on any buffer natively.
class CPendingRenames
{
public:
    // True when an entry of four or more characters names something outside the
    // temporary folder: its characters from the fifth on (after the "\??\" prefix)
    // do not begin with `tempPath`, compared ignoring ASCII case. Empty and shorter
    // entries never count. Reads nothing beyond `byteCount` bytes of `data`; an entry
    // not terminated within them ends where the data ends.
    [[nodiscard]] static bool AnyOutsideTemp(const uint8_t* data, size_t byteCount, const std::u16string& tempPath);

private:
    [[nodiscard]] static bool LiesInTemp(const char16_t* entry, size_t length, const std::u16string& tempPath);
};
