#pragma once

#include <string>
#include <vector>

// The printf conversions of a text, in order ("%d", "%%", "%.2f", "%s"). A
// translation must keep its key's conversions: callers format it with the English
// text's arguments.
namespace FormatConversions {
std::vector<std::string> Of(const std::string& text);
} // namespace FormatConversions
