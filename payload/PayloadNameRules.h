#pragma once

#include <string>
#include <string_view>

#include "PayloadPath.h"

// Which container names may become files. A name is a relative path of
// backslash-separated components; anything that could reach outside the package
// folder, or that Windows would read as something else, is refused.
class CPayloadNameRules
{
public:
    // The file in the package folder that stages the container's data section.
    static constexpr const char* kTemporaryDataName = "temp.htar";

    // An 8-bit name from the name table (without its NUL). On refusal, reason says why.
    [[nodiscard]] static bool IsSafeName(std::string_view name, std::string& reason);

    // "temp.htar" at the top, in any letter case: the name of the temporary data file
    // the data section is staged in, which such a file would overwrite while open.
    [[nodiscard]] static bool IsTemporaryDataName(std::string_view name);

    // The same name after a host turned it into a path: still relative and inside.
    [[nodiscard]] static bool IsSafeRelativePath(const CPayloadPath& path);

    // The name made printable for an error text (control bytes and quotes escaped).
    static std::string Printable(std::string_view name);

private:
    static bool IsSafeComponent(std::string_view component, std::string& reason);
    static bool IsReservedDeviceName(std::string_view component);
};
